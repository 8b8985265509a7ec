// The renderer of the mini-language: lays a text out line by line, paints it or hit-tests it.
// Every line is run twice: once to measure it (and hit-test anchors), then, placed by its
// alignment, once more to paint it (or to hit-test it at its final place).
#include "render/VurADIDO.h"
#include "render/VurADIDO_Internal.h"

#include "platform/Canvas.h"
#include "platform/PlatformInfo.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <vector>

using namespace vuradido;

TColor vuradido::BrushColorOrNone(const TCanvas& cv)
{
    return cv.Brush().Style() == bsClear ? clNone : cv.Brush().Color();
}

void vuradido::SetBrushColorOrClear(TCanvas& cv, TColor color)
{
    if (color == clNone) {
        cv.Brush().SetColor(clNone);
        cv.Brush().SetStyle(bsClear);
    } else {
        cv.Brush().SetColor(color);
    }
}

namespace {

QChar At(const QString& s, int i) { return i < s.size() ? s[i] : QChar(); }

void SetStyleFlag(TCanvas& cv, TFontStyle flag, bool on)
{
    TFontStyles s = cv.Font().Style();
    s.setFlag(flag, on);
    cv.Font().SetStyle(s);
}

// The largest size markup draws with: no screen shows more of a letter, and drawing and measuring
// a size far beyond it costs seconds and gigabytes. The text keeps the size as written.
constexpr int kMaxMarkupPoints = 500;

int FontPoints(int sizeValue)
{
    switch (sizeValue) {
    case 1: return 8;
    case 2: return 10;
    case 3: return 12;
    case 4: return 14;
    case 5: return 16;
    default: return std::min(sizeValue, kMaxMarkupPoints);
    }
}

// Draws the focus frame of the focused anchor up to `right` on this line.
void DrawAnchorFocus(TRenderContext& c, const TLineVars& L, int right)
{
    TRect f = c.FocusRect;
    f.Right = right;
    f.Bottom = L.Rect.Bottom - L.PicOffset;
    f.Top = f.Bottom - c.Canvas.TextHeight(QStringLiteral("gh"));
    f.Left -= 1;
    f.Right += 1;
    if (!L.Measure) c.Canvas.DrawFocusRect(f);
}

void OpenAnchor(TRenderContext& c, TLineVars& L, const QString& tag, const QString& upper)
{
    TCanvas& cv = c.Canvas;
    const TMarkupRenderParams& P = c.P;
    TLayoutState& st = c.St;
    const bool paint = !L.Measure;
    bool hasHref = false, hasTitle = false;
    const QString href = AttrValue(tag, upper, QStringLiteral("HREF"), &hasHref);
    const QString title = AttrValue(tag, upper, QStringLiteral("TITLE"), &hasTitle);

    if (paint && P.FocusAnchor == st.AnchorCount) {
        c.Focusing = true;
        c.FocusRect = TRect(L.CurX, L.Rect.Top, L.CurX, L.Rect.Top);
        if (c.R.FocusAnchorValue.isEmpty()) c.R.FocusAnchorValue = href;
    }
    ++st.AnchorCount;
    const bool hovered = st.AnchorCount == P.HoverAnchor;
    if ((!P.HoverOnly || hovered) && paint) {
        SetStyleFlag(cv, fsUnderline, true);
        if (P.HoverColor != clNone) {
            st.AnchorBrush = BrushColorOrNone(cv);
            cv.Brush().SetColor(P.HoverColor);
        }
        if (P.HoverTextColor != clNone) {
            st.AnchorFontColor = cv.Font().Color();
            cv.Font().SetColor(P.HoverTextColor);
        }
    }
    const bool hoverTextApplies = P.HoverTextColor != clNone && hovered && P.HoverOnly;
    if (!P.Selected && !hoverTextApplies) cv.Font().SetColor(P.AnchorColor);
    if (hasHref) {
        st.InAnchor = true;
        st.Href = href;
    }
    if (hasTitle) st.Title = title;
    c.AnchorStartX = L.CurX;
    c.AnchorTop = L.Rect.Top;
    c.AnchorLine = c.LineIndex;
}

void CloseAnchor(TRenderContext& c, TLineVars& L)
{
    TCanvas& cv = c.Canvas;
    const TMarkupRenderParams& P = c.P;
    TLayoutState& st = c.St;
    const bool paint = !L.Measure;
    if ((!P.HoverOnly || st.AnchorCount == P.HoverAnchor) && paint) {
        SetStyleFlag(cv, fsUnderline, false);
        if (P.HoverColor != clNone) SetBrushColorOrClear(cv, st.AnchorBrush);
        if (P.HoverTextColor != clNone) cv.Font().SetColor(st.AnchorFontColor);
    }
    if (!P.Selected) cv.Font().SetColor(c.BaseFont.Color());
    st.InAnchor = false;
    if (c.HoverPending) {
        const bool sameLine = c.AnchorLine == c.LineIndex;
        c.R.HoverRect = TRect(sameLine ? c.AnchorStartX : L.Rect.Left, sameLine ? c.AnchorTop : L.Rect.Top,
                              L.Rect.Left + L.Width, L.Rect.Bottom);
        c.R.MouseAnchor = st.AnchorCount;
        c.HoverPending = false;
    }
    if (c.Focusing) {
        DrawAnchorFocus(c, L, L.CurX);
        c.Focusing = false;
        c.FocusContinue = false;
    }
}

// Applies the tag at the front of `text`.
void ApplyTag(TRenderContext& c, TLineVars& L, const QString& text)
{
    TCanvas& cv = c.Canvas;
    const TMarkupRenderParams& P = c.P;
    TLayoutState& st = c.St;
    const bool paint = !L.Measure;

    const int gt = text.indexOf(u'>');
    const QString tag = gt < 0 ? text : text.left(gt + 1);
    const QString upper = MarkupUpperAscii(tag);
    const QChar c1 = At(upper, 1), c2 = At(upper, 2), c3 = At(upper, 3);

    if (c1 == u'/') {
        if (text.size() <= 3) return;  // "</X" at the very end: no effect
        switch (c2.unicode()) {
        case u'A': CloseAnchor(c, L); break;
        case u'B':
            if (c3 == u'>') SetStyleFlag(cv, fsBold, false);
            else cv.Font().SetColor(c.BaseFont.Color());
            break;
        case u'E': st.ErrorMark = false; break;
        case u'F':
            cv.Font().SetName(c.BaseFont.Name());
            cv.Font().SetSize(c.BaseFont.Size());
            if (paint && !P.Selected) {
                cv.Font().SetColor(c.BaseFont.Color());
                SetBrushColorOrClear(cv, st.FontBrush);
            }
            break;
        case u'H':
            if (paint) {
                cv.Font().SetColor(st.HiFontColor);
                SetBrushColorOrClear(cv, st.HiBrush);
            }
            break;
        case u'I': SetStyleFlag(cv, fsItalic, false); break;
        case u'L': L.Done = true; break;
        case u'P':
            L.Done = true;
            if (paint) ParagraphColorOff(c);
            break;
        case u'R': RestoreRotatedFont(c); break;
        case u'S':
            if (c3 == u'U') st.Sub = st.Sup = false;
            else if (c3 == u'H') st.Shadow = false;
            else SetStyleFlag(cv, fsStrikeOut, false);
            break;
        case u'U':
            if (c3 == u'>' || st.ListLevel < 1) SetStyleFlag(cv, fsUnderline, false);
            else --st.ListLevel;
            break;
        case u'Z': st.Hidden = false; break;
        default: break;
        }
        return;
    }

    switch (c1.unicode()) {
    case u'A': OpenAnchor(c, L, tag, upper); break;
    case u'B':
        if (c2 == u'>') {
            SetStyleFlag(cv, fsBold, true);
        } else if (c2 == u'R') {
            L.Done = true;
            c.R.PlainText += u'\r';
        } else if (c2 == u'L') {
            if (!P.BlinkVisible) cv.Font().SetColor(c.BgOnEntry);
        } else if (c2 == u'O') {
            TagBody(c, L, tag, upper);
        }
        break;
    case u'C': TagControl(c, L, tag); break;
    case u'E': st.ErrorMark = true; break;
    case u'F': {
        bool found = false;
        const QString face = AttrValue(upper, upper, QStringLiteral("FACE"), &found);
        if (found && !face.isEmpty()) cv.Font().SetName(face);
        TColor color;
        if (ParseColorValue(AttrValue(upper, upper, QStringLiteral(" COLOR")), color) && !P.Selected)
            cv.Font().SetColor(color);
        if (paint && !P.Selected && ParseColorValue(AttrValue(upper, upper, QStringLiteral("BGCOLOR")), color)) {
            st.FontBrush = BrushColorOrNone(cv);
            cv.Brush().SetColor(color);
        }
        const int size = upper.indexOf(QStringLiteral("SIZE"));
        if (size >= 0) {
            const int eq = upper.indexOf(u'=', size);
            const int quote = eq < 0 ? -1 : upper.indexOf(u'"', eq);
            if (quote >= 0) {
                const int points = FontPoints(MarkupStrToInt(upper.mid(quote + 1)));
                if (points > 0) cv.Font().SetSize(points);  // a size of 0 or less keeps the font usable
            }
        }
        break;
    }
    case u'H':
        if (c2 == u'I') {
            if (paint) {
                st.HiFontColor = cv.Font().Color();
                st.HiBrush = BrushColorOrNone(cv);
                cv.Brush().SetColor(HighlightColor());
                cv.Font().SetColor(HighlightTextColor());
            }
        } else if (c2 == u'R') {
            TagRule(c, L);
        }
        break;
    case u'I':
        if (c2 == u'>') {
            SetStyleFlag(cv, fsItalic, true);
        } else if (c2 == u'N') {
            int n = 0;
            if (platform::TryStrToInt(AttrValue(upper, upper, QStringLiteral("X")), n) && L.Width < n) {
                L.Width = n;
                L.CurX = L.Rect.Left + n;
            }
        } else if (c2 == u'M') {
            TagImage(c, L, tag, upper);
        }
        break;
    case u'L': TagListItem(c, L); break;
    case u'P': {
        bool found = false;
        const QString align = AttrValue(upper, upper, QStringLiteral("ALIGN"), &found);
        if (found) {
            if (align.contains(QStringLiteral("RIGHT"))) st.Align = TLineAlign::Right;
            if (align.contains(QStringLiteral("LEFT"))) st.Align = TLineAlign::Left;
            if (align.contains(QStringLiteral("CENTER"))) st.Align = TLineAlign::Center;
        }
        const QString indent = AttrValue(upper, upper, QStringLiteral("INDENT"), &found);
        if (found) st.Indent = MarkupStrToInt(indent);
        TagParagraphColor(c, L, upper);
        break;
    }
    case u'R': SelectRotatedFont(c, MarkupStrToInt(AttrValue(upper, upper, QStringLiteral("A")))); break;
    case u'S':
        if (c2 == u'>') SetStyleFlag(cv, fsStrikeOut, true);
        else if (c2 == u'H') st.Shadow = true;
        else if (upper.startsWith(QStringLiteral("<SUB>"))) st.Sub = true;
        else if (upper.startsWith(QStringLiteral("<SUP>"))) st.Sup = true;
        break;
    case u'U':
        if (c2 == u'>') {
            SetStyleFlag(cv, fsUnderline, true);
        } else {
            ++st.ListLevel;
            L.Done = true;
        }
        break;
    case u'Z': st.Hidden = true; break;
    default: break;
    }
}

// Paints one text run at the pen position of the line.
void PaintRun(TRenderContext& c, TLineVars& L, const QString& run, int w)
{
    TCanvas& cv = c.Canvas;
    const TLayoutState& st = c.St;
    TRect tr(L.CurX, L.Rect.Top, L.Rect.Right, L.Rect.Bottom);
    // A run that starts at or beyond the right edge (pushed there by an indent, an IND or a
    // picture wider than the rectangle) has no room left to show anything in.
    if (tr.Left >= tr.Right) return;
    if (st.Sub) tr.Bottom += L.SubSpace;
    if (st.Sup) tr.Bottom -= L.SupSpace;
    tr.Bottom -= L.PicOffset;

    if (cv.Font().Orientation() != 0) {
        // Rotated text turns around its start point at the bottom of the line.
        cv.TextOut(L.CurX, tr.Bottom - cv.TextHeight(run), platform::StripPrefix(run));
    } else {
        if (st.Shadow) {
            const TColor color = cv.Font().Color();
            cv.Font().SetColor(c.P.ShadowColor);
            TRect sr = tr;
            OffsetRect(sr, c.P.ShadowOffset, c.P.ShadowOffset);
            DrawTextEx(cv, run, sr, c.DrawFlags);
            cv.Font().SetColor(color);
        }
        TRect r = tr;
        DrawTextEx(cv, run, r, c.DrawFlags);
    }

    if (st.ErrorMark) {
        // A red zig-zag under the run: points every 2 pixels, one below and one above the line
        // bottom, the lower ones where x is divisible by 4.
        std::vector<TPoint> pts;
        const int right = L.CurX + w;
        for (int x = (L.CurX / 2) * 2; x <= right; x += 2)
            pts.emplace_back(x, x % 4 == 0 ? tr.Bottom + 1 : tr.Bottom - 1);
        if (pts.size() >= 2) {
            const TColor pen = cv.Pen().Color();
            const int width = cv.Pen().Width();
            cv.Pen().SetColor(clRed);
            cv.Pen().SetWidth(1);
            cv.Polyline(pts);
            cv.Pen().SetColor(pen);
            cv.Pen().SetWidth(width);
        }
    }
}

// Lays out (and paints) one line taken from the front of `text`; returns the markup it consumed.
QString RenderMarkupLine(TRenderContext& c, QString& text, TLineVars& L)
{
    TCanvas& cv = c.Canvas;
    const TMarkupRenderParams& P = c.P;
    TLayoutState& st = c.St;
    const bool paint = !L.Measure;

    L.Rect.Bottom -= L.SubSpace;
    L.Width = 0;
    L.TrailingBlank = 0;
    L.Done = L.NoRoom = false;
    L.ObjectHit = L.AnchorHit = false;
    L.HasBullet = false;
    L.LineText.clear();
    L.CurX = L.Rect.Left;

    if (paint && st.ParaBackground) {
        const TColor pen = cv.Pen().Color();
        cv.Pen().SetColor(cv.Brush().Color());
        cv.Rectangle(c.Layout.Left, L.Rect.Top, c.Layout.Right, L.Rect.Top + L.Height);
        cv.Pen().SetColor(pen);
    }
    if (paint && c.Focusing && c.FocusContinue) {
        c.FocusRect.Left = L.Rect.Left + 1;
        c.FocusRect.Top = L.Rect.Top;
        c.FocusContinue = false;
    }

    const unsigned measureFlags = (c.DrawFlags & ~DT_END_ELLIPSIS) | DT_CALCRECT;
    while (!text.isEmpty() && !L.Done && !L.NoRoom) {
        // The next run: up to the next tag, or with word wrap up to and including a blank before it.
        const int lt = text.indexOf(u'<');
        int runLen = lt < 0 ? int(text.size()) : lt;
        if (P.WordWrap) {
            const int blank = text.indexOf(u' ');
            if (blank >= 0 && (lt < 0 || blank < lt)) runLen = blank + 1;
        }
        const QString src = text.left(runLen);
        const QString run = MarkupDecodeRunEntities(src);

        bool hidden = false;
        if (!run.isEmpty()) {
            const int h = cv.TextHeight(run);
            if (st.Sub) L.SubSpace = std::max(L.SubSpace, h / 4);
            if (st.Sup) L.SupSpace = std::max(L.SupSpace, h / 4);
            L.Height = std::max(L.Height, h);
            c.R.PlainText += run;
            if (st.Hidden) {
                text.remove(0, runLen);
                hidden = true;
            }
        }

        if (!run.isEmpty() && !hidden) {
            TRect mr(L.Rect.Left, L.Rect.Top, L.Rect.Right, L.Rect.Bottom);
            DrawTextEx(cv, run, mr, measureFlags);
            const int w = mr.Width();
            const int startOffset = L.Width;
            if (L.Measure) {
                const int hitX = P.HitX;
                if (st.InAnchor && hitX - L.Rect.Left >= startOffset && startOffset + w >= hitX - L.Rect.Left) {
                    L.AnchorHit = true;
                    if (P.HitY > L.Rect.Top) {
                        c.R.AnchorValue = st.Href;
                        c.R.AnchorTitle = st.Title;
                        c.HoverPending = true;
                    }
                }
            } else {
                PaintRun(c, L, run, w);
            }
            L.Width += w;

            // Fit decisions are made against the width of the layout, in both passes alike.
            const bool fits = L.Width < c.WorkWidth || w >= c.WorkWidth;
            const bool continuesWord = !L.LineText.isEmpty() && !L.LineText.endsWith(u' ');
            if (fits || continuesWord || !P.WordWrap) {
                // Without word wrap the run that reaches the right edge is the last one: it is
                // drawn with an ellipsis, and no text, tag, picture or line break after it is
                // laid out, measured or painted. Whether it started a word, continued one split
                // by a tag or is wider than the rectangle on its own makes no difference.
                const bool endsText = !P.WordWrap && L.Width >= c.WorkWidth;
                L.LineText += src;
                text.remove(0, runLen);
                if (endsText) text.clear();
                L.TrailingBlank = src.endsWith(u' ') ? cv.TextWidth(QStringLiteral(" ")) : 0;
                L.CurX += w;
            } else {
                L.Done = true;
                L.Width -= w;
            }
        }

        if (text.startsWith(u'<') && text.size() <= 2) text.clear();
        if (L.Done || !text.startsWith(u'<')) continue;

        ApplyTag(c, L, text);
        if (L.NoRoom) continue;  // the tag starts the next line
        const int gt = text.indexOf(u'>');
        if (gt < 0) {
            text.clear();
        } else {
            L.LineText += text.left(gt + 1);
            text.remove(0, gt + 1);
        }
    }

    L.Width -= L.TrailingBlank;
    c.R.Width = std::max(c.R.Width, L.Width);
    if (paint && c.Focusing) {
        DrawAnchorFocus(c, L, L.CurX);
        c.FocusContinue = true;
    }
    return L.LineText;
}

} // namespace

bool RenderMarkupText(TCanvas& canvas, const QString& text, const TRect& rect, const TMarkupRenderParams& params,
                      TMarkupRenderResult& result)
{
    TCanvas& cv = canvas;
    const TMarkupRenderParams& P = params;

    const TColor penColor = cv.Pen().Color();
    const int penWidth = cv.Pen().Width();
    const TColor brushColor = cv.Brush().Color();
    const TBrushStyle brushStyle = cv.Brush().Style();
    const int bkMode = cv.BkMode();

    TRenderContext c(canvas, params, result);
    c.BaseFont = cv.Font();
    c.BgOnEntry = brushColor;
    c.Layout = rect;
    cv.Brush().SetColor(clNone);

    const platform::TPlatformInfo& info = platform::PlatformInfo();
    c.Themed = XPFlag() && info.VisualStylesAvailable && info.ThemeActive;

    result = TMarkupRenderResult();
    if (P.HitTestOnly) result.ControlID = P.ControlID;

    cv.SetBkMode(TRANSPARENT);
    c.DrawFlags = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    if (!P.WordWrap) c.DrawFlags |= DT_END_ELLIPSIS;

    QString s = MarkupLineEndsToBreaks(UnwrapHashTags(MarkupDecodeTextEntities(text)), true);

    TRect work = rect;
    work.Left += 1;
    c.WorkWidth = work.Width();

    // Without word wrap nothing is painted outside the rectangle: the shadow and error mark of
    // the run at the edge, and a picture or control wider than the room left, are cut at its border.
    const bool clipToRect = !P.MeasureOnly && !P.HitTestOnly && !P.WordWrap;
    const int savedDC = clipToRect ? cv.SaveDC() : 0;
    if (clipToRect) cv.IntersectClipRect(rect);

    bool hit = false;
    while (!s.isEmpty()) {
        c.St.Sub = c.St.Sup = false;
        const TLayoutState start = c.St;
        const TFont startFont(cv.Font());
        const int gh = cv.TextHeight(QStringLiteral("gh"));

        TLineVars M;
        M.Measure = true;
        M.Rect = TRect(work.Left, work.Top, work.Right, rect.Bottom);
        M.Height = gh;
        const int before = int(s.size());
        const QString line = RenderMarkupLine(c, s, M);
        if (int(s.size()) == before) s.remove(0, 1);  // never stall on text that cannot be laid out

        c.St.InAnchor = start.InAnchor;
        c.St.Href = start.Href;
        c.St.Title = start.Title;

        TRect placed = work;
        if (c.St.Align == TLineAlign::Right) {
            if (placed.Right - M.Width > placed.Left) placed.Left = placed.Right - M.Width;
        } else if (c.St.Align == TLineAlign::Center) {
            const int room = placed.Right - placed.Left - M.Width;
            if (room > 0) placed.Left += room / 2;
        }
        placed.Left += c.St.Indent;
        placed.Bottom = placed.Top + M.Height + M.SupSpace + M.SubSpace;

        if (!P.MeasureOnly) {
            c.St = start;
            cv.Font().Assign(startFont);
            TLineVars Q;
            Q.Measure = P.HitTestOnly;
            Q.Rect = placed;
            Q.Height = M.Height;
            Q.SubSpace = M.SubSpace;
            Q.SupSpace = M.SupSpace;
            Q.PicOffset = M.PicOffset;
            QString again = line;
            RenderMarkupLine(c, again, Q);
            const int bottom = placed.Bottom - Q.PicOffset;
            if ((Q.AnchorHit && P.HitY > bottom - gh && P.HitY < bottom) || Q.ObjectHit) hit = true;
        }

        const int advance = M.Height + M.SupSpace + M.SubSpace;
        work.Top += advance;
        result.Height += advance;
        ++c.LineIndex;
        if (!P.MeasureOnly && work.Top + gh > rect.Bottom) break;  // lines that do not fit are not drawn
    }

    result.AnchorCount = c.St.AnchorCount;
    if (clipToRect) cv.RestoreDC(savedDC);
    cv.Font().Assign(c.BaseFont);
    if (result.Height == 0) result.Height = cv.TextHeight(QStringLiteral("gh"));
    cv.Pen().SetColor(penColor);
    cv.Pen().SetWidth(penWidth);
    cv.Brush().SetColor(brushColor);
    cv.Brush().SetStyle(brushStyle);
    cv.SetBkMode(bkMode);
    return !P.MeasureOnly && hit;
}
