#pragma once
// The grid's search footer: TRetEdit, a one-line text field that reports Enter and Ctrl+Enter,
// and TSearchPanel, the bar under the grid with that field, find next, find previous,
// highlight, a match-case check box and a close button.
#include "grid/AdvCheckBox.h"
#include "grid/AdvGridButton.h"
#include "platform/Graphics.h"

#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <functional>

class TRetEdit : public QLineEdit {
public:
    explicit TRetEdit(QWidget* AOwner = nullptr);

    // Background colour of the field.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);

    std::function<void(QObject* Sender)> OnReturn;
    std::function<void(QObject* Sender)> OnCtrlReturn;
    // Told of the Enter (13) or line-feed (10) character that the field drops.
    std::function<void(QObject* Sender, QChar& Key)> OnKeyPress;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TColor FColor = clWindow;
};

class TSearchPanel : public QWidget {
public:
    explicit TSearchPanel(QWidget* AOwner = nullptr);

    TRetEdit* EditControl() const { return FEditControl; }
    TAdvGridButton* ForwardButton() const { return FForwardButton; }
    TAdvGridButton* BackwardButton() const { return FBackwardButton; }
    TAdvGridButton* ExitButton() const { return FExitButton; }
    TAdvGridButton* HiliteButton() const { return FHiliteButton; }
    TAdvCheckBox* MatchCase() const { return FMatchCase; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { SetPaintColor(FColor, Value); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { SetPaintColor(FColorTo, Value); }
    QString FindNextCaption;
    QString FindPrevCaption;
    QString MatchCaseCaption;
    QString HighLightCaption;
    QString HintClose;
    QString HintFindNext;
    QString HintFindPrev;
    QString HintHighlight;

    std::function<void(QObject* Sender)> OnForwardClick;
    std::function<void(QObject* Sender)> OnBackwardClick;
    std::function<void(QObject* Sender)> OnEditChange;
    std::function<void(QObject* Sender)> OnExitClick;
    std::function<void(QObject* Sender)> OnHighlightClick;
    // Alt with a character typed inside the bar; answers whether an accelerator used it.
    std::function<bool(QChar Ch)> OnDialogChar;
    // The area the bar is docked in changed size (the bar watches it to stay along its bottom).
    std::function<void()> OnHostResize;

    // Places the controls and gives the buttons their captions, pictures and hints.
    void CreateWnd();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void EditChanged();
    void SetPaintColor(TColor& Field, TColor Value);

    TRetEdit* FEditControl;
    TAdvGridButton* FForwardButton;
    TAdvGridButton* FBackwardButton;
    TAdvGridButton* FExitButton;
    TAdvGridButton* FHiliteButton;
    TAdvCheckBox* FMatchCase;
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
};
