#pragma once
// The detail drop-down: an editable drop-down whose list shows one row per item with an image,
// a caption and, under the caption, a marked-up note. Typing in the edit completes the text
// from the item captions.
#include "dropdown/AdvDropDown_ItemPicker.h"
#include "platform/Property.h"

#include <memory>
#include <vector>

class TDetailItems;

// One item of the detail list. Caption and ImageIndex writes that change the value report it to
// the collection.
class TDetailItem : public itemlist::TImageListItem<TDetailItems> {
public:
    using TImageListItem::TImageListItem;
    KT_PROPERTY(QString, Notes)
    KT_PROPERTY(int, Tag)
    QObject* ItemObject() const { return FItemObject; }
    void SetItemObject(QObject* Value) { FItemObject = Value; }
    // Caption, notes, image index, picture, enabled flag, tag and object.
    void Assign(const TDetailItem& Source);

    bool FEnabled = true;

private:
    QString FNotes;
    int FTag = 0;
    QObject* FItemObject = nullptr; // not owned
};

class TDetailItems : public itemlist::TItemList<TDetailItem, TDetailItems, TNotifyEvent> {
public:
    using TItemList::TItemList;
    void SetItems(int Index, const TDetailItem& Value);
    // The first item whose caption equals the text exactly, -1 for none.
    int IndexOf(const QString& S) const;
};

class TAdvDetailDropDown : public TAdvItemPickerDropDown, public liststep::TIndexStepping<TAdvDetailDropDown> {
    Q_OBJECT
public:
    explicit TAdvDetailDropDown(QWidget* AOwner = nullptr);

    TDetailItems& Items() { return *FItems; }
    void SetItems(const TDetailItems& Value) { FItems->Assign(Value); }
    void SetItemIndex(int Value);
    KT_PROPERTY(int, ItemHeight)
    TFont& CaptionFont() { return FCaptionFont; }
    void SetCaptionFont(const TFont& Value) { FCaptionFont.Assign(Value); }
    TFont& NotesFont() { return FNotesFont; }
    void SetNotesFont(const TFont& Value) { FNotesFont.Assign(Value); }
    KT_PROPERTY(bool, MatchCase)

    void CreateDropDownForm() override;
    void DoShowDropDown() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool Cancelled) override;
    void PrepareDropDownContent() override;
    void SelectNextValue() override;
    void SelectPreviousValue() override;
    void PerformKeyDown(Word Key, TShiftState Shift) override;
    void SetText(const QString& Value) override;


protected:
    void HandleKeyDown(Word& Key, TShiftState Shift) override;
    void HandleChange() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PrepareList() override;
    void ListItemSelected() override;
    void DrawDetailItem(TCanvas& Canvas, TRect R, int Index);
    void MeasureDetailItem(TSize& Size);

    std::unique_ptr<TDetailItems> FItems;
    TFont FCaptionFont;
    TFont FNotesFont;
    int FItemHeight = 22;
    bool FMatchCase = false;
    bool FWorkMode = true;
    bool FInChange = false;
    bool FSettingText = false;
    bool FTyping = false; // a key event is being handled
    QString FOldValue;
};
