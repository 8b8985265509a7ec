#pragma once
// The three colour panels of the colour picker's pop-up: a palette of boxes in shade columns,
// a honeycomb of 127 hexagonal colour cells, and a spectrum picture from which any pixel's
// colour can be taken.
#include "dropdown/AdvDropDown_Edit.h"
#include "platform/Property.h"

#include <QCursor>
#include <QWidget>
#include <memory>
#include <vector>

// Custom-drawn base of the three panels.
class TAdvCustomColorSelectorPanel : public QWidget {
    Q_OBJECT
public:
    explicit TAdvCustomColorSelectorPanel(QWidget* AOwner = nullptr) : QWidget(AOwner) {}
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; update(); }
    // The colour last picked with the mouse (or set).
    TColor SelectedColor() const { return FSelectedColor; }

    // A colour was picked with the mouse (the cube and the spectrum; the palette reports its
    // boxes through OnItemSelect).
    TNotifyEvent OnSelect;

protected:
    void PaintBackground(TCanvas& Canvas);
    // Repaints and reports the colour just picked.
    void Picked();

    TColor FSelectedColor = clNone;

private:
    TColor FColor = clBtnFace;
};

// ---- palette ------------------------------------------------------------------------------------

enum TItemPos { ipStandAlone, ipTop, ipMiddle, ipBottom };

class TColorBoxItems;

class TColorBoxItem {
public:
    explicit TColorBoxItem(TColorBoxItems* Collection) : FCollection(Collection) {}
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    KT_PROPERTY(TItemPos, ColorBoxPos)
    KT_PROPERTY(bool, Enabled)
    KT_PROPERTY(TRect, Rect)
    // Colour and enabled flag.
    void Assign(const TColorBoxItem& Source);

private:
    TColorBoxItems* FCollection;
    TColor FColor = clNone;
    TItemPos FColorBoxPos = ipStandAlone;
    bool FEnabled = true;
    TRect FRect;
};

class TColorBoxItems {
public:
    explicit TColorBoxItems(QObject* Owner = nullptr) : FOwner(Owner) {}
    QObject* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TColorBoxItem* Add();
    TColorBoxItem* Insert(int Index);
    // "List index out of bounds (n)" for an index outside the items.
    TColorBoxItem* Items(int Index) const;
    void Clear() { FItems.clear(); }
    void Assign(const TColorBoxItems& Source);
    TNotifyEvent OnChange;

private:
    friend class TColorBoxItem;
    QObject* FOwner;
    std::vector<std::unique_ptr<TColorBoxItem>> FItems;
};

class TColorBoxAppearance {
public:
    TColor BorderColor = 0xC5C5C5;
    TColor OuterBorderColorHot = 0x3694F2;
    TColor InnerBorderColorHot = 0x94E2FF;
    TColor OuterBorderColorSelected = 0x0000FF;
    TColor InnerBorderColorSelected = 0x94E2FF;
    void Assign(const TColorBoxAppearance& Source) { *this = Source; }
};

class TCustomColorSelector : public TAdvCustomColorSelectorPanel {
    Q_OBJECT
public:
    explicit TCustomColorSelector(QWidget* AOwner = nullptr);

    TColorBoxItems& Items() { return *FItems; }
    void SetItems(const TColorBoxItems& Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    // A disabled box and an index at or past the box count are ignored.
    void SetItemIndex(int Value);
    void SetSelectedColor(TColor Value);
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    int ColumnGap() const { return FColumnGap; }
    void SetColumnGap(int Value);
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value);
    TColorBoxAppearance& ColorBoxAppearance() { return FColorBoxAppearance; }
    void SetColorBoxAppearance(const TColorBoxAppearance& Value) { FColorBoxAppearance.Assign(Value); }
    TSelectionColorStyle ItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle Value);
    int HotIndex() const { return FHotIndex; }

    // The 60 standard colours in six rows of ten, the first row stand-alone.
    void AddDefaultColors();
    void SetItemsPosition();
    void HandleKey(Word Key, bool EditorEnabled, bool DroppedDown);
    void HotNext();
    void HotPrevious();
    // The box under the point, -1 for none.
    int ItemAtPos(int X, int Y) const;
    void SelectHot() { if (FHotIndex >= 0) SetItemIndex(FHotIndex); }

    TNotifyEvent OnItemSelect;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void DrawItem(TCanvas& Canvas, int Index);
    void SetHotIndex(int Index);

    std::unique_ptr<TColorBoxItems> FItems;
    int FItemIndex = -1;
    int FHotIndex = -1;
    int FColumns = 10;
    int FColumnGap = 4;
    int FColorBoxWidth = 12;
    int FColorBoxHeight = 12;
    int FOffSetX = 4;
    int FOffSetY = 4;
    TColorBoxAppearance FColorBoxAppearance;
    TSelectionColorStyle FItemColorStyle = scOffice2007;
};

// ---- colour cube ----------------------------------------------------------------------------------

struct TCubeCell {
    int X = 0, Y = 0;
    TColor Color = clNone;
};

class TAdvColorCubePanel : public TAdvCustomColorSelectorPanel {
    Q_OBJECT
public:
    explicit TAdvColorCubePanel(QWidget* AOwner = nullptr);

    void SetSelectedColor(TColor Value);
    bool ShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool Value);
    int SelectedIndex() const { return FSelectedIndex; }
    int HotIndex() const { return FHotIndex; }
    void SetHotIndex(int Value) { FHotIndex = Value; update(); }
    // Cells 1 to 127; index 0 is not used.
    const TCubeCell& Cell(int Index) const { return FCubeCells.at(size_t(Index)); }

    void SetupCells();
    void SetPanelSize() { resize(182, 160); }
    // The cell under the point (lowest number where circles overlap), -1 for none.
    int PtOnColor(int X, int Y) const;
    // "Red: r,  Green: g,  Blue: b" of a colour's low, middle and high byte.
    static QString RGBHint(TColor Color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void DrawHexagon(TCanvas& Canvas, int Index, int A, int B);

    std::vector<TCubeCell> FCubeCells;
    TPoint FCubeSize{6, 3};
    bool FShowRGBHint = true;
    int FSelectedIndex = -1;
    int FHotIndex = -1;
};

// ---- spectrum -------------------------------------------------------------------------------------

class TAdvColorSpectrumPanel : public TAdvCustomColorSelectorPanel {
    Q_OBJECT
public:
    explicit TAdvColorSpectrumPanel(QWidget* AOwner = nullptr);

    void SetSelectedColor(TColor Value) { FSelectedColor = Value; update(); }
    TColor HotColor() const { return FHotColor; }
    TRect ImageRect() const { return FImageRect; }
    TRect SelectedRect() const { return FSelectedRect; }
    TRect HotRect() const { return FHotRect; }

    // Places the picture and the two sample boxes and clears the hot colour.
    void SetItemsPosition();
    // The pointer shown over the picture (the cross hair, hot spot in its middle).
    static QCursor SpectrumCursor();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TColor PixelAt(int X, int Y) const;

    TBitmap FSpectrum;
    TRect FImageRect;
    TRect FSelectedRect;
    TRect FHotRect;
    TColor FHotColor = clNone;
};
