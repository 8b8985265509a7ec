// The engineering unit picker: the code-to-name table, the category lists with their four items
// that read otherwise than the names, and the selection that fills the edit field and the label.
#include "TableTest.h"

#include "core/UComon.h"
#include "render/LbButton.h"
#include "tables/UBACnet_Eng_Unit.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <memory>
#include <set>

using namespace platform;
using namespace table_test;

namespace {

class EngUnit : public Dialog_Test<TFBACnet_Eng_Unit> {
protected:
    void SetUp() override { Open(); }
    // Chooses a category and a unit as the user does, then presses the select button.
    void Choose(const QString& Category, const QString& Unit)
    {
        Form->CB_Select_Type->setCurrentIndex(Form->CB_Select_Type->findText(Category));
        Form->CB_Select_TypeSelect();
        const int unit = Form->CB_Select_Unit->findText(Unit);
        ASSERT_GE(unit, 0) << Unit.toStdString();
        Form->CB_Select_Unit->setCurrentIndex(unit);
        Form->Btn_Select_Eng_UnitClick();
    }
};

} // namespace

TEST_F(EngUnit, WindowAndTexts)
{
    Expect_Window(*Form, 548, 306, "Select the BACnet Engineering Unit");
    EXPECT_EQ(Form->Label1->text(), "Selected BACnet Engineering Unit");
    EXPECT_EQ(Form->Label4->text(), "Select Unit");
    EXPECT_EQ(Form->Label5->text(), "-> unknown");
    EXPECT_EQ(Form->Btn_Select_Eng_Unit->Caption(), "Select Engineering Unit");
    EXPECT_EQ(Form->Btn_OK->ModalResult(), mrOk);
    EXPECT_EQ(Form->Btn_Cancel->ModalResult(), mrCancel);
    Lang_Table.Set(2606, "Categoria");
    Form->Set_Lang();
    EXPECT_EQ(Form->Label3->text(), "Categoria");
}

TEST_F(EngUnit, NamesOfTheUnitCodes)
{
    struct Case {
        int code;
        const char* name;
    } cases[] = {
        {0, "square-meters"},     {51, "housepower"},  {62, "degrees-Celsius"}, {77, "feet-per-meters"},
        {103, "radiants"},        {139, "megajoules-hours-per-square-meter"},    {172, "ohm-meters"},
        {206, "millimeters-of-water"}, {207, "unknown"}, {208, "grams-per-gram"},
        {236, "minutes-per-degree-kelvin"}, {237, "unknown"}, {-1, "unknown"}, {65535, "unknown"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(Form->Desc_Unit(k.code), QString(k.name)) << k.code;
}

TEST_F(EngUnit, EveryCodeStandsOnceInTheCategories)
{
    ASSERT_EQ(Form->CB_Select_Type->count(), 23);
    EXPECT_EQ(Form->CB_Select_Type->itemText(0), "Acceleration");
    EXPECT_EQ(Form->CB_Select_Type->itemText(21), "Volumetric Flow");
    EXPECT_EQ(Form->CB_Select_Type->itemText(22), "Other");
    std::multiset<int> codes;
    for (const auto& c : TFBACnet_Eng_Unit::Categories())
        codes.insert(c.Codes.begin(), c.Codes.end());
    ASSERT_EQ(codes.size(), 237u);
    for (int code = 0; code < 237; ++code)
        EXPECT_EQ(codes.count(code), 1u) << code;
}

TEST_F(EngUnit, ChoosingAUnitFillsTheFieldAndTheLabel)
{
    struct Case {
        QString category, unit, code, label;
    } cases[] = {
        {"Other", "per-mille", "207", "-> unknown"},
        {"Electrical", "ohms-meters", "172", "-> ohm-meters"},
        {"Other", "megajoules-per-square-meter", "139", "-> megajoules-hours-per-square-meter"},
        {"Power", "housepower", "51", "-> housepower"},
        {"Acceleration", "meters-per-second-per-second", "166", "-> meters-per-second-per-second"},
        {"Temperature", "degrees-Celsius", "62", "-> degrees-Celsius"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.unit.toStdString());
        Choose(k.category, k.unit);
        EXPECT_EQ(Form->E_Selected_EU->text(), k.code);
        EXPECT_EQ(Form->Label5->text(), k.label);
    }
    // The twelfth unit of "Electrical" is the one whose item reads otherwise.
    Form->CB_Select_Type->setCurrentIndex(3);
    Form->CB_Select_TypeSelect();
    ASSERT_EQ(Form->CB_Select_Unit->count(), 35);
    EXPECT_EQ(Form->CB_Select_Unit->itemText(11), "ohms-meters");
}

TEST_F(EngUnit, ShowKeepsTheCategoryAndStartsAtItsFirstUnit)
{
    Form->FormShow();
    EXPECT_EQ(Form->CB_Select_Type->currentText(), "Acceleration");
    EXPECT_EQ(Form->CB_Select_Unit->count(), 1);
    Choose("Mass", "grams");
    Form->E_Selected_EU->setText("abc");  // typed by hand: no check, no label change
    EXPECT_EQ(Form->Label5->text(), "-> grams");
    for (int i = 0; i < 2; ++i) {
        Form->FormShow();
        EXPECT_EQ(Form->CB_Select_Type->currentText(), "Mass");
        EXPECT_EQ(Form->CB_Select_Unit->currentIndex(), 0);
        EXPECT_EQ(Form->CB_Select_Unit->currentText(), "milligrams");
    }
    EXPECT_EQ(Form->E_Selected_EU->text(), "abc");
}

TEST_F(EngUnit, Grab)
{
    Form->FormShow();
    Choose("Temperature", "degrees-Celsius");
    Grab(Form.get(), "UBACnet_Eng_Unit.png");
}
