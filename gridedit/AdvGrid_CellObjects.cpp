// TVerIvovavOzed: the cell objects (pictures, icons, image-list kinds, rotated text,
// progress bars, comments, markers, buttons, shapes, ratings, in-cell scroll bars, balloons,
// expand boxes, interfaced cells): their Add, Create, Get, Has, Set and Remove operations.
//
// Add operations lend the caller's object to the cell (the caller keeps owning it); Create
// operations make the object, let the cell own it and hand it back to be filled. What a cell
// object owns is held as an owned reference (TCellGraphicRef) and freed exactly once, by what it
// is, whether the cell loses the object, gets another one or changes its kind in place.
// Colours that the original kept in the object slots are held as owned TColor values.
#include "grid/AdvGrid.h"

#include <QScrollBar>
#include <QSignalBlocker>

#include <memory>

namespace {

void OwnColor(TCellGraphicRef& ref, TColor c) { ref.Own(std::make_unique<TColor>(c)); }

bool IsBalloonCarrier(TCellType t) { return t == ctCheckBox || t == ctDataCheckBox || t == ctRadioButton; }

} // namespace

// ---- helpers ---------------------------------------------------------------------------------

TCellGraphic* TVerIvovavOzed::CellObjectOfType(int ACol, int ARow, TCellType T)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType() == T ? g : nullptr;
}

TCustomImageList* TVerIvovavOzed::GetCellImageList(int, int) { return FGridImages; }

// ---- bitmaps, icons, pictures ----------------------------------------------------------------

void TVerIvovavOzed::AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal,
                               TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetBitmap(ABmp, Transparent, hal, val);
}

TBitmap* TVerIvovavOzed::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetBitmap(nullptr, Transparent, hal, val);
    g->CellBitmap().Own(std::make_unique<TBitmap>());
    return g->Bitmap();
}

TBitmap* TVerIvovavOzed::GetBitmap(int ACol, int ARow)
{
    TCellGraphic* g = CellObjectOfType(ACol, ARow, ctBitmap);
    return g ? g->Bitmap() : nullptr;
}

void TVerIvovavOzed::RemoveBitmap(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitmap); }

void TVerIvovavOzed::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetIcon(AIcon, hal, val);
}

TIcon* TVerIvovavOzed::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetIcon(nullptr, hal, val);
    g->CellIcon().Own(std::make_unique<TIcon>());
    return g->Icon();
}

void TVerIvovavOzed::RemoveIcon(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctIcon); }

void TVerIvovavOzed::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                                int Padding, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetPicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TPicture* TVerIvovavOzed::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                        TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetPicture(nullptr, Transparent, StretchMode, Padding, hal, val);
    g->CellBitmap().Own(std::make_unique<TPicture>());
    return g->Picture();
}

TPicture* TVerIvovavOzed::GetPicture(int ACol, int ARow)
{
    TCellGraphic* g = CellObjectOfType(ACol, ARow, ctPicture);
    return g ? g->Picture() : nullptr;
}

void TVerIvovavOzed::RemovePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctPicture); }

void TVerIvovavOzed::AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent,
                                    TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetFilePicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TFilePicture* TVerIvovavOzed::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                int Padding, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetFilePicture(nullptr, Transparent, StretchMode, Padding, hal, val);
    g->CellBitmap().Own(std::make_unique<TFilePicture>());
    return g->FilePicture();
}

TFilePicture* TVerIvovavOzed::GetFilePicture(int ACol, int ARow)
{
    TCellGraphic* g = CellObjectOfType(ACol, ARow, ctFilePicture);
    return g ? g->FilePicture() : nullptr;
}

void TVerIvovavOzed::RemoveFilePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctFilePicture); }

// ---- image-list kinds ------------------------------------------------------------------------

void TVerIvovavOzed::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages)
        return;
    CreateCellGraphic(ACol, ARow)->SetImageIdx(Aidx, hal, val);
}

bool TVerIvovavOzed::GetImageIdx(int ACol, int ARow, int& idx)
{
    TCellGraphic* g = FGridImages ? CellObjectOfType(ACol, ARow, ctImageList) : nullptr;
    if (!g)
        return false;
    idx = g->CellIndex();
    return true;
}

void TVerIvovavOzed::SetImageIdx(int ACol, int ARow, int Idx)
{
    if (TCellGraphic* g = FGridImages ? CellObjectOfType(ACol, ARow, ctImageList) : nullptr)
        g->SetCellIndex(Idx);
}

void TVerIvovavOzed::RemoveImageIdx(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImageList); }

void TVerIvovavOzed::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages)
        return;
    CreateCellGraphic(ACol, ARow)->SetDataImage(Aidx, hal, val);
    if (Cells(ACol, ARow).isEmpty())
        SetInts(ACol, ARow, Aidx);
}

bool TVerIvovavOzed::HasDataImage(int ACol, int ARow) { return HasCellObjectOfType(ACol, ARow, {ctDataImage}); }

void TVerIvovavOzed::RemoveDataImage(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctDataImage);
    // The text goes whether or not the cell held a data image.
    SetCells(ACol, ARow, QString());
}

void TVerIvovavOzed::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages)
        return;
    CreateCellGraphic(ACol, ARow)->SetMultiImage(ACol, ARow, Dir, hal, val, [this](TIntList*, int c, int r) {
        if (!FDestroying)
            RepaintCell(DisplColIndex(c), r);
    });
}

void TVerIvovavOzed::RemoveMultiImage(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImages); }

// ---- rotated text ----------------------------------------------------------------------------

void TVerIvovavOzed::AddRotated(int ACol, int ARow, int AAngle, const QString& s)
{
    CreateCellGraphic(ACol, ARow)->SetAngle(AAngle);
    SetCells(ACol, ARow, s);
}

void TVerIvovavOzed::SetRotated(int ACol, int ARow, int AAngle)
{
    // The cell's own object (never a shared one the grid reports for virtual cells). Whatever it
    // held and owned is freed here, once, as the kind changes.
    const TCellProperties* p = HasCellProperties(ACol, ARow) ? CellPropertiesOf(ACol, ARow) : nullptr;
    TCellGraphic* g = p ? dynamic_cast<TCellGraphic*>(p->GraphicObject().get()) : nullptr;
    if (!g)
        g = CreateCellGraphic(ACol, ARow);
    g->SetAngle(AAngle);
}

bool TVerIvovavOzed::IsRotated(int ACol, int ARow, int& aAngle)
{
    if (GetCellType(ACol, ARow) != ctRotated)
        return false;
    if (TCellGraphic* g = GetCellGraphic(ACol, ARow))
        aAngle = g->CellAngle();
    return true;
}

void TVerIvovavOzed::RemoveRotated(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRotated); }

// ---- progress kinds --------------------------------------------------------------------------

void TVerIvovavOzed::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor)
{
    AddProgressFormatted(ACol, ARow, FGColor, 0, BKColor, 0, QString(), 0, 100);
    if (TCellGraphic* g = CellObjectOfType(ACol, ARow, ctProgress))
        g->SetCellBoolean(false);
}

void TVerIvovavOzed::AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                   TColor BKTextColor)
{
    AddProgressFormatted(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor, QString(), 0, 100);
}

void TVerIvovavOzed::AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                          TColor BKTextColor, const QString& Fmt, int Min, int Max)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctProgress);
    OwnColor(g->CellBitmap(), FGColor);
    OwnColor(g->CellIcon(), BKColor);
    g->SetCellIndex(int(FGTextColor));
    g->SetCellAngle(int(BKTextColor));
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
    g->SetCellText(Fmt);
    g->SetCellBoolean(true);
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
    if (AutoNumAlign())
        SetAlignments(ACol, ARow, taRightJustify);
}

void TVerIvovavOzed::RemoveProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgress); }

void TVerIvovavOzed::AddAdvProgress(int ACol, int ARow, int Min, int Max)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctXPProgress);
    g->SetCellErrFrom(Min);
    g->SetCellErrLen(Max);
    g->SetCellBoolean(false);
    g->SetCellText(QString());
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
}

void TVerIvovavOzed::RemoveAdvProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctXPProgress); }

void TVerIvovavOzed::AddProgressPie(int ACol, int ARow, TColor Color, int Value)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctProgressPie);
    OwnColor(g->CellBitmap(), Color);
    g->SetCellAngle(Value);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaTop);
}

void TVerIvovavOzed::SetProgressPie(int ACol, int ARow, int Value)
{
    if (TCellGraphic* g = CellObjectOfType(ACol, ARow, ctProgressPie)) {
        g->SetCellAngle(Value);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

void TVerIvovavOzed::RemoveProgressPie(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgressPie); }

void TVerIvovavOzed::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRangeIndicator);
    g->SetCellIndex(Range);
    OwnColor(g->CellBitmap(), NegColor);
    OwnColor(g->CellIcon(), PosColor);
    g->SetCellBoolean(ShowValue);
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
}

void TVerIvovavOzed::RemoveRangeIndicator(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator);
}

// ---- comments --------------------------------------------------------------------------------

void TVerIvovavOzed::AddComment(int ACol, int ARow, const QString& Comment)
{
    AddColorComment(ACol, ARow, Comment, FControlLook->CommentColor());
}

void TVerIvovavOzed::AddColorComment(int ACol, int ARow, const QString& Comment, TColor Color)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctComment);
    g->SetCellText(Comment);
    g->SetCellIndex(int(Color));
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
}

QString TVerIvovavOzed::GetComment(int ACol, int ARow)
{
    TCellGraphic* g = CellObjectOfType(ACol, ARow, ctComment);
    return g ? g->CellText() : QString();
}

void TVerIvovavOzed::SetComment(int ACol, int ARow, const QString& Value)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        AddComment(ACol, ARow, Value);
    else if (g->CellType() == ctComment)
        g->SetCellText(Value);
}

bool TVerIvovavOzed::IsComment(int ACol, int ARow, QString& Comment)
{
    TCellGraphic* g = CellObjectOfType(ACol, ARow, ctComment);
    if (g)
        Comment = g->CellText();
    return g != nullptr;
}

void TVerIvovavOzed::RemoveComment(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctComment); }

void TVerIvovavOzed::RemoveAllComments()
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            RemoveComment(c, r);
}

// ---- error markers ---------------------------------------------------------------------------

void TVerIvovavOzed::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) {
        g = CreateCellGraphic(ACol, ARow);
        g->SetCellType(ctEmpty);
    }
    g->SetCellErrFrom(ErrPos);
    g->SetCellErrLen(ErrLen);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TVerIvovavOzed::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    ErrPos = g ? g->CellErrFrom() : 0;
    ErrLen = g ? g->CellErrLen() : 0;
}

void TVerIvovavOzed::RemoveMarker(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return;
    if (g->CellType() == ctEmpty) {
        RemoveCellGraphic(ACol, ARow);
        return;
    }
    g->SetCellErrFrom(0);
    g->SetCellErrLen(0);
}

void TVerIvovavOzed::RemoveAllMarkers()
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            RemoveMarker(c, r);
}

// ---- buttons ---------------------------------------------------------------------------------

void TVerIvovavOzed::AddButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal,
                               TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
}

void TVerIvovavOzed::AddBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TBitmap* Glyph,
                                  TCellHAlign hal, TCellVAlign val)
{
    CreateCellGraphic(ACol, ARow)->SetBitButton(bw, bh, Caption, Glyph, hal, val);
}

TBitmap* TVerIvovavOzed::CreateBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption,
                                         TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetBitButton(bw, bh, Caption, nullptr, hal, val);
    g->CellBitmap().Own(std::make_unique<TBitmap>());
    return g->Bitmap();
}

void TVerIvovavOzed::SetButtonText(int ACol, int ARow, const QString& Caption)
{
    // Whatever the kind of the object at the real column: only its caption changes, so what it
    // owns stays owned and goes with it.
    if (TCellGraphic* g = GetCellGraphic(DisplToRealCol(ACol), ARow)) {
        g->SetCellText(Caption);
        RepaintCell(ACol, ARow);
    }
}

QString TVerIvovavOzed::GetButtonText(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(DisplToRealCol(ACol), ARow);
    return g ? g->CellText() : QString();
}

void TVerIvovavOzed::RemoveButton(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctButton);
    RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TVerIvovavOzed::RemoveBitButton(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitButton); }

void TVerIvovavOzed::RemoveAllButtons()
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            RemoveButton(c, r);
}

// ---- shapes and ratings ----------------------------------------------------------------------

void TVerIvovavOzed::AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor,
                              TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctShape);
    g->SetCellAngle(int(Shape));
    g->SetCellIndex(int(FillColor));
    OwnColor(g->CellBitmap(), LineColor);
    g->SetCellHAlign(hal);
    g->SetCellVAlign(val);
}

void TVerIvovavOzed::SetShapeColor(int ACol, int ARow, TColor FillColor)
{
    if (TCellGraphic* g = CellObjectOfType(ACol, ARow, ctShape))
        g->SetCellIndex(int(FillColor));
}

TColor TVerIvovavOzed::GetShapeColor(int ACol, int ARow)
{
    TCellGraphic* g = CellObjectOfType(ACol, ARow, ctShape);
    return g ? TColor(g->CellIndex()) : clNone;
}

void TVerIvovavOzed::RemoveShape(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctShape); }

void TVerIvovavOzed::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRating);
    g->SetCellAngle(Scale);
    g->SetCellIndex(int(FillColor));
    OwnColor(g->CellBitmap(), EmptyColor);
    g->SetCellHAlign(haFull);
}

void TVerIvovavOzed::RemoveRating(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRating); }

// ---- in-cell scroll bars ---------------------------------------------------------------------

void TVerIvovavOzed::AddScrollBar(int ACol, int ARow, bool AutoRange)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctScrollbar);
    g->SetCellIndex(0);
    g->SetCellAngle(0);
    g->SetCellErrFrom(100);
    g->SetCellBoolean(AutoRange);
    if (AutoRange)
        UpdateAutoRangeScrollBar(ACol, ARow);
}

bool TVerIvovavOzed::HasAutoRangeScrollBar(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = CellObjectOfType(b.X, b.Y, ctScrollbar);
    return g && g->CellBoolean();
}

void TVerIvovavOzed::UpdateAutoRangeScrollBar(int ACol, int ARow)
{
    TCellGraphic* g = CellObjectOfType(ACol, ARow, ctScrollbar);
    if (!g || !g->CellBoolean())
        return;
    g->SetCellAngle(RowHeights(ARow));
    g->SetCellErrFrom(GetCellTextSize(ACol, ARow, true, true).cy);
}

void TVerIvovavOzed::CellTextChanged(int ACol, int ARow)
{
    if (HasAutoRangeScrollBar(ACol, ARow))
        UpdateAutoRangeScrollBar(ACol, ARow);
    TBaseGrid::CellTextChanged(ACol, ARow);
}

void TVerIvovavOzed::SetScrollPosition(int ACol, int ARow, int Pos)
{
    if (ACol < 0 || ARow < 0)
        return;
    const TPoint b = BaseCell(ACol, ARow);
    if (TCellGraphic* g = CellObjectOfType(b.X, b.Y, ctScrollbar)) {
        g->SetCellIndex(Pos);
        RepaintCell(DisplColIndex(b.X), b.Y);
    }
}

int TVerIvovavOzed::GetScrollPosition(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return -1;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = CellObjectOfType(b.X, b.Y, ctScrollbar);
    return g ? g->CellIndex() : -1;
}

void TVerIvovavOzed::SetScrollProp(int ACol, int ARow, TScrollProp Prop)
{
    if (ACol < 0 || ARow < 0)
        return;
    const TPoint b = BaseCell(ACol, ARow);
    if (TCellGraphic* g = CellObjectOfType(b.X, b.Y, ctScrollbar)) {
        g->SetCellAngle(Prop.PageSize);
        g->SetCellErrFrom(Prop.Range);
    }
}

TScrollProp TVerIvovavOzed::GetScrollProp(int ACol, int ARow)
{
    TScrollProp p{-1, -1};
    if (ACol < 0 || ARow < 0)
        return p;
    const TPoint b = BaseCell(ACol, ARow);
    if (TCellGraphic* g = CellObjectOfType(b.X, b.Y, ctScrollbar)) {
        p.PageSize = g->CellAngle();
        p.Range = g->CellErrFrom();
    }
    return p;
}

void TVerIvovavOzed::RemoveScrollBar(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctScrollbar); }

void TVerIvovavOzed::PlaceCellScrollBar(int ACol, int ARow)
{
    auto* bar = qobject_cast<QScrollBar*>(FScrollBar.data());
    const bool inGrid = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();
    const int rc = inGrid ? DisplToRealCol(ACol) : -1;
    const TScrollProp prop = inGrid && HasScrollBar(rc, ARow) ? GetScrollProp(rc, ARow) : TScrollProp{-1, -1};
    if (!inGrid || prop.Range < 0 || prop.PageSize >= prop.Range) {
        if (bar)
            bar->hide();
        FScrollBarCell = {-1, -1};
        return;
    }
    if (!bar) {
        bar = new QScrollBar(Qt::Vertical, viewport());
        bar->setObjectName(QStringLiteral("CellScrollBar"));
        bar->hide();
        FScrollBar = bar;
        // The user scrolls the cell: its position is stored, the cell repaints, the application hears it.
        QObject::connect(bar, &QScrollBar::valueChanged, this, [this](int value) {
            const TPoint cell = FScrollBarCell;
            if (cell.X < 0 || cell.Y < 0)
                return;
            SetScrollPosition(cell.X, cell.Y, value);
            auto* b = qobject_cast<QScrollBar*>(FScrollBar.data());
            DoScrollCell(DisplColIndex(cell.X), cell.Y, value, 0, b ? b->maximum() : 0);
        });
    }
    if (FScrollBarCell.X == rc && FScrollBarCell.Y == ARow && bar->isVisible())
        return;
    FScrollBarCell = {rc, ARow};
    {
        const QSignalBlocker quiet(bar);
        bar->setRange(0, std::max(0, prop.Range - prop.PageSize));
        bar->setPageStep(std::max(1, prop.PageSize));
        bar->setValue(std::max(0, GetScrollPosition(rc, ARow)));
    }
    FitCellScrollBar();
}

void TVerIvovavOzed::FitCellScrollBar()
{
    auto* bar = qobject_cast<QScrollBar*>(FScrollBar.data());
    if (!bar || FScrollBarCell.X < 0 || FScrollBarCell.Y < 0)
        return;
    const int dc = DisplColIndex(FScrollBarCell.X);
    const int row = FScrollBarCell.Y;
    const bool exists = dc >= 0 && dc < ColCount() && row < RowCount();
    const TRect shown = exists ? TStringGrid::CellRect(dc, row) : TRect();
    const TRect R = exists ? CellRect(dc, row) : TRect();
    if (shown.Right <= shown.Left || shown.Bottom <= shown.Top || R.Right <= R.Left || R.Bottom <= R.Top) {
        // The cell scrolled out of view (or is gone): so does its bar.
        bar->hide();
        FScrollBarCell = {-1, -1};
        return;
    }
    const int lw = GridLineWidth();
    bar->setGeometry(R.Right - 17 - lw, R.Top + lw, 17, std::max(1, R.Bottom - R.Top - 2 * lw));
    bar->show();
    bar->raise();
}

// ---- balloons --------------------------------------------------------------------------------

void TVerIvovavOzed::AddBalloon(int ACol, int ARow, const QString& Title, const QString& Text, TBalloonIcon Icon)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (g) {
        if (!IsBalloonCarrier(g->CellType()))
            return; // a picture, a balloon already, ...: the cell stays as it is
        g->SetCellAngle(1);
    } else {
        g = CreateCellGraphic(ACol, ARow);
        g->SetCellType(ctBalloon);
        g->SetCellAngle(0);
    }
    auto list = std::make_unique<platform::TStringList>();
    list->Add(Title);
    list->Add(Text);
    g->SetCellIndex(int(Icon));
    g->CellBitmap().Own(std::move(list));
}

bool TVerIvovavOzed::IsBalloon(int ACol, int ARow, QString& Title, QString& Text, TBalloonIcon& Icon)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || !(g->CellType() == ctBalloon || (IsBalloonCarrier(g->CellType()) && g->CellAngle() == 1)))
        return false;
    const platform::TStringList* list = g->CellBitmap().As<platform::TStringList>();
    Title = list && list->Count() > 0 ? list->Strings(0) : QString();
    Text = list && list->Count() > 1 ? list->Strings(1) : QString();
    Icon = TBalloonIcon(g->CellIndex());
    return true;
}

void TVerIvovavOzed::RemoveBalloon(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return;
    if (IsBalloonCarrier(g->CellType())) {
        if (g->CellAngle() == 1) {
            g->SetCellAngle(0);
            g->CellBitmap().Reset();
        }
        return;
    }
    RemoveCellGraphicOfType(ACol, ARow, ctBalloon);
}

// ---- expand boxes ----------------------------------------------------------------------------

void TVerIvovavOzed::AddExpand(int ACol, int ARow, int ExpandedHeight)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctExpand);
    g->SetCellAngle(ExpandedHeight);
    g->SetCellIndex(RowHeights(ARow));
    g->SetCellVar(false);
}

bool TVerIvovavOzed::ToggleExpand(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g)
        return false;
    g->SetCellVar(!g->CellVar().toBool());
    RepaintCell(DisplColIndex(b.X), b.Y);
    return g->CellVar().toBool();
}

bool TVerIvovavOzed::GetExpandState(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellVar().toBool();
}

int TVerIvovavOzed::GetExpandHeight(int ACol, int ARow, bool Expanded)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return DefaultRowHeight();
    return Expanded ? g->CellAngle() : g->CellIndex();
}

void TVerIvovavOzed::RemoveExpand(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctExpand); }

TRect TVerIvovavOzed::GetExpandButtonRect(int ACol, int ARow)
{
    if (!HasExpand(ACol, ARow))
        return TRect();
    const TRect C = CellRect(ACol, ARow);
    return TRect(C.Right - 13, C.Top + 2, C.Right - 2, C.Top + 13);
}

// ---- interfaced cells ------------------------------------------------------------------------

void TVerIvovavOzed::AddInterfacedCell(int ACol, int ARow, TGridCellObject* AObject)
{
    CreateCellGraphic(ACol, ARow)->SetInterfacedCell(AObject);
}

TGridCellObject* TVerIvovavOzed::GetInterfacedCell(int ACol, int ARow)
{
    TCellGraphic* g = CellObjectOfType(ACol, ARow, ctInterface);
    return g ? g->CellBitmap().As<TGridCellObject>() : nullptr;
}

void TVerIvovavOzed::RemoveInterfacedCell(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctInterface); }

// ---- event hooks -----------------------------------------------------------------------------

void TVerIvovavOzed::DoColorSelect(int ACol, int ARow, TColor Color, const QString& Value)
{
    if (OnColorSelect)
        OnColorSelect(this, ACol, ARow, Color, Value);
}

void TVerIvovavOzed::DoImageSelect(int ACol, int ARow, int Index)
{
    if (OnImageSelect)
        OnImageSelect(this, ACol, ARow, Index);
}

void TVerIvovavOzed::DoCanInsertRow(int ARow, bool& CanInsert)
{
    if (OnCanInsertRow)
        OnCanInsertRow(this, ARow, CanInsert);
}
