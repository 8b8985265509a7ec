#pragma once
#include "platform/Property.h"
// TVerIvovavOzedCheck: the base of the grid's cell checkers. The grid asks it to correct and to
// mark a cell text; the base leaves every text as it is, and descendants override the steps.
#include <QObject>
#include <QString>

class TVerIvovavOzedCheck : public QObject {
    Q_OBJECT
public:
    explicit TVerIvovavOzedCheck(QObject* AOwner = nullptr) : QObject(AOwner) {}

    KT_PROPERTY(bool, GotoCell)
    KT_PROPERTY(bool, AutoCorrect)
    KT_PROPERTY(bool, AutoMarkError)
    KT_PROPERTY(bool, UseCorrect)
    KT_PROPERTY(bool, UseMarkError)

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
