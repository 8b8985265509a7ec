// The object record format: value tags by size and content, colour names, floating point, and the
// reader's errors on broken records.
#include "platform/ComponentStream.h"

#include <QBuffer>
#include <QMap>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QByteArray Written(const std::function<void(TComponentWriter&)>& Fn)
{
    QByteArray data;
    QBuffer b(&data);
    b.open(QIODevice::WriteOnly);
    TComponentWriter w(b);
    Fn(w);
    return data;
}

QByteArray Bytes(std::initializer_list<int> l)
{
    QByteArray b;
    for (int v : l)
        b.append(char(v));
    return b;
}

QString ReadError(const QByteArray& Data)
{
    QByteArray d = Data;
    QBuffer b(&d);
    b.open(QIODevice::ReadOnly);
    TComponentReader r(b);
    try {
        r.ReadRecord(nullptr);
    } catch (const EReadError& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

QByteArray Patched(QByteArray data, const QByteArray& from, const QByteArray& to)
{
    return data.replace(data.lastIndexOf(from), from.size(), to);
}

} // namespace

TEST(ComponentStream, ValuesTakeTheSmallestTagThatHoldsThem)
{
    struct Case {
        std::function<void(TComponentWriter&)> write;
        QByteArray value; // tag and payload
    };
    const QString cjk = QString::fromUtf8("\xe8\xa1\xa8\xe6\xa0\xbc");
    const Case cases[] = {
        {[](TComponentWriter& w) { w.WriteInteger("P", 5); }, Bytes({2, 5})},
        {[](TComponentWriter& w) { w.WriteInteger("P", -128); }, Bytes({2, 0x80})},
        {[](TComponentWriter& w) { w.WriteInteger("P", 200); }, Bytes({3, 200, 0})},
        {[](TComponentWriter& w) { w.WriteInteger("P", 40000); }, Bytes({4, 0x40, 0x9C, 0, 0})},
        {[](TComponentWriter& w) { w.WriteInteger("P", 70000); }, Bytes({4, 0x70, 0x11, 1, 0})},
        {[](TComponentWriter& w) { w.WriteString("P", "abc"); }, Bytes({6, 3, 'a', 'b', 'c'})},
        {[](TComponentWriter& w) { w.WriteString("P", QString::fromUtf8("\xc3\xa9t\xc3\xa9")); },
         Bytes({20, 5, 0, 0, 0, 0xC3, 0xA9, 't', 0xC3, 0xA9})},
        {[&](TComponentWriter& w) { w.WriteString("P", cjk); }, Bytes({18, 2, 0, 0, 0, 0x68, 0x88, 0x3C, 0x68})},
        {[](TComponentWriter& w) { w.WriteStringList("P", {"", "x"}); }, Bytes({1, 18, 0, 0, 0, 0, 6, 1, 'x', 0})},
        {[](TComponentWriter& w) { w.WriteBoolean("P", true); }, Bytes({9})},
        {[](TComponentWriter& w) { w.WriteIdent("P", "taCenter"); }, Bytes({7, 8}) + "taCenter"},
        {[](TComponentWriter& w) { w.WriteColor("P", clWindow); }, Bytes({7, 8}) + "clWindow"},
        {[](TComponentWriter& w) { w.WriteColor("P", TColor(0x00F5E6D2)); }, Bytes({4, 0xD2, 0xE6, 0xF5, 0})},
        {[](TComponentWriter& w) { w.WriteColor("P", clNone); }, Bytes({7, 6}) + "clNone"},
        {[](TComponentWriter& w) { w.WriteSet("P", {"fsBold", "fsItalic"}); },
         Bytes({11, 6}) + "fsBold" + Bytes({8}) + "fsItalic" + Bytes({0})},
        {[](TComponentWriter& w) { w.WriteBinary("P", "xy"); }, Bytes({10, 2, 0, 0, 0, 'x', 'y'})},
        {[](TComponentWriter& w) { w.WriteFloat("P", 1.5); }, Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Written(c.write), Bytes({1, 'P'}) + c.value) << c.value.toHex().toStdString();

    const QByteArray longText = Written([](TComponentWriter& w) { w.WriteString("P", QString(300, 'a')); });
    EXPECT_EQ(longText.left(7), Bytes({1, 'P', 12, 0x2C, 1, 0, 0}));
}

TEST(ComponentStream, RecordsReadBackWithEveryValue)
{
    QByteArray data = Written([](TComponentWriter& w) {
        w.BeginRecord("TThing");
        w.WriteInteger("Count", -40000);
        w.WriteString("Text", QString::fromUtf8("\xc3\xa9"));
        w.WriteFloat("Value", -0.1);
        w.WriteColor("Color", clBtnFace);
        w.WriteStringList("Items", {"a", "", QString::fromUtf8("\xe8\xa1\xa8")});
        w.EndRecord();
    });
    EXPECT_TRUE(data.startsWith(QByteArray("TPF0\x06TThing\x00", 12)));
    QBuffer b(&data);
    b.open(QIODevice::ReadOnly);
    TComponentReader r(b);
    QMap<QString, TPropValue> props;
    EXPECT_EQ(r.ReadRecord([&](const QString& n, const TPropValue& v) { props[n] = v; }), "TThing");
    EXPECT_TRUE(b.atEnd());
    EXPECT_EQ(props["Count"].Int, -40000);
    EXPECT_EQ(props["Text"].Str, QString::fromUtf8("\xc3\xa9"));
    EXPECT_DOUBLE_EQ(props["Value"].Float, -0.1);
    TColor c = 0;
    EXPECT_TRUE(IdentToColor(props["Color"].Str, c));
    EXPECT_EQ(c, clBtnFace);
    EXPECT_EQ(props["Items"].Items, QStringList({"a", "", QString::fromUtf8("\xe8\xa1\xa8")}));
}

TEST(ComponentStream, BrokenRecordsFailWithTheReadersError)
{
    const QByteArray good = QByteArray("TPF0\x01X\x00\x01P\x02\x05\x00\x00", 13);
    EXPECT_EQ(ReadError(good), "");
    EXPECT_EQ(ReadError(QByteArray("TPF1\x01X\x00\x00\x00", 9)), "Invalid stream format");
    EXPECT_EQ(ReadError(good.left(10)), "Stream read error");
    QByteArray unknownTag = good;
    unknownTag[9] = char(99);
    EXPECT_EQ(ReadError(unknownTag), "Invalid stream format");
    // A byte count far beyond the data is refused, not allocated.
    EXPECT_EQ(ReadError(QByteArray("TPF0\x01X\x00\x01P\x0a\xff\xff\xff\x7f", 14)), "Stream read error");
    EXPECT_EQ(ReadError(QByteArray("TPF0\x01X\x00\x00\x01", 9)), "Invalid stream format");
}

TEST(ComponentStream, CollectionsHoldTheirItemsPropertiesInOrder)
{
    const QByteArray written = Written([](TComponentWriter& w) {
        w.BeginCollection("Items");
        w.BeginCollectionItem();
        w.WriteInteger("A", 1);
        w.WriteReference("Ref", "Menu1");
        w.EndList();
        w.BeginCollectionItem();
        w.EndList();
        w.EndList();
        w.WriteReference("None", "");
    });
    const QByteArray items = Bytes({5}) + "Items" + Bytes({14, 1, 1, 'A', 2, 1, 3}) + "Ref" + Bytes({7, 5}) + "Menu1" +
                             Bytes({0, 1, 0, 0});
    EXPECT_EQ(written, items + Bytes({4}) + "None" + Bytes({13}));

    // An item may start with its place in the list (an integer before the list tag).
    QByteArray data = QByteArray("TPF0\x01X\x00", 7) + Patched(items, Bytes({0, 1, 0, 0}), Bytes({0, 2, 7, 1, 0, 0})) +
                      Bytes({0, 0});
    QBuffer b(&data);
    b.open(QIODevice::ReadOnly);
    TComponentReader r(b);
    TPropValue v;
    r.ReadRecord([&](const QString&, const TPropValue& p) { v = p; });
    ASSERT_EQ(v.Type, vaCollection);
    ASSERT_EQ(v.Entries.size(), 2u);
    ASSERT_EQ(v.Entries[0].Properties.size(), 2u);
    EXPECT_FALSE(v.Entries[0].HasOrder);
    EXPECT_EQ(v.Entries[0].Properties[0].Name, "A");
    EXPECT_EQ(v.Entries[0].Properties[0].Value.Int, 1);
    EXPECT_EQ(v.Entries[0].Properties[1].Value.Type, vaIdent);
    EXPECT_EQ(v.Entries[0].Properties[1].Value.Str, "Menu1");
    EXPECT_TRUE(v.Entries[1].HasOrder);
    EXPECT_EQ(v.Entries[1].Order, 7);
    EXPECT_TRUE(v.Entries[1].Properties.empty());

    const QByteArray head("TPF0\x01X\x00\x01P\x0e", 10);
    EXPECT_EQ(ReadError(head + Bytes({1, 0, 0, 0, 0})), "");
    EXPECT_EQ(ReadError(head + Bytes({6, 0, 0, 0, 0})), "Invalid stream format"); // an item is a list
    EXPECT_EQ(ReadError(head + Bytes({1, 1, 'A', 0})), "Invalid property value");
    EXPECT_EQ(ReadError(head + Bytes({1, 1, 'A'})), "Stream read error");
    // Collections inside items nest only so deep.
    QByteArray nested = head;
    for (int i = 0; i < 40; ++i)
        nested += Bytes({1, 1, 'C', 14});
    EXPECT_EQ(ReadError(nested), "Invalid stream format");
}
