// The image picker drop-down: items from an image list and from a folder, ImageIndex, the
// list's keys open and closed, Escape, mouse and wheel choices, type-ahead, and its look.
#include "dropdown/AdvImagePickerDropDown.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QImage Swatch(QColor c, int size = 16)
{
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

class DropDownImagePicker : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        Host = std::make_unique<QWidget>();
        Host->setGeometry(40, 40, 400, 300);
        DD = TAdvCustomDropDown::New<TAdvImagePickerDropDown>(Host.get());
        DD->setGeometry(10, 10, 120, 24);
        Host->show();
        Host->activateWindow();
        DD->setFocus();
        QApplication::processEvents();
        const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta};
        for (const QColor& c : colours)
            List.AddImage(Swatch(c));
        DD->OnSelect = [this](QObject*) { Log += "select;"; };
        DD->OnChange = [this](QObject*) { Log += "change;"; };
    }
    void TearDown() override
    {
        if (DD->DroppedDown())
            DD->HideDropDown(false);
        Host.reset();
    }
    void Grab(const QString& name)
    {
        TDropDownForm* form = DD->DropDownForm();
        const QPoint formAt = form->pos() - DD->mapToGlobal(QPoint(0, 0));
        QImage shot(std::max(DD->width(), formAt.x() + form->width()) + 2, formAt.y() + form->height() + 2,
                    QImage::Format_RGB32);
        shot.fill(QColor(240, 240, 240));
        {
            QPainter p(&shot);
            p.drawPixmap(0, 0, DD->grab());
            p.drawPixmap(formAt, form->grab());
        }
        EXPECT_TRUE(shot.save(kt_test::GrabPath(name)));
    }
    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<QWidget> Host;
    TAdvImagePickerDropDown* DD = nullptr;
    TCustomImageList List{16, 16};
    QString Log;
};

TEST_F(DropDownImagePicker, ImageListAndImageIndex)
{
    EXPECT_FALSE(DD->EditorEnabled());
    EXPECT_EQ(DD->Columns(), 1);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->ImageIndex(), -1);
    DD->AddImagesFromImageList();
    EXPECT_EQ(DD->Items().Count(), 0) << "no image list, no items";
    DD->SetImages(&List);
    DD->AddImagesFromImageList();
    ASSERT_EQ(DD->Items().Count(), 5);
    EXPECT_EQ(DD->Items().Items(4)->ImageIndex(), 4);
    EXPECT_EQ(DD->Items().Items(4)->Caption(), "");

    DD->SetImageIndex(3);
    EXPECT_EQ(DD->ItemIndex(), 3);
    EXPECT_EQ(DD->ImageIndex(), 3);
    EXPECT_EQ(Log, "change;select;");
    // The edit shows the chosen image centred.
    QImage shot = DD->grab().toImage();
    const TRect r = DD->GetEditRect();
    EXPECT_EQ(shot.pixelColor((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), QColor(Qt::yellow));
    Log.clear();
    DD->SetItemIndex(3);
    EXPECT_EQ(Log, "") << "the same index fires nothing";
    DD->SetItemIndex(5);
    EXPECT_EQ(DD->ItemIndex(), 3) << "past the items: nothing";
    DD->SetImageIndex(7);
    EXPECT_EQ(DD->ItemIndex(), -1);
    shot = DD->grab().toImage();
    EXPECT_NE(shot.pixelColor((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), QColor(Qt::yellow));
}

TEST_F(DropDownImagePicker, ImagesFromAFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(Swatch(Qt::red, 12).save(dir.filePath("a.png")));
    QFile text(dir.filePath("b.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir("c.png"));
    DD->AddImagesFromFolder(dir.filePath("*.png"), true);
    ASSERT_EQ(DD->Items().Count(), 2) << "the folder c.png adds no item";
    EXPECT_EQ(DD->Items().Items(0)->Caption(), "a.png");
    EXPECT_EQ(DD->Items().Items(0)->Image().Width(), 12);
    EXPECT_TRUE(DD->Items().Items(1)->Image().Empty());
    EXPECT_EQ(DD->Items().Items(1)->Caption(), "");
    DD->Items().Clear();
    DD->AddImagesFromFolder(dir.filePath("*.png"), false);
    EXPECT_EQ(DD->Items().Items(0)->Caption(), "");
}

TEST_F(DropDownImagePicker, KeysOpenAndClosedAndEscape)
{
    DD->SetImages(&List);
    DD->AddImagesFromImageList();
    // Escape before the list ever opened leaves the choice.
    DD->SetItemIndex(2);
    DD->PerformKeyDown(VK_ESCAPE, {});
    EXPECT_EQ(DD->ItemIndex(), 2);
    // Closed: Up, Down, Home and End step the value.
    struct Case {
        Qt::Key key;
        int expected;
    };
    const Case closed[] = {{Qt::Key_Down, 3}, {Qt::Key_Up, 2}, {Qt::Key_End, 4}, {Qt::Key_Down, 4}, {Qt::Key_Home, 0}};
    for (const Case& c : closed) {
        SCOPED_TRACE(c.key);
        QTest::keyClick(DD, c.key);
        EXPECT_FALSE(DD->DroppedDown());
        EXPECT_EQ(DD->ItemIndex(), c.expected);
    }
    DD->SetItemIndex(1);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvCustomItemSelector* list = DD->ItemSelector();
    EXPECT_EQ(list->Items().Count(), 5);
    EXPECT_EQ(list->ItemIndex(), 1);
    const Case open[] = {{Qt::Key_Down, 2}, {Qt::Key_Right, 3}, {Qt::Key_Left, 2}, {Qt::Key_End, 4},
                         {Qt::Key_Up, 3},   {Qt::Key_Home, 0}};
    for (const Case& c : open) {
        SCOPED_TRACE(c.key);
        QTest::keyClick(list, c.key);
        EXPECT_TRUE(DD->DroppedDown());
        EXPECT_EQ(DD->ItemIndex(), c.expected);
    }
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1) << "the choice the list opened with";
    // Escape after the list closed goes back to that choice as well, also to -1.
    QTest::keyClick(DD, Qt::Key_Down);
    DD->PerformKeyDown(VK_ESCAPE, {});
    EXPECT_EQ(DD->ItemIndex(), 1);
    DD->SetItemIndex(-1);
    DD->ShowDropDown();
    QTest::keyClick(DD->ItemSelector(), Qt::Key_Down);
    EXPECT_EQ(DD->ItemIndex(), 0);
    QTest::keyClick(DD->ItemSelector(), Qt::Key_Escape);
    EXPECT_EQ(DD->ItemIndex(), -1);
    // Enter in the open list keeps the choice and fires OnSelect.
    DD->ShowDropDown();
    QTest::keyClick(DD->ItemSelector(), Qt::Key_Down);
    Log.clear();
    QTest::keyClick(DD->ItemSelector(), Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_EQ(Log, "select;");
}

TEST_F(DropDownImagePicker, ColumnsMouseAndWheel)
{
    DD->SetImages(&List);
    DD->AddImagesFromImageList();
    DD->SetColumns(2);
    DD->SetItemIndex(0);
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    TAdvCustomItemSelector* list = DD->ItemSelector();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(DD->ItemIndex(), 2) << "Down moves a whole row of columns";
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(DD->ItemIndex(), 0);
    // The wheel moves the hot row only: nothing is chosen.
    DD->SelectNextValue();
    DD->SelectNextValue();
    EXPECT_EQ(list->ItemHot(), 1);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_TRUE(DD->DroppedDown());
    Grab("dropdown_imagepicker_open.png");
    // A click chooses and closes.
    const TRect r = list->Panel()->GetItemRect(3);
    QTest::mouseClick(list->Panel(), Qt::LeftButton, Qt::NoModifier,
                      QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 3);
    // Closed, the wheel steps through the list without opening it.
    DD->SelectNextValue();
    EXPECT_EQ(DD->ItemIndex(), 4);
    EXPECT_FALSE(DD->DroppedDown());
}

TEST_F(DropDownImagePicker, TypeAhead)
{
    for (const char* c : {"Cat", "Dog", "Duck"})
        DD->Items().Add()->SetCaption(c);
    DD->ShowDropDown();
    TAdvCustomItemSelector* list = DD->ItemSelector();
    QTest::keyClick(list, Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_D);
    QTest::keyClick(list, Qt::Key_U, Qt::ShiftModifier);
    EXPECT_EQ(DD->CurSearch(), "DU");
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_TRUE(DD->DroppedDown());
    DD->KeyTimerExpired();
    EXPECT_EQ(DD->CurSearch(), "");
    QTest::keyClick(list, Qt::Key_C);
    EXPECT_EQ(DD->ItemIndex(), 0);
}

} // namespace

namespace {

class ImageStyleProbe : public TAdvImagePickerDropDown {
public:
    using TAdvCustomDropDown::ApplyItemAppearanceStyle;
};

TEST_F(DropDownImagePicker, StylesReachTheItemAppearance)
{
    ImageStyleProbe probe;
    for (TOrlexStyle style : {tsOffice2003Blue, tsCustom, tsWindowsVista, tsOffice2010Blue}) {
        SCOPED_TRACE(int(style));
        DD->ItemAppearance().ColorHot = 0x123456;
        DD->ItemAppearance().ColorSelected = 0x654321;
        TItemAppearance expected;
        expected.ColorHot = 0x123456;
        expected.ColorSelected = 0x654321;
        probe.ApplyItemAppearanceStyle(&expected, style);
        DD->SetComponentStyle(style);
        EXPECT_EQ(DD->ItemAppearance().ColorHot, expected.ColorHot);
        EXPECT_EQ(DD->ItemAppearance().ColorSelected, expected.ColorSelected);
    }
    DD->SetSelectionColorStyle(scWindowsVista);
    EXPECT_EQ(DD->ItemSelector()->ItemAppearance().ColorStyle(), scWindowsVista);
}

} // namespace

namespace {

TEST_F(DropDownImagePicker, EscapeKeyInTheClosedEditRestoresTheOpeningChoice)
{
    // A real Escape on the edit, with the edit's undo share on (the default), reaches the
    // cancelling close as the key-down step does.
    DD->SetImages(&List);
    DD->AddImagesFromImageList();
    ASSERT_TRUE(DD->CanUndo());
    DD->SetItemIndex(2);
    QTest::keyClick(DD, Qt::Key_Escape);
    EXPECT_EQ(DD->ItemIndex(), 2) << "never opened: the choice stays";
    DD->ShowDropDown();
    ASSERT_TRUE(DD->DroppedDown());
    QTest::keyClick(DD->ItemSelector(), Qt::Key_Return);
    EXPECT_FALSE(DD->DroppedDown());
    QTest::keyClick(DD, Qt::Key_Down);
    EXPECT_EQ(DD->ItemIndex(), 3);
    QTest::keyClick(DD, Qt::Key_Escape);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 2) << "back to the choice the list opened with";
}

} // namespace
