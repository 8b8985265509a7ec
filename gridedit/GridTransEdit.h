#pragma once
#include "platform/Property.h"
// The two editors with which the grid edits fixed (header) cells when the program allows it: a
// single-line edit and a combo box. Each validates and stores its text itself when it loses the
// focus; a refused text keeps it open.
#include <QComboBox>
#include <QLineEdit>

class TVerIvovavOzed;

// What both editors share, over their Qt control whose text Text reads: the cell they edit, Enter
// that neither inserts anything nor ends the edit (the edit ends when the focus leaves), and the
// store on focus loss.
template <class Control, QString (Control::*Text)() const>
class TGridFixedEditor : public Control {
public:
    KT_PROPERTY(int, Col)
    KT_PROPERTY(int, Row)
    // Validates the text and stores it into the cell; false (the editor stays) when refused.
    bool StopEdit();

protected:
    // Made hidden on the grid's viewport.
    explicit TGridFixedEditor(TVerIvovavOzed* AOwner);
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    TVerIvovavOzed* FGrid;

private:
    int FRow = 0;
    int FCol = 0;
};

class TGridTransEdit : public TGridFixedEditor<QLineEdit, &QLineEdit::text> {
    Q_OBJECT
public:
    explicit TGridTransEdit(TVerIvovavOzed* AOwner);
};

class TGridTransCombo : public TGridFixedEditor<QComboBox, &QComboBox::currentText> {
    Q_OBJECT
public:
    explicit TGridTransCombo(TVerIvovavOzed* AOwner);
};
