// TVerIvovavOzed: clipboard copy, cut and paste. A copy puts the cells as TAB and CR LF
// separated text, optionally the top-left cell's rich text and the grid's own binary cell stream;
// a paste takes the grid's own format when allowed and present, else rich text when allowed,
// else text, growing the grid as allowed and asking the application cell by cell.
#include "grid/AdvGrid.h"
#include "grid/UndoRedo.h"
#include "griddata/AdvGrid_FilesStreamTypes.h"
#include "platform/ComponentStream.h"
#include "render/RuvOdid.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

namespace {

const QChar CR(13), LF(10), TAB(9), VT(11), QUOTE(34);
const QString WideMarker = QStringLiteral("|\\");

// "|\" then every UTF-16 code unit as two characters, high byte first.
QString DecodeWide(const QString& s)
{
    QString r;
    for (qsizetype i = WideMarker.size(); i + 1 < s.size(); i += 2)
        r.append(QChar(char16_t(((s[i].unicode() & 0xFF) << 8) | (s[i + 1].unicode() & 0xFF))));
    return r;
}

QString EncodeWide(const QString& s)
{
    QString r = WideMarker;
    for (QChar c : s) {
        r.append(QChar(char16_t(c.unicode() >> 8)));
        r.append(QChar(char16_t(c.unicode() & 0xFF)));
    }
    return r;
}

// A pasted field that was quoted for its line breaks: the quotes go, LF (alone, as a copy writes
// it) and character 11 become CR LF.
QString UnquoteField(QString f)
{
    const bool hasLF = f.contains(LF);
    if (!hasLF && !(f.startsWith(QUOTE) && f.contains(VT)))
        return f;
    if (f.startsWith(QUOTE))
        f.remove(0, 1);
    if (f.endsWith(QUOTE) && f.count(QUOTE) == 1)
        f.chop(1);
    QString r;
    r.reserve(f.size() + 8);
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == VT || (c == LF && (i == 0 || f[i - 1] != CR)))
            r.append(QStringLiteral("\r\n"));
        else
            r.append(c);
    }
    return r;
}

// The lines of a text block: each ends at a CR (an LF right after it belongs to the line end);
// the text after the last line end is a final line, possibly empty.
struct TBlockLine {
    QString Text;
    bool EndedByCR = false;
};

std::vector<TBlockLine> SplitBlock(const QString& Text)
{
    std::vector<TBlockLine> lines;
    qsizetype start = 0;
    for (;;) {
        const qsizetype p = Text.indexOf(CR, start);
        if (p < 0) {
            lines.push_back({Text.mid(start), false});
            break;
        }
        lines.push_back({Text.mid(start, p - start), true});
        start = p + 1;
        if (start < Text.size() && Text[start] == LF)
            ++start;
    }
    return lines;
}

// Whether the block goes on after line li: a last line that is empty and has no line end of its
// own is only the end of the line before it.
bool TextFollows(const std::vector<TBlockLine>& lines, size_t li)
{
    return li + 1 < lines.size() &&
           !(li + 2 == lines.size() && lines[li + 1].Text.isEmpty() && !lines[li + 1].EndedByCR);
}

QClipboard* Clipboard() { return QGuiApplication::clipboard(); }


} // namespace

namespace gridclipboard {

QString MimeType(const QString& FormatName)
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(FormatName);
}

QString CellsMimeType() { return MimeType(GridCellsClipboardFormat()); }
QString RtfMimeType() { return MimeType(QStringLiteral("Rich Text Format")); }
QString HtmlMimeType() { return MimeType(QStringLiteral("HTML Format")); }

} // namespace gridclipboard

// ---- undo groups -------------------------------------------------------------------------------

void TVerIvovavOzed::BeginUndoGroup() { ++FUndoGroupDepth; }

void TVerIvovavOzed::EndUndoGroup()
{
    if (FUndoGroupDepth > 0 && --FUndoGroupDepth == 0 && FUndoGroupOpen) {
        FUndoGroupOpen = false;
        if (RUvaVoviVareReda* u = UndoRedo())
            u->StopSequence();
    }
}

void TVerIvovavOzed::RegisterUndo(int ACol, int ARow, const QString& OldValue, const QString& NewValue)
{
    RUvaVoviVareReda* u = UndoRedo();
    if (!u)
        return;
    // A group opens its sequence with its first change, so that a group that changed nothing
    // leaves no empty step to undo.
    if (FUndoGroupDepth > 0 && !FUndoGroupOpen) {
        FUndoGroupOpen = true;
        u->StartSequence();
    }
    u->RegisterChange(ACol, ARow, OldValue, NewValue);
}

// ---- copy --------------------------------------------------------------------------------------

bool TVerIvovavOzed::AllowsFmtClipboard() { return FNavigation->AllowFmtClipboard(); }

void TVerIvovavOzed::ExpandSelectionToMergedCells()
{
    const TGridRect s = Selection();
    TGridRect n = s;
    if (IsMergedCell(s.Left, s.Top)) {
        const TPoint b = BaseCell(s.Left, s.Top);
        n.Left = std::min(n.Left, b.X);
        n.Top = std::min(n.Top, b.Y);
    }
    if (IsMergedCell(s.Right, s.Bottom)) {
        const TPoint b = BaseCell(s.Right, s.Bottom);
        const TPoint span = CellSpan(b.X, b.Y);
        n.Right = std::max(n.Right, b.X + span.X);
        n.Bottom = std::max(n.Bottom, b.Y + span.Y);
    }
    if (!(n == s))
        SetSelection(n);
}

bool TVerIvovavOzed::DisjunctRowIncluded(int ARow)
{
    const int r = FMouseActions->RowSelectPersistent() ? DisplToRealRow(ARow) : ARow;
    return RowSelect(r);
}

QString TVerIvovavOzed::ClipboardCellText(int ACol, int ARow)
{
    const int rc = DisplToRealCol(ACol);
    QString s;
    GetSaveCellText(rc, ARow, s);
    if (s.startsWith(WideMarker))
        s = DecodeWide(s);
    if (!FNavigation->CopyHTMLTagsToClipboard() && s.contains(QLatin1String("</")))
        s = GetStrippedCell(rc, ARow);
    else if (s.contains(QLatin1String("{\\")))
        s = RichCellPlainText(s); // other programs get the words of a rich text cell
    // Line breaks are quoted in the text as it finally stands, after the tags went.
    if (s.contains(CR)) {
        if (FExcelClipboardFormat && Multilinecells()) {
            s.replace(QLatin1String("\r\n"), QString(VT));
            s = QUOTE + s + QUOTE;
        } else {
            // One LF for each line break, CR LF and a lone CR alike.
            s.replace(QLatin1String("\r\n"), QString(LF));
            s.replace(CR, LF);
            s = QUOTE + s + QUOTE;
        }
    }
    return s;
}

QString TVerIvovavOzed::RectToText(const TRect& R, bool Disjunct)
{
    FLastCopyTopLeft = TPoint{R.Left, R.Top};
    const bool multi = R.Bottom > R.Top;
    QString out;
    ExportNotification(esExportStart, -1);
    for (int r = R.Top; r <= R.Bottom; ++r) {
        ExportNotification(esExportNewRow, r);
        if (FMouseActions->DisjunctRowSelect() && Disjunct && !FMouseActions->DisjunctColSelect() &&
            !DisjunctRowIncluded(r))
            continue;
        for (int c = R.Left; c <= R.Right; ++c) {
            const bool skip = FMouseActions->DisjunctColSelect() && Disjunct && !(c < ColCount() && ColSelect(c));
            if (!skip)
                out += ClipboardCellText(c, r);
            if (c < R.Right)
                out += TAB;
        }
        if (multi)
            out += QLatin1String("\r\n");
    }
    ExportNotification(esExportDone, -1);
    return out;
}

void TVerIvovavOzed::CopyRectToClipboard(const TRect& R, bool Disjunct)
{
    auto* md = new QMimeData;
    md->setText(RectToText(R, Disjunct));
    if (FNavigation->AllowRTFClipboard()) {
        const QString tl = GetCellEx(DisplToRealCol(R.Left), R.Top);
        if (tl.contains(QLatin1String("{\\")))
            md->setData(gridclipboard::RtfMimeType(), tl.toLatin1() + QByteArray(1, '\0'));
    }
    if (FNavigation->AllowFmtClipboard()) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        SaveRectToBinStream(R, buffer);
        md->setData(gridclipboard::CellsMimeType(), data);
    }
    Clipboard()->setMimeData(md);
}

void TVerIvovavOzed::CopySelectionToClipboard()
{
    ExpandSelectionToMergedCells();
    if (FMouseActions->DisjunctRowSelect() && !FNavigation->AllowFmtClipboard())
        CopyRectToClipboard(TRect{FixedCols(), SaveStartRow(), ColCount() - FFixedRightCols - 1, SaveEndRow()}, true);
    else if (FMouseActions->DisjunctColSelect() && !FNavigation->AllowFmtClipboard())
        CopyRectToClipboard(TRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, true);
    else {
        const TGridRect s = Selection();
        CopyRectToClipboard(TRect{s.Left, s.Top, s.Right, s.Bottom}, false);
    }
    FLastClipOperation = coCopy;
}

void TVerIvovavOzed::CopyToClipBoard()
{
    CopyRectToClipboard(TRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, false);
    FLastClipOperation = coCopy;
}

void TVerIvovavOzed::CopyToClipBoardAsHTML()
{
    QString html = SaveToHTMLString(QString());
    BuildHtmlClipboard(html);
    auto* md = new QMimeData;
    // The envelope's offsets count UTF-8 bytes, so the block is UTF-8.
    md->setData(gridclipboard::HtmlMimeType(), html.toUtf8());
    md->setHtml(html);
    md->setText(html);
    Clipboard()->setMimeData(md);
}

QString TVerIvovavOzed::GetSelectionAsText()
{
    const TGridRect s = Selection();
    return RectToText(TRect{s.Left, s.Top, s.Right, s.Bottom}, false);
}

// ---- cut ---------------------------------------------------------------------------------------

void TVerIvovavOzed::CutCells(const TRect& R)
{
    {
        TUndoGroup group(this);
        for (int r = R.Top; r <= R.Bottom; ++r)
            for (int c = R.Left; c <= R.Right; ++c) {
                const int rc = DisplToRealCol(c);
                if (!FNavigation->AllowClipboardAlways() && !IsEditable(rc, r))
                    continue;
                RegisterUndo(rc, r, GetCellEx(rc, r), QString());
                SetCellEx(rc, r, QString());
            }
    }
    if (FShowModified->Enabled())
        for (int r = R.Top; r <= R.Bottom; ++r)
            SetRowModified(r, true);
}

void TVerIvovavOzed::CutToClipboard()
{
    const TRect r{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()};
    CopyRectToClipboard(r, false);
    CutCells(r);
    FLastClipOperation = coCut;
}

void TVerIvovavOzed::CutSelectionToClipboard()
{
    const TGridRect s = Selection();
    CopySelectionToClipboard();
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = RowCount() - 1; r >= FixedRows(); --r)
            if (DisjunctRowIncluded(r)) {
                ClearRows(r, 1);
                if (FShowModified->Enabled())
                    SetRowModified(r, true);
            }
    } else if (FMouseActions->DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (ColSelect(c))
                ClearCols(c, 1);
    } else {
        CutCells(TRect{s.Left, s.Top, s.Right, s.Bottom});
        // The clipboard holds the properties and graphics now.
        if (FNavigation->AllowFmtClipboard())
            FreeCellPropertiesRect(s.Left, s.Top, s.Right, s.Bottom);
    }
    FLastClipOperation = coCut;
    if (OnCellsChanged)
        OnCellsChanged(this, TRect{s.Left, s.Top, s.Right, s.Bottom});
    if (NumHiddenColumns() > 0)
        InvalidateGrid();
}

// ---- paste -------------------------------------------------------------------------------------

void TVerIvovavOzed::CellModified(TPoint Source, const TRect& R, TClipOperation Operation)
{
    Q_UNUSED(Source)
    Q_UNUSED(Operation)
    if (!FShowModified->Enabled())
        return;
    for (int r = R.Top; r <= R.Bottom; ++r)
        if (r >= 0 && r < RowCount())
            SetRowModified(r, true);
}

void TVerIvovavOzed::PasteCellValue(int ACol, int ARow, const QString& Value)
{
    const int rc = RealColIndex(ACol);
    RegisterUndo(rc, ARow, GetCellEx(rc, ARow), Value);
    if (HasCheckBox(rc, ARow)) {
        QString t = CheckTrue();
        GetCheckTrue(rc, ARow, t);
        SetCheckBoxState(rc, ARow, bool(Value == t));
    } else
        SetCellEx(rc, ARow, Value);
    if (rc != ACol)
        RepaintCell(ACol, ARow);
}

void TVerIvovavOzed::TextBlockSize(const QString& Text, int& Cols, int& Rows)
{
    Cols = 0;
    int empty = 0;
    for (const TBlockLine& l : SplitBlock(Text)) {
        Cols = std::max(Cols, int(l.Text.count(TAB)) + 1);
        if (l.Text.isEmpty())
            ++empty;
    }
    Rows = int(Text.count(CR)) - empty;
}

int TVerIvovavOzed::PasteTextBlock(int ACol, int ARow, int& Rows, int& Cols, const QString& Text)
{
    Rows = 0;
    Cols = 0;
    if (ACol < 0 || ARow < 0)
        return 0;
    // A drag of the selection's corner pastes into its cells while it counts them as editable.
    if (!(Options() & goEditing) && !FNavigation->AllowClipboardAlways() && !FMouseActions->RangeSelectAndEdit() &&
        !FEditDisable)
        return 0;
    int count = 0;
    TRect changed{ACol, ARow, ACol, ARow};
    int row = ARow;
    const std::vector<TBlockLine> lines = SplitBlock(Text);
    FPasteLines = int(lines.size()) - (lines.size() > 1 && lines.back().Text.isEmpty() ? 1 : 0);
    FPasteFirstFields = int(lines.front().Text.count(TAB)) + 1;
    auto cellAllowed = [&](int c) {
        return c < ColCount() && row < RowCount() &&
               (FNavigation->AllowClipboardAlways() || IsEditable(RealColIndex(c), row));
    };
    auto grow = [&](int c) {
        if (FNavigation->AllowClipboardColGrow() && c + 1 > ColCount())
            SetColCount(c + 1);
    };
    auto written = [&](int c) {
        changed.Left = std::min(changed.Left, c);
        changed.Right = std::max(changed.Right, c);
        changed.Top = std::min(changed.Top, row);
        changed.Bottom = std::max(changed.Bottom, row);
    };
    // One field into (c, row): the before-paste event (wide or plain), the value, the after-paste
    // event, wide for a wide field when WideAfter is set.
    auto pasteField = [&](int c, QString v, bool WideAfter) {
        bool allow = true;
        const bool wide = v.startsWith(WideMarker);
        if (wide) {
            QString d = DecodeWide(v);
            if (OnClipboardBeforePasteWideCell)
                OnClipboardBeforePasteWideCell(this, c, row, d, allow);
            v = EncodeWide(d);
        } else if (OnClipboardBeforePasteCell)
            OnClipboardBeforePasteCell(this, c, row, v, allow);
        if (!allow)
            return;
        PasteCellValue(c, row, v);
        written(c);
        if (wide && WideAfter) {
            if (OnClipboardAfterPasteWideCell)
                OnClipboardAfterPasteWideCell(this, c, row, DecodeWide(v));
        } else if (OnClipboardAfterPasteCell)
            OnClipboardAfterPasteCell(this, c, row, v);
    };
    auto group = std::make_unique<TUndoGroup>(this);
    for (size_t li = 0; li < lines.size(); ++li) {
        const TBlockLine& line = lines[li];
        ++Rows;
        ImportNotification(FPasteAll ? isImportNewRow : isImportSelRow, row);
        if (!line.Text.isEmpty() && FNavigation->ClipboardPasteAction() == paInsert)
            InsertRows(row, 1);
        Cols = 1;
        const QStringList fields = line.Text.split(TAB);
        int c = ACol;
        for (qsizetype fi = 0; fi + 1 < fields.size(); ++fi) {
            ++Cols;
            const QString v = UnquoteField(fields[fi]);
            grow(c);
            if (cellAllowed(c))
                pasteField(c, v, true);
            ++count;
            ++c;
        }
        // The last field; a line end after it adds no empty cell.
        const QString lastField = fields.last();
        if (line.EndedByCR || !lastField.isEmpty()) {
            const QString v = UnquoteField(lastField);
            grow(c);
            if (cellAllowed(c)) {
                // The last field reports through the plain after-paste event only.
                pasteField(c, v, false);
                ++c;
            }
        }
        ++count;
        // The next line goes one row down, growing the grid as allowed.
        if (TextFollows(lines, li))
            NextPasteRow(row, FNavigation->AllowClipboardRowGrow());
    }
    group.reset();
    CellModified(FLastCopyTopLeft, changed, FLastClipOperation);
    DoCellsChanged(TRect{RealColIndex(changed.Left), changed.Top, RealColIndex(changed.Right), changed.Bottom});
    return count;
}

void TVerIvovavOzed::NextPasteRow(int& Row, bool Grow)
{
    ++Row;
    const bool footer = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow;
    if (Row >= RowCount() - (footer ? 1 : 0) && Grow)
        SetRowCount(RowCount() + 1);
}

void TVerIvovavOzed::SetSelectionAsText(const QString& Value)
{
    const TGridRect s = Selection();
    int row = s.Top;
    int lastCol = s.Left, lastRow = s.Top;
    const std::vector<TBlockLine> lines = SplitBlock(Value);
    for (size_t li = 0; li < lines.size(); ++li) {
        const TBlockLine& line = lines[li];
        const QStringList fields = line.Text.split(TAB);
        int c = s.Left;
        for (qsizetype fi = 0; fi < fields.size(); ++fi) {
            const bool lastOne = fi + 1 == fields.size();
            if (lastOne && !line.EndedByCR && fields[fi].isEmpty())
                break;
            if (c + 1 > ColCount())
                SetColCount(c + 1);
            QString v = UnquoteField(fields[fi]);
            if (v.startsWith(WideMarker))
                v = EncodeWide(DecodeWide(v));
            if (row < RowCount()) {
                SetGridCell(RealColIndex(c), row, v);
                lastCol = std::max(lastCol, c);
                lastRow = std::max(lastRow, row);
            }
            ++c;
        }
        if (TextFollows(lines, li))
            NextPasteRow(row, true);
    }
    DoCellsChanged(TRect{RealColIndex(s.Left), s.Top, RealColIndex(lastCol), lastRow});
}

int TVerIvovavOzed::PasteFromClipboardAt(int ACol, int ARow, int& Rows, int& Cols)
{
    Rows = 0;
    Cols = 0;
    const QMimeData* md = Clipboard()->mimeData();
    if (!md)
        return 0;
    if (AllowsFmtClipboard() && md->hasFormat(gridclipboard::CellsMimeType())) {
        BeforeClipboardPaste();
        QByteArray data = md->data(gridclipboard::CellsMimeType());
        int hdrCols = 0, hdrRows = 0, id = 0;
        {
            QBuffer head(&data);
            head.open(QIODevice::ReadOnly);
            platform::TComponentReader rd(head);
            rd.ReadRecord([&](const QString& n, const platform::TPropValue& v) {
                if (n.compare(QLatin1String("ColCount"), Qt::CaseInsensitive) == 0)
                    hdrCols = int(v.Int);
                else if (n.compare(QLatin1String("RowCount"), Qt::CaseInsensitive) == 0)
                    hdrRows = int(v.Int);
                else if (n.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
                    id = int(v.Int);
            });
        }
        // Counts that the block cannot hold come from a broken or foreign block: nothing grows.
        if (hdrCols < 0 || hdrRows < 0 || qint64(hdrCols) * hdrRows > data.size())
            throw platform::EReadError(QStringLiteral("Invalid stream format"));
        const bool insert = FNavigation->ClipboardPasteAction() == paInsert;
        if (FNavigation->AllowClipboardRowGrow() || FNavigation->AllowClipboardColGrow() || insert) {
            if (ACol + hdrCols >= ColCount() && FNavigation->AllowClipboardColGrow())
                SetColCount(ACol + hdrCols);
            if (ARow + hdrRows >= RowCount() && FNavigation->AllowClipboardRowGrow())
                SetRowCount(ARow + hdrRows);
            Cols = ColCount();
            Rows = RowCount();
            if (insert)
                InsertRows(ARow, hdrRows);
        }
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        FPasteLines = hdrRows;
        FPasteFirstFields = hdrCols;
        LoadAtPointFromBinStream(TPoint{ACol, ARow}, buffer);
        const TPoint source = id == StreamID() ? FLastCopyTopLeft : TPoint{-1, -1};
        CellModified(source, TRect{ACol, ARow, ACol + hdrCols - 1, ARow + hdrRows - 1}, FLastClipOperation);
        AfterClipboardPaste();
        return hdrCols * hdrRows;
    }
    if (FNavigation->AllowRTFClipboard() && md->hasFormat(gridclipboard::RtfMimeType())) {
        QByteArray data = md->data(gridclipboard::RtfMimeType());
        const qsizetype z = data.indexOf('\0');
        if (z >= 0)
            data.truncate(z);
        if (IsEditable(RealColIndex(ACol), ARow))
            PasteCellValue(ACol, ARow, QString::fromLatin1(data));
        Rows = 1;
        Cols = 1;
        FPasteLines = 1;
        FPasteFirstFields = 1;
        return 0;
    }
    if (md->hasText()) {
        const QString text = md->text();
        if (!text.isEmpty())
            return PasteTextBlock(ACol, ARow, Rows, Cols, text);
    }
    return 0;
}

void TVerIvovavOzed::PasteFromClipboard()
{
    FPasteAll = true;
    ImportNotification(isImportStart, -1);
    int rows = 0, cols = 0;
    PasteFromClipboardAt(SaveStartCol(), SaveStartRow(), rows, cols);
    ImportNotification(isImportDone, -1);
    RecalcFooters();
}

void TVerIvovavOzed::PasteSelectionFromClipboard()
{
    FPasteAll = false;
    ImportNotification(isImportStart, -1);
    ExpandSelectionToMergedCells();
    const TGridRect s = Selection();
    int rows = 0, cols = 0;
    const int n = (Options() & goRowSelect) ? PasteFromClipboardAt(FixedCols(), s.Top, rows, cols)
                                             : PasteFromClipboardAt(s.Left, s.Top, rows, cols);
    if (FNavigation->AllowSmartClipboard()) {
        SmartPasteAfter(n, rows, cols);
        return;
    }
    ImportNotification(isImportDone, -1);
    RecalcFooters();
}

// ---- keyboard ----------------------------------------------------------------------------------

void TVerIvovavOzed::ClipboardShortCut(TClipboardKey Operation)
{
    // Called from the key handling: nothing may escape to the event loop.
    try {
        // The operation's permission event is told the text it would move; the operation runs
        // unless the event refuses it.
        auto run = [this](const std::function<void(QObject*, const QString&, bool&)>& Allowed, auto Text,
                          auto Operate) {
            bool allow = true;
            if (Allowed)
                Allowed(this, Text(), allow);
            if (allow)
                Operate();
        };
        const auto selectionText = [this] { return GetSelectionAsText(); };
        switch (Operation) {
        case ckCut:
            run(OnClipboardCut, selectionText, [this] { CutSelectionToClipboard(); });
            break;
        case ckPaste:
            run(OnClipboardPaste, [] { return Clipboard()->text(); }, [this] { PasteSelectionFromClipboard(); });
            break;
        case ckCopy:
            run(OnClipboardCopy, selectionText, [this] { CopySelectionToClipboard(); });
            break;
        default:
            break;
        }
    } catch (const std::exception&) {
        // A clipboard block that cannot be read leaves the cells read so far.
    }
}
