#include "core/UBoot.h"

#include "core/UComon.h"
#include "core/UEthernetUpdate.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "platform/Graphics.h"
#include "render/LbButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <exception>

TFBoot* FBoot = nullptr;

using namespace platform;

namespace {

constexpr int Form_Client_Width = 449;

// Design heights of the panels.
constexpr int Title_Height = 69;
constexpr int IP_Address_Height = 49;
constexpr int Eth_Search_Height = 160;
constexpr int Options_Height = 72;
constexpr int Serial_Height = 49;
constexpr int Button_Height = 40;

QWidget* Make_Panel(QWidget* Owner, const char* Name, int Height)
{
    return Make_Named<QWidget>(Owner, Name, 0, 0, Form_Client_Width, Height);
}

QLabel* Make_Label(QWidget* Owner, const char* Name, int Left, int Top, int Width)
{
    return Make_Named<QLabel>(Owner, Name, Left, Top, Width, 16);
}

// One octet: blanks around it allowed, one to three decimal digits, at most 255. -1 otherwise.
int Octet_Value(const QString& Text)
{
    const QString t = Text.trimmed();
    if (t.isEmpty() || t.size() > 3)
        return -1;
    int v = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        v = v * 10 + (c.unicode() - '0');
    }
    return v <= 255 ? v : -1;
}

} // namespace

TFBoot::TFBoot(QWidget* parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FBoot"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    Apply_Window_Look(this);

    P_Title = Make_Title_Panel(this, Form_Client_Width, L_SW_Code, L_SW_Desc);

    // The device address, one octet per field with a full stop between them.
    P_IP_Address = Make_Panel(this, "P_IP_Address", IP_Address_Height);
    L_IP_Address = Make_Label(P_IP_Address, "L_IP_Address", 16, 6, 417);
    QLineEdit** octets[4] = {&E_IP1, &E_IP2, &E_IP3, &E_IP4};
    for (int k = 0; k < 4; ++k) {
        auto* e = new QLineEdit(P_IP_Address);
        e->setObjectName(QStringLiteral("E_IP%1").arg(k + 1));
        e->setGeometry(16 + 51 * k, 23, 41, 21);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setText(QStringLiteral("0"));
        e->installEventFilter(this);
        *octets[k] = e;
        if (k < 3) {
            QLabel* dot = Make_Label(P_IP_Address, "", 16 + 51 * k + 41, 27, 10);
            dot->setText(QStringLiteral("."));
            dot->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        }
    }

    P_Eth_Search = Make_Panel(this, "P_Eth_Search", Eth_Search_Height);
    L_List_Device = Make_Label(P_Eth_Search, "L_List_Device", 16, 6, 300);
    Btn_Search = Make_Dialog_Button(P_Eth_Search, "Btn_Search", 323, 4, 110, "LBARROW");
    CB_Find_All_Norvane = Make_Named<QCheckBox>(P_Eth_Search, "CB_Find_All_Norvane", 16, 134, 417, 18);

    P_Options = Make_Panel(this, "P_Options", Options_Height);
    L_Update_Option = Make_Label(P_Options, "L_Update_Option", 16, 6, 417);
    CB_Update_Options = new QComboBox(P_Options);
    CB_Update_Options->setObjectName(QStringLiteral("CB_Update_Options"));
    CB_Update_Options->setEditable(false);
    CB_Update_Options->setGeometry(16, 23, 241, 22);
    CB_Update_Option_Read_Back = Make_Named<QCheckBox>(P_Options, "CB_Update_Option_Read_Back", 16, 50, 417, 18);
    CB_Update_Option_Read_Back->setChecked(true);

    P_Serial = Make_Panel(this, "P_Serial", Serial_Height);
    L_COM_Port = Make_Label(P_Serial, "L_COM_Port", 16, 6, 300);
    L_COM_Port->setText(QStringLiteral("COM Port"));
    CB_COM_Port = new QComboBox(P_Serial);
    CB_COM_Port->setObjectName(QStringLiteral("CB_COM_Port"));
    CB_COM_Port->setEditable(false);
    CB_COM_Port->setGeometry(16, 23, 121, 22);
    Btn_COM_List = Make_Dialog_Button(P_Serial, "Btn_COM_List", 145, 20, 28, "LBRETRY");
    Btn_COM_List->setToolTip(QStringLiteral("Update COM Ports List"));
    Btn_COM_List->OnClick = [this](QObject* s) { Btn_COM_ListClick(s); };

    P_Button = Make_Panel(this, "P_Button", Button_Height);
    Btn_Update = Make_Dialog_Button(P_Button, "Btn_Update", 125, 6, 190, "LBOK");
    Btn_Update->OnClick = [this](QObject* s) { Btn_UpdateClick(s); };
    Btn_Cancel = Make_Dialog_Button(P_Button, "Btn_Cancel", 323, 6, 110, "LBCANCEL");
    Btn_Cancel->SetModalResult(mrCancel);

    for (QWidget* p : {P_IP_Address, P_Eth_Search, P_Options, P_Serial})
        p->hide();
    Stack_Panels({});

    OnShow = [this] { FormShow(); };
}

TFBoot::~TFBoot()
{
    if (FBoot == this) {
        FBoot = nullptr;
        Unregister_Window(QStringLiteral("FBoot"));
    }
}

// The title at the top, then the shown panels in their order, the buttons at the bottom; the
// window takes the height of what it shows.
void TFBoot::Stack_Panels(std::initializer_list<QWidget*> Top)
{
    int y = 0;
    P_Title->setGeometry(0, y, Form_Client_Width, Title_Height);
    y += Title_Height;
    for (QWidget* p : Top) {
        if (p->isHidden())
            continue;
        p->setGeometry(0, y, Form_Client_Width, p->height());
        y += p->height();
    }
    P_Button->setGeometry(0, y, Form_Client_Width, Button_Height);
    y += Button_Height;
    setFixedSize(Form_Client_Width, y);
}

void TFBoot::Set_Lang()
{
    if (Form_Type == 0) {
        SetCaption(Lang_Table[1000]);
        L_SW_Desc->setText(Lang_Table[1001]);
    } else if (Form_Type == 1) {
        SetCaption(Lang_Table[1002]);
        L_SW_Desc->setText(Lang_Table[1003]);
    }
    L_SW_Desc->adjustSize();
    L_IP_Address->setText(Lang_Table[1006]);
    L_List_Device->setText(Lang_Table[1009]);
    Btn_Search->SetCaption(Lang_Table[1010]);
    CB_Find_All_Norvane->setText(Lang_Table[1013]);
    L_Update_Option->setText(Lang_Table[1014]);
    CB_Update_Options->clear();
    CB_Update_Options->addItem(Lang_Table[1015]);
    CB_Update_Options->addItem(Lang_Table[1016]);
    CB_Update_Options->addItem(Lang_Table[1017]);
    CB_Update_Options->setCurrentIndex(0);
    CB_Update_Option_Read_Back->setText(Lang_Table[1018]);
    Btn_Cancel->SetCaption(Lang_Table[1019]);
    Btn_Update->SetCaption(Lang_Table[1020]);
    E_IP1->setToolTip(Lang_Table[1021]);
    E_IP2->setToolTip(Lang_Table[1022]);
    E_IP3->setToolTip(Lang_Table[1023]);
    E_IP4->setToolTip(Lang_Table[1024]);
    Btn_Search->setToolTip(Lang_Table[1029]);
    CB_Find_All_Norvane->setToolTip(Lang_Table[1031]);
    CB_Update_Options->setToolTip(Lang_Table[1032]);
    CB_Update_Option_Read_Back->setToolTip(Lang_Table[1033]);
    Btn_Cancel->setToolTip(Lang_Table[1034]);
    Btn_Update->setToolTip(Lang_Table[1035]);
}

void TFBoot::FormShow()
{
    Set_Lang();
    L_SW_Code->setText(Shown_SW_Code);
    L_SW_Code->adjustSize();
    for (QWidget* p : {P_IP_Address, P_Eth_Search, P_Options, P_Serial})
        p->hide();

    auto restoreChoices = [this] {
        CB_Update_Options->setCurrentIndex(Last_Update_Option);
        CB_Update_Option_Read_Back->setChecked(Last_Read_Back);
    };
    auto focusIfPossible = [](QWidget* w) {
        if (w->isVisible() && w->isEnabled())
            w->setFocus(Qt::OtherFocusReason);
    };

    if (Form_Type == 1) {
        P_IP_Address->show();
        P_Options->show();
        Stack_Panels({P_IP_Address, P_Eth_Search, P_Options});
        const QList<QWidget*> order = {E_IP1, E_IP2, E_IP3, E_IP4, CB_Update_Options, CB_Update_Option_Read_Back,
                                       Btn_Cancel, Btn_Update, CB_COM_Port, Btn_COM_List};
        for (int i = 1; i < order.size(); ++i)
            setTabOrder(order[i - 1], order[i]);
        QString ip1, ip2, ip3, ip4;
        if (!Last_IP_Address.isEmpty() && Check_IP_Address(Last_IP_Address, ip1, ip2, ip3, ip4)) {
            E_IP1->setText(ip1);
            E_IP2->setText(ip2);
            E_IP3->setText(ip3);
            E_IP4->setText(ip4);
        }
        restoreChoices();
        focusIfPossible(E_IP1);
    } else if (Form_Type == 0) {
        P_Options->show();
        P_Serial->show();
        Stack_Panels({P_Serial, P_Options});
        const QList<QWidget*> order = {CB_COM_Port, Btn_COM_List, CB_Update_Options, CB_Update_Option_Read_Back,
                                       Btn_Cancel, Btn_Update, E_IP1, E_IP2, E_IP3, E_IP4};
        for (int i = 1; i < order.size(); ++i)
            setTabOrder(order[i - 1], order[i]);
        restoreChoices();
        update_ComPort();
        focusIfPossible(CB_COM_Port);
    } else {
        Stack_Panels({});
    }
}

void TFBoot::update_ComPort()
{
    CB_COM_Port->clear();
    for (const QString& n : Search_COM_Ports())
        CB_COM_Port->addItem(QStringLiteral("COM") + n);
    if (CB_COM_Port->count() > 0)
        CB_COM_Port->setCurrentIndex(0);
}

void TFBoot::Btn_COM_ListClick(QObject*)
{
    update_ComPort();
}

void TFBoot::KeyPress(QObject* Sender, QChar& Key)
{
    if (Key != QLatin1Char('.'))
        return;
    QWidget* next = nullptr;
    if (Sender == E_IP1)
        next = E_IP2;
    else if (Sender == E_IP2)
        next = E_IP3;
    else if (Sender == E_IP3)
        next = E_IP4;
    else if (Sender != E_IP4)
        return;
    if (next && next->isVisible() && next->isEnabled())
        next->setFocus(Qt::TabFocusReason);
    Key = QChar(0);
}

bool TFBoot::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(Event);
        if (ke->text().size() == 1) {
            QChar key = ke->text().at(0);
            KeyPress(Watched, key);
            if (key.isNull())
                return true;
        }
    }
    return TForm::eventFilter(Watched, Event);
}

QString TFBoot::IP_Address_Text() const
{
    return E_IP1->text() + QLatin1Char('.') + E_IP2->text() + QLatin1Char('.') + E_IP3->text() + QLatin1Char('.') +
           E_IP4->text();
}

QString TFBoot::Ping_Address(const QString& E1, const QString& E2, const QString& E3, const QString& E4)
{
    QStringList parts;
    for (const QString* e : {&E1, &E2, &E3, &E4}) {
        const int v = Octet_Value(*e);
        if (v < 0)
            return QString();
        parts << QString::number(v);
    }
    return parts.join(QLatin1Char('.'));
}

void TFBoot::PingReply(QObject*, const TPingReply& Reply)
{
    ping_res = Reply.Status == TPingStatus::Echo && Reply.BytesReceived > 0 ? 1 : 2;
}

bool TFBoot::Send_Ping()
{
    Services& sv = TheServices();
    ping_res = 0;
    try {
        const uint32_t t0 = sv.TickCount();
        // Only an address of four decimal octets is pinged: nothing is looked up by name.
        const QString host = Ping_Address(E_IP1->text(), E_IP2->text(), E_IP3->text(), E_IP4->text());
        if (host.isEmpty())
            return false;
        int successes = 0;
        do {
            const uint32_t t1 = sv.TickCount();
            const TPingReply reply = sv.Ping(host, Ping_Receive_Timeout_Ms, Ping_Packet_Size, 0);
            // No socket, or the request could not go out: no reply event, the test ends here.
            if (reply.Status == TPingStatus::BadAddress || reply.Status == TPingStatus::Failed)
                return false;
            PingReply(this, reply);
            do {
                sv.Sleep(Ping_Poll_Ms);
                sv.ProcessMessages();
            } while (ping_res == 0 && uint32_t(sv.TickCount() - t1) <= uint32_t(Ping_Receive_Timeout_Ms));
            if (ping_res == 1)
                ++successes;
        } while (successes < 2 && uint32_t(sv.TickCount() - t0) <= uint32_t(Ping_Total_Ms));
    } catch (const std::exception&) {
        return false;
    }
    // The last reply decides.
    return ping_res == 1;
}

bool TFBoot::Compile_XML_Parameter_New_Boot()
{
    return ::Compile_XML_Parameter_New_Boot(Exe_Dir, Master_Dir, Active_Conf_Path, IP_Address_Text(),
                                            CB_Update_Options->currentIndex(),
                                            CB_Update_Option_Read_Back->isChecked());
}

void TFBoot::Btn_UpdateClick(QObject*)
{
    // The ping test serves window messages; a second press meanwhile must not start a second
    // update on top of the first.
    if (FUpdating)
        return;
    FUpdating = true;
    struct Reset {
        bool& Flag;
        ~Reset() { Flag = false; }
    } reset{FUpdating};

    if (Form_Type != 1) {
        // The serial road has no transfer: only the choices are remembered.
        Last_Update_Option = CB_Update_Options->currentIndex();
        Last_Read_Back = CB_Update_Option_Read_Back->isChecked();
        return;
    }
    if (!Send_Ping()) {
        if (ping_res == 2)
            MessageDlg(Lang_Table[1036], mtWarning, mbOK, this);
        else
            MessageDlg(Lang_Table[1037], mtError, mbOK, this);
        return;
    }
    Last_IP_Address = IP_Address_Text();
    Last_Update_Option = CB_Update_Options->currentIndex();
    Last_Read_Back = CB_Update_Option_Read_Back->isChecked();
    if (!Compile_XML_Parameter_New_Boot())
        return;  // the error was shown; the update program must not run on an old job
    const QString program = Ethernet_Update_Program(Exe_Dir);
    const TProgramResult run = FVelmoraeFirmWare ? FVelmoraeFirmWare->Start_Program(program, QString(), false)
                                                 : ::Start_Program(program, QString(), false);
    // Without the update program no transfer runs: the user must not take the silence for one.
    if (run.Run == TProgramRun::NotStarted) {
        const QFileInfo info(program);
        MessageDlg(QStringLiteral("Error! The update program \"%1\" could not be started. It was looked for in the "
                                  "folder \"%2\".")
                       .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath())),
                   mtError, mbOK, this);
    }
}

TFBoot* Create_FBoot(QWidget* parent)
{
    auto* w = new TFBoot(parent);
    FBoot = w;
    w->Create();
    TRegisteredWindow reg;
    reg.Form = w;
    reg.Set_Lang = [w] { w->Set_Lang(); };
    // The update step always opens the dialog for an update over Ethernet.
    reg.Show = [w] {
        w->Form_Type = 1;
        return w->ShowModal();
    };
    Register_Window(QStringLiteral("FBoot"), reg);
    return w;
}
