#include "core/UEds.h"

#include "core/UComon.h"
#include "core/UGen_Files.h"
#include "core/UVelmoraeFirmWare.h"
#include "core/XMLDocument.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

#include <QDateTime>
#include <QFileInfo>

const QString EDS_File_Name = QStringLiteral("S7comm_CANopen.eds");
const QString EDS_Description = QStringLiteral("S7comm / CANopen - Converter");
const QString EDS_Product_Number = QStringLiteral("886");
const QString EDS_Order_Code = QStringLiteral("GX40886");

const char* const RPDO_Var_Names[30] = {"b",  "c",  "d",  "e",  "f",  "g",  "h",  "j",  "k",  "i",
                                        "aa", "ab", "ac", "ad", "ae", "af", "ag", "ah", "ai", "al",
                                        "am", "an", "ao", "ap", "aq", "ar", "as", "at", "au", "av"};
const char* const TPDO_Var_Names[30] = {"l",  "m",  "n",  "o",  "p",  "q",  "r",  "s",  "t",  "u",
                                        "ca", "cb", "cc", "cd", "ce", "cf", "cg", "ch", "ci", "cl",
                                        "cm", "cn", "co", "cp", "cq", "cr", "cs", "ct", "cu", "cv"};

TPDO_Entry PDO_List[2 * EDS_Max_PDO];
int32_t Num_RX_PDO = 0;
int32_t Num_TX_PDO = 0;
std::vector<SDO_Index> SDO_List;

namespace {

QString Hex(int value, int digits)
{
    return platform::IntToHex(value, digits);
}

QString Dec(int64_t value)
{
    return QString::number(value);
}

QString Two(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

TXMLNode Section(const TXMLDocument& doc, const QString& path, const char* name)
{
    const TXMLNode s = doc.DocumentElement().FindNode(name);
    if (!s)
        throw EXMLError(QStringLiteral("Error! The file \"%1\" has no section %2.")
                            .arg(Gen_File_Label(path), QLatin1String(name)));
    return s;
}

QString Attr(const TXMLNode& row, const QString& path, const char* section, int k, const char* name)
{
    QString v;
    if (!row.TryAttribute(name, v))
        throw EXMLError(QStringLiteral("Error! The file \"%1\", section %2, row %3: the attribute %4 is missing.")
                            .arg(Gen_File_Label(path), QLatin1String(section))
                            .arg(k + 1)
                            .arg(QLatin1String(name)));
    return v;
}

// One PDO section into PDO_List from `first`; the number of rows read.
int Load_PDO_Section(const TXMLDocument& doc, const char* name, int first)
{
    const std::vector<TXMLNode> rows = Section(doc, File_PDO_CANopen, name).ChildNodes();
    if (int(rows.size()) > EDS_Max_PDO)
        throw EXMLError(QStringLiteral("Error! The file \"%1\", section %2, holds %3 PDOs; at most %4 are allowed.")
                            .arg(Gen_File_Label(File_PDO_CANopen), QLatin1String(name))
                            .arg(rows.size())
                            .arg(EDS_Max_PDO));
    for (int i = 0; i < int(rows.size()); ++i) {
        TPDO_Entry& e = PDO_List[first + i];
        e.COB_ID = platform::StrToIntDef(Attr(rows[size_t(i)], File_PDO_CANopen, name, i, "COB-ID"), 0);
        e.Dimension = platform::StrToIntDef(Attr(rows[size_t(i)], File_PDO_CANopen, name, i, "Dimension"), 8);
        // A PDO maps one-byte sub-indexes; outside that the file could not be described.
        if (e.Dimension < 0 || e.Dimension > EDS_Max_Dimension)
            throw EXMLError(QStringLiteral("Error! The file \"%1\", section %2, row %3: Dimension %4 is out of range.")
                                .arg(Gen_File_Label(File_PDO_CANopen), QLatin1String(name))
                                .arg(i + 1)
                                .arg(e.Dimension));
    }
    return int(rows.size());
}

void Load_SDO_Section(const TXMLDocument& doc, const char* name, bool Readonly)
{
    const std::vector<TXMLNode> rows = Section(doc, File_SDO_Server_CANopen, name).ChildNodes();
    for (int i = 0; i < int(rows.size()); ++i) {
        auto number = [&](const char* attr) {
            const QString text = Attr(rows[size_t(i)], File_SDO_Server_CANopen, name, i, attr);
            int v = 0;
            if (!platform::TryStrToInt(text, v))
                throw EXMLError(QStringLiteral("Error! The file \"%1\", section %2, row %3: %4 \"%5\" is not a number.")
                                    .arg(Gen_File_Label(File_SDO_Server_CANopen), QLatin1String(name))
                                    .arg(i + 1)
                                    .arg(QLatin1String(attr), text));
            return v;
        };
        const int index = number("Index");
        const int sub = number("SubIndex");
        const int bytes = number("NByte");

        SDO_Sub_Type s;
        s.Sub = uint8_t(sub);
        s.Quantity = uint8_t(bytes);
        s.Readonly = Readonly;
        const int p = Find_SDO_Index(index);
        if (p == -1) {
            SDO_Index e;
            e.Index = uint16_t(index);
            e.Sub_Indexs.push_back(s);
            SDO_List.push_back(std::move(e));
        } else {
            SDO_List[size_t(p)].Sub_Indexs.push_back(s);
        }
    }
}

// A fixed object: its section and the keys it writes ("" for a key it leaves out).
struct TFixed {
    const char* Section;
    const char* SubNumber;
    const char* ParameterName;
    const char* ObjectType;
    const char* DataType;
    const char* AccessType;
    const char* DefaultValue;
    const char* PDOMapping;
};

const TFixed Fixed_Objects[] = {
    {"1000", "", "Device Type", "0x07", "0x0007", "const", "0x000101A4", "0"},
    {"1001", "", "Error Register", "0x07", "0x0005", "ro", "0x00", "0"},
    {"1005", "", "COB-ID SYNC", "0x07", "0x0007", "rw", "0x80000080", "0"},
    {"1006", "", "Communication Cycle Period", "0x07", "0x0007", "rw", "0x00000000", "0"},
    {"1008", "", "Manufacturer Device Name", "0x07", "0x0009", "const", "s1", "0"},
    {"1014", "", "COB-ID EMCY", "0x07", "0x0007", "ro", "$NODEID+0x80", "0"},
    {"1016", "3", "Heartbeat Consumer Entries", "0x08", "", "", "", ""},
    {"1016sub0", "", "Number of Entries", "0x07", "0x0005", "ro", "0x02", "0"},
    {"1016sub1", "", "Consumer Heartbeat Time 1", "0x07", "0x0007", "rw", "0x00000000", "0"},
    {"1016sub2", "", "Consumer Heartbeat Time 2", "0x07", "0x0007", "rw", "0x00000000", "0"},
    {"1017", "", "Producer Heartbeat Time", "0x07", "0x0006", "rw", "0x000003E8", "0"},
    {"1018", "5", "Identity Object", "0x09", "", "", "", ""},
    {"1018sub0", "", "number of entries", "0x07", "0x0005", "ro", "0x4", "0"},
    {"1018sub1", "", "Vendor Id", "0x07", "0x0007", "ro", "", "0"},
    {"1018sub2", "", "Product Code", "0x07", "0x0007", "ro", "", "0"},
    {"1018sub3", "", "Revision number", "0x07", "0x0007", "ro", "", "0"},
    {"1018sub4", "", "Serial number", "0x07", "0x0007", "ro", "", "0"},
    {"1029", "2", "Error Behaviour", "0x08", "", "", "", ""},
    {"1029sub0", "", "Number of Entries", "0x07", "0x0005", "ro", "1", "0"},
    {"1029sub1", "", "Communication Error", "0x07", "0x0005", "rw", "0x0", "0"},
    {"1280", "4", "Client SDO Parameter 1", "0x09", "", "", "", ""},
    {"1280sub0", "", "Number of Entries", "0x07", "0x0005", "ro", "0x03", "0"},
    {"1280sub1", "", "COB-ID Client -> Server", "0x07", "0x0007", "rw", "", "0"},
    {"1280sub2", "", "COB-ID Server -> Client", "0x07", "0x0007", "rw", "", "0"},
    {"1280sub3", "", "Node ID of the SDO Server", "0x07", "0x0005", "rw", "", "0"},
};

// A sub-entry of a PDO object: ParameterName to PDOMapping, then an empty line.
void Sub(QStringList& L, const QString& section, const QString& name, const char* dataType,
         const char* access, const QString& value, const char* mapping)
{
    L << QStringLiteral("[") + section + QStringLiteral("]");
    L << QStringLiteral("ParameterName=") + name;
    L << QStringLiteral("ObjectType=0x07");
    L << QStringLiteral("DataType=") + QLatin1String(dataType);
    L << QStringLiteral("AccessType=") + QLatin1String(access);
    L << QStringLiteral("DefaultValue=") + value;
    L << QStringLiteral("PDOMapping=") + QLatin1String(mapping);
    L << QString();
}

void Head(QStringList& L, const QString& section, int64_t subNumber, const QString& name, const char* objectType)
{
    L << QStringLiteral("[") + section + QStringLiteral("]");
    L << QStringLiteral("SubNumber=") + Dec(subNumber);
    L << QStringLiteral("ParameterName=") + name;
    L << QStringLiteral("ObjectType=") + QLatin1String(objectType);
    L << QString();
}

void Communication(QStringList& L, int base, int n, const TPDO_Entry& e, const char* title)
{
    const QString s = Hex(base + n, 4);
    Head(L, s, 4, QLatin1String(title) + Dec(n + 1), "0x09");
    Sub(L, s + QStringLiteral("sub0"), QStringLiteral("Number of Entries"), "0x0005", "ro", QStringLiteral("0x03"), "0");
    Sub(L, s + QStringLiteral("sub1"), QStringLiteral("COB-ID"), "0x0007", "rw", QStringLiteral("0x") + Hex(e.COB_ID, 8),
        "0");
    Sub(L, s + QStringLiteral("sub2"), QStringLiteral("Transmission Type"), "0x0005", "rw", QStringLiteral("0xFE"), "0");
    Sub(L, s + QStringLiteral("sub3"), QStringLiteral("Inhibit Time"), "0x0006", "rw", QStringLiteral("0x0"), "0");
}

void Mapping(QStringList& L, int base, int n, const TPDO_Entry& e, const QString& title, int object)
{
    const QString s = Hex(base + n, 4);
    const int D = e.Dimension;
    Head(L, s, int64_t(D) + 1, title, "0x09");
    Sub(L, s + QStringLiteral("sub0"), QStringLiteral("Number of Entries"), "0x0005", "ro",
        QStringLiteral("0x") + Hex(D, 2), "0");
    for (int k = 1; k <= D; ++k)
        Sub(L, s + QStringLiteral("sub") + Dec(k), QStringLiteral("Mapping Entry ") + Dec(k), "0x0007", "ro",
            QStringLiteral("0x") + Hex(object + n, 4) + Hex(k, 2) + QStringLiteral("08"), "0");
}

void Application(QStringList& L, int base, int n, const TPDO_Entry& e, const char* title, const char* sub0Access,
                 const char* varName, const char* varAccess)
{
    const QString s = Hex(base + n, 4);
    const int D = e.Dimension;
    Head(L, s, int64_t(D) + 1, QLatin1String(title) + Dec(n + 1), "0x08");
    Sub(L, s + QStringLiteral("sub0"), QStringLiteral("Number of Entries"), "0x0005", sub0Access,
        QStringLiteral("0x") + Hex(D, 2), "0");
    for (int k = 1; k <= D; ++k)
        Sub(L, s + QStringLiteral("sub") + Dec(k), QLatin1String(varName) + Dec(k), "0x0005", varAccess,
            QStringLiteral("0x00"), "1");
}

} // namespace

void Load_PDO_Table()
{
    Num_RX_PDO = 0;
    Num_TX_PDO = 0;
    TXMLDocument doc;
    if (!Gen_Load_Existing(doc, File_PDO_CANopen))
        return;
    const int rx = Load_PDO_Section(doc, "Receive_PDO", 0);
    const int tx = Load_PDO_Section(doc, "Transmit_PDO", EDS_Max_PDO);
    Num_RX_PDO = rx;
    Num_TX_PDO = tx;
}

void Load_SDO_Server_Table()
{
    TXMLDocument doc;
    if (!Gen_Load_Existing(doc, File_SDO_Server_CANopen))
        return;
    Load_SDO_Section(doc, "SDO_Read", true);
    Load_SDO_Section(doc, "SDO_Write", false);
}

int Find_SDO_Index(int Index)
{
    for (size_t i = 0; i < SDO_List.size(); ++i)
        if (SDO_List[i].Index == Index)
            return int(i);
    return -1;
}

void Sort_SDO_Sub_Indexs()
{
    for (SDO_Index& e : SDO_List) {
        std::vector<SDO_Sub_Type>& s = e.Sub_Indexs;
        bool swapped = true;
        while (swapped) {
            swapped = false;
            for (size_t i = 0; i + 1 < s.size(); ++i) {
                if (s[i].Sub > s[i + 1].Sub) {
                    std::swap(s[i], s[i + 1]);
                    swapped = true;
                }
            }
        }
    }
}

QString EDS_Date_Text(const QDateTime& Now)
{
    const QDate d = Now.date();
    return Two(d.month()) + QStringLiteral("-") + Two(d.day()) + QStringLiteral("-") + Dec(d.year());
}

QString EDS_Time_Text(const QDateTime& Now)
{
    // A true 12-hour clock: the hour after midnight and the hour after noon are both 12.
    const int h = Now.time().hour();
    const int m = Now.time().minute();
    const int hour = h % 12 == 0 ? 12 : h % 12;
    return Two(hour) + QStringLiteral(":") + Two(m) + (h < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

QStringList EDS_Lines(const QDateTime& Now)
{
    const QString date = EDS_Date_Text(Now);
    const QString time = EDS_Time_Text(Now);
    const int RX = Num_RX_PDO;
    const int TX = Num_TX_PDO;
    QStringList L;

    L << QStringLiteral("[FileInfo]") << QStringLiteral("FileName=") + EDS_File_Name << QStringLiteral("FileVersion=1")
      << QStringLiteral("FileRevision=0") << QStringLiteral("EDSVersion=4.0")
      << QStringLiteral("Description=") + EDS_Description << QStringLiteral("CreationTime=") + time
      << QStringLiteral("CreationDate=") + date << QStringLiteral("CreatedBy=Norvane")
      << QStringLiteral("ModificationTime=") + time << QStringLiteral("ModificationDate=") + date
      << QStringLiteral("ModifiedBy=Norvane") << QString();

    L << QStringLiteral("[DeviceInfo]") << QStringLiteral("VendorName=Norvane") << QStringLiteral("VendorNumber=0x00")
      << QStringLiteral("ProductName=") + EDS_Description << QStringLiteral("ProductNumber=") + EDS_Product_Number
      << QStringLiteral("RevisionNumber=0x0") << QStringLiteral("OrderCode=") + EDS_Order_Code;
    static const char* const Rates[] = {"10=1", "20=1", "50=1", "125=1", "250=1", "500=1", "800=0", "1000=1"};
    for (const char* r : Rates)
        L << QStringLiteral("BaudRate_") + QLatin1String(r);
    L << QStringLiteral("DynamicChannelsSupported=0") << QStringLiteral("GroupMessaging=0")
      << QStringLiteral("LSS_Supported=0") << QStringLiteral("Granularity=0") << QStringLiteral("SimpleBootUpSlave=1")
      << QStringLiteral("SimpleBootUpMaster=0") << QStringLiteral("NrOfRXPDO=") + Dec(RX)
      << QStringLiteral("NrOfTXPDO=") + Dec(TX) << QString();

    L << QStringLiteral("[Comments]") << QStringLiteral("Lines=0") << QString();
    L << QStringLiteral("[DummyUsage]");
    for (int i = 1; i <= 7; ++i)
        L << QStringLiteral("Dummy000%1=0").arg(i);
    L << QString();
    L << QStringLiteral("[MandatoryObjects]") << QStringLiteral("SupportedObjects=3") << QStringLiteral("1=0x1000")
      << QStringLiteral("2=0x1001") << QStringLiteral("3=0x1018") << QString();

    L << QStringLiteral("[OptionalObjects]") << QStringLiteral("SupportedObjects=") + Dec(8 + 3 * RX + 3 * TX);
    static const char* const Optional[] = {"0x1005", "0x1006", "0x1008", "0x1014",
                                           "0x1016", "0x1017", "0x1029", "0x1280"};
    int number = 0;
    for (const char* o : Optional)
        L << Dec(++number) + QStringLiteral("=") + QLatin1String(o);
    auto objects = [&](int base, int count) {
        for (int n = 0; n < count; ++n)
            L << Dec(++number) + QStringLiteral("=0x") + Hex(base + n, 4);
    };
    objects(0x1400, RX);
    objects(0x1600, RX);
    objects(0x1800, TX);
    objects(0x1A00, TX);
    objects(0x7000, RX);
    objects(0x7050, TX);
    L << QString();

    L << QStringLiteral("[ManufacturerObjects]") << QStringLiteral("SupportedObjects=") + Dec(int64_t(SDO_List.size()));
    for (size_t i = 0; i < SDO_List.size(); ++i)
        L << Dec(int64_t(i) + 1) + QStringLiteral("=0x") + Hex(SDO_List[i].Index, 4);
    L << QString();

    const int fixedCount = int(std::size(Fixed_Objects));
    for (int i = 0; i < fixedCount; ++i) {
        const TFixed& f = Fixed_Objects[i];
        L << QStringLiteral("[") + QLatin1String(f.Section) + QStringLiteral("]");
        auto key = [&L](const char* name, const char* value) {
            if (*value)
                L << QLatin1String(name) + QStringLiteral("=") + QLatin1String(value);
        };
        key("SubNumber", f.SubNumber);
        key("ParameterName", f.ParameterName);
        key("ObjectType", f.ObjectType);
        key("DataType", f.DataType);
        key("AccessType", f.AccessType);
        key("DefaultValue", f.DefaultValue);
        key("PDOMapping", f.PDOMapping);
        // The last fixed object runs straight into whatever follows.
        if (i + 1 < fixedCount)
            L << QString();
    }

    for (int n = 0; n < RX; ++n)
        Communication(L, 0x1400, n, PDO_List[n], "Receive PDO Communication Parameter ");
    for (int n = 0; n < RX; ++n)
        Mapping(L, 0x1600, n, PDO_List[n], QStringLiteral("Receive PDO Mapping Parameter"), 0x7000);
    for (int n = 0; n < TX; ++n)
        Communication(L, 0x1800, n, PDO_List[EDS_Max_PDO + n], "Transmit PDO Communication Parameter ");
    for (int n = 0; n < TX; ++n)
        Mapping(L, 0x1A00, n, PDO_List[EDS_Max_PDO + n], QStringLiteral("Transmit PDO Mapping Parameter ") + Dec(n + 1),
                0x7050);
    for (int n = 0; n < RX; ++n)
        Application(L, 0x7000, n, PDO_List[n], "RPDO", "ro", RPDO_Var_Names[n], "rww");
    for (int n = 0; n < TX; ++n)
        Application(L, 0x7050, n, PDO_List[EDS_Max_PDO + n], "TPDO", "rw", TPDO_Var_Names[n], "rwr");

    for (const SDO_Index& e : SDO_List) {
        if (e.Sub_Indexs.empty())
            continue;
        const QString I = Hex(e.Index, 4);
        const bool hasSub0 = e.Sub_Indexs.front().Sub == 0;
        const int64_t count = int64_t(e.Sub_Indexs.size());
        L << QStringLiteral("[") + I + QStringLiteral("]");
        L << QStringLiteral("SubNumber=") + Dec(hasSub0 ? count : count + 1);
        L << QStringLiteral("ParameterName=App Vars") << QStringLiteral("ObjectType=0x9") << QString();
        if (!hasSub0)
            L << QStringLiteral("[") + I + QStringLiteral("sub0]") << QStringLiteral("ParameterName=Largest Sub-Index supported")
              << QStringLiteral("ObjectType=0x7") << QStringLiteral("DataType=0x0005") << QStringLiteral("AccessType=ro")
              << QStringLiteral("DefaultValue=0x") + Hex(e.Sub_Indexs.back().Sub, 2) << QStringLiteral("PDOMapping=0")
              << QString();
        for (const SDO_Sub_Type& s : e.Sub_Indexs) {
            L << QStringLiteral("[") + I + QStringLiteral("sub") + Dec(s.Sub) + QStringLiteral("]");
            L << QStringLiteral("ParameterName=Application Variable") << QStringLiteral("ObjectType=0x7");
            if (s.Quantity == 1)
                L << QStringLiteral("DataType=0x0005") << QStringLiteral("LowLimit=0x00") << QStringLiteral("HighLimit=0xFF")
                  << QStringLiteral("DefaultValue=0x00");
            else if (s.Quantity == 2)
                L << QStringLiteral("DataType=0x0006") << QStringLiteral("LowLimit=0x0000")
                  << QStringLiteral("HighLimit=0xFFFF") << QStringLiteral("DefaultValue=0x0000");
            else
                L << QStringLiteral("DataType=0x0007") << QStringLiteral("LowLimit=0x00000000")
                  << QStringLiteral("HighLimit=0xFFFFFFFF") << QStringLiteral("DefaultValue=0x00000000");
            L << (s.Readonly ? QStringLiteral("AccessType=ro") : QStringLiteral("AccessType=rw"));
            L << QStringLiteral("PDOMapping=0") << QString();
        }
    }

    L << QString();
    return L;
}

bool Write_EDS_File(const QString& Path)
{
    SDO_List.clear();
    try {
        Load_PDO_Table();
        Load_SDO_Server_Table();
    } catch (const EXMLError& e) {
        platform::MessageDlg(e.Message(), platform::mtError, platform::mbOK, Gen_Owner());
        return false;
    }
    Sort_SDO_Sub_Indexs();

    const QStringList lines = EDS_Lines(platform::TheServices().LocalTime());
    return Gen_Write_Lines(Path, lines);
}

void Build_EDS_File()
{
    QString chosen;
    if (!Gen_Ask_File(&TFVelmoraeFirmWare::SaveEDS, QStringLiteral("Electronic Data Sheet (*.eds)|*.eds"),
                      QStringLiteral("*.eds"), chosen))
        return;
    Write_EDS_File(chosen);
}

void Register_UEds()
{
    Register_Step(QStringLiteral("Build_EDS_File"), [] { Build_EDS_File(); });
}
