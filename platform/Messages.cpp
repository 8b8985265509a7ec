#include "platform/Messages.h"

#include <QCoreApplication>
#include <QHash>
#include <QMutex>

namespace platform {

namespace {

QMutex gLock;

QHash<QString, int>& Names()
{
    static QHash<QString, int> names;
    return names;
}

QHash<int, int>& Numbers()
{
    static QHash<int, int> numbers;
    return numbers;
}

} // namespace

QEvent::Type RegisterWindowMessage(const QString& name)
{
    QMutexLocker lock(&gLock);
    // Registered names are compared without regard to case.
    const QString key = name.toLower();
    auto it = Names().find(key);
    if (it == Names().end())
        it = Names().insert(key, QEvent::registerEventType());
    return QEvent::Type(it.value());
}

QEvent::Type MessageEventType(int msg)
{
    QMutexLocker lock(&gLock);
    auto it = Numbers().find(msg);
    if (it == Numbers().end())
        it = Numbers().insert(msg, QEvent::registerEventType(msg));  // the number itself when free
    return QEvent::Type(it.value());
}

void PostMessage(QObject* target, QEvent::Type msg, intptr_t wParam, intptr_t lParam)
{
    if (!target)
        return;
    QCoreApplication::postEvent(target, new TMessageEvent(msg, wParam, lParam));
}

intptr_t SendMessage(QObject* target, QEvent::Type msg, intptr_t wParam, intptr_t lParam)
{
    if (!target)
        return 0;
    TMessageEvent event(msg, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
    return event.Result;
}

} // namespace platform
