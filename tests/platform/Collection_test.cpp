#include "platform/Collection.h"
#include "platform/SysUtils.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class TItem : public TCollectionItem {
public:
    int Width = 0;
    void SetWidth(int w)
    {
        Width = w;
        Changed(false);
    }
    void Assign(const TCollectionItem& source) override
    {
        if (const auto* s = dynamic_cast<const TItem*>(&source))
            Width = s->Width;
        else
            TCollectionItem::Assign(source);
    }
};

// An owner that records what it was told.
class TItems : public TCollection {
public:
    TItems() : TCollection([] { return new TItem; }) {}
    QStringList Heard;

protected:
    void Update(TCollectionItem* item) override
    {
        Heard << (item ? QStringLiteral("item %1").arg(item->Index()) : QStringLiteral("all"));
    }
    void Notify(TCollectionItem* item, TCollectionNotification action) override
    {
        static const char* names[] = {"added", "extracting", "deleting"};
        Heard << QStringLiteral("%1 %2").arg(QString::fromLatin1(names[action])).arg(item->ID());
    }
};

} // namespace

TEST(Collection, OwnerHearsEveryChangeInOrder)
{
    TItems items;
    auto* a = static_cast<TItem*>(items.Add());
    auto* b = static_cast<TItem*>(items.Add());
    EXPECT_EQ(items.Heard, QStringList({"added 0", "all", "added 1", "all"}));
    items.Heard.clear();

    b->SetWidth(5);
    b->SetIndex(0);
    EXPECT_EQ(items.Heard, QStringList({"item 1", "all"}));
    EXPECT_EQ(items.Items(0), b);
    EXPECT_EQ(a->Index(), 1);
    items.Heard.clear();

    items.BeginUpdate();
    a->SetWidth(3);
    items.Insert(1);
    items.EndUpdate();
    EXPECT_EQ(items.Heard, QStringList({"added 2", "all"}));
    EXPECT_EQ(items.Count(), 3);
    EXPECT_EQ(items.ItemAs<TItem>(2), a);
    items.Heard.clear();

    items.Delete(0);
    EXPECT_EQ(items.Heard, QStringList({"deleting 1", "extracting 1", "all"}));
    EXPECT_EQ(items.FindItemID(1), nullptr);
    EXPECT_THROW(items.Items(5), EListError);
}

TEST(Collection, AssignCopiesItemsAndItemsLeaveWhenFreed)
{
    TItems source;
    static_cast<TItem*>(source.Add())->Width = 7;
    static_cast<TItem*>(source.Add())->Width = 9;
    TItems target;
    target.Add();
    target.Assign(source);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target.ItemAs<TItem>(1)->Width, 9);

    delete target.Items(0);  // an item freed on its own leaves its collection
    ASSERT_EQ(target.Count(), 1);
    EXPECT_EQ(target.ItemAs<TItem>(0)->Width, 9);

    TCollectionItem plain;
    EXPECT_THROW(target.Items(0)->Assign(plain), EConvertError);
}
