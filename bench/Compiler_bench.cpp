// The device image compiler on the largest configuration the dialogs can write (512 + 512 S7comm
// rules, 250 OPC UA variables), beside parses of the same three files: a bare pugixml parse, the
// XML service's own load (its checks of the bytes, then the tree), and the strict reader's pass
// alone (what a file the byte checks cannot vouch for costs on top). The compile reads its files
// through the service, so compile / bare parse is the whole price of reading strictly and
// compiling, service load / bare parse the price of the checks.
#include "core/USaveBincc.h"
#include "core/XMLDocument.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bench/main/S7Rows.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

const char* const kOpcTypes[] = {"Boolean", "Signed Byte", "Byte",   "Int16", "UInt16", "Int32",     "UInt32",
                                 "Int64",   "UInt64",      "Float", "Double", "String", "ByteString"};

QByteArray Rows(int count, bool write)
{
    return kt_bench::S7Rows(count, write, "rule %1", "");
}

// One configuration folder for the whole run.
struct Config {
    QTemporaryDir dir;
    QString parGen, s7, opc;

    Config()
    {
        parGen = dir.filePath("ParGen.xml");
        s7 = dir.filePath("S7_Protocol.xml");
        opc = dir.filePath("OPC_UA_Server.xml");
        Write(parGen, "<Par_Gen><S7_Protocol_IP1>192</S7_Protocol_IP1><S7_Protocol_IP2>168</S7_Protocol_IP2>"
                      "<S7_Protocol_IP3>0</S7_Protocol_IP3><S7_Protocol_IP4>5</S7_Protocol_IP4>"
                      "<NTP_Server_URL>pool.ntp.org</NTP_Server_URL><NTP_Poll_Time>1000</NTP_Poll_Time>"
                      "<OPC_UA_Server_EN_GAT>1</OPC_UA_Server_EN_GAT><OPC_UA_Server_Port>4840</OPC_UA_Server_Port>"
                      "</Par_Gen><!--SW_VERSION = 1.000-->");
        Write(s7, "<S7_Protocol><S7_Protocol_Read>" + Rows(512, false) + "</S7_Protocol_Read><S7_Protocol_Write>"
                      + Rows(512, true) + "</S7_Protocol_Write></S7_Protocol><!--SW_VERSION = 1.003-->");
        QByteArray vars;
        for (int i = 0; i < 250; ++i)
            vars += QStringLiteral("<row Enable=\"Y\" Type=\"%1\" Position=\"%2\" Length=\"4\" Name=\"Variable_%3\" "
                                   "ReadWrite=\"%4\" Mnemonic=\"description of variable %3\"/>")
                        .arg(kOpcTypes[i % 13])
                        .arg(i * 4)
                        .arg(i)
                        .arg(i % 2 ? "Read/Write" : "Read Only")
                        .toUtf8();
        Write(opc, "<OPC_UA_Server><OPC_UA_Server_Variables>" + vars
                       + "</OPC_UA_Server_Variables></OPC_UA_Server><!--SW_VERSION = 1.000-->");
    }
    static void Write(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(data);
    }
};

Config& TheConfig()
{
    static Config config;
    return config;
}

void BM_CompileBanks(benchmark::State& state)
{
    Config& c = TheConfig();
    TSaveBincc compiler;
    for (auto _ : state) {
        compiler.Compile_Banks(c.parGen, c.s7, c.opc);
        benchmark::DoNotOptimize(compiler.Bank3_Len);
    }
    state.counters["bank3_bytes"] = compiler.Bank3_Len;
    state.counters["rules"] = double(compiler.Bank2_Len) / S7_Rule_Size;
}
BENCHMARK(BM_CompileBanks)->Unit(benchmark::kMillisecond);

void BM_CompileAndSaveBanks(benchmark::State& state)
{
    Config& c = TheConfig();
    TSaveBincc compiler;
    for (auto _ : state) {
        compiler.Compile_Banks(c.parGen, c.s7, c.opc);
        compiler.Save_Banks(c.dir.path());
    }
}
BENCHMARK(BM_CompileAndSaveBanks)->Unit(benchmark::kMillisecond);

// The parser alone on the same three files: the floor under the compile.
void BM_BarePugixmlParse(benchmark::State& state)
{
    Config& c = TheConfig();
    const std::string files[] = {c.parGen.toStdString(), c.s7.toStdString(), c.opc.toStdString()};
    for (auto _ : state) {
        for (const std::string& f : files) {
            pugi::xml_document doc;
            benchmark::DoNotOptimize(doc.load_file(f.c_str()));
        }
    }
}
BENCHMARK(BM_BarePugixmlParse)->Unit(benchmark::kMillisecond);

// The XML service's own load of the three files, as the compiler reads them.
void BM_ServiceParse(benchmark::State& state)
{
    Config& c = TheConfig();
    const QString files[] = {c.parGen, c.s7, c.opc};
    for (auto _ : state) {
        for (const QString& f : files) {
            TXMLDocument doc;
            benchmark::DoNotOptimize(doc.LoadFromFile(f));
        }
    }
}
BENCHMARK(BM_ServiceParse)->Unit(benchmark::kMillisecond);

// The service's strict well-formedness pass alone (decoding and checking), from the files' bytes.
void BM_StrictPassOnly(benchmark::State& state)
{
    Config& c = TheConfig();
    std::vector<QByteArray> bytes;
    for (const QString& path : {c.parGen, c.s7, c.opc}) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            bytes.push_back(f.readAll());
    }
    for (auto _ : state)
        for (const QByteArray& b : bytes)
            benchmark::DoNotOptimize(TXMLDocument::CheckBytes(b));
}
BENCHMARK(BM_StrictPassOnly)->Unit(benchmark::kMillisecond);

double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// The bar's pair in one loop: a compile, then a bare pugixml parse of the same three files (from
// the files, as the compile reads them), turn about, so that a change in the machine's load falls
// on both; the service's own load of the three files runs in the same loop as a third side. The
// counters are medians of this thread's CPU time.
void BM_CompileVsBareParse(benchmark::State& state)
{
    Config& c = TheConfig();
    const QString files[] = {c.parGen, c.s7, c.opc};
    const std::string paths[] = {c.parGen.toStdString(), c.s7.toStdString(), c.opc.toStdString()};
    TSaveBincc compiler;
    std::vector<double> compile, bare, service;
    for (auto _ : state) {
        double t0 = ThreadCpuMs();
        compiler.Compile_Banks(c.parGen, c.s7, c.opc);
        benchmark::DoNotOptimize(compiler.Bank3_Len);
        compile.push_back(ThreadCpuMs() - t0);
        t0 = ThreadCpuMs();
        for (const std::string& f : paths) {
            pugi::xml_document doc;
            benchmark::DoNotOptimize(doc.load_file(f.c_str()));
        }
        bare.push_back(ThreadCpuMs() - t0);
        t0 = ThreadCpuMs();
        for (const QString& f : files) {
            TXMLDocument doc;
            benchmark::DoNotOptimize(doc.LoadFromFile(f));
        }
        service.push_back(ThreadCpuMs() - t0);
    }
    const double cm = Median(compile), bm = Median(bare), sm = Median(service);
    state.counters["compile_ms"] = cm;
    state.counters["bare_parse_ms"] = bm;
    state.counters["service_parse_ms"] = sm;
    state.counters["ratio"] = bm > 0 ? cm / bm : 0;
    state.counters["service_ratio"] = bm > 0 ? sm / bm : 0;
}
BENCHMARK(BM_CompileVsBareParse)->Unit(benchmark::kMillisecond)->Iterations(41);

} // namespace

BENCHMARK_MAIN();
