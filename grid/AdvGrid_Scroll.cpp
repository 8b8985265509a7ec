// TVerIvovavOzed: scroll bars (proportional thumbs, scroll hints, bars kept visible, the drawn
// "metro" bars), column stretching, proportional column and row sizing, the sizing-border hit
// test and scrolling while something is dragged near an edge.
#include "grid/AdvGrid.h"
#include "griddata/SearchPanel.h"

#include "platform/SysUtils.h"
#include "platform/Property.h"

#include <QCursor>
#include <QScrollBar>
#include <cmath>
#include <stdexcept>

namespace {
int RoundEven(double v) { return int(std::nearbyint(v)); }
constexpr int SearchPanelPixels = 32;

// The extents along one axis, each with its grid lines: the fixed part F, the scrollable part T
// and the part L of it before the first one in view; S sums the bare sizes of all.
struct TExtents {
    long long F, T, L, S;
};

template <class SizeOf>
TExtents SumExtents(int Count, int Fixed, int First, int lw, SizeOf Size)
{
    TExtents x{lw, lw, lw, 0};
    for (int i = 0; i < Count; ++i) {
        const int w = Size(i);
        x.S += w;
        if (i < Fixed)
            x.F += lw + w;
        else {
            x.T += lw + w;
            if (i < First)
                x.L += lw + w;
        }
    }
    return x;
}

// The proportional thumb of a bar over Client pixels: a range whose page is the part in view,
// and the position of the first one in view (Fallback where all of the scrollable part fits).
// False where the bar keeps its 0..127 thumb: nothing to scroll, all in view or less than five
// pixels hidden.
bool ProportionalThumb(const TExtents& x, int Client, float Fallback, TScrollInfo& info)
{
    if (x.T == 0)
        return false;
    const float e = float(Client - x.F) / float(x.T);
    if (e >= 0.9999f)
        return false;
    const float m = (e + 127) / (1 - e);
    const float p = Client < x.T ? float(x.L) / float(x.T - Client) * 128 : Fallback;
    if (x.T + x.F - Client < 5)
        return false;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = int(std::trunc(m));
    info.nPage = unsigned(std::max(0, info.nMax - 126));
    info.nPos = int(std::trunc(p));
    return true;
}
} // namespace

// ---- flat scroll bars: the common controls' flat bars do not exist here, so these stay off ---

void TVerIvovavOzed::InitFlatScrollBars() { FIsFlat = false; }
void TVerIvovavOzed::DoneFlatScrollBars() { FIsFlat = false; }
void TVerIvovavOzed::FlatSetScrollProp(int, int) {}
void TVerIvovavOzed::FlatShowScrollBar(int, bool) {}
void TVerIvovavOzed::SyncFlatVScrollBar() {}
void TVerIvovavOzed::SyncFlatHScrollBar() {}
void TVerIvovavOzed::ApplyFlatStyle() {}
void TVerIvovavOzed::ApplyFlatColor() {}
void TVerIvovavOzed::ApplyFlatWidth() {}

void TVerIvovavOzed::RefreshFlatScrollBars()
{
    ApplyFlatStyle();
    ApplyFlatColor();
    ApplyFlatWidth();
    FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    SyncFlatVScrollBar();
    FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
    SyncFlatHScrollBar();
}

// ---- property writers -------------------------------------------------------------------------

void TVerIvovavOzed::SetScrollType(TScrollType Value)
{
    if (platform::Change(FScrollType, Value)) {
        if (Value == ssFlat || Value == ssEncarta) {
            InitFlatScrollBars();
            RefreshFlatScrollBars();
        } else
            DoneFlatScrollBars();
        if (Value == ssMetro) {
            CreateScrollControls();
            SetScrollBars(ssNone);
        } else if (vscrlctrl || hscrlctrl) {
            delete vscrlctrl.data();
            delete hscrlctrl.data();
            SetScrollBars(ssBoth);
        }
    }
    ApplyFlatStyle();
}

void TVerIvovavOzed::SetScrollProportional(bool Value)
{
    FScrollProportional = Value;
    if (Value) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    } else {
        if (FIsFlat && FScrollType == ssNormal)
            DoneFlatScrollBars();
        // Back to the plain 0..127 scale of the grid.
        for (int bar : {SB_HORZ, SB_VERT}) {
            TScrollInfo info;
            info.fMask = SIF_RANGE | SIF_PAGE;
            info.nMin = 0;
            info.nMax = GridScrollMax;
            info.nPage = 0;
            SetScrollInfo(bar, info, true);
        }
    }
}

void TVerIvovavOzed::SetScrollBarAlways(TScrollBarAlways Value)
{
    FScrollBarAlways = Value;
    ApplyScrollBarAlways(true);
}

void TVerIvovavOzed::CreateScrollControls()
{
    if (!vscrlctrl) {
        vscrlctrl = new TScrollControl(this);
        vscrlctrl->SetDirection(sdVertical);
    }
    if (!hscrlctrl) {
        hscrlctrl = new TScrollControl(this);
        hscrlctrl->SetDirection(sdHorizontal);
    }
    vscrlctrl->Realign();
    hscrlctrl->Realign();
    vscrlctrl->show();
    hscrlctrl->show();
}

// ---- proportional thumbs ----------------------------------------------------------------------

void TVerIvovavOzed::UpdateHScrollBar()
{
    if (FLoading || !FScrollProportional || FScrollLock)
        return;
    TScrollInfo info;
    info.fMask = SIF_ALL;
    GetScrollInfo(SB_HORZ, info);
    const TExtents x = SumExtents(ColCount(), FixedCols(), LeftCol(), GridLineWidth(), [this](int i) { return ColWidths(i); });
    const int cw = width();
    if (!ProportionalThumb(x, cw, float(info.nPos), info))
        return;
    SetScrollInfo(SB_HORZ, info, true);
    SyncFlatHScrollBar();
    if (FScrollBarAlways != saHorz && FScrollBarAlways != saBoth) {
        if (x.S < cw || (ScrollBars() != ssHorizontal && ScrollBars() != ssBoth))
            ShowScrollBar(SB_HORZ, false);
    }
}

void TVerIvovavOzed::UpdateVScrollBar()
{
    if (FLoading || !FScrollProportional || FScrollLock)
        return;
    if (VisibleRowCount() + FixedRows() >= RowCount())
        return;
    TScrollInfo info;
    info.fMask = SIF_ALL;
    GetScrollInfo(SB_VERT, info);
    const TExtents x = SumExtents(RowCount(), FixedRows(), TopRow(), GridLineWidth(), [this](int i) { return RowHeights(i); });
    if (!ProportionalThumb(x, height(), 127.0f, info))
        return;
    SetScrollInfo(SB_VERT, info, true);
    SyncFlatVScrollBar();
}

// ---- scroll hints -----------------------------------------------------------------------------

void TVerIvovavOzed::ReleaseScrollHint()
{
    delete FScrollHintWnd.data();
    FScrollHintShow = false;
}

void TVerIvovavOzed::ShowScrollHint(bool Vertical, int Index)
{
    QString text = (Vertical ? QStringLiteral("Row : ") : QStringLiteral("Col : ")) + QString::number(Index);
    if (OnScrollHint)
        OnScrollHint(this, Index, text);
    if (!FScrollHintWnd)
        FScrollHintWnd = new THTMLHintWindow(this);
    FScrollHintWnd->HintFont().Assign(Font());
    const TRect r = FScrollHintWnd->CalcHintRect(100, text, this);
    FScrollHintWnd->SetCaption(text);
    FScrollHintWnd->SetColor(HintColor());
    const QPoint cur = QCursor::pos();
    FScrollHintWnd->ActivateHint(TRect{cur.x() + 10, cur.y(), cur.x() + 10 + r.Right, cur.y() + r.Bottom}, text);
    FScrollHintShow = true;
}

// ---- scroll actions ---------------------------------------------------------------------------

void TVerIvovavOzed::HScroll(int ScrollCode, int Pos)
{
    const bool hints = FScrollHints == shHorizontal || FScrollHints == shBoth;
    auto colOf = [this](int pos) {
        return platform::MulDiv(pos, ColCount() - VisibleColCount() - FixedCols(), GridScrollMax) + FixedCols();
    };
    if (hints) {
        if (ScrollCode == SB_ENDSCROLL)
            ReleaseScrollHint();
        else if (ScrollCode == SB_THUMBTRACK)
            ShowScrollHint(false, colOf(Pos));
    }
    if (ScrollCode == SB_THUMBPOSITION && FIsFlat && ColCount() > 0) {
        const int r = RoundEven(VisibleColCount() * 128.0 / ColCount());
        if (r != 128)
            Pos = RoundEven(Pos * 127.0 / (128 - r));
    }
    const int c = colOf(Pos);
    if (ScrollCode == SB_THUMBTRACK && ScrollSynch())
        SetLeftCol(c);
    const bool fixedPicture = FBackGround->Display() == bdFixed && FBackGround->Bitmap().Width() > 0;
    if (FixedCols() == 0 && c >= Col())
        HideInplaceEdit();
    TBaseGrid::HScroll(ScrollCode, Pos);
    if (fixedPicture && ScrollCode != SB_THUMBTRACK)
        InvalidateGrid(); // the picture stays where it is while the cells move under it
    if (ScrollCode == SB_ENDSCROLL && ColCount() == 1)
        Invalidate();
    SyncFlatHScrollBar();
    SyncFlatVScrollBar();
    if (HasCheckBox(RealCol(), Row()))
        HideEditor();
}

void TVerIvovavOzed::VScroll(int ScrollCode, int Pos)
{
    const bool hints = FScrollHints == shVertical || FScrollHints == shBoth;
    const int r = platform::MulDiv(Pos, RowCount() - VisibleRowCount() - FixedRows(), GridScrollMax) + FixedRows();
    if (hints) {
        if (ScrollCode == SB_ENDSCROLL)
            ReleaseScrollHint();
        else if (ScrollCode == SB_THUMBTRACK)
            ShowScrollHint(true, r);
    }
    if (ScrollCode == SB_THUMBTRACK && ScrollSynch())
        SetTopRow(r);
    const bool fixedPicture = FBackGround->Display() == bdFixed && FBackGround->Bitmap().Width() > 0;
    const bool footer = SearchFooterShown();
    if (footer && (ScrollCode == SB_ENDSCROLL || ScrollCode == SB_LINEDOWN)) {
        const TRect last = CellRect(FixedCols() > 0 ? 0 : LeftCol(), RowCount() - 1);
        if (TopRow() + VisibleRowCount() >= RowCount() - 1 && !IsRectEmpty(last) &&
            last.Bottom < ClientHeight() - SearchPanelHeight() + 2)
            return; // the grid does not scroll further under the search panel
    }
    TBaseGrid::VScroll(ScrollCode, Pos);
    if (footer) {
        if (ScrollCode == SB_LINEUP && RowCount() - VisibleRowCount() == TopRow())
            SetTopRow(TopRow() - 1);
        else if ((ScrollCode == SB_ENDSCROLL || ScrollCode == SB_LINEDOWN) &&
                 RowCount() - VisibleRowCount() == TopRow())
            KeepLastRowAboveFooter();
    }
    if (fixedPicture && ScrollCode != SB_THUMBTRACK)
        InvalidateGrid();
    SyncFlatVScrollBar();
    SyncFlatHScrollBar();
    if (HasCheckBox(RealCol(), Row()))
        HideEditor();
}

bool TVerIvovavOzed::SearchFooterShown() { return FSearchFooter->Visible(); }

int TVerIvovavOzed::SearchPanelHeight()
{
    // The bar's own height once it is shown; before it is made the height it will get.
    if (FSearchPanel && FSearchPanel->height() > 0)
        return FSearchPanel->height();
    return SearchPanelPixels;
}

void TVerIvovavOzed::KeepLastRowAboveFooter()
{
    if (!SearchFooterShown() || DefaultRowHeight() + SearchPanelHeight() >= ClientHeight())
        return;
    const int limit = ClientHeight() - SearchPanelHeight() + 2;
    while (true) {
        const TRect last = CellRect(FixedCols() > 0 ? 0 : LeftCol(), RowCount() - 1);
        if (IsRectEmpty(last) || last.Bottom <= limit || Row() > RowCount() - 1 || TopRow() >= RowCount())
            break;
        const int before = TopRow();
        SetTopRow(before + 1);
        if (TopRow() == before)
            break; // the grid cannot scroll further: stop rather than loop
    }
}

// ---- count and size notifications ------------------------------------------------------------

void TVerIvovavOzed::SizeChanged(int OldColCount, int OldRowCount)
{
    const bool active = parentWidget() && !FLoading && !Destroying();
    if (active && FColumnSize->Stretch()) {
        try {
            StretchColumn(FColumnSize->StretchColumn());
        } catch (const std::exception&) {
            // A stretch column outside the grid stretches nothing after a count change.
        }
    }
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    UpdateFooter();
    if (!active)
        return;
    FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    SyncFlatVScrollBar();
    FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
    SyncFlatHScrollBar();
}

void TVerIvovavOzed::StretchColumn(int Index)
{
    if (FLoading || Destroying())
        return;
    if (Index == -1)
        Index = ColCount() - 1;
    if (Index >= ColCount() || Index < -1)
        throw std::runtime_error("Stretch column index out of range");
    if (ColCount() == 0 || Index < 0 || !FColumnSize->Stretch() || FIsColChanging)
        return;
    FIsColChanging = true;
    ColchgFlg = false;
    const int cw = ClientWidth();
    if (ColCount() == 1) {
        SetColWidths(Index, cw);
    } else {
        int s = 0;
        for (int i = 0; i < ColCount(); ++i)
            if (i != Index)
                s += ColWidths(i);
        if (s < cw)
            SetColWidths(Index, cw - s - 1);
        else if (LeftCol() == FixedCols())
            SetColWidths(Index, DefaultColWidth());
    }
    ColchgFlg = true;
    FIsColChanging = false;
}

void TVerIvovavOzed::ColWidthsChanged()
{
    if (ColchgFlg && FColumnSize->Stretch()) {
        try {
            StretchColumn(FColumnSize->StretchColumn());
        } catch (const std::exception&) {
            // A width change never fails over a stretch column outside the grid.
        }
    }
    if (FScrollHintShow && !FScrollHintWnd)
        FScrollHintShow = false;
    TBaseGrid::ColWidthsChanged();
    UpdateFooter();
    ColSizeFlg = true;
    if (FInSizeProportion)
        return;
    if (ColSized && Colclicked >= 0 && Colclicked < ColCount()) {
        FInSizeProportion = true;
        if (FMouseActions->AllColumnSize() && Colclickedsize > 0) {
            const double ratio = double(ColWidths(Colclicked)) / Colclickedsize;
            for (int i = FixedCols(); i < ColCount(); ++i)
                if (i != Colclicked)
                    SetColWidths(i, RoundEven(ColWidths(i) * ratio));
        }
        if (OnEndColumnSize)
            OnEndColumnSize(this, Colclicked);
        int w = ColWidths(Colclicked);
        DoUpdateColumnSize(Colclicked, w);
        if (w != ColWidths(Colclicked))
            SetColWidths(Colclicked, w);
        Colclicked = -1;
        Rowclicked = -1;
        FInSizeProportion = false;
    }
    ColSized = false;
    if (HasCheckBox(RealCol(), Row()))
        HideEditor();
    CellControlsUpdate(false);
    if (FColumnSize->Stretch() && FScrollProportional)
        UpdateVScrollBar();
    UpdateHScrollBar();
}

void TVerIvovavOzed::RowHeightsChanged()
{
    TBaseGrid::RowHeightsChanged();
    if (FInSizeProportion)
        return;
    if (Rowsized && Rowclicked >= 0 && Rowclicked < RowCount()) {
        FInSizeProportion = true;
        if (FMouseActions->AllRowSize() && Rowclickedsize > 0) {
            const double ratio = double(RowHeights(Rowclicked)) / Rowclickedsize;
            for (int i = FixedRows(); i < RowCount(); ++i)
                if (i != Rowclicked)
                    SetRowHeights(i, RoundEven(RowHeights(i) * ratio));
        }
        if (OnEndRowSize)
            OnEndRowSize(this, Rowclicked);
        Colclicked = -1;
        Rowclicked = -1;
        FInSizeProportion = false;
    }
    Rowsized = false;
    if (HasCheckBox(RealCol(), Row()))
        HideEditor();
    CellControlsUpdate(false);
    UpdateVScrollBar();
}

// ---- sizing-border hit test -------------------------------------------------------------------

bool TVerIvovavOzed::IsOnSizingBorder(int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0)
        return false;
    const TRect cr = CellRect(c, r);
    bool result = false;
    if (r <= FixedRows() && (Options() & goColSizing))
        result = std::abs(X - cr.Left) < 4 || std::abs(X - cr.Right) < 4;
    if (c <= FixedCols() && (Options() & goRowSizing))
        result = std::abs(Y - cr.Top) < 4 || std::abs(Y - cr.Bottom) < 4;
    return result;
}

// ---- drag scrolling ---------------------------------------------------------------------------

void TVerIvovavOzed::DragScrollOver(int X, int Y, TDragState State)
{
    TDragScrollOptions& o = *FDragScrollOptions;
    if (!o.Active) {
        FDragTmr.reset();
        return;
    }
    const TDragScrollDirection previous = FDragScrollDirection;
    FDragScrollDirection = 0;
    if (State == dsDragLeave) {
        FDragTmr.reset();
        return;
    }
    if (Y < o.Margins().TopMargin)
        FDragScrollDirection |= dsdUp;
    else if (Y > height() - o.Margins().BottomMargin)
        FDragScrollDirection |= dsdDown;
    if (X < o.Margins().LeftMargin)
        FDragScrollDirection |= dsdLeft;
    else if (X > width() - o.Margins().RightMargin)
        FDragScrollDirection |= dsdRight;
    if (FDragScrollDirection == 0) {
        FDragTmr.reset();
        return;
    }
    if (!FDragTmr) {
        FDragTmr = std::make_unique<QTimer>();
        QObject::connect(FDragTmr.get(), &QTimer::timeout, this, [this] { DragScrollTimerTick(); });
        FDragTmr->start(o.Delays().InitialDelay);
    } else if (previous != 0)
        FDragTmr->setInterval(o.Delays().InitialDelay);
}

void TVerIvovavOzed::DragScrollTimerTick()
{
    TDragScrollOptions& o = *FDragScrollOptions;
    if (!o.Active) {
        FDragTmr.reset();
        return;
    }
    if (FDragTmr)
        FDragTmr->setInterval(o.Delays().RepeatDelay);
    TDragScrollDirection dir = FDragScrollDirection;
    if (OnDragScroll) {
        bool canScroll = true;
        OnDragScroll(this, TopRow(), LeftCol(), dir, canScroll);
        if (!canScroll)
            return;
    }
    if ((dir & dsdUp) && TopRow() > FixedRows())
        SetTopRow(TopRow() - 1);
    if ((dir & dsdDown) && TopRow() + VisibleRowCount() < RowCount())
        SetTopRow(TopRow() + 1);
    if ((dir & dsdLeft) && LeftCol() > FixedCols())
        SetLeftCol(LeftCol() - 1);
    if ((dir & dsdRight) && LeftCol() + VisibleColCount() < ColCount())
        SetLeftCol(LeftCol() + 1);
}
