// Theme detection, the registry stand-in and the theme notifier with its monitor thread.
#include "render/AdvStyleIF.h"

#include "platform/Messages.h"
#include "platform/PlatformInfo.h"
#include "platform/SysUtils.h"
#include "render/AdvXPVS.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMutex>
#include <QSettings>
#include <QStandardPaths>

#include <condition_variable>
#include <mutex>
#include <set>

// =============================================================================================
// Registry stand-in
// =============================================================================================

namespace {

QMutex& StoreMutex()
{
    static QMutex m;
    return m;
}

QString& StorePath()
{
    static QString path;
    return path;
}

QString RootName(intptr_t root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_LOCAL_MACHINE: return QStringLiteral("HKEY_LOCAL_MACHINE");
    default: return QStringLiteral("HKEY_CURRENT_USER");
    }
}

} // namespace

QString RegistryStorePath()
{
    QMutexLocker lock(&StoreMutex());
    if (StorePath().isEmpty())
        StorePath() = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                          .filePath(QStringLiteral("registry.ini"));
    return StorePath();
}

void SetRegistryStorePath(const QString& path)
{
    QMutexLocker lock(&StoreMutex());
    StorePath() = path;
}

TRegistry::TRegistry() = default;

QString TRegistry::Group(const QString& key) const
{
    QString k = key;
    k.replace(u'\\', u'/');
    while (k.startsWith(u'/'))
        k.remove(0, 1);
    return RootName(FRootKey) + u'/' + k;
}

bool TRegistry::KeyExists(const QString& key) const
{
    QSettings s(RegistryStorePath(), QSettings::IniFormat);
    s.beginGroup(Group(key));
    return !s.childKeys().isEmpty() || !s.childGroups().isEmpty();
}

bool TRegistry::OpenKeyReadOnly(const QString& key)
{
    if (!KeyExists(key))
        return false;
    FCurrentKey = key;
    FOpen = true;
    return true;
}

bool TRegistry::OpenKey(const QString& key, bool CanCreate)
{
    if (!CanCreate && !KeyExists(key))
        return false;
    FCurrentKey = key;
    FOpen = true;
    return true;
}

void TRegistry::WriteInteger(const QString& name, int value)
{
    QSettings s(RegistryStorePath(), QSettings::IniFormat);
    s.beginGroup(Group(FCurrentKey));
    QString stored = name;
    for (const QString& k : s.childKeys())
        if (k.compare(name, Qt::CaseInsensitive) == 0) {
            stored = k;
            break;
        }
    s.setValue(stored, value);
    s.endGroup();
    s.sync();
    if (s.status() != QSettings::NoError)
        throw platform::Exception(QStringLiteral("Failed to set data for '%1'").arg(name));
}

void TRegistry::CloseKey()
{
    FOpen = false;
    FCurrentKey.clear();
}

bool TRegistry::ValueExists(const QString& name) const
{
    if (!FOpen)
        return false;
    QSettings s(RegistryStorePath(), QSettings::IniFormat);
    s.beginGroup(Group(FCurrentKey));
    return s.childKeys().contains(name, Qt::CaseInsensitive);
}

int TRegistry::ReadInteger(const QString& name) const
{
    QSettings s(RegistryStorePath(), QSettings::IniFormat);
    s.beginGroup(Group(FCurrentKey));
    for (const QString& k : s.childKeys())
        if (k.compare(name, Qt::CaseInsensitive) == 0)
            return s.value(k).toInt();
    return 0;
}

QMap<QString, QVariant> TRegistry::ReadTree(const QString& key, bool values, bool names) const
{
    QMap<QString, QVariant> tree;
    QSettings s(RegistryStorePath(), QSettings::IniFormat);
    s.beginGroup(Group(key));
    for (const QString& k : s.allKeys()) {
        if (values)
            tree.insert(k, s.value(k));
        if (names) {
            const qsizetype slash = k.lastIndexOf(u'/');
            tree.insert(slash < 0 ? QStringLiteral("/") : k.left(slash) + u'/', QVariant());
            if (!values)
                tree.insert(k + QStringLiteral("#name"), QVariant());
        }
    }
    return tree;
}

// =============================================================================================
// Detection
// =============================================================================================

bool IsComCtl6OrLater()
{
    return platform::PlatformInfo().IsComCtl6OrLater();
}

bool HasLocaleInfoEx()
{
    return platform::PlatformInfo().IsVistaOrLater();
}

QString DefaultUIFontName()
{
    return HasLocaleInfoEx() ? QStringLiteral("Segoe UI") : QStringLiteral("Tahoma");
}

int InstalledOfficeVersion()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    const bool has12 = reg.KeyExists(QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common\\General"));
    const bool has14 = reg.KeyExists(QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common\\General"));
    if (has14)
        return 2;
    if (has12)
        return 1;
    return 0;
}

int ReadOfficeTheme(TRegistry& registry, const QString& key)
{
    if (!registry.KeyExists(key))
        return -1;
    int result = -1;
    if (registry.OpenKeyReadOnly(key)) {
        if (registry.ValueExists(QStringLiteral("Theme")))
            result = registry.ReadInteger(QStringLiteral("Theme"));
        registry.CloseKey();
    }
    return result;
}

int GetXPThemeColor()
{
    const auto& pi = platform::PlatformInfo();
    if (!(pi.MajorVersion > 5 || (pi.MajorVersion == 5 && pi.MinorVersion != 0)))
        return 0;
    // The library is looked at for this call only.
    const TVisualStyleResolver resolve = SystemVisualStyleResolver();
    if (!resolve)
        return 0;
    auto isThemeActive = reinterpret_cast<TIsThemeActive>(resolve("IsThemeActive"));
    if (!isThemeActive || !isThemeActive() || !IsComCtl6OrLater())
        return 0;
    auto getName = reinterpret_cast<TGetCurrentThemeName>(resolve("GetCurrentThemeName"));
    if (!getName)
        return 0;
    char16_t file[256] = {}, color[256] = {}, size[256] = {};
    getName(file, 255, color, 255, size, 255);
    color[255] = 0;
    const QString name = QString::fromUtf16(color);
    if (name.isEmpty())
        return 0;
    if (QStringLiteral("NormalColor").contains(name))
        return 1;
    if (QStringLiteral("HomeStead").contains(name))
        return 2;
    if (QStringLiteral("Metallic").contains(name))
        return 3;
    return 0;
}

TOfficeTheme DetectSystemStyle()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    int t = ReadOfficeTheme(reg, QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common"));
    switch (t) {
    case -1: break;
    case 1: return ot2010Blue;
    case 2: return ot2010Silver;
    case 3: return ot2010Black;
    default: return ot2003Blue;
    }
    t = ReadOfficeTheme(reg, QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common"));
    switch (t) {
    case -1: break;
    case 1: return ot2007Blue;
    case 2: return ot2007Silver;
    case 3: return ot2007Black;
    default: return ot2003Blue;
    }
    switch (GetXPThemeColor()) {
    case 1: return ot2003Blue;
    case 2: return ot2003Olive;
    case 3: return ot2003Silver;
    default: return ot2003Classic;
    }
}

// =============================================================================================
// Handle list
// =============================================================================================

void THandleList::DeleteValue(QObject* value)
{
    const qsizetype i = FItems.indexOf(value);
    if (i >= 0)
        FItems.removeAt(i);
}

// =============================================================================================
// Monitor thread
// =============================================================================================

// The thread's own events (stop, change, the count of answered sends) and its window list.
// Shared with the sends in flight, which the GUI thread may answer (or drop) after the thread
// has gone; the list is changed and read for delivery on the GUI thread only.
struct TRegMonitorThread::TSignal {
    std::mutex Lock;
    std::condition_variable Wake;
    bool Stop = false;
    bool Change = false;
    quint64 Answered = 0;
    mutable QMutex ListLock;
    QObject* Wnd = nullptr;
    THandleList List;
};

namespace {

std::mutex& MonitorsLock()
{
    static std::mutex m;
    return m;
}

std::set<TRegMonitorThread*>& Monitors()
{
    static std::set<TRegMonitorThread*> s;
    return s;
}

} // namespace

void SignalRegistryChange()
{
    std::lock_guard<std::mutex> lock(MonitorsLock());
    for (TRegMonitorThread* m : Monitors())
        m->SignalChange();
}

TRegMonitorThread::TRegMonitorThread() : FReg(std::make_unique<TRegistry>()), FEvent(std::make_shared<TSignal>())
{
    std::lock_guard<std::mutex> lock(MonitorsLock());
    Monitors().insert(this);
}

TRegMonitorThread::~TRegMonitorThread()
{
    {
        std::lock_guard<std::mutex> lock(MonitorsLock());
        Monitors().erase(this);
    }
    Stop();
    wait();
    // Sends still queued find nobody to tell.
    QMutexLocker lock(&FEvent->ListLock);
    FEvent->Wnd = nullptr;
    FEvent->List = THandleList();
}

int TRegMonitorThread::Filter()
{
    if (FFilter == 0)
        FFilter = 15;
    return FFilter;
}

void TRegMonitorThread::SetWnd(QObject* wnd)
{
    QMutexLocker lock(&FEvent->ListLock);
    FWnd = wnd;
    FEvent->Wnd = wnd;
}

THandleList TRegMonitorThread::WinList() const
{
    QMutexLocker lock(&FEvent->ListLock);
    return FEvent->List;
}

void TRegMonitorThread::AddWindow(QObject* wnd)
{
    if (!wnd)
        return;
    {
        QMutexLocker lock(&FEvent->ListLock);
        if (FEvent->List.HasValue(wnd))
            return;
        FEvent->List.Add(wnd);
    }
    // A window that goes away leaves the list.
    QObject::connect(wnd, &QObject::destroyed, this, [this](QObject* gone) { RemoveWindow(gone); });
}

void TRegMonitorThread::RemoveWindow(QObject* wnd)
{
    QMutexLocker lock(&FEvent->ListLock);
    FEvent->List.DeleteValue(wnd);
}

void TRegMonitorThread::PrimeSnapshot()
{
    const int filter = Filter();
    TRegistry reg;
    reg.SetRootKey(FRootKey);
    FSeen = reg.ReadTree(FKey, filter & 4, filter & 1);
    FPrimed = true;
}

void TRegMonitorThread::Stop()
{
    requestInterruption();
    std::lock_guard<std::mutex> lock(FEvent->Lock);
    FEvent->Stop = true;
    FEvent->Wake.notify_all();
}

void TRegMonitorThread::SignalChange()
{
    std::lock_guard<std::mutex> lock(FEvent->Lock);
    FEvent->Change = true;
    FEvent->Wake.notify_all();
}

QString TRegMonitorThread::ErrorText() const
{
    std::lock_guard<std::mutex> lock(FEvent->Lock);
    return FError;
}

namespace {

// Counts a send as answered when the GUI thread has run it, or when the queued call was
// dropped without running.
struct TAnswer {
    std::function<void()> Done;
    ~TAnswer()
    {
        if (Done)
            Done();
    }
};

} // namespace

bool TRegMonitorThread::SendAndWait(QObject* target)
{
    std::shared_ptr<TSignal> signal = FEvent;
    quint64 expected;
    {
        std::lock_guard<std::mutex> lock(signal->Lock);
        expected = signal->Answered + 1;
    }
    auto answer = std::make_shared<TAnswer>();
    answer->Done = [signal] {
        std::lock_guard<std::mutex> lock(signal->Lock);
        ++signal->Answered;
        signal->Wake.notify_all();
    };
    QObject* gui = QCoreApplication::instance();
    if (!gui)
        return true;
    const intptr_t root = FRootKey;
    const QString key = FKey;
    // The target is looked at on the GUI thread only, and only while it is still registered.
    QMetaObject::invokeMethod(
        gui,
        [signal, target, root, key, answer]() {
            bool registered;
            {
                QMutexLocker lock(&signal->ListLock);
                registered = (target == signal->Wnd && target) || signal->List.HasValue(target);
            }
            if (!registered)
                return;
            QString text = key;
            platform::SendMessage(target, platform::MessageEventType(platform::WM_THEMENOTIFY), root,
                                  reinterpret_cast<intptr_t>(&text));
        },
        Qt::QueuedConnection);
    answer.reset();  // the queued call holds the only reference now
    std::unique_lock<std::mutex> lock(signal->Lock);
    signal->Wake.wait(lock, [&] { return signal->Stop || signal->Answered >= expected; });
    return !signal->Stop;
}

void TRegMonitorThread::run()
{
    FReg->SetRootKey(FRootKey);
    if (!FReg->OpenKeyReadOnly(FKey)) {
        std::lock_guard<std::mutex> lock(FEvent->Lock);
        FError = QStringLiteral("Unable to open registry key ") + FKey;
        return;
    }
    // The watch covers the subtree whatever WatchSub says; the filter tells what counts.
    const int filter = Filter();
    const bool values = filter & 4;
    const bool names = filter & 1;
    QMap<QString, QVariant> seen = FPrimed ? FSeen : FReg->ReadTree(FKey, values, names);
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(FEvent->Lock);
            FEvent->Wake.wait(lock, [this] { return FEvent->Stop || FEvent->Change; });
            if (FEvent->Stop)
                return;
            FEvent->Change = false;
        }
        const QMap<QString, QVariant> now = FReg->ReadTree(FKey, values, names);
        if (now == seen)
            continue;
        seen = now;
        // Send outside the list lock: the GUI thread may register windows meanwhile.
        QList<QObject*> targets;
        if (FWnd)
            targets.append(FWnd);
        const THandleList list = WinList();
        for (int i = 0; i < list.Count(); ++i)
            targets.append(list.GetInteger(i));
        for (QObject* t : targets)
            if (!SendAndWait(t))
                return;
    }
}

// =============================================================================================
// Notifier window and notifier
// =============================================================================================

TThemeNotifierWindow::TThemeNotifierWindow(QWidget* parent) : QWidget(parent)
{
    hide();
}

bool TThemeNotifierWindow::event(QEvent* event)
{
    if (event->type() == platform::MessageEventType(platform::WM_THEMENOTIFY) && OnOfficeThemeChange) {
        try {
            OnOfficeThemeChange(this);
        } catch (...) {
            // A handler's error never leaves the message handling.
        }
    }
    return QWidget::event(event);
}

namespace {

TThemeNotifier*& NotifierSingleton()
{
    static TThemeNotifier* n = nullptr;
    return n;
}

} // namespace

TThemeNotifier::TThemeNotifier(QObject* AOwner) : QObject(AOwner)
{
    const int v = InstalledOfficeVersion();
    if (v != 1 && v != 2)
        return;
    // An owner that is no window gets a hidden window of its own instead of a failure.
    QWidget* parentWidget = qobject_cast<QWidget*>(AOwner);
    FNotifier = new TThemeNotifierWindow(parentWidget);
    FNotifier->hide();
    FNotifier->OnOfficeThemeChange = [this](QObject*) {
        if (OnOfficeThemeChange)
            OnOfficeThemeChange(this);
    };
    FRegMonitorThread = std::make_unique<TRegMonitorThread>();
    FRegMonitorThread->SetWnd(FNotifier);
    FRegMonitorThread->SetFilter(4);
    FRegMonitorThread->SetKey(v == 2 ? QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common")
                                     : QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common"));
    FRegMonitorThread->SetRootKey(HKEY_CURRENT_USER);
    FRegMonitorThread->SetWatchSub(true);
    FRegMonitorThread->PrimeSnapshot();
    FRegMonitorThread->start();
    // The store is a file: its changes wake the monitor.
    const QString store = RegistryStorePath();
    FWatcher = std::make_unique<QFileSystemWatcher>();
    if (QFileInfo::exists(store))
        FWatcher->addPath(store);
    QObject::connect(FWatcher.get(), &QFileSystemWatcher::fileChanged, this, [this, store](const QString&) {
        if (QFileInfo::exists(store) && !FWatcher->files().contains(store))
            FWatcher->addPath(store);
        SignalRegistryChange();
    });
}

TThemeNotifier::~TThemeNotifier()
{
    if (FRegMonitorThread) {
        FRegMonitorThread->Stop();
        FRegMonitorThread->wait();
        FRegMonitorThread.reset();
    }
    if (NotifierSingleton() == this)
        NotifierSingleton() = nullptr;
    FWatcher.reset();
    delete FNotifier.data();
}

void TThemeNotifier::RegisterWindow(QObject* hwnd)
{
    if (FRegMonitorThread)
        FRegMonitorThread->AddWindow(hwnd);
}

void TThemeNotifier::UnRegisterWindow(QObject* hwnd)
{
    if (FRegMonitorThread)
        FRegMonitorThread->RemoveWindow(hwnd);
}

TThemeNotifier* GetThemeNotifier(QObject* AOwner)
{
    if (!NotifierSingleton())
        NotifierSingleton() = new TThemeNotifier(AOwner);
    return NotifierSingleton();
}
