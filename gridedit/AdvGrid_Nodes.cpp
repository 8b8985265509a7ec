// TVerIvovavOzed: node rows: adding and removing nodes, contracting and expanding
// them, their levels and spans, the parent lookup, child rows, and the node work the mouse and
// key handlers call.
//
// Spans count real rows, so that a group keeps its extent whatever rows a filter hid inside or
// beside it. Contracting hides the group's shown rows and marks them in the hidden-row store as
// hidden by a node; expanding brings back only rows so marked (a filter's rows stay hidden).
#include "grid/AdvGrid.h"

#include <QStyle>
#include <algorithm>

// ---- helpers ---------------------------------------------------------------------------------

TCellGraphic* TVerIvovavOzed::NodeObject(int ADisplRow)
{
    if (ADisplRow < 0 || ADisplRow >= RowCount())
        return nullptr;
    TCellGraphic* g = GetCellGraphic(0, ADisplRow);
    return g && g->CellType() == ctNode ? g : nullptr;
}

std::vector<int> TVerIvovavOzed::RealRowsOfDisplayed() const
{
    std::vector<int> hidden;
    hidden.reserve(FGridItems.size());
    for (const auto& it : FGridItems)
        hidden.push_back(it->Idx);
    std::sort(hidden.begin(), hidden.end());
    std::vector<int> real(size_t(std::max(0, RowCount())));
    size_t h = 0;
    int r = 0;
    for (int d = 0; d < RowCount(); ++d, ++r) {
        while (h < hidden.size() && hidden[h] <= r) {
            if (hidden[h] == r)
                ++r;
            ++h;
        }
        real[size_t(d)] = r;
    }
    return real;
}

int TVerIvovavOzed::NodeEndReal(int D)
{
    TCellGraphic* g = NodeObject(D);
    if (!g)
        return RealRowIndex(D) + 1;
    if (g->CellIndex() > 0)
        return RealRowIndex(D) + g->CellIndex();
    for (int r = D + 1; r < RowCount(); ++r)
        if (IsNode(r))
            return RealRowIndex(r);
    return TotalRowCount();
}

void TVerIvovavOzed::ChangeNodeLevels(int FromDispl, int ToDispl, int Delta)
{
    for (int r = std::max(0, FromDispl); r <= ToDispl && r < RowCount(); ++r) {
        if (Delta < 0 && !HasCellProperties(0, r))
            continue;
        TCellProperties* p = GetCellProperties(0, r);
        p->SetNodeLevel(std::max(0, p->NodeLevel() + Delta));
    }
}

bool TVerIvovavOzed::UnHideNodeRows(int FromReal, int ToReal)
{
    std::vector<int> rows;
    for (const auto& it : FGridItems)
        if (it->Level == NodeHiddenLevel && it->Idx >= FromReal && it->Idx <= ToReal)
            rows.push_back(it->Idx);
    std::sort(rows.begin(), rows.end());
    for (int r : rows)
        UnHideRow(r);
    return !rows.empty();
}

void TVerIvovavOzed::HideNodeRows(int FromReal, int ToReal)
{
    if (ToReal < FromReal)
        return;
    // Rows hidden already (by a filter, the application or a nested node) keep their records.
    std::vector<int> shown;
    for (int r = FromReal; r <= ToReal; ++r)
        if (!IsHiddenRow(r))
            shown.push_back(r);
    // HideRows takes consecutive shown rows; hide each run of real rows separately.
    size_t i = 0;
    while (i < shown.size()) {
        size_t j = i;
        while (j + 1 < shown.size() && shown[j + 1] == shown[j] + 1)
            ++j;
        HideRows(shown[i], shown[j]);
        i = j + 1;
    }
    for (const auto& it : FGridItems)
        if (std::binary_search(shown.begin(), shown.end(), it->Idx))
            it->Level = NodeHiddenLevel;
}

// ---- adding and removing ---------------------------------------------------------------------

void TVerIvovavOzed::AddNode(int ARow, int Span)
{
    const int D = DisplRowIndex(ARow);
    TCellGraphic* g = CreateCellGraphic(0, D);
    g->SetCellType(ctNode);
    g->SetCellBoolean(false);
    g->SetCellIndex(Span);
    g->SetCellErrFrom(0);
    g->SetCellAngle(D);
    g->SetCellVar(-1);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaCenter);
    ChangeNodeLevels(D, D + Span - 1, 1);
    if (FNodeCount == 0)
        RepaintCol(0);
    ++FNodeCount;
    if (Col() == 0 && ColCount() > 1)
        SetCol(1);
}

void TVerIvovavOzed::RemoveNode(int ARow)
{
    ExpandNodeRows(ARow);
    const int D = DisplRowIndex(ARow);
    TCellGraphic* g = NodeObject(D);
    if (!g)
        return;
    const int span = g->CellIndex();
    ChangeNodeLevels(D, D + span - 1, -1);
    RemoveCellGraphic(0, D);
    if (FNodeCount > 0)
        --FNodeCount;
}

void TVerIvovavOzed::RemoveAllNodes()
{
    // Every node comes open first (by real row, so that nodes inside contracted groups are found
    // too); then each node row, now shown, loses its node and the levels of its span.
    ExpandAll();
    for (int r = 0; r < RowCount(); ++r) {
        TCellGraphic* g = NodeObject(r);
        if (!g)
            continue;
        ChangeNodeLevels(r, r + g->CellIndex() - 1, -1);
        RemoveCellGraphic(0, r);
        if (FNodeCount > 0)
            --FNodeCount;
    }
    InvalidateGrid();
}

void TVerIvovavOzed::SetSummaryRow(int ARow)
{
    CreateCellGraphic(0, DisplRowIndex(ARow))->SetCellType(ctSummary);
}

// ---- state queries ---------------------------------------------------------------------------

bool TVerIvovavOzed::GetNodeState(int ARow)
{
    TCellGraphic* g = NodeObject(ARow);
    return g && g->CellBoolean();
}

void TVerIvovavOzed::SetNodeState(int ARow, bool Value)
{
    TCellGraphic* g = NodeObject(ARow);
    if (!g || g->CellBoolean() == Value)
        return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

int TVerIvovavOzed::GetNodeLevel(int ARow)
{
    if (!NodeObject(ARow))
        return -1;
    const TCellProperties* p = CellPropertiesOf(0, ARow);
    return p ? p->NodeLevel() : 0;
}

int TVerIvovavOzed::GetNodeSpan(int ARow)
{
    TCellGraphic* g = NodeObject(ARow);
    return g ? g->CellIndex() : -1;
}

void TVerIvovavOzed::SetNodeSpan(int ARow, int Span)
{
    if (TCellGraphic* g = NodeObject(ARow))
        g->SetCellIndex(Span);
}

void TVerIvovavOzed::UpdateNodeSpan(int ARow, int Delta)
{
    if (TCellGraphic* g = NodeObject(ARow))
        g->SetCellIndex(g->CellIndex() + Delta);
}

int TVerIvovavOzed::GetSubNodeCount(int ARow)
{
    TCellGraphic* g = NodeObject(ARow);
    return g ? g->CellErrFrom() : 0;
}

void TVerIvovavOzed::UpdateSubNodeCount(int ARow, int Delta)
{
    if (TCellGraphic* g = NodeObject(ARow))
        g->SetCellErrFrom(g->CellErrFrom() + Delta);
}

// ---- expanding and contracting ---------------------------------------------------------------

void TVerIvovavOzed::ExpandNode(int ARow)
{
    if (FCellNode->ExpandOne()) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            TCellGraphic* g = NodeObject(r);
            if (!g || g->CellBoolean())
                continue;
            // The node itself and the nodes enclosing it stay open (else it would be hidden).
            const int real = RealRowIndex(r);
            if (real == ARow || (real < ARow && ARow < NodeEndReal(r)))
                continue;
            ContractNode(real);
        }
    }
    ExpandNodeRows(ARow);
}

void TVerIvovavOzed::ExpandNodeRows(int ARow)
{
    if (IsHiddenRow(ARow))
        return;
    const int D = DisplRowIndex(ARow);
    TCellGraphic* g = NodeObject(D);
    if (!g || !g->CellBoolean())
        return;
    g->SetCellBoolean(false);
    // A contracted group shows its node row alone: every row it hid lies before the next shown
    // row, inside the span.
    const int endReal = NodeEndReal(D);
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    FMouseActions->SetDisjunctRowSelect(false);
    const TGridOptions opts = Options();
    const bool rowSelect = bool(opts & goRowSelect);
    const int keepRow = Row(), keepTop = TopRow();
    if (rowSelect)
        SetOptions(opts & ~TGridOptions(goRowSelect));
    const bool lock = FControlList.Count() == 0;
    if (lock)
        BeginUpdate();
    UnHideNodeRows(ARow + 1, endReal - 1);
    if (lock)
        EndUpdate();
    if (rowSelect) {
        SetOptions(opts);
        if (keepRow < RowCount())
            SetRow(keepRow);
        if (keepTop < RowCount())
            SetTopRow(keepTop);
    }
    FMouseActions->SetDisjunctRowSelect(disjunct);
    CalcFooter(-1);
}

void TVerIvovavOzed::ContractNode(int ARow)
{
    if (IsHiddenRow(ARow))
        return;
    HideInplaceEdit();
    const int D = DisplRowIndex(ARow);
    TCellGraphic* g = NodeObject(D);
    if (!g || g->CellBoolean())
        return;
    const bool forced = FForceSel;
    FForceSel = true;
    g->SetCellBoolean(true);
    const int endReal = NodeEndReal(D);
    // Contracted nodes inside the group are marked open: their rows are hidden already and come
    // back with the whole subtree when this node opens.
    for (int r = D + 1; r < RowCount() && RealRowIndex(r) < endReal; ++r) {
        TCellGraphic* n = NodeObject(r);
        if (n && n->CellBoolean()) {
            n->SetCellBoolean(false);
            if (r + 1 < RowCount())
                if (QWidget* ctrl = GetCellControls(1, r + 1))
                    ctrl->setVisible(false);
        }
    }
    HideNodeRows(ARow + 1, endReal - 1);
    FForceSel = forced;
    CalcFooter(-1);
}

void TVerIvovavOzed::ExpandAll()
{
    BeginUpdate();
    // The node rows, shown or hidden, are marked open; every row a node hid comes back in one pass.
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (TCellGraphic* g = NodeObject(r))
            g->SetCellBoolean(false);
    for (const auto& it : FGridItems) {
        if (it->Items.Objects.empty())
            continue;
        if (auto* p = dynamic_cast<TCellProperties*>(it->Items.Objects[0].get()))
            if (auto* g = dynamic_cast<TCellGraphic*>(p->GraphicObject().get()); g && g->CellType() == ctNode)
                g->SetCellBoolean(false);
    }
    UnHideAllNodeRows();
    EndUpdate();
    CalcFooter(-1);
}

void TVerIvovavOzed::ContractAll()
{
    BeginUpdate();
    ExpandAll();
    const std::vector<int> real = RealRowsOfDisplayed();
    std::vector<int> rows;
    int r = FixedRows();
    const int n = RowCount();
    while (r < n) {
        TCellGraphic* g = NodeObject(r);
        if (!g) {
            ++r;
            continue;
        }
        g->SetCellBoolean(true);
        int endReal;
        if (g->CellIndex() > 0) {
            endReal = real[size_t(r)] + g->CellIndex();
        } else {
            endReal = TotalRowCount();
            for (int k = r + 1; k < n; ++k)
                if (IsNode(k)) {
                    endReal = real[size_t(k)];
                    break;
                }
        }
        int k = r + 1;
        for (; k < n && real[size_t(k)] < endReal; ++k)
            rows.push_back(k);
        r = k;
    }
    HideDisplayedRowsAsNode(rows);
    EndUpdate();
    CellControlsUpdate(false);
    CalcFooter(-1);
}

// ---- parent and tree lines -------------------------------------------------------------------

int TVerIvovavOzed::GetParentRow(int ARow)
{
    if (FNodeCount == 0 || ARow < 0 || ARow >= RowCount())
        return -1;
    int limit = 65535, fallback = -1;
    if (IsNode(ARow)) {
        limit = GetNodeLevel(ARow);
        fallback = ARow;
    }
    // By real rows: a contracted sibling above keeps its hidden rows out of the displayed count,
    // but its real span still ends before ARow.
    const int a = RealRowIndex(ARow);
    for (int r = ARow; r >= FixedRows(); --r) {
        if (!IsNode(r) || GetNodeLevel(r) >= limit)
            continue;
        if (a < NodeEndReal(r))
            return r;
    }
    return fallback;
}

int TVerIvovavOzed::GetNodeSpanType(int ARow)
{
    if (IsNode(ARow))
        return 0;
    if (ARow < RowCount() - FixedFooters() - 1 && HasCellProperties(0, ARow + 1)) {
        const TCellProperties* own = HasCellProperties(0, ARow) ? CellPropertiesOf(0, ARow) : nullptr;
        if (CellPropertiesOf(0, ARow + 1)->NodeLevel() >= (own ? own->NodeLevel() : 0))
            return 2;
    }
    return 1;
}

bool TVerIvovavOzed::IsInNodeButton(int ARow, int X)
{
    if (!FMouseActions->PreciseNodeClick())
        return true;
    const TCellProperties* p = ARow >= 0 && HasCellProperties(0, ARow) ? CellPropertiesOf(0, ARow) : nullptr;
    const int L = p ? p->NodeLevel() : 0;
    const int I = FCellNode->NodeIndent();
    int b = 4, c = 4;
    switch (FCellNode->NodeType()) {
    case cn3D:
        b = 6;
        c = 0;
        break;
    case cnGlyph:
        b = FCellNode->ExpandGlyph().Empty() ? 0 : FCellNode->ExpandGlyph().Width() / 2;
        c = FCellNode->ExpandGlyph().Empty() ? 0 : 2;
        break;
    case cnLeaf:
        b = 8;
        c = 2;
        break;
    default: // cnFlat, cnXP
        break;
    }
    if (layoutDirection() == Qt::RightToLeft) {
        const int d = VisibleRowCount() < RowCount() - FixedRows() ? style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                                                                    : 0;
        return !(X + d < width() - L * I - b - 2 || X + d >= width() - (L - 1) * I);
    }
    return c + (L - 1) * I < X && X < b + L * I;
}

// ---- child rows ------------------------------------------------------------------------------

void TVerIvovavOzed::InsertChildRow(int ARow, int InsertAt)
{
    const int D = DisplRowIndex(ARow);
    const int P = GetParentRow(D);
    int level = 0;
    if (P >= 0) {
        UpdateNodeSpan(P, 1);
        UpdateSubNodeCount(P, 1);
        ExpandNode(RealRowIndex(P));
        level = GetNodeLevel(P);
        // The enclosing nodes grow with it.
        int reached = level, at = P;
        while (reached > 1 && at >= FixedRows()) {
            const int Q = GetParentRow(at);
            if (Q < 0 || Q == at)
                break;
            const int ql = GetNodeLevel(Q);
            if (ql < reached) {
                UpdateNodeSpan(Q, 1);
                UpdateSubNodeCount(Q, 1);
                ExpandNode(RealRowIndex(Q));
                reached = ql;
            }
            at = Q;
        }
    }
    // The parent's row may have moved when nodes above it opened.
    const int D2 = DisplRowIndex(ARow);
    int row = D2 + InsertAt;
    const bool takeOver = IsNode(D2) && InsertAt == 0;
    if (takeOver)
        row = D2 + 1;
    InsertRows(row, 1, true);
    if (takeOver) {
        // The new row takes the node row's contents; the node row keeps only its node.
        for (int c = 0; c < TotalColCount(); ++c) {
            SetGridCell(c, row, GetGridCell(c, D2));
            SetGridCell(c, D2, QString());
            if (c >= 1) {
                SetGridObject(c, row, GetGridObject(c, D2));
                SetGridObject(c, D2, nullptr);
            }
        }
    }
    if (P >= 0)
        GetCellProperties(0, row)->SetNodeLevel(level);
}

void TVerIvovavOzed::RemoveChildRow(int ARow)
{
    const int D = DisplRowIndex(ARow);
    const int realD = RealRowIndex(D);
    // The cell controls below move up with their rows.
    {
        std::vector<std::tuple<int, int, QWidget*>> items;
        for (int k = 0; k < FControlList.Count(); ++k) {
            TControlItem* it = FControlList.GetControl(k);
            items.emplace_back(it->X(), it->Y() > realD ? it->Y() - 1 : it->Y(), it->Object());
        }
        FControlList.Clear();
        for (auto& [x, y, w] : items)
            FControlList.AddControl(x, y, w);
    }
    int P = GetParentRow(D);
    if (P >= 0 && P != D) {
        const int Lp = GetNodeLevel(P);
        if (GetNodeSpan(P) > 1) {
            UpdateNodeSpan(P, -1);
            UpdateSubNodeCount(P, -1);
        }
        for (;;) {
            ExpandNode(RealRowIndex(P));
            if (GetNodeLevel(P) <= 1)
                break;
            const int Q = GetParentRow(P);
            if (Q < 0 || Q == P || GetNodeLevel(Q) >= Lp)
                break;
            P = Q;
            if (GetNodeSpan(P) > 1) {
                UpdateNodeSpan(P, -1);
                UpdateSubNodeCount(P, -1);
            }
        }
    }
    RemoveRowsHook(DisplRowIndex(realD), 1);
}

// ---- what the input handlers call ------------------------------------------------------------

void TVerIvovavOzed::ClickHeaderNode(int ARow)
{
    TCellGraphic* g = NodeObject(ARow);
    if (!g)
        return;
    const bool contracted = g->CellBoolean();
    if (contracted)
        ExpandAll();
    else
        ContractAll();
    if (TCellGraphic* h = NodeObject(ARow))
        h->SetCellBoolean(!contracted);
    RepaintCell(0, ARow);
}

bool TVerIvovavOzed::ClickNode(int ARow)
{
    TCellGraphic* g = NodeObject(ARow);
    if (!g)
        return false;
    const int realRow = DisplToRealRow(ARow);
    bool allow = true;
    if (g->CellBoolean()) {
        if (OnBeforeExpandNode)
            OnBeforeExpandNode(this, ARow, realRow, allow);
        if (!allow)
            return false;
        ExpandNode(realRow);
        if (OnExpandNode)
            OnExpandNode(this, ARow, realRow);
    } else {
        if (OnBeforeContractNode)
            OnBeforeContractNode(this, ARow, realRow, allow);
        if (!allow)
            return false;
        ContractNode(realRow);
        if (OnContractNode)
            OnContractNode(this, ARow, realRow);
    }
    if (FMouseActions->MoveRowOnNodeClick())
        SetRow(ARow);
    return true;
}

bool TVerIvovavOzed::KeyNode(int ARow, bool Expand)
{
    TCellGraphic* g = NodeObject(ARow);
    if (!g || g->CellBoolean() != Expand)
        return false;
    if (Expand)
        ExpandNode(RealRowIndex(ARow));
    else
        ContractNode(RealRowIndex(ARow));
    return true;
}
