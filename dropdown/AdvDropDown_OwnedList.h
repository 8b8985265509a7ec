#pragma once
// The columns and the items of the grid drop-downs: owned entries in order, each made by the
// collection, and every change of the collection itself (add, insert, delete, clear, assign)
// reported to OnChange with the owner as sender. Writes to an entry report nothing.
#include <QObject>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace gridlist {

template <class TEntry>
class TOwnedList {
public:
    explicit TOwnedList(QObject* AOwner = nullptr) : FOwner(AOwner) {}
    virtual ~TOwnedList() = default;
    TOwnedList(const TOwnedList&) = delete;
    TOwnedList& operator=(const TOwnedList&) = delete;
    QObject* GetOwner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TEntry* Add()
    {
        FItems.push_back(NewItem());
        Changed();
        return FItems.back().get();
    }
    TEntry* Insert(int Index)
    {
        Index = std::clamp(Index, 0, Count());
        auto it = FItems.insert(FItems.begin() + Index, NewItem());
        Changed();
        return it->get();
    }
    TEntry* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    // Nothing for an index outside the entries.
    void Delete(int Index)
    {
        if (Index < 0 || Index >= Count())
            return;
        FItems.erase(FItems.begin() + Index);
        Changed();
    }
    void Clear()
    {
        FItems.clear();
        Changed();
    }
    // Copies of Source's entries (through CopyItem), reported once.
    void Assign(const TOwnedList& Source)
    {
        if (&Source == this)
            return;
        FItems.clear();
        for (const auto& entry : Source.FItems) {
            FItems.push_back(NewItem());
            CopyItem(*FItems.back(), *entry);
        }
        Changed();
    }

    std::function<void(QObject* Sender)> OnChange;

protected:
    // The entry class of the collection; a descendant may give another one.
    virtual std::unique_ptr<TEntry> NewItem() const { return std::make_unique<TEntry>(); }
    // One entry of an Assign: the entry's own Assign, unless the collection copies more.
    virtual void CopyItem(TEntry& To, const TEntry& From) const { To.Assign(From); }

private:
    void Changed()
    {
        if (OnChange)
            OnChange(FOwner);
    }

    QObject* FOwner;
    std::vector<std::unique_ptr<TEntry>> FItems;
};

} // namespace gridlist
