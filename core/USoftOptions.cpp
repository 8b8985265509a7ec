#include "core/USoftOptions.h"

#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "render/LbButton.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>

TFSoftOptions* FSoftOptions = nullptr;

TFSoftOptions::TFSoftOptions(QWidget* parent)
    : platform::TForm(parent)
{
    Set_Up_Dialog(this, QStringLiteral("FSoftOptions"));
    P_Title = Make_Title_Panel(this, 509, L_SW_Code, L_SW_Desc);

    PC_Options = Make_Named<QTabWidget>(this, "PC_Options", 8, 77, 493, 248);
    TS_Language = new QWidget;
    TS_Language->setObjectName(QStringLiteral("TS_Language"));
    TS_Con_Options = new QWidget;
    TS_Con_Options->setObjectName(QStringLiteral("TS_Con_Options"));
    TS_Soft_Settings = new QWidget;
    TS_Soft_Settings->setObjectName(QStringLiteral("TS_Soft_Settings"));
    PC_Options->addTab(TS_Language, QString());
    PC_Options->addTab(TS_Con_Options, QString());
    PC_Options->addTab(TS_Soft_Settings, QString());

    // Language page: the selected language, six flag slots in two columns, the page buttons.
    L_Sel_Lang = Make_Named<QLabel>(TS_Language, "L_Sel_Lang", 12, 8, 460, 16);
    QFont bold = L_Sel_Lang->font();
    bold.setBold(true);
    L_Sel_Lang->setFont(bold);
    for (int k = 0; k < 6; ++k) {
        const int col = k / 3, row = k % 3;
        I_L[k] = new QLabel(TS_Language);
        I_L[k]->setObjectName(QStringLiteral("I_L%1").arg(k + 1));
        I_L[k]->setGeometry(24 + 236 * col, 32 + 54 * row, 48, 48);
        I_L[k]->setCursor(Qt::PointingHandCursor);
        I_L[k]->installEventFilter(this);
        L_L[k] = new QLabel(TS_Language);
        L_L[k]->setObjectName(QStringLiteral("L_L%1").arg(k + 1));
        L_L[k]->setGeometry(80 + 236 * col, 48 + 54 * row, 150, 16);
        L_L[k]->setCursor(Qt::PointingHandCursor);
        L_L[k]->installEventFilter(this);
    }
    Btn_Prev = Make_Named<TLbButton>(TS_Language, "Btn_Prev", 12, 190, 90, 24);
    Btn_Prev->OnClick = [this](QObject* s) { Btn_NextClick(s); };
    L_Page_Lang = Make_Named<QLabel>(TS_Language, "L_Page_Lang", 110, 194, 260, 16);
    L_Page_Lang->setAlignment(Qt::AlignHCenter);
    Btn_Next = Make_Named<TLbButton>(TS_Language, "Btn_Next", 379, 190, 90, 24);
    Btn_Next->OnClick = [this](QObject* s) { Btn_NextClick(s); };

    // Connection page.
    CB_En_Con = Make_Named<QCheckBox>(TS_Con_Options, "CB_En_Con", 16, 16, 450, 20);
    CB_Update = Make_Named<QCheckBox>(TS_Con_Options, "CB_Update", 40, 42, 426, 20);
    Btn_Check_Update = Make_Named<TLbButton>(TS_Con_Options, "Btn_Check_Update", 40, 74, 200, 28);
    Btn_Check_Update->OnClick = [this](QObject*) { Btn_Check_UpdateClick(); };
    LL_Check_Update = Make_Named<QLabel>(TS_Con_Options, "LL_Check_Update", 40, 112, 426, 16);
    LL_Check_Update->setTextFormat(Qt::RichText);
    LL_Check_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(LL_Check_Update, &QLabel::linkActivated, this,
            [this](const QString& link) { LL_Check_UpdateLinkClick(link); });

    // Table options page.
    CB_Soft_Set_Jump_Table = Make_Named<QCheckBox>(TS_Soft_Settings, "CB_Soft_Set_Jump_Table", 16, 16, 450, 20);
    CB_DoubleClick_Auto_Size = Make_Named<QCheckBox>(TS_Soft_Settings, "CB_DoubleClick_Auto_Size", 16, 42, 450, 20);
    for (QCheckBox* cb : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        connect(cb, &QCheckBox::toggled, this, [this] { CB_En_ConClick(); });

    P_Button = Make_OK_Cancel_Panel(this, Btn_OK, Btn_Cancel);
    P_Button->setGeometry(0, 333, 509, 40);
    Btn_OK->OnClick = [this](QObject*) { Btn_OKClick(); };

    SetClientWidth(509);
    SetClientHeight(373);
    setFixedSize(509, 373);
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
}

void TFSoftOptions::FormCreate()
{
    SL_Languages.clear();
    L_SW_Code->setText(Shown_SW_Code);
    L_SW_Code->adjustSize();
    PC_Options->setTabVisible(PC_Options->indexOf(TS_Con_Options), true);
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
    Set_Dialog_Titles(this, L_SW_Desc, Lang_Table[300], Lang_Table[301]);
    PC_Options->setTabText(PC_Options->indexOf(TS_Language), Lang_Table[302]);
    PC_Options->setTabText(PC_Options->indexOf(TS_Con_Options), Lang_Table[303]);
    PC_Options->setTabText(PC_Options->indexOf(TS_Soft_Settings), Lang_Table[319]);
    L_Sel_Lang->setText(Lang_Table[304]);
    L_Page_Lang->setText(Lang_Table[305] + QStringLiteral("1") + Lang_Table[306] + QStringLiteral("1"));
    Btn_Prev->SetCaption(Lang_Table[307]);
    Btn_Next->SetCaption(Lang_Table[308]);
    CB_En_Con->setText(Lang_Table[309]);
    CB_Update->setText(Lang_Table[310]);
    Btn_Check_Update->SetCaption(Lang_Table[311]);
    Btn_OK->SetCaption(Lang_Table[312]);
    Btn_Cancel->SetCaption(Lang_Table[313]);
    CB_Soft_Set_Jump_Table->setText(Lang_Table[320]);
    CB_DoubleClick_Auto_Size->setText(Lang_Table[321]);
}

void TFSoftOptions::FormShow()
{
    Language_In_Use = Active_Language;
    Create_Lang_List();
    Update_CheckBox();
    LL_Check_Update->setVisible(false);
    PC_Options->setCurrentWidget(TS_Language);
    CB_En_Con->setChecked(Enable_Internet);
    CB_Update->setChecked(Enable_Update);
    CB_Soft_Set_Jump_Table->setChecked(Enable_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->setChecked(Double_Click_Auto_Size);
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages.clear();
    // Every regular file ending in ".lng", whatever its attributes.
    const QDir dir(Language_Dir);
    for (const QFileInfo& fi : dir.entryInfoList({QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden | QDir::System))
        if (fi.isFile() && fi.fileName().endsWith(QLatin1String(".lng")))
            SL_Languages.append(fi.fileName());
    std::sort(SL_Languages.begin(), SL_Languages.end(),
              [](const QString& a, const QString& b) { return platform::CompareText(a, b) < 0; });
    Show_Page = 1;
    Update_Lang_Page(1);
}

namespace {

// A flag as shown: 48 x 48 at most, its sides in proportion. A larger picture is decoded at that
// size where its format allows, so that a flag of some thousand pixels a side costs no more
// time and memory than a small one.
QImage FlagPicture(const QString& file)
{
    const QSize shownMax(48, 48);
    QImageReader reader(file);
    const QSize full = reader.size();
    const QSize shown = full.isValid() && !full.isEmpty() ? full.scaled(shownMax, Qt::KeepAspectRatio) : QSize();
    if (shown.isValid() && shown.width() < full.width())
        reader.setScaledSize(shown);
    const QImage picture = reader.read();
    if (picture.isNull() || picture.size() == shown)
        return picture;
    return picture.scaled(shownMax, Qt::KeepAspectRatio);
}

} // namespace

void TFSoftOptions::Update_Lang_Page(int Num_Page)
{
    const int count = SL_Languages.size();
    const int pages = (count + 5) / 6;
    L_Sel_Lang->setText(Lang_Table[304] + Language_In_Use);
    L_Page_Lang->setText(Lang_Table[305] + QString::number(Num_Page) + Lang_Table[306] + QString::number(pages));
    Btn_Prev->setVisible(Num_Page != 1);
    Btn_Next->setVisible(Num_Page != pages);
    const int n = std::min(6, count - (Num_Page - 1) * 6);
    for (int k = 1; k <= 6; ++k) {
        I_L[k - 1]->setVisible(k <= n);
        L_L[k - 1]->setVisible(k <= n);
    }
    for (int k = 1; k <= n; ++k) {
        const QString file = SL_Languages[(Num_Page - 1) * 6 + k - 1];
        const QString name = file.left(file.size() - 4);
        L_L[k - 1]->setText(name);
        QString flag = Language_Dir + QLatin1Char('/') + name + QStringLiteral(".bmp");
        if (!QFileInfo(flag).isFile())
            flag = Language_Dir + QStringLiteral("/DefaultFlag.bmp");
        const QImage picture = QFileInfo(flag).isFile() ? FlagPicture(flag) : QImage();
        if (picture.isNull()) {
            I_L[k - 1]->clear();
            I_L[k - 1]->setVisible(false);
        } else {
            I_L[k - 1]->setPixmap(QPixmap::fromImage(picture));
        }
    }
}

void TFSoftOptions::Btn_NextClick(QObject* Sender)
{
    const int pages = (int(SL_Languages.size()) + 5) / 6;
    if (Sender == Btn_Next) {
        if (pages >= Show_Page + 1)
            ++Show_Page;
    } else if (Sender == Btn_Prev) {
        if (Show_Page > 1)
            --Show_Page;
    }
    Update_Lang_Page(Show_Page);
}

bool TFSoftOptions::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::MouseButtonRelease) {
        for (int k = 0; k < 6; ++k)
            if (Watched == I_L[k] || Watched == L_L[k]) {
                LangClick(k + 1);
                return true;
            }
    }
    return platform::TForm::eventFilter(Watched, Event);
}

void TFSoftOptions::LangClick(int Slot)
{
    const int index = (Show_Page - 1) * 6 + Slot - 1;
    if (index < 0 || index >= SL_Languages.size())
        return;
    const QString file = SL_Languages[index];
    const QString name = file.left(file.size() - 4);
    const QString question = Lang_Table[316] + Language_In_Use + Lang_Table[317] + name + Lang_Table[318];
    if (platform::MessageDlg(question, platform::mtConfirmation, platform::mbYes | platform::mbNo, this)
        != platform::mrYes)
        return;
    Language_In_Use = name;
    // The table is reloaded in the new language; the option itself changes only with OK.
    const QString previous = Active_Language;
    Active_Language = name;
    Load_Language();
    Active_Language = previous;
    if (FVelmoraeFirmWare)
        FVelmoraeFirmWare->Change_Language();
    else
        Set_Lang();
    L_Sel_Lang->setText(Lang_Table[304] + Language_In_Use);
}

void TFSoftOptions::CB_En_ConClick()
{
    Update_CheckBox();
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->setEnabled(CB_En_Con->isChecked());
    Btn_Check_Update->SetEnabled(CB_Update->isEnabled() && CB_Update->isChecked());
}

void TFSoftOptions::Btn_OKClick()
{
    Active_Language = Language_In_Use;
    Enable_Internet = CB_En_Con->isChecked();
    Enable_Update = CB_Update->isChecked();
    if (FVelmoraeFirmWare) {
        if (Enable_Internet && Enable_Update) {
            if (!FVelmoraeFirmWare->Timer_Update->isActive())
                FVelmoraeFirmWare->Timer_Update->start();
        } else {
            FVelmoraeFirmWare->Timer_Update->stop();
        }
    }
    Enable_Jump_Field_Tables = CB_Soft_Set_Jump_Table->isChecked();
    Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->isChecked();
    SetModalResult(platform::mrOk);
}

void TFSoftOptions::Btn_Check_UpdateClick()
{
    if (Check_Version())
        LL_Check_Update->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                                     .arg(Download_Page_URL(), Lang_Table[314].toHtmlEscaped()));
    else
        LL_Check_Update->setText(Lang_Table[315].toHtmlEscaped());
    LL_Check_Update->setVisible(true);
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString& Link)
{
    platform::TheServices().OpenUrl(Link);
}

int TFSoftOptions::Conv_Version(const QString& Ver_str)
{
    const int blank = Ver_str.indexOf(' ');
    const QString T = platform::Trim(blank < 0 ? Ver_str : Ver_str.mid(blank + 1));
    if (T.size() < 5)
        return -1;
    // The point at position 2 is skipped whatever it holds; anything after position 5 is ignored.
    const QString digits = QString(T[0]) + T[2] + T[3] + T[4];
    return platform::StrToIntDef(digits, -1);
}

bool TFSoftOptions::Check_Version()
{
    const THTTPClient client = FVelmoraeFirmWare ? FVelmoraeFirmWare->HTTP1 : THTTPClient();
    const platform::THttpResponse response =
        platform::TheServices().HttpGet(Version_Query_URL(), client.Request_Headers(), Check_Timeout_Ms);
    // Any failure (no connection, an error status, the time limit) leaves the answer empty.
    const QString answer = response.Ok ? QString::fromLatin1(response.Body) : QString();
    const QString A = platform::Trim(platform::UpperCase(answer));
    if (A.isEmpty() || A == QLatin1String("VER. 0.000"))
        return false;
    const int local = Conv_Version(SW_Version);
    const int remote = Conv_Version(platform::Trim(answer));
    return local != -1 && remote != -1 && remote > local;
}

TFSoftOptions* Create_FSoftOptions(QWidget* parent)
{
    return Create_Registered(parent, FSoftOptions);
}
