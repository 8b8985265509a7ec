#pragma once
// Shared style types of the grid, its editors and the drop-down controls; detection of the
// office or system theme; and the theme notifier, which tells registered windows when the user
// changes the office theme (a registry-watching thread behind a hidden window).
#include "platform/Graphics.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>

class QFileSystemWatcher;

enum TOrlexStyle {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
    tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista, tsWindows7,
    tsTerminal, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black
};

enum TOfficeTheme {
    ot2003Blue, ot2003Silver, ot2003Olive, ot2003Classic, ot2007Blue, ot2007Silver, ot2007Black, ot2010Blue,
    ot2010Silver, ot2010Black, otUnknown
};

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

// A control that takes a component style.
class IOrlexStyle {
public:
    virtual ~IOrlexStyle() = default;
    virtual void SetComponentStyle(TOrlexStyle style) = 0;
};

// A control that takes a set of colour tones.
class IOrlexTones {
public:
    virtual ~IOrlexTones() = default;
    virtual void SetColorTones(const TColorTones& tones) = 0;
};

// ---- the registry stand-in ----

// Root keys of the registry.
constexpr intptr_t HKEY_CLASSES_ROOT = intptr_t(0x80000000u);
constexpr intptr_t HKEY_CURRENT_USER = intptr_t(0x80000001u);
constexpr intptr_t HKEY_LOCAL_MACHINE = intptr_t(0x80000002u);

// Where the registry lives: an INI store in the user's configuration folder. Tests point it at a
// file of their own before anything reads it.
QString RegistryStorePath();
void SetRegistryStorePath(const QString& path);
// Tells every running registry monitor that the store may have changed (what the file watcher
// of the theme notifier does when the store file changes).
void SignalRegistryChange();

// Registry access over the store; keys are written with "\" between their parts.
class TRegistry {
public:
    TRegistry();
    intptr_t RootKey() const { return FRootKey; }
    void SetRootKey(intptr_t root) { FRootKey = root; }
    bool KeyExists(const QString& key) const;
    // Opens an existing key (never creates one).
    bool OpenKeyReadOnly(const QString& key);
    // Opens a key for reading and writing; with CanCreate a missing key is opened too (the store
    // shows it once it holds a value).
    bool OpenKey(const QString& key, bool CanCreate);
    void CloseKey();
    QString CurrentPath() const { return FCurrentKey; }
    bool ValueExists(const QString& name) const;
    int ReadInteger(const QString& name) const;
    // Writes a value into the open key (a value of that name in another letter case is replaced).
    // The store keeps every value as text, so a number and its decimal text are stored alike.
    // A store that cannot be written raises platform::Exception.
    void WriteInteger(const QString& name, int value);
    // Every value and sub-key name below `key` (the key itself included): values under their
    // path, sub-keys as their path with an empty value.
    QMap<QString, QVariant> ReadTree(const QString& key, bool values, bool names) const;

private:
    QString Group(const QString& key) const;
    intptr_t FRootKey = HKEY_CURRENT_USER;
    QString FCurrentKey;
    bool FOpen = false;
};

// ---- detection ----

// Common controls of version 6 or later (also when their version cannot be read).
bool IsComCtl6OrLater();
// The system offers the locale queries of the Vista generation.
bool HasLocaleInfoEx();
// "Segoe UI" where the system offers it, else "Tahoma".
QString DefaultUIFontName();
// 2 when the 14.0 office keys exist, 1 for the 12.0 keys, else 0.
int InstalledOfficeVersion();
// The integer value "Theme" of an existing key; -1 when the key or the value is missing.
int ReadOfficeTheme(TRegistry& registry, const QString& key);
// 0 classic, 1 "NormalColor", 2 "HomeStead", 3 "Metallic".
int GetXPThemeColor();
// The office theme, else the theme of the system.
TOfficeTheme DetectSystemStyle();

// ---- the theme notifier ----

// A list of window handles (the windows told about theme changes).
class THandleList {
public:
    THandleList() = default;
    int Count() const { return int(FItems.size()); }
    void Add(QObject* value) { FItems.append(value); }
    void Insert(int index, QObject* value) { FItems.insert(index, value); }
    void Delete(int index) { FItems.removeAt(index); }
    // Removes the first entry equal to value, if any.
    void DeleteValue(QObject* value);
    bool HasValue(QObject* value) const { return FItems.contains(value); }
    QObject* GetInteger(int index) const { return FItems.value(index); }
    void SetInteger(int index, QObject* value) { FItems[index] = value; }

private:
    QList<QObject*> FItems;
};

// The thread that watches a registry key and sends the theme message to the windows of its list
// on each change. It is owned, stopped and joined by its notifier.
class TRegMonitorThread : public QThread {
public:
    TRegMonitorThread();
    ~TRegMonitorThread() override;

    QString Key() const { return FKey; }
    void SetKey(const QString& key) { FKey = key; }
    intptr_t RootKey() const { return FRootKey; }
    void SetRootKey(intptr_t root) { FRootKey = root; }
    bool WatchSub() const { return FWatchSub; }
    void SetWatchSub(bool value) { FWatchSub = value; }
    // Reading 0 stores and gives 15 (every change kind).
    int Filter();
    void SetFilter(int value) { FFilter = value; }
    QObject* Wnd() const { return FWnd; }
    void SetWnd(QObject* wnd);
    // A copy of the window list.
    THandleList WinList() const;

    // The window list, changed on the GUI thread while the thread may be sending.
    void AddWindow(QObject* wnd);
    void RemoveWindow(QObject* wnd);

    // Marks the thread terminated and wakes it; it ends soon after.
    void Stop();
    // The registry may have changed: the thread looks again.
    void SignalChange();
    // Takes the key's present state as the one changes are measured against, so that a change
    // made right after start() is not missed (the notifier calls it before start()).
    void PrimeSnapshot();
    // Why the thread ended early (empty when it did not).
    QString ErrorText() const;

protected:
    void run() override;

private:
    struct TSignal;
    bool SendAndWait(QObject* target);

    std::unique_ptr<TRegistry> FReg;
    std::shared_ptr<TSignal> FEvent;
    QString FKey;
    intptr_t FRootKey = HKEY_CURRENT_USER;
    bool FWatchSub = false;
    int FFilter = 0;
    QObject* FWnd = nullptr;
    QMap<QString, QVariant> FSeen;
    bool FPrimed = false;
    QString FError;
};

// The hidden window that receives the theme message for the notifier.
class TThemeNotifierWindow : public QWidget {
public:
    explicit TThemeNotifierWindow(QWidget* parent = nullptr);
    std::function<void(QObject* sender)> OnOfficeThemeChange;

protected:
    bool event(QEvent* event) override;
};

class TThemeNotifier : public QObject {
public:
    explicit TThemeNotifier(QObject* AOwner);
    ~TThemeNotifier() override;

    void RegisterWindow(QObject* hwnd);
    void UnRegisterWindow(QObject* hwnd);

    std::function<void(QObject* sender)> OnOfficeThemeChange;

    // The monitor thread (null when no office version was found).
    TRegMonitorThread* RegMonitorThread() const { return FRegMonitorThread.get(); }
    TThemeNotifierWindow* NotifierWindow() const { return FNotifier; }

private:
    std::unique_ptr<TRegMonitorThread> FRegMonitorThread;
    QPointer<TThemeNotifierWindow> FNotifier;
    std::unique_ptr<QFileSystemWatcher> FWatcher;
};

// The one notifier of the process, made on first use with AOwner as its owner; the owner's
// destruction ends it and a later call makes a new one.
TThemeNotifier* GetThemeNotifier(QObject* AOwner);
