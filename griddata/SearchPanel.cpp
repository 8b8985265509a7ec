// TRetEdit and TSearchPanel: the text field and the bar of the grid's search footer.
#include "griddata/SearchPanel.h"

#include "dropdown/AdvDropDown.h"
#include "grid/BaseGrid.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"
#include "platform/Property.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPalette>

#include <algorithm>

// ---- TRetEdit --------------------------------------------------------------------------------

TRetEdit::TRetEdit(QWidget* AOwner) : QLineEdit(AOwner) {}

void TRetEdit::SetColor(TColor Value)
{
    FColor = Value;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(Value));
    setPalette(pal);
}

void TRetEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter never reaches the field as text: it is a command to the bar.
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        if (ctrl) {
            if (OnCtrlReturn)
                OnCtrlReturn(this);
        } else if (OnReturn) {
            OnReturn(this);
        }
        if (OnKeyPress) {
            QChar ch(ctrl ? 10 : 13);
            OnKeyPress(this, ch);
        }
        event->accept();
        return;
    }
    if ((event->modifiers() & Qt::AltModifier) && !(event->modifiers() & Qt::ControlModifier)) {
        // Accelerators belong to the bar around the field.
        event->ignore();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// ---- TSearchPanel ----------------------------------------------------------------------------

namespace {
TBitmap Picture(const char* Name)
{
    TBitmap b;
    b.LoadFromResourceName(QString::fromLatin1(Name));
    return b;
}
// Hands a click on to an event of the panel, when it is set; the event sees From as its sender,
// or the clicked control when From is null.
std::function<void(QObject*)> Relay(const std::function<void(QObject*)>& Event, QObject* From = nullptr)
{
    return [&Event, From](QObject* s) {
        if (Event)
            Event(From ? From : s);
    };
}

} // namespace

TSearchPanel::TSearchPanel(QWidget* AOwner) : QWidget(AOwner)
{
    FEditControl = new TRetEdit(this);
    FForwardButton = new TAdvGridButton(this);
    FBackwardButton = new TAdvGridButton(this);
    FExitButton = new TAdvGridButton(this);
    FHiliteButton = new TAdvGridButton(this);
    FMatchCase = new TAdvCheckBox(this);
    FMatchCase->SetCaption(QString());
    setAutoFillBackground(false);

    QObject::connect(FEditControl, &QLineEdit::textChanged, this, [this] { EditChanged(); });
    // Enter in the field is a click on find next, Ctrl+Enter one on find previous.
    FEditControl->OnReturn = Relay(OnForwardClick, FForwardButton);
    FEditControl->OnCtrlReturn = Relay(OnBackwardClick, FBackwardButton);
    FForwardButton->OnClick = Relay(OnForwardClick);
    FBackwardButton->OnClick = Relay(OnBackwardClick);
    FExitButton->OnClick = Relay(OnExitClick);
    FHiliteButton->OnClick = Relay(OnHighlightClick);
}

void TSearchPanel::CreateWnd()
{
    FEditControl->setGeometry(25, 6, 110, std::min(21, FEditControl->sizeHint().height()));

    FForwardButton->setGeometry(140, 5, 90, 23);
    FForwardButton->SetCaption(FindNextCaption);
    FForwardButton->SetGlyph(Picture("ASGARDOWN"));
    FForwardButton->SetGlyphDisabled(Picture("ASGARDOWND"));

    FBackwardButton->setGeometry(235, 5, 90, 23);
    FBackwardButton->SetCaption(FindPrevCaption);
    FBackwardButton->SetGlyph(Picture("ASGARUP"));
    FBackwardButton->SetGlyphDisabled(Picture("ASGARUPD"));

    FExitButton->setGeometry(5, 7, 14, 14);
    FExitButton->SetCaption(QString());
    FExitButton->SetGlyph(Picture("ASGCLOSE"));
    FExitButton->SetGlyphHot(Picture("ASGCLOSEH"));
    FExitButton->SetGlyphDown(Picture("ASGCLOSED"));

    FHiliteButton->setGeometry(330, 5, 90, 23);
    FHiliteButton->SetStyle(tasCheck);
    FHiliteButton->SetCaption(HighLightCaption);
    FHiliteButton->Font().SetStyle(TFontStyles());
    FHiliteButton->SetGlyph(Picture("ASGHI"));
    FHiliteButton->SetGlyphDisabled(Picture("ASGHID"));

    FMatchCase->SetBounds(425, 8, 120, 18);
    FMatchCase->SetCaption(MatchCaseCaption);

    const std::pair<TAdvGridButton*, const QString*> hints[] = {
        {FExitButton, &HintClose}, {FForwardButton, &HintFindNext},
        {FBackwardButton, &HintFindPrev}, {FHiliteButton, &HintHighlight}};
    for (const auto& [button, hint] : hints)
        button->setToolTip(*hint);

    for (TAdvGridButton* b : {FForwardButton, FBackwardButton, FExitButton, FHiliteButton})
        b->Loaded();
    // Nothing to find yet.
    FForwardButton->setEnabled(false);
    FBackwardButton->setEnabled(false);
    FHiliteButton->setEnabled(false);
}

// The bar's colours are painted by the bar itself: a change repaints it.
void TSearchPanel::SetPaintColor(TColor& Field, TColor Value)
{
    if (platform::Change(Field, Value))
        update();
}

void TSearchPanel::EditChanged()
{
    const bool any = !FEditControl->text().isEmpty();
    FForwardButton->setEnabled(any);
    FBackwardButton->setEnabled(any);
    FHiliteButton->setEnabled(any);
    if (OnEditChange)
        OnEditChange(FEditControl);
}

void TSearchPanel::paintEvent(QPaintEvent*)
{
    TCanvas canvas(this);
    const TRect r(0, 0, width(), height());
    if (FColorTo == clNone) {
        canvas.Brush().SetColor(FColor);
        canvas.Brush().SetStyle(bsSolid);
        canvas.FillRect(r);
    } else {
        DrawDropDownGradient(canvas, FColor, FColorTo, 32, r, false);
    }
    TColor line = clSilver;
    if (auto* grid = dynamic_cast<TBaseGrid*>(parentWidget()))
        line = grid->GridLineColor();
    canvas.Pen().SetColor(line);
    canvas.MoveTo(0, 0);
    canvas.LineTo(width(), 0);
}

void TSearchPanel::keyPressEvent(QKeyEvent* event)
{
    // Keys the controls leave stay in the bar; only accelerators are looked at.
    if ((event->modifiers() & Qt::AltModifier) && !event->text().isEmpty() && OnDialogChar)
        OnDialogChar(event->text().at(0));
    event->accept();
}

bool TSearchPanel::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Event->type() == QEvent::Resize && OnHostResize)
        OnHostResize();
    return QWidget::eventFilter(Watched, Event);
}
