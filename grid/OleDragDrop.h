#pragma once
// Drag and drop between windows and programs: a small COM-style layer (data objects, format
// enumerators, drop targets and drop sources, reference counted by std::shared_ptr) with the
// grid's base target, source and data object, and the Qt glue that carries it over QDrag and
// QMimeData.
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/StringList.h"
#include "platform/Property.h"

#include <QByteArray>
#include <QFlags>
#include <QString>
#include <QStringList>
#include <QtCore/qnamespace.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

class QEvent;
class QMimeData;
class QWidget;

// ---- COM-style vocabulary ----------------------------------------------------------------------

using HRESULT = std::int32_t;
using TClipFormat = std::uint16_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003u);
constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);

constexpr int DROPEFFECT_NONE = 0;
constexpr int DROPEFFECT_COPY = 1;
constexpr int DROPEFFECT_MOVE = 2;
constexpr int DROPEFFECT_LINK = 4;

constexpr int DATADIR_GET = 1;
constexpr int DATADIR_SET = 2;
constexpr int DVASPECT_CONTENT = 1;
constexpr int TYMED_NULL = 0;
constexpr int TYMED_HGLOBAL = 1;

// Key-state bits of a drag (grfKeyState).
constexpr int MK_LBUTTON = 0x0001;
constexpr int MK_RBUTTON = 0x0002;
constexpr int MK_SHIFT = 0x0004;
constexpr int MK_CONTROL = 0x0008;
constexpr int MK_MBUTTON = 0x0010;
constexpr int MK_ALT = 0x0020;

// Standard clipboard formats.
constexpr TClipFormat CF_TEXT = 1;
constexpr TClipFormat CF_UNICODETEXT = 13;
constexpr TClipFormat CF_HDROP = 15;

// The process-wide table of clipboard formats registered by name: ids from 0xC000 up, the same id
// for the same name (names compared without case); 0 for an empty name.
TClipFormat RegisterClipboardFormat(const QString& Name);
// The name of a registered id; empty for an unknown id.
QString ClipboardFormatName(TClipFormat Format);

// The named formats of drag and drop; the cells format is the grid's own, shared with its
// clipboard (GridCellsClipboardFormat).
inline const QString CFSTR_RTF = QStringLiteral("Rich Text Format");
inline const QString CFSTR_GRIDCOL = QStringLiteral("Grid Column");
inline const QString CFSTR_URL = QStringLiteral("UniformResourceLocator");
QString GridCellsClipboardFormat();

// The unit's ids of the named formats: 0 until they are registered, which happens when the first
// incoming object is read (a TEnumFormats is created) or when data is first offered to Qt.
TClipFormat CF_RTF();
TClipFormat CF_GRIDCOL();
TClipFormat CF_GRIDCELLS();
TClipFormat CF_URL();
// Registers the four named formats and keeps their ids.
void RegisterDragDropFormats();

// A format with its aspect, index and media. The target device is never used and stays null.
struct TFormatEtc {
    TClipFormat cfFormat = 0;
    const void* ptd = nullptr;
    int dwAspect = DVASPECT_CONTENT;
    int lindex = -1;
    int tymed = TYMED_HGLOBAL;
    friend bool operator==(const TFormatEtc&, const TFormatEtc&) = default;
};

// A storage medium: the bytes of a global memory block (tymed TYMED_HGLOBAL) or nothing.
struct TStgMedium {
    int tymed = TYMED_NULL;
    QByteArray hGlobal;
    const void* unkForRelease = nullptr;
};

class IEnumFORMATETC;
class IAdviseSink;
class IEnumSTATDATA;

class IDataObject {
public:
    virtual ~IDataObject() = default;
    virtual HRESULT GetData(const TFormatEtc& formatetcIn, TStgMedium& medium) = 0;
    virtual HRESULT GetDataHere(const TFormatEtc& formatetc, TStgMedium& medium) = 0;
    virtual HRESULT QueryGetData(const TFormatEtc& formatetc) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const TFormatEtc& formatetc, TFormatEtc& formatetcOut) = 0;
    virtual HRESULT SetData(const TFormatEtc& formatetc, const TStgMedium& medium, bool fRelease) = 0;
    virtual HRESULT EnumFormatEtc(int dwDirection, std::shared_ptr<IEnumFORMATETC>& enumFormatEtc) = 0;
    virtual HRESULT DAdvise(const TFormatEtc& formatetc, int advf, const std::shared_ptr<IAdviseSink>& advSink,
                            int& dwConnection) = 0;
    virtual HRESULT DUnadvise(int dwConnection) = 0;
    virtual HRESULT EnumDAdvise(std::shared_ptr<IEnumSTATDATA>& enumAdvise) = 0;
};

class IEnumFORMATETC {
public:
    virtual ~IEnumFORMATETC() = default;
    // Fills up to celt consecutive elements of rgelt; the number filled goes to pceltFetched when
    // given. S_OK when all requested were filled, else S_FALSE.
    virtual HRESULT Next(int celt, TFormatEtc* rgelt, int* pceltFetched) = 0;
    virtual HRESULT Skip(int celt) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(std::shared_ptr<IEnumFORMATETC>& Enum) = 0;
};

class IDropTarget {
public:
    virtual ~IDropTarget() = default;
    virtual HRESULT DragEnter(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt,
                              int& dwEffect) = 0;
    virtual HRESULT DragOver(int grfKeyState, TPoint pt, int& dwEffect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt,
                         int& dwEffect) = 0;
};

class IDropSource {
public:
    virtual ~IDropSource() = default;
    virtual HRESULT QueryContinueDrag(bool fEscapePressed, int grfKeyState) = 0;
    virtual HRESULT GiveFeedback(int dwEffect) = 0;
};

// ---- the grid's drag and drop base -------------------------------------------------------------

enum TDropFormat {
    dfText = 0x01,
    dfFile = 0x02,
    dfCol = 0x04,
    dfRTF = 0x08,
    dfURL = 0x10,
    dfGridCells = 0x20,
};
Q_DECLARE_FLAGS(TDropFormats, TDropFormat)
Q_DECLARE_OPERATORS_FOR_FLAGS(TDropFormats)

// Whether dragged and dropped data may use the rich text format (false at start).
void SetDropRTFAllowed(bool Value);
bool DropRTFAllowed();

// Copy with Ctrl held; else move when the source allows move; else copy.
int DropEffectForKeys(TShiftState Shift, int OkEffects);
// The shift state of a drag's key-state bits.
TShiftState KeysToShiftState(int grfKeyState);

// Back to the start state: rich text not allowed, the named format ids 0 (the table of registered
// names itself is kept, so an id once given stays the id of its name).
void ResetDragDropState();

// Reads an incoming data object: which formats it offers and the data of each.
class TEnumFormats {
public:
    // Throws EDragDropAssertion "Cannot get the format enumerator" when the object gives none.
    explicit TEnumFormats(std::shared_ptr<IDataObject> DataObject);
    TEnumFormats(const TEnumFormats&) = delete;
    TEnumFormats& operator=(const TEnumFormats&) = delete;

    const std::shared_ptr<IDataObject>& DataObject() const { return FDataObject; }
    void SetDataObject(std::shared_ptr<IDataObject> Value);
    int Count() const { return FCount; }
    bool Valid() const { return FValid; }
    const TFormatEtc& FormatEtc() const { return FFormatEtc; }
    TClipFormat Format() const { return FFormatEtc.cfFormat; }
    void SetFormat(TClipFormat Value) { FFormatEtc.cfFormat = Value; }
    int Aspect() const { return FFormatEtc.dwAspect; }
    void SetAspect(int Value) { FFormatEtc.dwAspect = Value; }
    int Index() const { return FFormatEtc.lindex; }
    void SetIndex(int Value) { FFormatEtc.lindex = Value; }
    int Medium() const { return FFormatEtc.tymed; }
    void SetMedium(int Value) { FFormatEtc.tymed = Value; }

    bool Reset();
    bool Next();
    bool HasFormat(TClipFormat ClipFormat);
    // The data of the current format in the given medium; nothing when no format is current, the
    // format does not offer that medium, or the object fails.
    std::optional<QByteArray> Handle(int Tymed);
    std::optional<QByteArray> GlobalHandle() { return Handle(TYMED_HGLOBAL); }

    bool HasText();
    bool HasFile();
    bool HasRTF();
    bool HasCol();
    bool HasURL();
    bool HasGridCells();

    QString Text();
    QString RTF();
    // The column of a "Grid Column" block; -1 when absent or shorter than 4 bytes.
    int Col();
    // The cell stream of a cells block; nothing when absent or when the block holds fewer bytes
    // than it claims.
    std::optional<QByteArray> Stream();
    // Reads the file names of the current (CF_HDROP) block into Files; true when at least one was
    // read.
    bool ReadFiles();
    const platform::TStringList& Files() const { return FFiles; }

private:
    std::optional<QByteArray> BlockOf(TClipFormat ClipFormat);

    std::shared_ptr<IDataObject> FDataObject;
    std::shared_ptr<IEnumFORMATETC> FEnumerator;
    TFormatEtc FFormatEtc;
    bool FValid = false;
    int FCount = 0;
    platform::TStringList FFiles;
};

// The assertion of a data object without a format enumerator.
class EDragDropAssertion : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The grid's base drop target: tells which formats a drag offers and hands each kind of dropped
// data to an overridable operation (all empty here).
class TASGDropTarget : public IDropTarget {
public:
    TASGDropTarget() = default;

    HRESULT DragEnter(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt,
                      int& dwEffect) override;
    HRESULT DragOver(int grfKeyState, TPoint pt, int& dwEffect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt, int& dwEffect) override;

    virtual void DropText(TPoint pt, const QString& s);
    virtual void DropStream(TPoint pt, const QByteArray& ms);
    virtual void DropCol(TPoint pt, int col);
    virtual void DropRTF(TPoint pt, const QString& s);
    virtual void DropFiles(TPoint pt, const platform::TStringList& files);
    virtual void DropURL(TPoint pt, const QString& s);
    virtual void DragMouseMove(TPoint pt, bool& Allow, TDropFormats DropFormats);
    virtual void DragMouseEnter();
    virtual void DragMouseLeave();

    KT_PROPERTY(bool, AcceptText)
    KT_PROPERTY(bool, AcceptFiles)
    KT_PROPERTY(bool, AcceptCols)
    KT_PROPERTY(bool, AcceptURLs)
    TDropFormats DropFormats() const { return FDropFormats; }
    // The drag now over the window offers something acceptable.
    bool Ok() const { return FOk; }

private:
    bool FOk = false;
    bool FAcceptText = true;
    bool FAcceptFiles = true;
    bool FAcceptCols = false;
    bool FAcceptURLs = true;
    TDropFormats FDropFormats;
};

// The grid's base drop source with overridable notifications (empty here).
class TASGDropSource : public IDropSource {
public:
    TASGDropSource() = default;

    HRESULT QueryContinueDrag(bool fEscapePressed, int grfKeyState) override;
    HRESULT GiveFeedback(int dwEffect) override;

    virtual void DragDropEnded();
    virtual void CurrentEffect(int dwEffect);
    virtual void QueryDrag();

    // The last feedback showed no accepted effect.
    bool NoAccept() const { return FNoAccept; }

private:
    bool FNoAccept = false;
};

// A data object that only gives its data: GetDataHere and SetData refuse every format, there is no
// canonical format and no advise sink, and formats are enumerated for the get direction only.
class TGetOnlyDataObject : public IDataObject {
public:
    HRESULT GetDataHere(const TFormatEtc& formatetc, TStgMedium& medium) override;
    HRESULT GetCanonicalFormatEtc(const TFormatEtc& formatetc, TFormatEtc& formatetcOut) override;
    HRESULT SetData(const TFormatEtc& formatetc, const TStgMedium& medium, bool fRelease) override;
    HRESULT EnumFormatEtc(int dwDirection, std::shared_ptr<IEnumFORMATETC>& enumFormatEtc) override;
    HRESULT DAdvise(const TFormatEtc& formatetc, int advf, const std::shared_ptr<IAdviseSink>& advSink,
                    int& dwConnection) override;
    HRESULT DUnadvise(int dwConnection) override;
    HRESULT EnumDAdvise(std::shared_ptr<IEnumSTATDATA>& enumAdvise) override;

protected:
    // A new enumerator of the formats the object gives.
    virtual std::shared_ptr<IEnumFORMATETC> Formats() const = 0;
};

// The data of a drag: a text, its rich text form, a column index (-1 for none) and a stream of grid
// cells (not owned: the caller keeps it alive for the drag; nullptr for none).
class TSourceDataObject : public TGetOnlyDataObject {
public:
    TSourceDataObject(const QString& stxt, const QString& srtf, int sidx, const QByteArray* ms);

    HRESULT GetData(const TFormatEtc& formatetcIn, TStgMedium& medium) override;
    HRESULT QueryGetData(const TFormatEtc& formatetc) override;

protected:
    std::shared_ptr<IEnumFORMATETC> Formats() const override;

private:
    QString textdata;
    QString rtfdata;
    int scolidx = -1;
    const QByteArray* memstr = nullptr;
};

// The formats a TSourceDataObject offers: CF_TEXT, CF_UNICODETEXT, "Rich Text Format", then
// "Grid Column" and "TVerIvovavOzed Cells" when it has them.
class TSourceEnumFormatEtc : public IEnumFORMATETC {
public:
    TSourceEnumFormatEtc(bool HasCol, bool HasGridCells, int Index = 0);

    HRESULT Next(int celt, TFormatEtc* rgelt, int* pceltFetched) override;
    HRESULT Skip(int celt) override;
    HRESULT Reset() override;
    HRESULT Clone(std::shared_ptr<IEnumFORMATETC>& Enum) override;

private:
    std::vector<TFormatEtc> Entries() const;

    int FIndex = 0;
    bool FHasCol = false;
    bool FHasGridCells = false;
};

// Drags a text (with its rich text form and an optional cell stream); DRAGDROP_S_CANCEL when the
// last feedback showed no accepted effect, else the result of DoDragDrop.
HRESULT BeginTextDragDrop(const std::shared_ptr<TASGDropSource>& DropSource, const QString& Text,
                          const QString& RTF, int& dwEffect, int OkEffects, const QByteArray* Stream);
// Drags a column index.
HRESULT BeginColumnDragDrop(const std::shared_ptr<TASGDropSource>& DropSource, int Column, int OkEffects,
                            int& dwEffect);

// ---- Qt glue ----------------------------------------------------------------------------------

// The drop effects of Qt drop actions and back.
int DropEffectOfActions(Qt::DropActions Actions);
Qt::DropActions ActionsOfDropEffect(int dwEffect);
// The key-state bits of mouse buttons and keyboard modifiers.
int KeyStateOf(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers);

// The data object's formats as Qt MIME data: CF_UNICODETEXT as text/plain, rich text as text/rtf
// (without the terminating NUL) and as its registered-name type (the block as it is), the column
// and cells blocks as the MIME types of their registered names. Registers the named formats.
std::unique_ptr<QMimeData> MimeDataOfDataObject(IDataObject& DataObject);

// A data object over incoming Qt MIME data, copied when made: text/plain gives CF_UNICODETEXT and
// CF_TEXT; local file URLs a CF_HDROP block (wide names); other URLs "UniformResourceLocator" and,
// without text/plain, their text as CF_UNICODETEXT; text/rtf or the rich text type gives rich
// text; the grid's column and cells types give their blocks.
class TMimeDataObject : public TGetOnlyDataObject {
public:
    explicit TMimeDataObject(const QMimeData* Data);

    HRESULT GetData(const TFormatEtc& formatetcIn, TStgMedium& medium) override;
    HRESULT QueryGetData(const TFormatEtc& formatetc) override;

    struct TBlock {
        TClipFormat Format = 0;
        QByteArray Data;
    };
    const std::vector<TBlock>& Blocks() const { return FBlocks; }

protected:
    std::shared_ptr<IEnumFORMATETC> Formats() const override;

private:
    const TBlock* Find(const TFormatEtc& formatetc) const;

    std::vector<TBlock> FBlocks;
};

// A CF_HDROP block: the 20-byte header (names at offset 20, wide flag in the fifth value) and the
// UTF-16LE names, each NUL-terminated, ending with an empty name.
QByteArray HDropBlock(const QStringList& Files);

// Runs a drag: the data object offered as QMimeData through the drag starter. dwEffect is the
// effect performed; the result is DRAGDROP_S_DROP or DRAGDROP_S_CANCEL (or what a starter answers).
HRESULT DoDragDrop(const std::shared_ptr<IDataObject>& DataObject, const std::shared_ptr<IDropSource>& DropSource,
                   int dwOKEffects, int& dwEffect);

// The one starter of drags. The default runs QDrag::exec with the MIME data, asking the source's
// QueryContinueDrag on a short timer and its GiveFeedback when the action changes. Tests install
// their own to capture the offered data and answer an effect; nullptr restores the default.
using TDragStarter = std::function<HRESULT(std::unique_ptr<QMimeData> Data, IDropSource& Source, int OkEffects,
                                           int& dwEffect)>;
void SetDragStarter(TDragStarter Starter);

// A drop target per widget. A second registration of the same widget gives
// DRAGDROP_E_ALREADYREGISTERED, revoking an unregistered one DRAGDROP_E_NOTREGISTERED, a null
// widget or target E_INVALIDARG. Registering turns acceptDrops on, revoking off; a destroyed widget
// loses its registration.
HRESULT RegisterDragDrop(QWidget* Widget, std::shared_ptr<IDropTarget> Target);
HRESULT RevokeDragDrop(QWidget* Widget);
// The target registered for a widget (nullptr when none).
std::shared_ptr<IDropTarget> RegisteredDropTarget(QWidget* Widget);

// Hands a Qt drag event (enter, move, leave, drop) of a registered widget to its target: screen
// point, key state and allowed effects from the event. A move or drop is accepted with the drop
// action of the effect, or ignored when the effect is none; an enter is always accepted (with that
// action, Qt::IgnoreAction for none) so that the target hears the moves and the leave of every
// drag over its window; a leave is accepted. False (event untouched) when no target is registered
// or the event is no drag event.
bool OleHandleDragEvent(QWidget* RegisteredWidget, QEvent* Event);
