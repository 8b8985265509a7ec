#pragma once
// A test double of the services: records every call and answers from queues (or a default).
// Its clock stands still except where a call would take time: Sleep, a ping that times out or
// answers, and a program that outlives its time limit advance it by that time.
#include "platform/Services.h"

#include <QMap>
#include <QSet>
#include <functional>

namespace platform {

struct TMessageBoxCall {
    QString Text;
    QString Caption;
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons;
};

struct THttpCall {
    QString Url;
    QList<QPair<QByteArray, QByteArray>> Headers;
    int TimeoutMs = 0;
};

struct TProgramCall {
    QString Program;
    QString Parameters;
    bool Hidden = false;
    int TimeoutMs = 0;
};

struct TPingCall {
    QString Address;
    int TimeoutMs = 0;
    int DataSize = 0;
    uint16_t Sequence = 0;
};

class ScriptedServices : public Services {
public:
    ScriptedServices();

    // Every call in order, one line each ("MessageBox: <text>", "OpenUrl: <url>", ...).
    QStringList Log;

    // Message boxes: answered from the queue; when it is empty, with the box's "escape" answer
    // (Cancel, else No, else Close, else OK, else the first button), so that an unexpected question
    // never says yes.
    QList<TMessageBoxCall> MessageBoxes;
    QList<TModalResult> MessageBoxAnswers;

    // Save dialogs: answered from the queue; an empty text (or an empty queue) cancels.
    QList<TSaveDialogRequest> SaveDialogs;
    QStringList SaveDialogAnswers;

    QStringList OpenedUrls;
    bool OpenUrlResult = true;
    int Beeps = 0;

    // The clock.
    uint32_t Tick = 1000;
    QDateTime Clock;
    int Sleeps = 0;
    int ProcessMessagesCalls = 0;
    std::function<void()> OnProcessMessages;

    // Pings: answered from the queue, else by PingDefault.
    QList<TPingCall> Pings;
    QList<TPingReply> PingAnswers;
    TPingReply PingDefault;

    // HTTP: answered from the queue, else a failure "no answer".
    QList<THttpCall> HttpRequests;
    QList<THttpResponse> HttpAnswers;

    // Programs: answered from the queue, else NotStarted.
    QList<TProgramCall> Programs;
    QList<TProgramResult> ProgramAnswers;

    // Serial ports: the names listed and the port numbers that exist.
    QStringList SerialPorts;
    QSet<int> ExistingSerialPorts;
    QList<int> ProbedSerialPorts;

    // Profile values by "section/key" (case as given).
    QMap<QString, QString> Profile;

    void Advance(int ms);

    KT_SERVICES_OVERRIDES
};

} // namespace platform
