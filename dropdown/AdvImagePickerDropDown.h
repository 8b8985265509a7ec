#pragma once
// The image picker drop-down: a pick-only drop-down whose value is one of a list of images. The
// edit shows the chosen image centred; the pop-up is the item selector with image rows.
#include "dropdown/AdvDropDown_Edit.h"
#include "dropdown/AdvDropDown_ListStep.h"
#include "dropdown/AdvDropDown_Selector.h"
#include "platform/Property.h"

#include <QTimer>
#include <memory>
#include <vector>

class TImageItems;

// One image of the picker. Caption and ImageIndex writes that change the value report it to the
// collection.
class TImageItem : public itemlist::TImageListItem<TImageItems> {
public:
    using TImageListItem::TImageListItem;
    KT_PROPERTY(QString, Hint)
    void Assign(const TImageItem& Source);

    bool FEnabled = true;
    TRect FRect;

private:
    QString FHint;
};

class TImageItems : public itemlist::TItemList<TImageItem, TImageItems, TNotifyEvent> {
public:
    using TItemList::TItemList;
};

#ifndef KT_TONDRAWSELECTEDITEM_DEFINED
#define KT_TONDRAWSELECTEDITEM_DEFINED
using TOnDrawSelectedItem = std::function<void(QObject* Sender, TCanvas& Canvas, TRect R)>;
#endif

class TAdvImagePickerDropDown : public TAdvCustomDropDown, public liststep::TIndexStepping<TAdvImagePickerDropDown> {
    Q_OBJECT
public:
    explicit TAdvImagePickerDropDown(QWidget* AOwner = nullptr);
    ~TAdvImagePickerDropDown() override;
    void Create() override;

    TImageItems& Items() { return *FItems; }
    void SetItems(const TImageItems& Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The current item's image list index, -1 without a current item; the write chooses the
    // first item showing that image (-1 when none does).
    int ImageIndex() const;
    void SetImageIndex(int Value);
    KT_PROPERTY(int, Columns)
    KT_PROPERTY(TItemLayout, Layout)
    TItemAppearance& ItemAppearance() { return *FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& Value) { FItemAppearance->Assign(Value); }
    TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }
    QTimer* KeyTimer() const { return FKeyTimer; }
    QString CurSearch() const { return FCurSearch; }
    void KeyTimerExpired();

    // One item per image of Images.
    void AddImagesFromImageList();
    // One item per file matching the pattern (a folder and a file mask); a file that is no
    // picture gives an item without a picture, folders give none.
    void AddImagesFromFolder(const QString& AFolder, bool SetImageCaption);

    void SetComponentStyle(TOrlexStyle AStyle) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool Cancelled) override;
    void SelectNextValue() override;
    void SelectPreviousValue() override;
    void DrawFocusedText(TCanvas& Canvas) override;
    void PerformKeyDown(Word Key, TShiftState Shift) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;
    TDrawItemEvent OnDrawItem;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PrepareList();
    void ListItemSelected();
    void SetListIndex(int Index);
    void TypeAhead();

    std::unique_ptr<TImageItems> FItems;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    TAdvCustomItemSelector* FItemSelector = nullptr;
    QTimer* FKeyTimer = nullptr;
    int FItemIndex = -1;
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    bool FInternalCall = false;
    bool FListOpened = false;
    QString FCurSearch;
    QString FKeyText;
    int FOldItemIndex = -1;
};
