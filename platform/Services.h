#pragma once
// The operating-system services the program uses, behind one interface: message boxes, file save
// dialogs, opening web pages and files, the clock, ICMP echo, HTTP GET, starting a program and
// waiting for it, serial port probing and the user's profile values. The real implementation is
// RealServices; tests install ScriptedServices, which records every call and answers from a queue,
// so that no test ever waits on a person, the network or the clock.
#include <QByteArray>
#include <QDateTime>
#include <QFlags>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class QWidget;

namespace platform {

// Modal results, the values the platform's dialogs and buttons report.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;
constexpr TModalResult mrHelp = 9;
constexpr TModalResult mrTryAgain = 10;
constexpr TModalResult mrContinue = 11;
constexpr TModalResult mrAll = 12;
constexpr TModalResult mrNoToAll = 13;
constexpr TModalResult mrYesToAll = 14;

// Icon of a message box.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message box.
enum TMsgDlgBtn {
    mbYes = 0x1,
    mbNo = 0x2,
    mbOK = 0x4,
    mbCancel = 0x8,
    mbAbort = 0x10,
    mbRetry = 0x20,
    mbIgnore = 0x40,
    mbAll = 0x80,
    mbNoToAll = 0x100,
    mbYesToAll = 0x200,
    mbHelp = 0x400,
    mbClose = 0x800,
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)

// The modal result a button reports (mbOK -> mrOk, ...).
TModalResult ModalResultOfButton(TMsgDlgBtn button);
// "Warning", "Error", "Information", "Confirmation", "" (the caption a box without one shows).
QString MsgDlgTypeCaption(TMsgDlgType type);

// A file save dialog: the filter is in the "Description|*.ext|Description|*.ext" form;
// `DefaultExt` is appended (with a "." and without any "*." the text carries) to a chosen name
// without extension; `OverwritePrompt` asks before an existing file is chosen.
struct TSaveDialogRequest {
    QString Title;
    QString InitialDir;
    QString FileName;
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExt;
    bool OverwritePrompt = false;
};

// One ICMP echo request and its answer.
enum class TPingStatus {
    Echo,        // a reply came; BytesReceived says how much data it carried
    TimedOut,    // no reply within the time-out
    BadAddress,  // the host is not an IPv4 address in dotted decimal form
    Failed,      // no socket could be opened or the request could not be sent
};
struct TPingReply {
    TPingStatus Status = TPingStatus::Failed;
    int BytesReceived = 0;  // data bytes of the reply (0 unless Status is Echo)
    int TimeMs = 0;         // round trip
    QString Error;          // why, for BadAddress and Failed
};

// An HTTP GET. `Ok` is true only for a complete answer with a 2xx status.
struct THttpResponse {
    bool Ok = false;
    int Status = 0;        // HTTP status, 0 when no answer came
    QByteArray Body;
    QString Error;         // why, when not Ok
};

// Starting a program and waiting for its end.
enum class TProgramRun {
    NotStarted,  // missing, not executable or failed to start
    Finished,    // ended within the time limit (its exit code is given)
    StillRunning // the time limit passed; the program is left running
};
struct TProgramResult {
    TProgramRun Run = TProgramRun::NotStarted;
    int ExitCode = 0;
};

class Services {
public:
    virtual ~Services() = default;

    // A modal message box; returns the modal result of the button pressed. Closing the box
    // without a button counts as its Cancel (else No, else Close) button, or as OK when that is
    // its only button; mrCancel otherwise. No buttons at all means OK. An empty caption shows
    // MsgDlgTypeCaption(type).
    virtual TModalResult MessageBox(const QString& text, const QString& caption, TMsgDlgType type,
                                    TMsgDlgButtons buttons, QWidget* owner = nullptr) = 0;

    // A modal file save dialog. True and the chosen path in `fileName` when the user confirmed.
    virtual bool SaveFileDialog(const TSaveDialogRequest& request, QString& fileName,
                                QWidget* owner = nullptr) = 0;

    // Opens a web address (http, https, mailto, ...) or a local file with the system's handler.
    virtual bool OpenUrl(const QString& target) = 0;

    // The system's default beep.
    virtual void Beep() = 0;

    // Milliseconds since some fixed moment, wrapping at 2^32 as a 32-bit counter.
    virtual uint32_t TickCount() = 0;
    // The local date and time.
    virtual QDateTime LocalTime() = 0;
    // Waits; the real one sleeps the thread.
    virtual void Sleep(int ms) = 0;
    // Handles pending window events (keeps the user interface alive during a wait).
    virtual void ProcessMessages() = 0;

    // One ICMP echo request to a dotted decimal IPv4 address with `dataSize` bytes of data,
    // waiting up to `timeoutMs` for the reply.
    virtual TPingReply Ping(const QString& address, int timeoutMs, int dataSize = 32,
                            uint16_t sequence = 0) = 0;

    // An HTTP/1.0 GET of `url` with the given request headers (name, value), giving up after
    // `timeoutMs` in all (0: no limit of our own).
    virtual THttpResponse HttpGet(const QString& url,
                                  const QList<QPair<QByteArray, QByteArray>>& headers,
                                  int timeoutMs) = 0;

    // Starts `program` with the command line `parameters` (split like a shell does, quotes
    // respected) and waits for its end, at most `timeoutMs`. The program is never killed: after
    // the time limit it keeps running on its own. `hidden` asks for no window where that means
    // something.
    virtual TProgramResult StartProgramAndWait(const QString& program, const QString& parameters,
                                               bool hidden, int timeoutMs) = 0;

    // The serial ports of the system, in port order: port n (1-based) is entry n-1.
    virtual QStringList SerialPortNames() = 0;
    // True when serial port n (1-based) exists: it opens, or exists but is busy or refused.
    virtual bool ProbeSerialPort(int n) = 0;

    // A value of the user's profile (section, key); `def` when there is none. The real one
    // answers "Intl"/"sDecimal" from FormatSettings().DecimalSeparator.
    virtual QString ProfileString(const QString& section, const QString& key, const QString& def) = 0;
};

// What an implementation of the services declares: every one of them, overridden.
#define KT_SERVICES_OVERRIDES                                                                           \
    TModalResult MessageBox(const QString& text, const QString& caption, TMsgDlgType type,              \
                            TMsgDlgButtons buttons, QWidget* owner = nullptr) override;                 \
    bool SaveFileDialog(const TSaveDialogRequest& request, QString& fileName,                           \
                        QWidget* owner = nullptr) override;                                             \
    bool OpenUrl(const QString& target) override;                                                       \
    void Beep() override;                                                                               \
    uint32_t TickCount() override;                                                                      \
    QDateTime LocalTime() override;                                                                     \
    void Sleep(int ms) override;                                                                        \
    void ProcessMessages() override;                                                                    \
    TPingReply Ping(const QString& address, int timeoutMs, int dataSize = 32,                           \
                    uint16_t sequence = 0) override;                                                    \
    THttpResponse HttpGet(const QString& url, const QList<QPair<QByteArray, QByteArray>>& headers,      \
                          int timeoutMs) override;                                                      \
    TProgramResult StartProgramAndWait(const QString& program, const QString& parameters, bool hidden,  \
                                       int timeoutMs) override;                                         \
    QStringList SerialPortNames() override;                                                             \
    bool ProbeSerialPort(int n) override;                                                               \
    QString ProfileString(const QString& section, const QString& key, const QString& def) override;

// The services in use. Until set, a RealServices instance.
Services& TheServices();
// Installs `services` (not owned) for the program or a test; nullptr goes back to the real ones.
void SetServices(Services* services);

// Restores the previous services when it goes out of scope (for tests).
class ScopedServices {
public:
    explicit ScopedServices(Services& services);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services* FPrevious;
};

// Shortcuts through TheServices().
TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        QWidget* owner = nullptr);
uint32_t GetTickCount();

} // namespace platform
