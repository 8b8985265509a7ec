#pragma once
// The item collections of the list drop-downs (detail, image picker, selector, colour picker):
// owned items in order, an owner reported with every change, and items whose caption (and image)
// writes that change the value tell the collection. Adding and deleting fire nothing.
#include "platform/Picture.h"
#include "platform/Property.h"

#include <QObject>
#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

namespace itemlist {

// An item that reports a changed caption to its collection's OnChange, with the owner as sender.
template <class TColl>
class TListItem {
public:
    explicit TListItem(TColl* Collection) : FCollection(Collection) {}
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value)
    {
        if (platform::Change(FCaption, Value))
            Changed();
    }

protected:
    void Changed()
    {
        if (FCollection && FCollection->OnChange)
            FCollection->OnChange(FCollection->GetOwner());
    }
    // Sets a field and reports the change, only when the value differs.
    template <class T>
    void Change(T& Field, const T& Value)
    {
        if (platform::Change(Field, Value))
            Changed();
    }

    TColl* FCollection;
    QString FCaption;
};

// An item with an image list index (reported like the caption) and a picture of its own (plain).
template <class TColl>
class TImageListItem : public TListItem<TColl> {
public:
    using TListItem<TColl>::TListItem;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { this->Change(FImageIndex, Value); }
    TPicture& Image() { return FImage; }
    const TPicture& Image() const { return FImage; }
    void SetImage(const TPicture& Value) { FImage.Assign(Value); }

protected:
    int FImageIndex = -1;
    TPicture FImage;
};

// The owned items of a collection TColl (which derives from this), each made with the collection.
template <class TItem, class TColl, class TEvent>
class TItemList {
public:
    explicit TItemList(QObject* Owner = nullptr) : FMyOwner(Owner) {}
    TItemList(const TItemList&) = delete;
    TItemList& operator=(const TItemList&) = delete;
    QObject* GetOwner() const { return FMyOwner; }
    int Count() const { return int(FItems.size()); }
    TItem* Add()
    {
        FItems.push_back(std::make_unique<TItem>(static_cast<TColl*>(this)));
        return FItems.back().get();
    }
    TItem* Insert(int Index)
    {
        Index = std::clamp(Index, 0, Count());
        auto it = FItems.insert(FItems.begin() + Index, std::make_unique<TItem>(static_cast<TColl*>(this)));
        return it->get();
    }
    // The item, or nullptr for an index outside the items.
    TItem* Items(int Index) const
    {
        if (Index < 0 || Index >= Count())
            return nullptr;
        return FItems[size_t(Index)].get();
    }
    void Delete(int Index)
    {
        if (Index >= 0 && Index < Count())
            FItems.erase(FItems.begin() + Index);
    }
    void Clear() { FItems.clear(); }
    // Copies of Source's items, each through the item's own Assign.
    void Assign(const TItemList& Source)
    {
        if (&Source == this)
            return;
        FItems.clear();
        for (const auto& item : Source.FItems)
            Add()->Assign(*item);
    }

    TEvent OnChange;

private:
    QObject* FMyOwner;
    std::vector<std::unique_ptr<TItem>> FItems;
};

} // namespace itemlist
