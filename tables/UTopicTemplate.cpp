#include "tables/UTopicTemplate.h"

#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvGrid.h"
#include "render/LbButton.h"
#include "tables/UTable_Frame.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

TFTopicTemplate* FTopicTemplate = nullptr;

using namespace platform;

namespace {

constexpr int Form_Client_Width = 635;
constexpr int Form_Client_Height = 396;
constexpr int Title_Height = 69;
constexpr int Text_Panel_Height = 176;
constexpr int Legend_Height = 108;
constexpr int Button_Panel_Height = 40;

} // namespace

TFTopicTemplate::TFTopicTemplate(QWidget* parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FTopicTemplate"));
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
}

TFTopicTemplate::~TFTopicTemplate()
{
    // The keyword grid hooks the window's resize event; it goes while the window still exists.
    delete Splitter1;
    Release_Table_Instance(FTopicTemplate, this, "FTopicTemplate");
}

void TFTopicTemplate::Loaded()
{
    TForm::Loaded();
    QVBoxLayout* layout = Dialog_Layout(this);
    P_Title = Make_Title_Panel(this, Form_Client_Width, L_SW_Code, L_SW_Desc);
    P_Title->setFixedHeight(Title_Height);
    layout->addWidget(P_Title);

    // The text field and the keyword list share the middle; the user moves the border between them.
    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setStyleSheet(QStringLiteral("QSplitter::handle { background: #C0C0C0; }"));
    layout->addWidget(Splitter1, 1);

    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* textLayout = new QVBoxLayout(Panel1);
    textLayout->setContentsMargins(8, 6, 10, 6);
    RE_TopicTemplate = new QPlainTextEdit(Panel1);
    RE_TopicTemplate->setObjectName(QStringLiteral("RE_TopicTemplate"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    RE_TopicTemplate->setFont(tahoma);
    textLayout->addWidget(RE_TopicTemplate);
    Splitter1->addWidget(Panel1);

    P_Legend = new QWidget;
    P_Legend->setObjectName(QStringLiteral("P_Legend"));
    auto* legendLayout = new QVBoxLayout(P_Legend);
    legendLayout->setContentsMargins(8, 3, 10, 6);
    legendLayout->setSpacing(2);
    L_List_Keywords = new QLabel(P_Legend);
    L_List_Keywords->setObjectName(QStringLiteral("L_List_Keywords"));
    legendLayout->addWidget(L_List_Keywords);
    ASG_Keywords = new TVerIvovavOzed(P_Legend);
    ASG_Keywords->setObjectName(QStringLiteral("ASG_Keywords"));
    legendLayout->addWidget(ASG_Keywords, 1);
    Splitter1->addWidget(P_Legend);
    Splitter1->setSizes({Text_Panel_Height, Legend_Height});
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);

    ASG_Keywords->SetColCount(2);
    ASG_Keywords->SetRowCount(2);
    ASG_Keywords->SetFixedCols(0);
    ASG_Keywords->SetFixedRows(1);
    ASG_Keywords->SetColWidths(0, 200);
    ASG_Keywords->SetColWidths(1, 380);
    ASG_Keywords->SetOptions(TGridOptions(goFixedVertLine) | goFixedHorzLine | goVertLine | goHorzLine |
                             goRangeSelect | goEditing);
    ASG_Keywords->Loaded();

    P_Button = Make_OK_Cancel_Panel(this, Btn_OK, Btn_Cancel);
    P_Button->setFixedHeight(Button_Panel_Height);
    layout->addWidget(P_Button);
    Btn_OK->SetModalResult(mrOk);
}

QString TFTopicTemplate::Topic_Text() const
{
    // The field keeps its lines apart by "\n" alone; text the user did not change comes back as it
    // was given, with its own line breaks.
    const QString text = RE_TopicTemplate->toPlainText();
    QString given = FGiven_Text;
    given.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text == given ? FGiven_Text : text;
}

void TFTopicTemplate::Set_Topic_Text(const QString& Text)
{
    FGiven_Text = Text;
    RE_TopicTemplate->setPlainText(Text);
}

void TFTopicTemplate::FormCreate()
{
    Place_Dialog(this, L_SW_Code, Form_Client_Width, Form_Client_Height, TDialog_Sizing::Free, true);
    Set_Lang();
}

void TFTopicTemplate::Set_Lang()
{
    Set_Dialog_Titles(this, L_SW_Desc, Lang_Table[2400], Lang_Table[2402]);
    L_List_Keywords->setText(Lang_Table[2404]);
    ASG_Keywords->SetCells(0, 0, Lang_Table[2405]);
    ASG_Keywords->SetCells(1, 0, Lang_Table[2406]);
    Btn_OK->SetCaption(Lang_Table[2407]);
    Btn_Cancel->SetCaption(Lang_Table[2408]);
}

void TFTopicTemplate::FormShow()
{
    const bool templ = TopicTemplate != 0;
    Set_Dialog_Titles(this, L_SW_Desc, Lang_Table[templ ? 2401 : 2400], Lang_Table[templ ? 2403 : 2402]);
    Laod_Keywords();
    if (RE_TopicTemplate->isEnabled() && RE_TopicTemplate->isVisible())
        RE_TopicTemplate->setFocus();
}

void TFTopicTemplate::Laod_Keywords()
{
    // One row per keyword below the header, and one empty row when there is none; the keyword
    // can be selected and copied from its cell, its description only read.
    const int n = int(Keywords.size());
    ASG_Keywords->BeginUpdate();
    ASG_Keywords->SetRowCount(1 + std::max(1, n));
    for (int r = 1; r < ASG_Keywords->RowCount(); ++r) {
        const int k = r - 1;
        ASG_Keywords->SetCells(0, r, k < n ? Keywords[k] : QString());
        ASG_Keywords->SetCells(1, r, k < n && k < Keyword_Descriptions.size() ? Keyword_Descriptions[k] : QString());
        ASG_Keywords->SetReadOnly(0, r, false);
        ASG_Keywords->SetReadOnly(1, r, true);
    }
    ASG_Keywords->EndUpdate();
}

TFTopicTemplate* Create_FTopicTemplate(QWidget* parent)
{
    return Create_Registered(parent, FTopicTemplate);
}
