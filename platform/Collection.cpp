#include "platform/Collection.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <typeinfo>

namespace platform {

TCollectionItem::~TCollectionItem()
{
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (FCollection == collection)
        return;
    if (FCollection)
        FCollection->RemoveItem(this);
    if (collection)
        collection->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection)
        return -1;
    const auto& items = FCollection->FItems;
    const auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : int(it - items.begin());
}

void TCollectionItem::SetIndex(int value)
{
    const int cur = Index();
    if (cur < 0 || cur == value)
        return;
    auto& items = FCollection->FItems;
    value = std::clamp(value, 0, int(items.size()) - 1);
    items.erase(items.begin() + cur);
    items.insert(items.begin() + value, this);
    Changed(true);
}

QString TCollectionItem::DisplayName() const
{
    return QString::fromLatin1(typeid(*this).name());
}

void TCollectionItem::Assign(const TCollectionItem& source)
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(QString::fromLatin1(typeid(source).name()), QString::fromLatin1(typeid(*this).name())));
}

void TCollectionItem::Changed(bool allItems)
{
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(allItems ? nullptr : this);
}

TCollection::TCollection(ItemFactory factory, void* owner)
    : FFactory(std::move(factory)), FOwner(owner)
{
}

TCollection::~TCollection()
{
    // Items are released without notifying a half-destroyed owner.
    FUpdateCount = 1;
    while (!FItems.empty()) {
        TCollectionItem* item = FItems.back();
        FItems.pop_back();
        item->FCollection = nullptr;
        delete item;
    }
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FItems[size_t(index)];
}

void TCollection::InsertItem(TCollectionItem* item)
{
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    Notify(item, cnExtracting);
    const auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it != FItems.end())
        FItems.erase(it);
    item->FCollection = nullptr;
    Changed();
}

TCollectionItem* TCollection::Add()
{
    BeginUpdate();
    TCollectionItem* item = nullptr;
    try {
        item = FFactory();
        InsertItem(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return item;
}

void TCollection::AddItem(TCollectionItem* item)
{
    if (item)
        item->SetCollection(this);
}

TCollectionItem* TCollection::Insert(int index)
{
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = Items(index);
    Notify(item, cnDeleting);
    delete item;  // leaves the collection through its destructor
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (TCollectionItem* item : FItems)
        if (item->FID == id)
            return item;
    return nullptr;
}

void TCollection::Assign(const TCollection& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* s : source.FItems)
            Add()->Assign(*s);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount <= 0)
        return;
    --FUpdateCount;
    Changed();
}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::Update(TCollectionItem* item)
{
    if (OnUpdate)
        OnUpdate(item);
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification)
{
}

} // namespace platform
