#pragma once
// Small helpers shared by the grid's file writers and readers.
#include "platform/AtomicFile.h"
#include "platform/SysUtils.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>
#include <functional>

namespace gridfiles {

// The whole content of a file; EFOpenError naming the cause when it cannot be opened.
inline QByteArray ReadWholeFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw platform::EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
    return f.readAll();
}

// Writes a file whole through the atomic writer; EFCreateError naming the cause when that fails.
inline void WriteWholeFile(const QString& FileName, const QByteArray& Data)
{
    QString error;
    if (!platform::WriteFileAtomic(FileName, Data, &error))
        throw platform::EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, error));
}

// Fires a progress handler with round(Part / Whole x 100) (halves to even) when the value differs
// from the one fired last; Last starts at -1 (none fired yet).
inline void Progress(const std::function<void(QObject*, int)>& Handler, QObject* Sender, int& Last,
                     double Part, double Whole)
{
    if (!Handler)
        return;
    const int p = int(platform::Round(Part / Whole * 100.0));
    if (p == Last)
        return;
    Last = p;
    Handler(Sender, p);
}

// The leading integer of a text: blanks skipped, an optional sign, decimal digits or hexadecimal
// digits after "$", "x", "X", "0x" or "0X". Reading stops at the first character that does not
// belong to the number; the digits read so far give the value, and the sign counts only when the
// whole text was the number. An empty text reads as 0.
inline int LeadingInt(const QString& s)
{
    int i = 0;
    const int n = int(s.size());
    while (i < n && s[i] == QLatin1Char(' '))
        ++i;
    bool neg = false;
    if (i < n && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
        neg = s[i] == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && (s[i] == QLatin1Char('$') || s[i] == QLatin1Char('x') || s[i] == QLatin1Char('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && s[i] == QLatin1Char('0') && (s[i + 1] == QLatin1Char('x') || s[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    qint64 v = 0;
    for (; i < n; ++i) {
        const char16_t c = s[i].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit < 0)
            break;
        v = hex ? v * 16 + digit : v * 10 + digit;
        if (v > 0xFFFFFFFFLL)
            v &= 0xFFFFFFFFLL; // keeps the low 32 bits, as the 32-bit value wraps
    }
    const int value = int(quint32(v));
    return i == n && neg ? -value : value;
}

// A text as bytes: ASCII as it stands, every other character as BytesOf gives it, or as a
// decimal character reference where BytesOf gives nothing (the encoding cannot hold it). A
// lone surrogate counts as U+FFFD.
inline QByteArray EncodeWithReferences(const QString& Text, const std::function<QByteArray(char32_t)>& BytesOf)
{
    QByteArray out;
    out.reserve(Text.size());
    const qsizetype n = Text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = Text[i].unicode();
        if (c < 128) {
            out += char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && Text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), Text[++i].unicode());
        else if (QChar::isSurrogate(c))
            c = 0xFFFD;
        const QByteArray b = BytesOf(c);
        if (b.isEmpty())
            out += "&#" + QByteArray::number(uint(c)) + ';';
        else
            out += b;
    }
    return out;
}

} // namespace gridfiles
