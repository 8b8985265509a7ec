#pragma once
// Drawing surface of the program: fonts, brushes, pens and a canvas over a QPainter.
//
// Coordinates are integer pixels with exclusive right and bottom edges, drawn without
// antialiasing so that results are pixel exact. A canvas can also be switched to a metric mode
// used for printing (tenths of a millimetre, y axis pointing up, the page's top edge at y = 0);
// every coordinate, size, pen width and font height is then taken in those units.
#include "platform/Graphics.h"
#include "platform/Property.h"

#include <QFlags>
#include <QFont>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QPaintDevice;
class TGraphic;
class TBitmap;

// What fonts, brushes and pens share: the owner's listener, told of every change. A copy does
// not take the listener (the copying constructors leave this base default-made).
class TGraphicsObject {
public:
    std::function<void()> OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
    // Stores the value and tells the listener, unless the field holds it already.
    template <class T>
    void Put(T& Field, const T& Value)
    {
        if (platform::Change(Field, Value))
            Changed();
    }
    // Stores the value and tells the listener even when it did not change.
    template <class T>
    void Store(T& Field, const T& Value)
    {
        Field = Value;
        Changed();
    }
};

// ---- font ------------------------------------------------------------------------------------

enum TFontStyle : unsigned { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
using TFontStyles = QFlags<TFontStyle>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

enum TFontPitch { fpDefault, fpVariable, fpFixed };

// A font description. Height < 0 is the character height (em) in the canvas's units, Height > 0
// the cell height (ascent + descent); Size is in points at PixelsPerInch (96 on screen) and is
// kept in step with Height. Orientation is the angle of the base line in tenths of a degree,
// counter-clockwise. Names are stored as given; painting falls back to an installed face.
class TFont : public TGraphicsObject {
public:
    TFont();
    TFont(const TFont& other) : TGraphicsObject() { Assign(other); } // OnChange stays unset on the copy
    TFont& operator=(const TFont& other) { Assign(other); return *this; }

    void Assign(const TFont& source); // copies every attribute and fires OnChange once

    QString Name() const { return FName; }
    void SetName(const QString& name);
    int Size() const;
    void SetSize(int points);
    int Height() const { return FHeight; }
    void SetHeight(int height);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenthsOfDegree);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch pitch);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int ppi); // keeps Size, recomputes Height

    // The QFont for a device whose logical unit is `pixelsPerUnit` device pixels (1 on screen).
    QFont ToQFont(double pixelsPerUnit = 1.0) const;
    // The description of a Qt font (family, point or pixel size, styles) in the window text
    // colour.
    static TFont FromQFont(const QFont& font);

    friend bool operator==(const TFont& a, const TFont& b);

private:
    QString FName = QStringLiteral("Tahoma");
    int FHeight = -11;
    int FPixelsPerInch = 96;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    int FOrientation = 0;
    TFontPitch FPitch = fpDefault;
};

// ---- brush and pen ---------------------------------------------------------------------------

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TBrush(const TBrush& other) : TGraphicsObject() { Assign(other); }
    TBrush& operator=(const TBrush& other) { Assign(other); return *this; }
    void Assign(const TBrush& source);

    TColor Color() const { return FColor; }
    void SetColor(TColor color); // setting a colour while the style is bsClear makes it bsSolid
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmCopy, pmNot, pmXor, pmNotXor };

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TPen(const TPen& other) : TGraphicsObject() { Assign(other); }
    TPen& operator=(const TPen& other) { Assign(other); return *this; }
    void Assign(const TPen& source);

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width); // below 1 counts as 1 when drawing
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode mode);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

// ---- text format flags -----------------------------------------------------------------------

constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_TABSTOP = 0x80;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_EXTERNALLEADING = 0x200;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_INTERNAL = 0x1000;
constexpr unsigned DT_EDITCONTROL = 0x2000;
constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
constexpr unsigned DT_MODIFYSTRING = 0x10000;
constexpr unsigned DT_RTLREADING = 0x20000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x40000;
constexpr unsigned DT_NOFULLWIDTHCHARBREAK = 0x80000;
constexpr unsigned DT_HIDEPREFIX = 0x100000;
constexpr unsigned DT_PREFIXONLY = 0x200000;

struct DRAWTEXTPARAMS {
    unsigned cbSize = sizeof(DRAWTEXTPARAMS);
    int iTabLength = 8;      // in average character widths
    int iLeftMargin = 0;
    int iRightMargin = 0;
    unsigned uiLengthDrawn = 0; // filled in: characters processed
};

// ---- edge and frame control flags ------------------------------------------------------------

constexpr unsigned BDR_RAISEDOUTER = 0x1;
constexpr unsigned BDR_SUNKENOUTER = 0x2;
constexpr unsigned BDR_RAISEDINNER = 0x4;
constexpr unsigned BDR_SUNKENINNER = 0x8;
constexpr unsigned BDR_OUTER = 0x3;
constexpr unsigned BDR_INNER = 0xC;
constexpr unsigned BDR_RAISED = 0x5;
constexpr unsigned BDR_SUNKEN = 0xA;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

constexpr unsigned BF_LEFT = 0x1;
constexpr unsigned BF_TOP = 0x2;
constexpr unsigned BF_RIGHT = 0x4;
constexpr unsigned BF_BOTTOM = 0x8;
constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr unsigned BF_TOPRIGHT = BF_TOP | BF_RIGHT;
constexpr unsigned BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_DIAGONAL = 0x10;
constexpr unsigned BF_MIDDLE = 0x800;
constexpr unsigned BF_SOFT = 0x1000;
constexpr unsigned BF_ADJUST = 0x2000;
constexpr unsigned BF_FLAT = 0x4000;
constexpr unsigned BF_MONO = 0x8000;

constexpr unsigned DFC_CAPTION = 1;
constexpr unsigned DFC_MENU = 2;
constexpr unsigned DFC_SCROLL = 3;
constexpr unsigned DFC_BUTTON = 4;

constexpr unsigned DFCS_BUTTONCHECK = 0x0;
constexpr unsigned DFCS_BUTTONRADIOIMAGE = 0x1;
constexpr unsigned DFCS_BUTTONRADIOMASK = 0x2;
constexpr unsigned DFCS_BUTTONRADIO = 0x4;
constexpr unsigned DFCS_BUTTON3STATE = 0x8;
constexpr unsigned DFCS_BUTTONPUSH = 0x10;
constexpr unsigned DFCS_SCROLLUP = 0x0;
constexpr unsigned DFCS_SCROLLDOWN = 0x1;
constexpr unsigned DFCS_SCROLLLEFT = 0x2;
constexpr unsigned DFCS_SCROLLRIGHT = 0x3;
constexpr unsigned DFCS_SCROLLCOMBOBOX = 0x5;
constexpr unsigned DFCS_SCROLLSIZEGRIP = 0x8;
constexpr unsigned DFCS_INACTIVE = 0x100;
constexpr unsigned DFCS_PUSHED = 0x200;
constexpr unsigned DFCS_CHECKED = 0x400;
constexpr unsigned DFCS_TRANSPARENT = 0x800;
constexpr unsigned DFCS_HOT = 0x1000;
constexpr unsigned DFCS_ADJUSTRECT = 0x2000;
constexpr unsigned DFCS_FLAT = 0x4000;
constexpr unsigned DFCS_MONO = 0x8000;

// Background mode of text output.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Coordinate modes of a canvas.
enum TMapMode {
    mmText,     // device pixels, y down
    mmLoMetric  // tenths of a millimetre, y up (printing)
};

// Device capability indexes of GetDeviceCaps.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// ---- canvas ----------------------------------------------------------------------------------

class TCanvas {
public:
    // A canvas with its own painter on the device (ended when the canvas goes or is rebound).
    explicit TCanvas(QPaintDevice* device);
    // A canvas on a painter that someone else owns (a widget's paint event, a printer job).
    explicit TCanvas(QPainter* painter);
    // A canvas without a surface: measures text like a screen canvas and draws nothing.
    TCanvas();
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Moves the canvas to another device or painter; font, brush, pen and mode are kept.
    void SetDevice(QPaintDevice* device);
    void SetPainter(QPainter* painter);
    QPainter* Painter() const { return FPainter; }
    bool HandleAllocated() const { return FPainter != nullptr; }

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    TBrush& Brush() { return FBrush; }
    const TBrush& Brush() const { return FBrush; }
    TPen& Pen() { return FPen; }
    const TPen& Pen() const { return FPen; }
    void SetFont(const TFont& f) { FFont.Assign(f); }
    void SetBrush(const TBrush& b) { FBrush.Assign(b); }
    void SetPen(const TPen& p) { FPen.Assign(p); }

    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(const TPoint& p) { FPenPos = p; }

    // Lines: the end point is not drawn; the pen position moves to it.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    // Closed shapes: outline with the pen, inside with the brush; right and bottom exclusive.
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int cornerW, int cornerH);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Polygon(const std::vector<TPoint>& points);
    // Pie and arc of the ellipse in (x1, y1, x2, y2), counter-clockwise from the ray through
    // (x3, y3) to the ray through (x4, y4).
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Brush only: the inside of r, and a one-pixel frame around r.
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    // The dotted focus frame, drawn by inverting pixels: drawing it twice removes it.
    void DrawFocusRect(const TRect& r);

    TColor Pixels(int x, int y) const; // clNone when outside the surface or unreadable
    void SetPixels(int x, int y, TColor color);

    // Text: (x, y) is the top-left of the text cell; with an opaque background (solid brush) the
    // cell is first filled with the brush colour. Rotated fonts turn around (x, y).
    void TextOut(int x, int y, const QString& text);
    // TextOut clipped to r.
    void TextRect(const TRect& r, int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    TSize TextExtent(const QString& text) const;
    int AverageCharWidth() const;

    // Pictures: Draw at (x, y) in the graphic's own size, StretchDraw into r; a transparent
    // graphic leaves its transparent colour out. A null graphic draws nothing.
    void Draw(int x, int y, const TGraphic* graphic);
    void Draw(int x, int y, const TGraphic& graphic) { Draw(x, y, &graphic); }
    void StretchDraw(const TRect& r, const TGraphic* graphic);
    void StretchDraw(const TRect& r, const TGraphic& graphic) { StretchDraw(r, &graphic); }
    // Copies the source rectangle of another canvas's surface onto dest (stretched to fit).
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
    // Copies part of a bitmap, its pixels of `transparent` colour replaced by the brush colour.
    void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& sourceRect, TColor transparent);

    // Clipping. ClipRect is the bounding box of what can be painted, in canvas units.
    TRect ClipRect() const;
    void SetClipRect(const TRect& r);        // replaces the clip with r
    void IntersectClipRect(const TRect& r);  // narrows the clip to r
    void ExcludeClipRect(const TRect& r);    // takes r out of the clip
    // Replaces the clip with a region given in device pixels; null removes the clip.
    void SelectClipRgn(const QRegion* region);
    bool HasClip() const;
    // Remembers and brings back font, brush, pen, pen position, background mode, clip and mode.
    int SaveDC();
    bool RestoreDC(int savedIndex); // -1 restores the latest

    // Text background: TRANSPARENT or OPAQUE. Changing the brush sets it from the brush style.
    void SetBkMode(int mode);
    int BkMode() const { return FBkMode; }

    // Coordinate mode: mmText (pixels) or mmLoMetric (tenths of a millimetre, y up).
    void SetMapMode(TMapMode mode);
    TMapMode MapMode() const { return FMapMode; }
    // Resolution of the surface in dots per inch (96 for a canvas without surface).
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;
    // Tests and previews may fix the resolution the metric mode maps with (0 = the device's).
    void SetResolutionOverride(int dpiX, int dpiY);
    int GetDeviceCaps(int index) const;
    // Canvas units <-> device pixels.
    TPoint LPtoDP(const TPoint& p) const;
    TPoint DPtoLP(const TPoint& p) const;
    TRect LPtoDP(const TRect& r) const; // normalised (Left <= Right, Top <= Bottom)
    TRect DPtoLP(const TRect& r) const; // in metric mode Top > Bottom

    void Lock() {}
    void Unlock() {}

    // Device-pixel size of the surface (0 x 0 without one).
    QSize DeviceSize() const;

    // Draws an image stretched into r (canvas units), leaving out pixels of `transparent` colour
    // (clNone: none); the routine behind Draw and StretchDraw.
    void DrawImage(const TRect& r, const QImage& image, TColor transparent = clNone);
    // The surface's pixels when it is an image or pixmap (a null image otherwise).
    QImage SurfaceImage() const;

    // The device font of the current font with its metrics and a store of measured text widths,
    // kept for the last few fonts used: building a font and shaping a text cost more than
    // painting it. Widths are those of QFontMetrics::horizontalAdvance.
    struct FontCache;
    FontCache& CurrentFontCache() const;

private:
    friend int DrawTextEx(TCanvas&, const QString&, TRect&, unsigned, DRAWTEXTPARAMS*);
    friend int DrawTextMeasured(TCanvas&, const QString&, const TRect&, unsigned, TRect&, bool);
    friend bool DrawEdge(TCanvas&, TRect&, unsigned, unsigned);
    friend bool DrawFrameControl(TCanvas&, const TRect&, unsigned, unsigned);

    struct SavedState;
    void Begin(QPaintDevice* device);
    void End();
    void Hook();
    void PrepareText() const;
    double UnitX() const; // device pixels per canvas unit
    double UnitY() const;
    QRect DevRect(const TRect& r) const;
    int DevPenWidth() const;
    void FillDevRect(const QRect& r, const QColor& c);
    void FillDevRectBrush(const QRect& r);
    QBrush QtBrush() const;
    void DrawShape(const TRect& box, const QBrush& brush, const std::function<void(const QRect&)>& draw);
    void ArcShape(const TRect& box, TPoint from, TPoint to, bool pie);
    QFont DeviceFont() const;
    void DrawDevText(int devX, int devY, const QString& text, int orientation);

    QPaintDevice* FOwnDevice = nullptr;
    std::unique_ptr<QPainter> FOwnPainter;
    QPainter* FPainter = nullptr;
    QTransform FBaseTransform;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    TPoint FPenPos;
    int FBkMode = OPAQUE;
    TMapMode FMapMode = mmText;
    int FDpiOverrideX = 0;
    int FDpiOverrideY = 0;
    std::vector<SavedState> FSaved;
    mutable std::vector<std::unique_ptr<FontCache>> FFontCaches; // most recently used first
};

// ---- drawing routines ------------------------------------------------------------------------

// Formats text into the rectangle as the DT_ flags say; answers the height of the text (with
// DT_VCENTER or DT_BOTTOM: the distance from r.Top to the bottom of the text). With DT_CALCRECT
// nothing is drawn and r is widened or narrowed to the text (Right and Bottom move).
int DrawText(TCanvas& canvas, const QString& text, TRect& r, unsigned flags);
int DrawTextEx(TCanvas& canvas, const QString& text, TRect& r, unsigned flags, DRAWTEXTPARAMS* params = nullptr);
// Measures and draws with one formatting of the text: `measured` (coming in as r) becomes what
// DrawTextEx with DT_CALCRECT leaves, then the text is drawn into r as DrawTextEx draws it. With
// `placeBlock` a text that is not DT_SINGLELINE is first moved down inside r to the middle
// (DT_VCENTER) or the bottom (DT_BOTTOM) when it is lower than r, which DrawTextEx leaves to the
// caller. Answers what DrawTextEx answers for the drawing.
int DrawTextMeasured(TCanvas& canvas, const QString& text, const TRect& r, unsigned flags, TRect& measured,
                     bool placeBlock);

// Draws the 3D edge kinds (BDR_/EDGE_) on the sides BF_ names; BF_ADJUST shrinks r by the border.
bool DrawEdge(TCanvas& canvas, TRect& r, unsigned edge, unsigned flags);

// Check boxes, radio buttons, push buttons and scroll arrows in the classic look.
bool DrawFrameControl(TCanvas& canvas, const TRect& r, unsigned type, unsigned state);

// Clip regions in device pixels.
QRegion CreateRectRgn(int left, int top, int right, int bottom);
QRegion CreateEllipticRgn(int left, int top, int right, int bottom);
QRegion CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerW, int cornerH);

namespace platform {
// Text with "&" prefixes resolved: "&&" is "&", "&x" is x with its index in *underlined
// (-1 when there is none), a lone "&" at the end disappears.
QString StripPrefix(const QString& text, int* underlined = nullptr);
// Shortens a text with "..." to fit a width: at the end, or (path) in front of the last path part.
QString EndEllipsis(const QString& text, const QFontMetrics& fm, int width);
QString PathEllipsis(const QString& text, const QFontMetrics& fm, int width);

// Test seam: the most pixels one picture of the character-ink check has had since the last reset
// (the check draws a glyph on a picture a few em large to learn where it leaves ink).
qint64 LargestInkPicture(bool reset = false);
} // namespace platform
