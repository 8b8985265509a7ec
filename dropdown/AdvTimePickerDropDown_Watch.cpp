// The analog clock: appearance, settings, geometry, painting (face cache and hands), clicks,
// keys, the animation of the hands and the AM/PM roll, and the named looks.
#include "dropdown/AdvTimePickerDropDown.h"

#include "platform/Services.h"
#include "platform/Property.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

using namespace platform;

namespace {

constexpr TColor clBtnShadowColor = TColor(0xFF000010);
constexpr TColor clWindowTextColor = TColor(0xFF000008);
constexpr TColor clBtnFaceColor = TColor(0xFF00000F);
constexpr double Pi = 3.14159265358979323846;

int RoundI(double v)
{
    return int(Round(v));
}

void DecodeClock(TDateTime t, int& h, int& m, int& s, int& ms)
{
    DecodeTime(t, h, m, s, ms);
}

} // namespace

// ---- appearance --------------------------------------------------------------------------------

TWatchAppearance::TWatchAppearance()
{
    FPicture.OnChange = [this]() { Changed(); };
    SetDefaults();
}

void TWatchAppearance::SetDefaults()
{
    FSize = 0;
    FHourPointer = 0x000000;
    FBackgroundColor = 0xFFFFFF;
    FMinutePointerShadow = clBtnShadowColor;
    FBackgroundColorTo = clNone;
    FHourPointerShadow = clBtnShadowColor;
    FSecondPointerShadow = clBtnShadowColor;
    FSecondPointer = 0x0000FF;
    FBorderColor = 0x000000;
    FMinutePointer = 0x000000;
    TFont hour;
    hour.SetName(QStringLiteral("Tahoma"));
    hour.SetSize(8);
    FHourFont = hour;
    TFont ampm;
    ampm.SetName(QStringLiteral("Tahoma"));
    ampm.SetSize(10);
    FAMPMFont = ampm;
    FAMPMFrame = apRect;
    FWatchShape = wsCircle;
    FPointerStyle = psLine;
    FBorderStyle = wbLine;
    FHourPointerSize = 4;
    FSecondPointerSize = 1;
    FMinutePointerSize = 3;
    FHourColor = 0x000000;
    FMinuteColor = 0x808080;
    FCenterPointSize = 4;
    FCenterPointColor = 0x000000;
    FCenterPointBorderColor = clNone;
    FBackgroundGradient = wgVertical;
    FRounding = 5;
    FHourMarkLength = 0;
    FHourMarkWidth = 1;
    FMinuteMarkLength = 0;
    FMinuteMarkWidth = 1;
    FBorderWidth = 4;
    FAMPMColor = 0xFFFFFF;
    FAMPMBorderColor = 0x000000;
    FCenterPointOuterBorderColor = clNone;
    FTickMarks = tmAll;
    FHourMarkStyle = hmsLine;
}

void TWatchAppearance::Changed()
{
    if (!FSilent && OnChange)
        OnChange(nullptr);
}

void TWatchAppearance::SetHourFont(const TFont& Value)
{
    FHourFont = Value;
    Changed();
}

void TWatchAppearance::SetAMPMFont(const TFont& Value)
{
    FAMPMFont = Value;
    Changed();
}

void TWatchAppearance::SetPicture(const TPicture& Value)
{
    FPicture.Assign(Value);
    Changed();
}

void TWatchAppearance::Assign(const TWatchAppearance& Source)
{
    if (&Source == this)
        return;
    FSize = Source.FSize;
    FHourPointer = Source.FHourPointer;
    FBackgroundColor = Source.FBackgroundColor;
    FMinutePointerShadow = Source.FMinutePointerShadow;
    FBackgroundColorTo = Source.FBackgroundColorTo;
    FHourPointerShadow = Source.FHourPointerShadow;
    FSecondPointerShadow = Source.FSecondPointerShadow;
    FSecondPointer = Source.FSecondPointer;
    FBorderColor = Source.FBorderColor;
    FMinutePointer = Source.FMinutePointer;
    FHourFont = Source.FHourFont;
    FAMPMFont = Source.FAMPMFont;
    FSilent = true;
    FPicture.Assign(Source.FPicture);
    FSilent = false;
    FAMPMFrame = Source.FAMPMFrame;
    FWatchShape = Source.FWatchShape;
    FPointerStyle = Source.FPointerStyle;
    FBorderStyle = Source.FBorderStyle;
    FHourPointerSize = Source.FHourPointerSize;
    FSecondPointerSize = Source.FSecondPointerSize;
    FMinutePointerSize = Source.FMinutePointerSize;
    FHourColor = Source.FHourColor;
    FMinuteColor = Source.FMinuteColor;
    FCenterPointSize = Source.FCenterPointSize;
    FCenterPointColor = Source.FCenterPointColor;
    FCenterPointBorderColor = Source.FCenterPointBorderColor;
    FBackgroundGradient = Source.FBackgroundGradient;
    FRounding = Source.FRounding;
    FHourMarkLength = Source.FHourMarkLength;
    FHourMarkWidth = Source.FHourMarkWidth;
    FMinuteMarkLength = Source.FMinuteMarkLength;
    FMinuteMarkWidth = Source.FMinuteMarkWidth;
    FBorderWidth = Source.FBorderWidth;
    FAMPMColor = Source.FAMPMColor;
    FAMPMBorderColor = Source.FAMPMBorderColor;
    SetCenterPointOuterBorderColor(Source.FCenterPointOuterBorderColor);
    SetTickMarks(Source.FTickMarks);
    SetHourMarkStyle(Source.FHourMarkStyle);
}

void ApplyWatchComponentStyle(TWatchAppearance& a, TOrlexStyle AStyle)
{
    a.SetCenterPointOuterBorderColor(0x000000);
    a.HourFont().SetColor(0x000000);
    a.AMPMFont().SetColor(0x000000);
    if (AStyle == tsCustom || int(AStyle) < 0 || int(AStyle) > 15)
        return;
    struct Row {
        TColor ampmBorder, ampm, back, backTo, border, hubBorder, hub, hands, shadows, second;
    };
    // By style number; BackgroundColorTo equals BackgroundColor unless given.
    static const Row rows[16] = {
        {0x962D00, 0xD68759, 0xFFD2AF, clNone, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF, 0xFFFFFF},
        {0x962D00, 0xBDA4A5, 0xE6D8D8, clNone, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xFFFFFF, 0xFFFFFF},
        {0x962D00, 0x82C0AF, 0xB9EAE1, clNone, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0xFFFFFF, 0xFFFFFF},
        {0x962D00, 0x808080, 0xF2F2F2, clNone, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
        {0xF0DED0, 0xF0DED0, 0xFFEFE3, clNone, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708, 0xFFFFFF, 0x723708},
        {0xF2F1F0, 0x5C534C, 0x5C534C, clNone, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, 0xFFFFFF, 0xF2F1F0},
        {0x000000, clBtnFaceColor, clBtnFaceColor, clNone, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x000000},
        {0x7E9898, 0xF5F9FA, 0xF5F9FA, clNone, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898, 0xFFFFFF, 0x7E9898},
        {},
        {0xE8E0DB, 0xF8F4F1, 0xF8F4F1, clNone, 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F, 0xFFFFFF, 0x74706F},
        {0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFFFFFF, 0xFEDF9A},
        {0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFFFFFF, 0xFBD6B8},
        {0x808080, clBtnFaceColor, clBtnFaceColor, clNone, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080},
        {0xC7B29F, 0xF0DAC7, 0xFDF6EF, clNone, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xC7B29F, 0xFFFFFF, 0xC7B29F},
        {0xD2CDC8, 0xEDE5E0, 0xFFFFFF, clNone, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xD2CDC8, 0xC0C0C0, 0xD2CDC8},
        {0x6D6D6D, 0x919191, 0xBFBFBF, clNone, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0x6D6D6D, 0xFFFFFF, 0x6D6D6D},
    };
    const Row& r = rows[int(AStyle)];
    a.SetAMPMBorderColor(r.ampmBorder);
    a.SetAMPMColor(r.ampm);
    a.SetBackgroundColor(r.back);
    a.SetBackgroundColorTo(r.backTo == clNone ? r.back : r.backTo);
    a.SetBorderColor(r.border);
    a.SetCenterPointBorderColor(r.hubBorder);
    a.SetCenterPointColor(r.hub);
    a.SetHourColor(r.hands);
    a.SetMinuteColor(r.hands);
    a.SetHourPointer(r.hands);
    a.SetMinutePointer(r.hands);
    a.SetHourPointerShadow(r.shadows);
    a.SetMinutePointerShadow(r.shadows);
    a.SetSecondPointer(r.second);
    if (AStyle == tsOffice2007Obsidian) {
        a.AMPMFont().SetColor(0xF2F1F0);
        a.HourFont().SetColor(0xF2F1F0);
    }
}

// ---- settings ----------------------------------------------------------------------------------

void TWatchSettings::Changed()
{
    if (OnChange)
        OnChange(nullptr);
}

void TWatchSettings::SetAuto(bool Value)
{
    if (platform::Change(FAuto, Value))
        Changed();
}

void TWatchSettings::SetSecond(bool Value)
{
    if (platform::Change(FSeconds, Value))
        Changed();
}

void TWatchSettings::SetTimeOffset(int Value)
{
    if (platform::Change(FTimeOffset, Value))
        Changed();
}

void TWatchSettings::Assign(const TWatchSettings& Source)
{
    FSeconds = Source.FSeconds;
    FTimeOffset = Source.FTimeOffset;
    SetAuto(Source.FAuto);
}

// ---- the clock ---------------------------------------------------------------------------------

VIzuZevaz::VIzuZevaz(QWidget* AOwner) : QWidget(AOwner)
{
    FAppearance = std::make_unique<TWatchAppearance>();
    FAppearance->OnChange = [this](QObject*) {
        FFaceValid = false;
        update();
    };
    FSettings = std::make_unique<TWatchSettings>();
    FSettings->OnChange = [this](QObject*) { SettingsChanged(); };
    FWatchTimer.setInterval(100);
    FWatchTimer.setSingleShot(false);
    connect(&FWatchTimer, &QTimer::timeout, this, [this]() {
        try {
            WatchTimerTick();
        } catch (...) {
        }
    });
    FAnimationTimer.setInterval(1);
    connect(&FAnimationTimer, &QTimer::timeout, this, [this]() {
        try {
            AnimationTick();
        } catch (...) {
        }
    });
    resize(180, 180);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

VIzuZevaz::~VIzuZevaz()
{
    FWatchTimer.stop();
    FAnimationTimer.stop();
}

void VIzuZevaz::SetShowAMPM(bool Value)
{
    if (!platform::Change(FShowAMPM, Value))
        return;
    FFaceValid = false;
    update();
}

void VIzuZevaz::SetShowNumbers(bool Value)
{
    if (!platform::Change(FShowNumbers, Value))
        return;
    FFaceValid = false;
    update();
}

void VIzuZevaz::SettingsChanged()
{
    if (FSettings->Auto())
        FWatchTimer.start();
    else
        FWatchTimer.stop();
    if (FSettings->Auto()) {
        SetTime(Now());
        int h, m, s, ms;
        DecodeClock(Now(), h, m, s, ms);
        FInternalSet = true;
        SetAM(h < 12);
        FInternalSet = false;
    }
    FFaceValid = false;
    update();
}

void VIzuZevaz::SetTime(TDateTime Value)
{
    if (Value == FTime)
        return;
    SetTimeInternal(Value);
    RepaintHands();
}

void VIzuZevaz::SetTimeInternal(TDateTime Value)
{
    if (!platform::Change(FTime, Value))
        return;
    int h, m, s, ms;
    DecodeClock(Value, h, m, s, ms);
    FInternalSet = true;
    SetAM(h < 12);
    FInternalSet = false;
}

void VIzuZevaz::FireChange()
{
    if (OnChange)
        OnChange(this);
}

void VIzuZevaz::SetHour(int Value)
{
    int h, m, s, ms;
    DecodeClock(FTime, h, m, s, ms);
    if (Value == h)
        return;
    if (!FAnimation || FInternalCall) {
        SetTimeInternal(EncodeTime(Value, m, s, ms));
        RepaintHands();
        if (Value == FCurrentHourTo)
            FireChange();
        return;
    }
    FCurrentHourTo = Value;
    FHourAnimating = true;
    FAnimationTimer.start();
}

void VIzuZevaz::SetMinute(int Value)
{
    int h, m, s, ms;
    DecodeClock(FTime, h, m, s, ms);
    if (Value >= 60 || Value < 0)
        throw Exception(QStringLiteral("Invalid time"));
    if (Value == m)
        return;
    if (FAnimation && !FInternalCall) {
        FCurrentMinuteTo = Value;
        FHourAnimating = false;
        FMinuteFrom = m;
        FAnimationTimer.start();
        return;
    }
    if (!FAnimation)
        FMinuteFrom = m;
    if (Value == 0 && FMinuteFrom > 30) {
        h = h == 23 ? 0 : h + 1;
        FMinuteFrom = 0;
    }
    SetTimeInternal(EncodeTime(h, Value, s, ms));
    RepaintHands();
    if (Value == FCurrentMinuteTo)
        FireChange();
}

void VIzuZevaz::AnimationTick()
{
    if (!FAnimation) {
        FAnimationTimer.stop();
        return;
    }
    int h, m, s, ms;
    DecodeClock(FTime, h, m, s, ms);
    const int factor = std::max(1, FAnimationFactor);
    FInternalCall = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{FInternalCall};
    if (FHourAnimating) {
        if (h == FCurrentHourTo) {
            FAnimationTimer.stop();
            SetHour(FCurrentHourTo);
            return;
        }
        const int step = std::max(1, RoundI(std::abs(FCurrentHourTo - h) / double(factor)));
        SetHour(h < FCurrentHourTo ? std::min(h + step, FCurrentHourTo) : std::max(h - step, FCurrentHourTo));
        return;
    }
    if (m == FCurrentMinuteTo) {
        FAnimationTimer.stop();
        SetMinute(FCurrentMinuteTo);
        return;
    }
    const bool wrapUp = FCurrentMinuteTo == 0 && m > 30;
    int step = wrapUp ? RoundI((60 - m) / double(factor)) : RoundI(std::abs(FCurrentMinuteTo - m) / double(factor));
    step = std::max(1, step);
    int next;
    if (wrapUp || m < FCurrentMinuteTo)
        next = m + step;
    else
        next = m - step;
    if (next >= 60)
        next = 0;
    SetMinute(next);
}

void VIzuZevaz::SetAM(bool Value)
{
    if (!platform::Change(FAM, Value))
        return;
    FFaceValid = false;
    if (FAnimation && FShowAMPM && FAppearance->AMPMColor() != clNone && !FInternalSet) {
        // The box text rolls from the old half to the new one, a pixel a frame.
        TRect I = GetAMPMRect();
        InflateRect(I, -1, -1);
        const int ih = I.Height();
        if (ih > 0 && I.Width() > 0) {
            QImage strip(I.Width(), 2 * ih, QImage::Format_RGB32);
            {
                TCanvas c(&strip);
                c.Brush().SetColor(FAppearance->AMPMColor());
                c.FillRect(TRect(0, 0, I.Width(), 2 * ih));
                c.SetFont(FAppearance->AMPMFont());
                c.Brush().SetStyle(bsClear);
                TRect up(0, 0, I.Width(), ih), down(0, ih, I.Width(), 2 * ih);
                DrawText(c, QStringLiteral("AM"), up, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
                DrawText(c, QStringLiteral("PM"), down, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
            for (int f = 0; f < ih; ++f) {
                const int offset = Value ? ih - f : f; // toward AM: from the lower half upward
                FRollFrame = FaceImage();
                {
                    TCanvas c(&FRollFrame);
                    c.DrawImage(I, strip.copy(0, offset, I.Width(), ih));
                    TRect box = GetAMPMRect();
                    c.Pen().SetColor(FAppearance->AMPMBorderColor());
                    c.Brush().SetStyle(bsClear);
                    if (FAppearance->AMPMFrame() == apRect)
                        c.Rectangle(box);
                    else
                        c.RoundRect(box.Left, box.Top, box.Right, box.Bottom, 5, 5);
                    DrawHands(c);
                }
                repaint();
                TheServices().Sleep(10);
            }
            FRollFrame = QImage();
        }
    }
    PaintWatch();
}

void VIzuZevaz::RepaintHands()
{
    update();
}

void VIzuZevaz::PaintWatch()
{
    FFaceValid = false;
    update();
}

// ---- geometry ----------------------------------------------------------------------------------

TRect VIzuZevaz::DialRect() const
{
    const int w = width(), h = height();
    int s = FAppearance->Size() > 0 ? FAppearance->Size() : std::min(w, h) - 20;
    s = std::max(0, std::min({s, w, h}));
    const int left = (w - s) / 2, top = (h - s) / 2;
    return TRect(left, top, left + s, top + s);
}

TPoint VIzuZevaz::Center() const
{
    const TRect d = DialRect();
    return TPoint(d.Left + d.Width() / 2, d.Top + d.Width() / 2);
}

double VIzuZevaz::Radius() const
{
    return double(DialRect().Width() / 2);
}

int VIzuZevaz::PointToMinute(int X, int Y) const
{
    const TPoint C = Center();
    double dx = std::abs(C.X - X), dy = std::abs(C.Y - Y);
    if (dx == 0)
        dx = 1;
    if (dy == 0)
        dy = 1;
    const int a = RoundI(std::atan(dy / dx) * 180.0 / Pi / 6.0);
    int r;
    if (X >= C.X && Y >= C.Y)
        r = a + 15;
    else if (X <= C.X && Y >= C.Y)
        r = 45 - a;
    else if (X <= C.X && Y <= C.Y)
        r = a + 45;
    else
        r = 15 - a;
    return r < 0 || r > 59 ? 0 : r;
}

int VIzuZevaz::PointToHour(int X, int Y) const
{
    const int c = RoundI(PointToMinute(X, Y) / 5.0);
    if (c <= 0)
        return FAM ? 0 : 12;
    const int h = FAM ? c : c + 12;
    return h == 24 ? 0 : h;
}

TRect VIzuZevaz::GetAMPMRect() const
{
    if (!FShowAMPM)
        return TRect(-1, -1, -1, -1);
    TCanvas c;
    c.SetFont(FAppearance->AMPMFont());
    TRect r(0, 0, 200, 200);
    DrawText(c, QStringLiteral("AM"), r, DT_CALCRECT | DT_SINGLELINE);
    const int tw = r.Width(), th = r.Height();
    const int bw = tw + 8;
    const TPoint C = Center();
    const int left = C.X - bw / 2;
    const int top = RoundI((Radius() - th) / 3.0) + C.Y;
    return TRect(left, top, left + bw, top + th);
}

// ---- painting ----------------------------------------------------------------------------------

void VIzuZevaz::DrawBackground(TCanvas& Canvas)
{
    const TWatchAppearance& a = *FAppearance;
    const TRect CR(0, 0, width(), height());
    const TRect D = DialRect();
    const TRect S = a.Shape() == wsCircle ? D : CR;
    QRegion clip;
    if (a.Shape() == wsCircle)
        clip = CreateEllipticRgn(S.Left - 1, S.Top - 1, S.Right + 2, S.Bottom + 2);
    else if (a.Shape() == wsRoundRect)
        clip = CreateRoundRectRgn(S.Left - 1, S.Top - 1, S.Right + 2, S.Bottom + 2, 20, 20);
    if (a.Shape() != wsRect)
        Canvas.SelectClipRgn(&clip);
    if (a.BackgroundColor() != clNone && a.BackgroundColorTo() != clNone) {
        DrawDropDownGradient(Canvas, a.BackgroundColor(), a.BackgroundColorTo(), 80, S,
                             a.BackgroundGradient() == wgRadial);
    } else if (a.BackgroundColor() != clNone) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(a.BackgroundColor());
        Canvas.FillRect(S);
    }
    if (a.BorderColor() != clNone && a.BorderWidth() > 0) {
        Canvas.Brush().SetStyle(bsClear);
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetColor(a.BorderColor());
        Canvas.Pen().SetWidth(a.BorderWidth());
        if (a.Shape() == wsCircle)
            Canvas.Ellipse(D);
        else if (a.Shape() == wsRect)
            Canvas.Rectangle(CR);
        else
            Canvas.RoundRect(CR.Left, CR.Top, CR.Right, CR.Bottom, 20, 20);
        Canvas.Pen().SetWidth(1);
    }
    Canvas.SelectClipRgn(nullptr);
    if (!a.Picture().Empty()) {
        Canvas.SaveDC();
        Canvas.IntersectClipRect(CR);
        Canvas.Draw(0, 0, a.Picture().Graphic());
        Canvas.RestoreDC(-1);
    }
}

void VIzuZevaz::DrawTicks(TCanvas& Canvas)
{
    const TWatchAppearance& a = *FAppearance;
    if (a.TickMarks() == tmNone)
        return;
    const TPoint C = Center();
    const double Ro = Radius() - a.BorderWidth() / 2;
    const double Ri = a.HourMarkLength() != 0 ? Ro - a.HourMarkLength() : Ro * 0.9;
    const double Rm = a.MinuteMarkLength() != 0 ? Ro - a.MinuteMarkLength() : Ro * 0.95;
    auto line = [&](double deg, double r1, double r2, int dx, int dy) {
        const double t = deg * Pi / 180.0;
        Canvas.MoveTo(RoundI(C.X + r1 * std::sin(t)) + dx, RoundI(C.Y - r1 * std::cos(t)) + dy);
        Canvas.LineTo(RoundI(C.X + r2 * std::sin(t)) + dx, RoundI(C.Y - r2 * std::cos(t)) + dy);
    };
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetColor(a.HourColor());
    Canvas.Pen().SetWidth(a.HourMarkWidth());
    for (int q = 0; q < 4; ++q) {
        const double deg = q * 90.0;
        if (a.HourMarkStyle() == hmsQuartDblLine) {
            const bool horizontal = q == 1 || q == 3; // 3 and 9 o'clock: lines above and below
            line(deg, Ri, Ro, horizontal ? 0 : -2, horizontal ? -2 : 0);
            line(deg, Ri, Ro, horizontal ? 0 : 2, horizontal ? 2 : 0);
        } else {
            line(deg, Ri, Ro, 0, 0);
        }
    }
    if (a.TickMarks() == tmAll || a.TickMarks() == tmHours)
        for (int i = 1; i < 12; ++i)
            if (i % 3 != 0)
                line(i * 30.0, Ri, Ro, 0, 0);
    if (a.TickMarks() == tmAll) {
        Canvas.Pen().SetColor(a.MinuteColor());
        Canvas.Pen().SetWidth(a.MinuteMarkWidth());
        for (int i = 0; i < 60; ++i)
            if (i % 5 != 0)
                line(i * 6.0, Rm, Ro, 0, 0);
    }
    Canvas.Pen().SetWidth(1);
}

void VIzuZevaz::DrawNumbers(TCanvas& Canvas)
{
    const TWatchAppearance& a = *FAppearance;
    if (!FShowNumbers || a.TickMarks() == tmHours || a.TickMarks() == tmNone)
        return;
    Canvas.SetFont(a.HourFont());
    Canvas.Brush().SetStyle(bsClear);
    const TPoint C = Center();
    const double Ro = Radius() - a.BorderWidth() / 2;
    const int L = a.HourMarkLength() != 0 ? a.HourMarkLength() : RoundI(Ro - Ro * 0.9) + 2;
    const double Rn = Ro - (L + 2) - L;
    const int hl = L / 2;
    for (int i = 1; i <= 12; ++i) {
        if (a.TickMarks() == tmQuartHours && i % 3 != 0)
            continue;
        const QString text = QString::number(i);
        const TSize ext = MeasureTextSize(Canvas, text);
        const int p = i == 10 ? RoundI(ext.cy * 0.2) : i == 11 ? RoundI(ext.cy * 0.15) : 0;
        const double t = i * 30.0 * Pi / 180.0;
        const int px = RoundI(std::sin(t) * (Rn - p + hl)) + C.X + 1;
        const int py = C.Y - RoundI(std::cos(t) * (Rn - p + hl)) + 1;
        const TRect B(px - hl, py - hl, px + hl, py + hl);
        Canvas.TextOut(B.Right - B.Width() / 2 - ext.cx / 2 - 1, B.Bottom - B.Height() / 2 - ext.cy / 2 - 1, text);
    }
}

void VIzuZevaz::DrawAMPM(TCanvas& Canvas, const QString& Text)
{
    if (!FShowAMPM)
        return;
    const TWatchAppearance& a = *FAppearance;
    TRect box = GetAMPMRect();
    if (a.AMPMColor() != clNone || a.AMPMBorderColor() != clNone) {
        if (a.AMPMColor() == clNone) {
            Canvas.Brush().SetStyle(bsClear);
        } else {
            Canvas.Brush().SetStyle(bsSolid);
            Canvas.Brush().SetColor(a.AMPMColor());
        }
        Canvas.Pen().SetStyle(a.AMPMBorderColor() == clNone ? psClear : psSolid);
        Canvas.Pen().SetColor(a.AMPMBorderColor() == clNone ? clBlack : a.AMPMBorderColor());
        if (a.AMPMFrame() == apRect)
            Canvas.Rectangle(box);
        else
            Canvas.RoundRect(box.Left, box.Top, box.Right, box.Bottom, 5, 5);
        Canvas.Pen().SetStyle(psSolid);
    }
    Canvas.Brush().SetStyle(bsClear);
    Canvas.SetFont(a.AMPMFont());
    DrawText(Canvas, Text, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

TDateTime VIzuZevaz::ShownTime() const
{
    if (FSettings->Auto())
        return Now() + FSettings->TimeOffset() / 1440.0;
    return FTime;
}

void VIzuZevaz::DrawHands(TCanvas& Canvas)
{
    const TWatchAppearance& a = *FAppearance;
    int h, m, sec, ms;
    DecodeClock(ShownTime(), h, m, sec, ms);
    if (FSettings->Auto()) {
        FOldHour = h;
        FOldMinute = m;
        FOldSecond = sec;
    }
    h %= 12;
    const TPoint C = Center();
    const double R = Radius();
    const double th = (h * 30 + m * 0.5) * Pi / 180.0, tm = m * 6 * Pi / 180.0, ts = sec * 6 * Pi / 180.0;
    auto at = [&](double t, double f) { return TPoint(RoundI(C.X + f * R * std::sin(t)), RoundI(C.Y - f * R * std::cos(t))); };
    auto hand = [&](double t, double tail, double tip, TColor color, int width, int dx, int dy) {
        if (color == clNone)
            return;
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetColor(color);
        Canvas.Pen().SetWidth(width);
        const TPoint p1 = at(t, -tail), p2 = at(t, tip);
        Canvas.MoveTo(p1.X + dx, p1.Y + dy);
        Canvas.LineTo(p2.X + dx, p2.Y + dy);
        Canvas.Pen().SetWidth(1);
    };
    auto pointer = [&](double t, double tip, TColor color, int dx, int dy) {
        if (color == clNone)
            return;
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetWidth(1);
        Canvas.Pen().SetColor(color);
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(color);
        std::vector<TPoint> pts = {at(t, -0.1), at(t - Pi / 2, 0.05), at(t, tip), at(t + Pi / 2, 0.05)};
        for (TPoint& p : pts) {
            p.X += dx;
            p.Y += dy;
        }
        Canvas.Polygon(pts);
    };
    switch (a.PointerStyle()) {
    case psLine:
        hand(th, 0.1, 0.46, a.HourPointerShadow(), a.HourPointerSize(), -1, 3);
        hand(tm, 0.1, 0.65, a.MinutePointerShadow(), a.MinutePointerSize(), 0, 3);
        hand(th, 0.1, 0.5, a.HourPointer(), a.HourPointerSize(), 0, 0);
        hand(tm, 0.1, 0.7, a.MinutePointer(), a.MinutePointerSize(), 0, 0);
        break;
    case psPointer:
        pointer(th, 0.5, a.HourPointerShadow(), 1, 3);
        pointer(th, 0.5, a.HourPointer(), 0, 0);
        pointer(tm, 0.7, a.MinutePointerShadow(), 1, 3);
        pointer(tm, 0.7, a.MinutePointer(), 0, 0);
        break;
    default:
        break;
    }
    if (FSettings->Auto() && FSettings->Second() && (a.PointerStyle() == psLine || a.PointerStyle() == psPointer))
        hand(ts, 0.2, 0.9, a.SecondPointer(), a.SecondPointerSize(), 0, 0);
    const int sz = a.CenterPointSize();
    if (sz > 0) {
        const int x0 = RoundI(C.X - sz / 2.0), y0 = RoundI(C.Y - sz / 2.0);
        if (a.CenterPointColor() != clNone) {
            Canvas.Pen().SetWidth(1);
            Canvas.Pen().SetColor(a.CenterPointColor());
            Canvas.Brush().SetStyle(bsSolid);
            Canvas.Brush().SetColor(a.CenterPointColor());
            Canvas.Ellipse(x0, y0, x0 + sz, y0 + sz);
        }
        int ow = 0;
        if (a.CenterPointOuterBorderColor() != clNone) {
            ow = RoundI(sz * 0.2);
            Canvas.Brush().SetStyle(bsClear);
            Canvas.Pen().SetColor(a.CenterPointOuterBorderColor());
            Canvas.Pen().SetWidth(ow);
            Canvas.Ellipse(x0, y0, x0 + sz, y0 + sz);
        }
        if (a.CenterPointBorderColor() != clNone) {
            const int s2 = sz - ow;
            const int x1 = RoundI(C.X - s2 / 2.0), y1 = RoundI(C.Y - s2 / 2.0);
            Canvas.Brush().SetStyle(bsClear);
            Canvas.Pen().SetColor(a.CenterPointBorderColor());
            Canvas.Pen().SetWidth(RoundI(sz * 0.1));
            Canvas.Ellipse(x1, y1, x1 + s2, y1 + s2);
        }
        Canvas.Pen().SetWidth(1);
    }
}

QImage VIzuZevaz::FaceImage()
{
    if (!FFaceValid || FBKGCache.size() != size()) {
        FBKGCache = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
        QColor back = palette().color(QPalette::Window);
        if (parentWidget())
            back = parentWidget()->palette().color(QPalette::Window);
        FBKGCache.fill(back);
        TCanvas canvas(&FBKGCache);
        DrawBackground(canvas);
        DrawTicks(canvas);
        DrawNumbers(canvas);
        DrawAMPM(canvas, FAM ? QStringLiteral("AM") : QStringLiteral("PM"));
        FFaceValid = true;
    }
    return FBKGCache;
}

QImage VIzuZevaz::ClockImage()
{
    QImage img = FaceImage().copy();
    TCanvas canvas(&img);
    DrawHands(canvas);
    return img;
}

void VIzuZevaz::paintEvent(QPaintEvent*)
{
    try {
        QPainter p(this);
        if (!FRollFrame.isNull())
            p.drawImage(0, 0, FRollFrame);
        else
            p.drawImage(0, 0, ClockImage());
    } catch (...) {
    }
}

void VIzuZevaz::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FFaceValid = false;
}

// ---- pointer and keys --------------------------------------------------------------------------

void VIzuZevaz::ClickAt(int X, int Y)
{
    if (FSettings->Auto())
        return;
    const TRect D = DialRect();
    const QRegion ellipse = CreateEllipticRgn(D.Left, D.Top, D.Right, D.Bottom);
    // Each click sets its value at once or as the animation's target: OnChange fires once.
    if (!ellipse.contains(QPoint(X, Y))) {
        const int minute = PointToMinute(X, Y);
        FCurrentMinuteTo = minute;
        SetMinute(minute);
        return;
    }
    if (PtInRect(GetAMPMRect(), TPoint(X, Y))) {
        if (FAnimation)
            SetAM(!FAM);
        int h, m, s, ms;
        DecodeClock(FTime, h, m, s, ms);
        const int hour = h < 12 ? h + 12 : h - 12;
        FCurrentHourTo = hour;
        FInternalCall = true;
        try {
            SetHour(hour);
        } catch (...) {
            FInternalCall = false;
            throw;
        }
        FInternalCall = false;
        return;
    }
    const int hour = PointToHour(X, Y);
    FCurrentHourTo = hour;
    SetHour(hour);
}

void VIzuZevaz::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    try {
        const QPoint p = event->position().toPoint();
        ClickAt(p.x(), p.y());
    } catch (...) {
    }
}

void VIzuZevaz::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    const QPoint p = event->position().toPoint();
    if (PtInRect(GetAMPMRect(), TPoint(p.x(), p.y())))
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void VIzuZevaz::HandleKey(Word Key)
{
    if (FSettings->Auto())
        return;
    int h, m, s, ms;
    DecodeClock(FTime, h, m, s, ms);
    // A key sets its value at once or as the animation's target: OnChange fires once.
    auto hour = [&](int value, bool direct) {
        FCurrentHourTo = value;
        FInternalCall = direct;
        try {
            SetHour(value);
        } catch (...) {
            FInternalCall = false;
            throw;
        }
        FInternalCall = false;
    };
    auto minute = [&](int value) {
        FCurrentMinuteTo = value;
        SetMinute(value);
    };
    switch (Key) {
    case 'A':
    case 'a':
        if (h > 11)
            hour(h - 12, false);
        break;
    case 'P':
    case 'p':
        if (h < 12)
            hour(h + 12, false);
        break;
    case VK_PRIOR:
        if (h < 23)
            hour(h + 1, false);
        else
            hour(0, true);
        break;
    case VK_NEXT:
        if (h > 0)
            hour(h - 1, false);
        else
            hour(23, true);
        break;
    case VK_END: minute(0); break;
    case VK_HOME: hour(12, true); break;
    case VK_LEFT:
        if (m > 0) {
            minute(m - 1);
        } else {
            SetTime(EncodeTime(h == 0 ? 23 : h - 1, 59, s, ms));
            FireChange();
        }
        break;
    case VK_RIGHT:
        if (m < 59)
            minute(m + 1);
        else
            minute(0);
        break;
    default: break;
    }
}

// ---- named looks -------------------------------------------------------------------------------

namespace {

TFont MakeFont(const QString& name, int size, TFontStyles style = {}, TColor color = clWindowTextColor)
{
    TFont f;
    f.SetName(name);
    if (size > 0)
        f.SetSize(size);
    f.SetStyle(style);
    f.SetColor(color);
    return f;
}

} // namespace

void VIzuZevaz::SetStyle(TWatchStyle Value)
{
    if (!platform::Change(FStyle, Value))
        return;
    TWatchAppearance& a = *FAppearance;
    a.SetDefaults();
    const TFont defHour = a.HourFont(), defAMPM = a.AMPMFont();
    auto fontFrom = [](const TFont& base, const QString& name, int size, TFontStyles style, TColor color) {
        TFont f = base;
        f.SetName(name);
        if (size > 0)
            f.SetSize(size);
        f.SetStyle(style);
        if (color != clNone)
            f.SetColor(color);
        return f;
    };
    auto hourHand = [&](TColor c) {
        a.SetHourPointer(c);
        a.SetHourPointerShadow(clBtnShadowColor);
        a.SetHourPointerSize(5);
    };
    bool showAMPM = true, showNumbers = true, keepAMPM = false;
    const QString sans = QStringLiteral("MS Sans Serif");
    switch (Value) {
    case wsClassic:
        a.SetAMPMFont(fontFrom(defAMPM, sans, 0, {}, clNone));
        a.SetHourFont(fontFrom(defHour, QStringLiteral("Comic Sans MS"), 10, fsBold, clNone));
        a.SetHourMarkLength(8);
        hourHand(0x000000);
        a.SetMinutePointerShadow(clBtnShadowColor);
        a.SetMinuteMarkLength(4);
        FAnimation = true;
        FAnimationFactor = 10;
        break;
    case wsTower:
        a.SetAMPMFont(fontFrom(defAMPM, sans, 0, {}, clNone));
        a.SetAMPMFrame(apRect);
        a.SetBorderWidth(1);
        a.SetBackgroundColor(0xB1F0FE);
        a.SetBackgroundGradient(wgDiagonalForward);
        a.SetCenterPointColor(0x002BD5);
        a.SetCenterPointSize(6);
        a.SetHourFont(fontFrom(defHour, QStringLiteral("Century"), 0, fsBold, clWindowTextColor));
        hourHand(0x000000);
        a.SetMinutePointerShadow(clBtnShadowColor);
        a.SetSecondPointer(0x002BD5);
        a.SetShape(wsRect);
        a.SetPointerStyle(psPointer);
        a.SetBackgroundColorTo(0x5BCCE8);
        a.SetAMPMColor(a.BackgroundColor());
        showNumbers = false;
        a.SetTickMarks(tmHours);
        keepAMPM = true;
        break;
    case wsFluorescent:
    case wsFuchsia: {
        const TColor K = Value == wsFluorescent ? TColor(0xFF3E3E) : TColor(0xFFD0FF);
        a.SetCenterPointSize(20);
        a.SetHourFont(MakeFont(sans, 8, {}, clWindowTextColor));
        a.SetHourColor(K);
        a.SetHourPointer(K);
        a.SetMinuteColor(K);
        a.SetMinutePointer(K);
        a.SetHourPointerShadow(clBtnShadowColor);
        a.SetMinutePointerShadow(clBtnShadowColor);
        a.SetHourPointerSize(2);
        a.SetMinutePointerSize(2);
        a.SetHourMarkLength(10);
        a.SetHourMarkWidth(2);
        a.SetHourMarkStyle(hmsQuartDblLine);
        a.SetShape(Value == wsFluorescent ? wsRoundRect : wsRect);
        a.SetCenterPointOuterBorderColor(0x000000);
        a.SetAMPMFont(MakeFont(sans, 10, {}, clWindowTextColor));
        a.SetAMPMFrame(apRoundRect);
        a.SetBackgroundColor(0x000000);
        a.SetBackgroundColorTo(0x000000);
        showAMPM = false;
        showNumbers = false;
        if (Value == wsFluorescent) {
            a.SetBorderColor(0xFF3E3E);
            a.SetCenterPointColor(0xFF3E3E);
            a.SetCenterPointBorderColor(0x000000);
            a.SetTickMarks(tmHours);
        } else {
            a.SetBorderColor(0xFFD0FF);
            a.SetCenterPointBorderColor(0xDD68DD);
            a.SetSecondPointer(0xDD68DD);
            a.SetTickMarks(tmQuartHours);
        }
        break;
    }
    case wsEmerald:
        a.SetAMPMFont(fontFrom(defAMPM, sans, 0, {}, 0xA00000));
        a.SetAMPMFrame(apRoundRect);
        a.SetBorderColor(0x3AE800);
        a.SetBackgroundColor(0x3AE800);
        a.SetBackgroundColorTo(0x000000);
        a.SetBackgroundGradient(wgDiagonalForward);
        a.SetCenterPointBorderColor(0x40FF00);
        a.SetCenterPointColor(0x38E100);
        a.SetCenterPointSize(16);
        a.SetHourFont(fontFrom(defHour, sans, 0, {}, a.BackgroundColor()));
        hourHand(0x40FF00);
        a.SetMinutePointer(0x40FF00);
        a.SetMinutePointerShadow(clBtnShadowColor);
        a.SetShape(wsRect);
        a.SetPointerStyle(psPointer);
        a.SetAMPMColor(clNone);
        a.SetCenterPointOuterBorderColor(0x000000);
        a.SetHourMarkStyle(hmsQuartDblLine);
        a.SetHourColor(a.BackgroundColor());
        a.SetSecondPointer(0x00FFFF);
        a.SetTickMarks(tmHours);
        showNumbers = false;
        showAMPM = false;
        break;
    case wsBlueStar:
        a.SetAMPMFont(fontFrom(defAMPM, sans, 10, {}, 0xA00000));
        a.SetAMPMBorderColor(clNone);
        a.SetAMPMColor(clNone);
        a.SetAMPMFrame(apRoundRect);
        a.SetBorderColor(0xFFD5D5);
        a.SetBackgroundColor(0xFFD5D5);
        a.SetBackgroundColorTo(0xA00000);
        a.SetBackgroundGradient(wgRadial);
        a.SetHourFont(fontFrom(defHour, sans, 8, {}, a.BackgroundColor()));
        hourHand(0xA00000);
        a.SetMinutePointer(0xA00000);
        a.SetMinutePointerShadow(clBtnShadowColor);
        a.SetShape(wsRoundRect);
        a.SetPointerStyle(psPointer);
        break;
    case wsBlack:
        a.SetAMPMFont(fontFrom(defAMPM, sans, 0, {}, clNone));
        a.SetBackgroundColor(0x202020);
        a.SetBackgroundColorTo(clNone);
        a.SetBorderColor(0x000000);
        a.SetCenterPointBorderColor(0xFFFFFF);
        a.SetCenterPointOuterBorderColor(0xFFFFFF);
        a.SetCenterPointColor(0xFFFFFF);
        a.SetHourColor(0x585858);
        a.SetMinuteColor(0x585858);
        a.SetHourFont(fontFrom(defHour, QStringLiteral("Century Gothic"), 11, {}, 0xFFFFFF));
        hourHand(0xFFFFFF);
        a.SetMinutePointer(0xFFFFFF);
        a.SetMinutePointerShadow(clBtnShadowColor);
        a.SetMinuteMarkLength(4);
        showAMPM = false;
        break;
    case wsBlackWhite:
        a.SetBackgroundColor(0xFFFFFF);
        a.SetBackgroundColorTo(clNone);
        a.SetBorderColor(0x000000);
        a.SetBorderWidth(8);
        a.SetCenterPointBorderColor(0x000000);
        a.SetCenterPointOuterBorderColor(0x000000);
        a.SetCenterPointColor(0x000000);
        a.SetCenterPointSize(8);
        a.SetHourColor(0x585858);
        a.SetHourFont(fontFrom(defHour, QStringLiteral("Century Gothic"), 14, fsBold, 0x000000));
        hourHand(0x000000);
        a.SetMinutePointer(0x000000);
        a.SetMinutePointerShadow(clBtnShadowColor);
        a.SetMinuteMarkLength(4);
        a.SetSecondPointer(0x000080);
        a.SetPointerStyle(psPointer);
        a.SetTickMarks(tmQuartHours);
        showAMPM = false;
        break;
    case wsGray:
        a.SetAMPMFont(fontFrom(defAMPM, sans, 10, defAMPM.Style(), clNone));
        a.SetBackgroundColor(0xD1D1D1);
        a.SetBackgroundColorTo(0x6C6C6C);
        a.SetBackgroundGradient(wgRadial);
        a.SetBorderColor(0x454545);
        a.SetCenterPointBorderColor(0x454545);
        a.SetCenterPointColor(0x000000);
        a.SetCenterPointOuterBorderColor(clNone);
        a.SetHourColor(0x000000);
        a.SetHourFont(fontFrom(defHour, QStringLiteral("Comic Sans MS"), 8, {}, clNone));
        a.SetHourPointer(0x4E4E4E);
        a.SetMinutePointer(0x4E4E4E);
        a.SetHourPointerShadow(clNone);
        a.SetMinutePointerShadow(clNone);
        a.SetHourPointerSize(1);
        a.SetMinutePointerSize(1);
        a.SetMinuteColor(0x808080);
        a.SetSecondPointer(0x0000FF);
        break;
    case wsSuperNova:
        a.SetBackgroundColorTo(0xD1D3D3);
        a.SetBorderColor(clNone);
        a.SetCenterPointOuterBorderColor(0x000000);
        a.SetCenterPointSize(10);
        a.SetHourMarkLength(RoundI(std::min(width(), height()) / 4.5));
        a.SetHourPointer(0x000000);
        a.SetHourPointerShadow(clBtnShadowColor);
        a.SetMinuteColor(0x808080);
        a.SetMinuteMarkLength(std::min(width(), height()) / 3);
        a.SetMinutePointer(0x000000);
        showAMPM = false;
        showNumbers = false;
        break;
    case wsSports:
    case wsSmooth:
        a.SetBorderWidth(1);
        a.SetHourColor(0xABB0B1);
        a.SetHourFont(fontFrom(defHour, QStringLiteral("Times New Roman"), 9, {}, 0x797979));
        a.SetHourPointerSize(2);
        a.SetMinutePointerSize(2);
        a.SetMinuteColor(0x808080);
        a.SetMinuteMarkLength(1);
        a.SetTickMarks(tmQuartHours);
        showAMPM = false;
        if (Value == wsSports) {
            a.SetBackgroundColor(0x000000);
            a.SetBackgroundColorTo(clNone);
            a.SetBorderColor(0x000000);
            a.SetCenterPointBorderColor(0xFF0000);
            a.SetCenterPointOuterBorderColor(0x000000);
            a.SetCenterPointColor(0x191919);
            a.SetCenterPointSize(RoundI(std::min(width(), height()) / 3.6));
            a.SetHourPointer(0x0000FF);
            a.SetMinutePointer(0x00FFFF);
            a.SetHourPointerShadow(clNone);
            a.SetMinutePointerShadow(clNone);
            a.SetSecondPointer(0x188BFE);
        } else {
            a.SetBackgroundColor(0xFFFFFF);
            a.SetBackgroundColorTo(0xABB0B1);
            a.SetBorderColor(0x585858);
            a.SetCenterPointBorderColor(0x000000);
            a.SetCenterPointOuterBorderColor(0x4A4A4A);
            a.SetCenterPointColor(0xFFFFFF);
            a.SetCenterPointSize(6);
            a.SetHourPointer(0x4A4A4A);
            a.SetMinutePointer(0x4A4A4A);
            a.SetSecondPointer(0x4A4A4A);
            a.SetHourPointerShadow(0xB2B2B2);
            a.SetMinutePointerShadow(0xB2B2B2);
        }
        break;
    }
    if (!keepAMPM)
        SetShowAMPM(showAMPM);
    SetShowNumbers(showNumbers);
    FFaceValid = false;
    update();
}
