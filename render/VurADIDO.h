#pragma once
// The HTML mini-language of cell texts, hints, footers and drop-down headers: its text helpers and
// its renderer (layout, painting and hit testing in one routine).
//
// Text routines use 1-based positions with 0 for "not found", as the rest of the library does.
#include <QString>
#include <cstdint>

#include "platform/Graphics.h"

class TCanvas;
class TFont;
class TCustomImageList;
class TPictureContainer;
class THTMLPictureCache;
class QWidget;

// ---------------------------------------------------------------------------------------------
// Colours of the language
// ---------------------------------------------------------------------------------------------

// The colour name table ("clred", "clbtnface", ...); names are compared exactly after lower-casing
// by the caller. Unknown names give black.
TColor MarkupColorFromName(const QString& name);

// Value of two hexadecimal digits; 0 when fewer than two characters are given or a digit is bad.
int HexPairValue(const QString& pair);

// "#RRGGBB" -> colour with red in the low byte. Characters 2-3, 4-5 and 6-7 are read; neither the
// "#" nor the length is checked.
TColor MarkupHexColor(const QString& text);

// ---------------------------------------------------------------------------------------------
// Generic search and replace
// ---------------------------------------------------------------------------------------------

// Folds ASCII a..z to upper case and nothing else (tag letters and attribute names).
QString MarkupUpperAscii(const QString& text);

int MarkupPos(const QString& sub, const QString& text);        // case-sensitive
int MarkupPosUpper(const QString& sub, const QString& text);   // sub given in upper case
int MarkupPosNoCase(const QString& sub, const QString& text);  // both folded
bool ReplaceFirstNoCase(const QString& find, const QString& replacement, QString& text);
// Searches sub in text after skipping its first `start` characters; returns start + the position
// found there, or 0. An empty sub is never found.
int FindFrom(const QString& sub, const QString& text, int start, bool caseSensitive);

// The integer at the start of the text: leading blanks skipped, optional sign, digits up to the
// first other character; 0 when there are no digits.
int MarkupStrToInt(const QString& text);

// ---------------------------------------------------------------------------------------------
// Plain text, line ends, escaping
// ---------------------------------------------------------------------------------------------

QString MarkupToPlainText(const QString& text);
QString MarkupStripTags(const QString& text);
QString MarkupLineEndsToBreaks(const QString& text, bool withBreaks);
QString UnwrapHashTags(const QString& text);

struct TMarkupEntity {
    const char16_t* Name;
    char16_t Char;
};
// The 51 accented characters with their entity names, in table order.
extern const TMarkupEntity MarkupEntityTable[51];

QString MarkupEscape(const QString& text, bool withTable);
QString MarkupUnescape(const QString& text, bool withTable);
QString MarkupSpaceToNbsp(const QString& text);

// The entities the renderer decodes once per call, before the layout, outside tags: "&amp;"
// becomes "&&" (the accelerator form of one ampersand), the others their character.
QString MarkupDecodeTextEntities(const QString& text);
// The three entities decoded per text run: "&nbsp;", "&lt;", "&gt;". An "&&" pair is one shown
// ampersand and never starts an entity.
QString MarkupDecodeRunEntities(const QString& run);

// ---------------------------------------------------------------------------------------------
// Highlighting of search hits
// ---------------------------------------------------------------------------------------------

QString MarkupHighlight(const QString& text, const QString& search, const QString& tag,
                        bool caseSensitive);
int VisibleCharPos(const QString& text, int n);
QString MarkupUnhighlight(const QString& text, const QString& tag);

// ---------------------------------------------------------------------------------------------
// CONTROL tags
// ---------------------------------------------------------------------------------------------

void ParseControlTag(const QString& tag, QString& type, QString& id, QString& value, QString& width,
                     QString& height, QString& prop, QString& maxlen);
bool HasControlTag(const QString& text);
bool GetControlTagValue(const QString& text, const QString& id, QString& value);
QString GetControlTagProp(const QString& text, const QString& id);
int GetControlTagMaxLen(const QString& text, const QString& id);
QString NextControlTagID(const QString& text, const QString& id);
bool SetControlTagText(QString& text, const QString& id, const QString& value);
QString ClearRadioGroup(const QString& text);

// ---------------------------------------------------------------------------------------------
// Unit state
// ---------------------------------------------------------------------------------------------

// Colours of the HI tag: background and text (initially the system highlight colours).
void SetMarkupHighlightColors(TColor background, TColor text);

// True from version 5.1 on; stores the answer in the unit's XP flag.
bool IsWinXPOrLater();
bool IsWinXPOrLaterVersion(int major, int minor);

// ---------------------------------------------------------------------------------------------
// Renderer
// ---------------------------------------------------------------------------------------------

// Inputs of RenderMarkupText besides canvas, text and rectangle.
struct TMarkupRenderParams {
    TCustomImageList* Images = nullptr;       // pictures "IDX:n"
    int HitX = -1;                       // point to hit-test, canvas coordinates
    int HitY = -1;
    int FocusAnchor = -1;                // 0-based anchor with the keyboard focus, -1 none
    int HoverAnchor = 0;                 // 1-based anchor under the mouse (as MouseAnchor returns)
    int ShadowOffset = 1;                // of SHAD text
    bool HitTestOnly = false;            // second pass hit-tests instead of painting
    bool MeasureOnly = false;            // no second pass at all
    bool Printing = false;               // pictures stretched by ResFactor
    bool Selected = false;               // anchors and FONT leave the colours alone
    bool BlinkVisible = true;            // blink phase
    bool HoverOnly = false;              // anchors underlined only while hovered
    bool WordWrap = true;
    bool ControlPressed = false;         // mouse down over the hovered in-text control
    double ResFactor = 1.0;
    TColor AnchorColor = clBlue;
    TColor HoverColor = clNone;
    TColor HoverTextColor = clNone;
    TColor ShadowColor = clGray;
    QString ControlID;                   // with HitTestOnly: the control to look for
    THTMLPictureCache* PictureCache = nullptr;
    TPictureContainer* PictureContainer = nullptr;
    QWidget* Window = nullptr;           // window whose theme would draw in-text controls
    int BidiMode = 0;                    // 0 left to right, 1 right to left, 2/3 RTL reading
};

// Outputs of RenderMarkupText.
struct TMarkupRenderResult {
    QString AnchorValue;                 // HREF (or "ctrl") under the hit point
    QString PlainText;                   // every run handled
    QString FocusAnchorValue;
    QString AnchorTitle;
    int Width = 0;                       // widest line
    int Height = 0;                      // sum of line heights
    int AnchorCount = 0;
    int MouseAnchor = -1;                // 1-based, -1 none
    TRect HoverRect{0, 0, 0, 0};
    TRect ControlRect{0, 0, 0, 0};
    QString ControlID;
    QString ControlValue;
    QString ControlType;
};

// Draws, measures or hit-tests `text` inside `rect` of the canvas; true when the hit point lies
// over an anchor or an in-text control.
bool RenderMarkupText(TCanvas& canvas, const QString& text, const TRect& rect,
                      const TMarkupRenderParams& params, TMarkupRenderResult& result);

