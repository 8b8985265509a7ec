// The S7comm access dialog on a table file of 10,000 rows (3 MB, 5,000 per section) beside a
// plain peer: a dialog of two QTableWidgets filled from a pugixml parse of the same file, the same
// 512 rows per table, the rows past them counted. "Open" builds the dialog and shows the file,
// "reopen" shows the file again in the built dialog. The two sides run turn about in one loop,
// so that a change in the machine's load falls on both; the counters are medians of this
// thread's CPU time.
#include "bench/main/TurnAbout.h"
#include "platform/ScriptedServices.h"
#include "core/ULanguage.h"
#include "core/UComon.h"
#include "grid/AdvCGrid.h"
#include "tables/US7_Protocol_Set_Access.h"

#include <QByteArray>
#include <QDialog>
#include <QFile>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "bench/main/S7Rows.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

namespace {


const char* const kReadNames[] = {"Enable",   "PLC_Address", "PLC_Port", "PLC_Type", "Rack",     "Slot",
                                  "Data_Type", "Data_Identifier", "DB_Number", "PLC_Area", "PLC_Add", "PLC_Bit",
                                  "PollTime", "Position", "Bit", "Swap", "SwapWord", "Mnemonic"};
const char* const kWriteNames[] = {"Enable",   "PLC_Address", "PLC_Port", "PLC_Type", "Rack",     "Slot",
                                   "Data_Type", "Data_Identifier", "DB_Number", "PLC_Area", "PLC_Add", "PLC_Bit",
                                   "PollTime", "OnChange", "OnCMD", "Position", "Bit", "Swap", "SwapWord", "Mnemonic"};
constexpr int kGridRows = 512;
constexpr int kFileRows = 5000; // per section

QByteArray Rows(int count, bool write)
{
    return kt_bench::S7Rows(count, write, "rule number %1 of the table", "\r\n");
}

struct Config {
    QTemporaryDir dir;
    QString path;
    platform::ScriptedServices services;
    std::unique_ptr<platform::ScopedServices> scope;

    Config()
    {
        path = dir.filePath("S7_Protocol.xml");
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write("<S7_Protocol><S7_Protocol_Read>" + Rows(kFileRows, false) + "</S7_Protocol_Read><S7_Protocol_Write>" +
                    Rows(kFileRows, true) + "</S7_Protocol_Write></S7_Protocol><!--SW_VERSION = 1.003-->");
        scope = std::make_unique<platform::ScopedServices>(services);
        Load_Default_Language();
        Shown_SW_Code = QStringLiteral("KT40917");
        File_S7_Protocol = path;
    }
};

Config& TheConfig()
{
    static Config config;
    return config;
}

// The peer: two tables of 512 rows filled from a pugixml parse of the file.
class PeerDialog : public QDialog {
public:
    PeerDialog()
    {
        auto* layout = new QVBoxLayout(this);
        auto* tabs = new QTabWidget(this);
        layout->addWidget(tabs);
        Read = new QTableWidget(kGridRows, int(std::size(kReadNames)), tabs);
        Write = new QTableWidget(kGridRows, int(std::size(kWriteNames)), tabs);
        tabs->addTab(Read, QStringLiteral("Read"));
        tabs->addTab(Write, QStringLiteral("Write"));
    }
    // Reads the file into both tables; the number of rows the tables could not hold.
    int Show(const QString& path)
    {
        pugi::xml_document doc;
        if (!doc.load_file(path.toLocal8Bit().constData()))
            return -1;
        const pugi::xml_node root = doc.document_element();
        int overflow = 0;
        overflow += Fill(Read, root.child("S7_Protocol_Read"), kReadNames, int(std::size(kReadNames)));
        overflow += Fill(Write, root.child("S7_Protocol_Write"), kWriteNames, int(std::size(kWriteNames)));
        return overflow;
    }

private:
    static int Fill(QTableWidget* t, const pugi::xml_node& section, const char* const* names, int count)
    {
        t->clearContents();
        int r = 0, all = 0;
        for (pugi::xml_node row = section.first_child(); row; row = row.next_sibling()) {
            if (row.type() != pugi::node_element)
                continue;
            if (r < kGridRows) {
                for (int c = 0; c < count; ++c)
                    t->setItem(r, c, new QTableWidgetItem(QString::fromUtf8(row.attribute(names[c]).value())));
                ++r;
            }
            ++all;
        }
        return all - r;
    }

    QTableWidget* Read = nullptr;
    QTableWidget* Write = nullptr;
};

using bench::Median;
void BM_S7DialogVsPeer(benchmark::State& state)
{
    Config& c = TheConfig();
    std::vector<double> open, reopen, peerOpen, peerReopen;
    for (auto _ : state) {
        double t0 = bench::ThreadMs();
        auto form = std::make_unique<TFS7_Protocol_Set_Access>();
        form->Create();
        form->FormShow();
        open.push_back(bench::ThreadMs() - t0);

        t0 = bench::ThreadMs();
        auto peer = std::make_unique<PeerDialog>();
        benchmark::DoNotOptimize(peer->Show(c.path));
        peerOpen.push_back(bench::ThreadMs() - t0);

        t0 = bench::ThreadMs();
        form->FormShow();
        reopen.push_back(bench::ThreadMs() - t0);

        t0 = bench::ThreadMs();
        benchmark::DoNotOptimize(peer->Show(c.path));
        peerReopen.push_back(bench::ThreadMs() - t0);

        if (form->ACG_S7_Write->Cells(2, kGridRows) != QStringLiteral("192.168.3.12"))
            state.SkipWithError("the dialog did not show the file");
        c.services.MessageBoxes.clear();
    }
    bench::PairCounters(state, "open_ms", Median(open), "peer_open_ms", Median(peerOpen), "open_ratio");
    bench::PairCounters(state, "reopen_ms", Median(reopen), "peer_reopen_ms", Median(peerReopen), "reopen_ratio");
}
BENCHMARK(BM_S7DialogVsPeer)->Unit(benchmark::kMillisecond)->Iterations(9);

} // namespace
