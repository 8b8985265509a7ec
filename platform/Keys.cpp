#include "platform/Keys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

namespace platform {

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    // The flag of each modifier key and each mouse button held.
    static const std::pair<Qt::KeyboardModifier, TShiftStateFlag> keys[] = {
        {Qt::ShiftModifier, ssShift}, {Qt::AltModifier, ssAlt}, {Qt::ControlModifier, ssCtrl}};
    static const std::pair<Qt::MouseButton, TShiftStateFlag> mouse[] = {
        {Qt::LeftButton, ssLeft}, {Qt::RightButton, ssRight}, {Qt::MiddleButton, ssMiddle}};
    TShiftState s;
    for (const auto& [key, flag] : keys)
        if (modifiers & key)
            s |= flag;
    for (const auto& [button, flag] : mouse)
        if (buttons & button)
            s |= flag;
    return s;
}

TShiftState ShiftStateOf(const QMouseEvent* event)
{
    TShiftState s = ShiftStateOf(event->modifiers(), event->buttons());
    if (event->type() == QEvent::MouseButtonDblClick)
        s |= ssDouble;
    return s;
}

TMouseButton MouseButtonOf(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        return mbRight;
    if (button == Qt::MiddleButton)
        return mbMiddle;
    return mbLeft;
}

namespace {

struct KeyPair {
    int Qt;
    uint16_t Vk;
};

const KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB}, {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR}, {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT}, {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_MENU}, {Qt::Key_Pause, VK_PAUSE}, {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE}, {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END}, {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT}, {Qt::Key_Up, VK_UP}, {Qt::Key_Right, VK_RIGHT}, {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Select, VK_SELECT}, {Qt::Key_Printer, VK_PRINT}, {Qt::Key_Execute, VK_EXECUTE},
    {Qt::Key_Print, VK_SNAPSHOT}, {Qt::Key_Insert, VK_INSERT}, {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP}, {Qt::Key_Meta, VK_LWIN}, {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Super_R, VK_RWIN}, {Qt::Key_Menu, VK_APPS}, {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    // Punctuation by its place on a US keyboard; shifted characters share the key.
    {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_Colon, VK_OEM_1}, {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS}, {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS}, {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2}, {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3}, {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4}, {Qt::Key_Backslash, VK_OEM_5}, {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},
    // Shifted digits
    {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
};

const KeyPair kKeypad[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD}, {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL}, {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

} // namespace

uint16_t VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return uint16_t(VK_NUMPAD0 + (qtKey - Qt::Key_0));
        for (const KeyPair& k : kKeypad)
            if (k.Qt == qtKey)
                return k.Vk;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return uint16_t(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return uint16_t(VK_F1 + (qtKey - Qt::Key_F1));
    for (const KeyPair& k : kKeys)
        if (k.Qt == qtKey)
            return k.Vk;
    return 0;
}

int QtKeyOf(uint16_t vk)
{
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return vk;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return Qt::Key_0 + (vk - VK_NUMPAD0);
    if (vk >= VK_F1 && vk <= VK_F1 + 23)
        return Qt::Key_F1 + (vk - VK_F1);
    for (const KeyPair& k : kKeypad)
        if (k.Vk == vk)
            return k.Qt;
    for (const KeyPair& k : kKeys)
        if (k.Vk == vk)
            return k.Qt;
    return Qt::Key_unknown;
}

TKeyStroke TranslateKey(const QKeyEvent* event)
{
    TKeyStroke stroke;
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    stroke.Key = VirtualKeyOf(key, mods);
    stroke.Shift = ShiftStateOf(mods);
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    // Alt combinations are menu keys and type nothing (AltGr arrives as Ctrl+Alt).
    if (alt && !ctrl)
        return stroke;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        stroke.Char = ctrl ? QChar(10) : QChar(13);
        return stroke;
    case Qt::Key_Escape:
        stroke.Char = QChar(27);
        return stroke;
    case Qt::Key_Backspace:
        stroke.Char = ctrl ? QChar(127) : QChar(8);
        return stroke;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!ctrl)
            stroke.Char = QChar(9);
        return stroke;
    default:
        break;
    }
    if (ctrl && !alt) {
        // Ctrl with a letter types its control character.
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            stroke.Char = QChar(key - Qt::Key_A + 1);
        return stroke;
    }
    const QString text = event->text();
    if (text.size() == 1 || (text.size() == 2 && text[0].isHighSurrogate())) {
        const QChar c = text[0];
        if (c.unicode() >= 32 && c.unicode() != 127)
            stroke.Char = c;
    }
    return stroke;
}

bool DeliverKey(const QKeyEvent* event, const std::function<void(uint16_t& key, TShiftState shift)>& keyDown,
                const std::function<void(QChar& ch)>& keyPress)
{
    const TKeyStroke stroke = TranslateKey(event);
    bool consumed = false;
    if (stroke.Key != 0 && keyDown) {
        uint16_t key = stroke.Key;
        keyDown(key, stroke.Shift);
        consumed = key == 0;
    }
    if (!stroke.Char.isNull() && keyPress) {
        QChar ch = stroke.Char;
        keyPress(ch);
        consumed = consumed || ch.isNull();
    }
    return consumed;
}

QKeyEvent* PlainTabPress(QEvent* event)
{
    if (!event || event->type() != QEvent::KeyPress)
        return nullptr;
    auto* ke = static_cast<QKeyEvent*>(event);
    if ((ke->key() != Qt::Key_Tab && ke->key() != Qt::Key_Backtab) ||
        (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return nullptr;
    return ke;
}

} // namespace platform
