#include "platform/ScriptedServices.h"

namespace platform {

ScriptedServices::ScriptedServices()
    : Clock(QDate(2024, 1, 15), QTime(12, 0, 0))
{
    PingDefault.Status = TPingStatus::TimedOut;
}

void ScriptedServices::Advance(int ms)
{
    if (ms <= 0)
        return;
    Tick += uint32_t(ms);
    Clock = Clock.addMSecs(ms);
}

TModalResult ScriptedServices::MessageBox(const QString& text, const QString& caption, TMsgDlgType type,
                                          TMsgDlgButtons buttons, QWidget*)
{
    MessageBoxes.append({text, caption, type, buttons});
    Log << QStringLiteral("MessageBox: ") + text;
    if (!MessageBoxAnswers.isEmpty())
        return MessageBoxAnswers.takeFirst();
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbClose, mbOK})
        if (buttons.testFlag(b))
            return ModalResultOfButton(b);
    for (TMsgDlgBtn b : {mbYes, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp})
        if (buttons.testFlag(b))
            return ModalResultOfButton(b);
    return mrOk;  // a box without buttons shows OK
}

bool ScriptedServices::SaveFileDialog(const TSaveDialogRequest& request, QString& fileName, QWidget*)
{
    SaveDialogs.append(request);
    Log << QStringLiteral("SaveFileDialog: ") + request.InitialDir;
    const QString answer = SaveDialogAnswers.isEmpty() ? QString() : SaveDialogAnswers.takeFirst();
    if (answer.isEmpty())
        return false;
    fileName = answer;
    return true;
}

bool ScriptedServices::OpenUrl(const QString& target)
{
    OpenedUrls << target;
    Log << QStringLiteral("OpenUrl: ") + target;
    return OpenUrlResult;
}

void ScriptedServices::Beep()
{
    ++Beeps;
    Log << QStringLiteral("Beep");
}

uint32_t ScriptedServices::TickCount()
{
    return Tick;
}

QDateTime ScriptedServices::LocalTime()
{
    return Clock;
}

void ScriptedServices::Sleep(int ms)
{
    ++Sleeps;
    Advance(ms);
}

void ScriptedServices::ProcessMessages()
{
    ++ProcessMessagesCalls;
    if (OnProcessMessages)
        OnProcessMessages();
}

TPingReply ScriptedServices::Ping(const QString& address, int timeoutMs, int dataSize, uint16_t sequence)
{
    Pings.append({address, timeoutMs, dataSize, sequence});
    Log << QStringLiteral("Ping: ") + address;
    const TPingReply reply = PingAnswers.isEmpty() ? PingDefault : PingAnswers.takeFirst();
    if (reply.Status == TPingStatus::TimedOut)
        Advance(timeoutMs);
    else if (reply.Status == TPingStatus::Echo)
        Advance(reply.TimeMs);
    return reply;
}

THttpResponse ScriptedServices::HttpGet(const QString& url, const QList<QPair<QByteArray, QByteArray>>& headers,
                                        int timeoutMs)
{
    HttpRequests.append({url, headers, timeoutMs});
    Log << QStringLiteral("HttpGet: ") + url;
    if (!HttpAnswers.isEmpty())
        return HttpAnswers.takeFirst();
    THttpResponse failed;
    failed.Error = QStringLiteral("no answer");
    return failed;
}

TProgramResult ScriptedServices::StartProgramAndWait(const QString& program, const QString& parameters,
                                                     bool hidden, int timeoutMs)
{
    Programs.append({program, parameters, hidden, timeoutMs});
    Log << QStringLiteral("StartProgram: ") + program;
    const TProgramResult result = ProgramAnswers.isEmpty() ? TProgramResult() : ProgramAnswers.takeFirst();
    if (result.Run == TProgramRun::StillRunning)
        Advance(timeoutMs);
    return result;
}

QStringList ScriptedServices::SerialPortNames()
{
    return SerialPorts;
}

bool ScriptedServices::ProbeSerialPort(int n)
{
    ProbedSerialPorts << n;
    return ExistingSerialPorts.contains(n);
}

QString ScriptedServices::ProfileString(const QString& section, const QString& key, const QString& def)
{
    const QString k = section + QLatin1Char('/') + key;
    Log << QStringLiteral("ProfileString: ") + k;
    return Profile.value(k, def);
}

} // namespace platform
