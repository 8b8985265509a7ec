// TZidIzavodUraz: the column definitions in a stream. They travel as the Items collection of one
// carrier record (TZidIzavodUrazIO) of the object record format: per definition its published
// properties in their declared order, each unless it holds its stream default, object-valued
// properties as dotted sub-properties ("Font.Name", "ComboItems.Strings") and references to
// other components by name.
#include "grid/AdvCGrid.h"
#include "gridedit/EditLink.h"
#include "grid/GridTypeNames.h"
#include "platform/ComponentStream.h"
#include "platform/ComponentStreamValues.h"

#include <QIODevice>
#include <QMenu>

#include <iterator>

using platform::EReadError;
using platform::TComponentReader;
using platform::TComponentWriter;
using platform::TPropValue;

namespace {

const QString CarrierClass = QStringLiteral("TZidIzavodUrazIO");

const char* const BorderNames[] = {"cbTop", "cbLeft", "cbRight", "cbBottom"};
const char* const PopupTypeNames[] = {"cpFixedCellsRClick",  "cpFixedCellsLClick", "cpNormalCellsRClick",
                                      "cpNormalCellsLClick", "cpAllCellsRClick",   "cpAllCellsLClick"};
const char* const SortStyleNames[] = {
    "ssAutomatic", "ssAlphabetic", "ssNumeric", "ssDate", "ssAlphaNoCase", "ssAlphaCase", "ssShortDateEU",
    "ssShortDateUS", "ssCustom", "ssFinancial", "ssAnsiAlphaCase", "ssAnsiAlphaNoCase", "ssRaw", "ssHTML",
    "ssImages", "ssCheckBox", "ssDateTime", "ssTime", "ssAlphaNumeric", "ssAlphaNumericNoCase"};
const char* const PitchNames[] = {"fpDefault", "fpVariable", "fpFixed"};
const char* const PenStyleNames[] = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                                     "psInsideFrame"};
const char* const PenModeNames[] = {"pmCopy", "pmNot", "pmXor", "pmNotXor"};
// Fonts here have no character set of their own: the default one is written and any one read.
const QString DefaultCharset = QStringLiteral("DEFAULT_CHARSET");

static_assert(std::size(SortStyleNames) == ssAlphaNumericNoCase + 1);
static_assert(std::size(PopupTypeNames) == cpAllCellsLClick + 1);

using namespace platform::streamvalue;

// ---- writing -----------------------------------------------------------------------------------

void WriteFont(TComponentWriter& w, const QString& Prefix, const TFont& f)
{
    w.WriteIdent(Prefix + QLatin1String("Charset"), DefaultCharset);
    w.WriteColor(Prefix + QLatin1String("Color"), f.Color());
    w.WriteInteger(Prefix + QLatin1String("Height"), f.Height());
    if (!f.Name().isEmpty())
        w.WriteString(Prefix + QLatin1String("Name"), f.Name());
    if (f.Orientation() != 0)
        w.WriteInteger(Prefix + QLatin1String("Orientation"), f.Orientation());
    if (f.Pitch() != fpDefault)
        w.WriteIdent(Prefix + QLatin1String("Pitch"), Name(PitchNames, f.Pitch()));
    QStringList styles;
    for (int i = 0; i < 4; ++i)
        if (f.Style().testFlag(TFontStyle(1u << i)))
            styles << QString::fromLatin1(FontStyleNames[i]);
    w.WriteSet(Prefix + QLatin1String("Style"), styles);
}

void WritePen(TComponentWriter& w, const QString& Prefix, const TPen& p)
{
    if (p.Color() != clBlack)
        w.WriteColor(Prefix + QLatin1String("Color"), p.Color());
    if (p.Mode() != pmCopy)
        w.WriteIdent(Prefix + QLatin1String("Mode"), Name(PenModeNames, p.Mode()));
    if (p.Style() != psSolid)
        w.WriteIdent(Prefix + QLatin1String("Style"), Name(PenStyleNames, p.Style()));
    if (p.Width() != 1)
        w.WriteInteger(Prefix + QLatin1String("Width"), p.Width());
}

void WriteLines(TComponentWriter& w, const QString& Prefix, const platform::TStringList& l)
{
    if (l.Count() > 0)
        w.WriteStringList(Prefix + QLatin1String("Strings"), l.ToStringList());
}

void WriteBorders(TComponentWriter& w, const QString& Name, TCellBorders b)
{
    QStringList members;
    for (int i = 0; i < 4; ++i)
        if (b.testFlag(TCellBorder(1u << i)))
            members << QString::fromLatin1(BorderNames[i]);
    w.WriteSet(Name, members);
}

void WriteText(TComponentWriter& w, const QString& Name, const QString& Value)
{
    if (!Value.isEmpty())
        w.WriteString(Name, Value);
}

QString ReferenceName(const QObject* o) { return o ? o->objectName() : QString(); }

// The published properties in their declared order.
void WriteItem(TComponentWriter& w, TGridColumnItem& d)
{
    w.WriteInteger(QStringLiteral("AutoMinSize"), d.AutoMinSize());
    w.WriteInteger(QStringLiteral("AutoMaxSize"), d.AutoMaxSize());
    w.WriteIdent(QStringLiteral("Alignment"), Name(AlignmentNames, d.Alignment()));
    WriteBorders(w, QStringLiteral("Borders"), d.Borders());
    WritePen(w, QStringLiteral("BorderPen."), d.BorderPen());
    WriteText(w, QStringLiteral("CheckFalse"), d.CheckFalse());
    WriteText(w, QStringLiteral("CheckTrue"), d.CheckTrue());
    w.WriteColor(QStringLiteral("Color"), d.Color());
    w.WriteReference(QStringLiteral("ColumnPopup"), ReferenceName(d.ColumnPopup()));
    w.WriteIdent(QStringLiteral("ColumnPopupType"), Name(PopupTypeNames, d.ColumnPopupType()));
    WriteLines(w, QStringLiteral("ComboItems."), d.ComboItems());
    w.WriteInteger(QStringLiteral("DropDownCount"), d.DropDownCount());
    w.WriteInteger(QStringLiteral("EditLength"), d.EditLength());
    w.WriteReference(QStringLiteral("EditLink"), ReferenceName(d.EditLink()));
    WriteText(w, QStringLiteral("EditMask"), d.EditMask());
    w.WriteIdent(QStringLiteral("Editor"), Name(EditorNames, d.Editor()));
    WriteLines(w, QStringLiteral("Filter."), d.Filter());
    w.WriteBoolean(QStringLiteral("FilterCaseSensitive"), d.FilterCaseSensitive());
    w.WriteBoolean(QStringLiteral("Fixed"), d.Fixed());
    WriteText(w, QStringLiteral("FloatFormat"), d.FloatFormat());
    WriteFont(w, QStringLiteral("Font."), d.Font());
    WriteText(w, QStringLiteral("Header"), d.Header());
    w.WriteIdent(QStringLiteral("HeaderAlignment"), Name(AlignmentNames, d.HeaderAlignment()));
    WriteFont(w, QStringLiteral("HeaderFont."), d.HeaderFont());
    w.WriteInteger(QStringLiteral("MinSize"), d.MinSize());
    w.WriteInteger(QStringLiteral("MaxSize"), d.MaxSize());
    WriteText(w, QStringLiteral("Name"), d.Name());
    w.WriteBoolean(QStringLiteral("Password"), d.Password());
    if (!d.PrintBorderCustom())
        w.WriteBoolean(QStringLiteral("PrintBorderCustom"), false);
    WriteBorders(w, QStringLiteral("PrintBorders"), d.PrintBorders());
    WritePen(w, QStringLiteral("PrintBorderPen."), d.PrintBorderPen());
    w.WriteColor(QStringLiteral("PrintColor"), d.PrintColor());
    if (!d.PrintFontCustom())
        w.WriteBoolean(QStringLiteral("PrintFontCustom"), false);
    WriteFont(w, QStringLiteral("PrintFont."), d.PrintFont());
    w.WriteBoolean(QStringLiteral("ReadOnly"), d.ReadOnly());
    w.WriteBoolean(QStringLiteral("ShowBands"), d.ShowBands());
    w.WriteIdent(QStringLiteral("SortStyle"), Name(SortStyleNames, d.SortStyle()));
    WriteText(w, QStringLiteral("SortPrefix"), d.SortPrefix());
    WriteText(w, QStringLiteral("SortSuffix"), d.SortSuffix());
    w.WriteInteger(QStringLiteral("SpinMax"), d.SpinMax());
    w.WriteInteger(QStringLiteral("SpinMin"), d.SpinMin());
    w.WriteInteger(QStringLiteral("SpinStep"), d.SpinStep());
    w.WriteInteger(QStringLiteral("Tag"), d.Tag());
    w.WriteInteger(QStringLiteral("Width"), d.Width());
}

// ---- reading -----------------------------------------------------------------------------------

// Finds the component a reference names, among the objects of the grid's window; nil when none
// has the name (a reference the reader cannot resolve is dropped, not an error).
class TReferences {
public:
    explicit TReferences(QWidget* Grid) : FRoot(Grid ? Grid->window() : nullptr) {}

    template <class T>
    T* Find(const TPropValue& v) const
    {
        if (v.Type == platform::vaNil)
            return nullptr;
        if (v.Type != platform::vaIdent)
            InvalidValue();
        if (!FRoot || v.Str.isEmpty())
            return nullptr;
        for (T* o : FRoot->findChildren<T*>())
            if (o->objectName().compare(v.Str, Qt::CaseInsensitive) == 0)
                return o;
        return nullptr;
    }

private:
    QWidget* FRoot;
};

void ReadFont(TFont& f, const QString& n, const TPropValue& v, const QString& Full)
{
    if (Is(n, "Charset")) {
        if (v.Type != platform::vaIdent)
            Int(v);
    } else if (Is(n, "Color"))
        f.SetColor(ColorOf(v));
    else if (Is(n, "Height"))
        f.SetHeight(Int(v));
    else if (Is(n, "Size"))
        f.SetSize(Int(v));
    else if (Is(n, "Name"))
        f.SetName(Str(v));
    else if (Is(n, "Orientation"))
        f.SetOrientation(Int(v));
    else if (Is(n, "Pitch"))
        f.SetPitch(TFontPitch(Ident(PitchNames, v)));
    else if (Is(n, "Style")) {
        if (v.Type != platform::vaSet)
            InvalidValue();
        TFontStyles s;
        for (const QString& m : v.Items) {
            TPropValue one;
            one.Type = platform::vaIdent;
            one.Str = m;
            s |= TFontStyle(1u << Ident(FontStyleNames, one));
        }
        f.SetStyle(s);
    } else
        NoProperty(Full);
}

void ReadPen(TPen& p, const QString& n, const TPropValue& v, const QString& Full)
{
    if (Is(n, "Color"))
        p.SetColor(ColorOf(v));
    else if (Is(n, "Mode"))
        p.SetMode(TPenMode(Ident(PenModeNames, v)));
    else if (Is(n, "Style"))
        p.SetStyle(TPenStyle(Ident(PenStyleNames, v)));
    else if (Is(n, "Width"))
        p.SetWidth(Int(v));
    else
        NoProperty(Full);
}

void ReadLines(platform::TStringList& l, const QString& n, const TPropValue& v, const QString& Full)
{
    if (!Is(n, "Strings"))
        NoProperty(Full);
    const QStringList lines = List(v);
    l.BeginUpdate();
    l.Clear();
    l.AddStrings(lines);
    l.EndUpdate();
}

TCellBorders BordersOf(const TPropValue& v)
{
    if (v.Type != platform::vaSet)
        InvalidValue();
    TCellBorders b;
    for (const QString& m : v.Items) {
        TPropValue one;
        one.Type = platform::vaIdent;
        one.Str = m;
        b |= TCellBorder(1u << Ident(BorderNames, one));
    }
    return b;
}

// Sets one stored property through the definition's own setters, so that a definition of a grid
// acts on the grid as it would when set by hand.
void ReadItemProperty(TGridColumnItem& d, const QString& Full, const TPropValue& v, const TReferences& Refs)
{
    const qsizetype dot = Full.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const QString owner = Full.left(dot);
        const QString n = Full.mid(dot + 1);
        if (Is(owner, "Font"))
            ReadFont(d.Font(), n, v, Full);
        else if (Is(owner, "HeaderFont"))
            ReadFont(d.HeaderFont(), n, v, Full);
        else if (Is(owner, "PrintFont"))
            ReadFont(d.PrintFont(), n, v, Full);
        else if (Is(owner, "BorderPen"))
            ReadPen(d.BorderPen(), n, v, Full);
        else if (Is(owner, "PrintBorderPen"))
            ReadPen(d.PrintBorderPen(), n, v, Full);
        else if (Is(owner, "ComboItems"))
            ReadLines(d.ComboItems(), n, v, Full);
        else if (Is(owner, "Filter"))
            ReadLines(d.Filter(), n, v, Full);
        else
            NoProperty(Full);
        return;
    }
    const QString& n = Full;
    if (Is(n, "AutoMinSize"))
        d.SetAutoMinSize(Int(v));
    else if (Is(n, "AutoMaxSize"))
        d.SetAutoMaxSize(Int(v));
    else if (Is(n, "Alignment"))
        d.SetAlignment(TAlignment(Ident(AlignmentNames, v)));
    else if (Is(n, "Borders"))
        d.SetBorders(BordersOf(v));
    else if (Is(n, "CheckFalse"))
        d.SetCheckFalse(Str(v));
    else if (Is(n, "CheckTrue"))
        d.SetCheckTrue(Str(v));
    else if (Is(n, "Color"))
        d.SetColor(ColorOf(v));
    else if (Is(n, "ColumnPopup"))
        d.SetColumnPopup(Refs.Find<QMenu>(v));
    else if (Is(n, "ColumnPopupType"))
        d.SetColumnPopupType(TColumnPopupType(Ident(PopupTypeNames, v)));
    else if (Is(n, "DropDownCount"))
        d.SetDropDownCount(Int(v));
    else if (Is(n, "EditLength"))
        d.SetEditLength(Int(v));
    else if (Is(n, "EditLink"))
        d.SetEditLink(Refs.Find<TEditLink>(v));
    else if (Is(n, "EditMask"))
        d.SetEditMask(Str(v));
    else if (Is(n, "Editor"))
        d.SetEditor(TEditorType(Ident(EditorNames, v)));
    else if (Is(n, "FilterCaseSensitive"))
        d.SetFilterCaseSensitive(Bool(v));
    else if (Is(n, "Fixed"))
        d.SetFixed(Bool(v));
    else if (Is(n, "FloatFormat"))
        d.SetFloatFormat(Str(v));
    else if (Is(n, "Header"))
        d.SetHeader(Str(v));
    else if (Is(n, "HeaderAlignment"))
        d.SetHeaderAlignment(TAlignment(Ident(AlignmentNames, v)));
    else if (Is(n, "MinSize"))
        d.SetMinSize(Int(v));
    else if (Is(n, "MaxSize"))
        d.SetMaxSize(Int(v));
    else if (Is(n, "Name"))
        d.SetName(Str(v));
    else if (Is(n, "Password"))
        d.SetPassword(Bool(v));
    else if (Is(n, "PrintBorderCustom"))
        d.SetPrintBorderCustom(Bool(v));
    else if (Is(n, "PrintBorders"))
        d.SetPrintBorders(BordersOf(v));
    else if (Is(n, "PrintColor"))
        d.SetPrintColor(ColorOf(v));
    else if (Is(n, "PrintFontCustom"))
        d.SetPrintFontCustom(Bool(v));
    else if (Is(n, "ReadOnly"))
        d.SetReadOnly(Bool(v));
    else if (Is(n, "ShowBands"))
        d.SetShowBands(Bool(v));
    else if (Is(n, "SortStyle"))
        d.SetSortStyle(TSortStyle(Ident(SortStyleNames, v)));
    else if (Is(n, "SortPrefix"))
        d.SetSortPrefix(Str(v));
    else if (Is(n, "SortSuffix"))
        d.SetSortSuffix(Str(v));
    else if (Is(n, "SpinMax"))
        d.SetSpinMax(Int(v));
    else if (Is(n, "SpinMin"))
        d.SetSpinMin(Int(v));
    else if (Is(n, "SpinStep"))
        d.SetSpinStep(Int(v));
    else if (Is(n, "Tag"))
        d.SetTag(Int(v));
    else if (Is(n, "Width"))
        d.SetWidth(Int(v));
    else
        NoProperty(Full);
}

// Fills the carrier's collection from a stored Items value: its items are replaced by one
// definition per entry (made as the reader makes them: the collection's plain add, which copies
// no neighbour), each given its properties in stream order.
void ReadItems(TZidIzavodUrazIO& Carrier, const TPropValue& Items, const TReferences& Refs)
{
    if (Items.Type != platform::vaCollection)
        InvalidValue();
    TGridColumnCollection& c = Carrier.Items();
    c.Clear();
    for (const platform::TCollectionEntry& e : Items.Entries) {
        auto* d = static_cast<TGridColumnItem*>(static_cast<platform::TCollection&>(c).Add());
        for (const platform::TPropEntry& p : e.Properties)
            ReadItemProperty(*d, p.Name, p.Value, Refs);
    }
}

// Sets the collection's no-update flag for a scope and clears it on every way out.
class TNoRecursiveUpdate {
public:
    explicit TNoRecursiveUpdate(TGridColumnCollection& c) : FCollection(c) { c.SetNoRecursiveUpdate(true); }
    ~TNoRecursiveUpdate() { FCollection.SetNoRecursiveUpdate(false); }
    TNoRecursiveUpdate(const TNoRecursiveUpdate&) = delete;
    TNoRecursiveUpdate& operator=(const TNoRecursiveUpdate&) = delete;

private:
    TGridColumnCollection& FCollection;
};

} // namespace

// ---- TZidIzavodUrazIO --------------------------------------------------------------------------

TZidIzavodUrazIO::TZidIzavodUrazIO(TZidIzavodUraz* AOwner)
    : FOwner(AOwner), FItems(std::make_unique<TGridColumnCollection>(AOwner))
{
}

// ---- TZidIzavodUraz ----------------------------------------------------------------------------

void TZidIzavodUraz::SaveColumnsToStream(QIODevice& st)
{
    // The carrier's copies read Width from this grid; nothing of the grid changes.
    TZidIzavodUrazIO carrier(this);
    TGridColumnCollection& items = carrier.Items();
    items.SetNoRecursiveUpdate(true);
    items.Assign(Columns());
    TComponentWriter w(st);
    w.BeginRecord(CarrierClass);
    if (!carrier.Name().isEmpty())
        w.WriteString(QStringLiteral("Name"), carrier.Name());
    if (carrier.Tag() != 0)
        w.WriteInteger(QStringLiteral("Tag"), carrier.Tag());
    w.BeginCollection(QStringLiteral("Items"));
    for (int i = 0; i < items.Count(); ++i) {
        w.BeginCollectionItem();
        WriteItem(w, *items.Items(i));
        w.EndList();
    }
    w.EndList();
    w.EndRecord();
}

void TZidIzavodUraz::LoadColumnsFromStream(QIODevice& st)
{
    TNoRecursiveUpdate quiet(Columns());
    const TReferences refs(this);

    // The whole record is read and every property set on a carrier of no grid first, so a stream
    // that is broken anywhere raises before the grid changes.
    TZidIzavodUrazIO detached(nullptr);
    TPropValue items;
    bool hasItems = false;
    TComponentReader rd(st);
    const QString cls = rd.ReadRecord([&](const QString& n, const TPropValue& v) {
        if (Is(n, "Items")) {
            ReadItems(detached, v, refs);
            items = v;
            hasItems = true;
        } else if (Is(n, "Name"))
            detached.SetName(Str(v));
        else if (Is(n, "Tag"))
            detached.SetTag(Int(v));
        else
            NoProperty(n);
    });
    if (cls.compare(CarrierClass, Qt::CaseInsensitive) != 0)
        throw EReadError(QStringLiteral("Invalid stream format"));

    // Then the same properties land on a carrier of this grid, where a stored Width sizes the
    // column of its index and a stored Header writes its header cell, and the definitions are
    // copied over. The stored order is the organised order of the loaded definitions.
    TZidIzavodUrazIO carrier(this);
    TGridColumnCollection& loaded = carrier.Items();
    loaded.SetNoRecursiveUpdate(true);
    if (hasItems)
        ReadItems(carrier, items, refs);
    for (int i = 0; i < loaded.Count(); ++i)
        loaded.Items(i)->SetDefIdx(i);
    Columns().Assign(loaded);
    Invalidate();
}
