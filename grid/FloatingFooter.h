#pragma once
// The floating footer of a string grid: a row that stays visible below the cells however the grid
// is scrolled. TFloatingFooter holds its settings; TFooterPanel, a child of the grid placed under
// the grid's viewport, paints it and reports clicks and hints.
//
// Styles: fsFixedLastRow shows the grid's last row (which the grid then leaves out of its own
// drawing) with optional per-column calculations; fsColumnPreview shows one column of the current
// row; fsCustomPreview fills a template ("<#n>" fields) from the current row; fsCustomPaint leaves
// everything to the grid's OnFooterPaint.
#include "grid/BaseGrid.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/Property.h"

#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

class TVerIvovavOzed;
class TFooterPanel;

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

class TFloatingFooter {
public:
    explicit TFloatingFooter(TVerIvovavOzed* AOwner) : FGrid(AOwner) {}
    TFloatingFooter(const TFloatingFooter&) = delete;
    TFloatingFooter& operator=(const TFloatingFooter&) = delete;
    // Copies the shown settings (Visible through its writer); Height, BorderColor,
    // EnableCalculation and the event stay.
    void Assign(const TFloatingFooter& Source);

    int Height() const { return FHeight; }
    void SetHeight(int Value);
    bool Visible() const { return FVisible; }
    // Shows or hides the panel; with fsFixedLastRow the grid's last row becomes the footer row
    // (one fixed footer row, left out of the grid's own drawing).
    void SetVisible(bool Value);
    KT_PROPERTY_NOTIFY(TColor, Color, Invalidate)
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    KT_PROPERTY_NOTIFY(int, Column, Invalidate)
    KT_PROPERTY_NOTIFY(QString, CustomTemplate, Invalidate)
    KT_PROPERTY(bool, CalculateHiddenRows)
    KT_PROPERTY(bool, EnableCalculation)
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    KT_PROPERTY_CHANGE(TColor, BorderColor, Invalidate)

    // The calculation shown under column ACol (real column): kept in the footer row's cell
    // properties. Writing it recalculates that column.
    TColumnCalcType ColumnCalc(int ACol) const { return GetColumnCalc(ACol); }
    TColumnCalcType GetColumnCalc(int ACol) const;
    void SetColumnCalc(int ACol, TColumnCalcType Value);
    // Repaints the panel.
    void Invalidate();

    // Asked for an acCUSTOM column when the grid's OnFooterCalc is not set.
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnCalcFooter;

private:
    TFooterPanel* Panel() const;

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

// The panel below the grid's viewport. The grid makes it in its constructor and owns it; its
// height and visibility follow the footer settings and become the grid's bottom viewport margin.
class TFooterPanel : public QWidget {
public:
    explicit TFooterPanel(TVerIvovavOzed* AOwner);

    TVerIvovavOzed* Grid() const { return FGrid; }
    // The panel's height; never below 0. The grid's viewport makes room for it.
    void SetPanelHeight(int Value);
    void SetPanelVisible(bool Value);
    KT_PROPERTY(bool, ShowHint)
    // The column whose hint was shown last; -1 none.
    int LastHintX() const { return FLastHintX; }
    // The canvas the panel paints on; bound to a surface only while the panel paints.
    TCanvas& Canvas() { return FCanvas; }

    // The first show of the grid: the panel takes its height and the grid's
    // OnCreatedFloatingFooter fires.
    virtual void CreateWnd();
    // Paints the footer of the current style on ACanvas (the panel's size).
    virtual void Paint(TCanvas& ACanvas);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseLeave();
    // Prepares the hint for panel position X: the text of the grid's OnGridHint for the footer
    // row's cell under X. Answers whether a hint is to be shown.
    virtual bool HintShow(int X, QString& HintStr);

    // The (displayed) column under panel position X, -1 for none: a point over a fixed column
    // answers that column, else the scrolled columns from LeftCol are walked.
    int ColumnAt(int X) const;
    // Width of the fixed columns plus the columns from LeftCol on: what every style covers.
    int ColumnsWidth() const;
    // The template with every "<#n>" field replaced by the text of column n in the current row;
    // a field whose n is not a number or names no column vanishes, an unclosed "<#" stays text.
    QString ExpandTemplate(const QString& ATemplate) const;
    // Places the panel along the bottom of the grid's viewport.
    void PlaceBelowViewport();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    int PaintFixedLastRow(TCanvas& ACanvas);
    int PaintColumnPreview(TCanvas& ACanvas);
    int PaintCustomPreview(TCanvas& ACanvas);
    int PaintCustomPaint(TCanvas& ACanvas);
    // Fills 0..w with the footer colour, draws the raised frame and fills the rest with the
    // grid's colour; answers the frame's rectangle.
    TRect PaintPreviewFrame(TCanvas& ACanvas, int w);

    TVerIvovavOzed* FGrid;
    TCanvas FCanvas;
    int FLastHintX = -1;
    bool FShowHint = false;
    bool FCreated = false;
};
