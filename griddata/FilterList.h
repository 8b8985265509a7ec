#pragma once
// The header filter lists of the string grid: a single-choice list that closes on a choice, and a
// check list whose every check change is reported while it stays open. Both are children of the
// grid and close when the mouse is pressed outside them and outside the grid.
#include <QListWidget>
#include <functional>

class TDropListBase : public QListWidget {
public:
    explicit TDropListBase(QWidget* AGrid);
    ~TDropListBase() override;

    // ItemIndex of the choice; -1 for a check change of the check list.
    std::function<void(int ItemIndex)> OnSelect;
    // A press outside the list and outside the grid: the grid forgets the open column.
    std::function<void()> OnCancel;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    QWidget* FGrid;
    bool FWatching = false;
};

class TDropList : public TDropListBase {
public:
    using TDropListBase::TDropListBase;

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    void Choose();
};

class TDropCheckList : public TDropListBase {
public:
    explicit TDropCheckList(QWidget* AGrid);

    // Entries are added checkable; filling them fires nothing.
    void AddEntry(const QString& Text, bool Checked);
    bool Checked(int Index) const;
    void SetChecked(int Index, bool Value);

private:
    bool FFilling = false;
};
