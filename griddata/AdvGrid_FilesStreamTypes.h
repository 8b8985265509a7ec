#pragma once
// Names shared by the grid's clipboard code and its callers.
#include "grid/AdvGrid.h"

#include <QString>

namespace gridclipboard {

// A registered clipboard format name as a MIME type (the form Qt maps to the format of that name
// where the platform registers formats by name).
QString MimeType(const QString& FormatName);
// The grid's own binary cell format, rich text and the HTML clipboard format.
QString CellsMimeType();
QString RtfMimeType();
QString HtmlMimeType();

} // namespace gridclipboard

// Closes an undo group of the grid however the operation ends.
struct TVerIvovavOzed::TUndoGroup {
    TVerIvovavOzed* Grid;
    explicit TUndoGroup(TVerIvovavOzed* AGrid) : Grid(AGrid) { Grid->BeginUndoGroup(); }
    ~TUndoGroup() { Grid->EndUndoGroup(); }
    TUndoGroup(const TUndoGroup&) = delete;
    TUndoGroup& operator=(const TUndoGroup&) = delete;
};
