// The table dialogs edited as a user edits them: shown and active, driven by keys and the mouse
// through the grids' own editors, check boxes and events. What the cells hold afterwards is what
// OK would check and save.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "grid/AdvCGrid.h"
#include "gridedit/AdvInplaceEdit.h"
#include "gridedit/GridCombo.h"
#include "tables/UBACnetSlaveSetAccess.h"
#include "tables/UIEC61850_Variables.h"
#include "tables/UKNXAccess.h"
#include "tables/UMQTT_Set_Topic.h"
#include "tables/UOPC_UA_Server_Access.h"
#include "tables/UReceiveCAN.h"
#include "tables/USet_PDO_Access.h"
#include "tables/USet_SDO_Client_Access.h"
#include "tables/USet_SDO_Server_Access.h"
#include "tables/UTLS_Server_Known_Cert.h"
#include "tables/UTransmitCAN.h"
#include "tables/US7_Protocol_Set_Access.h"
#include "tables/USNMP_Trap_Access.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

#include <functional>
#include <memory>
#include <vector>

using namespace platform;
using namespace table_test;

namespace {

// A shown dialog of this kind.
template <class TForm_>
class Editing : public Shown_Table_Test {
protected:
    void Show() { Shown_Table_Test::Show(Form.get()); }
    // The dialog made with its table file in the test's folder, then shown.
    void Open(QString& File, const char* File_Name)
    {
        TableDialogTest::SetUp();
        Shown_SW_Code = "KT40917";
        File = Path(QLatin1String(File_Name));
        Form = std::make_unique<TForm_>();
        Form->Create();
        Show();
    }
    void TearDown() override
    {
        Shown_Table_Test::TearDown();
        if (Form)
            Form->hide();
    }

    static QStringList Combo_Items(TVerIvovavOzed* g)
    {
        QStringList l;
        for (int i = 0; i < g->Combobox()->Items.Count(); ++i)
            l << g->Combobox()->Items.Strings(i);
        return l;
    }

    std::unique_ptr<TForm_> Form;
};

class S7Editing : public Editing<TFS7_Protocol_Set_Access> {
protected:
    void SetUp() override
    {
        Open(File_S7_Protocol, "S7_Protocol.xml");
        Read = Form->ACG_S7_Read;
        Write = Form->ACG_S7_Write;
    }
    TZidIzavodUraz* Read = nullptr;
    TZidIzavodUraz* Write = nullptr;
};

class OpcEditing : public Editing<TFOPC_UA_Server_Access> {
protected:
    void SetUp() override
    {
        Open(File_OPC_UA_Server, "OPC_UA_Server.xml");
        G = Form->ASG;
    }
    bool Enabled(int r) const { return Row_Enabled(G, r); }
    TVerIvovavOzed* G = nullptr;
};

class SnmpEditing : public Editing<TFSNMP_Trap_Access> {
protected:
    void SetUp() override
    {
        Open(File_SNMP_Trap, "SNMP_Trap.xml");
    }
};

} // namespace

TEST_F(S7Editing, TypingIntoTextCells)
{
    ASSERT_TRUE(Form->isVisible());
    EXPECT_EQ(Read->Cells(1, 1), "Y") << "the show handler ran";
    Click(Read, 2, 1);
    Type(Read, "192.168.0.5");
    ASSERT_TRUE(Read->GetEditMode());
    Key(Read, Qt::Key_Return);
    EXPECT_FALSE(Read->GetEditMode());
    EXPECT_EQ(Read->Cells(2, 1), "192.168.0.5");

    // Escape gives back what the cell held before the edit.
    Click(Read, 3, 1);
    Type(Read, "102");
    Key(Read, Qt::Key_Return);
    Key(Read, Qt::Key_F2);
    Type(Read, "99");
    Key(Read, Qt::Key_Escape);
    EXPECT_EQ(Read->Cells(3, 1), "102");

    // The write grid on the second tab takes typing the same way.
    Form->PageControl1->setCurrentIndex(1);
    Pump();
    Click(Write, 9, 2);
    Type(Write, "$1F");
    Key(Write, Qt::Key_Return);
    EXPECT_EQ(Write->Cells(9, 2), "$1F");
    Click(Write, 13, 2);
    Type(Write, "500");
    Key(Write, Qt::Key_Return);
    EXPECT_EQ(Write->Cells(13, 2), "500");
}

TEST_F(S7Editing, DropDownListsOfferTheirItems)
{
    struct Case {
        int col;
        QStringList items;  // empty: the 1500 positions
        int downs;
        QString picked;
    } cases[] = {
        {4, TFS7_Protocol_Set_Access::PLC_Types, 2, "S7300"},
        {7, TFS7_Protocol_Set_Access::Data_Types, 7, "Real"},
        {10, TFS7_Protocol_Set_Access::PLC_Areas, 1, "Inputs (I)"},
        {12, TFS7_Protocol_Set_Access::Bits, 3, "3"},
        {14, {}, 12, "12"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.col);
        Click(Read, k.col, 2);
        Key(Read, Qt::Key_F2);
        ASSERT_TRUE(Read->GetEditMode());
        ASSERT_TRUE(Read->Combobox()->isVisible());
        const QStringList items = Combo_Items(Read);
        if (k.items.isEmpty()) {
            ASSERT_EQ(items.size(), 1500);
            EXPECT_EQ(items.last(), "1499");
        } else {
            EXPECT_EQ(items, k.items);
        }
        Key(Read, Qt::Key_Down, k.downs);
        Key(Read, Qt::Key_Return);
        EXPECT_FALSE(Read->Combobox()->isVisible());
        EXPECT_EQ(Read->Cells(k.col, 2), k.picked);
    }
    // Typing into a list cell picks no text of its own.
    Click(Read, 4, 3);
    Key(Read, Qt::Key_F2);
    Type(Read, "zz");
    Key(Read, Qt::Key_Return);
    EXPECT_TRUE(TFS7_Protocol_Set_Access::PLC_Types.contains(Read->Cells(4, 3))) << Read->Cells(4, 3).toStdString();
}

TEST_F(S7Editing, CheckBoxesToggleByClickAndSpace)
{
    // Enable (centred, "Y" after the show), then Swap and Swap Word (empty cells count as clear).
    Click(Read, 1, 2);
    EXPECT_EQ(Read->Cells(1, 2), "N");
    Key(Read, Qt::Key_Space);
    EXPECT_EQ(Read->Cells(1, 2), "Y");
    EXPECT_FALSE(Read->GetEditMode());

    Click(Read, 15, 4);  // a list cell: the click only selects it
    Key(Read, Qt::Key_Right);
    ASSERT_EQ(Read->Col(), 16);
    Key(Read, Qt::Key_Space);
    EXPECT_EQ(Read->Cells(16, 4), "Y");
    Click(Read, 17, 4);
    EXPECT_EQ(Read->Cells(17, 4), "Y");
    Click(Read, 17, 4);
    EXPECT_EQ(Read->Cells(17, 4), "N");
    EXPECT_EQ(Read->Cells(15, 4), "") << "no list opened on the way";

    // The write grid's On Change and On CMD boxes.
    Form->PageControl1->setCurrentIndex(1);
    Pump();
    Click(Write, 14, 1);
    Click(Write, 15, 1);
    EXPECT_EQ(Write->Cells(14, 1), "Y");
    EXPECT_EQ(Write->Cells(15, 1), "Y");
    Key(Write, Qt::Key_Space);
    EXPECT_EQ(Write->Cells(15, 1), "N");
}

TEST_F(S7Editing, EnterTravelsOnlyWithTheOption)
{
    Click(Read, 13, 2);
    Key(Read, Qt::Key_Return);
    EXPECT_EQ(Read->Row(), 2);
    EXPECT_EQ(Read->Col(), 13);
    if (Read->GetEditMode())
        Key(Read, Qt::Key_Escape);

    Enable_Jump_Field_Tables = true;
    Click(Read, 13, 2);
    Key(Read, Qt::Key_Return);
    EXPECT_EQ(Read->Col(), 14);
    EXPECT_EQ(Read->Row(), 2);
    EXPECT_FALSE(Read->GetEditMode()) << "the key goes no further";
    // From the last column to column 1 of the next row; from the last row back to row 1.
    Read->SetCol(18);
    Key(Read, Qt::Key_Return);
    EXPECT_EQ(Read->Col(), 1);
    EXPECT_EQ(Read->Row(), 3);
    Read->SetRow(512);
    Read->SetCol(18);
    Key(Read, Qt::Key_Return);
    EXPECT_EQ(Read->Col(), 1);
    EXPECT_EQ(Read->Row(), 1);
}

TEST_F(S7Editing, HeaderDoubleClickSizesTheColumnWithTheOption)
{
    const QString wide = "192.168.100.200 and a long note";
    Read->SetCells(2, 5, wide);
    Dbl_Click(Read, 2, 0);
    EXPECT_EQ(Read->ColWidths(2), 100);

    Double_Click_Auto_Size = true;
    Dbl_Click(Read, 3, 4);  // a data cell sizes nothing
    EXPECT_EQ(Read->ColWidths(3), 60);
    Dbl_Click(Read, 2, 0);
    EXPECT_GE(Read->ColWidths(2), QFontMetrics(Read->Font().ToQFont()).horizontalAdvance(wide));
    // Narrower texts make the column narrower again: the grid does not only grow.
    Read->SetCells(2, 5, "1.2.3.4");
    Dbl_Click(Read, 2, 0);
    EXPECT_LT(Read->ColWidths(2), 100);
}

TEST_F(S7Editing, HeaderAndCellHints)
{
    Read->SetCells(18, 2, "pump 3 of the north hall");
    struct Case {
        TVerIvovavOzed* grid;
        int col, row;
        QString hint;
    } cases[] = {
        {Read, 3, 0, "Insert the Port of PLC"},
        {Read, 1, 0, "Enable or Disable the S7comm Rule"},
        {Read, 18, 2, "pump 3 of the north hall"},
        {Read, 0, 0, ""},
    };
    for (const Case& k : cases)
        EXPECT_EQ(Hint_At(k.grid, k.col, k.row), k.hint) << k.col << "," << k.row;
    // The write grid's hint display is off.
    Form->PageControl1->setCurrentIndex(1);
    Pump();
    EXPECT_EQ(Hint_At(Write, 3, 0), "");
}

TEST_F(OpcEditing, TypeListSetsTheLengthAndItsLock)
{
    Click(G, 2, 1);
    Key(G, Qt::Key_F2);
    ASSERT_TRUE(G->Combobox()->isVisible());
    EXPECT_EQ(Combo_Items(G), Form->VarType);
    Key(G, Qt::Key_Down, 5);
    Key(G, Qt::Key_Return);
    EXPECT_EQ(G->Cells(2, 1), "Int32");
    EXPECT_EQ(G->Cells(4, 1), "4");
    EXPECT_TRUE(G->GetReadOnly(4, 1));
    EXPECT_EQ(G->Cells(6, 1), "Read/Write");

    // The locked length refuses typing and F2.
    Click(G, 4, 1);
    Type(G, "32");
    EXPECT_FALSE(G->GetEditMode());
    Key(G, Qt::Key_F2);
    EXPECT_FALSE(G->GetEditMode());
    EXPECT_EQ(G->Cells(4, 1), "4");

    // "String" proposes 10 in a free cell; the user may then type 32.
    Click(G, 2, 1);
    Key(G, Qt::Key_F2);
    Key(G, Qt::Key_Down, 6);
    Key(G, Qt::Key_Return);
    EXPECT_EQ(G->Cells(2, 1), "String");
    EXPECT_EQ(G->Cells(4, 1), "10");
    EXPECT_FALSE(G->GetReadOnly(4, 1));
    Click(G, 4, 1);
    Type(G, "32");
    Key(G, Qt::Key_Return);
    EXPECT_EQ(G->Cells(4, 1), "32");
}

TEST_F(OpcEditing, AccessListAndTextColumns)
{
    Click(G, 6, 2);
    Key(G, Qt::Key_F2);
    ASSERT_TRUE(G->Combobox()->isVisible());
    EXPECT_EQ(Combo_Items(G), (QStringList{"Read Only", "Read/Write"}));
    Key(G, Qt::Key_Down);
    Key(G, Qt::Key_Return);
    EXPECT_EQ(G->Cells(6, 2), "Read/Write");
    // The access choice sets no length.
    EXPECT_EQ(G->Cells(4, 2), "");

    // Position, name and description are free text; the type list's items do not leak into them.
    struct Case {
        int col;
        QString text;
    } cases[] = {{3, "1499"}, {5, "Tank level"}, {7, "north hall"}};
    for (const Case& k : cases) {
        Click(G, k.col, 2);
        Type(G, k.text);
        ASSERT_TRUE(G->GetEditMode()) << k.col;
        EXPECT_FALSE(G->Combobox()->isVisible()) << k.col;
        Key(G, Qt::Key_Return);
        EXPECT_EQ(G->Cells(k.col, 2), k.text);
    }
}

TEST_F(OpcEditing, EnableBoxTogglesByClickAndSpace)
{
    ASSERT_TRUE(Enabled(3));
    Click(G, 1, 3);
    EXPECT_FALSE(Enabled(3));
    EXPECT_EQ(G->Cells(1, 3), "") << "a plain box keeps its state out of the text";
    Key(G, Qt::Key_Space);
    EXPECT_TRUE(Enabled(3));
    Key(G, Qt::Key_Down);
    Key(G, Qt::Key_Space);
    EXPECT_FALSE(Enabled(4));
    EXPECT_TRUE(Enabled(3));
}

// The grid has no click, double-click, key or hint handling of the dialog's.
TEST_F(OpcEditing, NoJumpNoSizingNoHints)
{
    Enable_Jump_Field_Tables = true;
    Double_Click_Auto_Size = true;
    Click(G, 5, 2);
    Key(G, Qt::Key_Return);
    EXPECT_EQ(G->Col(), 5);
    EXPECT_EQ(G->Row(), 2);
    if (G->GetEditMode())
        Key(G, Qt::Key_Escape);

    G->SetCells(7, 3, QString(60, 'W'));
    Dbl_Click(G, 7, 0);
    EXPECT_EQ(G->ColWidths(7), 280);

    Click(G, 0, 6);
    EXPECT_NE(G->Selection().Left, 1) << "a click on a row number selects nothing";

    EXPECT_EQ(Hint_At(G, 3, 0), "");
    EXPECT_EQ(Hint_At(G, 7, 3), "");
}

// The title strip shares the window's background; code and title sit where the frame puts them.
TEST_F(OpcEditing, TitlePanel)
{
    EXPECT_EQ(Form->P_Title->palette().color(QPalette::Window), QColor(248, 247, 237));
    EXPECT_EQ(Form->P_Title->height(), 69);
    EXPECT_EQ(Form->L_SW_Code->pos(), QPoint(16, 8));
    EXPECT_EQ(Form->L_SW_Code->font().pixelSize(), 32);
    EXPECT_EQ(Form->L_SW_Desc->pos(), QPoint(16, 42));
    EXPECT_EQ(Form->L_SW_Desc->font().pixelSize(), 11);
    EXPECT_TRUE(Form->L_SW_Desc->font().bold());
}

// Grids hook their window's resize and hand it back when they go; a window going away with its
// grids (an edit open in one of them) is a plain delete.
TEST(TablesLifetime, DialogsWithGridsAreDeletedSafely)
{
    Load_Default_Language();
    for (int kind = 0; kind < 2; ++kind) {
        SCOPED_TRACE(kind);
        QPointer<TFTable_Frame> form;
        TVerIvovavOzed* grid = nullptr;
        if (kind == 0) {
            auto* f = new TFS7_Protocol_Set_Access;
            f->Create();
            grid = f->ACG_S7_Read;
            form = f;
        } else {
            auto* f = new TFOPC_UA_Server_Access;
            f->Create();
            grid = f->ASG;
            form = f;
        }
        form->show();
        QApplication::setActiveWindow(form);
        Pump();
        grid->SetCells(5, 1, "x");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, Centre(grid, 5, 1));
        QTest::keyClick(grid, Qt::Key_F2);
        Pump();
        ASSERT_TRUE(grid->GetEditMode());
        delete form.data();
        Pump();
        EXPECT_TRUE(form.isNull());
    }
}

TEST_F(S7Editing, EnterJumpStoresEachCellInItsOwnPlace)
{
    // Each Enter stores the text in its own cell, closes the editor and moves on; the next keys
    // start a new edit of the next cell by its own rules (a list cell picks an item, never text).
    Enable_Jump_Field_Tables = true;
    Click(Read, 3, 1);
    Type(Read, "55");
    Key(Read, Qt::Key_Return);
    EXPECT_EQ(Read->Cells(3, 1), "55");
    EXPECT_EQ(Read->Col(), 4);
    EXPECT_FALSE(Read->GetEditMode());
    Type(Read, "S");
    Key(Read, Qt::Key_Return);
    Type(Read, "7");
    Key(Read, Qt::Key_Return);
    Type(Read, "8");
    Key(Read, Qt::Key_Return);
    EXPECT_EQ(Read->Cells(3, 1), "55");
    EXPECT_EQ(Read->Cells(4, 1), "S7200");
    EXPECT_EQ(Read->Cells(5, 1), "7");
    EXPECT_EQ(Read->Cells(6, 1), "8");
    EXPECT_EQ(Read->Col(), 7);
    EXPECT_EQ(Read->Row(), 1);
    EXPECT_FALSE(Read->GetEditMode());
}

TEST_F(S7Editing, FirstListOpeningKeepsTheFocusInTheGrid)
{
    // The first list editor of a grid switches the combo out of its editable style; that must
    // not take the focus from the combo just opened (it used to end the edit and hand the focus
    // to OK).
    Click(Read, 4, 1);
    Type(Read, "S");
    ASSERT_TRUE(Read->GetEditMode());
    EXPECT_TRUE(Read->Combobox()->isVisible());
    QWidget* f = QApplication::focusWidget();
    EXPECT_TRUE(f == Read->Combobox() || Read->Combobox()->isAncestorOf(f));
    EXPECT_TRUE(Read->Cells(4, 1).isEmpty()) << "nothing is written before the pick";
    Key(Read, Qt::Key_Escape);
    EXPECT_TRUE(Read->Cells(4, 1).isEmpty());
}

TEST_F(SnmpEditing, CommunityNameTakesAtMostFifteenCharacters)
{
    const QString twenty = "abcdefghijklmnopqrst";
    for (TZidIzavodUraz* g : {Form->ACG_SNMP_Read, Form->ACG_SNMP_Write}) {
        SCOPED_TRACE(g->objectName().toStdString());
        if (auto* pages = Form->findChild<QTabWidget*>())
            pages->setCurrentWidget(g->parentWidget());
        Pump();
        // Typed.
        Click(g, 2, 1);
        Key(g, Qt::Key_F2);
        ASSERT_TRUE(g->Combobox()->isVisible());
        Type(g, twenty);
        Key(g, Qt::Key_Return);
        EXPECT_EQ(g->Cells(2, 1), twenty.left(15));
        // Pasted: what fits of the paste is kept.
        QApplication::clipboard()->setText(twenty);
        Click(g, 2, 2);
        Key(g, Qt::Key_F2);
        ASSERT_TRUE(g->Combobox()->isVisible());
        QTest::keyClick(Target(g), Qt::Key_V, Qt::ControlModifier);
        Pump();
        Key(g, Qt::Key_Return);
        EXPECT_EQ(g->Cells(2, 2), twenty.left(15));
        // A longer name from the file stays whole while it is edited and left.
        g->SetCells(2, 3, twenty);
        Click(g, 2, 3);
        Key(g, Qt::Key_F2);
        Key(g, Qt::Key_End);
        Type(g, "x");
        Key(g, Qt::Key_Return);
        EXPECT_EQ(g->Cells(2, 3), twenty);
    }
}

TEST_F(S7Editing, EscapeEndsOnlyWhatItBelongsTo)
{
    auto dialog_untouched = [this] { return Form->isVisible() && Form->ModalResult() == mrNone; };

    // After an edit left with Enter, Escape belongs to nobody: the dialog and the edit stay.
    Click(Read, 2, 1);
    Type(Read, "10.0.0.9");
    Key(Read, Qt::Key_Return);
    Key(Read, Qt::Key_Escape);
    EXPECT_TRUE(dialog_untouched());
    EXPECT_EQ(Read->Cells(2, 1), "10.0.0.9");

    // In an open list it closes the list; the next one ends the editor; neither ends the dialog.
    Click(Read, 4, 1);
    Key(Read, Qt::Key_F2);
    ASSERT_TRUE(Read->Combobox()->isVisible());
    Key(Read, Qt::Key_F4);
    ASSERT_TRUE(Read->Combobox()->DroppedDown());
    Key(Read, Qt::Key_Down);
    Key(Read, Qt::Key_Escape);
    EXPECT_FALSE(Read->Combobox()->DroppedDown());
    EXPECT_TRUE(dialog_untouched());
    Key(Read, Qt::Key_Escape);
    EXPECT_FALSE(Read->GetEditMode());
    EXPECT_TRUE(Read->Cells(4, 1).isEmpty());
    EXPECT_TRUE(dialog_untouched());

    // In a text editor it gives the cell back and ends the edit, nothing more.
    Click(Read, 3, 1);
    Type(Read, "99");
    ASSERT_TRUE(Read->GetEditMode());
    Key(Read, Qt::Key_Escape);
    EXPECT_FALSE(Read->GetEditMode());
    EXPECT_TRUE(Read->Cells(3, 1).isEmpty());
    EXPECT_TRUE(dialog_untouched());
    EXPECT_EQ(Read->Cells(2, 1), "10.0.0.9");
}

TEST_F(OpcEditing, TypeEditorChangesTheRowOnlyForAChosenType)
{
    // Opening the Type list on an empty row writes nothing; Escape leaves the row empty.
    Click(G, 2, 1);
    Key(G, Qt::Key_F2);
    ASSERT_TRUE(G->Combobox()->isVisible());
    EXPECT_TRUE(G->Cells(4, 1).isEmpty());
    EXPECT_TRUE(G->Cells(6, 1).isEmpty());
    Key(G, Qt::Key_Escape);
    EXPECT_FALSE(G->GetEditMode());
    EXPECT_TRUE(G->Cells(2, 1).isEmpty());
    EXPECT_TRUE(G->Cells(4, 1).isEmpty());
    EXPECT_TRUE(G->Cells(6, 1).isEmpty());
    EXPECT_FALSE(G->GetReadOnly(4, 1));

    // Enter keeps the item the list opened on: the row follows it then.
    Key(G, Qt::Key_F2);
    Key(G, Qt::Key_Return);
    EXPECT_EQ(G->Cells(2, 1), "Boolean");
    EXPECT_EQ(G->Cells(4, 1), "1");
    EXPECT_TRUE(G->GetReadOnly(4, 1));
    EXPECT_EQ(G->Cells(6, 1), "Read/Write");

    // A type picked and then cancelled gives the row back as it was.
    G->SetCells(2, 2, "String");
    G->SetCells(4, 2, "32");
    G->SetCells(6, 2, "Read Only");
    Click(G, 2, 2);
    Key(G, Qt::Key_F2);
    Key(G, Qt::Key_Up);
    EXPECT_EQ(G->Cells(4, 2), "8") << "a pick is followed at once";
    Key(G, Qt::Key_Escape);
    EXPECT_EQ(G->Cells(2, 2), "String");
    EXPECT_EQ(G->Cells(4, 2), "32");
    EXPECT_EQ(G->Cells(6, 2), "Read Only");
    EXPECT_FALSE(G->GetReadOnly(4, 2));
}

TEST(TablesLook, HeadersAreDrawnInBoldTahoma)
{
    // Every table grid paints its header row in bold Tahoma, the column grids too (their columns
    // draw the header in a font of their own).
    Load_Default_Language();
    std::vector<std::function<TFTable_Frame*()>> makers = {
        [] { return new TFS7_Protocol_Set_Access; },  [] { return new TFOPC_UA_Server_Access; },
        [] { return new TFKNXAccess; },               [] { return new TFIEC61850_Variables; },
        [] { return new TFTLS_Server_Known_Cert; },   [] { return new TFReceiveCAN; },
        [] { return new TFTransmitCAN; },             [] { return new TFSet_PDO_Access; },
        [] { return new TFSet_SDO_Client_Access; },   [] { return new TFSet_SDO_Server_Access; },
        [] { return new TFSNMP_Trap_Access; },        [] { return new TFMQTT_Set_Topic; },
        [] { return new TFBACnetSlaveSetAccess; },
    };
    for (const auto& make : makers) {
        std::unique_ptr<TFTable_Frame> form(make());
        form->Create();
        SCOPED_TRACE(form->objectName().toStdString());
        form->show();
        Pump();
        const QList<TVerIvovavOzed*> grids = form->findChildren<TVerIvovavOzed*>();
        ASSERT_FALSE(grids.isEmpty());
        for (TVerIvovavOzed* g : grids) {
            for (int c = 0; c < g->ColCount(); ++c) {
                // What the painter draws the header cell with.
                TGridDrawState state(gdFixed);
                TBrush brush;
                TFont font;
                TColor to, mirror, mirrorTo;
                TAlignment ha;
                TVAlignment va;
                bool ww = false;
                TCellGradientDirection gd;
                g->GetVisualProperties(c, 0, state, false, false, true, brush, to, mirror, mirrorTo, font, ha, va, ww,
                                       gd);
                EXPECT_EQ(font.Name(), "Tahoma") << g->objectName().toStdString() << " column " << c;
                EXPECT_TRUE(font.Style() & fsBold) << g->objectName().toStdString() << " column " << c;
            }
        }
        form->hide();
    }
}
