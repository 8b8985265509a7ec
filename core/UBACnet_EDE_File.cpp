#include "core/UBACnet_EDE_File.h"

#include "core/UComon.h"
#include "core/UGen_Files.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "core/XMLDocument.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

#include <QDateTime>
#include <QFileInfo>

std::vector<std::unique_ptr<TBACnet_EDE_Obj>> EDE_Objects;
QString BACnet_Dev_Instance;
bool EDE_Long_Names = false;

namespace {

struct TObjectType {
    const char* Text;
    int32_t Code;
};

// The type texts of the table and their BACnet object type numbers; each has its own counter.
const TObjectType Object_Types[] = {
    {"ANALOG INPUT", 0},          {"ANALOG OUT", 1},          {"ANALOG VALUE", 2},
    {"BINARY INPUT", 3},          {"BINARY OUT", 4},          {"BINARY VALUE", 5},
    {"MULTI STATE INPUT", 13},    {"MULTI STATE OUTPUT", 14}, {"MULTI STATE VALUE", 19},
    {"LIFE SAFETY POINT", 21},    {"LIFE SAFETY ZONE", 22},   {"ACCUMULATOR", 23},
    {"ACCESS DOOR", 30},          {"CHARACTERSTRING VALUE", 40}, {"DATETIME VALUE", 44},
    {"INTEGER VALUE", 45},        {"LARGE ANALOG VALUE", 46}, {"POSITIVE INTEGER VALUE", 48},
};
constexpr int Type_Count = int(std::size(Object_Types));

int32_t Instance_Counters[Type_Count] = {};

// Leading and trailing blanks and control characters removed.
QString Trim(const QString& s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.mid(b, e - b);
}

// The text of a parameter element; false when the element is missing.
bool Parameter(const TXMLNode& root, const char* name, QString& text)
{
    const TXMLNode n = root.FindNode(name);
    if (!n)
        return false;
    if (!n.TryText(text))
        throw EXMLError(QStringLiteral("Error! The file \"%1\": the element %2 holds no plain text.")
                            .arg(Gen_File_Label(File_ParGen), QLatin1String(name)));
    return true;
}

void Load_Objects_Section(const TXMLNode& root, const char* name)
{
    const TXMLNode section = root.FindNode(name);
    if (!section)
        throw EXMLError(QStringLiteral("Error! The file \"%1\" has no section %2.")
                            .arg(Gen_File_Label(File_BACnet_Slave), QLatin1String(name)));
    int k = 0;
    for (const TXMLNode& row : section.ChildElements()) {
        ++k;
        auto attr = [&](const char* a) {
            QString v;
            if (!row.TryAttribute(a, v))
                throw EXMLError(QStringLiteral("Error! The file \"%1\", section %2, row %3: the attribute %4 is missing.")
                                    .arg(Gen_File_Label(File_BACnet_Slave), QLatin1String(name))
                                    .arg(k)
                                    .arg(QLatin1String(a)));
            return v;
        };
        const int32_t type = BACnet_Object_Type_Code(Gen_Upper(Trim(attr("Data_Type"))));
        const QString unit = attr("Eng_Unit");
        const QString mnemonic = attr("Mnemonic");

        auto obj = std::make_unique<TBACnet_EDE_Obj>();
        obj->DevObjInstance = BACnet_Dev_Instance;
        obj->ObjectName = mnemonic.left(EDE_Long_Names ? 32 : 16);
        obj->ObjectType = QString::number(type);
        obj->ObjectInstance = QString::number(Next_Object_Instance(type));
        obj->Keyname = BACnet_Dev_Instance + QStringLiteral("_") + mnemonic + QStringLiteral("_") + obj->ObjectInstance;
        obj->Description = obj->ObjectName;
        obj->UnitCode = unit;
        EDE_Objects.push_back(std::move(obj));
    }
}

QString Two(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

int32_t BACnet_Object_Type_Code(const QString& Type)
{
    for (const TObjectType& t : Object_Types)
        if (Type == QLatin1String(t.Text))
            return t.Code;
    return 0;
}

void Reset_Instance_Counters()
{
    for (int32_t& c : Instance_Counters)
        c = 0;
}

int32_t Next_Object_Instance(int32_t Object_Type)
{
    int slot = 0; // a number outside the table counts as type 0
    for (int i = 0; i < Type_Count; ++i)
        if (Object_Types[i].Code == Object_Type) {
            slot = i;
            break;
        }
    return Instance_Counters[slot]++;
}

void Load_BACnet_Parameters()
{
    BACnet_Dev_Instance.clear();
    EDE_Long_Names = false;
    TXMLDocument doc;
    if (!Gen_Load_Existing(doc, File_ParGen))
        return;
    const TXMLNode root = doc.DocumentElement();

    QString text;
    const int type = Parameter(root, "BACnet_Type", text) ? platform::StrToIntDef(text, 0) : 0;
    QString instance;
    if (Parameter(root, type == 1 ? "BACnet_Ser_DEV_IDE" : "BACnet_DEV_IDE", instance))
        BACnet_Dev_Instance = instance;
    QString limit;
    if (Parameter(root, "BACnet_Desc_Chars_Limit", limit) && limit == QLatin1String("1"))
        EDE_Long_Names = true;
}

void Load_BACnet_Objects()
{
    TXMLDocument doc;
    if (!Gen_Load_Existing(doc, File_BACnet_Slave))
        return;
    const TXMLNode root = doc.DocumentElement();
    Load_Objects_Section(root, "BACnet_in_Read");
    Load_Objects_Section(root, "BACnet_in_Write");
}

QString EDE_Timestamp(const QDateTime& Now)
{
    const QTime t = Now.time();
    const QDate d = Now.date();
    return Two(t.hour()) + QStringLiteral(":") + Two(t.minute()) + QStringLiteral(":") + Two(t.second()) +
           QStringLiteral(" ") + Two(d.day()) + QStringLiteral("/") + Two(d.month()) + QStringLiteral("/") +
           QString::number(d.year());
}

QString EDE_Timestamp()
{
    return EDE_Timestamp(platform::TheServices().LocalTime());
}

QStringList EDE_Lines(const QString& Timestamp)
{
    QStringList L;
    L << QStringLiteral("PROJECT_NAME; Norvane--") + Active_Conf_Name + QStringLiteral(";;;;;;");
    L << QStringLiteral("VERSION_OF_REFERENCEFILE;1.0;;;;;;");
    L << QStringLiteral("TIMESTAMP_OF_LAST_CHANGE;") + Timestamp + QStringLiteral(";;;;;;");
    L << QStringLiteral("AUTHOR_OF_LAST_CHANGE;Norvane;;;;;;");
    L << QStringLiteral("VERSION_OF_LAYOUT;2;;;;;;");
    L << QStringLiteral("# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;");
    L << QStringLiteral("# keyname;device obj.-instance;object-name;object-type;object-instance;description;unit-code;");
    for (const auto& o : EDE_Objects) {
        const QString fields[] = {o->Keyname,        o->DevObjInstance, o->ObjectName, o->ObjectType,
                                  o->ObjectInstance, o->Description,    o->UnitCode};
        QString line;
        for (const QString& f : fields)
            line += f + QStringLiteral(";");
        L << line;
    }
    return L;
}

bool Save_EDE_Text(const QString& FileName)
{
    const QStringList lines = EDE_Lines(EDE_Timestamp());
    return Gen_Write_Lines(FileName, lines);
}

bool Write_EDE_File(const QString& FileName)
{
    EDE_Objects.clear();
    bool ok = false;
    try {
        Reset_Instance_Counters();
        Load_BACnet_Parameters();
        Load_BACnet_Objects();
        ok = Save_EDE_Text(FileName);
    } catch (const EXMLError& e) {
        platform::MessageDlg(e.Message(), platform::mtError, platform::mbOK, Gen_Owner());
    }
    EDE_Objects.clear();
    return ok;
}

bool Build_EDE_File(const QString& FileName)
{
    return Write_EDE_File(FileName);
}

QString EDE_File_Name(const QString& Chosen)
{
    if (Gen_Upper(Chosen.right(4)) != QLatin1String(".CSV"))
        return Chosen + QStringLiteral(".csv");
    return Chosen;
}

void BACnet_EDE_File()
{
    QString chosen;
    if (!Gen_Ask_File(&TFVelmoraeFirmWare::SD1, QStringLiteral("CSV (MS-DOS) (*.csv)|*.csv"), QString(), chosen))
        return;
    const QString name = EDE_File_Name(chosen);
    if (!Gen_May_Replace(name, 1105, platform::mbYes | platform::mbNo | platform::mbCancel))
        return;
    Build_EDE_File(name);
}

void Register_UBACnet_EDE_File()
{
    Register_Step(QStringLiteral("BACnet_EDE_File"), [] { BACnet_EDE_File(); });
}
