// The memo drop-down: the memo on the pop-up, the edit's display of the first line, and the
// hand-over of the text between the memo, MemoText and the edit.
#include "dropdown/AdvMemoDropDown.h"

#include <QApplication>
#include <QMenu>
#include <QTextBlock>

using namespace platform;

// ---- the memo ----------------------------------------------------------------------------------

TDropDownMemo::TDropDownMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    connect(this, &QPlainTextEdit::textChanged, this, [this]() { Limit(); });
}

void TDropDownMemo::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    Limit();
}

void TDropDownMemo::Limit()
{
    // The memo keeps no more than MaxLength characters: what goes beyond is taken back.
    if (FLimiting || FMaxLength <= 0)
        return;
    const QString t = toPlainText();
    if (t.size() <= FMaxLength)
        return;
    FLimiting = true;
    QTextCursor c = textCursor();
    const int pos = std::min(c.position(), FMaxLength);
    const int excess = int(t.size()) - FMaxLength;
    // Remove the excess just before the caret (what was typed or pasted last).
    const int from = std::max(0, c.position() - excess);
    QTextCursor cut(document());
    cut.setPosition(from);
    cut.setPosition(std::min(int(t.size()), from + excess), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    c = textCursor();
    c.setPosition(std::min(pos, int(toPlainText().size())));
    setTextCursor(c);
    FLimiting = false;
}

void TDropDownMemo::SetLines(const TStringList& Lines)
{
    QStringList lines;
    for (int i = 0; i < Lines.Count(); ++i)
        lines << Lines.Strings(i);
    setPlainText(lines.join(QLatin1Char('\n')));
}

// ---- the drop-down -----------------------------------------------------------------------------

TAdvMemoDropDown::TAdvMemoDropDown(QWidget* AOwner) : TAdvCustomDropDown(AOwner) {}

TAdvMemoDropDown::~TAdvMemoDropDown()
{
    if (FMemoText)
        FMemoText->OnChange = nullptr;
}

void TAdvMemoDropDown::Create()
{
    TAdvCustomDropDown::Create(); // builds the pop-up and the memo
    FMemoText = std::make_unique<TStringList>();
    FMemoText->OnChange = [this]() { MemoTextChanged(); };
    FMemoScrollBars = ssNone;
    FMemoReadOnly = false;
    FInternalUpdate = false;
    FAutoDrop = false;
}

void TAdvMemoDropDown::CreateDropDownForm()
{
    if (!CreateDropDownControl(FMemo, [this](TDropDownMemo& memo) {
            memo.resize(memo.sizeHint().width(), 100);
            memo.setFrameShape(QFrame::NoFrame);
            connect(&memo, &QPlainTextEdit::textChanged, this, [this]() {
                try {
                    MemoChanged();
                } catch (...) {
                }
            });
        }))
        return;
    SetControl(FMemo);
}

void TAdvMemoDropDown::SetMemoText(const TStringList& Value)
{
    FMemoText->Assign(Value);
    if (FMemo)
        FMemo->SetLines(Value);
}

void TAdvMemoDropDown::SetMemoReadOnly(bool Value)
{
    FMemoReadOnly = Value;
    if (DroppedDown() && FMemo)
        FMemo->setReadOnly(Value);
}

QString TAdvMemoDropDown::JoinedText() const
{
    QStringList lines;
    for (int i = 0; i < FMemoText->Count(); ++i)
        lines << FMemoText->Strings(i);
    return lines.join(QStringLiteral("\r\n"));
}

void TAdvMemoDropDown::MemoChanged()
{
    if (OnMemoChange)
        OnMemoChange(this);
}

void TAdvMemoDropDown::MemoTextChanged()
{
    QString S;
    if (FMemoText->Count() == 0 || EditorEnabled()) {
        S = JoinedText();
    } else {
        S = FMemoText->Strings(0);
        const TRect er = GetEditRect();
        const int W = er.Right - er.Left;
        TCanvas canvas;
        canvas.SetFont(TFont());
        QFont f = font();
        canvas.Font().SetName(f.family());
        if (f.pixelSize() > 0)
            canvas.Font().SetHeight(-f.pixelSize());
        else
            canvas.Font().SetSize(int(f.pointSizeF() + 0.5));
        canvas.Font().SetStyle(f.bold() ? TFontStyles(fsBold) : TFontStyles());
        if (MeasureTextSize(canvas, S).cx < W) {
            if (FMemoText->Count() > 1)
                S += QStringLiteral("...");
        } else {
            S = FitText(canvas, S, W, true);
        }
    }
    FInternalUpdate = true;
    SetEditText(S);
    FInternalUpdate = false;
}

void TAdvMemoDropDown::HandleChange()
{
    if (!FInternalUpdate) {
        auto hook = std::move(FMemoText->OnChange);
        FMemoText->OnChange = nullptr;
        FMemoText->SetText(Text());
        FMemoText->OnChange = std::move(hook);
    }
    TAdvCustomDropDown::HandleChange();
}

void TAdvMemoDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    if (DropDownForm())
        DropDownForm()->SetCancelOnDeActivate(false);
    FTextAtOpening = JoinedText();
    if (!FMemo)
        return;
    FMemo->SetLines(*FMemoText);
    FMemo->setContextMenuPolicy(FMemoPopup ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
    FMemo->disconnect(SIGNAL(customContextMenuRequested(QPoint)));
    if (FMemoPopup) {
        QPointer<QMenu> menu = FMemoPopup;
        connect(FMemo, &QWidget::customContextMenuRequested, this, [this, menu](const QPoint& p) {
            if (menu && FMemo)
                menu->popup(FMemo->mapToGlobal(p));
        });
    }
    FMemo->SetMaxLength(MaxLength());
    FMemo->setHorizontalScrollBarPolicy(FMemoScrollBars == ssHorizontal || FMemoScrollBars == ssBoth
                                            ? Qt::ScrollBarAlwaysOn
                                            : Qt::ScrollBarAlwaysOff);
    FMemo->setVerticalScrollBarPolicy(FMemoScrollBars == ssVertical || FMemoScrollBars == ssBoth
                                          ? Qt::ScrollBarAlwaysOn
                                          : Qt::ScrollBarAlwaysOff);
    FMemo->setLineWrapMode(FMemoScrollBars == ssHorizontal || FMemoScrollBars == ssBoth
                               ? QPlainTextEdit::NoWrap
                               : QPlainTextEdit::WidgetWidth);
    FMemo->setReadOnly(FMemoReadOnly);
}

void TAdvMemoDropDown::DoHideDropDown(bool Cancelled)
{
    const bool wasOpen = DropDownForm() && DropDownForm()->isVisible();
    // The focus the closing hands back to the edit must not open the pop-up again.
    const bool autoDrop = FAutoDrop;
    FAutoDrop = false;
    if (Cancelled && wasOpen) {
        // The edits in the memo are dropped; the value goes back to what it was at the opening.
        if (FMemo)
            FMemo->SetLines(*FMemoText);
        SetOldText(FTextAtOpening);
    }
    TAdvCustomDropDown::DoHideDropDown(Cancelled);
    if (Cancelled && wasOpen)
        MemoTextChanged();
    FAutoDrop = autoDrop;
}

void TAdvMemoDropDown::DropDownClosed()
{
    TAdvCustomDropDown::DropDownClosed();
    if (FMemo) {
        auto hook = std::move(FMemoText->OnChange);
        FMemoText->OnChange = nullptr;
        FMemoText->SetText(FMemo->Text());
        FMemoText->OnChange = std::move(hook);
    }
    MemoTextChanged();
    SetSel(0, 0);
}

void TAdvMemoDropDown::DoEnter()
{
    TAdvCustomDropDown::DoEnter();
    if (FAutoDrop)
        DoShowDropDown();
}

namespace {
bool AltDown()
{
    return QApplication::keyboardModifiers() & Qt::AltModifier;
}
} // namespace

void TAdvMemoDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    QPointer<TAdvMemoDropDown> self(this);
    // The memo keeps Enter, the arrows and what is typed; Escape, F4 and Alt keys are the
    // drop-down's.
    if (AltDown() || Shift.testFlag(ssAlt) || Key == VK_ESCAPE || Key == VK_F4)
        TAdvCustomDropDown::ControlKeyDown(Key, Shift);
    if (self && FMemo && Key == 'A' && Shift.testFlag(ssCtrl))
        FMemo->selectAll();
}

void TAdvMemoDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    if (AltDown() || Shift.testFlag(ssAlt) || Key == VK_ESCAPE || Key == VK_F4)
        TAdvCustomDropDown::ControlKeyUp(Key, Shift);
}

void TAdvMemoDropDown::ControlKeyPress(QChar& Key)
{
    if (AltDown() || Key.unicode() == 27)
        TAdvCustomDropDown::ControlKeyPress(Key);
}

void TAdvMemoDropDown::FocusDropDownControl()
{
    TAdvCustomDropDown::FocusDropDownControl();
    if (!FocusControl() && FMemo && FMemo->isVisible() && FMemo->isEnabled() && !FMemo->hasFocus())
        FMemo->setFocus(Qt::ActiveWindowFocusReason);
}
