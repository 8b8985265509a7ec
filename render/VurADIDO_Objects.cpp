// Things the renderer puts on a line or behind it besides text: pictures, in-text controls, list
// bullets, rules, the whole-area background, paragraph bands and rotated text.
#include "render/VurADIDO.h"
#include "render/VurADIDO_Internal.h"

#include "platform/Canvas.h"
#include "platform/Picture.h"
#include "platform/SysUtils.h"
#include "render/PictureContainer.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>

#include <algorithm>

namespace vuradido {

namespace {

// Keeps pen and brush of the canvas and gives them back at the end of a drawing step.
class PenBrushKeeper {
public:
    explicit PenBrushKeeper(TCanvas& cv)
        : FCanvas(cv), FPen(cv.Pen()), FBrushColor(cv.Brush().Color()), FBrushStyle(cv.Brush().Style()),
          FBkMode(cv.BkMode())
    {
    }
    ~PenBrushKeeper()
    {
        FCanvas.Pen().Assign(FPen);
        FCanvas.Brush().SetColor(FBrushColor);
        FCanvas.Brush().SetStyle(FBrushStyle);
        FCanvas.SetBkMode(FBkMode);
    }

private:
    TCanvas& FCanvas;
    TPen FPen;
    TColor FBrushColor;
    TBrushStyle FBrushStyle;
    int FBkMode;
};

// A picture named by a mini-language source: by name from the container (no ":"), or by
// address from the cache (with "://"), loaded into the cache at first use.
THTMLPicture* FindMarkupPicture(const TRenderContext& c, const QString& src)
{
    if (!src.contains(u':')) return c.P.PictureContainer ? c.P.PictureContainer->FindPicture(src) : nullptr;
    if (!src.contains(QStringLiteral("://")) || !c.P.PictureCache) return nullptr;
    THTMLPicture* pic = c.P.PictureCache->FindPicture(src);
    if (!pic) {
        pic = c.P.PictureCache->AddPicture();
        pic->SetAsynch(false);
        try {
            pic->LoadFromURL(src);
        } catch (const std::exception&) {
            // a picture that cannot be decoded shows nothing; the cache keeps it so that it is
            // not read again for every paint
        }
        if (pic->ID().isEmpty()) pic->SetID(src);
    }
    return pic;
}

} // namespace

bool TakeRoom(TRenderContext& c, TLineVars& L, int w, int h)
{
    if (L.Width + w > c.WorkWidth && w < c.WorkWidth) {
        L.NoRoom = true;
        return false;
    }
    L.Width += w;
    L.CurX += w;
    L.Height = std::max(L.Height, h);
    return true;
}

void TagImage(TRenderContext& c, TLineVars& L, const QString& tag, const QString& upper)
{
    TCanvas& cv = c.Canvas;
    const TMarkupRenderParams& P = c.P;
    const bool paint = !L.Measure;
    // The source keeps the letter case of the text: file paths depend on it.
    const QString src = AttrValue(tag, upper, QStringLiteral("SRC"));
    const QString srcUpper = MarkupUpperAscii(src);
    const int width = MarkupStrToInt(AttrValue(upper, upper, QStringLiteral("WIDTH")));
    const int height = MarkupStrToInt(AttrValue(upper, upper, QStringLiteral("HEIGHT")));
    const int dpiX = cv.GetDeviceCaps(LOGPIXELSX);
    const int dpiY = cv.GetDeviceCaps(LOGPIXELSY);
    const int top = L.Rect.Top;
    int extW = 0, extH = 0;

    if (srcUpper.startsWith(QStringLiteral("IDX:"))) {
        const int n = MarkupStrToInt(src.mid(4));
        if (P.Images && n >= 0 && n < P.Images->Count()) {
            const int lw = P.Images->Width(), lh = P.Images->Height();
            extW = platform::MulDiv(lw, dpiX, 96);
            extH = platform::MulDiv(lh, dpiY, 96);
            if (paint) {
                if (!P.Printing) {
                    P.Images->Draw(cv, L.CurX, top, n, true);
                } else {
                    TBitmap bmp;
                    if (P.Images->GetBitmap(n, bmp))
                        cv.StretchDraw(TRect(L.CurX, top, L.CurX + int(platform::Round(lw * P.ResFactor)),
                                             top + int(platform::Round(lh * P.ResFactor))),
                                       &bmp);
                }
            }
        }
    } else if (srcUpper.startsWith(QStringLiteral("SSYS:")) || srcUpper.startsWith(QStringLiteral("LSYS:"))) {
        TSize size;
        DrawShellIcon(cv, L.CurX, top, size, P.ResFactor, P.Printing, paint, srcUpper.startsWith(u'L'), src.mid(5));
        extW = platform::MulDiv(size.cx, dpiX, 96);
        extH = platform::MulDiv(size.cy, dpiY, 96);
    } else if (THTMLPicture* pic = FindMarkupPicture(c, src); pic && !pic->Empty() && pic->Decoded()) {
        const int pw = pic->Width(), ph = pic->Height();
        int dw = pw, dh = ph;
        // Either size alone keeps the aspect ratio; a picture without extent gives no size.
        if (width > 0 && height > 0) {
            dw = width;
            dh = height;
        } else if (width > 0) {
            dw = width;
            dh = pw > 0 ? int(platform::Round(double(ph) * width / pw)) : 0;
        } else if (height > 0) {
            dh = height;
            dw = ph > 0 ? int(platform::Round(double(pw) * height / ph)) : 0;
        }
        const bool sized = width > 0 || height > 0;
        if (paint) {
            if (sized) {
                pic->SetStretch(true);
                cv.StretchDraw(Bounds(L.CurX, top, dw, dh), pic);
            } else {
                if (pic->FrameCount() > 1) {
                    PenBrushKeeper keep(cv);
                    cv.Pen().SetColor(c.BgOnEntry);
                    cv.Brush().SetColor(c.BgOnEntry);
                    cv.Rectangle(Bounds(L.CurX, top, pic->MaxWidth(), pic->MaxHeight()));
                }
                cv.Draw(L.CurX + pic->FrameXPos(), top + pic->FrameYPos(), pic);
            }
        }
        if (sized) {
            extW = platform::MulDiv(dw, dpiX, 96);
            extH = platform::MulDiv(dh, dpiY, 96);
        } else {
            extW = platform::MulDiv(pic->MaxWidth(), dpiX, 96);
            extH = platform::MulDiv(pic->MaxHeight(), dpiY, 96);
        }
    }

    const int hx = P.HitX - L.Rect.Left;
    if (hx > L.Width && hx < L.Width + extW && P.HitY > top && P.HitY < top + extH && c.St.InAnchor) {
        L.ObjectHit = true;
        c.R.AnchorValue = c.St.Href;
        c.R.AnchorTitle = c.St.Title;
    }
    if (!TakeRoom(c, L, extW, extH)) return;

    const int gh = cv.TextHeight(QStringLiteral("gh"));
    if (upper.contains(QStringLiteral("\"TOP"))) L.PicOffset = std::max(0, L.Height - gh);
    else if (upper.contains(QStringLiteral("\"MIDDLE"))) L.PicOffset = std::max(0, L.Height - gh) / 2;
}

void TagControl(TRenderContext& c, TLineVars& L, const QString& tag)
{
    TCanvas& cv = c.Canvas;
    const TMarkupRenderParams& P = c.P;
    QString type, id, value, widthText, heightText, prop, maxlen;
    ParseControlTag(tag, type, id, value, widthText, heightText, prop, maxlen);
    int width = 0;
    // Without a whole-number WIDTH the control is not shown at all.
    if (widthText.isEmpty() || !platform::TryStrToInt(widthText, width)) return;
    int ctrlHeight = 25;
    if (!platform::TryStrToInt(heightText, ctrlHeight)) ctrlHeight = 25;

    const int gh = cv.TextHeight(QStringLiteral("gh"));
    int extW = width, extH = gh + 10;
    const bool box = type == QLatin1String("CHECK") || type == QLatin1String("RADIO");
    L.Height = box ? 16 : 23;
    if (ctrlHeight > 25) L.Height = ctrlHeight - 2;
    const int x = L.CurX;
    const int bottom = L.Rect.Bottom;
    const int boxTop = bottom - L.Height + 4;
    const bool checked = value.toUpper() == QLatin1String("TRUE");

    if (type == QLatin1String("COMBO") || type == QLatin1String("BUTTON")) extH = 25;
    if (box) extW = extH = 16;

    if (!L.Measure) {
        PenBrushKeeper keep(cv);
        cv.Pen().SetColor(c.Themed ? TColor(0xB99D7F) : TColor(0x808080));
        if (type == QLatin1String("EDIT") || type == QLatin1String("PASSWORD") || type == QLatin1String("MASK") ||
            type == QLatin1String("COMBO")) {
            cv.Brush().SetColor(clWhite);
            cv.Brush().SetStyle(bsSolid);
            cv.Rectangle(x, boxTop, x + width, bottom + 2);
            cv.Brush().SetStyle(bsClear);
            cv.SetBkMode(TRANSPARENT);
            if (type == QLatin1String("COMBO")) {
                TRect tr(x + 4, boxTop, x + width - 18, bottom);
                DrawText(cv, value, tr, DT_SINGLELINE | DT_VCENTER);
                DrawFrameControl(cv, TRect(x + width - 18, boxTop + 1, x + width - 1, bottom + 1), DFC_SCROLL,
                                 DFCS_SCROLLCOMBOBOX);
            } else {
                const QString shown = type == QLatin1String("PASSWORD") ? QString(value.size(), u'*') : value;
                TRect tr(x + 2, boxTop, x + width, bottom);
                DrawText(cv, shown, tr, DT_SINGLELINE | DT_VCENTER);
            }
        } else if (type == QLatin1String("CHECK")) {
            cv.Brush().SetStyle(bsClear);
            DrawFrameControl(cv, TRect(x + 2, bottom - 15, x + 15, bottom), DFC_BUTTON,
                             DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (type == QLatin1String("RADIO")) {
            cv.Brush().SetStyle(bsClear);
            DrawFrameControl(cv, TRect(x + 2, bottom - 14, x + 14, bottom), DFC_BUTTON,
                             DFCS_BUTTONRADIO | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
        } else if (type == QLatin1String("BUTTON")) {
            const bool hot = x - 2 < P.HitX && P.HitX < x - 2 + width && bottom - 24 - 2 < P.HitY &&
                             P.HitY < bottom - 2;
            cv.Brush().SetStyle(bsClear);
            TRect face(x + 2, bottom - ctrlHeight, x + width - 2, bottom);
            DrawFrameControl(cv, face, DFC_BUTTON, DFCS_BUTTONPUSH | (hot && P.ControlPressed ? DFCS_PUSHED : 0));
            InflateRect(face, -2, -2);
            cv.SetBkMode(TRANSPARENT);
            DrawText(cv, value, face, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
    }

    const int hx = P.HitX - L.Rect.Left;
    const bool over = L.Width < hx && hx < L.Width + extW && L.Rect.Top < P.HitY && P.HitY < L.Rect.Top + extH;
    const bool wanted = P.HitTestOnly && !P.ControlID.isEmpty() && id == P.ControlID;
    if (over || wanted) {
        L.ObjectHit = true;
        c.R.AnchorValue = QStringLiteral("ctrl");
        c.R.ControlRect = Bounds(L.Rect.Left + L.Width, L.Rect.Top, extW, extH);
        c.R.ControlValue = value;
        c.R.ControlID = id;
        c.R.ControlType = type;
    }
    TakeRoom(c, L, extW, extH);
}

void TagListItem(TRenderContext& c, TLineVars& L)
{
    if (L.HasBullet) {  // a second item on the line starts the next line
        L.NoRoom = true;
        return;
    }
    L.HasBullet = true;
    TCanvas& cv = c.Canvas;
    const int level = c.St.ListLevel;
    L.Width += level * 12;
    L.CurX += level * 12 - 12;
    if (!L.Measure) {
        // The bullet of odd levels is a round dot, that of even levels a small circle.
        TRect r(L.CurX, L.Rect.Top, L.Rect.Right, L.Rect.Bottom);
        DrawText(cv, level % 2 != 0 ? QStringLiteral("\u2022") : QStringLiteral("o"), r, 0);
    }
    L.CurX += 12;
}

void TagRule(TRenderContext& c, TLineVars& L)
{
    L.Done = true;
    if (L.Measure) return;
    TCanvas& cv = c.Canvas;
    const TColor pen = cv.Pen().Color();
    cv.Pen().SetColor(clBlack);
    cv.MoveTo(L.Rect.Left, L.Rect.Bottom + 1);
    cv.LineTo(c.Layout.Right, L.Rect.Bottom + 1);
    cv.Pen().SetColor(pen);
}

void TagBody(TRenderContext& c, TLineVars& L, const QString& tag, const QString& upper)
{
    if (L.Measure) return;
    TCanvas& cv = c.Canvas;
    bool found = false;
    const QString background = AttrValue(tag, upper, QStringLiteral("BACKGROUND"), &found);
    if (found) {
        const THTMLPicture* pic = FindMarkupPicture(c, background);
        if (pic && !pic->Empty() && pic->Width() > 0 && pic->Height() > 0) {
            const TRect& a = c.Layout;
            const int saved = cv.SaveDC();
            cv.IntersectClipRect(a);
            for (int y = a.Top; y < a.Bottom; y += pic->Height())
                for (int x = a.Left; x < a.Right; x += pic->Width()) cv.Draw(x, y, pic);
            cv.RestoreDC(saved);
        }
    }
    const QString bg = AttrValue(upper, upper, QStringLiteral("BGCOLOR"), &found);
    if (found) {
        TColor color;
        if (bg.contains(QStringLiteral("CL"))) color = MarkupColorFromName(bg.toLower());
        else if (bg.contains(u'#')) color = MarkupHexColor(bg);
        else return;
        cv.Brush().SetColor(color);
        c.St.FontBrush = color;
        const TColor pen = cv.Pen().Color();
        cv.Pen().SetColor(color);
        cv.Rectangle(c.Layout);
        cv.Pen().SetColor(pen);
    }
}

void TagParagraphColor(TRenderContext& c, TLineVars& L, const QString& upper)
{
    if (L.Measure) return;
    TColor color;
    if (!ParseColorValue(AttrValue(upper, upper, QStringLiteral("BGCOLOR")), color)) return;
    TCanvas& cv = c.Canvas;
    c.St.ParaBackground = true;
    c.St.ParaBrush = BrushColorOrNone(cv);
    c.St.ParaPen = cv.Pen().Color();
    cv.Brush().SetColor(color);
    cv.Pen().SetColor(color);
    cv.Rectangle(c.Layout.Left, L.Rect.Top, c.Layout.Right, L.Rect.Bottom);
}

void ParagraphColorOff(TRenderContext& c)
{
    if (!c.St.ParaBackground) return;
    SetBrushColorOrClear(c.Canvas, c.St.ParaBrush);
    c.Canvas.Pen().SetColor(c.St.ParaPen);
    c.St.ParaBackground = false;
}

void SelectRotatedFont(TRenderContext& c, int degrees)
{
    c.St.Rotations.push_back(c.Canvas.Font().Orientation());
    c.Canvas.Font().SetOrientation(degrees * 10);
}

void RestoreRotatedFont(TRenderContext& c)
{
    if (c.St.Rotations.empty()) return;
    c.Canvas.Font().SetOrientation(c.St.Rotations.back());
    c.St.Rotations.pop_back();
}

void DrawShellIcon(TCanvas& canvas, int x, int y, TSize& size, double factor, bool printing, bool paint,
                   bool large, const QString& name)
{
    const int side = large ? 32 : 16;
    size = TSize(side, side);
    if (!paint) return;
    // A whole number names an icon of the system list, which this platform does not have.
    int index = 0;
    if (platform::TryStrToInt(name, index)) return;
    QFileIconProvider provider;
    const QIcon icon = provider.icon(QFileInfo(name));
    const QImage image = icon.pixmap(side, side).toImage();
    if (image.isNull()) return;
    const TIcon graphic(image);
    if (!printing)
        canvas.StretchDraw(Bounds(x, y, side, side), &graphic);
    else
        canvas.StretchDraw(TRect(x, y, x + int(platform::Round(side * factor)), y + int(platform::Round(side * factor))),
                           &graphic);
}

} // namespace vuradido
