// The topic template picker: its caption for a topic or a template, the keyword grid, and the
// text field that carries a cell's text with its line breaks.
#include "TableTest.h"

#include "core/UComon.h"
#include "grid/AdvGrid.h"
#include "render/LbButton.h"
#include "tables/UTopicTemplate.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

class TopicTemplate : public Dialog_Test<TFTopicTemplate> {
protected:
    void SetUp() override { Open(); }
};

} // namespace

TEST_F(TopicTemplate, CaptionFollowsTheKindOfText)
{
    EXPECT_EQ(Form->ClientWidth(), 635);
    EXPECT_EQ(Form->ClientHeight(), 396);
    EXPECT_EQ(Form->L_SW_Code->text(), "KT40917");
    EXPECT_EQ(Form->L_List_Keywords->text(), "List of keywords");
    EXPECT_EQ(Form->Btn_OK->ModalResult(), mrOk);
    EXPECT_EQ(Form->Btn_Cancel->ModalResult(), mrCancel);
    struct Step {
        const char* what;
        int topic_template;
        bool show;  // else: a language change
        QString caption;
    } steps[] = {
        {"created", 0, false, "Set Topic"},
        {"shown for a template", 1, true, "Set Template"},
        {"language change", 1, false, "Set Topic"},
        {"shown again", 1, true, "Set Template"},
        {"shown for a topic", 0, true, "Set Topic"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        Form->TopicTemplate = s.topic_template;
        if (s.show)
            Form->FormShow();
        else
            Form->Set_Lang();
        EXPECT_EQ(Form->Caption(), s.caption);
        EXPECT_EQ(Form->L_SW_Desc->text(), s.caption);
    }
}

TEST_F(TopicTemplate, KeywordGridShowsItsHeaderAndOneEmptyRow)
{
    TVerIvovavOzed* g = Form->ASG_Keywords;
    g->SetCells(0, 1, "typed by the user");
    Form->FormShow();
    ASSERT_EQ(g->RowCount(), 2);
    EXPECT_EQ(g->ColCount(), 2);
    EXPECT_EQ(g->FixedCols(), 0);
    EXPECT_EQ(g->ColWidths(0), 200);
    EXPECT_EQ(g->ColWidths(1), 380);
    EXPECT_EQ(g->Cells(0, 0), "Keyword");
    EXPECT_EQ(g->Cells(1, 0), "Description of Keyword");
    EXPECT_EQ(g->Cells(0, 1), "");
    EXPECT_EQ(g->Cells(1, 1), "");
    EXPECT_FALSE(g->GetReadOnly(0, 1));
    EXPECT_TRUE(g->GetReadOnly(1, 1));
}

TEST_F(TopicTemplate, TextKeepsItsLineBreaks)
{
    const QString text = "plant/$NAME$\r\nline two\n\n$VALUE$ ";
    Form->Set_Topic_Text(QString());
    Form->Set_Topic_Text(text);
    EXPECT_EQ(Form->Topic_Text(), text);
    // Typed into: the text is the field's, its lines kept apart by "\n".
    Form->RE_TopicTemplate->appendPlainText("more");
    EXPECT_EQ(Form->Topic_Text(), "plant/$NAME$\nline two\n\n$VALUE$ \nmore");
    EXPECT_EQ(Form->RE_TopicTemplate->font().family(), "Tahoma");
}

TEST_F(TopicTemplate, Grab)
{
    Form->TopicTemplate = 1;
    Form->Set_Topic_Text("$VALUE$\nsecond line");
    Form->FormShow();
    Grab(Form.get(), "UTopicTemplate.png");
}
