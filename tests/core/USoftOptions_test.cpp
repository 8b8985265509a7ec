// Options dialog: the language pages, the check boxes, and the update check against a small
// HTTP server on 127.0.0.1.
#include "TestSupport.h"
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/USoftOptions.h"
#include "core/UVelmoraeFirmWare.h"
#include "platform/Picture.h"
#include "platform/ScriptedServices.h"
#include "render/LbButton.h"

#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QSemaphore>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

// An HTTP server on 127.0.0.1 in a thread of its own (the update check blocks the calling
// thread). It answers every request with `response`, or never answers when it is empty.
class LocalHttpServer {
public:
    explicit LocalHttpServer(QByteArray response)
        : FResponse(std::move(response))
    {
        FThread.reset(QThread::create([this] {
            QTcpServer server;
            server.listen(QHostAddress::LocalHost, 0);
            FPort = server.serverPort();
            QEventLoop loop;
            FLoop = &loop;
            QObject::connect(&server, &QTcpServer::newConnection, [&] {
                QTcpSocket* socket = server.nextPendingConnection();
                // Owned by the handler, which goes with the socket.
                auto request = std::make_shared<QByteArray>();
                QObject::connect(socket, &QTcpSocket::readyRead, [=, this] {
                    request->append(socket->readAll());
                    if (!request->contains("\r\n\r\n") || FResponse.isEmpty())
                        return;
                    FRequest = *request;
                    socket->write(FResponse);
                    socket->disconnectFromHost();
                });
            });
            FReady.release();
            loop.exec();
            FLoop = nullptr;
        }));
        FThread->start();
        FReady.acquire();
    }
    ~LocalHttpServer()
    {
        QMetaObject::invokeMethod(FLoop, "quit", Qt::QueuedConnection);
        FThread->wait();
    }
    QString Base() const { return QStringLiteral("http://127.0.0.1:%1").arg(FPort); }
    QByteArray Request() const { return FRequest; }

private:
    QByteArray FResponse;
    QByteArray FRequest;
    quint16 FPort = 0;
    QEventLoop* FLoop = nullptr;
    QSemaphore FReady;
    std::unique_ptr<QThread> FThread;
};

QByteArray Answer(const QByteArray& body, const QByteArray& status = "200 OK")
{
    return "HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        Language_Dir = FDir.path();
        Reset_Program_Options();
        Load_Default_Language();
        FForm = Create_FSoftOptions();
    }
    void TearDown() override
    {
        Unregister_Window("FSoftOptions");
        delete FForm;
        FSoftOptions = nullptr;
        Set_Maker_Web_Base_Override(QString());
        Reset_Program_Options();
    }
    void Touch(const QString& name)
    {
        QFile f(FDir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList VisibleSlots() const
    {
        QStringList names;
        for (int k = 0; k < 6; ++k)
            if (FForm->L_L[k]->isVisibleTo(FForm->TS_Language))
                names << FForm->L_L[k]->text();
        return names;
    }
    QTemporaryDir FDir;
    TFSoftOptions* FForm = nullptr;
};

} // namespace

TEST_F(OptionsDialog, SevenLanguagesOnTwoPages)
{
    for (const char* name : {"Greek", "english", "Dansk", "Italiano", "Deutsch", "Francais", "Catala"})
        Touch(QString(name) + ".lng");
    // Flag pictures: one of its own for English, the default one for the others.
    QFile::copy(platform::FindAsset("English"), FDir.filePath("english.bmp"));
    QFile::copy(platform::FindAsset("DefaultFlag"), FDir.filePath("DefaultFlag.bmp"));
    Touch("Notes.txt");
    QDir().mkdir(FDir.filePath("Folder.lng"));
    QFile::setPermissions(FDir.filePath("Greek.lng"), QFile::ReadOwner);  // read-only is listed too
    FForm->FormShow();
    EXPECT_EQ(FForm->L_Page_Lang->text(), "Page 1 / 2");
    EXPECT_EQ(VisibleSlots(), QStringList({"Catala", "Dansk", "Deutsch", "english", "Francais", "Greek"}));
    EXPECT_FALSE(FForm->Btn_Prev->isVisibleTo(FForm->TS_Language));
    EXPECT_TRUE(FForm->Btn_Next->isVisibleTo(FForm->TS_Language));
    for (int k = 0; k < 6; ++k)
        EXPECT_FALSE(FForm->I_L[k]->pixmap().isNull()) << k;
    FForm->Show();
    FForm->grab().save(kt_test::GrabPath("options_language.png"));
    FForm->Hide();
    FForm->Btn_NextClick(FForm->Btn_Next);
    EXPECT_EQ(FForm->L_Page_Lang->text(), "Page 2 / 2");
    EXPECT_EQ(VisibleSlots(), QStringList({"Italiano"}));
    EXPECT_TRUE(FForm->Btn_Prev->isVisibleTo(FForm->TS_Language));
    EXPECT_FALSE(FForm->Btn_Next->isVisibleTo(FForm->TS_Language));
    FForm->Btn_NextClick(FForm->Btn_Next);  // no page 3
    EXPECT_EQ(FForm->Show_Page, 2);
    FForm->Btn_NextClick(FForm->Btn_Prev);
    EXPECT_EQ(FForm->Show_Page, 1);
}

// A flag picture thousands of pixels large is decoded at the size it is shown: the language page
// shows it although no picture larger than a few megabytes may be decoded.
TEST_F(OptionsDialog, LargeFlagIsDecodedAtTheSizeShown)
{
    Touch("english.lng");
    Touch("Dansk.lng");
    QFile::copy(kt_test::FixturePath("pictures/flag_5500.png"), FDir.filePath("english.bmp"));
    QFile::copy(platform::FindAsset("DefaultFlag"), FDir.filePath("DefaultFlag.bmp"));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(4);
    FForm->FormShow();
    QImageReader::setAllocationLimit(limit);
    EXPECT_EQ(VisibleSlots(), QStringList({"Dansk", "english"}));
    const QImage english = FForm->I_L[1]->pixmap().toImage();
    ASSERT_EQ(english.size(), QSize(48, 48));
    EXPECT_EQ(english.pixelColor(24, 2), QColor(200, 0, 0));
    EXPECT_EQ(english.pixelColor(24, 24), QColor(255, 255, 255));
    EXPECT_EQ(english.pixelColor(24, 45), QColor(0, 140, 0));
    EXPECT_FALSE(FForm->I_L[0]->pixmap().isNull());
}

TEST_F(OptionsDialog, NoLanguageFile)
{
    FForm->FormShow();
    EXPECT_EQ(FForm->L_Page_Lang->text(), "Page 1 / 0");
    EXPECT_TRUE(VisibleSlots().isEmpty());
    EXPECT_TRUE(FForm->Btn_Next->isVisibleTo(FForm->TS_Language));
    FForm->Btn_NextClick(FForm->Btn_Next);
    EXPECT_EQ(FForm->Show_Page, 1);
    EXPECT_EQ(FForm->L_Sel_Lang->text(), "Selected Language : English");
}

TEST_F(OptionsDialog, CheckBoxesAndOk)
{
    Enable_Internet = true;
    Enable_Update = true;
    FForm->FormShow();
    EXPECT_TRUE(FForm->CB_Update->isEnabled());
    EXPECT_TRUE(FForm->Btn_Check_Update->Enabled());
    FForm->CB_En_Con->setChecked(false);
    EXPECT_FALSE(FForm->CB_Update->isEnabled());
    EXPECT_TRUE(FForm->CB_Update->isChecked());
    EXPECT_FALSE(FForm->Btn_Check_Update->Enabled());
    FForm->CB_DoubleClick_Auto_Size->setChecked(true);
    FForm->Btn_OKClick();
    EXPECT_EQ(FForm->ModalResult(), platform::mrOk);
    EXPECT_FALSE(Enable_Internet);
    EXPECT_TRUE(Enable_Update);  // stored although its box is disabled
    EXPECT_TRUE(Double_Click_Auto_Size);
    EXPECT_FALSE(Enable_Jump_Field_Tables);
    EXPECT_EQ(Active_Language, "English");

    FForm->Show();
    FForm->PC_Options->setCurrentWidget(FForm->TS_Con_Options);
    FForm->grab().save(kt_test::GrabPath("options_connection.png"));
    FForm->Hide();
}

TEST(UpdateCheck, ConvVersion)
{
    const struct { const char* text; int value; } cases[] = {
        {"VER. 1.002", 1002}, {"1.000", 1000}, {"VER. 1.1", -1}, {"VER. 10.000", -1}, {"VER. 1x234", 1234},
        {"VER. 1.2345", 1234}, {"", -1}, {"VER.", -1}, {"a b c.def", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TFSoftOptions::Conv_Version(c.text), c.value) << c.text;
}

TEST_F(OptionsDialog, CheckVersionAgainstALocalServer)
{
    const struct { QByteArray response; bool newer; } cases[] = {
        {Answer("VER. 1.100"), true},
        {Answer("VER. 1.002\r\n"), true},
        {Answer("VER. 1.000"), false},
        {Answer("VER. 0.000"), false},
        {Answer("ver. 0.000 "), false},
        {Answer(""), false},
        {Answer("VER. 1.1"), false},
        {Answer("VER. 10.000"), false},
        {Answer("VER. 2.000", "404 Not Found"), false},
        {"garbage", false},
    };
    for (const auto& c : cases) {
        LocalHttpServer server(c.response);
        Set_Maker_Web_Base_Override(server.Base());
        EXPECT_EQ(FForm->Check_Version(), c.newer) << c.response.toStdString();
        const QByteArray request = server.Request();
        if (!request.isEmpty()) {
            EXPECT_TRUE(request.startsWith("GET /home/download/GetversionSW.asp?nomesw=KT40917 HTTP/1.0\r\n"))
                << request.toStdString();
            EXPECT_TRUE(request.contains(
                "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"));
        }
    }

    // The button shows the link or text 315.
    {
        LocalHttpServer server(Answer("VER. 1.100"));
        Set_Maker_Web_Base_Override(server.Base());
        FForm->Btn_Check_UpdateClick();
        EXPECT_TRUE(FForm->LL_Check_Update->text().endsWith("/Home/download/download.asp#GX40917\">"
                                                            "New Version Available. Click Here for more Details</a>"));
    }
    {
        LocalHttpServer server(Answer("VER. 1.000"));
        Set_Maker_Web_Base_Override(server.Base());
        FForm->Btn_Check_UpdateClick();
        EXPECT_EQ(FForm->LL_Check_Update->text(), "No Update Available");
    }
}

TEST_F(OptionsDialog, SilentServerGivesUpWithinTheLimit)
{
    LocalHttpServer server({});  // accepts and never answers
    Set_Maker_Web_Base_Override(server.Base());
    FForm->Check_Timeout_Ms = 300;
    // Returns (instead of waiting for the server) and counts as no answer.
    EXPECT_FALSE(FForm->Check_Version());
}
