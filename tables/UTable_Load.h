#pragma once
// What a table dialog does about a table file it could not load, so that nothing of the user's is
// lost: the rows read whole stay in the grid, a row the load stopped inside is put back as the
// reset left it (never saved half-read with blanks), and the next OK first keeps the unreadable
// file as "<name>.bak" (replacing an older one) and says so once the table is written.
#include "tables/UTable_Frame.h"

#include <functional>

using TTable_Row_Reader = std::function<void(const TXMLNode& Row, int Grid_Row)>;

// Wraps a row reader for TTable_Reader::Rows so that each row loads whole or not at all: when
// `Read_Row` stops the load inside a row, every cell of that grid row (hidden columns included) is
// put back as it was before, and the load stops as usual.
TTable_Row_Reader Whole_Rows(TVerIvovavOzed* Grid, TTable_Row_Reader Read_Row);

// The outcome of one showing's load of a table file.
class TTable_Load {
public:
    // A new showing: nothing has failed yet.
    void Reset() { FFailed = false; }
    // Reads the file as TTable_Reader::Run does, and remembers whether it failed.
    bool Run(TTable_Reader& Reader, const std::function<void(TTable_Reader& Reader, const TXMLNode& Root)>& Read);
    bool Failed() const { return FFailed; }

    // Writes the table on OK. When this showing's file failed to load, the file is first kept as
    // "<Path>.bak"; when that cannot be done nothing is written (one error box). After the write a
    // kept file is reported in one box. Returns true when the table file was written.
    bool Save(TXMLDocument& Doc, const QString& Path, QWidget* Owner);

private:
    bool FFailed = false;
};
