// The grid's file readers: its text file, CSV and fixed-width files, INI files, the visual
// properties and print settings files, flat XML files, the binary cell stream, the column-state
// text, the sort state text and the column grid's definitions stream. The first byte picks the
// reader, the rest is the file.
#include "FuzzSupport.h"

#include "grid/AdvCGrid.h"
#include "grid/AdvGrid.h"
#include "platform/IniFile.h"

#include <QBuffer>

#include <exception>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const QString path = kt_fuzz::Path(QStringLiteral("grid_input"));
    static const QString out = kt_fuzz::Path(QStringLiteral("grid_output"));
    const QByteArray body = kt_fuzz::Bytes(data + 1, size - 1);
    kt_fuzz::Put(path, body);
    kt_fuzz::Clear_Services();
    auto grid = std::make_unique<TVerIvovavOzed>();
    grid->SetColCount(5);
    grid->SetRowCount(4);
    grid->Loaded();
    try {
        switch (data[0] % 11) {
        case 0:
            grid->LoadFromFile(path);
            break;
        case 1:
            grid->LoadFromCSV(path, 0);
            break;
        case 2: {
            TIntList positions;
            positions.Add(1);
            positions.Add(4);
            positions.Add(9);
            grid->LoadFromFixed(path, positions, true, -1);
            break;
        }
        case 3: {
            platform::TMemIniFile ini(path);
            ini.WriteString(QStringLiteral("Cols"), QStringLiteral("Col0"), QStringLiteral("64"));
            (void)ini.Text();
            break;
        }
        case 4:
            grid->LoadVisualProps(path);
            grid->SaveVisualProps(out);
            break;
        case 5:
            grid->LoadPrintSettings(path, QStringLiteral("Print"));
            break;
        case 6:
            grid->LoadFromXML(path, false, false);
            grid->LoadFromXML(path, true, true);
            break;
        case 7:
            grid->LoadFromBinFile(path);
            break;
        case 8:
            // The sort state text sorts the grid it is loaded into.
            for (int r = 1; r < grid->RowCount(); ++r)
                grid->SetCells(1, r, QString::number((r * 7) % 4));
            grid->SortSettings().LoadFromString(QString::fromUtf8(body));
            (void)grid->SortSettings().SaveToString();
            break;
        case 10: {
            // The column definitions stream, read into a column grid and written back.
            auto columns = std::make_unique<TZidIzavodUraz>();
            columns->SetColCount(3);
            columns->Loaded();
            QBuffer in;
            in.setData(body);
            in.open(QIODevice::ReadOnly);
            columns->LoadColumnsFromStream(in);
            QBuffer again;
            again.open(QIODevice::WriteOnly);
            columns->SaveColumnsToStream(again);
            break;
        }
        default:
            grid->StringToColumnStates(QString::fromUtf8(body));
            (void)grid->ColumnStatesToString();
            break;
        }
    } catch (const std::exception&) {
        // The readers report broken files by raising; what matters here is that nothing worse
        // happens.
    }
    return 0;
}
