// TVerIvovavOzed: start-up and shut-down of the grid unit, bounds with whole-row heights, the
// resize notification, the grid timer, the hint of a cell and the rich-text transfers.
#include "grid/AdvGrid.h"

#include "platform/Canvas.h"
#include "platform/Form.h"
#include "platform/Messages.h"
#include "platform/PlatformInfo.h"
#include "platform/SysUtils.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

namespace {

// Process-wide values of the unit, written at start-up or on the GUI thread.
int gUnitCount = 0;
bool gComCtlAbove469 = false;
QEvent::Type gGridEditDone = QEvent::None;
QEvent::Type gDTPShiftFocus = QEvent::None;
// The font of the grid that prepared the last cell hint; the HTML hint window draws with it.
QString gHintFontName;

const QString& CellsFormatName()
{
    static const QString name = QStringLiteral("TVerIvovavOzed Cells");
    return name;
}

// The one application-wide watcher: whenever a widget moves or changes size, the focus frame of
// the active grid is put back over its cell.
class TGridWindowHook : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        if (ev->type() != QEvent::Move && ev->type() != QEvent::Resize)
            return false;
        TVerIvovavOzed* grid = TVerIvovavOzed::ActiveFocusFrameGrid();
        if (!grid || !obj->isWidgetType() || obj == grid->FocusWindow())
            return false;
        try {
            grid->MoveFocusFrame();
        } catch (...) {
            // No error leaves the event loop.
        }
        return false;
    }
};

TGridWindowHook* gHook = nullptr;

void InstallHook()
{
    if (gHook || !qApp)
        return;
    gHook = new TGridWindowHook;
    qApp->installEventFilter(gHook);
    // The shut-down runs when the application ends.
    qAddPostRoutine(GridUnitFinalize);
}

void RemoveHook()
{
    if (!gHook)
        return;
    if (qApp)
        qApp->removeEventFilter(gHook);
    delete gHook;
    gHook = nullptr;
}

} // namespace

// ---- unit start-up and shut-down -------------------------------------------------------------

void GridUnitInitialize()
{
    if (gUnitCount++ != 0) {
        // A start-up run before the application existed could not install the hook.
        InstallHook();
        return;
    }
    InstallHook();
    gComCtlAbove469 = GetFileVersionMS(QStringLiteral("comctl32.dll")) > 0x40045;
    gGridEditDone = platform::RegisterWindowMessage(QStringLiteral("GridEditDone"));
    gDTPShiftFocus = platform::RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
}

void GridUnitFinalize()
{
    if (gUnitCount == 0 || --gUnitCount != 0)
        return;
    RemoveHook();
    gHintFontName.clear();
}

bool GridUnitInitialized() { return gUnitCount > 0; }
QString GridCellsClipboardFormat() { return CellsFormatName(); }
QEvent::Type GridEditDoneMessage() { return gGridEditDone; }
QEvent::Type DTPShiftFocusMessage() { return gDTPShiftFocus; }
bool GridComCtlAbove469() { return gComCtlAbove469; }

QChar GridTimeSeparator() { return platform::FormatSettings().TimeSeparator; }
QChar GridDateSeparator() { return platform::FormatSettings().DateSeparator; }
QChar GridThousandSeparator() { return platform::FormatSettings().ThousandSeparator; }
QChar GridDecimalSeparator() { return platform::FormatSettings().DecimalSeparator; }
QString GridShortDateFormat() { return platform::FormatSettings().ShortDateFormat; }
QString GridShortTimeFormat() { return platform::FormatSettings().ShortTimeFormat; }
QString GridLongTimeFormat() { return platform::FormatSettings().LongTimeFormat; }

void SetWindowTransparentStyle(QWidget* Wnd)
{
    if (!Wnd)
        return;
    Wnd->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    if (Wnd->isWindow())
        Wnd->setWindowFlag(Qt::WindowTransparentForInput, true);
}

int GetFileVersionMS(const QString& FileName)
{
    // The only library whose version the grid asks for is the common controls one.
    if (FileName.compare(QStringLiteral("comctl32.dll"), Qt::CaseInsensitive) == 0)
        return int(platform::PlatformInfo().ComCtl32VersionMS);
    return -1;
}


// ---- bounds, resize, timer -------------------------------------------------------------------

void TVerIvovavOzed::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int rh = DefaultRowHeight();
    if (FIntegralHeight && FUpdateCount == 0 && rh > 0) {
        const bool allColsShown = VisibleColCount() + FixedCols() >= ColCount();
        const int s = allColsShown ? 0 : horizontalScrollBar()->sizeHint().height();
        const int b = FBorderStyle == bsSingle ? 2 : 0;
        // A height below the bars leaves a negative remainder; keep it within one row.
        int rest = (AHeight - s - b) % rh;
        if (rest < 0)
            rest += rh;
        AHeight = AHeight + b - rest;
    }
    setGeometry(ALeft, ATop, std::max(0, AWidth), std::max(0, AHeight));
    if (parentWidget())
        update();
}

void TVerIvovavOzed::SetIntegralHeight(bool Value)
{
    FIntegralHeight = Value;
    SetBounds(x(), y(), width(), height());
}

void TVerIvovavOzed::SetUseHTMLHints(bool Value)
{
    // The hint window of this library draws hints as markup; the grid's hint preparation asks for
    // it per hint, so the flag is all there is to keep.
    FUseHTMLHints = Value;
}

void TVerIvovavOzed::SetCursor(Qt::CursorShape Value)
{
    setCursor(Value);
    FGridCursor = Value;
}

void TVerIvovavOzed::resizeEvent(QResizeEvent* event)
{
    TBaseGrid::resizeEvent(event);
    try {
        // Columns that follow the grid's width take it first; a widened stretch column already
        // filled the width, so the grid's own resize follow-up is not wanted then.
        const bool widened = SizeColumnsToGrid();
        if (!(widened && ScrollBarAlways() == saNone))
            Resize();
    } catch (...) {
        // A resize handler's error never leaves the event loop.
    }
}

void TVerIvovavOzed::WMTimer(int ID)
{
    if (ID != 111) {
        TBaseGrid::WMTimer(ID);
        return;
    }
    GridTimerTick();
}

// ---- hint of a cell --------------------------------------------------------------------------

namespace {

// The size the text of a cell needs: lines of plain text in the cell's font, or the laid-out
// markup; 2 pixels of margin as the painter leaves them.
TPoint MeasureHintCellText(TVerIvovavOzed& grid, int c, int r, const QString& text)
{
    const TFont& font = grid.GetCellFont(c, r);
    if (ClassifyCellText(text, grid.EnableHTML()) == ctkHtml) {
        QImage img(1, 1, QImage::Format_ARGB32);
        TCanvas canvas(&img);
        canvas.Font().Assign(font);
        TMarkupRenderParams p;
        p.MeasureOnly = true;
        p.Selected = true;
        p.WordWrap = !grid.EnhTextSize();
        p.HoverAnchor = 0;
        p.AnchorColor = grid.URLColor();
        TMarkupRenderResult res;
        RenderMarkupText(canvas, text, TRect(0, 0, 65535, 65535), p, res);
        return TPoint(res.Width + 2, res.Height + 2);
    }
    const QFontMetrics fm(font.ToQFont());
    const QStringList lines = DecodeUnicodeCell(text).split(QLatin1Char('\n'));
    int w = 0;
    for (const QString& l : lines)
        w = std::max(w, int(fm.horizontalAdvance(l)));
    return TPoint(w + 2, int(lines.size()) * fm.height() + 2);
}

} // namespace

void TVerIvovavOzed::PrepareHint(QString& HintStr, bool& CanShow, THintInfo& HintInfo)
{
    TBaseGrid::PrepareHint(HintStr, CanShow, HintInfo);
    if (!ShowHint())
        return;
    HintStr = Hint();
    PrepareCellHint(HintStr, HintInfo);
    CanShow = !HintStr.isEmpty();
}

void TVerIvovavOzed::PrepareCellHint(QString& HintStr, THintInfo& HintInfo)
{
    const TPoint cp = HintInfo.CursorPos;
    const TGridCoord cell = MouseCoord(cp.X, cp.Y);
    int ACol = cell.X;
    int ARow = cell.Y;
    if (FControlLook->HintMaxWidth > 0)
        HintInfo.HintMaxWidth = FControlLook->HintMaxWidth;
    gHintFontName = Font().Name();

    if (ACol >= 0 && ARow >= 0) {
        int bc = ACol, br = ARow;
        if (!ResolveBaseCell(RealColIndex(ACol), ARow, bc, br)) {
            ACol = DisplColIndex(bc);
            ARow = br;
        }
        FLastHintPos = TPoint(ACol, ARow);
        const TRect R = CellRect(ACol, ARow);
        const int c = RealColIndex(ACol);

        // A comment shows at the top-right corner; any other hint below the cell.
        TCellGraphic* g = GetCellGraphic(c, ARow);
        if (g && g->CellType() == ctComment) {
            HintStr = g->CellText();
            HintInfo.HintPos = TPoint(R.Right, R.Top);
        } else
            HintInfo.HintPos = TPoint(cp.X, R.Bottom + 6);

        const QString text = Cells(c, ARow);
        const int kind = ClassifyCellText(text, true);
        if (kind == ctkHtml && FAnchorHint) {
            TMarkupRenderParams p;
            p.HitX = cp.X;
            p.HitY = cp.Y;
            p.HitTestOnly = true;
            p.AnchorColor = FURLColor;
            p.WordWrap = !FEnhTextSize;
            p.Window = this;
            TMarkupRenderResult res;
            // Laid out off screen in the cell's font: only the hit test is wanted.
            QImage img(std::max(1, R.Right), std::max(1, R.Bottom), QImage::Format_ARGB32);
            TCanvas probe(&img);
            probe.Font().Assign(GetCellFont(c, ARow));
            const bool hit = RenderMarkupText(probe, text, R, p, res);
            if (hit && !res.AnchorValue.isEmpty()) {
                QString anchor = res.AnchorTitle.isEmpty() ? res.AnchorValue : res.AnchorTitle;
                if (OnAnchorHint)
                    OnAnchorHint(this, ARow, c, anchor);
                FLastAnchorHint = anchor;
                HintStr = anchor;
                HintInfo.HintPos = TPoint(cp.X + 8, cp.Y - 16);
            }
        }

        const bool normalCell = ACol >= FixedCols() && ARow >= FixedRows() &&
                                ACol < ColCount() - FixedRightCols() && ARow < RowCount() - FixedFooters();
        if (FHintShowCells && normalCell) {
            HintInfo.HintPos.Y = R.Top;
            if (kind == ctkEncoded || FHTMLHint)
                HintStr = text;
            else
                HintStr = GetStrippedCell(c, ARow);
        }

        if (FHintShowLargeText) {
            const bool enh = FEnhTextSize;
            FEnhTextSize = false;
            const TPoint sz = MeasureHintCellText(*this, c, ARow, text);
            FEnhTextSize = enh;
            if (sz.X > R.Right - R.Left || sz.Y > R.Bottom - R.Top) {
                if (FHintShowLargeTextPos == hpCell)
                    HintInfo.HintPos = TPoint(R.Left, R.Top);
                if (kind == ctkEncoded || FHTMLHint || kind != ctkHtml)
                    HintStr = text;
                else
                    HintStr = GetStrippedCell(c, ARow);
            }
        }

        if (!(ARow == RowCount() - 1 && FFloatingFooter->Visible())) {
            QString wide = HintStr;
            DoGridHint(ACol, ARow, wide, HintStr);
        }
    }
    HintInfo.HintColor = FHintColor;
}

QString TVerIvovavOzed::HintFontName() { return gHintFontName; }

// ---- rich text in a cell ---------------------------------------------------------------------

void TVerIvovavOzed::CellToRich(int Col, int Row, IRichEditStream& Richeditor)
{
    const QString s = Cells(Col, Row);
    if (s.isEmpty()) {
        Richeditor.Clear();
        return;
    }
    // Rich text is 8-bit: each character of the cell is one byte of the stream.
    QByteArray bytes;
    bytes.reserve(s.size());
    for (QChar ch : s)
        bytes.append(char(ch.unicode() & 0xFF));
    Richeditor.LoadFromStream(bytes);
}

QString TVerIvovavOzed::RichToString(IRichEditStream& Richeditor)
{
    if (FDestroying)
        return QString();
    const QByteArray bytes = Richeditor.SaveToStream();
    QString s;
    s.reserve(bytes.size());
    for (char b : bytes)
        s.append(QChar(ushort(uchar(b))));
    return s;
}

void TVerIvovavOzed::RichToCell(int Col, int Row, IRichEditStream& Richeditor)
{
    SetCells(Col, Row, RichToString(Richeditor));
}

// ---- owner form resize -----------------------------------------------------------------------

platform::TForm* TVerIvovavOzed::FindParentForm(QWidget* AControl)
{
    for (QWidget* w = AControl; w; w = w->parentWidget())
        if (auto* f = dynamic_cast<platform::TForm*>(w))
            return f;
    return nullptr;
}

void TVerIvovavOzed::TakeOverFormResize()
{
    platform::TForm* form = FindParentForm(parentWidget());
    if (!form)
        return;
    FOwnerForm = form;
    FHasOldFormResize = bool(form->OnResize);
    FOldFormResize = form->OnResize;
    FLastFormWidth = form->width();
    FLastFormHeight = form->height();
    // The handler reaches the grid only while the grid's own part lives (the link is dropped first
    // thing in its destruction); after that it runs the remembered handler alone.
    FFormResizeLink = std::make_shared<char>();
    std::weak_ptr<char> link = FFormResizeLink;
    TVerIvovavOzed* self = this;
    std::function<void()> old = FOldFormResize;
    form->OnResize = [link, self, old, form] {
        if (!link.expired())
            self->FormResize(form);
        else if (old)
            old();
    };
}

void TVerIvovavOzed::GiveBackFormResize()
{
    FFormResizeLink.reset();
    // A form being deleted deletes its children, this grid among them, only after its own part
    // (the resize handler included) is gone, and the guarded pointer to it is cleared later still.
    // So the form is looked up again through the parent chain, where one whose own destructor has
    // run is no longer a form, and the remembered pointer is only compared, never used as a form.
    if (!FOwnerForm)
        return;
    platform::TForm* form = FindParentForm(parentWidget());
    if (form && static_cast<QObject*>(form) == FOwnerForm.data())
        form->OnResize = FHasOldFormResize ? FOldFormResize : std::function<void()>();
}

void TVerIvovavOzed::FormResize(QObject* Sender)
{
    if (FDestroying)
        return;
    auto* form = dynamic_cast<platform::TForm*>(Sender);
    if (form && FSizeWithForm) {
        const int w = form->width() + width() - FLastFormWidth;
        const int h = form->height() + height() - FLastFormHeight;
        if (w > 0 && h > 0) {
            resize(w, h);
            FLastFormWidth = form->width();
            FLastFormHeight = form->height();
        }
    }
    if (FHasOldFormResize && FOldFormResize) {
        try {
            FOldFormResize();
        } catch (...) {
            // The form's own handler may fail; the grid goes on.
        }
    }
    try {
        StretchColumn(FColumnSize->StretchColumn());
    } catch (...) {
        // A stretch column beyond the columns stretches nothing here.
    }
}
