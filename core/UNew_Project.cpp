#include "core/UNew_Project.h"

#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "render/LbButton.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

TFNew_Project* FNew_Project = nullptr;

TFNew_Project::TFNew_Project(QWidget* parent)
    : platform::TForm(parent)
{
    Set_Up_Dialog(this, QStringLiteral("FNew_Project"));
    P_Title = Make_Title_Panel(this, 331, L_SW_Code, L_SW_Desc);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 80);
    E_New_Proj = Make_Named<QLineEdit>(this, "E_New_Proj", 16, 96, 299, 21);
    E_New_Proj->installEventFilter(this);
    P_Button = Make_OK_Cancel_Panel(this, Btn_OK, Btn_Cancel);
    P_Button->setGeometry(0, 122, 331, 40);
    Btn_OK->OnClick = [this](QObject*) { Btn_OKClick(); };
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
}

void TFNew_Project::FormCreate()
{
    Place_Dialog(this, L_SW_Code, 331, 162, TDialog_Sizing::Fixed, false);
    Set_Lang();
}

void TFNew_Project::FormShow()
{
    E_New_Proj->clear();
    if (E_New_Proj->isEnabled())
        E_New_Proj->setFocus();
}

void TFNew_Project::Set_Lang()
{
    Set_Dialog_Titles(this, L_SW_Desc, Lang_Table[100], Lang_Table[101]);
    Label1->setText(Lang_Table[102]);
    Label1->adjustSize();
    Btn_OK->SetCaption(Lang_Table[103]);
    Btn_Cancel->SetCaption(Lang_Table[104]);
    E_New_Proj->setToolTip(Lang_Table[108]);
    Btn_OK->setToolTip(Lang_Table[109]);
    Btn_Cancel->setToolTip(Lang_Table[110]);
}

bool TFNew_Project::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == E_New_Proj && Event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(Event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            QChar ch(13);
            E_New_ProjKeyPress(ch);
            return true;
        }
    }
    return platform::TForm::eventFilter(Watched, Event);
}

void TFNew_Project::E_New_ProjKeyPress(QChar& Key)
{
    if (Key == QChar(13))
        Btn_OKClick();
}

void TFNew_Project::Btn_OKClick()
{
    const QString Name = E_New_Proj->text();
    auto error = [this](int index) { platform::MessageDlg(Lang_Table[index], platform::mtError, platform::mbOK, this); };
    if (Name.isEmpty()) {
        error(107);
        return;
    }
    // A name that would leave PROJECTS, name it or its parent, or that the settings file could not
    // give back at the next start, is no configuration name.
    if (!Is_Plain_Conf_Name(Name)) {
        error(105);
        return;
    }
    const QString Folder = Projects_Dir + QLatin1Char('/') + Name;
    if (QFileInfo(Folder).isDir()) {
        error(106);
        return;
    }
    if (!QDir().mkdir(Folder)) {
        error(105);
        return;
    }
    QDir().mkpath(Folder + QStringLiteral("/bin"));
    Active_Conf_Name = Name;
    Active_Conf_Path = Folder;
    if (FVelmoraeFirmWare)
        FVelmoraeFirmWare->Set_Files();
    else
        Set_Conf_File_Paths();
    SetModalResult(platform::mrOk);
}

TFNew_Project* Create_FNew_Project(QWidget* parent)
{
    return Create_Registered(parent, FNew_Project);
}
