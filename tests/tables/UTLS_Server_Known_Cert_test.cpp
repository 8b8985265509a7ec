// The known certificates dialog: the grid its Init_Table builds, the file it reads and writes
// (no rule stops OK), the row buttons with the enable boxes and the header hints.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvGrid.h"
#include "render/LbButton.h"
#include "tables/UTLS_Server_Known_Cert.h"

#include <QApplication>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

class TlsKnownCert : public Dialog_Test<TFTLS_Server_Known_Cert> {
protected:
    void SetUp() override
    {
        Open(File_TLS_Known_Cert, "TLS_Known_Cert.xml", "UTLS_Server_Known_Cert");
        G = Form->ASG;
    }
    bool Enabled(int r) const { return Row_Enabled(G, r); }
    void Put_Row(int r, bool enabled, const QString& certificate, const QString& mnemonic)
    {
        G->SetCheckBoxState(1, r, enabled);
        G->SetCells(2, r, certificate);
        G->SetCells(3, r, mnemonic);
    }
    QStringList Row(int r) const { return {Enabled(r) ? "Y" : "N", G->Cells(2, r), G->Cells(3, r)}; }

    TVerIvovavOzed* G = nullptr;
};

} // namespace

TEST_F(TlsKnownCert, InitTableBuildsTheGrid)
{
    Expect_Described_Window(*Form, 800, 337, "Definition the list of Known Certificates");
    EXPECT_EQ(Form->Btn_OK->toolTip(), "Confirm and save the TLS Certificates List");
    EXPECT_EQ(Form->Btn_DelRow->toolTip(), "Delete the selected Row in the table");
    EXPECT_EQ(Form->Btn_PasteRow->Caption(), "Paste Row");
    EXPECT_EQ(Form->Btn_Cancel->ModalResult(), mrCancel);
    ASSERT_EQ(G->ColCount(), 4);
    ASSERT_EQ(G->RowCount(), 11);
    EXPECT_FALSE(G->ShowHint());
    EXPECT_EQ(G->VAlignment(), vtaCenter);
    EXPECT_TRUE(G->Options().testFlag(goEditing));
    EXPECT_TRUE(G->Options().testFlag(goRowSizing));
    EXPECT_TRUE(G->Options().testFlag(goColSizing));
    const QStringList headers = {"N", "Enable", "Certificate", "Mnemonic"};
    const int widths[] = {40, 50, 500, 160};
    const TColor colours[] = {0, 11589887, 16710368, 0xFFFFFF};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(G->Cells(c, 0), headers[c]);
        EXPECT_EQ(G->ColWidths(c), widths[c]);
        for (int r : {1, 10}) {
            if (c > 0) {
                EXPECT_EQ(G->GetCellProperties(c, r)->BrushColor(), colours[c]) << c << "," << r;
            }
        }
    }
    EXPECT_EQ(G->RowHeights(0), 22);
    bool state = true;
    for (int r = 1; r <= 10; ++r) {
        EXPECT_EQ(G->RowHeights(r), 60) << r;
        EXPECT_EQ(G->Cells(0, r), QString::number(r));
        EXPECT_TRUE(G->GetCheckBoxState(1, r, state)) << r;
        EXPECT_FALSE(state) << r;  // unchecked until the first showing
    }
    EXPECT_EQ(G->GetCellProperties(1, 5)->Alignment(), taCenter);
    EXPECT_FALSE(G->GetCheckBoxState(2, 5, state));
    EXPECT_EQ(Form->Hint_List,
              (QStringList{"Enable/Disable the Row with TLS Certificate", "Insert the TLS Certificate",
                           "Insert a Description of TLS Certificate"}));

    // Only a data column's header has a hint; every other cell has none.
    Expect_Hints([&](int r, int c, QString& hint) { Form->GridHint(G, r, c, hint); },
                 {{0, 2, "Insert the TLS Certificate"},
                  {0, 3, "Insert a Description of TLS Certificate"},
                  {0, 0, ""},
                  {4, 2, ""}});

    // A new language re-texts the headers and refills the hints without growing the list.
    Lang_Table.Set(1616, "Zertifikat");
    Lang_Table.Set(1619, "Das Zertifikat");
    Form->Set_Lang();
    EXPECT_EQ(G->Cells(2, 0), "Zertifikat");
    ASSERT_EQ(Form->Hint_List.size(), 3);
    EXPECT_EQ(Form->Hint_List[1], "Das Zertifikat");
}

TEST_F(TlsKnownCert, LoadedFileIsSavedBack)
{
    Show_Fixture("load.xml");
    Expect_No_Messages();
    // The line breaks of a certificate stay; a lower-case n counts as checked; a row without
    // attributes is an enabled empty row, and the rows after it are loaded all the same.
    EXPECT_EQ(Row(1), (QStringList{"Y", "-----BEGIN CERTIFICATE-----\nMIIBszCCAVmgAwIBAgIUQ2Fy\n-----END CERTIFICATE-----",
                                   "plant server"}));
    EXPECT_EQ(Row(2), (QStringList{"Y", "AB:CD:EF", ""}));
    EXPECT_EQ(Row(3), (QStringList{"N", "  spare  ", "off"}));
    EXPECT_EQ(Row(4), (QStringList{"Y", "", "no certificate"}));
    EXPECT_EQ(Row(5), (QStringList{"N", "below the blank row", "lost"}));
    EXPECT_EQ(Row(6), (QStringList{"Y", "", ""}));

    // Nothing is checked: the rows up to the first blank certificate are written as they are.
    Expect_Ok_Writes(Fix("saved.xml"));
    EXPECT_FALSE(kt_test::ReadFile(File_TLS_Known_Cert).startsWith("<?xml"));
}

TEST_F(TlsKnownCert, OnlyRowsAboveTheFirstBlankCertificateAreSaved)
{
    Put_Row(3, true, "left over", "");  // from an earlier showing
    Form->FormShow();
    EXPECT_EQ(Row(3), (QStringList{"Y", "", ""}));
    Expect_Ok_Writes_Fixture("empty.xml");

    struct Case {
        const char* name;
        QString row2;
        int saved_rows;
    } cases[] = {{"row 2 empty", "", 1}, {"row 2 only blanks", " \n\t ", 1}, {"row 2 filled", "B", 3}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form->FormShow();
        Put_Row(1, true, "A", "");  // an enabled row with an empty description is fine
        Put_Row(2, false, k.row2, "x");
        Put_Row(3, false, "C", "y");
        Form->Btn_OKClick(nullptr);
        EXPECT_TRUE(Messages().isEmpty());
        EXPECT_EQ(Saved().size(), k.saved_rows + 2);  // root, rows, comment
    }
}

TEST_F(TlsKnownCert, FilesThatCannotBeUsed)
{
    QByteArray eleven = "<TLS_Server_Known_Cert>";
    for (int i = 1; i <= 11; ++i)
        eleven += QStringLiteral(R"(<row Enable="N" Certificate="C%1"/>)").arg(i).toUtf8();
    eleven += "</TLS_Server_Known_Cert>";
    struct Case {
        const char* name;
        QByteArray file;
        QString row1, row10;
        TMsgDlgType box;
    } cases[] = {
        {"not well-formed", R"(<TLS_Server_Known_Cert><row Certificate="A"/>)", "", "", mtError},
        {"eleven rows", eleven, "C1", "C10", mtWarning},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Show_File(k.file);
        EXPECT_EQ(G->Cells(2, 1), k.row1);
        EXPECT_EQ(G->Cells(2, 10), k.row10);
        ASSERT_EQ(Services.MessageBoxes.size(), 1) << Messages().join("\n").toStdString();
        EXPECT_EQ(Services.MessageBoxes[0].Type, k.box);
        EXPECT_EQ(kt_test::ReadFile(File_TLS_Known_Cert), k.file);  // showing never writes
    }
    // OK writes the grid as shown.
    Form->Btn_OKClick(nullptr);
    EXPECT_EQ(Saved().size(), 12);
}

TEST_F(TlsKnownCert, RowButtonsMoveTheEnableBoxesWithTheirRows)
{
    Form->FormShow();
    for (int r = 1; r <= 10; ++r)
        Put_Row(r, r % 2 == 0, QStringLiteral("C%1").arg(r), QStringLiteral("m%1").arg(r));

    // Delete asks with the row number; the rows move up and the emptied last row is enabled.
    Delete_Asked_Twice(G, 2, [&] { EXPECT_EQ(Row(2), (QStringList{"Y", "C2", "m2"})); });
    EXPECT_EQ(Row(2), (QStringList{"N", "C3", "m3"}));
    EXPECT_EQ(Row(9), (QStringList{"Y", "C10", "m10"}));
    EXPECT_EQ(Row(10), (QStringList{"Y", "", ""}));

    // Insert: an enabled empty row; the last row's content is lost.
    G->SetRow(1);
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row(1), (QStringList{"Y", "", ""}));
    EXPECT_EQ(Row(2), (QStringList{"N", "C1", "m1"}));
    EXPECT_EQ(Row(10), (QStringList{"Y", "C10", "m10"}));

    // Copy of a disabled row and paste into the empty row 1: the state comes with the texts.
    Copy_Paste(G, 2, 1);
    EXPECT_EQ(Row(1), (QStringList{"N", "C1", "m1"}));

    // After a new showing the copy cannot be pasted.
    Form->FormShow();
    Expect_Paste_Refused();
    EXPECT_EQ(Row(1), (QStringList{"Y", "", ""}));
}

TEST_F(TlsKnownCert, CreatedAtStartAndServedByTheMainWindow)
{
    Expect_Made_At_Start(Create_FTLS_Server_Known_Cert, FTLS_Server_Known_Cert, "FTLS_Server_Known_Cert");
}

TEST_F(TlsKnownCert, Grab)
{
    Grab_Loaded("load.xml", "UTLS_Server_Known_Cert.png");
}
