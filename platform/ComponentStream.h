#pragma once
// The object record format ("TPF0") in which small streaming objects are written one after
// another: signature, class name, empty object name, then each property as its name and a tagged
// value, ended by an empty property name and an empty child list. This unit is the one encoder
// and decoder of the format; what a record means is up to its callers.
//
// All integers are little-endian. Strings take the smallest tag that holds them (short or long
// ASCII, UTF-8, or UTF-16 when UTF-8 would be at least twice as long).
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QIODevice;

namespace platform {

// The value tags of the format. vaCollection is the tag of a list of collection items.
enum TValueType : quint8 {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaWString = 18,
    vaUTF8String = 20,
};

// The error of a record that is not well formed.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

// The standard colour names of the format and their values; an empty text for a value without
// a name.
QString ColorToIdent(TColor Color);
// False when the name is not one of them.
bool IdentToColor(const QString& Ident, TColor& Color);

struct TCollectionEntry;

// One value as read. Integers of any width land in Int, every string tag in Str (Type keeps the
// tag), identifiers and the component name of a reference in Str, set members and list items in
// Items (a list of strings; a list of other values is refused), the items of a collection in
// Entries.
struct TPropValue {
    TValueType Type = vaNull;
    qint64 Int = 0;
    double Float = 0;
    bool Bool = false;
    QString Str;
    QByteArray Bin;
    QStringList Items;
    std::vector<TCollectionEntry> Entries;

    bool IsInteger() const { return Type == vaInt8 || Type == vaInt16 || Type == vaInt32; }
    bool IsString() const
    {
        return Type == vaString || Type == vaLString || Type == vaWString || Type == vaUTF8String;
    }
    bool IsBoolean() const { return Type == vaFalse || Type == vaTrue; }
};

struct TPropEntry {
    QString Name;
    TPropValue Value;
};

// One item of a collection value: its properties in stream order. An item may be preceded by an
// integer (its place in the list); HasOrder tells whether it was.
struct TCollectionEntry {
    bool HasOrder = false;
    qint64 Order = 0;
    std::vector<TPropEntry> Properties;
};

// Writes records to a device; a write that fails raises EInOutError "Stream write error".
class TComponentWriter {
public:
    explicit TComponentWriter(QIODevice& Stream) : FStream(Stream) {}

    // Signature, class name and the empty object name.
    void BeginRecord(const QString& ClassName);
    // The end of the property list and of the (empty) child list.
    void EndRecord();

    // Properties: the name, then the value in the smallest tag that holds it.
    void WriteInteger(const QString& Name, qint64 Value);
    void WriteBoolean(const QString& Name, bool Value);
    void WriteIdent(const QString& Name, const QString& Value);
    void WriteString(const QString& Name, const QString& Value);
    // An 80-bit extended floating-point number.
    void WriteFloat(const QString& Name, double Value);
    // A standard colour as its name, any other as an integer.
    void WriteColor(const QString& Name, TColor Value);
    // The names of the members present, in the order given.
    void WriteSet(const QString& Name, const QStringList& Members);
    void WriteBinary(const QString& Name, const QByteArray& Value);
    // A list of strings (each item tagged as a string).
    void WriteStringList(const QString& Name, const QStringList& Items);
    // A reference to another component: its name, or nil for none.
    void WriteReference(const QString& Name, const QString& ComponentName);

    // A collection: BeginCollection, then per item BeginCollectionItem, the item's properties and
    // EndList; then EndList for the end of the items.
    void BeginCollection(const QString& Name);
    void BeginCollectionItem();
    void EndList();

    // Low-level pieces for values this class has no writer of (a collection, for one).
    void WritePropName(const QString& Name);
    void WriteValueTag(TValueType Tag);
    void WriteIntegerValue(qint64 Value);
    void WriteStringValue(const QString& Value);
    void WriteBytes(const QByteArray& Bytes);

private:
    void WriteShortText(const QByteArray& Utf8);
    QIODevice& FStream;
};

// Reads records from a device.
class TComponentReader {
public:
    explicit TComponentReader(QIODevice& Stream) : FStream(Stream) {}

    // Reads one whole record: the class name is returned, every property is handed to Property
    // (name and value) in stream order. Bad signatures, unknown tags, truncated data and children
    // raise EReadError; Property may raise its own errors.
    QString ReadRecord(const std::function<void(const QString& Name, const TPropValue& Value)>& Property);

    // Low-level pieces.
    TPropValue ReadValue();
    TPropValue ReadValueOfType(TValueType Tag);
    quint8 ReadByte();
    QByteArray ReadBytes(qint64 Count);
    QString ReadShortText();

private:
    void ReadCollection(TPropValue& Value);
    QIODevice& FStream;
    int FDepth = 0; // collections inside collections, bounded
};

// 80-bit extended precision, little-endian, to and from a double.
QByteArray DoubleToExtended(double Value);
double ExtendedToDouble(const QByteArray& Bytes);

} // namespace platform
