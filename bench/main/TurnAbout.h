// Two sides of a pair timed turn about in one benchmark: each iteration prepares and runs both
// sides (preparation untimed), the side that goes first changing every iteration, each run timed
// on the thread's CPU clock. The benchmark reports each side's mean milliseconds and their ratio
// (ours / peer), so that one process and one heap state serve both sides.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace bench {

inline double ThreadMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// A pair's two figures as counters, with their ratio (ours / peer; 0 without a peer figure).
inline void PairCounters(benchmark::State& state, const char* oursName, double ours, const char* peerName, double peer,
                         const char* ratioName)
{
    state.counters[oursName] = ours;
    state.counters[peerName] = peer;
    state.counters[ratioName] = peer > 0 ? ours / peer : 0;
}

struct Side {
    std::function<void()> Prepare; // untimed, may be empty
    std::function<void()> Run;     // timed
};

inline void TurnAbout(benchmark::State& state, const Side& ours, const Side& peer)
{
    double a = 0, b = 0;
    long n = 0;
    auto one = [](const Side& s) {
        if (s.Prepare)
            s.Prepare();
        const double t0 = ThreadMs();
        s.Run();
        return ThreadMs() - t0;
    };
    for (auto _ : state) {
        if (n % 2 == 0) {
            a += one(ours);
            b += one(peer);
        } else {
            b += one(peer);
            a += one(ours);
        }
        ++n;
    }
    if (n > 0) {
        state.counters["ours_ms"] = a / double(n);
        state.counters["peer_ms"] = b / double(n);
        state.counters["ratio"] = b > 0 ? a / b : 0;
    }
}

} // namespace bench
