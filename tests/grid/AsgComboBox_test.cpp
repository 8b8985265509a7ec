// The owner-drawn combo box: defaults, flat mode and colours, focus colours and borders, label
// places, button hover, item selection by keys and mouse, and grabs of what a user sees.
#include "GridHost.h"
#include "grid/AsgComboBox.h"

#include "TestSupport.h"
#include "platform/ScriptedServices.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TColor PixelAt(QWidget* w, int x, int y)
{
    const QImage img = w->grab().toImage();
    return FromQColor(img.pixelColor(x, y));
}

// A shown, active form holding one combo.
struct ComboForm {
    QWidget form;
    TAsgComboBox* combo;
    QWidget* other;
    ComboForm()
    {
        form.resize(360, 240);
        QPalette p = form.palette();
        p.setColor(QPalette::Window, ToQColor(0xE0D0C0));
        form.setPalette(p);
        combo = new TAsgComboBox(&form);
        combo->SetBounds(120, 80, 140, 24);
        combo->SetItems({"Alpha", "Beta", "Bravo", "Charlie", "Delta"});
        other = new QLineEdit(&form);
        other->setGeometry(10, 200, 80, 22);
        EXPECT_TRUE(kt_test::Show_Focused(form, other));
    }
};

} // namespace

TEST(AsgComboBox, Defaults)
{
    TAsgComboBox c;
    EXPECT_EQ(c.ButtonWidth(), 19);
    EXPECT_FALSE(c.Flat());
    EXPECT_TRUE(c.DisabledBorder());
    EXPECT_TRUE(c.FlatParentColor());
    EXPECT_EQ(c.LabelMargin(), 4);
    EXPECT_EQ(c.LabelPosition(), AsgCombo::lpLeftTop);
    EXPECT_EQ(c.DropDownCount(), 8);
    EXPECT_EQ(c.LoadedColor(), clWindow);
    EXPECT_EQ(c.NormalColor(), clWindow);
    EXPECT_TRUE(c.AutoComplete());
    EXPECT_EQ(c.AutoCompleteDelay(), 500);
    EXPECT_EQ(c.ComboLabel(), nullptr);
    for (TColor col : {c.FlatLineColor(), c.FocusColor(), c.FocusBorderColor(), c.BorderColor(), c.ButtonColor(),
                       c.ButtonColorHot(), c.ButtonColorDown(), c.ButtonBorderColor(), c.ButtonTextColor(),
                       c.ButtonTextColorHot(), c.ButtonTextColorDown()})
        EXPECT_EQ(col, clNone);
}

TEST(AsgComboBox, ButtonWidthRange)
{
    struct Case { int value; int expected; } cases[] = {{13, 19}, {14, 14}, {32, 32}, {33, 32}, {-1, 32}, {20, 20}};
    TAsgComboBox c;
    for (const Case& k : cases) {
        c.SetButtonWidth(k.value);
        EXPECT_EQ(c.ButtonWidth(), k.expected) << k.value;
    }
}

TEST(AsgComboBox, FlatTakesParentColourAndGivesBackTheLoadedOne)
{
    QWidget parent;
    QPalette p = parent.palette();
    p.setColor(QPalette::Window, ToQColor(0x123456));
    parent.setPalette(p);
    TAsgComboBox c(&parent);
    c.SetFlat(true);
    EXPECT_EQ(c.Color(), 0x123456);
    EXPECT_FALSE(c.Ctl3D());
    c.SetFlat(false);
    EXPECT_EQ(c.Color(), clWindow);
    EXPECT_TRUE(c.Ctl3D());

    // Without FlatParentColor the flat box keeps the loaded colour.
    TAsgComboBox d(&parent);
    d.SetLoading(true);
    d.SetColor(clYellow);
    d.SetFlatParentColor(false);
    d.Loaded();
    d.SetFlat(true);
    EXPECT_EQ(d.Color(), clYellow);

    // A flat box disabled shows its parent's colour and gets its own back when enabled.
    TAsgComboBox e(&parent);
    e.SetFlatParentColor(false);
    e.SetFlat(true);
    e.SetColor(clAqua);
    e.setEnabled(false);
    EXPECT_EQ(e.Color(), 0x123456);
    e.setEnabled(true);
    EXPECT_EQ(e.Color(), clAqua);
}

TEST(AsgComboBox, FocusColourComesAndGoes)
{
    ComboForm f;
    TAsgComboBox* c = f.combo;
    // Made at run time (no Loaded pass): its colour is still the one it comes back to.
    c->SetFocusColor(clInfoBk);
    c->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(c->HasFocus());
    EXPECT_EQ(c->Color(), clInfoBk);
    f.other->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(c->HasFocus());
    EXPECT_EQ(c->Color(), clWindow);

    // After a Loaded pass the colour set while loading is the normal one.
    auto* d = new TAsgComboBox(&f.form);
    d->setGeometry(120, 120, 140, 24);
    d->SetLoading(true);
    d->SetColor(clLime);
    d->SetFocusColor(clYellow);
    d->Loaded();
    d->show();
    d->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(d->Color(), clYellow);
    f.other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(d->Color(), clLime);
}

TEST(AsgComboBox, FocusBorderColourOnlyWhileFocused)
{
    ComboForm f;
    TAsgComboBox* c = f.combo;
    c->SetStyle(csDropDownList);
    c->SetFocusBorderColor(clRed);
    const TColor before = PixelAt(c, 0, 10);
    EXPECT_EQ(before, ColorToRGB(clBtnShadow)); // the plain sunken edge
    c->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(PixelAt(c, 0, 10), clRed);
    EXPECT_EQ(PixelAt(c, 70, 0), clRed);
    f.other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(PixelAt(c, 0, 10), before);

    // A border colour shows at all times, the focus colour over it while focused.
    c->SetBorderColor(clBlue);
    EXPECT_EQ(PixelAt(c, 0, 10), clBlue);
    c->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(PixelAt(c, 0, 10), clRed);
}

TEST(AsgComboBox, FocusLabelTurnsBold)
{
    ComboForm f;
    TAsgComboBox* c = f.combo;
    c->SetFocusLabel(true);
    c->SetLabelCaption("Type");
    ASSERT_NE(c->ComboLabel(), nullptr);
    EXPECT_FALSE(c->ComboLabel()->font().bold());
    c->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(c->ComboLabel()->font().bold());
    f.other->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(c->ComboLabel()->font().bold());
}

TEST(AsgComboBox, LabelPositions)
{
    using namespace AsgCombo;
    QWidget parent;
    parent.resize(400, 300);
    TAsgComboBox c(&parent);
    c.SetBounds(150, 100, 120, 24);
    c.SetLabelMargin(6);
    c.SetLabelCaption("Caption");
    QLabel* l = c.ComboLabel();
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->parentWidget(), &parent);
    const TSize ts = LabelTextSize("Caption", c.LabelFont());
    const int L = 150, T = 100, W = 120, H = 24, LW = ts.cx, LH = ts.cy, M = 6;
    struct Case { TLabelPosition pos; int left, top; } cases[] = {
        {lpLeftTop, L - LW - M, T},
        {lpLeftCenter, L - LW - M, T + (H - LH) / 2},
        {lpLeftBottom, L - LW - M, T + H - LH},
        {lpTopLeft, L, T - LH - M},
        {lpBottomLeft, L, T + H + M},
        {lpLeftTopLeft, L - M, T},
        {lpLeftCenterLeft, L - M, T + (H - LH) / 2},
        {lpLeftBottomLeft, L - M, T + H - LH},
        {lpTopCenter, L + (W - LW) / 2, T - LH - M},
        {lpBottomCenter, L + (W - LW) / 2, T + H + M},
        {lpRightTop, L + W + M, T},
        {lpRightCenter, L + W + M, T + (H - LH) / 2},
        {lpRighBottom, L + W + M, T + H - LH},
    };
    for (const Case& k : cases) {
        c.SetLabelPosition(k.pos);
        EXPECT_EQ(l->x(), k.left) << int(k.pos);
        EXPECT_EQ(l->y(), k.top) << int(k.pos);
        EXPECT_EQ(l->width(), LW);
    }
    // The label follows the box.
    c.SetLabelPosition(lpTopLeft);
    c.SetBounds(40, 60, 120, 24);
    EXPECT_EQ(l->x(), 40);
    EXPECT_EQ(l->y(), 60 - LH - M);
    // Hidden with the box.
    parent.show();
    c.setVisible(false);
    EXPECT_TRUE(l->isHidden());
    c.setVisible(true);
    EXPECT_FALSE(l->isHidden());
}

TEST(AsgComboBox, TallLabelCentredAboveTheBoxTop)
{
    QWidget parent;
    TAsgComboBox c(&parent);
    c.SetBounds(150, 100, 120, 12);
    TFont big = c.LabelFont();
    big.SetHeight(-40);
    c.SetLabelFont(big);
    c.SetLabelPosition(AsgCombo::lpLeftCenter);
    c.SetLabelCaption("Big");
    const int lh = c.ComboLabel()->height();
    ASSERT_GT(lh, 12);
    EXPECT_EQ(c.ComboLabel()->y(), 100 + (12 - lh) / 2);
    EXPECT_LT(c.ComboLabel()->y(), 100);
}

TEST(AsgComboBox, ButtonHoverAndColours)
{
    ComboForm f;
    TAsgComboBox* c = f.combo;
    c->SetStyle(csDropDownList);
    c->SetButtonColor(clSilver);
    c->SetButtonColorHot(clYellow);
    c->SetButtonColorDown(clRed);
    c->SetButtonTextColor(clBlack);
    const int w = c->width();
    const int bx = w - c->ButtonWidth() + 2 + 1 + 1 + 2; // inside the filled button
    // (x, expected hover): the button is the open strip width - ButtonWidth < x < width.
    struct Case { int x; bool hover; } cases[] = {{10, false}, {w - c->ButtonWidth(), false},
                                                  {w - c->ButtonWidth() + 1, true}, {w - 1, true}};
    for (const Case& k : cases) {
        QTest::mouseMove(c, QPoint(k.x, 12));
        QApplication::processEvents();
        EXPECT_EQ(c->ButtonHover(), k.hover) << k.x;
    }
    QTest::mouseMove(c, QPoint(10, 12));
    QApplication::processEvents();
    EXPECT_EQ(PixelAt(c, bx, 4), clSilver);
    QTest::mouseMove(c, QPoint(w - 5, 12));
    QApplication::processEvents();
    EXPECT_TRUE(c->MouseInControl());
    EXPECT_EQ(PixelAt(c, bx, 4), clYellow);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(c, &leave);
    EXPECT_FALSE(c->ButtonHover());
    EXPECT_FALSE(c->MouseInControl());
}

TEST(AsgComboBox, FlatButtonRingAndArrow)
{
    // Away from the pointer and the focus the flat button is a face-coloured ring around the
    // plain arrow; the arrow itself survives the ring.
    QWidget parent;
    parent.resize(200, 60);
    TAsgComboBox c(&parent);
    c.SetStyle(csDropDownList);
    c.SetBounds(10, 10, 150, 22);
    c.SetFlat(true);
    const QImage img = c.grab().toImage();
    const int w = c.width(), bw = c.ButtonWidth();
    EXPECT_EQ(FromQColor(img.pixelColor(w - bw, 3)), ColorToRGB(clBtnFace));
    int dark = 0;
    for (int x = w - bw + 4; x < w - 4; ++x)
        for (int y = 4; y < 18; ++y)
            dark += FromQColor(img.pixelColor(x, y)) == ColorToRGB(clBtnText);
    EXPECT_GE(dark, 9); // the arrow's pixels
}

TEST(AsgComboBox, KeysSelectItemsAndFireOnlyForTheUser)
{
    platform::ScriptedServices services;
    platform::ScopedServices scope(services);
    ComboForm f;
    TAsgComboBox* c = f.combo;
    c->SetStyle(csDropDownList);
    int changes = 0;
    c->OnChange = [&](QObject*) { ++changes; };
    // Programmatic changes are not user actions.
    c->SetItemIndex(0);
    c->SetText("Delta");
    c->SelectItem("Charlie");
    EXPECT_EQ(c->ItemIndex(), 3);
    c->SelectItem("Nothing");
    EXPECT_EQ(c->ItemIndex(), 3);
    c->SetItems({"Alpha", "Beta", "Bravo", "Charlie", "Delta"});
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(changes, 0);

    c->setFocus();
    QApplication::processEvents();
    c->SetItemIndex(0);
    QTest::keyClick(c, Qt::Key_Down);
    EXPECT_EQ(c->Text(), "Beta");
    EXPECT_EQ(changes, 1);
    QTest::keyClick(c, Qt::Key_Up);
    EXPECT_EQ(c->Text(), "Alpha");
    EXPECT_EQ(changes, 2);

    // Typed letters: within the delay they make one search text, after it a new one.
    struct Step { char key; int advance; const char* expected; } steps[] = {
        {'b', 0, "Beta"}, {'r', 100, "Bravo"}, {'d', 600, "Delta"}, {'c', 499, "Delta"}, {'c', 500, "Charlie"}};
    for (const Step& s : steps) {
        services.Advance(s.advance);
        QTest::keyClick(c, s.key);
        EXPECT_EQ(c->Text(), s.expected) << s.key;
    }
    EXPECT_EQ(changes, 6);

    // OnSelect, when set, is fired in place of OnChange.
    int selects = 0;
    c->OnSelect = [&](QObject*) { ++selects; };
    QTest::keyClick(c, Qt::Key_Home);
    EXPECT_EQ(c->Text(), "Alpha");
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(changes, 6);
}

TEST(AsgComboBox, MouseSelectsFromTheList)
{
    ComboForm f;
    TAsgComboBox* c = f.combo;
    c->SetStyle(csDropDownList);
    c->SetDropWidth(220);
    int changes = 0, dropUps = 0, dropDowns = 0;
    c->OnChange = [&](QObject*) { ++changes; };
    c->OnDropUp = [&](QObject*) { ++dropUps; };
    c->OnDropDown = [&](QObject*) { ++dropDowns; };
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(c->width() - 8, 12));
    QApplication::processEvents();
    ASSERT_TRUE(c->DroppedDown());
    EXPECT_EQ(dropDowns, 1);
    QAbstractItemView* v = c->view();
    EXPECT_GE(v->window()->width(), 220);
    EXPECT_GE(v->window()->y(), f.form.mapToGlobal(QPoint(0, 80 + 24)).y() - 1); // below the box
    const QRect item = v->visualRect(v->model()->index(2, 0));
    // The pointer moves into the list before the click, as a hand does.
    QTest::mouseMove(v->viewport(), item.center());
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, item.center());
    QApplication::processEvents();
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->Text(), "Bravo");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dropUps, 1);
}

TEST(AsgComboBox, EditStyleTypingCompletesAndLimits)
{
    ComboForm f;
    TAsgComboBox* c = f.combo;
    int changes = 0;
    c->OnChange = [&](QObject*) { ++changes; };
    c->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(c, "br");
    EXPECT_EQ(c->Text(), "Bravo");
    EXPECT_EQ(c->lineEdit()->selectedText(), "avo");
    EXPECT_GE(changes, 2);
    // A deleting key does not complete again.
    QTest::keyClick(c, Qt::Key_Backspace);
    EXPECT_EQ(c->Text(), "Br");

    struct Case { int limit; const char* typed; const char* expected; } cases[] = {
        {0, "xyzxyzxyz", "xyzxyzxyz"}, {3, "xyzxyz", "xyz"}};
    for (const Case& k : cases) {
        c->SetMaxLength(k.limit);
        c->SetText("");
        QTest::keyClicks(c, k.typed);
        EXPECT_EQ(c->Text(), k.expected) << k.limit;
    }
}

TEST(AsgComboBox, Grabs)
{
    QWidget form;
    form.resize(560, 300);
    QPalette p = form.palette();
    p.setColor(QPalette::Window, ToQColor(clBtnFace));
    form.setPalette(p);
    struct Look { const char* caption; std::function<void(TAsgComboBox*)> set; } looks[] = {
        {"Plain", [](TAsgComboBox*) {}},
        {"List", [](TAsgComboBox* c) { c->SetStyle(csDropDownList); c->SetItemIndex(1); }},
        {"Flat", [](TAsgComboBox* c) { c->SetFlat(true); c->SetFlatLineColor(clBlue); }},
        {"Border", [](TAsgComboBox* c) { c->SetBorderColor(clNavy); }},
        {"Coloured", [](TAsgComboBox* c) {
             c->SetButtonColor(0xF0D0A0); c->SetButtonBorderColor(clGray); c->SetButtonTextColor(clNavy); }},
        {"Disabled", [](TAsgComboBox* c) { c->setEnabled(false); }},
    };
    std::vector<TAsgComboBox*> boxes;
    int y = 20;
    for (const Look& look : looks) {
        auto* c = new TAsgComboBox(&form);
        c->SetBounds(90, y, 150, 22);
        c->SetItems({"S7300", "S7400", "S71200", "S71500", "Logo0BA8", "S7200"});
        c->SetText("S71200");
        look.set(c);
        c->SetLabelCaption(look.caption);
        c->SetLabelPosition(AsgCombo::lpLeftCenter);
        boxes.push_back(c);
        y += 34;
    }
    auto* drop = new TAsgComboBox(&form);
    drop->SetBounds(330, 20, 150, 22);
    drop->SetStyle(csDropDownList);
    drop->SetItems({"S7300", "S7400", "S71200", "S71500", "Logo0BA8", "S7200"});
    drop->SetItemIndex(2);
    drop->SetLabelCaption("Dropped");
    drop->SetLabelPosition(AsgCombo::lpTopLeft);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    boxes[2]->setFocus();
    drop->showPopup();
    QApplication::processEvents();
    ASSERT_TRUE(drop->DroppedDown());
    QImage sheet = form.grab().toImage();
    {
        QWidget* popup = drop->view()->window();
        QPainter painter(&sheet);
        painter.drawImage(form.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab().toImage());
    }
    EXPECT_TRUE(sheet.save(kt_test::GrabPath("AsgComboBox.png")));
    drop->hidePopup();
}
