#pragma once
// TGridFocusWindow: the top-most window that shows the soft frame around the edited cell. The
// grid shapes it to a ring around the cell, fills it with the frame picture and shows it.
#include "grid/GridAlphaMask.h"

#include <QWidget>

class TGridFocusWindow : public QWidget {
public:
    explicit TGridFocusWindow(QWidget* AOwner = nullptr);
    // Shows the picture of an alpha mask in the window, sized to it, with its opacity.
    void ApplyAlphaMask(const TGridAlphaMask& Mask);
    const QImage& Picture() const { return FPicture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage FPicture;
};
