// Drag and drop between windows and programs: target decisions, the offered data and its blocks,
// the format enumerator, the source's answers and the Qt glue.
#include "grid/OleDragDrop.h"
#include "griddata/AdvGrid_FilesStreamTypes.h"

#include "TestSupport.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>

namespace {

QByteArray Fixture(const char* name) { return kt_test::ReadFile(kt_test::FixturePath(QStringLiteral("oledrag/") + name)); }

// A data object offering fixed blocks, or no enumerator at all.
class TFakeData : public IDataObject {
public:
    explicit TFakeData(std::vector<std::pair<TClipFormat, QByteArray>> blocks, bool enumerable = true)
        : Blocks(std::move(blocks)), Enumerable(enumerable)
    {
    }
    HRESULT GetData(const TFormatEtc& f, TStgMedium& m) override
    {
        m = TStgMedium();
        for (const auto& [format, data] : Blocks)
            if (format == f.cfFormat) {
                m.tymed = TYMED_HGLOBAL;
                m.hGlobal = data;
                return S_OK;
            }
        return DV_E_FORMATETC;
    }
    HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) override { return DV_E_FORMATETC; }
    HRESULT QueryGetData(const TFormatEtc&) override { return S_OK; }
    HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&) override { return E_NOTIMPL; }
    HRESULT SetData(const TFormatEtc&, const TStgMedium&, bool) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(int, std::shared_ptr<IEnumFORMATETC>& e) override
    {
        if (!Enumerable)
            return E_NOTIMPL;
        e.reset(new TList(Blocks));
        return S_OK;
    }
    HRESULT DAdvise(const TFormatEtc&, int, const std::shared_ptr<IAdviseSink>&, int&) override { return E_NOTIMPL; }
    HRESULT DUnadvise(int) override { return E_NOTIMPL; }
    HRESULT EnumDAdvise(std::shared_ptr<IEnumSTATDATA>&) override { return E_NOTIMPL; }

private:
    class TList : public IEnumFORMATETC {
    public:
        explicit TList(const std::vector<std::pair<TClipFormat, QByteArray>>& blocks)
        {
            for (const auto& b : blocks) {
                TFormatEtc f;
                f.cfFormat = b.first;
                List.push_back(f);
            }
        }
        HRESULT Next(int celt, TFormatEtc* rgelt, int* fetched) override
        {
            int n = 0;
            while (n < celt && Index < List.size())
                rgelt[n++] = List[Index++];
            if (fetched)
                *fetched = n;
            return n == celt ? S_OK : S_FALSE;
        }
        HRESULT Skip(int) override { return E_NOTIMPL; }
        HRESULT Reset() override
        {
            Index = 0;
            return S_OK;
        }
        HRESULT Clone(std::shared_ptr<IEnumFORMATETC>&) override { return E_NOTIMPL; }
        std::vector<TFormatEtc> List;
        size_t Index = 0;
    };
    std::vector<std::pair<TClipFormat, QByteArray>> Blocks;
    bool Enumerable;
};

QByteArray UnicodeBlock(const QString& s)
{
    QByteArray b;
    for (QChar c : s) {
        b.append(char(c.unicode() & 0xFF));
        b.append(char(c.unicode() >> 8));
    }
    return b + QByteArray(2, '\0');
}

// A target that records every operation it is handed.
class TRecordingTarget : public TASGDropTarget {
public:
    QStringList Log;
    TPoint LastPoint;
    bool RefuseMove = false;
    bool AllowSeen = false;
    TDropFormats FormatsSeen;

    void DropText(TPoint pt, const QString& s) override { Record(pt, "Text:" + s); }
    void DropStream(TPoint pt, const QByteArray& ms) override { Record(pt, "Stream:" + QString::fromLatin1(ms.toHex())); }
    void DropCol(TPoint pt, int col) override { Record(pt, "Col:" + QString::number(col)); }
    void DropRTF(TPoint pt, const QString& s) override { Record(pt, "RTF:" + s); }
    void DropFiles(TPoint pt, const platform::TStringList& files) override
    {
        QStringList names;
        for (int i = 0; i < files.Count(); ++i)
            names << files.Strings(i);
        Record(pt, "Files:" + names.join('|'));
    }
    void DropURL(TPoint pt, const QString& s) override { Record(pt, "URL:" + s); }
    void DragMouseMove(TPoint pt, bool& Allow, TDropFormats DropFormats) override
    {
        AllowSeen = Allow;
        FormatsSeen = DropFormats;
        Record(pt, "Move");
        if (RefuseMove)
            Allow = false;
    }
    void DragMouseEnter() override { Log << "Enter"; }
    void DragMouseLeave() override { Log << "Leave"; }

private:
    void Record(TPoint pt, const QString& what)
    {
        LastPoint = pt;
        Log << what;
    }
};

class TRecordingSource : public TASGDropSource {
public:
    int Ended = 0;
    int Queried = 0;
    QList<int> Effects;
    void DragDropEnded() override { ++Ended; }
    void CurrentEffect(int dwEffect) override { Effects << dwEffect; }
    void QueryDrag() override { ++Queried; }
};

class OleDragDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDragDropState();
        RegisterDragDropFormats();
    }
    void TearDown() override
    {
        SetDragStarter(nullptr);
        ResetDragDropState();
    }
};

std::shared_ptr<IDataObject> Offer(std::vector<std::pair<TClipFormat, QByteArray>> blocks)
{
    return std::make_shared<TFakeData>(std::move(blocks));
}

} // namespace

// ---- formats and effects -----------------------------------------------------------------------

TEST_F(OleDragDrop, RegisteredFormatsShareOneTableAndStartAtZero)
{
    const TClipFormat a = RegisterClipboardFormat(QStringLiteral("Some Test Format"));
    EXPECT_GE(a, 0xC000);
    EXPECT_EQ(RegisterClipboardFormat(QStringLiteral("some test FORMAT")), a);
    EXPECT_NE(RegisterClipboardFormat(QStringLiteral("Another Test Format")), a);
    EXPECT_EQ(ClipboardFormatName(a), QStringLiteral("Some Test Format"));
    EXPECT_EQ(RegisterClipboardFormat(QString()), 0);
    EXPECT_EQ(GridCellsClipboardFormat(), QStringLiteral("TVerIvovavOzed Cells"));

    // Until an incoming object is read, the named formats have id 0 and nothing asks for them.
    ResetDragDropState();
    EXPECT_EQ(CF_RTF(), 0);
    EXPECT_EQ(CF_GRIDCOL(), 0);
    SetDropRTFAllowed(true);
    TSourceDataObject data(QStringLiteral("x"), QStringLiteral("{\\rtf1 x}"), 4, nullptr);
    TFormatEtc f;
    f.cfFormat = 0;
    EXPECT_EQ(data.QueryGetData(f), DV_E_FORMATETC);
    std::shared_ptr<IEnumFORMATETC> e;
    ASSERT_EQ(data.EnumFormatEtc(DATADIR_GET, e), S_OK);
    TFormatEtc list[5];
    int fetched = 0;
    e->Next(5, list, &fetched);
    ASSERT_EQ(fetched, 4);
    EXPECT_EQ(list[2].cfFormat, 0);
    EXPECT_EQ(list[3].cfFormat, 0);

    TEnumFormats reader(std::make_shared<TSourceDataObject>(QStringLiteral("x"), QString(), -1, nullptr));
    EXPECT_EQ(CF_RTF(), RegisterClipboardFormat(QStringLiteral("Rich Text Format")));
    EXPECT_EQ(CF_GRIDCOL(), RegisterClipboardFormat(QStringLiteral("Grid Column")));
    EXPECT_EQ(CF_GRIDCELLS(), RegisterClipboardFormat(QStringLiteral("TVerIvovavOzed Cells")));
    EXPECT_EQ(CF_URL(), RegisterClipboardFormat(QStringLiteral("UniformResourceLocator")));
}

TEST_F(OleDragDrop, EffectByKeys)
{
    struct Case {
        int Keys;
        int Ok;
        int Effect;
    } cases[] = {
        {0, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {MK_CONTROL, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {MK_SHIFT | MK_LBUTTON, DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {0, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {0, DROPEFFECT_NONE, DROPEFFECT_COPY},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DropEffectForKeys(KeysToShiftState(c.Keys), c.Ok), c.Effect) << c.Keys << " " << c.Ok;
}

// ---- target decisions --------------------------------------------------------------------------

TEST_F(OleDragDrop, TargetAcceptsByFormatAndAcceptFlags)
{
    enum { T = 1, F = 2, C = 4, U = 8 };  // accept text, files, cols, urls
    struct Case {
        const char* Name;
        std::vector<TClipFormat> Formats;
        bool RTFAllowed;
        int Accept;
        bool Ok;
        TDropFormats Formats2;
    } cases[] = {
        {"unicode text", {CF_UNICODETEXT}, false, T | F | U, true, dfText},
        {"unicode text, text off", {CF_UNICODETEXT}, false, F | C | U, false, dfText},
        {"ansi text only", {CF_TEXT}, false, T | F | C | U, false, {}},
        {"rtf not allowed", {CF_RTF()}, false, T, false, dfRTF},
        {"rtf allowed", {CF_RTF()}, true, T, true, dfRTF},
        {"rtf allowed, text off", {CF_RTF()}, true, F | C | U, false, dfRTF},
        {"column, cols off", {CF_GRIDCOL()}, false, T | F | U, false, dfCol},
        {"column, cols on", {CF_GRIDCOL()}, false, C, true, dfCol},
        {"files", {CF_HDROP}, false, F, true, dfFile},
        {"files off", {CF_HDROP}, false, T | C | U, false, dfFile},
        {"link", {CF_URL()}, false, U, true, dfURL},
        {"link off", {CF_URL()}, false, T | F | C, false, dfURL},
        {"cells, all off", {CF_GRIDCELLS()}, false, 0, true, dfGridCells},
        {"text and files", {CF_UNICODETEXT, CF_HDROP, CF_TEXT}, false, F, true, dfText | dfFile},
    };
    for (const Case& c : cases) {
        SetDropRTFAllowed(c.RTFAllowed);
        TRecordingTarget target;
        target.SetAcceptText(c.Accept & T);
        target.SetAcceptFiles(c.Accept & F);
        target.SetAcceptCols(c.Accept & C);
        target.SetAcceptURLs(c.Accept & U);
        std::vector<std::pair<TClipFormat, QByteArray>> blocks;
        for (TClipFormat f : c.Formats)
            blocks.push_back({f, QByteArray(8, '\0')});
        int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target.DragEnter(Offer(blocks), MK_LBUTTON, TPoint(1, 2), effect), S_OK);
        EXPECT_EQ(target.Ok(), c.Ok) << c.Name;
        EXPECT_EQ(target.DropFormats(), c.Formats2) << c.Name;
        EXPECT_EQ(effect, c.Ok ? DROPEFFECT_MOVE : DROPEFFECT_NONE) << c.Name;
        EXPECT_EQ(target.Log, QStringList{"Enter"}) << c.Name;
    }
}

TEST_F(OleDragDrop, DefaultTargetFlags)
{
    TASGDropTarget target;
    EXPECT_TRUE(target.AcceptText());
    EXPECT_TRUE(target.AcceptFiles());
    EXPECT_FALSE(target.AcceptCols());
    EXPECT_TRUE(target.AcceptURLs());
    EXPECT_FALSE(DropRTFAllowed());
}

TEST_F(OleDragDrop, DragOverAsksTheHook)
{
    TRecordingTarget target;
    int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target.DragEnter(Offer({{CF_UNICODETEXT, UnicodeBlock("a")}}), MK_LBUTTON, {}, effect);

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target.DragOver(MK_LBUTTON | MK_CONTROL, TPoint(5, 6), effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_TRUE(target.AllowSeen);
    EXPECT_EQ(target.FormatsSeen, TDropFormats(dfText));
    EXPECT_EQ(target.LastPoint, TPoint(5, 6));

    target.RefuseMove = true;
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target.DragOver(MK_LBUTTON, {}, effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);

    // A drag offering nothing acceptable: the hook still hears the move, with Allow false.
    target.RefuseMove = false;
    effect = DROPEFFECT_COPY;
    target.DragEnter(Offer({{CF_TEXT, QByteArray("a\0", 2)}}), MK_LBUTTON, {}, effect);
    effect = DROPEFFECT_COPY;
    target.DragOver(MK_LBUTTON, {}, effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_FALSE(target.AllowSeen);

    target.DragLeave();
    EXPECT_EQ(target.Log.last(), QStringLiteral("Leave"));
}

TEST_F(OleDragDrop, DropDispatchOrder)
{
    const QByteArray text = UnicodeBlock(QStringLiteral("hello"));
    const QByteArray rtf("{\\rtf1 r}\0", 10);
    const QByteArray cells = Fixture("grid_cells.bin");
    const QByteArray column = Fixture("grid_column.bin");
    const QByteArray files = Fixture("hdrop_wide.bin");
    const QByteArray link("http://127.0.0.1/\0", 18);
    QByteArray overclaiming = cells;
    overclaiming[0] = 7;  // claims one byte more than it holds

    struct Case {
        const char* Name;
        std::vector<std::pair<TClipFormat, QByteArray>> Blocks;
        bool RTFAllowed;
        QStringList Calls;
    } cases[] = {
        {"column and text: column only", {{CF_UNICODETEXT, text}, {CF_GRIDCOL(), column}}, false, {"Col:258"}},
        {"cells before rtf and text",
         {{CF_UNICODETEXT, text}, {CF_RTF(), rtf}, {CF_GRIDCELLS(), cells}},
         true,
         {"Stream:545046300102"}},
        {"rtf before text", {{CF_UNICODETEXT, text}, {CF_RTF(), rtf}}, true, {"RTF:{\\rtf1 r}"}},
        {"rtf not allowed gives text", {{CF_UNICODETEXT, text}, {CF_RTF(), rtf}}, false, {"Text:hello"}},
        {"files in addition", {{CF_HDROP, files}, {CF_UNICODETEXT, text}}, false, {"Text:hello", "Files:/a.csv|/t/b é"}},
        {"link in addition", {{CF_URL(), link}, {CF_UNICODETEXT, text}}, false, {"Text:hello", "URL:hello"}},
        {"cells claiming more are refused", {{CF_GRIDCELLS(), overclaiming}, {CF_UNICODETEXT, text}}, false,
         {"Text:hello"}},
        {"nothing acceptable", {{CF_TEXT, QByteArray("a\0", 2)}}, false, {}},
    };
    for (const Case& c : cases) {
        SetDropRTFAllowed(c.RTFAllowed);
        TRecordingTarget target;
        target.SetAcceptCols(true);
        auto data = Offer(c.Blocks);
        int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target.DragEnter(data, MK_LBUTTON, {}, effect);
        target.Log.clear();
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target.Drop(data, MK_CONTROL, TPoint(7, 8), effect), S_OK);
        EXPECT_EQ(target.Log, c.Calls) << c.Name;
        EXPECT_EQ(effect, c.Calls.isEmpty() ? DROPEFFECT_NONE : DROPEFFECT_COPY) << c.Name;
        if (!c.Calls.isEmpty()) {
            EXPECT_EQ(target.LastPoint, TPoint(7, 8)) << c.Name;
        }
    }
}

// ---- the data object and its blocks ------------------------------------------------------------

TEST_F(OleDragDrop, QueryGetDataPerFormat)
{
    const QByteArray stream("TPF0");
    TSourceDataObject text(QStringLiteral("t"), QString(), -1, nullptr);
    TSourceDataObject column(QString(), QString(), 3, nullptr);
    TSourceDataObject cells(QStringLiteral("t"), QString(), -1, &stream);
    struct Case {
        const char* Name;
        IDataObject* Data;
        bool RTFAllowed;
        TClipFormat Format;
        int Aspect;
        int Tymed;
        HRESULT Result;
    } cases[] = {
        {"text ansi", &text, false, CF_TEXT, DVASPECT_CONTENT, TYMED_HGLOBAL, S_OK},
        {"text unicode", &text, false, CF_UNICODETEXT, DVASPECT_CONTENT, TYMED_HGLOBAL, S_OK},
        {"rtf not allowed", &text, false, CF_RTF(), DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
        {"rtf allowed", &text, true, CF_RTF(), DVASPECT_CONTENT, TYMED_HGLOBAL, S_OK},
        {"other aspect", &text, false, CF_UNICODETEXT, 2, TYMED_HGLOBAL, DV_E_FORMATETC},
        {"more media than global memory", &text, false, CF_UNICODETEXT, DVASPECT_CONTENT, TYMED_HGLOBAL | 2,
         DV_E_FORMATETC},
        {"no column in a text drag", &text, false, CF_GRIDCOL(), DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
        {"files never", &text, false, CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
        {"column drag has no text", &column, true, CF_UNICODETEXT, DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
        {"column drag has no rtf", &column, true, CF_RTF(), DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
        {"column drag column", &column, false, CF_GRIDCOL(), DVASPECT_CONTENT, TYMED_HGLOBAL, S_OK},
        {"cells", &cells, false, CF_GRIDCELLS(), DVASPECT_CONTENT, TYMED_HGLOBAL, S_OK},
        {"no cells without stream", &text, false, CF_GRIDCELLS(), DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
    };
    for (const Case& c : cases) {
        SetDropRTFAllowed(c.RTFAllowed);
        TFormatEtc f;
        f.cfFormat = c.Format;
        f.dwAspect = c.Aspect;
        f.tymed = c.Tymed;
        EXPECT_EQ(c.Data->QueryGetData(f), c.Result) << c.Name;
        TStgMedium medium;
        medium.hGlobal = "stale";
        const HRESULT got = c.Data->GetData(f, medium);
        EXPECT_EQ(got, c.Result) << c.Name;
        if (got != S_OK) {
            EXPECT_EQ(medium.tymed, TYMED_NULL) << c.Name;
            EXPECT_TRUE(medium.hGlobal.isEmpty()) << c.Name;
        }
    }
}

TEST_F(OleDragDrop, BlocksMatchTheirLayouts)
{
    SetDropRTFAllowed(true);
    const QByteArray stream("TPF0\x01\x02", 6);
    const QString text = QStringLiteral("A\u00E9\u20AC");
    TSourceDataObject data(text, QStringLiteral("{\\rtf1 \\b A\u00E9\\b0}"), -1, &stream);
    TSourceDataObject column(QString(), QString(), 258, nullptr);
    TSourceDataObject emptyRtf(QStringLiteral("t"), QString(), -1, nullptr);
    struct Case {
        IDataObject* Data;
        TClipFormat Format;
        QByteArray Expected;
    } cases[] = {
        {&data, CF_TEXT, Fixture("text_ansi.bin")},
        {&data, CF_UNICODETEXT, Fixture("text_unicode.bin")},
        {&data, CF_RTF(), Fixture("rtf.bin")},
        {&data, CF_GRIDCELLS(), Fixture("grid_cells.bin")},
        {&column, CF_GRIDCOL(), Fixture("grid_column.bin")},
        {&emptyRtf, CF_RTF(), QByteArray(1, '\0')},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.Expected.isEmpty());
        TFormatEtc f;
        f.cfFormat = c.Format;
        TStgMedium medium;
        ASSERT_EQ(c.Data->GetData(f, medium), S_OK) << c.Format;
        EXPECT_EQ(medium.tymed, TYMED_HGLOBAL);
        EXPECT_EQ(medium.unkForRelease, nullptr);
        EXPECT_EQ(medium.hGlobal.toHex(' '), c.Expected.toHex(' ')) << c.Format;
    }
}

TEST_F(OleDragDrop, DataObjectRefusesTheRest)
{
    TSourceDataObject data(QStringLiteral("t"), QString(), -1, nullptr);
    TFormatEtc f;
    f.cfFormat = CF_UNICODETEXT;
    TStgMedium medium;
    EXPECT_EQ(data.GetDataHere(f, medium), DV_E_FORMATETC);
    EXPECT_EQ(data.SetData(f, medium, true), DV_E_FORMATETC);
    TFormatEtc out;
    out.ptd = &f;
    EXPECT_EQ(data.GetCanonicalFormatEtc(f, out), E_NOTIMPL);
    EXPECT_EQ(out.ptd, nullptr);
    int connection = 0;
    EXPECT_EQ(data.DAdvise(f, 0, nullptr, connection), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(data.DUnadvise(0), OLE_E_ADVISENOTSUPPORTED);
    std::shared_ptr<IEnumSTATDATA> advise;
    EXPECT_EQ(data.EnumDAdvise(advise), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(advise, nullptr);
    std::shared_ptr<IEnumFORMATETC> e = std::make_shared<TSourceEnumFormatEtc>(false, false);
    EXPECT_EQ(data.EnumFormatEtc(DATADIR_SET, e), E_NOTIMPL);
    EXPECT_EQ(e, nullptr);
}

// ---- the enumerator ----------------------------------------------------------------------------

TEST_F(OleDragDrop, EnumeratorListsAndMoves)
{
    const QByteArray stream("x");
    TSourceDataObject textDrag(QStringLiteral("t"), QString(), -1, nullptr);
    std::shared_ptr<IEnumFORMATETC> e;
    ASSERT_EQ(textDrag.EnumFormatEtc(DATADIR_GET, e), S_OK);
    TFormatEtc list[5];
    int fetched = -1;
    EXPECT_EQ(e->Next(5, list, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 3);
    const TClipFormat expected[] = {CF_TEXT, CF_UNICODETEXT, CF_RTF()};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list[i].cfFormat, expected[i]);
        EXPECT_EQ(list[i].ptd, nullptr);
        EXPECT_EQ(list[i].dwAspect, DVASPECT_CONTENT);
        EXPECT_EQ(list[i].lindex, -1);
        EXPECT_EQ(list[i].tymed, TYMED_HGLOBAL);
    }
    EXPECT_EQ(e->Next(1, list, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0);

    // Column and cells come last, in that order.
    TSourceEnumFormatEtc full(true, true);
    EXPECT_EQ(full.Next(5, list, nullptr), S_OK);
    EXPECT_EQ(list[3].cfFormat, CF_GRIDCOL());
    EXPECT_EQ(list[4].cfFormat, CF_GRIDCELLS());

    // Skip, Reset and Clone.
    EXPECT_EQ(full.Reset(), S_OK);
    EXPECT_EQ(full.Skip(2), S_OK);
    std::shared_ptr<IEnumFORMATETC> clone;
    ASSERT_EQ(full.Clone(clone), S_OK);
    EXPECT_EQ(clone->Next(1, list, &fetched), S_OK);
    EXPECT_EQ(list[0].cfFormat, CF_RTF());
    EXPECT_EQ(full.Next(1, list, &fetched), S_OK);  // the clone moved on its own
    EXPECT_EQ(list[0].cfFormat, CF_RTF());
    EXPECT_EQ(full.Skip(10), S_FALSE);
    EXPECT_EQ(full.Next(1, list, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0);
    EXPECT_EQ(full.Skip(-1), S_OK);  // the index stood at the end: one back is the last entry
    EXPECT_EQ(full.Next(1, list, &fetched), S_OK);
    EXPECT_EQ(list[0].cfFormat, CF_GRIDCELLS());
}

// ---- reading an incoming object ----------------------------------------------------------------

TEST_F(OleDragDrop, ReaderReadsWithinTheBlocks)
{
    QByteArray shortCells = Fixture("grid_cells.bin").left(6);
    QByteArray ansiFiles = QByteArray::fromHex("1400000000000000000000000000000000000000") +
                           QByteArray("x.csv\0y\xe9.txt\0\0", 15);
    QByteArray badOffset = Fixture("hdrop_wide.bin");
    badOffset[0] = char(0x70);
    QByteArray unterminated = Fixture("hdrop_wide.bin").left(0x2A);  // cut inside the second name

    struct Case {
        const char* Name;
        TClipFormat Format;
        QByteArray Block;
        QString Read;
    } cases[] = {
        {"column", CF_GRIDCOL(), Fixture("grid_column.bin"), "258"},
        {"negative column", CF_GRIDCOL(), QByteArray::fromHex("feffffff"), "-2"},
        {"column under 4 bytes", CF_GRIDCOL(), QByteArray::fromHex("0201"), "-1"},
        {"cells", CF_GRIDCELLS(), Fixture("grid_cells.bin"), "545046300102"},
        {"cells claiming more", CF_GRIDCELLS(), shortCells, "refused"},
        {"cells under 8 bytes", CF_GRIDCELLS(), QByteArray::fromHex("00000000"), "refused"},
        {"wide files", CF_HDROP, Fixture("hdrop_wide.bin"), "/a.csv|/t/b \u00E9"},
        {"ansi files", CF_HDROP, ansiFiles, "x.csv|y\u00E9.txt"},
        {"names beyond the block", CF_HDROP, badOffset, ""},
        {"cut-off last name is left out", CF_HDROP, unterminated, "/a.csv"},
        {"unicode text", CF_UNICODETEXT, Fixture("text_unicode.bin"), "A\u00E9\u20AC"},
        {"unicode text without NUL", CF_UNICODETEXT, QByteArray::fromHex("41004200"), "AB"},
        {"odd last byte", CF_UNICODETEXT, QByteArray::fromHex("410042"), "A"},
        {"rtf", CF_RTF(), Fixture("rtf.bin"), "{\\rtf1 \\b A\u00E9\\b0}"},
    };
    for (const Case& c : cases) {
        TEnumFormats reader(Offer({{c.Format, c.Block}}));
        QString read;
        if (c.Format == CF_GRIDCOL()) {
            read = QString::number(reader.Col());
        } else if (c.Format == CF_GRIDCELLS()) {
            const auto s = reader.Stream();
            read = s ? QString::fromLatin1(s->toHex()) : QStringLiteral("refused");
        } else if (c.Format == CF_HDROP) {
            ASSERT_TRUE(reader.HasFile());
            const bool any = reader.ReadFiles();
            QStringList names;
            for (int i = 0; i < reader.Files().Count(); ++i)
                names << reader.Files().Strings(i);
            read = names.join('|');
            EXPECT_EQ(any, !names.isEmpty()) << c.Name;
        } else if (c.Format == CF_UNICODETEXT) {
            read = reader.Text();
        } else {
            read = reader.RTF();
        }
        EXPECT_EQ(read, c.Read) << c.Name;
    }

    // Absent formats.
    TEnumFormats empty(Offer({}));
    EXPECT_EQ(empty.Col(), -1);
    EXPECT_FALSE(empty.Stream());
    EXPECT_EQ(empty.Text(), QString());
    EXPECT_FALSE(empty.Valid());
}

TEST_F(OleDragDrop, ReaderStepsThroughFormats)
{
    TEnumFormats reader(Offer({{CF_TEXT, "a"}, {CF_UNICODETEXT, "b"}}));
    EXPECT_TRUE(reader.Reset());
    EXPECT_TRUE(reader.Next());
    EXPECT_EQ(reader.Format(), CF_TEXT);
    EXPECT_TRUE(reader.Next());
    EXPECT_FALSE(reader.Next());
    EXPECT_FALSE(reader.Valid());
    EXPECT_EQ(reader.Count(), 3);
    EXPECT_FALSE(reader.GlobalHandle());
    EXPECT_TRUE(reader.HasText());
    EXPECT_EQ(reader.Count(), 2);
    reader.SetMedium(2);  // a medium the format does not offer
    EXPECT_FALSE(reader.GlobalHandle());
    reader.SetMedium(TYMED_HGLOBAL);
    EXPECT_EQ(reader.GlobalHandle(), QByteArray("b"));
    EXPECT_FALSE(reader.HasFormat(0));

    try {
        TEnumFormats broken(std::make_shared<TFakeData>(std::vector<std::pair<TClipFormat, QByteArray>>{}, false));
        FAIL() << "no assertion";
    } catch (const EDragDropAssertion& e) {
        EXPECT_STREQ(e.what(), "Cannot get the format enumerator");
    }
}

// ---- the source --------------------------------------------------------------------------------

TEST_F(OleDragDrop, SourceAnswers)
{
    struct Case {
        bool Escape;
        int Keys;
        HRESULT Result;
        int Ended;
    } cases[] = {
        {false, MK_LBUTTON, S_OK, 0},
        {false, MK_LBUTTON | MK_CONTROL, S_OK, 0},
        {false, 0, DRAGDROP_S_DROP, 1},
        {false, MK_RBUTTON, DRAGDROP_S_DROP, 1},
        {true, MK_LBUTTON, DRAGDROP_S_CANCEL, 1},
        {true, 0, DRAGDROP_S_CANCEL, 1},
    };
    for (const Case& c : cases) {
        TRecordingSource source;
        EXPECT_EQ(source.QueryContinueDrag(c.Escape, c.Keys), c.Result);
        EXPECT_EQ(source.Ended, c.Ended);
        EXPECT_EQ(source.Queried, 1);
    }

    TRecordingSource source;
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(source.NoAccept());
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_MOVE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_FALSE(source.NoAccept());
    EXPECT_EQ(source.Effects, (QList<int>{DROPEFFECT_NONE, DROPEFFECT_MOVE}));
}

// ---- running a drag through the starter --------------------------------------------------------

TEST_F(OleDragDrop, TextDragIsCancelledAfterNoFeedback)
{
    struct Case {
        int Feedback;
        HRESULT StarterResult;
        HRESULT Result;
    } cases[] = {
        {DROPEFFECT_NONE, DRAGDROP_S_DROP, DRAGDROP_S_CANCEL},
        {DROPEFFECT_MOVE, DRAGDROP_S_DROP, DRAGDROP_S_DROP},
        {DROPEFFECT_COPY, DRAGDROP_S_CANCEL, DRAGDROP_S_CANCEL},
    };
    for (const Case& c : cases) {
        int okSeen = 0;
        SetDragStarter([&](std::unique_ptr<QMimeData>, IDropSource& source, int ok, int& effect) {
            okSeen = ok;
            source.GiveFeedback(c.Feedback);
            effect = DROPEFFECT_COPY;
            return c.StarterResult;
        });
        auto source = std::make_shared<TRecordingSource>();
        int effect = 0;
        EXPECT_EQ(BeginTextDragDrop(source, QStringLiteral("t"), QString(), effect,
                                    DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr),
                  c.Result);
        EXPECT_EQ(effect, DROPEFFECT_COPY);
        EXPECT_EQ(okSeen, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    }
    int effect = 0;
    EXPECT_EQ(BeginTextDragDrop(nullptr, QStringLiteral("t"), QString(), effect, DROPEFFECT_COPY, nullptr),
              E_INVALIDARG);
}

TEST_F(OleDragDrop, OfferedMimeDataRoundTrips)
{
    ResetDragDropState();  // offering data registers the names itself
    SetDropRTFAllowed(true);
    std::unique_ptr<QMimeData> captured;
    SetDragStarter([&](std::unique_ptr<QMimeData> data, IDropSource&, int, int& effect) {
        captured = std::move(data);
        effect = DROPEFFECT_MOVE;
        return DRAGDROP_S_DROP;
    });
    const QByteArray stream("TPF0\x01\x02", 6);
    auto source = std::make_shared<TRecordingSource>();
    int effect = 0;
    const QString rtf = QStringLiteral("{\\rtf1 \\b A\u00E9\\b0}");
    EXPECT_EQ(BeginTextDragDrop(source, QStringLiteral("A\u00E9\u20AC"), rtf, effect, DROPEFFECT_MOVE, &stream),
              DRAGDROP_S_DROP);
    ASSERT_TRUE(captured);
    EXPECT_EQ(captured->text(), QStringLiteral("A\u00E9\u20AC"));
    EXPECT_EQ(captured->data("text/rtf"), Fixture("rtf.bin").chopped(1));
    EXPECT_EQ(captured->data(gridclipboard::RtfMimeType()), Fixture("rtf.bin"));
    EXPECT_EQ(captured->data(gridclipboard::MimeType("TVerIvovavOzed Cells")), Fixture("grid_cells.bin"));
    EXPECT_FALSE(captured->hasFormat(gridclipboard::MimeType("Grid Column")));

    // Read back as an incoming drop.
    TEnumFormats in(std::make_shared<TMimeDataObject>(captured.get()));
    EXPECT_EQ(in.Text(), QStringLiteral("A\u00E9\u20AC"));
    EXPECT_EQ(in.RTF(), rtf);
    EXPECT_EQ(in.Stream(), stream);
    EXPECT_FALSE(in.HasCol());

    EXPECT_EQ(BeginColumnDragDrop(source, 258, DROPEFFECT_MOVE, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(captured->data(gridclipboard::MimeType("Grid Column")), Fixture("grid_column.bin"));
    EXPECT_FALSE(captured->hasText());
    TEnumFormats col(std::make_shared<TMimeDataObject>(captured.get()));
    EXPECT_EQ(col.Col(), 258);
    EXPECT_FALSE(col.HasText());
}

TEST_F(OleDragDrop, IncomingMimeDataBlocks)
{
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/a.csv"), QUrl::fromLocalFile(QStringLiteral("/t/b \u00E9"))});
    TMimeDataObject fromFiles(&files);
    ASSERT_EQ(fromFiles.Blocks().size(), 1u);
    EXPECT_EQ(fromFiles.Blocks()[0].Format, CF_HDROP);
    EXPECT_EQ(fromFiles.Blocks()[0].Data.toHex(' '), Fixture("hdrop_wide.bin").toHex(' '));
    EXPECT_EQ(HDropBlock({"/a.csv", QStringLiteral("/t/b \u00E9")}), Fixture("hdrop_wide.bin"));

    QMimeData link;
    link.setUrls({QUrl("http://127.0.0.1/x")});
    TEnumFormats fromLink(std::make_shared<TMimeDataObject>(&link));
    EXPECT_TRUE(fromLink.HasURL());
    EXPECT_EQ(fromLink.Text(), QStringLiteral("http://127.0.0.1/x"));
    EXPECT_FALSE(fromLink.HasFile());
    ASSERT_TRUE(fromLink.HasURL());
    EXPECT_EQ(fromLink.GlobalHandle(), QByteArray("http://127.0.0.1/x\0", 19));

    QMimeData rich;
    rich.setData("text/rtf", "{\\rtf1 \xe9}");
    rich.setText(QStringLiteral("plain"));
    TEnumFormats fromRich(std::make_shared<TMimeDataObject>(&rich));
    ASSERT_TRUE(fromRich.HasRTF());
    EXPECT_EQ(fromRich.GlobalHandle(), QByteArray("{\\rtf1 \xe9}\0", 10));
    EXPECT_EQ(fromRich.Text(), QStringLiteral("plain"));
    ASSERT_TRUE(fromRich.HasFormat(CF_TEXT));
    EXPECT_EQ(fromRich.GlobalHandle(), QByteArray("plain\0", 6));

    TMimeDataObject none(nullptr);
    std::shared_ptr<IEnumFORMATETC> e;
    EXPECT_EQ(none.EnumFormatEtc(DATADIR_GET, e), S_OK);
    TFormatEtc f;
    EXPECT_EQ(e->Next(1, &f, nullptr), S_FALSE);
}

// ---- registered windows and Qt drag events -----------------------------------------------------

TEST_F(OleDragDrop, RegistrationPerWidget)
{
    auto target = std::make_shared<TRecordingTarget>();
    QWidget widget;
    EXPECT_EQ(RegisterDragDrop(&widget, target), S_OK);
    EXPECT_TRUE(widget.acceptDrops());
    EXPECT_EQ(RegisterDragDrop(&widget, std::make_shared<TRecordingTarget>()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisteredDropTarget(&widget), target);
    EXPECT_EQ(RevokeDragDrop(&widget), S_OK);
    EXPECT_FALSE(widget.acceptDrops());
    EXPECT_EQ(RevokeDragDrop(&widget), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(RegisterDragDrop(nullptr, target), E_INVALIDARG);
    EXPECT_EQ(RegisterDragDrop(&widget, nullptr), E_INVALIDARG);

    std::weak_ptr<TRecordingTarget> held = target;
    auto* doomed = new QWidget;
    EXPECT_EQ(RegisterDragDrop(doomed, std::move(target)), S_OK);
    delete doomed;
    EXPECT_TRUE(held.expired());  // the registration went with its window
}

TEST_F(OleDragDrop, QtDragEventsReachTheTarget)
{
    QWidget widget;
    widget.resize(100, 100);
    widget.move(30, 40);
    auto target = std::make_shared<TRecordingTarget>();
    QMimeData data;
    data.setText(QStringLiteral("dropped"));
    const QPoint at(10, 20);
    const QPoint global = widget.mapToGlobal(QPoint(10, 20));

    QDragEnterEvent early(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_FALSE(OleHandleDragEvent(&widget, &early));  // not registered yet
    ASSERT_EQ(RegisterDragDrop(&widget, target), S_OK);

    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    EXPECT_TRUE(OleHandleDragEvent(&widget, &enter));
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::MoveAction);
    EXPECT_EQ(target->DropFormats(), TDropFormats(dfText));

    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(OleHandleDragEvent(&widget, &move));
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(move.dropAction(), Qt::CopyAction);
    EXPECT_EQ(target->LastPoint, TPoint(global.x(), global.y()));

    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
    EXPECT_TRUE(OleHandleDragEvent(&widget, &drop));
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);
    EXPECT_EQ(target->Log, (QStringList{"Enter", "Move", "Text:dropped"}));
    EXPECT_EQ(target->LastPoint, TPoint(global.x(), global.y()));

    // Data the target cannot take: the enter still lets the moves come, which are refused.
    QMimeData image;
    image.setData("image/png", "x");
    QDragEnterEvent enter2(at, Qt::CopyAction, &image, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(OleHandleDragEvent(&widget, &enter2));
    EXPECT_TRUE(enter2.isAccepted());
    EXPECT_EQ(enter2.dropAction(), Qt::IgnoreAction);
    QDragMoveEvent move2(at, Qt::CopyAction, &image, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(OleHandleDragEvent(&widget, &move2));
    EXPECT_FALSE(move2.isAccepted());
    QDragLeaveEvent leave;
    EXPECT_TRUE(OleHandleDragEvent(&widget, &leave));
    EXPECT_EQ(target->Log.last(), QStringLiteral("Leave"));

    QEvent other(QEvent::MouseMove);
    EXPECT_FALSE(OleHandleDragEvent(&widget, &other));
    RevokeDragDrop(&widget);
}

TEST_F(OleDragDrop, DefaultStarterEndsACancelledDragAtTheSource)
{
    // Qt's own drag, cancelled from inside its loop: the source hears the end as Escape and the
    // last feedback as no effect, so the drag counts as cancelled.
    QWidget window;
    window.resize(50, 50);
    window.show();
    QTimer cancel;  // repeats until the drag's loop has heard it; gone with the test
    QObject::connect(&cancel, &QTimer::timeout, []() { QDrag::cancel(); });
    cancel.start(0);
    auto source = std::make_shared<TRecordingSource>();
    int effect = -1;
    EXPECT_EQ(BeginTextDragDrop(source, QStringLiteral("t"), QString(), effect, DROPEFFECT_COPY, nullptr),
              DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(source->Ended, 1);
    EXPECT_TRUE(source->NoAccept());
    ASSERT_FALSE(source->Effects.isEmpty());
    EXPECT_EQ(source->Effects.last(), DROPEFFECT_NONE);
}
