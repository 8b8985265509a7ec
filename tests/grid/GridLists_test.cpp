// The grid's helper lists and the file picture.
#include "grid/GridLists.h"

#include "TestSupport.h"

#include "platform/Picture.h"
#include "platform/SysUtils.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(IntList, TextFormAndChangeEvents)
{
    TIntList list(4, 9);
    int events = 0;
    list.OnChange = [&](TIntList* sender, int c, int r) {
        EXPECT_EQ(sender, &list);
        EXPECT_EQ(c, 4);
        EXPECT_EQ(r, 9);
        ++events;
    };
    EXPECT_EQ(list.StrValue(), QString());
    list.Add(3);
    list.Add(-1);
    list.Add(42);
    EXPECT_EQ(list.StrValue(), QStringLiteral("3,-1,42"));
    EXPECT_EQ(events, 3);

    struct Step {
        const char* name;
        std::function<void()> run;
        int events;
    };
    const Step steps[] = {
        {"Insert", [&] { list.Insert(0, 5); }, 0},
        {"Add", [&] { list.Add(6); }, 1},
        {"Delete", [&] { list.Delete(0); }, 1},
        {"SetInteger", [&] { list.SetInteger(0, 8); }, 1},
        {"DeleteValue present", [&] { list.DeleteValue(42); }, 1},
        {"DeleteValue absent", [&] { list.DeleteValue(1000); }, 0},
        {"Clear", [&] { list.Clear(); }, 0},
    };
    for (const Step& s : steps) {
        events = 0;
        s.run();
        EXPECT_EQ(events, s.events) << s.name;
    }

    events = 0;
    list.SetStrValue(QStringLiteral("7, 8"));
    EXPECT_EQ(list.StrValue(), QStringLiteral("7,8"));
    EXPECT_EQ(events, 2);
    EXPECT_TRUE(list.HasValue(8));
    EXPECT_FALSE(list.HasValue(3));

    // A bad entry stops the reading; what came before it stays.
    EXPECT_THROW(list.SetStrValue(QStringLiteral("1,x,3")), platform::EConvertError);
    EXPECT_EQ(list.StrValue(), QStringLiteral("1"));
    EXPECT_THROW(list.GetInteger(5), platform::EListError);
    EXPECT_THROW(list.SetInteger(-1, 0), platform::EListError);
}

TEST(SortIndexList, EntriesAndTextForm)
{
    TSortIndexList list;
    list.AddIndex(5, false);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("d5"));
    list.ToggleIndex(5);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u5"));
    list.ToggleIndex(9); // not in the list
    list.AddIndex(2, true);
    list.AddIndex(0, false);
    EXPECT_EQ(list.FindIndex(0), 2);
    EXPECT_EQ(list.FindIndex(7), -1);
    EXPECT_EQ(list.GetSortColumns(2), 0);
    EXPECT_FALSE(list.GetSortDirections(2));
    list.SetSortColumns(2, 11);
    EXPECT_FALSE(list.GetSortDirections(2)); // the direction stays
    list.SetSortDirections(2, true);
    list.SetSortDirections(1, false);
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u5;d2;u11"));
    list.Clear();
    list.AddIndex(65538, true); // written modulo 65536
    EXPECT_EQ(list.SaveToString(), QStringLiteral("u2"));

    struct Case {
        const char* text;
        std::vector<std::pair<int, bool>> entries; // column, ascending
    };
    const Case cases[] = {
        {"u1;;x;d3", {{1, true}, {3, false}}},
        {"q7", {{7, false}}},
        {"u12abc;d", {{12, true}}},
        {"ux", {{0, true}}},
        {"u-5;d2", {{2, false}}},
        {"d99999999999;u4", {{4, true}}},
        {"", {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        list.LoadFromString(QString::fromLatin1(k.text));
        ASSERT_EQ(list.Count(), int(k.entries.size()));
        for (int i = 0; i < list.Count(); ++i) {
            EXPECT_EQ(list.GetSortColumns(i), k.entries[size_t(i)].first);
            EXPECT_EQ(list.GetSortDirections(i), k.entries[size_t(i)].second);
        }
    }
}

TEST(ControlList, PlacesAndFindsControls)
{
    auto first = std::make_unique<QWidget>();
    auto second = std::make_unique<QWidget>();
    QWidget other;
    TControlList list;
    list.AddControl(1, 2, first.get());
    list.AddControl(1, 2, second.get());
    list.AddControl(3, 4, &other);
    EXPECT_EQ(list.ControlIndex(1, 2), 0);
    EXPECT_EQ(list.ControlIndex(3, 4), 2);
    EXPECT_EQ(list.ControlIndex(2, 1), -1);
    EXPECT_TRUE(list.HasHandle(second.get()));
    EXPECT_FALSE(list.HasHandle(nullptr));

    list.RemoveControl(0); // the item goes, the control stays
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetControl(0)->Object(), second.get());
    EXPECT_FALSE(list.HasHandle(first.get()));
    first->setObjectName(QStringLiteral("still here"));
    EXPECT_THROW(list.GetControl(5), platform::EListError);

    second.reset(); // a destroyed control is forgotten, not left dangling
    EXPECT_EQ(list.GetControl(0)->Object(), nullptr);
}

TEST(FileStringList, WritesInPiecesAndReadsLineByLine)
{
    TFileStringList list;
    list.Write(QStringLiteral("a"));
    list.Write(QStringLiteral("b"));
    list.WriteLn(QStringLiteral("c"));
    list.WriteLn(QStringLiteral("d"));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Strings(0), QStringLiteral("abc"));

    list.Reset();
    QString s;
    EXPECT_FALSE(list.Eof());
    list.ReadLn(s);
    EXPECT_EQ(s, QStringLiteral("abc"));
    list.ReadLn(s);
    EXPECT_EQ(s, QStringLiteral("d"));
    EXPECT_TRUE(list.Eof());
    EXPECT_THROW(list.ReadLn(s), platform::EStringListError);
}

TEST(FilePicture, MeasuresOnNamingAndDrawsFromTheFile)
{
    TFilePicture pic;
    pic.SetFilename(kt_test::FixturePath(QStringLiteral("pictures/solid_100x40.bmp")));
    EXPECT_EQ(pic.Width(), 100);
    EXPECT_EQ(pic.Height(), 40);

    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TCanvas canvas(&image);
        pic.DrawPicture(canvas, TRect(0, 0, 20, 10));
    }
    EXPECT_NE(image.pixel(10, 5), QColor(Qt::white).rgb());

    // An unreadable file raises when named, keeps the old size, and then draws nothing.
    EXPECT_THROW(pic.SetFilename(kt_test::FixturePath(QStringLiteral("pictures/junk16.bin"))), EInvalidGraphic);
    EXPECT_EQ(pic.Width(), 100);
    image.fill(Qt::white);
    {
        TCanvas canvas(&image);
        EXPECT_NO_THROW(pic.DrawPicture(canvas, TRect(0, 0, 20, 10)));
    }
    EXPECT_EQ(image.pixel(10, 5), QColor(Qt::white).rgb());

    TFilePicture copy;
    copy.Assign(pic);
    EXPECT_EQ(copy.Filename(), pic.Filename());
    EXPECT_EQ(copy.Width(), 100);
}

} // namespace
