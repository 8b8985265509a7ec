#include "platform/RealServices.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QUrl>

#include <curl/curl.h>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <map>

namespace platform {

// ---------------------------------------------------------------------------------------------
// Message boxes and dialogs

TModalResult RealServices::MessageBox(const QString& text, const QString& caption, TMsgDlgType type,
                                      TMsgDlgButtons buttons, QWidget* owner)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return mrCancel;
    QMessageBox box(owner);
    box.setText(text);
    box.setWindowTitle(caption.isEmpty() ? MsgDlgTypeCaption(type) : caption);
    switch (type) {
    case mtWarning: box.setIcon(QMessageBox::Warning); break;
    case mtError: box.setIcon(QMessageBox::Critical); break;
    case mtInformation: box.setIcon(QMessageBox::Information); break;
    case mtConfirmation: box.setIcon(QMessageBox::Question); break;
    case mtCustom: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct Entry {
        TMsgDlgBtn Button;
        const char* Text;
        QMessageBox::ButtonRole Role;
    };
    static const Entry entries[] = {
        {mbYes, "&Yes", QMessageBox::YesRole},       {mbNo, "&No", QMessageBox::NoRole},
        {mbOK, "OK", QMessageBox::AcceptRole},        {mbCancel, "Cancel", QMessageBox::RejectRole},
        {mbAbort, "&Abort", QMessageBox::RejectRole}, {mbRetry, "&Retry", QMessageBox::AcceptRole},
        {mbIgnore, "&Ignore", QMessageBox::AcceptRole}, {mbAll, "&All", QMessageBox::YesRole},
        {mbNoToAll, "N&o to All", QMessageBox::NoRole}, {mbYesToAll, "Yes to &All", QMessageBox::YesRole},
        {mbHelp, "&Help", QMessageBox::HelpRole},     {mbClose, "&Close", QMessageBox::RejectRole},
    };
    if (buttons == TMsgDlgButtons())
        buttons = mbOK;
    std::map<QAbstractButton*, TModalResult> results;
    QAbstractButton* first = nullptr;
    QAbstractButton* escape = nullptr;
    for (const Entry& e : entries) {
        if (!buttons.testFlag(e.Button))
            continue;
        QPushButton* b = box.addButton(QString::fromLatin1(e.Text), e.Role);
        results[b] = ModalResultOfButton(e.Button);
        if (!first)
            first = b;
        if (e.Button == mbCancel || (!escape && (e.Button == mbNo || e.Button == mbClose)))
            escape = b;
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(first));
    if (escape)
        box.setEscapeButton(escape);
    else if (results.size() == 1)
        box.setEscapeButton(first);
    box.exec();
    const auto it = results.find(box.clickedButton());
    return it != results.end() ? it->second : mrCancel;
}

QString QtFilterFromDialogFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')).trimmed();
        // Qt reads the patterns from the last parentheses of a filter entry.
        if (desc.endsWith(QLatin1Char(')')) && desc.contains(QLatin1Char('(')))
            out << desc.left(desc.lastIndexOf(QLatin1Char('('))).trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')');
        else
            out << desc + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

bool RealServices::SaveFileDialog(const TSaveDialogRequest& request, QString& fileName, QWidget* owner)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    QFileDialog dialog(owner, request.Title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.InitialDir.isEmpty())
        dialog.setDirectory(request.InitialDir);
    const QString filters = QtFilterFromDialogFilter(request.Filter);
    if (!filters.isEmpty()) {
        const QStringList list = filters.split(QStringLiteral(";;"));
        dialog.setNameFilters(list);
        const int idx = qBound(1, request.FilterIndex, int(list.size())) - 1;
        dialog.selectNameFilter(list[idx]);
    }
    QString ext = request.DefaultExt;
    while (ext.startsWith(QLatin1Char('*')) || ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (!ext.isEmpty())
        dialog.setDefaultSuffix(ext);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return true;
}

bool RealServices::OpenUrl(const QString& target)
{
    const QString t = target.trimmed();
    if (t.isEmpty())
        return false;
    const QUrl url(t);
    // Web addresses go to the browser; anything else must be an existing local file.
    if (url.isValid() && url.scheme().size() > 1)
        return QDesktopServices::openUrl(url);
    if (!QFileInfo::exists(t))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath()));
}

void RealServices::Beep()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

uint32_t RealServices::TickCount()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint32_t(uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u);
}

QDateTime RealServices::LocalTime()
{
    return QDateTime::currentDateTime();
}

void RealServices::Sleep(int ms)
{
    if (ms > 0)
        QThread::msleep(ulong(ms));
}

void RealServices::ProcessMessages()
{
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------------------------------------
// ICMP echo

bool IsDottedDecimalAddress(const QString& address)
{
    const QStringList parts = address.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& p : parts) {
        if (p.isEmpty() || p.size() > 3)
            return false;
        for (QChar c : p)
            if (c.unicode() < '0' || c.unicode() > '9')
                return false;
        if (p.toInt() > 255)
            return false;
    }
    return true;
}

namespace {

uint16_t Checksum(const unsigned char* data, size_t len)
{
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < len; i += 2)
        sum += uint32_t(data[i]) << 8 | data[i + 1];
    if (len & 1)
        sum += uint32_t(data[len - 1]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return uint16_t(~sum);
}

class FdGuard {
public:
    explicit FdGuard(int fd) : FFd(fd) {}
    ~FdGuard()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    int Get() const { return FFd; }

private:
    int FFd;
};

} // namespace

TPingReply RealServices::Ping(const QString& address, int timeoutMs, int dataSize, uint16_t sequence)
{
    TPingReply reply;
    if (!IsDottedDecimalAddress(address)) {
        reply.Status = TPingStatus::BadAddress;
        reply.Error = QStringLiteral("Not an IPv4 address: ") + address;
        return reply;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    if (inet_pton(AF_INET, address.toLatin1().constData(), &to.sin_addr) != 1) {
        reply.Status = TPingStatus::BadAddress;
        reply.Error = QStringLiteral("Not an IPv4 address: ") + address;
        return reply;
    }
    // An unprivileged ICMP datagram socket where the system allows one, else a raw socket.
    bool raw = false;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0) {
        fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        raw = true;
    }
    if (fd < 0) {
        reply.Status = TPingStatus::Failed;
        reply.Error = QStringLiteral("No ICMP socket: ") + QString::fromLocal8Bit(strerror(errno));
        return reply;
    }
    FdGuard guard(fd);
    dataSize = qBound(0, dataSize, 65000);
    std::vector<unsigned char> packet(8 + size_t(dataSize));
    const uint16_t ident = uint16_t(::getpid() & 0xFFFF);
    packet[0] = 8;  // echo request
    packet[1] = 0;
    packet[4] = uint8_t(ident >> 8);
    packet[5] = uint8_t(ident & 0xFF);
    packet[6] = uint8_t(sequence >> 8);
    packet[7] = uint8_t(sequence & 0xFF);
    for (int i = 0; i < dataSize; ++i)
        packet[8 + size_t(i)] = uint8_t('A' + i % 26);
    const uint16_t sum = Checksum(packet.data(), packet.size());
    packet[2] = uint8_t(sum >> 8);
    packet[3] = uint8_t(sum & 0xFF);

    const uint32_t start = TickCount();
    if (::sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
        reply.Status = TPingStatus::Failed;
        reply.Error = QString::fromLocal8Bit(strerror(errno));
        return reply;
    }
    std::vector<unsigned char> buffer(65536);
    while (true) {
        const int elapsed = int(TickCount() - start);
        const int left = timeoutMs - elapsed;
        if (left <= 0)
            break;
        pollfd p{fd, POLLIN, 0};
        const int r = ::poll(&p, 1, left);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t got = ::recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (got <= 0)
            continue;
        const unsigned char* icmp = buffer.data();
        size_t len = size_t(got);
        if (raw) {
            // A raw socket hands over the IP header as well, and sees every ICMP message.
            if (len < 20)
                continue;
            const size_t ihl = size_t(buffer[0] & 0x0F) * 4;
            if (len < ihl + 8)
                continue;
            icmp += ihl;
            len -= ihl;
        }
        if (len < 8 || icmp[0] != 0 || from.sin_addr.s_addr != to.sin_addr.s_addr)
            continue;
        const uint16_t seq = uint16_t(icmp[6] << 8 | icmp[7]);
        const uint16_t id = uint16_t(icmp[4] << 8 | icmp[5]);
        if (seq != sequence || (raw && id != ident))
            continue;
        reply.Status = TPingStatus::Echo;
        reply.BytesReceived = int(len);
        reply.TimeMs = int(TickCount() - start);
        return reply;
    }
    reply.Status = TPingStatus::TimedOut;
    return reply;
}

// ---------------------------------------------------------------------------------------------
// HTTP

namespace {

size_t WriteBody(char* data, size_t size, size_t count, void* user)
{
    auto* body = static_cast<QByteArray*>(user);
    const size_t n = size * count;
    if (size_t(body->size()) + n > size_t(RealServices::kMaxHttpBody))
        return 0;  // too long: abort the transfer
    body->append(data, qsizetype(n));
    return n;
}

} // namespace

THttpResponse RealServices::HttpGet(const QString& url, const QList<QPair<QByteArray, QByteArray>>& headers,
                                    int timeoutMs)
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    THttpResponse response;
    CURL* curl = curl_easy_init();
    if (!curl) {
        response.Error = QStringLiteral("HTTP client not available");
        return response;
    }
    curl_slist* list = nullptr;
    for (const auto& h : headers)
        list = curl_slist_append(list, (h.first + ": " + h.second).constData());
    const QByteArray u = url.toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, u.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    if (list)
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    if (timeoutMs > 0) {
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(timeoutMs));
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(timeoutMs));
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.Body);
    const CURLcode rc = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    response.Status = int(status);
    if (rc != CURLE_OK) {
        response.Error = QString::fromUtf8(curl_easy_strerror(rc));
        response.Body.clear();
    } else if (status < 200 || status > 299) {
        response.Error = QStringLiteral("HTTP status %1").arg(status);
    } else {
        response.Ok = true;
    }
    curl_slist_free_all(list);
    curl_easy_cleanup(curl);
    return response;
}

// ---------------------------------------------------------------------------------------------
// Programs

TProgramResult RealServices::StartProgramAndWait(const QString& program, const QString& parameters,
                                                 bool hidden, int timeoutMs)
{
    Q_UNUSED(hidden);  // no window of ours to hide: the program decides its own windows
    TProgramResult result;
    auto* process = new QProcess();
    process->setProgram(program);
    process->setArguments(QProcess::splitCommand(parameters));
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    process->start();
    if (!process->waitForStarted(30000)) {
        delete process;
        return result;
    }
    if (process->waitForFinished(timeoutMs < 0 ? -1 : timeoutMs)) {
        result.Run = TProgramRun::Finished;
        result.ExitCode = process->exitCode();
        delete process;
        return result;
    }
    // Still running: the program goes on by itself. Deleting the QProcess would kill it, so the
    // object is kept and reaps the program when it ends. A program still running when we exit must
    // outlive us too, so the list is never destroyed: no destructor at exit kills it, and the
    // objects stay reachable for the leak checker.
    static auto* running = new QList<QProcess*>();
    QObject::connect(process, &QProcess::finished, process, [process] {
        running->removeOne(process);
        process->deleteLater();
    });
    running->append(process);
    result.Run = TProgramRun::StillRunning;
    return result;
}

// ---------------------------------------------------------------------------------------------
// Serial ports

QStringList RealServices::SerialPortNames()
{
    QStringList names;
    const QDir dev(QStringLiteral("/dev"));
    for (const char* stem : {"ttyS", "ttyUSB", "ttyACM"}) {
        const QString s = QString::fromLatin1(stem);
        QList<int> numbers;
        for (const QString& e : dev.entryList({s + QLatin1Char('*')}, QDir::System | QDir::Files | QDir::Readable | QDir::Writable | QDir::Hidden)) {
            bool ok = false;
            const int k = e.mid(s.size()).toInt(&ok);
            if (ok)
                numbers.append(k);
        }
        std::sort(numbers.begin(), numbers.end());
        for (int k : numbers)
            names << QStringLiteral("/dev/") + s + QString::number(k);
    }
    while (names.size() > 256)
        names.removeLast();
    return names;
}

bool RealServices::ProbeSerialPort(int n)
{
    const QStringList names = SerialPortNames();
    if (n < 1 || n > names.size())
        return false;
    const int fd = ::open(names[n - 1].toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    // A port that exists but is in use or refused to us still counts.
    return errno == EACCES || errno == EBUSY;
}

QString RealServices::ProfileString(const QString& section, const QString& key, const QString& def)
{
    if (section.compare(QLatin1String("Intl"), Qt::CaseInsensitive) == 0) {
        if (key.compare(QLatin1String("sDecimal"), Qt::CaseInsensitive) == 0)
            return QString(FormatSettings().DecimalSeparator);
        if (key.compare(QLatin1String("sThousand"), Qt::CaseInsensitive) == 0)
            return QString(FormatSettings().ThousandSeparator);
        if (key.compare(QLatin1String("sDate"), Qt::CaseInsensitive) == 0)
            return QString(FormatSettings().DateSeparator);
        if (key.compare(QLatin1String("sTime"), Qt::CaseInsensitive) == 0)
            return QString(FormatSettings().TimeSeparator);
    }
    return def;
}

} // namespace platform
