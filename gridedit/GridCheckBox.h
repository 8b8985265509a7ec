#pragma once
// TGridCheckBox: the check-box editor control the grid shows over a cell of the check-box editor
// type. The grid places, captions, shows and hides it; a click or Space toggles it once, and
// nothing is written back into the cell. Enter, Escape, the page keys, End and the arrows end the
// edit; Up and Down then move the grid's current row, Enter advances as after an edit.
#include "platform/Keys.h"

#include <QCheckBox>

class TVerIvovavOzed;

class TGridCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TGridCheckBox(TVerIvovavOzed* AOwner);

    // Settings that act when a window is made act at once here; kept for the callers that
    // recreate the editor before placing it.
    void ReCreate() {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool Editing() const;

    TVerIvovavOzed* FGrid;
};
