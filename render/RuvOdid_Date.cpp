// Date texts and date arithmetic.
#include "render/RuvOdid.h"

#include <algorithm>
#include <cmath>

using platform::TDateTime;

namespace {

// Splits "a<sep>b<sep>c" at the first of "/", "." or "-" the text holds; false when a part is
// missing or is not a whole number.
bool SplitDateParts(const QString& text, int& first, int& second, int& third)
{
    QChar sep;
    for (QChar c : {QChar(u'/'), QChar(u'.'), QChar(u'-')}) {
        if (text.contains(c)) {
            sep = c;
            break;
        }
    }
    if (sep.isNull())
        return false;
    const qsizetype p1 = text.indexOf(sep);
    const qsizetype p2 = text.indexOf(sep, p1 + 1);
    if (p2 < 0)
        return false;
    return platform::TryStrToInt(text.left(p1), first) &&
           platform::TryStrToInt(text.mid(p1 + 1, p2 - p1 - 1), second) &&
           platform::TryStrToInt(text.mid(p2 + 1), third);
}

int FullYear(int year)
{
    // Only a two-digit year needs its century; a year written in full stays as written.
    if (year >= 100)
        return year;
    return year <= 25 ? year + 2000 : year + 1900;
}

// Puts the time of day of `from` on the day `day` (before 30 December 1899 the fraction counts
// away from zero, as the day number does).
TDateTime WithTimeOf(TDateTime day, TDateTime from)
{
    const double time = std::fabs(from - std::trunc(from));
    return day >= 0 ? day + time : day - time;
}

} // namespace

TDateTime ParseDateMDY(const QString& text)
{
    int month = 0, day = 0, year = 0;
    if (!SplitDateParts(text, month, day, year))
        return 0;
    return platform::EncodeDate(FullYear(year), month, day);
}

TDateTime ParseDateDMY(const QString& text)
{
    int day = 0, month = 0, year = 0;
    if (!SplitDateParts(text, day, month, year))
        return 0;
    return platform::EncodeDate(FullYear(year), month, day);
}

bool HasTwoSeparators(const QString& text)
{
    const QChar sep = platform::FormatSettings().DateSeparator;
    const qsizetype p = text.indexOf(sep);
    if (p < 1)
        return false;
    const qsizetype q = text.indexOf(sep, p + 1);
    return q > p + 1;
}

TDateTime DateAddParts(short years, short months, short days, double fallback, TDateTime date)
{
    const bool y = years != 0, m = months != 0, d = days != 0;
    if (d && !y && !m)
        return date + days;
    if (!d && (y != m)) {
        int year = 0, month = 0, day = 0;
        platform::DecodeDate(date, year, month, day);
        if (y)
            return WithTimeOf(platform::EncodeDate(year + years, month, day), date);
        // Months carry into years in both directions, and a day past the end of the target
        // month becomes that month's last day (31 January + 1 month = end of February).
        const int total = (year * 12 + (month - 1)) + months;
        const int newYear = total >= 0 ? total / 12 : (total - 11) / 12;
        const int newMonth = total - newYear * 12 + 1;
        const int newDay = std::min(day, platform::DaysInAMonth(newYear, newMonth));
        return WithTimeOf(platform::EncodeDate(newYear, newMonth, newDay), date);
    }
    return date + fallback;
}
