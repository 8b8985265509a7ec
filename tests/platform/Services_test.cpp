#include "platform/RealServices.h"
#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace platform;

namespace {

// A one-connection HTTP server on 127.0.0.1 in its own thread: it reads the request head and
// answers with `reply`, or (with an empty reply) holds the connection without answering until
// the client gives up.
class TinyServer {
public:
    explicit TinyServer(QByteArray reply) : FReply(std::move(reply))
    {
        FThread = std::thread([this] { Run(); });
        while (FPort.load() == 0)
            std::this_thread::yield();
    }
    ~TinyServer() { FThread.join(); }
    int Port() const { return FPort.load(); }
    QByteArray Request() const { return FRequest; }  // read only after the call returned

private:
    void Run()
    {
        QTcpServer server;
        if (!server.listen(QHostAddress::LocalHost, 0)) {
            FPort = -1;
            return;
        }
        FPort = server.serverPort();
        if (!server.waitForNewConnection(10000))
            return;
        std::unique_ptr<QTcpSocket> s(server.nextPendingConnection());
        while (!FRequest.contains("\r\n\r\n") && s->waitForReadyRead(10000))
            FRequest += s->readAll();
        if (FReply.isEmpty()) {
            // Never answer: wait until the client hangs up.
            while (s->state() == QAbstractSocket::ConnectedState && !s->waitForDisconnected(100)) {
                if (s->bytesAvailable())
                    s->readAll();
            }
            return;
        }
        s->write(FReply);
        s->waitForBytesWritten(10000);
        s->disconnectFromHost();
        if (s->state() != QAbstractSocket::UnconnectedState)
            s->waitForDisconnected(10000);
    }

    QByteArray FReply;
    QByteArray FRequest;
    std::atomic<int> FPort{0};
    std::thread FThread;
};

const QList<QPair<QByteArray, QByteArray>> kAccept = {{"Accept", "text/html,*/*;q=0.8"}};

} // namespace

TEST(Services, ScriptedDoubleRecordsAndAnswers)
{
    ScriptedServices s;
    ScopedServices scope(s);
    s.MessageBoxAnswers << mrYes;
    EXPECT_EQ(TheServices().MessageBox("Overwrite?", "", mtConfirmation, mbYes | mbNo | mbCancel), mrYes);
    // Unscripted boxes get their safe answer: never yes.
    EXPECT_EQ(MessageDlg("Again?", mtConfirmation, mbYes | mbNo | mbCancel), mrCancel);
    EXPECT_EQ(MessageDlg("Again?", mtConfirmation, mbYes | mbNo), mrNo);
    EXPECT_EQ(MessageDlg("Device Not Found!", mtWarning, mbOK), mrOk);
    ASSERT_EQ(s.MessageBoxes.size(), 4);
    EXPECT_EQ(s.MessageBoxes[0].Text, "Overwrite?");
    EXPECT_EQ(s.MessageBoxes[3].Type, mtWarning);
    EXPECT_EQ(s.MessageBoxes[3].Buttons, TMsgDlgButtons(mbOK));

    TSaveDialogRequest req;
    req.InitialDir = "/tmp/conf";
    QString chosen;
    EXPECT_FALSE(TheServices().SaveFileDialog(req, chosen));  // nothing scripted: cancelled
    s.SaveDialogAnswers << "/tmp/conf/a.gsd";
    EXPECT_TRUE(TheServices().SaveFileDialog(req, chosen));
    EXPECT_EQ(chosen, "/tmp/conf/a.gsd");

    // The clock moves only with time-taking calls, so waiting loops end.
    const uint32_t t0 = GetTickCount();
    TPingReply echo;
    echo.Status = TPingStatus::Echo;
    echo.BytesReceived = 1032;
    s.PingAnswers << echo;
    EXPECT_EQ(TheServices().Ping("10.0.0.1", 400, 1024).Status, TPingStatus::Echo);
    EXPECT_EQ(TheServices().Ping("10.0.0.1", 400, 1024).Status, TPingStatus::TimedOut);
    TheServices().Sleep(10);
    EXPECT_EQ(GetTickCount() - t0, 410u);
    EXPECT_EQ(s.Pings.size(), 2);
    EXPECT_EQ(s.Log.last(), "Ping: 10.0.0.1");
}

TEST(Services, ScopedServicesRestoresThePrevious)
{
    ScriptedServices outer, inner;
    {
        ScopedServices a(outer);
        {
            ScopedServices b(inner);
            EXPECT_EQ(&TheServices(), &inner);
        }
        EXPECT_EQ(&TheServices(), &outer);
    }
    EXPECT_NE(dynamic_cast<RealServices*>(&TheServices()), nullptr);
}

TEST(Services, HttpGetSendsHttp10WithHeadersAndReadsTheAnswer)
{
    RealServices real;
    struct Case {
        QByteArray reply;
        bool ok;
        int status;
        QByteArray body;
    };
    const Case cases[] = {
        {"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.002", true, 200, "VER. 1.002"},
        {"HTTP/1.0 404 Not Found\r\n\r\nmissing", false, 404, "missing"},
        {"garbage without a status line", false, 0, ""},
    };
    for (const Case& c : cases) {
        TinyServer server(c.reply);
        ASSERT_GT(server.Port(), 0);
        const QString url = QStringLiteral("http://127.0.0.1:%1/home/download/GetversionSW.asp?nomesw=KT40917").arg(server.Port());
        const THttpResponse r = real.HttpGet(url, kAccept, 10000);
        EXPECT_EQ(r.Ok, c.ok) << r.Error.toStdString();
        EXPECT_EQ(r.Status, c.status);
        if (c.ok) {
            EXPECT_EQ(r.Body, c.body);
        }
        EXPECT_EQ(r.Ok, r.Error.isEmpty());
    }
}

TEST(Services, HttpGetRequestLine)
{
    RealServices real;
    TinyServer server("HTTP/1.0 200 OK\r\n\r\nx");
    ASSERT_GT(server.Port(), 0);
    real.HttpGet(QStringLiteral("http://127.0.0.1:%1/a/b.asp?k=v").arg(server.Port()), kAccept, 10000);
    const QByteArray req = server.Request();
    EXPECT_TRUE(req.startsWith("GET /a/b.asp?k=v HTTP/1.0\r\n")) << req.constData();
    EXPECT_TRUE(req.contains("\r\nAccept: text/html,*/*;q=0.8\r\n")) << req.constData();
}

TEST(Services, HttpGetGivesUpOnASilentServerAndAClosedPort)
{
    RealServices real;
    {
        TinyServer silent("");
        ASSERT_GT(silent.Port(), 0);
        const THttpResponse r = real.HttpGet(QStringLiteral("http://127.0.0.1:%1/").arg(silent.Port()), kAccept, 300);
        EXPECT_FALSE(r.Ok);
        EXPECT_FALSE(r.Error.isEmpty());
    }
    int closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    const THttpResponse r = real.HttpGet(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort), kAccept, 2000);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Status, 0);
    // Only web addresses are fetched.
    EXPECT_FALSE(real.HttpGet("file:///etc/passwd", {}, 1000).Ok);
}

TEST(Services, PingOfLocalHostAndBadAddresses)
{
    RealServices real;
    for (const char* bad : {"1.2.3", "a.b.c.d", "256.1.1.1", "1.2.3.4.5", " 1.2.3.4", "localhost", ""}) {
        const TPingReply r = real.Ping(QString::fromLatin1(bad), 100, 32);
        EXPECT_EQ(r.Status, TPingStatus::BadAddress) << bad;
    }
    const TPingReply r = real.Ping("127.0.0.1", 2000, 1024, 3);
    if (r.Status == TPingStatus::Failed)
        GTEST_SKIP() << "no ICMP socket allowed here: " << r.Error.toStdString();
    EXPECT_EQ(r.Status, TPingStatus::Echo);
    EXPECT_GE(r.BytesReceived, 1024);
}

TEST(Services, ProgramStartAndWait)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto script = [&](const QString& name, const QByteArray& body) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + body);
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return path;
    };
    RealServices real;
    const QString args = dir.filePath("args.txt");
    const QString quick = script("quick.sh", "printf '%s|' \"$@\" > \"" + args.toUtf8() + "\"\nexit 3\n");
    TProgramResult r = real.StartProgramAndWait(quick, "one \"two words\"", false, 10000);
    EXPECT_EQ(r.Run, TProgramRun::Finished);
    EXPECT_EQ(r.ExitCode, 3);
    QFile a(args);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), "one|two words|");

    EXPECT_EQ(real.StartProgramAndWait(dir.filePath("missing.exe"), "", false, 1000).Run, TProgramRun::NotStarted);

    // A program that cannot end before we let it: the wait gives up, the program lives on.
    const QString go = dir.filePath("go"), done = dir.filePath("done");
    const QString slow = script("slow.sh", "while [ ! -e \"" + go.toUtf8() + "\" ]; do sleep 0.02; done\ntouch \"" +
                                               done.toUtf8() + "\"\n");
    r = real.StartProgramAndWait(slow, "", true, 50);
    EXPECT_EQ(r.Run, TProgramRun::StillRunning);
    QFile(go).open(QIODevice::WriteOnly);
    for (int i = 0; i < 500 && !QFileInfo::exists(done); ++i)
        QThread::msleep(20);
    EXPECT_TRUE(QFileInfo::exists(done)) << "the program was stopped";
}

TEST(Services, FilterTextsAndAddresses)
{
    struct Case {
        const char* filter;
        const char* qt;
    };
    const Case cases[] = {
        {"Generic Station Description (*.gsd)|*.gsd", "Generic Station Description (*.gsd)"},
        {"CSV (MS-DOS) (*.csv)|*.csv", "CSV (MS-DOS) (*.csv)"},
        {"Text|*.txt;*.log|All|*.*", "Text (*.txt *.log);;All (*.*)"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtFilterFromDialogFilter(QString::fromLatin1(c.filter)), QString::fromLatin1(c.qt)) << c.filter;
    EXPECT_TRUE(IsDottedDecimalAddress("192.168.2.205"));
    EXPECT_FALSE(IsDottedDecimalAddress("192.168.2.2050"));

    RealServices real;
    EXPECT_EQ(real.ProfileString("Intl", "sDecimal", ""), QString(FormatSettings().DecimalSeparator));
    EXPECT_EQ(real.ProfileString("Intl", "sOther", "d"), "d");
}
