#pragma once
// Window messages between our own objects: registered messages are custom event types looked up
// by name, carried by TMessageEvent with two parameters, and posted through the event queue.
#include <QEvent>
#include <QString>
#include <cstdint>

class QObject;

namespace platform {

constexpr int WM_USER = 0x0400;
// The theme notifier's message: the office theme may have changed.
constexpr int WM_THEMENOTIFY = WM_USER + 1969;  // 2993

// The event type of a registered message; the same name gives the same type for the whole run.
QEvent::Type RegisterWindowMessage(const QString& name);
// The event type that carries the fixed message number `msg` (WM_USER and above); the same
// number gives the same type.
QEvent::Type MessageEventType(int msg);

class TMessageEvent : public QEvent {
public:
    TMessageEvent(QEvent::Type type, intptr_t wParam, intptr_t lParam)
        : QEvent(type), WParam(wParam), LParam(lParam)
    {
    }
    intptr_t WParam;
    intptr_t LParam;
    intptr_t Result = 0;
};

// Queues the message for `target`; it arrives after the events already queued. Nothing is
// posted to a null target.
void PostMessage(QObject* target, QEvent::Type msg, intptr_t wParam, intptr_t lParam);
// Delivers the message at once and returns its Result.
intptr_t SendMessage(QObject* target, QEvent::Type msg, intptr_t wParam, intptr_t lParam);

} // namespace platform
