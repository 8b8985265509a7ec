#pragma once
// The floating footer settings of a string grid: a row that stays visible below the cells.
#include "grid/BaseGrid.h"
#include "platform/Graphics.h"

#include <QObject>
#include <QString>
#include <functional>

class TVerIvovavOzed;

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

class TFloatingFooter {
public:
    explicit TFloatingFooter(TVerIvovavOzed* AOwner) : FGrid(AOwner) {}
    TFloatingFooter(const TFloatingFooter&) = delete;
    TFloatingFooter& operator=(const TFloatingFooter&) = delete;
    void Assign(const TFloatingFooter& Source);

    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value) { FFooterStyle = Value; }
    int Column() const { return FColumn; }
    void SetColumn(int Value) { FColumn = Value; }
    QString CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const QString& Value) { FCustomTemplate = Value; }
    bool CalculateHiddenRows() const { return FCalculateHiddenRows; }
    void SetCalculateHiddenRows(bool Value) { FCalculateHiddenRows = Value; }
    bool EnableCalculation() const { return FEnableCalculation; }
    void SetEnableCalculation(bool Value) { FEnableCalculation = Value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }

    // Which calculation the footer shows under column ACol (the footer's calculations are not
    // built yet).
    void SetColumnCalc(int, TColumnCalcType) {}
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnCalcFooter;
    // Told when Visible changes (the grid hides or shows its last row).
    std::function<void()> OnVisibleChange;

private:
    TVerIvovavOzed* FGrid;
    int FHeight = 0;
    bool FVisible = false;
    TColor FColor = clBtnFace;
    TFooterStyle FFooterStyle = fsFixedLastRow;
    int FColumn = 0;
    QString FCustomTemplate;
    bool FCalculateHiddenRows = true;
    bool FEnableCalculation = true;
    bool FShowHint = false;
    TColor FBorderColor = clNone;
};

