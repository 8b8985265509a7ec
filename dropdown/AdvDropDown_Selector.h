#pragma once
// The item selector: a scrollable grid of equal cells, one per item, each an image or a colour
// box with a marked-up caption. The colour, image and detail pickers show it in their pop-up
// and drive its selection from the keyboard.
//
// Two widgets make it up: the outer TAdvCustomItemSelector (a scroll area that owns the items,
// the appearance and the settings) and the panel TCustomItemSelector inside it, which lays the
// items out, sizes itself to the grid, paints the items and finds the item under the pointer.
#include "dropdown/AdvDropDown.h"
#include "dropdown/AdvDropDown_ItemList.h"

#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/Property.h"

#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class TAdvCustomItemSelector;
class TCustomItemSelector;

enum TSelectorType { stImage, stColor };

using TDrawItemEvent = std::function<void(QObject* Sender, TCanvas& Canvas, TRect R, int Index)>;
using TItemSizeEvent = std::function<void(QObject* Sender, TSize& ASize)>;
using TSelectorNotifyEvent = std::function<void(QObject* Sender)>;
// Paints the chosen item in the edit (or a detail row) instead of the built-in drawing.
using TOnDrawSelectedItem = std::function<void(QObject* Sender, TCanvas& Canvas, TRect R)>;

class TSelectorItems;

// One item. Caption, Color and ImageIndex writes that change the value report it to the
// collection; the picture, the hint and the enabled flag are plain.
class TSelectorItem : public itemlist::TImageListItem<TSelectorItems> {
public:
    using TImageListItem::TImageListItem;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Change(FColor, Value); }
    KT_PROPERTY(QString, Hint)
    void Assign(const TSelectorItem& Source);

    bool FEnabled = true;
    TRect FRect; // the cell in panel coordinates, written by the layout

private:
    TColor FColor = clNone;
    QString FHint;
};

// The items. Adding and deleting fire nothing; only the item writes above fire OnChange.
class TSelectorItems : public itemlist::TItemList<TSelectorItem, TSelectorItems, TSelectorNotifyEvent> {
public:
    using TItemList::TItemList;
};

// Colours and font of hot and selected items. The colour writes are plain; OnChange is never
// fired.
class TItemAppearance {
public:
    explicit TItemAppearance(QObject* AOwner = nullptr);
    TItemAppearance(const TItemAppearance&) = delete;
    TItemAppearance& operator=(const TItemAppearance&) = delete;
    QObject* GetOwner() const { return FOwner; }
    // The colour style first (its presets), then the colours, font and text colours of Source.
    void Assign(const TItemAppearance& Source);
    TSelectionColorStyle ColorStyle() const { return FColorStyle; }
    // Loads the presets of a named style when the style changes; scCustom loads nothing.
    void SetColorStyle(TSelectionColorStyle Value);

    TColor ColorMirrorHotTo, BorderColor, ColorMirrorHot, ColorSelectedTo, ColorSelected, EdgeColor, ColorHotTo,
        BorderColorBottom, ColorHot, BorderColorTop, ColorMirrorSelectedTo, ColorMirrorSelected, ColorSelectedText,
        ColorHotText;
    TColor BorderColorHot = clNone;
    TColor BorderColorSelected = clNone;
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }

    TSelectorNotifyEvent OnChange;

private:
    QObject* FOwner;
    TSelectionColorStyle FColorStyle = scCustom;
    TFont FFont;
};

// The panel inside the outer selector.
class TCustomItemSelector : public QWidget {
    Q_OBJECT
public:
    // The owner must be an item selector: "Invalid parent" otherwise.
    explicit TCustomItemSelector(QWidget* AOwner);

    int ItemIndex() const { return FItemIndex; }
    // A disabled item is refused; any other value is stored (also one past the items), drawn and
    // reported through OnItemSelect, a negative one without the report.
    void SetItemIndex(int Value);
    int ItemHot() const { return FItemHot; }
    void SetItemHot(int Index);
    int Columns() const;
    TSelectorItems& Items() const;
    TSelectorType SelectorType() const;
    TItemLayout ItemLayout() const;
    TCustomImageList* Images() const;
    int ColorBoxHeight() const;
    int ColorBoxWidth() const;
    TSelectionColorStyle ItemColorStyle() const;
    TColor ItemColorHot() const;
    TColor ItemColorHotTo() const;
    TColor ItemColorSelected() const;
    TColor ItemColorSelectedTo() const;
    TAdvCustomItemSelector* AdvItemSelector() const { return FAdvItemSelector; }

    int OffSetX() const { return FOffSetX; }
    int OffSetY() const { return FOffSetY; }
    int ItemOffSetX() const { return FItemOffSetX; }
    int ItemOffSetY() const { return FItemOffSetY; }
    int CaptionGap() const { return FCaptionGap; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const QString& S);
    // The first item whose cell holds the point, -1 for none.
    int ItemAtPos(int X, int Y) const;
    // The item's cell; (-1, -1, -1, -1) outside the items.
    TRect GetItemRect(int Index) const;
    void DrawItems(TCanvas& Canvas);

    virtual void DrawItem(int Index, TCanvas& Canvas);
    virtual void GetItemArea(TRect& R) const;
    virtual void GetItemSize(TSize& Size);
    virtual void InvalidateItem(int Index);
    virtual void UpdateLayout();

    TSelectorNotifyEvent OnItemSelect;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int FItemIndex = -1;
    int FItemHot = -1;
    int FOffSetX = 2;
    int FOffSetY = 2;
    int FItemOffSetX = 4;
    int FItemOffSetY = 4;
    int FCaptionGap = 4;
    TAdvCustomItemSelector* FAdvItemSelector;
};

// The outer selector: items, settings, appearance and the scrolling.
class TAdvCustomItemSelector : public QScrollArea {
    Q_OBJECT
public:
    explicit TAdvCustomItemSelector(QWidget* AOwner = nullptr);
    ~TAdvCustomItemSelector() override;

    TSelectorItems& Items() { return *FItems; }
    void SetItems(const TSelectorItems& Value) { FItems->Assign(Value); }
    TSelectorType SelectorType() const { return FSelectorType; }
    void SetSelectorType(TSelectorType Value);
    // Stored only: the caller lays the panel out again (UpdateSelectorPanel).
    KT_PROPERTY(TItemLayout, ItemLayout)
    int Columns() const { return FColumns; }
    void SetColumns(int Value); // values below 1 are ignored
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value);
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TItemAppearance& ItemAppearance() { return *FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& Value) { FItemAppearance->Assign(Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int ItemIndex() const;
    void SetItemIndex(int Value);
    int ItemHot() const;
    TCustomItemSelector* Panel() const { return FItemSelectorPanel; }

    void CreateSelectorPanel();
    void UpdateSelectorPanel();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const QString& S);
    // Scrolls vertically so that the item's cell is shown (nothing while nothing scrolls).
    void ScrollItemInView(int Index);
    // Whole rows that fit the control's height, times the columns; 0 without items.
    int GetVisibleItemCount() const;
    void GetSelectorSize(TSize& Size) const;
    // The vertical scroll bar's margin around an item scrolled into view.
    KT_PROPERTY(int, ScrollMargin)

    TSelectorNotifyEvent OnItemSelect;
    TDrawItemEvent OnDrawItem;
    TItemSizeEvent OnItemSize;

private:
    std::unique_ptr<TSelectorItems> FItems;
    TSelectorType FSelectorType = stImage;
    TItemLayout FItemLayout = ilCaptionRight;
    int FColumns = 1;
    int FColorBoxWidth = 14;
    int FColorBoxHeight = 14;
    TCustomImageList* FImages = nullptr;
    TCustomItemSelector* FItemSelectorPanel = nullptr;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    TColor FColor = clBtnFace;
    int FScrollMargin = 0;
};

using TAdvItemSelector = TAdvCustomItemSelector;
