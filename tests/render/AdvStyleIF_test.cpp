// Theme detection, visual-style tables and the theme notifier against the registry stand-in.
#include "render/AdvStyleIF.h"
#include "render/AdvXPVS.h"
#include "render/ATXPVS.h"

#include "platform/Messages.h"
#include "platform/PlatformInfo.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cstring>

namespace {

const char* const Office14 = "Software\\Microsoft\\Office\\14.0\\Common";
const char* const Office12 = "Software\\Microsoft\\Office\\12.0\\Common";

// A registry store of the test's own, and the platform answers put back afterwards.
class RegistryScope {
public:
    RegistryScope()
    {
        SetRegistryStorePath(FDir.filePath(QStringLiteral("registry.ini")));
    }
    ~RegistryScope()
    {
        SetRegistryStorePath(QString());
        SetVisualStyleResolverForTest({});
        platform::PlatformInfo().Reset();
    }
    void Set(const QString& key, const QString& name, const QVariant& value)
    {
        QSettings s(RegistryStorePath(), QSettings::IniFormat);
        QString k = key;
        k.replace(u'\\', u'/');
        s.setValue(QStringLiteral("HKEY_CURRENT_USER/") + k + u'/' + name, value);
        s.sync();
    }

private:
    QTemporaryDir FDir;
};

// A stand-in visual-style library: every entry point present unless named in `missing`.
QString gColorName;
bool gThemeActive = true;
bool FakeIsThemeActive() { return gThemeActive; }
HRESULT FakeThemeName(char16_t*, int, char16_t* color, int colorChars, char16_t*, int)
{
    const QString n = gColorName.left(colorChars - 1);
    std::memcpy(color, n.utf16(), (n.size() + 1) * sizeof(char16_t));
    return S_OK;
}
void FakeEntry() {}

TVisualStyleResolver FakeLibrary(const char* missing = nullptr)
{
    return [missing](const char* name) -> void* {
        if (missing && std::strcmp(name, missing) == 0)
            return nullptr;
        if (std::strcmp(name, "IsThemeActive") == 0)
            return reinterpret_cast<void*>(&FakeIsThemeActive);
        if (std::strcmp(name, "GetCurrentThemeName") == 0)
            return reinterpret_cast<void*>(&FakeThemeName);
        return reinterpret_cast<void*>(&FakeEntry);
    };
}

TEST(AdvStyleIF, DetectSystemStyle)
{
    struct Case {
        int theme14, theme12;  // -1: key absent
        const char* xpColor;   // null: no visual-style library
        bool active;
        TOfficeTheme result;
    };
    const Case cases[] = {
        {-1, -1, nullptr, true, ot2003Classic},
        {4, 1, nullptr, true, ot2003Blue},       // 14.0 answers; 12.0 not looked at
        {1, -1, nullptr, true, ot2010Blue},
        {2, -1, nullptr, true, ot2010Silver},
        {3, -1, nullptr, true, ot2010Black},
        {-1, 2, nullptr, true, ot2007Silver},
        {-1, 3, nullptr, true, ot2007Black},
        {-1, 0, nullptr, true, ot2003Blue},
        {-1, -1, "HomeStead", true, ot2003Olive},
        {-1, -1, "NormalColor", true, ot2003Blue},
        {-1, -1, "Metallic", true, ot2003Silver},
        {-1, -1, "Home", true, ot2003Olive},     // a piece of a name matches as well
        {-1, -1, "", true, ot2003Classic},
        {-1, -1, "HomeStead", false, ot2003Classic},  // classic look: theme inactive
    };
    for (const Case& c : cases) {
        RegistryScope reg;
        if (c.theme14 >= 0)
            reg.Set(QString::fromLatin1(Office14), QStringLiteral("Theme"), c.theme14);
        if (c.theme12 >= 0)
            reg.Set(QString::fromLatin1(Office12), QStringLiteral("Theme"), c.theme12);
        if (c.xpColor) {
            platform::PlatformInfo().VisualStylesAvailable = true;
            SetVisualStyleResolverForTest(FakeLibrary());
            gColorName = QString::fromLatin1(c.xpColor);
            gThemeActive = c.active;
        }
        EXPECT_EQ(DetectSystemStyle(), c.result) << c.theme14 << " " << c.theme12 << " " << (c.xpColor ? c.xpColor : "-");
    }
}

TEST(AdvStyleIF, PlatformAnswers)
{
    RegistryScope reg;
    EXPECT_EQ(DefaultUIFontName(), QStringLiteral("Segoe UI"));
    platform::PlatformInfo().MajorVersion = 5;
    platform::PlatformInfo().MinorVersion = 1;
    EXPECT_EQ(DefaultUIFontName(), QStringLiteral("Tahoma"));
    EXPECT_EQ(GetXPThemeColor(), 0);  // no library
    platform::PlatformInfo().ComCtl32VersionMS = 0xFFFFFFFFu;  // version unreadable
    EXPECT_TRUE(IsComCtl6OrLater());
    platform::PlatformInfo().ComCtl32VersionMS = 0x00050052u;
    EXPECT_FALSE(IsComCtl6OrLater());
}

TEST(AdvStyleIF, VisualStyleTables)
{
    RegistryScope reg;
    // Our platform has no visual-style library: both tables stay empty, nothing asserts.
    AdvXPVS::Reload();
    ATXPVS::Reload();
    EXPECT_FALSE(AdvXPVS::ThemesAvailable());
    EXPECT_FALSE(ATXPVS::ThemesAvailable());
    EXPECT_EQ(AdvXPVS::Table().OpenThemeData(), nullptr);

    TVisualStyleTable full;
    LoadVisualStyleTable(full, FakeLibrary());
    EXPECT_TRUE(full.Loaded);
    EXPECT_EQ(reinterpret_cast<void*>(full.IsThemeActive()), reinterpret_cast<void*>(&FakeIsThemeActive));
    EXPECT_EQ(full.Entry("GetCurrentThemeName"), reinterpret_cast<void*>(&FakeThemeName));

    TVisualStyleTable partial;
    LoadVisualStyleTable(partial, FakeLibrary("EnableTheming"));
    EXPECT_FALSE(partial.Loaded);
    EXPECT_EQ(partial.OpenThemeData(), nullptr);
}

TEST(AdvStyleIF, HandleList)
{
    QObject a, b;
    THandleList l;
    l.Add(&a);
    l.Add(&b);
    l.Add(&a);
    l.DeleteValue(&a);
    EXPECT_EQ(l.Count(), 2);
    EXPECT_EQ(l.GetInteger(0), &b);
    EXPECT_TRUE(l.HasValue(&a));
    l.Insert(0, &a);
    l.SetInteger(1, &a);
    l.Delete(2);
    EXPECT_EQ(l.Count(), 2);
    EXPECT_FALSE(l.HasValue(&b));
}

// A window that counts the theme messages it gets.
class Listener : public QObject {
public:
    int Messages = 0;
    QString Key;
    bool event(QEvent* e) override
    {
        if (e->type() == platform::MessageEventType(platform::WM_THEMENOTIFY)) {
            ++Messages;
            Key = *reinterpret_cast<QString*>(static_cast<platform::TMessageEvent*>(e)->LParam);
            return true;
        }
        return QObject::event(e);
    }
};

TEST(AdvStyleIF, NotifierWatchesTheInstalledVersion)
{
    struct Case { bool general12, general14; const char* watched; };
    const Case cases[] = {
        {false, false, nullptr},
        {true, false, Office12},
        {true, true, Office14},
    };
    for (const Case& c : cases) {
        RegistryScope reg;
        if (c.general12)
            reg.Set(QString::fromLatin1(Office12) + QStringLiteral("\\General"), QStringLiteral("x"), 1);
        if (c.general14)
            reg.Set(QString::fromLatin1(Office14) + QStringLiteral("\\General"), QStringLiteral("x"), 1);
        QWidget owner;
        TThemeNotifier n(&owner);
        if (!c.watched) {
            EXPECT_EQ(n.RegMonitorThread(), nullptr);
            QObject w;
            n.RegisterWindow(&w);  // no effect, no harm
            continue;
        }
        ASSERT_NE(n.RegMonitorThread(), nullptr);
        EXPECT_EQ(n.RegMonitorThread()->Key(), QString::fromLatin1(c.watched));
        EXPECT_EQ(n.RegMonitorThread()->Filter(), 4);
        EXPECT_EQ(n.RegMonitorThread()->RootKey(), HKEY_CURRENT_USER);
    }
}

TEST(AdvStyleIF, NotifierTellsRegisteredWindows)
{
    RegistryScope reg;
    reg.Set(QString::fromLatin1(Office14) + QStringLiteral("\\General"), QStringLiteral("x"), 1);
    reg.Set(QString::fromLatin1(Office14), QStringLiteral("Theme"), 1);
    QWidget owner;
    TThemeNotifier* n = GetThemeNotifier(&owner);
    EXPECT_EQ(GetThemeNotifier(nullptr), n);
    int fired = 0;
    n->OnOfficeThemeChange = [&](QObject* sender) {
        EXPECT_EQ(sender, n);
        ++fired;
    };
    Listener a, b;
    n->RegisterWindow(&a);
    n->RegisterWindow(&a);
    n->RegisterWindow(&b);
    n->UnRegisterWindow(&b);
    QObject unknown;
    n->UnRegisterWindow(&unknown);
    EXPECT_EQ(n->RegMonitorThread()->WinList().Count(), 1);
    {
        // A registered window that goes away leaves the list.
        Listener gone;
        n->RegisterWindow(&gone);
    }
    EXPECT_EQ(n->RegMonitorThread()->WinList().Count(), 1);

    reg.Set(QString::fromLatin1(Office14), QStringLiteral("Theme"), 3);
    SignalRegistryChange();
    EXPECT_TRUE(QTest::qWaitFor([&] { return a.Messages == 1; }, 5000));
    EXPECT_EQ(a.Key, QString::fromLatin1(Office14));
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(b.Messages, 0);

    // A wake-up without a change sends nothing.
    SignalRegistryChange();
    QTest::qWait(50);
    EXPECT_EQ(a.Messages, 1);

    // The owner's end ends the notifier; a later call makes a new one.
    auto* owner2 = new QWidget;
    delete n;
    TThemeNotifier* n2 = GetThemeNotifier(owner2);
    EXPECT_NE(n2, nullptr);
    delete owner2;  // takes n2 with it, thread joined
}

TEST(AdvStyleIF, MonitorThreadEdges)
{
    RegistryScope reg;
    {
        TRegMonitorThread t;
        EXPECT_EQ(t.Filter(), 15);  // a new thread reads 15 and keeps it
        t.SetFilter(0);
        EXPECT_EQ(t.Filter(), 15);
    }
    {
        // A key that cannot be opened ends the thread with its error; nothing is sent.
        TRegMonitorThread t;
        t.SetKey(QStringLiteral("Software\\Nowhere"));
        t.start();
        EXPECT_TRUE(t.wait(5000));
        EXPECT_EQ(t.ErrorText(), QStringLiteral("Unable to open registry key Software\\Nowhere"));
    }
    {
        // An owner that is no window still gets a working notifier.
        reg.Set(QString::fromLatin1(Office12) + QStringLiteral("\\General"), QStringLiteral("x"), 1);
        QObject notAWindow;
        TThemeNotifier n(&notAWindow);
        EXPECT_NE(n.NotifierWindow(), nullptr);
        EXPECT_NE(n.RegMonitorThread(), nullptr);
    }
}

} // namespace
