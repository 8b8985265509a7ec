#include "core/UProfibus_GSD.h"

#include "core/ULanguage.h"
#include "core/UComon.h"
#include "core/UGen_Files.h"
#include "core/UVelmoraeFirmWare.h"
#include "core/XMLDocument.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

#include <QFileInfo>

int GSD_NB_Out = 0;
int GSD_NB_In = 0;

namespace {

// The vendor's own data in the file's head.
const char* const Vendor_Name = "Norvane";
const char* const Vendor_Street = "Example Street 1";
const char* const Vendor_Town = "00000 Sampletown (SP)";
const char* const Vendor_Country = "Sample Province - Example Country";
const char* const Vendor_Phone = "+00 000 0000000";
const char* const Vendor_Fax = "+00 000 0000001";
const char* const Vendor_Mail = "support@norvane.example";
constexpr int Ident_Number = 0x0B5A;

constexpr int Box_Width = 85;

QString Repeat(char c, int n)
{
    return n > 0 ? QString(n, QLatin1Char(c)) : QString();
}

// ";*", the text, blanks up to the 84th character, "*".
QString Box(const QString& text)
{
    return QStringLiteral(";*") + text + Repeat(' ', Box_Width - 3 - int(text.size())) + QStringLiteral("*");
}

// ";" and "=" up to `width` characters.
QString Rule(int width)
{
    return QStringLiteral(";") + Repeat('=', width - 1);
}

// A titled rule: the title, then "=" up to `width` characters.
QString Title(const QString& title, int width)
{
    return title + Repeat('=', width - int(title.size()));
}

// hex(x): upper-case hexadecimal, at least two digits, after "0x".
QString Hex(int value)
{
    return QStringLiteral("0x") + platform::IntToHex(value, 2);
}

int Modules_For(int64_t bytes)
{
    return bytes > 0 ? int((bytes + 63) / 64) : 0;
}

// One direction's modules: all full but the last, which carries the rest.
void Add_Modules(QStringList& L, int bytes, const char* dir, int idByte, int& k)
{
    const int n = Modules_For(bytes);
    for (int m = 1; m <= n; ++m) {
        const int len = m < n ? 64 : int(int64_t(bytes) - 64 * int64_t(n - 1));
        ++k;
        L << QStringLiteral("Module=\"%1  (PORT%2)    \" %3,%4,%5,%6")
                 .arg(QLatin1String(dir))
                 .arg(k)
                 .arg(Hex(idByte), Hex(len - 1), Hex(0), Hex(k));
        L << QString::number(k);
        L << QStringLiteral("EndModule");
    }
}

} // namespace

QStringList GSD_Lines(int NB_Out, int NB_In)
{
    const int DI = Modules_For(NB_Out);
    const int DO = Modules_For(NB_In);
    const int Max_Module = DI + DO;

    QStringList L;
    L << QStringLiteral(";");
    L << QStringLiteral(";") + Repeat('*', 19) + QStringLiteral(" S7 Protocol / PROFIBUS Slave - Converter ") +
             Repeat('*', 23);
    const QString frame = QStringLiteral(";* ") + Repeat('=', 80) + QStringLiteral(" *");
    const QString blank = Box(QString());
    const QString indent = Repeat(' ', 11);
    L << frame << blank;
    L << Box(QStringLiteral(" Vendor:   ") + QLatin1String(Vendor_Name));
    L << Box(indent + QLatin1String(Vendor_Street));
    L << Box(indent + QLatin1String(Vendor_Town));
    L << Box(indent + QLatin1String(Vendor_Country));
    L << Box(indent + QStringLiteral("Tel. : ") + QLatin1String(Vendor_Phone));
    L << Box(indent + QStringLiteral("FAX. : ") + QLatin1String(Vendor_Fax));
    L << Box(indent + QStringLiteral("eMail: ") + QLatin1String(Vendor_Mail));
    L << blank << frame << blank;
    L << Box(QStringLiteral(" Function:       S7 Protocol / PROFIBUS Slave - Converter"));
    L << blank << blank;
    L << Box(QStringLiteral(" Order Number : GX40885"));
    L << blank << blank;
    L << QStringLiteral(";") + Repeat('*', 84);
    L << QString() << QString();
    L << QStringLiteral("#Profibus_DP");
    L << QString() << QString();

    L << Rule(85) << Title(QStringLiteral(";==== Prm-Text-Def-List "), 85) << Rule(85) << QString();
    L << QStringLiteral("PrmText=1") << QStringLiteral("Text(0)=\"disable\"") << QStringLiteral("Text(1)=\"enable\"")
      << QStringLiteral("EndPrmText") << QString();
    L << QStringLiteral("PrmText  = 2") << QStringLiteral("Text(0)  = \"clock up\"")
      << QStringLiteral("Text(1)  = \"clock down\"") << QStringLiteral("EndPrmText") << QString();
    L << QStringLiteral("PrmText  = 3");
    for (int i = 1; i <= 5; ++i)
        L << QStringLiteral("Text(%1)  = \"%2\"").arg(i).arg(i * 10);
    L << QStringLiteral("EndPrmText") << QString() << QString();

    L << Rule(86) << Title(QStringLiteral(";==== Ext-User-Prm-Data-Def-List "), 86) << Rule(86) << QString();
    struct TExt {
        const char* Head;
        const char* Type;
        const char* Ref;
    };
    static const TExt Ext[] = {
        {"ExtUserPrmData=1 \"[SlotNumber]\"", "Unsigned8 0 0-32", nullptr},
        {"ExtUserPrmData=2 \"Diagnostic Alarm\"", "Bit(0) 0 0-1", "Prm_Text_Ref=1"},
        {"ExtUserPrmData=3 \"Process Alarm\"", "Bit(1) 0 0-1", "Prm_Text_Ref=1"},
        {"ExtUserPrmData=4 \"Counter mode\"", "Unsigned8 0 0-1", "Prm_Text_Ref=2"},
        {"ExtUserPrmData=5 \"Counter timebase (ms)\"", "Unsigned8 1 1-5", "Prm_Text_Ref=3"},
        {"ExtUserPrmData=6 \"Counter high-limit\"", "Unsigned16 65535 0-65535", nullptr},
        {"ExtUserPrmData=7 \"Counter low-limit\"", "Unsigned16 0 0-65535", nullptr},
    };
    for (const TExt& e : Ext) {
        L << QLatin1String(e.Head) << QLatin1String(e.Type);
        if (e.Ref)
            L << QLatin1String(e.Ref);
        L << QStringLiteral("EndExtUserPrmData") << QString();
    }
    L << QString();

    L << Rule(86) << Title(QStringLiteral(";==== General DP Keywords "), 86) << Rule(86) << QString();
    L << QStringLiteral("GSD_Revision = 5") << QStringLiteral("Vendor_Name = \"Norvane\"")
      << QStringLiteral("Model_Name = \"GX40885\"") << QStringLiteral("Revision = \"1.00\"");
    L << QStringLiteral("Ident_Number = 0x") + platform::IntToHex(Ident_Number, 4);
    L << QStringLiteral("Protocol_Ident = 0") << QStringLiteral("Station_Type = 0") << QStringLiteral("FMS_supp = 0")
      << QStringLiteral("Hardware_Release = \"V1.00\"") << QStringLiteral("Software_Release = \"V1.00\"")
      << QStringLiteral("Redundancy = 0") << QStringLiteral("Repeater_Ctrl_Sig = 2") << QStringLiteral("24V_Pins = 0");
    L << QString() << QString();

    L << Rule(79) << Title(QStringLiteral(";==== Supported baudrates "), 79) << Rule(79) << QString();
    static const char* const Rates[] = {"9.6", "19.2", "45.45", "93.75", "187.5", "500", "1.5M", "3M", "6M", "12M"};
    static const int Tsdr[] = {15, 15, 15, 15, 15, 15, 20, 35, 50, 95};
    for (const char* r : Rates)
        L << QLatin1String(r) + QStringLiteral("_supp = 1");
    L << QString();
    for (int i = 0; i < 10; ++i)
        L << QStringLiteral("MaxTsdr_%1=%2").arg(QLatin1String(Rates[i])).arg(Tsdr[i]);
    L << QString() << QString();

    L << Rule(79) << Title(QStringLiteral(";==== Slave specific values "), 79) << Rule(79) << QString();
    L << QStringLiteral("OrderNumber=\"GX40885\"") << QStringLiteral("Slave_Family = 9@Norvane@GX40885")
      << QStringLiteral("Implementation_Type = \"VPC3+\"")
      << QStringLiteral("Info_Text=\"Norvane: S7 Protocol / PROFIBUS Slave - Converter\"")
      << QStringLiteral("Bitmap_Device = \"DPV0_1N\"") << QStringLiteral("Bitmap_SF=\"DPV0_1S\"") << QString();
    L << QStringLiteral("Freeze_Mode_supp=1") << QStringLiteral("Sync_Mode_supp=1") << QStringLiteral("Fail_Safe=1")
      << QStringLiteral("Auto_Baud_supp=1") << QStringLiteral("Set_Slave_Add_supp=0") << QString();
    L << QStringLiteral("Min_Slave_Intervall=6") << QString();
    L << QStringLiteral("Modular_Station=1");
    L << QStringLiteral("Max_Module=") + QString::number(Max_Module);
    L << QStringLiteral("Modul_Offset=1");
    L << QStringLiteral("Max_Input_Len=") + QString::number(NB_Out);
    L << QStringLiteral("Max_Output_Len=") + QString::number(NB_In);
    L << QStringLiteral("Max_Data_Len=") + QString::number(int64_t(NB_Out) + NB_In);
    L << QStringLiteral("Max_Diag_Data_Len=15") << QString();
    L << QStringLiteral("WD_Base_1ms_supp = 1") << QStringLiteral("Publisher_supp = 1") << QString();

    L << Rule(79) << Title(QStringLiteral(";==== User-Prm-Data "), 79) << Rule(79) << QString();
    L << QStringLiteral("Max_User_Prm_Data_Len = 12") << QStringLiteral("Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00")
      << QString();

    L << Rule(79) << Title(QStringLiteral(";==== Modulstatus "), 79) << Rule(79) << QString();
    for (int s = 1; s <= 2; ++s) {
        L << QStringLiteral("Unit_Diag_Area = %1 - %2").arg(22 + 2 * s).arg(23 + 2 * s);
        L << QStringLiteral("Value(1)= \"Slot %1: Module error\"").arg(s);
        L << QStringLiteral("Value(2)= \"Slot %1: Wrong module\"").arg(s);
        L << QStringLiteral("Value(3)= \"Slot %1: No module\"").arg(s);
        L << QStringLiteral("Unit_Diag_Area_End");
    }
    L << QString() << QString();

    L << Rule(79) << Title(QStringLiteral(";==== Module-Definition-List "), 79) << Rule(79) << QString();
    int k = 0;
    Add_Modules(L, NB_Out, "DI", 0x42, k);
    Add_Modules(L, NB_In, "DO", 0x82, k);
    L << QString() << QString() << QString();
    L << QStringLiteral("SlotDefinition");
    for (int f = 1; f <= Max_Module; ++f)
        L << QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(f);
    L << QStringLiteral("EndSlotDefinition");
    L << QString() << QString() << QString() << QString();
    return L;
}

QString GSD_File_Name(const QString& Chosen)
{
    const QString ext = QStringLiteral(".gsd");
    const qsizetype p = Chosen.toLower().indexOf(ext);
    if (p >= 0 && p == Chosen.size() - ext.size())
        return Chosen;
    return Chosen + ext;
}

bool Write_GSD_File(const QString& FileName)
{
    const int64_t modules = int64_t(Modules_For(GSD_NB_Out)) + Modules_For(GSD_NB_In);
    if (modules > GSD_Max_Modules) {
        platform::MessageDlg(QStringLiteral("Error! The data sizes need %1 modules; a GSD file describes at most %2.")
                                 .arg(modules)
                                 .arg(GSD_Max_Modules),
                             platform::mtError, platform::mbOK, Gen_Owner());
        return false;
    }
    const QStringList lines = GSD_Lines(GSD_NB_Out, GSD_NB_In);
    return Gen_Write_Lines(FileName, lines);
}

void Create_GSD_File()
{
    if (!QFileInfo::exists(File_ParGen)) {
        platform::MessageDlg(Lang_Table[1104], platform::mtError, platform::mbOK, Gen_Owner());
        return;
    }

    {
        TXMLDocument doc;
        QString why;
        if (!doc.LoadFromFile(File_ParGen, &why)) {
            platform::MessageDlg(QStringLiteral("Error! The file \"%1\" cannot be read: %2").arg(File_ParGen, why),
                                 platform::mtError, platform::mbOK, Gen_Owner());
            return;
        }
        const TXMLNode root = doc.DocumentElement();
        auto count = [&root](const char* name) {
            QString text;
            const TXMLNode n = root.FindNode(name);
            return n && n.TryText(text) ? platform::StrToIntDef(text, 0) : 0;
        };
        GSD_NB_In = count("PROFINET_NB_IN");
        GSD_NB_Out = count("PROFINET_NB_OUT");
    }

    QString chosen;
    if (!Gen_Ask_File(nullptr, QStringLiteral("Generic Station Description (*.gsd)|*.gsd"), QString(), chosen))
        return;

    const QString name = GSD_File_Name(chosen);
    if (!Gen_May_Replace(name, 1103, platform::mbYes | platform::mbNo))
        return;

    Write_GSD_File(name);
}

void Register_UProfibus_GSD()
{
    Register_Step(QStringLiteral("Create_GSD_File"), [] { Create_GSD_File(); });
}
