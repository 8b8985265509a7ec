// TVerIvovavOzed: find and replace over the cells, the typing lookup of sorted grids and the
// search footer bar under the grid.
#include "grid/AdvGrid.h"
#include "griddata/SearchPanel.h"

#include "platform/SysUtils.h"
#include "render/RuvOdid_Filter.h"
#include "render/VurADIDO.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {
constexpr TColor SearchNotFoundColor = 0x0000FF;
constexpr int SearchPanelPixels = 32;

// The accelerator character of a caption ("Find &next" -> n), upper-cased; null when none.
QChar CaptionAccelerator(const QString& Caption)
{
    for (int i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != QLatin1Char('&'))
            continue;
        if (Caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return Caption[i + 1].toUpper();
    }
    return QChar();
}
} // namespace

// ---- the cell test and the search loop -------------------------------------------------------

bool TVerIvovavOzed::CellMatchesSearch(int ACol, int ARow, bool Wide)
{
    const int realCol = (FFindParams & fnIncludeHiddenColumns) ? ACol : DisplToRealCol(ACol);
    QString text;
    if (FFindParams & fnIncludeHiddenRows)
        text = Wide ? GetWideCellsEx(realCol, ARow) : GetCellsEx(realCol, ARow);
    else
        text = Wide ? GetWideCells(realCol, ARow) : Cells(realCol, ARow);
    // Tags are taken off before the case is folded so that upper-cased tags never matter.
    if (FFindParams & fnIgnoreHTMLTags)
        text = MarkupToPlainText(text);
    const bool matchCase = FFindParams & fnMatchCase;
    if (!matchCase)
        text = platform::AnsiUpperCase(text);
    const QString& key = Wide ? SearchCacheWide : SearchCache;
    // An empty search text finds nothing.
    if (key.isEmpty())
        return false;
    if (key == QLatin1String("\"\""))
        return text.isEmpty();
    if (FFindParams & fnMatchRegular)
        return MatchFilterCondition(key, text, matchCase);
    const int p = text.indexOf(key) + 1;
    const bool part = (FFindParams & fnMatchStart) ? p == 1 : p > 0;
    if (FFindParams & fnMatchFull)
        return part && text == key;
    return part;
}

TPoint TVerIvovavOzed::FindCell(TPoint StartCell, const QString& s, TFindParams FindParams, bool Wide,
                                const QString& ws)
{
    FFindParams = FindParams;
    FFindBusy = true;
    const bool matchCase = FindParams & fnMatchCase;
    SearchCache = matchCase ? s : platform::AnsiUpperCase(s);
    SearchCacheWide = matchCase ? ws : platform::AnsiUpperCase(ws);
    TPoint result(-1, -1);
    FFoundCell = result;

    if (ColCount() <= FixedCols() || RowCount() + NumHiddenRows() <= FixedRows()) {
        FFindBusy = false;
        return result;
    }

    // Bounds.
    int minCol, maxCol, minRow, maxRow;
    if (FindParams & fnIncludeFixed) {
        minCol = 0;
        maxCol = ColCount() - 1;
        minRow = 0;
        maxRow = RowCount() - 1;
    } else {
        minCol = FixedCols();
        maxCol = ColCount() - FixedRightCols() - 1;
        minRow = FixedRows();
        maxRow = RowCount() - FixedFooters() - 1;
    }
    if (FindParams & fnSelectedCells) {
        const TGridRect sel = Selection();
        minCol = sel.Left;
        maxCol = sel.Right;
        minRow = sel.Top;
        maxRow = sel.Bottom;
    }
    if (FindParams & fnIncludeHiddenColumns)
        maxCol += NumHiddenColumns();
    if (FindParams & fnIncludeHiddenRows)
        maxRow += NumHiddenRows();

    const bool backward = FindParams & fnBackward;
    const bool alongRows = FindParams & fnDirectionLeftRight;
    const int dir = backward ? -1 : 1;
    auto colIn = [&](int c) { return c >= minCol && c <= maxCol; };
    auto rowIn = [&](int r) { return r >= minRow && r <= maxRow; };

    // Restrictions: a single row or column.
    int pinRow = -1, pinCol = -1;
    if (FindParams & fnFindInCurrentRow)
        pinRow = Row();
    else if (FindParams & fnFindInPresetRow)
        pinRow = FFindRow;
    if (FindParams & fnFindInCurrentCol)
        pinCol = Col();
    else if (FindParams & fnFindInPresetCol)
        pinCol = FFindCol;

    // Start cell.
    int c, r;
    const bool fresh = StartCell.X == -1 && StartCell.Y == -1;
    if (fresh) {
        c = backward ? maxCol : minCol;
        r = backward ? maxRow : minRow;
    } else {
        c = StartCell.X;
        r = StartCell.Y;
        const bool cOut = !colIn(c), rOut = !rowIn(r);
        if (cOut && rOut) {
            c = backward ? maxCol : minCol;
            r = backward ? maxRow : minRow;
        } else {
            // The step goes along the inner coordinate of the order; when that coordinate lies
            // outside its bounds, or a restriction holds it on one row or column (a step there
            // would come back to the start cell), the step goes to the other coordinate.
            bool stepCol = alongRows;
            if (alongRows && (cOut || pinCol >= 0))
                stepCol = false;
            else if (!alongRows && (rOut || pinRow >= 0))
                stepCol = true;
            if (stepCol)
                c += dir;
            else
                r += dir;
            if (alongRows && !stepCol)
                c = backward ? maxCol : minCol;
            if (!alongRows && stepCol)
                r = backward ? maxRow : minRow;
        }
    }
    if (pinRow >= 0) {
        r = pinRow;
        minRow = maxRow = pinRow;
    }
    if (pinCol >= 0) {
        c = pinCol;
        minCol = maxCol = pinCol;
    }
    // A start before the bounds begins at their edge.
    if (!backward) {
        c = std::max(c, minCol);
        r = std::max(r, minRow);
    } else {
        c = std::min(c, maxCol);
        r = std::min(r, maxRow);
    }

    auto test = [&](int col, int row) {
        ExportNotification(esExportNewRow, row);
        const int realCol = (FindParams & fnIncludeHiddenColumns) ? col : DisplToRealCol(col);
        if (IsIgnoredColumn(realCol))
            return false;
        return CellMatchesSearch(col, row, Wide);
    };

    bool found = false;
    // Steps along the inner line (the columns of a row, or the rows of a column), then on to the
    // next line from its restart.
    auto scan = [&](int& outer, int& inner, auto outerIn, auto innerIn, int restart) {
        while (outerIn(outer) && !found) {
            while (innerIn(inner) && !(found = test(c, r)))
                inner += dir;
            if (!found) {
                outer += dir;
                inner = restart;
            }
        }
    };
    if (alongRows)
        scan(r, c, rowIn, colIn, pinCol >= 0 ? pinCol : (backward ? maxCol : minCol));
    else
        scan(c, r, colIn, rowIn, pinRow >= 0 ? pinRow : (backward ? maxRow : minRow));

    if (!found) {
        FFindBusy = false;
        SearchCell = result;
        return result;
    }

    FFoundCell = TPoint(c, r);
    result = FFoundCell;
    if (FindParams & fnAutoGoto) {
        int row = r;
        if (FindParams & fnIncludeHiddenRows) {
            // A found row inside a contracted node is shown by opening the node around it.
            if (NumHiddenRows() > 0 && IsHiddenRow(row) && NodeCount() > 0) {
                for (int guard = 0; guard < 64 && IsHiddenRow(row); ++guard) {
                    int node = -1;
                    for (int d = FixedRows(); d < RowCount(); ++d) {
                        if (!IsNode(d))
                            continue;
                        const int real = RealRowIndex(d);
                        if (real < row && row < NodeEndReal(d))
                            node = real;
                    }
                    if (node < 0)
                        break;
                    ExpandNode(node);
                }
            }
            row = DisplRowIndex(row);
        }
        result = TPoint(c, row);
        if (FMouseActions->DisjunctRowSelect()) {
            ClearRowSelect();
            SetRowSelect(row, true);
            SetRow(row);
        } else {
            const int col = (FindParams & fnIncludeHiddenColumns) ? RealToDisplCol(c) : c;
            if (col >= 0 && col < ColCount())
                SetCol(col);
            if (row >= 0 && row < RowCount())
                SetRow(row);
        }
    }
    SearchCell = result;
    return result;
}

// ---- the public find routines -----------------------------------------------------------------

TPoint TVerIvovavOzed::Find(TPoint StartCell, const QString& s, TFindParams FindParams)
{
    ExportNotification(esExportStart, -1);
    const TPoint result = FindCell(StartCell, s, FindParams, false, QString());
    ExportNotification(result.X < 0 ? esExportDone : esExportFail, -1);
    if (FindParams & fnAutoGoto) {
        const int F = FloatingFooter().Visible() ? 2 : 0;
        if (TopRow() + VisibleRowCount() - F - 2 < Row() && VisibleRowCount() + FixedRows() + F < RowCount())
            SetTopRow(TopRow() + F + 1);
    }
    return result;
}

TPoint TVerIvovavOzed::FindWide(TPoint StartCell, const QString& s, TFindParams FindParams)
{
    ExportNotification(esExportStart, -1);
    const TPoint result = FindCell(StartCell, QString(), FindParams, true, s);
    ExportNotification(result.X < 0 ? esExportDone : esExportFail, -1);
    return result;
}

TPoint TVerIvovavOzed::FindFirst(const QString& s, TFindParams FindParams)
{
    SearchCell = Find(TPoint(-1, -1), s, FindParams);
    return SearchCell;
}

TPoint TVerIvovavOzed::FindNext()
{
    // SearchCache holds the text as searched (upper-cased without fnMatchCase); a second
    // upper-casing changes nothing.
    SearchCell = Find(SearchCell, SearchCache, FFindParams);
    return SearchCell;
}

int TVerIvovavOzed::Replace(const QString& OrigStr, const QString& NewStr, TFindParams FindParams)
{
    int count = 0;
    // Every cell is changed once: the search goes on from the last found cell in its own
    // indexes and always moves forward; a cell that comes back (the found row was shown and the
    // indexes moved) ends the replace.
    std::set<std::pair<int, int>> changed;
    TPoint from(-1, -1);
    while (true) {
        const TPoint hit = Find(from, OrigStr, FindParams);
        if (hit.X < 0 && hit.Y < 0)
            break;
        const TPoint cell = FFoundCell;
        if (!changed.insert({cell.X, cell.Y}).second)
            break;
        const int realCol = (FindParams & fnIncludeHiddenColumns) ? cell.X : DisplToRealCol(cell.X);
        const bool realRows = FindParams & fnIncludeHiddenRows;
        const QString text = realRows ? GetCellsEx(realCol, cell.Y) : Cells(realCol, cell.Y);
        const QString now = QString(text).replace(OrigStr, NewStr, Qt::CaseInsensitive);
        if (realRows)
            SetCellsEx(realCol, cell.Y, now);
        else
            SetCells(realCol, cell.Y, now);
        if (FShowModified->Enabled())
            SetRowModified(realRows ? DisplRowIndex(cell.Y) : cell.Y, true);
        ++count;
        from = cell;
    }
    return count;
}

int TVerIvovavOzed::Search(const QString& s)
{
    if (RowCount() < 2)
        return -1;
    int col = FixedCols();
    if (FSortSettings->Show()) {
        col = FSortSettings->Column();
        // An index sort looks up by its first sorted column.
        if (FSortSettings->IndexShow())
            col = FSortIndexes.Count() ? FSortIndexes.GetSortColumns(0) : FixedCols();
    }
    if (col == -1)
        return -1;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const QString t = platform::AnsiUpperCase(MarkupToPlainText(Cells(col, r)).left(s.size()));
        if (t == s)
            return r;
    }
    return -1;
}

void TVerIvovavOzed::IncrementalSearchKey(QChar Key)
{
    if (FNavigation->AutoGotoIncremental()) {
        if (Key == QChar(8))
            SearchInc.chop(1);
        else
            SearchInc += Key;
    } else {
        SearchInc = QString(Key);
    }
    SearchTics = 0;
    const int r = Search(platform::AnsiUpperCase(SearchInc));
    if (r >= 0)
        SetRow(r);
    else
        SearchInc.clear();
}

// ---- the search footer bar --------------------------------------------------------------------

void TVerIvovavOzed::CreateSearchPanel()
{
    FSearchPanel = new TSearchPanel(this);
    FSearchPanel->hide();
    FSearchPanel->resize(width(), 0);
    FSearchPanel->OnEditChange = [this](QObject* s) { SearchFooterEditChange(s); };
    FSearchPanel->OnForwardClick = [this](QObject* s) { SearchFooterForward(s); };
    FSearchPanel->OnBackwardClick = [this](QObject* s) { SearchFooterBackward(s); };
    FSearchPanel->OnExitClick = [this](QObject* s) { SearchFooterClose(s); };
    FSearchPanel->OnHighlightClick = [this](QObject* s) { SearchFooterHighlight(s); };
    FSearchPanel->OnDialogChar = [this](QChar ch) {
        TWMKey msg;
        msg.CharCode = ch.unicode();
        return HandleDialogChar(msg) == 1;
    };
    // Docked at the bottom: the client area's size changes (scroll bars coming and going
    // included) place it again.
    FSearchPanel->OnHostResize = [this] { SearchPanelResize(); };
    viewport()->installEventFilter(FSearchPanel);
    FSearchPanel->FindNextCaption = FSearchFooter->FindNextCaption();
    FSearchPanel->FindPrevCaption = FSearchFooter->FindPrevCaption();
    FSearchPanel->MatchCaseCaption = FSearchFooter->MatchCaseCaption();
    FSearchPanel->HighLightCaption = FSearchFooter->HighLightCaption();
    FSearchPanel->HintClose = FSearchFooter->HintClose();
    FSearchPanel->HintFindNext = FSearchFooter->HintFindNext();
    FSearchPanel->HintFindPrev = FSearchFooter->HintFindPrev();
    FSearchPanel->HintHighlight = FSearchFooter->HintHighlight();
    FSearchPanel->CreateWnd();
    if (OnCreatedSearchFooter)
        OnCreatedSearchFooter(this);
}

TSearchPanel* TVerIvovavOzed::SearchPanel()
{
    if (!FSearchPanel && !FDestroying)
        CreateSearchPanel();
    return FSearchPanel;
}

void TVerIvovavOzed::UpdateSearchPanel()
{
    if (FLoading || FDestroying)
        return;
    TSearchPanel* panel = SearchPanel();
    if (!panel)
        return;
    TSearchFooter& sf = *FSearchFooter;
    // 1. A highlight left from the bar goes when the bar goes.
    if ((panel->HiliteButton()->Down() && !panel->isHidden() && !sf.Visible()) || sf.AlwaysHighLight())
        UnHilightInGrid(false);
    // 2. Colours and visibility.
    panel->SetColor(sf.Color());
    panel->SetColorTo(sf.ColorTo());
    // 3. Texts and font.
    panel->FindNextCaption = sf.FindNextCaption();
    panel->FindPrevCaption = sf.FindPrevCaption();
    panel->MatchCaseCaption = sf.MatchCaseCaption();
    panel->HighLightCaption = sf.HighLightCaption();
    panel->HintFindNext = sf.HintFindNext();
    panel->HintFindPrev = sf.HintFindPrev();
    panel->HintClose = sf.HintClose();
    panel->HintHighlight = sf.HintHighlight();
    panel->ForwardButton()->SetCaption(sf.FindNextCaption());
    panel->BackwardButton()->SetCaption(sf.FindPrevCaption());
    panel->MatchCase()->SetCaption(sf.MatchCaseCaption());
    panel->HiliteButton()->SetCaption(sf.HighLightCaption());
    panel->setFont(sf.Font().ToQFont());
    panel->EditControl()->setFont(sf.Font().ToQFont());
    for (TAdvGridButton* b : {panel->ForwardButton(), panel->BackwardButton(), panel->HiliteButton()}) {
        const TFontStyles style = b->Font().Style();
        b->Font().Assign(sf.Font());
        if (b == panel->HiliteButton())
            b->Font().SetStyle(style);
    }
    panel->MatchCase()->Font().Assign(sf.Font());
    // 4. Button look.
    const TControlStyle look = FControlLook->ControlStyle();
    for (TAdvGridButton* b : {panel->BackwardButton(), panel->ForwardButton(), panel->HiliteButton()}) {
        if (sf.AutoThemeAdapt()) {
            b->SetAutoThemeAdapt(true);
            b->SetFlat(true);
        } else if (look == csFlat) {
            b->SetAutoXPStyle(false);
            b->SetFlat(true);
        } else if (look == csWinXP || look == csTheme) {
            b->SetAutoXPStyle(true);
            b->SetFlat(false);
        } else if (look == csClassic) {
            b->SetAutoXPStyle(false);
            b->SetFlat(false);
        }
    }
    // 5. Which controls show.
    panel->HiliteButton()->setVisible(sf.ShowHighLight());
    panel->ExitButton()->setVisible(sf.ShowClose());
    panel->MatchCase()->setVisible(sf.ShowMatchCase());
    panel->MatchCase()->SetTransparent(true);
    panel->BackwardButton()->setVisible(sf.ShowFindPrev());
    panel->ForwardButton()->setVisible(sf.ShowFindNext());
    // 6. Hints only where there is one.
    panel->ExitButton()->setToolTip(sf.HintClose());
    panel->ForwardButton()->setToolTip(sf.HintFindNext());
    panel->BackwardButton()->setToolTip(sf.HintFindPrev());
    panel->HiliteButton()->setToolTip(sf.HintHighlight());
    // 7. Layout.
    TAdvCheckBox* mc = panel->MatchCase();
    mc->SetBounds(sf.ShowHighLight() ? 425 : 330, mc->y(), std::max(mc->width(), 120),
                  sf.ShowMatchCase() ? 18 : 0);
    for (TAdvGridButton* b : {panel->ForwardButton(), panel->BackwardButton(), panel->HiliteButton()})
        b->resize(b->width(), b->isVisibleTo(panel) ? 23 : 0);
    panel->setVisible(sf.Visible());
    SearchPanelResize();
    // 8.
    if (sf.Visible())
        KeepLastRowAboveFooter();
}

void TVerIvovavOzed::SearchPanelResize()
{
    if (!FSearchPanel)
        return;
    const QRect vp = viewport()->geometry();
    const int h = FSearchFooter->Visible() ? SearchPanelPixels : 0;
    // Docked at the bottom of the client area, across its width.
    FSearchPanel->setGeometry(vp.left(), vp.top() + vp.height() - h, vp.width(), h);
    if (h > 0)
        FSearchPanel->raise();
}

TFindParams TVerIvovavOzed::SearchFooterParams(bool FindFirst)
{
    TSearchPanel* panel = SearchPanel();
    const TSearchFooter& sf = *FSearchFooter;
    TFindParams p = fnAutoGoto;
    if (panel->HiliteButton()->Down())
        p |= fnIgnoreHTMLTags;
    if (panel->MatchCase()->Checked())
        p |= fnMatchCase;
    if (sf.SearchActiveColumnOnly())
        p |= fnFindInCurrentCol;
    if (sf.SearchMatchStart())
        p |= fnMatchStart;
    if (FindFirst && sf.SearchFixedCells())
        p |= fnIncludeFixed;
    if (FindFirst && sf.SearchHiddenRows())
        p |= fnIncludeHiddenRows;
    if (sf.SearchDirection() == sdLeftRight)
        p |= fnDirectionLeftRight;
    if (sf.SearchColumn() >= 0 && sf.SearchColumn() < ColCount()) {
        p |= fnFindInPresetCol;
        FFindCol = sf.SearchColumn();
    }
    return p;
}

void TVerIvovavOzed::SearchFooterEditChange(QObject*)
{
    TSearchPanel* panel = SearchPanel();
    const TSearchFooter& sf = *FSearchFooter;
    const QString text = panel->EditControl()->text();
    bool defaultSearch = true;
    if (OnSearchEditChange)
        OnSearchEditChange(this, text, defaultSearch);
    if (!defaultSearch || !sf.AutoSearch())
        return;
    FFindParams = SearchFooterParams(true);
    const bool column = sf.SearchColumn() >= 0 && sf.SearchColumn() < ColCount();
    const bool hilite = panel->HiliteButton()->Down() || sf.AlwaysHighLight();
    if (hilite) {
        if (column)
            UnHilightInCol(false, sf.SearchColumn());
        else
            UnHilightInGrid(false);
    }
    if (text.isEmpty()) {
        panel->EditControl()->SetColor(clWindow);
        return;
    }
    SearchCell = Find(TPoint(-1, -1), text, FFindParams);
    DoSearchFooterAction(text, SearchCell.X, SearchCell.Y, saFindFirst);
    if (SearchCell.X < 0 && SearchCell.Y < 0) {
        panel->EditControl()->SetColor(SearchNotFoundColor);
        return;
    }
    panel->EditControl()->SetColor(clWindow);
    ScrollInView(SearchCell.X, SearchCell.Y);
    if (hilite) {
        const bool matchCase = panel->MatchCase()->Checked();
        if (column)
            HilightInCol(false, matchCase, sf.SearchColumn(), text);
        else
            HilightInGrid(false, matchCase, text);
    }
}

void TVerIvovavOzed::SearchFooterStep(bool Backward)
{
    TSearchPanel* panel = SearchPanel();
    TSearchFooter& sf = *FSearchFooter;
    const QString text = panel->EditControl()->text();
    if (!sf.AutoSearch()) {
        if (text != sf.LastSearch)
            SearchCell = TPoint(-1, -1);
        sf.LastSearch = text;
    }
    TFindParams p = SearchFooterParams(false);
    if (Backward)
        p |= fnBackward;
    FFindParams = p;
    SearchCell = Find(SearchCell, text, p);
    if (SearchCell.X >= 0 || SearchCell.Y >= 0)
        ScrollInView(SearchCell.X, SearchCell.Y);
    const int H = FloatingFooter().Visible() ? 0 : 1;
    if (TopRow() + VisibleRowCount() + H - 3 < Row() && VisibleRowCount() + FixedRows() + (1 - H) < RowCount())
        SetTopRow(TopRow() + 2);
    DoSearchFooterAction(text, SearchCell.X, SearchCell.Y, Backward ? saFindPrevious : saFindNext);
    panel->update();
}

void TVerIvovavOzed::SearchFooterForward(QObject*) { SearchFooterStep(false); }

void TVerIvovavOzed::SearchFooterBackward(QObject*) { SearchFooterStep(true); }

void TVerIvovavOzed::SearchFooterClose(QObject*)
{
    if (OnSearchFooterClose)
        OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}

void TVerIvovavOzed::SearchFooterHighlight(QObject*)
{
    TSearchPanel* panel = SearchPanel();
    const TSearchFooter& sf = *FSearchFooter;
    const bool column = sf.SearchColumn() >= 0 && sf.SearchColumn() < ColCount();
    if (panel->HiliteButton()->Down()) {
        const bool matchCase = panel->MatchCase()->Checked();
        const QString text = panel->EditControl()->text();
        if (column)
            HilightInCol(false, matchCase, sf.SearchColumn(), text);
        else
            HilightInGrid(false, matchCase, text);
    } else if (column) {
        UnHilightInCol(false, sf.SearchColumn());
    } else {
        UnHilightInGrid(false);
    }
}

int TVerIvovavOzed::HandleDialogChar(TWMKey& Msg)
{
    Msg.Result = 0;
    if (!FSearchFooter->Visible() || !FSearchPanel)
        return 0;
    const QChar ch = QChar(Msg.CharCode).toUpper();
    if (ch.isNull())
        return 0;
    TSearchPanel* panel = FSearchPanel;
    const std::pair<TAdvGridButton*, void (TVerIvovavOzed::*)(QObject*)> buttons[] = {
        {panel->ForwardButton(), &TVerIvovavOzed::SearchFooterForward},
        {panel->BackwardButton(), &TVerIvovavOzed::SearchFooterBackward},
        {panel->HiliteButton(), &TVerIvovavOzed::SearchFooterHighlight}};
    for (const auto& [button, action] : buttons) {
        if (CaptionAccelerator(button->Caption()) != ch || !button->isVisibleTo(panel) || !button->isEnabled())
            continue;
        // The highlight button toggles as a click on it would.
        if (button == panel->HiliteButton())
            button->SetDown(!button->Down());
        (this->*action)(button);
        Msg.Result = 1;
        return 1;
    }
    return 0;
}
