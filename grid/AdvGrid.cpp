// TVerIvovavOzed: construction, lifecycle, owned objects, looks and the smaller properties.
#include "grid/AdvGrid.h"

#include <QBuffer>

#include "platform/PlatformInfo.h"
#include "platform/SysUtils.h"
#include "platform/Property.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

TVerIvovavOzed::TVerIvovavOzed(QWidget* AOwner) : TBaseGrid(AOwner)
{
    GridUnitInitialize();
    // Settings objects, in their order, with their change events going to the grid.
    FFocusHelper = std::make_unique<TFocusHelper>(this);
    FSearchFooter = std::make_unique<TSearchFooter>(this, false);
    FSearchFooter->OnChange = [this](TSearchFooter*) { UpdateSearchPanel(); };
    FFloatingFooter = std::make_unique<TFloatingFooter>(this);
    FFooterPanel = new TFooterPanel(this);
    FPrintSettings = std::make_unique<TPrintSettings>(this);
    FHTMLSettings = std::make_unique<THTMLSettings>();
    FSortSettings = std::make_unique<TSortSettings>(this);
    FDragDropSettings = std::make_unique<TDragDropSettings>(this);
    FDragScrollOptions = std::make_unique<TDragScrollOptions>();
    FControlLook = std::make_unique<TControlLook>(this);
    FNavigation = std::make_unique<TNavigation>();
    FColumnSize = std::make_unique<TColumnSize>(this);
    // Switching stretching on stretches at once, once the grid sits in a window.
    FColumnSize->OnStretchChange = [this](TColumnSize* Sender) {
        if (!parentWidget())
            return;
        try {
            StretchColumn(Sender->StretchColumn());
        } catch (const std::exception&) {
            // A stretch column outside the grid stretches nothing, as after a width change.
        }
    };
    FCellNode = std::make_unique<TCellNode>(this);
    FBands = std::make_unique<TBands>();
    FBands->OnChange = [this](TBands*) { Invalidate(); };
    FSizeWhileTyping = std::make_unique<TSizeWhileTyping>();
    FMouseActions = std::make_unique<TMouseActions>(this);
    FMouseActions->OnInvalidate = [this](TMouseActions*) { InvalidateGrid(); };
    FGrouping = std::make_unique<TGrouping>();
    FColumnHeaders.OnChange = [this] { ColumnHeadersChangedHandler(); };
    FFixedFont.SetName(QStringLiteral("Tahoma"));
    FFixedFont.SetStyle(fsBold);
    FFixedFont.OnChange = [this] { Invalidate(); };
    FActiveCellFont.SetStyle(fsBold);
    FActiveCellFont.OnChange = [this] { Invalidate(); };
    FRowHeaders.OnChange = [this] { ShowRowHeaders(); };
    FBackGround = std::make_unique<TBackGround>();
    FBackGround->OnChange = [this] { Invalidate(); };
    FProgressAppearance = std::make_unique<TGridProgressAppearance>();
    FProgressAppearance->OnChange = [this] { Invalidate(); };
    FSyncGrid = std::make_unique<TSyncGrid>(this);

    SetRowCount(10);
    resize(400, 250);
    FFilter = std::make_unique<TFilter>(this);
    FBalloon = std::make_unique<TBalloonSettings>();
    FShowModified = std::make_unique<TShowModified>();
    FShowModified->OnChange = [this] { ShowModifiedChange(); };
    FBalloon->OnEnableChange = [this] { BalloonEnableChange(); };

    // All columns shown; float format, check values, row heights and look.
    FNumHidden = 0;
    TStringGrid::SetDefaultRowHeight(22);
    FFixedRowHeight = DefaultRowHeight();
    FFloatingFooter->SetHeight(DefaultRowHeight());
    FScrollWidth = qApp ? qApp->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 17;
    FBorderColor = 0xB99D7F;
    FCellGraphic = std::make_shared<TCellGraphic>();
    FFilterDropDown = std::make_unique<TFilterDropDown>();
    FFilterDropDown->OnChange = [this] { FilterDropDownChange(this); };
    // Editing the list of merged columns merges the grid again.
    FMergedColumns.OnChange = [this](TIntList*, int, int) {
        SplitAllColumnCells();
        MergeListedColumns();
    };
    FFilterList.SetSorted(true);
    FFilterList.SetDuplicates(platform::dupIgnore);
    FFixedRowsMin = TStringGrid::FixedRows();
    FFixedColsMin = TStringGrid::FixedCols();
    TakeOverFormResize();
    // The grid's half-second timer (blinking, hover and timed actions).
    SetTimer(111, 500);
}

TVerIvovavOzed::~TVerIvovavOzed()
{
    FDestroying = true;
    // The footer panel watches the grid and paints from it: it goes before the grid's own part.
    delete FFooterPanel.data();
    FSearchFooter->OnChange = nullptr;
    ForgetNotifiers();
    KillTimer(111);
    if (FColumnSize->Save()) {
        try {
            SaveColSizes();
        } catch (...) {
            // A store that cannot be written must not stop the grid from going.
        }
    }
    HideFocusFrame(); // the window watcher must not reach a grid that is gone
    GiveBackFormResize();
    FColumnHeaders.OnChange = nullptr;
    FRowHeaders.OnChange = nullptr;
    FFixedFont.OnChange = nullptr;
    FActiveCellFont.OnChange = nullptr;
    FBands->OnChange = nullptr;
    FMouseActions->OnInvalidate = nullptr;
    FBackGround->OnChange = nullptr;
    FProgressAppearance->OnChange = nullptr;
    FShowModified->OnChange = nullptr;
    FBalloon->OnEnableChange = nullptr;
    BalloonDone();
    EndPanning();
    FFilterDropDown->OnChange = nullptr;
    FMergedColumns.OnChange = nullptr;
    FGridItems.clear();
}

void TVerIvovavOzed::Loaded()
{
    FLoading = false;
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FLook == glOrlex) {
        FLook = glCustom;
        SetLook(glOrlex);
    }
    FFixedRowsMin = TStringGrid::FixedRows();
    FFixedColsMin = TStringGrid::FixedCols();
    FMaxRowCount = std::max(FMaxRowCount, RowCount());
    FLoaded = true;
    if (Options() & goAlwaysShowEditor) {
        SetOptions(Options() & ~TGridOptions(goAlwaysShowEditor));
        FNavigation->SetAlwaysEdit(true);
    }
    // Themed in-cell controls fall back to the classic ones where no visual style is active.
    if (!platform::PlatformInfo().ThemeActive && FControlLook->ControlStyle() == csTheme)
        FControlLook->SetControlStyle(csClassic);
    FSearchFooter->SetAutoThemeAdapt(FAutoThemeAdapt);
    UpdateSearchPanel();
    UpdateScrollBarAlways(false);
    InitOrigColSizes();
    SetColumnOrder();
    // The balloon window exists from the end of loading when balloons are enabled.
    if (FBalloon->Enable())
        BalloonInit();
    if (FColumnSize->Save())
        LoadColSizes();
}

void TVerIvovavOzed::Assign(const QObject* Source)
{
    auto* src = dynamic_cast<const TVerIvovavOzed*>(Source);
    if (!src || src == this)
        return;
    SetFont(src->Font());
    FActiveCellColor = src->FActiveCellColor;
    FActiveCellColorTo = src->FActiveCellColorTo;
    FActiveCellFont.Assign(src->FActiveCellFont);
    FActiveCellShow = src->FActiveCellShow;
    SetActiveRowShow(src->ActiveRowShow());
    FFilterDropDown->Assign(*src->FFilterDropDown);
    FMouseActions->Assign(*src->FMouseActions);
    FNavigation->Assign(*src->FNavigation);
    FGrouping->Assign(*src->FGrouping);
    FSearchFooter->Assign(*src->FSearchFooter);
    FPrintSettings->Assign(*src->FPrintSettings);
    FFilter->Assign(*src->FFilter);
    FHTMLSettings->Assign(*src->FHTMLSettings);
    FBands->Assign(*src->FBands);
    FCellNode->Assign(*src->FCellNode);
    FSortSettings->Assign(*src->FSortSettings);
    FDragScrollOptions->Assign(*src->FDragScrollOptions);
    FDragDropSettings->Assign(*src->FDragDropSettings);
    FProgressAppearance->Assign(*src->FProgressAppearance);
    FColumnSize->Assign(*src->FColumnSize);
    FSyncGrid->Assign(*src->FSyncGrid);
    FFocusHelper->Assign(*src->FFocusHelper);
    FAnchorHint = src->FAnchorHint;
    FAutoNumAlign = src->FAutoNumAlign;
    FAutoSize = src->FAutoSize;
    FAutoThemeAdapt = src->FAutoThemeAdapt;
    FAutoFilterUpdate = src->FAutoFilterUpdate;
    FFixedRowAlways = src->FFixedRowAlways;
    SetColCount(src->ColCount());
    SetRowCount(src->RowCount());
    SetFixedRows(src->FixedRows());
    SetFixedCols(src->FixedCols());
    SetDefaultColWidth(src->DefaultColWidth());
    SetDefaultRowHeight(src->DefaultRowHeight());
    SetFixedRowHeight(src->FixedRowHeight());
    SetFixedColWidth(src->FixedColWidth());
    FInvalidEntryTitle = src->FInvalidEntryTitle;
    FInvalidEntryIcon = src->FInvalidEntryIcon;
    FInvalidEntryText = src->FInvalidEntryText;
    SetOptions(src->Options());
    for (int c = 0; c < ColCount(); ++c)
        SetColWidths(c, src->ColWidths(c));
    SetColumnHeaders(src->FColumnHeaders);
    for (int r = 0; r < RowCount(); ++r)
        SetRowHeights(r, src->RowHeights(r));
    FScrollProportional = src->FScrollProportional;
    FScrollSynch = src->FScrollSynch;
    FScrollHints = src->FScrollHints;
    FScrollBarAlways = src->FScrollBarAlways;
    SetScrollBars(src->ScrollBars());
    FScrollColor = src->FScrollColor;
    FScrollType = src->FScrollType;
    FScrollWidth = src->FScrollWidth;
    AssignCells(Source);
}

void TVerIvovavOzed::AssignCells(const QObject* Source)
{
    // The cells travel through the grid's own text stream: the source writes it into memory and
    // this grid reads it back into its save area.
    auto* src = dynamic_cast<const TVerIvovavOzed*>(Source);
    if (!src || src == this)
        return;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    const_cast<TVerIvovavOzed*>(src)->SaveToStream(buffer);
    buffer.seek(0);
    LoadFromStream(buffer);
}

void TVerIvovavOzed::Invalidate()
{
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
}

void TVerIvovavOzed::Resize()
{
    SearchPanelResize();
    if (OnResize)
        OnResize(this);
    if ((FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert) &&
        FBackGround->ColorTo() != clNone)
        Invalidate();
    UpdateScrollBarAlways(false);
    CellControlsUpdate(false);
}

void TVerIvovavOzed::UpdateScrollBarAlways(bool Force)
{
    const bool rowsFit = VisibleRowCount() + FixedRows() >= RowCount();
    const bool colsFit = VisibleColCount() + FixedCols() >= ColCount();
    if (FScrollBarAlways != saNone) {
        if (rowsFit) {
            ShowScrollBar(SB_VERT, FScrollBarAlways == saVert || FScrollBarAlways == saBoth);
            EnableScrollBar(SB_VERT, false);
        } else
            EnableScrollBar(SB_VERT, true);
        if (colsFit) {
            ShowScrollBar(SB_HORZ, FScrollBarAlways == saHorz || FScrollBarAlways == saBoth);
            EnableScrollBar(SB_HORZ, false);
        } else
            EnableScrollBar(SB_HORZ, true);
    } else if (Force) {
        if (rowsFit)
            ShowScrollBar(SB_VERT, false);
        if (colsFit)
            ShowScrollBar(SB_HORZ, false);
    }
}

int TVerIvovavOzed::GetVersionNr() { return 0x06020103; }

QString TVerIvovavOzed::VersionBytes(int Nr)
{
    const unsigned v = unsigned(Nr);
    return QStringLiteral("%1.%2.%3.%4").arg((v >> 24) & 0xFF).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

QString TVerIvovavOzed::GetVersionString() { return VersionBytes(GetVersionNr()) + QStringLiteral(" Sep, 2012"); }

// ---- column headers --------------------------------------------------------------------------

void TVerIvovavOzed::SetColumnHeaders(const platform::TStringList& Value)
{
    FColumnHeaders.Assign(Value); // its change runs the header step of descendants
    if (FixedRows() > 0)
        ClearColumnHeaders();
    ShowColumnHeaders();
}

void TVerIvovavOzed::ColumnHeadersChangedHandler()
{
    ColumnHeadersChanged();
    ShowColumnHeaders();
}

void TVerIvovavOzed::ShowColumnHeaders()
{
    if (FixedRows() <= 0)
        return;
    const int n = std::min(FColumnHeaders.Count(), TotalColCount());
    for (int i = 0; i < n; ++i) {
        QString s = FColumnHeaders.Strings(i);
        s.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        SetCells(i, 0, s);
    }
}

void TVerIvovavOzed::ClearColumnHeaders()
{
    for (int i = 0; i < ColCount(); ++i)
        SetCells(i, 0, QString());
}

void TVerIvovavOzed::ShowRowHeaders()
{
    if (FixedCols() <= 0)
        return;
    const int n = std::min(FRowHeaders.Count(), RowCount());
    for (int i = 0; i < n; ++i) {
        QString s = FRowHeaders.Strings(i);
        s.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        SetCells(0, i, s);
    }
}

// ---- looks -----------------------------------------------------------------------------------

QString TVerIvovavOzed::GetLookName(TGridLook Look)
{
    static const char* const names[] = {"Standard", "Soft", "Classic", "Orlex", "Windows XP",
                                         "ListView", "Windows Vista", "Windows 7", "Office2007"};
    if (Look >= glStandard && Look <= glOffice2007)
        return QString::fromLatin1(names[Look]);
    return QString();
}

// The identifier a stored look is written with; empty for glCustom (the text stays as it is).
QString TVerIvovavOzed::GetLookIdent(TGridLook Look)
{
    static const char* const idents[] = {"glStandard", "glSoft", "glClassic", "glOrlex", "glXP",
                                          "glListView", "glVista", "glWin7", "glOffice2007"};
    if (Look >= glStandard && Look <= glOffice2007)
        return QString::fromLatin1(idents[Look]);
    return QString();
}

void TVerIvovavOzed::SetLook(TGridLook Value)
{
    if (!platform::Change(FLook, Value))
        return;
    if (Value != glCustom) {
        FControlLook->SetFixedGradientFrom(clNone);
        FControlLook->SetFixedGradientTo(clNone);
        FControlLook->SetFixedGradientMirrorFrom(clNone);
        FControlLook->SetFixedGradientMirrorTo(clNone);
        FOrlexGradientFrom = clNone;
        FOrlexGradientTo = clNone;
        FOrlexGradientMirrorFrom = clNone;
        FOrlexGradientMirrorTo = clNone;
        FSortSettings->SetHeaderColor(clNone);
    }
    switch (Value) {
    case glVista:
        SetStyle(gsWindowsVista);
        FComponentStyle = tsWindowsVista;
        SetSelectionStyle(ssVista);
        break;
    case glWin7:
        SetStyle(gsWindows7);
        SetSelectionStyle(ssWin7);
        break;
    case glOffice2007:
        SetStyle(gsOffice2007Luna);
        SetSelectionStyle(ssOffice2007);
        break;
    case glCustom:
        break;
    default:
        StyleDropDownEditors(tsWindowsXP);
        SetSelectionStyle(ssDefault);
        if (!FLoading) {
            if (Value == glStandard || Value == glSoft || Value == glClassic) {
                SetFixedColor(clBtnFace);
                FControlLook->SetFixedGradientFrom(clBtnFace);
                FControlLook->SetFixedGradientTo(clNone);
            } else {
                FControlLook->SetFixedGradientFrom(0xFFFFFF);
                FControlLook->SetFixedGradientTo(clBtnFace);
            }
            FControlLook->SetFixedGradientMirrorFrom(clNone);
            FControlLook->SetFixedGradientMirrorTo(clNone);
            FOrlexGradientMirrorFrom = clNone;
            FOrlexGradientMirrorTo = clNone;
            SetGridFixedLineColor(0x808080);
            SetGridLineColor(0xC0C0C0);
            if (Value == glStandard || Value == glSoft || Value == glClassic || Value == glListView) {
                FActiveCellColor = 0x808080;
                FActiveCellColorTo = clNone;
                FSelectionColor = clHighlight;
                FSelectionTextColor = clHighlightText;
                FSearchFooter->SetColor(clBtnFace);
                FSearchFooter->SetColorTo(clBtnFace);
            } else if (Value == glOrlex || Value == glXP) {
                FActiveCellColor = 0xEACAB6;
                FActiveCellColorTo = clNone;
                FSelectionColor = 0xEACAB6;
                FSelectionColorTo = clNone;
                FSelectionTextColor = clBlack;
                FSearchFooter->SetColor(FOrlexGradientFrom);
                FSearchFooter->SetColorTo(FOrlexGradientTo);
                FControlLook->SetFixedGradientFrom(0xFFFFFF);
                FControlLook->SetFixedGradientTo(Value == glXP ? clBtnFace : 0xC0C0C0);
                FControlLook->SetFixedGradientHoverFrom(0xCFD0D1);
                FControlLook->SetFixedGradientHoverTo(0xBEC6C8);
                FControlLook->SetFixedGradientHoverMirrorFrom(0xBEC6C8);
                FControlLook->SetFixedGradientHoverMirrorTo(0xABBCBF);
                FControlLook->SetFixedGradientDownFrom(0x868788);
                FControlLook->SetFixedGradientDownTo(0x737C7E);
                FControlLook->SetFixedGradientDownMirrorFrom(0x737C7E);
                FControlLook->SetFixedGradientDownMirrorTo(0x627376);
            }
        }
        break;
    }
    SetScrollType(ssNormal);
    FBorderStyle = bsSingle;
    FBorderColor = 0xB99D7F;
    Invalidate();
}

void TVerIvovavOzed::SetOrlexGradientFrom(TColor Value)
{
    FOrlexGradientFrom = ColorToRGB(Value);
    Invalidate();
}

void TVerIvovavOzed::SetOrlexGradientTo(TColor Value)
{
    FOrlexGradientTo = ColorToRGB(Value);
    Invalidate();
}

void TVerIvovavOzed::SetOrlexGradientMirrorFrom(TColor Value)
{
    FOrlexGradientMirrorFrom = ColorToRGB(Value);
    Invalidate();
}

void TVerIvovavOzed::SetOrlexGradientMirrorTo(TColor Value)
{
    FOrlexGradientMirrorTo = ColorToRGB(Value);
    Invalidate();
}

void TVerIvovavOzed::ChangeScale(int M, int D)
{
    if (M == D)
        return;
    FFixedFont.SetSize(platform::MulDiv(FFixedFont.Size(), M, D));
    FActiveCellFont.SetSize(platform::MulDiv(FActiveCellFont.Size(), M, D));
}

// ---- editors ---------------------------------------------------------------------------------

QString TVerIvovavOzed::GetEditMask(int ACol, int ARow)
{
    QString mask = FEditMask;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, mask);
    return mask;
}

int TVerIvovavOzed::GetEditLimit() { return FMaxEditLength; }

// ---- footer ----------------------------------------------------------------------------------

void TVerIvovavOzed::CalcFooter(int ACol) { CalcColumnFooterValue(ACol); }

void TVerIvovavOzed::CalcColumnFooterValue(int ACol)
{
    const TFloatingFooter& ff = *FFloatingFooter;
    if (!ff.Visible() || ff.FooterStyle() != fsFixedLastRow || !ff.EnableCalculation() || RowCount() <= 0)
        return;
    const int first = ACol == -1 ? 0 : ACol;
    const int last = ACol == -1 ? ColCount() + NumHiddenColumns() - 1 : ACol;
    for (int c = first; c <= last; ++c) {
        const int footerRow = RowCount() - 1;
        const TCellProperties* p = CellPropertiesOf(c, footerRow);
        if (!p || (int(p->CalcType()) & 0x7F) == acNONE)
            continue;
        const int h = ff.CalculateHiddenRows() ? NumHiddenRows() : 0;
        const int toRow = h + RowCount() - 2;
        // A column whose values do not read as numbers keeps its footer text: the change that
        // asked for the calculation goes on.
        try {
            switch (TColumnCalcType(int(p->CalcType()) & 0x7F)) {
            case acSUM: SetFloats(c, footerRow, ColumnSum(c, FixedRows(), toRow)); break;
            case acAVG: SetFloats(c, footerRow, ColumnAvg(c, FixedRows(), toRow)); break;
            case acMIN: SetFloats(c, footerRow, ColumnMin(c, FixedRows(), toRow)); break;
            case acMAX: SetFloats(c, footerRow, ColumnMax(c, FixedRows(), toRow)); break;
            case acDISTINCT: SetFloats(c, footerRow, ColumnDistinct(c, FixedRows(), toRow)); break;
            case acSTDDEV: SetFloats(c, footerRow, ColumnStdDev(c, FixedRows(), toRow)); break;
            case acCOUNT: SetInts(c, footerRow, h + RowCount() - FixedRows() - 1); break;
            case acCUSTOM: {
                QString value;
                if (OnFooterCalc)
                    OnFooterCalc(this, c, h + RowCount() - 1, value);
                else if (ff.OnCalcFooter)
                    ff.OnCalcFooter(this, c, h + RowCount() - 1, value);
                SetCells(c, footerRow, value);
                break;
            }
            default: break; // acSPREAD
            }
        } catch (const ZUzeRodoRediv&) {
        }
    }
}

void TVerIvovavOzed::UpdateFooter()
{
    if (FFooterPanel)
        FFooterPanel->update();
}

void TVerIvovavOzed::LastRowChanged()
{
    TBaseGrid::LastRowChanged();
    UpdateFooter();
}

void TVerIvovavOzed::FooterPanelChanged()
{
    if (!FFooterPanel)
        return;
    const int h = FFooterPanel->isHidden() ? 0 : FFooterPanel->height();
    QMargins m = viewportMargins();
    if (m.bottom() != h) {
        m.setBottom(h);
        setViewportMargins(m);
        // The viewport's height changed: the rows that fit and the scroll bars follow.
        UpdateScrollRange();
    }
    FFooterPanel->PlaceBelowViewport();
}

// ---- control look and the other small objects ---------------------------------

