#pragma once
// The services on the real system: Qt dialogs and desktop services, the monotonic clock, POSIX
// ICMP sockets, libcurl for HTTP and QProcess for programs.
#include "platform/Services.h"

namespace platform {

class RealServices : public Services {
public:
    TModalResult MessageBox(const QString& text, const QString& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons, QWidget* owner = nullptr) override;
    bool SaveFileDialog(const TSaveDialogRequest& request, QString& fileName,
                        QWidget* owner = nullptr) override;
    bool OpenUrl(const QString& target) override;
    void Beep() override;
    uint32_t TickCount() override;
    QDateTime LocalTime() override;
    void Sleep(int ms) override;
    void ProcessMessages() override;
    TPingReply Ping(const QString& address, int timeoutMs, int dataSize = 32,
                    uint16_t sequence = 0) override;
    THttpResponse HttpGet(const QString& url, const QList<QPair<QByteArray, QByteArray>>& headers,
                          int timeoutMs) override;
    TProgramResult StartProgramAndWait(const QString& program, const QString& parameters, bool hidden,
                                       int timeoutMs) override;
    QStringList SerialPortNames() override;
    bool ProbeSerialPort(int n) override;
    QString ProfileString(const QString& section, const QString& key, const QString& def) override;

    // Largest HTTP answer kept; a longer one fails rather than filling memory.
    static constexpr int kMaxHttpBody = 16 * 1024 * 1024;
};

// Converts a "Description|*.ext|..." filter into Qt's "Description (*.ext);;..." form.
QString QtFilterFromDialogFilter(const QString& filter);
// True when `address` is four decimal numbers 0..255 joined by "." (nothing else).
bool IsDottedDecimalAddress(const QString& address);

} // namespace platform
