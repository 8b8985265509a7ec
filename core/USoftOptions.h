#pragma once
// The options dialog: the language chooser (six language files to a page), the internet options
// with the update check, and the two table options.
#include "platform/Form.h"

#include <QStringList>

class QCheckBox;
class QLabel;
class QTabWidget;
class QWidget;
class TLbButton;

class TFSoftOptions : public platform::TForm {
    Q_OBJECT
public:
    explicit TFSoftOptions(QWidget* parent = nullptr);

    void FormCreate();
    void FormShow();
    void Btn_OKClick();
    void Btn_NextClick(QObject* Sender);
    void LangClick(int Slot);  // slot 1..6, picture or label
    void CB_En_ConClick();
    void Btn_Check_UpdateClick();
    void LL_Check_UpdateLinkClick(const QString& Link);

    void Set_Lang();
    void Create_Lang_List();
    void Update_Lang_Page(int Num_Page);
    void Update_CheckBox();

    // True when the maker's server names a newer version than this program's.
    bool Check_Version();
    // "VER. 1.002" -> 1002; -1 when not a number.
    static int Conv_Version(const QString& Ver_str);

    // Time limit of the whole version query; past it the check counts as no answer.
    int Check_Timeout_Ms = 10000;

    QStringList SL_Languages;
    int Show_Page = 1;
    QString Language_In_Use;

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QTabWidget* PC_Options = nullptr;
    QWidget* TS_Language = nullptr;
    QWidget* TS_Con_Options = nullptr;
    QWidget* TS_Soft_Settings = nullptr;
    QLabel* L_Sel_Lang = nullptr;
    QLabel* I_L[6] = {};   // I_L1 ... I_L6
    QLabel* L_L[6] = {};   // L_L1 ... L_L6
    QLabel* L_Page_Lang = nullptr;
    TLbButton* Btn_Prev = nullptr;
    TLbButton* Btn_Next = nullptr;
    QCheckBox* CB_En_Con = nullptr;
    QCheckBox* CB_Update = nullptr;
    TLbButton* Btn_Check_Update = nullptr;
    QLabel* LL_Check_Update = nullptr;
    QCheckBox* CB_Soft_Set_Jump_Table = nullptr;
    QCheckBox* CB_DoubleClick_Auto_Size = nullptr;
    QWidget* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
};

extern TFSoftOptions* FSoftOptions;
TFSoftOptions* Create_FSoftOptions(QWidget* parent = nullptr);
