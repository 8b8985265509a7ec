// Filter condition matching: wildcard patterns, comparisons of numbers, dates and texts, and
// terms joined left to right with and/or and parentheses.
#include "render/RuvOdid_Filter.h"

#include <QStringList>

using platform::TDateTime;

namespace {

// Groups nested deeper than this lose their parentheses and run left to right: a condition of
// many "(" can never exhaust the stack.
constexpr int kMaxGroupDepth = 200;

// Three-way comparison of value and operand: two dates as dates, else two numbers as numbers,
// else text by character code over at most 255 characters. Dates go first: where the thousand
// separator is also the date separator, a date would otherwise read as a number.
int CompareFilterValues(const QString& v, const QString& o)
{
    TDateTime dv = 0, dO = 0;
    if (ParseDateTimeText(v, dv) && ParseDateTimeText(o, dO))
        return dv < dO ? -1 : (dv > dO ? 1 : 0);
    const platform::TFormatSettings dot = platform::TFormatSettings::Invariant();
    double nv = 0, no = 0;
    if (platform::TryStrToFloat(NormalizeDecimalText(v), nv, dot) &&
        platform::TryStrToFloat(NormalizeDecimalText(o), no, dot))
        return nv < no ? -1 : (nv > no ? 1 : 0);
    const int c = QStringView(v).left(255).compare(QStringView(o).left(255), Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The operand after a comparison character at `from` (0-based): blanks skipped, then up to a
// blank, the end, or an "&" or "|" outside double quotes (a quoted blank belongs to the operand);
// a double quote at its start or end is dropped, and it is cut to 255 characters.
QString ReadOperand(const QString& term, int from)
{
    int i = from;
    while (i < term.size() && term[i] == u' ') ++i;
    QString op;
    bool inQuote = false;
    for (; i < term.size(); ++i) {
        const QChar c = term[i];
        if (c == u'"') inQuote = !inQuote;
        if (!inQuote && (c == u' ' || c == u'&' || c == u'|')) break;
        op += c;
    }
    if (op.startsWith(u'"')) op.remove(0, 1);
    if (op.endsWith(u'"')) op.chop(1);
    return op.left(255);
}

// The first term separator ("&", "|", ";", "^") outside double quotes; -1 when none.
int FindSeparator(const QString& text)
{
    bool inQuote = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') inQuote = !inQuote;
        if (!inQuote && (c == u'&' || c == u'|' || c == u';' || c == u'^')) return i;
    }
    return -1;
}

bool SegmentAt(QStringView seg, QStringView v, qsizetype at)
{
    if (at < 0 || seg.size() > v.size() - at) return false;
    for (qsizetype k = 0; k < seg.size(); ++k)
        if (seg[k] != u'?' && seg[k] != v[at + k]) return false;
    return true;
}

// "*" any sequence, "?" one character, everything else itself. The parts between stars are
// placed leftmost one after the other (the first anchored at the start, the last at the end),
// which decides the match without backtracking.
bool WildcardMatch(const QString& pattern, const QString& value)
{
    const QStringView v(value);
    if (!pattern.contains(u'*')) return pattern.size() == value.size() && SegmentAt(pattern, v, 0);
    const QStringList parts = pattern.split(u'*');
    const QString& first = parts.front();
    const QString& last = parts.back();
    if (!SegmentAt(first, v, 0)) return false;
    qsizetype lo = first.size();
    const qsizetype lastAt = v.size() - last.size();
    if (lastAt < lo || !SegmentAt(last, v, lastAt)) return false;
    for (qsizetype k = 1; k + 1 < parts.size(); ++k) {
        const QString& seg = parts[k];
        if (seg.isEmpty()) continue;
        qsizetype at = lo;
        while (at + seg.size() <= lastAt && !SegmentAt(seg, v, at)) ++at;
        if (at + seg.size() > lastAt) return false;
        lo = at + seg.size();
    }
    return true;
}

bool PatternMatch(const QString& pattern, const QString& value)
{
    bool negate = false;
    QString p;
    p.reserve(pattern.size());
    for (QChar c : pattern) {
        if (c == u'!') negate = true;
        else if (c != u'"') p += c;
    }
    return WildcardMatch(p, value) != negate;
}

bool Combine(QChar op, bool result, bool value)
{
    switch (op.unicode()) {
    case u'&': return result && value;
    case u'|':
    case u';':
    case u'^': return result || value;
    default: return value; // the first term
    }
}

bool MatchCondition(const QString& condition, const QString& value, bool caseSensitive, int depth)
{
    QString cond = RemoveBlanksOutsideQuotes(platform::Trim(condition));
    if (cond.startsWith(u'=')) cond.remove(0, 1);
    if (depth >= kMaxGroupDepth) {
        QString flat;
        bool inQuote = false;
        for (QChar c : cond) {
            if (c == u'"') inQuote = !inQuote;
            if (!inQuote && (c == u'(' || c == u')')) continue;
            flat += c;
        }
        cond = flat;
    }

    const QString val = caseSensitive ? value : platform::AnsiUpperCase(value);
    auto term = [&](const QString& t) {
        return MatchFilterTerm(caseSensitive ? t : platform::AnsiUpperCase(t), val);
    };

    // Terms and groups from left to right, each combined with the separator before it.
    QChar prevOp;
    bool result = true;
    for (;;) {
        bool v;
        int sep;
        if (cond.startsWith(u'(')) {
            // A "(" without its ")" groups to the end of the condition; text after the ")" up to
            // the next separator does not count.
            const int close = MatchingParenPos(cond);
            const int end = close > 0 ? close : int(cond.size()) + 1;
            v = MatchCondition(cond.mid(1, end - 2), value, caseSensitive, depth + 1);
            cond.remove(0, std::min<int>(end, cond.size()));
            sep = FindSeparator(cond);
        } else {
            sep = FindSeparator(cond);
            v = term(sep < 0 ? cond : cond.left(sep));
        }
        result = Combine(prevOp, result, v);
        if (sep < 0) return result;
        prevOp = cond[sep];
        cond.remove(0, sep + 1);
    }
}

} // namespace

QString NormalizeDecimalText(const QString& text)
{
    const platform::TFormatSettings& fs = platform::FormatSettings();
    QString r;
    r.reserve(text.size());
    for (QChar c : text) {
        if (c == fs.ThousandSeparator) continue;
        r += c == fs.DecimalSeparator ? QChar(u'.') : c;
    }
    return r;
}

QString RemoveBlanksOutsideQuotes(const QString& text)
{
    QString r;
    r.reserve(text.size());
    bool inQuote = false;
    for (QChar c : text) {
        if (c == u'"') inQuote = !inQuote;
        if (c == u' ' && !inQuote) continue;
        r += c;
    }
    return r;
}

int MatchingParenPos(const QString& text)
{
    int depth = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == u'(') ++depth;
        else if (text[i] == u')' && depth > 0 && --depth == 0) return i + 1;
    }
    return 0;
}

QChar FindOperatorOutsideQuotes(const QString& text, int& position)
{
    bool inQuote = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') inQuote = !inQuote;
        if (inQuote) continue;
        if (c == u'(' || c == u';' || c == u'^' || c == u'&' || c == u'|') {
            position = i + 1;
            return c;
        }
    }
    position = 0;
    return {};
}

bool ParseDateTimeText(const QString& text, TDateTime& value)
{
    const platform::TFormatSettings& fs = platform::FormatSettings();
    const QString fmt = platform::UpperCase(fs.ShortDateFormat);
    const int pd = fmt.indexOf(u'D'), pm = fmt.indexOf(u'M'), py = fmt.indexOf(u'Y');
    if (pd < 0 || pm < 0 || py < 0) return false;

    const QChar sep = fs.DateSeparator;
    const int s1 = text.indexOf(sep);
    if (s1 < 0) return false;
    const int s2 = text.indexOf(sep, s1 + 1);
    if (s2 < 0) return false;
    const QString rest = text.mid(s2 + 1);
    const int blank = rest.indexOf(u' ');
    const QString parts[3] = {text.left(s1), text.mid(s1 + 1, s2 - s1 - 1),
                              blank < 0 ? rest : rest.left(blank)};
    int nums[3];
    for (int k = 0; k < 3; ++k)
        if (!platform::TryStrToInt(parts[k], nums[k])) return false;

    // The field order is the order of the letters in the short date format.
    auto rank = [&](int pos) { return int(pos > pd) + int(pos > pm) + int(pos > py); };
    const int day = nums[rank(pd)], month = nums[rank(pm)], year = nums[rank(py)];
    if (day >= 32 || month > 12) return false;

    int hour = 0, minute = 0, second = 0;
    if (blank >= 0) {
        const QString time = rest.mid(blank + 1);
        const QChar ts = fs.TimeSeparator;
        const int t1 = time.indexOf(ts);
        if (t1 < 0) return false;
        if (!platform::TryStrToInt(time.left(t1), hour) || hour > 23) return false;
        const int t2 = time.indexOf(ts, t1 + 1);
        if (t2 >= 0) {
            if (!platform::TryStrToInt(time.mid(t1 + 1, t2 - t1 - 1), minute)) return false;
            if (!platform::TryStrToInt(time.mid(t2 + 1), second) || second > 60) return false;
        } else if (!platform::TryStrToInt(time.mid(t1 + 1), minute)) {
            return false;
        }
        if (minute >= 60) return false;
    }
    TDateTime d = 0, t = 0;
    if (!platform::TryEncodeDate(year, month, day, d)) return false;
    // The reader lets a second of 60 through; encoding the time refuses it.
    if (!platform::TryEncodeTime(hour, minute, second, 0, t)) return false;
    value = d + t;
    return true;
}

bool MatchFilterTerm(const QString& term, const QString& value)
{
    // A comparison that holds decides; one that fails leaves the term to the pattern test, which
    // holds only for a text spelling the term itself.
    const int gtAt = term.indexOf(u'>');
    if (gtAt >= 0) {
        const bool orEqual = gtAt + 1 < term.size() && term[gtAt + 1] == u'=';
        const int c = CompareFilterValues(value, ReadOperand(term, gtAt + 1 + int(orEqual)));
        if (orEqual ? c >= 0 : c > 0) return true;
    }
    const int ltAt = term.indexOf(u'<');
    if (ltAt >= 0) {
        const bool orEqual = ltAt + 1 < term.size() && term[ltAt + 1] == u'=';
        const int c = CompareFilterValues(value, ReadOperand(term, ltAt + 1 + int(orEqual)));
        if (orEqual ? c <= 0 : c < 0) return true;
    }
    return PatternMatch(term, value);
}

bool MatchFilterCondition(const QString& condition, const QString& value, bool caseSensitive)
{
    return MatchCondition(condition, value, caseSensitive, 0);
}
