// TVerIvovavOzed: delimiter-separated files (quoting, multi-line cells, the Java dialect,
// delimiter detection), fixed-width fields, the padded text table and CellToReal.
#include "grid/AdvGrid.h"
#include "griddata/GridFileText.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/StringList.h"
#include "render/RuvOdid.h"

#include <QApplication>
#include <QFile>
#include <QIODevice>
#include <algorithm>
#include <vector>

namespace {

const QChar Quote(u'"');
const QChar VT(11);
const QString CRLF = QStringLiteral("\r\n");

// Any line break (CR LF, CR or LF) replaced by one marker.
QString ReplaceBreaks(QString s, const QString& marker)
{
    s.replace(CRLF, QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    s.replace(QLatin1Char('\n'), marker);
    return s;
}

bool HasBreak(const QString& s) { return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n')); }

QString EncodeField(QString s, QChar delim, bool oem, bool alwaysQuotes, bool quoteEmpty, bool java)
{
    s.replace(Quote, QStringLiteral("\"\""));
    if (oem)
        s = platform::AnsiToOemText(s);
    bool quoted = false;
    if (alwaysQuotes || (s.contains(Quote) && !s.contains(delim))) {
        s = Quote + s + Quote;
        quoted = true;
    }
    if (s.isEmpty()) {
        if (java)
            s = QStringLiteral("^");
        else if (quoteEmpty)
            s = QStringLiteral("\"\"");
    }
    if (s.contains(delim) || HasBreak(s)) {
        if (java) {
            s = ReplaceBreaks(s, QStringLiteral("~"));
            // The dialect still quotes a field holding the delimiter, or the reader would split
            // it and shift every later cell of the row.
            if (!quoted && s.contains(delim))
                s = Quote + s + Quote;
        } else {
            // A line break left in the field would end the record: the reader takes one line
            // per row, quoted or not.
            s = ReplaceBreaks(s, QString(VT));
            if (!quoted)
                s = Quote + s + Quote;
        }
    }
    return s;
}

QString DecodeField(QString s, bool java)
{
    if (java) {
        s.replace(QLatin1Char('~'), CRLF);
        if (s == QLatin1String("^"))
            s.clear();
    } else {
        s.replace(VT, CRLF);
    }
    return s;
}

// The fields of one line; a last field that is empty is not among them.
QStringList SplitLine(const QString& line, QChar delim)
{
    QStringList out;
    QString rest = line;
    // Without a delimiter the whole line is the one (last) field.
    while (!delim.isNull() && rest.contains(delim)) {
        while (rest.size() >= 2 && rest[0] == QLatin1Char(' '))
            rest.remove(0, 1);
        if (rest.startsWith(Quote)) {
            // The closing quote: a run of quotes of odd length followed by another character,
            // or a quote that ends the line; the run's end, counted after the opening quote, is
            // its place.
            int end = 0;
            const int close = FindUnpairedChar(Quote, rest.mid(1), end) > 0 ? end : -1;
            if (close < 0) {
                out << QString();
                const qsizetype d = rest.indexOf(delim);
                rest = rest.mid(d + 1);
                continue;
            }
            QString f = rest.mid(1, close - 1);
            f.replace(QStringLiteral("\"\""), QString(Quote));
            out << f;
            const qsizetype d = rest.indexOf(delim, close + 1);
            rest = d < 0 ? QString() : rest.mid(d + 1);
            continue;
        }
        const qsizetype d = rest.indexOf(delim);
        out << rest.left(d);
        rest = rest.mid(d + 1);
    }
    while (rest.size() >= 2 && rest[0] == QLatin1Char(' '))
        rest.remove(0, 1);
    if (rest.startsWith(Quote)) {
        rest.remove(0, 1);
        if (rest.endsWith(Quote))
            rest.chop(1);
        rest.replace(QStringLiteral("\"\""), QString(Quote));
    }
    if (!rest.isEmpty())
        out << rest;
    return out;
}

// The candidate delimiter of the highest score above Best (which it raises), null when none
// scores above it.
template <class Score>
QChar BestCandidate(int& Best, Score score)
{
    static const QChar candidates[] = {u',', u';', u'#', u'\t', u'|', u'@', u'*', u'-', u'+', u'&'};
    QChar found;
    for (QChar c : candidates) {
        const int s = score(c);
        if (s > Best) {
            found = c;
            Best = s;
        }
    }
    return found;
}

// The delimiter two lines agree on: one that splits both into as many fields (counting quoted
// runs, then plain occurrences), else the one either line holds most often.
QChar DetectDelimiter(const QString& l1, const QString& l2)
{
    int best = 0;
    QChar found = BestCandidate(best, [&](QChar c) {
        const int a = CountUnpairedChars(c, l1);
        return a == CountUnpairedChars(c, l2) ? a : 0;
    });
    if (found.isNull())
        found = BestCandidate(best, [&](QChar c) {
            const int a = int(l1.count(c));
            return a == int(l2.count(c)) ? a : 0;
        });
    if (found.isNull())
        found = BestCandidate(best, [&](QChar c) { return int(std::max(l1.count(c), l2.count(c))); });
    return found;
}

QStringList ReadLines(const QByteArray& bytes)
{
    platform::TStringList sl;
    sl.SetText(platform::TStringList::DecodeBytes(bytes, platform::TTextEncoding::Default, true));
    return sl.ToStringList();
}

void SaveLines(const QString& FileName, const QStringList& lines, platform::TTextEncoding enc)
{
    platform::TStringList sl;
    sl.Assign(lines);
    sl.SaveToFile(FileName, enc);
}

QStringList ExistingLines(const QString& FileName)
{
    if (!QFile::exists(FileName))
        return {};
    platform::TStringList sl;
    sl.LoadFromFile(FileName);
    return sl.ToStringList();
}

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

// ---- CSV -------------------------------------------------------------------------------------

void TVerIvovavOzed::ExportCSV(const QString& FileName, bool Unicode, bool Append)
{
    const QChar delim = FDelimiter.isNull() ? QChar(u',') : FDelimiter;
    // The lines go straight into the list that writes the file.
    platform::TStringList lines;
    if (Append)
        lines.Assign(ExistingLines(FileName));
    const int lastCol = SaveEndCol() + (SaveHiddenCells() ? NumHiddenColumns() : 0);
    int last = -1;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        QString line;
        line.reserve(qsizetype(lastCol - SaveStartCol() + 1) * 8);
        for (int c = SaveStartCol(); c <= lastCol; ++c) {
            QString s;
            GetSaveCellText(SaveHiddenCells() ? c : DisplToRealCol(c), r, s);
            if (c > SaveStartCol())
                line += delim;
            line += EncodeField(s, delim, OemConvert(), FAlwaysQuotes, QuoteEmptyCells(), FJavaCSV);
        }
        lines.Add(line);
        gridfiles::Progress(OnFileProgress, this, last, r, std::max(1, RowCount() - 1));
    }
    ExportNotification(esExportDone, -1);
    lines.SaveToFile(FileName, Unicode ? platform::TTextEncoding::UTF8 : platform::TTextEncoding::Default);
}

void TVerIvovavOzed::SaveToCSV(const QString& FileName, bool Unicode) { ExportCSV(FileName, Unicode, false); }

void TVerIvovavOzed::AppendToCSV(const QString& FileName, bool Unicode) { ExportCSV(FileName, Unicode, true); }

void TVerIvovavOzed::ImportCSV(const QStringList& Lines, int MaxRows, bool Insert)
{
    if (Lines.isEmpty())
        throw platform::Exception(QStringLiteral("File is empty"));
    const int firstCol = SaveStartCol();
    int row = Insert ? RowCount() : SaveStartRow();

    // An insert keeps a visible floating footer in the last row.
    QStringList footer;
    const bool keepFooter = Insert && FloatingFooter().Visible() && RowCount() > 0;
    if (keepFooter) {
        row = RowCount() - 1;
        for (int c = 0; c < ColCount(); ++c) {
            footer << Cells(c, row);
            SetCells(c, row, QString());
        }
    }

    if (FDelimiter.isNull())
        FDelimiter = DetectDelimiter(Lines[0], Lines.size() > 1 ? Lines[1] : QString());

    int firstLine = LoadFirstRow() ? 0 : 1;
    const int counted = std::max(0, int(Lines.size()) - firstLine);
    if (OnFileProgress)
        SetRowCount(Insert ? RowCount() + counted : row + int(Lines.size()) + FixedFooters());

    const int hidden = SaveHiddenCells() ? NumHiddenColumns() : 0;
    int read = 0, last = -1;
    for (int i = firstLine; i < Lines.size() && (MaxRows <= 0 || read < MaxRows); ++i) {
        if (row >= RowCount() - FixedFooters())
            SetRowCount(row + 1000);
        QString line = Lines[i];
        if (OemConvert())
            line = platform::OemToAnsiText(line);
        const QStringList fields = SplitLine(line, FDelimiter);
        for (int k = 0; k < fields.size(); ++k) {
            const int c = firstCol + k;
            if (c >= ColCount() + hidden)
                SetColCount(c + 1 - hidden);
            LoadCellText(c, row, DecodeField(fields[k], FJavaCSV));
        }
        ++read;
        ++row;
        gridfiles::Progress(OnFileProgress, this, last, read, std::max(1, counted));
    }
    SetRowCount(row + FixedFooters());
    if (keepFooter)
        for (int c = 0; c < footer.size() && c < ColCount(); ++c)
            SetCells(c, RowCount() - 1, footer[c]);
    FDelimiter = QChar(0);
    DoCellsChanged(TRect{0, 0, ColCount(), RowCount()});
    RecalcFooters();
}

void TVerIvovavOzed::LoadFromCSV(const QString& FileName, int MaxRows)
{
    const QByteArray bytes = gridfiles::ReadWholeFile(FileName);
    if (!bytes.isEmpty())
        ImportCSV(ReadLines(bytes), MaxRows, false);
}

void TVerIvovavOzed::LoadFromCSVStream(QIODevice& AStream, int MaxRows)
{
    ImportCSV(ReadLines(AStream.readAll()), MaxRows, false);
}

void TVerIvovavOzed::InsertFromCSV(const QString& FileName, int MaxRows)
{
    const QByteArray bytes = gridfiles::ReadWholeFile(FileName);
    if (!bytes.isEmpty())
        ImportCSV(ReadLines(bytes), MaxRows, true);
}

// ---- fixed-width fields ----------------------------------------------------------------------

void TVerIvovavOzed::SaveToFixed(const QString& FileName, TIntList& Positions)
{
    const int lastCol = SaveEndCol() + (SaveHiddenCells() ? NumHiddenColumns() : 0);
    for (int c = SaveStartCol(), k = 0; c <= lastCol; ++c, ++k)
        if (k >= Positions.Count())
            Positions.Add(LongestLineInColumn(SaveHiddenCells() ? c : DisplToRealCol(c)) + 1);
    QString text;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = SaveStartCol(), k = 0; c <= lastCol; ++c, ++k) {
            QString s;
            GetSaveCellText(SaveHiddenCells() ? c : DisplToRealCol(c), r, s);
            const int w = std::max(0, Positions.Items(k));
            text += s.left(w).leftJustified(w, QLatin1Char(' '));
        }
        text += CRLF;
    }
    ExportNotification(esExportDone, -1);
    if (!platform::WriteFileAtomic(FileName, platform::ToAnsi(text)))
        throw ZUzeRodoRediv(QStringLiteral("Cannot Create file ") + FileName);
}

void TVerIvovavOzed::LoadFromFixed(const QString& FileName, TIntList& Positions, bool DoTrim, int MaxRows)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw ZUzeRodoRediv(QStringLiteral("File ") + FileName + QStringLiteral(" not found"));
    const QStringList lines = ReadLines(f.readAll());
    SetColCount(FixedCols() + Positions.Count() - 1);
    std::vector<int> pos;
    for (int i = 0; i < Positions.Count(); ++i)
        pos.push_back(Positions.Items(i));
    std::sort(pos.begin(), pos.end());
    for (int i = 0; i < int(pos.size()); ++i)
        Positions.SetInteger(i, pos[size_t(i)]);

    int row = SaveStartRow();
    for (int i = 0; i < lines.size(); ++i) {
        if (MaxRows != -1 && i >= MaxRows)
            break;
        if (row >= RowCount())
            SetRowCount(row + 1);
        for (int k = 0; k + 1 < int(pos.size()); ++k) {
            QString s = lines[i].mid(std::max(0, pos[size_t(k)] - 1), std::max(0, pos[size_t(k) + 1] - pos[size_t(k)]));
            if (DoTrim)
                s = s.trimmed();
            LoadCellText(SaveStartCol() + k, row, s);
        }
        ++row;
    }
    DoCellsChanged(TRect{0, 0, ColCount(), RowCount()});
    RecalcFooters();
}

// ---- text table ------------------------------------------------------------------------------

void TVerIvovavOzed::ExportASCII(const QString& FileName, bool Unicode, bool Append)
{
    WaitCursor wait;
    QStringList out = Append ? ExistingLines(FileName) : QStringList();
    const int firstRow = SaveFixedCells() || SaveFixedRows() ? 0 : FixedRows();
    const int firstCol = SaveFixedCells() || SaveFixedCols() ? 0 : FixedCols();
    const int lastCol = ColCount() - 1 + (SaveHiddenCells() ? NumHiddenColumns() : 0);
    auto stored = [&](int c) { return SaveHiddenCells() ? c : DisplToRealCol(c); };
    std::vector<int> widths;
    for (int c = firstCol; c <= lastCol; ++c)
        widths.push_back(LongestLineInColumn(stored(c)));

    auto pad = [](const QString& s, int w, TAlignment a) {
        QString t = s;
        if (a == taRightJustify) {
            t = t.rightJustified(w, QLatin1Char(' '));
        } else if (a == taCenter) {
            while (t.size() < w) {
                t.prepend(QLatin1Char(' '));
                if (t.size() < w)
                    t.append(QLatin1Char(' '));
            }
        } else {
            t = t.leftJustified(w, QLatin1Char(' '));
        }
        return t + QLatin1Char(' ');
    };

    ExportNotification(esExportStart, firstRow);
    for (int r = firstRow; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        QString main;
        QStringList more;
        for (int c = firstCol; c <= lastCol; ++c) {
            const int rc = stored(c);
            QString s;
            GetSaveCellText(rc, r, s);
            TAlignment ha = taLeftJustify;
            TVAlignment va = vtaTop;
            GetCellAlignment(rc, r, ha, va);
            const int w = widths[size_t(c - firstCol)];
            QStringList parts = ReplaceBreaks(s, QStringLiteral("\n")).split(QLatin1Char('\n'));
            const int start = int(main.size());
            main += pad(parts[0], w, ha);
            if (Multilinecells() && s.contains(CRLF))
                for (int k = 1; k < parts.size(); ++k) {
                    if (more.size() < k)
                        more << QString();
                    QString& l = more[k - 1];
                    l = l.leftJustified(start, QLatin1Char(' '));
                    l += pad(parts[k], w, ha);
                }
        }
        out << main;
        out << more;
    }
    ExportNotification(esExportDone, -1);
    SaveLines(FileName, out, Unicode ? platform::TTextEncoding::Unicode : platform::TTextEncoding::Default);
}

void TVerIvovavOzed::SaveToASCII(const QString& FileName, bool Unicode) { ExportASCII(FileName, Unicode, false); }

void TVerIvovavOzed::AppendToASCII(const QString& FileName, bool Unicode) { ExportASCII(FileName, Unicode, true); }

// ---- CellToReal ------------------------------------------------------------------------------

double TVerIvovavOzed::CellToReal(int ACol, int ARow)
{
    const QString raw = GetCellEx(ACol, ARow);
    if (raw.isEmpty())
        return 0;
    const QString s = NumberTextNormalize(raw);
    // A decimal number with "." as its separator; the 1-based position of the first character
    // that does not fit is reported.
    const int n = int(s.size());
    int i = 0;
    auto digits = [&] {
        const int from = i;
        while (i < n && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9'))
            ++i;
        return i > from;
    };
    if (i < n && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        ++i;
    bool any = digits();
    if (i < n && s[i] == QLatin1Char('.')) {
        ++i;
        any = digits() || any;
    }
    if (any && i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
            ++i;
        if (!digits())
            i = std::max(i, 1);
    }
    if (i < n || !any) {
        const int p = !any && i == n ? n + 1 : i + 1;
        throw ZUzeRodoRediv(QStringLiteral("Error at position: %1 in Cell [%2, %3].").arg(p).arg(ACol).arg(ARow));
    }
    return s.toDouble();
}
