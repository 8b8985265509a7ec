// TVerIvovavOzed: the graphic of a cell (check box, radio group, picture, progress bar, button,
// comment mark, ...): its size, its place beside or instead of the text, and its drawing.
#include "grid/AdvGrid.h"

#include "platform/PlatformInfo.h"
#include "render/RuvOdid.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace {

// The check-box and radio pictures are drawn for every visible cell; load each once.
const TBitmap& ResourceBitmap(const QString& name)
{
    static QHash<QString, TBitmap> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        TBitmap b;
        try {
            b.LoadFromResourceName(name);
        } catch (const std::exception&) {
            // a missing picture draws nothing
        }
        b.SetTransparent(true);
        it = cache.insert(name, b);
    }
    return it.value();
}

bool IsCheckOrRadio(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctRadioButton || t == ctTriStateCheckBox;
}

bool IsDataBox(TCellType t) { return t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox; }

bool ThemesUsable()
{
    const platform::TPlatformInfo& pi = platform::PlatformInfo();
    return pi.VisualStylesAvailable && pi.IsComCtl6OrLater();
}

// The picture of a check box or radio button: numbered 1 (on), 2 (off), 3 and 4 (the same
// disabled), 5 to 8 for the XP look; none for the other looks.
QString ControlResourceName(const char* Prefix, TControlStyle Style, bool On, bool Enabled)
{
    int n;
    if (On)
        n = Enabled ? 1 : 3;
    else
        n = Enabled ? 2 : 4;
    if (Style == csWinXP)
        n += 4;
    else if (Style != csOrlex)
        return QString();
    return QString::fromLatin1(Prefix) + QString::number(n);
}

} // namespace

double TVerIvovavOzed::LimitPercent(double x) { return std::clamp(x, 0.0, 100.0); }

QString TVerIvovavOzed::CheckBoxResourceName(TControlStyle Style, bool Checked, bool Enabled)
{
    return ControlResourceName("ASGCHK0", Style, Checked, Enabled);
}

QString TVerIvovavOzed::RadioResourceName(TControlStyle Style, bool On, bool Enabled)
{
    return ControlResourceName("ASGRAD0", Style, On, Enabled);
}

// ---- metrics ---------------------------------------------------------------------------------

TCellGraphic* TVerIvovavOzed::GetCellGraphicMetrics(int ACol, int ARow, int& W, int& H, TCellHAlign& HAlign,
                                                    TCellVAlign& VAlign, bool& DrawText)
{
    W = H = 0;
    DrawText = true;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return nullptr;
    HAlign = g->CellHAlign();
    VAlign = g->CellVAlign();
    const int check = FControlLook->CheckSize();
    switch (g->CellType()) {
    case ctBitmap:
        if (const TBitmap* b = g->Bitmap()) {
            W = b->Width();
            H = b->Height();
        }
        break;
    case ctIcon:
        if (const TIcon* i = g->Icon()) {
            W = i->Width();
            H = i->Height();
        }
        break;
    case ctImageList:
    case ctDataImage:
        if (const TCustomImageList* il = GetCellImageList(ACol, ARow)) {
            W = il->Width();
            H = il->Height();
        }
        DrawText = g->CellType() != ctDataImage;
        break;
    case ctImages:
        if (const TCustomImageList* il = GetCellImageList(ACol, ARow)) {
            const int n = g->Images() ? g->Images()->Count() : 0;
            W = g->CellBoolean() ? n * il->Width() : il->Width();
            H = g->CellBoolean() ? il->Height() : n * il->Height();
        }
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
        DrawText = false;
        break;
    case ctCheckBox:
    case ctTriStateCheckBox:
        W = H = check;
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        W = H = check;
        DrawText = false;
        break;
    case ctPicture:
    case ctFilePicture: {
        const int dc = DisplColIndex(ACol);
        const TPoint s = g->GetPictureSize(ColWidths(dc), RowHeights(ARow), true);
        W = s.X;
        H = s.Y;
        break;
    }
    case ctButton:
    case ctBitButton:
        W = g->CellIndex() & 0xFFFF;
        H = (unsigned(g->CellIndex()) >> 16) & 0xFFFF;
        break;
    case ctProgressPie:
        W = H = 20;
        break;
    case ctRadioButton:
        W = H = FControlLook->RadioSize() + 4;
        break;
    case ctShape:
        W = H = RowHeights(ARow) - 2 * FXYOffset.Y;
        break;
    case ctRating:
        W = g->CellAngle() * 18;
        H = 16;
        DrawText = false;
        break;
    default:
        break;
    }
    return g;
}

// ---- drawing ---------------------------------------------------------------------------------

void TVerIvovavOzed::DrawCellErrorMarker(TCanvas& ACanvas, TCellGraphic* AGraphic)
{
    const TCellPaintValues& v = FPaint;
    if (AGraphic->CellErrLen() <= 0)
        return;
    // The red wavy line lies under the marked characters of the first line of the text as the
    // text step laid it out: from the content rectangle's insets, by the text alignment.
    QString text = GetFormattedCell(v.RCol, v.Row);
    text = text.section(QLatin1Char('\n'), 0, 0);
    text.remove(QLatin1Char('\r'));
    // The content rectangle grew by one on each side after the text step.
    TRect T = v.R;
    InflateRect(T, -1, -1);
    T.Left += FXYOffset.X;
    T.Top += FXYOffset.Y;
    if (!FXYOffsetTopLeftOnly)
        T.Right -= FXYOffset.X;
    const int w = ACanvas.TextWidth(text);
    if (v.HA == taRightJustify)
        T.Left = T.Right - w;
    else if (v.HA == taCenter)
        T.Left += (T.Right - T.Left - w) / 2;
    const int h = ACanvas.TextHeight(QStringLiteral("hg"));
    if (v.VA == vtaCenter)
        T.Top += (T.Bottom - T.Top - h) / 2;
    else if (v.VA == vtaBottom)
        T.Top = T.Bottom - h;
    DrawTextRangeErrorMark(this, ACanvas, text, AGraphic->CellErrLen(), AGraphic->CellErrFrom(), h, T);
}

void TVerIvovavOzed::DrawCellGraphic(TCanvas& ACanvas, TRect& ARect, TCellGraphic* AGraphic, TVAlignment VA)
{
    if (!AGraphic)
        return;
    const TCellPaintValues& v = FPaint;
    const TCellType type = AGraphic->CellType();
    const int W = v.GraphicW, H = v.GraphicH;

    // placement
    TRect r = ARect;
    if (type != ctNode && type != ctProgress && type != ctRangeIndicator && type != ctXPProgress) {
        r.Left += FXYOffset.X - 1;
        r.Right -= FXYOffset.X - 1;
        r.Top += FXYOffset.Y - 1;
        r.Bottom -= FXYOffset.Y - 1;
    }
    int t = v.TextWidth;
    if (t > 0)
        t += 2;
    int L = r.Left + 1, Rt = L + W;
    switch (AGraphic->CellHAlign()) {
    case haLeft:
        L = r.Left + 1;
        Rt = L + W;
        break;
    case haRight:
        Rt = r.Right - 1;
        L = Rt - W;
        break;
    case haCenter:
        L = W < r.Width() ? r.Left + (r.Width() - W) / 2 : r.Left + 1;
        Rt = L + W;
        break;
    case haBeforeText:
        if (v.HA == taLeftJustify) {
            L = r.Left + 1;
            Rt = L + W;
        } else {
            L = v.HA == taRightJustify ? r.Right - t - W : r.Left + (r.Width() - t - W) / 2;
            Rt = L + W;
            if (L < r.Left) {
                L = r.Left + 1;
                if (v.HA == taRightJustify)
                    Rt = r.Right - t;
                else
                    Rt = L + W;
            }
        }
        break;
    case haAfterText:
        if (v.HA == taLeftJustify) {
            L = r.Left + t;
        } else if (v.HA == taRightJustify) {
            L = r.Right - 1 - W;
        } else {
            L = std::max(r.Left + 1, r.Left + t + (r.Width() - t - W) / 2);
        }
        Rt = L + W;
        break;
    case haFull:
        L = r.Left;
        Rt = r.Right;
        break;
    }
    TCellVAlign gva = AGraphic->CellVAlign();
    if (IsCheckOrRadio(type) && VA != VAlignment())
        gva = VA == vtaCenter ? vaCenter : (VA == vtaBottom ? vaBottom : vaTop);
    int T = r.Top + 1, B = T + H;
    switch (gva) {
    case vaBottom:
        B = r.Bottom - 1;
        T = B - H;
        break;
    case vaCenter:
        T = H < r.Height() ? r.Top + (r.Height() - H) / 2 : r.Top + 1;
        B = T + H;
        break;
    case vaUnderText:
        T = r.Bottom - H;
        B = r.Bottom;
        break;
    case vaFull:
        T = r.Top;
        B = r.Bottom;
        break;
    default:
        T = r.Top + 1;
        B = T + H;
        break;
    }
    if (IsCheckOrRadio(type)) {
        const bool data = IsDataBox(type);
        if (v.HA == taLeftJustify) {
            L = r.Left + 1;
        } else if (v.HA == taRightJustify) {
            const int E = data ? r.Right : r.Right - t;
            L = std::max(r.Left + 1, E - W - 1);
        } else {
            if (data || t < 1)
                L = r.Left + std::max(0, r.Right - W - r.Left) / 2;
            else
                L = r.Left + std::max(0, r.Right - t - r.Left) / 2 - W;
            L = std::max(L, r.Left + 1);
        }
        Rt = L + W;
    }
    const TRect place(L, T, Rt, B);

    bool enabled = true;
    const TControlLook& cl = *FControlLook;
    switch (type) {
    case ctRotated: {
        DrawRotatedGraphicText(ACanvas, r, AGraphic, VA);
        if (IsSortIndicatorCell(v.RCol, v.Row))
            DrawSortIndicator(ACanvas, v.RCol, T + 8, Rt - 10);
        break;
    }
    case ctNode:
        DrawNodeGlyph(ACanvas, ARect, AGraphic);
        break;
    case ctBitmap:
        if (TBitmap* b = AGraphic->Bitmap()) {
            b->SetTransparent(AGraphic->CellTransparent());
            ACanvas.Draw(L, T, b);
        }
        break;
    case ctIcon:
        if (const TIcon* i = AGraphic->Icon())
            ACanvas.Draw(L, T, i);
        break;
    case ctImageList:
        if (const TCustomImageList* il = GetCellImageList(v.RCol, v.Row))
            il->Draw(ACanvas, L, T, AGraphic->CellIndex());
        break;
    case ctDataImage:
        // The image follows the cell's number; one past the list draws nothing.
        if (const TCustomImageList* il = GetCellImageList(v.RCol, v.Row)) {
            const int idx = PaintInt(v.RCol, v.Row) + AGraphic->CellIndex();
            if (idx >= 0 && idx < il->Count())
                il->Draw(ACanvas, L, T, idx);
        }
        break;
    case ctImages:
        if (const TCustomImageList* il = GetCellImageList(v.RCol, v.Row)) {
            if (const TIntList* list = AGraphic->Images()) {
                int x = L, y = T;
                for (int i = 0; i < list->Count(); ++i) {
                    il->Draw(ACanvas, x, y, list->GetInteger(i));
                    if (AGraphic->CellBoolean())
                        x += il->Width();
                    else
                        y += il->Height();
                }
            }
        }
        break;
    case ctCheckBox:
    case ctRowCheckBox:
        IsReadOnlyCell(v.RCol, v.Row, enabled);
        DrawCheckBox(ACanvas, place, type == ctRowCheckBox ? RowSelect(v.Row) : AGraphic->CellBoolean(), cbUnchecked,
                     false, cl.ControlStyle(), AGraphic->CellAngle() > 0, enabled);
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        IsReadOnlyCell(v.RCol, v.Row, enabled);
        QString checkTrue;
        GetCheckTrue(v.RCol, v.Row, checkTrue);
        DrawCheckBox(ACanvas, place, Cells(v.RCol, v.Row) == checkTrue, cbUnchecked, false, cl.ControlStyle(), false,
                     enabled);
        break;
    }
    case ctTriStateCheckBox:
        IsReadOnlyCell(v.RCol, v.Row, enabled);
        DrawCheckBox(ACanvas, place, false, AGraphic->CellCheckBoxState(), true, cl.ControlStyle(),
                     AGraphic->CellAngle() > 0, enabled);
        break;
    case ctRadioButton: {
        IsReadOnlyCell(v.RCol, v.Row, enabled);
        const int x = L + FXYOffset.X;
        DrawRadioCell(ACanvas, TRect(x, T, x + cl.RadioSize(), T + cl.RadioSize()), false, 1, cl.ControlStyle(), v.Row,
                      v.RCol, false, nullptr, !enabled, true, AGraphic->CellBoolean() ? 0 : 1, 1);
        break;
    }
    case ctRadio: {
        IsReadOnlyCell(v.RCol, v.Row, enabled);
        const platform::TStringList* items = AGraphic->CellBitmap().As<platform::TStringList>();
        DrawRadioCell(ACanvas, r, false, 1, cl.ControlStyle(), v.Row, v.RCol, v.State & gdSelected, items, !enabled,
                      AGraphic->CellBoolean(), AGraphic->CellIndex(), items ? items->Count() : 0);
        break;
    }
    case ctPicture:
        if (const TPicture* p = AGraphic->Picture(); p && p->Graphic()) {
            if (AGraphic->CellAngle() != 0)
                ACanvas.StretchDraw(place, p->Graphic());
            else
                ACanvas.Draw(L, T, p->Graphic());
        }
        break;
    case ctProgress: {
        TRect pr = ARect;
        InflateRect(pr, -2, -2);
        const double value = PaintFloat(v.RCol, v.Row);
        const TColor bar = AGraphic->CellBitmap().As<TColor>() ? *AGraphic->CellBitmap().As<TColor>() : clRed;
        const TColor back = AGraphic->CellIcon().As<TColor>() ? *AGraphic->CellIcon().As<TColor>() : clWhite;
        const TColor barText = AGraphic->CellBoolean() ? TColor(AGraphic->CellIndex()) : TColor(bar ^ 0xFFFFFF);
        const TColor backText = AGraphic->CellBoolean() ? TColor(AGraphic->CellAngle()) : TColor(back ^ 0xFFFFFF);
        double lo = AGraphic->CellErrFrom(), hi = AGraphic->CellErrLen();
        if (hi <= lo) {
            lo = 0;
            hi = 100;
        }
        DrawProgressBar(ACanvas, pr, bar, barText, back, backText, cl.ProgressBorderColor(), AGraphic->CellText(), lo,
                        hi, value, cl.ProgressMarginX(), cl.ProgressMarginY(), false);
        break;
    }
    case ctXPProgress: {
        TRect pr = ARect;
        InflateRect(pr, -cl.ProgressMarginX(), -cl.ProgressMarginY());
        pr.Right -= 1;
        pr.Bottom -= 1;
        const TGridProgressAppearance& pa = *FProgressAppearance;
        TLevelBarAppearance a;
        a.Level0Color = pa.Level0Color();
        a.Level0ColorTo = pa.Level0ColorTo();
        a.Level1Color = pa.Level1Color();
        a.Level1ColorTo = pa.Level1ColorTo();
        a.Level2Color = pa.Level2Color();
        a.Level2ColorTo = pa.Level2ColorTo();
        a.Level3Color = pa.Level3Color();
        a.Level3ColorTo = pa.Level3ColorTo();
        a.Level1Perc = pa.Level1Perc();
        a.Level2Perc = pa.Level2Perc();
        a.BorderColor = pa.BorderColor();
        a.ShowBorder = pa.ShowBorder();
        a.Stacked = pa.Stacked();
        a.ShowPercentage = pa.ShowPercentage();
        a.CompletionSmooth = pa.CompletionSmooth();
        a.ShowGradient = pa.ShowGradient();
        a.Steps = pa.Steps();
        a.Font.Assign(Font());
        a.CompleteFontColor = pa.CompleteFontColor();
        a.UnCompleteColor = pa.UnCompleteColor() != clNone ? pa.UnCompleteColor() : ACanvas.Brush().Color();
        // A progress over an empty range shows 0 %.
        const int span = AGraphic->CellErrLen() - AGraphic->CellErrFrom();
        int percent = 0;
        if (span != 0)
            percent = int(std::nearbyint(
                LimitPercent(std::fabs(double(PaintInt(v.RCol, v.Row)) - AGraphic->CellErrFrom()) / span * 100.0)));
        DrawLevelProgressBar(ACanvas, pr, percent, a);
        break;
    }
    case ctProgressPie: {
        // The pie's colour and value live in the object (a bare object shows the cell's number).
        const TColor* pie = AGraphic->CellBitmap().As<TColor>();
        DrawPieValue(ACanvas, TRect(L, T, L + 20, T + 20), pie ? *pie : TColor(AGraphic->CellIndex()), false,
                     LimitPercent(pie ? AGraphic->CellAngle() : PaintFloat(v.RCol, v.Row)));
        break;
    }
    case ctRangeIndicator: {
        TRect rr = ARect;
        InflateRect(rr, -cl.ProgressMarginX(), -cl.ProgressMarginY());
        const TColor* neg = AGraphic->CellBitmap().As<TColor>();
        const TColor* pos = AGraphic->CellIcon().As<TColor>();
        DrawCenteredValueBar(ACanvas, rr, PaintInt(v.RCol, v.Row), pos ? *pos : clGreen, neg ? *neg : clRed,
                             AGraphic->CellBoolean(), AGraphic->CellIndex());
        break;
    }
    case ctShape: {
        const TColor* line = AGraphic->CellBitmap().As<TColor>();
        DrawCellShape(ACanvas, L, T, line ? *line : clBlack, TColor(AGraphic->CellIndex()), AGraphic->CellAngle(),
                      B - T - 1, Rt - L - 1);
        break;
    }
    case ctRating: {
        const double value = std::nearbyint(PaintFloat(v.RCol, v.Row) * 2) / 2;
        const TColor on = AGraphic->CellIndex() ? TColor(AGraphic->CellIndex()) : clYellow;
        const TColor* empty = AGraphic->CellBitmap().As<TColor>();
        const TColor off = empty ? *empty : clSilver;
        for (int i = 0; i < AGraphic->CellAngle(); ++i) {
            const int x = L + 18 * i;
            DrawCellShape(ACanvas, x, T, clGray, i + 1 > value ? off : on, csStar, 16, 16);
            if (value > i && value < i + 1)
                DrawCellShape(ACanvas, x, T, clGray, on, csHalfStar, 16, 16);
        }
        break;
    }
    case ctComment:
        if (cl.CommentColor() != clNone) {
            const int x = ARect.Right, y = ARect.Top;
            // The colour the comment was given (AddColorComment), else the look's.
            const TColor mark = AGraphic->CellAngle() != int(clNone) && AGraphic->CellIndex() != 0
                                    ? TColor(AGraphic->CellIndex())
                                    : cl.CommentColor();
            ACanvas.Brush().SetColor(mark);
            ACanvas.Pen().SetColor(mark);
            ACanvas.Polygon({{x - 7, y}, {x - 2, y}, {x - 2, y + 5}});
            ACanvas.Brush().SetColor(Color());
        }
        break;
    case ctButton:
    case ctBitButton:
    case ctExpand: {
        AGraphic->SetCellValue(double(((T - v.R.Top) << 16) | ((L - v.R.Left) & 0xFFFF)));
        bool canEdit = true;
        if (!cl.NoDisabledButtonLook())
            IsReadOnlyCell(v.RCol, v.Row, canEdit);
        int state = AGraphic->CellBoolean() ? 2 : 0;
        if (!canEdit && type != ctExpand)
            state = 3;
        TRect br = place;
        if (type == ctExpand)
            br = TRect(ARect.Right - 13, ARect.Top, ARect.Right, ARect.Top + 13);
        int style = cl.FlatButton() ? 2 : 0;
        const TColorTones& tones = Tones();
        if (Flat() && tones.Background.BrushColor != clNone)
            style = 3;
        if (state == 0 && FHotButtonCell.X == v.RCol && FHotButtonCell.Y == v.Row)
            state = 1;
        DrawThemedButton(ACanvas, this, br, tones, state, style);
        if (style == 3) {
            const TColorTone* tone = &tones.Background;
            if (state == 1)
                tone = &tones.Hover;
            else if (state == 2)
                tone = &tones.Selected;
            else if (state == 3)
                tone = &tones.Disabled;
            if (tone->TextColor != clNone)
                ACanvas.Font().SetColor(tone->TextColor);
        }
        if (type == ctExpand) {
            ACanvas.Pen().SetColor(clBlack);
            // The box's state is its value; its pushed flag is only the look of the press.
            if (AGraphic->CellVar().toBool())
                ACanvas.Polyline({{br.Right - 10, br.Top + 8}, {br.Right - 7, br.Top + 5}, {br.Right - 3, br.Top + 9}});
            else
                ACanvas.Polyline({{br.Right - 10, br.Top + 5}, {br.Right - 7, br.Top + 8}, {br.Right - 3, br.Top + 4}});
        } else {
            TRect cr = br;
            cr.Left += 1;
            if (state == 2)
                OffsetRect(cr, 1, 1);
            if (type == ctBitButton) {
                // The glyph leads the caption (centred alone when there is no caption).
                if (const TBitmap* glyph = AGraphic->Bitmap(); glyph && !glyph->Empty()) {
                    const int gw = glyph->Width(), gh = glyph->Height();
                    const bool alone = AGraphic->CellText().isEmpty() && gw < cr.Right - cr.Left;
                    const int gx = alone ? cr.Left + (cr.Right - cr.Left - gw) / 2 : cr.Left + 3;
                    const int gy = gh < cr.Bottom - cr.Top ? cr.Top + (cr.Bottom - cr.Top - gh) / 2 : cr.Top + 3;
                    TBitmap shown(*glyph);
                    shown.SetTransparent(true);
                    ACanvas.Draw(gx, gy, shown);
                    if (!alone)
                        cr.Left += gw + 4;
                }
            }
            ACanvas.SetBkMode(TRANSPARENT);
            const QString caption = AGraphic->CellText();
            DrawText(ACanvas, caption, cr,
                     DT_CENTER | DT_END_ELLIPSIS |
                         (caption.contains(QLatin1Char('\r')) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER));
        }
        break;
    }
    case ctEmpty:
    case ctValue:
        DrawCellErrorMarker(ACanvas, AGraphic);
        break;
    default:
        break; // ctNone, ctSummary, ctScrollbar, ctBalloon, ctNode (the node code draws it)
    }
}

void TVerIvovavOzed::DrawCheckBox(TCanvas& ACanvas, TRect ARect, bool Checked, TCheckBoxState State, bool TriState,
                                  TControlStyle Style, bool Grayed, bool Enabled)
{
    const TControlLook& cl = *FControlLook;
    if (cl.NoDisabledCheckRadioLook() || cl.CheckAlwaysActive)
        Enabled = true;
    if (Style == csTheme && !ThemesUsable())
        Style = csClassic;
    if (TriState) {
        Checked = State == cbChecked;
        Grayed = State == cbGrayed;
    }
    const int size = cl.CheckSize();
    switch (Style) {
    case csWinXP:
    case csOrlex: {
        const TBitmap& b = ResourceBitmap(CheckBoxResourceName(Style, Checked, Enabled));
        ACanvas.Draw(ARect.Left, ARect.Top, b);
        break;
    }
    case csBorland: {
        ACanvas.Brush().SetColor(Enabled ? clBtnFace : clBtnShadow);
        ACanvas.Pen().SetColor(clBtnFace);
        ACanvas.Rectangle(ARect);
        ACanvas.Pen().SetColor(clBtnHighlight);
        ACanvas.MoveTo(ARect.Left, ARect.Bottom - 1);
        ACanvas.LineTo(ARect.Left, ARect.Top);
        ACanvas.LineTo(ARect.Right - 1, ARect.Top);
        ACanvas.Pen().SetColor(clBtnShadow);
        ACanvas.LineTo(ARect.Right - 1, ARect.Bottom - 1);
        ACanvas.LineTo(ARect.Left, ARect.Bottom - 1);
        if (Checked) {
            ACanvas.Pen().SetColor(Enabled ? cl.Color() : TColor(0x808080));
            ACanvas.Pen().SetWidth(1);
            ACanvas.MoveTo(ARect.Left + 2, ARect.Top + size / 2);
            ACanvas.LineTo(ARect.Left + 2, ARect.Bottom - 2);
            ACanvas.MoveTo(ARect.Left + 3, ARect.Top - 1 + size / 2);
            ACanvas.LineTo(ARect.Left + 3, ARect.Bottom - 3);
            ACanvas.MoveTo(ARect.Left + 2, ARect.Bottom - 2);
            ACanvas.LineTo(ARect.Right - 2, ARect.Top + 2);
            ACanvas.MoveTo(ARect.Left + 3, ARect.Bottom - 2);
            ACanvas.LineTo(ARect.Right - 1, ARect.Top + 2);
        }
        break;
    }
    case csGlyph: {
        TBitmap& g = Checked ? FControlLook->CheckedGlyph() : FControlLook->UnCheckedGlyph();
        if (!g.Empty()) {
            g.SetTransparent(true);
            ACanvas.Draw(ARect.Left, ARect.Top, g);
        }
        break;
    }
    default: {
        // classic and flat: the frame control in a CheckSize square centred in the place
        const int x = ARect.Left + (ARect.Width() - size) / 2;
        const int y = ARect.Top + (ARect.Height() - size) / 2;
        unsigned state = DFCS_BUTTONCHECK;
        if (Checked)
            state |= DFCS_CHECKED;
        if (Grayed)
            state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
        if (Style == csFlat)
            state |= DFCS_FLAT;
        if (!Enabled)
            state |= DFCS_INACTIVE;
        DrawFrameControl(ACanvas, TRect(x, y, x + size, y + size), DFC_BUTTON, state);
        break;
    }
    }
}

void TVerIvovavOzed::DrawRadioCell(TCanvas& ACanvas, TRect ARect, bool Inverted, double Scale, TControlStyle Style,
                                   int ARow, int ACol, bool Selected, const platform::TStringList* Items,
                                   bool Disabled, bool Horizontal, int Index, int Count)
{
    const TControlLook& cl = *FControlLook;
    if (cl.NoDisabledCheckRadioLook() || cl.RadioAlwaysActive)
        Disabled = false;
    ACanvas.SetBkMode(TRANSPARENT);
    if (Count <= 0)
        return;
    if (Style == csTheme && !ThemesUsable())
        Style = csClassic;
    const QString cellText = Cells(ACol, ARow);
    const TColor keepFont = ACanvas.Font().Color();
    if (Selected && ShowSelection() && SelectionTextColor() != clNone)
        ACanvas.Font().SetColor(SelectionTextColor());
    const int d = Inverted ? -1 : 1;
    const int radio = cl.RadioSize();
    int x = 0;
    for (int i = 1; i <= Count; ++i) {
        const QString caption = Items && i - 1 < Items->Count() ? Items->Strings(i - 1) : QString();
        const bool on = i == Index + 1 || (Index == -1 && Items && caption == cellText);
        int left, top;
        if (Style == csClassic || Style == csFlat) {
            const int s = int(std::nearbyint(Scale * (Style == csFlat ? radio + 2 : radio)));
            if (Horizontal) {
                left = (i - 1) * radio + x + ARect.Left + 2;
                top = ARect.Top + (ARect.Height() - radio) / 2;
                if (!caption.isEmpty()) {
                    ACanvas.TextOut(left + int(std::nearbyint(Scale * radio)), top - 2, caption);
                    x += ACanvas.TextWidth(caption);
                }
            } else {
                const int h = ACanvas.TextHeight(QStringLiteral("gh"));
                top = ARect.Top + h * (i - 1) * d + 2;
                if (!caption.isEmpty()) {
                    left = ARect.Left + 2;
                    ACanvas.TextOut(left + int(std::nearbyint(Scale * (radio + 4))), top - 2, caption);
                } else {
                    left = ARect.Left + (ARect.Width() - s) / 2;
                }
            }
            unsigned state = DFCS_BUTTONRADIO;
            if (on)
                state |= DFCS_CHECKED;
            if (Style == csFlat)
                state |= DFCS_FLAT;
            if (Disabled)
                state |= DFCS_INACTIVE;
            DrawFrameControl(ACanvas, TRect(left, top, left + s, top + s), DFC_BUTTON, state);
            continue;
        }
        // the 16-pixel styles
        const bool pictures = Style == csWinXP || Style == csOrlex || Style == csGlyph;
        if (Horizontal) {
            left = x + ARect.Left + 16 * i - 14;
            top = ARect.Top + (ARect.Height() - 16) / 2;
            if (!caption.isEmpty()) {
                ACanvas.TextOut(left + 16, pictures ? top + 1 : top - 2, caption);
                x += ACanvas.TextWidth(caption);
            }
        } else {
            const int h = std::max(16, ACanvas.TextHeight(QStringLiteral("gh")));
            top = ARect.Top + h * (i - 1) * d + 2;
            if (!caption.isEmpty()) {
                left = ARect.Left + 2;
                ACanvas.TextOut(pictures ? ARect.Left + 18 : ARect.Left + 20, pictures ? top + 1 : top - 2, caption);
            } else {
                left = ARect.Left + (ARect.Width() - 16) / 2;
            }
        }
        if (pictures) {
            if (Style != csGlyph) {
                ACanvas.Draw(left, top, ResourceBitmap(RadioResourceName(Style, on, !Disabled)));
            } else {
                TBitmap& g = on ? FControlLook->RadioOnGlyph() : FControlLook->RadioOffGlyph();
                if (!g.Empty()) {
                    g.SetTransparent(true);
                    ACanvas.Draw(left, top, g);
                }
            }
            continue;
        }
        // csBorland: a 3D diamond
        ACanvas.Brush().SetColor(clBtnFace);
        ACanvas.Pen().SetColor(clBtnFace);
        ACanvas.Polygon({{left + 2, top + 8}, {left + 8, top + 2}, {left + 14, top + 8}, {left + 8, top + 14}});
        ACanvas.Pen().SetColor(on ? TColor(0x808080) : clWhite);
        ACanvas.MoveTo(left + 2, top + 8);
        ACanvas.LineTo(left + 8, top + 2);
        ACanvas.LineTo(left + 14, top + 8);
        ACanvas.Pen().SetColor(on ? clWhite : TColor(0x808080));
        ACanvas.LineTo(left + 8, top + 14);
        ACanvas.LineTo(left + 2, top + 8);
        if (on) {
            ACanvas.Brush().SetColor(cl.Color());
            ACanvas.Pen().SetColor(cl.Color());
            ACanvas.Polygon({{left + 6, top + 8}, {left + 8, top + 6}, {left + 10, top + 8}, {left + 8, top + 10}});
        }
    }
    ACanvas.Font().SetColor(keepFont);
}
