// The drop-down edit: construction, settings, the drop-down button, the caption label, the
// placement of button and text, the frame painting, Assign and the component styles.
#include "dropdown/AdvDropDown_Edit.h"

#include "grid/AsgComboBox.h"
#include "platform/PlatformInfo.h"
#include "platform/Property.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cstring>

using namespace platform;

namespace {

// A label that reports its clicks to the drop-down it belongs to.
class TDropDownLabel : public QLabel {
public:
    TDropDownLabel(TAdvCustomDropDown* edit, QWidget* parent) : QLabel(parent), FEdit(edit) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && FEdit && rect().contains(event->position().toPoint())) {
            try {
                FEdit->DoLabelClick();
            } catch (...) {
            }
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        QLabel::mouseDoubleClickEvent(event);
        if (FEdit) {
            try {
                FEdit->DoLabelDblClick();
            } catch (...) {
            }
        }
    }

private:
    QPointer<TAdvCustomDropDown> FEdit;
};

void FrameRectColor(TCanvas& canvas, const TRect& r, TColor color)
{
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FrameRect(r);
}

} // namespace

// ---- the drop-down button ----------------------------------------------------------------------

TAdvDropDownSpeedButton::TAdvDropDownSpeedButton(TDropDownEditButton* AOwner) : QWidget(AOwner), FHolder(AOwner)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::ArrowCursor);
}

void TAdvDropDownSpeedButton::SetButtonStyle(TButtonStyle Value)
{
    FButtonStyle = Value;
    update();
}

void TAdvDropDownSpeedButton::SetEtched(bool Value)
{
    if (platform::Change(FEtched, Value))
        update();
}

void TAdvDropDownSpeedButton::SetFocused(bool Value)
{
    if (platform::Change(FFocused, Value))
        update();
}

void TAdvDropDownSpeedButton::SetCaption(const QString& Value)
{
    FCaption = Value;
    update();
}

void TAdvDropDownSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    FDown = true;
    update();
}

void TAdvDropDownSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    FDown = false;
    update();
    // Any left release that began on the button counts, wherever the pointer is now.
    if (FHolder && FHolder->OnClick) {
        try {
            FHolder->OnClick(FHolder);
        } catch (...) {
        }
    }
}

void TAdvDropDownSpeedButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    FHot = true;
    update();
}

void TAdvDropDownSpeedButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    FHot = false;
    update();
}

void TAdvDropDownSpeedButton::PaintTo(TCanvas& Canvas)
{
    TDropDownButtonFace face;
    face.ButtonStyle = FButtonStyle;
    face.Down = FDown;
    face.Up = FUp;
    face.Hot = FHot;
    face.Etched = FEtched;
    face.Enabled = isEnabled();
    face.Glyph = &FGlyph;
    face.Caption = FCaption;
    face.Window = parentWidget();
    TFont font;
    if (FHolder) {
        face.Colors = FHolder->Colors;
        if (TAdvCustomDropDown* edit = FHolder->Edit()) {
            face.EditEnabled = edit->isEnabled();
            face.EditReadOnly = edit->isReadOnly();
            face.EditBorderColor = edit->BorderColor();
            font = TFont::FromQFont(edit->font());
            face.EditFont = &font;
        }
    }
    PaintDropDownButton(Canvas, width(), height(), face);
}

void TAdvDropDownSpeedButton::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintTo(canvas);
    } catch (...) {
    }
}

TDropDownEditButton::TDropDownEditButton(TAdvCustomDropDown* AOwner) : QWidget(AOwner), FEdit(AOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    FButton = new TAdvDropDownSpeedButton(this);
    FButton->SetButtonStyle(bsDropDown);
    FButton->setEnabled(isEnabled());
    FButton->show();
    SetBounds(x(), y(), 16, 25);
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    (void)AWidth;
    setGeometry(ALeft, ATop, std::max(0, FBWidth), std::max(0, AHeight));
    FButton->setGeometry(0, 0, std::max(0, FBWidth), std::max(0, AHeight));
}

void TDropDownEditButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (width() != FBWidth)
        resize(std::max(0, FBWidth), height());
    FButton->setGeometry(0, 0, std::max(0, FBWidth), height());
}

void TDropDownEditButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        FButton->update();
}

// ---- construction ------------------------------------------------------------------------------

TAdvCustomDropDown::TAdvCustomDropDown(QWidget* AOwner) : QLineEdit(AOwner)
{
    setFrame(false);
    setAttribute(Qt::WA_Hover);
    setFont(TFont().ToQFont());
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::transparent);
    setPalette(p);
    resize(200, 21);
    FDropDownHeader = std::make_unique<THeaderAppearance>();
    FDropDownFooter = std::make_unique<TFooterAppearance>();
    FButtonAppearance = std::make_unique<TAdvButtonAppearance>();
    FLabelFont = std::make_unique<TFont>();
    connect(this, &QLineEdit::textChanged, this, [this](const QString&) {
        // A change the typed-input layer asked to hide is swallowed once.
        if (FBlockChange) {
            FBlockChange = false;
            return;
        }
        ++FChangeCount;
        try {
            HandleChange();
        } catch (...) {
        }
    });
}

void TAdvCustomDropDown::Create()
{
    if (FCreated)
        return;
    FCreated = true;
    FLoading = true;
    FBorderColor = clNone;
    FFocusBorderColor = clNone;
    FDisabledBorder = true;
    FDropDownBorderColor = 0;
    FDropDownGradient = gdHorizontal;
    FDropDownColor = clWhite;
    FDropDownColorTo = clNone;
    FDropDownHeight = 0;
    FDropDownWidth = 0;
    FDropDownBorderWidth = 1;
    FDropDownSizeable = true;
    FDropDownShadow = true;
    FEditorEnabled = true;
    FEditType = etString;
    FParentFnt = false;
    resize(200, 21);
    FButtonWidth = 17;
    CreateDropDownForm();
    FButton = nullptr;
    CreateDropDownButton();
    setReadOnly(false);
    FDropPosition = dpAuto;
    SetText(QString());
    FOldText.clear();
    FUserDropDownWidth = -1;
    FUserDropDownHeight = -1;
    FDropDownEnabled = false;
    FDropDownHeader->OnChange = [this](QObject*) { HeaderChanged(); };
    FDropDownHeader->OnButtonsChanged = [this](QObject*) { HeaderChanged(); };
    FDropDownFooter->OnChange = [this](QObject*) { FooterChanged(); };
    FDropDownFooter->OnButtonsChanged = [this](QObject*) { FooterChanged(); };
    FDefaultHandling = true;
    const TPlatformInfo& info = PlatformInfo();
    FIsWinXP = info.MajorVersion > 5 || (info.MajorVersion == 5 && info.MinorVersion > 0);
    FIsThemed = info.IsComCtl6OrLater();
    FCanUndo = true;
    FAutoThousandSeparator = true;
    SetSelectionColorStyle(scOffice2007);
    FFocusDraw = true;
    SetComponentStyle(tsOffice2007Luna);
    FLabelFont->OnChange = [this]() {
        if (FLabel)
            UpdateLabelPosition();
    };
    FLoading = false;
    Loaded();
}

TAdvCustomDropDown::~TAdvCustomDropDown()
{
    FDestroying = true;
    if (FDropDownForm) {
        // The pop-up goes first so that its hide and destroy hooks find the edit whole.
        TDropDownForm* f = FDropDownForm;
        FDropDownForm = nullptr;
        f->SetAdvDropDown(nullptr);
        f->OnHide = nullptr;
        delete f;
    }
    delete FLabel;
    FLabel = nullptr;
}

void TAdvCustomDropDown::Loaded()
{
    FParentFnt = FParentFont;
    SetEditRect();
    AdjustHeight();
    if (FButton)
        FButton->setEnabled(isEnabled());
    if (FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->setEnabled(isEnabled());
        UpdateLabelPosition();
    }
}

void TAdvCustomDropDown::CreateDropDownButton()
{
    if (!FButton) {
        FButton = new TDropDownEditButton(this);
        FButton->OnClick = [this](QObject*) { ShowFromClick(); };
    }
    UpdateDropDownButton();
}

void TAdvCustomDropDown::UpdateDropDownButton()
{
    if (!FButton)
        return;
    // The holder keeps its own forced width until DropDownButtonWidth is written.
    FButton->SetBounds(FButton->x(), FButton->y(), FButtonWidth, 17);
    FButton->setVisible(true);
    FButton->SetFocusControl(this);
}

void TAdvCustomDropDown::HeaderChanged()
{
    if (FDropDownForm && FDroppedDown)
        FDropDownForm->InitializeAndUpdate();
}

void TAdvCustomDropDown::FooterChanged()
{
    if (FDropDownForm && FDroppedDown)
        FDropDownForm->InitializeAndUpdate();
}

// ---- settings ----------------------------------------------------------------------------------

void TAdvCustomDropDown::SetBorderColor(TColor Value)
{
    if (!platform::Change(FBorderColor, Value))
        return;
    update();
    if (FButton)
        FButton->Button()->update();
}

void TAdvCustomDropDown::SetDisabledBorder(bool Value)
{
    if (platform::Change(FDisabledBorder, Value))
        update();
}

void TAdvCustomDropDown::SetDropDownWidth(int Value)
{
    if (platform::Change(FDropDownWidth, Value))
        FUserDropDownWidth = -1;
}

void TAdvCustomDropDown::SetDropDownHeight(int Value)
{
    if (platform::Change(FDropDownHeight, Value))
        FUserDropDownHeight = -1;
}

void TAdvCustomDropDown::SetDropDownButtonWidth(int Value)
{
    if (!FButton || FButtonWidth == Value)
        return;
    FButtonWidth = Value;
    FButton->SetBWidth(Value);
    AdjustHeight();
}

void TAdvCustomDropDown::SetDropDownButtonHint(const QString& Value)
{
    if (!platform::Change(FButtonHint, Value))
        return;
    if (FButton) {
        FButton->setToolTip(Value);
        FButton->Button()->setToolTip(Value);
    }
}

TBitmap* TAdvCustomDropDown::DropDownButtonGlyph() const
{
    return FButton ? &FButton->Button()->Glyph() : nullptr;
}

void TAdvCustomDropDown::SetDropDownButtonGlyph(const TBitmap& Value)
{
    if (!FButton)
        return;
    FButton->Button()->Glyph() = Value;
    FButton->Button()->update();
}

void TAdvCustomDropDown::SetEditorEnabled(bool Value)
{
    FEditorEnabled = Value;
    update();
}

QString TAdvCustomDropDown::Version() const
{
    const int v = const_cast<TAdvCustomDropDown*>(this)->GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4")
        .arg((v >> 24) & 0xFF)
        .arg((v >> 16) & 0xFF)
        .arg((v >> 8) & 0xFF)
        .arg(v & 0xFF);
}

void TAdvCustomDropDown::SetReadOnly(bool Value)
{
    setReadOnly(Value);
    // The button greys out with a read-only edit.
    if (FButton)
        FButton->Button()->update();
}

void TAdvCustomDropDown::SetBorderStyle(TBorderStyle Value)
{
    FBorderStyle = Value;
    AdjustHeight();
    update();
}

void TAdvCustomDropDown::SetCtl3D(bool Value)
{
    FCtl3D = Value;
    AdjustHeight();
    update();
}

void TAdvCustomDropDown::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TAdvCustomDropDown::SetControl(QWidget* Value)
{
    if (FControl == Value)
        return;
    if (FControl)
        FControl->removeEventFilter(this);
    FControl = Value;
    SetupDropDownControl();
}

void TAdvCustomDropDown::DoLabelClick()
{
    if (OnLabelClick)
        OnLabelClick(this);
}

void TAdvCustomDropDown::DoLabelDblClick()
{
    if (OnLabelDblClick)
        OnLabelDblClick(this);
}

// ---- label -------------------------------------------------------------------------------------

QString TAdvCustomDropDown::LabelCaption() const
{
    return FLabel ? FLabel->text() : QString();
}

void TAdvCustomDropDown::SetLabelCaption(const QString& Value)
{
    if (!FLabel)
        CreateLabel();
    FLabel->setText(Value);
    UpdateLabelPosition();
}

void TAdvCustomDropDown::SetLabelPosition(TLabelPosition Value)
{
    FLabelPosition = Value;
    if (FLabel)
        UpdateLabelPosition();
}

void TAdvCustomDropDown::SetLabelMargin(int Value)
{
    FLabelMargin = Value;
    if (FLabel)
        UpdateLabelPosition();
}

void TAdvCustomDropDown::SetLabelTransparent(bool Value)
{
    FLabelTransparent = Value;
    if (FLabel)
        UpdateLabelPosition();
}

void TAdvCustomDropDown::SetLabelFont(const TFont& Value)
{
    if (!FParentFont)
        FLabelFont->Assign(Value);
    if (FLabel)
        UpdateLabelPosition();
}

void TAdvCustomDropDown::CreateLabel()
{
    FLabel = new TDropDownLabel(this, parentWidget());
    FLabel->setBuddy(this);
    FLabel->setFont(FLabelFont->ToQFont());
}

void TAdvCustomDropDown::UpdateLabelPosition()
{
    if (!FLabel)
        return;
    FLabel->setAutoFillBackground(!FLabelTransparent);
    FLabel->setFont(FParentFnt ? font() : FLabelFont->ToQFont());
    FLabel->adjustSize();
    QString plain = FLabel->text();
    plain.remove(QLatin1Char('&'));
    const int w = QFontMetrics(FLabel->font()).horizontalAdvance(plain);
    const int Lw = FLabel->width(), Lh = FLabel->height(), m = FLabelMargin;
    const QRect E = geometry();
    const int vc = E.top() + (E.height() - Lh) / 2;
    const int hc = E.left() + (E.width() - Lw) / 2;
    const int right = E.left() + E.width();
    const int bottom = E.top() + E.height();
    int top = E.top(), left = E.left();
    switch (FLabelPosition) {
    case lpLeftTop: top = E.top(); left = E.left() - w - m; break;
    case lpLeftCenter: top = vc; left = E.left() - w - m; break;
    case lpLeftBottom: top = bottom - Lh; left = E.left() - w - m; break;
    case lpTopLeft: top = E.top() - Lh - m; left = E.left(); break;
    case lpBottomLeft: top = bottom + m; left = E.left(); break;
    case lpLeftTopLeft: top = E.top(); left = E.left() - m; break;
    case lpLeftCenterLeft: top = vc; left = E.left() - m; break;
    case lpLeftBottomLeft: top = bottom - Lh; left = E.left() - m; break;
    case lpTopCenter: top = E.top() - Lh - m; left = hc; break;
    case lpBottomCenter: top = bottom + m; left = hc; break;
    case lpRightTop: top = E.top(); left = right + m; break;
    case lpRightCenter: top = vc; left = right + m; break;
    case lpRighBottom: top = bottom - Lh; left = right + m; break;
    case lpTopRight: top = E.top() - Lh - m; left = right - Lw; break;
    case lpBottomRight: top = bottom + m; left = right - Lw; break;
    }
    FLabel->move(left, top);
    FLabel->setVisible(isVisibleTo(parentWidget()) || (!parentWidget() && isVisible()));
}

void TAdvCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    setGeometry(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->parentWidget())
        UpdateLabelPosition();
}

void TAdvCustomDropDown::moveEvent(QMoveEvent* event)
{
    QLineEdit::moveEvent(event);
    if (FLabel && FLabel->parentWidget())
        UpdateLabelPosition();
}

// ---- geometry ----------------------------------------------------------------------------------

int TAdvCustomDropDown::FrameWidth() const
{
    if (FBorderStyle == bsNone)
        return 0;
    return FCtl3D ? 2 : 1;
}

int TAdvCustomDropDown::GetTextHeight() const
{
    const int sys = QFontMetrics(QApplication::font()).height();
    const int f = QFontMetrics(font()).height();
    return f + std::min(sys, f) / 4;
}

void TAdvCustomDropDown::SetEditRect()
{
    TRect r;
    r.Bottom = ClientHeight() + 1;
    r.Right = ClientWidth() - (FButton ? FButton->width() : 0) - 3;
    if (FBorderStyle == bsSingle) {
        r.Left = 1;
        r.Top = 1;
    } else {
        r.Left = 2;
        r.Top = 3;
    }
    FEditRect = r;
    const int left = r.Left + (FCtl3D ? 0 : 1);
    // The rectangle is in client coordinates; the text margins count from the widget's edge.
    const int fw = FrameWidth();
    setTextMargins(fw + left, 0, std::max(0, width() - (fw + r.Right)), 0);
}

void TAdvCustomDropDown::AdjustHeight()
{
    const int T = GetTextHeight();
    if (T > height()) {
        resize(width(), T); // the resize runs AdjustHeight again
        update();
        return;
    }
    if (!FButton)
        return;
    const int B = FButton->BWidth();
    const int c = FCtl3D ? 0 : 2;
    const int fw = FrameWidth();
    // Button bounds are client coordinates of the edit window; ours count from the widget edge.
    if (PlatformInfo().IsComCtl6OrLater() && FCtl3D && FBorderStyle == bsSingle) {
        const int a = FFlat ? 3 : 4;
        FButton->SetBounds(fw + width() - B - a - c, fw + (FFlat ? 2 : 0), B, height() - a);
    } else {
        FButton->SetBounds(fw + width() - B - c, fw + 1, B, height() - 2);
    }
    SetEditRect();
    update();
}

void TAdvCustomDropDown::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    AdjustHeight();
    if (FLabel && FLabel->parentWidget())
        UpdateLabelPosition();
}

// ---- painting ----------------------------------------------------------------------------------

bool TAdvCustomDropDown::IsHotOrFocused() const
{
    return FMouseInControl || hasFocus();
}

void TAdvCustomDropDown::DrawBorder(TCanvas& Canvas)
{
    const TRect R(0, 0, width(), height());
    if (!isEnabled() && FIsThemed && FDisabledBorder) {
        FrameRectColor(Canvas, R, clSilver);
        return;
    }
    if (FBorderColor != clNone) {
        if (!hasFocus() || FFocusBorderColor == clNone) {
            FrameRectColor(Canvas, R, FBorderColor);
            return;
        }
    }
    if (FFocusBorderColor != clNone) {
        if (hasFocus())
            FrameRectColor(Canvas, R, FFocusBorderColor);
        return;
    }
    // Flat look.
    TColor brush = clBtnFace;
    if (!IsHotOrFocused() && parentWidget())
        brush = FromQColor(parentWidget()->palette().color(QPalette::Window));
    TRect r = R;
    if (IsHotOrFocused()) {
        DrawEdge(Canvas, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameRectColor(Canvas, r, brush);
    } else {
        FrameRectColor(Canvas, r, brush);
        InflateRect(r, -1, -1);
        FrameRectColor(Canvas, r, brush);
    }
}

void TAdvCustomDropDown::DrawControlBorder(TCanvas& Canvas)
{
    if (isEnabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone)
        return;
    DrawBorder(Canvas);
    if (FButton)
        FButton->Button()->SetFocused(FMouseInControl || hasFocus());
}

void TAdvCustomDropDown::DrawFocusedText(TCanvas& Canvas)
{
    if (FEditorEnabled || !hasFocus() || !FFocusDraw)
        return;
    TRect r(2, 2, width() - FButtonWidth - 1, height() - 2);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetColor(clBlack);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(clHighlight);
    Canvas.Rectangle(r);
    r.Left += 2;
    r.Right -= 3;
    Canvas.Font().Assign(TFont::FromQFont(font()));
    Canvas.Font().SetColor(clHighlightText);
    Canvas.SetBkMode(TRANSPARENT);
    DrawText(Canvas, Text(), r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void TAdvCustomDropDown::SetColor(TColor Value)
{
    if (platform::Change(FColor, Value))
        update();
}

void TAdvCustomDropDown::paintEvent(QPaintEvent* event)
{
    try {
        {
            // The window background and the standard frame behind the text.
            QPainter painter(this);
            TCanvas canvas(&painter);
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(isEnabled() ? FColor : clBtnFace);
            canvas.FillRect(TRect(0, 0, width(), height()));
            if (FBorderStyle == bsSingle) {
                TRect r(0, 0, width(), height());
                if (FCtl3D)
                    DrawEdge(canvas, r, EDGE_SUNKEN, BF_RECT);
                else
                    FrameRectColor(canvas, r, clWindowFrame);
            }
        }
        // A pick-only edit that shows its value as a highlighted bar keeps the text to itself.
        if (!(!FEditorEnabled && hasFocus() && FFocusDraw))
            QLineEdit::paintEvent(event);
        QPainter painter(this);
        TCanvas canvas(&painter);
        DrawFocusedText(canvas);
        if (FFocusBorderColor != clNone || FBorderColor != clNone || (!isEnabled() && FDisabledBorder) || FFlat)
            DrawControlBorder(canvas);
    } catch (...) {
    }
}

void TAdvCustomDropDown::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (FButton) {
            FButton->setEnabled(isEnabled());
            FButton->Button()->setEnabled(isEnabled());
        }
        if (FLabel && !FLabelAlwaysEnabled)
            FLabel->setEnabled(isEnabled());
        break;
    case QEvent::FontChange:
        SetEditRect();
        if (FLabel && FParentFont)
            UpdateLabelPosition();
        break;
    case QEvent::ReadOnlyChange:
        if (FButton)
            FButton->Button()->update();
        break;
    default:
        break;
    }
}

void TAdvCustomDropDown::enterEvent(QEnterEvent* event)
{
    QLineEdit::enterEvent(event);
    if (isEnabled() && !FMouseInControl) {
        FMouseInControl = true;
        update();
    }
}

void TAdvCustomDropDown::leaveEvent(QEvent* event)
{
    QLineEdit::leaveEvent(event);
    if (isEnabled() && FMouseInControl) {
        FMouseInControl = false;
        update();
    }
}

// ---- Assign and styles -------------------------------------------------------------------------

void TAdvCustomDropDown::Assign(const TAdvCustomDropDown& Source)
{
    if (&Source == this)
        return;
    FFocusDraw = Source.FFocusDraw;
    FForceShadow = Source.FForceShadow;
    FDropDownEnabled = Source.FDropDownEnabled;
    FDropDownColor = Source.FDropDownColor;
    FDropDownColorTo = Source.FDropDownColorTo;
    FDropDownGradient = Source.FDropDownGradient;
    FDropDownBorderColor = Source.FDropDownBorderColor;
    FDropDownBorderWidth = Source.FDropDownBorderWidth;
    FDropDownShadow = Source.FDropDownShadow;
    FDropDownWidth = Source.FDropDownWidth;
    FDropDownHeight = Source.FDropDownHeight;
    FDropDownSizeable = Source.FDropDownSizeable;
    FEditType = Source.FEditType;
    FReturnIsTab = Source.FReturnIsTab;
    FLengthLimit = Source.FLengthLimit;
    FPrecision = Source.FPrecision;
    FPrefix = Source.FPrefix;
    FSuffix = Source.FSuffix;
    FDefaultHandling = Source.FDefaultHandling;
    FCanUndo = Source.FCanUndo;
    FExcelStyleDecimalSeparator = Source.FExcelStyleDecimalSeparator;
    FValidChars = Source.FValidChars;
    FSigned = Source.FSigned;
    FAutoThousandSeparator = Source.FAutoThousandSeparator;
    FButtonAppearance->Assign(*Source.FButtonAppearance);
    FDropDownHeader->Assign(*Source.FDropDownHeader);
    FDropDownFooter->Assign(*Source.FDropDownFooter);
    FDropPosition = Source.FDropPosition;
    FFlat = Source.FFlat;
    SetDropDownButtonWidth(Source.DropDownButtonWidth());
    SetDropDownButtonHint(Source.DropDownButtonHint());
    FEditorEnabled = Source.FEditorEnabled;
    if (FButton && Source.FButton) {
        SetDropDownButtonGlyph(Source.FButton->Button()->Glyph());
        FButton->SetButtonCaption(Source.FButton->ButtonCaption());
    }
    FEtched = Source.FEtched;
    FImages = Source.FImages;
    FSelectionColorStyle = Source.FSelectionColorStyle;
    FSelectionColor = Source.FSelectionColor;
    FSelectionColorTo = Source.FSelectionColorTo;
}

void TAdvCustomDropDown::SetComponentStyle(TOrlexStyle AStyle)
{
    FOrlexStyle = AStyle;
    TDropDownStyleColors c;
    if (!GetDropDownStyleColors(AStyle, c))
        return;
    SetDropDownColor(c.DropDownColor);
    FDropDownColorTo = c.DropDownColorTo;
    if (c.DropDownBorderColor)
        FDropDownBorderColor = *c.DropDownBorderColor;
    FDropDownHeader->SetColor(c.HeaderColor);
    FDropDownHeader->SetColorTo(c.HeaderColorTo);
    FDropDownHeader->Font().SetColor(c.FontColor);
    FDropDownHeader->SetBorderColor(c.HeaderBorderColor);
    FDropDownFooter->SetColor(c.FooterColor);
    FDropDownFooter->SetColorTo(c.FooterColorTo);
    FDropDownFooter->Font().SetColor(c.FontColor);
    FDropDownFooter->SetBorderColor(c.FooterBorderColor);
    FButtonAppearance->SetColors(c.Buttons);
}

void TAdvCustomDropDown::SetColorTones(const TColorTones& ATones)
{
    if (FButton) {
        ApplyColorTonesToButton(ATones, FButton->Colors);
        FButton->Button()->update();
    }
    SetBorderColor(ATones.Background.BorderColor);
}

void TAdvCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    FSelectionColorStyle = Value;
    GetSelectionColors(Value, FSelectionColor, FSelectionColorTo);
}

void TAdvCustomDropDown::DrawSelectionBackground(TCanvas& Canvas, const TRect& R, TColor BackgroundColor, int Shape)
{
    ::DrawSelectionBackground(Canvas, R, BackgroundColor, Shape, FSelectionColorStyle, FSelectionColor,
                              FSelectionColorTo);
}

void TAdvCustomDropDown::DrawGradient(TCanvas& Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R,
                                      bool Vertical)
{
    DrawDropDownGradient(Canvas, FromColor, ToColor, Steps, R, !Vertical);
}
