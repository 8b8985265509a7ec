// Shared routines: address parsers, KNX addresses, decimal texts, serial ports, the grid helpers
// and the configuration file paths.
#include "core/UComon.h"
#include "render/LbButton.h"
#include "platform/Form.h"
#include "platform/Picture.h"
#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <cstring>

using platform::ScopedServices;
using platform::ScriptedServices;

TEST(Comon, CheckIPAddress)
{
    const struct {
        const char* text;
        bool ok;
        QStringList parts;  // outputs as far as the parsing got
    } cases[] = {
        {"192.168.2.205", true, {"192", "168", "2", "205"}},
        {"  192 . 168 .2. 205  ", true, {"192", "168", "2", "205"}},
        {"0.0.0.0", true, {"0", "0", "0", "0"}},
        {"$C0.168.2.1", true, {"$C0", "168", "2", "1"}},
        {"192.168.2", false, {"192", "168", "", ""}},
        {"192.168.2.256", false, {"192", "168", "2", "256"}},
        {"1.2.3.4.5", false, {"1", "2", "3", "4.5"}},
        {"1.2.3.", false, {"1", "2", "3", ""}},
        {"a.b.c.d", false, {"a", "b", "c", "d"}},
        {"1234", false, {"", "", "", ""}},
        {"", false, {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        QString ip[4];
        EXPECT_EQ(Check_IP_Address(c.text, ip[0], ip[1], ip[2], ip[3]), c.ok) << c.text;
        EXPECT_EQ(QStringList({ip[0], ip[1], ip[2], ip[3]}), c.parts) << c.text;
    }
}

TEST(Comon, ConvIPAddress)
{
    const struct {
        const char* text;
        bool error;
        uint8_t bytes[4];
    } cases[] = {
        {"192.168.2.205", false, {192, 168, 2, 205}},
        {" 10.0.0.1", false, {10, 0, 0, 1}},
        {"10.0.0.1 ", true, {10, 0, 0, 0}},
        {"10.0.0.300", true, {10, 0, 0, 0}},
        {"1.2.3", true, {1, 2, 0, 3}},
        {"0x0A.0.$FF.7", false, {10, 0, 255, 7}},
        {"", true, {9, 9, 9, 9}},  // untouched
    };
    for (const auto& c : cases) {
        uint8_t b[4] = {9, 9, 9, 9};
        EXPECT_EQ(Conv_IP_Address(c.text, b[0], b[1], b[2], b[3]), c.error) << c.text;
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(b[k], c.bytes[k]) << c.text << " byte " << k;
    }
}

// The UTF-8 forms give what the text forms give, for every kind of text the rule knows. The text is
// decoded as the XML tree's values are: a leading U+FEFF is a character of it.
TEST(Comon, NumbersAndAddressesFromUtf8)
{
    const auto text = [](const char* utf8) {
        QStringDecoder decoder(QStringDecoder::Utf8,
                               QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        return QString(decoder.decode(QByteArrayView(utf8)));
    };
    const char* const texts[] = {
        "0", "42", " 42", "  -42", "+42", "42 ", "4 2", "", " ", "-", "+", "$", "x", "0x", "$ff", "$FF", "x1F",
        "0X1f", "-$10", "+0x10", "$FFFFFFFF", "$100000000", "$0000000000000001", "2147483647", "2147483648",
        "-2147483648", "-2147483649", "99999999999999999999", "00000000000000000000042", "1e3", "12.5", "\t1",
        "1\t", "\xEF\xBC\x91", "\xEF\xBB\xBF" "1", "\xC2\xA0" "1", "1\xC3\xA9", "0x-1", "--1", "+-1", "-+1",
    };
    for (const char* t : texts) {
        SCOPED_TRACE(t);
        int fromText = 7, fromUtf8 = 7;
        const bool ok = platform::TryStrToInt(text(t), fromText);
        EXPECT_EQ(Utf8_To_Int(t, std::strlen(t), fromUtf8), ok);
        if (ok) {
            EXPECT_EQ(fromUtf8, fromText);
        }
        EXPECT_EQ(Utf8_To_Int_Def(t, -5), platform::StrToIntDef(text(t), -5));
    }
    // Only the given length counts.
    int v = 0;
    EXPECT_TRUE(Utf8_To_Int("12.5", 2, v));
    EXPECT_EQ(v, 12);

    const char* const addresses[] = {
        "192.168.2.205", " 10.0.0.1", "10.0.0.1 ", "10.0.0.300", "1.2.3", "0x0A.0.$FF.7", "", "1.2.3.4.5", "1.2.3.",
        "...", "a.b.c.d", "1234", "-0.1.2.3", "1..2.3", "\xEF\xBC\x91.2.3.4", "1.2.3.\xC3\xA9", ("\xEF\xBB\xBF" "1.2.3.4"),
    };
    for (const char* a : addresses) {
        SCOPED_TRACE(a);
        uint8_t t[4] = {9, 9, 9, 9}, u[4] = {9, 9, 9, 9};
        EXPECT_EQ(Conv_IP_Address_Utf8(a, u[0], u[1], u[2], u[3]),
                  Conv_IP_Address(text(a), t[0], t[1], t[2], t[3]));
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(u[k], t[k]) << "byte " << k;
    }
}

TEST(Comon, KNXAddresses)
{
    const struct {
        const char* text;
        bool group;
        bool allowZero;
        int result;
    } cases[] = {
        // individual addresses
        {"1.1.1", false, false, 0},
        {"0.0.0", false, false, 1},
        {"0.0.0", false, true, 0},
        {"15.15.255", false, false, 0},
        {" 1 . 2 . 3 ", false, false, 0},
        {"16.0.1", false, false, 1},
        {"1.16.1", false, false, 1},
        {"1.1.256", false, false, 1},
        {"1.1", false, false, 1},
        {"1.1.1.1", false, false, 1},
        {"1/1", false, false, 1},
        {"4660", false, false, 0},
        {"0", false, false, 1},
        {"65536", false, false, 1},
        // group addresses
        {"31/2047", true, false, 0},
        {"0/0", true, false, 1},
        {"0/1", true, false, 0},
        {"32/0", true, false, 1},
        {"1/2048", true, false, 1},
        {"1/7/255", true, false, 0},
        {"1/8/1", true, false, 1},
        {"1/7/256", true, false, 1},
        {"0/0/0", true, false, 1},
        {"1/2/3/4", true, false, 1},
        {"1.2", true, false, 1},
        {"65535", true, false, 0},
        {"65536", true, false, 1},
        {"abc", true, false, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check_KNX_Address(c.text, c.group, c.allowZero), c.result)
            << c.text << (c.group ? " group" : " individual") << (c.allowZero ? " zero allowed" : "");
    EXPECT_TRUE(Is_Group_Address("1/2/3"));
    EXPECT_TRUE(Is_Group_Address("4660"));
    EXPECT_FALSE(Is_Group_Address("1.1.1"));
}

TEST(Comon, DecimalSeparatorAndFloatTexts)
{
    ScriptedServices services;
    ScopedServices scope(services);
    const struct { const char* profile; QChar sep; } seps[] = {
        {",", ','}, {".", '.'}, {";", ','}, {"", ','}, {". ", '.'},
    };
    for (const auto& s : seps) {
        services.Profile["Intl/sDecimal"] = QString::fromLatin1(s.profile);
        EXPECT_EQ(Get_Decimal_Separator(), s.sep) << "profile \"" << s.profile << "\"";
    }

    const platform::TFormatSettings saved = platform::FormatSettings();
    const struct {
        QChar regional;
        QChar sep;
        const char* text;
        bool ok;
        float value;
    } cases[] = {
        {'.', '.', "1.5", true, 1.5f},
        {'.', '.', "1,5", true, 1.5f},
        {',', ',', "1,5", true, 1.5f},
        {',', ',', "1.5", true, 1.5f},
        {'.', ',', "1.5", false, 1.0f},  // the text turns into 1,5, which the "." region refuses
        {'.', '.', " -2.5e2 ", true, -250.0f},
        {'.', '.', "abc", false, 1.0f},
        {'.', '.', "", false, 1.0f},
        {'.', '.', "1,000.5", false, 1.0f},
    };
    for (const auto& c : cases) {
        platform::FormatSettings().DecimalSeparator = c.regional;
        float v = 7.0f;
        EXPECT_EQ(Conv_Str_To_Float(c.text, c.sep, v), c.ok) << c.text;
        EXPECT_FLOAT_EQ(v, c.value) << c.text;
    }
    platform::FormatSettings() = saved;
}

TEST(Comon, SerialPortsAreProbedInOrder)
{
    ScriptedServices services;
    ScopedServices scope(services);
    services.ExistingSerialPorts = {3, 1, 17};
    EXPECT_EQ(Search_COM_Ports(), QStringList({"1", "3", "17"}));
    ASSERT_EQ(services.ProbedSerialPorts.size(), 256);
    EXPECT_EQ(services.ProbedSerialPorts.first(), 1);
    EXPECT_EQ(services.ProbedSerialPorts.last(), 256);
    services.ExistingSerialPorts.clear();
    EXPECT_TRUE(Search_COM_Ports().isEmpty());
}

TEST(Comon, FourteenFilePathsInOrder)
{
    Active_Conf_Path = "/p/PROJECTS/Plant";
    Set_Conf_File_Paths();
    const QStringList expected = {
        "ParGen.xml", "S7_Protocol.xml", "KNX_SetAccess.xml", "IEC61850_Variables.xml", "TLS_Known_Cert.xml",
        "CAN_Rec_Frames.xml", "CAN_Send_Frames.xml", "SDO_Server_CANopen.xml", "SDO_Client_CANopen.xml",
        "PDO_CANopen.xml", "SNMP_Trap.xml", "MQTT_Set_Topic.xml", "BACnet_Slave.xml", "OPC_UA_Server.xml"};
    const QStringList actual = {File_ParGen, File_S7_Protocol, File_KNX_SetAccess, File_IEC61850_Variables,
                                File_TLS_Known_Cert, File_CAN_Rec_Frames, File_CAN_Send_Frames,
                                File_SDO_Server_CANopen, File_SDO_Client_CANopen, File_PDO_CANopen,
                                File_SNMP_Trap, File_MQTT_Set_Topic, File_BACnet_Slave, File_OPC_UA_Server};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], "/p/PROJECTS/Plant/" + expected[i]);
    // Without a configuration the paths are built from the empty path.
    Active_Conf_Path.clear();
    Set_Conf_File_Paths();
    EXPECT_EQ(File_ParGen, "/ParGen.xml");
    EXPECT_EQ(File_OPC_UA_Server, "/OPC_UA_Server.xml");
}

namespace {

// The smallest grid the two grid routines need.
struct FakeGrid {
    int col = 1, row = 1, colCount = 4, rowCount = 4;
    QList<QPair<int, int>> sized;
    int Col() const { return col; }
    int Row() const { return row; }
    int ColCount() const { return colCount; }
    int RowCount() const { return rowCount; }
    void SetCol(int c) { col = c; }
    void SetRow(int r) { row = r; }
    void AutoSizeCol(int c, int extra) { sized.append({c, extra}); }
};

} // namespace

TEST(Comon, JumpNextField)
{
    const struct {
        bool option;
        int key;
        int col, row;
        int newCol, newRow, newKey;
    } cases[] = {
        {true, 13, 1, 1, 2, 1, 0},   // next column
        {true, 13, 3, 1, 1, 2, 0},   // last column: first column of the next row
        {true, 13, 3, 3, 1, 1, 0},   // last cell: back to row 1
        {true, 13, 0, 2, 0, 2, 0},   // row-number column: nothing moves, key consumed
        {true, 13, 2, 0, 2, 0, 0},   // header row
        {true, 'a', 1, 1, 1, 1, 'a'},
        {false, 13, 1, 1, 1, 1, 13},
    };
    for (const auto& c : cases) {
        Enable_Jump_Field_Tables = c.option;
        FakeGrid g;
        g.col = c.col;
        g.row = c.row;
        QChar key(c.key);
        Jump_Next_Field(&g, key);
        EXPECT_EQ(g.col, c.newCol);
        EXPECT_EQ(g.row, c.newRow);
        EXPECT_EQ(key.unicode(), c.newKey);
    }
    Enable_Jump_Field_Tables = false;
}

TEST(Comon, AutoSizeColumnOnlyOnHeaderWithTheOption)
{
    FakeGrid g;
    Double_Click_Auto_Size = true;
    Auto_Size_Column(&g, 1, 2);
    EXPECT_TRUE(g.sized.isEmpty());
    Auto_Size_Column(&g, 0, 2);
    EXPECT_EQ(g.sized, (QList<QPair<int, int>>{{2, 0}}));
    Double_Click_Auto_Size = false;
    Auto_Size_Column(&g, 0, 3);
    EXPECT_EQ(g.sized.size(), 1);
}

TEST(Comon, PlaceDialogSizesCentresAndShowsTheCode)
{
    const struct {
        TDialog_Sizing sizing;
        bool centred;
        QSize min, max;
    } cases[] = {
        {TDialog_Sizing::Fixed, true, {300, 200}, {300, 200}},
        {TDialog_Sizing::Fixed, false, {300, 200}, {300, 200}},
        {TDialog_Sizing::Free, true, {0, 0}, {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX}},
        {TDialog_Sizing::Fixed_Width, true, {300, 0}, {300, QWIDGETSIZE_MAX}},
    };
    const QString saved = Shown_SW_Code;
    Shown_SW_Code = QStringLiteral("KT-TEST");
    for (const auto& c : cases) {
        platform::TForm form;
        QLabel* code = nullptr;
        QLabel* desc = nullptr;
        Make_Title_Panel(&form, 300, code, desc);
        form.move(7, 9);
        Place_Dialog(&form, code, 300, 200, c.sizing, c.centred);
        EXPECT_EQ(code->text(), QStringLiteral("KT-TEST"));
        EXPECT_EQ(form.size(), QSize(300, 200));
        EXPECT_EQ(form.minimumSize(), c.min);
        EXPECT_EQ(form.maximumSize(), c.max);
        const QPoint expected = c.centred ? QGuiApplication::primaryScreen()->availableGeometry().center() - QPoint(150, 100)
                                          : QPoint(7, 9);
        EXPECT_EQ(form.pos(), expected);

        Set_Dialog_Titles(&form, desc, QStringLiteral("Caption"), QStringLiteral("Subtitle"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Caption"));
        EXPECT_EQ(desc->text(), QStringLiteral("Subtitle"));
        EXPECT_EQ(desc->size(), desc->sizeHint());
    }
    Shown_SW_Code = saved;
}

TEST(Comon, DialogButtonHasTheProgramsLook)
{
    QWidget owner;
    for (const char* glyph : {"LBOK", static_cast<const char*>(nullptr)}) {
        TLbButton* b = Make_Dialog_Button(&owner, "Btn_Test", 16, 6, 110, glyph);
        EXPECT_EQ(b->objectName(), QStringLiteral("Btn_Test"));
        EXPECT_EQ(b->geometry(), QRect(16, 6, 110, 28));
        EXPECT_EQ(b->Style(), bsEncarta);
        EXPECT_EQ(b->Color(), Window_Color);
        EXPECT_EQ(b->HotTrackColor(), clYellow);
        EXPECT_EQ(b->ColorWhenDown(), 33023);
        EXPECT_EQ(b->Glyph().Empty(), glyph == nullptr);
    }
}
