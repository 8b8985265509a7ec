// TVerIvovavOzed: the grid's own line-oriented text format, as a file (positions relative to the
// grid) and inside a caller's stream (positions relative to the save area, UTF-16).
#include "grid/AdvGrid.h"
#include "griddata/GridFileText.h"
#include "platform/Services.h"
#include "platform/StringList.h"

#include <QIODevice>
#include <QPointer>
#include <algorithm>
#include <initializer_list>
#include <utility>

namespace {

const QChar CR(13), LF(10), TAB(9), BS(8), NUL(0), SOH(1);

// Each character of s that the map names replaced by its partner.
QString Translate(QString s, std::initializer_list<std::pair<QChar, QChar>> Map)
{
    for (QChar& c : s)
        for (const auto& [from, to] : Map)
            if (c == from) {
                c = to;
                break;
            }
    return s;
}

// Line breaks would end the line early: each CR, LF and NUL becomes a control character of its
// own. A text with none of them is written unchanged (so a lone TAB stays a TAB).
QString EscapeText(QString s)
{
    if (!s.contains(CR) && !s.contains(LF))
        return s;
    return Translate(std::move(s), {{CR, TAB}, {LF, BS}, {NUL, SOH}});
}

QString UnescapeText(QString s, bool Multiline)
{
    if (s.contains(BS))
        s = Translate(std::move(s), {{TAB, CR}, {BS, LF}, {SOH, NUL}});
    if (!Multiline) {
        const qsizetype p = s.indexOf(CR);
        if (p >= 0)
            s.truncate(p);
    }
    return s;
}

void WriteStreamLine(QIODevice& Stream, const QString& Line)
{
    QByteArray b;
    b.reserve((Line.size() + 2) * 2);
    for (QChar c : Line) {
        b.append(char(c.unicode() & 0xFF));
        b.append(char(c.unicode() >> 8));
    }
    b.append("\r\0\n\0", 4);
    if (Stream.write(b) != b.size())
        throw platform::EInOutError(QStringLiteral("Stream write error"));
}

// One line of UTF-16 code units up to a CR; the CR is consumed and the unit after it skipped.
QString ReadStreamLine(QIODevice& Stream)
{
    QString s;
    char u[2];
    while (Stream.read(u, 2) == 2) {
        const char16_t c = char16_t(quint8(u[0]) | (quint8(u[1]) << 8));
        if (c == 13) {
            Stream.read(u, 2);
            break;
        }
        s.append(QChar(c));
    }
    return s;
}

} // namespace

void TVerIvovavOzed::SaveToFile(const QString& FileName, bool Unicode)
{
    const int hidden = SaveHiddenCells() ? NumHiddenColumns() : 0;
    platform::TStringList sl;
    sl.Add(QStringLiteral("%1,%2").arg(SaveColCount() + hidden).arg(SaveRowCount()));
    const int lastCol = SaveEndCol() + hidden;
    for (int c = SaveStartCol(); c <= lastCol; ++c)
        sl.Add(QStringLiteral("cw %1,%2").arg(c).arg(SaveHiddenCells() ? AllColWidths(c) : ColWidths(c)));

    ExportNotification(esExportStart, SaveStartRow());
    int last = -1;
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = SaveStartCol(); c <= lastCol; ++c) {
            QString s;
            GetSaveCellText(c, r, s);
            if (!s.isEmpty())
                sl.Add(QStringLiteral("%1,%2,").arg(c).arg(r) + EscapeText(s));
        }
        // Counted from the first saved row, so that a save without the fixed rows still ends at 100.
        gridfiles::Progress(OnFileProgress, this, last, r - SaveStartRow(), std::max(1, SaveRowCount() - 1));
    }
    ExportNotification(esExportDone, -1);
    sl.SaveToFile(FileName, Unicode ? platform::TTextEncoding::Unicode : platform::TTextEncoding::Default);
}

void TVerIvovavOzed::LoadFromFile(const QString& FileName)
{
    // The load processes pending events; one of them may ask for another load meanwhile.
    if (FFileLoading)
        return;
    platform::TStringList sl;
    sl.LoadFromFile(FileName);

    const int colOffset = SaveFixedCells() || SaveFixedCols() ? 0 : FixedCols();
    const int rowOffset = SaveFixedCells() || SaveFixedRows() ? 0 : FixedRows();
    int cols = ColCount(), rows = RowCount();
    const QString first = sl.Count() > 0 ? sl[0] : QString();
    if (!first.isEmpty()) {
        const qsizetype p = first.indexOf(QLatin1Char(','));
        cols = colOffset + gridfiles::LeadingInt(p < 0 ? first : first.left(p));
        rows = rowOffset + (p < 0 ? 0 : gridfiles::LeadingInt(first.mid(p + 1)));
    }
    // A header claiming more columns or rows than any grid holds is a corrupt file, not a
    // request to take all memory.
    constexpr int MaxFileCols = 1000000, MaxFileRows = 10000000;
    if (cols <= 0 || rows <= 0 || cols > MaxFileCols || rows > MaxFileRows)
        throw ZUzeRodoRediv(QStringLiteral("File contains no data or corrupt file ") + FileName);
    SetColCount(cols);
    SetRowCount(rows);

    QPointer<TVerIvovavOzed> alive(this);
    FFileLoading = true;
    struct Guard {
        QPointer<TVerIvovavOzed>& g;
        ~Guard()
        {
            if (g)
                g->FFileLoading = false;
        }
    } guard{alive};

    int last = -1;
    for (int i = 1; i < sl.Count(); ++i) {
        const QString line = sl[i];
        const qsizetype p1 = line.indexOf(QLatin1Char(','));
        if (line.startsWith(QLatin1String("cw"))) {
            const int c = gridfiles::LeadingInt(p1 < 0 ? line.mid(3) : line.mid(3, p1 - 3));
            const int w = p1 < 0 ? 0 : gridfiles::LeadingInt(line.mid(p1 + 1, 255));
            if (c >= 0 && c < ColCount())
                SetColWidths(c, w);
            continue;
        }
        const int c = p1 < 0 ? 0 : gridfiles::LeadingInt(line.left(p1));
        const QString rest = p1 < 0 ? line : line.mid(p1 + 1);
        const qsizetype p2 = rest.indexOf(QLatin1Char(','));
        const int r = p2 < 0 ? 0 : gridfiles::LeadingInt(rest.left(p2));
        const QString text = p2 < 0 ? rest : rest.mid(p2 + 1);
        if (c >= 0 && c < ColCount() && r >= 0 && r < RowCount())
            LoadCellText(c, r, UnescapeText(text, Multilinecells()));
        gridfiles::Progress(OnFileProgress, this, last, r, std::max(1, RowCount() - 1));
        platform::TheServices().ProcessMessages();
        if (!alive)
            return; // the grid was deleted by an event handled meanwhile
    }
    DoCellsChanged(TRect{0, 0, ColCount(), RowCount()});
    RecalcFooters();
}

void TVerIvovavOzed::SaveToStream(QIODevice& Stream)
{
    WriteStreamLine(Stream, QStringLiteral("%1,%2").arg(SaveColCount()).arg(SaveRowCount()));
    for (int c = 0; c < ColCount(); ++c)
        WriteStreamLine(Stream, QStringLiteral("cw %1,%2").arg(c).arg(ColWidths(c)));
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = SaveStartCol(); c <= SaveEndCol(); ++c) {
            // The save area counts shown columns; their texts are stored behind any hidden ones.
            QString s;
            GetSaveCellText(RealColIndex(c), r, s);
            if (!s.isEmpty())
                WriteStreamLine(Stream,
                                QStringLiteral("%1,%2,").arg(c - SaveStartCol()).arg(r - SaveStartRow()) + EscapeText(s));
        }
    }
    ExportNotification(esExportDone, -1);
}

void TVerIvovavOzed::LoadFromStream(QIODevice& Stream)
{
    if (!Stream.atEnd()) {
        const QString first = ReadStreamLine(Stream);
        if (!first.isEmpty()) {
            const qsizetype p = first.indexOf(QLatin1Char(','));
            const int cols = platform::StrToInt(p < 0 ? first : first.left(p));
            const int rows = platform::StrToInt(p < 0 ? QString() : first.mid(p + 1));
            // The columns and rows outside the save area (right fixed columns, footers) stay.
            const int colsAfter = std::max(0, ColCount() - 1 - SaveEndCol());
            const int rowsAfter = std::max(0, RowCount() - 1 - SaveEndRow());
            SetColCount(SaveStartCol() + cols + colsAfter);
            SetRowCount(SaveStartRow() + rows + rowsAfter);
        }
    }
    while (!Stream.atEnd()) {
        const qint64 start = Stream.pos();
        QString line = ReadStreamLine(Stream);
        if (line.startsWith(QLatin1String("cw"))) {
            line.remove(0, 3);
            const qsizetype p = line.indexOf(QLatin1Char(','));
            const int c = platform::StrToInt(p < 0 ? line : line.left(p));
            const int w = platform::StrToInt(p < 0 ? QString() : line.mid(p + 1));
            // A width of a column the grid does not have is of no use here.
            if (c >= 0 && c < ColCount())
                SetColWidths(c, w);
            continue;
        }
        const qsizetype p1 = line.indexOf(QLatin1Char(','));
        const QString colText = p1 < 0 ? QString() : line.left(p1);
        const QString rest = p1 < 0 ? QString() : line.mid(p1 + 1);
        const qsizetype p2 = rest.indexOf(QLatin1Char(','));
        const QString rowText = p2 < 0 ? QString() : rest.left(p2);
        if (colText.isEmpty() || rowText.isEmpty()) {
            Stream.seek(start);
            break;
        }
        const int c = platform::StrToInt(colText) + SaveStartCol();
        const int r = platform::StrToInt(rowText) + SaveStartRow();
        if (c >= 0 && c < ColCount() && r >= 0 && r < RowCount())
            LoadCellText(RealColIndex(c), r, UnescapeText(rest.mid(p2 + 1), Multilinecells()));
    }
    DoCellsChanged(TRect{0, 0, ColCount(), RowCount()});
    RecalcFooters();
}
