#pragma once
// The memo drop-down: a multi-line text (MemoText) edited in a memo on the pop-up. The edit
// shows the first line, followed by "..." when there are more lines, or cut to fit with "...".
#include "dropdown/AdvDropDown_Edit.h"

#include "platform/StringGrid.h" // TScrollStyle
#include "platform/StringList.h"
#include "platform/Property.h"

#include <QPlainTextEdit>

#include <QMenu>

// The memo on the pop-up; MaxLength (0: none) limits the characters it holds.
class TDropDownMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TDropDownMemo(QWidget* parent = nullptr);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    QString Text() const { return toPlainText(); }
    void SetLines(const platform::TStringList& Lines);

private:
    void Limit();
    int FMaxLength = 0;
    bool FLimiting = false;
};

class TAdvMemoDropDown : public TAdvCustomDropDown {
    Q_OBJECT
public:
    explicit TAdvMemoDropDown(QWidget* AOwner = nullptr);
    ~TAdvMemoDropDown() override;
    void Create() override;

    platform::TStringList& MemoText() { return *FMemoText; }
    void SetMemoText(const platform::TStringList& Value);
    TDropDownMemo* Memo() const { return FMemo; }
    QMenu* MemoPopup() const { return FMemoPopup; }
    void SetMemoPopup(QMenu* Value) { FMemoPopup = Value; }
    KT_PROPERTY(TScrollStyle, MemoScrollBars)
    bool MemoReadOnly() const { return FMemoReadOnly; }
    void SetMemoReadOnly(bool Value);
    KT_PROPERTY(bool, AutoDrop)

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownClosed() override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(QChar& Key) override;
    // The opened pop-up is active: its one control, the memo, has the focus (unless the
    // application named another focus control), so Enter starts a new line at once.
    void FocusDropDownControl() override;
    // Rebuilds the edit's text from MemoText.
    void MemoTextChanged();

    TNotifyEvent OnMemoChange;

protected:
    void HandleChange() override;
    void DoEnter() override;

private:
    void MemoChanged();
    // The lines joined with line breaks (none after the last).
    QString JoinedText() const;

    QPointer<QMenu> FMemoPopup;
    std::unique_ptr<platform::TStringList> FMemoText;
    TDropDownMemo* FMemo = nullptr;
    TScrollStyle FMemoScrollBars = ssNone;
    bool FMemoReadOnly = false;
    bool FInternalUpdate = false;
    bool FAutoDrop = false;
    QString FTextAtOpening;
};
