#pragma once
#include "platform/Property.h"
// The two editors with which the grid edits fixed (header) cells when the program allows it: a
// single-line edit and a combo box. Each validates and stores its text itself when it loses the
// focus; a refused text keeps it open.
#include <QComboBox>
#include <QLineEdit>

class TVerIvovavOzed;

class TGridTransEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TGridTransEdit(TVerIvovavOzed* AOwner);
    KT_PROPERTY(int, Col)
    KT_PROPERTY(int, Row)
    // Validates the text and stores it into the cell; false (the editor stays) when refused.
    bool StopEdit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int FRow = 0;
    int FCol = 0;
    TVerIvovavOzed* FGrid;
};

class TGridTransCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TGridTransCombo(TVerIvovavOzed* AOwner);
    KT_PROPERTY(int, Col)
    KT_PROPERTY(int, Row)
    bool StopEdit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int FRow = 0;
    int FCol = 0;
    TVerIvovavOzed* FGrid;
};
