#include "grid/AsgDateTimePicker.h"

#include "render/AdvXPVS.h"
#include "platform/Messages.h"
#include "platform/PlatformInfo.h"
#include "platform/Property.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

using namespace platform;
using namespace AsgCombo;

namespace AsgDatePicker {

namespace {

// Copies runs of one letter, mapping each run through `map`; quoted text stays as it is.
QString MapRuns(const QString& format, const std::function<QString(QChar, int, QChar previous)>& map)
{
    QString out;
    QChar previous;
    for (int i = 0; i < format.length();) {
        const QChar c = format[i];
        if (c == '\'' || c == '"') {
            const int end = format.indexOf(c, i + 1);
            const int stop = end < 0 ? int(format.length()) : end + 1;
            out += '\'' + format.mid(i + 1, stop - i - 2 + (end < 0 ? 1 : 0)) + '\'';
            i = stop;
            continue;
        }
        int n = 1;
        while (i + n < format.length() && format[i + n].toLower() == c.toLower())
            ++n;
        if (c.isLetter()) {
            out += map(c, n, previous);
            previous = c.toLower();
        } else {
            out += format.mid(i, n);
        }
        i += n;
    }
    return out;
}

} // namespace

QString PickerFormatToQt(const QString& format)
{
    return MapRuns(format, [](QChar c, int n, QChar) -> QString {
        if (c == 't')
            return n >= 2 ? QStringLiteral("AP") : QStringLiteral("A");
        return QString(n, c);
    });
}

QString ShortDateFormatToQt(const QString& format)
{
    return MapRuns(format, [](QChar c, int n, QChar) -> QString {
        switch (c.toLower().unicode()) {
        case 'm': return QString(n, 'M');
        case 'd': return QString(n, 'd');
        case 'y': return n <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
        default: return QString(n, c);
        }
    });
}

QString TimeFormatToQt(const QString& format)
{
    const bool twelve = format.contains(QLatin1String("am/pm"), Qt::CaseInsensitive) ||
                        format.contains(QLatin1String("ampm"), Qt::CaseInsensitive);
    QString f = format;
    f.replace(QLatin1String("am/pm"), QLatin1String("\x01"), Qt::CaseInsensitive);
    f.replace(QLatin1String("ampm"), QLatin1String("\x01"), Qt::CaseInsensitive);
    QString out = MapRuns(f, [twelve](QChar c, int n, QChar) -> QString {
        switch (c.toLower().unicode()) {
        case 'h': return QString(n, twelve ? 'h' : 'H');
        case 'n':
        case 'm': return QString(std::min(n, 2), 'm');
        case 's': return QString(std::min(n, 2), 's');
        case 'z': return QString(n, 'z');
        default: return QString(n, c);
        }
    });
    out.replace(QChar(1), QLatin1String("AP"));
    return out;
}

QDateTime ToQDateTime(TDateTime value)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

TDateTime FromQDateTime(const QDateTime& value)
{
    TDateTime d = 0, t = 0;
    const QDate date = value.date();
    const QTime time = value.time();
    if (!TryEncodeDate(date.year(), date.month(), date.day(), d))
        d = 0;
    if (!TryEncodeTime(time.hour(), time.minute(), time.second(), time.msec(), t))
        t = 0;
    return d < 0 ? d - t : d + t;
}

TFieldAdvance FieldAdvance(bool TimeKind, const TPickerFields& Before, const TPickerFields& After,
                           const QString& Format)
{
    if (TimeKind) {
        const bool changed =
            After.Hour != Before.Hour || After.Minute != Before.Minute || After.Second != Before.Second;
        return changed ? faNextField : faNone;
    }
    const bool day = After.Day != Before.Day, month = After.Month != Before.Month, year = After.Year != Before.Year;
    if (Format.isEmpty()) {
        if (day || month)
            return faNextField;
        return year ? faLastField : faNone;
    }
    const QChar L = Format.back().toLower();
    if ((day && L == QLatin1Char('d')) || (month && L == QLatin1Char('m')) || (year && L == QLatin1Char('y')))
        return faLastField;
    return day || month || year ? faNextField : faNone;
}

TPickerFields FieldsOf(const QDateTime& Value)
{
    const QDate d = Value.date();
    const QTime t = Value.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

QEvent::Type DTPShiftFocusMessage()
{
    static const QEvent::Type type = RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
    return type;
}

} // namespace AsgDatePicker

using namespace AsgDatePicker;

namespace {

constexpr int SystemScrollWidth = 17;

void Outline(TCanvas& canvas, const std::vector<TPoint>& points, TColor color)
{
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(color);
    canvas.Polyline(points);
}

// The registered message exists from start-up on, as every picker unit's messages do.
const QEvent::Type RegisteredAtStart = DTPShiftFocusMessage();

} // namespace

// ---- TDateTimePickerControl ---------------------------------------------------------------------

TDateTimePickerControl::TDateTimePickerControl(QWidget* AOwner) : QDateTimeEdit(AOwner)
{
    (void)RegisteredAtStart;
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setCalendarPopup(true);
    FButtonWidth = SystemScrollWidth + 2;
    FIsThemed = PlatformInfo().IsComCtl6OrLater();
    FIsWinXP = PlatformInfo().IsWinXPOrLater();
    FSetting = true;
    setDateTime(QDateTime::currentDateTime());
    FSetting = false;
    ApplyFormat();
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime&) { UserChanged(); });
    resize(186, 21);
}

TDateTimePickerControl::~TDateTimePickerControl() = default;

void TDateTimePickerControl::UserChanged()
{
    if (FSetting)
        return;
    try {
        Change();
    } catch (...) {
    }
}

void TDateTimePickerControl::Change()
{
    if (OnChange)
        OnChange(this);
}

void TDateTimePickerControl::ApplyFormat()
{
    const TFormatSettings& fs = FormatSettings();
    QString qt;
    if (!FFormat.isEmpty())
        qt = PickerFormatToQt(FFormat);
    else if (FPickerKind == dtkTime)
        qt = TimeFormatToQt(fs.LongTimeFormat);
    else
        qt = ShortDateFormatToQt(fs.ShortDateFormat);
    const bool keep = FSetting;
    FSetting = true;
    const QDateTime v = dateTime();
    setCalendarPopup(FPickerKind == dtkDate && FDateMode == dmComboBox);
    setDisplayFormat(qt);
    setDateTime(v);
    FSetting = keep;
}

TDateTime TDateTimePickerControl::PickerDateTime() const
{
    return FromQDateTime(dateTime());
}

void TDateTimePickerControl::SetPickerDateTime(TDateTime Value)
{
    const bool keep = FSetting;
    FSetting = true;
    setDateTime(ToQDateTime(Value));
    FSetting = keep;
}

TDateTime TDateTimePickerControl::PickerDate() const
{
    return std::trunc(PickerDateTime());
}

void TDateTimePickerControl::SetPickerDate(TDateTime Value)
{
    const TDateTime now = PickerDateTime();
    SetPickerDateTime(std::trunc(Value) + std::fabs(now - std::trunc(now)));
}

TDateTime TDateTimePickerControl::PickerTime() const
{
    const TDateTime v = PickerDateTime();
    return std::fabs(v - std::trunc(v));
}

void TDateTimePickerControl::SetPickerTime(TDateTime Value)
{
    SetPickerDateTime(PickerDate() + std::fabs(Value - std::trunc(Value)));
}

void TDateTimePickerControl::SetChecked(bool Value)
{
    FChecked = Value;
}

void TDateTimePickerControl::SetCtl3D(bool Value)
{
    FCtl3D = Value;
    setFrame(Value);
    update();
}

void TDateTimePickerControl::SetColor(TColor Value)
{
    FColor = Value;
    QPalette p = palette();
    p.setColor(QPalette::Base, ToQColor(Value));
    setPalette(p);
    update();
}

void TDateTimePickerControl::DropDown()
{
    if (!calendarPopup() || DroppedDown() || !isEnabled())
        return;
    // The calendar opens as a press on the drop-down arrow opens it.
    const QPointF at(width() - 4, height() / 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QDateTimeEdit::mousePressEvent(&press);
}

bool TDateTimePickerControl::DroppedDown() const
{
    const QCalendarWidget* cal = calendarPopup() ? calendarWidget() : nullptr;
    return cal && cal->window() != window() && cal->window()->isVisible();
}

QString TDateTimePickerControl::Version() const
{
    const unsigned v = VersionNumber();
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

// ---- keys --------------------------------------------------------------------------------------

void TDateTimePickerControl::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TDateTimePickerControl::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TDateTimePickerControl::InheritedKey(QKeyEvent* event)
{
    // Right and Left go from field to field, as the platform picker does.
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier));
    if (plain && (event->key() == Qt::Key_Right || event->key() == Qt::Key_Left)) {
        const int next = currentSectionIndex() + (event->key() == Qt::Key_Right ? 1 : -1);
        if (next >= 0 && next < sectionCount())
            setCurrentSectionIndex(next);
        FTypedSection = -1;
        event->accept();
        return;
    }
    // F4 opens the calendar, as the platform picker's key does.
    if (event->key() == Qt::Key_F4 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        DropDown();
        event->accept();
        return;
    }
    // Digits typed into a number field set that field at once, as the platform picker's typing
    // does: the first digit gives the field its value, the next ones add up in it until the field
    // is full; a year takes its value when all its digits are typed.
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0] >= QLatin1Char('0') && typed[0] <= QLatin1Char('9') &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && TypeDigit(typed[0].digitValue())) {
        event->accept();
        return;
    }
    FTypedSection = -1;
    QDateTimeEdit::keyPressEvent(event);
}

bool TDateTimePickerControl::TypeDigit(int Digit)
{
    const Section sec = currentSection();
    const int index = currentSectionIndex();
    const QString shown = sectionText(sec);
    bool numeric = !shown.isEmpty();
    for (QChar c : shown)
        numeric = numeric && c.isDigit();
    if (!numeric)
        return false;
    if (FTypedSection != index) {
        FTypedSection = index;
        FTypedDigits.clear();
    }
    FTypedDigits += QChar('0' + Digit);
    const int v = FTypedDigits.toInt();
    QDateTime dt = dateTime();
    QDate d = dt.date();
    QTime t = dt.time();
    int maximum = 59;
    int width = 2;
    bool apply = true;
    switch (sec) {
    case DaySection: maximum = 31; apply = v > 0; break;
    case MonthSection: maximum = 12; apply = v > 0; break;
    case YearSection:
        width = shown.size() <= 2 ? 2 : 4;
        maximum = width == 2 ? 99 : 9999;
        apply = int(FTypedDigits.size()) == width && (width == 2 || v >= 100);
        break;
    case HourSection: maximum = 23; break;
    case MinuteSection:
    case SecondSection: break;
    case MSecSection: maximum = 999; width = 3; break;
    default: FTypedSection = -1; return false;
    }
    if (apply) {
        switch (sec) {
        case DaySection: d = QDate(d.year(), d.month(), std::min(v, QDate(d.year(), d.month(), 1).daysInMonth())); break;
        case MonthSection: {
            const int days = QDate(d.year(), v, 1).daysInMonth();
            d = QDate(d.year(), v, std::min(d.day(), days));
            break;
        }
        case YearSection: {
            const int y = width == 2 ? 2000 + v : v;
            d = QDate(y, d.month(), std::min(d.day(), QDate(y, d.month(), 1).daysInMonth()));
            break;
        }
        case HourSection: t = QTime(v, t.minute(), t.second(), t.msec()); break;
        case MinuteSection: t = QTime(t.hour(), v, t.second(), t.msec()); break;
        case SecondSection: t = QTime(t.hour(), t.minute(), v, t.msec()); break;
        case MSecSection: t = QTime(t.hour(), t.minute(), t.second(), v); break;
        default: break;
        }
        const QDateTime next(d, t);
        if (next.isValid() && next >= minimumDateTime() && next <= maximumDateTime())
            QDateTimeEdit::setDateTime(next);
        setCurrentSectionIndex(index);
    }
    // A full field, or one no further digit could stay within, starts over with the next digit.
    if (int(FTypedDigits.size()) >= width || v * 10 > maximum)
        FTypedDigits.clear();
    return true;
}

void TDateTimePickerControl::keyPressEvent(QKeyEvent* event)
{
    QPointer<TDateTimePickerControl> self(this);
    bool consumed = false;
    try {
        consumed = DeliverKey(
            event, [this](uint16_t& key, TShiftState shift) { KeyDown(key, shift); },
            [this](QChar& ch) { KeyPress(ch); });
    } catch (...) {
        return;
    }
    if (!self)
        return;
    if (consumed) {
        event->accept();
        return;
    }
    InheritedKey(event);
}

// ---- focus and pointer -------------------------------------------------------------------------

void TDateTimePickerControl::focusInEvent(QFocusEvent* event)
{
    QDateTimeEdit::focusInEvent(event);
    FTypedSection = -1;
    FHasFocus = true;
    update();
    if (OnEnter)
        OnEnter(this);
}

void TDateTimePickerControl::focusOutEvent(QFocusEvent* event)
{
    QDateTimeEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    FHasFocus = false;
    update();
    if (OnExit)
        OnExit(this);
}

void TDateTimePickerControl::enterEvent(QEnterEvent* event)
{
    QDateTimeEdit::enterEvent(event);
    if (isEnabled()) {
        FMouseInControl = true;
        update();
    }
}

void TDateTimePickerControl::leaveEvent(QEvent* event)
{
    QDateTimeEdit::leaveEvent(event);
    if (isEnabled()) {
        FMouseInControl = false;
        FButtonHover = false;
        update();
    }
}

void TDateTimePickerControl::mouseMoveEvent(QMouseEvent* event)
{
    QDateTimeEdit::mouseMoveEvent(event);
    const int x = int(event->position().x());
    const bool hover = width() - FButtonWidth < x && x < width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        update();
    }
}

void TDateTimePickerControl::mousePressEvent(QMouseEvent* event)
{
    FMouseDown = true;
    QDateTimeEdit::mousePressEvent(event);
    if (OnClick && event->button() == Qt::LeftButton)
        OnClick(this);
}

void TDateTimePickerControl::mouseReleaseEvent(QMouseEvent* event)
{
    FMouseDown = false;
    QDateTimeEdit::mouseReleaseEvent(event);
    update();
}

void TDateTimePickerControl::changeEvent(QEvent* event)
{
    QDateTimeEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        update();
}

// ---- painting ----------------------------------------------------------------------------------

void TDateTimePickerControl::paintEvent(QPaintEvent* event)
{
    QDateTimeEdit::paintEvent(event);
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintTo(canvas);
    } catch (...) {
    }
}

TColor TDateTimePickerControl::FlatPenColor() const
{
    if (PickerBorderStyle() == bsNone && parentWidget())
        return ParentBrushColor(this);
    if (FIsThemed)
        return 0xB99D7F;
    return FBorderColor;
}

void TDateTimePickerControl::PaintTo(TCanvas& Canvas)
{
    const int w = width(), h = height();
    const bool metro = MetroMode();
    // What is painted over the platform picker.
    if (!(FCtl3D && !metro) && PlatformInfo().IsVistaOrLater()) {
        Canvas.SaveDC();
        if (metro && !PlainTimeKind() && FIsThemed) {
            TRect cover;
            if (VisualStylesActive())
                cover = IsCustomPicker() ? TRect(w - FButtonWidth - 4, 1, w, h) : TRect(w - FButtonWidth - 15, 1, w, h);
            else
                cover = TRect(w - FButtonWidth - 2, 4, w - 2, h - 4);
            FillColor(Canvas, cover, FColor);
            DrawDropButton(Canvas);
        }
        if (IsCustomPicker() && !FCtl3D) {
            const TColor pen = FlatPenColor();
            Outline(Canvas, {{0, h}, {0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}}, pen);
            if (!VisualStylesActive())
                Outline(Canvas, {{1, h}, {1, 1}, {w - 2, 1}, {w - 2, h - 2}, {0, h - 2}}, pen);
        }
        DrawBorders(Canvas);
        Canvas.RestoreDC(-1);
    }
    // What the frame pass adds.
    if (!FCtl3D && (IsCustomPicker() || FBorderColor != clNone)) {
        const TColor pen = FlatPenColor();
        Outline(Canvas, {{0, h}, {0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}}, pen);
        if (parentWidget())
            Outline(Canvas, {{1, h - 2}, {1, 1}, {w - 1, 1}},
                    PickerBorderStyle() == bsSingle ? ParentBrushColor(this) : pen);
    }
    if ((!isEnabled() && VisualStylesActive() && !FDisabledBorder) || (FFocusBorderColor != clNone && FHasFocus) ||
        FBorderColor != clNone) {
        Canvas.SaveDC();
        DrawBorders(Canvas);
        Canvas.RestoreDC(-1);
    }
}

void TDateTimePickerControl::DrawDropButton(TCanvas& Canvas)
{
    const int w = width(), h = height();
    TRect br(w - FButtonWidth + 2, 0, w, h);
    InflateRect(br, -1, -1);
    if (FButtonColor != clNone) {
        PaintColoredDropButton(Canvas, TRect(br.Left + 2, br.Top, br.Right, br.Bottom), br, 5, FButtonHover, FMouseDown);
    } else if (VisualStylesActive()) {
        AdvXPVS::Table().DrawPart(this, Canvas, u"combobox", 1,
                                  DropButtonThemeState(isEnabled(), FMouseDown, FButtonHover, DroppedDown()), br);
    } else {
        DrawFrameControl(Canvas, br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (isEnabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
    Canvas.ExcludeClipRect(TRect(w - FButtonWidth - 4, 0, w + 2, h));
}

void TDateTimePickerControl::DrawBorders(TCanvas& Canvas)
{
    if (!MetroMode())
        return;
    if (isEnabled() && FBorderColor == clNone && FFocusBorderColor == clNone)
        return;
    const int w = width(), h = height();
    TRect r(0, 0, w, h);
    // The control border, as the combo's.
    if (!isEnabled() && VisualStylesActive() && !FDisabledBorder) {
        FrameColor(Canvas, r, 0xB99D7F);
    } else {
        const bool focusFrame = FHasFocus && FFocusBorderColor != clNone;
        if (FBorderColor != clNone && !focusFrame) {
            FrameColor(Canvas, r, FBorderColor);
        } else if (focusFrame) {
            FrameColor(Canvas, r, FFocusBorderColor);
        } else if (FFocusBorderColor == clNone) {
            const bool look3D = (FMouseInControl || FHasFocus) && FFocusBorder;
            const TColor outer = look3D ? clBtnFace : ParentBrushColor(this);
            FrameBoxBorder(Canvas, r, look3D, outer, FColor, FButtonWidth);
        }
    }
    // The button border.
    if (FIsWinXP && VisualStylesActive())
        return;
    Canvas.ExcludeClipRect(TRect(w - FButtonWidth + 4, 4, w - 4, h - 4));
    TRect br(w - FButtonWidth - 2, 0, w, h);
    InflateRect(br, -2, -2);
    if (FMouseInControl || FHasFocus) {
        TRect e = br;
        DrawEdge(Canvas, e, BDR_RAISEDINNER, BF_RECT | (DroppedDown() ? BF_FLAT : 0u));
    } else {
        FillColor(Canvas, TRect(br.Left, br.Top + 1, br.Right - 1, br.Bottom - 1), clBtnFace);
    }
    Canvas.ExcludeClipRect(br);
}

// ---- TAsgDateTimePicker -------------------------------------------------------------------------

TAsgDateTimePicker::TAsgDateTimePicker(QWidget* AOwner) : TDateTimePickerControl(AOwner)
{
    SetCtl3D(true);
    FBorderStyle = bsNone;
}

// ---- TCustomDateTimePicker ---------------------------------------------------------------------

TCustomDateTimePicker::TCustomDateTimePicker(QWidget* AOwner) : TDateTimePickerControl(AOwner)
{
    SetCtl3D(false);
    FBorderColor = clBlack;
    FBorderStyle = bsNone;
}

TCustomDateTimePicker::~TCustomDateTimePicker() = default;

void TCustomDateTimePicker::RememberTime()
{
    const QTime t = dateTime().time();
    Fh = uint16_t(t.hour());
    Fm = uint16_t(t.minute());
    Fs = uint16_t(t.second());
    Fms = uint16_t(t.msec());
}

TPickerFields TCustomDateTimePicker::FieldsBefore() const
{
    TPickerFields f = FieldsOf(dateTime());
    f.Hour = Fh;
    f.Minute = Fm;
    f.Second = Fs;
    f.MSec = Fms;
    return f;
}

void TCustomDateTimePicker::PostNextField()
{
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier));
}

void TCustomDateTimePicker::KeyPress(QChar& Key)
{
    TDateTimePickerControl::KeyPress(Key);
    if (FAutoTab && Key >= '0' && Key <= '9') {
        if (PickerKind() == dtkTime)
            RememberTime();
        PostMessage(this, DTPShiftFocusMessage(), 0, 0);
    }
}

void TCustomDateTimePicker::DTPShiftFocus()
{
    if (PickerKind() == dtkTime &&
        FieldAdvance(true, FieldsBefore(), FieldsOf(dateTime()), Format()) == faNextField)
        PostNextField();
}

bool TCustomDateTimePicker::event(QEvent* e)
{
    if (e->type() == DTPShiftFocusMessage()) {
        try {
            DTPShiftFocus();
        } catch (...) {
        }
        return true;
    }
    return TDateTimePickerControl::event(e);
}

// ---- TAdvDateTimePicker ------------------------------------------------------------------------

TAdvDateTimePicker::TAdvDateTimePicker(QWidget* AOwner) : TCustomDateTimePicker(AOwner)
{
    FLabelFont = std::make_unique<TFont>();
    FLabelFont->OnChange = [this] { UpdateLabel(); };
    SetKind(dkDateTime);
    FBorderStyle = bsSingle;
    SetCtl3D(true);
    FMetroStyle = false;
}

TAdvDateTimePicker::~TAdvDateTimePicker()
{
    if (FLabel) {
        QLabel* label = FLabel;
        FLabel = nullptr;
        delete label;
    }
    if (FTimePicker)
        delete FTimePicker.data();
}

void TAdvDateTimePicker::SetKind(TAdvDateTimeKind Value)
{
    if (!platform::Change(FKind, Value))
        return;
    SetPickerKind(Value == dkTime ? dtkTime : dtkDate);
    if (Value == dkTime && !FTimeFormat.isEmpty())
        SetFormat(FTimeFormat);
    if (Value == dkDateTime)
        CreateTimePicker();
    UpdateTimePicker();
}

void TAdvDateTimePicker::CreateTimePicker()
{
    if (FKind != dkDateTime || FTimePicker)
        return;
    auto* tp = new TCustomDateTimePicker(this);
    FTimePicker = tp;
    tp->resize(90, 17);
    tp->hide();
    tp->setEnabled(isEnabled());
    tp->SetPickerKind(dtkTime);
    tp->OnChange = [this](QObject*) { Change(); };
    tp->OnClick = [this](QObject*) {
        if (OnClick)
            OnClick(this);
    };
    tp->OnKeyPress = [this](QObject*, QChar& Key) { TimePickerKeyPress(Key); };
    tp->OnKeyDown = [this](QObject*, Word& Key, TShiftState Shift) { KeyDown(Key, Shift); };
}

void TAdvDateTimePicker::TimePickerKeyPress(QChar&)
{
}

void TAdvDateTimePicker::UpdateTimePicker()
{
    TCustomDateTimePicker* tp = FTimePicker;
    if (!tp)
        return;
    if (tp->parentWidget() != this)
        tp->setParent(this);
    tp->SetColor(Color());
    tp->setFont(font());
    tp->setEnabled(isEnabled() && (!ShowCheckbox() || Checked()));
    const bool visible = FKind == dkDateTime;
    tp->SetPickerDateTime(PickerDateTime());
    tp->SetFormat(FTimeFormat);
    if (visible) {
        const QFontMetrics fm(font());
        const int w = fm.horizontalAdvance(tp->text()) + 31;
        const int b = 0; // no bevel
        const int W = width(), H = height();
        if (PlatformInfo().IsVistaOrLater()) {
            if (FIsThemed && VisualStylesActive())
                tp->setGeometry(W - w - (MetroMode() ? 21 : 34) - b, 1, w, H - 2 - b);
            else if (FIsThemed)
                tp->setGeometry(W - w - 21 - b, 2, w, H - b - 4);
            else
                tp->setGeometry(W - w - 23 - b, -2, w, H - b);
        } else {
            tp->setGeometry(W - w - 21, -2, w, H);
        }
        tp->show();
    } else if (!FLoading) {
        FTimePicker = nullptr;
        delete tp;
    }
}

TDateTime TAdvDateTimePicker::Time() const
{
    if (FKind == dkDateTime && FTimePicker)
        return FTimePicker->PickerTime();
    return PickerTime();
}

void TAdvDateTimePicker::SetTime(TDateTime Value)
{
    SetPickerTime(Value);
    UpdateTimePicker();
}

TDateTime TAdvDateTimePicker::DateTime() const
{
    if (FTimePicker) {
        auto* self = const_cast<TAdvDateTimePicker*>(this);
        self->SetPickerTime(FTimePicker->PickerTime());
    }
    return PickerDateTime();
}

namespace {
// The time of day of a value to whole seconds.
TDateTime WholeSecondTime(TDateTime value)
{
    int h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(value, h, m, s, ms);
    return EncodeTime(h, m, s, 0);
}
} // namespace

void TAdvDateTimePicker::SetDateTime(TDateTime Value)
{
    const TDateTime v = std::trunc(Value) + WholeSecondTime(Value);
    SetPickerDateTime(v);
    CreateTimePicker();
    if (FTimePicker)
        FTimePicker->SetPickerDateTime(v);
}

void TAdvDateTimePicker::SetDate(TDateTime Value)
{
    const TDateTime now = PickerDateTime();
    SetPickerDateTime(std::trunc(Value) + WholeSecondTime(now));
    if (FTimePicker)
        FTimePicker->SetPickerDateTime(PickerDateTime());
}

void TAdvDateTimePicker::SetTimeFormat(const QString& Value)
{
    if (FTimePicker)
        FTimePicker->SetFormat(Value);
    if (FKind == dkTime)
        SetFormat(Value);
    FTimeFormat = Value;
    UpdateTimePicker();
}

void TAdvDateTimePicker::SetChecked(bool Value)
{
    TCustomDateTimePicker::SetChecked(Value);
    if (FTimePicker)
        FTimePicker->setEnabled(isEnabled() && Value);
}

void TAdvDateTimePicker::Change()
{
    TCustomDateTimePicker::Change();
    if (OnTimeChange)
        OnTimeChange(this);
}

void TAdvDateTimePicker::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (AutoTab() && typed.length() == 1 && typed[0] >= '0' && typed[0] <= '9') {
        const QDate d = dateTime().date();
        Fy = uint16_t(d.year());
        Fmo = uint16_t(d.month());
        Fd = uint16_t(d.day());
    }
    TCustomDateTimePicker::keyPressEvent(event);
}

void TAdvDateTimePicker::DTPShiftFocus()
{
    TPickerFields before = FieldsBefore();
    before.Year = Fy;
    before.Month = Fmo;
    before.Day = Fd;
    switch (FieldAdvance(FKind == dkTime, before, FieldsOf(dateTime()), Format())) {
    case faNextField: PostNextField(); break;
    case faLastField:
        // Past the date's last field the embedded time picker takes the typing.
        if (FTimePicker)
            FTimePicker->setFocus(Qt::TabFocusReason);
        break;
    case faNone: break;
    }
}

// ---- label -------------------------------------------------------------------------------------

void TAdvDateTimePicker::SetLabelCaption(const QString& Value)
{
    if (!FLabel) {
        QLabel* label = new QLabel(parentWidget());
        label->setFont(FLabelFont->ToQFont());
        label->setBuddy(this);
        label->installEventFilter(this);
        FLabel = label;
    }
    FLabel->setText(Value);
    UpdateLabel();
}

void TAdvDateTimePicker::SetLabelAlwaysEnabled(bool Value)
{
    FLabelAlwaysEnabled = Value;
    if (FLabel) {
        if (Value)
            FLabel->setEnabled(true);
        FLabel->update();
    }
}

void TAdvDateTimePicker::UpdateLabel()
{
    if (!FLabel)
        return;
    if (FLabel->parentWidget() != parentWidget())
        FLabel->setParent(parentWidget());
    FLabel->setAutoFillBackground(!FLabelTransparent);
    TFont f = *FLabelFont;
    if (FLabel->property("kt_bold").toBool())
        f.SetStyle(f.Style() | fsBold);
    FLabel->setFont(f.ToQFont());
    const TSize ts = LabelTextSize(FLabel->text(), f);
    const TPoint at = LabelOrigin(FLabelPosition, FromQRect(geometry()), ts, ts.cx, FLabelMargin);
    FLabel->setGeometry(at.X, at.Y, ts.cx, ts.cy);
    FLabel->setVisible(!isHidden() && parentWidget() != nullptr);
}

void TAdvDateTimePicker::SetLabelBold(bool bold)
{
    if (!FLabel)
        return;
    FLabel->setProperty("kt_bold", bold);
    UpdateLabel();
}

void TAdvDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    setGeometry(ALeft, ATop, AWidth, AHeight);
    UpdateLabel();
}

void TAdvDateTimePicker::Loaded()
{
    FLoading = true;
    CreateTimePicker();
    UpdateTimePicker();
    FLoading = false;
    if (FTimePicker && !Checked())
        FTimePicker->setEnabled(false);
    if (FLabel && !FLabelAlwaysEnabled)
        FLabel->setEnabled(isEnabled());
    UpdateLabel();
}

bool TAdvDateTimePicker::eventFilter(QObject* watched, QEvent* event)
{
    if (FLabel && watched == FLabel.data()) {
        if (event->type() == QEvent::MouseButtonRelease && OnLabelClick)
            OnLabelClick(this);
        else if (event->type() == QEvent::MouseButtonDblClick && OnLabelDblClick)
            OnLabelDblClick(this);
    }
    return TCustomDateTimePicker::eventFilter(watched, event);
}

void TAdvDateTimePicker::focusInEvent(QFocusEvent* event)
{
    TCustomDateTimePicker::focusInEvent(event);
    if (FFocusLabel && !FLoading)
        SetLabelBold(true);
}

void TAdvDateTimePicker::focusOutEvent(QFocusEvent* event)
{
    TCustomDateTimePicker::focusOutEvent(event);
    if (FFocusLabel)
        SetLabelBold(false);
}

void TAdvDateTimePicker::resizeEvent(QResizeEvent* event)
{
    TCustomDateTimePicker::resizeEvent(event);
    UpdateTimePicker();
    UpdateLabel();
}

void TAdvDateTimePicker::moveEvent(QMoveEvent* event)
{
    TCustomDateTimePicker::moveEvent(event);
    UpdateLabel();
}

void TAdvDateTimePicker::showEvent(QShowEvent* event)
{
    TCustomDateTimePicker::showEvent(event);
    UpdateTimePicker();
    UpdateLabel();
}

void TAdvDateTimePicker::changeEvent(QEvent* event)
{
    TCustomDateTimePicker::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        if (FTimePicker)
            FTimePicker->setEnabled(isEnabled() && (!ShowCheckbox() || Checked()));
        if (FLabel && !FLabelAlwaysEnabled)
            FLabel->setEnabled(isEnabled());
    } else if (event->type() == QEvent::ParentChange) {
        UpdateLabel();
    }
}
