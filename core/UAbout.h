#pragma once
// The about box: description, software code, version and manual code, and the maker's web page.
#include "platform/Form.h"

class QLabel;
class TLbButton;

class TFAbout : public platform::TForm {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

    void FormShow();
    void Label4Click();

    QLabel* Image2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label4 = nullptr;
    TLbButton* LbButton1 = nullptr;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
};

extern TFAbout* FAbout;
TFAbout* Create_FAbout(QWidget* parent = nullptr);
