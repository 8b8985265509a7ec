#include "core/UComon.h"

#include "platform/AtomicFile.h"
#include "platform/Form.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "render/LbButton.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QDir>
#include <QFile>

#include <cstring>

// ---- identity ----
const QString SW_Code = QStringLiteral("KT40917");
const QString SW_Desc = QStringLiteral("OPC UA Server / S7comm - Converter");
const QString SW_Code_Update = QStringLiteral("KT40917");
const QString SW_Version = QStringLiteral("1.000");
const QString Manual_Code = QStringLiteral("DM40917");
const QString Device_Code = QStringLiteral("GX40917");

// The maker's web server. One constant, so the home page, the download page and the version
// query always go to the same host.
const QString Maker_Web_Host = QStringLiteral("www.norvane.example");

namespace {
QString g_WebBaseOverride;
}

QString Maker_Web_Base()
{
    if (!g_WebBaseOverride.isEmpty())
        return g_WebBaseOverride;
    return QStringLiteral("http://") + Maker_Web_Host;
}

void Set_Maker_Web_Base_Override(const QString& Base)
{
    g_WebBaseOverride = Base;
}

QString Home_Page_URL()
{
    return Maker_Web_Base() + QStringLiteral("/HOME/default.asp?frompg=") + SW_Code;
}

QString Download_Page_URL()
{
    return Maker_Web_Base() + QStringLiteral("/Home/download/download.asp#") + Device_Code;
}

QString Version_Query_URL()
{
    return Maker_Web_Base() + QStringLiteral("/home/download/GetversionSW.asp?nomesw=") + SW_Code_Update;
}

QString Main_Caption;
QString Shown_SW_Code;
QString Shown_SW_Desc;

QString Exe_Dir;
QString Master_Dir;
QString Projects_Dir;
QString Language_Dir;

namespace {
QString g_ProgramFolderOverride;
}

QString Program_Folder()
{
    if (!g_ProgramFolderOverride.isEmpty())
        return g_ProgramFolderOverride;
    return QCoreApplication::applicationDirPath();
}

void Set_Program_Folder_Override(const QString& Folder)
{
    g_ProgramFolderOverride = Folder;
}

QString Active_Conf_Name;
QString Active_Conf_Path;

QString File_ParGen;
QString File_S7_Protocol;
QString File_KNX_SetAccess;
QString File_IEC61850_Variables;
QString File_TLS_Known_Cert;
QString File_CAN_Rec_Frames;
QString File_CAN_Send_Frames;
QString File_SDO_Server_CANopen;
QString File_SDO_Client_CANopen;
QString File_PDO_CANopen;
QString File_SNMP_Trap;
QString File_MQTT_Set_Topic;
QString File_BACnet_Slave;
QString File_OPC_UA_Server;

void Set_Conf_File_Paths()
{
    const QString& P = Active_Conf_Path;
    File_ParGen = P + QStringLiteral("/ParGen.xml");
    File_S7_Protocol = P + QStringLiteral("/S7_Protocol.xml");
    File_KNX_SetAccess = P + QStringLiteral("/KNX_SetAccess.xml");
    File_IEC61850_Variables = P + QStringLiteral("/IEC61850_Variables.xml");
    File_TLS_Known_Cert = P + QStringLiteral("/TLS_Known_Cert.xml");
    File_CAN_Rec_Frames = P + QStringLiteral("/CAN_Rec_Frames.xml");
    File_CAN_Send_Frames = P + QStringLiteral("/CAN_Send_Frames.xml");
    File_SDO_Server_CANopen = P + QStringLiteral("/SDO_Server_CANopen.xml");
    File_SDO_Client_CANopen = P + QStringLiteral("/SDO_Client_CANopen.xml");
    File_PDO_CANopen = P + QStringLiteral("/PDO_CANopen.xml");
    File_SNMP_Trap = P + QStringLiteral("/SNMP_Trap.xml");
    File_MQTT_Set_Topic = P + QStringLiteral("/MQTT_Set_Topic.xml");
    File_BACnet_Slave = P + QStringLiteral("/BACnet_Slave.xml");
    File_OPC_UA_Server = P + QStringLiteral("/OPC_UA_Server.xml");
}

const QString Default_IP_Address = QStringLiteral("192.168.2.205");
const QString Default_Language = QStringLiteral("English");

QString Last_IP_Address = Default_IP_Address;
QString Active_Language = Default_Language;
bool Enable_Internet = false;
bool Enable_Update = false;
bool Enable_Jump_Field_Tables = false;
bool Double_Click_Auto_Size = false;
int Last_Update_Option = 0;
bool Last_Read_Back = true;

void Reset_Program_Options()
{
    Active_Conf_Name.clear();
    Last_IP_Address = Default_IP_Address;
    Active_Language = Default_Language;
    Enable_Internet = false;
    Enable_Update = false;
    Enable_Jump_Field_Tables = false;
    Double_Click_Auto_Size = false;
}

QStringList Row_Clipboard;
QVector<bool> Row_Clipboard_CheckBox;
QStringList MIB_Lines_A;
QStringList MIB_Lines_B;

// ---- address, number and text routines ----

namespace {

int Int_Def(const QString& Text, int Def)
{
    return platform::StrToIntDef(Text, Def);
}

// The text before the first occurrence of Sep (all of it when there is none), and after it.
QString Before(const QString& S, QChar Sep)
{
    const int p = S.indexOf(Sep);
    return p < 0 ? S : S.left(p);
}

QString After(const QString& S, QChar Sep)
{
    const int p = S.indexOf(Sep);
    return p < 0 ? QString() : S.mid(p + 1);
}

bool In_Range(int V, int Lo, int Hi)
{
    return V >= Lo && V <= Hi;
}

} // namespace

bool Check_IP_Address(const QString& Address, QString& IP1, QString& IP2, QString& IP3, QString& IP4)
{
    using platform::Trim;
    QString S = Trim(Address);
    if (!S.contains('.'))
        return false;
    IP1 = Trim(Before(S, '.'));
    S = Trim(After(S, '.'));
    if (!S.contains('.'))
        return false;
    IP2 = Trim(Before(S, '.'));
    S = Trim(After(S, '.'));
    if (!S.contains('.'))
        return false;
    IP3 = Trim(Before(S, '.'));
    IP4 = Trim(After(S, '.'));
    for (const QString* Part : {&IP1, &IP2, &IP3, &IP4})
        if (!In_Range(Int_Def(*Part, 1000), 0, 255))
            return false;
    return true;
}

bool Conv_IP_Address(const QString& Address, uint8_t& B1, uint8_t& B2, uint8_t& B3, uint8_t& B4)
{
    if (Address.isEmpty())
        return true;
    bool Error = false;
    QString S = Address;
    uint8_t* Bytes[4] = {&B1, &B2, &B3, &B4};
    for (int k = 0; k < 4; ++k) {
        QString Part;
        if (k == 3)
            Part = S;
        else
            Part = S.contains('.') ? S.left(S.indexOf('.')) : QString();
        const int V = Int_Def(Part, -1);
        if (In_Range(V, 0, 255)) {
            *Bytes[k] = uint8_t(V);
        } else {
            *Bytes[k] = 0;
            Error = true;
        }
        if (S.contains('.'))
            S = S.mid(S.indexOf('.') + 1);
    }
    return Error;
}

bool Utf8_To_Int(const char* Text, size_t Len, int& Value)
{
    const auto* p = reinterpret_cast<const unsigned char*>(Text);
    size_t i = 0;
    while (i < Len && p[i] == ' ')
        ++i;
    bool negative = false;
    if (i < Len && (p[i] == '-' || p[i] == '+')) {
        negative = p[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < Len && p[i] == '$') {
        hex = true;
        ++i;
    } else if (i < Len && (p[i] == 'x' || p[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < Len && p[i] == '0' && (p[i + 1] == 'x' || p[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= Len)
        return false;
    uint64_t acc = 0;
    if (hex) {
        for (; i < Len; ++i) {
            const unsigned char u = p[i];
            int d;
            if (u >= '0' && u <= '9')
                d = u - '0';
            else if (u >= 'a' && u <= 'f')
                d = u - 'a' + 10;
            else if (u >= 'A' && u <= 'F')
                d = u - 'A' + 10;
            else
                return false;
            if (acc > (0xFFFFFFFFull >> 4))
                return false;
            acc = (acc << 4) | uint64_t(d);
        }
        uint32_t v = uint32_t(acc);
        if (negative)
            v = 0u - v;
        Value = int32_t(v);
        return true;
    }
    const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    for (; i < Len; ++i) {
        const unsigned char u = p[i];
        if (u < '0' || u > '9')
            return false;
        const uint64_t d = u - '0';
        if (acc > (limit - d) / 10)
            return false;
        acc = acc * 10 + d;
    }
    Value = int32_t(negative ? uint32_t(0u - uint32_t(acc)) : uint32_t(acc));
    return true;
}

int Utf8_To_Int_Def(const char* Text, int Def)
{
    int v = 0;
    return Utf8_To_Int(Text, std::strlen(Text), v) ? v : Def;
}

bool Conv_IP_Address_Utf8(const char* Address, uint8_t& B1, uint8_t& B2, uint8_t& B3, uint8_t& B4)
{
    // The steps of Conv_IP_Address, on byte ranges of the text.
    const char* s = Address;
    const char* end = Address + std::strlen(Address);
    if (s == end)
        return true;
    bool Error = false;
    uint8_t* Bytes[4] = {&B1, &B2, &B3, &B4};
    for (int k = 0; k < 4; ++k) {
        const char* dot = static_cast<const char*>(std::memchr(s, '.', size_t(end - s)));
        size_t partLen;
        if (k == 3)
            partLen = size_t(end - s);
        else
            partLen = dot ? size_t(dot - s) : 0;
        int V = -1;
        if (!Utf8_To_Int(s, partLen, V))
            V = -1;
        if (In_Range(V, 0, 255)) {
            *Bytes[k] = uint8_t(V);
        } else {
            *Bytes[k] = 0;
            Error = true;
        }
        if (dot)
            s = dot + 1;
    }
    return Error;
}

QStringList Search_COM_Ports()
{
    QStringList Ports;
    platform::Services& Sv = platform::TheServices();
    for (int n = 1; n <= 256; ++n)
        if (Sv.ProbeSerialPort(n))
            Ports.append(QString::number(n));
    return Ports;
}

int Check_KNX_Address(const QString& Address, bool Group, bool Allow_Zero)
{
    using platform::Trim;
    const QString& A = Address;
    auto Num = [](const QString& Part) { return Int_Def(Trim(Part), -1); };

    if (Group) {
        if (A.contains('.'))
            return 1;
        if (!A.contains('/'))
            return In_Range(Num(A), 1, 65535) ? 0 : 1;
        const int Main = Num(Before(A, '/'));
        const QString Rest = After(A, '/');
        if (!Rest.contains('/')) {
            const int Sub = Num(Rest);
            const bool Ok = In_Range(Main, 0, 31) && In_Range(Sub, 0, 2047) && !(Main == 0 && Sub == 0);
            return Ok ? 0 : 1;
        }
        const int Middle = Num(Before(Rest, '/'));
        const QString SubText = After(Rest, '/');
        if (SubText.contains('/'))
            return 1;
        const int Sub = Num(SubText);
        const bool Ok = In_Range(Main, 0, 31) && In_Range(Middle, 0, 7) && In_Range(Sub, 0, 255)
            && !(Main == 0 && Middle == 0 && Sub == 0);
        return Ok ? 0 : 1;
    }

    if (A.contains('/'))
        return 1;
    if (!A.contains('.'))
        return In_Range(Num(A), 1, 65535) ? 0 : 1;
    const int Area = Num(Before(A, '.'));
    const QString Rest = After(A, '.');
    if (!Rest.contains('.'))
        return 1;
    const int Line = Num(Before(Rest, '.'));
    const QString DeviceText = After(Rest, '.');
    if (DeviceText.contains('.'))
        return 1;
    const int Device = Num(DeviceText);
    if (!In_Range(Area, 0, 15) || !In_Range(Line, 0, 15) || !In_Range(Device, 0, 255))
        return 1;
    if (!Allow_Zero && Area == 0 && Line == 0 && Device == 0)
        return 1;
    return 0;
}

bool Is_Group_Address(const QString& Address)
{
    return !Address.contains('.');
}

QChar Get_Decimal_Separator()
{
    const QString V = platform::TheServices().ProfileString(QStringLiteral("Intl"), QStringLiteral("sDecimal"),
                                                            QString()).left(4);
    if (!V.isEmpty() && (V[0] == ',' || V[0] == '.'))
        return V[0];
    return QChar(',');
}

bool Conv_Str_To_Float(const QString& Text, QChar Sep, float& Value)
{
    QString T = Text;
    if (Sep == '.')
        T.replace(',', '.');
    else
        T.replace('.', ',');
    double D = 0;
    if (platform::TryStrToFloat(T, D, platform::FormatSettings())) {
        Value = float(D);
        return true;
    }
    Value = 1.0f;
    return false;
}

// ---- the common look of the dialogs ----

QFont Title_Font(int Pixels)
{
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(Pixels);
    f.setBold(true);
    return f;
}

void Set_Title_Look(QLabel* Label, int Pixels)
{
    Label->setFont(Title_Font(Pixels));
    Label->setStyleSheet(QStringLiteral("color: #808080"));
}

QWidget* Make_Title_Panel(QWidget* Owner, int Width, QLabel*& L_SW_Code, QLabel*& L_SW_Desc)
{
    auto* panel = Make_Named<QWidget>(Owner, "P_Title", 0, 0, Width, 69);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xFF));
    panel->setPalette(pal);
    // The code large above the subtitle.
    auto makeLabel = [panel](const char* name, int pixels, int top) {
        auto* l = new QLabel(panel);
        l->setObjectName(QLatin1String(name));
        Set_Title_Look(l, pixels);
        l->move(12, top);
        return l;
    };
    L_SW_Code = makeLabel("L_SW_Code", 24, 6);
    L_SW_Desc = makeLabel("L_SW_Desc", 13, 42);
    auto* line = new QFrame(panel);
    line->setGeometry(0, 68, Width, 1);
    line->setStyleSheet(QStringLiteral("background: #C8C8C8"));
    return panel;
}

void Place_Dialog(platform::TForm* Form, QLabel* L_SW_Code, int Width, int Height, TDialog_Sizing Sizing,
                  bool Centred)
{
    L_SW_Code->setText(Shown_SW_Code);
    L_SW_Code->adjustSize();
    Form->SetClientWidth(Width);
    Form->SetClientHeight(Height);
    switch (Sizing) {
    case TDialog_Sizing::Fixed:
        Form->setFixedSize(Width, Height);
        break;
    case TDialog_Sizing::Free:
        Form->resize(Width, Height);
        break;
    case TDialog_Sizing::Fixed_Width:
        Form->setMinimumWidth(Width);
        Form->setMaximumWidth(Width);
        break;
    }
    if (!Centred)
        return;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        Form->move(screen->availableGeometry().center() - QPoint(Width / 2, Height / 2));
}

void Set_Dialog_Titles(platform::TForm* Form, QLabel* L_SW_Desc, const QString& Caption, const QString& Desc)
{
    Form->SetCaption(Caption);
    L_SW_Desc->setText(Desc);
    L_SW_Desc->adjustSize();
}

void Apply_Window_Look(QWidget* Window)
{
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(11);
    Window->setFont(f);
    QPalette pal = Window->palette();
    pal.setColor(QPalette::Window, QColor(0xF8, 0xF7, 0xED));
    Window->setPalette(pal);
    Window->setAutoFillBackground(true);
}

void Set_Up_Dialog(QWidget* Dialog, const QString& Name)
{
    Dialog->setObjectName(Name);
    Dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    Apply_Window_Look(Dialog);
}

TLbButton* Make_Dialog_Button(QWidget* Owner, const char* Name, int Left, int Top, int Width, const char* Glyph)
{
    constexpr TColor Button_Down_Color = 33023;
    auto* b = Make_Named<TLbButton>(Owner, Name, Left, Top, Width, 28);
    b->SetStyle(bsEncarta);
    b->SetColor(Window_Color);
    b->SetHotTrackColor(clYellow);
    b->SetColorWhenDown(Button_Down_Color);
    if (Glyph) {
        const TBitmap pic = LbResourceBitmap(QLatin1String(Glyph));
        b->SetGlyph(&pic);
    }
    return b;
}

QWidget* Make_OK_Cancel_Panel(QWidget* Owner, TLbButton*& Btn_OK, TLbButton*& Btn_Cancel)
{
    auto* panel = new QWidget(Owner);
    panel->setObjectName(QStringLiteral("P_Button"));
    Btn_OK = Make_Named<TLbButton>(panel, "Btn_OK", 16, 6, 110, 28);
    Btn_Cancel = Make_Named<TLbButton>(panel, "Btn_Cancel", 134, 6, 110, 28);
    Btn_Cancel->SetModalResult(platform::mrCancel);
    return panel;
}

bool Is_Plain_Conf_Name(const QString& Name)
{
    if (Name.trimmed().isEmpty() || Name == QLatin1String(".") || Name == QLatin1String(".."))
        return false;
    for (qsizetype i = 0; i < Name.size(); ++i) {
        const QChar c = Name.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control ||
            c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            return false;
        if (c.isHighSurrogate() && i + 1 < Name.size() && Name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return false;
    }
    return true;
}

bool Keep_File_Copy(const QString& Path, const QString& Copy, QString* Error)
{
    QFile file(Path);
    QString why;
    QByteArray data;
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
    } else {
        data = file.readAll();
        if (file.error() != QFileDevice::NoError)
            why = file.errorString();
    }
    if (why.isEmpty() && platform::WriteFileAtomic(Copy, data, &why))
        return true;
    if (Error)
        *Error = why;
    return false;
}
