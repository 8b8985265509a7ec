// Drag and drop between windows and programs: the COM-style base and its Qt glue.
#include "grid/OleDragDrop.h"

#include "griddata/AdvGrid_FilesStreamTypes.h"
#include "platform/CodePage.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <map>
#include <mutex>

namespace {

// ---- little-endian blocks ----------------------------------------------------------------------

void AppendUInt32(QByteArray& block, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        block.append(char((value >> (8 * i)) & 0xFF));
}

std::uint32_t UInt32At(const QByteArray& block, qsizetype offset)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t(static_cast<unsigned char>(block[offset + i])) << (8 * i);
    return value;
}

// UTF-16LE code units of a text, without terminator.
QByteArray Utf16LE(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

// The UTF-16LE text from an offset up to its NUL or the block's end (an odd last byte is left);
// next: the offset after the NUL; terminated: a NUL was found.
QString Utf16LEText(const QByteArray& block, qsizetype offset, qsizetype* next = nullptr,
                    bool* terminatedOut = nullptr)
{
    QString text;
    qsizetype p = offset;
    bool terminated = false;
    while (p + 1 < block.size()) {
        const char16_t unit = char16_t(static_cast<unsigned char>(block[p]) |
                                       (static_cast<unsigned char>(block[p + 1]) << 8));
        p += 2;
        if (unit == 0) {
            terminated = true;
            break;
        }
        text.append(QChar(unit));
    }
    if (next)
        *next = terminated ? p : block.size();
    if (terminatedOut)
        *terminatedOut = terminated;
    return text;
}

// The bytes from an offset up to their NUL or the block's end.
QByteArray AnsiBytes(const QByteArray& block, qsizetype offset, qsizetype* next = nullptr,
                     bool* terminated = nullptr)
{
    const qsizetype end = block.indexOf('\0', offset);
    if (next)
        *next = end < 0 ? block.size() : end + 1;
    if (terminated)
        *terminated = end >= 0;
    return block.mid(offset, (end < 0 ? block.size() : end) - offset);
}

QByteArray NulTerminated(QByteArray bytes)
{
    bytes.append('\0');
    return bytes;
}

QByteArray UnicodeTextBlock(const QString& text) { return Utf16LE(text) + QByteArray(2, '\0'); }

// ---- unit state ----------------------------------------------------------------------------------

struct TFormatTable {
    std::mutex Lock;
    std::vector<QString> Names;  // id 0xC000 + index
};

TFormatTable& FormatTable()
{
    static TFormatTable table;
    return table;
}

struct TUnitState {
    bool RTFAllowed = false;
    TClipFormat RTF = 0;
    TClipFormat GridCol = 0;
    TClipFormat GridCells = 0;
    TClipFormat URL = 0;
};

TUnitState& State()
{
    static TUnitState state;
    return state;
}

// A format request matches a named format only once the name has its id.
bool IsFormat(TClipFormat requested, TClipFormat named) { return named != 0 && requested == named; }

// ---- a plain list enumerator -------------------------------------------------------------------

class TListEnumFormatEtc : public IEnumFORMATETC {
public:
    TListEnumFormatEtc(std::vector<TFormatEtc> list, int index) : FList(std::move(list)), FIndex(index) {}

    HRESULT Next(int celt, TFormatEtc* rgelt, int* pceltFetched) override
    {
        if (celt > 0 && !rgelt)
            return E_INVALIDARG;
        int n = 0;
        while (n < celt && FIndex < int(FList.size()))
            rgelt[n++] = FList[size_t(FIndex++)];
        if (pceltFetched)
            *pceltFetched = n;
        return n == celt ? S_OK : S_FALSE;
    }
    HRESULT Skip(int celt) override
    {
        FIndex += celt;
        if (FIndex > int(FList.size()) || FIndex < 0) {
            FIndex = FIndex < 0 ? 0 : int(FList.size());
            return S_FALSE;
        }
        return S_OK;
    }
    HRESULT Reset() override
    {
        FIndex = 0;
        return S_OK;
    }
    HRESULT Clone(std::shared_ptr<IEnumFORMATETC>& Enum) override
    {
        Enum = std::make_shared<TListEnumFormatEtc>(FList, FIndex);
        return S_OK;
    }

private:
    std::vector<TFormatEtc> FList;
    int FIndex = 0;
};

TFormatEtc FormatOf(TClipFormat format)
{
    TFormatEtc f;
    f.cfFormat = format;
    return f;
}

} // namespace

// ---- registered formats --------------------------------------------------------------------------

TClipFormat RegisterClipboardFormat(const QString& Name)
{
    if (Name.isEmpty())
        return 0;
    TFormatTable& table = FormatTable();
    std::lock_guard<std::mutex> guard(table.Lock);
    for (size_t i = 0; i < table.Names.size(); ++i)
        if (table.Names[i].compare(Name, Qt::CaseInsensitive) == 0)
            return TClipFormat(0xC000 + i);
    if (table.Names.size() >= 0x4000)
        return 0;
    table.Names.push_back(Name);
    return TClipFormat(0xC000 + table.Names.size() - 1);
}

QString ClipboardFormatName(TClipFormat Format)
{
    TFormatTable& table = FormatTable();
    std::lock_guard<std::mutex> guard(table.Lock);
    if (Format < 0xC000 || size_t(Format - 0xC000) >= table.Names.size())
        return QString();
    return table.Names[size_t(Format - 0xC000)];
}

TClipFormat CF_RTF() { return State().RTF; }
TClipFormat CF_GRIDCOL() { return State().GridCol; }
TClipFormat CF_GRIDCELLS() { return State().GridCells; }
TClipFormat CF_URL() { return State().URL; }

void RegisterDragDropFormats()
{
    TUnitState& s = State();
    s.RTF = RegisterClipboardFormat(CFSTR_RTF);
    s.GridCol = RegisterClipboardFormat(CFSTR_GRIDCOL);
    s.GridCells = RegisterClipboardFormat(GridCellsClipboardFormat());
    s.URL = RegisterClipboardFormat(CFSTR_URL);
}

void SetDropRTFAllowed(bool Value) { State().RTFAllowed = Value; }
bool DropRTFAllowed() { return State().RTFAllowed; }

void ResetDragDropState() { State() = TUnitState(); }

int DropEffectForKeys(TShiftState Shift, int OkEffects)
{
    if (Shift.testFlag(ssCtrl))
        return DROPEFFECT_COPY;
    if (OkEffects & DROPEFFECT_MOVE)
        return DROPEFFECT_MOVE;
    return DROPEFFECT_COPY;
}

TShiftState KeysToShiftState(int grfKeyState)
{
    TShiftState shift;
    if (grfKeyState & MK_SHIFT)
        shift |= ssShift;
    if (grfKeyState & MK_CONTROL)
        shift |= ssCtrl;
    if (grfKeyState & MK_ALT)
        shift |= ssAlt;
    if (grfKeyState & MK_LBUTTON)
        shift |= ssLeft;
    if (grfKeyState & MK_RBUTTON)
        shift |= ssRight;
    if (grfKeyState & MK_MBUTTON)
        shift |= ssMiddle;
    return shift;
}

// ---- TEnumFormats --------------------------------------------------------------------------------

TEnumFormats::TEnumFormats(std::shared_ptr<IDataObject> DataObject)
{
    SetDataObject(std::move(DataObject));
    RegisterDragDropFormats();
}

void TEnumFormats::SetDataObject(std::shared_ptr<IDataObject> Value)
{
    std::shared_ptr<IEnumFORMATETC> enumerator;
    if (!Value || Value->EnumFormatEtc(DATADIR_GET, enumerator) != S_OK || !enumerator)
        throw EDragDropAssertion("Cannot get the format enumerator");
    FDataObject = std::move(Value);
    FEnumerator = std::move(enumerator);
    FValid = false;
    FCount = 0;
}

bool TEnumFormats::Reset()
{
    FValid = false;
    FCount = 0;
    return FEnumerator->Reset() == S_OK;
}

bool TEnumFormats::Next()
{
    ++FCount;
    int fetched = 0;
    const HRESULT r = FEnumerator->Next(1, &FFormatEtc, &fetched);
    FValid = r == S_OK && fetched == 1;
    return FValid;
}

bool TEnumFormats::HasFormat(TClipFormat ClipFormat)
{
    Reset();
    if (ClipFormat == 0)
        return false;
    while (Next())
        if (FFormatEtc.cfFormat == ClipFormat)
            return true;
    return false;
}

std::optional<QByteArray> TEnumFormats::Handle(int Tymed)
{
    if (!FValid || (FFormatEtc.tymed & Tymed) == 0)
        return std::nullopt;
    TFormatEtc request = FFormatEtc;
    request.tymed = Tymed;
    TStgMedium medium;
    if (FDataObject->GetData(request, medium) != S_OK || (medium.tymed & Tymed) == 0)
        return std::nullopt;
    return medium.hGlobal;
}

bool TEnumFormats::HasText() { return HasFormat(CF_UNICODETEXT); }
bool TEnumFormats::HasFile() { return HasFormat(CF_HDROP); }
bool TEnumFormats::HasRTF() { return HasFormat(CF_RTF()); }
bool TEnumFormats::HasCol() { return HasFormat(CF_GRIDCOL()); }
bool TEnumFormats::HasURL() { return HasFormat(CF_URL()); }
bool TEnumFormats::HasGridCells() { return HasFormat(CF_GRIDCELLS()); }

std::optional<QByteArray> TEnumFormats::BlockOf(TClipFormat ClipFormat)
{
    if (!HasFormat(ClipFormat))
        return std::nullopt;
    return GlobalHandle();
}

QString TEnumFormats::Text()
{
    const auto block = BlockOf(CF_UNICODETEXT);
    return block ? Utf16LEText(*block, 0) : QString();
}

QString TEnumFormats::RTF()
{
    const auto block = BlockOf(CF_RTF());
    return block ? platform::FromAnsi(AnsiBytes(*block, 0)) : QString();
}

int TEnumFormats::Col()
{
    const auto block = BlockOf(CF_GRIDCOL());
    if (!block || block->size() < 4)
        return -1;
    return static_cast<std::int32_t>(UInt32At(*block, 0));
}

std::optional<QByteArray> TEnumFormats::Stream()
{
    const auto block = BlockOf(CF_GRIDCELLS());
    if (!block || block->size() < 8)
        return std::nullopt;
    const std::uint64_t n = UInt32At(*block, 0);
    if (n > std::uint64_t(block->size() - 8))
        return std::nullopt;
    return block->mid(8, qsizetype(n));
}

bool TEnumFormats::ReadFiles()
{
    FFiles.Clear();
    const auto block = GlobalHandle();
    if (!block || block->size() < 20)
        return false;
    const std::uint32_t offset = UInt32At(*block, 0);
    const bool wide = UInt32At(*block, 16) != 0;
    if (offset > std::uint32_t(block->size()))
        return false;
    // A name cut off by the block's end (no NUL) is left out: it names some other file.
    qsizetype p = offset;
    while (p < block->size()) {
        qsizetype next = p;
        bool terminated = false;
        const QString name = wide ? Utf16LEText(*block, p, &next, &terminated)
                                  : platform::FromAnsi(AnsiBytes(*block, p, &next, &terminated));
        if (name.isEmpty() || !terminated)
            break;
        FFiles.Add(name);
        p = next;
    }
    return FFiles.Count() > 0;
}

// ---- TASGDropTarget ------------------------------------------------------------------------------

HRESULT TASGDropTarget::DragEnter(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt,
                                  int& dwEffect)
{
    Q_UNUSED(pt);
    FOk = false;
    FDropFormats = {};
    TEnumFormats formats(dataObj);
    const bool text = formats.HasText();
    const bool files = formats.HasFile();
    const bool rtf = formats.HasRTF();
    const bool col = formats.HasCol();
    const bool url = formats.HasURL();
    const bool cells = formats.HasGridCells();
    FOk = (text && FAcceptText) || (files && FAcceptFiles) || (rtf && DropRTFAllowed() && FAcceptText) ||
          (col && FAcceptCols) || (url && FAcceptURLs) || cells;
    if (text)
        FDropFormats |= dfText;
    if (files)
        FDropFormats |= dfFile;
    if (rtf)
        FDropFormats |= dfRTF;
    if (col)
        FDropFormats |= dfCol;
    if (url)
        FDropFormats |= dfURL;
    if (cells)
        FDropFormats |= dfGridCells;
    dwEffect = FOk ? DropEffectForKeys(KeysToShiftState(grfKeyState), dwEffect) : DROPEFFECT_NONE;
    DragMouseEnter();
    return S_OK;
}

HRESULT TASGDropTarget::DragOver(int grfKeyState, TPoint pt, int& dwEffect)
{
    dwEffect = FOk ? DropEffectForKeys(KeysToShiftState(grfKeyState), dwEffect) : DROPEFFECT_NONE;
    bool allow = dwEffect != DROPEFFECT_NONE;
    DragMouseMove(pt, allow, FDropFormats);
    if (!allow)
        dwEffect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TASGDropTarget::DragLeave()
{
    DragMouseLeave();
    return S_OK;
}

HRESULT TASGDropTarget::Drop(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt, int& dwEffect)
{
    if (!FOk) {
        dwEffect = DROPEFFECT_NONE;
        return S_OK;
    }
    TEnumFormats formats(dataObj);
    if (formats.HasCol()) {
        DropCol(pt, formats.Col());
    } else {
        // A cells block that holds less than it claims is refused; the drop then takes the next
        // form the object offers.
        std::optional<QByteArray> cells;
        if (formats.HasGridCells())
            cells = formats.Stream();
        if (cells)
            DropStream(pt, *cells);
        else if (DropRTFAllowed() && formats.HasRTF())
            DropRTF(pt, formats.RTF());
        else if (formats.HasText())
            DropText(pt, formats.Text());
        if (formats.HasFile() && formats.ReadFiles())
            DropFiles(pt, formats.Files());
        if (formats.HasURL())
            DropURL(pt, formats.Text());
    }
    dwEffect = DropEffectForKeys(KeysToShiftState(grfKeyState), dwEffect);
    return S_OK;
}

void TASGDropTarget::DropText(TPoint, const QString&) {}
void TASGDropTarget::DropStream(TPoint, const QByteArray&) {}
void TASGDropTarget::DropCol(TPoint, int) {}
void TASGDropTarget::DropRTF(TPoint, const QString&) {}
void TASGDropTarget::DropFiles(TPoint, const platform::TStringList&) {}
void TASGDropTarget::DropURL(TPoint, const QString&) {}
void TASGDropTarget::DragMouseMove(TPoint, bool&, TDropFormats) {}
void TASGDropTarget::DragMouseEnter() {}
void TASGDropTarget::DragMouseLeave() {}

// ---- TASGDropSource ------------------------------------------------------------------------------

HRESULT TASGDropSource::QueryContinueDrag(bool fEscapePressed, int grfKeyState)
{
    HRESULT result = S_OK;
    if (fEscapePressed) {
        DragDropEnded();
        result = DRAGDROP_S_CANCEL;
    } else if ((grfKeyState & MK_LBUTTON) == 0) {
        DragDropEnded();
        result = DRAGDROP_S_DROP;
    }
    QueryDrag();
    return result;
}

HRESULT TASGDropSource::GiveFeedback(int dwEffect)
{
    FNoAccept = dwEffect == DROPEFFECT_NONE;
    CurrentEffect(dwEffect);
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

void TASGDropSource::DragDropEnded() {}
void TASGDropSource::CurrentEffect(int) {}
void TASGDropSource::QueryDrag() {}

// ---- TGetOnlyDataObject --------------------------------------------------------------------------

HRESULT TGetOnlyDataObject::GetDataHere(const TFormatEtc&, TStgMedium&) { return DV_E_FORMATETC; }

HRESULT TGetOnlyDataObject::GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc& formatetcOut)
{
    formatetcOut.ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TGetOnlyDataObject::SetData(const TFormatEtc&, const TStgMedium&, bool) { return DV_E_FORMATETC; }

HRESULT TGetOnlyDataObject::EnumFormatEtc(int dwDirection, std::shared_ptr<IEnumFORMATETC>& enumFormatEtc)
{
    if (dwDirection != DATADIR_GET) {
        enumFormatEtc = nullptr;
        return E_NOTIMPL;
    }
    enumFormatEtc = Formats();
    return S_OK;
}

HRESULT TGetOnlyDataObject::DAdvise(const TFormatEtc&, int, const std::shared_ptr<IAdviseSink>&, int&)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TGetOnlyDataObject::DUnadvise(int) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT TGetOnlyDataObject::EnumDAdvise(std::shared_ptr<IEnumSTATDATA>& enumAdvise)
{
    enumAdvise = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

// ---- TSourceDataObject ---------------------------------------------------------------------------

TSourceDataObject::TSourceDataObject(const QString& stxt, const QString& srtf, int sidx, const QByteArray* ms)
    : textdata(stxt), rtfdata(srtf), scolidx(sidx), memstr(ms)
{
}

HRESULT TSourceDataObject::QueryGetData(const TFormatEtc& formatetc)
{
    if (formatetc.dwAspect != DVASPECT_CONTENT || formatetc.tymed != TYMED_HGLOBAL)
        return DV_E_FORMATETC;
    const TClipFormat f = formatetc.cfFormat;
    if (!textdata.isEmpty() &&
        (f == CF_TEXT || f == CF_UNICODETEXT || (DropRTFAllowed() && IsFormat(f, CF_RTF()))))
        return S_OK;
    if (memstr && IsFormat(f, CF_GRIDCELLS()))
        return S_OK;
    if (scolidx != -1 && IsFormat(f, CF_GRIDCOL()))
        return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const TFormatEtc& formatetcIn, TStgMedium& medium)
{
    medium = TStgMedium();
    if (QueryGetData(formatetcIn) != S_OK)
        return DV_E_FORMATETC;
    const TClipFormat f = formatetcIn.cfFormat;
    QByteArray block;
    if (memstr && IsFormat(f, CF_GRIDCELLS())) {
        AppendUInt32(block, std::uint32_t(memstr->size()));
        AppendUInt32(block, 0);
        block.append(*memstr);
    } else if (scolidx != -1 && IsFormat(f, CF_GRIDCOL())) {
        AppendUInt32(block, std::uint32_t(scolidx));
    } else if (f == CF_TEXT) {
        block = NulTerminated(platform::ToAnsi(textdata));
    } else if (f == CF_UNICODETEXT) {
        block = UnicodeTextBlock(textdata);
    } else {
        block = NulTerminated(platform::ToAnsi(rtfdata));
    }
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block;
    medium.unkForRelease = nullptr;
    return S_OK;
}

std::shared_ptr<IEnumFORMATETC> TSourceDataObject::Formats() const
{
    return std::make_shared<TSourceEnumFormatEtc>(scolidx != -1, memstr != nullptr);
}

// ---- TSourceEnumFormatEtc ------------------------------------------------------------------------

TSourceEnumFormatEtc::TSourceEnumFormatEtc(bool HasCol, bool HasGridCells, int Index)
    : FIndex(Index), FHasCol(HasCol), FHasGridCells(HasGridCells)
{
}

std::vector<TFormatEtc> TSourceEnumFormatEtc::Entries() const
{
    // The named ids are taken as they are now: 0 before the names are registered.
    std::vector<TFormatEtc> list{FormatOf(CF_TEXT), FormatOf(CF_UNICODETEXT), FormatOf(CF_RTF())};
    if (FHasCol)
        list.push_back(FormatOf(CF_GRIDCOL()));
    if (FHasGridCells)
        list.push_back(FormatOf(CF_GRIDCELLS()));
    return list;
}

HRESULT TSourceEnumFormatEtc::Next(int celt, TFormatEtc* rgelt, int* pceltFetched)
{
    TListEnumFormatEtc list(Entries(), FIndex);
    int fetched = 0;
    const HRESULT r = list.Next(celt, rgelt, &fetched);
    FIndex += fetched;
    if (pceltFetched)
        *pceltFetched = fetched;
    return r;
}

HRESULT TSourceEnumFormatEtc::Skip(int celt)
{
    const int count = int(Entries().size());
    FIndex += celt;
    if (FIndex > count) {
        FIndex = count;
        return S_FALSE;
    }
    if (FIndex < 0) {
        FIndex = 0;
        return S_FALSE;
    }
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Reset()
{
    FIndex = 0;
    return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(std::shared_ptr<IEnumFORMATETC>& Enum)
{
    Enum = std::make_shared<TSourceEnumFormatEtc>(FHasCol, FHasGridCells, FIndex);
    return S_OK;
}

// ---- drag routines -------------------------------------------------------------------------------

HRESULT BeginTextDragDrop(const std::shared_ptr<TASGDropSource>& DropSource, const QString& Text,
                          const QString& RTF, int& dwEffect, int OkEffects, const QByteArray* Stream)
{
    auto data = std::make_shared<TSourceDataObject>(Text, RTF, -1, Stream);
    HRESULT result = DoDragDrop(data, DropSource, OkEffects, dwEffect);
    if (DropSource && DropSource->NoAccept())
        result = DRAGDROP_S_CANCEL;
    return result;
}

HRESULT BeginColumnDragDrop(const std::shared_ptr<TASGDropSource>& DropSource, int Column, int OkEffects,
                            int& dwEffect)
{
    auto data = std::make_shared<TSourceDataObject>(QString(), QString(), Column, nullptr);
    HRESULT result = DoDragDrop(data, DropSource, OkEffects, dwEffect);
    if (DropSource && DropSource->NoAccept())
        result = DRAGDROP_S_CANCEL;
    return result;
}

// ---- Qt glue: effects and keys -------------------------------------------------------------------

int DropEffectOfActions(Qt::DropActions Actions)
{
    int effect = DROPEFFECT_NONE;
    if (Actions & Qt::CopyAction)
        effect |= DROPEFFECT_COPY;
    if (Actions & (Qt::MoveAction | Qt::TargetMoveAction))
        effect |= DROPEFFECT_MOVE;
    if (Actions & Qt::LinkAction)
        effect |= DROPEFFECT_LINK;
    return effect;
}

Qt::DropActions ActionsOfDropEffect(int dwEffect)
{
    Qt::DropActions actions;
    if (dwEffect & DROPEFFECT_COPY)
        actions |= Qt::CopyAction;
    if (dwEffect & DROPEFFECT_MOVE)
        actions |= Qt::MoveAction;
    if (dwEffect & DROPEFFECT_LINK)
        actions |= Qt::LinkAction;
    return actions;
}

int KeyStateOf(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers)
{
    int keys = 0;
    if (Buttons & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (Buttons & Qt::RightButton)
        keys |= MK_RBUTTON;
    if (Buttons & Qt::MiddleButton)
        keys |= MK_MBUTTON;
    if (Modifiers & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (Modifiers & Qt::ControlModifier)
        keys |= MK_CONTROL;
    if (Modifiers & Qt::AltModifier)
        keys |= MK_ALT;
    return keys;
}

namespace {

// The one drop action of a single effect (copy before move before link when several are set).
Qt::DropAction ActionOfEffect(int dwEffect)
{
    if (dwEffect & DROPEFFECT_COPY)
        return Qt::CopyAction;
    if (dwEffect & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (dwEffect & DROPEFFECT_LINK)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

} // namespace

// ---- Qt glue: outgoing ---------------------------------------------------------------------------

std::unique_ptr<QMimeData> MimeDataOfDataObject(IDataObject& DataObject)
{
    // Qt builds the whole offer before the drag starts, so the names need their ids now.
    RegisterDragDropFormats();
    auto mime = std::make_unique<QMimeData>();
    std::shared_ptr<IEnumFORMATETC> formats;
    if (DataObject.EnumFormatEtc(DATADIR_GET, formats) != S_OK || !formats)
        return mime;
    TFormatEtc f;
    int fetched = 0;
    for (int guard = 0; guard < 1024 && formats->Next(1, &f, &fetched) == S_OK && fetched == 1; ++guard) {
        if (f.cfFormat == 0 || DataObject.QueryGetData(f) != S_OK)
            continue;
        TStgMedium medium;
        if (DataObject.GetData(f, medium) != S_OK)
            continue;
        const QByteArray& block = medium.hGlobal;
        if (f.cfFormat == CF_UNICODETEXT) {
            mime->setText(Utf16LEText(block, 0));
        } else if (IsFormat(f.cfFormat, CF_RTF())) {
            mime->setData(QStringLiteral("text/rtf"), AnsiBytes(block, 0));
            mime->setData(gridclipboard::RtfMimeType(), block);
        } else if (IsFormat(f.cfFormat, CF_GRIDCOL())) {
            mime->setData(gridclipboard::MimeType(CFSTR_GRIDCOL), block);
        } else if (IsFormat(f.cfFormat, CF_GRIDCELLS())) {
            mime->setData(gridclipboard::CellsMimeType(), block);
        }
    }
    return mime;
}

// ---- Qt glue: incoming ---------------------------------------------------------------------------

QByteArray HDropBlock(const QStringList& Files)
{
    QByteArray block;
    AppendUInt32(block, 20);  // names offset
    AppendUInt32(block, 0);   // drop point x
    AppendUInt32(block, 0);   // drop point y
    AppendUInt32(block, 0);   // non-client flag
    AppendUInt32(block, 1);   // wide names
    for (const QString& name : Files)
        block.append(UnicodeTextBlock(name));
    block.append(QByteArray(2, '\0'));
    return block;
}

TMimeDataObject::TMimeDataObject(const QMimeData* Data)
{
    if (!Data)
        return;
    auto add = [this](const QString& name, TClipFormat standard, const QByteArray& data) {
        const TClipFormat format = standard ? standard : RegisterClipboardFormat(name);
        if (format)
            FBlocks.push_back({format, data});
    };
    QStringList files;
    QList<QUrl> links;
    if (Data->hasUrls())
        for (const QUrl& url : Data->urls()) {
            if (url.isLocalFile())
                files.append(url.toLocalFile());
            else
                links.append(url);
        }

    QString text;
    // Qt counts URLs as text too; only real text is text here (a file drag offers its names only).
    bool hasText = Data->hasFormat(QStringLiteral("text/plain"));
    if (hasText) {
        text = Data->text();
    } else if (!links.isEmpty()) {
        QStringList lines;
        for (const QUrl& url : links)
            lines.append(url.toString());
        text = lines.join(QStringLiteral("\r\n"));
        hasText = true;
    }
    if (hasText) {
        add(QString(), CF_UNICODETEXT, UnicodeTextBlock(text));
        add(QString(), CF_TEXT, NulTerminated(platform::ToAnsi(text)));
    }

    QByteArray rtf;
    bool hasRtf = false;
    if (Data->hasFormat(gridclipboard::RtfMimeType())) {
        rtf = Data->data(gridclipboard::RtfMimeType());
        hasRtf = true;
    } else if (Data->hasFormat(QStringLiteral("text/rtf"))) {
        rtf = Data->data(QStringLiteral("text/rtf"));
        hasRtf = true;
    }
    if (hasRtf)
        add(CFSTR_RTF, 0, rtf.contains('\0') ? rtf : NulTerminated(rtf));

    const QString colType = gridclipboard::MimeType(CFSTR_GRIDCOL);
    if (Data->hasFormat(colType))
        add(CFSTR_GRIDCOL, 0, Data->data(colType));
    if (Data->hasFormat(gridclipboard::CellsMimeType()))
        add(GridCellsClipboardFormat(), 0, Data->data(gridclipboard::CellsMimeType()));
    if (!files.isEmpty())
        add(QString(), CF_HDROP, HDropBlock(files));
    if (!links.isEmpty())
        add(CFSTR_URL, 0, NulTerminated(platform::ToAnsi(links.first().toString())));
}

const TMimeDataObject::TBlock* TMimeDataObject::Find(const TFormatEtc& formatetc) const
{
    if (formatetc.dwAspect != DVASPECT_CONTENT || (formatetc.tymed & TYMED_HGLOBAL) == 0 || formatetc.cfFormat == 0)
        return nullptr;
    for (const TBlock& block : FBlocks)
        if (block.Format == formatetc.cfFormat)
            return &block;
    return nullptr;
}

HRESULT TMimeDataObject::GetData(const TFormatEtc& formatetcIn, TStgMedium& medium)
{
    medium = TStgMedium();
    const TBlock* block = Find(formatetcIn);
    if (!block)
        return DV_E_FORMATETC;
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block->Data;
    return S_OK;
}

HRESULT TMimeDataObject::QueryGetData(const TFormatEtc& formatetc)
{
    return Find(formatetc) ? S_OK : DV_E_FORMATETC;
}

std::shared_ptr<IEnumFORMATETC> TMimeDataObject::Formats() const
{
    std::vector<TFormatEtc> list;
    for (const TBlock& block : FBlocks)
        list.push_back(FormatOf(block.Format));
    return std::make_shared<TListEnumFormatEtc>(std::move(list), 0);
}

// ---- Qt glue: running a drag ---------------------------------------------------------------------

namespace {

TDragStarter& CustomStarter()
{
    static TDragStarter starter;
    return starter;
}

HRESULT RunQtDrag(std::unique_ptr<QMimeData> Data, IDropSource& Source, int OkEffects, int& dwEffect)
{
    QObject* dragSource = QApplication::widgetAt(QCursor::pos());
    if (!dragSource)
        dragSource = QApplication::focusWidget();
    if (!dragSource)
        dragSource = qApp;
    QDrag drag(dragSource);
    drag.setMimeData(Data.release());

    // While Qt runs the drag the source is asked on a short timer (so that it can move a drag
    // image) and told of every change of the action.
    QTimer ask;
    ask.setInterval(50);
    QObject::connect(&ask, &QTimer::timeout, [&Source]() {
        try {
            Source.QueryContinueDrag(false, KeyStateOf(QGuiApplication::mouseButtons() | Qt::LeftButton,
                                                       QGuiApplication::keyboardModifiers()));
        } catch (...) {
        }
    });
    QObject::connect(&drag, &QDrag::actionChanged, [&Source](Qt::DropAction action) {
        try {
            Source.GiveFeedback(DropEffectOfActions(action));
        } catch (...) {
        }
    });
    ask.start();
    const Qt::DropAction result = drag.exec(ActionsOfDropEffect(OkEffects));
    ask.stop();

    const bool cancelled = result == Qt::IgnoreAction;
    dwEffect = cancelled ? DROPEFFECT_NONE : DropEffectOfActions(result);
    // The last feedback is the effect performed, then the end as the source sees it.
    Source.GiveFeedback(dwEffect);
    Source.QueryContinueDrag(cancelled, KeyStateOf(Qt::NoButton, QGuiApplication::keyboardModifiers()));
    return cancelled ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
}

struct TRegistration {
    std::shared_ptr<IDropTarget> Target;
    QMetaObject::Connection Destroyed;
};

std::map<QWidget*, TRegistration>& Registrations()
{
    static std::map<QWidget*, TRegistration> registrations;
    return registrations;
}

} // namespace

HRESULT DoDragDrop(const std::shared_ptr<IDataObject>& DataObject, const std::shared_ptr<IDropSource>& DropSource,
                   int dwOKEffects, int& dwEffect)
{
    dwEffect = DROPEFFECT_NONE;
    if (!DataObject || !DropSource)
        return E_INVALIDARG;
    std::unique_ptr<QMimeData> mime = MimeDataOfDataObject(*DataObject);
    const TDragStarter& starter = CustomStarter();
    if (starter)
        return starter(std::move(mime), *DropSource, dwOKEffects, dwEffect);
    return RunQtDrag(std::move(mime), *DropSource, dwOKEffects, dwEffect);
}

void SetDragStarter(TDragStarter Starter) { CustomStarter() = std::move(Starter); }

// ---- Qt glue: registered windows -----------------------------------------------------------------

HRESULT RegisterDragDrop(QWidget* Widget, std::shared_ptr<IDropTarget> Target)
{
    if (!Widget || !Target)
        return E_INVALIDARG;
    auto& registrations = Registrations();
    if (registrations.count(Widget))
        return DRAGDROP_E_ALREADYREGISTERED;
    TRegistration& entry = registrations[Widget];
    entry.Target = std::move(Target);
    entry.Destroyed = QObject::connect(Widget, &QObject::destroyed,
                                       [Widget]() { Registrations().erase(Widget); });
    Widget->setAcceptDrops(true);
    return S_OK;
}

HRESULT RevokeDragDrop(QWidget* Widget)
{
    auto& registrations = Registrations();
    const auto it = registrations.find(Widget);
    if (!Widget || it == registrations.end())
        return DRAGDROP_E_NOTREGISTERED;
    QObject::disconnect(it->second.Destroyed);
    registrations.erase(it);
    Widget->setAcceptDrops(false);
    return S_OK;
}

std::shared_ptr<IDropTarget> RegisteredDropTarget(QWidget* Widget)
{
    auto& registrations = Registrations();
    const auto it = registrations.find(Widget);
    return it == registrations.end() ? nullptr : it->second.Target;
}

bool OleHandleDragEvent(QWidget* RegisteredWidget, QEvent* Event)
{
    if (!Event)
        return false;
    // The target is held for the whole call, also when a hook revokes the registration.
    const std::shared_ptr<IDropTarget> target = RegisteredDropTarget(RegisteredWidget);
    if (!target)
        return false;
    const QEvent::Type type = Event->type();
    if (type == QEvent::DragLeave) {
        try {
            target->DragLeave();
        } catch (...) {
        }
        Event->accept();
        return true;
    }
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;

    auto* drop = static_cast<QDropEvent*>(Event);
    const QPoint global = RegisteredWidget->mapToGlobal(drop->position().toPoint());
    const TPoint pt(global.x(), global.y());
    const int keys = KeyStateOf(drop->buttons(), drop->modifiers());
    int effect = DropEffectOfActions(drop->possibleActions());
    try {
        if (type == QEvent::DragEnter)
            target->DragEnter(std::make_shared<TMimeDataObject>(drop->mimeData()), keys, pt, effect);
        else if (type == QEvent::DragMove)
            target->DragOver(keys, pt, effect);
        else
            target->Drop(std::make_shared<TMimeDataObject>(drop->mimeData()), keys, pt, effect);
    } catch (...) {
        effect = DROPEFFECT_NONE;
    }
    drop->setDropAction(ActionOfEffect(effect));
    if (effect != DROPEFFECT_NONE || type == QEvent::DragEnter)
        drop->accept();
    else
        drop->ignore();
    return true;
}
