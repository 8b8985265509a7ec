#pragma once
// THeaderDragButton: the floating picture of a column header that follows the mouse while a
// column is dragged to a new place.
#include "platform/Property.h"

#include <QString>
#include <QWidget>

class TVerIvovavOzed;
class TCanvas;

class THeaderDragButton : public QWidget {
public:
    explicit THeaderDragButton(QWidget* AOwner = nullptr);

    TVerIvovavOzed* Grid() const { return FGrid; }
    void SetGrid(TVerIvovavOzed* Value) { FGrid = Value; }
    KT_PROPERTY_NOTIFY(QString, Caption, update)
    KT_PROPERTY_NOTIFY(bool, Flat, update)

    // Paints the header face and the caption over (0, 0, AWidth, AHeight).
    void PaintOn(TCanvas& ACanvas, int AWidth, int AHeight);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TVerIvovavOzed* FGrid = nullptr;
    QString FCaption;
    bool FFlat = false;
};
