#include "platform/Keys.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace platform;

TEST(Keys, TranslationOfKeyPresses)
{
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers mods;
        const char* text;
        uint16_t key;
        TShiftState shift;
        int ch;  // -1: no key press follows
    };
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, "\r", VK_RETURN, {}, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", VK_RETURN, {}, 13},
        {Qt::Key_Return, Qt::ControlModifier, "", VK_RETURN, ssCtrl, 10},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", VK_ESCAPE, {}, 27},
        {Qt::Key_Backspace, Qt::NoModifier, "\b", VK_BACK, {}, 8},
        {Qt::Key_Tab, Qt::NoModifier, "\t", VK_TAB, {}, 9},
        {Qt::Key_Backtab, Qt::ShiftModifier, "", VK_TAB, ssShift, 9},
        {Qt::Key_A, Qt::NoModifier, "a", 'A', {}, 'a'},
        {Qt::Key_A, Qt::ShiftModifier, "A", 'A', ssShift, 'A'},
        {Qt::Key_C, Qt::ControlModifier, "", 'C', ssCtrl, 3},
        {Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, "\x16", 'V', ssCtrl | ssShift, 22},
        {Qt::Key_F, Qt::AltModifier, "f", 'F', ssAlt, -1},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f", VK_DELETE, {}, -1},
        {Qt::Key_Left, Qt::ShiftModifier, "", VK_LEFT, ssShift, -1},
        {Qt::Key_F2, Qt::NoModifier, "", VK_F2, {}, -1},
        {Qt::Key_5, Qt::KeypadModifier, "5", VK_NUMPAD5, {}, '5'},
        {Qt::Key_Period, Qt::KeypadModifier, ",", VK_DECIMAL, {}, ','},
        {Qt::Key_Minus, Qt::NoModifier, "-", VK_OEM_MINUS, {}, '-'},
        {Qt::Key_Exclam, Qt::ShiftModifier, "!", '1', ssShift, '!'},
        {Qt::Key_Eacute, Qt::NoModifier, "\xc3\xa9", 0, {}, 0xE9},
        {Qt::Key_Space, Qt::NoModifier, " ", VK_SPACE, {}, ' '},
    };
    for (const Case& c : cases) {
        QKeyEvent e(QEvent::KeyPress, c.qtKey, c.mods, QString::fromUtf8(c.text));
        const TKeyStroke s = TranslateKey(&e);
        EXPECT_EQ(s.Key, c.key) << c.qtKey;
        EXPECT_EQ(s.Shift, c.shift) << c.qtKey;
        EXPECT_EQ(s.Char.isNull() ? -1 : int(s.Char.unicode()), c.ch) << c.qtKey;
    }
    for (uint16_t vk : {VK_RETURN, VK_LEFT, VK_F12, uint16_t('Q'), VK_NUMPAD0, VK_DELETE, VK_PRIOR})
        EXPECT_EQ(VirtualKeyOf(QtKeyOf(vk), vk == VK_NUMPAD0 ? Qt::KeypadModifier : Qt::NoModifier), vk) << vk;
}

TEST(Keys, CharacterStillDeliveredWhenKeyDownConsumedTheKey)
{
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QStringList seen;
    const bool consumed = DeliverKey(
        &enter,
        [&](uint16_t& key, TShiftState) {
            seen << QStringLiteral("down %1").arg(key);
            key = 0;
        },
        [&](QChar& ch) { seen << QStringLiteral("press %1").arg(ch.unicode()); });
    EXPECT_TRUE(consumed);
    EXPECT_EQ(seen, QStringList({"down 13", "press 13"}));

    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    seen.clear();
    EXPECT_FALSE(DeliverKey(
        &f5, [&](uint16_t& key, TShiftState) { seen << QStringLiteral("down %1").arg(key); },
        [&](QChar&) { seen << "press"; }));
    EXPECT_EQ(seen, QStringList({"down 116"}));
}

TEST(Keys, MouseShiftState)
{
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                    Qt::ControlModifier);
    EXPECT_EQ(ShiftStateOf(&dbl), ssCtrl | ssLeft | ssDouble);
    EXPECT_EQ(MouseButtonOf(Qt::RightButton), mbRight);
}
