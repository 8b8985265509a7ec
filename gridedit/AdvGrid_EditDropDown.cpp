// TVerIvovavOzed: the drop-down cell editors (made on demand), their set-up over a cell and the
// take-back of their value, and the handlers the grid hangs on them.
#include "grid/AdvGrid.h"
#include "gridedit/GridDropDownEditors.h"
#include "grid/ControlLook.h"
#include "platform/SysUtils.h"

#include <QApplication>

namespace {

// The style and tones the grid gives every drop-down editor it makes.
template <class T>
T* NewDropDownEditor(TVerIvovavOzed* grid)
{
    T* e = new T(grid);
    e->Create();
    e->setEnabled(false);
    e->hide();
    e->SetComponentStyle(grid->ComponentStyle());
    if (grid->Tones().Background.BrushColor != clNone)
        e->SetColorTones(grid->Tones());
    return e;
}

// The lookup of a start text among the items of a grid-style drop-down: the first item whose
// lookup column holds it; 0 for an empty text.
template <class Items>
int ItemOfText(const Items& items, int column, const QString& text)
{
    if (text.isEmpty())
        return 0;
    for (int i = 0; i < items.Count(); ++i) {
        const QStringList& t = items.Items(i)->Text;
        if (column >= 0 && column < t.size() && t[column] == text)
            return i;
    }
    return -1;
}

} // namespace

// ---- the editors, made on first use ----------------------------------------------------------

TGridTrackbarDropDown* TVerIvovavOzed::TrackbarDropDown()
{
    if (!FEditTrackBar) {
        FEditTrackBar = NewDropDownEditor<TGridTrackbarDropDown>(this);
        FEditTrackBar->SetEditorEnabled(true);
    }
    return FEditTrackBar;
}

TGridMemoDropDown* TVerIvovavOzed::MemoDropDown()
{
    if (!FEditMemo) {
        FEditMemo = NewDropDownEditor<TGridMemoDropDown>(this);
        FEditMemo->OnChange = [this](QObject* Sender) { MemoEditorChange(Sender); };
    }
    return FEditMemo;
}

TGridCalculatorDropDown* TVerIvovavOzed::CalculatorDropDown()
{
    if (!FEditCalculator) {
        FEditCalculator = NewDropDownEditor<TGridCalculatorDropDown>(this);
        FEditCalculator->SetEditorEnabled(true);
    }
    return FEditCalculator;
}

TGridTimepickerDropDown* TVerIvovavOzed::TimePickerDropDown()
{
    if (!FEditTimePicker)
        FEditTimePicker = NewDropDownEditor<TGridTimepickerDropDown>(this);
    return FEditTimePicker;
}

TGridDetailPickerDropDown* TVerIvovavOzed::DetailPickerDropDown()
{
    if (!FEditDetailPicker)
        FEditDetailPicker = NewDropDownEditor<TGridDetailPickerDropDown>(this);
    return FEditDetailPicker;
}

TGridGridDropDown* TVerIvovavOzed::GridDropDown()
{
    if (!FEditGridPicker)
        FEditGridPicker = NewDropDownEditor<TGridGridDropDown>(this);
    return FEditGridPicker;
}

TGridColorDropDown* TVerIvovavOzed::ColorPickerDropDown()
{
    if (!FEditColorPicker) {
        FEditColorPicker = NewDropDownEditor<TGridColorDropDown>(this);
        FEditColorPicker->AddDefaultColors();
        FEditColorPicker->OnSelect = [this](QObject*) {
            if (FEditColorPicker && EditMode && EditControl == edColorPickerDropDown)
                DoColorSelect(RealCol(), Row(), FEditColorPicker->SelectedColor(), FEditColorPicker->ColorDisplayText());
        };
    }
    return FEditColorPicker;
}

TGridImageDropDown* TVerIvovavOzed::ImagePickerDropDown()
{
    if (!FEditImagePicker) {
        FEditImagePicker = NewDropDownEditor<TGridImageDropDown>(this);
        FEditImagePicker->OnSelect = [this](QObject*) {
            if (FEditImagePicker && EditMode && EditControl == edImagePickerDropDown)
                DoImageSelect(RealCol(), Row(), FEditImagePicker->ImageIndex());
        };
    }
    return FEditImagePicker;
}

TGridAdvGridDropDown* TVerIvovavOzed::AdvGridDropDown()
{
    if (!FEditAdvGridPicker)
        FEditAdvGridPicker = NewDropDownEditor<TGridAdvGridDropDown>(this);
    return FEditAdvGridPicker;
}

TAdvCustomDropDown* TVerIvovavOzed::DropDownEditorOf(TEditorType AType)
{
    switch (AType) {
    case edTrackbarDropDown: return TrackbarDropDown();
    case edMemoDropDown: return MemoDropDown();
    case edCalculatorDropDown: return CalculatorDropDown();
    case edTimePickerDropDown: return TimePickerDropDown();
    case edDetailDropDown: return DetailPickerDropDown();
    case edGridDropDown: return GridDropDown();
    case edColorPickerDropDown: return ColorPickerDropDown();
    case edImagePickerDropDown: return ImagePickerDropDown();
    case edAdvGridDropDown: return AdvGridDropDown();
    default: return nullptr;
    }
}

// ---- handlers ---------------------------------------------------------------------------------

void TVerIvovavOzed::DropDownHeaderButtonClick(QObject*, int ButtonIndex)
{
    if (OnDropDownHeaderButtonClick)
        OnDropDownHeaderButtonClick(this, Col(), Row(), ButtonIndex);
}

void TVerIvovavOzed::DropDownFooterButtonClick(QObject*, int ButtonIndex)
{
    if (OnDropDownFooterButtonClick)
        OnDropDownFooterButtonClick(this, Col(), Row(), ButtonIndex);
}

void TVerIvovavOzed::MemoEditorChange(QObject*)
{
    // Only the edit in progress writes through; the editor's set-up and a take-back do not.
    if (!FEditMemo || !EditMode || EditControl != edMemoDropDown || EditCtrl != FEditMemo)
        return;
    StoreEditText(Col(), Row(), FEditMemo->EditorText());
}

// ---- set-up and take-back ---------------------------------------------------------------------

void TVerIvovavOzed::ShowDropDownEditor(int ACol, int ARow, const TRect& R, TColor CellColor, const QString& StartText)
{
    TAdvCustomDropDown* dd = DropDownEditorOf(EditControl);
    if (!dd)
        return;
    // The edit takes the colour the cell is painted with.
    dd->SetColor(CellColor == clNone ? clWindow : CellColor);
    const int W = R.Right - R.Left - 1;
    const int H = R.Bottom - R.Top - 1;
    const int realCol = RealColIndex(ACol);

    dd->SetDropDownHeader(FControlLook->DropDownHeader());
    dd->SetDropDownFooter(FControlLook->DropDownFooter());
    dd->SetComponentStyle(ComponentStyle());
    dd->OnDropDownHeaderButtonClick = [this](QObject* Sender, int Index) { DropDownHeaderButtonClick(Sender, Index); };
    dd->OnDropDownFooterButtonClick = [this](QObject* Sender, int Index) { DropDownFooterButtonClick(Sender, Index); };
    if (EditControl == edGridDropDown)
        FEditGridPicker->SetEditorEnabled(true);
    if (EditControl == edAdvGridDropDown) {
        FEditAdvGridPicker->SetEditorEnabled(true);
        if (FEditAdvGridPicker->Grid())
            FEditAdvGridPicker->Grid()->SetFixedRowAlways(true);
    }
    DoGetEditorProp(realCol, ARow, EditLink());
    dd->setGeometry(R.Left, R.Top, 0, 0);
    dd->setEnabled(true);
    dd->SetBorderStyle(bsNone);
    dd->setGeometry(R.Left, R.Top, W, H);

    switch (EditControl) {
    case edTrackbarDropDown: {
        int v = 0;
        if (!platform::TryStrToInt(StartText, v))
            v = 0;
        FEditTrackBar->SetPosition(v);
        break;
    }
    case edMemoDropDown:
        FEditMemo->SetStartText(StartText);
        FEditMemo->SetEditorText(StartText);
        break;
    case edCalculatorDropDown:
        FEditCalculator->ClearCalculation();
        FEditCalculator->SetText(StartText);
        break;
    case edTimePickerDropDown:
        FEditTimePicker->SetText(StartText);
        FEditTimePicker->SetEditorEnabled(true);
        break;
    case edDetailDropDown:
        FEditDetailPicker->SetText(StartText);
        FEditDetailPicker->SetEditorEnabled(true);
        break;
    case edGridDropDown: {
        TGridGridDropDown* g = FEditGridPicker;
        g->BeginUpdate();
        g->EndUpdate();
        g->SetItemIndex(StartText.isEmpty() ? 0 : g->GetItemIndex(StartText));
        g->SetText(StartText);
        break;
    }
    case edColorPickerDropDown: {
        TColor c = GetColors(realCol, ARow);
        if (GetCellType(realCol, ARow) == ctShape)
            c = GetShapeColor(realCol, ARow);
        FEditColorPicker->SetSelectedColor(c);
        break;
    }
    case edImagePickerDropDown: {
        TGridImageDropDown* ip = FEditImagePicker;
        const TCellType t = GetCellType(realCol, ARow);
        if (t == ctImageList || t == ctDataImage) {
            ip->SetImages(GridImages());
            if (ip->Items().Count() == 0)
                ip->AddImagesFromImageList();
            int idx = -1;
            if (t == ctImageList)
                GetImageIdx(realCol, ARow, idx);
            else
                idx = Ints(realCol, ARow);
            ip->SetImageIndex(idx);
        }
        break;
    }
    case edAdvGridDropDown: {
        TGridAdvGridDropDown* g = FEditAdvGridPicker;
        g->BeginUpdate();
        g->EndUpdate();
        if (g->UseItems())
            g->SetItemIndex(ItemOfText(g->Items(), g->LookupColumn(), StartText));
        g->SetText(StartText);
        break;
    }
    default: break;
    }

    dd->show();
    dd->raise();
    EditMode = true;
    dd->setFocus(Qt::OtherFocusReason);
    if (EditControl == edMemoDropDown)
        FEditMemo->SetSel(0, 0);
    if (EditControl == edDetailDropDown) {
        TGridDetailPickerDropDown* d = FEditDetailPicker;
        for (int i = 0; i < d->Items().Count(); ++i)
            if (d->Items().Items(i)->Caption() == d->Text()) {
                d->SetItemIndex(i);
                break;
            }
    }
    EditCtrl = dd;
    if (FMouseActions->DirectComboDrop())
        dd->ShowDropDown();
}

void TVerIvovavOzed::TakeBackDropDownEditor(int ARealCol, int ARow)
{
    TAdvCustomDropDown* dd = DropDownEditorOf(EditControl);
    if (!dd || !EditMode)
        return;
    EditMode = false;
    if (dd->DroppedDown())
        dd->HideDropDown(false);
    // The grid takes the focus back before the editor goes, so that it does not pass to another
    // control of the window.
    if (QWidget* f = QApplication::focusWidget(); f && (f == dd || dd->isAncestorOf(f))) {
        InvokedFocusChange = true;
        setFocus(Qt::OtherFocusReason);
        InvokedFocusChange = false;
    }
    bool escaping = false;
    switch (EditControl) {
    case edTrackbarDropDown: escaping = FEditTrackBar->Escaping(); break;
    case edMemoDropDown: escaping = FEditMemo->Escaping(); break;
    case edCalculatorDropDown: escaping = FEditCalculator->Escaping(); break;
    case edTimePickerDropDown: escaping = FEditTimePicker->Escaping(); break;
    case edDetailDropDown: escaping = FEditDetailPicker->Escaping(); break;
    case edGridDropDown: escaping = FEditGridPicker->Escaping(); break;
    case edColorPickerDropDown: escaping = FEditColorPicker->Escaping(); break;
    case edImagePickerDropDown: escaping = FEditImagePicker->Escaping(); break;
    case edAdvGridDropDown: escaping = FEditAdvGridPicker->Escaping(); break;
    default: break;
    }
    switch (EditControl) {
    case edColorPickerDropDown: {
        // Escape leaves the cell's text and colour as they are.
        if (escaping)
            break;
        TColor c = FEditColorPicker->SelectedColor();
        QString v = FEditColorPicker->ColorDisplayText();
        if (OnColorSelected)
            OnColorSelected(this, ARealCol, ARow, c, v);
        WriteCellAtRealCol(ARealCol, ARow, v);
        if (GetCellType(ARealCol, ARow) == ctShape)
            SetShapeColor(ARealCol, ARow, c);
        else
            SetColors(ARealCol, ARow, c);
        break;
    }
    case edImagePickerDropDown: {
        if (escaping)
            break;
        int i = FEditImagePicker->ImageIndex();
        if (OnImageSelected)
            OnImageSelected(this, ARealCol, ARow, i);
        const TCellType t = GetCellType(ARealCol, ARow);
        if (t == ctImageList)
            SetImageIdx(ARealCol, ARow, i);
        else if (t == ctDataImage)
            WriteCellAtRealCol(ARealCol, ARow, QString::number(i));
        break;
    }
    case edMemoDropDown:
        // The memo wrote itself into the cell while typing: Escape puts back the text the cell had
        // when the edit began.
        WriteCellAtRealCol(ARealCol, ARow, escaping ? FCellCache : FEditMemo->EditorText());
        break;
    default:
        // Escape leaves the cell's own text (the editor may show it formatted).
        if (!escaping)
            WriteCellAtRealCol(ARealCol, ARow, dd->Text());
        break;
    }
    dd->hide();
    dd->setEnabled(false);
}
