#pragma once
// TGridButton: the push button the grid shows over a cell of the button editor type. Pressing it
// (mouse release or Space release) passes its caption through the grid's ellipsis-click step and
// writes the answer into the cell; arrow keys and Escape leave it for the grid.
#include "platform/Keys.h"

#include <QPushButton>

class TVerIvovavOzed;

class TGridButton : public QPushButton {
    Q_OBJECT
public:
    explicit TGridButton(TVerIvovavOzed* AOwner);

    QString Text() const { return text(); }
    void SetText(const QString& Value) { setText(Value); }
    // Settings that act when a window is made act at once here; kept for the callers that
    // recreate the editor before placing it.
    void ReCreate() {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool Editing() const;
    // The caption through the ellipsis-click step, into the caption and the current cell.
    void Press();
    // Hidden, disabled, the grid's edit mode cleared and the grid focused.
    void HideSelf();

    TVerIvovavOzed* FGrid;
};
