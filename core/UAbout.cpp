#include "core/UAbout.h"

#include "core/UComon.h"
#include "platform/Picture.h"
#include "platform/Services.h"
#include "render/LbButton.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QRegularExpression>

TFAbout* FAbout = nullptr;

TFAbout::TFAbout(QWidget* parent)
    : platform::TForm(parent)
{
    Set_Up_Dialog(this, QStringLiteral("FAbout"));
    SetCaption(QStringLiteral("About..."));

    auto label = [this](const char* name, int top, int left, const QString& text = QString()) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->move(left, top);
        l->setText(text);
        return l;
    };
    Image2 = label("Image2", 24, 32);
    Image2->setPixmap(QPixmap::fromImage(QImage(platform::FindAsset(QStringLiteral("PRODUCT")))));
    Image2->adjustSize();
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->installEventFilter(this);
    Label1 = label("Label1", 24, 128, QStringLiteral("Software Velmora "));
    QFont title(QStringLiteral("Verdana"));
    title.setPixelSize(13);
    title.setBold(true);
    Label1->setFont(title);
    Label2 = label("Label2", 39, 128);
    Label6 = label("Label6", 62, 128, QStringLiteral("Software Code : "));
    Label9 = label("Label9", 62, 240);
    Label3 = label("Label3", 77, 128, QStringLiteral("Version :"));
    Label10 = label("Label10", 77, 240);
    Label8 = label("Label8", 93, 128, QStringLiteral("Document Code :"));
    Label12 = label("Label12", 93, 240);
    // The address as the box has room for it: the host without its "www.".
    Label4 = label("Label4", 131, 316, QString(Maker_Web_Host).remove(QRegularExpression("^www\\.")));
    Label4->setStyleSheet(QStringLiteral("color: #0000FF; text-decoration: underline"));
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);
    for (QLabel* l : {Label1, Label2, Label6, Label3, Label8, Label4})
        l->adjustSize();
    LbButton1 = Make_Named<TLbButton>(this, "LbButton1", 32, 115, 81, 22);
    LbButton1->SetCaption(QStringLiteral("OK"));
    LbButton1->SetModalResult(platform::mrOk);
    LbButton1->SetDefault(true);
    OnShow = [this] { FormShow(); };
}

void TFAbout::FormShow()
{
    Label2->setText(SW_Desc);
    Label9->setText(QStringLiteral("KT40917"));
    Label10->setText(SW_Version);
    Label12->setText(Manual_Code);
    for (QLabel* l : {Label2, Label9, Label10, Label12})
        l->adjustSize();
    SetClientHeight(148);
    SetClientWidth(425);
    setFixedSize(425, 148);
}

bool TFAbout::eventFilter(QObject* Watched, QEvent* Event)
{
    if ((Watched == Label4 || Watched == Image2) && Event->type() == QEvent::MouseButtonRelease) {
        Label4Click();
        return true;
    }
    return platform::TForm::eventFilter(Watched, Event);
}

void TFAbout::Label4Click()
{
    platform::TheServices().OpenUrl(Home_Page_URL());
}

TFAbout* Create_FAbout(QWidget* parent)
{
    auto* w = new TFAbout(parent);
    FAbout = w;
    w->Create();
    return w;
}
