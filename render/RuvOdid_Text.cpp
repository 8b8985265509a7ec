// Cell text encodings, clipboard and CSV line-end codings, search and URL helpers.
#include "render/RuvOdid.h"

#include "platform/CodePage.h"

namespace {

const QChar CR(u'\r');
const QChar LF(u'\n');

QString ReplacedChar(const QString& text, QChar from, const QString& to)
{
    QString out = text;
    out.replace(from, to);
    return out;
}

} // namespace

// ---- cell encodings and kinds ----

QString EncodeUnicodeCell(const QString& wide)
{
    QString out = QStringLiteral("|\\");
    out.reserve(2 + wide.size() * 2);
    for (QChar c : wide) {
        const ushort u = c.unicode();
        out.append(QChar(ushort(u >> 8)));
        out.append(QChar(ushort(u & 0xFF)));
    }
    return out;
}

QString DecodeUnicodeCell(const QString& text)
{
    if (!text.startsWith(QStringLiteral("|\\")))
        return text;
    QString out;
    out.reserve((text.size() - 2) / 2);
    for (qsizetype i = 2; i + 1 < text.size(); i += 2) {
        const ushort hi = text[i].unicode() & 0xFF;
        const ushort lo = text[i + 1].unicode() & 0xFF;
        out.append(QChar(ushort(hi * 256 + lo)));
    }
    return out;
}

int ClassifyCellText(const QString& text, bool html)
{
    // Every cell is classified on every paint: no copy of the text is made.
    if (text.isEmpty())
        return ctkPlain;
    if (text[0] == u'=')
        return ctkFormula;
    if (text.startsWith(u"|\\"))
        return ctkEncoded;
    if (text.startsWith(u"{\\"))
        return ctkRtf;
    if (html) {
        if (text.contains(u"</"))
            return ctkHtml;
        // "<B", "<I" or "<C" in any case: the character after "<" upper-cased alone is B, I or C
        // exactly when it is in the upper-cased text (dotless i included).
        for (qsizetype i = text.indexOf(u'<'); i >= 0 && i + 1 < text.size(); i = text.indexOf(u'<', i + 1)) {
            const QChar next = text[i + 1].toUpper();
            if (next == u'B' || next == u'I' || next == u'C')
                return ctkHtml;
        }
    }
    return ctkPlain;
}

QString CharToHexCode(int code)
{
    QString out;
    for (int b = 0; b < 3; ++b) {
        const int byte = (code >> (8 * b)) & 0xFF;
        out += QStringLiteral("%1").arg(byte, 2, 16, QChar(u'0')).toUpper();
    }
    return out;
}

// ---- clipboard and CSV ----

void BuildHtmlClipboard(QString& fragment)
{
    static const QString prefix = QStringLiteral(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
        "<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\">"
        "</head><body><!--StartFragment-->");
    static const QString suffix = QStringLiteral("<!--EndFragment--></body></html>");
    // The clipboard reader seeks by byte, so the offsets count the UTF-8 bytes of each piece
    // (the header and the document frame are ASCII: their bytes equal their characters).
    const qsizetype n = fragment.toUtf8().size();
    auto line = [](const char* name, qsizetype value) {
        return QString::fromLatin1(name) + QStringLiteral("%1").arg(value, 8, 10, QChar(u'0')) +
               QStringLiteral("\r\n");
    };
    QString header = QStringLiteral("Version:1.0\r\n");
    header += line("StartHTML:", 97);
    header += line("EndHTML:", 306 + n);
    header += line("StartFragment:", 274);
    header += line("EndFragment:", 274 + n);
    fragment = header + prefix + fragment + suffix;
}

void CsvQuoteMultiline(QString& text)
{
    text.replace(QStringLiteral("\r\n"), QString(QChar(11)));
    text = u'"' + text + u'"';
}

void VtToCrLf(QString& text)
{
    if (text.contains(QChar(11)))
        text.replace(QChar(11), QStringLiteral("\r\n"));
}

QString CrLfToTab(const QString& text)
{
    if (!text.contains(CR))
        return text;
    QString out = text;
    for (QChar& c : out) {
        if (c == CR)
            c = QChar(9);
        else if (c == LF)
            c = QChar(8);
        else if (c == QChar(0))
            c = QChar(1);
    }
    return out;
}

QString TabToCrLf(const QString& text, bool multiLine)
{
    QString out = text;
    if (out.contains(QChar(8))) {
        for (QChar& c : out) {
            if (c == QChar(9))
                c = CR;
            else if (c == QChar(8))
                c = LF;
            else if (c == QChar(1))
                c = QChar(0);
        }
    }
    if (multiLine)
        return out;
    return FirstLine(out, false);
}

void CrLfToTilde(QString& text)
{
    text.remove(LF);
    text.replace(CR, QChar(u'~'));
}

void TildeToCrLf(QString& text)
{
    text.replace(QChar(u'~'), QStringLiteral("\r\n"));
    if (text == QStringLiteral("^"))
        text.clear();
}

QString CrLfToLiteralNewline(const QString& text)
{
    QString out = text;
    out.remove(LF);
    out.replace(CR, QStringLiteral("\\n"));
    return out;
}

QString LiteralNewlineToCrLf(const QString& text)
{
    // Gives back the CR LF that CrLfToLiteralNewline took away.
    QString out = text;
    out.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    return out;
}

QString CrToBreakTag(const QString& text)
{
    if (!text.contains(CR))
        return text;
    return ReplacedChar(text, CR, QStringLiteral("<br>"));
}

void RemoveCrLf(QString& text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString RemoveCrChars(const QString& text)
{
    QString out = text;
    out.remove(CR);
    return out;
}

QString CrToLf(const QString& text)
{
    QString out = text;
    out.replace(CR, LF);
    return out;
}

QString DoubleQuotes(const QString& text)
{
    return ReplacedChar(text, QChar(u'"'), QStringLiteral("\"\""));
}

QString UndoubleChar(QChar ch, const QString& text)
{
    if (!text.contains(ch))
        return text;
    QString out = text;
    out.replace(QString(2, ch), QString(ch));
    return out;
}

int FindUnpairedChar(QChar ch, const QString& text, int& position)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    position = 0;
    while (i < n) {
        if (text[i] != ch) {
            ++i;
            continue;
        }
        qsizetype j = i;
        while (j < n && text[j] == ch)
            ++j;
        // The run is text[i .. j-1].
        if (j == n || (j - i) % 2 == 1) {
            position = int(j);
            return position;
        }
        i = j;
    }
    return 0;
}

int CountUnpairedChars(QChar ch, const QString& text)
{
    QString rest = text;
    int count = 0;
    int pos = 0;
    while (FindUnpairedChar(ch, rest, pos) > 0) {
        ++count;
        rest = rest.mid(pos);
    }
    return count;
}

QString FirstLine(QString& text, bool keepRest)
{
    const qsizetype p = text.indexOf(CR);
    QString line;
    if (p < 0) {
        line = text;
        text.clear();
        return line;
    }
    line = text.left(p);
    if (keepRest) {
        qsizetype from = p + 1;
        if (from < text.size() && text[from] == LF)
            ++from;
        text = text.mid(from);
    } else {
        text.clear();
    }
    return line;
}

int LineCount(const QString& text, bool multiLine)
{
    if (!multiLine)
        return 1;
    return 1 + int(text.count(CR));
}

QString JoinListStrings(const QStringList& strings)
{
    return strings.join(QString());
}

// ---- search and URLs ----

int CharPos(QChar ch, const QString& text, int& position)
{
    const qsizetype p = text.indexOf(ch);
    if (p < 0)
        return 0;
    position = int(p + 1);
    return position;
}

int CharPosOf(QChar ch, const QString& text)
{
    return int(text.indexOf(ch) + 1);
}

int PosNoCase(const QString& sub, const QString& text)
{
    return int(text.toUpper().indexOf(sub) + 1);
}

int PosWithIndex(const QString& sub, const QString& text, int& position)
{
    position = int(text.indexOf(sub) + 1);
    return position;
}

int WidePos(const QString& sub, const QString& text)
{
    return int(text.indexOf(sub) + 1);
}

int SubTextCount(QChar ch, const QString& text)
{
    return int(text.count(ch));
}

QString CutFirstToken(QString& text, const QString& delimiter)
{
    const qsizetype p = delimiter.isEmpty() ? -1 : text.indexOf(delimiter);
    if (p < 0)
        return QString();
    const QString token = text.left(p);
    text = text.mid(p + delimiter.size());
    return token;
}

void FillWithChar(QString& text, QChar ch)
{
    text.fill(ch);
}

bool IsUrl(const QString& text)
{
    return text.contains(QStringLiteral("://")) || text.contains(QStringLiteral("mailto:"));
}

void StripUrlScheme(QString& text)
{
    qsizetype p = text.indexOf(QStringLiteral("://"));
    if (p >= 0) {
        text.remove(0, p + 3);
        return;
    }
    p = text.indexOf(QStringLiteral("mailto:"));
    if (p >= 0)
        text.remove(0, p + 7);
}

namespace {

bool IsUrlChar(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9'))
        return true;
    switch (u) {
    case u'%': case u'(': case u')': case u'-': case u'.': case u'/': case u':':
    case u'@': case u'\\': case u'_': case u'{': case u'}':
        return true;
    default:
        return false;
    }
}

} // namespace

bool TextUrlsToAnchors(const QString& text, const QString& scheme, QString& result)
{
    if (scheme.isEmpty() || !text.toUpper().contains(scheme))
        return false;
    QString escaped = text;
    escaped.replace(u'<', QStringLiteral("&lt;"));
    escaped.replace(u'>', QStringLiteral("&gt;"));
    const qsizetype start = escaped.toUpper().indexOf(scheme);
    if (start < 0) {
        // Cannot happen for a scheme of URL characters; keep the text as escaped.
        result = escaped;
        return true;
    }
    qsizetype end = start;
    while (end < escaped.size() && IsUrlChar(escaped[end]))
        ++end;
    const QString url = escaped.mid(start, end - start);
    result = escaped.left(start) + QStringLiteral("<a href=\"") + url + QStringLiteral("\">") + url +
             QStringLiteral("</a>") + escaped.mid(end);
    return true;
}

QString ProperCaseText(const QString& text)
{
    QString out = text;
    const qsizetype n = out.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!out[i].isLetter())
            continue;
        bool wordStart = (i == 0);
        if (!wordStart) {
            const QChar p = out[i - 1];
            wordStart = p == u' ' || p == u'\'' || p == u',' || p == u'-' || p == u'.';
        }
        out[i] = wordStart ? out[i].toUpper() : out[i].toLower();
    }
    // "Mc" names: McDonald.
    if (n > 2 && out.startsWith(QStringLiteral("Mc")))
        out[2] = out[2].toUpper();
    const qsizetype mc = out.indexOf(QStringLiteral(" Mc"));
    if (mc >= 0 && mc + 3 < n)
        out[mc + 3] = out[mc + 3].toUpper();
    // Roman numerals II and III at the end of the text.
    for (qsizetype i = qMax<qsizetype>(0, n - 3); i < n; ++i) {
        if (!out[i].isLetter())
            continue;
        const QString before = out.left(i);
        if (before.endsWith(QStringLiteral(" I")) || before.endsWith(QStringLiteral(" II")))
            out[i] = out[i].toUpper();
    }
    return out;
}

bool ParseCellReference(const QString& text, TPoint& cell)
{
    const QString s = text.toUpper();
    if (s.size() <= 3 || s[0] != u'R')
        return false;
    const qsizetype c = s.indexOf(u'C');
    if (c < 0)
        return false;
    int row = 0, column = 0;
    if (!platform::TryStrToInt(s.mid(1, c - 1), row) || !platform::TryStrToInt(s.mid(c + 1), column))
        return false;
    cell = TPoint(column, row);
    return true;
}

void AnsiToOemText(QString& text)
{
    text = platform::AnsiToOemText(text);
}

void OemToAnsiText(QString& text)
{
    text = platform::OemToAnsiText(text);
}
