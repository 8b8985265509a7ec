#include "core/XMLDocument.h"

#include "platform/AtomicFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <cstring>
#include <string>

namespace {

const unsigned kParseFlags = pugi::parse_default | pugi::parse_comments;
const unsigned kSaveFlags = pugi::format_raw | pugi::format_no_declaration;

// UTF-8 of the text; a lone surrogate (no character at all) is left out rather than turned into "?".
std::string ToUtf8(const QString& s)
{
    QString clean;
    const QString* src = &s;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        const bool paired = c.isHighSurrogate() ? (i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
                          : c.isLowSurrogate()  ? (i > 0 && s.at(i - 1).isHighSurrogate())
                                                : true;
        if (!paired && src == &s) {
            clean = s.left(i);
            src = &clean;
        } else if (paired && src == &clean) {
            clean.append(c);
        }
    }
    const QByteArray b = src->toUtf8();
    return std::string(b.constData(), size_t(b.size()));
}

QString FromUtf8(const char* s)
{
    return QString::fromUtf8(s);
}

// True for a code point that an XML 1.0 document can hold.
bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
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

// The encoding named in a leading declaration, lower case; empty when there is none.
QString DeclaredEncoding(const QByteArray& data)
{
    if (!data.startsWith("<?xml"))
        return {};
    const int end = data.indexOf("?>");
    if (end < 0)
        return {};
    static const QRegularExpression re(QStringLiteral("encoding\\s*=\\s*[\"']([^\"']*)[\"']"));
    const auto m = re.match(QString::fromLatin1(data.left(end)));
    return m.hasMatch() ? m.captured(1).trimmed().toLower() : QString();
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
    FNode.append_child(pugi::node_comment).set_value(ToUtf8(text).c_str());
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
    pugi::xml_encoding encoding = pugi::encoding_auto;
    QByteArray buffer = data;
    // A declared 8-bit code page the parser does not know is converted here first.
    const QString declared = DeclaredEncoding(data);
    if (!declared.isEmpty() && !declared.startsWith(QLatin1String("utf"))) {
        QStringDecoder decoder(declared.toLatin1().constData());
        if (decoder.isValid()) {
            buffer = QString(decoder.decode(data)).toUtf8();
            encoding = pugi::encoding_utf8;
        }
    }
    const pugi::xml_parse_result result =
        FDoc->load_buffer(buffer.constData(), size_t(buffer.size()), kParseFlags, encoding);
    // The parser is lenient about what stands beside the root; a well-formed document has exactly
    // one element and no text at its top level.
    int elements = 0;
    bool strayText = false;
    if (result) {
        for (pugi::xml_node c = FDoc->first_child(); c; c = c.next_sibling()) {
            if (c.type() == pugi::node_element)
                ++elements;
            else if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
                strayText = true;
        }
    }
    if (!result || elements != 1 || strayText) {
        const QString why = !result      ? QString::fromUtf8(result.description())
                            : strayText  ? QStringLiteral("text outside the root element")
                            : elements   ? QStringLiteral("more than one root element")
                                         : QStringLiteral("no root element");
        Clear();
        if (error)
            *error = QStringLiteral("XML error at offset %1: %2").arg(qlonglong(result.offset)).arg(why);
        return false;
    }
    return true;
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
    FDoc->append_child(pugi::node_comment).set_value(ToUtf8(text).c_str());
}
