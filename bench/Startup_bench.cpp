// Program start to the main window shown, beside a bare QMainWindow shown the same way.
//
// The figure that counts is the cold one: a fresh process starts, makes its application object and
// either runs the program's own start-up routine (`StartProgram`, the one `main` calls; this
// binary) or, as the peer, is a separately linked bare QMainWindow program showing one label
// (bench/peer/BareMainWindow.cpp, so that it draws text and loads the font list as the program
// does), and reports when its window got its first paint. The runs alternate (bare, program,
// bare, ...) so that a change in the machine's load falls on both. Reported are medians of the
// child's own CPU time (from exec to the first paint; robust on a shared machine) and of the wall
// time the parent waited for the "shown" line; `main_to_paint_ratio` leaves each side's loader
// (`*_premain_cpu_ms`) out.
//
// The warm pair (both in this process after a first window was shown) is kept beside it: it
// shows the program's own start-up work alone, without the platform's one-time costs.
#include "bench/main/StartChild.h"
#include "bench/main/TurnAbout.h"
#include "core/UComon.h"
#include "core/UStartup.h"
#include "core/UVelmoraeFirmWare.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using bench::PaintWatch;
using bench::ProcessCpuMs;

const char* const kChildFlag = "--startup-child=";
std::string gSelf;          // this binary, for the cold children
std::string gProgramFolder; // the program folder the program's children start in
double gCpuAtMain = 0;      // CPU the child spent before main: loading the binary and its libraries

// ---- the child: one cold start, then exit ----

int RunChild(int argc, char** argv, const std::string& what, const char* folder)
{
    QApplication app(argc, argv);
    PaintWatch watch;
    QWidget* shown = nullptr;
    QMainWindow bare;
    if (what == "program") {
        if (folder && *folder)
            Set_Program_Folder_Override(QString::fromLocal8Bit(folder));
        try {
            // StartProgram shows the window itself; the watch sees its paint in the loop below.
            shown = StartProgram();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "start-up failed: %s\n", e.what());
            return 1;
        }
    } else {
        shown = &bare;
        bare.show();
    }
    shown->installEventFilter(&watch);
    QElapsedTimer limit;
    limit.start();
    while (!watch.Painted && limit.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    std::printf("%.3f %.3f\n", gCpuAtMain, ProcessCpuMs());
    std::fflush(stdout);
    // Tearing the windows down is not part of the start.
    _exit(watch.Painted ? 0 : 2);
}

// ---- the parent ----

struct ColdRun {
    double WallMs = 0;
    double CpuMs = 0;     // exec to the first paint
    double PreMainMs = 0; // exec to main
    bool Ok = false;
};

ColdRun SpawnChild(const char* what)
{
    ColdRun run;
    int fds[2];
    if (pipe(fds) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const std::string flag = std::string(kChildFlag) + what;
    // The bare side is a program of its own (bench/peer), the program side this binary.
    const std::string exe = std::string(what) == "bare" ? std::string(KT_BARE_PEER) : gSelf;
    std::vector<char*> args = {const_cast<char*>(exe.c_str()), const_cast<char*>(flag.c_str()),
                               const_cast<char*>(gProgramFolder.c_str()), nullptr};
    QElapsedTimer wall;
    wall.start();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, exe.c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return run;
    }
    std::string line;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        line += c;
    run.WallMs = wall.nsecsElapsed() / 1e6;
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !line.empty();
    if (run.Ok && std::sscanf(line.c_str(), "%lf %lf", &run.PreMainMs, &run.CpuMs) != 2)
        run.Ok = false;
    return run;
}

using bench::Median;

// Cold starts, alternating a bare QMainWindow and the program; the counters are medians.
void BM_ColdStart_ProgramVsQMainWindow(benchmark::State& state)
{
    std::vector<double> bareCpu, bareWall, progCpu, progWall, barePre, progPre;
    for (auto _ : state) {
        const ColdRun bare = SpawnChild("bare");
        const ColdRun prog = SpawnChild("program");
        if (!bare.Ok || !prog.Ok) {
            state.SkipWithError("a child did not show its window");
            return;
        }
        bareCpu.push_back(bare.CpuMs);
        bareWall.push_back(bare.WallMs);
        progCpu.push_back(prog.CpuMs);
        progWall.push_back(prog.WallMs);
        barePre.push_back(bare.PreMainMs);
        progPre.push_back(prog.PreMainMs);
    }
    const double bc = Median(bareCpu), pc = Median(progCpu);
    bench::PairCounters(state, "program_cpu_ms", pc, "bare_cpu_ms", bc, "cpu_ratio");
    bench::PairCounters(state, "program_wall_ms", Median(progWall), "bare_wall_ms", Median(bareWall), "wall_ratio");
    // The loader's share differs between the two binaries; the ratio from main on leaves it out.
    const double bp = Median(barePre), pp = Median(progPre);
    state.counters["bare_premain_cpu_ms"] = bp;
    state.counters["program_premain_cpu_ms"] = pp;
    state.counters["main_to_paint_ratio"] = bc > bp ? (pc - pp) / (bc - bp) : 0;
}

// ---- warm, in this process ----

void BM_Warm_QMainWindow(benchmark::State& state)
{
    for (auto _ : state) {
        QMainWindow w;
        w.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.isVisible());
        state.PauseTiming();
        w.close();
        state.ResumeTiming();
    }
}

void BM_Warm_Program(benchmark::State& state)
{
    for (auto _ : state) {
        try {
            TFVelmoraeFirmWare* shown = StartProgram();
            QApplication::processEvents();
            benchmark::DoNotOptimize(shown);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}

BENCHMARK(BM_ColdStart_ProgramVsQMainWindow)->Unit(benchmark::kMillisecond)->Iterations(15);
// The program's windows exist once per process: one run each.
BENCHMARK(BM_Warm_QMainWindow)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Warm_Program)->Unit(benchmark::kMillisecond)->Iterations(1);

// A program folder as a user has it: the folders, a settings file naming an existing
// configuration, the internet options off.
void MakeProgramFolder(const QString& root)
{
    QDir(root).mkpath(QStringLiteral("PROJECTS/Plant_A"));
    QDir(root).mkpath(QStringLiteral("MASTER"));
    QDir(root).mkpath(QStringLiteral("LANGUAGE"));
    QFile f(root + QStringLiteral("/Velmora.xml"));
    if (f.open(QIODevice::WriteOnly))
        f.write("<Conf_Settings><lastproj><projectname>Plant_A</projectname></lastproj><lastipadd><ipaddress>"
                "192.168.2.205</ipaddress></lastipadd><lastlang><language>English</language></lastlang>"
                "<lastinternet><enable_internet>0</enable_internet><enable_update>0</enable_update>"
                "<enable_jump_field_tables>0</enable_jump_field_tables><Double_Click_Auto_Size>0"
                "</Double_Click_Auto_Size></lastinternet></Conf_Settings>");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 2 && std::strncmp(argv[1], kChildFlag, std::strlen(kChildFlag)) == 0) {
        gCpuAtMain = ProcessCpuMs();
        const std::string what = argv[1] + std::strlen(kChildFlag);
        const char* folder = argc >= 3 ? argv[2] : nullptr;
        int childArgc = 1;
        return RunChild(childArgc, argv, what, folder);
    }

    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
    gSelf = n > 0 ? std::string(self, size_t(n)) : std::string(argv[0]);

    QApplication app(argc, argv);
    QTemporaryDir folder;
    MakeProgramFolder(folder.path());
    gProgramFolder = folder.path().toStdString();
    // The warm runs start in the same kind of folder.
    Set_Program_Folder_Override(folder.path());
    {
        QWidget warm;
        warm.show();
        QApplication::processEvents();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
