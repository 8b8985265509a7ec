#pragma once
// The answers the program gets to its questions about the operating system. One fixed set that
// behaves like a desktop of the Windows 7 generation without visual styles: version 6.1, common
// controls 6, no visual-style library, no office theme, no flat scroll bars. Tests may change
// the answers through PlatformInfo() and put them back with Reset().
#include <QString>
#include <cstdint>

namespace platform {

struct TPlatformInfo {
    int MajorVersion = 6;
    int MinorVersion = 1;
    int BuildNumber = 7601;
    QString CSDVersion = QStringLiteral("Service Pack 1");
    bool IsNT = true;
    // File version (most significant double word) of the common controls library: 6.10.
    uint32_t ComCtl32VersionMS = 0x0006000A;
    // The visual-style library and its entry points are absent: every drawing takes its
    // unthemed branch.
    bool VisualStylesAvailable = false;
    bool ThemeActive = false;
    // No office theme is installed: its registry values are absent.
    bool OfficeThemeInstalled = false;
    QString OfficeTheme;
    // The flat scroll bar entry points are absent.
    bool FlatScrollBarsAvailable = false;

    // Version at least major.minor.
    bool VersionAtLeast(int major, int minor) const
    {
        return MajorVersion > major || (MajorVersion == major && MinorVersion >= minor);
    }
    // Major version of the common controls (low byte of the high word).
    int ComCtl32Major() const { return int((ComCtl32VersionMS >> 16) & 0xFF); }
    bool IsComCtl6OrLater() const { return ComCtl32Major() > 5; }
    bool IsWinXPOrLater() const { return VersionAtLeast(5, 1); }
    bool IsVistaOrLater() const { return VersionAtLeast(6, 0); }
    bool IsWin7OrLater() const { return VersionAtLeast(6, 1); }

    // Back to the fixed answers.
    void Reset() { *this = TPlatformInfo(); }
};

TPlatformInfo& PlatformInfo();

} // namespace platform
