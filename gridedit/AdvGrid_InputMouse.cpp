// TVerIvovavOzed: what the grid does with mouse presses, releases and double clicks before the
// base grid's own handling.
#include "grid/AdvGrid.h"
#include "platform/Guarded.h"
#include "platform/Services.h"

#include <cmath>

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>

#include <utility>

using platform::Guarded;

namespace {

// The one modifier a press counts with: Alt, else Shift, else Ctrl.
TShiftState OneModifier(TShiftState s)
{
    if (s & ssAlt)
        return ssAlt;
    if (s & ssShift)
        return ssShift;
    if (s & ssCtrl)
        return ssCtrl;
    return TShiftState();
}

} // namespace

// ---- messages --------------------------------------------------------------------------------

TWMMouse TVerIvovavOzed::MouseMessageOf(const QMouseEvent* event) const
{
    TWMMouse m;
    const QPoint p = event->position().toPoint();
    m.XPos = p.x();
    m.YPos = p.y();
    m.Keys = platform::ShiftStateOf(event->modifiers(), event->buttons());
    return m;
}

void TVerIvovavOzed::BaseMouseMessage(QEvent::Type Type, Qt::MouseButton Button, const TWMMouse& Msg)
{
    const Qt::KeyboardModifiers mods = FMouseEvent ? FMouseEvent->modifiers() : Qt::NoModifier;
    const Qt::MouseButtons buttons = FMouseEvent ? FMouseEvent->buttons() : Qt::MouseButtons(Button);
    const QPointF local(Msg.XPos, Msg.YPos);
    QMouseEvent ev(Type, local, viewport()->mapToGlobal(local), Button, buttons, mods);
    switch (Type) {
    case QEvent::MouseButtonPress:
        TBaseGrid::mousePressEvent(&ev);
        break;
    case QEvent::MouseButtonRelease:
        TBaseGrid::mouseReleaseEvent(&ev);
        break;
    default:
        TBaseGrid::mouseDoubleClickEvent(&ev);
        break;
    }
}

// The grid's steps for one button message: the Qt event is the message being handled meanwhile,
// and no error leaves the event loop.
template <class F>
void TVerIvovavOzed::HandleMouseMessage(QMouseEvent* event, F&& Handle)
{
    event->accept();
    QPointer<TVerIvovavOzed> self(this);
    FMouseEvent = event;
    TWMMouse m = MouseMessageOf(event);
    Guarded([&] { Handle(m); });
    if (self)
        FMouseEvent = nullptr;
}

void TVerIvovavOzed::mousePressEvent(QMouseEvent* event)
{
    HandleMouseMessage(event, [&](TWMMouse& m) {
        // Any press ends wheel panning; the middle button starts it.
        if (FWheelPan)
            EndPanning();
        else if (event->button() == Qt::MiddleButton)
            StartPanning(m.XPos, m.YPos);
        if (event->button() == Qt::LeftButton)
            HandleLeftButtonDown(m);
        else if (event->button() == Qt::RightButton)
            HandleRightButtonDown(m);
        else
            BaseMouseMessage(QEvent::MouseButtonPress, event->button(), m);
    });
}

void TVerIvovavOzed::mouseReleaseEvent(QMouseEvent* event)
{
    HandleMouseMessage(event, [&](TWMMouse& m) {
        if (event->button() == Qt::LeftButton)
            HandleLeftButtonUp(m);
        else if (event->button() == Qt::RightButton)
            HandleRightButtonUp(m);
        else
            BaseMouseMessage(QEvent::MouseButtonRelease, event->button(), m);
    });
}

void TVerIvovavOzed::mouseDoubleClickEvent(QMouseEvent* event)
{
    HandleMouseMessage(event, [&](TWMMouse& m) {
        if (event->button() == Qt::LeftButton)
            HandleLeftButtonDblClk(m);
        else
            BaseMouseMessage(QEvent::MouseButtonDblClick, event->button(), m);
    });
}

// ---- left button down ------------------------------------------------------------------------

void TVerIvovavOzed::HandleLeftButtonDown(TWMMouse& Msg)
{
    const int X = Msg.XPos, Y = Msg.YPos;
    FDoOnClick = true;
    FMouseDownMove = true;
    FMouseKeepDown = true;
    FSpinUpClick = false;
    FSpinDnClick = false;
    const TGridRect oldSel = Selection();
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    // The selection's resize handle: the release pastes the selection into the range dragged out.
    if (InSelectionGrip(X, Y)) {
        BeginSelectionResize(Msg);
        return;
    }

    if ((Options() & goEditing) && FMouseActions->RangeSelectAndEdit() && ACol >= 0 && ARow >= 0 &&
        !(ACol >= oldSel.Left && ACol <= oldSel.Right && ARow >= oldSel.Top && ARow <= oldSel.Bottom))
        SetOptions(Options() & ~TGridOptions(goEditing));

    bool allow = true;
    if (OnCanClickCell)
        OnCanClickCell(this, ARow, ACol, allow);
    if (!allow)
        return;
    if (FCellSelectorMode) {
        CellClickHook(ACol, ARow);
        return;
    }
    if (FMouseSelect == msResize) {
        BeginSelectionResize(Msg);
        return;
    }

    // Preparation.
    const TShiftState shift = OneModifier(Msg.Keys);
    SearchInc.clear();
    FSelectionClick = false;
    FPushedCellButton = {-1, -1};
    FOldTopRow = TopRow();
    FOldKeepLeftCol = LeftCol();
    {
        int cc = -1, rc = -1;
        MouseToCell(X, Y, cc, rc);
        MouseToCell(cc == 0 ? X : X - 5, rc == 0 ? Y : Y - 4, Colclicked, Rowclicked);
        Colclickedsize = Colclicked >= 0 ? ColWidths(Colclicked) : 0;
        Rowclickedsize = Rowclicked >= 0 ? RowHeights(Rowclicked) : 0;
    }
    Clickposx = X;
    Clickposy = Y;

    if (ACol < 0 || ARow < 0) {
        HideInplaceEdit();
        if (!FFixedRowAlways)
            BaseMouseMessage(QEvent::MouseButtonPress, Qt::LeftButton, Msg);
        return;
    }

    const TPoint base = BaseCell(ACol, ARow);
    const bool merged = base.X != ACol || base.Y != ARow || IsMergedCell(ACol, ARow);
    const int pressedCol = ACol, pressedRow = ARow;
    ACol = base.X;
    ARow = base.Y;
    const TRect R = CellRect(ACol, ARow);
    if (FMouseActions->CaretPositioning())
        LButFlg = true;

    if (FSizeFixed) {
        FSizingFixed = true;
        FSizeFixedX = X;
        FSizingFixedCol = FixedColBorderAt(X);
        viewport()->update();
        return;
    }
    if (FSizeFixedR) {
        FSizingFixedR = true;
        FSizeFixedY = Y;
        FSizingFixedRow = FixedRowBorderAt(Y);
        viewport()->update();
        return;
    }

    const bool inFixed = ACol < FixedCols() || ARow < FixedRows();
    if (inFixed || IsFixed(ACol, ARow))
        HideInplaceEdit();

    const int realCol = DisplToRealCol(ACol);

    // Always-shown spin buttons: which half was hit, so that the editor opened by this press
    // steps once.
    SpinButtonPress(ACol, ARow, X, Y);

    // The glyph of a node row opens or closes its node; a header node's glyph every node.
    if (ACol == 0 && IsNode(ARow) && IsInNodeButton(ARow, X)) {
        if (ARow < FixedRows()) {
            if (FMouseActions->NodeAllExpandContract())
                ClickHeaderNode(ARow);
        } else {
            if (OnMouseDown)
                OnMouseDown(this, mbLeft, shift, X, Y);
            if (OnClickCell)
                OnClickCell(this, ARow, 0);
            ClickNode(ARow);
            return;
        }
    }

    // Radio group.
    if (IsRadio(realCol, ARow) && (IsEditable(realCol, ARow) || FControlLook->RadioAlwaysActive)) {
        HideInplaceEdit();
        ClickCellRadioGroup(realCol, ARow, X - R.Left, Y - R.Top);
        SetFocus();
        return;
    }

    // Column 0 of a grid with nodes is the node column.
    if (ACol == 0 && ARow >= FixedRows() && HasNodes() && !FMouseActions->RowSelect() &&
        !(Options() & goRowSizing)) {
        if (OnMouseDown)
            OnMouseDown(this, mbLeft, shift, X, Y);
        if (OnClickCell)
            OnClickCell(this, ARow, 0);
        return;
    }

    // A press inside the selection may start an OLE drag: the mouse move decides, the release
    // of a press that did not drag selects the cell.
    const bool selectable = IsSelected(ACol, ARow) || (ARow < FixedRows() && !EnhRowColMove());
    const bool inside = (X > R.Left + 3 && X < R.Right - 3) || !(Options() & goColSizing);
    if (selectable && !(Options() & goEditing) && !HasButton(realCol, ARow) && !HasCheckBox(realCol, ARow) &&
        DragDropSettings().OleDropSource() &&
        !(ARow < FixedRows() && (FMouseActions->ColSelect() || FMouseActions->AllSelect())) &&
        ACol >= FixedCols() && inside) {
        SetFocus();
        if (OnMouseDown)
            OnMouseDown(this, mbLeft, shift, X, Y);
        FSelectionClick = true;
        if (OnClickCell)
            OnClickCell(this, ARow, ACol);
        return;
    }

    // Rating: half a point per 9 pixels from the cell's left edge.
    if (HasRating(realCol, ARow) && IsEditable(realCol, ARow)) {
        HideInplaceEdit();
        double rate = double((X - R.Left) / 9) / 2;
        if (DoRatingChange(realCol, ARow, rate)) {
            SetFloats(realCol, ARow, rate);
            RepaintCell(ACol, ARow);
        }
        return;
    }

    // Cell button and expand box: pushed here, fired by the release.
    if (HasButton(realCol, ARow) || HasExpand(realCol, ARow)) {
        HideInplaceEdit();
        if (!IsFixed(ACol, ARow)) {
            const bool force = FForceSel;
            FForceSel = true;
            AcceptCellSelection(ACol, ARow);
            FForceSel = force;
        }
        const TRect br = HasButton(realCol, ARow) ? GetCellButtonRect(ACol, ARow) : GetExpandButtonRect(realCol, ARow);
        if (X >= br.Left && X < br.Right && Y >= br.Top && Y < br.Bottom) {
            PushButton(ACol, ARow, true);
            FPushedCellButton = {ACol, ARow};
            viewport()->grabMouse();
            if (OnClickCell)
                OnClickCell(this, ARow, ACol);
            return;
        }
    }

    // A press on a merged cell selects its base cell.
    if (merged && !IsFixed(ACol, ARow) && !OnMouseDown && (pressedCol != ACol || pressedRow != ARow)) {
        Msg.XPos = R.Left + 2;
        Msg.YPos = R.Top + 2;
    }

    if (ACol >= ColCount() || ARow >= RowCount()) {
        BaseMouseMessage(QEvent::MouseButtonPress, Qt::LeftButton, Msg);
        return;
    }

    Clickposdx = X - R.Left;
    Clickposdy = Y - R.Top;

    // Disjunct row and column selection.
    const bool normalRow = ARow >= FixedRows() && ARow < RowCount() - FixedFooters();
    if (FMouseActions->DisjunctRowSelect() && normalRow && (ACol > 0 || !FMouseActions->HotmailRowSelect())) {
        if (shift & ssShift) {
            BaseMouseMessage(QEvent::MouseButtonPress, Qt::LeftButton, Msg);
            SetSelection({std::min(ACol, oldSel.Left), std::min(ARow, oldSel.Top), std::max(ACol, oldSel.Left),
                          std::max(ARow, oldSel.Top)});
            return;
        }
        const int flagRow = FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
        if ((shift & ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl()) {
            if (RowSelect(flagRow))
                FDeselectState = true;
        } else {
            FMouseDown = true;
            if (!(shift & ssAlt))
                ClearRowSelect();
        }
    }
    if (FMouseActions->DisjunctColSelect() && ACol >= FixedCols()) {
        if (shift & ssCtrl) {
            if (ColSelect(ACol))
                FDeselectState = true;
        } else {
            FMouseDown = true;
            ClearColSelect();
        }
    }

    Movecell = -1;
    if (FMouseSelect == msNormal)
        FMouseSelect = MouseSelectAt(X, Y);
    const bool rangeSelect = (Options() & goRangeSelect) != 0;
    if (ACol < FixedCols() && ARow < FixedRows() && FMouseActions->AllSelect() && rangeSelect &&
        FMouseSelect == msAll) {
        SetFocus();
        ExportNotification(esExportStart, -1);
        ExportNotification(esExportNewRow, RowCount() - 1);
        ExportNotification(esExportFail, -1);
        HideSelection();
        SetSelection({FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1});
        FSelHidden = false;
        DoExit();
        if (ActiveCellShow())
            InvalidateGrid();
    } else if (ACol < FixedCols() && normalRow && FMouseActions->RowSelect() && FMouseSelect == msRow) {
        if (EditorMode())
            SetFocus();
        HideSelection();
        if (FMouseActions->DisjunctCellSelect())
            FSelectedCells.Clear();
        const int from = (shift & ssShift) ? std::min(ARow, oldSel.Top) : ARow;
        const int to = (shift & ssShift) ? std::max(ARow, oldSel.Top) : ARow;
        SetSelection({FixedCols(), from, ColCount() - 1, to});
        FSelHidden = false;
        DoExit();
        FMouseSelectStart = ARow;
        if (ActiveCellShow())
            InvalidateGrid();
        else if (!RowIndicator().Empty())
            RepaintCell(0, ARow);
    } else if (ARow < FixedRows() && ACol >= FixedCols() && FMouseActions->ColSelect() && rangeSelect &&
               FMouseSelect == msColumn) {
        if (EditorMode())
            SetFocus();
        HideSelection();
        if (FMouseActions->DisjunctCellSelect())
            FSelectedCells.Clear();
        int from = ACol, to = ACol;
        if (shift & ssShift) {
            if (ACol < oldSel.Left)
                to = oldSel.Right;
            else
                from = oldSel.Left;
        }
        SetSelection({from, FixedRows(), to, RowCount() - 1});
        FSelHidden = false;
        DoExit();
        FMouseSelectStart = ACol;
        if (ActiveCellShow())
            InvalidateGrid();
    }
    if (ARow < FixedRows() && ACol >= FixedCols())
        Movecell = ACol;
    else if (ACol < FixedCols() && ARow >= FixedRows())
        Movecell = ARow;
    MoveOfsX = X - R.Left;
    MoveOfsY = Y - R.Top;

    bool canChange = (Options() & goEditing) || FMouseActions->RangeSelectAndEdit();
    IsReadOnlyCell(realCol, ARow, canChange);

    // Check box and radio button click.
    const bool hotmail = ACol == 0 && FMouseActions->HotmailRowSelect();
    if ((canChange || FControlLook->CheckAlwaysActive || hotmail) &&
        (HasCheckBox(realCol, ARow) || HasRadioButton(realCol, ARow)) && IsInCheckBox(realCol, ARow, X, Y)) {
        HideInplaceEdit();
        SetFocus();
        const int realRow = RealRowIndex(ARow);
        bool changed = true;
        if (HasRadioButton(realCol, ARow)) {
            ClickCellRadioButton(realCol, ARow, true);
            if (OnRadioButtonClick)
                OnRadioButtonClick(this, realCol, ARow);
        } else {
            changed = ToggleCellCheck(realCol, ARow, true) || hotmail;
        }
        if (changed && FShowModified->Enabled()) {
            SetRowModified(ARow, true);
            RepaintCell(0, ARow);
        }
        if (hotmail) {
            SetSelection({FixedCols(), ARow, ColCount() - 1, ARow});
            SetRowSelect(realRow, !RowSelect(realRow));
            if (realRow != ARow)
                RepaintCell(0, ARow);
            if (ARow == Row() && !RowSelect(realRow)) {
                HideSelection();
                FSelHidden = false;
            }
        }
        bool state = false;
        GetCheckBoxState(realCol, realRow, state);
        if (!FNavigation->AlwaysEdit() && ARow >= FixedRows() && ACol >= FixedCols())
            MoveColRow(ACol, ARow, true, true);
        if (changed)
            DoCheckBoxClick(ACol, ARow, state);
        if (HideFocusRect())
            RepaintCell(ACol, ARow);
        if (ARow < FixedRows() && FMouseActions->CheckAllCheck()) {
            for (int r = FixedRows(); r < RowCount(); ++r) {
                if (FMouseActions->HotmailRowSelect())
                    SetRowSelect(RealRowIndex(r), state);
                else
                    SetCheckBoxState(RealColIndex(ACol), r, state);
            }
            InvalidateGrid();
        }
        if (OnMouseDown)
            OnMouseDown(this, mbLeft, platform::ShiftStateOf(QGuiApplication::keyboardModifiers()), X, Y);
        Click();
        return;
    }

    // Links and form controls of HTML cells.
    if (HandleLinkPress(ACol, ARow, X, Y))
        return;

    // Direct editing preparation.
    const bool normalCell = ARow >= FixedRows() && ACol >= FixedCols() && !IsFixed(ACol, ARow);
    const bool combo = normalCell && FControlLook->DropDownAlwaysVisible() && HasComboBox(realCol, ARow);
    const bool direct = FMouseActions->DirectEdit() || (FControlLook->DropDownAlwaysVisible() && combo);
    if (normalCell && (canChange || (FMouseActions->EditOnDblClickOnly() && combo)) && direct) {
        HideInplaceEdit();
        SetFocus();
    }

    const TGridRect sel = Selection();
    const bool onCurrent = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom && sel.Left == ACol &&
                           sel.Right == ACol && sel.Top == ARow && sel.Bottom == ARow;
    bool editingRemoved = false;
    if (!onCurrent && FMouseActions->RangeSelectAndEdit() && !IsFixed(ACol, ARow) && !canChange) {
        SetOptions(Options() & ~TGridOptions(goEditing));
        editingRemoved = true;
    }

    // An inner fixed cell only reports the click.
    if (!inFixed && IsFixed(ACol, ARow)) {
        const bool footerRow = ARow == RowCount() - 1 && FFloatingFooter->Visible() &&
                               FFloatingFooter->FooterStyle() == fsFixedLastRow;
        if (!footerRow && OnClickCell)
            OnClickCell(this, ARow, ACol);
        return;
    }

    if (!FSelHidden) {
        const bool alwaysEdit = FNavigation->AlwaysEdit();
        FNavigation->SetAlwaysEdit(false);
        BaseMouseMessage(QEvent::MouseButtonPress, Qt::LeftButton, Msg);
        FNavigation->SetAlwaysEdit(alwaysEdit);
    }
    if ((Options() & goRowSelect) && FNavigation->KeepHorizScroll() && LeftCol() != FOldKeepLeftCol)
        SetLeftCol(FOldKeepLeftCol);

    const bool onBorder = X - R.Left < 4 || R.Right - X < 4;
    if (!((Options() & goColSizing) && ARow < FixedRows() && onBorder) && OnClickCell)
        OnClickCell(this, ARow, ACol);

    if (OnCellValidate) {
        FEntered = false;
        RememberCellText(Col(), Row());
    }

    if (merged && !IsFixed(ACol, ARow) && (onCurrent || FMouseActions->DirectEdit()) && canChange)
        ShowInplaceEdit();

    if (!onBorder && normalCell && (canChange || (FMouseActions->EditOnDblClickOnly() && combo)) && direct &&
        !IsControlCell(realCol, ARow)) {
        if (FMouseActions->EditOnDblClickOnly() && combo && !(Options() & goEditing)) {
            SetOptions(Options() | goEditing);
            SetFocus();
        }
        bool allowMove = true;
        if (ARow != Row() && OnRowChanging)
            OnRowChanging(this, Row(), ARow, allowMove);
        if (ACol != Col() && OnColChanging)
            OnColChanging(this, Col(), ACol, allowMove);
        if ((ARow != Row() || ACol != Col()) && OnCellChanging)
            OnCellChanging(this, Row(), Col(), ARow, ACol, allowMove);
        if (allowMove) {
            SetSelection({ACol, ARow, ACol, ARow});
            RememberCellText(ACol, ARow);
            ShowEditor();
        }
    }
    if (editingRemoved && !onBorder)
        FGridState = gsSelecting;
}

// ---- mouse-select mode ----------------------------------------------------------------------

int TVerIvovavOzed::MouseSelectAt(int X, int Y)
{
    if (InSelectionGrip(X, Y))
        return msResize;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0)
        return msNormal;
    const TRect R = CellRect(c, r);
    const bool colBorder = (Options() & goColSizing) && (X - R.Left < 4 || R.Right - X < 4);
    const bool rowBorder = (Options() & goRowSizing) && (Y - R.Top < 4 || R.Bottom - Y < 4);
    if (c < FixedCols() && r < FixedRows())
        return FMouseActions->AllSelect() ? int(msAll) : int(msNormal);
    if (r < FixedRows() && FMouseActions->ColSelect() && !colBorder)
        return msColumn;
    const bool footer = FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow;
    const int lastRow = footer ? RowCount() - 2 : RowCount() - 1;
    if (c < FixedCols() && r >= FixedRows() && r <= lastRow && FMouseActions->RowSelect() && !rowBorder)
        return msRow;
    return msNormal;
}

// ---- fixed column and row borders -----------------------------------------------------------

int TVerIvovavOzed::FixedColBorderAt(int X)
{
    int border = 0;
    for (int c = 0; c < FixedCols(); ++c) {
        border += ColWidths(c) + 1;
        if (std::abs(border - X) < 3)
            return c;
    }
    return -1;
}

int TVerIvovavOzed::FixedRowBorderAt(int Y)
{
    int border = 0;
    for (int r = 0; r < FixedRows(); ++r) {
        border += RowHeights(r) + 1;
        if (std::abs(border - Y) < 3)
            return r;
    }
    return -1;
}

// ---- button and rating cells ---------------------------------------------------------------

TRect TVerIvovavOzed::GetCellButtonRect(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(DisplToRealCol(ACol), ARow);
    if (!g)
        return TRect();
    const TRect C = CellRect(ACol, ARow);
    const unsigned v = unsigned(std::lround(g->CellValue()));
    const unsigned size = unsigned(g->CellIndex());
    TRect r;
    r.Left = C.Left + int(v & 0xFFFF);
    r.Top = C.Top + int(v >> 16);
    r.Right = r.Left + int(size & 0xFFFF);
    r.Bottom = r.Top + int(size >> 16);
    if (g->CellVAlign() == vaFull) {
        r.Top = C.Top;
        r.Bottom = C.Bottom;
    }
    if (g->CellHAlign() == haFull) {
        r.Left = C.Left;
        r.Right = C.Right;
    }
    return r;
}

void TVerIvovavOzed::PushButton(int ACol, int ARow, bool Pushed)
{
    const int realCol = DisplToRealCol(ACol);
    TCellGraphic* g = GetCellGraphic(realCol, ARow);
    if (!g || g->CellType() == ctNode)
        return;
    g->SetCellBoolean(Pushed);
    RepaintCell(ACol, ARow);
}

bool TVerIvovavOzed::DoRatingChange(int ACol, int ARow, double& NewRate)
{
    bool allow = true;
    if (OnRatingChange)
        OnRatingChange(this, ACol, ARow, NewRate, allow);
    return allow;
}

// ---- radio group click -----------------------------------------------------------------------

void TVerIvovavOzed::ClickCellRadioGroup(int ACol, int ARow, int DX, int DY)
{
    const TPoint b = BaseCell(ACol, ARow);
    const int C = b.X, R = b.Y;
    const int dc = RealToDisplCol(C);
    if (!IsFixed(dc, R)) {
        SetCol(dc);
        SetRow(R);
    }
    TCellGraphic* g = GetCellGraphic(C, R);
    if (!g || g->CellType() != ctRadio)
        return;
    const platform::TStringList* list = g->CellBitmap().As<platform::TStringList>();
    if (!list)
        return;
    TFont font(Font());
    TBrush brush;
    GetCellColor(C, R, TGridDrawState(), brush, font);
    const QFontMetrics fm(font.ToQFont());
    const int G = FControlLook->ControlStyle() >= csWinXP ? 16 : FControlLook->RadioSize();
    int chosen = -1;
    if (g->CellBoolean()) {
        int sum = 0;
        for (int i = 0; i < list->Count() && chosen < 0; ++i) {
            const int next = sum + fm.horizontalAdvance(list->Strings(i)) + G;
            if (sum < DX && DX < next)
                chosen = i;
            sum = next;
        }
    } else {
        const int band = std::max(G, fm.boundingRect(QStringLiteral("gh")).height());
        for (int i = 0; i < list->Count() && chosen < 0; ++i)
            if (i * band < DY && DY < (i + 1) * band)
                chosen = i;
    }
    if (chosen < 0)
        return;
    if (g->CellIndex() != -1)
        g->SetCellIndex(chosen);
    else
        SetCellEx(C, R, list->Strings(chosen));
    SetCellEx(C, R, Cells(C, R));
    SetRadioIdx(C, R, chosen);
    if (OnRadioClick)
        OnRadioClick(this, C, R, chosen);
}

// ---- left button up --------------------------------------------------------------------------

void TVerIvovavOzed::HandleLeftButtonUp(TWMMouse& Msg)
{
    const int X = Msg.XPos, Y = Msg.YPos;
    const TGridState pressState = FGridState;
    FMouseDown = false;
    FMouseKeepDown = false;
    FMouseDownMove = false;
    FMouseSelectStart = -1;
    FMouseSelect = msNormal;

    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    HideDragArrows();
    HideSizingHint();
    // Whatever path the release takes, the press's drag candidate and resize end with it.
    struct EndPress {
        TVerIvovavOzed* Grid;
        ~EndPress()
        {
            Grid->FSelectionClick = false;
            Grid->FMouseResize = false;
        }
    } endPress{this};

    // A release on a header filter button opens that column's filter list; any other hides it.
    FilterDropDownMouseUp(X, Y);

    // A release outside the grid while a column or row is sized cancels the sizing.
    if ((FGridState == gsColSizing && X >= viewport()->width()) ||
        (FGridState == gsRowSizing && Y >= viewport()->height())) {
        FGridState = gsNormal;
        viewport()->update();
        return;
    }
    // The end of an enhanced column or row move: the no-drop pointer cancels it.
    const bool moveEnded = EndEnhancedMove(X, Y);

    // A fixed column or row sized by its border takes the released position.
    if (FSizingFixed) {
        FSizeFixed = FSizingFixed = false;
        const int c = FSizingFixedCol;
        FSizingFixedCol = -1;
        if (c >= 0) {
            int before = 0;
            for (int i = 0; i < c; ++i)
                before += ColWidths(i);
            int width = std::max(0, X - before);
            SetColWidths(c, width);
            if (OnEndColumnSize)
                OnEndColumnSize(this, c);
            if (OnUpdateColumnSize) {
                const int set = width;
                OnUpdateColumnSize(this, c, width);
                if (width != set)
                    SetColWidths(c, std::max(0, width));
            }
        }
        viewport()->update();
    }
    if (FSizingFixedR) {
        FSizeFixedR = FSizingFixedR = false;
        const int r = FSizingFixedRow;
        FSizingFixedRow = -1;
        if (r >= 0) {
            int before = 0;
            for (int i = 0; i < r; ++i)
                before += RowHeights(i);
            SetRowHeights(r, std::max(0, Y - before));
            if (OnEndRowSize)
                OnEndRowSize(this, r);
        }
        viewport()->update();
    }

    // A held BUTTON control of an HTML cell comes up.
    if (FCtrlDown) {
        FCtrlDown = false;
        if (FCtrlXY.Y >= 0 && FCtrlXY.Y < RowCount())
            RepaintCell(DisplColIndex(FCtrlXY.X), FCtrlXY.Y);
    }

    // A held cell button fires when the release lands on it.
    bool onButton = false;
    if (FPushedCellButton.X >= 0) {
        const TPoint held = FPushedCellButton;
        const bool onCell = ACol >= 0 && ARow >= 0;
        bool enabled = (Options() & goEditing) != 0;
        if (!enabled && onCell && !FControlLook->NoDisabledButtonLook())
            enabled = CellAllowsEditing(DisplToRealCol(ACol), ARow);
        const bool heldFixed = held.X < FixedCols() || held.Y < FixedRows();
        if (enabled || FControlLook->NoDisabledButtonLook() || heldFixed) {
            if (!IsNode(held.Y))
                PushButton(held.X, held.Y, false);
            if (onCell) {
                const TPoint b = BaseCell(ACol, ARow);
                const int bReal = DisplToRealCol(b.X);
                const bool alsoOff = (held.X < FixedCols() && FixedAsButtons()) || held.Y < FixedRows();
                if (HasButton(bReal, b.Y)) {
                    const TRect br = GetCellButtonRect(b.X, b.Y);
                    onButton = X >= br.Left && X < br.Right && Y >= br.Top && Y < br.Bottom;
                    if (onButton || alsoOff)
                        DoButtonClick(DisplToRealCol(held.X), held.Y);
                }
                if (HasExpand(bReal, b.Y)) {
                    const TRect er = GetExpandButtonRect(bReal, b.Y);
                    const bool onExpand = X >= er.Left && X < er.Right && Y >= er.Top && Y < er.Bottom;
                    if (onExpand || alsoOff) {
                        const bool expanded = ToggleExpand(DisplToRealCol(held.X), held.Y);
                        DoExpandClick(DisplToRealCol(held.X), held.Y, expanded);
                    }
                    onButton = onButton || onExpand;
                }
            }
        }
        FPushedCellButton = {-1, -1};
        viewport()->releaseMouse();
    }
    if (onButton) {
        FDoOnClick = false;
        FDeselectState = false;
        FSelectionClick = false;
        if (FGridState == gsSelecting)
            FGridState = gsNormal;
        return;
    }

    // Fixed cells report the click, unless the release ends a column sizing.
    if (FDoOnClick && ACol >= 0 && ARow >= 0 && (ACol < FixedCols() || ARow < FixedRows())) {
        const bool sizing = ARow < FixedRows() && (Options() & goColSizing) &&
                            viewport()->cursor().shape() == Qt::SplitHCursor;
        if (!sizing && OnClick)
            OnClick(this);
    }
    FDoOnClick = false;

    if (FGridState == gsSelecting) {
        FGridState = gsNormal;
        KillTimer(1);
        Click();
    }

    // A press inside the selection that did not start a drag selects the released cell (or row).
    const bool normalCell = ACol >= FixedCols() && ARow >= FixedRows() && ACol < ColCount() && ARow < RowCount();
    if (FSelectionClick && normalCell) {
        FSelectionClick = false;
        bool done = false;
        if (FMouseActions->DisjunctRowSelect() && DragDropSettings().OleDropSource()) {
            if (!(Msg.Keys & ssCtrl))
                ClearRowSelect();
            if ((Msg.Keys & ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl()) {
                const int flagRow = FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
                SetRowSelect(flagRow, !RowSelect(flagRow));
                if (OnMouseUp)
                    OnMouseUp(this, mbLeft, Msg.Keys, X, Y);
                done = true;
            }
        }
        if (done)
            return;
        RepaintCell(0, Row());
        if (Options() & goRowSelect)
            SetSelection({FixedCols(), ARow, ColCount() - 1, ARow});
        else
            SetSelection({ACol, ARow, ACol, ARow});
        RepaintCell(0, Row());
    }

    bool rowCleared = false;
    if (FMouseActions->DisjunctRowSelect() && ACol >= 0 && !(ACol == 0 && IsNode(ARow))) {
        if (!(ACol == 0 && FMouseActions->HotmailRowSelect()))
            SelectionToRowSelect(false);
        if (FDeselectState && ARow >= FixedRows() && ARow < RowCount() - FixedFooters()) {
            SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow, false);
            rowCleared = true;
        }
        if (FMouseActions->HotmailRowSelect())
            RepaintCell(0, 0);
    }
    if (FMouseActions->DisjunctColSelect() && ACol >= 0) {
        SelectionToColSelect(false);
        if (FDeselectState && ACol >= FixedCols())
            SetColSelect(ACol, false);
    }
    FDeselectState = false;
    FSelectionClick = false;

    // A release on an open node row selects the rows of its group.
    if (ACol > 0 && ARow >= 0 && IsNode(ARow) && !GetNodeState(ARow) && FGrouping->AutoSelectGroup) {
        // The node's child rows as they show now: the rows of its group below the node row.
        const int endReal = NodeEndReal(ARow);
        int last = ARow;
        while (last + 1 < RowCount() - FixedFooters() && RealRowIndex(last + 1) < endReal)
            ++last;
        if (last > ARow && FMouseActions->DisjunctRowSelect()) {
            for (int r = ARow + 1; r <= last; ++r)
                SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r, true);
            InvalidateGrid();
        } else if (last > ARow) {
            SetSelection({FixedCols(), ARow + 1, ColCount() - 1, last});
        }
    }

    // The disjunct cell selection; a refusal of OnSelectCell ends here.
    if (!moveEnded && !DisjunctCellRelease(X, Y, Msg.Keys))
        return;

    BaseMouseMessage(QEvent::MouseButtonRelease, Qt::LeftButton, Msg);

    if (rowCleared)
        FSelChange = false;
    if (FGridState == gsSelecting)
        FGridState = gsNormal;

    if (FMouseResize)
        EndSelectionResize();

    if (pressState == gsColSizing || pressState == gsColMoving || ACol < 0 || ARow < 0)
        return;
    if (ACol < FixedCols() && !FSortSettings->FixedCols())
        return;
    const int realCol = DisplToRealCol(ACol);
    if (HasCheckBox(realCol, ARow) && OnCheckBoxMouseUp) {
        bool state = false;
        GetCheckBoxState(realCol, ARow, state);
        OnCheckBoxMouseUp(this, realCol, ARow, state);
    }
    if (IsRadio(realCol, ARow) && OnRadioMouseUp) {
        int idx = -1;
        GetRadioIdx(realCol, ARow, idx);
        OnRadioMouseUp(this, realCol, ARow, idx);
    }
    if (FDblClk) {
        FDblClk = false;
        return;
    }
    const TRect cellR = CellRect(ACol, ARow);
    // Near a column border of the header the release belongs to the sizing.
    if (ARow == 0 && (Options() & goColSizing) && (X - cellR.Left < 4 || cellR.Right - X < 4))
        return;
    // The right edge of a header cell holds its drop-down or filter button.
    if (cellR.Right - X < 16 &&
        ((FControlLook->FixedDropDownButton && CanShowFixedDropDown(ACol)) || FillFilterDropDown(realCol)))
        return;
    if (moveEnded)
        return;
    int pressCol = -1, pressRow = -1;
    MouseToCell(Clickposx, Clickposy, pressCol, pressRow);
    if (ARow == FSortSettings->Row() && pressRow == FSortSettings->Row() && FixedRows() > 0 &&
        !HasCheckBox(realCol, ARow) && FSortSettings->Show() && RowCount() > 2)
        ClickSort(realCol, ACol, ARow, Msg.Keys);
}

void TVerIvovavOzed::ClickSort(int RealCol, int ACol, int /*ARow*/, TShiftState Keys)
{
    TSortSettings& ss = *FSortSettings;
    bool doSort = !IsIgnoredColumn(RealCol);
    if (OnCanSort)
        OnCanSort(this, RealCol, doSort);
    if (!doSort) {
        RepaintCell(ACol, ss.Row());
        return;
    }
    HideInplaceEdit();
    if (FSortRowXRef.Count() != RowCount())
        InitSortXRef();
    if (ss.AutoColumnMerge())
        SplitAllColumnCells();

    auto sortNow = [&]() {
        if (ss.IndexShow()) {
            const TShiftStateFlag key = ss.IndexSortKey() == ikCtrl ? ssCtrl : ssShift;
            const bool ascending = ss.InitSortDirection() == sdAscending;
            if (Keys.testFlag(key)) {
                if (FSortIndexes.FindIndex(RealCol) < 0)
                    FSortIndexes.AddIndex(RealCol, ascending);
                else
                    FSortIndexes.ToggleIndex(RealCol);
            } else if (FSortIndexes.Count() == 1 && FSortIndexes.GetSortColumns(0) == RealCol) {
                FSortIndexes.ToggleIndex(RealCol);
            } else {
                FSortIndexes.Clear();
                FSortIndexes.AddIndex(RealCol, ascending);
            }
            if (HasNodes())
                QSortGroupIndexed();
            else
                QSortIndexed();
            ss.SetColumn(FSortIndexes.Count() > 0 ? FSortIndexes.GetSortColumns(0) : -1);
            return;
        }
        if (RealCol == ss.Column()) {
            if (ss.Direction() != ss.InitSortDirection() && ss.UndoSort()) {
                QUnSort();
                ss.SetColumn(-1);
                return;
            }
            ss.ToggleDirection();
        } else {
            ss.SetDirection(ss.InitSortDirection());
            ss.SetColumn(RealCol);
        }
        if (HasNodes())
            QSortGroup();
        else
            QSort();
    };

    SortTime = platform::GetTickCount();
    if ((Options() & goRowSelect) && FNavigation->KeepHorizScroll()) {
        const int left = LeftCol();
        BeginUpdate();
        try {
            sortNow();
        } catch (...) {
            EndUpdate();
            throw;
        }
        SetLeftCol(left);
        EndUpdate();
    } else {
        sortNow();
    }
    SortTime = platform::GetTickCount() - SortTime;

    if (ss.AutoColumnMerge())
        MergeListedColumns();
    if (FControlList.Count() > 0)
        CellControlsUpdate(true);
    DoClickSort(ss.Column());
}

// ---- double click ----------------------------------------------------------------------------

void TVerIvovavOzed::HandleLeftButtonDblClk(TWMMouse& Msg)
{
    const int X = Msg.XPos, Y = Msg.YPos;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (FMouseActions->RangeSelectAndEdit() && !IsControlCell(DisplToRealCol(ACol), ARow))
        FForceSel = true;
    if (ACol == -1) {
        if (FFixedRowAlways) {
            BaseMouseMessage(QEvent::MouseButtonDblClick, Qt::LeftButton, Msg);
            FForceSel = false;
            return;
        }
        ACol = ColCount() - 1;
        ARow = 0;
    }

    // A double click on a header column border sizes the column.
    if (ARow >= 0 && ARow < FixedRows() && (Options() & goColSizing) && FMouseActions->AutoSizeColOnDblClick()) {
        const TRect R = CellRect(ACol, ARow);
        bool sized = false;
        auto sizeColumn = [this](int C) {
            bool allow = true;
            if (OnColumnSize)
                OnColumnSize(this, C, allow);
            if (allow) {
                AutoSizeCol(C, 0);
                if (OnEndColumnSize)
                    OnEndColumnSize(this, C);
            }
        };
        if (X - R.Left <= 3) {
            FDblClk = sized = true;
            if (ACol - 1 >= FixedCols())
                sizeColumn(ACol - 1);
        } else if (R.Right - X <= 3 && ACol >= FixedCols()) {
            FDblClk = sized = true;
            sizeColumn(ACol);
        }
        if (sized) {
            FForceSel = false;
            BaseMouseMessage(QEvent::MouseButtonDblClick, Qt::LeftButton, Msg);
            return;
        }
    }

    const int realCol = DisplToRealCol(ACol);
    // A double click on a cell button or an expand box is that button's business alone.
    if (ARow >= 0 && ACol >= 0 && (HasButton(realCol, ARow) || HasExpand(realCol, ARow))) {
        const TRect br = HasButton(realCol, ARow) ? GetCellButtonRect(ACol, ARow) : GetExpandButtonRect(realCol, ARow);
        if (X >= br.Left && X < br.Right && Y >= br.Top && Y < br.Bottom) {
            FForceSel = false;
            return;
        }
    }
    if (ARow >= 0 && IsControlCell(realCol, ARow)) {
        BaseMouseMessage(QEvent::MouseButtonDblClick, Qt::LeftButton, Msg);
        FForceSel = false;
        return;
    }

    QPointer<TVerIvovavOzed> self(this);
    BaseMouseMessage(QEvent::MouseButtonDblClick, Qt::LeftButton, Msg);
    if (!self)
        return;
    if (OnDblClickCell)
        OnDblClickCell(this, ARow, ACol);
    if (!self)
        return;

    if (FMouseActions->EditOnDblClickOnly()) {
        const bool was = FMouseActions->RangeSelectAndEdit();
        FMouseActions->SetRangeSelectAndEdit(true);
        const bool editable = IsEditable(realCol, ARow);
        FMouseActions->SetRangeSelectAndEdit(was);
        if (editable) {
            SetOptions(Options() | goEditing);
            FOldCol = ACol;
            FOldRow = ARow;
            ShowInplaceEdit();
        }
    } else if (FMouseActions->RangeSelectAndEdit() && IsEditable(realCol, ARow)) {
        SetOptions(Options() | goEditing);
        const TPoint b = BaseCell(ACol, ARow);
        const TRect R = CellRect(b.X, b.Y);
        MouseDown(mbLeft, TShiftState(), R.Left + 4, R.Top + 4);
        if (!self)
            return;
    }
    FForceSel = false;
    FixedCellEditOnDblClick(ACol, ARow);
}

// ---- right button ----------------------------------------------------------------------------

void TVerIvovavOzed::HandleRightButtonDown(TWMMouse& Msg)
{
    const int X = Msg.XPos, Y = Msg.YPos;
    BaseMouseMessage(QEvent::MouseButtonPress, Qt::RightButton, Msg);
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0)
        return;
    const TGridRect sel = Selection();
    const bool selected = ACol >= sel.Left && ACol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom;
    if (FMouseActions->SelectOnRightClick() && !IsFixed(ACol, ARow) &&
        !(FMouseActions->DisjunctCellSelect() && selected)) {
        if (!IsControlCell(DisplToRealCol(ACol), ARow)) {
            if (OnRightClickCell) {
                FocusCell(ACol, ARow);
            } else {
                MouseDown(mbLeft, TShiftState(), X, Y);
                MouseUp(mbLeft, TShiftState(), X, Y);
            }
        }
        if (selected) {
            bool canSelect = true;
            if (OnSelectCell)
                OnSelectCell(this, ACol, ARow, canSelect);
        } else {
            const TPoint b = BaseCell(ACol, ARow);
            const int left = LeftCol();
            MoveColRow(b.X, b.Y, true, true);
            if (FNavigation->KeepHorizScroll())
                SetLeftCol(left);
        }
        if (FMouseActions->DisjunctRowSelect()) {
            if ((Msg.Keys & ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl()) {
                SetRowSelect(ARow, !RowSelect(ARow));
            } else {
                ClearRowSelect();
                SetRowSelect(ARow, true);
            }
        }
    }
    if (OnRightClickCell)
        OnRightClickCell(this, ARow, ACol);
}

void TVerIvovavOzed::HandleRightButtonUp(TWMMouse& Msg)
{
    if ((FGridState == gsColMoving || FGridState == gsRowMoving) && EnhRowColMove()) {
        Msg.Result = 0;
        return;
    }
    BaseMouseMessage(QEvent::MouseButtonRelease, Qt::RightButton, Msg);
}

// ---- the selection's resize handle --------------------------------------------------------------

bool TVerIvovavOzed::InSelectionGrip(int X, int Y)
{
    if (!SelectionResizer() || !SelectionRectangle())
        return false;
    const TGridRect s = Selection();
    if (s.Right < 0 || s.Bottom < 0 || s.Right >= ColCount() || s.Bottom >= RowCount())
        return false;
    const TRect R = CellRect(s.Right, s.Bottom);
    if (R.Right <= R.Left || R.Bottom <= R.Top)
        return false;
    return X >= R.Right - 6 && X < R.Right && Y >= R.Bottom - 6 && Y < R.Bottom;
}

void TVerIvovavOzed::BeginSelectionResize(TWMMouse& Msg)
{
    FGridState = gsSelecting;
    FDropSelection = Selection();
    CopySelectionToClipboard();
    FMouseResize = true;
    if (!(Options() & goEditing) && !FMouseActions->RangeSelectAndEdit()) {
        // The base press would make the pressed cell the anchor; the selection keeps its own, so
        // that the drag grows it from its top-left corner.
        BaseMouseMessage(QEvent::MouseButtonPress, Qt::LeftButton, Msg);
        SetSelection(FDropSelection);
    }
    FGridState = gsSelecting;
    MouseMove(TShiftState(), Msg.XPos, Msg.YPos);
    Msg.Result = 1;
}

void TVerIvovavOzed::EndSelectionResize()
{
    if (OnSelectionResize)
        OnSelectionResize(this, FDropSelection, Selection());
    // The pasted cells count as editable for the paste, also without goEditing.
    FEditDisable = true;
    try {
        PasteSelectionFromClipboard();
    } catch (...) {
        FMouseResize = false;
        FEditDisable = false;
        throw;
    }
    FMouseResize = false;
    FEditDisable = false;
    if (OnSelectionResized)
        OnSelectionResized(this, FDropSelection, Selection());
}
