#include "platform/ComponentStream.h"

#include <QIODevice>

#include <cmath>
#include <cstring>

namespace platform {

namespace {

struct TColorName {
    const char* Name;
    quint32 Value;
};

const TColorName ColorNames[] = {
    {"clBlack", 0x00000000}, {"clMaroon", 0x00000080}, {"clGreen", 0x00008000}, {"clOlive", 0x00008080},
    {"clNavy", 0x00800000}, {"clPurple", 0x00800080}, {"clTeal", 0x00808000}, {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0}, {"clRed", 0x000000FF}, {"clLime", 0x0000FF00}, {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000}, {"clFuchsia", 0x00FF00FF}, {"clAqua", 0x00FFFF00}, {"clWhite", 0x00FFFFFF},
    {"clMoneyGreen", 0x00C0DCC0}, {"clSkyBlue", 0x00F0CAA6}, {"clCream", 0x00F0FBFF}, {"clMedGray", 0x00A4A0A0},
    {"clActiveBorder", 0xFF00000A}, {"clActiveCaption", 0xFF000002}, {"clAppWorkSpace", 0xFF00000C},
    {"clBackground", 0xFF000001}, {"clBtnFace", 0xFF00000F}, {"clBtnHighlight", 0xFF000014},
    {"clBtnShadow", 0xFF000010}, {"clBtnText", 0xFF000012}, {"clCaptionText", 0xFF000009},
    {"clDefault", 0x20000000}, {"clGradientActiveCaption", 0xFF00001B}, {"clGradientInactiveCaption", 0xFF00001C},
    {"clGrayText", 0xFF000011}, {"clHighlight", 0xFF00000D}, {"clHighlightText", 0xFF00000E},
    {"clHotLight", 0xFF00001A}, {"clInactiveBorder", 0xFF00000B}, {"clInactiveCaption", 0xFF000003},
    {"clInactiveCaptionText", 0xFF000013}, {"clInfoBk", 0xFF000018}, {"clInfoText", 0xFF000017},
    {"clMenu", 0xFF000004}, {"clMenuBar", 0xFF00001E}, {"clMenuHighlight", 0xFF00001D}, {"clMenuText", 0xFF000007},
    {"clNone", 0x1FFFFFFF}, {"clScrollBar", 0xFF000000}, {"cl3DDkShadow", 0xFF000015}, {"cl3DLight", 0xFF000016},
    {"clWindow", 0xFF000005}, {"clWindowFrame", 0xFF000006}, {"clWindowText", 0xFF000008},
};

[[noreturn]] void Truncated() { throw EReadError(QStringLiteral("Stream read error")); }

} // namespace

QString ColorToIdent(TColor Color)
{
    for (const TColorName& n : ColorNames)
        if (quint32(Color) == n.Value)
            return QString::fromLatin1(n.Name);
    return QString();
}

bool IdentToColor(const QString& Ident, TColor& Color)
{
    for (const TColorName& n : ColorNames)
        if (Ident.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0) {
            Color = TColor(n.Value);
            return true;
        }
    return false;
}

// ---- 80-bit extended ---------------------------------------------------------------------------

QByteArray DoubleToExtended(double Value)
{
    QByteArray b(10, '\0');
    quint64 mant = 0;
    int exp = 0; // biased, 15 bits
    const bool neg = std::signbit(Value);
    if (std::isnan(Value)) {
        exp = 0x7FFF;
        mant = 0xC000000000000000ULL;
    } else if (std::isinf(Value)) {
        exp = 0x7FFF;
        mant = 0x8000000000000000ULL;
    } else if (Value != 0) {
        int e = 0;
        const double m = std::frexp(std::fabs(Value), &e); // 0.5 <= m < 1
        mant = quint64(std::ldexp(m, 64));                  // exact: a double has 53 bits
        exp = e - 1 + 16383;
    }
    for (int i = 0; i < 8; ++i)
        b[i] = char((mant >> (8 * i)) & 0xFF);
    const quint16 se = quint16(exp | (neg ? 0x8000 : 0));
    b[8] = char(se & 0xFF);
    b[9] = char(se >> 8);
    return b;
}

double ExtendedToDouble(const QByteArray& Bytes)
{
    if (Bytes.size() < 10)
        return 0;
    quint64 mant = 0;
    for (int i = 7; i >= 0; --i)
        mant = (mant << 8) | quint8(Bytes[i]);
    const quint16 se = quint16(quint8(Bytes[8]) | (quint8(Bytes[9]) << 8));
    const bool neg = se & 0x8000;
    const int exp = se & 0x7FFF;
    double v;
    if (exp == 0x7FFF)
        v = (mant << 1) ? std::nan("") : INFINITY;
    else if (mant == 0)
        v = 0;
    else
        v = std::ldexp(double(mant), exp - 16383 - 63);
    return neg ? -v : v;
}

// ---- writer ------------------------------------------------------------------------------------

void TComponentWriter::WriteBytes(const QByteArray& Bytes)
{
    if (Bytes.isEmpty())
        return;
    if (FStream.write(Bytes) != Bytes.size())
        throw EInOutError(QStringLiteral("Stream write error"));
}

void TComponentWriter::WriteShortText(const QByteArray& Utf8)
{
    // A name longer than a length byte can say is cut (names of this format are short).
    const QByteArray s = Utf8.left(255);
    WriteBytes(QByteArray(1, char(quint8(s.size()))) + s);
}

void TComponentWriter::BeginRecord(const QString& ClassName)
{
    WriteBytes(QByteArrayLiteral("TPF0"));
    WriteShortText(ClassName.toUtf8());
    WriteShortText(QByteArray());
}

void TComponentWriter::EndRecord() { WriteBytes(QByteArray(2, '\0')); }

void TComponentWriter::WritePropName(const QString& Name) { WriteShortText(Name.toUtf8()); }

void TComponentWriter::WriteValueTag(TValueType Tag) { WriteBytes(QByteArray(1, char(Tag))); }

void TComponentWriter::WriteIntegerValue(qint64 Value)
{
    QByteArray b;
    if (Value >= -128 && Value <= 127) {
        b.append(char(vaInt8));
        b.append(char(qint8(Value)));
    } else if (Value >= -32768 && Value <= 32767) {
        b.append(char(vaInt16));
        const quint16 v = quint16(qint16(Value));
        b.append(char(v & 0xFF));
        b.append(char(v >> 8));
    } else {
        b.append(char(vaInt32));
        const quint32 v = quint32(qint32(Value));
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    }
    WriteBytes(b);
}

namespace {
QByteArray Count32(qint64 n)
{
    QByteArray b;
    const quint32 v = quint32(n);
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
    return b;
}
} // namespace

void TComponentWriter::WriteStringValue(const QString& Value)
{
    const QByteArray u = Value.toUtf8();
    bool high = false;
    for (char c : u)
        if (quint8(c) >= 0x80) {
            high = true;
            break;
        }
    QByteArray b;
    if (u.size() >= 2 * Value.size()) {
        // Also the empty string: a UTF-16 text of no code units.
        b.append(char(vaWString));
        b.append(Count32(Value.size()));
        for (QChar c : Value) {
            b.append(char(c.unicode() & 0xFF));
            b.append(char(c.unicode() >> 8));
        }
    } else if (high) {
        b.append(char(vaUTF8String));
        b.append(Count32(u.size()));
        b.append(u);
    } else if (u.size() >= 256) {
        b.append(char(vaLString));
        b.append(Count32(u.size()));
        b.append(u);
    } else {
        b.append(char(vaString));
        b.append(char(quint8(u.size())));
        b.append(u);
    }
    WriteBytes(b);
}

void TComponentWriter::WriteInteger(const QString& Name, qint64 Value)
{
    WritePropName(Name);
    WriteIntegerValue(Value);
}

void TComponentWriter::WriteBoolean(const QString& Name, bool Value)
{
    WritePropName(Name);
    WriteValueTag(Value ? vaTrue : vaFalse);
}

void TComponentWriter::WriteIdent(const QString& Name, const QString& Value)
{
    WritePropName(Name);
    WriteValueTag(vaIdent);
    WriteShortText(Value.toUtf8());
}

void TComponentWriter::WriteString(const QString& Name, const QString& Value)
{
    WritePropName(Name);
    WriteStringValue(Value);
}

void TComponentWriter::WriteFloat(const QString& Name, double Value)
{
    WritePropName(Name);
    WriteValueTag(vaExtended);
    WriteBytes(DoubleToExtended(Value));
}

void TComponentWriter::WriteColor(const QString& Name, TColor Value)
{
    const QString ident = ColorToIdent(Value);
    if (!ident.isEmpty())
        WriteIdent(Name, ident);
    else
        WriteInteger(Name, qint32(Value));
}

void TComponentWriter::WriteSet(const QString& Name, const QStringList& Members)
{
    WritePropName(Name);
    WriteValueTag(vaSet);
    for (const QString& m : Members)
        WriteShortText(m.toUtf8());
    WriteShortText(QByteArray());
}

void TComponentWriter::WriteBinary(const QString& Name, const QByteArray& Value)
{
    WritePropName(Name);
    WriteValueTag(vaBinary);
    WriteBytes(Count32(Value.size()));
    WriteBytes(Value);
}

void TComponentWriter::WriteStringList(const QString& Name, const QStringList& Items)
{
    WritePropName(Name);
    WriteValueTag(vaList);
    for (const QString& s : Items)
        WriteStringValue(s);
    WriteValueTag(vaNull);
}

void TComponentWriter::WriteReference(const QString& Name, const QString& ComponentName)
{
    if (ComponentName.isEmpty()) {
        WritePropName(Name);
        WriteValueTag(vaNil);
    } else
        WriteIdent(Name, ComponentName);
}

void TComponentWriter::BeginCollection(const QString& Name)
{
    WritePropName(Name);
    WriteValueTag(vaCollection);
}

void TComponentWriter::BeginCollectionItem() { WriteValueTag(vaList); }

void TComponentWriter::EndList() { WriteValueTag(vaNull); }

// ---- reader ------------------------------------------------------------------------------------

quint8 TComponentReader::ReadByte()
{
    char c;
    if (FStream.read(&c, 1) != 1)
        Truncated();
    return quint8(c);
}

QByteArray TComponentReader::ReadBytes(qint64 Count)
{
    if (Count < 0)
        throw EReadError(QStringLiteral("Invalid stream format"));
    if (Count == 0)
        return QByteArray();
    // A count larger than what is left is a broken record, not a request for memory.
    if (!FStream.isSequential() && Count > FStream.size() - FStream.pos())
        Truncated();
    const QByteArray b = FStream.read(Count);
    if (b.size() != Count)
        Truncated();
    return b;
}

QString TComponentReader::ReadShortText() { return QString::fromUtf8(ReadBytes(ReadByte())); }

namespace {
qint64 Le(const QByteArray& b)
{
    quint64 v = 0;
    for (qsizetype i = b.size() - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[i]);
    return qint64(v);
}
} // namespace

TPropValue TComponentReader::ReadValue() { return ReadValueOfType(TValueType(ReadByte())); }

TPropValue TComponentReader::ReadValueOfType(TValueType Tag)
{
    TPropValue v;
    v.Type = Tag;
    switch (Tag) {
    case vaNull:
    case vaNil:
        break;
    case vaInt8:
        v.Int = qint8(ReadByte());
        break;
    case vaInt16:
        v.Int = qint16(Le(ReadBytes(2)));
        break;
    case vaInt32:
        v.Int = qint32(Le(ReadBytes(4)));
        break;
    case vaExtended:
        v.Float = ExtendedToDouble(ReadBytes(10));
        break;
    case vaString:
        v.Str = QString::fromLatin1(ReadBytes(ReadByte()));
        break;
    case vaIdent:
        v.Str = ReadShortText();
        break;
    case vaFalse:
    case vaTrue:
        v.Bool = Tag == vaTrue;
        break;
    case vaBinary:
        v.Bin = ReadBytes(quint32(Le(ReadBytes(4))));
        break;
    case vaSet:
        for (;;) {
            const QString m = ReadShortText();
            if (m.isEmpty())
                break;
            v.Items.append(m);
        }
        break;
    case vaLString:
        v.Str = QString::fromLatin1(ReadBytes(quint32(Le(ReadBytes(4)))));
        break;
    case vaWString: {
        const QByteArray b = ReadBytes(qint64(quint32(Le(ReadBytes(4)))) * 2);
        v.Str.resize(b.size() / 2);
        for (qsizetype i = 0; i < v.Str.size(); ++i)
            v.Str[i] = QChar(char16_t(quint8(b[2 * i]) | (quint8(b[2 * i + 1]) << 8)));
        break;
    }
    case vaUTF8String:
        v.Str = QString::fromUtf8(ReadBytes(quint32(Le(ReadBytes(4)))));
        break;
    case vaCollection:
        ReadCollection(v);
        break;
    case vaList:
        for (;;) {
            const TPropValue item = ReadValue();
            if (item.Type == vaNull)
                break;
            if (!item.IsString())
                throw EReadError(QStringLiteral("Invalid property value"));
            v.Items.append(item.Str);
        }
        break;
    default:
        throw EReadError(QStringLiteral("Invalid stream format"));
    }
    return v;
}

void TComponentReader::ReadCollection(TPropValue& Value)
{
    // Items may hold collections themselves; a depth no real object has is a broken record (and
    // would otherwise run the stack out).
    constexpr int MaxDepth = 16;
    if (FDepth >= MaxDepth)
        throw EReadError(QStringLiteral("Invalid stream format"));
    ++FDepth;
    try {
        for (;;) {
            quint8 tag = ReadByte();
            if (tag == vaNull)
                break;
            TCollectionEntry entry;
            if (tag == vaInt8 || tag == vaInt16 || tag == vaInt32) {
                entry.HasOrder = true;
                entry.Order = ReadValueOfType(TValueType(tag)).Int;
                tag = ReadByte();
            }
            if (tag != vaList)
                throw EReadError(QStringLiteral("Invalid stream format"));
            for (;;) {
                const QString name = ReadShortText();
                if (name.isEmpty())
                    break;
                TPropValue v = ReadValue();
                if (v.Type == vaNull)
                    throw EReadError(QStringLiteral("Invalid property value"));
                entry.Properties.push_back({name, std::move(v)});
            }
            Value.Entries.push_back(std::move(entry));
        }
    } catch (...) {
        --FDepth;
        throw;
    }
    --FDepth;
}

QString TComponentReader::ReadRecord(const std::function<void(const QString&, const TPropValue&)>& Property)
{
    if (ReadBytes(4) != QByteArrayLiteral("TPF0"))
        throw EReadError(QStringLiteral("Invalid stream format"));
    const QString className = ReadShortText();
    ReadShortText(); // the object name
    for (;;) {
        const QString name = ReadShortText();
        if (name.isEmpty())
            break;
        const TPropValue v = ReadValue();
        if (v.Type == vaNull)
            throw EReadError(QStringLiteral("Invalid property value"));
        if (Property)
            Property(name, v);
    }
    // These objects have no children: the child list must be empty.
    if (ReadByte() != 0)
        throw EReadError(QStringLiteral("Invalid stream format"));
    return className;
}

} // namespace platform
