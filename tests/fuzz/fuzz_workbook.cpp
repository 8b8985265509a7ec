// Workbooks a user can hand the grid: the .xlsx reader (zip package, shared strings, sheets) and
// the .xls reader, through the grid's own loading, sheet listing and loading by name.
#include "FuzzSupport.h"

#include "grid/AdvGrid.h"

#include <memory>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = kt_fuzz::Path(QStringLiteral("book.xlsx"));
    kt_fuzz::Put(path, kt_fuzz::Bytes(data, size));
    // One grid for every input: making a grid costs more than most inputs.
    static TVerIvovavOzed grid(nullptr);
    try {
        grid.LoadFromXLS(path);
    } catch (const std::exception&) {
        // not a workbook: the component's error, as designed
    }
    try {
        std::unique_ptr<platform::TStringList> sheets = grid.GetXLSSheets(path);
        if (sheets && sheets->Count() > 0)
            grid.LoadFromXLSSheet(path, sheets->Strings(sheets->Count() - 1));
    } catch (const std::exception&) {
    }
    return 0;
}
