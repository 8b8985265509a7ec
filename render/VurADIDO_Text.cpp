// Text helpers of the mini-language: colours, searching, plain text, escaping, highlighting and
// the in-text CONTROL tags. Nothing here draws.
#include "render/VurADIDO.h"
#include "render/VurADIDO_Internal.h"

#include "platform/PlatformInfo.h"

#include <QHash>
#include <algorithm>
#include <climits>

namespace {

TColor gHighlightColor = clHighlight;
TColor gHighlightTextColor = clHighlightText;
// Set once when the unit starts.
bool gXPFlag = IsWinXPOrLater();


const QHash<QString, TColor>& ColorNames()
{
    static const QHash<QString, TColor> names = {
        {QStringLiteral("clred"), 0x0000FF},       {QStringLiteral("clblack"), 0},
        {QStringLiteral("clblue"), 0xFF0000},      {QStringLiteral("clgreen"), 0x008000},
        {QStringLiteral("claqua"), 0xFFFF00},      {QStringLiteral("clyellow"), 0x00FFFF},
        {QStringLiteral("clfuchsia"), 0xFF00FF},   {QStringLiteral("clwhite"), 0xFFFFFF},
        {QStringLiteral("cllime"), 0x00FF00},      {QStringLiteral("clsilver"), 0xC0C0C0},
        {QStringLiteral("clgray"), 0x808080},      {QStringLiteral("clolive"), 0x008080},
        {QStringLiteral("clnavy"), 0x800000},      {QStringLiteral("clpurple"), 0x800080},
        {QStringLiteral("clteal"), 0x808000},      {QStringLiteral("clmaroon"), 0x000080},
        {QStringLiteral("clbackground"), SysColor(0x01)},
        {QStringLiteral("clactivecaption"), SysColor(0x02)},
        {QStringLiteral("clinactivecaption"), SysColor(0x03)},
        {QStringLiteral("clmenu"), SysColor(0x04)},
        {QStringLiteral("clwindow"), SysColor(0x05)},
        {QStringLiteral("clwindowframe"), SysColor(0x06)},
        {QStringLiteral("clmenutext"), SysColor(0x07)},
        {QStringLiteral("clwindowtext"), SysColor(0x08)},
        {QStringLiteral("clcaptiontext"), SysColor(0x09)},
        {QStringLiteral("clactiveborder"), SysColor(0x0A)},
        {QStringLiteral("clinactiveborder"), SysColor(0x0B)},
        {QStringLiteral("clappworkspace"), SysColor(0x0C)},
        {QStringLiteral("clhighlight"), SysColor(0x0D)},
        {QStringLiteral("clhighlighttext"), SysColor(0x0E)},
        {QStringLiteral("clbtnface"), SysColor(0x0F)},
        {QStringLiteral("clbtnshadow"), SysColor(0x10)},
        {QStringLiteral("clgraytext"), SysColor(0x11)},
        {QStringLiteral("clbtntext"), SysColor(0x12)},
        {QStringLiteral("clinactivecaptiontext"), SysColor(0x13)},
        {QStringLiteral("clbtnhighlight"), SysColor(0x14)},
        {QStringLiteral("cl3ddkshadow"), SysColor(0x15)},
        {QStringLiteral("cl3dlight"), SysColor(0x16)},
        {QStringLiteral("clinfotext"), SysColor(0x17)},
        {QStringLiteral("clinfobk"), SysColor(0x18)},
    };
    return names;
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    return -1;
}

// Upper case of one character, length-preserving (locale-aware searches).
QString UpperKeepLength(const QString& text)
{
    QString r = text;
    for (QChar& c : r) c = c.toUpper();
    return r;
}

// ---- CONTROL tags ----

struct ControlTag {
    int Start = -1;  // index of "<"
    int End = -1;    // index after ">"
    QString Type, Id, Value, Width, Height, Prop, MaxLen;
    bool HasHeight = false, HasProp = false, HasMaxLen = false;
};

// The attributes are read with AttrValue: the text between the first double quote after the
// name and the next one.
void ParseTagInto(const QString& tag, ControlTag& c)
{
    using vuradido::AttrValue;
    const QString upper = MarkupUpperAscii(tag);
    c.Type = MarkupUpperAscii(AttrValue(tag, upper, QStringLiteral("TYPE=")));
    c.Width = AttrValue(tag, upper, QStringLiteral("WIDTH="));
    c.Height = AttrValue(tag, upper, QStringLiteral("HEIGHT="), &c.HasHeight);
    c.Id = AttrValue(tag, upper, QStringLiteral("ID="));
    c.Value = MarkupUnescape(AttrValue(tag, upper, QStringLiteral("VALUE=")), true);
    c.Prop = MarkupUnescape(AttrValue(tag, upper, QStringLiteral("PROP="), &c.HasProp), true);
    c.MaxLen = AttrValue(tag, upper, QStringLiteral("MAXLEN="), &c.HasMaxLen);
}

// Every CONTROL tag of the text, in text order.
QList<ControlTag> ControlTags(const QString& text)
{
    QList<ControlTag> tags;
    const QString upper = MarkupUpperAscii(text);
    int from = 0;
    for (;;) {
        const int p = upper.indexOf(QStringLiteral("<CONTROL "), from);
        if (p < 0) break;
        const int q = text.indexOf(u'>', p);
        if (q < 0) break;
        ControlTag c;
        c.Start = p;
        c.End = q + 1;
        ParseTagInto(text.mid(p, q + 1 - p), c);
        tags.append(c);
        from = q + 1;
    }
    return tags;
}

const ControlTag* FindControl(const QList<ControlTag>& tags, const QString& id)
{
    for (const ControlTag& c : tags)
        if (c.Id == id) return &c;
    return nullptr;
}

QString Quoted(const QString& s) { return u'"' + s + u'"'; }

// Rebuilds one tag with a new value; attributes the rebuild does not know are dropped.
QString RebuildControlTag(const ControlTag& c, const QString& value)
{
    QString tag = QStringLiteral("<CONTROL ID=") + Quoted(c.Id) + QStringLiteral(" VALUE=") +
                  Quoted(MarkupEscape(value, true)) + QStringLiteral(" WIDTH=") + Quoted(c.Width) +
                  QStringLiteral(" TYPE=") + Quoted(c.Type);
    if (c.HasProp) tag += QStringLiteral(" PROP=") + Quoted(MarkupEscape(c.Prop, true));
    if (c.HasMaxLen) tag += QStringLiteral(" MAXLEN=") + Quoted(c.MaxLen);
    if (c.HasHeight) tag += QStringLiteral(" HEIGHT=") + Quoted(c.Height);
    tag += u'>';
    return tag;
}

bool IsEditorType(const QString& type)
{
    return type != QLatin1String("CHECK") && type != QLatin1String("RADIO") &&
           type != QLatin1String("BUTTON");
}

// ---- highlight positions ----

// 0-based index of the n-th (1-based) character outside tags; the text length when n is one past
// the last visible character; -1 otherwise.
int VisibleCharIndex(const QString& text, int n)
{
    int counter = 1;
    bool inTag = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'<') inTag = true;
        if (!inTag) {
            if (counter == n) return i;
            ++counter;
        }
        if (c == u'>') inTag = false;
    }
    return counter == n ? int(text.size()) : -1;
}

// 0-based index right after the n-th (1-based) character outside tags; -1 when there is none.
int AfterVisibleCharIndex(const QString& text, int n)
{
    int counter = 1;
    bool inTag = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'<') inTag = true;
        if (!inTag) {
            if (counter == n) return i + 1;
            ++counter;
        }
        if (c == u'>') inTag = false;
    }
    return -1;
}

// Strips tags: from each "<" to the next ">" after it. A "<" without a ">" after it ends the
// stripping; it and the rest stay as text.
QString StripTags(QString text)
{
    QString result;
    for (;;) {
        const int p = text.indexOf(u'<');
        if (p < 0) break;
        const int q = text.indexOf(u'>', p);
        if (q < 0) break;
        result += text.left(p);
        text.remove(0, q + 1);
    }
    return result + text;
}

} // namespace

// ---------------------------------------------------------------------------------------------

const TMarkupEntity MarkupEntityTable[51] = {
    {u"&eacute;", u'\u00E9'}, {u"&egrave;", u'\u00E8'}, {u"&euml;", u'\u00EB'},
    {u"&ecirc;", u'\u00EA'},  {u"&oacute;", u'\u00F3'}, {u"&ograve;", u'\u00F2'},
    {u"&ouml;", u'\u00F6'},   {u"&ocirc;", u'\u00F4'},  {u"&iacute;", u'\u00ED'},
    {u"&igrave;", u'\u00EC'}, {u"&iuml;", u'\u00EF'},   {u"&icirc;", u'\u00EE'},
    {u"&uacute;", u'\u00FA'}, {u"&ugrave;", u'\u00F9'}, {u"&uuml;", u'\u00FC'},
    {u"&ucirc;", u'\u00FB'},  {u"&aacute;", u'\u00E1'}, {u"&agrave;", u'\u00E0'},
    {u"&auml;", u'\u00E4'},   {u"&acirc;", u'\u00E2'},  {u"&Eacute;", u'\u00C9'},
    {u"&Egrave;", u'\u00C8'}, {u"&Euml;", u'\u00CB'},   {u"&Ecirc;", u'\u00CA'},
    {u"&Oacute;", u'\u00D3'}, {u"&Ograve;", u'\u00D2'}, {u"&Ouml;", u'\u00D6'},
    {u"&Ocirc;", u'\u00D4'},  {u"&Iacute;", u'\u00CD'}, {u"&Igrave;", u'\u00CC'},
    {u"&Iuml;", u'\u00CF'},   {u"&Icirc;", u'\u00CE'},  {u"&Uacute;", u'\u00DA'},
    {u"&Ugrave;", u'\u00D9'}, {u"&Uuml;", u'\u00DC'},   {u"&Ucirc;", u'\u00DB'},
    {u"&Aacute;", u'\u00C1'}, {u"&Agrave;", u'\u00C0'}, {u"&Auml;", u'\u00C4'},
    {u"&Acirc;", u'\u00C2'},  {u"&ccedil;", u'\u00E7'}, {u"&Ccedil;", u'\u00C7'},
    {u"&oslash;", u'\u00F8'}, {u"&Oslash;", u'\u00D8'}, {u"&aring;", u'\u00E5'},
    {u"&Aring;", u'\u00C5'},  {u"&copy;", u'\u00A9'},   {u"&reg;", u'\u00AE'},
    {u"&euro;", u'\u20AC'},   {u"&laquo;", u'\u00AB'},  {u"&raquo;", u'\u00BB'},
};

TColor MarkupColorFromName(const QString& name)
{
    return ColorNames().value(name, 0);
}

int HexPairValue(const QString& pair)
{
    if (pair.size() < 2) return 0;
    const int hi = HexDigit(pair[0]);
    const int lo = HexDigit(pair[1]);
    if (hi < 0 || lo < 0) return 0;
    return hi * 16 + lo;
}

TColor MarkupHexColor(const QString& text)
{
    const int r = HexPairValue(text.mid(1, 2));
    const int g = HexPairValue(text.mid(3, 2));
    const int b = HexPairValue(text.mid(5, 2));
    return static_cast<TColor>(r + g * 256 + b * 65536);
}

QString MarkupUpperAscii(const QString& text)
{
    QString r = text;
    for (QChar& c : r) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') c = QChar(char16_t(u - 32));
    }
    return r;
}

int MarkupPos(const QString& sub, const QString& text)
{
    if (sub.isEmpty()) return 0;
    return int(text.indexOf(sub)) + 1;
}

int MarkupPosUpper(const QString& sub, const QString& text)
{
    return MarkupPos(sub, MarkupUpperAscii(text));
}

int MarkupPosNoCase(const QString& sub, const QString& text)
{
    return MarkupPos(MarkupUpperAscii(sub), MarkupUpperAscii(text));
}

bool ReplaceFirstNoCase(const QString& find, const QString& replacement, QString& text)
{
    const int p = MarkupPosNoCase(find, text);
    if (p == 0) return false;
    text.replace(p - 1, find.size(), replacement);
    return true;
}

int FindFrom(const QString& sub, const QString& text, int start, bool caseSensitive)
{
    if (sub.isEmpty() || start < 0 || start >= text.size()) return 0;
    const QString rest = text.mid(start);
    const int p = caseSensitive ? int(rest.indexOf(sub))
                                : int(UpperKeepLength(rest).indexOf(UpperKeepLength(sub)));
    return p < 0 ? 0 : start + p + 1;
}

int MarkupStrToInt(const QString& text)
{
    int i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool neg = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        neg = text[i] == u'-';
        ++i;
    }
    qint64 v = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        v = v * 10 + (text[i].unicode() - u'0');
        if (v > qint64(INT_MAX) + 1) v = qint64(INT_MAX) + 1;  // saturate, never overflow
        ++i;
    }
    if (neg) v = -v;
    return int(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

// ---------------------------------------------------------------------------------------------

QString MarkupStripTags(const QString& text) { return StripTags(text); }

QString MarkupToPlainText(const QString& text)
{
    // Most cells hold no markup: reading their numbers (sums over whole columns) costs no copy.
    if (!text.contains(u'<'))
        return text;
    QString s = text;
    while (ReplaceFirstNoCase(QStringLiteral("<BR>"), QStringLiteral("\r\n"), s)) {
    }
    while (ReplaceFirstNoCase(QStringLiteral("<HR>"), QStringLiteral("\r\n"), s)) {
    }
    return StripTags(s);
}

QString MarkupLineEndsToBreaks(const QString& text, bool withBreaks)
{
    QString r;
    r.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\n') continue;
        if (c == u'\r') {
            if (withBreaks) r += QStringLiteral("<BR>");
            continue;
        }
        r += c;
    }
    return r;
}

QString UnwrapHashTags(const QString& text)
{
    QString s = text;
    int from = 0;
    for (;;) {
        const int p = s.indexOf(QStringLiteral("<#"), from);
        if (p < 0) break;
        s.remove(p, 1);
        const int q = s.indexOf(u'>', p);
        if (q < 0) break;
        s.remove(q, 1);
        from = q;
    }
    return s;
}

// Escaping runs in one pass over the text so that unescaping gives the text back exactly.
QString MarkupEscape(const QString& text, bool withTable)
{
    QString r;
    r.reserve(text.size() + 16);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': r += QStringLiteral("&amp;"); continue;
        case u'"': r += QStringLiteral("&quot;"); continue;
        case u'<': r += QStringLiteral("&lt;"); continue;
        case u'>': r += QStringLiteral("&gt;"); continue;
        default: break;
        }
        if (withTable) {
            const TMarkupEntity* e = std::find_if(std::begin(MarkupEntityTable), std::end(MarkupEntityTable),
                                                  [c](const TMarkupEntity& x) { return x.Char == c.unicode(); });
            if (e != std::end(MarkupEntityTable)) {
                r += QString::fromUtf16(e->Name);
                continue;
            }
        }
        r += c;
    }
    return r;
}

namespace {

// The entry of `table` whose name stands in `text` at `at`, names compared as `cs` says (null
// when none); `length` takes the name's length.
template <class Table>
auto EntityAt(const Table& table, const QString& text, qsizetype at, Qt::CaseSensitivity cs, qsizetype& length)
    -> decltype(&*std::begin(table))
{
    for (const auto& e : table) {
        const QString name = QString::fromUtf16(e.Name);
        if (QStringView(text).mid(at, name.size()).compare(name, cs) == 0) {
            length = name.size();
            return &e;
        }
    }
    return nullptr;
}

} // namespace

QString MarkupUnescape(const QString& text, bool withTable)
{
    static const TMarkupEntity basic[] = {{u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&amp;", u'&'}, {u"&quot;", u'"'}};

    QString r;
    r.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == u'&') {
            qsizetype n = 0;
            const TMarkupEntity* e = EntityAt(basic, text, i, Qt::CaseSensitive, n);
            if (!e && withTable)
                e = EntityAt(MarkupEntityTable, text, i, Qt::CaseSensitive, n);
            if (e) {
                r += QChar(e->Char);
                i += n;
                continue;
            }
        }
        r += text[i++];
    }
    return r;
}

QString MarkupSpaceToNbsp(const QString& text)
{
    QString r = text;
    r.replace(u' ', QStringLiteral("&nbsp;"));
    return r;
}

QString MarkupDecodeTextEntities(const QString& text)
{
    if (!text.contains(u'&')) return text;
    static const struct {
        const char16_t* Name;
        const char16_t* Repl;
    } ents[] = {{u"&AMP;", u"&&"},       {u"&QUOT;", u"\""},      {u"&SECT;", u"\u00A7"},
                {u"&PERMIL;", u"\u2030"}, {u"&REG;", u"\u00AE"},  {u"&COPY;", u"\u00A9"},
                {u"&PARA;", u"\u00B6"},   {u"&TRADE;", u"\u2122"}, {u"&EURO;", u"\u20AC"}};
    // Tags are left alone: their attribute values (escaped control values above all) are
    // decoded by whoever reads them.
    QString r;
    r.reserve(text.size());
    bool inTag = false;
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == u'<') inTag = true;
        else if (text[i] == u'>') inTag = false;
        if (text[i] == u'&' && !inTag) {
            qsizetype n = 0;
            if (const auto* e = EntityAt(ents, text, i, Qt::CaseInsensitive, n)) {
                r += QString::fromUtf16(e->Repl);
                i += n;
                continue;
            }
        }
        r += text[i++];
    }
    return r;
}

QString MarkupDecodeRunEntities(const QString& run)
{
    if (!run.contains(u'&')) return run;
    static const TMarkupEntity ents[] = {{u"&NBSP;", u' '}, {u"&LT;", u'<'}, {u"&GT;", u'>'}};
    QString r;
    r.reserve(run.size());
    for (qsizetype i = 0; i < run.size();) {
        if (run[i] == u'&') {
            if (i + 1 < run.size() && run[i + 1] == u'&') {  // one shown ampersand
                r += QStringLiteral("&&");
                i += 2;
                continue;
            }
            qsizetype n = 0;
            if (const TMarkupEntity* e = EntityAt(ents, run, i, Qt::CaseInsensitive, n)) {
                r += QChar(e->Char);
                i += n;
                continue;
            }
        }
        r += run[i++];
    }
    return r;
}

// ---------------------------------------------------------------------------------------------

int VisibleCharPos(const QString& text, int n)
{
    int counter = 1;
    bool inTag = false;
    for (int i = 0; i < text.size(); ++i) {
        if (counter == n) return i + 1;
        const QChar c = text[i];
        if (c == u'<') inTag = true;
        if (!inTag) ++counter;
        if (c == u'>') inTag = false;
    }
    return counter == n ? int(text.size()) + 1 : 0;
}

QString MarkupHighlight(const QString& text, const QString& search, const QString& tag,
                        bool caseSensitive)
{
    if (search.isEmpty()) return text;
    QString result = text;
    QString plain = StripTags(text);
    QString what = search;
    if (FindFrom(search, text, 0, caseSensitive) > 0 &&
        (plain.contains(u'<') || plain.contains(u'>'))) {
        // Stray brackets that are not tags: the markup is given up for the escaped plain text.
        plain.replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
        result = plain;
        what.replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
    }
    const QString open = u'<' + tag + u'>';
    const QString close = QStringLiteral("</") + tag + u'>';
    int start = 0;
    for (;;) {
        const int p = FindFrom(what, plain, start, caseSensitive);
        if (p == 0) break;
        const int e = p + int(what.size());
        // The tags hug the hit: the opening one right before its first visible character, the
        // closing one right after its last, so that neighbouring hits and tags never overlap.
        const int at = VisibleCharIndex(result, p);
        if (at < 0) break;
        result.insert(at, open);
        const int after = AfterVisibleCharIndex(result, e - 1);
        if (after < 0) break;
        result.insert(after, close);
        start = e - 1;
    }
    return result;
}

QString MarkupUnhighlight(const QString& text, const QString& tag)
{
    QString s = text;
    const QString open = u'<' + tag + u'>';
    const QString close = QStringLiteral("</") + tag + u'>';
    while (ReplaceFirstNoCase(open, QString(), s)) {
    }
    while (ReplaceFirstNoCase(close, QString(), s)) {
    }
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return s;
}

// ---------------------------------------------------------------------------------------------

void ParseControlTag(const QString& tag, QString& type, QString& id, QString& value, QString& width,
                     QString& height, QString& prop, QString& maxlen)
{
    ControlTag c;
    ParseTagInto(tag, c);
    type = c.Type;
    id = c.Id;
    value = c.Value;
    width = c.Width;
    height = c.Height;
    prop = c.Prop;
    maxlen = c.MaxLen;
}

bool HasControlTag(const QString& text)
{
    return MarkupUpperAscii(text).contains(QStringLiteral("<CONTROL"));
}

bool GetControlTagValue(const QString& text, const QString& id, QString& value)
{
    const QList<ControlTag> tags = ControlTags(text);
    const ControlTag* c = FindControl(tags, id);
    if (!c) return false;
    value = c->Value;
    return true;
}

QString GetControlTagProp(const QString& text, const QString& id)
{
    const QList<ControlTag> tags = ControlTags(text);
    const ControlTag* c = FindControl(tags, id);
    return c ? c->Prop : QString();
}

int GetControlTagMaxLen(const QString& text, const QString& id)
{
    const QList<ControlTag> tags = ControlTags(text);
    const ControlTag* c = FindControl(tags, id);
    return c ? MarkupStrToInt(c->MaxLen) : 0;
}

QString NextControlTagID(const QString& text, const QString& id)
{
    const QList<ControlTag> tags = ControlTags(text);
    int from = 0;
    if (!id.isEmpty()) {
        from = -1;
        for (int i = 0; i < tags.size(); ++i)
            if (tags[i].Id == id) {
                from = i + 1;
                break;
            }
        if (from < 0) return {};
    }
    for (int i = from; i < tags.size(); ++i)
        if (IsEditorType(tags[i].Type)) return tags[i].Id;
    return {};
}

bool SetControlTagText(QString& text, const QString& id, const QString& value)
{
    const QList<ControlTag> tags = ControlTags(text);
    const ControlTag* c = FindControl(tags, id);
    if (!c) return false;
    text.replace(c->Start, c->End - c->Start, RebuildControlTag(*c, value));
    return true;
}

QString ClearRadioGroup(const QString& text)
{
    QString s = text;
    // Rebuild from the last tag to the first so that earlier positions stay valid.
    const QList<ControlTag> tags = ControlTags(s);
    for (auto it = tags.crbegin(); it != tags.crend(); ++it)
        if (it->Type == QLatin1String("RADIO"))
            s.replace(it->Start, it->End - it->Start, RebuildControlTag(*it, QStringLiteral("FALSE")));
    return s;
}

// ---------------------------------------------------------------------------------------------

void SetMarkupHighlightColors(TColor background, TColor text)
{
    gHighlightColor = background;
    gHighlightTextColor = text;
}

bool IsWinXPOrLaterVersion(int major, int minor)
{
    return major > 5 || (major == 5 && minor >= 1);
}

bool IsWinXPOrLater()
{
    const platform::TPlatformInfo& info = platform::PlatformInfo();
    gXPFlag = IsWinXPOrLaterVersion(info.MajorVersion, info.MinorVersion);
    return gXPFlag;
}

namespace vuradido {

TColor HighlightColor() { return gHighlightColor; }
TColor HighlightTextColor() { return gHighlightTextColor; }
bool XPFlag() { return gXPFlag; }

QString AttrValue(const QString& src, const QString& upper, const QString& name, bool* found)
{
    const int p = upper.indexOf(name);
    if (found) *found = p >= 0;
    if (p < 0) return {};
    const int q1 = upper.indexOf(u'"', p + name.size());
    if (q1 < 0) return {};
    const int q2 = upper.indexOf(u'"', q1 + 1);
    if (q2 < 0) return {};
    return src.mid(q1 + 1, q2 - q1 - 1);
}

bool ParseColorValue(const QString& value, TColor& color)
{
    if (value.isEmpty()) return false;
    color = value.startsWith(u'#') ? MarkupHexColor(value) : MarkupColorFromName(value.toLower());
    return true;
}

} // namespace vuradido
