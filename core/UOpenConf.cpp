#include "core/UOpenConf.h"

#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "platform/SysUtils.h"
#include "render/LbButton.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>

TFOpenConf* FOpenConf = nullptr;

TFOpenConf::TFOpenConf(QWidget* parent)
    : platform::TForm(parent)
{
    Set_Up_Dialog(this, QStringLiteral("FOpenConf"));
    P_Title = Make_Title_Panel(this, 377, L_SW_Code, L_SW_Desc);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 78);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int) { ListBox1Click(); });
    P_Button = Make_OK_Cancel_Panel(this, Btn_OK, Btn_Cancel);
    Btn_OK->SetModalResult(platform::mrOk);
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
}

void TFOpenConf::resizeEvent(QResizeEvent* event)
{
    platform::TForm::resizeEvent(event);
    // The list follows all four sides of the window.
    ListBox1->setGeometry(16, 94, width() - 32, height() - 94 - 46);
    P_Button->setGeometry(0, height() - 40, width(), 40);
}

void TFOpenConf::FormCreate()
{
    Place_Dialog(this, L_SW_Code, 377, 351, TDialog_Sizing::Fixed, false);
    Set_Lang();
}

void TFOpenConf::Set_Lang()
{
    Set_Dialog_Titles(this, L_SW_Desc, Lang_Table[200], Lang_Table[201]);
    Label1->setText(Lang_Table[202]);
    Label1->adjustSize();
    Btn_OK->SetCaption(Lang_Table[203]);
    Btn_Cancel->SetCaption(Lang_Table[204]);
    ListBox1->setToolTip(Lang_Table[205]);
    Btn_OK->setToolTip(Lang_Table[206]);
    Btn_Cancel->setToolTip(Lang_Table[207]);
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL.clear();
    const QDir dir(Projects_Dir);
    // Every folder directly under PROJECTS, in the order the file system gives them.
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                             QDir::Unsorted))
        SL.append(name);
}

int TFOpenConf::Search_Open_Conf(const QString& Name) const
{
    const QString key = platform::UpperCase(Name);
    for (int i = 0; i < SL.size(); ++i)
        if (platform::UpperCase(SL[i]) == key)
            return i;
    return -1;
}

void TFOpenConf::FormShow()
{
    Load_Existing_Configuration();
    const QSignalBlocker block(ListBox1);
    ListBox1->clear();
    ListBox1->addItems(SL);
    QString active;
    if (Conf_Is_Active() && Active_Conf_Path.startsWith(Projects_Dir + QLatin1Char('/')))
        active = Active_Conf_Path.mid(Projects_Dir.size() + 1);
    const int found = Search_Open_Conf(active);
    if (found >= 0) {
        ListBox1->setCurrentRow(found);
        Name_Conf = ListBox1->item(found)->text();
    } else if (ListBox1->count() > 0) {
        ListBox1->setCurrentRow(0);
        Name_Conf = ListBox1->item(0)->text();
    }
}

void TFOpenConf::ListBox1Click()
{
    if (QListWidgetItem* item = ListBox1->currentItem())
        Name_Conf = item->text();
}

TFOpenConf* Create_FOpenConf(QWidget* parent)
{
    return Create_Registered(parent, FOpenConf);
}
