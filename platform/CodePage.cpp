#include "platform/CodePage.h"

#include <QHash>
#include <QStringDecoder>

namespace platform {

namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes keep their C1 code.
const char16_t kAnsi80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Code page 437 bytes 0x80..0xFF.
const char16_t kOem80[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

struct Table {
    char16_t Upper[128];            // byte 128 + i -> character
    QHash<char16_t, uchar> Reverse; // character -> byte (upper half only)
    bool FromSystem = false;
};

Table BuildTable(TCodePage cp)
{
    Table t;
    QStringDecoder decoder(cp == TCodePage::Ansi ? "windows-1252" : "IBM437");
    QString decoded;
    if (decoder.isValid()) {
        QByteArray upper(128, '\0');
        for (int i = 0; i < 128; ++i)
            upper[i] = char(128 + i);
        decoded = decoder.decode(upper);
    }
    t.FromSystem = decoded.size() == 128 && !decoder.hasError();
    for (int i = 0; i < 128; ++i) {
        const char16_t c = t.FromSystem ? decoded[i].unicode() : BuiltInUpperHalf(cp, uchar(128 + i)).unicode();
        t.Upper[i] = c;
        if (!t.Reverse.contains(c))
            t.Reverse.insert(c, uchar(128 + i));
    }
    // Where the system's table differs from ours (437 has both micro sign and Greek mu at 0xE6 in
    // different tables), our character is accepted as well when written.
    for (int i = 0; i < 128; ++i) {
        const char16_t c = BuiltInUpperHalf(cp, uchar(128 + i)).unicode();
        if (!t.Reverse.contains(c))
            t.Reverse.insert(c, uchar(128 + i));
    }
    return t;
}

const Table& TableOf(TCodePage cp)
{
    static const Table ansi = BuildTable(TCodePage::Ansi);
    static const Table oem = BuildTable(TCodePage::Oem);
    return cp == TCodePage::Ansi ? ansi : oem;
}

} // namespace

QChar BuiltInUpperHalf(TCodePage cp, unsigned char byte)
{
    if (byte < 128)
        return QChar(byte);
    if (cp == TCodePage::Oem)
        return QChar(kOem80[byte - 128]);
    if (byte < 0xA0)
        return QChar(kAnsi80[byte - 128]);
    return QChar(char16_t(byte));  // 0xA0..0xFF are the Latin-1 characters
}

bool CodePageFromSystem(TCodePage cp)
{
    return TableOf(cp).FromSystem;
}

QByteArray ToCodePage(const QString& text, TCodePage cp)
{
    const Table& t = TableOf(cp);
    // One byte per character at most: written straight into the buffer, cut to length at the end.
    const qsizetype n = text.size();
    const char16_t* in = reinterpret_cast<const char16_t*>(text.utf16());
    QByteArray out(n, Qt::Uninitialized);
    char* o = out.data();
    qsizetype k = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c < 128) {
            o[k++] = char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1]))
            ++i;  // one "?" for the whole character
        const auto it = t.Reverse.constFind(c);
        o[k++] = it != t.Reverse.constEnd() ? char(it.value()) : '?';
    }
    out.truncate(k);
    return out;
}

QString FromCodePage(const QByteArray& bytes, TCodePage cp)
{
    const Table& t = TableOf(cp);
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const uchar u = uchar(b);
        out += u < 128 ? QChar(char16_t(u)) : QChar(t.Upper[u - 128]);
    }
    return out;
}

QString AnsiToOemText(const QString& text)
{
    return FromAnsi(ToOem(text));
}

QString OemToAnsiText(const QString& text)
{
    return FromOem(ToAnsi(text));
}

} // namespace platform
