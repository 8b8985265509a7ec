// The main road of the program: a new configuration, its parameters, an S7comm table and an OPC UA
// table entered through their dialogs from the main window's steps, then the update step, whose
// three banks are compared byte by byte with banks worked out by hand.
#include "TableTest.h"
#include "tests/core/HexFixture.h"

#include "core/UBoot.h"
#include "core/UComon.h"
#include "core/UNew_Project.h"
#include "core/UParGen.h"
#include "core/UVelmoraeFirmWare.h"
#include "render/LbButton.h"
#include "grid/AdvCGrid.h"
#include "tables/UOPC_UA_Server_Access.h"
#include "tables/US7_Protocol_Set_Access.h"

#include <QLabel>
#include <QLineEdit>
#include <QMap>

#include <functional>
#include <vector>

using namespace platform;
using namespace table_test;

namespace {

// A bank against its fixture of tests/fixtures/tables, which gives the bank's whole size.
void Expect_Bank(const QByteArray& actual, const QString& fixture)
{
    ASSERT_GE(kt_test::ReadHex("tables/" + fixture).Size, 0) << fixture.toStdString();
    kt_test::ExpectHexMatches(actual, "tables/" + fixture);
}

class EndToEnd : public TableDialogTest {
protected:
    void SetUp() override
    {
        TableDialogTest::SetUp();
        Set_Program_Folder_Override(Dir.path());
        Reset_Program_Options();
        Active_Conf_Path.clear();
        // The windows of this road, in their order of creation.
        Main = Create_FVelmoraeFirmWare();
        Create_FNew_Project(Main);
        Create_FParGen(Main);
        Create_FBoot(Main);
        Create_FS7_Protocol_Set_Access(Main);
        Create_FOPC_UA_Server_Access(Main);
        Main->Show_Modal_Hook = [this](TForm* form) {
            Shown << form->objectName();
            form->SetModalResult(mrNone);
            if (form->OnShow)
                form->OnShow();
            if (auto it = Person.find(form->objectName()); it != Person.end())
                it.value()();
            return form->ModalResult() == mrNone ? mrCancel : form->ModalResult();
        };
    }
    void TearDown() override
    {
        for (const char* name : {"FNew_Project", "FParGen", "FVelmoraeFirmWare"})
            Unregister_Window(name);
        delete Main;
        FNew_Project = nullptr;
        FParGen = nullptr;
        Set_Program_Folder_Override(QString());
        Reset_Program_Options();
        Active_Conf_Path.clear();
    }

    TFVelmoraeFirmWare* Main = nullptr;
    QStringList Shown;
    // What the person does in each dialog once it is shown.
    QMap<QString, std::function<void()>> Person;
};

} // namespace

TEST_F(EndToEnd, TablesEnteredInTheDialogsReachTheBanks)
{
    Person["FNew_Project"] = [] {
        FNew_Project->E_New_Proj->setText("Plant");
        FNew_Project->Btn_OKClick();
    };
    Person["FParGen"] = [] { FParGen->Btn_OKClick(nullptr); };  // the defaults
    Person["FS7_Protocol_Set_Access"] = [] {
        TFS7_Protocol_Set_Access* f = FS7_Protocol_Set_Access;
        const QStringList read1 = {"Y", "192.168.1.10", "102", "S7300", "0", "2", "Word", "DB", "5",
                                   "Inputs (I)", "100", "0", "250", "12", "0", "Y", "N", "Tank level"};
        const QStringList read2 = {"N", "192.168.1.11", "102", "S7400", "0", "3", "Byte", "DB", "1",
                                   "Inputs (I)", "0", "0", "100", "20", "0", "N", "N", "spare"};
        const QStringList write1 = {"Y", "10.0.0.5", "102", "S71200", "1", "1", "Bit", "DB", "65535", "Output (Q)",
                                    "7", "3", "0", "Y", "Y", "1499", "7", "N", "Y", "Valve"};
        for (int c = 0; c < read1.size(); ++c) {
            f->ACG_S7_Read->SetCells(c + 1, 1, read1[c]);
            f->ACG_S7_Read->SetCells(c + 1, 2, read2[c]);
        }
        for (int c = 0; c < write1.size(); ++c)
            f->ACG_S7_Write->SetCells(c + 1, 1, write1[c]);
        f->Btn_OKClick(nullptr);
    };
    Person["FOPC_UA_Server_Access"] = [] {
        TFOPC_UA_Server_Access* f = FOPC_UA_Server_Access;
        TVerIvovavOzed* g = f->ASG;
        auto choose = [f, g](int r, const QString& type) {
            g->SetCells(2, r, type);
            f->ASGComboChange(g, 2, r, int(f->VarType.indexOf(type)), type);
        };
        choose(1, "Float");
        g->SetCells(3, 1, "10");
        g->SetCells(5, 1, "T1");
        choose(2, "Int16");
        g->SetCells(3, 2, "30");
        g->SetCheckBoxState(1, 2, false);
        choose(3, "String");
        g->SetCells(3, 3, "20");
        g->SetCells(4, 3, "32");
        g->SetCells(6, 3, "Read Only");
        f->Btn_OKClick(nullptr);
    };

    Main->Btn_Click(Main->Btn_New);
    ASSERT_TRUE(Conf_Is_Active());
    for (TLbButton* step : {Main->Btn_Prm_Gen, Main->Btn_S7_Protocol_Access, Main->Btn_OPC_UA_Server_Access,
                            Main->Btn_CreateBin})
        Main->Btn_Click(step);

    Expect_No_Messages();
    EXPECT_EQ(Shown, (QStringList{"FNew_Project", "FParGen", "FS7_Protocol_Set_Access", "FOPC_UA_Server_Access",
                                  "FBoot"}));
    const QString bin = Active_Conf_Path + "/bin/";
    Expect_Bank(kt_test::ReadFile(bin + "bank1.bin"), "e2e_bank1.hex");
    Expect_Bank(kt_test::ReadFile(bin + "bank2.bin"), "e2e_bank2.hex");
    Expect_Bank(kt_test::ReadFile(bin + "bank3.bin"), "e2e_bank3.hex");

    // The next showing of a table dialog starts from what was stored.
    Person.clear();
    Main->Btn_Click(Main->Btn_S7_Protocol_Access);
    EXPECT_EQ(FS7_Protocol_Set_Access->ACG_S7_Write->Cells(20, 1), "Valve");
    EXPECT_EQ(FS7_Protocol_Set_Access->ACG_S7_Read->Cells(2, 3), "");
}

TEST_F(EndToEnd, LanguageChangeReachesTheTables)
{
    Lang_Table.Set(1201, "Acces S7comm");
    Lang_Table.Set(2716, "Genre");
    Main->Change_Language();
    EXPECT_EQ(FS7_Protocol_Set_Access->L_SW_Desc->text(), "Acces S7comm");
    EXPECT_EQ(FOPC_UA_Server_Access->ASG->Cells(2, 0), "Genre");
}
