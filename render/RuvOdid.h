#pragma once
// Class-less helpers shared by the grid, its editors and the drop-down controls: drawing
// routines and colour arithmetic, cell text encodings and kinds, clipboard and CSV line-end
// codings, number texts, dates, URLs and small search routines. Strings are UTF-16; positions
// are 1-based with 0 for "not found".
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/SysUtils.h"
#include "render/AdvStyleIF.h"

#include <QChar>
#include <QString>
#include <QStringList>

class QWidget;

// ---- drawing ----

enum TCellShape {
    csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond,
    csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp, csArrowDown,
    csArrowLeft, csArrowRight, csHalfStar
};

// Look of a level (XP-style) progress bar.
struct TLevelBarAppearance {
    TColor Level0Color = clLime, Level0ColorTo = clLime;
    TColor Level1Color = clYellow, Level1ColorTo = clYellow;
    TColor Level2Color = 0x00A5FF, Level2ColorTo = 0x00A5FF;
    TColor Level3Color = clRed, Level3ColorTo = clRed;
    int Level1Perc = 70, Level2Perc = 90;
    TColor BorderColor = clBlack;
    bool ShowBorder = true, Stacked = false, ShowPercentage = true;
    TFont Font;
    TColor CompleteFontColor = clBlue;
    bool CompletionSmooth = true, ShowGradient = true;
    int Steps = 8;
    TColor UnCompleteColor = clNone;
    bool Vertical = false;
};

// Fills r with a gradient of up to `steps` stripes (at most one per pixel of length); a solid fill
// in the other colour when one of them is clNone.
void DrawGradientRect(TCanvas& canvas, TColor from, TColor to, bool horizontal, TRect r, int steps);
// Gradient fill (with fill set): plain `color` without mirror and colorTo; color -> colorTo; or
// with a mirror colour the first half color -> colorTo and the second mirrorFrom -> mirrorTo
// (halves top and bottom when vertical). Then a frame in borderColor (only the left and right
// edges with sidesOnly) unless it is clNone.
void DrawGradientFrame(TCanvas& canvas, TRect r, TColor color, TColor colorTo, TColor mirrorFrom, TColor mirrorTo,
                       bool fill, TColor borderColor, bool sidesOnly, bool vertical);
void FillRectColor(TCanvas& canvas, const TRect& r, TColor color);
// The rounded tab frame of selections and items. sides: 0 both sides rounded, 1 left only,
// 2 right only, 3 neither, 4 neither with the top and bottom lines inset at both ends.
// The inside runs fillFrom -> fillTo (solid when fillTo is clNone), its lower half
// mirrorFrom -> mirrorTo when mirrorFrom is set; outerCorner is the background behind the corners.
void DrawTabShape(TCanvas& canvas, TColor fillFrom, TColor fillTo, TColor mirrorFrom, TColor mirrorTo,
                  TColor upperInner, TColor lowerInner, TColor outerLine, TColor corner, TColor outerCorner,
                  TRect r, int sides);
void DrawCellShape(TCanvas& canvas, int left, int top, TColor penColor, TColor brushColor, int shape, int height,
                   int width);
// A filled triangle (x - 3, y), (x + 3, y), (x, y + 3).
void DrawSmallArrow(TCanvas& canvas, int x, int y, TColor color);
// A circle in r with the share `value` percent filled clockwise from the top. `flipped` tells a
// canvas whose y axis points up (the canvas's own mapping takes care of it).
void DrawPieValue(TCanvas& canvas, const TRect& r, TColor fillColor, bool flipped, double value);
// A bar from the middle of r to the left (negative) or right (positive), value against maximum;
// with showText the value is written centred over it.
void DrawCenteredValueBar(TCanvas& canvas, const TRect& r, int value, TColor positiveColor, TColor negativeColor,
                          bool showText, int maximum);
// A progress bar with its text; `format` (one conversion, given the value) replaces "<value>%".
void DrawProgressBar(TCanvas& canvas, TRect r, TColor barColor, TColor doneTextColor, TColor restColor,
                     TColor restTextColor, TColor frameColor, const QString& format, double minimum, double maximum,
                     double value, int marginX, int marginY, bool flip);
void DrawLevelProgressBar(TCanvas& canvas, const TRect& r, int percentage, const TLevelBarAppearance& appearance);
// The bitmap at r's top-left, its top-left pixel's colour shown as the background colour.
void DrawBitmapTransparent(TCanvas& canvas, const TBitmap& bitmap, TColor background, const TRect& r);
void DrawResourceBitmap(TCanvas& canvas, TColor background, const TRect& r, const QString& name);
// A red zig-zag under `length` characters of `text` from `start` (0-based) laid out in r.
void DrawTextRangeErrorMark(QWidget* owner, TCanvas& canvas, const QString& text, int length, int start,
                            int yOffset, const TRect& r);

// Themed parts. kind: 0 visual styles (the classic look where there are none), 1 classic frame
// controls, 2 flat frame controls, 3 flat colours from the tones; state: 0 normal, 1 hot,
// 2 down, 3 disabled. The tones give, by state (Background, Hover, Selected, Disabled), the fill
// (BrushColor), the border and combo separator (BorderColor) and the arrow (TextColor).
void DrawThemedComboButton(TCanvas& canvas, QWidget* window, const TRect& r, const TColorTones& colors, int state,
                           int kind);
void DrawThemedButton(TCanvas& canvas, QWidget* window, const TRect& r, const TColorTones& colors, int state,
                      int kind);
void DrawThemedSpinButtons(TCanvas& canvas, QWidget* window, const TRect& r, const TColorTones& colors, int state,
                           int kind);

// Colour arithmetic (system colours resolved first).
TColor HalfColor(TColor color);
// Each channel c becomes round(c + c * percent / 100), kept within 0..255.
TColor ShadeColor(TColor color, int percent);
// `from` moved towards `to` by step / (last - first); from when to is clNone or the span is empty.
TColor BlendColorStep(TColor from, TColor to, int first, int step, int last);

// Layered windows: window opacity (LWA_ALPHA) and position/size. True when applied.
constexpr unsigned LWA_COLORKEY = 1;
constexpr unsigned LWA_ALPHA = 2;
bool CallSetLayeredWindowAttributes(QWidget* window, TColor colorKey, int alpha, unsigned flags);
bool CallUpdateLayeredWindow(QWidget* window, const TPoint* position, const TSize* size, int alpha);

// ---- cell encodings and kinds ----

// Cell text kinds answered by ClassifyCellText.
enum : int {
    ctkPlain = 0,
    ctkHtml = 1,
    ctkRtf = 2,
    ctkFormula = 3,
    ctkEncoded = 5,
};

// "|\" followed by two characters per UTF-16 code unit: the unit's high byte, then its low byte.
QString EncodeUnicodeCell(const QString& wide);
// Back from the form above; any other text is returned unchanged; an odd last character is dropped.
QString DecodeUnicodeCell(const QString& text);
// 0 plain, 1 HTML (only when html is allowed), 2 RTF, 3 formula, 5 encoded.
int ClassifyCellText(const QString& text, bool html);
// Six upper-case hexadecimal digits of a 24-bit value, least significant byte first.
QString CharToHexCode(int code);

// ---- clipboard and CSV ----

// Wraps an HTML fragment in the clipboard's "HTML Format" header and document. The offsets in the
// header count bytes of the text's UTF-8 form, which is how the text goes onto the clipboard.
void BuildHtmlClipboard(QString& fragment);
// Every CR LF pair becomes character 11, then the text is enclosed in double quotes.
void CsvQuoteMultiline(QString& text);
// Every character 11 becomes CR LF.
void VtToCrLf(QString& text);
// When the text has a CR: CR -> TAB, LF -> BS (8), NUL -> character 1.
QString CrLfToTab(const QString& text);
// When the text has a BS: TAB -> CR, BS -> LF, character 1 -> NUL; then all of it or its first line.
QString TabToCrLf(const QString& text, bool multiLine);
// CR -> "~", LF dropped.
void CrLfToTilde(QString& text);
// "~" -> CR LF; a text that is then exactly "^" becomes empty.
void TildeToCrLf(QString& text);
// CR -> the two characters "\n", LF dropped.
QString CrLfToLiteralNewline(const QString& text);
// The two characters "\n" -> CR LF.
QString LiteralNewlineToCrLf(const QString& text);
// When the text has a CR: every CR becomes "<br>" (LF kept).
QString CrToBreakTag(const QString& text);
// The CR of every CR LF pair is deleted (the LF stays).
void RemoveCrLf(QString& text);
// The same operation under the name the grid code uses.
inline void CrLfToLf(QString& text) { RemoveCrLf(text); }
QString RemoveCrChars(const QString& text);
QString CrToLf(const QString& text);
// Every double quote doubled.
QString DoubleQuotes(const QString& text);
// When the text holds ch: every pair of ch becomes one.
QString UndoubleChar(QChar ch, const QString& text);
// Position of the last ch of the first odd-length run of ch (a run reaching the end of the text
// gives the text's length); 0 when none. `position` receives the same value.
int FindUnpairedChar(QChar ch, const QString& text, int& position);
// How often FindUnpairedChar finds a position when the text is cut after each one.
int CountUnpairedChars(QChar ch, const QString& text);
// The text up to the first CR (all of it without one). With keepRest the text loses that line and
// its line end (CR and an LF right after it); otherwise it is emptied.
QString FirstLine(QString& text, bool keepRest);
// 1 + the number of CRs when multiLine, else 1.
int LineCount(const QString& text, bool multiLine);
// All strings concatenated without separator.
QString JoinListStrings(const QStringList& strings);

// ---- numbers ----

// Number text kinds answered by ClassifyNumberText.
enum : int {
    ntkInteger = 0,
    ntkDecimal = 1,
    ntkOther = 2,
    ntkExponent = 5,
};

// Kind of a number text with the locale's decimal and thousand separators.
int ClassifyNumberText(const QString& text);
// A number text made ready for conversion: thousand separators dropped, the decimal separator
// written as ".", a leading "-" or enclosing parentheses giving a leading "-".
QString NumberTextNormalize(const QString& text);
// Decimal digit.
bool IsDigitChar(QChar ch);
// Digit or "-".
bool IsDigitOrMinusChar(QChar ch);
// Digit, thousand separator, decimal separator, "e" or "E".
bool IsNumberBodyChar(QChar ch);
// The same plus "+" and "-".
bool IsSignedNumberChar(QChar ch);
// Digit, "-", ".", "e", "E" or "+": what a normalized number text holds.
bool IsNormalizedNumberChar(QChar ch);
// value when lower = upper; upper when value > upper > 0; lower when value < lower and lower > 0.
int ClampToLimits(int value, int lower, int upper);
inline int MaxInt2(int a, int b) { return a > b ? a : b; }
inline int MinInt2(int a, int b) { return a < b ? a : b; }

// ---- dates ----

// Month, day and year separated by the first of "/", "." or "-" that the text holds. A year
// below 100 gets its century (up to 25: 2000s, else 1900s); a longer year is taken as written.
// 0 when a part is missing or not a whole number; an impossible date raises EConvertError.
platform::TDateTime ParseDateMDY(const QString& text);
// The same with day, month and year.
platform::TDateTime ParseDateDMY(const QString& text);
// The locale's date separator at position 2 or later and again later, not right after it.
bool HasTwoSeparators(const QString& text);
// Only days: date + days. Only years: the same day years later (EConvertError when that day does
// not exist). Only months: months later, across any number of years, the day kept to the last
// day of the month. Any other combination: date + fallback. The time of day is kept.
platform::TDateTime DateAddParts(short years, short months, short days, double fallback,
                                 platform::TDateTime date);

// ---- search and URLs ----

// First position of ch; `position` is written only when found.
int CharPos(QChar ch, const QString& text, int& position);
int CharPosOf(QChar ch, const QString& text);
// Position of sub (given in upper case) in the upper-cased text.
int PosNoCase(const QString& sub, const QString& text);
// Position of sub in text, also written to `position` (0 when absent).
int PosWithIndex(const QString& sub, const QString& text, int& position);
int WidePos(const QString& sub, const QString& text);
// Number of occurrences of ch.
int SubTextCount(QChar ch, const QString& text);
// The text before the delimiter, removed from the text together with the delimiter; empty (text
// unchanged) when the delimiter is absent.
QString CutFirstToken(QString& text, const QString& delimiter);
// Every character replaced by ch.
void FillWithChar(QString& text, QChar ch);
// Inside a grid rectangle (inclusive edges) given as {Left, Top, Right, Bottom}.
template <class GridRect>
bool PointInGridRect(const GridRect& r, int column, int row)
{
    return column >= r.Left && column <= r.Right && row >= r.Top && row <= r.Bottom;
}
// "R<row>C<column>" (any case, longer than 3 characters): cell.X the column, cell.Y the row.
bool ParseCellReference(const QString& text, TPoint& cell);
// Contains "://" or "mailto:".
bool IsUrl(const QString& text);
// Deletes up to and including the first "://", else up to and including "mailto:".
void StripUrlScheme(QString& text);
// False when the upper-cased text lacks `scheme` (given in upper case); else `result` is the text
// with "<" and ">" escaped and its first URL wrapped in an anchor.
bool TextUrlsToAnchors(const QString& text, const QString& scheme, QString& result);
// Capitals at word starts, lower case elsewhere, with the Mc and Roman II/III exceptions.
QString ProperCaseText(const QString& text);
// Text to the OEM code page (each OEM byte held as one character) and back.
void AnsiToOemText(QString& text);
void OemToAnsiText(QString& text);

#include "render/RuvOdid_Filter.h"
