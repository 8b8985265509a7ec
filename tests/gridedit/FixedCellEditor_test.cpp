// Header cells edited through the fixed-cell edit and combo.
#include "tests/gridedit/GridFixture.h"

#include <QLineEdit>
#include <gtest/gtest.h>
#include <vector>

using kt_test::GridFixture;

TEST(GridFixedCellEditor, EditValidatesAndStoresWhenTheFocusLeaves)
{
    GridFixture f(6, 5);
    QLineEdit other(&f.window);
    other.setGeometry(0, 300, 50, 20);
    other.show();
    f.grid->HideColumn(1);
    f.grid->SetCells(2, 0, "Head");
    std::vector<QString> changes;
    f.grid->OnEditChange = [&](QObject*, int c, int r, const QString& v) {
        changes.push_back(QString("%1,%2 %3").arg(c).arg(r).arg(v));
    };
    bool accept = false;
    int validations = 0;
    f.grid->OnCellValidate = [&](QObject*, int c, int r, QString&, bool& valid) {
        ++validations;
        EXPECT_EQ(c, 2);
        EXPECT_EQ(r, 0);
        valid = accept;
    };
    f.grid->StartFixedCellEdit(1, 0);
    TGridTransEdit* e = f.grid->EditTrans();
    ASSERT_TRUE(e->isVisible());
    EXPECT_EQ(f.Focus(), e);
    EXPECT_EQ(e->text(), "Head");
    EXPECT_EQ(e->Col(), 2);
    e->selectAll();
    f.Type("X");
    EXPECT_EQ(changes, (std::vector<QString>{"1,0 X"}));
    // Enter inserts nothing and does not end the edit.
    f.Key(Qt::Key_Return);
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->text(), "X");
    // A refused text keeps the editor and its focus; the header keeps its text.
    other.setFocus();
    GridFixture::Pump();
    EXPECT_EQ(validations, 1);
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(f.Focus(), e);
    EXPECT_EQ(f.grid->Cells(2, 0), "Head");
    accept = true;
    other.setFocus();
    GridFixture::Pump();
    EXPECT_FALSE(e->isVisible());
    EXPECT_EQ(f.grid->Cells(2, 0), "X");
}

TEST(GridFixedCellEditor, ComboKindAndRefusals)
{
    GridFixture f(6, 5);
    f.grid->SetCells(2, 0, "b");
    f.grid->MouseActions().SetFixedRowsEditor(fceComboList);
    platform::TStringList values;
    values.Add("a");
    values.Add("b");
    f.grid->MouseActions().SetFixedComboValues(values);
    f.grid->StartFixedCellEdit(2, 0);
    TGridTransCombo* cb = f.grid->ComboTrans();
    ASSERT_TRUE(cb->isVisible());
    EXPECT_FALSE(cb->isEditable());
    EXPECT_EQ(cb->count(), 2);
    EXPECT_EQ(cb->currentText(), "b");
    EXPECT_TRUE(cb->StopEdit());
    EXPECT_FALSE(cb->isVisible());

    // The fixed-edit hook may change the kind; OnCanEditCell may refuse.
    f.grid->OnFixedEdit = [](QObject*, int, int, TGridFixedCellEditor& k, platform::TStringList&) { k = fceEdit; };
    f.grid->StartFixedCellEdit(2, 0);
    EXPECT_TRUE(f.grid->EditTrans()->isVisible());
    EXPECT_TRUE(f.grid->EditTrans()->StopEdit());
    f.grid->OnCanEditCell = [](QObject*, int, int, bool& can) { can = false; };
    f.grid->StartFixedCellEdit(3, 0);
    EXPECT_FALSE(f.grid->EditTrans()->isVisible());
}

TEST(GridFixedCellEditor, PressesThatOpenTheEditor)
{
    GridFixture f(6, 5);
    auto& ma = f.grid->MouseActions();
    const TRect r = f.grid->CellRect(2, 0);
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    auto opened = [&](bool started) {
        const bool shown = f.grid->EditTrans()->isVisible();
        if (shown)
            f.grid->EditTrans()->StopEdit();
        return started && shown;
    };
    // Left click: anywhere in the cell, but only well inside it while columns size.
    ma.SetFixedRowsEdit(fceLeftClick);
    f.grid->SetOptions(f.grid->Options() & ~TGridOptions(goColSizing));
    EXPECT_TRUE(opened(f.grid->FixedCellEditOnPress(2, 0, mbLeft, r.Right - 1, cy)));
    f.grid->SetOptions(f.grid->Options() | goColSizing);
    EXPECT_FALSE(opened(f.grid->FixedCellEditOnPress(2, 0, mbLeft, r.Right - 1, cy)));
    EXPECT_TRUE(opened(f.grid->FixedCellEditOnPress(2, 0, mbLeft, cx, cy)));
    EXPECT_FALSE(opened(f.grid->FixedCellEditOnPress(2, 0, mbRight, cx, cy)));
    EXPECT_FALSE(opened(f.grid->FixedCellEditOnPress(2, 1, mbLeft, cx, cy))); // not a fixed row
    // Right click opens, left does not.
    ma.SetFixedRowsEdit(fceRightClick);
    EXPECT_TRUE(opened(f.grid->FixedCellEditOnPress(2, 0, mbRight, cx, cy)));
    EXPECT_FALSE(opened(f.grid->FixedCellEditOnPress(2, 0, mbLeft, cx, cy)));
    // Double click, in a fixed column too.
    ma.SetFixedRowsEdit(fceDblClick);
    ma.SetFixedColsEdit(fceDblClick);
    EXPECT_TRUE(opened(f.grid->FixedCellEditOnDblClick(2, 0)));
    EXPECT_TRUE(opened(f.grid->FixedCellEditOnDblClick(0, 2)));
    EXPECT_FALSE(opened(f.grid->FixedCellEditOnDblClick(2, 2)));
}
