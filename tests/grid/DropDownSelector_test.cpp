// The item selector: cell sizes by layout, the grid of cells, hot, selected and disabled items,
// the lookup by caption, scrolling an item into view, the item appearance and its styles, and a
// picker-like drop-down showing it.
#include "dropdown/AdvDropDown_Edit.h"
#include "dropdown/AdvDropDown_Selector.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include "TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

TSize CaptionSize(TAdvCustomItemSelector& s, const QString& caption)
{
    TCanvas c;
    c.SetFont(s.ItemAppearance().Font());
    return DrawMarkupCaption(c, caption, TRect(0, 0, 1000, 500), nullptr, false, nullptr);
}

TCustomImageList RedImages()
{
    TCustomImageList images(16, 16);
    TBitmap red(16, 16);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect(TRect(0, 0, 16, 16));
    images.Add(red);
    return images;
}

class DropDownSelector : public ::testing::Test {
protected:
    void SetUp() override
    {
        Selector = std::make_unique<TAdvCustomItemSelector>();
        Selector->resize(200, 100);
    }
    TAdvCustomItemSelector& S() { return *Selector; }
    void AddItems(int n, const QString& prefix = "Item")
    {
        for (int i = 0; i < n; ++i)
            S().Items().Add()->SetCaption(QString("%1 %2").arg(prefix).arg(i));
        S().UpdateSelectorPanel();
    }
    std::unique_ptr<TAdvCustomItemSelector> Selector;
};

TEST_F(DropDownSelector, CellSizeFollowsTheLayout)
{
    TCustomImageList images = RedImages();
    const QString caption = "<b>Red</b> colour";
    const TSize c = CaptionSize(S(), caption);
    ASSERT_GT(c.cx, 0);
    const int cw = c.cx + 4, ch = c.cy;
    struct Case {
        TSelectorType type;
        TItemLayout layout;
        bool withCaption;
        int w, h;
    };
    const Case cases[] = {
        // image 16 x 16 beside or above the caption: offsets 4, gap 4
        {stImage, ilCaptionRight, true, 8 + 16 + 4 + cw, std::max(ch, 16) + 8},
        {stImage, ilCaptionLeft, true, 8 + 16 + 4 + cw, std::max(ch, 16) + 8},
        {stImage, ilCaptionTop, true, std::max(cw, 16) + 8, 8 + 16 + 4 + ch},
        {stImage, ilCaptionBottom, true, std::max(cw, 16) + 8, 8 + 16 + 4 + ch},
        {stImage, ilCaptionRight, false, 8 + 16, 16 + 8},
        {stImage, ilCaptionBottom, false, 16 + 8, 8 + 16},
        // colour box 14 x 14
        {stColor, ilCaptionRight, true, 8 + 14 + 4 + cw, std::max(ch, 14) + 8},
        {stColor, ilCaptionTop, true, std::max(cw, 14) + 8, 8 + 14 + 4 + ch},
        {stColor, ilCaptionLeft, false, 8 + 14, 14 + 8},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(QString("type %1 layout %2 caption %3").arg(k.type).arg(k.layout).arg(k.withCaption).toStdString());
        S().Items().Clear();
        TSelectorItem* item = S().Items().Add();
        item->SetImageIndex(0);
        item->SetColor(clRed);
        if (k.withCaption)
            item->SetCaption(caption);
        S().SetImages(&images);
        S().SetSelectorType(k.type);
        S().SetItemLayout(k.layout);
        S().UpdateSelectorPanel();
        const TRect r = S().Panel()->GetItemRect(0);
        EXPECT_EQ(r.Width(), k.w);
        EXPECT_EQ(r.Height(), k.h);
        EXPECT_EQ(r.TopLeft(), TPoint(2, 2));
    }
    // A picture shows instead of the list's image and sizes the cell.
    S().SetSelectorType(stImage);
    S().SetItemLayout(ilCaptionRight);
    TPicture big;
    big.SetGraphic(std::make_unique<TBitmap>(30, 20));
    S().Items().Items(0)->SetImage(big);
    EXPECT_EQ(S().Panel()->GetItemRect(0).Width(), 8 + 16) << "a new picture waits for the owner's layout";
    S().UpdateSelectorPanel();
    EXPECT_EQ(S().Panel()->GetItemRect(0).Width(), 8 + 30);
    EXPECT_EQ(S().Panel()->GetItemRect(0).Height(), 8 + 20);
    S().SetImages(nullptr);
}

TEST_F(DropDownSelector, GridOfCells)
{
    // No items: a fixed small panel and nothing to select.
    EXPECT_EQ(S().Panel()->size(), QSize(100, 50));
    EXPECT_EQ(S().GetVisibleItemCount(), 0);
    S().SelectNext();
    EXPECT_EQ(S().ItemIndex(), -1);
    EXPECT_FALSE(S().LookupItem("A"));

    S().OnItemSize = [](QObject*, TSize& size) { size = TSize(30, 24); };
    S().SetColumns(3);
    AddItems(7);
    // Rows of 3, 3 and 1 with a margin of 2 around the grid.
    EXPECT_EQ(S().Panel()->size(), QSize(2 + 3 * 30 + 2, 2 + 3 * 24 + 2));
    EXPECT_EQ(S().Panel()->GetItemRect(5), TRect(62, 26, 92, 50));
    EXPECT_EQ(S().Panel()->GetItemRect(6), TRect(2, 50, 32, 74));
    EXPECT_EQ(S().Panel()->GetItemRect(7), TRect(-1, -1, -1, -1));
    EXPECT_EQ(S().Panel()->ItemAtPos(62, 26), 5);
    EXPECT_EQ(S().Panel()->ItemAtPos(92, 26), -1) << "right edges are outside";
    EXPECT_EQ(S().Panel()->ItemAtPos(40, 60), -1);
    S().SetColumns(0); // ignored
    EXPECT_EQ(S().Columns(), 3);

    S().SetColumns(1);
    EXPECT_EQ(S().GetVisibleItemCount(), 4) << "100 pixels of 24-pixel rows";
    TSize size;
    S().GetSelectorSize(size);
    EXPECT_EQ(size, TSize(34, 2 + 7 * 24 + 2));
}

TEST_F(DropDownSelector, HotSelectedAndDisabledItems)
{
    AddItems(3);
    S().Items().Items(1)->FEnabled = false;
    S().Items().Items(1)->SetHint("Not available");
    S().show();
    QApplication::processEvents();
    int selects = 0;
    S().OnItemSelect = [&](QObject* sender) {
        EXPECT_EQ(sender, Selector.get());
        ++selects;
    };
    S().SetItemIndex(0);
    EXPECT_EQ(selects, 1);
    S().SelectNext();
    EXPECT_EQ(S().ItemIndex(), 0) << "the disabled item is not skipped: the selection stays";
    EXPECT_EQ(selects, 1);

    TCustomItemSelector* panel = S().Panel();
    auto centre = [&](int i) {
        const TRect r = panel->GetItemRect(i);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, centre(1));
    EXPECT_EQ(S().ItemIndex(), 0);
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, centre(2));
    EXPECT_EQ(S().ItemIndex(), 2);
    EXPECT_EQ(selects, 2);

    QTest::mouseMove(panel, centre(0));
    EXPECT_EQ(S().ItemHot(), 0);
    QTest::mouseMove(panel, centre(1));
    EXPECT_EQ(S().ItemHot(), -1) << "a disabled item clears the hot item";
    EXPECT_EQ(panel->toolTip(), "Not available");
    S().HotNext();
    EXPECT_EQ(S().ItemHot(), 0);
    S().HotNext();
    EXPECT_EQ(S().ItemHot(), 0) << "item 1 refuses to become hot";
    S().UpdateSelectorPanel();
    EXPECT_EQ(S().ItemHot(), -1) << "a new layout drops the hot item";
    EXPECT_EQ(S().ItemIndex(), 2) << "and keeps the selection";

    // An index past the items is stored and reported; nothing reads the missing item.
    S().SetItemIndex(99);
    EXPECT_EQ(S().ItemIndex(), 99);
    EXPECT_EQ(selects, 3);
    S().SelectPrevious();
    EXPECT_EQ(S().ItemIndex(), 98);
    EXPECT_FALSE(S().grab().isNull());
    EXPECT_EQ(selects, 4);
    S().SetItemIndex(-1);
    EXPECT_EQ(selects, 4) << "a negative index reports nothing";

    EXPECT_THROW(TCustomItemSelector(nullptr), platform::Exception);
    QWidget plain;
    EXPECT_THROW(TCustomItemSelector{&plain}, platform::Exception);
}

TEST_F(DropDownSelector, LookupByPlainCaption)
{
    const QStringList captions = {"Blue", "<b>Red</b>", "  reddish", "Green"};
    for (const QString& c : captions)
        S().Items().Add()->SetCaption(c);
    S().UpdateSelectorPanel();
    struct Case {
        QString search;
        bool found;
        int index;
    };
    const Case cases[] = {{"RE", true, 1}, {"RED", true, 1}, {"REDD", true, 2}, {"GR", true, 3},
                          {"re", false, 3}, {"", false, 3},  {"X", false, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.search.toStdString());
        EXPECT_EQ(S().LookupItem(c.search), c.found);
        EXPECT_EQ(S().ItemIndex(), c.index);
    }
}

TEST_F(DropDownSelector, ScrollItemInView)
{
    S().OnItemSize = [](QObject*, TSize& size) { size = TSize(150, 20); };
    AddItems(30);
    S().show();
    QApplication::processEvents();
    QScrollBar* bar = S().verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const int clientHeight = S().viewport()->height();
    S().SetItemIndex(20);
    // Item 20 spans 402..422 of the panel: its bottom now meets the bottom of the view.
    EXPECT_EQ(bar->value(), 422 - clientHeight);
    S().SetItemIndex(21);
    EXPECT_EQ(bar->value(), 442 - clientHeight);
    S().SetItemIndex(2);
    EXPECT_EQ(bar->value(), 42) << "scrolled up so that the item starts at the top";
    S().SetItemIndex(3);
    EXPECT_EQ(bar->value(), 42) << "already in view";
    S().SetScrollMargin(5);
    S().SetItemIndex(1);
    EXPECT_EQ(bar->value(), 22 - 5);
    S().ScrollItemInView(500); // no such item
    S().ScrollItemInView(-1);
    EXPECT_EQ(bar->value(), 17);
}

TEST_F(DropDownSelector, AppearanceStylesAndAssign)
{
    TItemAppearance a;
    EXPECT_EQ(a.ColorStyle(), scOffice2007);
    EXPECT_EQ(a.ColorHot, TColor(0xD7FFFD));
    EXPECT_EQ(a.ColorMirrorHot, TColor(0x58D4FC));
    EXPECT_EQ(a.Font().Name(), "Tahoma");
    a.SetColorStyle(scWindowsVista);
    EXPECT_EQ(a.ColorMirrorHot, clNone) << "one gradient over the whole face";
    EXPECT_EQ(a.ColorHot, TColor(0xFDF8F1));
    a.ColorHot = 0x123456;
    a.SetColorStyle(scWindowsVista); // unchanged style: nothing reloaded
    EXPECT_EQ(a.ColorHot, TColor(0x123456));

    // Assign takes the style first, so the copied colours are not overwritten by its presets.
    TItemAppearance b;
    a.ColorSelectedText = clBlue;
    a.ColorHotText = clRed;
    b.Assign(a);
    EXPECT_EQ(b.ColorStyle(), scWindowsVista);
    EXPECT_EQ(b.ColorHot, TColor(0x123456));
    EXPECT_EQ(b.ColorSelectedText, clBlue);
    EXPECT_EQ(b.ColorHotText, TColor(0)) << "the hot text colour is not copied";

    // Component styles of the pickers.
    class TStyler : public TAdvCustomDropDown {
    public:
        using TAdvCustomDropDown::ApplyItemAppearanceStyle;
        using TAdvCustomDropDown::TAdvCustomDropDown;
    };
    std::unique_ptr<TStyler> dd(TAdvCustomDropDown::New<TStyler>());
    TItemAppearance c;
    c.BorderColorHot = clRed;
    dd->ApplyItemAppearanceStyle(&c, tsCustom);
    EXPECT_EQ(c.BorderColorHot, clRed);
    dd->ApplyItemAppearanceStyle(&c, tsWindowsXP);
    EXPECT_EQ(c.BorderColorHot, clNone);
    EXPECT_EQ(c.ColorSelected, clHighlight);
    EXPECT_EQ(c.ColorSelectedText, clHighlightText);
    EXPECT_EQ(c.BorderColorTop, clNone);
    dd->ApplyItemAppearanceStyle(&c, tsOffice2007Luna);
    EXPECT_EQ(c.BorderColorTop, TColor(0xF4FEFF));
    EXPECT_EQ(c.ColorMirrorSelectedTo, TColor(0x7AE1FE));
    dd->ApplyItemAppearanceStyle(nullptr, tsWindows7);
}

// A colour picker as a library user would build one on the drop-down and the selector.
class TColorPickDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
    TAdvCustomItemSelector* Selector = nullptr;
    void CreateDropDownForm() override
    {
        TAdvCustomDropDown::CreateDropDownForm();
        if (Selector)
            return;
        Selector = new TAdvCustomItemSelector(DropDownForm());
        Selector->SetSelectorType(stColor);
        Selector->SetColumns(2);
        Selector->SetColor(clWhite);
        const std::pair<const char*, TColor> colours[] = {{"Red", clRed},     {"<b>Green</b>", clGreen},
                                                          {"Blue", clBlue},   {"Yellow", clYellow},
                                                          {"Black", clBlack}, {"<i>Grey</i>", clGray}};
        for (const auto& [name, colour] : colours) {
            TSelectorItem* item = Selector->Items().Add();
            item->SetCaption(name);
            item->SetColor(colour);
        }
        Selector->UpdateSelectorPanel();
        TSize size;
        Selector->GetSelectorSize(size);
        Selector->resize(size.cx, size.cy);
        // The pop-up takes the selector's size inside its frame.
        SetDropDownWidth(size.cx + 2 * DropDownBorderWidth());
        DropDownHeader().SetCaption("Colours");
        DropDownFooter().SetVisible(false);
        Selector->OnItemSelect = [this](QObject*) {
            SetText(MarkupToPlainTextOf(Selector->ItemIndex()));
            HideDropDown(false);
        };
        SetControl(Selector);
    }
    QString MarkupToPlainTextOf(int index) const
    {
        const TSelectorItem* item = Selector->Items().Items(index);
        return item ? item->Caption() : QString();
    }
};

TEST_F(DropDownSelector, PickerGrab)
{
    platform::ScriptedServices services;
    platform::ScopedServices use(services);
    QWidget host;
    host.setGeometry(40, 40, 300, 200);
    auto* dd = TAdvCustomDropDown::New<TColorPickDropDown>(&host);
    dd->move(10, 10);
    host.show();
    dd->ShowDropDown();
    ASSERT_TRUE(dd->DroppedDown());
    dd->Selector->SetItemIndex(2);
    QTest::mouseMove(dd->Selector->Panel(), QPoint(10, 10));
    dd->Selector->Panel()->SetItemHot(1);
    QApplication::processEvents();
    TDropDownForm* form = dd->DropDownForm();
    EXPECT_EQ(dd->Selector->viewport()->size(), dd->Selector->Panel()->size()) << "the pop-up fits the selector";
    const QPoint formAt = form->pos() - dd->mapToGlobal(QPoint(0, 0));
    QImage shot(std::max(dd->width(), formAt.x() + form->width()) + 2, formAt.y() + form->height() + 2,
                QImage::Format_RGB32);
    shot.fill(QColor(240, 240, 240));
    {
        QPainter p(&shot);
        p.drawPixmap(0, 0, dd->grab());
        p.drawPixmap(formAt, form->grab());
    }
    EXPECT_TRUE(shot.save(kt_test::GrabPath("dropdown_selector_open.png")));
    // A click on an item picks it and closes the pop-up.
    const TRect r = dd->Selector->Panel()->GetItemRect(4);
    QTest::mouseClick(dd->Selector->Panel(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + 3, r.Top + 3));
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->Text(), "Black");
}

} // namespace
