// TVerIvovavOzed: flat XML files: one element per row inside a list element, one element per cell,
// written in the encoding the file declares; read back record by record, or one row per element
// level.
#include "grid/AdvGrid.h"
#include "griddata/GridFileText.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/StringList.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <functional>

#include <pugixml.hpp>

namespace {

const QString CRLF = QStringLiteral("\r\n");

// "&" is written as "$amp;", which no XML reader decodes, so the reader turns it back itself; the
// other escapes are real entities the parser decodes. A CR is written as a character reference,
// since a parser turns a raw CR LF into one LF.
QString EscapeXml(const QString& s)
{
    QString r;
    r.reserve(s.size() + 8);
    for (QChar c : s) {
        switch (c.unicode()) {
        case u'&': r += QStringLiteral("$amp;"); break;
        case u'>': r += QStringLiteral("&gt;"); break;
        case u'<': r += QStringLiteral("&lt;"); break;
        case u'"': r += QStringLiteral("&quot;"); break;
        case u'\r': r += QStringLiteral("&#13;"); break;
        default: r += c;
        }
    }
    return r;
}

// The parser has already decoded the real entities; only the writer's own "$amp;" is left.
QString UnescapeXml(QString s)
{
    s.replace(QStringLiteral("$amp;"), QStringLiteral("&"));
    return s;
}

bool IsName(const QString& n, std::initializer_list<const char*> names)
{
    for (const char* x : names)
        if (n == QLatin1String(x))
            return true;
    return false;
}

bool IsLatin1Name(const QString& n)
{
    return IsName(n, {"iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "latin-1", "l1", "cp819", "ibm819"});
}
bool IsAnsiName(const QString& n) { return IsName(n, {"windows-1252", "cp1252"}); }
bool IsOemName(const QString& n) { return IsName(n, {"ibm437", "cp437", "437"}); }
bool IsUtf8Name(const QString& n) { return IsName(n, {"utf-8", "utf8"}); }

// The file text in the declared encoding: every character the encoding cannot hold becomes a
// decimal character reference. An encoding unknown here gets ASCII and references only, which
// any encoding that keeps ASCII reads the same.
QByteArray EncodeDeclared(const QString& text, const QString& Encoding)
{
    const QString name = Encoding.trimmed().toLower();
    if (IsUtf8Name(name))
        return text.toUtf8();
    if (name == QLatin1String("utf-16"))
        return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text);
    if (name == QLatin1String("utf-16le"))
        return QStringEncoder(QStringConverter::Utf16LE).encode(text);
    if (name == QLatin1String("utf-16be"))
        return QStringEncoder(QStringConverter::Utf16BE).encode(text);

    // The bytes of one non-ASCII character, empty when the encoding cannot hold it.
    std::function<QByteArray(char32_t)> bytesOf;
    QHash<char32_t, QByteArray> cache;
    if (IsLatin1Name(name)) {
        bytesOf = [](char32_t c) { return c <= 0xFF ? QByteArray(1, char(c)) : QByteArray(); };
    } else if (IsAnsiName(name) || IsOemName(name)) {
        const platform::TCodePage cp = IsAnsiName(name) ? platform::TCodePage::Ansi : platform::TCodePage::Oem;
        bytesOf = [cp](char32_t c) {
            const QByteArray b = platform::ToCodePage(QString::fromUcs4(&c, 1), cp);
            return b == "?" ? QByteArray() : b;
        };
    } else {
        const QByteArray qtName = name.toLatin1();
        QStringEncoder probe(qtName.constData());
        const bool asciiCompatible =
            probe.isValid() && QByteArray(probe.encode(QStringLiteral("<?xml &#;"))) == QByteArray("<?xml &#;");
        if (asciiCompatible) {
            bytesOf = [qtName](char32_t c) {
                const QString ch = QString::fromUcs4(&c, 1);
                QStringEncoder enc(qtName.constData(), QStringConverter::Flag::Stateless);
                const QByteArray b = enc.encode(ch);
                QStringDecoder dec(qtName.constData(), QStringConverter::Flag::Stateless);
                const QString back = dec.decode(b);
                return enc.hasError() || dec.hasError() || back != ch ? QByteArray() : b;
            };
        } else {
            bytesOf = [](char32_t) { return QByteArray(); };
        }
    }

    return gridfiles::EncodeWithReferences(text, [&](char32_t c) {
        auto it = cache.constFind(c);
        if (it == cache.constEnd())
            it = cache.insert(c, bytesOf(c));
        return *it;
    });
}

// The text of the file's bytes: a byte-order mark decides, else the encoding the declaration
// names (UTF-8 when it names none or one not known here).
QString DecodeXmlBytes(const QByteArray& data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(data.mid(3));
    if (data.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE).decode(data.mid(2));
    if (data.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE).decode(data.mid(2));
    static const QRegularExpression decl(
        QStringLiteral("^\\s*<\\?xml\\s[^>]*?\\bencoding\\s*=\\s*([\"'])([^\"']*)\\1"));
    const auto m = decl.match(QString::fromLatin1(data.left(1024)));
    const QString name = m.hasMatch() ? m.captured(2).trimmed().toLower() : QString();
    if (name.isEmpty() || IsUtf8Name(name))
        return QString::fromUtf8(data);
    if (IsLatin1Name(name))
        return QString::fromLatin1(data);
    if (IsAnsiName(name))
        return platform::FromAnsi(data);
    if (IsOemName(name))
        return platform::FromOem(data);
    QStringDecoder dec(name.toLatin1().constData());
    return dec.isValid() ? QString(dec.decode(data)) : QString::fromUtf8(data);
}

bool IsText(const pugi::xml_node& n) { return n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata; }

// All text below a node in document order, as the document object model's text of a node gives
// it. Walked without recursion, so any depth the parser accepts is read.
QString NodeText(const pugi::xml_node& n)
{
    if (IsText(n))
        return QString::fromUtf8(n.value());
    QByteArray s;
    pugi::xml_node cur = n.first_child();
    while (cur) {
        if (IsText(cur))
            s += cur.value();
        if (cur.first_child()) {
            cur = cur.first_child();
            continue;
        }
        while (cur != n && !cur.next_sibling())
            cur = cur.parent();
        if (cur == n)
            break;
        cur = cur.next_sibling();
    }
    return QString::fromUtf8(s);
}

// Files nested deeper than this are refused before anything is read (the records are read by
// calls as deep as their nesting).
constexpr int MaxXmlDepth = 1000;

int NestingDepth(const pugi::xml_node& root)
{
    int depth = 0, deepest = 0;
    pugi::xml_node cur = root;
    while (cur) {
        deepest = std::max(deepest, depth);
        if (cur.first_child()) {
            cur = cur.first_child();
            ++depth;
            continue;
        }
        while (cur != root && !cur.next_sibling()) {
            cur = cur.parent();
            --depth;
        }
        if (cur == root)
            break;
        cur = cur.next_sibling();
    }
    return deepest;
}

int ChildCount(const pugi::xml_node& n)
{
    int k = 0;
    for (auto it = n.begin(); it != n.end(); ++it)
        ++k;
    return k;
}

} // namespace

void TVerIvovavOzed::SaveToXML(const QString& FileName, const QString& ListDescr, const QString& RecordDescr,
                               const platform::TStringList* FieldDescr, bool ExportEmptyCells)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"") + XMLEncoding() + QStringLiteral("\" ?>") + CRLF;
    text += QLatin1Char('<') + ListDescr + QLatin1Char('>') + CRLF;
    const int lastCol = SaveEndCol() + (SaveHiddenCells() ? NumHiddenColumns() : 0);
    int last = -1;
    ExportNotification(esExportStart, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(esExportNextRow, r);
        text += QLatin1Char('<') + RecordDescr + QLatin1Char('>') + CRLF;
        for (int c = SaveStartCol(); c <= lastCol; ++c) {
            const int rc = SaveHiddenCells() ? c : DisplToRealCol(c);
            int bc = 0, br = 0;
            if (!ResolveBaseCell(rc, r, bc, br))
                continue;
            QString s;
            GetSaveCellText(rc, r, s);
            if (s.isEmpty()) {
                if (!ExportEmptyCells)
                    continue;
                if (QuoteEmptyCells())
                    s = QStringLiteral("\"\"");
            } else {
                s = EscapeXml(s);
            }
            const int pos = c - SaveStartCol();
            const QString name = FieldDescr && pos < FieldDescr->Count() ? FieldDescr->Strings(pos)
                                                                         : QStringLiteral("FIELD") + QString::number(pos);
            text += QLatin1Char('<') + name + QLatin1Char('>') + s + QStringLiteral("</") + name + QLatin1Char('>') + CRLF;
        }
        text += QStringLiteral("</") + RecordDescr + QLatin1Char('>') + CRLF;
        gridfiles::Progress(OnFileProgress, this, last, r - SaveStartRow(), std::max(1, SaveEndRow() - SaveStartRow()));
    }
    ExportNotification(esExportDone, -1);
    text += QStringLiteral("</") + ListDescr + QLatin1Char('>') + CRLF;
    if (!platform::WriteFileAtomic(FileName, EncodeDeclared(text, XMLEncoding())))
        throw ZUzeRodoRediv(QStringLiteral("Cannot Create file ") + FileName);
}

void TVerIvovavOzed::LoadFromXML(const QString& FileName, bool LevelToRow, bool LoadFieldDescr)
{
    if (!QFileInfo(FileName).isFile())
        throw platform::Exception(QStringLiteral("XML file not found"));
    const QByteArray utf8 = DecodeXmlBytes(gridfiles::ReadWholeFile(FileName)).toUtf8();
    pugi::xml_document doc;
    const pugi::xml_parse_result res =
        doc.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default, pugi::encoding_utf8);
    const pugi::xml_node root = doc.document_element();
    if (!res || !root) {
        const int code = res ? int(pugi::status_no_document_element) : int(res.status);
        const qsizetype upTo = res ? utf8.size() : std::clamp<qsizetype>(qsizetype(res.offset), 0, utf8.size());
        const int line = int(utf8.left(upTo).count('\n')) + 1;
        throw platform::Exception(QStringLiteral("XMLDOM Parsing error %1 on line %2").arg(code).arg(line));
    }

    if (NestingDepth(root) > MaxXmlDepth)
        throw platform::Exception(QStringLiteral("XML elements nested deeper than %1 levels").arg(MaxXmlDepth));

    const bool fixedHeader = SaveFixedCells() || SaveFixedRows();
    const int startCol = SaveStartCol();
    const int startRow = fixedHeader && !LoadFieldDescr ? 0 : FixedRows();
    int row = 0, col = 0, level = 1;
    int maxCol = startCol, maxRow = startRow;

    auto grow = [&](int c, int r) {
        if (c >= ColCount())
            SetColCount(c + 1);
        if (r >= RowCount())
            SetRowCount(r + 1);
    };
    // A target above the first row (a first record of one field read level by level) is dropped.
    auto write = [&](int c, int r, const QString& v) {
        if (r < 0)
            return;
        LoadCellText(c, r, v);
        maxCol = std::max(maxCol, c);
        maxRow = std::max(maxRow, r);
    };

    std::function<void(const pugi::xml_node&)> readNode = [&](const pugi::xml_node& n) {
        bool startedRow = false;
        if (n.type() == pugi::node_element) {
            int attrs = 0;
            for (const pugi::xml_attribute& a : n.attributes()) {
                const int c = startCol + col, r = startRow + row;
                grow(c, std::max(r, 0));
                if (fixedHeader && Cells(c, 0).isEmpty())
                    write(c, 0, QString::fromUtf8(a.name()));
                write(c, r, UnescapeXml(QString::fromUtf8(a.value())));
                ++col;
                ++attrs;
            }
            if (LevelToRow && attrs > 0) {
                ++row;
                col = level;
                startedRow = true;
            }
        }
        const int children = ChildCount(n);
        const int c = startCol + col, r = startRow + row;
        if (children > 1) {
            if (LevelToRow && !startedRow) {
                ++row;
                col = 0;
            }
            ++level;
            for (const pugi::xml_node& child : n.children())
                readNode(child);
        } else if (children == 0) {
            if (c < ColCount() && r < RowCount())
                write(c, r, QString());
            ++col;
        } else {
            grow(c, std::max(r, 0));
            if (fixedHeader && LoadFieldDescr && Cells(c, 0).isEmpty())
                write(c, 0, QString::fromUtf8(n.name()));
            QString v = UnescapeXml(NodeText(n));
            if (QuoteEmptyCells() && v == QLatin1String("\"\""))
                v.clear();
            write(c, r, v);
            ++col;
        }
    };

    try {
        int i = 0;
        for (const pugi::xml_node& rec : root.children()) {
            col = 0;
            level = 1;
            if (LevelToRow && i == 0 && !rec.first_attribute())
                row = -1;
            readNode(rec);
            if (!LevelToRow)
                ++row;
            ++i;
        }
        SetColCount(maxCol + 1);
        SetRowCount(maxRow + 1);
    } catch (...) {
        RecalcFooters();
        throw;
    }
    RecalcFooters();
}
