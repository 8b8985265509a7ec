#pragma once
// TGridCheckBox: the check-box editor control the grid shows over a cell of the check-box editor
// type. The grid places, captions, shows and hides it; nothing is written back into the cell.
#include <QCheckBox>

class TVerIvovavOzed;

class TGridCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TGridCheckBox(TVerIvovavOzed* AOwner);

private:
    TVerIvovavOzed* FGrid;
};
