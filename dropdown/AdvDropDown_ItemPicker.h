#pragma once
// What the drop-downs whose pop-up is an item selector of their own items share (the detail and
// image picker drop-downs): the list, its item appearance, the chosen index and the one before
// the list opened, the row layout, the type-ahead search and its timer, and the key filter of the
// open list.
#include "dropdown/AdvDropDown_Edit.h"
#include "dropdown/AdvDropDown_ListStep.h"
#include "dropdown/AdvDropDown_Selector.h"
#include "platform/Keys.h"
#include "platform/Property.h"

#include <QTimer>
#include <functional>
#include <memory>

class TAdvItemPickerDropDown : public TAdvCustomDropDown {
    Q_OBJECT
public:
    // Editable: typing in the edit is allowed; else the box is pick-only.
    TAdvItemPickerDropDown(QWidget* AOwner, bool Editable);
    ~TAdvItemPickerDropDown() override;
    void Create() override;

    int ItemIndex() const { return FItemIndex; }
    KT_PROPERTY(TItemLayout, Layout)
    TItemAppearance& ItemAppearance() { return *FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& Value) { FItemAppearance->Assign(Value); }
    TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }
    QTimer* KeyTimer() const { return FKeyTimer; }
    QString CurSearch() const { return FCurSearch; }
    // The search timer's expiry: the type-ahead text starts afresh.
    void KeyTimerExpired();

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;

    void SetComponentStyle(TOrlexStyle AStyle) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    // Fills the list and keeps the index a cancelled close goes back to.
    void BeforeDropDown() override;

protected:
    // Refills the list from the items.
    virtual void PrepareList() = 0;
    // The list's selection notice.
    virtual void ListItemSelected() = 0;

    // Makes the pop-up and, the first time, the image list on it (First finishes the new list);
    // the list becomes the pop-up's control.
    void CreateSelector(const std::function<void(TAdvCustomItemSelector& List)>& First);
    // The list's settings, one row per item (Row writes row Index), the current index and the
    // selection notice.
    void FillSelector(int Columns, int Count, const std::function<void(int Index, TSelectorItem& Row)>& Row);
    // Caption, picture and image index of an item onto a list row.
    template <class TColl>
    static void CopyImageRow(const itemlist::TImageListItem<TColl>& Item, TSelectorItem& Row)
    {
        Row.SetCaption(Item.Caption());
        Row.SetImage(Item.Image());
        Row.SetImageIndex(Item.ImageIndex());
    }
    void SetListIndex(int Index);
    void TypeAhead();
    // A key pressed in the open list goes the edit's way with its text kept for the type-ahead;
    // the keys Keep names are then kept from the list's own handling.
    bool FilterListKey(QObject* watched, QEvent* event, bool* Typing,
                       const std::function<bool(const platform::TKeyStroke& Stroke)>& Keep);

    std::unique_ptr<TItemAppearance> FItemAppearance;
    TAdvCustomItemSelector* FItemSelector = nullptr;
    QTimer* FKeyTimer = nullptr;
    int FItemIndex = -1;
    int FOldItemIndex = -1;
    TItemLayout FLayout = ilCaptionRight;
    bool FInternalCall = false;
    QString FCurSearch;
    QString FKeyText; // text of the key event being handled, for the type-ahead

private:
    bool FEditable;
};
