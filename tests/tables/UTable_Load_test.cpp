// A table file that fails to load loses nothing: the rows read whole stay, a half-read row is
// dropped, and OK keeps the unreadable file as <name>.bak before writing the table as shown.
// Shown with the S7comm access dialog, whose rows stop the load on a missing attribute.
#include "TableTest.h"

#include "core/UComon.h"
#include "grid/AdvCGrid.h"
#include "tables/US7_Protocol_Set_Access.h"

#include <QFile>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

const QStringList Good_Read = {"Y", "192.168.1.10", "102", "S7300", "0", "2", "Word", "DB", "5",
                               "Inputs (I)", "100", "0", "250", "12", "0", "N", "N", "read"};

class TableLoad : public Dialog_Test<TFS7_Protocol_Set_Access> {
protected:
    void SetUp() override
    {
        Open(File_S7_Protocol, "S7_Protocol.xml");
        Read = Form->ACG_S7_Read;
    }
    QStringList Row(int r) const
    {
        QStringList l;
        for (int c = 1; c < Read->ColCount() + Read->NumHiddenColumns(); ++c)
            l << Read->Cells(c, r);
        return l;
    }
    // Four good read rules with the addresses 10.0.0.1 .. 10.0.0.4, written by the dialog itself.
    QByteArray Four_Rows()
    {
        Form->FormShow();
        for (int r = 1; r <= 4; ++r) {
            QStringList cells = Good_Read;
            cells[1] = QStringLiteral("10.0.0.%1").arg(r);
            for (int c = 0; c < cells.size(); ++c)
                Read->SetCells(c + 1, r, cells[c]);
        }
        Form->Btn_OKClick(nullptr);
        EXPECT_EQ(Form->ModalResult(), mrOk);
        Expect_No_Messages();
        return kt_test::ReadFile(File_S7_Protocol);
    }

    TZidIzavodUraz* Read = nullptr;
};

} // namespace

TEST_F(TableLoad, FailedLoadKeepsWholeRowsAndOkKeepsTheFileAsBak)
{
    const QByteArray good = Four_Rows();
    const qsizetype row4 = good.indexOf("10.0.0.4");
    ASSERT_GT(row4, 0);
    QByteArray noPort = good;
    noPort.replace(noPort.indexOf("PLC_Port=", row4), int(QByteArray("PLC_Port=\"102\" ").size()), "");
    struct Case {
        const char* name;
        QByteArray file;
        int wholeRows;  // rows 1 .. wholeRows come back as written
    } cases[] = {
        {"cut off in the middle of a tag", good.left(good.indexOf("10.0.0.3")), 0},
        {"row 4 without an attribute it needs", noPort, 3},
        {"an unknown entity in row 2", QByteArray(good).replace("10.0.0.2", "10.0.&x;2"), 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Put_File("S7_Protocol.xml", k.file);
        Put_File("S7_Protocol.xml.bak", "an older copy");
        Services.MessageBoxes.clear();
        Form->SetModalResult(mrNone);
        Form->FormShow();
        ASSERT_EQ(Services.MessageBoxes.size(), 1);
        EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
        for (int r = 1; r <= 5; ++r) {
            if (r <= k.wholeRows) {
                EXPECT_EQ(Read->Cells(2, r), QStringLiteral("10.0.0.%1").arg(r)) << r;
                EXPECT_EQ(Read->Cells(18, r), "read") << r;
            } else {
                // As the reset left it: enabled and otherwise empty, never half-filled.
                QStringList reset(Row(r).size(), QString());
                reset[0] = "Y";
                EXPECT_EQ(Row(r), reset) << r;
            }
        }
        EXPECT_EQ(kt_test::ReadFile(File_S7_Protocol), k.file);

        // OK keeps the unreadable file first (over the older copy), then writes what is shown.
        Services.MessageBoxes.clear();
        Form->Btn_OKClick(nullptr);
        EXPECT_EQ(Form->ModalResult(), mrOk);
        EXPECT_EQ(kt_test::ReadFile(Path("S7_Protocol.xml.bak")), k.file);
        ASSERT_EQ(Services.MessageBoxes.size(), 1);
        EXPECT_EQ(Services.MessageBoxes[0].Type, mtWarning);
        EXPECT_TRUE(Messages()[0].contains("S7_Protocol.xml.bak")) << Messages()[0].toStdString();

        // The table written is the one shown; loading it again is clean and keeps no new copy.
        Put_File("S7_Protocol.xml.bak", "kept");
        Services.MessageBoxes.clear();
        Form->FormShow();
        Expect_No_Messages();
        EXPECT_EQ(Read->Cells(2, k.wholeRows + 1), "");
        if (k.wholeRows > 0) {
            EXPECT_EQ(Read->Cells(2, k.wholeRows), QStringLiteral("10.0.0.%1").arg(k.wholeRows));
        }
        Form->Btn_OKClick(nullptr);
        Expect_No_Messages();
        EXPECT_EQ(kt_test::ReadFile(Path("S7_Protocol.xml.bak")), QByteArray("kept"));
    }
}

TEST_F(TableLoad, WhenTheCopyCannotBeKeptNothingIsWritten)
{
    const QByteArray broken = "<S7_Protocol><S7_Protocol_Read><row PLC_Address=\"10.0.0.1\"";
    Put_File("S7_Protocol.xml", broken);
    // A folder standing where the copy would go.
    ASSERT_TRUE(QDir(Dir.path()).mkpath("S7_Protocol.xml.bak/inner"));
    Form->FormShow();
    Services.MessageBoxes.clear();
    Form->Btn_OKClick(nullptr);
    EXPECT_NE(Form->ModalResult(), mrOk);
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
    EXPECT_TRUE(Messages()[0].contains("was not saved")) << Messages()[0].toStdString();
    EXPECT_EQ(kt_test::ReadFile(File_S7_Protocol), broken);
}

TEST_F(TableLoad, NoCopyAfterAGoodLoadOrWithoutAFile)
{
    Four_Rows();
    Form->FormShow();
    Form->Btn_OKClick(nullptr);
    QFile::remove(File_S7_Protocol);
    Form->FormShow();
    Form->Btn_OKClick(nullptr);
    Expect_No_Messages();
    EXPECT_FALSE(QFile::exists(Path("S7_Protocol.xml.bak")));
}
