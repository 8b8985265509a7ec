// TVerIvovavOzed: editor choice, the editing lifecycle, the set-up and take-back of the special
// editors, and the notices of the editor controls.
#include "grid/AdvGrid.h"
#include "gridedit/GridDropDownEditors.h"
#include "platform/EditMask.h"
#include "platform/Guarded.h"
#include "platform/Messages.h"
#include "render/RuvOdid.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QMimeData>
#include <cmath>
#include <QKeyEvent>

using platform::Guarded;

namespace {

// Editor types edited with the in-place text editor.
bool IsInplaceType(TEditorType t)
{
    switch (t) {
    case edNormal:
    case edNumeric:
    case edPositiveNumeric:
    case edFloat:
    case edCapital:
    case edMixedCase:
    case edPassword:
    case edLowerCase:
    case edUpperCase:
    case edValidChars:
    case edPositiveFloat: return true;
    default: return false;
    }
}

bool IsSpinType(TEditorType t)
{
    return t == edSpinEdit || t == edFloatSpinEdit || t == edTimeSpinEdit || t == edDateSpinEdit;
}

bool IsDropDownType(TEditorType t) { return t >= edTrackbarDropDown && t <= edAdvGridDropDown; }

// Special editor types whose control the grid has; a cell asking for another one is not edited.
bool HasEditorControl(TEditorType t)
{
    return t == edCustom || t == edRichEdit || IsDropDownType(t) || t == edDateEdit || t == edDateEditUpDown || t == edTimeEdit || t == edDateTimeEdit || t == edComboEdit || t == edComboList || t == edCheckBox || t == edButton || IsSpinType(t) ||
           t == edEditBtn || t == edNumericEditBtn || t == edFloatEditBtn || t == edMaskEditBtn ||
           t == edUnitEditBtn || t == edNumericUnitEditBtn || t == edFloatUnitEditBtn;
}

// The integer a cell text gives a spin: the whole text when it is a number, else its leading
// digits (after blanks and a sign), else 0.
int LeadingInt(const QString& text)
{
    int v = 0;
    if (platform::TryStrToInt(text, v))
        return v;
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const int signAt = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    const int digitsAt = i;
    while (i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
        ++i;
    if (i == digitsAt)
        return 0;
    bool ok = false;
    const qint64 r = text.mid(signAt, i - signAt).toLongLong(&ok);
    return ok && r >= INT32_MIN && r <= INT32_MAX ? int(r) : 0;
}

// The number a normalised text ("." as decimal point) starts with; reading stops at the first
// character that does not fit, and no number at all gives 0.
double LeadingFloat(const QString& text)
{
    int i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    const int from = i;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    auto digits = [&] {
        const int at = i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
        return i - at;
    };
    int n = digits();
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        n += digits();
    }
    if (n == 0)
        return 0;
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        int j = i + 1;
        if (j < text.size() && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+')))
            ++j;
        const int at = j;
        while (j < text.size() && text[j].isDigit() && text[j].unicode() < 128)
            ++j;
        if (j > at)
            i = j;
    }
    bool ok = false;
    const double v = text.mid(from, i - from).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

} // namespace

void FocusGridQuietly(TVerIvovavOzed* g)
{
    const bool alwaysEdit = g->Navigation().AlwaysEdit();
    g->Navigation().SetAlwaysEdit(false);
    g->SetFocus();
    g->Navigation().SetAlwaysEdit(alwaysEdit);
}

bool ClipboardTextToPaste(TVerIvovavOzed* g, QObject* editor, QString& text)
{
    const QMimeData* md = QApplication::clipboard()->mimeData();
    bool allow = md && md->hasText();
    text = allow ? md->text() : QString();
    if (g->OnClipboardPaste)
        g->OnClipboardPaste(editor, text, allow);
    if (allow && g->OnClipboardBeforePasteCell)
        g->OnClipboardBeforePasteCell(editor, g->Col(), g->Row(), text, allow);
    return allow;
}

void DropFinalLineBreak(QString& text)
{
    const int crlf = int(text.indexOf(QStringLiteral("\r\n")));
    if (crlf >= 0 && crlf == text.size() - 2)
        text.chop(2);
}

bool IsEditEndingKey(Word Key)
{
    switch (Key) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: return true;
    default: return false;
    }
}

void EndEditOnFocusOut(TVerIvovavOzed* g, const QFocusEvent* event, bool editing)
{
    if (event->reason() == Qt::PopupFocusReason || !editing)
        return;
    Guarded([g] { g->HideInplaceEdit(); });
}

void PostEditorChar(QWidget* target, QChar ch)
{
    if (!target || ch.isNull())
        return;
    int key = 0;
    const QChar up = ch.toUpper();
    if ((up >= QLatin1Char('A') && up <= QLatin1Char('Z')) || (up >= QLatin1Char('0') && up <= QLatin1Char('9')))
        key = up.unicode();
    else if (ch.unicode() == 8)
        key = Qt::Key_Backspace;
    else if (ch.unicode() == 32)
        key = Qt::Key_Space;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(ch)));
}


TGridCombo* NewGridCombo(TVerIvovavOzed* Grid)
{
    return new TGridCombo(Grid);
}

TGridCheckBox* NewGridCheckBox(TVerIvovavOzed* Grid) { return new TGridCheckBox(Grid); }

TGridButton* NewGridButton(TVerIvovavOzed* Grid) { return new TGridButton(Grid); }

TGridEditBtn* NewGridEditBtn(TVerIvovavOzed* Grid) { return new TGridEditBtn(Grid); }

TGridUnitEditBtn* NewGridUnitEditBtn(TVerIvovavOzed* Grid) { return new TGridUnitEditBtn(Grid); }

TVerIvovavOzed::TEditControlsKeeper::~TEditControlsKeeper()
{
    delete Grid->FEditCombo;
    Grid->FEditCombo = nullptr;
    delete Grid->FEditCheck;
    Grid->FEditCheck = nullptr;
    delete Grid->FUnitEditBtn;
    Grid->FUnitEditBtn = nullptr;
    delete Grid->FEditBtn;
    Grid->FEditBtn = nullptr;
    delete Grid->FGridButton;
    Grid->FGridButton = nullptr;
    delete Grid->FSpinEditor;
    Grid->FSpinEditor = nullptr;
    delete Grid->FEditTrans;
    Grid->FEditTrans = nullptr;
    delete Grid->FComboTrans;
    Grid->FComboTrans = nullptr;
    delete Grid->FDatePicker;
    Grid->FDatePicker = nullptr;
    delete Grid->FDateTimePicker;
    Grid->FDateTimePicker = nullptr;
    delete Grid->FEditAdvGridPicker;
    Grid->FEditAdvGridPicker = nullptr;
    delete Grid->FEditTrackBar;
    Grid->FEditTrackBar = nullptr;
    delete Grid->FEditMemo;
    Grid->FEditMemo = nullptr;
    delete Grid->FEditCalculator;
    Grid->FEditCalculator = nullptr;
    delete Grid->FEditTimePicker;
    Grid->FEditTimePicker = nullptr;
    delete Grid->FEditDetailPicker;
    Grid->FEditDetailPicker = nullptr;
    delete Grid->FEditGridPicker;
    Grid->FEditGridPicker = nullptr;
    delete Grid->FEditColorPicker;
    Grid->FEditColorPicker = nullptr;
    delete Grid->FEditImagePicker;
    Grid->FEditImagePicker = nullptr;
    Grid->EditCtrl = nullptr;
    if (TAdvInplaceEdit* e = Grid->NormalEdit())
        e->Detach();
}

// ---- editor controls -------------------------------------------------------------------------

TInplaceEdit* TVerIvovavOzed::CreateEditor() { return new TAdvInplaceEdit(this); }

TGridSpin* TVerIvovavOzed::SpinEdit()
{
    if (!FSpinEditor)
        FSpinEditor = new TGridSpin(this);
    return FSpinEditor;
}

TGridDatePicker* TVerIvovavOzed::DateTimePicker()
{
    if (!FDatePicker)
        FDatePicker = new TGridDatePicker(this);
    return FDatePicker;
}

TGridDateTimePicker* TVerIvovavOzed::DateAndTimePicker()
{
    if (!FDateTimePicker)
        FDateTimePicker = new TGridDateTimePicker(this);
    return FDateTimePicker;
}

TAdvInplaceEdit* TVerIvovavOzed::NormalEdit() const { return static_cast<TAdvInplaceEdit*>(InplaceEditor()); }

bool TVerIvovavOzed::SetComboSelectionString(const QString& s)
{
    FComboIdx = -1;
    for (int i = 0; i < FEditCombo->Items.Count(); ++i)
        if (FEditCombo->Items.Strings(i) == s) {
            FComboIdx = i;
            break;
        }
    return FComboIdx >= 0;
}

// ---- hooks -----------------------------------------------------------------------------------

void TVerIvovavOzed::RestoreCachedCell()
{
    // Written at the real column only: a second write at the displayed index would land in
    // another cell when columns before it are hidden.
    SetCells(RealCol(), Row(), FCellCache);
}

void TVerIvovavOzed::DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink)
{
    if (OnGetEditorProp)
        OnGetEditorProp(this, ACol, ARow, AEditLink);
    if (OnGetEditorPropInt)
        OnGetEditorPropInt(this, ACol, ARow, AEditLink);
}

void TVerIvovavOzed::DoCheckBoxClick(int ACol, int ARow, bool State)
{
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, ACol, ARow, State);
}

void TVerIvovavOzed::DoEllipsClick(const QString& Value, QString& Result)
{
    Result = Value;
    if (OnEllipsClick) {
        QString s = Value;
        OnEllipsClick(this, RealCol(), Row(), s);
        Result = s;
    }
}

bool TVerIvovavOzed::HasCellValidation() const
{
    return (Options() & goTabs) || OnCellValidate || OnCellValidateWide;
}

// ---- cell text of an edit --------------------------------------------------------------------

QString TVerIvovavOzed::CellEditText(int ACol, int ARow)
{
    FNoEditChange = true;
    if (TAdvInplaceEdit* e = NormalEdit()) {
        TAlignment ha = FDefaultAlignment;
        TVAlignment va = vtaTop;
        GetCellAlign(RealColIndex(ACol), ARow, ha, va);
        e->SetVAlign(ha == taRightJustify);
    }
    return GetEditText(ACol, ARow);
}

void TVerIvovavOzed::StoreTextQuiet(int ARealCol, int ARow, const QString& Value)
{
    if (GetGridCell(ARealCol, ARow) == Value)
        return;
    // Through the string grid's own store, which leaves an open editor alone.
    auto saved = std::move(OnSetEditText);
    OnSetEditText = nullptr;
    try {
        TStringGrid::SetEditText(ARealCol, ARow, Value);
    } catch (...) {
        OnSetEditText = std::move(saved);
        throw;
    }
    OnSetEditText = std::move(saved);
    CellTextChanged(ARealCol, ARow);
    RepaintCell(DisplColIndex(ARealCol), ARow);
}

void TVerIvovavOzed::StoreEditText(int ACol, int ARow, const QString& Value)
{
    int bc = RealColIndex(ACol), br = ARow;
    ResolveBaseCell(RealColIndex(ACol), ARow, bc, br);
    StoreTextQuiet(bc, br, Value);
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

void TVerIvovavOzed::WriteCellAtRealCol(int ACol, int ARow, const QString& Value)
{
    StoreEditText(DisplColIndex(ACol), ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

// ---- editor choice ---------------------------------------------------------------------------

bool TVerIvovavOzed::CanShowEditor()
{
    if (FValidating)
        return false;
    if (!TBaseGrid::CanEditShow())
        return false;
    int bc = RealCol(), br = Row();
    ResolveBaseCell(RealCol(), Row(), bc, br);
    // Check boxes, radio buttons and buttons are operated by click and Space, never edited.
    if (!EditMode && IsControlCell(bc, br))
        return false;
    bool started = false;
    if (!EditMode) {
        QWidget* const editWindow = window();
        FEditWindow = editWindow;
        FEditWindowType = &typeid(*editWindow);
        FNoEditChange = true;
        FCellCache = GetCurrentCell();
        TEditorType editor = DefaultEditor();
        GetCellEditor(bc, br, editor);
        EditControl = editor;
        started = true;
    }
    if (EditControl == edNone)
        return false;
    if (!IsInplaceType(EditControl)) {
        // A special editor is set up once per edit; a cell whose editor type has no control
        // leaves the grid idle rather than in an edit nobody can see or end.
        if (!started || !HasEditorControl(EditControl))
            return false;
        EditMode = true;
        // The edit validates the cell it was started on, whatever moved the current cell before.
        RememberCellText(Col(), Row());
        ShowSpecialEditor(DisplColIndex(bc), br);
        FEntered = true;
        if (FFocusHelper->Enabled())
            ShowFocusFrame(CellRect(Col(), Row()));
        return false;
    }
    EditMode = true;
    FShowEditProcess = true;
    if (started)
        RememberCellText(Col(), Row());
    FEntered = true;
    FEditing = true;
    if (FFocusHelper->Enabled())
        ShowFocusFrame(CellRect(Col(), Row()));
    return true;
}

// ---- starting and ending an edit -------------------------------------------------------------

void TVerIvovavOzed::ShowInplaceEdit()
{
    if (IsControlCell(RealCol(), Row()))
        return;
    if (Row() < TopRow() && Row() >= FixedRows())
        SetTopRow(Row());
    if (Col() < LeftCol() && Col() >= FixedCols())
        SetLeftCol(Col());
    FEditText = GetCurrentCell();
    ShowEditor();
}

void TVerIvovavOzed::HideInplaceEdit()
{
    if (!EditMode)
        return;
    HideEditor();
    TakeBackEditorValue(Col(), Row());
    EditMode = false;
    AcceptCellSelection(Col(), Row());
}

void TVerIvovavOzed::ShowCellEdit()
{
    Word key = VK_F2;
    KeyDown(key, TShiftState());
}

void TVerIvovavOzed::HideCellEdit() { TakeBackEditorValue(Col(), Row()); }

bool TVerIvovavOzed::TearingDown()
{
    if (FDestroying)
        return true;
    bool going = false;
    // A widget's base destructor takes it out of the focus chain before it clears the focus.
    for (const QWidget* w = parentWidget(); w && !going; w = w->parentWidget())
        going = w->nextInFocusChain() == nullptr;
    // A window whose own destructor has run is no longer of the type it was.
    if (!going && FEditWindow && FEditWindowType && FEditWindow == window()) {
        const QWidget& editWindow = *FEditWindow;
        going = typeid(editWindow) != *FEditWindowType;
    }
    // The grid goes with its window: from here on it behaves as during its own destruction.
    if (going)
        FDestroying = true;
    return going;
}

void TVerIvovavOzed::DoneInplaceEdit(Word Key, TShiftState Shift)
{
    FBlockFocus = true;
    try {
        FEditing = false;
        HideInplaceEdit();
        if (FNavigation->AppendOnArrowDown() && Key == VK_DOWN && Row() == RowCount() - FixedFooters() - 1) {
            AddRow();
            if (OnAutoAddRow)
                OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
        }
        if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN)) {
            Word k = Key;
            KeyDown(k, Shift);
        }
        const bool alwaysEdit = FNavigation->AlwaysEdit();
        FNavigation->SetAlwaysEdit(false);
        SetFocus();
        FNavigation->SetAlwaysEdit(alwaysEdit);
        if (Key == VK_RETURN)
            AdvanceToNextCell(Col(), Row(), true, false, true, true, false);
    } catch (...) {
        FBlockFocus = false;
        throw;
    }
    FBlockFocus = false;
}

void TVerIvovavOzed::SignalEditDone(int ACol, int ARow)
{
    if (TearingDown())
        return;
    if (OnEditingDone)
        OnEditingDone(this);
    EditMode = false;
    platform::PostMessage(this, GridEditDoneMessage(), ACol, ARow);
}

void TVerIvovavOzed::customEvent(QEvent* event)
{
    if (event->type() == GridEditDoneMessage()) {
        const auto* m = static_cast<const platform::TMessageEvent*>(event);
        Guarded([&] {
            if (OnEditCellDone)
                OnEditCellDone(this, int(m->WParam), int(m->LParam));
            if (FMouseActions->EditOnDblClickOnly()) {
                HideInplaceEdit();
                EditMode = false;
                SetOptions(Options() & ~TGridOptions(goEditing));
            }
        });
        return;
    }
    TBaseGrid::customEvent(event);
}

void TVerIvovavOzed::ShowEditorChar(QChar Ch, bool Keypad)
{
    if (Ch.isNull())
        return;
    FStartEditChar = Ch;
    try {
        ShowEditor();
        TAdvInplaceEdit* e = NormalEdit();
        if (!FStartEditChar.isNull() && e && e->isVisible() && EditorMode() && EditMode)
            e->DeliverChar(Ch, Keypad);
    } catch (...) {
        FStartEditChar = QChar();
        throw;
    }
    FStartEditChar = QChar();
}

// ---- special editors: set-up and take-back ---------------------------------------------------

void TVerIvovavOzed::ShowSpecialEditor(int ACol, int ARow)
{
    TRect R = CellRect(ACol, ARow);
    const int W = R.Right - R.Left - 1;
    const int H = R.Bottom - R.Top - 1;
    const int realCol = RealColIndex(ACol);

    // The colour the cell is painted with.
    TGridDrawState state;
    TBrush brush;
    TFont font;
    font.Assign(Font());
    brush.SetColor(Color());
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, Row(), state, false, false, true, brush, colorTo, mirror, mirrorTo, font, ha, va, ww, gd);
    const TColor cellColor = brush.Color();
    const QString start = CellEditText(ACol, ARow);

    FEditing = true;
    FSpecialEditor = true;
    FEditActive = true;
    FGridState = gsNormal;
    EditCtrl = nullptr;
    if (EditControl != edCustom)
        FLastValidation = true;

    switch (EditControl) {
    case edComboEdit:
    case edComboList: {
        TGridCombo* cb = FEditCombo;
        const bool list = EditControl == edComboList;
        cb->SetDropDownCount(FControlLook->DropDownCount);
        DoGetEditorProp(realCol, ARow, EditLink());
        cb->setGeometry(R.Left, R.Top, 0, 0);
        cb->setEnabled(true);
        cb->SetDroppedDown(false);
        cb->SetStyle(list ? csDropDownList : csDropDown);
        cb->LoadItems();
        FComboDefaultChoice = false;
        if (!list) {
            cb->SetText(start);
            if (FComboIdx != -1 && cb->ItemIndex() == -1)
                cb->SetItemIndex(FComboIdx);
        } else {
            int bc = realCol, br = ARow;
            ResolveBaseCell(realCol, ARow, bc, br);
            const QString stored = GetGridCell(bc, br);
            const int found = cb->findText(stored, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (found >= 0) {
                cb->SetItemIndex(found);
            } else if (FComboIdx == -1) {
                int i = cb->findText(start, Qt::MatchExactly | Qt::MatchCaseSensitive);
                cb->SetItemIndex(i < 0 ? 0 : i);
                cb->RunChangeStep();
                FComboDefaultChoice = true;
            } else {
                cb->SetItemIndex(FComboIdx);
            }
        }
        cb->setGeometry(R.Left, R.Top, W, H);
        cb->SetColor(cellColor);
        if (!list) {
            // The column's length limit holds here as in the text editor.
            const int limit = GetEditLimit();
            cb->SetMaxLength(limit > 0 ? limit : MaxComboLength());
        }
        cb->show();
        cb->raise();
        const bool flat = FLook == glSoft || FLook == glOrlex || FLook == glXP || FLook == glListView ||
                          FLook == glVista || FLook == glWin7 || FLook == glOffice2007;
        cb->SetFlat(flat);
        cb->SetEtched(flat);
        if (FNavigation->AutoComboDropSize())
            cb->SizeDropDownWidth();
        cb->setFocus(Qt::OtherFocusReason);
        if (FMouseActions->DirectComboDrop() || FControlLook->DropDownAlwaysVisible())
            cb->SetDroppedDown(true);
        if (FMouseActions->DirectEdit() && FMouseActions->DirectComboDrop()) {
            const TGridRect s = Selection();
            SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
        }
        // A list cell whose text is not among the items starts on a chosen item; the handler
        // learns which one.
        if (list && FComboDefaultChoice && cb->count() > 0) {
            const int i = cb->ItemIndex();
            const QString text = i >= 0 ? cb->itemText(i) : QString();
            if (OnComboChange)
                OnComboChange(this, realCol, ARow, i, text);
            if (OnComboObjectChange)
                OnComboObjectChange(this, realCol, ARow, i, text,
                                    i >= 0 && i < cb->Items.Count() ? cb->Items.Objects(i) : nullptr);
        }
        EditMode = true;
        PostEditorChar(cb, FStartEditChar);
        EditCtrl = cb;
        break;
    }
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit: {
        TGridSpin* sp = SpinEdit();
        sp->ReCreate();
        sp->setGeometry(R.Left, R.Top, W, H);
        sp->show();
        sp->raise();
        sp->setEnabled(true);
        sp->SetColor(cellColor);
        sp->SetExcelStyleDecimalSeparator(ExcelStyleDecimalSeparator());
        DoGetEditorProp(realCol, ARow, EditLink());
        switch (EditControl) {
        case edSpinEdit:
            sp->SetValue(LeadingInt(start));
            sp->SetSpinType(sptNormal);
            break;
        case edFloatSpinEdit:
            sp->SetFloatValue(LeadingFloat(NumberTextNormalize(start)));
            sp->SetSpinType(sptFloat);
            break;
        case edTimeSpinEdit:
            sp->SetText(start);
            sp->SetSpinType(sptTime);
            break;
        default: {
            platform::TDateTime d = 0;
            if (start.isEmpty() || !platform::TryStrToDate(start, d))
                d = platform::Now();
            sp->SetDateValue(d);
            sp->SetSpinType(sptDate);
            break;
        }
        }
        EditMode = true;
        sp->setFocus(Qt::OtherFocusReason);
        PostEditorChar(sp, FStartEditChar);
        // A press on a half of the cell's always-shown spin buttons steps once; the press is used
        // up, so that a later edit started otherwise does not step.
        const bool up = FSpinUpClick, down = FSpinDnClick;
        FSpinUpClick = false;
        FSpinDnClick = false;
        if (up)
            sp->SpinUp();
        else if (down)
            sp->SpinDown();
        EditCtrl = sp;
        break;
    }
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edMaskEditBtn: {
        TGridEditBtn* eb = FEditBtn;
        eb->ReCreate();
        eb->setGeometry(R.Left, R.Top, W, H);
        // The mask editor takes the cell's edit mask, the other types none.
        eb->setInputMask(EditControl == edMaskEditBtn ? platform::QtInputMask(GetEditMask(Col(), Row())) : QString());
        eb->SetText(start);
        eb->SetMaxLength(GetEditLimit());
        eb->show();
        eb->raise();
        eb->setEnabled(true);
        eb->SetColor(cellColor);
        EditMode = true;
        eb->setFocus(Qt::OtherFocusReason);
        PostEditorChar(eb, FStartEditChar);
        EditCtrl = eb;
        break;
    }
    case edUnitEditBtn:
    case edNumericUnitEditBtn:
    case edFloatUnitEditBtn: {
        TGridUnitEditBtn* ub = FUnitEditBtn;
        ub->ReCreate();
        ub->setGeometry(R.Left, R.Top, W, H);
        ub->SetMaxLength(GetEditLimit());
        ub->LoadCellText(start);
        DoGetEditorProp(realCol, ARow, EditLink());
        // The units a handler gave split the start text.
        ub->LoadCellText(start);
        ub->show();
        ub->raise();
        ub->setEnabled(true);
        ub->SetColor(cellColor);
        EditMode = true;
        ub->setFocus(Qt::OtherFocusReason);
        PostEditorChar(ub, FStartEditChar);
        EditCtrl = ub;
        break;
    }
    case edButton: {
        // One pixel outside the cell on every side: the button's frame covers the grid lines.
        TGridButton* b = FGridButton;
        b->ReCreate();
        b->setGeometry(R.Left - 1, R.Top - 1, W + 2, H + 2);
        b->SetText(start);
        b->show();
        b->raise();
        b->setEnabled(true);
        EditMode = true;
        b->setFocus(Qt::OtherFocusReason);
        EditCtrl = b;
        break;
    }
    case edDateEdit:
    case edDateEditUpDown: {
        TGridDatePicker* dp = DateTimePicker();
        dp->ReCreate();
        platform::TDateTime d = platform::Now();
        if (!start.isEmpty()) {
            if (OnCustomStrToDate) {
                Guarded([&] { OnCustomStrToDate(this, start, d); });
            } else if (platform::TryStrToDateTime(start, d)) {
                // A date outside the picker's range opens just inside it.
                if (dp->MaxDate() != 0 && d > dp->MaxDate())
                    d = dp->MaxDate() - 1;
                if (dp->MinDate() != 0 && d <= dp->MinDate())
                    d = dp->MinDate() + 1;
            } else {
                d = platform::Now();
            }
        }
        dp->SetDate(d);
        dp->SetKind(dtkDate);
        dp->SetDateMode(EditControl == edDateEditUpDown ? dmUpDown : dmComboBox);
        DoGetEditorProp(realCol, ARow, EditLink());
        dp->setGeometry(R.Left, R.Top, W, H);
        dp->setEnabled(true);
        dp->show();
        dp->raise();
        dp->SetColor(cellColor);
        EditMode = true;
        dp->setFocus(Qt::OtherFocusReason);
        if (FMouseActions->DirectDateDrop()) {
            QKeyEvent f4(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
            QCoreApplication::sendEvent(dp, &f4);
        }
        PostEditorChar(dp, FStartEditChar);
        EditCtrl = dp;
        break;
    }
    case edTimeEdit: {
        TGridDatePicker* dp = DateTimePicker();
        dp->ReCreate();
        platform::TDateTime t = 0;
        if (start.isEmpty() || !platform::TryStrToTime(start, t))
            t = platform::Now();
        dp->SetKind(dtkTime);
        dp->SetTime(t);
        dp->setGeometry(R.Left, R.Top, W, H);
        dp->setEnabled(true);
        dp->show();
        dp->raise();
        dp->SetColor(cellColor);
        DoGetEditorProp(realCol, ARow, EditLink());
        EditMode = true;
        dp->setFocus(Qt::OtherFocusReason);
        EditCtrl = dp;
        break;
    }
    case edDateTimeEdit: {
        TGridDateTimePicker* dp = DateAndTimePicker();
        platform::TDateTime d = 0;
        if (start.isEmpty() || !platform::TryStrToDateTime(start, d))
            d = platform::Now();
        dp->SetOriginalDateTime(d);
        dp->SetKind(dkDateTime);
        dp->SetDateTime(d);
        dp->SetBorderStyle(bsNone);
        dp->setGeometry(R.Left, R.Top, W, dp->height() < H ? H : dp->height());
        DoGetEditorProp(realCol, ARow, EditLink());
        dp->setEnabled(true);
        dp->show();
        dp->raise();
        dp->SetColor(cellColor);
        EditMode = true;
        dp->setFocus(Qt::OtherFocusReason);
        break;
    }
    case edCustom: {
        TEditLink* link = EditLink();
        if (!link)
            break;
        link->FGrid = this;
        link->FEditCell = QPoint(realCol, ARow);
        if (link->EditStyle() == esPopup) {
            if (link->AutoPopupWidth())
                link->SetPopupWidth(R.Right - R.Left);
            // The link keeps its own form and reuses it: no form of another grid or link goes.
            if (!link->FPopupForm)
                link->FPopupForm = new TEditLinkPopup(link);
            TEditLinkPopup* form = link->FPopupForm;
            const QPoint at = link->PopupLeft() == -1 || link->PopupTop() == -1
                                  ? viewport()->mapToGlobal(QPoint(R.Left, R.Top))
                                  : QPoint(link->PopupLeft(), link->PopupTop());
            form->move(at);
            form->resize(std::max(1, link->PopupWidth()), std::max(1, link->PopupHeight()));
            form->show();
            form->move(at);
            form->activateWindow();
            link->CreateEditor(form);
            link->SetRect(TRect(0, 0, link->PopupWidth(), link->PopupHeight()));
        } else {
            link->CreateEditor(viewport());
            link->SetRect(R);
        }
        link->SetVisible(true);
        link->SetCellProps(cellColor, font);
        link->SetProperties();
        DoGetEditorProp(realCol, ARow, link);
        link->SetEditorValue(start);
        EditMode = true;
        link->SetFocus(true);
        FEditActive = true;
        QWidget* c = link->GetEditControl();
        PostEditorChar(c, FStartEditChar);
        EditCtrl = c;
        break;
    }
    case edRichEdit:
        EditMode = true;
        ShowRichEditor(ACol, ARow, R, cellColor);
        break;
    case edTrackbarDropDown:
    case edMemoDropDown:
    case edCalculatorDropDown:
    case edTimePickerDropDown:
    case edDetailDropDown:
    case edGridDropDown:
    case edColorPickerDropDown:
    case edImagePickerDropDown:
    case edAdvGridDropDown:
        EditMode = true;
        ShowDropDownEditor(ACol, ARow, R, cellColor, start);
        PostEditorChar(EditCtrl, FStartEditChar);
        break;
    case edCheckBox: {
        TGridCheckBox* chk = FEditCheck;
        chk->setGeometry(R.Left, R.Top, W, H);
        chk->setText(start);
        chk->setEnabled(true);
        chk->setChecked(false);
        chk->show();
        chk->raise();
        chk->setFocus(Qt::OtherFocusReason);
        EditMode = true;
        break;
    }
    default: break;
    }
    FStartEditChar = QChar();
}

void TVerIvovavOzed::TakeBackEditorValue(int ACol, int ARow)
{
    if (TearingDown())
        return;
    FSpecialEditor = false;
    const bool blockKill = FBlockKill;
    FBlockKill = true;
    FStartEditChar = QChar();
    const int realCol = RealColIndex(ACol);
    // The grid takes the focus back before its editor control goes, so that it does not pass to
    // another control of the window.
    auto focusGrid = [this](QWidget* control) {
        QWidget* f = QApplication::focusWidget();
        if (control && f && (f == control || control->isAncestorOf(f))) {
            InvokedFocusChange = true;
            setFocus(Qt::OtherFocusReason);
            InvokedFocusChange = false;
        }
    };
    try {
        switch (EditControl) {
        case edComboEdit:
        case edComboList:
            if (EditMode) {
                EditMode = false;
                TGridCombo* cb = FEditCombo;
                cb->SetDroppedDown(false);
                const QString text = cb->KeepCellText() ? GetCurrentCell() : cb->Text();
                focusGrid(cb);
                WriteCellAtRealCol(realCol, ARow, text);
                cb->hide();
                cb->setEnabled(false);
            }
            break;
        case edSpinEdit:
        case edFloatSpinEdit:
        case edTimeSpinEdit:
        case edDateSpinEdit: {
            EditMode = false;
            TGridSpin* sp = SpinEdit();
            focusGrid(sp);
            if (!sp->KeepCellText()) {
                if (sp->AllowEmptyValue() && sp->text().trimmed().isEmpty())
                    SetCells(realCol, ARow, QString());
                else if (EditControl == edSpinEdit)
                    SetInts(realCol, ARow, sp->Value());
                else if (EditControl == edFloatSpinEdit)
                    SetFloats(realCol, ARow, sp->FloatValue());
                else if (EditControl == edTimeSpinEdit)
                    WriteCellAtRealCol(realCol, ARow, sp->text());
                else
                    SetDates(realCol, ARow, sp->DateValue());
            }
            sp->setEnabled(false);
            sp->hide();
            break;
        }
        case edEditBtn:
        case edNumericEditBtn:
        case edFloatEditBtn:
        case edMaskEditBtn:
            if (EditMode) {
                EditMode = false;
                const QString text = FEditBtn->Text();
                focusGrid(FEditBtn);
                WriteCellAtRealCol(realCol, ARow, text);
                FEditBtn->setEnabled(false);
                FEditBtn->hide();
            }
            break;
        case edUnitEditBtn:
        case edNumericUnitEditBtn:
        case edFloatUnitEditBtn: {
            const QString text = FUnitEditBtn->Text() + FUnitEditBtn->UnitID();
            // Out of edit mode before the focus moves, so that the editor's focus loss does not
            // end the edit a second time.
            EditMode = false;
            focusGrid(FUnitEditBtn);
            WriteCellAtRealCol(realCol, ARow, text);
            FUnitEditBtn->setEnabled(false);
            FUnitEditBtn->hide();
            break;
        }
        case edDateEdit:
        case edDateEditUpDown:
        case edTimeEdit: {
            TGridDatePicker* dp = DateTimePicker();
            const QString text = EditControl == edTimeEdit || dp->Checked() ? dp->text() : QString();
            EditMode = false;
            focusGrid(dp);
            WriteCellAtRealCol(realCol, ARow, text);
            dp->setEnabled(false);
            dp->hide();
            if (QCalendarWidget* cal = dp->calendarWidget(); cal && cal->window() != dp->window())
                cal->window()->hide();
            break;
        }
        case edDateTimeEdit: {
            TGridDateTimePicker* dp = DateAndTimePicker();
            const platform::TDateTime v = dp->DateTime();
            const platform::TFormatSettings& fs = platform::FormatSettings();
            const QString text = dp->Checked() ? platform::FormatDateTime(fs.ShortDateFormat, v) + QLatin1Char(' ') +
                                                     platform::FormatDateTime(fs.ShortTimeFormat, v)
                                               : QString();
            EditMode = false;
            focusGrid(dp);
            WriteCellAtRealCol(realCol, ARow, text);
            dp->setEnabled(false);
            dp->hide();
            break;
        }
        case edCustom:
            if (TEditLink* link = EditLink()) {
                focusGrid(link->GetEditControl());
                WriteCellAtRealCol(realCol, ARow, link->GetEditorValue());
                if (link->EditStyle() == esInplace)
                    link->SetVisible(false);
                link->RestoreWinProc();
            }
            EditMode = false;
            break;
        case edButton:
            focusGrid(FGridButton);
            FGridButton->setEnabled(false);
            FGridButton->hide();
            EditMode = false;
            break;
        case edRichEdit:
            TakeBackRichEditor(ACol, ARow);
            EditMode = false;
            break;
        case edTrackbarDropDown:
        case edMemoDropDown:
        case edCalculatorDropDown:
        case edTimePickerDropDown:
        case edDetailDropDown:
        case edGridDropDown:
        case edColorPickerDropDown:
        case edImagePickerDropDown:
        case edAdvGridDropDown: TakeBackDropDownEditor(realCol, ARow); break;
        case edCheckBox:
            focusGrid(FEditCheck);
            FEditCheck->setEnabled(false);
            FEditCheck->hide();
            EditMode = false;
            break;
        default: break;
        }
        if (EditControl != edNormal && FEditActive)
            SignalEditDone(realCol, ARow);
    } catch (...) {
        FBlockKill = blockKill;
        FEditActive = false;
        throw;
    }
    FBlockKill = false;
    FEditActive = false;
}

// ---- notices of the editor controls ----------------------------------------------------------

void TVerIvovavOzed::ComboSelChange(bool EditChange)
{
    if (!EditMode || (EditControl != edComboEdit && EditControl != edComboList))
        return;
    TGridCombo* cb = FEditCombo;
    int i = cb->ItemIndex();
    // Typed text that is no longer the selected item's counts as no selection.
    if (EditChange && i >= 0 && cb->itemText(i) != cb->Text())
        i = -1;
    const QString s = i == -1 ? cb->Text() : cb->itemText(i);
    if (OnComboChange)
        OnComboChange(this, RealCol(), Row(), i, s);
    if (OnComboObjectChange)
        OnComboObjectChange(this, RealCol(), Row(), i, s, i >= 0 && i < cb->Items.Count() ? cb->Items.Objects(i) : nullptr);
    // Typing is reported a second time, with the displayed column and the text alone.
    if (EditChange && OnComboChange)
        OnComboChange(this, Col(), Row(), -1, cb->Text());
}

void TVerIvovavOzed::ComboCloseUp()
{
    TGridCombo* cb = FEditCombo;
    if (FMouseActions->DirectComboClose() && EditMode) {
        // A chosen item becomes the text; typed free text without a chosen item stays.
        if (cb->ItemIndex() >= 0)
            cb->SetText(cb->itemText(cb->ItemIndex()));
        ComboSelChange(false);
        EditControl = edComboEdit;
        EditMode = true;
        const bool directEdit = FMouseActions->DirectEdit();
        FMouseActions->SetDirectEdit(false);
        try {
            HideInplaceEdit();
            SetFocus();
        } catch (...) {
            FMouseActions->SetDirectEdit(directEdit);
            throw;
        }
        FMouseActions->SetDirectEdit(directEdit);
    }
    DoComboCloseUp(RealCol(), Row());
}

void TVerIvovavOzed::ComboDropDown() { DoComboDropDown(RealCol(), Row()); }

void TVerIvovavOzed::InplaceTextChanged(const QString& Text)
{
    // The cell follows the text of the in-place, spin and edit-with-button editors as it changes.
    const TEditorType t = EditControl;
    const bool follows = IsInplaceType(t) || t == edSpinEdit || t == edFloatSpinEdit || t == edTimeSpinEdit ||
                         t == edDateSpinEdit || t == edEditBtn || t == edNumericEditBtn || t == edFloatEditBtn ||
                         t == edMaskEditBtn;
    if (!FShowEditProcess || FEditStart || !EditMode || !follows)
        return;
    StoreEditText(Col(), Row(), Text);
}

void TVerIvovavOzed::DoEditChange(int ACol, int ARow, const QString& Value)
{
    if (OnEditChange)
        OnEditChange(this, ACol, ARow, Value);
}
