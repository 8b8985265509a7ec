// A window with four grids for the end-to-end runs of the grid library's own user paths, which
// the configurator's tables leave switched off: dragging cells from one grid to another, dragging
// the corner of a selection, the floating footer with a column sum, a drop-down and a rich-text
// cell editor; moving a column while a sort column is set, selecting rows by dragging over the
// row headers and choosing in a combo control of an HTML cell.
//   GridHarness <dump file>
// When the window is closed, every cell of the four grids is written to the dump file, one line
// per row: "<grid> <row>: <cell>|<cell>|..." (line breaks in a cell as "\n"), then grid D's sort
// column ("D sort: <column>") and selection ("D selection: <left>,<top>,<right>,<bottom>").
#include "grid/AdvCGrid.h"
#include "gridedit/GridDropDownEditors.h"
#include "platform/StringList.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QTextStream>
#include <QWidget>

namespace {

class THarness : public QWidget {
public:
    explicit THarness(QString dumpFile) : FDumpFile(std::move(dumpFile))
    {
        setWindowTitle(QStringLiteral("Grid harness"));
        resize(1000, 820);
        A = MakeGrid(10, 10, 470, 250, 4, 8);
        B = MakeGrid(500, 10, 470, 250, 4, 8);
        C = MakeGrid(10, 290, 960, 250, 3, 5);
        D = MakeGrid(10, 560, 960, 250, 5, 6);

        for (int r = 1; r < A->RowCount(); ++r)
            for (int c = 1; c < A->ColCount(); ++c)
                A->SetCells(c, r, c == 1 ? QString::number(r * 10) : QStringLiteral("a%1%2").arg(c).arg(r));
        for (TZidIzavodUraz* g : {A, B}) {
            g->SetOptions(g->Options() | goRangeSelect);
            g->DragDropSettings().SetOleDropSource(true);
            g->DragDropSettings().SetOleDropTarget(true);
            g->SetSelectionRectangle(true);
            g->SetSelectionResizer(true);
            // A selection's corner dragged over more cells fills them with its cells.
            g->Navigation().SetAllowSmartClipboard(true);
        }
        // Grid B takes what is dropped on it; grid A is the source (a press on an edited grid
        // edits instead of dragging).
        B->SetOptions(B->Options() | goEditing);

        // Grid B sums its column 1 in a floating footer.
        B->FloatingFooter().SetVisible(true);
        B->FloatingFooter().SetColumnCalc(1, acSUM);

        // Grid C edits its column 1 with the detail picker drop-down, its column 2 as rich text.
        C->Columns().Items(1)->SetEditor(edDetailDropDown);
        C->Columns().Items(2)->SetEditor(edRichEdit);
        for (const char* n : {"Alpha", "Beta", "Gamma"})
            C->DetailPickerDropDown()->Items().Add()->SetCaption(QString::fromLatin1(n));
        C->SetOptions(C->Options() | goEditing);

        // Grid D moves its columns by their headers (sorted by column 2), selects whole rows by
        // its row headers, and holds a combo control in cell (2, 4).
        for (int r = 1; r < D->RowCount(); ++r)
            for (int c = 1; c < D->ColCount(); ++c)
                D->SetCells(c, r, QStringLiteral("d%1%2").arg(c).arg(r));
        D->SetOptions(D->Options() | goColMoving | goEditing);
        D->SortSettings().SetColumn(2);
        D->MouseActions().SetRowSelect(true);
        D->SetCells(2, 4, QStringLiteral("<CONTROL TYPE=\"COMBO\" WIDTH=\"80\" ID=\"k\" VALUE=\"one\">"));
        D->OnControlComboList = [](QObject*, int, int, const QString&, const QString&, const QString&,
                                   platform::TStringList& values, bool& editable, int&) {
            values.Add(QStringLiteral("one"));
            values.Add(QStringLiteral("two"));
            values.Add(QStringLiteral("three"));
            editable = false;
        };
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        QFile f(FDumpFile);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            QTextStream out(&f);
            Dump(out, QStringLiteral("A"), A);
            Dump(out, QStringLiteral("B"), B);
            Dump(out, QStringLiteral("C"), C);
            Dump(out, QStringLiteral("D"), D);
            const TGridRect sel = D->Selection();
            out << "D sort: " << D->SortSettings().Column() << '\n';
            out << "D selection: " << sel.Left << ',' << sel.Top << ',' << sel.Right << ',' << sel.Bottom << '\n';
        }
        event->accept();
    }

private:
    TZidIzavodUraz* MakeGrid(int x, int y, int w, int h, int cols, int rows)
    {
        auto* g = new TZidIzavodUraz(this);
        g->setGeometry(x, y, w, h);
        g->Loaded();
        g->SetColCount(cols);
        g->SetRowCount(rows);
        for (int c = 0; c < cols; ++c)
            g->SetColWidths(c, c == 0 ? 40 : 100);
        return g;
    }

    static void Dump(QTextStream& out, const QString& name, TVerIvovavOzed* g)
    {
        for (int r = 0; r < g->RowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < g->ColCount(); ++c)
                cells << QString(g->Cells(c, r)).replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QStringLiteral("\\n"));
            out << name << ' ' << r << ": " << cells.join(QLatin1Char('|')) << '\n';
        }
    }

    QString FDumpFile;
    TZidIzavodUraz* A;
    TZidIzavodUraz* B;
    TZidIzavodUraz* C;
    TZidIzavodUraz* D;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    THarness h(QString::fromLocal8Bit(argv[1]));
    h.show();
    return app.exec();
}
