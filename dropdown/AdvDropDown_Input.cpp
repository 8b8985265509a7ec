// Typed input of the drop-down edit: the value text and its conversions, the character filter of
// each edit type, the editing keys, the keys that open and close the pop-up, clipboard, focus and
// mouse selection.
#include "dropdown/AdvDropDown_Edit.h"

#include "platform/SysUtils.h"
#include "render/RuvOdid.h"
#include "platform/Property.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <limits>
#include <memory>

using namespace platform;

// ---- number texts ------------------------------------------------------------------------------

QChar ThousandSeparatorChar()
{
    return FormatSettings().ThousandSeparator;
}

QChar DecimalSeparatorChar()
{
    return FormatSettings().DecimalSeparator;
}

bool IsRangeSeparator(QChar Ch)
{
    return Ch == QLatin1Char(',') || Ch == QLatin1Char('-') || Ch == QLatin1Char(';');
}

int ClassifyEditNumberText(const QString& S)
{
    const QChar ts = ThousandSeparatorChar(), ds = DecimalSeparatorChar();
    if (S.isEmpty())
        return 2;
    bool hex = true, integer = true, flt = true, anyDigit = false;
    int minus = 0, decimals = 0, lastTS = -1;
    for (int i = 0; i < S.size(); ++i) {
        const QChar c = S[i];
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool hexLetter = (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
                               (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
        if (digit)
            anyDigit = true;
        if (c == QLatin1Char('-'))
            ++minus;
        if (c == ds)
            ++decimals;
        if (!(digit || hexLetter || c == QLatin1Char('-')))
            hex = false;
        if (!(digit || c == QLatin1Char('-')))
            integer = false;
        if (!(digit || c == QLatin1Char(',') || c == QLatin1Char('-') || c == QLatin1Char('.')))
            flt = false;
        if (c == ts) {
            if (i == 0 || (lastTS >= 0 && i - lastTS < 3))
                flt = false;
            lastTS = i;
        }
    }
    if (minus > 1 || decimals > 1)
        return 2;
    if (integer)
        return 0;
    if (flt)
        return 1;
    // Letters alone ("abc") are a word, not a hexadecimal number.
    if (hex && anyDigit)
        return 5;
    return 2;
}

QString StripThousandSeparators(const QString& S)
{
    QString r = S;
    r.remove(ThousandSeparatorChar());
    return r;
}

int HexDigitValue(QChar Ch)
{
    const ushort c = Ch.unicode();
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

int HexToInt(const QString& S)
{
    uint32_t v = 0;
    for (QChar c : S)
        v = v * 16u + uint32_t(HexDigitValue(c));
    return int(v);
}

QString CaseText(const QString& S, bool KeepCase)
{
    return KeepCase ? S : S.toUpper();
}

namespace {

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsNumericType(TDropDownEditType t)
{
    return t == etNumeric || t == etFloat || t == etMoney;
}

// The numeric start of a text as a plain conversion reads it ("." decimal); 0 when none.
double ValPrefix(const QString& s)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const QRegularExpressionMatch m = re.match(s);
    if (!m.hasMatch())
        return 0;
    bool ok = false;
    const double v = m.captured(0).trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

} // namespace

// ---- the value ---------------------------------------------------------------------------------

QString TAdvCustomDropDown::Text() const
{
    QString s = text();
    if (!FPrefix.isEmpty() && s.startsWith(FPrefix))
        s.remove(0, FPrefix.size());
    if (!FSuffix.isEmpty() && s.endsWith(FSuffix))
        s.chop(FSuffix.size());
    return s;
}

void TAdvCustomDropDown::SetWindowText(const QString& text)
{
    const bool modified = isModified();
    setText(text);
    // A written text leaves the caret at the start, as the edit window does; the typing rules
    // and the calculator's digit entry count on it.
    setCursorPosition(0);
    setModified(modified);
}

void TAdvCustomDropDown::SetEditText(const QString& Value)
{
    SetWindowText(Value);
}

int TAdvCustomDropDown::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

int TAdvCustomDropDown::SelLength() const
{
    return hasSelectedText() ? int(selectedText().size()) : 0;
}

void TAdvCustomDropDown::SetSel(int start, int length)
{
    const int n = int(text().size());
    start = std::clamp(start, 0, n);
    length = std::clamp(length, 0, n - start);
    if (length > 0)
        setSelection(start, length);
    else {
        deselect();
        setCursorPosition(start);
    }
}

void TAdvCustomDropDown::SetModified(bool Value)
{
    if (FLoading || !FEditorEnabled || isReadOnly())
        return;
    setModified(Value);
    FIsModified = Value;
}

void TAdvCustomDropDown::SetText(const QString& Value)
{
    QString v = Value;
    if (v.isEmpty() && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex))
        v = QStringLiteral("0");
    if (FPrecision > 0 && !v.isEmpty() && v != QLatin1String("Error")) {
        const QString digits = QString::number(FPrecision);
        if (FEditType == etMoney)
            v = Format(QStringLiteral("%.") + digits + QStringLiteral("n"), {TextToFloat(v)});
        else if (FEditType == etFloat)
            v = Format(QStringLiteral("%.") + digits + QStringLiteral("f"), {TextToFloat(v)});
    }
    if (FEditType == etHex)
        v = v.toUpper();
    SetWindowText(FPrefix + v + FSuffix);
    FOldText = v;
    SetModified(false);
}

double TAdvCustomDropDown::TextToFloat(const QString& S) const
{
    QString s = S;
    if (s.contains(ThousandSeparatorChar()))
        s = StripThousandSeparators(s);
    double v = 0;
    if (!TryStrToFloat(s, v) || !std::isfinite(v))
        return 0;
    return v;
}

double TAdvCustomDropDown::GetFloatValue()
{
    const QString v = Value();
    switch (FEditType) {
    case etString:
        return ValPrefix(v);
    case etNumeric:
    case etFloat:
        if (v.isEmpty() || v == QLatin1String("Error") || v == QLatin1String("-"))
            return 0;
        return TextToFloat(v);
    case etMoney: {
        if (v.isEmpty())
            return 0;
        QString s = StripThousandSeparators(v);
        if (!s.isEmpty() && s.back() == DecimalSeparatorChar())
            s.chop(1);
        if (s.isEmpty() || s == QLatin1String("-"))
            return 0;
        return TextToFloat(s);
    }
    case etHex:
        return v.isEmpty() ? 0 : double(HexToInt(v));
    default:
        return 0;
    }
}

void TAdvCustomDropDown::SetFloatValue(double Value)
{
    const QString fixed = QStringLiteral("%.") + QString::number(FPrecision);
    switch (FEditType) {
    case etString:
    case etFloat:
        SetText(Format(FPrecision < 0 ? QStringLiteral("%g") : fixed + QStringLiteral("f"), {Value}));
        break;
    case etNumeric:
        SetText(Format(FPrecision < 0 ? QStringLiteral("%g") : fixed + QStringLiteral("n"), {Value}));
        break;
    case etMoney:
        SetText(Format(FPrecision < 0 ? QStringLiteral("%g") : fixed + QStringLiteral("f"), {Value}));
        FormatMoney();
        break;
    case etHex: {
        // Values beyond 32 bits keep their low 32 bits, as the integer conversion wraps.
        const double t = std::trunc(Value);
        const int64_t n = std::isfinite(t) && std::fabs(t) < 9.2e18 ? int64_t(t) : 0;
        SetText(IntToHex(int(uint32_t(uint64_t(n))), 0));
        break;
    }
    default:
        break;
    }
    SetModified(true);
}

void TAdvCustomDropDown::SetIntValue(int Value)
{
    switch (FEditType) {
    case etNumeric:
    case etFloat:
        SetText(IntToStr(Value));
        break;
    case etMoney:
        SetText(IntToStr(Value));
        FormatMoney();
        break;
    case etHex:
        SetText(IntToHex(Value, 0));
        break;
    default:
        break;
    }
    SetModified(true);
}

void TAdvCustomDropDown::FormatMoney()
{
    QString v = Value();
    if (v.isEmpty())
        return;
    const int L0 = int(v.size());
    const int C = cursorPosition();
    QString sign;
    if (v.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("-");
        v.remove(0, 1);
    }
    const int dp = int(v.indexOf(DecimalSeparatorChar()));
    const QString fraction = dp >= 0 ? v.mid(dp, 255) : QString();
    // The whole part stays a double: a value beyond the integer range (many digits typed) is
    // regrouped like any other instead of failing the integer conversion inside a key handler.
    const double whole = std::trunc(std::fabs(GetFloatValue()));
    if (!std::isfinite(whole))
        return;
    QString I = Format(FAutoThousandSeparator ? QStringLiteral("%n") : QStringLiteral("%f"), {whole});
    const int idp = int(I.indexOf(DecimalSeparatorChar()));
    if (idp >= 0)
        I.truncate(idp);
    const QString formatted = FPrefix + sign + I + fraction + FSuffix;
    FBlockChange = text() != formatted;
    SetWindowText(formatted);
    if (text() == formatted && FBlockChange)
        FBlockChange = false; // the rewrite fired its (swallowed) change
    SetSel(C + (int(Value().size()) - L0), 0);
}

void TAdvCustomDropDown::SetEditType(TDropDownEditType Value)
{
    if (!platform::Change(FEditType, Value))
        return;
    if (Value == etPassword) {
        setEchoMode(QLineEdit::Password);
        FCanUndo = false;
    } else {
        setEchoMode(QLineEdit::Normal);
    }
    const int cls = ClassifyEditNumberText(this->Value());
    if (Value == etNumeric && cls != 0)
        SetIntValue(0);
    else if ((Value == etFloat || Value == etMoney) && cls >= 2)
        SetFloatValue(0);
    else if (Value == etHex && cls != 0 && cls != 5)
        SetIntValue(0);
}

void TAdvCustomDropDown::SetPrecision(int Value)
{
    if (FPrecision == Value || !(FEditType == etString || FEditType == etFloat || FEditType == etMoney))
        return;
    FPrecision = int16_t(Value);
    if (ClassifyEditNumberText(this->Value()) >= 2)
        SetFloatValue(0);
    else
        SetFloatValue(GetFloatValue());
}

void TAdvCustomDropDown::SelectAll()
{
    // The selection covers the value, never the prefix or the suffix around it.
    SetSel(int(FPrefix.size()), int(Value().size()));
}

void TAdvCustomDropDown::SelectBeforeDecimal()
{
    const int p = int(Value().indexOf(DecimalSeparatorChar())) + 1;
    const int caret = int(FPrefix.size()) + (p > 0 ? p - 1 : 0);
    const int len = SelLength();
    SetSel(caret, len);
}

void TAdvCustomDropDown::SelectAfterDecimal()
{
    const int p = int(Value().indexOf(DecimalSeparatorChar())) + 1;
    const int caret = int(FPrefix.size()) + (p > 0 ? p : 0);
    const int len = SelLength();
    SetSel(caret, len);
}

// ---- rules of the character filter -------------------------------------------------------------

int TAdvCustomDropDown::IntegerPartLength(const QString& value) const
{
    const QString v = StripThousandSeparators(value);
    const int p = int(v.indexOf(DecimalSeparatorChar()));
    int n = p >= 0 ? p + 1 : int(v.size()) + 1;
    if (FSigned && IsNumericType(FEditType) && value.contains(QLatin1Char('-')))
        --n;
    return n;
}

int TAdvCustomDropDown::DecimalPosition() const
{
    const QString v = Value();
    const int p = int(v.indexOf(DecimalSeparatorChar()));
    if (p >= 0)
        return int(FPrefix.size()) + p + 1;
    return int(FPrefix.size() + v.size() + FSuffix.size()) + 1;
}

bool TAdvCustomDropDown::DecimalsFull(const QString& value, int caret) const
{
    if (FPrecision <= 0)
        return false;
    const int c = caret - int(FPrefix.size());
    if (int(value.size()) - c > FPrecision)
        return false;
    const int p = int(value.indexOf(DecimalSeparatorChar())) + 1;
    if (p == 0)
        return false;
    return c >= p && int(value.size()) - p >= FPrecision;
}

bool TAdvCustomDropDown::ThousandSeparatorMisplaced(const QString& value, int caret) const
{
    const QChar ts = ThousandSeparatorChar();
    if (!value.contains(ts))
        return false;
    QString w = value;
    int c = caret - int(FPrefix.size());
    int smallest = std::numeric_limits<int>::max();
    for (int p = int(w.indexOf(ts)) + 1; p > 0; p = int(w.indexOf(ts)) + 1) {
        const int index = p - 1;
        // Digits between the separator and the caret.
        const int distance = index < c ? c - index - 1 : index - c;
        if (distance < 3)
            return true;
        smallest = std::min(smallest, distance);
        w = w.mid(p);
        if (index < c)
            c -= p;
    }
    return smallest > 3;
}

void TAdvCustomDropDown::ToggleSign(bool wholeSelected)
{
    const int caret = cursorPosition();
    QString v = Value();
    if (wholeSelected) {
        SetWindowText(QStringLiteral("-"));
        SetSel(1, 0);
        return;
    }
    if (!v.contains(QLatin1Char('-'))) {
        SetWindowText(QStringLiteral("-") + v + FSuffix);
        SetSel(caret + 1, 0);
    } else {
        v.remove(0, 1);
        SetWindowText(v + FSuffix);
        SetSel(caret > FPrefix.size() ? caret - 1 : int(FPrefix.size()), 0);
    }
}

void TAdvCustomDropDown::InsertChar(QChar ch)
{
    QPointer<TAdvCustomDropDown> self(this);
    QChar k = ch;
    HandleKeyPress(k);
    if (!self || k.isNull())
        return;
    if (k.unicode() == 8) {
        if (!isReadOnly())
            backspace();
    } else if (k.unicode() >= 32 && !isReadOnly()) {
        insert(QString(k));
    }
}

void TAdvCustomDropDown::HandleKeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
    if (Key.unicode() == 13)
        Key = QChar();
}

void TAdvCustomDropDown::HandleChange()
{
    if (OnChange)
        OnChange(this);
}

void TAdvCustomDropDown::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
    SetEditRect();
}

void TAdvCustomDropDown::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TAdvCustomDropDown::HandleKeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TAdvCustomDropDown::PerformChar(QChar Key, TShiftState Shift, bool keypadDecimal)
{
    if (!FEditorEnabled)
        return;
    QPointer<TAdvCustomDropDown> self(this);
    const QChar DS = DecimalSeparatorChar();
    const bool ctrl = Shift.testFlag(ssCtrl);
    QChar ch = Key;
    const ushort u = ch.unicode();
    const QString value = Value();
    const int selLen = SelLength();
    const int caret = SelStart();

    if (u == 13 && ctrl)
        return;
    if (u == 13) {
        QChar k = ch;
        if (OnKeyPress)
            OnKeyPress(this, k);
        return;
    }
    if (u == 27 && !FCanUndo) {
        InsertChar(ch);
        return;
    }
    if (ctrl && (u == 3 || u == 22 || u == 24)) {
        if (u == 3)
            CopyToClipboard();
        else if (u == 22)
            PasteFromClipboard();
        else
            CutToClipboard();
        return;
    }
    if (FExcelStyleDecimalSeparator && keypadDecimal && (ch == QLatin1Char('.') || ch == QLatin1Char(',')))
        ch = DS;
    if (u == 8 && !FPrefix.isEmpty() && caret <= FPrefix.size() && selLen == 0)
        return;
    if (FLengthLimit > 0 && IntegerPartLength(value) > FLengthLimit && selLen == 0 && caret < DecimalPosition() &&
        u != 8 && ch != DS && !(ch == QLatin1Char('-') && FSigned && IsNumericType(FEditType)))
        return;
    if (u == 8) {
        const QString before = value;
        const int changes = FChangeCount;
        TypeStep(ch, Shift);
        if (!self)
            return;
        // A change that emptied the value is always reported.
        if (Value().isEmpty() && !before.isEmpty() && changes == FChangeCount)
            HandleChange();
    } else {
        if (u == 10 && ctrl)
            return;
        if (ch == QLatin1Char('-') && IsNumericType(FEditType) && !FSigned)
            return;
        TypeStep(ch, Shift);
    }
    if (self && isModified())
        SetModified(true);
}

void TAdvCustomDropDown::TypeStep(QChar ch, TShiftState Shift)
{
    const QChar DS = DecimalSeparatorChar(), TS = ThousandSeparatorChar();
    const ushort u = ch.unicode();
    const bool ctrl = Shift.testFlag(ssCtrl);
    const QString value = Value();
    const int selLen = SelLength();
    const int caret = SelStart();
    const bool whole = selLen > 0 && selLen == value.size();
    const bool digit = IsDigit(ch);
    const bool basic = u == 8 || u == 9 || u == 13;
    const QString selected = selectedText();

    // Rules (d), (e) and (f) shared by the float and money types; true when they handled ch.
    auto decimalRules = [&]() -> bool {
        if (DecimalsFull(value, caret) && (digit || ch == DS) && selLen == 0) {
            const int c = caret - int(FPrefix.size());
            const int p = int(value.indexOf(DS)) + 1;
            if (digit && c >= p && c < value.size()) {
                SetSel(caret, 1);
                InsertChar(ch);
            }
            return true;
        }
        if (value.isEmpty() && ch == DS && caret == 0) {
            SetWindowText(QStringLiteral("0") + DS);
            SetSel(2, 0);
            SetModified(true);
            return true;
        }
        if (ch == QLatin1Char('-') && selLen == 0) {
            ToggleSign(false);
            SetModified(true);
            return true;
        }
        return false;
    };

    switch (FEditType) {
    case etString:
    case etPassword:
        SetModified(true);
        InsertChar(ch);
        break;
    case etNumeric:
        if (ch == QLatin1Char('-')) {
            ToggleSign(whole);
        } else if (basic || digit || ctrl) {
            InsertChar(ch);
        }
        break;
    case etFloat: {
        if (ch == QLatin1Char(',') && DS != ch && TS != ch)
            return;
        if (ch == QLatin1Char('.') && DS != ch && TS != ch)
            return;
        if (!(basic || digit || ch == QLatin1Char(',') || ch == QLatin1Char('-') || ch == QLatin1Char('.')))
            return;
        if (ch == DS && !selected.contains(DS)) {
            if (value.contains(DS) || FPrecision == 0) {
                if (FPrecision > 0)
                    SelectAfterDecimal();
                return;
            }
        }
        if (ch == QLatin1Char(',') && TS != ch) {
            QString outside = value;
            const int s = caret - int(FPrefix.size());
            if (selLen > 0 && s >= 0)
                outside.remove(s, selLen);
            if (outside.contains(QLatin1Char(',')))
                return;
        }
        if ((ch == TS || ch == DS) && ThousandSeparatorMisplaced(value, caret))
            return;
        if (decimalRules())
            return;
        InsertChar(ch);
        break;
    }
    case etUppercase:
        InsertChar(ch.toUpper());
        break;
    case etLowerCase:
        InsertChar(ch.toLower());
        break;
    case etMixedCase: {
        QPointer<TAdvCustomDropDown> self(this);
        const int before = cursorPosition();
        InsertChar(ch);
        if (!self || u < 32)
            return;
        SetWindowText(ProperCaseText(text()));
        SetSel(before + 1, 0);
        break;
    }
    case etMoney: {
        if (ch == DS && (value.contains(DS) || FPrecision == 0)) {
            if (FPrecision > 0) {
                if (whole)
                    SetWindowText(QStringLiteral("0") + DS + QStringLiteral("0"));
                SelectAfterDecimal();
            }
            return;
        }
        if (!(basic || digit || ch == QLatin1Char('-') || ch == DS))
            return;
        if ((ch == TS || ch == DS) && ThousandSeparatorMisplaced(value, caret))
            return;
        if (decimalRules())
            return;
        QPointer<TAdvCustomDropDown> self(this);
        InsertChar(ch);
        if (!self)
            return;
        const QString now = Value();
        if (!now.isEmpty() && now != QLatin1String("-") && ch != DS) {
            if (isModified())
                SetModified(true);
            FormatMoney();
        }
        break;
    }
    case etRange: {
        if (!(basic || digit || ch == QLatin1Char(',') || ch == QLatin1Char('-') || ch == QLatin1Char(';')))
            return;
        SetModified(true);
        if (IsRangeSeparator(ch)) {
            const QString t = text();
            const int c = cursorPosition();
            if (c < FPrefix.size() || (c > 0 && IsRangeSeparator(t[c - 1])) ||
                (c < t.size() && IsRangeSeparator(t[c])))
                return;
        }
        InsertChar(ch);
        break;
    }
    case etHex: {
        const bool hexLetter = (ch >= QLatin1Char('A') && ch <= QLatin1Char('F')) ||
                               (ch >= QLatin1Char('a') && ch <= QLatin1Char('f'));
        if (basic || digit || hexLetter || ch == QLatin1Char('-')) {
            SetModified(true);
            InsertChar(ch);
        }
        break;
    }
    case etAlphaNumeric: {
        const bool letter = (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z')) ||
                            (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'));
        if (basic || digit || letter) {
            SetModified(true);
            InsertChar(ch);
        }
        break;
    }
    case etValidChars:
        if (FValidChars.contains(ch) || u == 8) {
            SetModified(true);
            InsertChar(ch);
        }
        break;
    }
}

// ---- keys --------------------------------------------------------------------------------------

void TAdvCustomDropDown::PerformKeyDown(Word Key, TShiftState Shift)
{
    QPointer<TAdvCustomDropDown> self(this);
    const bool ctrl = Shift.testFlag(ssCtrl);
    // Alt+Down and Alt+Up open and close the pop-up.
    if ((Key == VK_DOWN || Key == VK_UP) && Shift.testFlag(ssAlt)) {
        if (FDroppedDown)
            DoHideDropDown(false);
        else
            DoShowDropDown();
        return;
    }
    auto openCloseKeys = [&](Word Key) {
        if (Key == VK_RETURN)
            DoHideDropDown(false);
        else if (Key == VK_ESCAPE)
            DoHideDropDown(true);
        else if (Key == VK_F4) {
            if (FDropDownForm && FDropDownForm->isVisible())
                DoHideDropDown(false);
            else
                DoShowDropDown();
        }
    };
    if (!FEditorEnabled) {
        if (!isEnabled())
            return;
        if (!isReadOnly())
            openCloseKeys(Key);
        if (self && (Key == VK_RETURN || Key == VK_ESCAPE)) {
            Word k = Key;
            HandleKeyDown(k, Shift);
        }
        return;
    }
    if (ctrl && (Key == VK_TAB || Key == VK_RETURN)) {
        Word k = Key;
        HandleKeyDown(k, Shift);
        return;
    }
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        if (isVisible()) {
            QPointer<TAdvCustomDropDown> edit(this);
            QTimer::singleShot(0, this, [edit]() {
                if (edit)
                    edit->focusNextChild();
            });
        }
    }
    const int prefixLen = int(FPrefix.size());
    const int valueLen = int(Value().size());
    const int selEnd = SelStart() + SelLength();
    if (Key == VK_RIGHT && !FSuffix.isEmpty() && selEnd >= valueLen)
        return;
    if (Key == VK_DELETE && !FSuffix.isEmpty()) {
        if (selEnd >= valueLen && SelLength() == 0)
            return;
        SetModified(true);
    }
    if (Key == VK_LEFT && !FPrefix.isEmpty() && prefixLen >= selEnd)
        return;
    if (Key == VK_END && !FSuffix.isEmpty()) {
        if (Shift.testFlag(ssShift))
            SetSel(SelStart(), valueLen - SelStart());
        else
            SetSel(valueLen, 0);
        return;
    }
    if (Key == VK_HOME && !FPrefix.isEmpty()) {
        if (Shift.testFlag(ssShift))
            setSelection(prefixLen + valueLen, -valueLen);
        else
            SetSel(prefixLen, 0);
        return;
    }
    if (Key == VK_BACK && !FPrefix.isEmpty()) {
        if (cursorPosition() <= prefixLen + 1)
            return;
        SetModified(true);
    }
    if (Key == VK_DELETE && cursorPosition() >= prefixLen) {
        QString v = text();
        if (SelLength() > 0)
            v.remove(SelStart(), SelLength());
        else
            v.remove(cursorPosition(), 1);
        if (!FPrefix.isEmpty() && v.startsWith(FPrefix))
            v.remove(0, prefixLen);
        if (FLengthLimit > 0 && FLengthLimit < IntegerPartLength(v) - 1)
            return;
        SetModified(true);
    }

    // The inherited handling: the key-down event, then the edit's own navigation and deletion.
    Word k = Key;
    HandleKeyDown(k, Shift);
    if (!self)
        return;
    if (k != 0) {
        const bool shift = Shift.testFlag(ssShift);
        if (k == VK_DELETE && shift && !ctrl) {
            CutToClipboard();
        } else if (k == VK_INSERT && shift && !ctrl) {
            PasteFromClipboard();
        } else if (k == VK_INSERT && ctrl) {
            CopyToClipboard();
        } else if (k == VK_LEFT || k == VK_RIGHT || k == VK_HOME || k == VK_END || k == VK_DELETE) {
            Qt::KeyboardModifiers mods;
            if (shift)
                mods |= Qt::ShiftModifier;
            if (ctrl)
                mods |= Qt::ControlModifier;
            QKeyEvent ev(QEvent::KeyPress, QtKeyOf(k), mods);
            QLineEdit::keyPressEvent(&ev);
        }
    }
    if (!self)
        return;
    if (Key == VK_DELETE && FEditType == etMoney)
        FormatMoney();
    if (!FPrefix.isEmpty() && cursorPosition() < prefixLen)
        SetSel(prefixLen, 0);
    // A key the key-down step consumed (cleared) no longer opens or closes the list.
    openCloseKeys(k);
}

void TAdvCustomDropDown::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    try {
        QPointer<TAdvCustomDropDown> self(this);
        const TKeyStroke stroke = TranslateKey(event);
        // (While the pop-up is open its keys come through the pop-up.)
        const bool dialogKey = stroke.Key == VK_ESCAPE || (stroke.Key == VK_RETURN && !stroke.Shift.testFlag(ssCtrl));
        // Escape with undo first selects the value and clears the modified mark; the key then
        // goes on to the key-down step like any other Escape, so a drop-down still restores its
        // own choice. The character itself is never typed.
        const bool undoEscape = stroke.Key == VK_ESCAPE && FCanUndo;
        if (undoEscape) {
            SelectAll();
            SetModified(false);
        }
        if (dialogKey && !FDroppedDown && !(stroke.Key == VK_RETURN && EnterActsAsTab())) {
            // With the pop-up closed the edit takes its own share of Enter and Escape and leaves
            // the key to the window, whose default or cancel button acts on it (once).
            PerformKeyDown(stroke.Key, stroke.Shift);
            if (self && !undoEscape && !stroke.Char.isNull())
                PerformChar(stroke.Char, stroke.Shift);
            if (self)
                event->ignore();
            return;
        }
        if (undoEscape) {
            PerformKeyDown(stroke.Key, stroke.Shift);
            return;
        }
        const bool keypadDecimal = (event->modifiers() & Qt::KeypadModifier) &&
                                   (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma);
        if (stroke.Key != 0)
            PerformKeyDown(stroke.Key, stroke.Shift);
        if (self && !stroke.Char.isNull())
            PerformChar(stroke.Char, stroke.Shift, keypadDecimal);
    } catch (...) {
    }
}

bool TAdvCustomDropDown::event(QEvent* event)
{
    // The caption label shows and hides with the edit.
    if ((event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) && FLabel &&
        !FLabel->text().isEmpty())
        FLabel->setVisible(event->type() == QEvent::ShowToParent);
    // While the pop-up is open Enter and Escape are the drop-down's keys, never shortcuts of the
    // window; with it closed they are left to the window.
    if (event->type() == QEvent::ShortcutOverride && FDroppedDown) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Escape || ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

// ---- clipboard ---------------------------------------------------------------------------------

void TAdvCustomDropDown::CutToClipboard()
{
    if (!FEditorEnabled || isReadOnly())
        return;
    bool allow = true;
    FBlockCopy = true;
    if (OnClipboardCut)
        OnClipboardCut(this, selectedText(), allow);
    if (allow && hasSelectedText()) {
        cut();
        SetModified(true);
    }
    FBlockCopy = false;
}

void TAdvCustomDropDown::CopyToClipboard()
{
    bool allow = true;
    if (!FBlockCopy && OnClipboardCopy)
        OnClipboardCopy(this, selectedText(), allow);
    FBlockCopy = false;
    if (allow)
        copy();
}

void TAdvCustomDropDown::PasteFromClipboard()
{
    if (isReadOnly())
        return;
    const QString clip = QApplication::clipboard()->text();
    if (clip.isEmpty())
        return;
    const QString value = Value();
    const int prefixLen = int(FPrefix.size());
    const int selLen = SelLength();
    const int start = std::clamp(SelStart() - prefixLen, 0, int(value.size()));
    const int len = std::min(selLen, int(value.size()) - start);
    const QString S = value.left(start) + clip + value.mid(start + len);
    const int newSelStart = selLen > 0 ? prefixLen + start : prefixLen + start + int(clip.size());
    const int newSelLen = selLen > 0 ? int(clip.size()) : 0;
    bool allow = true;
    if (OnClipboardPaste)
        OnClipboardPaste(this, S, allow);
    if (!allow)
        return;
    if (FMaxLength > 0 && clip.size() + value.size() - selLen > FMaxLength)
        return;
    const int cls = ClassifyEditNumberText(S);
    const bool signOk = FSigned || !S.contains(QLatin1Char('-'));
    switch (FEditType) {
    case etString:
    case etPassword:
        SetText(S);
        break;
    case etNumeric:
        if (cls != 0 || !signOk)
            return;
        SetText(S);
        SetModified(true);
        break;
    case etFloat:
    case etMoney:
        if (!(cls == 0 || cls == 1) || (FPrecision == 0 && clip.contains(DecimalSeparatorChar())) || !signOk)
            return;
        SetText(S);
        SetFloatValue(GetFloatValue());
        SetModified(true);
        break;
    case etUppercase:
        SetText(S.toUpper());
        break;
    case etLowerCase:
        SetText(S.toLower());
        break;
    case etMixedCase:
        SetText(ProperCaseText(S));
        break;
    case etAlphaNumeric:
    case etValidChars: {
        for (QChar c : S) {
            const bool ok = FEditType == etValidChars
                                ? FValidChars.contains(c)
                                : (IsDigit(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                                   (c >= QLatin1Char('a') && c <= QLatin1Char('z')));
            if (!ok)
                return;
        }
        SetText(S);
        SetModified(true);
        break;
    }
    case etRange:
    case etHex:
        return;
    }
    if (FEditType == etMoney && text().size() > 3)
        SelectAll();
    else
        SetSel(newSelStart, newSelLen);
    if (FEditType == etString || (FEditType >= etUppercase && FEditType <= etPassword))
        SetModified(true);
}

void TAdvCustomDropDown::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction* a : menu->actions()) {
        const QString name = a->objectName();
        std::function<void()> handler;
        if (name == QLatin1String("edit-cut"))
            handler = [this]() { CutToClipboard(); };
        else if (name == QLatin1String("edit-copy"))
            handler = [this]() { CopyToClipboard(); };
        else if (name == QLatin1String("edit-paste"))
            handler = [this]() { PasteFromClipboard(); };
        if (!handler)
            continue;
        a->disconnect();
        connect(a, &QAction::triggered, this, [handler]() {
            try {
                handler();
            } catch (...) {
            }
        });
        if (name != QLatin1String("edit-copy") && (!FEditorEnabled || isReadOnly()))
            a->setEnabled(false);
    }
    menu->exec(event->globalPos());
}

// ---- focus, mouse and wheel --------------------------------------------------------------------

void TAdvCustomDropDown::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (FLoading)
        return;
    try {
        if (FEditorEnabled) {
            FOldString = Value();
            const bool mouseEntry = event->reason() == Qt::MouseFocusReason &&
                                    (QApplication::mouseButtons() & Qt::LeftButton);
            if (FAutoSelect && !mouseEntry)
                SelectAll();
            else if (FEditType == etFloat || FEditType == etMoney)
                SelectBeforeDecimal();
        }
        update();
        if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
            DoEnter();
    } catch (...) {
    }
}

void TAdvCustomDropDown::focusOutEvent(QFocusEvent* event)
{
    try {
        if (!FLoading) {
            const QString v = Value();
            const bool floatType = FEditType == etFloat || FEditType == etMoney;
            if (FPrecision > 0 && floatType && (!v.isEmpty() || !FAllowNumericNullValue)) {
                const bool modified = isModified();
                const bool own = FIsModified;
                SetFloatValue(GetFloatValue());
                setModified(modified);
                FIsModified = own;
            } else if (FEditType == etNumeric && v.isEmpty() && !FAllowNumericNullValue) {
                SetWindowText(FPrefix + QStringLiteral("0") + FSuffix);
            } else if (floatType && v.isEmpty() && !FAllowNumericNullValue) {
                SetFloatValue(0);
            }
        }
    } catch (...) {
    }
    QLineEdit::focusOutEvent(event);
    update();
    // The edit's own pop-up taking the focus is no leaving.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (DropDownForm() && DropDownForm()->isVisible())
        return;
    try {
        DoExit();
    } catch (...) {
    }
}

void TAdvCustomDropDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FEditMouseDown = true;
    if (!FEditorEnabled) {
        QLineEdit::mousePressEvent(event);
        if (event->button() == Qt::LeftButton) {
            try {
                ShowFromClick();
            } catch (...) {
            }
        }
        return;
    }
    if (event->button() == Qt::LeftButton && hasSelectedText() && hasFocus()) {
        const int index = cursorPositionAt(event->position().toPoint());
        const int s = selectionStart();
        if (index >= s && index < s + selectedText().size()) {
            // Held back: the press may start a drag of the selected text.
            FButtonDown = true;
            return;
        }
    }
    QLineEdit::mousePressEvent(event);
}

void TAdvCustomDropDown::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FEditMouseDown = false;
    if (!FEditorEnabled || isReadOnly())
        update();
    if (FButtonDown && event->button() == Qt::LeftButton) {
        SetSel(cursorPositionAt(event->position().toPoint()), 0);
        FButtonDown = false;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (!FEditorEnabled)
        return;
    const int prefixLen = int(FPrefix.size());
    const int valueLen = int(Value().size());
    if (!FPrefix.isEmpty() && cursorPosition() < prefixLen)
        SetSel(prefixLen, valueLen);
    if (!FSuffix.isEmpty()) {
        const int s = SelStart(), e = SelStart() + SelLength();
        if (SelLength() == 0 && s > prefixLen + valueLen)
            SetSel(prefixLen + valueLen, 0);
        else if (e > prefixLen + valueLen)
            SetSel(s, prefixLen + valueLen - s);
    }
}

void TAdvCustomDropDown::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A pick-only edit takes no double clicks: the second press is a press like the first.
    if (!FEditorEnabled) {
        mousePressEvent(event);
        return;
    }
    QLineEdit::mouseDoubleClickEvent(event);
}

void TAdvCustomDropDown::wheelEvent(QWheelEvent* event)
{
    QLineEdit::wheelEvent(event);
    try {
        if (event->angleDelta().y() < 0)
            SelectNextValue();
        else if (event->angleDelta().y() > 0)
            SelectPreviousValue();
    } catch (...) {
    }
}
