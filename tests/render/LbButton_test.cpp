// The owner-drawn push button: dialog keys and clicks, fade-out, presets and face drawing.
#include "render/LbButton.h"

#include "TestSupport.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSet>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>

using platform::TForm;

namespace {

// A dialog with an edit field, an OK button (default, modal result OK) and a Cancel button
// (cancel, modal result Cancel), as the program's dialogs have them.
struct Dialog {
    TForm form;
    QLineEdit* edit;
    TLbButton* ok;
    TLbButton* cancel;
    int okClicks = 0;
    int cancelClicks = 0;

    Dialog()
    {
        form.resize(300, 120);
        edit = new QLineEdit(&form);
        edit->setGeometry(10, 10, 200, 24);
        ok = new TLbButton(&form);
        ok->setGeometry(10, 60, 110, 28);
        ok->SetCaption(QStringLiteral("OK"));
        ok->SetModalResult(platform::mrOk);
        ok->SetDefault(true);
        ok->OnClick = [this](QObject*) { ++okClicks; };
        cancel = new TLbButton(&form);
        cancel->setGeometry(130, 60, 110, 28);
        cancel->SetCaption(QStringLiteral("Cancel"));
        cancel->SetModalResult(platform::mrCancel);
        cancel->SetCancel(true);
        cancel->OnClick = [this](QObject*) { ++cancelClicks; };
    }

    // Runs the dialog modally; `act` runs once the modal loop is up. A guard ends a run that the
    // action failed to end, so the test never hangs.
    platform::TModalResult Run(const std::function<void()>& act)
    {
        QTimer::singleShot(0, &form, act);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &form, [this] { form.done(-1); });
        guard.start(5000);
        return form.ShowModal();
    }
};

TEST(LbButtonDialog, ClosesWithTheRightResult)
{
    enum Action {
        ClickOk, ClickCancel, EnterInEdit, ShiftEnterInEdit, CtrlEnterInEdit, EscapeInEdit, EscapeOnOk,
        EnterOnCancel, SpaceOnOk
    };
    struct Case { Action action; platform::TModalResult result; int okClicks, cancelClicks; };
    const Case cases[] = {
        {ClickOk, platform::mrOk, 1, 0},
        {ClickCancel, platform::mrCancel, 0, 1},
        {EnterInEdit, platform::mrOk, 1, 0},
        {ShiftEnterInEdit, platform::mrOk, 1, 0},
        {CtrlEnterInEdit, platform::mrOk, 1, 0},
        {EscapeInEdit, platform::mrCancel, 0, 1},
        {EscapeOnOk, platform::mrCancel, 0, 1},     // a focused button does not swallow Escape
        {EnterOnCancel, platform::mrCancel, 0, 1},  // a focused button answers Enter itself
        {SpaceOnOk, platform::mrOk, 1, 0},
    };
    for (const Case& c : cases) {
        Dialog d;
        const auto result = d.Run([&] {
            switch (c.action) {
            case ClickOk: QTest::mouseClick(d.ok, Qt::LeftButton); break;
            case ClickCancel: QTest::mouseClick(d.cancel, Qt::LeftButton); break;
            case EnterInEdit: QTest::keyClick(d.edit, Qt::Key_Return); break;
            case ShiftEnterInEdit: QTest::keyClick(d.edit, Qt::Key_Return, Qt::ShiftModifier); break;
            case CtrlEnterInEdit: QTest::keyClick(d.edit, Qt::Key_Return, Qt::ControlModifier); break;
            case EscapeInEdit: QTest::keyClick(d.edit, Qt::Key_Escape); break;
            case EscapeOnOk: QTest::keyClick(d.ok, Qt::Key_Escape); break;
            case EnterOnCancel: QTest::keyClick(d.cancel, Qt::Key_Return); break;
            case SpaceOnOk: QTest::keyClick(d.ok, Qt::Key_Space); break;
            }
        });
        EXPECT_EQ(result, c.result) << "action " << c.action;
        EXPECT_EQ(d.okClicks, c.okClicks) << "action " << c.action;
        EXPECT_EQ(d.cancelClicks, c.cancelClicks) << "action " << c.action;
    }
}

TEST(LbButtonDialog, ReleaseOutsideDoesNotClick)
{
    Dialog d;
    d.form.Show();
    QTest::mousePress(d.ok, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(d.ok->Down());
    QTest::mouseRelease(d.ok, Qt::LeftButton, {}, QPoint(-20, 5));
    EXPECT_FALSE(d.ok->Down());
    EXPECT_EQ(d.okClicks, 0);
    EXPECT_EQ(d.form.ModalResult(), platform::mrNone);
}

TEST(LbButtonDialog, KeyReleaseClicksOnlyAfterItsOwnPress)
{
    // The Enter that closed a message box is released over the button behind it: no click.
    Dialog d;
    d.form.Show();
    d.form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.form));
    d.ok->setFocus();
    QTest::keyRelease(d.ok, Qt::Key_Return);
    QTest::keyRelease(d.ok, Qt::Key_Space);
    EXPECT_EQ(d.okClicks, 0);
    // A press of one key and the release of another do not pair.
    QTest::keyPress(d.ok, Qt::Key_Space);
    QTest::keyRelease(d.ok, Qt::Key_Return);
    EXPECT_EQ(d.okClicks, 0);
    // A press that lost the focus before its release is taken back.
    QTest::keyPress(d.ok, Qt::Key_Return);
    d.cancel->setFocus();
    QTest::keyRelease(d.ok, Qt::Key_Return);
    EXPECT_EQ(d.okClicks, 0);
    EXPECT_FALSE(d.ok->Down());
    // Press and release of the same key on the button: one click per press.
    d.ok->setFocus();
    QTest::keyPress(d.ok, Qt::Key_Space);
    QTest::keyRelease(d.ok, Qt::Key_Space);
    QTest::keyRelease(d.ok, Qt::Key_Space);
    EXPECT_EQ(d.okClicks, 1);
    // The release of another key does not take the press back: Enter's own release still clicks.
    QTest::keyPress(d.ok, Qt::Key_Return);
    QTest::keyRelease(d.ok, Qt::Key_Space);
    EXPECT_EQ(d.okClicks, 1);
    EXPECT_TRUE(d.ok->Down());
    QTest::keyRelease(d.ok, Qt::Key_Return);
    EXPECT_EQ(d.okClicks, 2);
    EXPECT_FALSE(d.ok->Down());
    d.form.Hide();
}

TEST(LbButtonDialog, HiddenOrDisabledDefaultPassesEnterOn)
{
    for (bool hide : {false, true}) {
        Dialog d;
        d.form.Show();
        if (hide)
            d.ok->hide();
        else
            d.ok->SetEnabled(false);
        QTest::keyClick(d.edit, Qt::Key_Return);
        EXPECT_EQ(d.okClicks, 0) << hide;
        EXPECT_EQ(d.form.ModalResult(), platform::mrNone) << hide;
    }
}

TEST(LbButtonDialog, AcceleratorAndPopupMenu)
{
    Dialog d;
    d.form.Show();
    d.ok->SetCaption(QStringLiteral("&Save"));
    EXPECT_EQ(d.ok->Accelerator(), QChar(u'S'));
    EXPECT_FALSE(d.ok->DialogChar(u'x'));
    EXPECT_TRUE(d.ok->DialogChar(u's'));
    EXPECT_EQ(d.okClicks, 1);
    d.cancel->SetCaption(QStringLiteral("Fish && Chips"));
    EXPECT_TRUE(d.cancel->Accelerator().isNull());

    // A popup menu drops below the button after the click event.
    QMenu menu;
    menu.addAction(QStringLiteral("one"));
    d.ok->SetModalResult(platform::mrNone);
    d.ok->SetPopupMenu(&menu);
    QTest::mouseClick(d.ok, Qt::LeftButton);
    EXPECT_EQ(d.okClicks, 2);
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

void SendEnter(QWidget* w)
{
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(w, &e);
}

void SendLeave(QWidget* w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

// The face colour at a pixel that no caption, glyph or border touches.
TColor FacePixel(QWidget* w)
{
    const QImage img = w->grab().toImage();
    return FromQColor(img.pixelColor(3, w->height() / 2));
}

TEST(LbButtonFade, FadesAfterLeavingAndStopsOnReturn)
{
    TForm form;
    form.resize(200, 80);
    auto* b = new TLbButton(&form);
    b->setGeometry(10, 10, 110, 28);
    b->SetColor(0xEDF7F8);
    b->SetHotTrackColor(clYellow);
    b->SetSlowDecease(true);
    form.Show();

    SendEnter(b);
    EXPECT_TRUE(b->CursorOnButton());
    EXPECT_EQ(b->HotTrackStep(), 8);
    EXPECT_EQ(FacePixel(b), ColorToRGB(clYellow));

    SendLeave(b);
    EXPECT_TRUE(b->Fading());
    EXPECT_EQ(b->HotTrackStep(), 8);
    for (int i = 0; i < 3; ++i)
        b->FadeStep();
    EXPECT_EQ(b->HotTrackStep(), 5);
    EXPECT_EQ(FacePixel(b), BlendHotTrackColor(0xEDF7F8, clYellow, 5));

    // Coming back stops the fade: the hot colour stays while the pointer is over the button.
    SendEnter(b);
    EXPECT_FALSE(b->Fading());
    EXPECT_EQ(b->HotTrackStep(), 8);

    SendLeave(b);
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(b->Fading()) << i;
        b->FadeStep();
    }
    EXPECT_FALSE(b->Fading());
    EXPECT_EQ(b->HotTrackStep(), 0);
    EXPECT_EQ(FacePixel(b), 0xEDF7F8);

    // The real timer drives the same steps.
    SendEnter(b);
    SendLeave(b);
    EXPECT_TRUE(QTest::qWaitFor([b] { return !b->Fading(); }, 5000));
    EXPECT_EQ(b->HotTrackStep(), 0);

    // Without slow fade-out the hot colour goes at once.
    b->SetSlowDecease(false);
    SendEnter(b);
    SendLeave(b);
    EXPECT_FALSE(b->Fading());
    EXPECT_EQ(b->HotTrackStep(), 0);
}

TEST(LbButtonProperties, DefaultsAndPresets)
{
    TLbButton b;
    EXPECT_EQ(b.Width(), 100);
    EXPECT_EQ(b.Height(), 23);
    EXPECT_EQ(b.Alignment(), taCenter);
    EXPECT_EQ(b.Color(), clBtnFace);
    EXPECT_EQ(b.ColorWhenDown(), clNone);
    EXPECT_EQ(b.HotTrackColor(), clNone);
    EXPECT_EQ(b.LightColor(), clWhite);
    EXPECT_EQ(b.ShadowColor(), 0x808080);
    EXPECT_EQ(b.Style(), bsNormal);
    EXPECT_EQ(b.Layout(), blGlyphLeft);
    EXPECT_EQ(b.NumGlyphs(), 0);
    EXPECT_EQ(b.ModalResult(), 0);
    EXPECT_TRUE(b.focusPolicy() & Qt::TabFocus);

    b.SetColorStyle(lcsAqua);
    EXPECT_EQ(b.ColorStyle(), lcsCustom);
    EXPECT_EQ(b.Color(), 0xECCE94);
    EXPECT_EQ(b.LightColor(), 0xFCE6D4);
    EXPECT_EQ(b.ShadowColor(), 0x000000);
    EXPECT_EQ(b.Style(), bsModern);
    b.SetColorStyle(lcsUltraFlatXP);
    EXPECT_TRUE(b.Flat());
    EXPECT_EQ(b.ColorWhenDown(), 0xB59285);
    EXPECT_EQ(b.Style(), bsNormal);
    b.SetColorStyle(lcsQuicken);
    EXPECT_FALSE(b.Flat());
    EXPECT_EQ(b.Font().Color(), clWhite);

    b.SetKind(bkOK);
    EXPECT_EQ(b.Kind(), bkOK);
    EXPECT_EQ(b.ModalResult(), platform::mrOk);
    EXPECT_EQ(b.Caption(), QStringLiteral("OK"));
    EXPECT_EQ(b.NumGlyphs(), 2);
    EXPECT_EQ(b.Glyph().Width(), 36);
    b.SetModalResult(platform::mrNone);
    EXPECT_EQ(b.Kind(), bkCustom);
    EXPECT_EQ(b.Caption(), QStringLiteral("OK"));
    EXPECT_EQ(b.Glyph().Width(), 36);
    b.SetKind(bkClose);
    EXPECT_EQ(b.Caption(), QString::fromUtf16(u"Schlie\u00dfen"));
    EXPECT_EQ(b.ModalResult(), 0);

    TBitmap strip(64, 16);
    b.SetGlyph(&strip);
    EXPECT_EQ(b.NumGlyphs(), 4);
    EXPECT_EQ(b.Kind(), bkCustom);
    TBitmap flat(20, 0);
    b.SetGlyph(&flat);
    EXPECT_EQ(b.NumGlyphs(), 0);
    b.SetGlyph(nullptr);
    EXPECT_EQ(b.NumGlyphs(), 0);
    EXPECT_EQ(b.Glyph().Height(), 0);
}

TEST(LbButtonFace, ResourcePictures)
{
    EXPECT_EQ(LbResourceBitmap(QStringLiteral("LBOK")).Width(), 36);
    EXPECT_EQ(LbResourceBitmap(QStringLiteral("LBIGNORE")).Height(), 18);
    EXPECT_EQ(LbResourceBitmap(QStringLiteral("LBALL")).Height(), 19);
    EXPECT_EQ(LbResourceBitmap(QStringLiteral("LBARROW")).Width(), 5);
    EXPECT_EQ(LbResourceBitmap(QStringLiteral("LBARROW")).Height(), 3);
    EXPECT_EQ(LbResourceBitmap(QStringLiteral("NOSUCH")).Width(), 0);
}

TEST(LbButtonFace, BlendHotTrackColor)
{
    struct Case { TColor color, hot; int step; TColor result; };
    const Case cases[] = {
        {0xEDF7F8, clYellow, 0, 0xEDF7F8},
        {0xEDF7F8, clYellow, 8, 0x00FFFF},
        {0x000000, 0xFFFFFF, 4, 0x7F7F7F},  // 127.5 truncated
        {0x000000, 0xFFFFFF, 1, 0x1F1F1F},
        {clBtnFace, clWhite, 0, 0xF0F0F0},  // system colours resolved
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendHotTrackColor(c.color, c.hot, c.step), c.result) << c.step;
}

// Arguments of one face drawing.
struct Face {
    int w = 60, h = 30, step = 0, numGlyphs = 0;
    const TBitmap* glyph = nullptr;
    bool pressed = false, hot = false, enabled = true, flat = false, wordWrap = false, popup = false;
    TLbButtonStyle style = bsNormal;
    TColor color = 0xEDF7F8, down = clNone, hotColor = clYellow, light = clWhite, shadow = 0x808080;
    TLbButtonLayout layout = blGlyphLeft;
    QString caption;
    TAlignment alignment = taLeftJustify;

    QImage Draw() const
    {
        TBitmap bmp(w, h);
        bmp.Canvas().Brush().SetColor(LbKeyColor);
        bmp.Canvas().FillRect(TRect(0, 0, w, h));
        TFont font;
        font.SetName(QStringLiteral("DejaVu Sans"));
        font.SetSize(8);
        font.SetColor(clBlack);
        static const TBitmap none;
        DrawLbButton(bmp.Canvas(), w, h, step, numGlyphs, glyph ? *glyph : none, pressed, hot, enabled, flat,
                     wordWrap, popup, style, color, down, hotColor, light, shadow, font, layout, caption, alignment);
        return bmp.Image().copy();
    }
};

TColor Px(const QImage& img, int x, int y)
{
    return FromQColor(img.pixelColor(x, y));
}

// A strip of four 8 x 8 frames in distinct colours on a white border (so the bottom-left pixel,
// the transparent colour, is white and every frame's inside shows).
TBitmap FourFrames()
{
    QImage img(32, 8, QImage::Format_RGB32);
    img.fill(Qt::white);
    const QColor colors[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(0, 0, 0)};
    for (int f = 0; f < 4; ++f)
        for (int y = 1; y < 7; ++y)
            for (int x = 1; x < 7; ++x)
                img.setPixelColor(f * 8 + x, y, colors[f]);
    return TBitmap(img);
}

TEST(LbButtonFace, GlyphFrameByState)
{
    const TBitmap strip = FourFrames();
    const TColor frameColor[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x000000};
    struct Case { int numGlyphs; bool pressed, hot, enabled; int frame; };
    const Case cases[] = {
        {4, false, false, true, 0},
        {4, false, true, true, 3},
        {4, true, true, true, 2},   // pressed wins over hot
        {4, true, false, false, 1}, // disabled never looks pressed
        {3, false, true, true, 0},  // three frames have no hot frame
        {3, true, false, true, 2},
        {1, false, false, false, 0},// one frame shows itself also disabled
    };
    for (const Case& c : cases) {
        Face f;
        f.numGlyphs = c.numGlyphs;
        TBitmap g(strip.Image().copy(0, 0, 8 * c.numGlyphs, 8));
        f.glyph = &g;
        f.pressed = c.pressed;
        f.hot = c.hot;
        f.enabled = c.enabled;
        f.style = bsEncarta;  // content stays in place when pressed
        const QImage img = f.Draw();
        // Left layout, left alignment: glyph at (4, (30 - 8) / 2).
        EXPECT_EQ(Px(img, 4 + 3, 11 + 3), frameColor[c.frame]) << c.numGlyphs << c.pressed << c.hot << c.enabled;
    }
}

TEST(LbButtonFace, GlyphPositions)
{
    const TBitmap strip = FourFrames();
    TBitmap g(strip.Image().copy(0, 0, 8, 8));
    struct Case { TLbButtonStyle style; bool pressed; TAlignment align; TLbButtonLayout layout; int x, y; };
    const Case cases[] = {
        {bsNormal, false, taLeftJustify, blGlyphLeft, 4, 11},
        {bsNormal, true, taLeftJustify, blGlyphLeft, 5, 12},   // pressed moves one pixel
        {bsEncarta, true, taLeftJustify, blGlyphLeft, 4, 11},  // Encarta keeps its place
        {bsNormal, false, taCenter, blGlyphLeft, 26, 11},      // empty caption: centred
        {bsNormal, false, taRightJustify, blGlyphRight, 48, 11},
        {bsNormal, false, taCenter, blGlyphTop, 26, 9},        // block of 8 + 4 centred
        {bsShape, false, taLeftJustify, blGlyphLeft, 26, 11},  // shape always centres
    };
    for (const Case& c : cases) {
        Face f;
        f.numGlyphs = 1;
        f.glyph = &g;
        f.style = c.style;
        f.pressed = c.pressed;
        f.alignment = c.align;
        f.layout = c.layout;
        const QImage img = f.Draw();
        EXPECT_EQ(Px(img, c.x + 1, c.y + 1), 0x0000FF) << c.style << " " << c.layout << " " << c.align;
        EXPECT_NE(Px(img, c.x, c.y + 1), 0x0000FF) << c.style << " " << c.layout << " " << c.align;
    }
}

TEST(LbButtonFace, ColoursAndBorders)
{
    struct Case { const char* what; Face face; int x, y; TColor expected; };
    auto face = [](auto change) { Face f; change(f); return f; };
    const Case cases[] = {
        {"plain face", face([](Face&) {}), 5, 5, 0xEDF7F8},
        {"hot step 8", face([](Face& f) { f.step = 8; f.hot = true; }), 5, 5, 0x00FFFF},
        {"disabled ignores step", face([](Face& f) { f.step = 8; f.enabled = false; }), 5, 5, 0xEDF7F8},
        {"pressed colour", face([](Face& f) { f.pressed = true; f.down = 0x0080FF; f.step = 8; }), 5, 5, 0x0080FF},
        {"light top edge", face([](Face&) {}), 5, 0, clWhite},
        {"shadow bottom edge", face([](Face&) {}), 5, 29, 0x808080},
        {"pressed swaps edges", face([](Face& f) { f.pressed = true; }), 5, 29, clWhite},
        {"flat: no border", face([](Face& f) { f.flat = true; }), 5, 0, 0xEDF7F8},
        {"flat hot: border", face([](Face& f) { f.flat = true; f.hot = true; }), 5, 0, clWhite},
        {"flat disabled: none", face([](Face& f) { f.flat = true; f.enabled = false; f.hot = true; }), 5, 0, 0xEDF7F8},
        {"old: dark outer edge", face([](Face& f) { f.style = bsOld; }), 5, 29, 0x696969},
        {"modern corner keyed", face([](Face& f) { f.style = bsModern; }), 0, 0, LbKeyColor},
        {"shape keyed", face([](Face& f) { f.style = bsShape; }), 30, 15, LbKeyColor},
        {"quicken top line", face([](Face& f) { f.style = bsQuicken; }), 10, 0, 0x808080},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Px(c.face.Draw(), c.x, c.y), c.expected) << c.what;
    // The modern gradients cover the whole face inside the rounded outline.
    Face modern;
    modern.style = bsModern;
    const QImage img = modern.Draw();
    for (int y = 1; y < modern.h - 1; ++y)
        for (int x = 1; x < modern.w - 1; ++x)
            EXPECT_NE(Px(img, x, y), LbKeyColor) << x << "," << y;
}

TEST(LbButtonFace, DisabledCaptionIsGrey)
{
    Face f;
    f.w = 80;
    f.caption = QStringLiteral("MMMM");
    f.color = clWhite;
    auto inks = [](const QImage& img) {
        QSet<TColor> set;
        for (int y = 3; y < img.height() - 3; ++y)
            for (int x = 3; x < img.width() - 3; ++x)
                set.insert(Px(img, x, y));
        return set;
    };
    EXPECT_TRUE(inks(f.Draw()).contains(clBlack));
    f.enabled = false;
    const auto disabled = inks(f.Draw());
    EXPECT_FALSE(disabled.contains(clBlack));
    EXPECT_TRUE(disabled.contains(0x808080));
}

TEST(LbButtonFace, CaptionCutWithoutWordWrap)
{
    // A caption far too wide leaves nothing drawn past the room of the face.
    Face f;
    f.w = 40;
    f.color = clWhite;
    f.light = clWhite;
    f.shadow = clWhite;
    f.caption = QStringLiteral("WWWWWWWWWWWWWWWWWWWW");
    const QImage img = f.Draw();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 36; x < 40; ++x)
            EXPECT_EQ(Px(img, x, y), clWhite) << x << "," << y;
}

// Draws every style in every state on one sheet for a person to look at; hot and pressed faces
// must differ from the normal face.
TEST(LbButtonFace, StyleSheet)
{
    const TBitmap ok = LbResourceBitmap(QStringLiteral("LBOK"));
    const TLbButtonStyle styles[] = {bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken};
    const char* names[] = {"normal", "encarta", "modern", "old", "shape", "quicken"};
    const int W = 110, H = 28, cols = 5;
    QImage sheet(cols * (W + 10) + 10, 6 * (H + 10) + 10, QImage::Format_RGB32);
    sheet.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&sheet);
    for (int s = 0; s < 6; ++s) {
        QImage state[cols];
        for (int col = 0; col < cols; ++col) {
            Face f;
            f.w = W;
            f.h = H;
            f.style = styles[s];
            f.glyph = &ok;
            f.numGlyphs = 2;
            f.caption = col == 4 ? QStringLiteral("Wrapped long caption") : QStringLiteral("&OK");
            f.wordWrap = col == 4;
            f.alignment = taCenter;
            f.down = 0x0080FF;
            if (styles[s] == bsModern)
                f.color = 0x00C0C0, f.light = 0x00FFFF, f.shadow = 0x008080, f.hotColor = 0x00DFDF;
            if (styles[s] == bsQuicken)
                f.color = 0x603000, f.light = 0xC0C0C0, f.shadow = 0xC0C0C0, f.hotColor = 0xCEAE9C;
            if (col == 1)
                f.hot = true, f.step = 8;
            if (col == 2)
                f.pressed = true, f.hot = true, f.step = 8;
            if (col == 3)
                f.enabled = false;
            f.popup = col == 0 && s == 0;
            state[col] = f.Draw();
            QImage shown = state[col].convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    if ((shown.pixel(x, y) & 0xFFFFFF) == 0xFF00FF)
                        shown.setPixel(x, y, 0);
            p.drawImage(10 + col * (W + 10), 10 + s * (H + 10), shown);
        }
        // A shape has no face to colour: only its pressed caption moves.
        if (styles[s] != bsShape) {
            EXPECT_NE(state[0], state[1]) << names[s] << ": hot looks like normal";
        }
        EXPECT_NE(state[1], state[2]) << names[s] << ": pressed looks like hot";
        EXPECT_NE(state[0], state[3]) << names[s] << ": disabled looks like normal";
    }
    p.end();
    EXPECT_TRUE(sheet.save(kt_test::GrabPath(QStringLiteral("lbbutton_styles.png"))));
}

TEST(LbButtonFace, WidgetGrabs)
{
    // The program's typical button: cream face, grey frame, yellow while hot, orange and bold
    // while pressed, focus rectangle when focused.
    TForm form;
    form.resize(400, 60);
    TLbButton* buttons[4];
    for (int i = 0; i < 4; ++i) {
        auto* b = new TLbButton(&form);
        b->setGeometry(10 + i * 120, 15, 110, 28);
        b->SetStyle(bsEncarta);
        b->SetColor(0xEDF7F8);
        b->SetColorWhenDown(0x0080FF);
        b->SetHotTrackColor(clYellow);
        b->SetLightColor(clGray);
        b->SetCaption(QStringLiteral("Button %1").arg(i + 1));
        buttons[i] = b;
    }
    form.resize(500, 60);
    form.Show();
    SendEnter(buttons[1]);
    QTest::mousePress(buttons[2], Qt::LeftButton, {}, QPoint(5, 5));
    buttons[3]->SetEnabled(false);
    const QImage normal = buttons[0]->grab().toImage();
    const QImage hot = buttons[1]->grab().toImage();
    const QImage pressed = buttons[2]->grab().toImage();
    EXPECT_NE(normal, hot);
    EXPECT_NE(hot, pressed);
    EXPECT_EQ(FromQColor(pressed.pixelColor(5, 5)), 0x0080FF);
    EXPECT_TRUE(form.grab().save(kt_test::GrabPath(QStringLiteral("lbbutton_states.png"))));
    QTest::mouseRelease(buttons[2], Qt::LeftButton, {}, QPoint(-50, -50));
}

} // namespace
