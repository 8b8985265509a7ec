#pragma once
// The engineering unit picker: the user chooses the engineering unit of one BACnet object by
// category and unit in two drop-down lists, or types a unit code; the caller puts the current code
// into E_Selected_EU before showing the window and reads it back after OK. The window stores
// nothing. Desc_Unit names a unit code for the BACnet objects table as well.
#include "platform/Form.h"

#include <QString>

#include <cstdint>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QWidget;
class TLbButton;

class TFBACnet_Eng_Unit : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBACnet_Eng_Unit(QWidget* parent = nullptr);
    ~TFBACnet_Eng_Unit() override;

    static constexpr int Unit_Count = 237;  // codes 0 .. 236

    // One category of the first list and the codes of its units, in list order.
    struct TUnit_Category {
        const char* Name;
        std::vector<int> Codes;
    };
    static const std::vector<TUnit_Category>& Categories();

    // The name of a unit code; "unknown" for any code without one.
    QString Desc_Unit(int32_t Num_Unit) const;
    // The text a unit's item shows in CB_Select_Unit (four items read otherwise than Desc_Unit).
    static QString Unit_Item_Text(int Code);

    // ---- handlers and methods ----
    void FormCreate();
    void FormShow();
    void Set_Lang();
    void CB_Select_TypeSelect();
    void Btn_Select_Eng_UnitClick();

    // ---- components ----
    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* E_Selected_EU = nullptr;
    QLabel* Label5 = nullptr;
    QFrame* Shape1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* CB_Select_Type = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* CB_Select_Unit = nullptr;
    TLbButton* Btn_Select_Eng_Unit = nullptr;
    QFrame* Shape2 = nullptr;
    QWidget* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
};

extern TFBACnet_Eng_Unit* FBACnet_Eng_Unit;

// Creates the window the first time it is needed.
// Sets FBACnet_Eng_Unit and registers it with the main window.
TFBACnet_Eng_Unit* Create_FBACnet_Eng_Unit(QWidget* parent = nullptr);
