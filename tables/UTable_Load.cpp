#include "tables/UTable_Load.h"

#include "core/UComon.h"
#include "grid/AdvGrid.h"
#include "platform/AtomicFile.h"
#include "platform/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace platform;

TTable_Row_Reader Whole_Rows(TVerIvovavOzed* Grid, TTable_Row_Reader Read_Row)
{
    return [Grid, Read_Row = std::move(Read_Row)](const TXMLNode& Row, int Grid_Row) {
        const int cols = Grid->ColCount() + Grid->NumHiddenColumns();
        QStringList before;
        before.reserve(cols);
        for (int c = 0; c < cols; ++c)
            before << Grid->Cells(c, Grid_Row);
        try {
            Read_Row(Row, Grid_Row);
        } catch (...) {
            for (int c = 0; c < cols; ++c)
                Grid->SetCells(c, Grid_Row, before.at(c));
            throw;
        }
    };
}

bool TTable_Load::Run(TTable_Reader& Reader, const std::function<void(TTable_Reader&, const TXMLNode&)>& Read)
{
    FFailed = !Reader.Run(Read);
    return !FFailed;
}

bool TTable_Load::Save(TXMLDocument& Doc, const QString& Path, QWidget* Owner)
{
    QString kept;
    if (FFailed && QFileInfo::exists(Path)) {
        // The file the user could not see in the table is still theirs: keep it before it is
        // replaced by the table as shown.
        const QString bak = Path + QStringLiteral(".bak");
        QString why;
        if (!Keep_File_Copy(Path, bak, &why) && why.isEmpty())
            why = QStringLiteral("unknown error");
        if (!why.isEmpty()) {
            MessageDlg(QStringLiteral("Error! The file \"%1\" could not be loaded and cannot be kept as \"%2\": %3. "
                                      "The table was not saved.")
                           .arg(QDir::toNativeSeparators(Path), QDir::toNativeSeparators(bak), why),
                       mtError, mbOK, Owner);
            return false;
        }
        kept = bak;
    }
    if (!Save_Table_File(Doc, Path, Owner))
        return false;
    FFailed = false;
    if (!kept.isEmpty())
        MessageDlg(QStringLiteral("The table was saved to \"%1\". Its earlier file could not be loaded and was kept "
                                  "as \"%2\".")
                       .arg(QDir::toNativeSeparators(Path), QDir::toNativeSeparators(kept)),
                   mtWarning, mbOK, Owner);
    return true;
}
