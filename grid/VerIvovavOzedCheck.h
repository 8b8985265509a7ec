#pragma once
// TVerIvovavOzedCheck: the base of the grid's cell checkers. The grid asks it to correct and to
// mark a cell text; the base leaves every text as it is, and descendants override the steps.
#include <QObject>
#include <QString>

class TVerIvovavOzedCheck : public QObject {
    Q_OBJECT
public:
    explicit TVerIvovavOzedCheck(QObject* AOwner = nullptr) : QObject(AOwner) {}

    bool GotoCell() const { return FGotoCell; }
    void SetGotoCell(bool Value) { FGotoCell = Value; }
    bool AutoCorrect() const { return FAutoCorrect; }
    void SetAutoCorrect(bool Value) { FAutoCorrect = Value; }
    bool AutoMarkError() const { return FAutoMarkError; }
    void SetAutoMarkError(bool Value) { FAutoMarkError = Value; }
    bool UseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool Value) { FUseCorrect = Value; }
    bool UseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool Value) { FUseMarkError = Value; }

    virtual QString MarkError(int ACol, int ARow, const QString& s)
    {
        (void)ACol;
        (void)ARow;
        return s;
    }
    virtual QString Correct(int ACol, int ARow, const QString& s)
    {
        (void)ACol;
        (void)ARow;
        return s;
    }
    virtual void StartCheck() {}
    virtual void StopCheck() {}

private:
    bool FGotoCell = false;
    bool FAutoCorrect = false;
    bool FAutoMarkError = false;
    bool FUseCorrect = false;
    bool FUseMarkError = false;
};
