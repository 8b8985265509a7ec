// Number texts with the locale's separators, and small integer helpers.
#include "render/RuvOdid.h"

using platform::FormatSettings;

bool IsDigitChar(QChar ch)
{
    return ch.isDigit();
}

bool IsDigitOrMinusChar(QChar ch)
{
    return IsDigitChar(ch) || ch == u'-';
}

bool IsNumberBodyChar(QChar ch)
{
    const auto& fs = FormatSettings();
    return IsDigitChar(ch) || ch == fs.ThousandSeparator || ch == fs.DecimalSeparator || ch == u'e' ||
           ch == u'E';
}

bool IsSignedNumberChar(QChar ch)
{
    return IsNumberBodyChar(ch) || ch == u'+' || ch == u'-';
}

bool IsNormalizedNumberChar(QChar ch)
{
    return IsDigitChar(ch) || ch == u'-' || ch == u'.' || ch == u'e' || ch == u'E' || ch == u'+';
}

int ClassifyNumberText(const QString& text)
{
    const QChar dec = FormatSettings().DecimalSeparator;
    const QChar thou = FormatSettings().ThousandSeparator;
    bool isInteger = true;
    bool isDecimal = true;
    bool isExponent = true;
    int digits = 0, minus = 0, decimals = 0, exponents = 0;
    qsizetype lastThousand = -1;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        const bool digit = IsDigitChar(c);
        if (digit)
            ++digits;
        if (c == u'-')
            ++minus;
        if (c == dec)
            ++decimals;
        const bool expLetter = c == u'e' || c == u'E';
        if (expLetter) {
            ++exponents;
            if (i == 0)
                isExponent = false;
        }
        if (!(digit || (c == u'-' && i == 0)))
            isInteger = false;
        if (c == thou) {
            if (lastThousand >= 0 && i - lastThousand < 4)
                isDecimal = false;
            lastThousand = i;
        } else if (!(digit || c == dec || (c == u'-' && i == 0))) {
            isDecimal = false;
        }
        if (!(digit || c == dec || expLetter || c == u'+' || c == u'-'))
            isExponent = false;
    }
    if (exponents != 1)
        isExponent = false;
    if (n > 0) {
        const QChar last = text[n - 1];
        if (last == u'+' || last == u'-' || last == u'e' || last == u'E')
            isExponent = false;
    }
    // A text without any digit ("-", ".", ",") is no number.
    if (digits == 0)
        return ntkOther;
    int kind = ntkOther;
    if (isInteger)
        kind = ntkInteger;
    else if (isDecimal)
        kind = ntkDecimal;
    else if (isExponent)
        kind = ntkExponent;
    if (minus > (kind == ntkExponent ? 2 : 1) || decimals > 1)
        kind = ntkOther;
    return kind;
}

QString NumberTextNormalize(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const QChar dec = FormatSettings().DecimalSeparator;
    const QChar thou = FormatSettings().ThousandSeparator;
    QString s = text;
    bool negative = s.startsWith(u'(') && s.endsWith(u')');
    while (s.size() >= 2) {
        const QChar c = s[0];
        if (IsDigitChar(c) || c == dec || c == thou || c == u'e' || c == u'E')
            break;
        if (c == u'-')
            negative = true;
        s.remove(0, 1);
    }
    QString out;
    out.reserve(s.size() + 1);
    for (QChar c : s) {
        if (c == thou)
            continue;
        if (c == dec)
            out += u'.';
        else if (IsNormalizedNumberChar(c))
            out += c;
        else
            break;
    }
    if (negative)
        out.prepend(u'-');
    return out;
}

int ClampToLimits(int value, int lower, int upper)
{
    if (lower == upper)
        return value;
    if (value > upper && upper > 0)
        return upper;
    if (value < lower && lower > 0)
        return lower;
    return value;
}
