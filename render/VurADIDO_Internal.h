#pragma once
// Shared state of the renderer's source files; not part of the unit's public surface.
#include "render/VurADIDO.h"

#include "platform/Canvas.h"

#include <QString>
#include <vector>

namespace vuradido {

TColor HighlightColor();
TColor HighlightTextColor();
bool XPFlag();

enum class TLineAlign { Left, Right, Center };

// What the open tags have switched on, carried from line to line. Both passes of a line start
// from the same copy of it.
struct TLayoutState {
    TLineAlign Align = TLineAlign::Left;
    int Indent = 0;
    int ListLevel = 0;
    int AnchorCount = 0;
    bool InAnchor = false;
    QString Href;
    QString Title;
    bool Sub = false;
    bool Sup = false;
    bool Shadow = false;
    bool ErrorMark = false;
    bool Hidden = false;
    bool ParaBackground = false;
    // Colours saved by opening tags for their closing ones (clNone: the brush was clear).
    TColor AnchorBrush = clNone;
    TColor AnchorFontColor = clNone;
    TColor FontBrush = clNone;
    TColor ParaBrush = clNone;
    TColor ParaPen = clBlack;
    TColor HiFontColor = clNone;
    TColor HiBrush = clNone;
    // Orientations replaced by the open R tags, innermost last.
    std::vector<int> Rotations;
};

// One call of RenderMarkupText.
struct TRenderContext {
    TRenderContext(TCanvas& canvas, const TMarkupRenderParams& params, TMarkupRenderResult& result)
        : Canvas(canvas), P(params), R(result)
    {
    }
    TCanvas& Canvas;
    const TMarkupRenderParams& P;
    TMarkupRenderResult& R;
    TRect Layout;          // the rectangle as given
    int WorkWidth = 0;     // width every fit decision is made against
    TFont BaseFont;
    TColor BgOnEntry = clNone;
    unsigned DrawFlags = 0;
    bool Themed = false;
    int LineIndex = 0;
    TLayoutState St;
    // Focus frame of the focused anchor and hover bookkeeping of the hit test.
    bool Focusing = false;
    bool FocusContinue = false;
    TRect FocusRect;
    bool HoverPending = false;
    int AnchorStartX = 0;
    int AnchorTop = 0;
    int AnchorLine = 0;
};

// One pass over one line.
struct TLineVars {
    TRect Rect;            // line rectangle; Bottom is the line bottom once the pass starts
    bool Measure = true;   // measuring (and hit-testing) or painting
    int Width = 0;
    int Height = 0;
    int SubSpace = 0;
    int SupSpace = 0;
    int PicOffset = 0;
    int TrailingBlank = 0;
    int CurX = 0;
    bool Done = false;
    bool NoRoom = false;
    bool ObjectHit = false;
    bool AnchorHit = false;
    bool HasBullet = false;
    QString LineText;
};

// The quoted value of an attribute: the text of `src` between the first double quote after the
// first occurrence of `name` in `upper` and the next double quote. `found` tells whether the
// name occurs.
QString AttrValue(const QString& src, const QString& upper, const QString& name, bool* found = nullptr);
// A colour value of FONT and P: "#RRGGBB" or a name of the table; false for an empty value.
bool ParseColorValue(const QString& value, TColor& color);
// Room rule of pictures and controls: false (no room, the tag starts the next line) when the
// object does not fit behind the line's content and is narrower than the rectangle.
bool TakeRoom(TRenderContext& c, TLineVars& L, int w, int h);

// The brush colour, clNone while the brush is clear; setting clNone makes the brush clear.
TColor BrushColorOrNone(const TCanvas& cv);
void SetBrushColorOrClear(TCanvas& cv, TColor color);

// Inline objects.
void TagImage(TRenderContext& c, TLineVars& L, const QString& tag, const QString& upper);
void TagControl(TRenderContext& c, TLineVars& L, const QString& tag);
void TagListItem(TRenderContext& c, TLineVars& L);
void TagRule(TRenderContext& c, TLineVars& L);
void TagBody(TRenderContext& c, TLineVars& L, const QString& tag, const QString& upper);
void TagParagraphColor(TRenderContext& c, TLineVars& L, const QString& upper);
void ParagraphColorOff(TRenderContext& c);
void SelectRotatedFont(TRenderContext& c, int degrees);
void RestoreRotatedFont(TRenderContext& c);

// Shell icon of a file, folder or icon index; `size` gets the icon size of the list.
void DrawShellIcon(TCanvas& canvas, int x, int y, TSize& size, double factor, bool printing, bool paint,
                   bool large, const QString& name);

} // namespace vuradido
