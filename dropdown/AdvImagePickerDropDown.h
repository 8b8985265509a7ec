#pragma once
// The image picker drop-down: a pick-only drop-down whose value is one of a list of images. The
// edit shows the chosen image centred; the pop-up is the item selector with image rows.
#include "dropdown/AdvDropDown_ItemPicker.h"
#include "platform/Property.h"

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

class TAdvImagePickerDropDown : public TAdvItemPickerDropDown, public liststep::TIndexStepping<TAdvImagePickerDropDown> {
    Q_OBJECT
public:
    explicit TAdvImagePickerDropDown(QWidget* AOwner = nullptr);
    void Create() override;

    TImageItems& Items() { return *FItems; }
    void SetItems(const TImageItems& Value) { FItems->Assign(Value); }
    void SetItemIndex(int Value);
    // The current item's image list index, -1 without a current item; the write chooses the
    // first item showing that image (-1 when none does).
    int ImageIndex() const;
    void SetImageIndex(int Value);
    KT_PROPERTY(int, Columns)

    // One item per image of Images.
    void AddImagesFromImageList();
    // One item per file matching the pattern (a folder and a file mask); a file that is no
    // picture gives an item without a picture, folders give none.
    void AddImagesFromFolder(const QString& AFolder, bool SetImageCaption);

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool Cancelled) override;
    void SelectNextValue() override;
    void SelectPreviousValue() override;
    void DrawFocusedText(TCanvas& Canvas) override;
    void PerformKeyDown(Word Key, TShiftState Shift) override;

    TDrawItemEvent OnDrawItem;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PrepareList() override;
    void ListItemSelected() override;

    std::unique_ptr<TImageItems> FItems;
    int FColumns = 1;
    bool FListOpened = false;
};
