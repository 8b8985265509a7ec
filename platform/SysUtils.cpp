#include "platform/SysUtils.h"
#include "platform/Services.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

Exception::Exception(const QString& message)
    : std::runtime_error(message.toStdString()), FMessage(message)
{
}

// ---------------------------------------------------------------------------------------------
// Locale settings

namespace {

// Turns a Qt date/time pattern into the program's token form (months "m", minutes "n").
QString FromQtDatePattern(const QString& qt)
{
    QString out;
    for (int i = 0; i < qt.size(); ++i) {
        const QChar c = qt[i];
        if (c == 'M')
            out += 'm';
        else if (c == 'm')
            out += 'n';
        else if (c == 'H')
            out += 'h';
        else if (c == 'A' || c == 'a') {
            // "AP"/"ap" is Qt's am/pm marker
            if (i + 1 < qt.size() && (qt[i + 1] == 'P' || qt[i + 1] == 'p'))
                ++i;
            out += "AMPM";
        } else
            out += c;
    }
    return out;
}

QChar FirstSeparator(const QString& pattern, const QString& letters, QChar fallback)
{
    for (QChar c : pattern) {
        if (!c.isLetter() && c != '\'' && !letters.contains(c))
            return c;
    }
    return fallback;
}

} // namespace

TFormatSettings TFormatSettings::Invariant()
{
    return TFormatSettings();
}

TFormatSettings TFormatSettings::FromLocale(const QLocale& locale)
{
    TFormatSettings fs;
    const QString dec = locale.decimalPoint();
    if (!dec.isEmpty())
        fs.DecimalSeparator = dec[0];
    const QString grp = locale.groupSeparator();
    fs.ThousandSeparator = grp.isEmpty() ? QChar(' ') : grp[0];
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    fs.LongDateFormat = FromQtDatePattern(locale.dateFormat(QLocale::LongFormat));
    if (!shortDate.contains(QLatin1String("MMM"))) {
        QString sd = FromQtDatePattern(shortDate);
        // Short dates keep the whole year, as the platform's default short formats do.
        if (sd.count(QLatin1Char('y')) == 2)
            sd.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        fs.ShortDateFormat = sd;
        fs.DateSeparator = FirstSeparator(shortDate, "dMy", '/');
    }
    // else (a short form with month names, as in the "C" locale): the numeric defaults stay.
    const QString longTime = locale.timeFormat(QLocale::LongFormat);
    QString lt = FromQtDatePattern(locale.timeFormat(QLocale::ShortFormat));
    fs.ShortTimeFormat = lt;
    // The long format of some locales carries a time-zone name ("t"): keep up to the seconds.
    QString ltl = FromQtDatePattern(longTime);
    const int tz = ltl.indexOf(QLatin1String(" t"));
    if (tz >= 0)
        ltl = ltl.left(tz);
    fs.LongTimeFormat = ltl;
    fs.TimeSeparator = FirstSeparator(longTime, "hHmsAapPzt", ':');
    fs.TimeAMString = locale.amText();
    fs.TimePMString = locale.pmText();
    fs.CurrencyString = locale.currencySymbol();
    return fs;
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = TFormatSettings::FromLocale(QLocale::system());
    return settings;
}

// ---------------------------------------------------------------------------------------------
// Integers

namespace {

int HexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// bits: 32 or 64. Hexadecimal fills the unsigned range of that width and wraps to negative;
// decimal must fit the signed range.
bool ParseInteger(const QString& text, int bits, int64_t& value)
{
    const int n = text.size();
    int i = 0;
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && text[i] == QLatin1Char('$')) {
        hex = true;
        ++i;
    } else if (i < n && (text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0')
               && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return false;
    uint64_t acc = 0;
    if (hex) {
        const uint64_t limit = bits == 32 ? 0xFFFFFFFFull : 0xFFFFFFFFFFFFFFFFull;
        for (; i < n; ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0)
                return false;
            if (acc > (limit >> 4))
                return false;
            acc = (acc << 4) | uint64_t(d);
        }
        int64_t v = bits == 32 ? int64_t(int32_t(uint32_t(acc))) : int64_t(acc);
        if (negative)
            v = bits == 32 ? int64_t(int32_t(0u - uint32_t(v))) : int64_t(0ull - uint64_t(v));
        value = v;
        return true;
    }
    const uint64_t limit = bits == 32 ? (negative ? 2147483648ull : 2147483647ull)
                                      : (negative ? 9223372036854775808ull : 9223372036854775807ull);
    for (; i < n; ++i) {
        const ushort u = text[i].unicode();
        if (u < '0' || u > '9')
            return false;
        const uint64_t d = u - '0';
        if (acc > (limit - d) / 10)
            return false;
        acc = acc * 10 + d;
    }
    value = negative ? int64_t(0ull - acc) : int64_t(acc);
    return true;
}

} // namespace

bool TryStrToInt(const QString& text, int& value)
{
    int64_t v = 0;
    if (!ParseInteger(text, 32, v))
        return false;
    value = int(v);
    return true;
}

int StrToIntDef(const QString& text, int def)
{
    int v = 0;
    return TryStrToInt(text, v) ? v : def;
}

int StrToInt(const QString& text)
{
    int v = 0;
    if (!TryStrToInt(text, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

bool TryStrToInt64(const QString& text, int64_t& value)
{
    return ParseInteger(text, 64, value);
}

int64_t StrToInt64Def(const QString& text, int64_t def)
{
    int64_t v = 0;
    return TryStrToInt64(text, v) ? v : def;
}

QString IntToStr(int64_t value)
{
    return QString::number(qlonglong(value));
}

QString IntToHex(int value, int digits)
{
    return QString::number(uint32_t(value), 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

QString IntToHex64(int64_t value, int digits)
{
    return QString::number(qulonglong(value), 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

// ---------------------------------------------------------------------------------------------
// Floating point text

namespace {

// Decimal digits of |v|: value = 0.d1d2d3... x 10^exp, 18 significant digits, no leading zero.
// Zero gives an empty digit string.
void DecimalDigits(double v, QString& digits, int& exp)
{
    digits.clear();
    exp = 0;
    if (v == 0)
        return;
    const QString e = QString::number(std::fabs(v), 'e', 17);  // d.ddddddddddddddddde+XX
    const int epos = e.indexOf(QLatin1Char('e'));
    digits = e.left(1) + e.mid(2, epos - 2);
    exp = e.mid(epos + 1).toInt() + 1;
}

// Keeps `keep` significant digits, rounding half away from zero on the decimal digits.
void RoundDigits(QString& digits, int& exp, int keep)
{
    if (digits.isEmpty())
        return;
    if (keep < 0) {
        digits.clear();
        return;
    }
    if (keep >= digits.size())
        return;
    const bool up = digits[keep].unicode() >= '5';
    digits.truncate(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && digits[i] == QLatin1Char('9')) {
            digits[i] = QLatin1Char('0');
            --i;
        }
        if (i < 0) {
            digits.prepend(QLatin1Char('1'));
            ++exp;
            digits.truncate(qMax(keep, 1));
        } else
            digits[i] = QChar(digits[i].unicode() + 1);
    }
    while (!digits.isEmpty() && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
}

QString Special(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString GroupThousands(const QString& intPart, QChar sep)
{
    if (sep.isNull() || intPart.size() <= 3)
        return intPart;
    QString out;
    const int n = intPart.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += sep;
        out += intPart[i];
    }
    return out;
}

// Fixed notation with `decimals` decimals, optionally grouped; "-" only for a non-zero result.
QString FixedText(double v, int decimals, const TFormatSettings& fs, bool grouped)
{
    if (!std::isfinite(v))
        return Special(v);
    QString digits;
    int exp = 0;
    DecimalDigits(v, digits, exp);
    RoundDigits(digits, exp, exp + decimals);
    QString intPart, frac;
    for (int i = 0; i < exp; ++i)
        intPart += i < digits.size() ? digits[i] : QLatin1Char('0');
    if (intPart.isEmpty())
        intPart = QStringLiteral("0");
    for (int i = 0; i < decimals; ++i) {
        const int k = exp + i;
        frac += (k >= 0 && k < digits.size()) ? digits[k] : QLatin1Char('0');
    }
    QString out = grouped ? GroupThousands(intPart, fs.ThousandSeparator) : intPart;
    if (decimals > 0)
        out += fs.DecimalSeparator + frac;
    if (v < 0 && !digits.isEmpty())
        out.prepend(QLatin1Char('-'));
    return out;
}

// The digits of v rounded to `precision` significant ones (1 to 18, else 15) and its decimal
// exponent; `precision` comes back as used.
void SignificantDigits(double v, int& precision, QString& digits, int& exp)
{
    if (precision < 1 || precision > 18)
        precision = 15;
    DecimalDigits(v, digits, exp);
    RoundDigits(digits, exp, precision);
}

// General notation with `precision` significant digits.
QString GeneralText(double v, int precision, const TFormatSettings& fs)
{
    if (!std::isfinite(v))
        return Special(v);
    QString digits;
    int exp = 0;
    SignificantDigits(v, precision, digits, exp);
    if (digits.isEmpty())
        return QStringLiteral("0");
    QString out;
    const int sciExp = exp - 1;
    if (exp > precision || exp < -3) {
        out = digits.left(1);
        if (digits.size() > 1)
            out += fs.DecimalSeparator + digits.mid(1);
        out += QLatin1Char('E');
        if (sciExp < 0)
            out += QLatin1Char('-');
        out += QString::number(std::abs(sciExp));
    } else if (exp <= 0) {
        out = QStringLiteral("0") + fs.DecimalSeparator + QString(-exp, QLatin1Char('0')) + digits;
    } else {
        for (int i = 0; i < exp; ++i)
            out += i < digits.size() ? digits[i] : QLatin1Char('0');
        if (digits.size() > exp)
            out += fs.DecimalSeparator + digits.mid(exp);
    }
    if (v < 0)
        out.prepend(QLatin1Char('-'));
    return out;
}

// Scientific notation: d.ddd (precision digits in all) E sign and at least `expDigits` digits.
QString ExponentText(double v, int precision, int expDigits, const TFormatSettings& fs)
{
    if (!std::isfinite(v))
        return Special(v);
    QString digits;
    int exp = 0;
    SignificantDigits(v, precision, digits, exp);
    const bool zero = digits.isEmpty();
    digits = digits.leftJustified(precision, QLatin1Char('0'));
    const int sciExp = zero ? 0 : exp - 1;
    QString out = digits.left(1);
    if (precision > 1)
        out += fs.DecimalSeparator + digits.mid(1);
    out += QLatin1Char('E');
    out += sciExp < 0 ? QLatin1Char('-') : QLatin1Char('+');
    out += QString::number(std::abs(sciExp)).rightJustified(expDigits, QLatin1Char('0'));
    if (v < 0 && !zero)
        out.prepend(QLatin1Char('-'));
    return out;
}

} // namespace

bool TryStrToFloat(const QString& text, double& value, const TFormatSettings& fs)
{
    const int n = text.size();
    int i = 0;
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    int end = n;
    while (end > i && text[end - 1] == QLatin1Char(' '))
        --end;
    QByteArray ascii;
    ascii.reserve(end - i + 1);
    // Copy a sign, and a run of digits (counted), from the text as ASCII.
    const auto takeSign = [&] {
        if (i < end && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
            ascii += char(text[i++].unicode());
    };
    const auto takeDigits = [&] {
        int count = 0;
        for (; i < end && text[i].unicode() >= '0' && text[i].unicode() <= '9'; ++count)
            ascii += char(text[i++].unicode());
        return count;
    };
    takeSign();
    int mantissaDigits = takeDigits();
    if (i < end && text[i] == fs.DecimalSeparator) {
        ascii += '.';
        ++i;
        mantissaDigits += takeDigits();
    }
    if (mantissaDigits == 0)
        return false;
    if (i < end && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ascii += 'e';
        ++i;
        takeSign();
        if (takeDigits() == 0)
            return false;
    }
    if (i != end)
        return false;
    // The checked digits convert directly; only a value beyond the double range takes the slower
    // locale conversion, which decides it as before.
    const char* first = ascii.constData() + (ascii.startsWith('+') ? 1 : 0);
    double direct = 0;
    const auto [ptr, ec] = std::from_chars(first, ascii.constData() + ascii.size(), direct);
    if (ec == std::errc() && ptr == ascii.constData() + ascii.size() && std::isfinite(direct)) {
        value = direct;
        return true;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(QString::fromLatin1(ascii), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

double StrToFloat(const QString& text, const TFormatSettings& fs)
{
    double v = 0;
    if (!TryStrToFloat(text, v, fs))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}

double StrToFloatDef(const QString& text, double def, const TFormatSettings& fs)
{
    double v = 0;
    return TryStrToFloat(text, v, fs) ? v : def;
}

QString FloatToStr(double value, const TFormatSettings& fs)
{
    return GeneralText(value, 15, fs);
}

// ---------------------------------------------------------------------------------------------
// Rounding

namespace {

// A double that has a 64-bit integer part, truncated; anything else (NaN and the infinities
// included) cannot be converted and raises the conversion error rather than leaving the result
// undefined.
double CheckedIntegerPart(double value)
{
    // -2^63 and 2^63 are exact doubles; every double in between truncates into int64_t.
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        throw EConvertError(QStringLiteral("Invalid floating point operation"));
    return std::trunc(value);
}

} // namespace

int64_t Round(double value)
{
    const double t = CheckedIntegerPart(value);
    const double diff = value - t;
    double r = std::round(value);
    if (std::fabs(diff) == 0.5) {
        // halfway: to the even neighbour
        r = std::fmod(t, 2.0) == 0 ? t : t + (diff > 0 ? 1.0 : -1.0);
    }
    return int64_t(CheckedIntegerPart(r));
}

int64_t Trunc(double value)
{
    return int64_t(CheckedIntegerPart(value));
}

double Frac(double value)
{
    return value - std::trunc(value);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const int64_t p = int64_t(a) * int64_t(b);
    const bool negative = (p < 0) != (c < 0);
    const uint64_t ap = p < 0 ? uint64_t(0) - uint64_t(p) : uint64_t(p);
    const uint64_t ac = c < 0 ? uint64_t(0) - uint64_t(int64_t(c)) : uint64_t(c);
    const uint64_t q = (ap + ac / 2) / ac;
    if (q > (negative ? 2147483648ull : 2147483647ull))
        return -1;
    return negative ? int(int64_t(0) - int64_t(q)) : int(q);
}

// ---------------------------------------------------------------------------------------------
// Format

QString Format(const QString& fmt, std::initializer_list<FormatArg> args, const TFormatSettings& fs)
{
    return Format(fmt, args.begin(), int(args.size()), fs);
}

QString Format(const QString& fmt, const FormatArg* args, int count, const TFormatSettings& fs)
{
    const auto bad = [&fmt]() {
        return EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(fmt));
    };
    QString out;
    int argIndex = 0;
    const int n = fmt.size();
    int i = 0;
    // Reads a number or "*" (from the argument list); -1 when absent.
    const auto readNumber = [&](int& pos) -> int {
        if (pos < n && fmt[pos] == QLatin1Char('*')) {
            ++pos;
            if (argIndex >= count || !args[argIndex].IsInteger())
                throw bad();
            // A width or precision taken from the arguments is held to the same bound as one
            // written in digits: a field of billions of blanks is no text anyone asked for.
            return int(std::clamp<int64_t>(args[argIndex++].Integer(), -100000, 100000));
        }
        if (pos >= n || fmt[pos].unicode() < '0' || fmt[pos].unicode() > '9')
            return -1;
        int v = 0;
        while (pos < n && fmt[pos].unicode() >= '0' && fmt[pos].unicode() <= '9') {
            v = qMin(v * 10 + (fmt[pos].unicode() - '0'), 100000);
            ++pos;
        }
        return v;
    };
    while (i < n) {
        const QChar c = fmt[i];
        if (c != QLatin1Char('%')) {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i >= n)
            throw bad();
        if (fmt[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        // [index ":"]
        int save = i;
        int num = readNumber(i);
        if (num >= 0 && i < n && fmt[i] == QLatin1Char(':')) {
            argIndex = num;
            ++i;
        } else {
            // not an index: re-read from the start of the field (a "*" consumed an argument)
            if (save < n && fmt[save] == QLatin1Char('*'))
                --argIndex;
            i = save;
        }
        bool left = false;
        if (i < n && fmt[i] == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        int width = readNumber(i);
        int prec = -1;
        if (i < n && fmt[i] == QLatin1Char('.')) {
            ++i;
            prec = readNumber(i);
            if (prec < 0)
                prec = 0;
        }
        if (i >= n)
            throw bad();
        const QChar type = fmt[i].toLower();
        ++i;
        if (argIndex < 0 || argIndex >= count)
            throw bad();
        const FormatArg& arg = args[argIndex++];
        QString field;
        const auto number = [&]() -> double {
            if (arg.IsFloat())
                return arg.Float();
            if (arg.IsInteger())
                return double(arg.Integer());
            throw bad();
        };
        switch (type.unicode()) {
        case 'd':
        case 'u': {
            if (!arg.IsInteger())
                throw bad();
            int64_t v = arg.Integer();
            if (type == QLatin1Char('u') && v < 0 && v >= std::numeric_limits<int32_t>::min())
                v = int64_t(uint32_t(int32_t(v)));
            QString digits = QString::number(qulonglong(v < 0 ? uint64_t(0) - uint64_t(v) : uint64_t(v)));
            if (prec > 0)
                digits = digits.rightJustified(prec, QLatin1Char('0'));
            field = v < 0 ? QStringLiteral("-") + digits : digits;
            break;
        }
        case 'x': {
            if (!arg.IsInteger())
                throw bad();
            const int64_t v = arg.Integer();
            const bool fits32 = v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<uint32_t>::max();
            field = fits32 ? QString::number(uint32_t(v), 16) : QString::number(qulonglong(v), 16);
            field = field.toUpper();
            if (prec > 0)
                field = field.rightJustified(prec, QLatin1Char('0'));
            break;
        }
        case 'e':
            field = ExponentText(number(), prec < 0 ? 15 : prec, 3, fs);
            break;
        case 'f':
            field = FixedText(number(), prec < 0 ? 2 : qMin(prec, 18), fs, false);
            break;
        case 'g':
            field = GeneralText(number(), prec < 0 ? 15 : prec, fs);
            break;
        case 'n':
            field = FixedText(number(), prec < 0 ? 2 : qMin(prec, 18), fs, true);
            break;
        case 'm': {
            const double v = number();
            QString amount = FixedText(std::fabs(v), prec < 0 ? fs.CurrencyDecimals : qMin(prec, 18), fs, true);
            switch (fs.CurrencyFormat) {
            case 1: amount = amount + fs.CurrencyString; break;
            case 2: amount = fs.CurrencyString + QLatin1Char(' ') + amount; break;
            case 3: amount = amount + QLatin1Char(' ') + fs.CurrencyString; break;
            default: amount = fs.CurrencyString + amount; break;
            }
            field = v < 0 ? QStringLiteral("-") + amount : amount;
            break;
        }
        case 's':
            if (!arg.IsString())
                throw bad();
            field = arg.String();
            if (prec >= 0 && field.size() > prec)
                field.truncate(prec);
            break;
        default:
            throw bad();
        }
        if (width > field.size())
            field = left ? field.leftJustified(width, QLatin1Char(' ')) : field.rightJustified(width, QLatin1Char(' '));
        out += field;
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Strings

QString Trim(const QString& s)
{
    int b = 0, e = s.size();
    while (b < e && s[b].unicode() <= ' ')
        ++b;
    while (e > b && s[e - 1].unicode() <= ' ')
        --e;
    return s.mid(b, e - b);
}

QString TrimLeft(const QString& s)
{
    int b = 0;
    while (b < s.size() && s[b].unicode() <= ' ')
        ++b;
    return s.mid(b);
}

QString TrimRight(const QString& s)
{
    int e = s.size();
    while (e > 0 && s[e - 1].unicode() <= ' ')
        --e;
    return s.left(e);
}

QString UpperCase(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 32);
    return r;
}

QString LowerCase(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + 32);
    return r;
}

QString AnsiUpperCase(const QString& s)
{
    return s.toUpper();
}

QString AnsiLowerCase(const QString& s)
{
    return s.toLower();
}

int CompareStr(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseSensitive);
}

int CompareText(const QString& a, const QString& b)
{
    return QString::compare(LowerCase(a), LowerCase(b), Qt::CaseSensitive);
}

int AnsiCompareText(const QString& a, const QString& b)
{
    return QString::compare(a.toLower(), b.toLower(), Qt::CaseSensitive);
}

int AnsiCompareStr(const QString& a, const QString& b)
{
    const int r = AnsiCompareText(a, b);
    if (r != 0)
        return r;
    // Same letters: the first position where the case differs decides, lower case first.
    const int n = qMin(a.size(), b.size());
    for (int i = 0; i < n; ++i) {
        if (a[i] != b[i]) {
            if (a[i].isLower() && !b[i].isLower())
                return -1;
            if (!a[i].isLower() && b[i].isLower())
                return 1;
            return a[i].unicode() < b[i].unicode() ? -1 : 1;
        }
    }
    return a.size() - b.size();
}

bool SameText(const QString& a, const QString& b)
{
    return CompareText(a, b) == 0;
}

QString AnsiQuotedStr(const QString& s, QChar quote)
{
    QString r(quote);
    for (QChar c : s) {
        r += c;
        if (c == quote)
            r += c;
    }
    r += quote;
    return r;
}

QString QuotedStr(const QString& s)
{
    return AnsiQuotedStr(s, QLatin1Char('\''));
}

QString AnsiExtractQuotedStr(const QString& s, int& pos, QChar quote)
{
    if (pos >= s.size() || s[pos] != quote)
        return QString();
    QString r;
    int i = pos + 1;
    while (i < s.size()) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                r += quote;
                i += 2;
                continue;
            }
            ++i;
            pos = i;
            return r;
        }
        r += s[i++];
    }
    pos = i;
    return r;
}

QString AnsiDequotedStr(const QString& s, QChar quote)
{
    int pos = 0;
    if (s.isEmpty() || s[0] != quote)
        return s;
    const QString r = AnsiExtractQuotedStr(s, pos, quote);
    // Not a fully quoted text (no closing quote or text after it): unchanged.
    if (pos != s.size() || s.size() < 2 || s[s.size() - 1] != quote)
        return s;
    return r;
}

QString StringReplace(const QString& s, const QString& from, const QString& to, bool all, bool ignoreCase)
{
    if (from.isEmpty())
        return s;
    const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QString r;
    int pos = 0;
    while (true) {
        const int k = s.indexOf(from, pos, cs);
        if (k < 0)
            break;
        r += s.mid(pos, k - pos) + to;
        pos = k + from.size();
        if (!all)
            break;
    }
    r += s.mid(pos);
    return r;
}

// ---------------------------------------------------------------------------------------------
// Date and time

namespace {

const qint64 kDelta = QDate(1899, 12, 30).toJulianDay();
const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                                   "August", "September", "October", "November", "December"};
const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// The date-times the calendar holds: 1 January 0001 up to the end of 31 December 9999. Others
// (NaN and the infinities included) raise the conversion error.
void CheckDateTime(TDateTime d)
{
    if (!(d >= -693593.0 && d < 2958466.0))
        throw EConvertError(QStringLiteral("Invalid argument to date decode"));
}

QDate ToQDate(TDateTime d)
{
    CheckDateTime(d);
    return QDate::fromJulianDay(kDelta + qint64(std::trunc(d)));
}

// Milliseconds of the time of day, rounded to the millisecond.
int TimeMs(TDateTime t)
{
    CheckDateTime(t);
    const double f = std::fabs(Frac(t));
    int ms = int(std::llround(f * 86400000.0));
    if (ms >= 86400000)
        ms = 86400000 - 1;
    return ms;
}

} // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    date = double(QDate(year, month, day).toJulianDay() - kDelta);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime d = 0;
    if (!TryEncodeDate(year, month, day, d))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return d;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return false;
    time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / 86400000.0;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime t = 0;
    if (!TryEncodeTime(hour, min, sec, msec, t))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return t;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day)
{
    const QDate d = ToQDate(date);
    year = d.year();
    month = d.month();
    day = d.day();
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec)
{
    int ms = TimeMs(time);
    hour = ms / 3600000;
    ms %= 3600000;
    min = ms / 60000;
    ms %= 60000;
    sec = ms / 1000;
    msec = ms % 1000;
}

int DayOfWeek(TDateTime date)
{
    return ToQDate(date).dayOfWeek() % 7 + 1;
}

QString FormatDateTime(const QString& fmt, TDateTime value, const TFormatSettings& fs)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    const QString f = fmt.isEmpty() ? QStringLiteral("c") : fmt;
    // Does an am/pm marker follow anywhere? Then hours are 12-hour.
    const QString upper = f.toUpper();
    const bool twelve = upper.contains(QLatin1String("AM/PM")) || upper.contains(QLatin1String("A/P"))
                        || upper.contains(QLatin1String("AMPM"));
    QString out;
    bool lastWasHour = false;
    int i = 0;
    const int n = f.size();
    const auto count = [&](QChar ch) {
        int k = 0;
        while (i + k < n && f[i + k].toLower() == ch)
            ++k;
        return k;
    };
    while (i < n) {
        const QChar c = f[i];
        const QChar lc = c.toLower();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            int j = i + 1;
            while (j < n && f[j] != c)
                out += f[j++];
            i = qMin(j + 1, n);
            continue;
        }
        if (c == QLatin1Char('/')) {
            out += fs.DateSeparator;
            ++i;
            continue;
        }
        if (c == QLatin1Char(':')) {
            out += fs.TimeSeparator;
            ++i;
            continue;
        }
        if (lc == 'a') {
            const QString rest = f.mid(i, 5).toUpper();
            const bool pm = h >= 12;
            if (rest.startsWith(QLatin1String("AM/PM"))) {
                out += pm ? QStringLiteral("pm") : QStringLiteral("am");
                if (f[i].isUpper())
                    out = out.left(out.size() - 2) + (pm ? QStringLiteral("PM") : QStringLiteral("AM"));
                i += 5;
                continue;
            }
            if (rest.startsWith(QLatin1String("A/P"))) {
                const QString m = pm ? QStringLiteral("p") : QStringLiteral("a");
                out += f[i].isUpper() ? m.toUpper() : m;
                i += 3;
                continue;
            }
            if (rest.startsWith(QLatin1String("AMPM"))) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                i += 4;
                continue;
            }
            out += c;
            ++i;
            continue;
        }
        if (lc == 'c') {
            out += FormatDateTime(fs.ShortDateFormat, value, fs);
            if (TimeMs(value) != 0)
                out += QLatin1Char(' ') + FormatDateTime(fs.LongTimeFormat, value, fs);
            ++i;
            lastWasHour = false;
            continue;
        }
        if (QStringView(u"dymhnszt").contains(lc)) {
            const int k = count(lc);
            i += k;
            // The number, or with `pad` the number with leading zeros to `width` digits.
            const auto num = [](int v, bool pad, int width = 2) {
                return pad ? QString::number(v).rightJustified(width, QLatin1Char('0')) : QString::number(v);
            };
            switch (lc.unicode()) {
            case 'd': {
                const int dow = DayOfWeek(value) - 1;
                switch (k) {
                case 1:
                case 2: out += num(d, k == 2); break;
                case 3: out += QLatin1String(kShortDays[dow]); break;
                case 4: out += QLatin1String(kLongDays[dow]); break;
                case 5: out += FormatDateTime(fs.ShortDateFormat, value, fs); break;
                default: out += FormatDateTime(fs.LongDateFormat, value, fs); break;
                }
                break;
            }
            case 'y': out += k <= 2 ? num(y % 100, true) : num(y, true, 4); break;
            case 'm':
                if (lastWasHour && k <= 2)
                    out += num(mi, k == 2);
                else if (k <= 2)
                    out += num(mo, k == 2);
                else
                    out += QLatin1String(k == 3 ? kShortMonths[mo - 1] : kLongMonths[mo - 1]);
                break;
            case 'h': out += num(twelve ? (h % 12 == 0 ? 12 : h % 12) : h, k > 1); break;
            case 'n': out += num(mi, k > 1); break;
            case 's': out += num(s, k > 1); break;
            case 'z': out += num(ms, k >= 3, 3); break;
            default: out += FormatDateTime(k == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, value, fs); break;
            }
            lastWasHour = lc == 'h';
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

QString DateToStr(TDateTime value, const TFormatSettings& fs)
{
    return FormatDateTime(fs.ShortDateFormat, value, fs);
}

QString TimeToStr(TDateTime value, const TFormatSettings& fs)
{
    return FormatDateTime(fs.LongTimeFormat, value, fs);
}

QString DateTimeToStr(TDateTime value, const TFormatSettings& fs)
{
    return FormatDateTime(QStringLiteral("c"), value, fs);
}

namespace {

// Splits `text` at `sep` into numbers; false when a part is not a plain number.
bool ReadNumbers(const QString& text, QChar sep, QList<int>& numbers)
{
    const QStringList parts = text.split(sep);
    for (const QString& p : parts) {
        const QString t = Trim(p);
        if (t.isEmpty() || t.size() > 9)
            return false;
        for (QChar c : t)
            if (c.unicode() < '0' || c.unicode() > '9')
                return false;
        numbers.append(t.toInt());
    }
    return true;
}

} // namespace

bool TryStrToDate(const QString& text, TDateTime& value, const TFormatSettings& fs)
{
    const QString t = Trim(text);
    if (t.isEmpty())
        return false;
    QList<int> nums;
    if (!ReadNumbers(t, fs.DateSeparator, nums) || nums.size() < 2 || nums.size() > 3)
        return false;
    // Field order from the short date format: the first of d, m, y that appears.
    QString order;
    for (QChar c : fs.ShortDateFormat.toLower()) {
        if ((c == 'd' || c == 'm' || c == 'y') && !order.contains(c))
            order += c;
    }
    if (order.size() != 3)
        order = QStringLiteral("mdy");
    int y = 0, m = 0, d = 0;
    bool haveYear = nums.size() == 3;
    if (haveYear) {
        for (int k = 0; k < 3; ++k) {
            if (order[k] == 'd') d = nums[k];
            else if (order[k] == 'm') m = nums[k];
            else y = nums[k];
        }
    } else {
        const QString md = QString(order).remove(QLatin1Char('y'));
        if (md == QLatin1String("dm")) {
            d = nums[0];
            m = nums[1];
        } else {
            m = nums[0];
            d = nums[1];
        }
    }
    const QDate today = ToQDate(Now());
    if (!haveYear)
        y = today.year();
    else if (y < 100) {
        // two-digit year within fifty years of now
        const int century = today.year() - today.year() % 100;
        y += century;
        if (y < today.year() - 50)
            y += 100;
        else if (y > today.year() + 50)
            y -= 100;
    }
    return TryEncodeDate(y, m, d, value);
}

namespace {

// What a Try... conversion reads from `text`, or the conversion error naming the text and `what`
// it is not.
TDateTime Converted(bool (*tryConvert)(const QString&, TDateTime&, const TFormatSettings&), const QString& text,
                    const TFormatSettings& fs, QLatin1String what)
{
    TDateTime v = 0;
    if (!tryConvert(text, v, fs))
        throw EConvertError(QStringLiteral("'%1' is not a valid %2").arg(text, what));
    return v;
}

} // namespace

TDateTime StrToDate(const QString& text, const TFormatSettings& fs)
{
    return Converted(&TryStrToDate, text, fs, QLatin1String("date"));
}

bool TryStrToTime(const QString& text, TDateTime& value, const TFormatSettings& fs)
{
    QString t = Trim(text);
    if (t.isEmpty())
        return false;
    int ampm = 0;  // 1 am, 2 pm
    const QString up = t.toUpper();
    const QStringList am = {fs.TimeAMString.toUpper(), QStringLiteral("AM"), QStringLiteral("A")};
    const QStringList pm = {fs.TimePMString.toUpper(), QStringLiteral("PM"), QStringLiteral("P")};
    // The first marker that ends the text, pm markers before am ones.
    for (const auto& [marks, kind] : {std::pair{&pm, 2}, std::pair{&am, 1}})
        for (const QString& m : *marks)
            if (!m.isEmpty() && ampm == 0 && up.endsWith(m)) {
                ampm = kind;
                t = Trim(t.left(t.size() - m.size()));
            }
    int msec = 0;
    const int dot = t.indexOf(QLatin1Char('.'));
    if (dot >= 0 && fs.TimeSeparator != QLatin1Char('.')) {
        bool ok = false;
        msec = t.mid(dot + 1).toInt(&ok);
        if (!ok || t.mid(dot + 1).isEmpty())
            return false;
        t = t.left(dot);
    }
    QList<int> nums;
    if (!ReadNumbers(t, fs.TimeSeparator, nums) || nums.isEmpty() || nums.size() > 3)
        return false;
    int h = nums[0];
    const int mi = nums.size() > 1 ? nums[1] : 0;
    const int s = nums.size() > 2 ? nums[2] : 0;
    if (ampm != 0) {
        if (h < 1 || h > 12)
            return false;
        h = h % 12 + (ampm == 2 ? 12 : 0);
    }
    return TryEncodeTime(h, mi, s, msec, value);
}

TDateTime StrToTime(const QString& text, const TFormatSettings& fs)
{
    return Converted(&TryStrToTime, text, fs, QLatin1String("time"));
}

bool TryStrToDateTime(const QString& text, TDateTime& value, const TFormatSettings& fs)
{
    const QString t = Trim(text);
    const int sp = t.indexOf(QLatin1Char(' '));
    if (sp < 0) {
        if (TryStrToDate(t, value, fs))
            return true;
        return TryStrToTime(t, value, fs);
    }
    TDateTime d = 0, tm = 0;
    if (!TryStrToDate(t.left(sp), d, fs) || !TryStrToTime(t.mid(sp + 1), tm, fs))
        return false;
    value = d + (d < 0 ? -tm : tm);
    return true;
}

TDateTime Now()
{
    const QDateTime now = TheServices().LocalTime();
    return double(now.date().toJulianDay() - kDelta) + now.time().msecsSinceStartOfDay() / 86400000.0;
}

TDateTime Date()
{
    return std::trunc(Now());
}

TDateTime Time()
{
    return Frac(Now());
}

} // namespace platform
