// A program's own cell editor plugged in through an edit link, in place over the cell and in a
// pop-up form.
#include "tests/gridedit/GridFixture.h"

#include <QLineEdit>
#include <QPointer>
#include <gtest/gtest.h>

using kt_test::GridFixture;

namespace {

// A link over a line edit whose key-downs go to the link first, as a program's link hooks them.
class LineLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    class Edit : public QLineEdit {
    public:
        Edit(LineLink* l, QWidget* p) : QLineEdit(p), link(l) {}
        LineLink* link;

    protected:
        void keyPressEvent(QKeyEvent* e) override
        {
            Word key = platform::VirtualKeyOf(e->key(), e->modifiers());
            TShiftState shift = platform::TranslateKey(e).Shift;
            QPointer<Edit> self(this);
            link->EditKeyDown(this, key, shift);
            if (!self)
                return;
            if (key == 0) {
                e->accept();
                return;
            }
            QLineEdit::keyPressEvent(e);
        }
    };
    QPointer<Edit> edit;
    int creates = 0;
    TColor color = 0;
    QWidget* GetEditControl() override { return edit; }
    void CreateEditor(QWidget* AParent) override
    {
        ++creates;
        if (!edit)
            edit = new Edit(this, AParent);
    }
    void DestroyEditor() override {}
    QString GetEditorValue() override { return edit ? edit->text() : QString(); }
    void SetEditorValue(const QString& s) override
    {
        if (edit)
            edit->setText(s);
    }
    void SetCellProps(TColor AColor, TFont&) override { color = AColor; }
};

// Real column 1 is hidden; column 2 (displayed 1) and 3 (displayed 2) are custom.
struct CustomGrid : GridFixture {
    LineLink link;
    CustomGrid() : GridFixture(6, 5)
    {
        for (int c : {2, 3}) {
            Column(c)->SetEditor(edCustom);
            Column(c)->SetEditLink(&link);
        }
        grid->HideColumn(1);
        grid->SetCells(2, 1, "alpha");
        grid->SetCells(3, 1, "beta");
        GoTo(1, 1);
    }
    QLineEdit* Edit() { return link.edit; }
};

} // namespace

TEST(GridCustomEditor, InPlaceLinkKeys)
{
    CustomGrid f;
    f.Key(Qt::Key_F2);
    ASSERT_NE(f.Edit(), nullptr);
    EXPECT_TRUE(f.grid->GetEditMode());
    EXPECT_EQ(f.Focus(), f.Edit());
    EXPECT_EQ(f.Edit()->text(), "alpha");
    EXPECT_EQ(f.link.EditCell(), QPoint(2, 1));
    const TRect r = f.grid->CellRect(1, 1);
    EXPECT_EQ(f.Edit()->geometry(), QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1));

    // Home stays in the editor; Escape gives the old text back.
    f.Type("x");
    f.Key(Qt::Key_Home);
    EXPECT_TRUE(f.grid->GetEditMode());
    EXPECT_EQ(f.Edit()->cursorPosition(), 0);
    f.Key(Qt::Key_Escape);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 1), "alpha");
    EXPECT_FALSE(f.Edit()->isVisible());
    EXPECT_EQ(f.Focus(), f.grid);

    // Right ends the edit with the value and moves on; with WantKeyLeftRight it stays.
    f.Key(Qt::Key_F2);
    f.Edit()->setText("gamma");
    f.Key(Qt::Key_Right);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Cells(2, 1), "gamma");
    EXPECT_EQ(f.grid->Col(), 2);
    f.link.SetWantKeyLeftRight(true);
    f.Key(Qt::Key_F2);
    f.Key(Qt::Key_Left);
    EXPECT_TRUE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Col(), 2);
    f.link.SetWantKeyLeftRight(false);
    f.Key(Qt::Key_Left);
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_EQ(f.grid->Col(), 1);

    // Enter writes and advances.
    f.Key(Qt::Key_F2);
    f.Edit()->setText("delta");
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(2, 1), "delta");
    EXPECT_FALSE(f.grid->GetEditMode());
}

TEST(GridCustomEditor, ArrowKeysMoveOneCell)
{
    // Real columns 2, 3 and 4 (displayed 1 to 3) edit with the link.
    CustomGrid f;
    f.Column(4)->SetEditor(edCustom);
    f.Column(4)->SetEditLink(&f.link);
    struct Case {
        Qt::Key key;
        int col, row;
    };
    for (const Case& c : {Case{Qt::Key_Left, 1, 2}, Case{Qt::Key_Right, 3, 2}, Case{Qt::Key_Up, 2, 1},
                          Case{Qt::Key_Down, 2, 3}}) {
        f.GoTo(2, 2);
        f.Key(Qt::Key_F2);
        ASSERT_TRUE(f.grid->GetEditMode());
        // The caret at the edge the key leaves by: the control itself has no use for the key.
        f.Key(c.key == Qt::Key_Right ? Qt::Key_End : Qt::Key_Home);
        f.Key(c.key);
        EXPECT_FALSE(f.grid->GetEditMode()) << c.key;
        EXPECT_EQ(f.grid->Col(), c.col) << c.key;
        EXPECT_EQ(f.grid->Row(), c.row) << c.key;
        EXPECT_EQ(f.Focus(), f.grid) << c.key;
    }
}

TEST(GridCustomEditor, TabToNextAtEndOpensTheNextEditor)
{
    CustomGrid f;
    f.grid->SetOptions(f.grid->Options() | goTabs);
    f.grid->Navigation().SetTabToNextAtEnd(true);
    f.Key(Qt::Key_F2);
    f.Edit()->setText("one");
    f.Key(Qt::Key_Tab);
    EXPECT_EQ(f.grid->Cells(2, 1), "one");
    EXPECT_EQ(f.grid->Col(), 2);
    EXPECT_TRUE(f.grid->GetEditMode());
    EXPECT_EQ(f.Focus(), f.Edit());
    EXPECT_EQ(f.Edit()->text(), "beta");
    f.Key(Qt::Key_Escape);
}

TEST(GridCustomEditor, PopupLinkKeepsItsFormAndEndsWithEnter)
{
    CustomGrid f;
    f.link.SetEditStyle(esPopup);
    f.link.SetPopupWidth(150);
    f.link.SetPopupHeight(40);
    f.Key(Qt::Key_F2);
    TEditLinkPopup* form = f.link.PopupForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form->size(), QSize(150, 40));
    EXPECT_EQ(f.Edit()->parentWidget(), form);
    EXPECT_EQ(f.Edit()->text(), "alpha");
    f.Edit()->setText("popped");
    f.Key(Qt::Key_Return);
    EXPECT_EQ(f.grid->Cells(2, 1), "popped");
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(f.grid->GetEditMode());

    // The second edit reuses the form; its deactivation ends the edit with the value.
    f.GoTo(1, 1);
    f.Key(Qt::Key_F2);
    EXPECT_EQ(f.link.PopupForm(), form);
    f.Edit()->setText("left");
    form->Deactivate();
    GridFixture::Pump();
    EXPECT_EQ(f.grid->Cells(2, 1), "left");
    EXPECT_FALSE(f.grid->GetEditMode());
    EXPECT_FALSE(form->isVisible());
}

TEST(GridCustomEditor, LinkWithoutControlIgnoresFocusAndPlacing)
{
    TEditLink link;
    link.SetFocus(true);
    link.SetRect(TRect(0, 0, 10, 10));
    link.SetVisible(true);
    link.RestoreWinProc();
    EXPECT_EQ(link.GetEditControl(), nullptr);
}
