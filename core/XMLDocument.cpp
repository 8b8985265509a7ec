#include "core/XMLDocument.h"

#include "platform/AtomicFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif


namespace {

const unsigned kSaveFlags = pugi::format_raw | pugi::format_no_declaration;

// True for a code point that an XML 1.0 document can hold.
bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// UTF-8 of the text without the characters an XML document cannot hold (U+0000 and the other
// control characters, lone surrogates, U+FFFE, U+FFFF): each is dropped alone, the rest is kept.
// The tree stores C strings, so a NUL kept here would silently cut the value.
std::string ToUtf8(const QString& s)
{
    QString clean;
    const QString* src = &s;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        bool keep;
        if (c.isHighSurrogate())
            keep = i + 1 < s.size() && s.at(i + 1).isLowSurrogate();
        else if (c.isLowSurrogate())
            keep = i > 0 && s.at(i - 1).isHighSurrogate();
        else
            keep = IsXmlChar(c.unicode());
        if (!keep && src == &s) {
            clean = s.left(i);
            src = &clean;
        } else if (keep && src == &clean) {
            clean.append(c);
        }
    }
    const QByteArray b = src->toUtf8();
    return std::string(b.constData(), size_t(b.size()));
}

// The tree's UTF-8 as text. QString::fromUtf8 would drop a leading U+FEFF, which is part of the
// value here, not a byte-order mark.
QString FromUtf8(const char* s)
{
    if (!(uchar(s[0]) == 0xEF && uchar(s[1]) == 0xBB && uchar(s[2]) == 0xBF))
        return QString::fromUtf8(s);
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(s));
}


// Copies the UTF-8 text without the characters XML cannot hold (and without broken sequences).
// Returns false when nothing had to be dropped, leaving `out` untouched.
bool CleanUtf8(const char* s, std::string& out)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    bool dirty = false;
    std::string result;
    size_t i = 0;
    const size_t n = std::char_traits<char>::length(s);
    while (i < n) {
        const unsigned char b = p[i];
        size_t len = 1;
        char32_t c = b;
        if (b >= 0x80) {
            if ((b & 0xE0) == 0xC0) { len = 2; c = b & 0x1F; }
            else if ((b & 0xF0) == 0xE0) { len = 3; c = b & 0x0F; }
            else if ((b & 0xF8) == 0xF0) { len = 4; c = b & 0x07; }
            else { len = 0; }
            if (len == 0 || i + len > n) {
                len = len == 0 ? 1 : n - i;
                c = 0xFFFFFFFF;
            } else {
                for (size_t k = 1; k < len; ++k) {
                    if ((p[i + k] & 0xC0) != 0x80) { c = 0xFFFFFFFF; len = k; break; }
                    c = (c << 6) | (p[i + k] & 0x3F);
                }
            }
        }
        if (IsXmlChar(c)) {
            if (dirty)
                result.append(s + i, len);
        } else if (!dirty) {
            dirty = true;
            result.assign(s, i);
        }
        i += len;
    }
    if (dirty)
        out.swap(result);
    return dirty;
}

class ByteWriter : public pugi::xml_writer {
public:
    QByteArray data;
    void write(const void* buf, size_t size) override
    {
        data.append(static_cast<const char*>(buf), qsizetype(size));
    }
};

// The encoding named by a declaration at the very start of `head`, as written; empty when there
// is none.
QString DeclaredEncoding(const QString& head)
{
    static const QRegularExpression decl(QStringLiteral("^<\\?xml\\s[^>]*?\\bencoding\\s*=\\s*([\"'])([^\"']*)\\1"));
    const auto m = decl.match(head);
    return m.hasMatch() ? m.captured(2) : QString();
}

bool IsUtf16Name(const QString& name)
{
    const QString n = name.toLower();
    return n == QLatin1String("utf-16") || n == QLatin1String("utf-16le") || n == QLatin1String("utf-16be");
}

// UTF-16 code units of the bytes; false for an odd byte count or a surrogate without its partner
// (Qt's decoder would silently put U+FFFD there).
bool DecodeUtf16(const QByteArray& data, qsizetype from, bool littleEndian, QString& text)
{
    const qsizetype n = data.size() - from;
    if (n % 2 != 0)
        return false;
    const auto* p = reinterpret_cast<const uchar*>(data.constData()) + from;
    text.resize(n / 2);
    QChar* out = text.data();
    for (qsizetype i = 0; i < n / 2; ++i) {
        const uchar a = p[2 * i], b = p[2 * i + 1];
        out[i] = QChar(littleEndian ? char16_t(a | b << 8) : char16_t(b | a << 8));
    }
    return text.isValidUtf16();
}

// The file's bytes as text, by the rules every file of the program is read with: a UTF-8 or UTF-16
// byte-order mark decides; without one, the encoding the declaration names (any code page the
// platform can decode, Latin-1 and Windows-1252 included), UTF-8 when it names none. Bytes that do
// not decode are an error, never a replacement character; so is a declaration that names another
// encoding than the one the bytes are in.
bool DecodeXml(const QByteArray& data, QString& text, qsizetype& utf8From, QString& why)
{
    utf8From = -1;
    const auto byteAt = [&data](qsizetype i) { return i < data.size() ? uchar(data[i]) : 0; };
    QString bomEncoding;
    if (byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
        bomEncoding = QStringLiteral("UTF-8");
    } else if ((byteAt(0) == 0xFF && byteAt(1) == 0xFE) || (byteAt(0) == 0xFE && byteAt(1) == 0xFF)) {
        bomEncoding = QStringLiteral("UTF-16");
        if (!DecodeUtf16(data, 2, byteAt(0) == 0xFF, text)) {
            why = QStringLiteral("the text is not valid UTF-16");
            return false;
        }
    }
    if (bomEncoding == QLatin1String("UTF-16")) {
        const QString declared = DeclaredEncoding(text.left(1024));
        if (!declared.isEmpty() && !IsUtf16Name(declared)) {
            why = QStringLiteral("the declared encoding \"%1\" does not match the UTF-16 byte-order mark").arg(declared);
            return false;
        }
        return true;
    }

    const QByteArray bytes = bomEncoding.isEmpty() ? data : data.mid(3);
    // Until the encoding is known the declaration can only be read as ASCII.
    const QString declared = DeclaredEncoding(QString::fromLatin1(bytes.left(1024)));
    const QString name = declared.toLower();
    if (!bomEncoding.isEmpty() && !declared.isEmpty() && name != QLatin1String("utf-8")) {
        why = QStringLiteral("the declared encoding \"%1\" does not match the UTF-8 byte-order mark").arg(declared);
        return false;
    }
    if (declared.isEmpty() || name == QLatin1String("utf-8")) {
        QStringDecoder decoder(QStringDecoder::Utf8,
                               QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        text = decoder.decode(bytes);
        if (decoder.hasError()) {
            why = declared.isEmpty() ? QStringLiteral("the text is not valid UTF-8 and declares no other encoding")
                                     : QStringLiteral("the text is not valid UTF-8");
            return false;
        }
        utf8From = bomEncoding.isEmpty() ? 0 : 3;
        return true;
    }
    QStringDecoder decoder(declared.toLatin1().constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) {
        why = QStringLiteral("the declared encoding \"%1\" is not supported").arg(declared);
        return false;
    }
    // A declaration readable as ASCII in an encoding that is not ASCII-compatible (UTF-16 or
    // UTF-32 without a byte-order mark, EBCDIC) contradicts its own bytes.
    const qsizetype declEnd = bytes.indexOf("?>");
    const QByteArray head = bytes.left(declEnd + 2);
    QStringDecoder headDecoder(declared.toLatin1().constData(), QStringDecoder::Flag::Stateless);
    if (IsUtf16Name(declared) || QString(headDecoder.decode(head)) != QString::fromLatin1(head)) {
        why = QStringLiteral("the declared encoding \"%1\" does not match the bytes of the file").arg(declared);
        return false;
    }
    text = decoder.decode(bytes);
    if (decoder.hasError()) {
        why = QStringLiteral("the text holds bytes that are not %1").arg(declared);
        return false;
    }
    return true;
}

// The reader lets some characters XML does not allow through (U+0000 inside a name, for one);
// none may stand anywhere in a document, so the decoded text is refused for them first.
bool HoldsOnlyXmlChars(const QString& text, QString& why)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && text.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text.at(++i).unicode());
        if (!IsXmlChar(c)) {
            why = QStringLiteral("the character U+%1 at position %2 is not allowed in XML")
                      .arg(uint(c), 4, 16, QLatin1Char('0'))
                      .arg(i);
            return false;
        }
    }
    return true;
}

bool IsXmlBlank(const QString& s)
{
    for (const QChar c : s)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            return false;
    return true;
}

// A comment text that a reader takes back as it is: no "--" inside and no "-" at the end.
QString CommentText(const QString& text)
{
    QString t = text;
    t.remove(QLatin1Char('\r'));
    while (t.contains(QLatin1String("--")))
        t.replace(QLatin1String("--"), QLatin1String("- -"));
    if (t.endsWith(QLatin1Char('-')))
        t.append(QLatin1Char(' '));
    return t;
}

// No element may stand deeper than this: every walk over a tree, ours and the tree's own, then
// stays far within the stack, and no file of the program comes near it.
constexpr int kMaxDepth = 1000;

// The reader compares each attribute of an element with every one before it, which on an element
// with a great many attributes takes minutes. It is therefore never shown more than this many
// attributes on one element: a start tag with more is handed to it in runs (see SplitAttributes),
// and its repeated names are found here, in one pass.
constexpr int kAttributeRun = 64;

bool IsXmlSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Whether some start tag could hold more than kAttributeRun attributes: an attribute value cannot
// hold "<", so such a tag has that many "=" between two "<". Cheap, and false for every file the
// program writes.
bool MayHoldLongAttributeList(const QString& text)
{
    int equals = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('<'))
            equals = 0;
        else if (c == QLatin1Char('=') && ++equals > kAttributeRun)
            return true;
    }
    return false;
}

// Line and column of a position, counted as the reader counts them.
QString PositionText(const QString& text, qsizetype pos)
{
    qsizetype line = 1, lineStart = 0;
    for (qsizetype i = 0; i < pos; ++i)
        if (text.at(i) == QLatin1Char('\n')) {
            ++line;
            lineStart = i + 1;
        }
    return QStringLiteral("line %1, column %2").arg(line).arg(pos - lineStart);
}

// Rewrites the start tags of `text` that hold more than kAttributeRun attributes for the reader:
// the tag keeps its first run of attributes, and each further run follows it as an empty element
// named `runName` (a name the text does not hold anywhere), a self-closing tag becoming a start
// tag and its end tag. Blanks and line breaks stay where they were, so lines are counted as in
// the file. `out` stays empty when no tag needs it. A tag that names an attribute twice makes
// the document malformed: false, with the reader's message in `why`. A tag not written as start
// tags are is left as it stands, for the reader to refuse.
bool SplitAttributes(const QString& text, QString& out, QString& runName, QString& why)
{
    out.clear();
    if (!MayHoldLongAttributeList(text))
        return true;
    const qsizetype n = text.size();
    const auto at = [&](qsizetype i) { return i < n ? text.at(i) : QChar(); };
    const auto startsWith = [&](qsizetype i, QLatin1String s) { return QStringView(text).mid(i).startsWith(s); };
    const auto skipTo = [&](qsizetype from, QLatin1String end) {
        const qsizetype k = text.indexOf(end, from);
        return k < 0 ? n : k + end.size();
    };
    struct Attr {
        qsizetype from, to; // the blanks before it to the end of its value
        QStringView name;
    };
    std::vector<Attr> attrs;
    qsizetype copied = 0;
    for (qsizetype i = text.indexOf(QLatin1Char('<')); i >= 0 && i < n; i = text.indexOf(QLatin1Char('<'), i)) {
        if (startsWith(i, QLatin1String("<!--"))) {
            i = skipTo(i + 4, QLatin1String("-->"));
            continue;
        }
        if (startsWith(i, QLatin1String("<![CDATA["))) {
            i = skipTo(i + 9, QLatin1String("]]>"));
            continue;
        }
        if (startsWith(i, QLatin1String("<?"))) {
            i = skipTo(i + 2, QLatin1String("?>"));
            continue;
        }
        if (startsWith(i, QLatin1String("<!"))) {
            // A document type: quoted texts, comments and instructions inside it may hold any
            // bracket.
            qsizetype k = i + 2;
            int brackets = 0;
            while (k < n) {
                const QChar c = text.at(k);
                if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                    const qsizetype close = text.indexOf(c, k + 1);
                    k = close < 0 ? n : close + 1;
                } else if (startsWith(k, QLatin1String("<!--"))) {
                    k = skipTo(k + 4, QLatin1String("-->"));
                } else if (startsWith(k, QLatin1String("<?"))) {
                    k = skipTo(k + 2, QLatin1String("?>"));
                } else if (c == QLatin1Char('[')) {
                    ++brackets, ++k;
                } else if (c == QLatin1Char(']')) {
                    --brackets, ++k;
                } else if (c == QLatin1Char('>') && brackets <= 0) {
                    break;
                } else {
                    ++k;
                }
            }
            i = k + 1;
            continue;
        }
        if (at(i + 1) == QLatin1Char('/')) {
            i += 2;
            continue;
        }
        // A start tag: its name, then blanks, name, "=", quoted value, as many times as written.
        qsizetype k = i + 1;
        while (k < n && !IsXmlSpace(text.at(k)) && text.at(k) != QLatin1Char('>') && text.at(k) != QLatin1Char('/') &&
               text.at(k) != QLatin1Char('<'))
            ++k;
        const QStringView tagName = QStringView(text).mid(i + 1, k - i - 1);
        attrs.clear();
        bool wellWritten = !tagName.isEmpty();
        qsizetype end = -1; // where ">" or "/>" stands
        while (wellWritten) {
            const qsizetype blanks = k;
            while (k < n && IsXmlSpace(text.at(k)))
                ++k;
            if (at(k) == QLatin1Char('>') || (at(k) == QLatin1Char('/') && at(k + 1) == QLatin1Char('>'))) {
                end = k;
                break;
            }
            const qsizetype nameFrom = k;
            while (k < n && !IsXmlSpace(text.at(k)) && text.at(k) != QLatin1Char('=') && text.at(k) != QLatin1Char('>') &&
                   text.at(k) != QLatin1Char('/') && text.at(k) != QLatin1Char('<') && text.at(k) != QLatin1Char('"') &&
                   text.at(k) != QLatin1Char('\''))
                ++k;
            const qsizetype nameTo = k;
            while (k < n && IsXmlSpace(text.at(k)))
                ++k;
            if (nameFrom == blanks || nameTo == nameFrom || at(k) != QLatin1Char('=')) {
                wellWritten = false;
                break;
            }
            ++k;
            while (k < n && IsXmlSpace(text.at(k)))
                ++k;
            const QChar q = at(k);
            const qsizetype close = (q == QLatin1Char('"') || q == QLatin1Char('\'')) ? text.indexOf(q, k + 1) : -1;
            if (close < 0) {
                wellWritten = false;
                break;
            }
            k = close + 1;
            attrs.push_back({blanks, k, QStringView(text).mid(nameFrom, nameTo - nameFrom)});
        }
        if (!wellWritten) {
            i = k;
            continue;
        }
        const bool selfClosing = at(k) == QLatin1Char('/');
        const qsizetype tagEnd = k + (selfClosing ? 2 : 1);
        if (attrs.size() > size_t(kAttributeRun)) {
            QSet<QStringView> names;
            names.reserve(qsizetype(attrs.size()));
            for (const Attr& a : attrs) {
                if (names.contains(a.name)) {
                    why = QStringLiteral("XML error at %1: Attribute '%2' redefined.")
                              .arg(PositionText(text, tagEnd), a.name.toString());
                    return false;
                }
                names.insert(a.name);
            }
            if (runName.isEmpty()) {
                runName = QStringLiteral("kt-attribute-run");
                for (int suffix = 1; text.contains(runName); ++suffix)
                    runName = QStringLiteral("kt-attribute-run-%1").arg(suffix);
                out.reserve(n + n / 8);
            }
            out.append(QStringView(text).mid(copied, attrs[kAttributeRun - 1].to - copied));
            out.append(QLatin1Char('>'));
            for (size_t r = kAttributeRun; r < attrs.size(); r += kAttributeRun) {
                const size_t last = std::min(attrs.size(), r + kAttributeRun) - 1;
                const qsizetype to = last + 1 == attrs.size() ? end : attrs[last].to;
                out.append(QLatin1Char('<')).append(runName);
                out.append(QStringView(text).mid(attrs[r].from, to - attrs[r].from));
                out.append(QLatin1String("/>"));
            }
            if (selfClosing)
                out.append(QLatin1String("</")).append(tagName).append(QLatin1Char('>'));
            copied = tagEnd;
        }
        i = tagEnd;
    }
    if (!out.isEmpty())
        out.append(QStringView(text).mid(copied));
    return true;
}

// What the strict pass learned about a document beyond "well-formed or not".
struct TStrictFacts {
    // The tree must be built from the reader's events: a document type can declare entities and
    // default attributes the reader applies, and a processing instruction inside an element joins
    // the texts around it into one in the reader's events.
    bool ReaderTree = false;
    qsizetype Elements = 0;
    qsizetype Attributes = 0;
};

// The tree being built from the reader's events.
struct TReaderTree {
    pugi::xml_node current;
    QString pending;
};

// The strict pass: reads the text with a strict XML 1.0 reader and, given a tree, builds it from
// what the reader reports. Anything that is not well-formed ends the load, so nothing is ever taken
// in a lenient reading. The tree holds what the program's files use: elements with their
// attributes in document order, texts (blank-only texts are layout and left out), character data
// and comments. Declarations, processing instructions and the document type are not kept.
//
// `utf8`, when not null, holds the same text as UTF-8 bytes and is what the reader is given: it
// names no encoding but UTF-8 (the text was decoded from exactly these bytes), so the reader takes
// it as the text itself, and reading bytes costs the reader half of reading the text.
bool ReadStrict(const QString& text, const QByteArray* utf8, QString& why, TStrictFacts& facts, TReaderTree* tree)
{
    QString split, runName;
    if (!SplitAttributes(text, split, runName, why))
        return false;
    std::optional<QXmlStreamReader> readerHolder;
    if (!split.isEmpty())
        readerHolder.emplace(split);
    else if (utf8)
        readerHolder.emplace(*utf8);
    else
        readerHolder.emplace(text);
    QXmlStreamReader& reader = *readerHolder;
    // Names are taken as written; the files use no namespaces, and a prefix must not make a file
    // unreadable.
    reader.setNamespaceProcessing(false);
    bool seenRoot = false;
    bool seenDtd = false;
    int depth = 0;
    // Between the start of an element written in runs and its last run: the values the document
    // type gives it by default, by name (a name cleared when a run writes it).
    bool inRun = false;
    std::vector<std::pair<QString, QString>> defaults;
    QHash<QString, size_t> defaultAt;
    const auto flush = [tree] {
        if (!tree)
            return;
        if (!tree->pending.isEmpty() && !IsXmlBlank(tree->pending))
            tree->current.append_child(pugi::node_pcdata).set_value(ToUtf8(tree->pending).c_str());
        tree->pending.clear();
    };
    const auto fail = [&](const QString& message) {
        why = QStringLiteral("XML error at line %1, column %2: %3")
                  .arg(reader.lineNumber())
                  .arg(reader.columnNumber())
                  .arg(message);
        return false;
    };
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        const bool runStart =
            token == QXmlStreamReader::StartElement && !runName.isEmpty() && reader.qualifiedName() == runName;
        if (!defaults.empty() && !runStart && !(token == QXmlStreamReader::EndElement && inRun)) {
            for (const auto& d : defaults)
                if (!d.first.isEmpty())
                    tree->current.append_attribute(ToUtf8(d.first).c_str()).set_value(ToUtf8(d.second).c_str());
            defaults.clear();
            defaultAt.clear();
        }
        switch (token) {
        case QXmlStreamReader::DTD:
            // The reader lets a document type through after the root; XML does not.
            if (seenRoot || seenDtd)
                return fail(QStringLiteral("a document type declaration after the start of the document"));
            seenDtd = true;
            facts.ReaderTree = true;
            // Entities are never loaded from elsewhere: a reference to one would silently read as
            // nothing.
            for (const QXmlStreamEntityDeclaration& e : reader.entityDeclarations()) {
                if (!e.systemId().isEmpty() || !e.publicId().isEmpty())
                    return fail(QStringLiteral("the external entity \"%1\" is not supported").arg(e.name()));
                // The reader reads an entity's markup where it is used, out of reach of the split
                // into runs.
                if (MayHoldLongAttributeList(e.value().toString()))
                    return fail(QStringLiteral("the entity \"%1\" holds an element with more than %2 attributes")
                                    .arg(e.name())
                                    .arg(kAttributeRun));
            }
            break;
        case QXmlStreamReader::StartElement: {
            const QXmlStreamAttributes attributes = reader.attributes();
            facts.Attributes += attributes.size();
            if (runStart) {
                // A further run of the attributes of the element just started. A value the
                // document type would give by default is not given when the run writes one.
                inRun = true;
                if (tree)
                    for (const QXmlStreamAttribute& a : attributes) {
                        const auto at = defaultAt.constFind(a.qualifiedName().toString());
                        if (at != defaultAt.cend())
                            defaults[*at].first.clear();
                        tree->current.append_attribute(ToUtf8(a.qualifiedName().toString()).c_str())
                            .set_value(ToUtf8(a.value().toString()).c_str());
                    }
                break;
            }
            flush();
            seenRoot = true;
            if (++depth > kMaxDepth)
                return fail(QStringLiteral("the elements are nested deeper than %1 levels").arg(kMaxDepth));
            ++facts.Elements;
            if (tree) {
                tree->current = tree->current.append_child(ToUtf8(reader.qualifiedName().toString()).c_str());
                for (const QXmlStreamAttribute& a : attributes) {
                    // With runs to come, the defaults go after them, where the reader puts them.
                    if (a.isDefault() && !runName.isEmpty()) {
                        defaultAt.insert(a.qualifiedName().toString(), defaults.size());
                        defaults.emplace_back(a.qualifiedName().toString(), a.value().toString());
                        continue;
                    }
                    tree->current.append_attribute(ToUtf8(a.qualifiedName().toString()).c_str())
                        .set_value(ToUtf8(a.value().toString()).c_str());
                }
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (inRun) {
                inRun = false;
                break;
            }
            flush();
            --depth;
            if (tree)
                tree->current = tree->current.parent();
            break;
        case QXmlStreamReader::Characters:
            if (!tree)
                break;
            if (reader.isCDATA()) {
                flush();
                tree->current.append_child(pugi::node_cdata).set_value(ToUtf8(reader.text().toString()).c_str());
            } else {
                tree->pending += reader.text();
            }
            break;
        case QXmlStreamReader::Comment:
            flush();
            if (tree)
                tree->current.append_child(pugi::node_comment).set_value(ToUtf8(reader.text().toString()).c_str());
            break;
        case QXmlStreamReader::ProcessingInstruction:
            if (depth > 0)
                facts.ReaderTree = true;
            break;
        case QXmlStreamReader::EntityReference:
            return fail(QStringLiteral("the entity \"%1\" cannot be resolved").arg(reader.name().toString()));
        default:
            break;
        }
    }
    if (reader.hasError())
        return fail(reader.errorString());
    return true;
}

// Decodes the bytes and runs the strict pass over the text, building nothing. `utf8From` tells
// where the text stands as UTF-8 in `data` (after a byte-order mark), or is -1 when the text was
// decoded from another encoding.
bool CheckStrict(const QByteArray& data, QString& text, qsizetype& utf8From, TStrictFacts& facts, QString& why)
{
    if (!DecodeXml(data, text, utf8From, why) || !HoldsOnlyXmlChars(text, why)) {
        why = QStringLiteral("XML error: %1").arg(why);
        return false;
    }
    // The reader needs four bytes to take bytes as UTF-8; a shorter text goes as text, so that its
    // message stays the same.
    if (utf8From < 0 || data.size() - utf8From < 4)
        return ReadStrict(text, nullptr, why, facts, nullptr);
    const QByteArray utf8 = QByteArray::fromRawData(data.constData() + utf8From, data.size() - utf8From);
    return ReadStrict(text, &utf8, why, facts, nullptr);
}

// Drops the texts of blanks that references made (pugixml leaves out only blanks written as
// such) and counts elements and attributes, to be compared with the strict pass's counts.
void TidyAndCount(pugi::xml_node root, qsizetype& elements, qsizetype& attributes)
{
    // Depth first along the tree's own links, without recursion: a file nested deep must not
    // exhaust the stack.
    pugi::xml_node c = root.first_child();
    while (c) {
        pugi::xml_node parent = c.parent();
        pugi::xml_node next = c.next_sibling();
        if (c.type() == pugi::node_element) {
            ++elements;
            for (pugi::xml_attribute a = c.first_attribute(); a; a = a.next_attribute())
                ++attributes;
            if (c.first_child())
                next = c.first_child();
        } else if (c.type() == pugi::node_pcdata) {
            const char* v = c.value();
            while (*v == ' ' || *v == '\t' || *v == '\n' || *v == '\r')
                ++v;
            if (!*v)
                parent.remove_child(c);
        }
        // At the end of a child list: on with the next sibling of the nearest ancestor that has one.
        for (pugi::xml_node up = parent; !next && up != root; up = up.parent())
            next = up.next_sibling();
        c = next;
    }
}

// Builds the tree of a document the strict pass accepted. pugixml parses the same text: its tree
// is the one the reader's events give (same nodes, names, values and order, blank texts left
// out), checked by the counts of elements and attributes. A document pugixml reads otherwise (a
// document type, a processing instruction inside an element, a name pugixml does not take) is
// built from the reader's events instead.
bool BuildTree(pugi::xml_document& doc, const QByteArray& data, const QString& text, qsizetype utf8From,
               const TStrictFacts& facts, QString& why)
{
    if (!facts.ReaderTree) {
        const unsigned options = pugi::parse_default | pugi::parse_comments;
        pugi::xml_parse_result result;
        if (utf8From >= 0) {
            result = doc.load_buffer(data.constData() + utf8From, size_t(data.size() - utf8From), options,
                                     pugi::encoding_utf8);
        } else {
            const QByteArray utf8 = text.toUtf8();
            result = doc.load_buffer(utf8.constData(), size_t(utf8.size()), options, pugi::encoding_utf8);
        }
        if (result) {
            qsizetype elements = 0, attributes = 0;
            TidyAndCount(doc, elements, attributes);
            if (elements == facts.Elements && attributes == facts.Attributes)
                return true;
        }
        doc.reset();
    }
    TStrictFacts again;
    TReaderTree tree{doc, QString()};
    return ReadStrict(text, nullptr, why, again, &tree);
}


// ---- The common case without the strict reader -------------------------------------------------
//
// Nearly every file the program reads is UTF-8 written by the program itself: elements, attributes,
// texts, comments. For such a file one pass over the bytes decides everything the tree parser
// (pugixml) lets through but XML 1.0 forbids: bytes that are not UTF-8, characters XML cannot hold,
// references, "<" in values, "]]>" in texts, "--" in comments, names, repeated attributes, the
// depth, the declaration, text and a second element beside the root. The parser then checks the
// rest (end tags matching their start tags, comments and character data closed) and builds the
// tree the strict reader would give. Whatever the pass cannot vouch for (a document type, a
// processing instruction, a name beyond ASCII, another encoding, anything malformed) is left to
// the strict reader, which judges and words the error as it always has.

// What a byte is to the scan.
enum : uint8_t {
    kNameStart = 1,  // may begin a name: A-Z a-z _
    kNameChar = 2,   // may go on in a name: also 0-9 - .
    kTextPlain = 4,  // needs no look in a text: an ASCII character XML holds but "<", "&", "]"
    kValuePlain = 8, // needs no look in a value: the same but "<", "&" and the quotes
    kBlank = 16,     // blank: space, tab, line feed, carriage return
};

struct TByteClasses {
    uint8_t Of[256] = {};
    constexpr TByteClasses()
    {
        for (int c = 0; c < 256; ++c) {
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
            const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
            const bool ascii = blank || (c >= 0x20 && c < 0x80);
            uint8_t k = 0;
            if (letter)
                k |= kNameStart | kNameChar;
            if ((c >= '0' && c <= '9') || c == '-' || c == '.')
                k |= kNameChar;
            if (ascii && c != '<' && c != '&' && c != ']')
                k |= kTextPlain;
            if (ascii && c != '<' && c != '&' && c != '"' && c != '\'')
                k |= kValuePlain;
            if (blank)
                k |= kBlank;
            Of[c] = k;
        }
    }
};
constexpr TByteClasses kBytes;

#if defined(__SSE2__)
// Sixteen bytes at a time for the runs of texts and values: a bit for each byte below 0x20 (the
// blanks among them) or from 0x80 on, and for each of the bytes given. A run skipped this way
// stops at a byte the table-driven loop then looks at, so both agree on where a run ends.
inline unsigned LookMask(const unsigned char* p, char a, char b, char c, char d)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i m = _mm_cmplt_epi8(v, _mm_set1_epi8(0x20));  // signed: 0x80..0xFF are below too
    m = _mm_or_si128(m, _mm_cmpeq_epi8(v, _mm_set1_epi8(a)));
    m = _mm_or_si128(m, _mm_cmpeq_epi8(v, _mm_set1_epi8(b)));
    m = _mm_or_si128(m, _mm_cmpeq_epi8(v, _mm_set1_epi8(c)));
    m = _mm_or_si128(m, _mm_cmpeq_epi8(v, _mm_set1_epi8(d)));
    return unsigned(_mm_movemask_epi8(m));
}
#endif

// Whether the `len` bytes at a and b are the same; 16 bytes must be readable at both when len is
// at most 16.
inline bool SameRun(const unsigned char* a, const unsigned char* b, uint32_t len)
{
#if defined(__SSE2__)
    if (len <= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
        const unsigned want = (1u << len) - 1;
        return (unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y))) & want) == want;
    }
#endif
    return std::memcmp(a, b, len) == 0;
}

// Where the scan saw each start tag and attribute, as offsets into the bytes it read: what a tree
// parsed in place from those bytes holds there. An attribute's value has kAsWritten when the tree
// holds it as written (no reference, no blank the parser turns into a space).
struct TTagPlace {
    uint32_t Name;
    uint32_t FirstAttribute;  // index into TScanPlaces::Attributes, and kSameNames
};
struct TAttributePlace {
    uint32_t Name;
    uint32_t Value;
};
constexpr uint32_t kAsWritten = 0x80000000u;
// The tag has the attribute names of the start tag before it, in the same order.
constexpr uint32_t kSameNames = 0x80000000u;
struct TScanPlaces {
    std::vector<TTagPlace> Tags;
    // Room for as many attributes as the bytes can hold (one takes five at least: ` a=""`).
    std::unique_ptr<TAttributePlace[]> Attributes;
    size_t AttributeCount = 0;

    void Reset(size_t bytes)
    {
        Tags.clear();
        Attributes.reset(new TAttributePlace[bytes / 5 + 1]);
        AttributeCount = 0;
    }
};

class TFastScan {
public:
    // `places`, when given, gets where each start tag and attribute stands (the bytes are fewer
    // than 2^31).
    TFastScan(const unsigned char* p, size_t n, TScanPlaces* places) : P(p), N(n), Places(places) {}

    // True when the bytes are a well-formed document the parser reads as the strict reader does.
    bool Run();
    // A text in an element is written with a reference to a blank: the parser keeps it as a text
    // node where the strict reader sees layout.
    bool BlankReferences = false;

private:
    struct TName {
        const unsigned char* At;
        uint32_t Len;
        uint32_t Hash;
    };
    // P[N] is readable and 0, a byte of no class, so a run of one class stops at the end without
    // a bound check per byte.
    bool Is(size_t i, uint8_t kind) const { return kBytes.Of[P[i]] & kind; }
    // Past a run of name characters, of value characters that need no look (kValuePlain).
    void SkipNameChars();
    void SkipValuePlain();
    void SkipBlanks()
    {
        const unsigned char* p = P + I;
        while (kBytes.Of[*p] & kBlank)
            ++p;
        I = size_t(p - P);
    }
    bool Declaration();
    bool Content();
    bool Markup();
    bool StartTag();
    bool Value();
    bool Reference(bool inText);
    bool Utf8Char();  // at a byte >= 0x80: one whole, allowed character
    bool Name();      // an ASCII name, at most one ":" between two parts
    bool CharsUpTo(size_t end);
    bool DistinctNames();
    bool AsBefore(const TName& name) const;
    size_t AttributesAsBefore(size_t same);

    const unsigned char* P;
    size_t N;
    TScanPlaces* Places;
    size_t I = 0;
    // Where the value Value() last read starts, and whether it holds nothing the parser changes.
    size_t ValueFrom = 0;
    bool ValueAsWritten = false;
    int Depth = 0;
    bool SeenRoot = false;
    // The attribute names of the tag being read, for repeated ones.
    std::vector<TName> Names;
};

bool TFastScan::Run()
{
    if (N > 5 && std::memcmp(P, "<?xml", 5) == 0 && Is(5, kBlank) && !Declaration())
        return false;
    while (I < N) {
        if (!Content())
            return false;
        if (I < N && !Markup())
            return false;
    }
    return SeenRoot && Depth == 0;
}

// <?xml version="1.0" [encoding="UTF-8"] [standalone="yes"|"no"] ?> in its plain forms; any other
// goes to the strict reader.
bool TFastScan::Declaration()
{
    size_t end = 5;
    while (end + 1 < N && !(P[end] == '?' && P[end + 1] == '>'))
        ++end;
    if (end + 1 >= N)
        return false;
    static const QRegularExpression form(QStringLiteral(
        "^[ \\t\\r\\n]+version[ \\t\\r\\n]*=[ \\t\\r\\n]*(\"1\\.0\"|'1\\.0')"
        "([ \\t\\r\\n]+encoding[ \\t\\r\\n]*=[ \\t\\r\\n]*(\"[Uu][Tt][Ff]-8\"|'[Uu][Tt][Ff]-8'))?"
        "([ \\t\\r\\n]+standalone[ \\t\\r\\n]*=[ \\t\\r\\n]*(\"yes\"|\"no\"|'yes'|'no'))?[ \\t\\r\\n]*\\z"));
    if (!form.match(QLatin1String(reinterpret_cast<const char*>(P) + 5, qsizetype(end - 5))).hasMatch())
        return false;
    I = end + 2;
    return true;
}

bool TFastScan::Utf8Char()
{
    const unsigned char b = P[I];
    const auto cont = [this](size_t k, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
        return I + k < N && P[I + k] >= lo && P[I + k] <= hi;
    };
    if (b >= 0xC2 && b <= 0xDF) {
        if (!cont(1))
            return false;
        I += 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        // No surrogates (ED A0..BF), no overlong forms (E0 80..9F).
        if (!cont(1, b == 0xE0 ? 0xA0 : 0x80, b == 0xED ? 0x9F : 0xBF) || !cont(2))
            return false;
        // U+FFFE and U+FFFF
        if (b == 0xEF && P[I + 1] == 0xBF && P[I + 2] >= 0xBE)
            return false;
        I += 3;
    } else if (b >= 0xF0 && b <= 0xF4) {
        // Nothing beyond U+10FFFF, no overlong forms.
        if (!cont(1, b == 0xF0 ? 0x90 : 0x80, b == 0xF4 ? 0x8F : 0xBF) || !cont(2) || !cont(3))
            return false;
        I += 4;
    } else {
        return false;
    }
    return true;
}

// The characters of a comment or character data, up to `end`.
bool TFastScan::CharsUpTo(size_t end)
{
    while (I < end) {
        const unsigned char c = P[I];
        if (c >= 0x80) {
            if (!Utf8Char() || I > end)
                return false;
        } else if (c < 0x20 && !(kBytes.Of[c] & kBlank)) {
            return false;
        } else {
            ++I;
        }
    }
    return true;
}

// Text up to the next "<".
bool TFastScan::Content()
{
    if (Depth == 0) {
        // Beside the root only layout may stand.
        SkipBlanks();
        return I >= N || P[I] == '<';
    }
    for (;;) {
        const unsigned char* p = P + I;
#if defined(__SSE2__)
        if (kBytes.Of[*p] & kTextPlain)
            for (; size_t(p - P) + 16 <= N; p += 16)
                if (const unsigned m = LookMask(p, '<', '&', ']', ']')) {
                    p += __builtin_ctz(m);
                    break;
                }
#endif
        while (kBytes.Of[*p] & kTextPlain)
            ++p;
        I = size_t(p - P);
        if (I >= N)
            return true;
        const unsigned char c = P[I];
        if (c == '<')
            return true;
        if (c >= 0x80) {
            if (!Utf8Char())
                return false;
        } else if (c == '&') {
            if (!Reference(true))
                return false;
        } else if (c == ']') {
            if (I + 2 < N && P[I + 1] == ']' && P[I + 2] == '>')
                return false;
            ++I;
        } else {
            return false;  // a control character
        }
    }
}

// A reference at "&": one of the five named ones, or a character reference to a character XML
// can hold.
bool TFastScan::Reference(bool inText)
{
    size_t k = I + 1;
    if (k < N && P[k] == '#') {
        ++k;
        const bool hex = k < N && P[k] == 'x';
        if (hex)
            ++k;
        const size_t from = k;
        char32_t value = 0;
        while (k < N && k - from < 8) {
            const unsigned char d = P[k];
            int digit;
            if (d >= '0' && d <= '9')
                digit = d - '0';
            else if (hex && d >= 'a' && d <= 'f')
                digit = d - 'a' + 10;
            else if (hex && d >= 'A' && d <= 'F')
                digit = d - 'A' + 10;
            else
                break;
            value = value * (hex ? 16 : 10) + char32_t(digit);
            ++k;
        }
        if (k == from || k >= N || P[k] != ';' || !IsXmlChar(value))
            return false;
        if (inText && (value == ' ' || value == '\t' || value == '\n' || value == '\r'))
            BlankReferences = true;
        I = k + 1;
        return true;
    }
    for (const std::string_view name : {"lt;", "gt;", "amp;", "apos;", "quot;"})
        if (N - k >= name.size() && std::memcmp(P + k, name.data(), name.size()) == 0) {
            I = k + name.size();
            return true;
        }
    return false;
}

bool TFastScan::Markup()
{
    const auto at = [this](size_t i, std::string_view s) {
        return N - i >= s.size() && std::memcmp(P + i, s.data(), s.size()) == 0;
    };
    const unsigned char next = I + 1 < N ? P[I + 1] : 0;
    if (next == '/') {
        // An end tag; the parser matches its name with the start tag's.
        if (--Depth < 0)
            return false;
        I += 2;
        if (!Name())
            return false;
        SkipBlanks();
        if (I >= N || P[I] != '>')
            return false;
        ++I;
        return true;
    }
    if (next == '!' && at(I, "<!--")) {
        // No "--" inside a comment: the first one must close it.
        size_t k = I + 4;
        while (k + 1 < N && !(P[k] == '-' && P[k + 1] == '-'))
            ++k;
        if (k + 2 >= N || P[k + 2] != '>')
            return false;
        I += 4;
        if (!CharsUpTo(k))
            return false;
        I = k + 3;
        return true;
    }
    if (next == '!' && at(I, "<![CDATA[")) {
        if (Depth == 0)
            return false;
        size_t k = I + 9;
        while (k + 2 < N && !(P[k] == ']' && P[k + 1] == ']' && P[k + 2] == '>'))
            ++k;
        if (k + 2 >= N)
            return false;
        I += 9;
        if (!CharsUpTo(k))
            return false;
        I = k + 3;
        return true;
    }
    if (next == '!' || next == '?')
        return false;  // a processing instruction, a document type or worse
    return StartTag();
}

// The runs are read through a local position: a byte read may alias any member, so a loop on I
// itself would store it on every byte.
void TFastScan::SkipNameChars()
{
    const unsigned char* p = P + I;
    while (kBytes.Of[*p] & kNameChar)
        ++p;
    I = size_t(p - P);
}

void TFastScan::SkipValuePlain()
{
    const unsigned char* p = P + I;
#if defined(__SSE2__)
    for (; size_t(p - P) + 16 <= N; p += 16)
        if (const unsigned m = LookMask(p, '"', '\'', '<', '&')) {
            p += __builtin_ctz(m);
            break;
        }
#endif
    while (kBytes.Of[*p] & kValuePlain)
        ++p;
    I = size_t(p - P);
}

// Names the strict reader takes as they stand whether or not it asks about namespaces; any other
// (beyond ASCII, two colons, ...) is for it to judge.
bool TFastScan::Name()
{
    const auto part = [this] {
        if (!Is(I, kNameStart))
            return false;
        ++I;
        SkipNameChars();
        return true;
    };
    if (!part())
        return false;
    if (I < N && P[I] == ':' && (++I, !part()))
        return false;
    return I < N && ((kBytes.Of[P[I]] & kBlank) || P[I] == '=' || P[I] == '/' || P[I] == '>');
}

bool TFastScan::StartTag()
{
    if (Depth == 0 && SeenRoot)
        return false;  // a second root
    SeenRoot = true;
    ++I;
    if (Places)
        Places->Tags.push_back({uint32_t(I), uint32_t(Places->AttributeCount)});
    if (!Name())
        return false;
    // Names holds the attribute names of the last start tag, found distinct. Row after row a file
    // repeats one tag's names in one order: while this tag does, each name is only compared with
    // the one at its place there, and the names need no other look.
    size_t same = 0;
    bool asBefore = true;
    for (;;) {
        if (asBefore)
            same = AttributesAsBefore(same);
        const size_t blanks = I;
        SkipBlanks();
        if (I >= N)
            return false;
        if (P[I] == '>' || P[I] == '/') {
            if (P[I] == '>') {
                ++I;
                if (++Depth > kMaxDepth)
                    return false;
            } else {
                if (I + 1 >= N || P[I + 1] != '>')
                    return false;
                I += 2;
            }
            if (!asBefore)
                return DistinctNames();
            if (Places && same == Names.size() && Places->Tags.size() > 1)
                Places->Tags.back().FirstAttribute |= kSameNames;
            Names.resize(same);  // the first names of a distinct list are distinct
            return true;
        }
        if (I == blanks)
            return false;  // no blank before an attribute
        const size_t from = I;
        if (asBefore && same < Names.size() && AsBefore(Names[same])) {
            I = from + Names[same].Len;
            ++same;
        } else {
            if (asBefore) {
                Names.resize(same);
                asBefore = false;
            }
            if (!Name())
                return false;
            const uint32_t len = uint32_t(I - from);
            // Cheap, and enough to tell the names of one tag apart nearly always.
            Names.push_back({P + from, len, len * 31u + P[from] * 7u + P[I - 1] * 3u + P[from + len / 2]});
        }
        SkipBlanks();
        if (I >= N || P[I] != '=')
            return false;
        ++I;
        SkipBlanks();
        if (!Value())
            return false;
        if (Places)
            Places->Attributes[Places->AttributeCount++] = {uint32_t(from),
                                                            uint32_t(ValueFrom) | (ValueAsWritten ? kAsWritten : 0)};
    }
}

// Past the attributes, from the one at place `same` on, that are written as nearly every attribute
// is: one blank, the name the last tag has at the same place, "=", a quoted value without a byte
// to look at. Returns the place of the first attribute not read, which the general loop then
// reads; stops where fewer than 64 bytes are left.
size_t TFastScan::AttributesAsBefore(size_t same)
{
#if defined(__SSE2__)
    if (N < 64)
        return same;
    // All in locals: a store of a place could otherwise alias any member.
    const unsigned char* p = P + I;
    const unsigned char* const stop = P + N - 64;
    const unsigned char* const last16 = P + N - 16;
    const TName* const names = Names.data();
    const size_t count = Names.size();
    TAttributePlace* const out = Places ? Places->Attributes.get() : nullptr;
    size_t outCount = Places ? Places->AttributeCount : 0;
    while (same < count && p <= stop && p[0] == ' ') {
        const TName& name = names[same];
        const uint32_t len = name.Len;
        if (len > 16)
            break;
        const unsigned char quote = p[2 + len];
        if (p[1 + len] != '=' || (quote != '"' && quote != '\'') || !SameRun(p + 1, name.At, len))
            break;
        const unsigned char* q = p + 3 + len;
        unsigned m;
        while (!(m = LookMask(q, '"', '\'', '<', '&'))) {
            q += 16;
            if (q > last16)
                goto done;
        }
        q += __builtin_ctz(m);
        if (*q != quote)
            break;
        if (out)
            out[outCount++] = {uint32_t(p + 1 - P), uint32_t(p + 3 + len - P) | kAsWritten};
        p = q + 1;
        ++same;
    }
done:
    I = size_t(p - P);
    if (Places)
        Places->AttributeCount = outCount;
#endif
    return same;
}

// Whether the bytes at I are the name, then "=": Name() would read them as that name.
bool TFastScan::AsBefore(const TName& name) const
{
    if (I + name.Len >= N || P[I + name.Len] != '=')
        return false;
    if (name.Len <= 16 && I + 16 <= N)
        return SameRun(P + I, name.At, name.Len);  // name.At is before I
    return std::memcmp(P + I, name.At, name.Len) == 0;
}

// A quoted attribute value.
bool TFastScan::Value()
{
    if (I >= N || (P[I] != '"' && P[I] != '\''))
        return false;
    const unsigned char quote = P[I++];
    ValueFrom = I;
    ValueAsWritten = true;
    for (;;) {
        SkipValuePlain();
        if (I >= N)
            return false;
        const unsigned char c = P[I];
        if (c == quote) {
            if (Places)
                for (size_t k = ValueFrom; k < I; ++k)
                    if (P[k] == '\t' || P[k] == '\n' || P[k] == '\r')
                        ValueAsWritten = false;
            ++I;
            return true;
        }
        if (c >= 0x80) {
            if (!Utf8Char())
                return false;
        } else if (c == '&') {
            ValueAsWritten = false;
            if (!Reference(false))
                return false;
        } else if (c == '"' || c == '\'') {
            ++I;  // the other quote
        } else {
            return false;  // "<" or a control character
        }
    }
}

// Each attribute name of the tag once, found in one pass over the names: a small open table for
// the usual tags, a hash set for the rare one with very many attributes.
bool TFastScan::DistinctNames()
{
    const size_t n = Names.size();
    if (n < 2)
        return true;
    const auto same = [](const TName& a, const TName& b) {
        return a.Hash == b.Hash && a.Len == b.Len && std::memcmp(a.At, b.At, a.Len) == 0;
    };
    constexpr size_t kSlots = 64;
    if (n <= kSlots / 2) {
        uint8_t table[kSlots] = {};  // 0: free, else the index of a name plus one
        for (size_t a = 0; a < n; ++a) {
            for (size_t s = Names[a].Hash % kSlots;; s = (s + 1) % kSlots) {
                if (!table[s]) {
                    table[s] = uint8_t(a + 1);
                    break;
                }
                if (same(Names[table[s] - 1], Names[a]))
                    return false;
            }
        }
        return true;
    }
    std::unordered_set<std::string_view> seen;
    seen.reserve(n);
    for (const TName& name : Names)
        if (!seen.insert(std::string_view(reinterpret_cast<const char*>(name.At), name.Len)).second)
            return false;
    return true;
}

// Whether the scan vouches for the bytes; `from` becomes where the text starts (after a UTF-8
// byte-order mark), `blankReferences` whether blank texts written as references need tidying.
// data[size] must be readable and 0 (as in a QByteArray).
bool FastScan(const char* data, size_t size, size_t& from, bool& blankReferences, TScanPlaces* places = nullptr)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    from = 0;
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        from = 3;
    else if (size >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF)))
        return false;
    if (places)
        places->Reset(size);
    TFastScan scan(p + from, size - from, places);
    if (!scan.Run())
        return false;
    blankReferences = scan.BlankReferences;
    return true;
}

// The parser's tree of bytes the scan vouched for; false (the document empty) when the parser
// refuses them.
bool FinishFastLoad(pugi::xml_document& doc, const pugi::xml_parse_result& result, bool blankReferences)
{
    if (!result) {
        doc.reset();
        return false;
    }
    if (blankReferences) {
        qsizetype elements = 0, attributes = 0;
        TidyAndCount(doc, elements, attributes);
    }
    return true;
}

const unsigned kParseFlags = pugi::parse_default | pugi::parse_comments;

// Builds the tree when the bytes are UTF-8 that the scan vouches for; false leaves the document
// empty and the judgement to the strict reader.
bool FastLoad(pugi::xml_document& doc, const QByteArray& data)
{
    size_t from = 0;
    bool blanks = false;
    if (!FastScan(data.constData(), size_t(data.size()), from, blanks))
        return false;
    return FinishFastLoad(
        doc, doc.load_buffer(data.constData() + from, size_t(data.size()) - from, kParseFlags, pugi::encoding_utf8),
        blanks);
}

} // namespace

// ---------------------------------------------------------------------------------------------

EXMLError::EXMLError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString EXMLError::Message() const
{
    return QString::fromStdString(what());
}

// ---------------------------------------------------------------------------------------------

TXMLNodeType TXMLNode::NodeType() const
{
    switch (FNode.type()) {
    case pugi::node_null: return TXMLNodeType::Null;
    case pugi::node_element: return TXMLNodeType::Element;
    case pugi::node_pcdata: return TXMLNodeType::Text;
    case pugi::node_cdata: return TXMLNodeType::CData;
    case pugi::node_comment: return TXMLNodeType::Comment;
    default: return TXMLNodeType::Other;
    }
}

QString TXMLNode::NodeName() const
{
    return FNode.type() == pugi::node_element ? FromUtf8(FNode.name()) : QString();
}

QString TXMLNode::NodeValue() const
{
    return FNode.type() == pugi::node_element ? QString() : FromUtf8(FNode.value());
}

std::vector<TXMLNode> TXMLNode::ChildNodes() const
{
    std::vector<TXMLNode> list;
    for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling())
        list.emplace_back(c);
    return list;
}

std::vector<TXMLNode> TXMLNode::ChildElements() const
{
    std::vector<TXMLNode> list;
    for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            list.emplace_back(c);
    return list;
}

int TXMLNode::ChildCount() const
{
    int n = 0;
    for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling())
        ++n;
    return n;
}

TXMLNode TXMLNode::FirstChild() const
{
    return TXMLNode(FNode.first_child());
}

TXMLNode TXMLNode::NextSibling() const
{
    return TXMLNode(FNode.next_sibling());
}

TXMLNode TXMLNode::Parent() const
{
    return TXMLNode(FNode.parent());
}

TXMLNode TXMLNode::FindNode(const QString& name) const
{
    return FindNode(ToUtf8(name).c_str());
}

TXMLNode TXMLNode::FindNode(const char* name) const
{
    for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && std::strcmp(name, c.name()) == 0)
            return TXMLNode(c);
    return {};
}

bool TXMLNode::TryText(QString& text) const
{
    if (FNode.type() != pugi::node_element)
        return false;
    pugi::xml_node first = FNode.first_child();
    if (!first) {
        text.clear();
        return true;
    }
    if (first.next_sibling())
        return false;
    if (first.type() != pugi::node_pcdata && first.type() != pugi::node_cdata)
        return false;
    text = FromUtf8(first.value());
    return true;
}

QString TXMLNode::Text() const
{
    QString text;
    if (!TryText(text)) {
        if (!FNode)
            throw EXMLError(QStringLiteral("Node not found"));
        throw EXMLError(QStringLiteral("Element \"%1\" has no single text").arg(NodeName()));
    }
    return text;
}

QStringList TXMLNode::AttributeNames() const
{
    QStringList names;
    for (pugi::xml_attribute a = FNode.first_attribute(); a; a = a.next_attribute())
        names << FromUtf8(a.name());
    return names;
}

bool TXMLNode::HasAttribute(const QString& name) const
{
    return HasAttribute(ToUtf8(name).c_str());
}

bool TXMLNode::HasAttribute(const char* name) const
{
    return bool(FNode.attribute(name));
}

bool TXMLNode::TryAttribute(const QString& name, QString& value) const
{
    return TryAttribute(ToUtf8(name).c_str(), value);
}

bool TXMLNode::TryAttribute(const char* name, QString& value) const
{
    const pugi::xml_attribute a = FNode.attribute(name);
    if (!a)
        return false;
    value = FromUtf8(a.value());
    return true;
}

void TXMLNode::ReadAttributes(const char* const* names, const char** values, size_t count) const
{
    std::fill(values, values + count, nullptr);
    size_t next = 0;  // the name expected next when the attributes come in the order of `names`
    for (pugi::xml_attribute a = FNode.first_attribute();; a = a.next_attribute()) {
        // A null attribute's name is empty; only then is the attribute itself asked.
        const char* name = a.name();
        if (!*name && !a)
            break;
        // The name expected next first; else a look at each name's first byte, so that an
        // attribute the caller does not ask for costs a byte compare per name.
        size_t found = count;
        if (next < count && std::strcmp(name, names[next]) == 0) {
            found = next;
        } else {
            for (size_t i = 0; i < count; ++i)
                if (names[i][0] == name[0] && std::strcmp(name, names[i]) == 0) {
                    found = i;
                    break;
                }
            if (found == count)
                continue;
        }
        next = found + 1;
        if (!values[found])
            values[found] = a.value();
    }
}

QString TXMLNode::ValueText(const char* value)
{
    return FromUtf8(value);
}

QString TXMLNode::Attribute(const QString& name) const
{
    QString value;
    if (!TryAttribute(name, value))
        throw EXMLError(QStringLiteral("Attribute \"%1\" not found").arg(name));
    return value;
}

QString TXMLNode::AttributeDef(const QString& name, const QString& def) const
{
    QString value;
    return TryAttribute(name, value) ? value : def;
}

QString TXMLNode::AttributeDef(const char* name, const QString& def) const
{
    QString value;
    return TryAttribute(name, value) ? value : def;
}

void TXMLNode::SetAttribute(const QString& name, const QString& value)
{
    const std::string n = ToUtf8(name);
    pugi::xml_attribute a = FNode.attribute(n.c_str());
    if (!a)
        a = FNode.append_attribute(n.c_str());
    a.set_value(ToUtf8(value).c_str());
}

void TXMLNode::SetText(const QString& text)
{
    RemoveChildren();
    if (!text.isEmpty())
        FNode.append_child(pugi::node_pcdata).set_value(ToUtf8(text).c_str());
}

TXMLNode TXMLNode::AddChild(const QString& name)
{
    return TXMLNode(FNode.append_child(ToUtf8(name).c_str()));
}

TXMLNode TXMLNode::AddChild(const QString& name, const QString& text)
{
    TXMLNode child = AddChild(name);
    child.SetText(text);
    return child;
}

void TXMLNode::AddComment(const QString& text)
{
    FNode.append_child(pugi::node_comment).set_value(ToUtf8(CommentText(text)).c_str());
}

void TXMLNode::RemoveChildren()
{
    while (pugi::xml_node c = FNode.first_child())
        FNode.remove_child(c);
}

// ---------------------------------------------------------------------------------------------

struct TXMLDocument::TLoadIndex {
    const unsigned char* Base = nullptr;   // the text the tree was parsed from, in place
    const unsigned char* Limit = nullptr;  // the end of the bytes that may be read there
    TScanPlaces Places;
    size_t Cursor = 0;                     // the tag read next, when they are read in order
    // The names asked for, tag by tag, of the last tag read: Match[k] for its k-th attribute.
    std::vector<uint32_t> Match;
    size_t MatchTag = size_t(-1);
    const TXMLAttributeNames* MatchNames = nullptr;
};

TXMLDocument::TXMLDocument() : FDoc(std::make_unique<pugi::xml_document>()) {}

TXMLDocument::~TXMLDocument() = default;

bool TXMLDocument::LoadFromFile(const QString& path, QString* error, TXMLKeep keep)
{
    Clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    // The common case reads the file straight into a buffer the tree then owns and parses in
    // place: no copy of the file is made.
    const qint64 size = file.size();
    if (size > 0 && size < (qint64(1) << 31) && !file.isSequential()) {
        // One byte more for the 0 the scan stops at.
        char* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(size_t(size) + 1));
        if (buffer) {
            buffer[size] = 0;
            size_t from = 0;
            bool blanks = false;
            std::unique_ptr<TLoadIndex> index;
            if (keep == TXMLKeep::AttributePlaces)
                index = std::make_unique<TLoadIndex>();
            if (file.read(buffer, size) == size && file.atEnd() &&
                FastScan(buffer, size_t(size), from, blanks, index ? &index->Places : nullptr)) {
                if (from)
                    std::memmove(buffer, buffer + from, size_t(size) - from);
                if (FinishFastLoad(*FDoc,
                                   FDoc->load_buffer_inplace_own(buffer, size_t(size) - from, kParseFlags,
                                                                 pugi::encoding_utf8),
                                   blanks)) {
                    // The places are offsets into the text, which now starts at the buffer.
                    if (index) {
                        index->Base = reinterpret_cast<const unsigned char*>(buffer);
                        index->Limit = index->Base + size + 1;
                        FIndex = std::move(index);
                    }
                    return true;
                }
            } else {
                pugi::get_memory_deallocation_function()(buffer);
            }
            file.seek(0);
        }
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return LoadFromBytes(data, error);
}

bool TXMLDocument::LoadFromBytes(const QByteArray& data, QString* error)
{
    Clear();
    if (FastLoad(*FDoc, data))
        return true;
    Clear();
    QString why;
    QString text;
    qsizetype utf8From = -1;
    TStrictFacts facts;
    if (!CheckStrict(data, text, utf8From, facts, why) || !BuildTree(*FDoc, data, text, utf8From, facts, why)) {
        Clear();
        if (error)
            *error = why;
        return false;
    }
    return true;
}

bool TXMLDocument::CheckBytes(const QByteArray& data, QString* error)
{
    QString text, why;
    qsizetype utf8From = -1;
    TStrictFacts facts;
    if (CheckStrict(data, text, utf8From, facts, why))
        return true;
    if (error)
        *error = why;
    return false;
}
void TXMLDocument::DropInvalidCharacters()
{
    struct Walker : pugi::xml_tree_walker {
        bool for_each(pugi::xml_node& node) override
        {
            std::string clean;
            if (node.type() == pugi::node_element) {
                for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
                    if (CleanUtf8(a.value(), clean))
                        a.set_value(clean.c_str());
            } else if (CleanUtf8(node.value(), clean)) {
                node.set_value(clean.c_str());
            }
            return true;
        }
    } walker;
    FDoc->traverse(walker);
}

QByteArray TXMLDocument::SaveToBytes()
{
    DropInvalidCharacters();
    ByteWriter writer;
    FDoc->save(writer, "", kSaveFlags, pugi::encoding_utf8);
    // A carriage return in a text is written as is and would come back as a line feed; as a
    // reference it survives. Attributes have theirs escaped already, and no comment or character
    // data the tree holds can have one (a reader never gives one, CommentText drops it).
    writer.data.replace('\r', "&#13;");
    return writer.data;
}

bool TXMLDocument::SaveToFile(const QString& path, QString* error)
{
    QString why;
    if (!platform::WriteFileAtomic(path, SaveToBytes(), &why)) {
        if (error)
            *error = QStringLiteral("Cannot write \"%1\": %2").arg(path, why);
        return false;
    }
    return true;
}

void TXMLDocument::Clear()
{
    FDoc->reset();
    FIndex.reset();
}

TXMLAttributeNames::TXMLAttributeNames(std::initializer_list<const char*> names) : FNames(names)
{
    for (const char* name : FNames) {
        const size_t n = std::strlen(name);
        FLengths.push_back(uint32_t(n));
        std::array<unsigned char, 16> head{};
        std::memcpy(head.data(), name, std::min<size_t>(n, 16));
        FHeads.push_back(head);
    }
}

void TXMLDocument::ReadLoadedAttributes(const TXMLNode& element, const TXMLAttributeNames& names,
                                        const char** values) const
{
    const size_t count = names.Count();
    const pugi::xml_node node = element.Handle();
    TLoadIndex* x = FIndex.get();
    const auto at = [x](const char* p) {
        // Compared as numbers: the pointer may be anywhere.
        const uintptr_t u = reinterpret_cast<uintptr_t>(p), base = reinterpret_cast<uintptr_t>(x->Base);
        return u >= base && u < reinterpret_cast<uintptr_t>(x->Limit) ? std::optional<uint32_t>(uint32_t(u - base))
                                                                        : std::nullopt;
    };
    const std::optional<uint32_t> tagAt = x && node.type() == pugi::node_element ? at(node.name()) : std::nullopt;
    if (tagAt) {
        const std::vector<TTagPlace>& tags = x->Places.Tags;
        const TAttributePlace* const attrs = x->Places.Attributes.get();
        const size_t attrCount = x->Places.AttributeCount;
        const auto firstOf = [&](size_t t) { return t < tags.size() ? tags[t].FirstAttribute & ~kSameNames : attrCount; };
        // Elements are nearly always read in document order: the tag after the last one first.
        size_t t = x->Cursor;
        if (t >= tags.size() || tags[t].Name != *tagAt)
            t = size_t(std::lower_bound(tags.begin(), tags.end(), *tagAt,
                                        [](const TTagPlace& tag, uint32_t v) { return tag.Name < v; }) -
                       tags.begin());
        const bool found = t < tags.size() && tags[t].Name == *tagAt;
        const size_t first = found ? firstOf(t) : attrCount;
        const size_t end = found ? firstOf(t + 1) : attrCount;
        // The tree was parsed in place: its first value stands where the scan saw it (a value
        // is never moved, only ended by a 0 or shortened by its references).
        if (first < end && node.first_attribute().value() ==
                               reinterpret_cast<const char*>(x->Base + (attrs[first].Value & ~kAsWritten))) {
            x->Cursor = t + 1;
            std::fill(values, values + count, nullptr);
            const unsigned char* const base = x->Base;
            // Which name each attribute of the tag is (count: none asked for). A tag with the
            // names of the one before, read just before with the same names, is matched as it was.
            std::vector<uint32_t>& match = x->Match;
            if (!(t > 0 && x->MatchTag == t - 1 && x->MatchNames == &names && (tags[t].FirstAttribute & kSameNames))) {
                match.clear();
                const unsigned char* const limit = x->Limit;
                // Whether the name stands at p: the same bytes, and no name character after them.
                const auto is = [&](size_t i, const unsigned char* p) {
                    const uint32_t len = names.FLengths[i];
                    if (size_t(limit - p) <= len)
                        return false;
                    const bool same = len <= 16 && size_t(limit - p) >= 16
                                          ? SameRun(p, names.FHeads[i].data(), len)
                                          : std::memcmp(p, names.FNames[i], len) == 0;
                    return same && !(kBytes.Of[p[len]] & kNameChar) && p[len] != ':';
                };
                size_t next = 0;
                for (size_t k = first; k < end; ++k) {
                    const unsigned char* name = base + attrs[k].Name;
                    size_t i = next < count && is(next, name) ? next : count;
                    for (size_t j = 0; i == count && j < count; ++j)
                        if (names.FHeads[j][0] == name[0] && is(j, name))
                            i = j;
                    if (i < count)
                        next = i + 1;
                    match.push_back(uint32_t(i));
                }
                x->MatchNames = &names;
            }
            x->MatchTag = t;
            for (size_t k = first; k < end; ++k) {
                const uint32_t i = match[k - first];
                if (i == count)
                    continue;
                const uint32_t v = attrs[k].Value;
                if (!(v & kAsWritten)) {
                    x->MatchTag = size_t(-1);
                    return element.ReadAttributes(names.Names(), values, count);  // the tree's own text
                }
                values[i] = reinterpret_cast<const char*>(base + (v & ~kAsWritten));
            }
            return;
        }
    }
    element.ReadAttributes(names.Names(), values, count);
}

bool TXMLDocument::IsEmpty() const
{
    return !FDoc->first_child();
}

TXMLNode TXMLDocument::DocumentElement() const
{
    return TXMLNode(FDoc->document_element());
}

std::vector<TXMLNode> TXMLDocument::ChildNodes() const
{
    return TXMLNode(*FDoc).ChildNodes();
}

TXMLNode TXMLDocument::AddChild(const QString& name)
{
    return TXMLNode(FDoc->append_child(ToUtf8(name).c_str()));
}

void TXMLDocument::AddComment(const QString& text)
{
    FDoc->append_child(pugi::node_comment).set_value(ToUtf8(CommentText(text)).c_str());
}
