#pragma once
// The XML document service every file of the program is read and written through: the settings
// file, the parameters file, the table files and the update job file.
//
// Reading rules every caller can rely on:
//  - The root is the document element: a declaration or a comment before it changes nothing.
//  - Only well-formed XML 1.0 loads; anything else (a bare "&", an unknown entity, a repeated
//    attribute, text beside the root, a character XML cannot hold, bytes that are not in the
//    file's encoding, ...) loads nothing: LoadFromFile returns false with a message and the
//    document stays empty. No exception escapes a load.
//  - Encodings: UTF-8 or UTF-16 by their byte-order mark; otherwise the encoding the declaration
//    names when the platform's code pages decode it, UTF-8 when it names none.
//  - Node and attribute order is kept as in the file.
//  - Reading a missing attribute, or the text of an element that holds more than one text node, is
//    an EXMLError the caller catches at once and turns into its default; the Try... forms report the
//    same through their result.
// Writing rules:
//  - Line breaks and tabs in attribute values are written as character references, so they survive
//    a save and a load; a character XML cannot hold (U+0000 included) is dropped alone when it is
//    set, everything else, U+FEFF included, is kept as it is.
//  - A save writes the whole file under a temporary name and renames it over the old one, so a
//    failed save leaves the old file as it was.
//  - No declaration and no indentation are added; the text is UTF-8.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <vector>

#include <pugixml.hpp>

// Raised by reads the caller must guard (missing attribute, element without a single text).
class EXMLError : public std::runtime_error {
public:
    explicit EXMLError(const QString& message);
    QString Message() const;
};

enum class TXMLNodeType { Null, Element, Text, CData, Comment, Other };

// A light handle on one node of a TXMLDocument; valid while its document lives and the node is not
// removed. A null handle answers every read as "nothing there".
class TXMLNode {
public:
    TXMLNode() = default;
    explicit TXMLNode(pugi::xml_node node) : FNode(node) {}

    bool IsNull() const { return !FNode; }
    explicit operator bool() const { return bool(FNode); }
    bool operator==(const TXMLNode& other) const { return FNode == other.FNode; }

    TXMLNodeType NodeType() const;
    bool IsElement() const { return NodeType() == TXMLNodeType::Element; }
    // Element name; empty for text and comment nodes.
    QString NodeName() const;
    // Value of a text, character-data or comment node; empty for elements.
    QString NodeValue() const;

    // Every child node in document order, whatever its kind or name.
    std::vector<TXMLNode> ChildNodes() const;
    // Only the child elements, in document order.
    std::vector<TXMLNode> ChildElements() const;
    int ChildCount() const;
    TXMLNode FirstChild() const;
    TXMLNode NextSibling() const;
    TXMLNode Parent() const;

    // The first child element of exactly this name (case counts), or a null node.
    TXMLNode FindNode(const QString& name) const;
    TXMLNode FindNode(const char* name) const;  // UTF-8 name, no conversion on the way

    // Text of an element holding one text (or character-data) node or nothing. Anything else
    // (child elements, several nodes, not an element) raises EXMLError.
    QString Text() const;
    bool TryText(QString& text) const;

    // Attributes in document order.
    QStringList AttributeNames() const;
    bool HasAttribute(const QString& name) const;
    bool HasAttribute(const char* name) const;
    // The attribute's text; a missing attribute raises EXMLError.
    QString Attribute(const QString& name) const;
    bool TryAttribute(const QString& name, QString& value) const;
    bool TryAttribute(const char* name, QString& value) const;
    // The attribute's text, or `def` when it is missing.
    QString AttributeDef(const QString& name, const QString& def) const;
    QString AttributeDef(const char* name, const QString& def) const;

    // Reads several attributes in one pass over the element's attributes: values[i] becomes the
    // value of names[i] as the tree holds it (UTF-8, valid while the node lives unchanged), or
    // null when the element has no attribute of that name (letter case counts; of a repeated name
    // the first counts, as for TryAttribute). Attributes in the order of `names` are found
    // fastest.
    void ReadAttributes(const char* const* names, const char** values, size_t count) const;
    // A value ReadAttributes gave, as the text TryAttribute gives for it (a leading U+FEFF kept).
    static QString ValueText(const char* value);

    // Sets (or replaces in place) an attribute; a new one goes after the existing ones.
    void SetAttribute(const QString& name, const QString& value);
    // Replaces every child of the element by one text node (none for an empty text).
    void SetText(const QString& text);
    // Appends a child element and returns it.
    TXMLNode AddChild(const QString& name);
    // Appends a child element holding `text`.
    TXMLNode AddChild(const QString& name, const QString& text);
    void AddComment(const QString& text);
    void RemoveChildren();

    pugi::xml_node Handle() const { return FNode; }

private:
    pugi::xml_node FNode;
};

// A fixed list of attribute names for TXMLDocument::ReadLoadedAttributes, made once and kept for
// every element read with it.
class TXMLAttributeNames {
public:
    TXMLAttributeNames(std::initializer_list<const char*> names);
    size_t Count() const { return FNames.size(); }
    const char* const* Names() const { return FNames.data(); }

private:
    friend class TXMLDocument;
    std::vector<const char*> FNames;
    std::vector<uint32_t> FLengths;
    std::vector<std::array<unsigned char, 16>> FHeads;  // each name's first 16 bytes, 0 after its end
};

// What a load keeps beside the tree.
enum class TXMLKeep {
    Tree,
    // Also where each element's attributes stood in the file, for ReadLoadedAttributes: about
    // eight bytes per attribute, kept while the document is.
    AttributePlaces,
};

class TXMLDocument {
public:
    TXMLDocument();
    ~TXMLDocument();
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    // Parses a whole file. On any failure (missing, unreadable, not well-formed) the document is
    // empty, the result is false and `error` (when given) says why.
    bool LoadFromFile(const QString& path, QString* error = nullptr, TXMLKeep keep = TXMLKeep::Tree);
    bool LoadFromBytes(const QByteArray& data, QString* error = nullptr);
    // The strict well-formedness pass of a load alone: true when LoadFromBytes would take the
    // bytes (same decoding, same checks, the same message in `error` otherwise); builds no tree.
    static bool CheckBytes(const QByteArray& data, QString* error = nullptr);

    // Writes the whole document atomically; false and `error` on failure, the old file untouched.
    bool SaveToFile(const QString& path, QString* error = nullptr);
    QByteArray SaveToBytes();

    // TXMLNode::ReadAttributes on an element of this document (values[i] for names.Names()[i]),
    // read where it can from what the load learned in its pass over the file, without a call
    // into the tree per attribute. Only for a document that LoadFromFile read keeping
    // AttributePlaces and that has not been changed since; the values are the tree's own. Elements
    // read in document order, and rows of one form read one after the other, are read fastest.
    // Not for two threads at once on one document.
    void ReadLoadedAttributes(const TXMLNode& element, const TXMLAttributeNames& names, const char** values) const;

    // Removes every node: the document is empty.
    void Clear();
    bool IsEmpty() const;

    // The document element, or a null node when the document has none.
    TXMLNode DocumentElement() const;
    // Every node at document level (comments included) in document order.
    std::vector<TXMLNode> ChildNodes() const;
    // Appends an element at document level; on an empty document it becomes the root.
    TXMLNode AddChild(const QString& name);
    // Appends a comment at document level (after the root when the root exists).
    void AddComment(const QString& text);

    pugi::xml_document& Handle() { return *FDoc; }

private:
    void DropInvalidCharacters();

    std::unique_ptr<pugi::xml_document> FDoc;
    // Where the tags and attributes of a document parsed in place from its file stand; null for
    // any other document.
    struct TLoadIndex;
    std::unique_ptr<TLoadIndex> FIndex;
};
