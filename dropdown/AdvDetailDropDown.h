#pragma once
// The detail drop-down: an editable drop-down whose list shows one row per item with an image,
// a caption and, under the caption, a marked-up note. Typing in the edit completes the text
// from the item captions.
#include "dropdown/AdvDropDown_Edit.h"
#include "dropdown/AdvDropDown_ListStep.h"
#include "dropdown/AdvDropDown_Selector.h"
#include "platform/Property.h"

#include <QTimer>
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

#ifndef KT_TONDRAWSELECTEDITEM_DEFINED
#define KT_TONDRAWSELECTEDITEM_DEFINED
using TOnDrawSelectedItem = std::function<void(QObject* Sender, TCanvas& Canvas, TRect R)>;
#endif

class TAdvDetailDropDown : public TAdvCustomDropDown, public liststep::TIndexStepping<TAdvDetailDropDown> {
    Q_OBJECT
public:
    explicit TAdvDetailDropDown(QWidget* AOwner = nullptr);
    ~TAdvDetailDropDown() override;
    void Create() override;

    TDetailItems& Items() { return *FItems; }
    void SetItems(const TDetailItems& Value) { FItems->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    KT_PROPERTY(int, ItemHeight)
    KT_PROPERTY(TItemLayout, Layout)
    TItemAppearance& ItemAppearance() { return *FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& Value) { FItemAppearance->Assign(Value); }
    TFont& CaptionFont() { return FCaptionFont; }
    void SetCaptionFont(const TFont& Value) { FCaptionFont.Assign(Value); }
    TFont& NotesFont() { return FNotesFont; }
    void SetNotesFont(const TFont& Value) { FNotesFont.Assign(Value); }
    KT_PROPERTY(bool, MatchCase)
    TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }
    QTimer* KeyTimer() const { return FKeyTimer; }
    QString CurSearch() const { return FCurSearch; }
    // The search timer's expiry: the type-ahead text starts afresh.
    void KeyTimerExpired();


    void SetComponentStyle(TOrlexStyle AStyle) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoShowDropDown() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool Cancelled) override;
    void PrepareDropDownContent() override;
    void SelectNextValue() override;
    void SelectPreviousValue() override;
    void PerformKeyDown(Word Key, TShiftState Shift) override;
    void SetText(const QString& Value) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;

protected:
    void HandleKeyDown(Word& Key, TShiftState Shift) override;
    void HandleChange() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PrepareList();
    void ListItemSelected();
    void SetListIndex(int Index);
    void TypeAhead();
    void DrawDetailItem(TCanvas& Canvas, TRect R, int Index);
    void MeasureDetailItem(TSize& Size);

    std::unique_ptr<TDetailItems> FItems;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    TAdvCustomItemSelector* FItemSelector = nullptr;
    QTimer* FKeyTimer = nullptr;
    TFont FCaptionFont;
    TFont FNotesFont;
    int FItemIndex = -1;
    int FItemHeight = 22;
    TItemLayout FLayout = ilCaptionRight;
    bool FMatchCase = false;
    bool FWorkMode = true;
    bool FInternalCall = false;
    bool FInChange = false;
    bool FSettingText = false;
    bool FTyping = false; // a key event is being handled
    QString FCurSearch;
    QString FKeyText; // text of the key event being handled, for the type-ahead
    int FOldItemIndex = -1;
    QString FOldValue;
};
