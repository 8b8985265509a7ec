// TVerIvovavOzed: the binary cell stream, the grid's lossless exchange format for a rectangle of
// cells (texts, cell properties, the graphics the grid made itself). It is a row of object
// records: a header, then per cell a cell record, optionally its properties, its graphic and one
// picture or list record.
#include "grid/AdvGrid.h"
#include "griddata/GridFileText.h"
#include "griddata/StoredProperties.h"
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
using gridstream::Boolean;
using gridstream::Color;
using gridstream::Enum;
using gridstream::Integer;
using gridstream::Set;
using gridstream::Text;

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

// ---- the records -------------------------------------------------------------------------------

// The header: the size of the rectangle and whether it is the whole grid.
struct THeaderRecord {
    int ColCount = 0;
    int RowCount = 0;
    QString ColWidths;
    QString RowHeights;
    bool FullGrid = false;
    int ID = 0;
};

// One cell: where it stood, its text and whether a properties record follows.
struct TCellRecord {
    int Col = 0;
    int Row = 0;
    QString Cell;
    bool HasProp = false;
};

const gridstream::TStoredProperties<THeaderRecord> HeaderProps = {
    Integer("ColCount", &THeaderRecord::ColCount),
    Integer("RowCount", &THeaderRecord::RowCount),
    Text("ColWidths", &THeaderRecord::ColWidths),
    Text("RowHeights", &THeaderRecord::RowHeights),
    Boolean("FullGrid", &THeaderRecord::FullGrid),
    Integer("ID", &THeaderRecord::ID),
};

// Indexes beyond 16 bits are written as they are, not cut.
const gridstream::TStoredProperties<TCellRecord> CellProps = {
    Integer("Col", &TCellRecord::Col),
    Integer("Row", &TCellRecord::Row),
    Text("Cell", &TCellRecord::Cell),
    Boolean("HasProp", &TCellRecord::HasProp),
};

using P = TCellProperties;
const gridstream::TStoredProperties<P> CellPropertiesProps = {
    Boolean("IsBaseCell", &P::IsBaseCell, &P::SetIsBaseCell),
    Integer("CellSpanX", &P::CellSpanX, &P::SetCellSpanX),
    Integer("CellSpanY", &P::CellSpanY, &P::SetCellSpanY),
    Enum("Alignment", AlignmentNames, &P::Alignment, &P::SetAlignment),
    Color("BorderColor", &P::BorderColor, &P::SetBorderColor),
    Integer("BorderWidth", &P::BorderWidth, &P::SetBorderWidth),
    Color("BrushColor", &P::BrushColor, &P::SetBrushColor),
    Color("BrushColorTo", &P::BrushColorTo, &P::SetBrushColorTo),
    Enum("BrushStyle", BrushStyleNames, &P::BrushStyle, &P::SetBrushStyle),
    {"CellObject",
     [](TComponentWriter& w, const QString& n, const P& p) { w.WriteInteger(n, TokenOf(p.CellObject())); },
     [](P& p, const TPropValue& v) { p.SetCellObject(ObjectOf(qint32(Int(v)))); }},
    Color("FontColor", &P::FontColor, &P::SetFontColor),
    Text("FontName", &P::FontName, &P::SetFontName),
    Integer("FontSize", &P::FontSize, &P::SetFontSize),
    Set("FontStyle", FontStyleNames, &P::FontStyle, &P::SetFontStyle),
    Enum("Editor", EditorNames, &P::Editor, &P::SetEditor),
    Enum("GradientDirection", GradientNames, &P::GradientDirection, &P::SetGradientDirection),
    Boolean("ReadOnly", &P::ReadOnly, &P::SetReadOnly),
    Enum("VAlignment", VAlignmentNames, &P::VAlignment, &P::SetVAlignment),
    Boolean("WordWrap", &P::WordWrap, &P::SetWordWrap),
    Integer("NodeLevel", &P::NodeLevel, &P::SetNodeLevel),
    // A control of the writing program cannot be placed here; the cell keeps its own.
    {"Control",
     [](TComponentWriter& w, const QString& n, const P& p) {
         if (QWidget* ctl = p.Control()) {
             const QObject* owner = ctl->parent();
             w.WriteIdent(n, (owner ? owner->objectName() : QString()) + QLatin1Char('.') + ctl->objectName());
         }
     },
     [](P&, const TPropValue& v) {
         if (v.Type != platform::vaIdent)
             InvalidValue();
     }},
};

using G = TCellGraphic;
const gridstream::TStoredProperties<G> CellGraphicProps = {
    Enum("CellType", CellTypeNames, &G::CellType, &G::SetCellType),
    Enum("CellVAlign", CellVAlignNames, &G::CellVAlign, &G::SetCellVAlign),
    Enum("CellHAlign", CellHAlignNames, &G::CellHAlign, &G::SetCellHAlign),
    Integer("CellIndex", &G::CellIndex, &G::SetCellIndex),
    Boolean("CellTransparent", &G::CellTransparent, &G::SetCellTransparent),
    // A graphic read here is always the grid's own.
    Boolean("CellCreated", &G::CellCreated, [](G&, bool) {}),
    Boolean("CellBoolean", &G::CellBoolean, &G::SetCellBoolean),
    Enum("CellCheckBoxState", CheckStateNames, &G::CellCheckBoxState, &G::SetCellCheckBoxState),
    Integer("CellAngle", &G::CellAngle, &G::SetCellAngle),
    {"CellValue",
     [](TComponentWriter& w, const QString& n, const G& g) {
         if (g.CellValue() != 0)
             w.WriteFloat(n, g.CellValue());
     },
     [](G& g, const TPropValue& v) { g.SetCellValue(Float(v)); }},
    Integer("CellErrFrom", &G::CellErrFrom, &G::SetCellErrFrom),
    Integer("CellErrLen", &G::CellErrLen, &G::SetCellErrLen),
    Text("CellText", &G::CellText, &G::SetCellText),
};

// Sets one of the table's properties, named after Prefix when there is one ("CellProperties." ...).
template <class T>
void ReadMember(const gridstream::TStoredProperties<T>& Props, const char* Prefix, T& Object, const QString& n,
                const TPropValue& v)
{
    if (!Props.Read(Object, Prefix ? Member(n, Prefix) : n, v))
        NoProperty(n);
}

// Reads one record whose every property is one of the table's.
template <class T>
void ReadRecord(TComponentReader& rd, const gridstream::TStoredProperties<T>& Props, T& Object,
                const char* Prefix = nullptr)
{
    rd.ReadRecord([&](const QString& n, const TPropValue& v) { ReadMember(Props, Prefix, Object, n, v); });
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
    HeaderProps.Write(w, THeaderRecord{cc, rc, widths.join(QLatin1Char(',')), heights.join(QLatin1Char(',')), full,
                                       StreamID()});
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
            CellProps.Write(w, TCellRecord{c, r, GetCellEx(c, r), p != nullptr});
            w.EndRecord();
            if (!p)
                continue;

            TCellGraphic* g = dynamic_cast<TCellGraphic*>(p->GraphicObject().get());
            const TCellType type = g ? g->CellType() : ctEmpty;
            // Objects the application lent the cell stay with the application.
            const bool hasGraphic = type != ctEmpty && (!CarriesCreatedOnly(type) || g->CellCreated());

            w.BeginRecord(QStringLiteral("TGridCellPropIO"));
            CellPropertiesProps.Write(w, *p, CP);
            w.WriteBoolean(QStringLiteral("HasGraphic"), hasGraphic);
            w.EndRecord();
            if (!hasGraphic)
                continue;

            w.BeginRecord(QStringLiteral("TGridGraphicIO"));
            CellGraphicProps.Write(w, *g, CG);
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
    gridfiles::WriteWholeFile(FileName, data);
}

// ---- reading -----------------------------------------------------------------------------------

void TVerIvovavOzed::LoadAtPointFromBinStream(TPoint Point, QIODevice& Stream)
{
    TComponentReader rd(Stream);
    THeaderRecord hdr;
    ReadRecord(rd, HeaderProps, hdr);
    const bool full = hdr.FullGrid;

    // A whole-grid stream sizes the grid before its cells land. A stream written without the
    // fixed cells starts at the first normal cell: its counts and sizes are offset by that cell.
    bool sized = !full;
    auto sizeGrid = [&](int offCol, int offRow) {
        sized = true;
        TIntList w, h;
        w.SetStrValue(hdr.ColWidths);
        h.SetStrValue(hdr.RowHeights);
        // The lists bound the counts: a list shorter than its count fails at its first missing
        // entry before the grid is touched (so a broken count never sizes the grid).
        if (hdr.ColCount < 0 || hdr.RowCount < 0)
            InvalidValue();
        if (w.Count() < hdr.ColCount)
            w.GetInteger(w.Count());
        if (h.Count() < hdr.RowCount)
            h.GetInteger(h.Count());
        Clear();
        SetRowCount(hdr.RowCount + offRow);
        SetColCount(hdr.ColCount + offCol);
        // A list shorter than the counts fails at the first missing entry.
        for (int i = 0; i < hdr.ColCount; ++i)
            SetColWidths(offCol + i, w.GetInteger(i));
        for (int i = 0; i < hdr.RowCount; ++i)
            SetRowHeights(offRow + i, h.GetInteger(i));
    };

    bool first = true;
    TPoint origin{0, 0};
    int prevRow = -1;
    int last = -1;
    while (DataLeft(Stream)) {
        TCellRecord cell;
        ReadRecord(rd, CellProps, cell);
        const int col = cell.Col, row = cell.Row;
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
            SetCellEx(tc, tr, cell.Cell);
        if (tr != prevRow) {
            prevRow = tr;
            gridfiles::Progress(OnFileProgress, this, last, tr, std::max(1, RowCount()));
        }
        if (!cell.HasProp)
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
            ReadMember(CellPropertiesProps, "CellProperties", props, n, v);
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
        ReadRecord(rd, CellGraphicProps, read, "CellGraphic");
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
    QByteArray data = gridfiles::ReadWholeFile(FileName);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    LoadFromBinStream(buffer);
}
