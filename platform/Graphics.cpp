#include "platform/Graphics.h"

#include <algorithm>
#include <array>

namespace {

// One fixed set of system colours, as a Windows 7 desktop shows them out of the box.
const std::array<TColor, 31> g_sysColors = {
    0xC8C8C8, // 0 scroll bar
    0x000000, // 1 background (desktop)
    0xD1B499, // 2 active caption
    0xDBCDBF, // 3 inactive caption
    0xF0F0F0, // 4 menu
    0xFFFFFF, // 5 window
    0x646464, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0x000000, // 9 caption text
    0xB4B4B4, // 10 active border
    0xFCF7F4, // 11 inactive border
    0xABABAB, // 12 application work space
    0xFF9933, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xF0F0F0, // 15 button face
    0xA0A0A0, // 16 button shadow
    0x6D6D6D, // 17 grey text
    0x000000, // 18 button text
    0x544E43, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x696969, // 21 3D dark shadow
    0xE3E3E3, // 22 3D light
    0x000000, // 23 info text
    0xE1FFFF, // 24 info background
    0xB5B5B5, // 25 (unused slot)
    0xCC6600, // 26 hot light
    0xEAD1B9, // 27 gradient active caption
    0xF2E4D7, // 28 gradient inactive caption
    0xFF9933, // 29 menu highlight
    0xF0F0F0, // 30 menu bar
};

} // namespace

TColor ColorToRGB(TColor color)
{
    if (color < 0) {
        const int index = color & 0xFF;
        if ((static_cast<unsigned>(color) & 0xFFFFFF00u) == 0xFF000000u && index < int(g_sysColors.size()))
            return g_sysColors[size_t(index)];
        return clBlack;
    }
    return color;
}

QColor ToQColor(TColor color)
{
    if (color == clNone)
        return QColor(0, 0, 0, 0);
    if (color == clDefault)
        color = clWindow;
    const TColor c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}


bool IsRectEmpty(const TRect& r)
{
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

bool InflateRect(TRect& r, int dx, int dy)
{
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
    return true;
}

bool OffsetRect(TRect& r, int dx, int dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
    return true;
}

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b)
{
    TRect r(std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom));
    if (IsRectEmpty(r)) {
        dst = TRect();
        return false;
    }
    dst = r;
    return true;
}

bool UnionRect(TRect& dst, const TRect& a, const TRect& b)
{
    const bool ea = IsRectEmpty(a);
    const bool eb = IsRectEmpty(b);
    if (ea && eb) {
        dst = TRect();
        return false;
    }
    if (ea) {
        dst = b;
        return true;
    }
    if (eb) {
        dst = a;
        return true;
    }
    dst = TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom));
    return true;
}

bool PtInRect(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

bool EqualRect(const TRect& a, const TRect& b)
{
    return a == b;
}

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

TRect FromQRect(const QRect& r)
{
    return TRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height());
}
