// Typed input of the drop-down edit: value writes, the character filter of the edit types,
// pasting, leaving the field, the number-text helpers.
#include "dropdown/AdvDropDown_Edit.h"

#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class DropDownInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        DD.reset(TAdvCustomDropDown::New<TAdvCustomDropDown>());
    }
    void TearDown() override
    {
        DD.reset();
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
    }
    // Types one character as the keyboard would.
    void Type(QChar c)
    {
        QTest::keyClick(DD.get(), c.toLatin1());
    }

    platform::ScriptedServices Services;
    platform::ScopedServices UseServices{Services};
    std::unique_ptr<TAdvCustomDropDown> DD;
};

TEST_F(DropDownInput, TextWrite)
{
    struct Case {
        TDropDownEditType type;
        int precision;
        const char* value;
        const char* expect;
    };
    const Case cases[] = {
        {etFloat, 0, "", "0"},          {etFloat, 2, "", "0.00"},    {etFloat, 2, "3", "3.00"},
        {etFloat, 2, "Error", "Error"}, {etMoney, 2, "1234.5", "1,234.50"},
        {etNumeric, 0, "", "0"},        {etHex, 0, "ff", "FF"},      {etHex, 0, "", "0"},
        {etString, 0, "", ""},          {etString, 2, "abc", "abc"}, {etFloat, 2, "1,234.5", "1234.50"},
    };
    for (const Case& c : cases) {
        TAdvCustomDropDown* d = TAdvCustomDropDown::New<TAdvCustomDropDown>();
        d->SetEditType(c.type);
        d->SetPrecision(c.precision);
        d->SetText(c.value);
        EXPECT_EQ(d->text(), c.expect) << c.type << " " << c.precision << " " << c.value;
        EXPECT_EQ(d->OldText(), c.expect);
        EXPECT_FALSE(d->IsModified());
        delete d;
    }
    // A different locale's separators.
    platform::FormatSettings().DecimalSeparator = ',';
    platform::FormatSettings().ThousandSeparator = '.';
    DD->SetEditType(etFloat);
    DD->SetPrecision(2);
    DD->SetText("3");
    EXPECT_EQ(DD->text(), "3,00");
}

TEST_F(DropDownInput, TypedCharacters)
{
    struct Case {
        const char* name;
        TDropDownEditType type;
        int precision;
        bool isSigned;
        const char* start;
        int selStart, selLength;
        const char* typed;
        const char* expect;
        int caret; // -1: not checked
    };
    const Case cases[] = {
        {"full decimals refuse at the end", etFloat, 2, false, "1.25", 4, 0, "7", "1.25", 4},
        {"full decimals overwrite", etFloat, 2, false, "1.25", 2, 0, "7", "1.75", 3},
        {"second separator jumps after the first", etFloat, 2, false, "12.5", 1, 0, ".", "12.5", 3},
        {"no decimals with precision 0", etFloat, 0, false, "12", 2, 0, ".", "12", 2},
        {"precision 0 takes a separator replacing one", etFloat, 0, false, "1.5", 1, 2, ".", "1.", 2},
        {"separator into empty", etFloat, 2, false, "", 0, 0, ".", "0.", 2},
        {"letters refused", etFloat, 2, false, "12", 2, 0, "a", "12", 2},
        {"minus toggles on", etNumeric, 0, true, "45", 2, 0, "-", "-45", 3},
        {"minus toggles off", etNumeric, 0, true, "-45", 3, 0, "-", "45", 2},
        {"minus over whole value", etNumeric, 0, true, "45", 0, 2, "-", "-", 1},
        {"unsigned refuses minus", etNumeric, 0, false, "45", 2, 0, "-", "45", 2},
        {"numeric refuses letters", etNumeric, 0, false, "45", 2, 0, "x5", "455", 3},
        {"float minus toggles", etFloat, 2, true, "1.50", 0, 0, "-", "-1.50", 1},
        {"money regroups", etMoney, 0, false, "123", 3, 0, "4", "1,234", 5},
        {"money regroups in the middle", etMoney, 0, false, "1,234", 1, 0, "9", "19,234", 2},
        {"money refuses separator typed", etMoney, 0, false, "1,234", 5, 0, ",", "1,234", 5},
        {"hex", etHex, 0, false, "1", 1, 0, "gF", "1F", 2},
        {"alphanumeric", etAlphaNumeric, 0, false, "", 0, 0, "a!1 ", "a1", 2},
        {"upper case", etUppercase, 0, false, "", 0, 0, "ab", "AB", 2},
        {"lower case", etLowerCase, 0, false, "", 0, 0, "AB", "ab", 2},
        {"mixed case", etMixedCase, 0, false, "", 0, 0, "john smith", "John Smith", 10},
        {"range separators not doubled", etRange, 0, false, "1", 1, 0, "-,2;;3", "1-2;3", 5},
        {"range refuses letters", etRange, 0, false, "1", 1, 0, "a", "1", 1},
        {"backspace", etString, 0, false, "abc", 3, 0, "\b", "ab", 2},
        {"string takes anything", etString, 0, false, "", 0, 0, "a-1.", "a-1.", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAdvCustomDropDown* d = TAdvCustomDropDown::New<TAdvCustomDropDown>();
        d->SetEditType(c.type);
        d->SetPrecision(c.precision);
        d->SetSigned(c.isSigned);
        d->SetEditText(c.start);
        d->SetSel(c.selStart, c.selLength);
        for (const char* p = c.typed; *p; ++p) {
            if (*p == '\b')
                QTest::keyClick(d, Qt::Key_Backspace);
            else
                QTest::keyClick(d, *p);
        }
        EXPECT_EQ(d->text(), c.expect);
        if (c.caret >= 0) {
            EXPECT_EQ(d->cursorPosition(), c.caret);
        }
        delete d;
    }
}

TEST_F(DropDownInput, MoneyBeyondTheIntegerRangeIsRegrouped)
{
    DD->SetEditType(etMoney);
    DD->SetEditText(QString(24, QLatin1Char('9')));
    DD->SetSel(24, 0);
    Type(QChar('9'));
    // 25 nines: beyond the integer range, regrouped through the double value without failing.
    EXPECT_TRUE(DD->text().startsWith(QStringLiteral("10,000,000,000,000,000,"))) << DD->text().toStdString();
}

TEST_F(DropDownInput, ValidCharsAndLengthLimit)
{
    DD->SetEditType(etValidChars);
    DD->SetValidChars("xy");
    for (char c : {'x', 'a', 'y', 'X'})
        Type(QChar(c));
    EXPECT_EQ(DD->text(), "xy");

    DD->SetEditType(etNumeric);
    DD->SetLengthLimit(3);
    DD->SetEditText("123");
    DD->SetSel(3, 0);
    Type('4');
    EXPECT_EQ(DD->text(), "123");
    DD->SetEditText("12");
    DD->SetSel(2, 0);
    Type('3');
    EXPECT_EQ(DD->text(), "123");
}

TEST_F(DropDownInput, EnterAndEscapeInTheEdit)
{
    int presses = 0;
    QChar last;
    DD->OnKeyPress = [&](QObject*, QChar& k) {
        ++presses;
        last = k;
    };
    DD->SetText("abc");
    DD->SetSel(3, 0);
    Type('d');
    EXPECT_TRUE(DD->IsModified());
    QTest::keyClick(DD.get(), Qt::Key_Return);
    EXPECT_EQ(last, QChar(13)) << "Enter is reported to the key-press event";
    EXPECT_EQ(DD->text(), "abcd");
    // Escape selects the value and clears the modified mark; the text stays.
    QTest::keyClick(DD.get(), Qt::Key_Escape);
    EXPECT_FALSE(DD->IsModified());
    EXPECT_FALSE(DD->isModified());
    EXPECT_EQ(DD->selectedText(), "abcd");
    EXPECT_EQ(presses, 2);
}

TEST_F(DropDownInput, Paste)
{
    struct Case {
        TDropDownEditType type;
        int precision;
        const char* start;
        const char* clip;
        const char* expect;
    };
    const Case cases[] = {
        {etNumeric, 0, "5", "12a", "5"},  {etNumeric, 0, "5", "12", "512"},  {etNumeric, 0, "5", "-1", "5"},
        {etHex, 0, "A", "B", "A"},        {etRange, 0, "1", "2", "1"},       {etFloat, 0, "1", "1.5", "1"},
        {etFloat, 2, "", "2.5", "2.50"}, {etString, 0, "ab", "cd", "abcd"}, {etUppercase, 0, "AB", "cd", "ABCD"},
        {etAlphaNumeric, 0, "a", "b-", "a"},
    };
    for (const Case& c : cases) {
        TAdvCustomDropDown* d = TAdvCustomDropDown::New<TAdvCustomDropDown>();
        d->SetEditType(c.type);
        d->SetPrecision(c.precision);
        d->SetEditText(c.start);
        d->SetSel(int(QString(c.start).size()), 0);
        QApplication::clipboard()->setText(c.clip);
        QTest::keyClick(d, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(d->text(), c.expect) << c.type << " " << c.clip;
        delete d;
    }
    // The paste event can refuse; the maximum length is kept.
    DD->SetEditText("ab");
    DD->SetSel(2, 0);
    QApplication::clipboard()->setText("cd");
    QString offered;
    DD->OnClipboardPaste = [&](QObject*, const QString& v, bool& allow) {
        offered = v;
        allow = false;
    };
    DD->PasteFromClipboard();
    EXPECT_EQ(offered, "abcd");
    EXPECT_EQ(DD->text(), "ab");
    DD->OnClipboardPaste = nullptr;
    DD->SetMaxLength(3);
    DD->PasteFromClipboard();
    EXPECT_EQ(DD->text(), "ab");
    // Cut and copy can be vetoed; a cut fires no copy event.
    DD->SetMaxLength(0);
    DD->SetEditText("xyz");
    DD->SetSel(0, 2);
    int copies = 0;
    bool allowCut = false;
    DD->OnClipboardCopy = [&](QObject*, const QString&, bool&) { ++copies; };
    DD->OnClipboardCut = [&](QObject*, const QString& v, bool& allow) {
        EXPECT_EQ(v, "xy");
        allow = allowCut;
    };
    QTest::keyClick(DD.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(DD->text(), "xyz");
    allowCut = true;
    QTest::keyClick(DD.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(DD->text(), "z");
    EXPECT_EQ(QApplication::clipboard()->text(), "xy");
    EXPECT_EQ(copies, 0);
}

TEST_F(DropDownInput, LeavingTheField)
{
    QWidget host;
    TAdvCustomDropDown* d = TAdvCustomDropDown::New<TAdvCustomDropDown>(&host);
    TAdvCustomDropDown* next = TAdvCustomDropDown::New<TAdvCustomDropDown>(&host);
    next->move(0, 40);
    host.show();
    host.activateWindow();
    struct Case {
        TDropDownEditType type;
        int precision;
        bool allowNull;
        const char* start;
        const char* expect;
    };
    const Case cases[] = {
        {etNumeric, 0, false, "", "0"},   {etNumeric, 0, true, "", ""},       {etFloat, 2, false, "1.5", "1.50"},
        {etFloat, 2, false, "", "0.00"},  {etFloat, 2, true, "", ""},         {etMoney, 2, false, "1234", "1,234.00"},
        {etString, 0, false, "", ""},
    };
    for (const Case& c : cases) {
        d->SetEditType(c.type);
        d->SetPrecision(c.precision);
        d->SetAllowNumericNullValue(c.allowNull);
        d->setFocus();
        QApplication::processEvents();
        d->SetEditText(c.start);
        next->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(d->text(), c.expect) << c.type << " " << c.start;
    }
}

TEST_F(DropDownInput, TypeAndPrecisionChanges)
{
    DD->SetText("abc");
    DD->SetEditType(etNumeric);
    EXPECT_EQ(DD->text(), "0");
    DD->SetEditType(etString);
    DD->SetEditText("12.5");
    DD->SetEditType(etFloat);
    EXPECT_EQ(DD->text(), "12.5") << "a float value stays";
    DD->SetPrecision(3);
    EXPECT_EQ(DD->text(), "12.500");
    DD->SetEditType(etHex);
    EXPECT_EQ(DD->text(), "0");
    DD->SetEditType(etPassword);
    EXPECT_EQ(DD->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(DD->CanUndo());
}

TEST_F(DropDownInput, FloatValue)
{
    struct Case {
        TDropDownEditType type;
        const char* text;
        double value;
    };
    const Case cases[] = {
        {etString, "12.5abc", 12.5}, {etString, "abc", 0},     {etNumeric, "-", 0},    {etFloat, "Error", 0},
        {etFloat, "1,234.5", 1234.5}, {etMoney, "1,234.", 1234}, {etMoney, "-", 0},     {etHex, "ff", 255},
        {etHex, "", 0},              {etUppercase, "12", 0},
    };
    for (const Case& c : cases) {
        DD->SetEditType(c.type);
        DD->SetEditText(c.text);
        EXPECT_DOUBLE_EQ(DD->FloatValue(), c.value) << c.type << " " << c.text;
    }
    DD->SetEditType(etMoney);
    DD->SetPrecision(2);
    DD->SetIntValue(1234567);
    EXPECT_EQ(DD->text(), "1,234,567.00");
    EXPECT_TRUE(DD->IsModified());
    DD->SetEditType(etHex);
    DD->SetIntValue(-1);
    EXPECT_EQ(DD->text(), "FFFFFFFF");
}

TEST(DropDownNumberText, Classify)
{
    platform::FormatSettings() = platform::TFormatSettings::Invariant();
    struct Case {
        const char* text;
        int cls;
    };
    const Case cases[] = {{"12", 0},  {"1-2", 0},   {"1.5", 1},     {"1,234.5", 1}, {"1F", 5},
                          {"abc", 2}, {"1.2.3", 2}, {"", 2},        {"--1", 2},     {",123", 2}};
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyEditNumberText(c.text), c.cls) << c.text;
    EXPECT_EQ(HexToInt("ff"), 255);
    EXPECT_EQ(HexToInt("G1"), 1);
    EXPECT_EQ(HexToInt("FFFFFFFF"), -1);
    EXPECT_EQ(HexToInt("100000001"), 1) << "wraps at 32 bits";
    EXPECT_EQ(HexDigitValue('b'), 11);
    EXPECT_EQ(StripThousandSeparators("1,234,5"), "12345");
}

} // namespace
