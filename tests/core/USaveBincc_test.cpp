#include <gtest/gtest.h>

#include "HexFixture.h"
#include "TestSupport.h"
#include "core/UComon.h"
#include "core/USaveBincc.h"
#include "platform/AtomicFile.h"
#include "platform/ScriptedServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <vector>

namespace {

// The bytes against a fixture of tests/fixtures/compiler.
void ExpectMatches(const QByteArray& actual, const QString& fixture)
{
    kt_test::ExpectHexMatches(actual, "compiler/" + fixture);
}

uint32_t U32(const QByteArray& b, int off)
{
    return uint32_t(uint8_t(b[off])) | uint32_t(uint8_t(b[off + 1])) << 8 | uint32_t(uint8_t(b[off + 2])) << 16
         | uint32_t(uint8_t(b[off + 3])) << 24;
}

// A configuration folder in a temporary program folder, filled from fixture folders.
class ConfFolder {
public:
    ConfFolder()
    {
        QDir(dir.path()).mkpath("PROJECTS/Test");
        path = dir.filePath("PROJECTS/Test");
    }
    void CopyFrom(const QString& fixtureFolder)
    {
        const QDir src(kt_test::FixturePath("compiler/" + fixtureFolder));
        for (const QString& f : src.entryList(QDir::Files))
            EXPECT_TRUE(QFile::copy(src.filePath(f), File(f)));
    }
    void Write(const QString& name, const QByteArray& data)
    {
        QFile f(File(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QString File(const QString& name) const { return QDir(path).filePath(name); }
    QByteArray Bank(int n) const { return kt_test::ReadFile(File(QStringLiteral("bin/bank%1.bin").arg(n))); }
    void Compile(TSaveBincc& c) const
    {
        c.Compile_Banks(File("ParGen.xml"), File("S7_Protocol.xml"), File("OPC_UA_Server.xml"));
    }
    void CompileAndSave(TSaveBincc& c) const
    {
        Compile(c);
        c.Save_Banks(path);
    }
    // Points the program's globals at this configuration.
    void Activate() const
    {
        Active_Conf_Path = path;
        File_ParGen = File("ParGen.xml");
        File_S7_Protocol = File("S7_Protocol.xml");
        File_OPC_UA_Server = File("OPC_UA_Server.xml");
    }

    QTemporaryDir dir;
    QString path;
};

QByteArray RuleRows(int count, const char* enable)
{
    QByteArray rows;
    for (int i = 0; i < count; ++i)
        rows += QByteArray("<row Enable=\"") + enable + "\" PLC_Address=\"10.0.0.1\" PLC_Port=\"102\"/>";
    return rows;
}

QByteArray S7File(const QByteArray& read, const QByteArray& write)
{
    return "<S7_Protocol><S7_Protocol_Read>" + read + "</S7_Protocol_Read><S7_Protocol_Write>" + write
         + "</S7_Protocol_Write></S7_Protocol>";
}

QByteArray OpcFile(const QByteArray& rows)
{
    return "<OPC_UA_Server><OPC_UA_Server_Variables>" + rows + "</OPC_UA_Server_Variables></OPC_UA_Server>";
}

} // namespace

TEST(USaveBincc, BanksFromParametersFileMatchHandMadeImages)
{
    struct Case {
        const char* folder;  // fixture input folder; empty: no input files at all
        const char* bank1;
        const char* bank3;
    };
    const Case cases[] = {
        {"", "bank1_empty.hex", "bank3_empty.hex"},
        {"pargen_defaults", "bank1_pargen_defaults.hex", "bank3_pargen_defaults.hex"},
        {"pargen_gateways", "bank1_pargen_gateways.hex", "bank3_pargen_gateways.hex"},
        {"pargen_odd", "bank1_pargen_odd.hex", "bank3_pargen_odd.hex"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        ConfFolder conf;
        if (*c.folder)
            conf.CopyFrom(c.folder);
        TSaveBincc compiler;
        conf.CompileAndSave(compiler);
        ExpectMatches(conf.Bank(1), c.bank1);
        EXPECT_EQ(conf.Bank(2), QByteArray(28672, '\0'));
        ExpectMatches(conf.Bank(3), c.bank3);
    }
}

TEST(USaveBincc, ReadAndWriteRulesOfEveryCode)
{
    ConfFolder conf;
    conf.CopyFrom("s7_codes");
    TSaveBincc compiler;
    conf.CompileAndSave(compiler);
    const QByteArray bank1 = conf.Bank(1);
    const QByteArray bank2 = conf.Bank(2);
    ASSERT_EQ(bank2.size(), 28672);
    EXPECT_EQ(U32(bank1, 1624), 19u);
    uint32_t sum = 0;
    for (int i = 0; i < 2044; ++i)
        sum += uint8_t(bank1[i]);
    EXPECT_EQ(U32(bank1, 2044), sum);

    // Records 0, 9 and 10 byte by byte.
    ExpectMatches(bank2, "bank2_s7_codes.hex");

    // The other rows, field by field, from the code tables.
    struct Rule {
        int record;
        int subnet;  // third octet of the PLC address
        int last;    // fourth octet
        uint8_t plcType, dataType, block, area, flags;
        int position;
    };
    const Rule rules[] = {
        {1, 1, 11, 0, 2, 10, 129, 0x00, 2},   {2, 1, 12, 10, 3, 11, 130, 0x00, 4},
        {3, 1, 13, 20, 4, 12, 131, 0x08, 6},  {4, 1, 14, 30, 5, 13, 128, 0x00, 8},
        {5, 1, 15, 40, 6, 14, 128, 0x00, 10}, {6, 1, 16, 0, 7, 15, 129, 0x00, 12},
        {7, 1, 17, 1, 8, 8, 130, 0x00, 14},   {8, 1, 18, 0, 1, 8, 131, 0x00, 16},
        {11, 2, 11, 0, 2, 10, 129, 0x30, 2},  {12, 2, 12, 10, 3, 11, 130, 0x28, 4},
        {13, 2, 13, 20, 4, 12, 131, 0x3D, 6}, {14, 2, 14, 30, 5, 13, 128, 0x20, 8},
        {15, 2, 15, 40, 6, 14, 128, 0x20, 10}, {16, 2, 16, 0, 7, 15, 129, 0x25, 12},
        {17, 2, 17, 1, 8, 8, 130, 0x20, 14},  {18, 2, 18, 0, 1, 8, 131, 0x38, 16},
    };
    for (const Rule& r : rules) {
        SCOPED_TRACE(r.record);
        const QByteArray rec = bank2.mid(r.record * 28, 28);
        const char address[4] = {char(r.last), char(r.subnet), char(168), char(192)};
        EXPECT_EQ(rec.left(4), QByteArray(address, 4));
        EXPECT_EQ(U32(rec, 4), 1000u);
        EXPECT_EQ(uint8_t(rec[12]), 102);
        EXPECT_EQ(uint8_t(rec[14]), r.position);
        EXPECT_EQ(uint8_t(rec[19]), r.plcType);
        EXPECT_EQ(uint8_t(rec[20]), r.dataType);
        EXPECT_EQ(uint8_t(rec[21]), r.block);
        EXPECT_EQ(uint8_t(rec[23]), r.flags);
        EXPECT_EQ(uint8_t(rec[25]), r.area);
        EXPECT_EQ(uint8_t(rec[26]), 1);  // rack 0, slot 1
    }
    EXPECT_EQ(bank2.mid(19 * 28), QByteArray((1024 - 19) * 28, '\0'));
}

// Each attribute of a rule row as text: the program's number rule (leading blanks, signs, hex
// forms, overflow to the default), exact code names, references in values, names that only look
// alike, and what a missing attribute gives.
TEST(USaveBincc, RuleAttributesAreReadAsTheirTexts)
{
    struct Case {
        const char* attributes;            // of one write rule
        uint32_t TS7_Rule::*u32 = nullptr;  // the field it sets...
        uint16_t TS7_Rule::*u16 = nullptr;
        uint8_t TS7_Rule::*u8 = nullptr;
        uint32_t expected;                 // ...and its value
    };
    const Case cases[] = {
        {"PLC_Address=\"10.1.2.3\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0x0A010203},
        {"PLC_Address=\"0x0A.1.$2.3\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0x0A010203},
        {"PLC_Address=\"10.1.2.3 \"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0},
        {"PLC_Address=\"10.1.2\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0},
        {"PLC_Address=\"\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0},
        {"PLC_Address=\"&#x31;0.1.2.3\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0x0A010203},
        {"PLC_Address=\"&#xFEFF;10.1.2.3\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0},
        {"PLC_Address=\"001.002.255.000\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0x0102FF00},
        {"PLC_Address=\"1.2.3.4.5\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0},
        {"PLC_Address=\"1.2.3.256\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0},
        {"PLC_Address=\"1.2.0003.4\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0x01020304},
        {"PLC_Address=\"1..2.3\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0},
        {"PLC_Address=\"1.2.3.\"", &TS7_Rule::PLC_Address, nullptr, nullptr, 0},
        {"PollTime=\"250\"", &TS7_Rule::PollTime, nullptr, nullptr, 250},
        {"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},
        {"PollTime=\"  +250\"", &TS7_Rule::PollTime, nullptr, nullptr, 250},
        {"PollTime=\"250 \"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},
        {"PollTime=\"&#9;250\"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},
        {"PollTime=\"2147483647\"", &TS7_Rule::PollTime, nullptr, nullptr, 2147483647u},
        {"PollTime=\"999999999\"", &TS7_Rule::PollTime, nullptr, nullptr, 999999999u},
        {"PollTime=\"0000000000250\"", &TS7_Rule::PollTime, nullptr, nullptr, 250},
        {"PollTime=\"2500000000\"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},
        {"PollTime=\"2147483648\"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},
        {"PollTime=\"-2147483648\"", &TS7_Rule::PollTime, nullptr, nullptr, 2147483648u},
        {"PollTime=\"99999999999999999999\"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},
        {"PollTime=\"$FFFFFFFF\"", &TS7_Rule::PollTime, nullptr, nullptr, 0xFFFFFFFFu},
        {"PollTime=\"-0x10\"", &TS7_Rule::PollTime, nullptr, nullptr, uint32_t(-16)},
        {"PollTime=\"$1FFFFFFFF\"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},
        {"PollTime=\"\xEF\xBC\x91\"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},  // a full-width digit
        {"PollTime=\"\"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},
        {"PollTime=\"-\"", &TS7_Rule::PollTime, nullptr, nullptr, 1000},
        {"PLC_Port=\"-1\"", nullptr, &TS7_Rule::PLC_Port, nullptr, 65535},
        {"PLC_Port=\"x\"", nullptr, &TS7_Rule::PLC_Port, nullptr, 0},
        {"plc_port=\"5\" PLC_Port=\"6\"", nullptr, &TS7_Rule::PLC_Port, nullptr, 6},
        {"s:PLC_Port=\"5\"", nullptr, &TS7_Rule::PLC_Port, nullptr, 0},
        {"DB_Number=\"65537\"", nullptr, &TS7_Rule::DB_Number, nullptr, 1},
        {"rack=\"3\" Rack=\"1\" x:Slot=\"5\" Slot=\"2\"", nullptr, nullptr, &TS7_Rule::Rack_Slot, 34},
        {"Slot=\"1\" Rack=\"8\"", nullptr, nullptr, &TS7_Rule::Rack_Slot, 1},  // (8 * 32 + 1) modulo 256
        {"PLC_Type=\"S7300\"", nullptr, nullptr, &TS7_Rule::PLC_Type, 10},
        {"PLC_Type=\"s7300\"", nullptr, nullptr, &TS7_Rule::PLC_Type, 0},
        {"PLC_Type=\"S7300 \"", nullptr, nullptr, &TS7_Rule::PLC_Type, 0},
        {"PLC_Type=\"Logo0BA8\"", nullptr, nullptr, &TS7_Rule::PLC_Type, 1},
        {"Data_Type=\"&#87;ord\"", nullptr, nullptr, &TS7_Rule::Data_Type, 4},
        {"", nullptr, nullptr, &TS7_Rule::Data_Type, 1},
        {"Data_Identifier=\"SFB\"", nullptr, nullptr, &TS7_Rule::Data_Identifier, 15},
        {"Data_Identifier=\"\"", nullptr, nullptr, &TS7_Rule::Data_Identifier, 8},
        {"PLC_Area=\"Inputs &#40;I)\"", nullptr, nullptr, &TS7_Rule::PLC_Area, 129},
        {"PLC_Area=\"Flags (M) (Merker)\"", nullptr, nullptr, &TS7_Rule::PLC_Area, 131},
        {"Swap=\"&#89;\" OnCMD=\"Y\"", nullptr, nullptr, &TS7_Rule::Flags, 0x34},
        {"Swap=\"y\" SwapWord=\"Y \" OnChange=\"Y\"", nullptr, nullptr, &TS7_Rule::Flags, 0x21},
        {"PLC_Bit=\"7\" Bit=\"300\"", nullptr, nullptr, &TS7_Rule::Bit, 44},
        {"Position=\"1500\"", nullptr, &TS7_Rule::Position, nullptr, 1500},
    };
    ConfFolder conf;
    QByteArray rows;
    for (const Case& c : cases)
        rows += QByteArray("<row ") + c.attributes + "/>";
    conf.Write("S7_Protocol.xml", S7File("", rows));
    TSaveBincc compiler;
    conf.Compile(compiler);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.attributes);
        const TS7_Rule& r = compiler.S7_Rules[i];
        const uint32_t got = c.u32 ? r.*c.u32 : c.u16 ? r.*c.u16 : r.*c.u8;
        EXPECT_EQ(got, c.expected);
    }

    // Rows count by their Enable text exactly; a missing one is enabled.
    conf.Write("S7_Protocol.xml",
               S7File("<row Enable=\"y\" PLC_Port=\"1\"/><row Enable=\"Y \" PLC_Port=\"2\"/><row PLC_Port=\"3\"/>"
                      "<row enable=\"N\" Enable=\"&#89;\" PLC_Port=\"4\"/>",
                      ""));
    conf.Compile(compiler);
    EXPECT_EQ(U32(QByteArray(reinterpret_cast<const char*>(compiler.Par_Bank.data()), 2048), 1624), 2u);
    EXPECT_EQ(compiler.S7_Rules[0].PLC_Port, 3);
    EXPECT_EQ(compiler.S7_Rules[1].PLC_Port, 4);
}

// The same for the variables of the OPC UA server.
TEST(USaveBincc, VariableAttributesAreReadAsTheirTexts)
{
    ConfFolder conf;
    conf.Write("OPC_UA_Server.xml",
               OpcFile("<row Type=\"Double\" Position=\"-1\" Length=\"x\" Name=\"caf&#233;\" ReadWrite=\"Read/Write\"/>"
                       "<row Type=\"double\" Position=\"x\" ReadWrite=\"read/write\"/>"
                       "<row Name=\"\" Length=\" 7\" Type=\"Signed Byte\" ReadWrite=\"Read/Write \"/>"));
    TSaveBincc compiler;
    conf.Compile(compiler);
    const auto& v = compiler.OPC_UA_Server_Data.Variables;
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].VarType, 10u);
    EXPECT_EQ(v[0].Position, 65535);
    EXPECT_EQ(v[0].Length, 1);  // not a number
    EXPECT_EQ(v[0].Name, QString::fromUtf8("caf\u00e9"));
    EXPECT_EQ(v[0].Options, 1u);
    EXPECT_EQ(v[1].VarType, 0u);
    EXPECT_EQ(v[1].Position, 0);
    EXPECT_EQ(v[1].Length, 0);  // missing
    EXPECT_TRUE(v[1].Name.isEmpty());
    EXPECT_EQ(v[1].Options, 0u);
    EXPECT_EQ(v[2].VarType, 1u);
    EXPECT_EQ(v[2].Length, 7);
    EXPECT_EQ(v[2].Options, 0u);
}

TEST(USaveBincc, OpcUaBlockWithNtpAndVariablesOfSeveralTypes)
{
    ConfFolder conf;
    conf.CopyFrom("opcua");
    TSaveBincc compiler;
    conf.CompileAndSave(compiler);
    ExpectMatches(conf.Bank(3), "bank3_opcua.hex");

    // The smallest case of the pointer arithmetic: an NTP text and one variable.
    conf.Write("OPC_UA_Server.xml", OpcFile("<row Enable=\"Y\" Type=\"Int32\" Name=\"T1\"/>"));
    conf.Compile(compiler);
    const TOPC_UA_Server2& d = compiler.OPC_UA_Server_Data;
    EXPECT_EQ(d.Add_Num_Var, 0xA0010u);
    EXPECT_EQ(d.Add_NTP, 0xA0021u);
    ASSERT_EQ(d.Variables.size(), 1u);
    EXPECT_EQ(d.Variables[0].Add_Name, 0xA002Au);
    EXPECT_EQ(compiler.Bank3_Len, 45u);
}

TEST(USaveBincc, OpcUaTypeCodes)
{
    const std::pair<const char*, uint32_t> codes[] = {
        {"Boolean", 0}, {"Signed Byte", 1}, {"Byte", 2},   {"Int16", 3},       {"UInt16", 4},
        {"Int32", 5},   {"UInt32", 6},      {"Int64", 7},  {"UInt64", 8},      {"Float", 9},
        {"Double", 10}, {"String", 11},     {"ByteString", 14}, {"", 0},       {"float", 0},
        {"Int", 0},     {" Double", 0},
    };
    for (auto [text, code] : codes)
        EXPECT_EQ(OPC_UA_Type_Code(text), code) << text;
}

TEST(USaveBincc, CompilingTwiceGivesIdenticalFiles)
{
    ConfFolder a, b;
    a.CopyFrom("s7_codes");
    a.CopyFrom("opcua");
    b.CopyFrom("pargen_gateways");
    TSaveBincc compiler;
    a.CompileAndSave(compiler);
    const QByteArray first[3] = {a.Bank(1), a.Bank(2), a.Bank(3)};
    // Another configuration in between leaves nothing behind.
    b.CompileAndSave(compiler);
    a.CompileAndSave(compiler);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(a.Bank(n), first[n - 1]) << "bank" << n;
    EXPECT_EQ(first[0].size(), 2048);
    EXPECT_EQ(first[1].size(), 28672);
    EXPECT_EQ(first[2].size(), 128);
}

TEST(USaveBincc, RuleAndBufferLimitsAreBoundsNotCuts)
{
    struct Case {
        QByteArray s7, opc;
        bool ok;
    };
    const QByteArray longName(131072 - 34, 'n');  // 16 header + 16 record + 1 + name + 0 = 131072
    const Case cases[] = {
        {S7File(RuleRows(512, "Y") + RuleRows(5, "N"), RuleRows(512, "Y")), {}, true},
        {S7File(RuleRows(512, "Y"), RuleRows(513, "Y")), {}, false},
        {S7File(RuleRows(1025, ""), {}), {}, true},  // an empty Enable is not "Y"
        {{}, OpcFile("<row Enable=\"Y\" Name=\"" + longName + "\"/>"), true},
        {{}, OpcFile("<row Enable=\"Y\" Name=\"" + longName + "n\"/>"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s7.size() + c.opc.size());
        ConfFolder conf;
        if (!c.s7.isEmpty())
            conf.Write("S7_Protocol.xml", c.s7);
        if (!c.opc.isEmpty())
            conf.Write("OPC_UA_Server.xml", c.opc);
        TSaveBincc compiler;
        if (c.ok) {
            EXPECT_NO_THROW(conf.Compile(compiler));
        } else {
            EXPECT_THROW(conf.Compile(compiler), ECompileError);
            EXPECT_THROW(compiler.Save_Banks(conf.path), ECompileError);  // nothing left to save
        }
    }
}

// Each refused configuration gives exactly one error box naming the cause, and the banks of the
// previous update stay as they were.
TEST(USaveBincc, RefusedCompileShowsOneBoxAndKeepsOldBanks)
{
    struct Case {
        const char* file;
        QByteArray data;
        const char* named;  // a text the message must hold
    };
    const Case cases[] = {
        {"ParGen.xml", "<Par_Gen><S7_Protocol_IP1>1</Par_Gen>", "ParGen.xml"},
        {"S7_Protocol.xml", "<S7_Protocol><S7_Protocol_Read>", "S7_Protocol.xml"},
        {"OPC_UA_Server.xml", "", "OPC_UA_Server.xml"},
        {"S7_Protocol.xml", "<S7_Protocol><S7_Protocol_Read/></S7_Protocol>", "S7_Protocol_Write"},
        {"OPC_UA_Server.xml", "<OPC_UA_Server/>", "OPC_UA_Server_Variables"},
        {"OPC_UA_Server.xml", "<Other><OPC_UA_Server_Variables/></Other>", "OPC_UA_Server"},
        {"S7_Protocol.xml", S7File(RuleRows(1025, "Y"), {}), "1024"},
        {"OPC_UA_Server.xml", OpcFile("<row Name=\"" + QByteArray(131072, 'n') + "\"/>"), "131072"},
        {"OPC_UA_Server.xml", OpcFile("<row Enable=\"Y\" Name=\"A\"/><row Enable=\"Y\" Name=\"Temp\xCE\xA9\"/>"),
         "Temp\xCE\xA9"},
        {"ParGen.xml", "<Par_Gen><NTP_Server_URL>\xE6\x99\x82.example</NTP_Server_URL></Par_Gen>",
         "\xE6\x99\x82.example"},
    };
    const QByteArray oldBanks[3] = {"old bank 1", "old bank 2", "old bank 3"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        ConfFolder conf;
        QDir(conf.path).mkpath("bin");
        for (int n = 1; n <= 3; ++n)
            conf.Write(QStringLiteral("bin/bank%1.bin").arg(n), oldBanks[n - 1]);
        conf.Write(c.file, c.data);
        conf.Activate();
        platform::ScriptedServices services;
        platform::ScopedServices scoped(services);

        const bool done = Compile_Banks() && Save_Banks();
        EXPECT_FALSE(done);
        ASSERT_EQ(services.MessageBoxes.size(), 1);
        EXPECT_EQ(services.MessageBoxes[0].Type, platform::mtError);
        EXPECT_TRUE(services.MessageBoxes[0].Text.contains(QString::fromUtf8(c.named)))
            << services.MessageBoxes[0].Text.toStdString();
        for (int n = 1; n <= 3; ++n)
            EXPECT_EQ(conf.Bank(n), oldBanks[n - 1]);
    }
}

TEST(USaveBincc, SaveMakesTheBinFolderAndWritesAllOrNothing)
{
    platform::ScriptedServices services;
    platform::ScopedServices scoped(services);
    {
        ConfFolder conf;  // no bin folder
        conf.Activate();
        ASSERT_TRUE(Compile_Banks());
        EXPECT_TRUE(Save_Banks());
        EXPECT_EQ(conf.Bank(1).size(), 2048);
        EXPECT_EQ(conf.Bank(2).size(), 28672);
        EXPECT_EQ(conf.Bank(3).size(), 17);
        EXPECT_TRUE(services.MessageBoxes.isEmpty());
    }
    // One bank that cannot be replaced: one box, and no bank changes.
    for (int blocked = 1; blocked <= 3; ++blocked) {
        SCOPED_TRACE(blocked);
        services.MessageBoxes.clear();
        ConfFolder conf;
        QDir(conf.path).mkpath("bin");
        for (int n = 1; n <= 3; ++n) {
            if (n == blocked)
                QDir(conf.path).mkpath(QStringLiteral("bin/bank%1.bin/inner").arg(n));
            else
                conf.Write(QStringLiteral("bin/bank%1.bin").arg(n), "old");
        }
        conf.Activate();
        ASSERT_TRUE(Compile_Banks());
        EXPECT_FALSE(Save_Banks());
        ASSERT_EQ(services.MessageBoxes.size(), 1);
        EXPECT_TRUE(services.MessageBoxes[0].Text.contains(QStringLiteral("bank%1.bin").arg(blocked)));
        for (int n = 1; n <= 3; ++n) {
            if (n != blocked) {
                EXPECT_EQ(conf.Bank(n), QByteArray("old")) << n;
            }
        }
    }
}

// The banks are one set: the program dying, or a step failing, anywhere in a save leaves bin with
// all old banks or all new ones, and the next save tidies up what the broken one left.
TEST(USaveBincc, BanksAreSwappedInAsOneSet)
{
    struct Killed {};
    struct Case {
        platform::TFileStep step;
        bool kill;
    } cases[] = {{platform::TFileStep::Create, true},  {platform::TFileStep::Sync, true},
                 {platform::TFileStep::Exchange, true}, {platform::TFileStep::Remove, true},
                 {platform::TFileStep::Exchange, false}, {platform::TFileStep::Write, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << int(c.step) << (c.kill ? " killed" : " failed"));
        ConfFolder conf;
        QDir(conf.path).mkpath("bin");
        for (int n = 1; n <= 3; ++n)
            conf.Write(QStringLiteral("bin/bank%1.bin").arg(n), "old");
        TSaveBincc compiler;
        conf.Compile(compiler);
        // With nothing left over from before, the first removal is the one of the old set, after the swap.
        platform::SetFileFaultHook([&](platform::TFileStep step, const QString&) {
            if (step != c.step)
                return 0;
            if (c.kill)
                throw Killed{};
            return ENOSPC;
        });
        bool thrown = false;
        QString message;
        try {
            compiler.Save_Banks(conf.path);
        } catch (const Killed&) {
            thrown = true;
        } catch (const ECompileError& e) {
            message = e.Message();
        }
        platform::SetFileFaultHook({});
        EXPECT_TRUE(thrown || !message.isEmpty());
        if (!c.kill) {
            EXPECT_TRUE(message.contains(QString::fromLocal8Bit(strerror(ENOSPC)))) << message.toStdString();
        }
        const bool newSet = conf.Bank(1).size() == 2048;
        for (int n = 1; n <= 3; ++n)
            EXPECT_EQ(conf.Bank(n) == QByteArray("old"), !newSet) << n;
        EXPECT_EQ(newSet, c.step == platform::TFileStep::Remove);

        compiler.Save_Banks(conf.path);
        EXPECT_EQ(conf.Bank(1).size(), 2048);
        EXPECT_EQ(conf.Bank(2).size(), 28672);
        EXPECT_EQ(QDir(conf.path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"bin"});
        EXPECT_EQ(QDir(conf.File("bin")).entryList(QDir::Files), (QStringList{"bank1.bin", "bank2.bin", "bank3.bin"}));
    }
}
