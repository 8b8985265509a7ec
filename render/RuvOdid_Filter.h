#pragma once
// Filter conditions of the grid: does a cell value match a condition such as "A*", ">=10&<20",
// "(A*|B*)&*x" or ">1/1/2020"? Numbers and dates are read with the program's locale settings.
#include "platform/SysUtils.h"

#include <QChar>
#include <QString>

// The whole condition against one value; case-insensitive compares both upper-cased.
bool MatchFilterCondition(const QString& condition, const QString& value, bool caseSensitive);
// One term (comparison or pattern) against one value, case as given.
bool MatchFilterTerm(const QString& term, const QString& value);
// A date in the order of the short date format with the date separator, optionally followed by a
// blank and a time "h:m" or "h:m:s".
bool ParseDateTimeText(const QString& text, platform::TDateTime& value);
// Decimal separator to ".", thousand separators dropped, everything else kept.
QString NormalizeDecimalText(const QString& text);
QString RemoveBlanksOutsideQuotes(const QString& text);
// 1-based position of the ")" that closes the first "(", 0 when there is none.
int MatchingParenPos(const QString& text);
// The first of "(", ";", "^", "&", "|" outside double quotes (a null character when none);
// `position` gets its 1-based position, 0 when none.
QChar FindOperatorOutsideQuotes(const QString& text, int& position);
