#pragma once
// TCollection: an owned, ordered list of items of one class; the collection's owner hears of
// every change through Update (and Notify). Items know their collection and index.
#include <QString>
#include <functional>
#include <vector>

namespace platform {

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem {
public:
    TCollectionItem() = default;
    virtual ~TCollectionItem();
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* Collection() const { return FCollection; }
    // Moves the item into another collection (at its end) or out of any (nullptr).
    void SetCollection(TCollection* collection);
    int Index() const;
    // Moves the item to another place in its collection.
    virtual void SetIndex(int value);
    int ID() const { return FID; }
    virtual QString DisplayName() const;

    // Copies the settings of an item of the same class; the base refuses (EConvertError).
    virtual void Assign(const TCollectionItem& source);

protected:
    // Tells the collection that this item (or, with allItems, every item) changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection {
public:
    using ItemFactory = std::function<TCollectionItem*()>;

    // `factory` makes a new, unattached item of the collection's item class.
    explicit TCollection(ItemFactory factory, void* owner = nullptr);
    virtual ~TCollection();
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    void* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    // EListError "List index out of bounds (<index>)" outside the list.
    TCollectionItem* Items(int index) const;
    template <class T> T* ItemAs(int index) const { return dynamic_cast<T*>(Items(index)); }

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    // Moves an item in from outside (it leaves its old collection).
    void AddItem(TCollectionItem* item);

    // Copies the items of `source` (same item class: each new item assigns from its source).
    virtual void Assign(const TCollection& source);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Fired by Update when set: nullptr for the whole collection.
    std::function<void(TCollectionItem* item)> OnUpdate;

protected:
    // The owner's hook: an item (nullptr: all items, or the list itself) changed.
    virtual void Update(TCollectionItem* item);
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    // Update(nullptr) unless updates are suspended.
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    ItemFactory FFactory;
    void* FOwner;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};

} // namespace platform
