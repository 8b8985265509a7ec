// TVerIvovavOzed: the binary cell stream, the grid's lossless exchange format for a rectangle of
// cells (texts, cell properties, the graphics the grid made itself). It is a row of object
// records: a header, then per cell a cell record, optionally its properties, its graphic and one
// picture or list record.
#include "grid/AdvGrid.h"
#include "griddata/GridFileText.h"
#include "platform/AtomicFile.h"
#include "grid/GridTypeNames.h"
#include "platform/ComponentStream.h"
#include "platform/ComponentStreamValues.h"
#include "platform/Picture.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>

#include <algorithm>
#include <iterator>

using platform::EReadError;
using platform::TComponentReader;
using platform::TComponentWriter;
using platform::TPropValue;

namespace {

const char* const VAlignmentNames[] = {"vtaTop", "vtaCenter", "vtaBottom"};
const char* const BrushStyleNames[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                       "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
const char* const GradientNames[] = {"GradientVertical", "GradientHorizontal"};
const char* const CellTypeNames[] = {
    "ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated", "ctDataImage",
    "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture", "ctValue", "ctProgress", "ctComment",
    "ctButton", "ctBitButton", "ctVirtCheckBox", "ctRowCheckBox", "ctProgressPie", "ctSummary", "ctRangeIndicator",
    "ctXPProgress", "ctInterface", "ctScrollbar", "ctRadioButton", "ctBalloon", "ctShape", "ctRating",
    "ctTriStateCheckBox", "ctExpand"};
const char* const CellVAlignNames[] = {"vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull"};
const char* const CellHAlignNames[] = {"haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull"};
const char* const CheckStateNames[] = {"cbUnchecked", "cbChecked", "cbGrayed"};

static_assert(std::size(CellTypeNames) == ctExpand + 1);

using namespace platform::streamvalue;

// The property name without the prefix of its containing property ("CellProperties." ...);
// a name without that prefix is not one of the object's.
QString Member(const QString& Name, const char* Prefix)
{
    const QString p = QLatin1String(Prefix) + QLatin1Char('.');
    if (!Name.startsWith(p, Qt::CaseInsensitive))
        NoProperty(Name);
    return Name.mid(p.size());
}

// ---- user-object tokens ---------------------------------------------------------------------
// A cell's user object is a pointer of this process: the stream carries a token for it, which
// only the process that wrote it can turn back into the object. Tokens start at a random base so
// that another process's tokens are not taken for ours.

struct TObjectTokens {
    QHash<void*, qint32> ByObject;
    QHash<qint32, void*> ByToken;
    qint32 Next = qint32(0x10000000 | (QRandomGenerator::global()->generate() & 0x0FFFFF00));
};

TObjectTokens& Tokens()
{
    static TObjectTokens t;
    return t;
}

qint32 TokenOf(void* Object)
{
    if (!Object)
        return 0;
    TObjectTokens& t = Tokens();
    auto it = t.ByObject.constFind(Object);
    if (it != t.ByObject.constEnd())
        return it.value();
    const qint32 token = t.Next++;
    t.ByObject.insert(Object, token);
    t.ByToken.insert(token, Object);
    return token;
}

void* ObjectOf(qint32 Token) { return Token ? Tokens().ByToken.value(Token, nullptr) : nullptr; }

QByteArray Count32(qint64 n)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b.append(char((quint32(n) >> (8 * i)) & 0xFF));
    return b;
}

quint32 ReadCount32(const QByteArray& b, qsizetype at)
{
    if (b.size() < at + 4)
        throw EReadError(QStringLiteral("Stream read error"));
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}

// A graphic's own data: an icon is its file image as it stands, every other kind a byte count
// and the file image.
QByteArray GraphicData(const TGraphic& G)
{
    const QByteArray data = G.SaveToData();
    if (G.ClassName() == QLatin1String("TIcon"))
        return data;
    return Count32(data.size()) + data;
}

void LoadGraphicData(TGraphic& G, const QByteArray& Data, qsizetype At)
{
    if (G.ClassName() == QLatin1String("TIcon")) {
        G.LoadFromData(Data.mid(At));
        return;
    }
    const quint32 n = ReadCount32(Data, At);
    if (qint64(n) > Data.size() - At - 4)
        throw EReadError(QStringLiteral("Stream read error"));
    G.LoadFromData(Data.mid(At + 4, n));
}

bool CarriesCreatedOnly(TCellType t)
{
    switch (t) {
    case ctBitmap:
    case ctIcon:
    case ctRadio:
    case ctImages:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
        return true;
    default:
        return false;
    }
}

// The record, if any, that follows a graphic of this kind.
bool HasObjectRecord(TCellType t)
{
    return t == ctBitmap || t == ctBitButton || t == ctIcon || t == ctRadio || t == ctImages || t == ctPicture ||
           t == ctFilePicture;
}

bool DataLeft(QIODevice& Stream)
{
    return Stream.isSequential() ? Stream.bytesAvailable() >= 2 : Stream.size() - Stream.pos() >= 2;
}

} // namespace

int TVerIvovavOzed::StreamID()
{
    static int next = 0x4000;
    if (FStreamID == 0)
        FStreamID = ++next;
    return FStreamID;
}

// ---- writing -----------------------------------------------------------------------------------

void TVerIvovavOzed::SaveRectToBinStream(const TRect& Rect, QIODevice& Stream)
{
    TComponentWriter w(Stream);
    const int cc = Rect.Right - Rect.Left + 1;
    const int rc = Rect.Bottom - Rect.Top + 1;
    QStringList widths, heights;
    for (int c = Rect.Left; c <= Rect.Right; ++c)
        widths << QString::number(c >= 0 && c < ColCount() ? ColWidths(c) : DefaultColWidth());
    for (int r = Rect.Top; r <= Rect.Bottom; ++r)
        heights << QString::number(r >= 0 && r < RowCount() ? RowHeights(r) : DefaultRowHeight());
    const bool full = SaveFixedCells() ? rc == RowCount() && cc == ColCount()
                                       : rc == RowCount() - FixedRows() && cc == ColCount() - FixedCols();
    w.BeginRecord(QStringLiteral("TGridPropIO"));
    w.WriteInteger(QStringLiteral("ColCount"), cc);
    w.WriteInteger(QStringLiteral("RowCount"), rc);
    if (!widths.isEmpty())
        w.WriteString(QStringLiteral("ColWidths"), widths.join(QLatin1Char(',')));
    if (!heights.isEmpty())
        w.WriteString(QStringLiteral("RowHeights"), heights.join(QLatin1Char(',')));
    w.WriteBoolean(QStringLiteral("FullGrid"), full);
    w.WriteInteger(QStringLiteral("ID"), StreamID());
    w.EndRecord();

    const QString CP = QStringLiteral("CellProperties.");
    const QString CG = QStringLiteral("CellGraphic.");
    ExportNotification(esExportStart, Rect.Top);
    int last = -1;
    for (int r = Rect.Top; r <= Rect.Bottom; ++r) {
        ExportNotification(esExportNextRow, r);
        for (int c = Rect.Left; c <= Rect.Right; ++c) {
            TCellProperties* p = HasCellProperties(c, r) ? CellPropertiesOf(c, r) : nullptr;
            w.BeginRecord(QStringLiteral("TGridCellIO"));
            // Indexes beyond 16 bits are written as they are, not cut.
            w.WriteInteger(QStringLiteral("Col"), c);
            w.WriteInteger(QStringLiteral("Row"), r);
            const QString text = GetCellEx(c, r);
            if (!text.isEmpty())
                w.WriteString(QStringLiteral("Cell"), text);
            w.WriteBoolean(QStringLiteral("HasProp"), p != nullptr);
            w.EndRecord();
            if (!p)
                continue;

            TCellGraphic* g = dynamic_cast<TCellGraphic*>(p->GraphicObject().get());
            const TCellType type = g ? g->CellType() : ctEmpty;
            // Objects the application lent the cell stay with the application.
            const bool hasGraphic = type != ctEmpty && (!CarriesCreatedOnly(type) || g->CellCreated());

            w.BeginRecord(QStringLiteral("TGridCellPropIO"));
            w.WriteBoolean(CP + QLatin1String("IsBaseCell"), p->IsBaseCell());
            w.WriteInteger(CP + QLatin1String("CellSpanX"), p->CellSpanX());
            w.WriteInteger(CP + QLatin1String("CellSpanY"), p->CellSpanY());
            w.WriteIdent(CP + QLatin1String("Alignment"), Name(AlignmentNames, p->Alignment()));
            w.WriteColor(CP + QLatin1String("BorderColor"), p->BorderColor());
            w.WriteInteger(CP + QLatin1String("BorderWidth"), p->BorderWidth());
            w.WriteColor(CP + QLatin1String("BrushColor"), p->BrushColor());
            w.WriteColor(CP + QLatin1String("BrushColorTo"), p->BrushColorTo());
            w.WriteIdent(CP + QLatin1String("BrushStyle"), Name(BrushStyleNames, p->BrushStyle()));
            w.WriteInteger(CP + QLatin1String("CellObject"), TokenOf(p->CellObject()));
            w.WriteColor(CP + QLatin1String("FontColor"), p->FontColor());
            if (!p->FontName().isEmpty())
                w.WriteString(CP + QLatin1String("FontName"), p->FontName());
            w.WriteInteger(CP + QLatin1String("FontSize"), p->FontSize());
            QStringList styles;
            for (int i = 0; i < 4; ++i)
                if (p->FontStyle().testFlag(TFontStyle(1u << i)))
                    styles << QString::fromLatin1(FontStyleNames[i]);
            w.WriteSet(CP + QLatin1String("FontStyle"), styles);
            w.WriteIdent(CP + QLatin1String("Editor"), Name(EditorNames, p->Editor()));
            w.WriteIdent(CP + QLatin1String("GradientDirection"), Name(GradientNames, p->GradientDirection()));
            w.WriteBoolean(CP + QLatin1String("ReadOnly"), p->ReadOnly());
            w.WriteIdent(CP + QLatin1String("VAlignment"), Name(VAlignmentNames, p->VAlignment()));
            w.WriteBoolean(CP + QLatin1String("WordWrap"), p->WordWrap());
            w.WriteInteger(CP + QLatin1String("NodeLevel"), p->NodeLevel());
            if (QWidget* ctl = p->Control()) {
                const QObject* owner = ctl->parent();
                w.WriteIdent(CP + QLatin1String("Control"),
                             (owner ? owner->objectName() : QString()) + QLatin1Char('.') + ctl->objectName());
            }
            w.WriteBoolean(QStringLiteral("HasGraphic"), hasGraphic);
            w.EndRecord();
            if (!hasGraphic)
                continue;

            w.BeginRecord(QStringLiteral("TGridGraphicIO"));
            w.WriteIdent(CG + QLatin1String("CellType"), Name(CellTypeNames, type));
            w.WriteIdent(CG + QLatin1String("CellVAlign"), Name(CellVAlignNames, g->CellVAlign()));
            w.WriteIdent(CG + QLatin1String("CellHAlign"), Name(CellHAlignNames, g->CellHAlign()));
            w.WriteInteger(CG + QLatin1String("CellIndex"), g->CellIndex());
            w.WriteBoolean(CG + QLatin1String("CellTransparent"), g->CellTransparent());
            w.WriteBoolean(CG + QLatin1String("CellCreated"), g->CellCreated());
            w.WriteBoolean(CG + QLatin1String("CellBoolean"), g->CellBoolean());
            w.WriteIdent(CG + QLatin1String("CellCheckBoxState"), Name(CheckStateNames, g->CellCheckBoxState()));
            w.WriteInteger(CG + QLatin1String("CellAngle"), g->CellAngle());
            if (g->CellValue() != 0)
                w.WriteFloat(CG + QLatin1String("CellValue"), g->CellValue());
            w.WriteInteger(CG + QLatin1String("CellErrFrom"), g->CellErrFrom());
            w.WriteInteger(CG + QLatin1String("CellErrLen"), g->CellErrLen());
            if (!g->CellText().isEmpty())
                w.WriteString(CG + QLatin1String("CellText"), g->CellText());
            w.EndRecord();

            switch (type) {
            case ctBitmap:
            case ctBitButton: {
                w.BeginRecord(QStringLiteral("TGridBMPIO"));
                const TBitmap* b = g->Bitmap();
                if (b && !b->Empty())
                    w.WriteBinary(QStringLiteral("Bitmap.Data"), GraphicData(*b));
                w.EndRecord();
                break;
            }
            case ctIcon: {
                w.BeginRecord(QStringLiteral("TGridIconIO"));
                const TIcon* i = g->Icon();
                if (i && !i->Empty())
                    w.WriteBinary(QStringLiteral("Icon.Data"), i->SaveToData());
                w.EndRecord();
                break;
            }
            case ctRadio:
            case ctImages: {
                w.BeginRecord(QStringLiteral("TGridSLIO"));
                QStringList items;
                if (type == ctRadio) {
                    if (auto* sl = g->CellBitmap().As<platform::TStringList>())
                        for (int i = 0; i < sl->Count(); ++i)
                            items << (*sl)[i];
                } else if (TIntList* il = g->Images()) {
                    for (int i = 0; i < il->Count(); ++i)
                        items << QString::number(il->Items(i));
                }
                if (!items.isEmpty())
                    w.WriteStringList(QStringLiteral("Strings.Strings"), items);
                w.EndRecord();
                break;
            }
            case ctPicture: {
                w.BeginRecord(QStringLiteral("TGridPicIO"));
                const TPicture* pic = g->Picture();
                if (pic && pic->Graphic()) {
                    const QByteArray cls = pic->Graphic()->ClassName().toUtf8();
                    w.WriteBinary(QStringLiteral("Picture.Data"),
                                  QByteArray(1, char(quint8(cls.size()))) + cls + GraphicData(*pic->Graphic()));
                }
                w.EndRecord();
                break;
            }
            case ctFilePicture: {
                w.BeginRecord(QStringLiteral("TGridFilePicIO"));
                const TFilePicture* fp = g->FilePicture();
                if (fp && !fp->Filename().isEmpty())
                    w.WriteString(QStringLiteral("Picture.Filename"), fp->Filename());
                w.EndRecord();
                break;
            }
            default:
                break;
            }
        }
        gridfiles::Progress(OnFileProgress, this, last, r, std::max(1, Rect.Bottom - Rect.Top));
    }
    ExportNotification(esExportDone, -1);
}

void TVerIvovavOzed::SaveToBinStream(QIODevice& Stream)
{
    SaveRectToBinStream(TRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, Stream);
}

void TVerIvovavOzed::SaveToBinFile(const QString& FileName)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    SaveToBinStream(buffer);
    QString error;
    if (!platform::WriteFileAtomic(FileName, data, &error))
        throw platform::EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, error));
}

// ---- reading -----------------------------------------------------------------------------------

void TVerIvovavOzed::LoadAtPointFromBinStream(TPoint Point, QIODevice& Stream)
{
    TComponentReader rd(Stream);
    int hdrCols = 0, hdrRows = 0;
    QString hdrWidths, hdrHeights;
    bool full = false;
    rd.ReadRecord([&](const QString& n, const TPropValue& v) {
        if (Is(n, "ColCount"))
            hdrCols = Int(v);
        else if (Is(n, "RowCount"))
            hdrRows = Int(v);
        else if (Is(n, "ColWidths"))
            hdrWidths = Str(v);
        else if (Is(n, "RowHeights"))
            hdrHeights = Str(v);
        else if (Is(n, "FullGrid"))
            full = Bool(v);
        else if (Is(n, "ID"))
            Int(v);
        else
            NoProperty(n);
    });

    // A whole-grid stream sizes the grid before its cells land. A stream written without the
    // fixed cells starts at the first normal cell: its counts and sizes are offset by that cell.
    bool sized = !full;
    auto sizeGrid = [&](int offCol, int offRow) {
        sized = true;
        TIntList w, h;
        w.SetStrValue(hdrWidths);
        h.SetStrValue(hdrHeights);
        // The lists bound the counts: a list shorter than its count fails at its first missing
        // entry before the grid is touched (so a broken count never sizes the grid).
        if (hdrCols < 0 || hdrRows < 0)
            InvalidValue();
        if (w.Count() < hdrCols)
            w.GetInteger(w.Count());
        if (h.Count() < hdrRows)
            h.GetInteger(h.Count());
        Clear();
        SetRowCount(hdrRows + offRow);
        SetColCount(hdrCols + offCol);
        // A list shorter than the counts fails at the first missing entry.
        for (int i = 0; i < hdrCols; ++i)
            SetColWidths(offCol + i, w.GetInteger(i));
        for (int i = 0; i < hdrRows; ++i)
            SetRowHeights(offRow + i, h.GetInteger(i));
    };

    bool first = true;
    TPoint origin{0, 0};
    int prevRow = -1;
    int last = -1;
    while (DataLeft(Stream)) {
        int col = 0, row = 0;
        QString text;
        bool hasProp = false;
        rd.ReadRecord([&](const QString& n, const TPropValue& v) {
            if (Is(n, "Col"))
                col = Int(v);
            else if (Is(n, "Row"))
                row = Int(v);
            else if (Is(n, "Cell"))
                text = Str(v);
            else if (Is(n, "HasProp"))
                hasProp = Bool(v);
            else
                NoProperty(n);
        });
        if (first) {
            first = false;
            if (!full)
                origin = TPoint{col, row};
            else
                sizeGrid(col, row);
        }
        const int tc = col + Point.X - origin.X;
        const int tr = row + Point.Y - origin.Y;
        // Cells that fall outside the grid are read past and dropped.
        const bool inside = tc >= 0 && tr >= 0 && tc < TotalColCount() && tr < RowCount();
        if (inside)
            SetCellEx(tc, tr, text);
        if (tr != prevRow) {
            prevRow = tr;
            gridfiles::Progress(OnFileProgress, this, last, tr, std::max(1, RowCount()));
        }
        if (!hasProp)
            continue;

        // The cell's current properties are read over, so that what the record leaves out stays.
        SetHasCellProps(true);
        TCellProperties props(nullptr, tc, tr);
        TCellProperties* target = inside ? GetCellProperties(tc, tr) : nullptr;
        if (target) {
            props.Assign(*target);
            props.SetBrushColorTo(target->BrushColorTo());
            props.SetGradientDirection(target->GradientDirection());
        }
        bool hasGraphic = false;
        rd.ReadRecord([&](const QString& n, const TPropValue& v) {
            if (Is(n, "HasGraphic")) {
                hasGraphic = Bool(v);
                return;
            }
            const QString m = Member(n, "CellProperties");
            if (Is(m, "IsBaseCell"))
                props.SetIsBaseCell(Bool(v));
            else if (Is(m, "CellSpanX"))
                props.SetCellSpanX(Int(v));
            else if (Is(m, "CellSpanY"))
                props.SetCellSpanY(Int(v));
            else if (Is(m, "Alignment"))
                props.SetAlignment(TAlignment(Ident(AlignmentNames, v)));
            else if (Is(m, "BorderColor"))
                props.SetBorderColor(ColorOf(v));
            else if (Is(m, "BorderWidth"))
                props.SetBorderWidth(Int(v));
            else if (Is(m, "BrushColor"))
                props.SetBrushColor(ColorOf(v));
            else if (Is(m, "BrushColorTo"))
                props.SetBrushColorTo(ColorOf(v));
            else if (Is(m, "BrushStyle"))
                props.SetBrushStyle(TBrushStyle(Ident(BrushStyleNames, v)));
            else if (Is(m, "CellObject"))
                props.SetCellObject(ObjectOf(qint32(Int(v))));
            else if (Is(m, "FontColor"))
                props.SetFontColor(ColorOf(v));
            else if (Is(m, "FontName"))
                props.SetFontName(Str(v));
            else if (Is(m, "FontSize"))
                props.SetFontSize(Int(v));
            else if (Is(m, "FontStyle")) {
                if (v.Type != platform::vaSet)
                    InvalidValue();
                TFontStyles s;
                for (const QString& item : v.Items) {
                    TPropValue one;
                    one.Type = platform::vaIdent;
                    one.Str = item;
                    s |= TFontStyle(1u << Ident(FontStyleNames, one));
                }
                props.SetFontStyle(s);
            } else if (Is(m, "Editor"))
                props.SetEditor(TEditorType(Ident(EditorNames, v)));
            else if (Is(m, "GradientDirection"))
                props.SetGradientDirection(TCellGradientDirection(Ident(GradientNames, v)));
            else if (Is(m, "ReadOnly"))
                props.SetReadOnly(Bool(v));
            else if (Is(m, "VAlignment"))
                props.SetVAlignment(TVAlignment(Ident(VAlignmentNames, v)));
            else if (Is(m, "WordWrap"))
                props.SetWordWrap(Bool(v));
            else if (Is(m, "NodeLevel"))
                props.SetNodeLevel(Int(v));
            else if (Is(m, "Control")) {
                // A control of the writing program cannot be placed here; the cell keeps its own.
                if (v.Type != platform::vaIdent)
                    InvalidValue();
            } else
                NoProperty(n);
        });
        if (target) {
            props.SetOwnerCol(tc);
            props.SetOwnerRow(tr);
            target->Assign(props);
            target->SetBrushColorTo(props.BrushColorTo());
            target->SetGradientDirection(props.GradientDirection());
        }
        if (!hasGraphic)
            continue;

        TCellGraphic read;
        rd.ReadRecord([&](const QString& n, const TPropValue& v) {
            const QString m = Member(n, "CellGraphic");
            if (Is(m, "CellType"))
                read.SetCellType(TCellType(Ident(CellTypeNames, v)));
            else if (Is(m, "CellVAlign"))
                read.SetCellVAlign(TCellVAlign(Ident(CellVAlignNames, v)));
            else if (Is(m, "CellHAlign"))
                read.SetCellHAlign(TCellHAlign(Ident(CellHAlignNames, v)));
            else if (Is(m, "CellIndex"))
                read.SetCellIndex(Int(v));
            else if (Is(m, "CellTransparent"))
                read.SetCellTransparent(Bool(v));
            else if (Is(m, "CellCreated"))
                Bool(v); // a graphic read here is always the grid's own
            else if (Is(m, "CellBoolean"))
                read.SetCellBoolean(Bool(v));
            else if (Is(m, "CellCheckBoxState"))
                read.SetCellCheckBoxState(TCheckBoxState(Ident(CheckStateNames, v)));
            else if (Is(m, "CellAngle"))
                read.SetCellAngle(Int(v));
            else if (Is(m, "CellValue"))
                read.SetCellValue(Float(v));
            else if (Is(m, "CellErrFrom"))
                read.SetCellErrFrom(Int(v));
            else if (Is(m, "CellErrLen"))
                read.SetCellErrLen(Int(v));
            else if (Is(m, "CellText"))
                read.SetCellText(Str(v));
            else
                NoProperty(n);
        });
        TCellGraphic* g = nullptr;
        if (inside) {
            g = CreateCellGraphic(tc, tr);
            g->Assign(read);
            g->SetCellCheckBoxState(read.CellCheckBoxState());
        }
        const TCellType type = read.CellType();
        if (!HasObjectRecord(type))
            continue;

        QByteArray data;
        QStringList items;
        QString fileName;
        rd.ReadRecord([&](const QString& n, const TPropValue& v) {
            if ((type == ctBitmap || type == ctBitButton) && Is(n, "Bitmap.Data"))
                data = Bin(v);
            else if (type == ctIcon && Is(n, "Icon.Data"))
                data = Bin(v);
            else if ((type == ctRadio || type == ctImages) && Is(n, "Strings.Strings"))
                items = List(v);
            else if (type == ctPicture && Is(n, "Picture.Data"))
                data = Bin(v);
            else if (type == ctFilePicture && Is(n, "Picture.Filename"))
                fileName = Str(v);
            else
                NoProperty(n);
        });
        if (!g)
            continue;
        switch (type) {
        case ctBitmap:
        case ctBitButton: {
            auto b = std::make_unique<TBitmap>();
            if (!data.isEmpty())
                LoadGraphicData(*b, data, 0);
            g->CellBitmap().Own(std::move(b));
            break;
        }
        case ctIcon: {
            auto i = std::make_unique<TIcon>();
            if (!data.isEmpty())
                i->LoadFromData(data);
            g->CellIcon().Own(std::move(i));
            break;
        }
        case ctRadio: {
            auto sl = std::make_unique<platform::TStringList>();
            for (const QString& s : items)
                sl->Add(s);
            g->CellBitmap().Own(std::move(sl));
            break;
        }
        case ctImages: {
            auto il = std::make_unique<TIntList>(tc, tr);
            il->SetStrValue(items.join(QLatin1Char(',')));
            il->OnChange = [this](TIntList*, int c, int r) {
                if (!FDestroying)
                    RepaintCell(DisplColIndex(c), r);
            };
            g->CellBitmap().Own(std::move(il));
            break;
        }
        case ctPicture: {
            auto pic = std::make_unique<TPicture>();
            if (!data.isEmpty()) {
                const int len = quint8(data[0]);
                if (data.size() < 1 + len)
                    throw EReadError(QStringLiteral("Stream read error"));
                const QString cls = QString::fromUtf8(data.mid(1, len));
                std::unique_ptr<TGraphic> graphic = TPicture::CreateByClassName(cls);
                if (!graphic)
                    throw EReadError(QStringLiteral("Unknown picture class %1").arg(cls));
                LoadGraphicData(*graphic, data, 1 + len);
                pic->SetGraphic(std::move(graphic));
            }
            g->CellBitmap().Own(std::move(pic));
            break;
        }
        case ctFilePicture: {
            auto fp = std::make_unique<TFilePicture>();
            if (!fileName.isEmpty()) {
                try {
                    fp->SetFilename(fileName);
                } catch (const EInvalidGraphic&) {
                    // The name is kept; a file this side cannot read draws nothing.
                }
            }
            g->CellBitmap().Own(std::move(fp));
            break;
        }
        default:
            break;
        }
    }
    // A whole-grid stream without cells still sizes the grid.
    if (!sized)
        sizeGrid(0, 0);
}

void TVerIvovavOzed::LoadFromBinStream(QIODevice& Stream)
{
    LoadAtPointFromBinStream(TPoint{0, 0}, Stream);
    int nodes = 0;
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (GetCellType(0, r) == ctNode)
            ++nodes;
    FNodeCount = nodes;
    if (nodes > 0)
        RepaintCol(0);
}

void TVerIvovavOzed::LoadFromBinFile(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
    QByteArray data = file.readAll();
    file.close();
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    LoadFromBinStream(buffer);
}
