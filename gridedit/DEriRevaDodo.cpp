#include "gridedit/DEriRevaDodo.h"

#include "platform/RichText.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>

#include <cmath>

namespace {

// The baseline offset of sub- and superscript, in twips (2 points).
constexpr int SelOffsetTwips = 40;

} // namespace

DEriRevaDodo::DEriRevaDodo(TVerIvovavOzed* AOwner)
    : QTextEdit(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    setFrameShape(QFrame::NoFrame);
    setAcceptRichText(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(0);
    if (AOwner)
        document()->setDefaultFont(AOwner->Font().ToQFont());
    hide();
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this](const QSizeF& s) {
                try {
                    RequestResize(s);
                } catch (...) {
                }
            });
}

bool DEriRevaDodo::Editing() const { return FGrid && FGrid->EditMode && !FGrid->TearingDown(); }

// ---- sub- and superscript ---------------------------------------------------------------------

void DEriRevaDodo::SetSelOffset(int Twips)
{
    QTextCursor c = textCursor();
    // The raise is a share of the font height; 20 twips make a point.
    double points = c.charFormat().fontPointSize();
    if (points <= 0)
        points = document()->defaultFont().pointSizeF() > 0 ? document()->defaultFont().pointSizeF() : 12.0;
    QTextCharFormat f;
    f.setProperty(platform::RtfOffsetProperty, Twips);
    f.setBaselineOffset(Twips == 0 ? 0.0 : 100.0 * (Twips / 20.0) / points);
    mergeCurrentCharFormat(f);
}

int DEriRevaDodo::SelOffset() const
{
    const QTextCursor sel = textCursor();
    if (!sel.hasSelection())
        return currentCharFormat().intProperty(platform::RtfOffsetProperty);
    // The format of the selection's first character.
    QTextCursor c(document());
    c.setPosition(sel.selectionStart());
    c.movePosition(QTextCursor::NextCharacter);
    return c.charFormat().intProperty(platform::RtfOffsetProperty);
}

void DEriRevaDodo::SelNormal() { SetSelOffset(0); }
void DEriRevaDodo::SelSubscript() { SetSelOffset(-SelOffsetTwips); }
void DEriRevaDodo::SelSuperscript() { SetSelOffset(SelOffsetTwips); }
bool DEriRevaDodo::IsSelNormal() const { return SelOffset() == 0; }
bool DEriRevaDodo::IsSelSubscript() const { return SelOffset() == -SelOffsetTwips; }
bool DEriRevaDodo::IsSelSuperscript() const { return SelOffset() == SelOffsetTwips; }

void DEriRevaDodo::SetFormatRect(const TRect& R)
{
    setViewportMargins(R.Left, R.Top, std::max(0, width() - R.Right), std::max(0, height() - R.Bottom));
}

// ---- stream ----------------------------------------------------------------------------------

void DEriRevaDodo::Clear() { clear(); }

void DEriRevaDodo::LoadFromStream(const QByteArray& Data)
{
    if (platform::IsRtf(Data)) {
        platform::RtfToDocument(Data, *document());
    } else {
        // A stream that is not RTF loads as its plain text.
        document()->setPlainText(QString::fromLatin1(Data));
    }
}

QByteArray DEriRevaDodo::SaveToStream() { return platform::DocumentToRtf(*document()); }

// ---- keys and focus --------------------------------------------------------------------------

bool DEriRevaDodo::KeyDownStep(Word Key, TShiftState Shift)
{
    TVerIvovavOzed* g = FGrid;
    if (!g)
        return false;
    QPointer<TVerIvovavOzed> grid(g);
    // The grid takes the focus; the focus leaving for the grid ends the edit.
    auto focusGrid = [&] {
        g->setFocus(Qt::TabFocusReason);
        if (grid && g->EditMode && g->GetEditControl() == edRichEdit && isVisible())
            g->HideInplaceEdit();
    };
    if (Key == VK_TAB && (g->Options() & goTabs)) {
        focusGrid();
        if (!grid)
            return true;
        Word k = Key;
        g->KeyDown(k, Shift);
        if (grid)
            g->ShowInplaceEdit();
        return true;
    }
    if ((Key == VK_UP || Key == VK_DOWN) && !g->WordWrap() && !g->Multilinecells()) {
        focusGrid();
        if (!grid)
            return true;
        Word k = Key;
        g->KeyDown(k, Shift);
        return true;
    }
    return false;
}

void DEriRevaDodo::keyPressEvent(QKeyEvent* event)
{
    if (Editing()) {
        const Word vk = platform::VirtualKeyOf(event->key(), event->modifiers());
        TShiftState shift = platform::TranslateKey(event).Shift;
        if (event->key() == Qt::Key_Backtab)
            shift |= ssShift;
        try {
            if ((vk == VK_TAB || vk == VK_UP || vk == VK_DOWN) && KeyDownStep(vk, shift)) {
                event->accept();
                return;
            }
        } catch (...) {
            event->accept();
            return;
        }
    }
    QTextEdit::keyPressEvent(event);
}

void DEriRevaDodo::focusOutEvent(QFocusEvent* event)
{
    if (FGrid && FGrid->InvokedFocusChange)
        return;
    try {
        QWidget* to = QApplication::focusWidget();
        if (Editing() && FGrid->GetEditControl() == edRichEdit && to &&
            (to == FGrid || to == FGrid->viewport()))
            FGrid->HideInplaceEdit();
    } catch (...) {
    }
    QTextEdit::focusOutEvent(event);
}

// ---- size requests ---------------------------------------------------------------------------

void DEriRevaDodo::RequestResize(const QSizeF& Size)
{
    TVerIvovavOzed* g = FGrid;
    if (!g)
        return;
    const int w = int(std::ceil(Size.width()));
    const int h = int(std::ceil(Size.height()));
    if (g->FRichEdit == this) {
        FReqWidth = w;
        FReqHeight = h;
    }
    if (g->FInplaceRichEdit != this)
        return;
    FReqWidth = w;
    FReqHeight = h;
    if (!g->SizeWhileTyping().Height() || FLocked || !isVisible())
        return;
    const int row = g->Row();
    const TRect cell = g->CellRect(g->Col(), row);
    // The row grows only while the cell stays inside the grid's client height.
    if (g->RowHeights(row) < h + 5 && cell.Top + h + 5 <= g->viewport()->height()) {
        resize(width(), h + 9);
        g->SetRowHeights(row, h + 10);
        if (g->OnEndRowSize)
            g->OnEndRowSize(g, row);
    }
}
