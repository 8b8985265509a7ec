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
    for (pugi::xml_attribute a = FNode.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        size_t found = count;
        if (next < count && std::strcmp(name, names[next]) == 0) {
            found = next;
        } else {
            for (size_t i = 0; i < count; ++i)
                if (std::strcmp(name, names[i]) == 0) {
                    found = i;
                    break;
                }
        }
        if (found == count)
            continue;
        next = found + 1;
        if (!values[found])
            values[found] = a.value();
    }
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

TXMLDocument::TXMLDocument() : FDoc(std::make_unique<pugi::xml_document>()) {}

TXMLDocument::~TXMLDocument() = default;

bool TXMLDocument::LoadFromFile(const QString& path, QString* error)
{
    Clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open \"%1\": %2").arg(path, file.errorString());
        return false;
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
