#include "grid/AsgComboBox.h"

#include "platform/PlatformInfo.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "render/AdvXPVS.h"
#include "platform/Property.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionComplex>

namespace AsgCombo {

TPoint LabelOrigin(TLabelPosition position, const TRect& box, const TSize& labelSize, int textWidth, int margin)
{
    const int L = box.Left, T = box.Top, W = box.Width(), H = box.Height();
    const int LW = labelSize.cx, LH = labelSize.cy, TW = textWidth, M = margin;
    switch (position) {
    case lpLeftTop: return {L - TW - M, T};
    case lpLeftCenter: return {L - TW - M, T + (H - LH) / 2};
    case lpLeftBottom: return {L - TW - M, T + H - LH};
    case lpTopLeft: return {L, T - LH - M};
    case lpBottomLeft: return {L, T + H + M};
    case lpLeftTopLeft: return {L - M, T};
    case lpLeftCenterLeft: return {L - M, T + (H - LH) / 2};
    case lpLeftBottomLeft: return {L - M, T + H - LH};
    case lpTopCenter: return {L + (W - LW) / 2, T - LH - M};
    case lpBottomCenter: return {L + (W - LW) / 2, T + H + M};
    case lpRightTop: return {L + W + M, T};
    case lpRightCenter: return {L + W + M, T + (H - LH) / 2};
    case lpRighBottom: return {L + W + M, T + H - LH};
    }
    return {L, T};
}

TSize LabelTextSize(const QString& caption, const TFont& font)
{
    TCanvas canvas;
    canvas.Font().Assign(font);
    TRect r(0, 0, 1000, 255);
    DrawText(canvas, caption, r, DT_CALCRECT | DT_HIDEPREFIX);
    return {r.Width(), r.Height()};
}

bool VisualStylesActive()
{
    if (!platform::PlatformInfo().IsComCtl6OrLater())
        return false;
    const TVisualStyleTable& t = AdvXPVS::Table();
    return t.Loaded && t.IsThemeActive() && t.IsThemeActive()();
}

TColor ParentBrushColor(const QWidget* control)
{
    const QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent)
        return ColorToRGB(clBtnFace);
    return FromQColor(parent->palette().color(parent->backgroundRole()));
}

} // namespace AsgCombo

using namespace AsgCombo;

namespace {

// Keeps the canvas tools and the clip of one painting step. (A clip switched off and set again
// through the canvas is not always honoured by the painter, so the painter's own state is kept.)
class TPaintStep {
public:
    explicit TPaintStep(TCanvas& canvas)
        : FCanvas(canvas), FFont(canvas.Font()), FBrush(canvas.Brush()), FPen(canvas.Pen())
    {
        if (FCanvas.Painter())
            FCanvas.Painter()->save();
    }
    ~TPaintStep()
    {
        FCanvas.Font().Assign(FFont);
        FCanvas.Brush().Assign(FBrush);
        FCanvas.Pen().Assign(FPen);
        if (FCanvas.Painter())
            FCanvas.Painter()->restore();
    }
    TPaintStep(const TPaintStep&) = delete;
    TPaintStep& operator=(const TPaintStep&) = delete;

private:
    TCanvas& FCanvas;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
};

// The system combo's own width of its drop-down button: the vertical scroll bar's width.
constexpr int SystemScrollWidth = 17;

// Tells the combo machinery where the edit field and the button of our combos are, and puts
// the list below the box.
class TComboGeometry : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* widget) const override
    {
        const auto* combo = qobject_cast<const TAsgCustomCombo*>(widget);
        if (cc == CC_ComboBox && combo && opt) {
            const int w = opt->rect.width(), h = opt->rect.height();
            const int bw = combo->Style() == csSimple ? 0 : combo->ButtonWidth();
            switch (sc) {
            case SC_ComboBoxEditField: return ToQRect(TRect(3, 3, std::max(3, w - 2 - bw), std::max(3, h - 3)));
            case SC_ComboBoxArrow: return ToQRect(TRect(w - 2 - bw, 0, w, h));
            case SC_ComboBoxFrame:
            case SC_ComboBoxListBoxPopup: return opt->rect;
            default: break;
            }
        }
        return QProxyStyle::subControlRect(cc, opt, sc, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

// One geometry style for every combo, living as long as the application.
QStyle* ComboGeometry()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new TComboGeometry();
        style->setParent(qApp);
    }
    return style;
}

} // namespace

// ---- construction ------------------------------------------------------------------------------

TAsgCustomCombo::TAsgCustomCombo(QWidget* AOwner) : QComboBox(AOwner)
{
    setStyle(ComboGeometry());
    setMouseTracking(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
    FButtonWidth = SystemScrollWidth + 2;
    FIsThemed = platform::PlatformInfo().IsComCtl6OrLater();
    FLabelFont = std::make_unique<TFont>(TFont::FromQFont(font()));
    FLabelFont->OnChange = [this] { LabelFontChange(); };
    // A box made at run time gets no Loaded pass: it starts with its colour as the normal one, so
    // that a focus cycle with a focus colour brings that colour back.
    FNormalColor = FColor;
    SetStyle(csDropDown);
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) { Activated(index); });
    ApplyColor();
}

TAsgCustomCombo::~TAsgCustomCombo()
{
    FDestroying = true;
    if (QWidget* popup = view() ? view()->window() : nullptr)
        popup->removeEventFilter(this);
    delete FLabel.data();
}

void TAsgCustomCombo::Loaded()
{
    FLoading = false;
    if (FDropWidth > 0)
        SetDropWidth(FDropWidth);
    FOldColor = FLoadedColor;
    if (!FFlatParentColor || FFlat)
        SetColor(FLoadedColor);
    if (FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->setEnabled(isEnabled());
    }
    UpdateLabel();
    Init();
}

void TAsgCustomCombo::Init()
{
    FNormalColor = FColor;
}

// ---- property writers --------------------------------------------------------------------------

void TAsgCustomCombo::SetButtonWidth(int Value)
{
    if (Value < 14 || Value > 32)
        return;
    FButtonWidth = Value;
    if (lineEdit()) {
        // The edit field ends where the button starts.
        QResizeEvent re(size(), size());
        QComboBox::resizeEvent(&re);
    }
    update();
}

void TAsgCustomCombo::SetFlat(bool Value)
{
    if (!platform::Change(FFlat, Value))
        return;
    FCtl3D = !Value;
    if (FFlatParentColor && Value) {
        if (parentWidget())
            SetColor(ParentBrushColor(this));
    } else {
        SetColor(FLoadedColor);
    }
    update();
}

void TAsgCustomCombo::SetDropWidth(int Value)
{
    FDropWidth = Value;
    if (Value > 0 && view())
        view()->setMinimumWidth(Value);
}

void TAsgCustomCombo::SetLabelCaption(const QString& Value)
{
    if (!FLabel) {
        FLabel = new QLabel(parentWidget());
        FLabel->setBuddy(this);
        FLabel->setProperty("kt_parentFont", FParentFont);
        if (!FLabelAlwaysEnabled)
            FLabel->setEnabled(isEnabled());
    }
    FLabel->setText(Value);
    UpdateLabel();
}

void TAsgCustomCombo::SetLabelAlwaysEnabled(bool Value)
{
    FLabelAlwaysEnabled = Value;
    if (FLabel) {
        if (Value)
            FLabel->setEnabled(true);
        UpdateLabel();
    }
}

void TAsgCustomCombo::SetColor(TColor Value)
{
    if (FLoading)
        FLoadedColor = Value;
    FColor = Value;
    FParentColor = false;
    ApplyColor();
    update();
}

void TAsgCustomCombo::SetParentFont(bool Value)
{
    FParentFont = Value;
    if (Value && parentWidget())
        setFont(parentWidget()->font());
}

void TAsgCustomCombo::SetParentColor(bool Value)
{
    FParentColor = Value;
    if (Value) {
        FColor = ParentBrushColor(this);
        ApplyColor();
        update();
    }
}

void TAsgCustomCombo::SetFont(const TFont& Value)
{
    FParentFont = false;
    setFont(Value.ToQFont());
}

void TAsgCustomCombo::ApplyColor()
{
    QPalette p = palette();
    const QColor c = ToQColor(FColor == clNone ? clWindow : FColor);
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Button, c);
    setPalette(p);
    if (QLineEdit* edit = lineEdit()) {
        QPalette ep = edit->palette();
        ep.setColor(QPalette::Base, c);
        edit->setPalette(ep);
    }
}

// ---- the usual combo properties ----------------------------------------------------------------

void TAsgCustomCombo::SetStyle(TComboBoxStyle Value)
{
    FStyle = Value;
    const bool editable = Value == csDropDown || Value == csSimple;
    if (editable != isEditable() || (editable && !lineEdit())) {
        // Leaving the editable style, the combo only schedules its line edit's deletion; that
        // edit forwards focus to the combo, so deleting it later would take the focus from a combo
        // opened in the meantime (and end a grid edit that just started). It goes now.
        QLineEdit* oldEdit = editable ? nullptr : lineEdit();
        setEditable(editable);
        if (oldEdit) {
            oldEdit->setFocusProxy(nullptr);
            delete oldEdit;
        }
        if (editable)
            ConnectEdit();
    }
    if (editable) {
        QResizeEvent re(size(), size());
        QComboBox::resizeEvent(&re);
    }
    update();
}

void TAsgCustomCombo::ConnectEdit()
{
    QLineEdit* edit = lineEdit();
    if (!edit)
        return;
    setCompleter(nullptr);
    edit->setFrame(false);
    FCurEditText = edit->text();
    FPrevEditText = FCurEditText;
    // textChanged comes before textEdited for the same change, so the edit handler finds the
    // text as it was before the user's change here.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        FPrevEditText = FCurEditText;
        FCurEditText = text;
    });
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { EditTextEdited(text); });
    ApplyMaxLength();
    ApplyColor();
}

QStringList TAsgCustomCombo::Items() const
{
    QStringList list;
    for (int i = 0; i < count(); ++i)
        list.append(itemText(i));
    return list;
}

void TAsgCustomCombo::SetItems(const QStringList& Value)
{
    // Refilling the list keeps the typed text and selects nothing.
    const QString text = isEditable() ? currentText() : QString();
    QStringList list = Value;
    if (FSorted)
        std::stable_sort(list.begin(), list.end(),
                         [](const QString& a, const QString& b) { return platform::AnsiCompareText(a, b) < 0; });
    const QSignalBlocker block(this);
    clear();
    addItems(list);
    setCurrentIndex(-1);
    if (isEditable())
        setEditText(text);
    update();
}

void TAsgCustomCombo::AddItem(const QString& Value)
{
    const int keep = currentIndex();
    const QString text = isEditable() ? currentText() : QString();
    const QSignalBlocker block(this);
    int at = count();
    if (FSorted) {
        at = 0;
        while (at < count() && platform::AnsiCompareText(itemText(at), Value) <= 0)
            ++at;
    }
    insertItem(at, Value);
    setCurrentIndex(keep < 0 ? -1 : (at <= keep ? keep + 1 : keep));
    if (isEditable())
        setEditText(text);
}

void TAsgCustomCombo::ClearItems()
{
    SetItems({});
}

void TAsgCustomCombo::SetItemIndex(int Value)
{
    const QSignalBlocker block(this);
    setCurrentIndex(Value >= 0 && Value < count() ? Value : -1);
    update();
}

void TAsgCustomCombo::SetSorted(bool Value)
{
    if (!platform::Change(FSorted, Value))
        return;
    if (Value) {
        const QString current = currentIndex() >= 0 ? itemText(currentIndex()) : QString();
        const bool had = currentIndex() >= 0;
        SetItems(Items());
        if (had)
            SetItemIndex(findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
}

void TAsgCustomCombo::SetCharCase(TEditCharCase Value)
{
    FCharCase = Value;
    if (QLineEdit* edit = lineEdit()) {
        if (Value == ecUpperCase)
            edit->setText(edit->text().toUpper());
        else if (Value == ecLowerCase)
            edit->setText(edit->text().toLower());
    }
}

QString TAsgCustomCombo::Text() const
{
    if (isEditable())
        return currentText();
    return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void TAsgCustomCombo::SetText(const QString& Value)
{
    const QSignalBlocker block(this);
    if (isEditable()) {
        setEditText(Value);
    } else {
        int i = findText(Value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i < 0)
            i = findText(Value, Qt::MatchFixedString);
        setCurrentIndex(i);
    }
    update();
}

void TAsgCustomCombo::SetMaxLength(int Value)
{
    FMaxLength = Value < 0 ? 0 : Value;
    ApplyMaxLength();
}

void TAsgCustomCombo::ApplyMaxLength()
{
    // The limit holds for what the user types or pastes (see EditTextEdited), not for text set
    // by the program: a longer text loaded from a file stays whole, where the edit's own maximum
    // would cut it.
    if (QLineEdit* edit = lineEdit())
        edit->setMaxLength(32767);
}

void TAsgCustomCombo::SetDroppedDown(bool Value)
{
    if (Value == FDroppedDown)
        return;
    if (Value)
        showPopup();
    else
        hidePopup();
}

void TAsgCustomCombo::SelectItem(const QString& AString)
{
    const int i = findText(AString, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0)
        SetItemIndex(i);
}

void TAsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    setGeometry(ALeft, ATop, AWidth, AHeight);
    if (!FDestroying)
        UpdateLabel();
}

// ---- label -------------------------------------------------------------------------------------

void TAsgCustomCombo::UpdateLabel()
{
    if (!FLabel || FDestroying)
        return;
    if (FLabel->parentWidget() != parentWidget())
        FLabel->setParent(parentWidget());
    FLabel->setAutoFillBackground(!FLabelTransparent);
    const bool parentFont = FLabel->property("kt_parentFont").toBool();
    TFont f = parentFont ? TFont::FromQFont(font()) : *FLabelFont;
    if (FLabel->property("kt_bold").toBool())
        f.SetStyle(f.Style() | fsBold);
    FLabel->setFont(f.ToQFont());
    const TSize ts = LabelTextSize(FLabel->text(), f);
    const TRect box = FromQRect(geometry());
    const TPoint at = LabelOrigin(FLabelPosition, box, ts, ts.cx, FLabelMargin);
    FLabel->setGeometry(at.X, at.Y, ts.cx, ts.cy);
    FLabel->setVisible(!isHidden() && parentWidget() != nullptr);
}

void TAsgCustomCombo::LabelFontChange()
{
    UpdateLabel();
}

void TAsgCustomCombo::SetLabelBold(bool bold)
{
    if (!FLabel)
        return;
    FLabel->setProperty("kt_bold", bold);
    // The label keeps its place and grows or shrinks with its text.
    const bool parentFont = FLabel->property("kt_parentFont").toBool();
    TFont f = parentFont ? TFont::FromQFont(font()) : *FLabelFont;
    if (bold)
        f.SetStyle(f.Style() | fsBold);
    FLabel->setFont(f.ToQFont());
    const TSize ts = LabelTextSize(FLabel->text(), f);
    FLabel->resize(ts.cx, ts.cy);
}

void TAsgCustomCombo::setVisible(bool visible)
{
    QComboBox::setVisible(visible);
    if (FLabel && !FDestroying)
        FLabel->setVisible(visible && parentWidget() != nullptr);
}

// ---- focus, pointer, keys ----------------------------------------------------------------------

bool TAsgCustomCombo::Active() const
{
    return FHasFocus || FDroppedDown;
}

void TAsgCustomCombo::DoEnter()
{
    FHasFocus = true;
    if (FFocusColor != clNone)
        SetColor(FFocusColor);
    if (FFocusLabel && !FLoading)
        SetLabelBold(true);
    update();
    if (OnEnter)
        OnEnter(this);
}

void TAsgCustomCombo::DoExit()
{
    FHasFocus = false;
    if (FFocusColor != clNone && FNormalColor != clNone)
        SetColor(FNormalColor);
    if (FFocusLabel)
        SetLabelBold(false);
    update();
    if (OnExit)
        OnExit(this);
}

void TAsgCustomCombo::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    // The list dropping down and closing again leaves the focus where it was.
    if (event->reason() == Qt::PopupFocusReason || FHasFocus)
        return;
    try {
        DoEnter();
    } catch (...) {
    }
}

void TAsgCustomCombo::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason || !FHasFocus)
        return;
    // The list takes the keyboard focus while it is open (on some platforms with an ordinary
    // focus change, not a pop-up one): the box has not been left.
    if (view() && QApplication::activePopupWidget() == view()->window())
        return;
    try {
        DoExit();
    } catch (...) {
    }
}

void TAsgCustomCombo::CMMouseEnter()
{
    if (!FMouseInControl && isEnabled()) {
        FMouseInControl = true;
        update();
    }
    if (FAutoFocus) {
        const QWidget* form = window();
        if (form == this || form->isActiveWindow())
            setFocus(Qt::MouseFocusReason);
    }
    if (FIsWinXP)
        update();
}

void TAsgCustomCombo::CMMouseLeave()
{
    if (FMouseInControl && isEnabled()) {
        FMouseInControl = false;
        update();
    }
    FButtonHover = false;
    if (FIsWinXP)
        update();
}

void TAsgCustomCombo::enterEvent(QEnterEvent* event)
{
    QComboBox::enterEvent(event);
    try {
        CMMouseEnter();
    } catch (...) {
    }
}

void TAsgCustomCombo::leaveEvent(QEvent* event)
{
    QComboBox::leaveEvent(event);
    try {
        CMMouseLeave();
    } catch (...) {
    }
}

void TAsgCustomCombo::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    const bool hover = width() - FButtonWidth < x && x < width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        update();
    }
    QComboBox::mouseMoveEvent(event);
}

void TAsgCustomCombo::mousePressEvent(QMouseEvent* event)
{
    FMouseDown = true;
    update();
    QComboBox::mousePressEvent(event);
}

void TAsgCustomCombo::mouseReleaseEvent(QMouseEvent* event)
{
    FMouseDown = false;
    update();
    QComboBox::mouseReleaseEvent(event);
}

void TAsgCustomCombo::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TAsgCustomCombo::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
    if (FCharCase == ecUpperCase)
        Key = Key.toUpper();
    else if (FCharCase == ecLowerCase)
        Key = Key.toLower();
}

void TAsgCustomCombo::KeyUp(Word& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TAsgCustomCombo::keyPressEvent(QKeyEvent* event)
{
    // The text before this key, for the length limit of what it types or pastes (the program
    // may have set the text with the edit's signals held back).
    if (QLineEdit* edit = lineEdit()) {
        FPrevEditText = edit->text();
        FCurEditText = FPrevEditText;
    }
    QPointer<TAsgCustomCombo> self(this);
    QChar typed;
    bool consumed = false;
    Word lastKey = 0;
    try {
        consumed = platform::DeliverKey(
            event,
            [&](uint16_t& key, TShiftState shift) {
                Word k = key;
                KeyDown(k, shift);
                key = k;
                lastKey = k;
            },
            [&](QChar& ch) {
                if (self)
                    KeyPress(ch);
                typed = ch;
            });
    } catch (...) {
        consumed = true;
    }
    if (!self)
        return;
    event->accept();
    if (consumed)
        return;
    FEditKeyDeletes = lastKey == VK_BACK || lastKey == VK_DELETE;
    const bool printable = !typed.isNull() && typed.unicode() >= 32;
    if (printable && !isEditable() && FAutoComplete) {
        ListAutoComplete(typed);
        return;
    }
    if (!typed.isNull() && event->text() != QString(typed)) {
        QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(typed), event->isAutoRepeat(),
                          ushort(event->count()));
        QComboBox::keyPressEvent(&changed);
    } else {
        QComboBox::keyPressEvent(event);
    }
    if (self && printable && isEditable() && FAutoComplete)
        EditAutoComplete();
}

void TAsgCustomCombo::keyReleaseEvent(QKeyEvent* event)
{
    const Word vk = platform::VirtualKeyOf(event->key(), event->modifiers());
    if (vk) {
        Word k = vk;
        try {
            KeyUp(k, platform::ShiftStateOf(event->modifiers()));
        } catch (...) {
        }
        if (k == 0) {
            event->accept();
            return;
        }
    }
    QComboBox::keyReleaseEvent(event);
}

bool TAsgCustomCombo::ListAutoComplete(QChar ch)
{
    // Letters typed within the delay of each other make one search text.
    const uint32_t now = platform::GetTickCount();
    if (FSearchText.isEmpty() || now - FLastKeyTick >= uint32_t(std::max(0, FAutoCompleteDelay)))
        FSearchText.clear();
    FLastKeyTick = now;
    FSearchText.append(ch);
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).startsWith(FSearchText, Qt::CaseInsensitive)) {
            if (i != currentIndex()) {
                SetItemIndex(i);
                Activated(i);
            }
            return true;
        }
    }
    return false;
}

void TAsgCustomCombo::EditAutoComplete()
{
    QLineEdit* edit = lineEdit();
    if (!edit || FEditKeyDeletes || edit->hasSelectedText() || edit->cursorPosition() != edit->text().length())
        return;
    const QString typed = edit->text();
    if (typed.isEmpty())
        return;
    for (int i = 0; i < count(); ++i) {
        const QString item = itemText(i);
        if (item.startsWith(typed, Qt::CaseInsensitive)) {
            {
                const QSignalBlocker block(this);
                setCurrentIndex(i);
            }
            edit->setText(item);
            edit->setSelection(typed.length(), item.length() - typed.length());
            return;
        }
    }
}

void TAsgCustomCombo::EditTextEdited(const QString& text)
{
    QLineEdit* edit = lineEdit();
    if (edit && FMaxLength > 0 && text.size() > FMaxLength && text.size() > FPrevEditText.size()) {
        // Keep what fits of the characters just typed or pasted (those before the caret); a text
        // that was longer already may shrink but not grow.
        const qsizetype allowed = std::max<qsizetype>(FMaxLength, FPrevEditText.size());
        const int cursor = edit->cursorPosition();
        const int cut = int(std::min<qsizetype>(text.size() - allowed, cursor));
        QString kept = text;
        kept.remove(cursor - cut, cut);
        edit->setText(kept);
        edit->setCursorPosition(cursor - cut);
        if (kept == FPrevEditText)
            return;
    }
    Change();
}

void TAsgCustomCombo::Activated(int)
{
    QPointer<TAsgCustomCombo> self(this);
    try {
        Click();
        if (self)
            Select();
    } catch (...) {
    }
}

void TAsgCustomCombo::Change()
{
    if (OnChange)
        OnChange(this);
}

void TAsgCustomCombo::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TAsgCustomCombo::Click()
{
    if (OnClick)
        OnClick(this);
}

void TAsgCustomCombo::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TAsgCustomCombo::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

// ---- drop-down ---------------------------------------------------------------------------------

void TAsgCustomCombo::showPopup()
{
    if (FDroppedDown)
        return;
    QPointer<TAsgCustomCombo> self(this);
    try {
        DropDown();
    } catch (...) {
    }
    if (!self)
        return;
    QComboBox::showPopup();
    QWidget* popup = view() ? view()->window() : nullptr;
    if (!popup || !popup->isVisible())
        return;
    FDroppedDown = true;
    popup->removeEventFilter(this);
    popup->installEventFilter(this);
    if (FDropWidth > 0 && popup->width() < FDropWidth)
        popup->resize(FDropWidth, popup->height());
    InvalidateButtonArea();
}

void TAsgCustomCombo::hidePopup()
{
    QComboBox::hidePopup();
    if (FDroppedDown)
        PopupClosed();
}

bool TAsgCustomCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && FDroppedDown && view() && watched == view()->window())
        PopupClosed();
    return QComboBox::eventFilter(watched, event);
}

void TAsgCustomCombo::PopupClosed()
{
    FDroppedDown = false;
    FMouseDown = false;
    InvalidateButtonArea();
    QPointer<TAsgCustomCombo> self(this);
    try {
        CloseUp();
        if (self && OnDropUp)
            OnDropUp(this);
    } catch (...) {
    }
}

void TAsgCustomCombo::InvalidateButtonArea()
{
    update(ToQRect(TRect(width() - FButtonWidth, 0, width(), height())));
}

// ---- geometry and state changes ----------------------------------------------------------------

void TAsgCustomCombo::moveEvent(QMoveEvent* event)
{
    QComboBox::moveEvent(event);
    if (!FDestroying)
        UpdateLabel();
}

void TAsgCustomCombo::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    if (!FDestroying)
        UpdateLabel();
}

void TAsgCustomCombo::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (FDestroying)
        return;
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (FFlat && !FLoading) {
            if (!isEnabled()) {
                FOldParentColor = FParentColor;
                FOldColor = FColor;
                FColor = ParentBrushColor(this);
                FParentColor = true;
                ApplyColor();
            } else {
                FColor = FOldColor;
                FParentColor = FOldParentColor;
                ApplyColor();
            }
        }
        if (!FLoading && FLabel) {
            if (!FLabelAlwaysEnabled)
                FLabel->setEnabled(isEnabled());
            UpdateLabel();
        }
        update();
        break;
    case QEvent::FontChange:
        if (FLabel && FLabel->property("kt_parentFont").toBool())
            UpdateLabel();
        break;
    case QEvent::ParentChange:
        if (FLabel) {
            FLabel->setParent(parentWidget());
            UpdateLabel();
        }
        break;
    default: break;
    }
}

// ---- painting ----------------------------------------------------------------------------------

bool TAsgCustomCombo::OwnerDrawn() const
{
    return FFlat || FButtonColor != clNone || FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus) ||
           (!isEnabled() && VisualStylesActive() && !FDisabledBorder);
}

void TAsgCustomCombo::paintEvent(QPaintEvent*)
{
    if (FDestroying)
        return;
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintTo(canvas);
    } catch (...) {
    }
}

void TAsgCustomCombo::PaintTo(TCanvas& Canvas)
{
    const int w = width(), h = height();
    if (FIsVista && FButtonColor == clNone) {
        PaintInherited(Canvas);
    } else if (OwnerDrawn()) {
        {
            TPaintStep step(Canvas);
            if (FStyle != csSimple) {
                FillColor(Canvas, TRect(0, 0, w, h), FColor);
                DrawButton(Canvas);
            }
            PaintInherited(Canvas);
        }
        TPaintStep step(Canvas);
        DrawBorders(Canvas);
    } else {
        PaintInherited(Canvas);
    }
    // The frame pass (what the non-client painting adds).
    const bool frame1 = FFlat || (!isEnabled() && VisualStylesActive() && !FDisabledBorder);
    const bool frame2 = (FFocusBorderColor != clNone && FHasFocus) || FBorderColor != clNone;
    for (bool pass : {frame1, frame2}) {
        if (!pass)
            continue;
        TPaintStep step(Canvas);
        DrawBorders(Canvas);
    }
}

void TAsgCustomCombo::PaintInherited(TCanvas& Canvas)
{
    const bool enabled = isEnabled();
    TRect r(0, 0, width(), height());
    DrawEdge(Canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | (FCtl3D ? 0u : BF_FLAT));
    FillColor(Canvas, r, enabled ? FColor : clBtnFace);
    if (FStyle != csSimple) {
        const TRect b(r.Right - SystemScrollWidth, r.Top, r.Right, r.Bottom);
        unsigned state = DFCS_SCROLLCOMBOBOX;
        if (!enabled)
            state |= DFCS_INACTIVE;
        else if (FDroppedDown && FMouseDown)
            state |= DFCS_PUSHED | DFCS_FLAT;
        DrawFrameControl(Canvas, b, DFC_SCROLL, state);
        r.Right = b.Left;
    }
    if (isEditable())
        return; // the edit field shows the text
    TRect t = r;
    InflateRect(t, -1, -1);
    const bool selected = hasFocus() && !FDroppedDown && enabled;
    if (selected)
        FillColor(Canvas, t, clHighlight);
    Canvas.Font().Assign(TFont::FromQFont(font()));
    Canvas.Font().SetColor(!enabled ? clGrayText : (selected ? clHighlightText : clWindowText));
    Canvas.Brush().SetStyle(bsClear);
    TRect tr = t;
    tr.Left += 2;
    DrawText(Canvas, Text(), tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (selected) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(clHighlight);
        Canvas.Font().SetColor(clHighlightText);
        Canvas.DrawFocusRect(t);
    }
}

void TAsgCustomCombo::DrawButton(TCanvas& Canvas)
{
    const int w = width(), h = height();
    TRect br(w - FButtonWidth + 2, 0, w, h);
    InflateRect(br, -1, -1);
    if (FButtonColor == clNone) {
        bool drawn = false;
        if (VisualStylesActive())
            drawn = AdvXPVS::Table().DrawPart(this, Canvas, u"combobox", 1,
                                  DropButtonThemeState(isEnabled(), FMouseDown, FButtonHover, FDroppedDown), br);
        if (!drawn) {
            br.Left -= 4;
            br.Top += 1;
            br.Bottom -= 1;
            DrawFrameControl(Canvas, br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (isEnabled() ? DFCS_FLAT : DFCS_INACTIVE));
        }
    } else {
        InflateRect(br, -1, -1);
        PaintColoredDropButton(Canvas, br, br, 4, FButtonHover, FMouseDown);
    }
    Canvas.ExcludeClipRect(TRect(w - FButtonWidth - 4, 0, w + 2, h));
}

void TAsgCustomCombo::DrawBorders(TCanvas& Canvas)
{
    if ((isEnabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) ||
        (FIsVista && FBorderColor == clNone))
        return;
    DrawControlBorder(Canvas);
    if (FStyle != csSimple && !(FIsWinXP && VisualStylesActive()))
        DrawButtonBorder(Canvas);
}

void TAsgCustomCombo::DrawControlBorder(TCanvas& Canvas)
{
    const int w = width(), h = height();
    TRect r(0, 0, w, h);
    if (!isEnabled() && VisualStylesActive() && !FDisabledBorder) {
        FrameColor(Canvas, r, 0xB99D7F);
        return;
    }
    const bool focusFrame = FHasFocus && FFocusBorderColor != clNone;
    if (FBorderColor != clNone && !focusFrame) {
        FrameColor(Canvas, r, FBorderColor);
        return;
    }
    if (focusFrame) {
        FrameColor(Canvas, r, FFocusBorderColor);
        return;
    }
    if (FFocusBorderColor != clNone)
        return; // only a focus colour, and no focus: the plain border stays
    const bool look3D = (FMouseInControl || Active()) && FFocusBorder;
    const TColor outer = look3D ? clBtnFace : ParentBrushColor(this);
    FrameBoxBorder(Canvas, r, look3D, outer, FColor, FButtonWidth);
    if (FFlat && FFlatLineColor != clNone) {
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetColor(FFlatLineColor);
        Canvas.MoveTo(r.Left - 2, h - 1);
        Canvas.LineTo(r.Right - FButtonWidth - 1, h - 1);
    }
}

void TAsgCustomCombo::DrawButtonBorder(TCanvas& Canvas)
{
    const int w = width(), h = height();
    Canvas.ExcludeClipRect(TRect(w - FButtonWidth + 4, 4, w - 4, h - 4));
    TRect br(w - FButtonWidth - 2, 0, w, h);
    InflateRect(br, -2, -2);
    if (!FMouseInControl && !Active())
        FillColor(Canvas, TRect(br.Left, br.Top + 1, br.Right - 1, br.Bottom - 1), clBtnFace);
    Canvas.ExcludeClipRect(br);
}
