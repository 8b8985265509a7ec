// What every rule-table dialog does alike, dialog by dialog through the same real path: the row
// buttons clicked with the mouse on the grid in front (copy and paste with one copy flag per grid,
// insert, delete only on Yes), a click on a row number, and the hints of a header and a data cell.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "grid/AdvCGrid.h"
#include "render/LbButton.h"
#include "tables/UBACnetSlaveSetAccess.h"
#include "tables/UIEC61850_Variables.h"
#include "tables/UKNXAccess.h"
#include "tables/UMQTT_Set_Topic.h"
#include "tables/UOPC_UA_Server_Access.h"
#include "tables/UReceiveCAN.h"
#include "tables/US7_Protocol_Set_Access.h"
#include "tables/USNMP_Trap_Access.h"
#include "tables/USet_PDO_Access.h"
#include "tables/USet_SDO_Client_Access.h"
#include "tables/USet_SDO_Server_Access.h"
#include "tables/UTLS_Server_Known_Cert.h"
#include "tables/UTransmitCAN.h"

#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

using namespace platform;
using namespace table_test;

namespace {

struct TDialog_Case {
    const char* Name;
    QString* File;
    const char* File_Name;
    std::function<TFTable_Frame*()> Make;
    bool Click_Selects_Row;   // a click on a row number selects the row
    const char* Header_Hint;  // the hint shown on column 1's header of the first grid
    const char* Cell_Hint;    // and on its cell of row 1
};

template <class T>
std::function<TFTable_Frame*()> Make()
{
    return [] { return new T; };
}

const TDialog_Case Dialogs[] = {
    {"S7", &File_S7_Protocol, "S7_Protocol.xml", Make<TFS7_Protocol_Set_Access>(), true, "Enable or Disable the S7comm Rule", "a1"},
    {"SNMP", &File_SNMP_Trap, "SNMP_Trap.xml", Make<TFSNMP_Trap_Access>(), false, "Enable/Disable the Row with the SNMP Trap Request", ""},
    {"MQTT", &File_MQTT_Set_Topic, "MQTT_Set_Topic.xml", Make<TFMQTT_Set_Topic>(), false, "Insert the MQTT Topic", ""},
    {"BACnet", &File_BACnet_Slave, "BACnet_Slave.xml", Make<TFBACnetSlaveSetAccess>(), true, "", ""},
    {"KNX", &File_KNX_SetAccess, "KNX_SetAccess.xml", Make<TFKNXAccess>(), true, "Enable/Disabel the KNX Rule", ""},
    {"IEC61850", &File_IEC61850_Variables, "IEC61850_Variables.xml", Make<TFIEC61850_Variables>(), true, "", ""},
    {"OPC_UA", &File_OPC_UA_Server, "OPC_UA_Server.xml", Make<TFOPC_UA_Server_Access>(), false, "", ""},
    {"TLS", &File_TLS_Known_Cert, "TLS_Known_Cert.xml", Make<TFTLS_Server_Known_Cert>(), true, "", ""},
    {"ReceiveCAN", &File_CAN_Rec_Frames, "CAN_Rec_Frames.xml", Make<TFReceiveCAN>(), false, "Enable or Disable the Rule for CAN Receive", ""},
    {"TransmitCAN", &File_CAN_Send_Frames, "CAN_Send_Frames.xml", Make<TFTransmitCAN>(), false, "Enable or Disable the Rule for CAN Transmit", ""},
    {"PDO", &File_PDO_CANopen, "PDO_CANopen.xml", Make<TFSet_PDO_Access>(), true, "Insert the CobID of the CANopen PDO in Receive", ""},
    {"SDO_Client", &File_SDO_Client_CANopen, "SDO_Client_CANopen.xml", Make<TFSet_SDO_Client_Access>(), true, "Insert the ID Device of CANopen Device of SDO Request", ""},
    {"SDO_Server", &File_SDO_Server_CANopen, "SDO_Server_CANopen.xml", Make<TFSet_SDO_Server_Access>(), true, "Insert the Index of SDO", ""},
};

class TableHandlers : public Shown_Table_Test, public ::testing::WithParamInterface<TDialog_Case> {
protected:
    void SetUp() override
    {
        TableDialogTest::SetUp();
        Shown_SW_Code = "KT40917";
        *GetParam().File = Path(QLatin1String(GetParam().File_Name));
        Form.reset(GetParam().Make());
        Form->Create();
        Show(Form.get());
        Pages = Form->findChild<QTabWidget*>();
        if (Pages)
            for (int i = 0; i < Pages->count(); ++i)
                Sheets.push_back({Pages->widget(i), Pages->widget(i)->findChild<TVerIvovavOzed*>()});
        else
            Sheets.push_back({nullptr, Form->findChild<TVerIvovavOzed*>()});
    }
    void TearDown() override
    {
        Shown_Table_Test::TearDown();
        if (Form)
            Form->hide();
    }
    // Brings the grid's tab to the front and makes the row current.
    void Front(size_t i, int Row)
    {
        if (Pages)
            Pages->setCurrentWidget(Sheets[i].first);
        Pump();
        Sheets[i].second->SetRow(Row);
    }
    void Press(TLbButton* b)
    {
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
        Pump();
    }
    // Fills rows 1 .. 3 of a grid with texts of their own.
    static void Fill(TVerIvovavOzed* g)
    {
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c < g->ColCount(); ++c)
                g->SetCells(c, r, QStringLiteral("%1%2").arg(QChar('a' + r - 1)).arg(c));
    }

    // The cells of a row from column 2 on: column 1 of a string grid is its Enable box, which a
    // row keeps in place.
    static QStringList Data_Of(TVerIvovavOzed* g, int r) { return Row_Of(g, r).mid(1); }

    std::unique_ptr<TFTable_Frame> Form;
    QTabWidget* Pages = nullptr;
    std::vector<std::pair<QWidget*, TVerIvovavOzed*>> Sheets;
};

} // namespace

TEST_P(TableHandlers, CopyPastesIntoTheGridItCameFromOnly)
{
    for (size_t i = 0; i < Sheets.size(); ++i)
        Fill(Sheets[i].second);
    for (size_t i = 0; i < Sheets.size(); ++i) {
        TVerIvovavOzed* g = Sheets[i].second;
        Front(i, 1);
        Press(Form->Btn_CopyRow);
        Front(i, 3);
        Services.MessageBoxAnswers = {mrYes};  // the row is in use: paste over it
        Press(Form->Btn_PasteRow);
        EXPECT_EQ(Data_Of(g, 3), Data_Of(g, 1)) << "grid " << i;
        // The other grid's copy was forgotten: pasting there changes nothing.
        for (size_t j = 0; j < Sheets.size(); ++j) {
            if (j == i)
                continue;
            const QStringList before = Data_Of(Sheets[j].second, 2);
            Front(j, 2);
            Services.MessageBoxes.clear();
            Press(Form->Btn_PasteRow);
            EXPECT_EQ(Data_Of(Sheets[j].second, 2), before) << "grid " << j;
            ASSERT_EQ(Services.MessageBoxes.size(), 1);
            EXPECT_EQ(Services.MessageBoxes[0].Text, Lang_Table[1102]);
        }
    }
}

TEST_P(TableHandlers, InsertAndDeleteActOnTheGridInFront)
{
    for (size_t i = 0; i < Sheets.size(); ++i)
        Fill(Sheets[i].second);
    for (size_t i = 0; i < Sheets.size(); ++i) {
        TVerIvovavOzed* g = Sheets[i].second;
        const QStringList first = Data_Of(g, 1);
        const QStringList second = Data_Of(g, 2);
        std::vector<QStringList> others;
        for (size_t j = 0; j < Sheets.size(); ++j)
            others.push_back(Data_Of(Sheets[j].second, 1));
        Front(i, 1);
        Press(Form->Btn_InsRow);
        EXPECT_EQ(Data_Of(g, 2), first);
        EXPECT_EQ(Data_Of(g, 3), second);
        EXPECT_NE(Data_Of(g, 1), first);

        Services.MessageBoxes.clear();
        Services.MessageBoxAnswers = {mrNo};
        Front(i, 1);
        Press(Form->Btn_DelRow);
        ASSERT_EQ(Services.MessageBoxes.size(), 1);
        EXPECT_TRUE(Services.MessageBoxes[0].Text.contains(QLatin1Char('1')));
        EXPECT_EQ(Data_Of(g, 2), first);

        Services.MessageBoxAnswers = {mrYes};
        Press(Form->Btn_DelRow);
        EXPECT_EQ(Data_Of(g, 1), first);
        EXPECT_EQ(Data_Of(g, 2), second);
        for (size_t j = 0; j < Sheets.size(); ++j) {
            if (j != i) {
                EXPECT_EQ(Data_Of(Sheets[j].second, 1), others[j]) << "grid " << j;
            }
        }
    }
}

TEST_P(TableHandlers, ClickOnARowNumberSelectsTheRow)
{
    for (size_t i = 0; i < Sheets.size(); ++i) {
        TVerIvovavOzed* g = Sheets[i].second;
        Front(i, 1);
        Click(g, 0, 2);
        const TGridRect s = g->Selection();
        const bool whole = s.Top == 2 && s.Bottom == 2 && s.Left == g->FixedCols() && s.Right == g->ColCount() - 1;
        EXPECT_EQ(whole, GetParam().Click_Selects_Row) << "grid " << i;
    }
}

TEST_P(TableHandlers, HeaderAndCellHints)
{
    TVerIvovavOzed* g = Sheets[0].second;
    Fill(g);
    Front(0, 1);
    EXPECT_EQ(Hint_At(g, 1, 0).toStdString(), GetParam().Header_Hint);
    EXPECT_EQ(Hint_At(g, 1, 1).toStdString(), GetParam().Cell_Hint);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, TableHandlers, ::testing::ValuesIn(Dialogs),
                         [](const ::testing::TestParamInfo<TDialog_Case>& info) { return std::string(info.param.Name); });
