#pragma once
// Basic run-time helpers the whole program shares: the one number parser for typed numbers,
// float and date conversions under one set of locale settings, rounding as the program uses it,
// a safe Format over a typed argument list, string helpers and the exception classes.
#include <QString>
#include <QChar>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <variant>

class QLocale;

namespace platform {

// ---------------------------------------------------------------------------------------------
// Exceptions. Every error the program raises is one of these, carrying its English text.
class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& message);
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

class EConvertError : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EInvalidArgument : public Exception { using Exception::Exception; };
class EListError : public Exception { using Exception::Exception; };
class EStringListError : public EListError { using EListError::EListError; };
class EInOutError : public Exception { using Exception::Exception; };
class EFOpenError : public EInOutError { using EInOutError::EInOutError; };
class EFCreateError : public EInOutError { using EInOutError::EInOutError; };
// A silent exception: it ends an operation without anything being reported.
class EAbort : public Exception { using Exception::Exception; };

// ---------------------------------------------------------------------------------------------
// Locale settings. One object for the whole program, filled from the system locale at first use;
// tests assign into it. Nothing else reads the machine's locale.
struct TFormatSettings {
    QChar DecimalSeparator = '.';
    QChar ThousandSeparator = ',';
    QChar DateSeparator = '/';
    QChar TimeSeparator = ':';
    QString ShortDateFormat = "M/d/yyyy";     // tokens: d dd m mm mmm mmmm yy yyyy and "/"
    QString LongDateFormat = "dddd, MMMM d, yyyy";
    QString ShortTimeFormat = "h:mm";         // tokens: h hh n nn s ss z zzz am/pm and ":"
    QString LongTimeFormat = "h:mm:ss";
    QString TimeAMString = "AM";
    QString TimePMString = "PM";
    QString CurrencyString = "$";
    int CurrencyFormat = 0;   // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int CurrencyDecimals = 2;

    // Settings of the given locale (the system locale at start).
    static TFormatSettings FromLocale(const QLocale& locale);
    // Fixed settings that do not depend on the machine: "." decimal, "," thousands,
    // "/" dates in M/d/yyyy, ":" times in h:mm:ss. Tests start from these.
    static TFormatSettings Invariant();
};

// The program's settings; assignable (tests set them).
TFormatSettings& FormatSettings();

// ---------------------------------------------------------------------------------------------
// Integers typed by users: leading blanks skipped, optional sign, decimal, or hexadecimal after
// "$", "x" or "0x" (either letter case). Anything else, trailing blanks included, is not a
// number. Values are 32-bit: hexadecimal above $7FFFFFFF wraps to negative, a decimal overflow
// is not a number.
bool TryStrToInt(const QString& text, int& value);
int StrToIntDef(const QString& text, int def);
int StrToInt(const QString& text);  // EConvertError "'<text>' is not a valid integer value"
bool TryStrToInt64(const QString& text, int64_t& value);
int64_t StrToInt64Def(const QString& text, int64_t def);

QString IntToStr(int64_t value);
// Upper-case hexadecimal, zero-padded to at least `digits` digits; negative values are shown as
// their 32-bit two's complement (as an unsigned 32-bit value).
QString IntToHex(int value, int digits);
QString IntToHex64(int64_t value, int digits);

// ---------------------------------------------------------------------------------------------
// Floating point. Text form: blanks around allowed, optional sign, digits, the decimal separator
// of the settings, digits, optional exponent (E or e, optional sign, digits). No thousands
// separators. At least one digit before or after the separator is needed.
bool TryStrToFloat(const QString& text, double& value, const TFormatSettings& fs = FormatSettings());
double StrToFloat(const QString& text, const TFormatSettings& fs = FormatSettings());  // EConvertError
double StrToFloatDef(const QString& text, double def, const TFormatSettings& fs = FormatSettings());

// General format with 15 significant digits, trailing zeros dropped, the settings' separator;
// scientific ("1.5E-7", "1E20") for values below 0.0001 or with more integer digits than the
// precision.
QString FloatToStr(double value, const TFormatSettings& fs = FormatSettings());

// Rounding as the program uses it: Round is half to even ("banker's"), Trunc cuts toward zero.
// A value whose integer part does not fit 64 bits (NaN and the infinities too) raises
// EConvertError "Invalid floating point operation".
// Integer division in C++ ("/") already truncates toward zero like the design's div, and "%"
// keeps the sign of the dividend like its mod.
int64_t Round(double value);
int64_t Trunc(double value);
double Frac(double value);
// a * b / c computed in 64 bits, rounded half away from zero; -1 for a zero divisor or a result
// that does not fit 32 bits.
int MulDiv(int a, int b, int c);

// ---------------------------------------------------------------------------------------------
// Format(fmt, {args...}): "%" [index ":"] ["-"] [width] ["." precision] type, where width and
// precision may be "*" (taken from the next integer argument). Types: d u (integer; precision is
// a minimum digit count), x (upper-case hexadecimal), e (scientific, precision significant digits,
// default 15, exponent at least three digits), f (fixed, precision decimals, default 2),
// g (general, precision significant digits, default 15), n (as f with thousand separators),
// m (money, CurrencyDecimals by default), s (string; precision is the maximum length), "%%".
// The format string is never handed to printf. A missing argument, a wrong argument kind or an
// unknown type raises EConvertError "Format '<fmt>' invalid or incompatible with argument".
class FormatArg {
public:
    FormatArg(int v) : FValue(int64_t(v)) {}
    FormatArg(unsigned v) : FValue(int64_t(v)) {}
    FormatArg(long v) : FValue(int64_t(v)) {}
    FormatArg(long long v) : FValue(int64_t(v)) {}
    FormatArg(unsigned long v) : FValue(int64_t(v)) {}
    FormatArg(unsigned long long v) : FValue(int64_t(v)) {}
    FormatArg(double v) : FValue(v) {}
    FormatArg(float v) : FValue(double(v)) {}
    FormatArg(const QString& v) : FValue(v) {}
    FormatArg(const char* v) : FValue(QString::fromUtf8(v)) {}
    FormatArg(QChar v) : FValue(QString(v)) {}

    bool IsInteger() const { return std::holds_alternative<int64_t>(FValue); }
    bool IsFloat() const { return std::holds_alternative<double>(FValue); }
    bool IsString() const { return std::holds_alternative<QString>(FValue); }
    int64_t Integer() const { return std::get<int64_t>(FValue); }
    double Float() const { return std::get<double>(FValue); }
    const QString& String() const { return std::get<QString>(FValue); }

private:
    std::variant<int64_t, double, QString> FValue;
};

QString Format(const QString& fmt, std::initializer_list<FormatArg> args,
               const TFormatSettings& fs = FormatSettings());
QString Format(const QString& fmt, const FormatArg* args, int count,
               const TFormatSettings& fs = FormatSettings());

// ---------------------------------------------------------------------------------------------
// Strings.
QString Trim(const QString& s);       // removes characters up to and including blank at both ends
QString TrimLeft(const QString& s);
QString TrimRight(const QString& s);
QString UpperCase(const QString& s);  // only "a" to "z" change
QString LowerCase(const QString& s);  // only "A" to "Z" change
QString AnsiUpperCase(const QString& s);  // every letter
QString AnsiLowerCase(const QString& s);
int CompareStr(const QString& a, const QString& b);   // code-unit order; <0, 0, >0
int CompareText(const QString& a, const QString& b);  // as CompareStr after "A".."Z" to lower
// Linguistic orders used by sorted string lists: letters compare ignoring case first; among texts
// that differ only in case, lower case comes first (AnsiCompareStr).
int AnsiCompareStr(const QString& a, const QString& b);
int AnsiCompareText(const QString& a, const QString& b);
bool SameText(const QString& a, const QString& b);
// Quote: surrounds with `quote` and doubles every `quote` inside.
QString AnsiQuotedStr(const QString& s, QChar quote);
QString QuotedStr(const QString& s);  // with "'"
// Reverse of AnsiQuotedStr from position `pos` (0-based) of `s`; `pos` moves past the closing
// quote (or to the end). A text not starting with `quote` at `pos` is returned empty.
QString AnsiExtractQuotedStr(const QString& s, int& pos, QChar quote);
QString AnsiDequotedStr(const QString& s, QChar quote);
// Replaces every (or the first) occurrence, optionally ignoring case.
QString StringReplace(const QString& s, const QString& from, const QString& to, bool all = true,
                      bool ignoreCase = false);

// ---------------------------------------------------------------------------------------------
// Date and time: TDateTime counts days since 30 December 1899, the fraction is the time of day.
using TDateTime = double;

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
TDateTime EncodeDate(int year, int month, int day);  // EConvertError on an invalid date
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
TDateTime EncodeTime(int hour, int min, int sec, int msec);  // EConvertError on an invalid time
// Decoding, and everything built on it (FormatDateTime, DayOfWeek, the texts), takes the dates of
// years 1 to 9999; any other value (NaN and the infinities too) raises EConvertError
// "Invalid argument to date decode".
void DecodeDate(TDateTime date, int& year, int& month, int& day);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);
int DayOfWeek(TDateTime date);  // 1 = Sunday .. 7 = Saturday
bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);

// Formats with the tokens d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm a/p
// ampm c t tt ddddd "/" ":" and quoted literals; "m" right after "h"/"hh" means minutes.
QString FormatDateTime(const QString& fmt, TDateTime value, const TFormatSettings& fs = FormatSettings());
QString DateToStr(TDateTime value, const TFormatSettings& fs = FormatSettings());     // ShortDateFormat
QString TimeToStr(TDateTime value, const TFormatSettings& fs = FormatSettings());     // LongTimeFormat
QString DateTimeToStr(TDateTime value, const TFormatSettings& fs = FormatSettings()); // date, then time unless midnight
// Date text with the settings' DateSeparator; the field order is that of ShortDateFormat; a
// missing year means the current year; two-digit years within 50 years of now.
bool TryStrToDate(const QString& text, TDateTime& value, const TFormatSettings& fs = FormatSettings());
TDateTime StrToDate(const QString& text, const TFormatSettings& fs = FormatSettings());  // EConvertError
// Time text "h[:n[:s[.z]]]" with the settings' TimeSeparator and an optional AM/PM.
bool TryStrToTime(const QString& text, TDateTime& value, const TFormatSettings& fs = FormatSettings());
TDateTime StrToTime(const QString& text, const TFormatSettings& fs = FormatSettings());  // EConvertError
bool TryStrToDateTime(const QString& text, TDateTime& value, const TFormatSettings& fs = FormatSettings());

// The local clock, through the services (so tests can fix it).
TDateTime Now();
TDateTime Date();
TDateTime Time();

} // namespace platform
