#include "core/UParGen.h"

#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "platform/Graphics.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "render/LbButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <climits>
#include <vector>

TFParGen* FParGen = nullptr;

using namespace platform;

namespace {

constexpr TColor Form_Color = 15595512;
constexpr TColor Header_Gradient_Color = 14211303;
constexpr int Form_Client_Width = 460;
constexpr int Form_Client_Height = 700;

// The 34 elements of the parameters file in their order, the control each one stores and the
// text the control gets when the file or the element is missing. Check boxes store "1" or "0".
struct FileField {
    const char* Element;
    const char* Control;
    const char* Default;
};
const FileField ParGen_Fields[] = {
    {"S7_Protocol_IP1", "E_S7_Protocol_IP1", "192"},
    {"S7_Protocol_IP2", "E_S7_Protocol_IP2", "168"},
    {"S7_Protocol_IP3", "E_S7_Protocol_IP3", "0"},
    {"S7_Protocol_IP4", "E_S7_Protocol_IP4", "5"},
    {"S7_Protocol_SM1", "E_S7_Protocol_SM1", "255"},
    {"S7_Protocol_SM2", "E_S7_Protocol_SM2", "255"},
    {"S7_Protocol_SM3", "E_S7_Protocol_SM3", "255"},
    {"S7_Protocol_SM4", "E_S7_Protocol_SM4", "0"},
    {"S7_Protocol_GAT1", "E_S7_Protocol_GAT1", "192"},
    {"S7_Protocol_GAT2", "E_S7_Protocol_GAT2", "168"},
    {"S7_Protocol_GAT3", "E_S7_Protocol_GAT3", "0"},
    {"S7_Protocol_GAT4", "E_S7_Protocol_GAT4", "1"},
    {"S7_Protocol_EN_GAT", "CB_S7_Protocol_En_GAT", "0"},
    {"NTP_Server_URL", "E_NTP_Server_URL", TFParGen::Default_NTP_Server},
    {"NTP_Poll_Time", "E_NTP_Poll_Time", "1000"},
    {"OPC_UA_Server_IP1", "E_OPC_UA_Server_IP1", "192"},
    {"OPC_UA_Server_IP2", "E_OPC_UA_Server_IP2", "168"},
    {"OPC_UA_Server_IP3", "E_OPC_UA_Server_IP3", "0"},
    {"OPC_UA_Server_IP4", "E_OPC_UA_Server_IP4", "10"},
    {"OPC_UA_Server_SM1", "E_OPC_UA_Server_SM1", "255"},
    {"OPC_UA_Server_SM2", "E_OPC_UA_Server_SM2", "255"},
    {"OPC_UA_Server_SM3", "E_OPC_UA_Server_SM3", "255"},
    {"OPC_UA_Server_SM4", "E_OPC_UA_Server_SM4", "0"},
    {"OPC_UA_Server_GAT1", "E_OPC_UA_Server_GAT1", "192"},
    {"OPC_UA_Server_GAT2", "E_OPC_UA_Server_GAT2", "168"},
    {"OPC_UA_Server_GAT3", "E_OPC_UA_Server_GAT3", "0"},
    {"OPC_UA_Server_GAT4", "E_OPC_UA_Server_GAT4", "1"},
    {"OPC_UA_Server_EN_GAT", "CB_OPC_UA_Server_En_GAT", "0"},
    {"OPC_UA_Server_DNS1", "E_OPC_UA_Server_DNS1", "8"},
    {"OPC_UA_Server_DNS2", "E_OPC_UA_Server_DNS2", "8"},
    {"OPC_UA_Server_DNS3", "E_OPC_UA_Server_DNS3", "8"},
    {"OPC_UA_Server_DNS4", "E_OPC_UA_Server_DNS4", "8"},
    {"OPC_UA_Server_EN_DNS", "CB_OPC_UA_Server_En_DNS", "0"},
    {"OPC_UA_Server_Port", "E_OPC_UA_Server_Port", "4840"},
};

// The checks OK runs, in order; the first failing one shows its message. A check that names a
// box runs only while the box is ticked. The DNS octets are checked like every other address
// the device is given, so that an octet of 300 never reaches it as 44.
constexpr int No_Exception = INT_MIN;
struct CheckStep {
    const char* Field;
    int Min;
    int Max;
    int Except;
    int Message;
    const char* Enable;
};
const CheckStep ParGen_Checks[] = {
    {"E_S7_Protocol_IP1", 0, 255, No_Exception, 451, nullptr},
    {"E_S7_Protocol_IP2", 0, 255, No_Exception, 452, nullptr},
    {"E_S7_Protocol_IP3", 0, 255, No_Exception, 453, nullptr},
    {"E_S7_Protocol_IP4", 0, 255, No_Exception, 454, nullptr},
    {"E_S7_Protocol_SM1", 0, 255, No_Exception, 455, nullptr},
    {"E_S7_Protocol_SM2", 0, 255, No_Exception, 456, nullptr},
    {"E_S7_Protocol_SM3", 0, 255, No_Exception, 457, nullptr},
    {"E_S7_Protocol_SM4", 0, 255, No_Exception, 458, nullptr},
    {"E_S7_Protocol_GAT1", 0, 255, No_Exception, 459, "CB_S7_Protocol_En_GAT"},
    {"E_S7_Protocol_GAT2", 0, 255, No_Exception, 460, "CB_S7_Protocol_En_GAT"},
    {"E_S7_Protocol_GAT3", 0, 255, No_Exception, 461, "CB_S7_Protocol_En_GAT"},
    {"E_S7_Protocol_GAT4", 0, 255, No_Exception, 462, "CB_S7_Protocol_En_GAT"},
    {"E_NTP_Poll_Time", 0, 10000000, No_Exception, 725, nullptr},
    {"E_OPC_UA_Server_IP1", 0, 255, No_Exception, 815, nullptr},
    {"E_OPC_UA_Server_IP2", 0, 255, No_Exception, 816, nullptr},
    {"E_OPC_UA_Server_IP3", 0, 255, No_Exception, 817, nullptr},
    {"E_OPC_UA_Server_IP4", 0, 255, No_Exception, 818, nullptr},
    {"E_OPC_UA_Server_SM1", 0, 255, No_Exception, 819, nullptr},
    {"E_OPC_UA_Server_SM2", 0, 255, No_Exception, 820, nullptr},
    {"E_OPC_UA_Server_SM3", 0, 255, No_Exception, 821, nullptr},
    {"E_OPC_UA_Server_SM4", 0, 255, No_Exception, 822, nullptr},
    {"E_OPC_UA_Server_GAT1", 0, 255, No_Exception, 823, "CB_OPC_UA_Server_En_GAT"},
    {"E_OPC_UA_Server_GAT2", 0, 255, No_Exception, 824, "CB_OPC_UA_Server_En_GAT"},
    {"E_OPC_UA_Server_GAT3", 0, 255, No_Exception, 825, "CB_OPC_UA_Server_En_GAT"},
    {"E_OPC_UA_Server_GAT4", 0, 255, No_Exception, 826, "CB_OPC_UA_Server_En_GAT"},
    {"E_OPC_UA_Server_DNS1", 0, 255, No_Exception, 929, "CB_OPC_UA_Server_En_DNS"},
    {"E_OPC_UA_Server_DNS2", 0, 255, No_Exception, 930, "CB_OPC_UA_Server_En_DNS"},
    {"E_OPC_UA_Server_DNS3", 0, 255, No_Exception, 931, "CB_OPC_UA_Server_En_DNS"},
    {"E_OPC_UA_Server_DNS4", 0, 255, No_Exception, 932, "CB_OPC_UA_Server_En_DNS"},
    {"E_OPC_UA_Server_Port", 0, 65535, 10000, 827, nullptr},
};

// The octet edits between which "." moves the focus, each chain in its order.
const std::vector<std::vector<const char*>>& Octet_Chains()
{
    static const std::vector<std::vector<const char*>> chains = {
        {"E_S7_Protocol_IP1", "E_S7_Protocol_IP2", "E_S7_Protocol_IP3", "E_S7_Protocol_IP4",
         "E_S7_Protocol_SM1", "E_S7_Protocol_SM2", "E_S7_Protocol_SM3", "E_S7_Protocol_SM4",
         "E_S7_Protocol_GAT1", "E_S7_Protocol_GAT2", "E_S7_Protocol_GAT3", "E_S7_Protocol_GAT4"},
        {"E_OPC_UA_Server_IP1", "E_OPC_UA_Server_IP2", "E_OPC_UA_Server_IP3", "E_OPC_UA_Server_IP4",
         "E_OPC_UA_Server_SM1", "E_OPC_UA_Server_SM2", "E_OPC_UA_Server_SM3", "E_OPC_UA_Server_SM4",
         "E_OPC_UA_Server_GAT1", "E_OPC_UA_Server_GAT2", "E_OPC_UA_Server_GAT3", "E_OPC_UA_Server_GAT4",
         "E_OPC_UA_Server_DNS1", "E_OPC_UA_Server_DNS2", "E_OPC_UA_Server_DNS3", "E_OPC_UA_Server_DNS4"},
    };
    return chains;
}

// Header pictures of the panels: a minus while a panel is open, a plus while it is folded.
QPixmap Header_Picture(bool collapsed)
{
    QPixmap pic(16, 16);
    pic.fill(Qt::transparent);
    QPainter p(&pic);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0x4A, 0x6E, 0x9A), 1));
    p.setBrush(QColor(0x6C, 0x93, 0xC4));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(4.5, 8), QPointF(11.5, 8));
    if (collapsed)
        p.drawLine(QPointF(8, 4.5), QPointF(8, 11.5));
    return pic;
}

QFont Verdana(int pixels, bool bold = false)
{
    QFont f("Verdana");
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

} // namespace

TFParGen::TFParGen(QWidget* parent) : TForm(parent)
{
    setObjectName("FParGen");
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnResize = [this] { FormResize(); };
}

TFParGen::~TFParGen() = default;

void TFParGen::Loaded()
{
    TForm::Loaded();
    Build_Window();
}

// What the window's design gives: the title panel, the panel group with its 20 panels, and the
// button panel.
void TFParGen::Build_Window()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(Verdana(11));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(Form_Color));
    setPalette(pal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    P_Title = new QWidget(this);
    P_Title->setObjectName("P_Title");
    P_Title->setFixedHeight(69);
    L_SW_Code = new QLabel(P_Title);
    L_SW_Code->setObjectName("L_SW_Code");
    L_SW_Code->setFont(Verdana(32));
    L_SW_Code->move(16, 8);
    L_SW_Desc = new QLabel(P_Title);
    L_SW_Desc->setObjectName("L_SW_Desc");
    L_SW_Desc->setFont(Verdana(11, true));
    L_SW_Desc->move(16, 42);
    for (QLabel* l : {L_SW_Code, L_SW_Desc}) {
        QPalette lp = l->palette();
        lp.setColor(QPalette::WindowText, ToQColor(clGray));
        l->setPalette(lp);
    }
    layout->addWidget(P_Title);

    CPG = new TCategoryPanelGroup(this);
    CPG->setObjectName("CPG");
    CPG->PanelColor = ToQColor(Form_Color);
    CPG->GradientColor = ToQColor(Header_Gradient_Color);
    CPG->HeaderFont = Verdana(15, true);
    ImageList1[0] = Header_Picture(false);
    ImageList1[1] = Header_Picture(true);
    CPG->Pictures[0] = ImageList1[0];
    CPG->Pictures[1] = ImageList1[1];
    CPG->OnMouseWheel = [this](QWheelEvent* e) {
        if (FormMouseWheel(e))
            e->accept();
        else
            e->ignore();
    };
    layout->addWidget(CPG, 1);

    P_Button = new QWidget(this);
    P_Button->setObjectName("P_Button");
    P_Button->setFixedHeight(40);
    layout->addWidget(P_Button);

    Btn_OK = Make_Dialog_Button(P_Button, "Btn_OK", 219, 6, 110, "LBOK");
    Btn_OK->SetModalResult(mrNone);
    Btn_OK->OnClick = [this](QObject* sender) { Btn_OKClick(sender); };
    Btn_Cancel = Make_Dialog_Button(P_Button, "Btn_Cancel", 335, 6, 110, "LBCANCEL");
    Btn_Cancel->SetModalResult(mrCancel);

    Build_Panels();
    Bind_Device_Fields();
}

void TFParGen::Bind_Device_Fields()
{
    auto E = [this](const char* name) { return static_cast<QLineEdit*>(Control(name)); };
    auto L = [this](const char* name) { return static_cast<QLabel*>(Control(name)); };
    L_S7_Protocol_IP = L("L_S7_Protocol_IP");
    L_S7_Protocol_SM = L("L_S7_Protocol_SM");
    E_S7_Protocol_IP1 = E("E_S7_Protocol_IP1");
    E_S7_Protocol_IP2 = E("E_S7_Protocol_IP2");
    E_S7_Protocol_IP3 = E("E_S7_Protocol_IP3");
    E_S7_Protocol_IP4 = E("E_S7_Protocol_IP4");
    E_S7_Protocol_SM1 = E("E_S7_Protocol_SM1");
    E_S7_Protocol_SM2 = E("E_S7_Protocol_SM2");
    E_S7_Protocol_SM3 = E("E_S7_Protocol_SM3");
    E_S7_Protocol_SM4 = E("E_S7_Protocol_SM4");
    CB_S7_Protocol_En_GAT = Check("CB_S7_Protocol_En_GAT");
    E_S7_Protocol_GAT1 = E("E_S7_Protocol_GAT1");
    E_S7_Protocol_GAT2 = E("E_S7_Protocol_GAT2");
    E_S7_Protocol_GAT3 = E("E_S7_Protocol_GAT3");
    E_S7_Protocol_GAT4 = E("E_S7_Protocol_GAT4");

    L_OPC_UA_Server_IP = L("L_OPC_UA_Server_IP");
    L_OPC_UA_Server_SM = L("L_OPC_UA_Server_SM");
    L_OPC_UA_Server_Port = L("L_OPC_UA_Server_Port");
    E_OPC_UA_Server_IP1 = E("E_OPC_UA_Server_IP1");
    E_OPC_UA_Server_IP2 = E("E_OPC_UA_Server_IP2");
    E_OPC_UA_Server_IP3 = E("E_OPC_UA_Server_IP3");
    E_OPC_UA_Server_IP4 = E("E_OPC_UA_Server_IP4");
    E_OPC_UA_Server_SM1 = E("E_OPC_UA_Server_SM1");
    E_OPC_UA_Server_SM2 = E("E_OPC_UA_Server_SM2");
    E_OPC_UA_Server_SM3 = E("E_OPC_UA_Server_SM3");
    E_OPC_UA_Server_SM4 = E("E_OPC_UA_Server_SM4");
    CB_OPC_UA_Server_En_GAT = Check("CB_OPC_UA_Server_En_GAT");
    E_OPC_UA_Server_GAT1 = E("E_OPC_UA_Server_GAT1");
    E_OPC_UA_Server_GAT2 = E("E_OPC_UA_Server_GAT2");
    E_OPC_UA_Server_GAT3 = E("E_OPC_UA_Server_GAT3");
    E_OPC_UA_Server_GAT4 = E("E_OPC_UA_Server_GAT4");
    CB_OPC_UA_Server_En_DNS = Check("CB_OPC_UA_Server_En_DNS");
    E_OPC_UA_Server_DNS1 = E("E_OPC_UA_Server_DNS1");
    E_OPC_UA_Server_DNS2 = E("E_OPC_UA_Server_DNS2");
    E_OPC_UA_Server_DNS3 = E("E_OPC_UA_Server_DNS3");
    E_OPC_UA_Server_DNS4 = E("E_OPC_UA_Server_DNS4");
    E_OPC_UA_Server_Port = E("E_OPC_UA_Server_Port");

    L_NTP_Server_URL = L("L_NTP_Server_URL");
    L_NTP_Poll_Time = L("L_NTP_Poll_Time");
    E_NTP_Server_URL = E("E_NTP_Server_URL");
    E_NTP_Poll_Time = E("E_NTP_Poll_Time");
}

// The focus order: the S7comm panel, the OPC UA panel, the NTP panel, then the buttons.
void TFParGen::Set_Tab_Order()
{
    const QList<QWidget*> order = {
        E_S7_Protocol_IP1, E_S7_Protocol_IP2, E_S7_Protocol_IP3, E_S7_Protocol_IP4,
        E_S7_Protocol_SM1, E_S7_Protocol_SM2, E_S7_Protocol_SM3, E_S7_Protocol_SM4,
        CB_S7_Protocol_En_GAT,
        E_S7_Protocol_GAT1, E_S7_Protocol_GAT2, E_S7_Protocol_GAT3, E_S7_Protocol_GAT4,
        CB_OPC_UA_Server_En_GAT,
        E_OPC_UA_Server_IP1, E_OPC_UA_Server_IP2, E_OPC_UA_Server_IP3, E_OPC_UA_Server_IP4,
        E_OPC_UA_Server_SM1, E_OPC_UA_Server_SM2, E_OPC_UA_Server_SM3, E_OPC_UA_Server_SM4,
        E_OPC_UA_Server_GAT4, E_OPC_UA_Server_GAT3, E_OPC_UA_Server_GAT2, E_OPC_UA_Server_GAT1,
        E_OPC_UA_Server_Port, CB_OPC_UA_Server_En_DNS,
        E_OPC_UA_Server_DNS1, E_OPC_UA_Server_DNS2, E_OPC_UA_Server_DNS3, E_OPC_UA_Server_DNS4,
        E_NTP_Server_URL, E_NTP_Poll_Time,
    };
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TFParGen::FormCreate()
{
    Place_Dialog(this, L_SW_Code, Form_Client_Width, Form_Client_Height, TDialog_Sizing::Fixed_Width, true);
    for (TCategoryPanel* panel : CPG->Panels())
        panel->SetPanelVisible(false);
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();
}

void TFParGen::Set_Lang()
{
    Set_Dialog_Titles(this, L_SW_Desc, Lang_Table[400], Lang_Table[401]);
    Btn_OK->SetCaption(Lang_Table[402]);
    Btn_Cancel->SetCaption(Lang_Table[403]);
    Btn_OK->setToolTip(Lang_Table[404]);
    Btn_Cancel->setToolTip(Lang_Table[405]);
    Caption_Device_Panels();
    Set_Lang_Panels();
}

// Fills the device's fields from the parameters file, or with their defaults.
void TFParGen::FormShow()
{
    TXMLNode root;
    if (QFileInfo::exists(File_ParGen)) {
        QString error;
        if (XML1.LoadFromFile(File_ParGen, &error))
            root = XML1.DocumentElement();
        else
            MessageDlg(QStringLiteral("Error! The file \"%1\" cannot be loaded: %2")
                           .arg(QDir::toNativeSeparators(File_ParGen), error),
                       mtError, mbOK, this);
    }
    for (const FileField& f : ParGen_Fields) {
        QString text = QString::fromUtf8(f.Default);
        if (root) {
            const TXMLNode node = root.FindNode(f.Element);
            QString value;
            if (node && node.TryText(value))
                text = value;
        }
        QWidget* w = Control(f.Control);
        if (auto* box = qobject_cast<QCheckBox*>(w))
            box->setChecked(text == QLatin1String("1"));
        else
            static_cast<QLineEdit*>(w)->setText(text);
    }
    Move_GroupBoxs();
}

bool TFParGen::Controllo_Dati()
{
    for (const CheckStep& step : ParGen_Checks) {
        if (step.Enable && !Check(step.Enable)->isChecked())
            continue;
        const int value = StrToIntDef(static_cast<QLineEdit*>(Control(step.Field))->text(), -1);
        if (value < step.Min || value > step.Max || value == step.Except) {
            MessageDlg(Lang_Table[step.Message], mtError, mbOK, this);
            return false;
        }
    }
    return true;
}

void TFParGen::Btn_OKClick(QObject*)
{
    if (!Controllo_Dati())
        return;
    XML1.Clear();
    TXMLNode root = XML1.AddChild("Par_Gen");
    XML1.AddComment("SW_VERSION = 1.000");
    for (const FileField& f : ParGen_Fields) {
        QWidget* w = Control(f.Control);
        QString text;
        if (auto* box = qobject_cast<QCheckBox*>(w))
            text = box->isChecked() ? "1" : "0";
        else
            text = static_cast<QLineEdit*>(w)->text();
        root.AddChild(f.Element, text);
    }
    QString error;
    if (!XML1.SaveToFile(File_ParGen, &error)) {
        // The old file is untouched; the dialog stays open with the user's values.
        MessageDlg(error, mtError, mbOK, this);
        return;
    }
    SetModalResult(mrOk);
}

void TFParGen::KeyPress(QObject* Sender, QChar& Key)
{
    if (Key != QLatin1Char('.'))
        return;
    const QString name = Sender ? Sender->objectName() : QString();
    for (const auto& chain : Octet_Chains()) {
        for (size_t i = 0; i + 1 < chain.size(); ++i) {
            if (name == QLatin1String(chain[i])) {
                QWidget* next = Control(chain[i + 1]);
                if (next && next->isVisible() && next->isEnabled())
                    next->setFocus(Qt::TabFocusReason);
            }
        }
    }
    Key = QChar(0);
}

bool TFParGen::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<QLineEdit*>(watched)) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->text().size() == 1) {
            QChar key = ke->text().at(0);
            KeyPress(watched, key);
            if (key.isNull())
                return true;
        }
    }
    return TForm::eventFilter(watched, event);
}

bool TFParGen::FormMouseWheel(QWheelEvent* event)
{
    const QPoint at = CPG->mapFromGlobal(event->globalPosition().toPoint());
    if (!CPG->rect().contains(at))
        return false;
    const int lines = QApplication::wheelScrollLines();
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    const auto action = delta > 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd;
    for (int i = 0; i < lines; ++i)
        CPG->verticalScrollBar()->triggerAction(action);
    return true;
}

void TFParGen::FormResize()
{
    if (FInResize)
        return;
    FInResize = true;
    if (ClientWidth() != Form_Client_Width)
        SetClientWidth(Form_Client_Width);
    FInResize = false;
}

TFParGen* Create_FParGen(QWidget* parent)
{
    return Create_Registered(parent, FParGen);
}
