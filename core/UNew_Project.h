#pragma once
// The dialog that creates a new, empty configuration folder under PROJECTS and makes it active.
#include "core/UComon.h"
#include "platform/Form.h"

class QLabel;
class QLineEdit;
class QWidget;
class TLbButton;

class TFNew_Project : public platform::TForm {
    Q_OBJECT
public:
    explicit TFNew_Project(QWidget* parent = nullptr);

    void FormCreate();
    void FormShow();
    void Set_Lang();
    void Btn_OKClick();
    void E_New_ProjKeyPress(QChar& Key);

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* E_New_Proj = nullptr;
    QWidget* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
};

extern TFNew_Project* FNew_Project;
TFNew_Project* Create_FNew_Project(QWidget* parent = nullptr);

