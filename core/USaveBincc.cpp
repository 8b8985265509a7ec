#include "core/USaveBincc.h"

#include "core/UComon.h"
#include "core/XMLDocument.h"
#include "platform/AtomicFile.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

// ---- little-endian stores ----

void Store16(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void Store32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

// A sequential writer into one of the fixed output buffers; never writes past its end.
class TBankWriter {
public:
    TBankWriter(std::vector<uint8_t>& buffer, uint32_t pos) : FBuf(buffer), FPos(pos) {}
    uint32_t Pos() const { return FPos; }
    // The next n bytes, for a record filled in place with the stores above.
    uint8_t* Record(uint32_t n) { return Take(n); }
    void U8(uint8_t v) { Store8(Take(1), v); }
    void U16(uint16_t v) { Store16(Take(2), v); }
    void U32(uint32_t v) { Store32(Take(4), v); }
    void Bytes(const uint8_t* data, uint32_t n)
    {
        uint8_t* p = Take(n);
        std::copy(data, data + n, p);
    }
    // A text one byte per character, then a 0 byte.
    void Text0(const QString& s)
    {
        uint8_t* p = Take(uint32_t(s.size()) + 1);
        for (QChar c : s)
            *p++ = uint8_t(c.unicode() & 0xFF);
        *p = 0;
    }

private:
    static void Store8(uint8_t* p, uint8_t v) { *p = v; }
    uint8_t* Take(uint32_t n)
    {
        if (uint64_t(FPos) + n > FBuf.size())
            throw ECompileError(QStringLiteral("Error! A bank is larger than its buffer of %1 bytes.")
                                    .arg(FBuf.size()));
        uint8_t* p = FBuf.data() + FPos;
        FPos += n;
        return p;
    }

    std::vector<uint8_t>& FBuf;
    uint32_t FPos;
};

QString FileLabel(const QString& path)
{
    return QFileInfo(path).fileName();
}

// Loads an input file; a file that is not well-formed stops the compile.
void LoadInput(TXMLDocument& doc, const QString& path)
{
    QString why;
    if (!doc.LoadFromFile(path, &why, TXMLKeep::AttributePlaces))
        throw ECompileError(QStringLiteral("Error! The file \"%1\" cannot be read: %2").arg(FileLabel(path), why));
}

TXMLNode RequireSection(const TXMLNode& root, const QString& name, const QString& path)
{
    const TXMLNode section = root.FindNode(name);
    if (section.IsNull())
        throw ECompileError(QStringLiteral("Error! The file \"%1\" has no element \"%2\".").arg(FileLabel(path), name));
    return section;
}

// Table rows are the section's elements; comments and the like are not rows. A row without an
// Enable attribute counts as enabled, as the table dialogs load it.
bool ValueEnabled(const char* enable)
{
    return !enable || (enable[0] == 'Y' && enable[1] == 0);
}

// The attribute readers below take a value as the tree holds it (UTF-8, null when missing), read
// by TXMLNode::ReadAttributes; each gives what the same read through a QString gave.
bool ValueIsY(const char* v)
{
    return v && v[0] == 'Y' && v[1] == 0;
}

// An integer attribute by the program's number rule; `missing` when absent, `bad` when not a number.
// Nearly every value is a few plain digits, read here as the rule reads them (leading zeros
// included); anything else (blanks, signs, hex forms, ten digits or more) goes to the rule.
int ValueInt(const char* v, int missing, int bad)
{
    if (!v)
        return missing;
    int value = 0;
    int k = 0;
    for (; k < 9; ++k) {
        const unsigned d = unsigned(uint8_t(v[k])) - '0';
        if (d > 9)
            break;
        value = value * 10 + int(d);
    }
    if (k > 0 && v[k] == 0)
        return value;
    return Utf8_To_Int_Def(v, bad);
}

int ValueInt(const char* v, int def)
{
    return ValueInt(v, def, def);
}

// An IPv4 address attribute as Conv_IP_Address_Utf8 reads it: false when it has a fault. Four
// parts of one to three plain digits up to 255 are read here, anything else by the rule.
bool ValueAddress(const char* v, uint8_t (&b)[4])
{
    const char* p = v;
    for (int k = 0; k < 4; ++k) {
        unsigned part = 0;
        int digits = 0;
        for (; digits < 3; ++digits) {
            const unsigned d = unsigned(uint8_t(p[digits])) - '0';
            if (d > 9)
                break;
            part = part * 10 + d;
        }
        p += digits;
        if (digits == 0 || part > 255 || *p != (k < 3 ? '.' : 0))
            return !Conv_IP_Address_Utf8(v, b[0], b[1], b[2], b[3]);
        b[k] = uint8_t(part);
        ++p;
    }
    return true;
}

// Characters above code 255 cannot be stored one byte per character.
bool FitsOneByte(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

template <size_t N>
uint8_t CodeOf(const QString& text, const std::pair<const char*, uint8_t> (&table)[N], uint8_t other)
{
    for (const auto& [name, code] : table)
        if (text == QLatin1String(name))
            return code;
    return other;
}

// The same on a value as the tree holds it; a missing value is an empty text. The table's names
// are ASCII, so equal bytes are exactly equal texts. The first byte sorts out nearly every other
// name; the rest is compared by the library (some names are long).
template <size_t N>
uint8_t CodeOf(const char* text, const std::pair<const char*, uint8_t> (&table)[N], uint8_t other)
{
    if (!text)
        return other;  // no name of a table is empty
    for (const auto& [name, code] : table)
        if (name[0] == text[0] && std::strcmp(text, name) == 0)
            return code;
    return other;
}

const std::pair<const char*, uint8_t> kPlcTypes[] = {
    {"Logo0BA8", 1}, {"S7200", 0}, {"S7300", 10}, {"S7400", 20}, {"S71200", 30}, {"S71500", 40}};
const std::pair<const char*, uint8_t> kS7DataTypes[] = {
    {"Bit", 1}, {"Byte", 2}, {"Char", 3}, {"Word", 4}, {"Int", 5}, {"DWord", 6}, {"DInt", 7}, {"Real", 8}};
const std::pair<const char*, uint8_t> kS7Blocks[] = {
    {"OB", 8}, {"DB", 10}, {"SDB", 11}, {"FC", 12}, {"SFC", 13}, {"FB", 14}, {"SFB", 15}};
const std::pair<const char*, uint8_t> kS7Areas[] = {
    {"Direct peripheral access (P)", 128}, {"Inputs (I)", 129}, {"Output (Q)", 130}, {"Flags (M) (Merker)", 131}};
const std::pair<const char*, uint8_t> kOpcUaTypes[] = {
    {"Boolean", 0}, {"Signed Byte", 1}, {"Byte", 2},   {"Int16", 3},   {"UInt16", 4},
    {"Int32", 5},   {"UInt32", 6},      {"Int64", 7},  {"UInt64", 8},  {"Float", 9},
    {"Double", 10}, {"String", 11},     {"ByteString", 14}};

} // namespace

// ---------------------------------------------------------------------------------------------

ECompileError::ECompileError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString ECompileError::Message() const
{
    return QString::fromStdString(what());
}

// ---- code tables ----

uint8_t PLC_Type_Code(const QString& Text)
{
    return CodeOf(Text, kPlcTypes, 0);
}

uint8_t S7_Data_Type_Code(const QString& Text)
{
    return CodeOf(Text, kS7DataTypes, 1);
}

uint8_t S7_Block_Code(const QString& Text)
{
    return CodeOf(Text, kS7Blocks, 8);
}

uint8_t S7_Area_Code(const QString& Text)
{
    return CodeOf(Text, kS7Areas, 128);
}

uint32_t OPC_UA_Type_Code(const QString& Text)
{
    return CodeOf(Text, kOpcUaTypes, 0);
}

// ---------------------------------------------------------------------------------------------

TSaveBincc::TSaveBincc() : Bank1(Bank_Buffer_Size), Bank2(Bank_Buffer_Size), Bank3(Bank_Buffer_Size) {}

void TSaveBincc::Compile_Banks(const QString& File_ParGen, const QString& File_S7_Protocol,
                               const QString& File_OPC_UA_Server)
{
    Bank1_Len = Bank2_Len = Bank3_Len = 0;
    Reset_Par_Bank();
    Clear_S7_Rules();
    Reset_OPC_UA_Server();
    Load_ParGen(File_ParGen);
    Store32(&Par_Bank[1620], Bank2_Device_Address);
    Store32(&Par_Bank[1624], uint32_t(Load_S7_Rules(File_S7_Protocol)));
    Store32(&Par_Bank[1568], Bank3_Device_Address);
    Load_OPC_UA_Server(File_OPC_UA_Server, Bank3_Device_Address);
    const uint32_t size3 = OPC_UA_Bank_Size();
    if (size3 > Bank_Buffer_Size)
        throw ECompileError(QStringLiteral("Error! The OPC UA Server data need %1 bytes, more than the %2 bytes "
                                           "the device can hold. Shorten the variable names.")
                                .arg(size3)
                                .arg(Bank_Buffer_Size));
    const uint32_t len1 = Put_Par_Bank(0, Bank1);
    const uint32_t len2 = Put_S7_Bank(0, Bank2);
    const uint32_t len3 = Put_OPC_UA_Bank(0, Bank3);
    Bank1_Len = len1;
    Bank2_Len = len2;
    Bank3_Len = len3;
}

// ---- bank 1 ----

void TSaveBincc::Reset_Par_Bank()
{
    Par_Bank.fill(0);
    uint8_t* p = Par_Bank.data();
    Store32(p + 0, 250000);
    Store32(p + 4, 250000);
    Store32(p + 8, 0);
    Store32(p + 12, 9600);
    const uint8_t opcIp[4] = {192, 168, 2, 205};
    const uint8_t opcMask[4] = {255, 255, 255, 0};
    std::copy(opcIp, opcIp + 4, p + 40);
    std::copy(opcMask, opcMask + 4, p + 44);
    std::fill(p + 48, p + 52, uint8_t(255));
    Store16(p + 52, 10000);
    Store16(p + 54, 10001);
    Store16(p + 56, 10001);
    std::fill(p + 436, p + 444, uint8_t(8));
}

void TSaveBincc::Load_ParGen(const QString& File_ParGen)
{
    if (File_ParGen.isEmpty() || !QFileInfo::exists(File_ParGen))
        return;
    TXMLDocument doc;
    LoadInput(doc, File_ParGen);
    const TXMLNode root = doc.DocumentElement();

    // The element's text, or nothing when the element is missing or holds more than one text.
    auto text = [&](const char* name, QString& out) {
        const TXMLNode e = root.FindNode(name);
        return !e.IsNull() && e.TryText(out);
    };
    auto number = [&](const char* name, int def) {
        QString t;
        return text(name, t) ? platform::StrToIntDef(t, def) : def;
    };
    auto enabled = [&](const char* name) {
        QString t;
        return text(name, t) && t == QLatin1String("1");
    };
    auto octets = [&](const char* prefix, const int (&defs)[4], int offset) {
        for (int i = 0; i < 4; ++i) {
            const QByteArray name = QByteArray(prefix) + char('1' + i);
            Par_Bank[size_t(offset + i)] = uint8_t(number(name.constData(), defs[i]));
        }
    };

    octets("S7_Protocol_IP", {192, 168, 0, 10}, 388);
    octets("S7_Protocol_SM", {255, 255, 255, 0}, 392);
    octets("S7_Protocol_GAT", {192, 168, 0, 1}, 396);
    if (!enabled("S7_Protocol_EN_GAT"))
        std::fill(&Par_Bank[396], &Par_Bank[400], uint8_t(255));
    QString ntp;
    OPC_UA_Server_Data.NTP = text("NTP_Server_URL", ntp) ? ntp : QString();
    OPC_UA_Server_Data.NTP_Time = uint32_t(number("NTP_Poll_Time", 1000));
    octets("OPC_UA_Server_IP", {192, 168, 0, 5}, 40);
    octets("OPC_UA_Server_SM", {255, 255, 255, 0}, 44);
    octets("OPC_UA_Server_GAT", {192, 168, 0, 1}, 48);
    if (!enabled("OPC_UA_Server_EN_GAT"))
        std::fill(&Par_Bank[48], &Par_Bank[52], uint8_t(255));
    octets("OPC_UA_Server_DNS", {8, 8, 8, 8}, 1420);
    if (!enabled("OPC_UA_Server_EN_DNS"))
        std::fill(&Par_Bank[1420], &Par_Bank[1424], uint8_t(0));
    OPC_UA_Server_Data.Port = uint16_t(number("OPC_UA_Server_Port", 4840));

    if (!FitsOneByte(OPC_UA_Server_Data.NTP))
        throw ECompileError(QStringLiteral("Error! The NTP server \"%1\" holds characters that cannot be sent to the "
                                           "device: only characters up to code 255 are allowed.")
                                .arg(OPC_UA_Server_Data.NTP));
}

uint32_t TSaveBincc::Put_Par_Bank(uint32_t Pos, std::vector<uint8_t>& Buffer)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < Par_Bank_Size - 4; ++i)
        sum += Par_Bank[i];
    Store32(&Par_Bank[Par_Bank_Size - 4], sum);
    TBankWriter w(Buffer, Pos);
    w.Bytes(Par_Bank.data(), Par_Bank_Size);
    return w.Pos();
}

// ---- bank 2 ----

void TSaveBincc::Clear_S7_Rules()
{
    S7_Rules.fill(TS7_Rule{});
}

namespace {

// The attributes of an S7comm rule row, in the order the table dialog writes them.
enum TS7_Attr {
    aEnable, aPLC_Address, aPLC_Port, aPLC_Type, aRack, aSlot, aData_Type, aData_Identifier, aDB_Number,
    aPLC_Area, aPLC_Add, aPLC_Bit, aPollTime, aOnChange, aOnCMD, aPosition, aBit, aSwap, aSwapWord, aS7_Attr_Count
};
const TXMLAttributeNames& S7_Attr_Names()
{
    static const TXMLAttributeNames names{
        "Enable", "PLC_Address", "PLC_Port", "PLC_Type", "Rack", "Slot", "Data_Type", "Data_Identifier", "DB_Number",
        "PLC_Area", "PLC_Add", "PLC_Bit", "PollTime", "OnChange", "OnCMD", "Position", "Bit", "Swap", "SwapWord"};
    return names;
}

} // namespace

void TSaveBincc::Fill_S7_Rule(const char* const* v, TS7_Rule& Rule, bool Write)
{
    Rule = TS7_Rule{};
    uint8_t b[4] = {0, 0, 0, 0};
    if (v[aPLC_Address] && ValueAddress(v[aPLC_Address], b))
        Rule.PLC_Address = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    Rule.PLC_Port = uint16_t(ValueInt(v[aPLC_Port], 0));
    Rule.PLC_Type = CodeOf(v[aPLC_Type], kPlcTypes, 0);
    const uint32_t rack = uint32_t(ValueInt(v[aRack], 0));
    const uint32_t slot = uint32_t(ValueInt(v[aSlot], 0));
    Rule.Rack_Slot = uint8_t(rack * 32 + slot);
    Rule.Data_Type = CodeOf(v[aData_Type], kS7DataTypes, 1);
    Rule.Data_Identifier = CodeOf(v[aData_Identifier], kS7Blocks, 8);
    Rule.DB_Number = uint16_t(ValueInt(v[aDB_Number], 0));
    Rule.PLC_Area = CodeOf(v[aPLC_Area], kS7Areas, 128);
    Rule.PLC_Add = uint16_t(ValueInt(v[aPLC_Add], 0));
    Rule.PLC_Bit = uint8_t(ValueInt(v[aPLC_Bit], 0));
    Rule.PollTime = uint32_t(ValueInt(v[aPollTime], 1000));
    uint8_t flags = 0;
    if (Write) {
        flags = S7_Flag_Write;
        if (ValueIsY(v[aOnChange]))
            flags |= S7_Flag_OnChange;
        if (ValueIsY(v[aOnCMD]))
            flags |= S7_Flag_OnCMD;
    }
    Rule.Position = uint16_t(ValueInt(v[aPosition], 0));
    Rule.Bit = uint8_t(ValueInt(v[aBit], 0));
    if (ValueIsY(v[aSwap]))
        flags |= S7_Flag_Swap;
    if (ValueIsY(v[aSwapWord]))
        flags |= S7_Flag_SwapWord;
    Rule.Flags = flags;
}

int TSaveBincc::Load_S7_Rules(const QString& File_S7_Protocol)
{
    if (File_S7_Protocol.isEmpty() || !QFileInfo::exists(File_S7_Protocol))
        return 0;
    TXMLDocument doc;
    LoadInput(doc, File_S7_Protocol);
    const TXMLNode root = doc.DocumentElement();
    const TXMLNode sections[2] = {RequireSection(root, QStringLiteral("S7_Protocol_Read"), File_S7_Protocol),
                                  RequireSection(root, QStringLiteral("S7_Protocol_Write"), File_S7_Protocol)};
    // Each row's attributes are read once, in document order. The rules are filled as they come
    // and the rest only counted: a table that does not fit is refused whole, never cut.
    int enabled = 0;
    const TXMLAttributeNames& names = S7_Attr_Names();
    const char* v[aS7_Attr_Count];
    for (int s = 0; s < 2; ++s)
        for (const TXMLNode& row : sections[s].ChildElements()) {
            doc.ReadLoadedAttributes(row, names, v);
            if (!ValueEnabled(v[aEnable]))
                continue;
            if (enabled < S7_Rules_Max)
                Fill_S7_Rule(v, S7_Rules[size_t(enabled)], s == 1);
            ++enabled;
        }
    if (enabled > S7_Rules_Max) {
        Clear_S7_Rules();
        throw ECompileError(QStringLiteral("Error! The S7comm table holds %1 enabled rules; the device holds at most "
                                           "%2 rules.")
                                .arg(enabled)
                                .arg(S7_Rules_Max));
    }
    return enabled;
}

uint32_t TSaveBincc::Put_S7_Bank(uint32_t Pos, std::vector<uint8_t>& Buffer) const
{
    TBankWriter w(Buffer, Pos);
    for (const TS7_Rule& r : S7_Rules) {
        uint8_t* p = w.Record(S7_Rule_Size);
        Store32(p + 0, r.PLC_Address);
        Store32(p + 4, r.PollTime);
        Store16(p + 8, r.PLC_Add);
        Store16(p + 10, r.DB_Number);
        Store16(p + 12, r.PLC_Port);
        Store16(p + 14, r.Position);
        Store16(p + 16, r.Reserved1);
        p[18] = r.Bit;
        p[19] = r.PLC_Type;
        p[20] = r.Data_Type;
        p[21] = r.Data_Identifier;
        p[22] = r.Reserved2;
        p[23] = r.Flags;
        p[24] = r.PLC_Bit;
        p[25] = r.PLC_Area;
        p[26] = r.Rack_Slot;
        p[27] = r.Reserved3;
    }
    return w.Pos();
}

// ---- bank 3 ----

void TSaveBincc::Reset_OPC_UA_Server()
{
    OPC_UA_Server_Data = TOPC_UA_Server2{};
}

void TSaveBincc::Load_OPC_UA_Server(const QString& File_OPC_UA_Server, uint32_t Base)
{
    TOPC_UA_Server2& d = OPC_UA_Server_Data;
    if (!File_OPC_UA_Server.isEmpty() && QFileInfo::exists(File_OPC_UA_Server)) {
        TXMLDocument doc;
        LoadInput(doc, File_OPC_UA_Server);
        const TXMLNode root = doc.DocumentElement();
        if (root.NodeName() != QLatin1String("OPC_UA_Server"))
            throw ECompileError(QStringLiteral("Error! The file \"%1\" has no element \"OPC_UA_Server\".")
                                    .arg(FileLabel(File_OPC_UA_Server)));
        const TXMLNode section = RequireSection(root, QStringLiteral("OPC_UA_Server_Variables"), File_OPC_UA_Server);
        d.Variables.clear();
        int rowNumber = 0;
        for (const TXMLNode& row : section.ChildElements()) {
            ++rowNumber;
            static const TXMLAttributeNames names{"Enable", "Type", "Position", "Length", "Name", "ReadWrite"};
            const char* all[6];
            doc.ReadLoadedAttributes(row, names, all);
            if (!ValueEnabled(all[0]))
                continue;
            const char* const* a = all + 1;
            TOPC_UA_Var2 v;
            v.VarType = CodeOf(a[0], kOpcUaTypes, 0);
            v.Position = uint16_t(ValueInt(a[1], 0, 0));
            v.Length = uint16_t(ValueInt(a[2], 0, 1));
            v.Options = a[4] && std::strcmp(a[4], "Read/Write") == 0 ? 1 : 0;
            // The name is kept as text; a leading U+FEFF is part of it.
            if (a[3])
                v.Name = TXMLNode::ValueText(a[3]);
            if (!FitsOneByte(v.Name))
                throw ECompileError(QStringLiteral("Error! The name of the OPC UA Server variable \"%1\" (row %2) holds "
                                                   "characters that cannot be sent to the device: only characters up "
                                                   "to code 255 are allowed.")
                                        .arg(v.Name)
                                        .arg(rowNumber));
            d.Variables.push_back(std::move(v));
        }
        // More records than the 16-bit count can say never fit the buffer; the size check refuses them.
        d.Num_Var = uint16_t(d.Variables.size());
    }
    d.Add_Num_Var = Base + 16;
    const uint64_t z = uint64_t(Base) + 16 + 16 * uint64_t(d.Variables.size());
    uint64_t p = z + 1;
    if (!d.NTP.isEmpty()) {
        d.Add_NTP = uint32_t(p);
        p += uint64_t(d.NTP.size()) + 1;
    } else {
        d.Add_NTP = uint32_t(z);
    }
    for (TOPC_UA_Var2& v : d.Variables) {
        if (!v.Name.isEmpty()) {
            v.Add_Name = uint32_t(p);
            p += uint64_t(v.Name.size()) + 1;
        } else {
            v.Add_Name = uint32_t(z);
        }
    }
}

uint32_t TSaveBincc::OPC_UA_Bank_Size() const
{
    const TOPC_UA_Server2& d = OPC_UA_Server_Data;
    uint64_t size = 16 + 16 * uint64_t(d.Variables.size()) + 1;
    if (!d.NTP.isEmpty())
        size += uint64_t(d.NTP.size()) + 1;
    for (const TOPC_UA_Var2& v : d.Variables)
        if (!v.Name.isEmpty())
            size += uint64_t(v.Name.size()) + 1;
    return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(size);
}

uint32_t TSaveBincc::Put_OPC_UA_Bank(uint32_t Pos, std::vector<uint8_t>& Buffer) const
{
    const TOPC_UA_Server2& d = OPC_UA_Server_Data;
    TBankWriter w(Buffer, Pos);
    w.U16(d.Port);
    w.U16(d.Num_Var);
    w.U32(d.Add_Num_Var);
    w.U32(d.Add_NTP);
    w.U32(d.NTP_Time);
    for (const TOPC_UA_Var2& v : d.Variables) {
        w.U32(v.VarType);
        w.U16(v.Position);
        w.U16(v.Length);
        w.U32(v.Options);
        w.U32(v.Add_Name);
    }
    w.U8(0);
    if (!d.NTP.isEmpty())
        w.Text0(d.NTP);
    for (const TOPC_UA_Var2& v : d.Variables)
        if (!v.Name.isEmpty())
            w.Text0(v.Name);
    return w.Pos();
}

// ---- bank files ----

void TSaveBincc::Save_Banks(const QString& Conf_Path) const
{
    if (Bank1_Len == 0)
        throw ECompileError(QStringLiteral("Error! There are no compiled banks to write."));
    if (Conf_Path.isEmpty() || !QFileInfo(Conf_Path).isDir())
        throw ECompileError(QStringLiteral("Error! The configuration folder \"%1\" does not exist.").arg(Conf_Path));
    const QString bin = QDir(Conf_Path).filePath(QStringLiteral("bin"));
    // The three banks are one set: they are written into a fresh folder that then takes the place
    // of bin in one step, so the device never gets a new bank beside old ones.
    const std::vector<uint8_t>* banks[3] = {&Bank1, &Bank2, &Bank3};
    const uint32_t lens[3] = {Bank1_Len, Bank2_Len, Bank3_Len};
    std::vector<std::pair<QString, QByteArray>> files;
    for (int i = 0; i < 3; ++i)
        files.emplace_back(QStringLiteral("bank%1.bin").arg(i + 1),
                           QByteArray(reinterpret_cast<const char*>(banks[i]->data()), qsizetype(lens[i])));
    QString why;
    if (!platform::ReplaceFolderAtomic(bin, files, &why))
        throw ECompileError(QStringLiteral("Error! The banks cannot be written to \"%1\": %2")
                                .arg(QDir::toNativeSeparators(bin), why));
}

// ---- the program's compiler ----

TSaveBincc& Bank_Compiler()
{
    static TSaveBincc compiler;
    return compiler;
}

namespace {

template <class F>
bool RunReporting(F&& step)
{
    try {
        step();
        return true;
    } catch (const ECompileError& e) {
        platform::MessageDlg(e.Message(), platform::mtError, platform::mbOK);
    } catch (const std::exception& e) {
        platform::MessageDlg(QStringLiteral("Error! %1").arg(QString::fromLocal8Bit(e.what())), platform::mtError,
                             platform::mbOK);
    }
    return false;
}

} // namespace

bool Compile_Banks()
{
    return RunReporting([] { Bank_Compiler().Compile_Banks(File_ParGen, File_S7_Protocol, File_OPC_UA_Server); });
}

bool Save_Banks()
{
    return RunReporting([] { Bank_Compiler().Save_Banks(Active_Conf_Path); });
}
