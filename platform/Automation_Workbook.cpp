// Workbook files of the spreadsheet back-end: .xlsx packages read with libzip and pugixml and
// written with libxlsxwriter, .xls (BIFF) files read with libfreexl.
#include "platform/AtomicFile.h"
#include "platform/AutomationModels.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <freexl.h>
#include <pugixml.hpp>
#include <xlsxwriter.h>
#include <zip.h>

namespace platform {

namespace {

[[noreturn]] void Fail(const QString& file, const QString& why)
{
    throw EOleException(QStringLiteral("The workbook '%1' cannot be read: %2").arg(file, why));
}

class ZipReader {
public:
    explicit ZipReader(const QString& file) : FFile(file)
    {
        int err = 0;
        FZip = zip_open(QFile::encodeName(file).constData(), ZIP_RDONLY, &err);
        if (!FZip) {
            zip_error_t e;
            zip_error_init_with_code(&e, err);
            const QString why = QString::fromUtf8(zip_error_strerror(&e));
            zip_error_fini(&e);
            Fail(file, why);
        }
    }
    ~ZipReader() { zip_discard(FZip); }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // The entry's bytes; `required` raises when it is missing, else an empty result.
    QByteArray Read(const QString& name, bool required = true)
    {
        zip_stat_t st;
        const QByteArray n = name.toUtf8();
        if (zip_stat(FZip, n.constData(), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) {
            if (required)
                Fail(FFile, QStringLiteral("part %1 is missing").arg(name));
            return {};
        }
        if (st.size > 512u * 1024u * 1024u)
            Fail(FFile, QStringLiteral("part %1 is too large").arg(name));
        zip_file_t* f = zip_fopen(FZip, n.constData(), 0);
        if (!f)
            Fail(FFile, QStringLiteral("part %1 does not open").arg(name));
        QByteArray data(qsizetype(st.size), Qt::Uninitialized);
        const zip_int64_t got = zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        if (got != zip_int64_t(st.size))
            Fail(FFile, QStringLiteral("part %1 is damaged").arg(name));
        return data;
    }

private:
    QString FFile;
    zip_t* FZip = nullptr;
};

void Parse(pugi::xml_document& doc, const QByteArray& bytes, const QString& file, const QString& part)
{
    if (!doc.load_buffer(bytes.constData(), size_t(bytes.size())))
        Fail(file, QStringLiteral("part %1 is not well-formed").arg(part));
}

QString Text(const char* s)
{
    return QString::fromUtf8(s);
}

// The text of a shared or inline string item: its <t>, or its runs' <t> joined.
QString ItemText(const pugi::xml_node& si)
{
    if (pugi::xml_node t = si.child("t"))
        return Text(t.text().get());
    QString s;
    for (pugi::xml_node r : si.children("r"))
        s += Text(r.child("t").text().get());
    return s;
}

// "xl/worksheets/sheet1.xml" from a relationship target relative to xl/ or absolute.
QString PartName(const QString& target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    QString t = target;
    QString base = QStringLiteral("xl");
    while (t.startsWith(QLatin1String("../"))) {
        t = t.mid(3);
        base.clear();
    }
    return base.isEmpty() ? t : base + QLatin1Char('/') + t;
}

// "B12" -> (12, 2); false when it does not read.
bool CellRef(const QString& ref, int& row, int& col)
{
    int i = 0;
    while (i < ref.size() && ref[i].isLetter())
        ++i;
    col = ColumnNumber(ref.left(i));
    bool ok = false;
    row = ref.mid(i).toInt(&ok);
    return ok && col >= 1 && col <= MaxSheetColumns && row >= 1 && row <= MaxSheetRows;
}

int ErrorCode(const QString& text)
{
    // The numbers the applications give their error values in variants.
    static const QList<QPair<QString, int>> codes = {{"#NULL!", 2000}, {"#DIV/0!", 2007}, {"#VALUE!", 2015},
                                                     {"#REF!", 2023},  {"#NAME?", 2029},  {"#NUM!", 2036},
                                                     {"#N/A", 2042}};
    for (const auto& [t, c] : codes)
        if (t == text)
            return c;
    return 2015;
}

QString ErrorText(int code)
{
    switch (code) {
    case 2000: return QStringLiteral("#NULL!");
    case 2007: return QStringLiteral("#DIV/0!");
    case 2023: return QStringLiteral("#REF!");
    case 2029: return QStringLiteral("#NAME?");
    case 2036: return QStringLiteral("#NUM!");
    case 2042: return QStringLiteral("#N/A");
    default: return QStringLiteral("#VALUE!");
    }
}

} // namespace

TWorkbookData ReadXlsxFile(const QString& FileName)
{
    ZipReader zip(FileName);
    pugi::xml_document wb, rels, sst;
    Parse(wb, zip.Read(QStringLiteral("xl/workbook.xml")), FileName, QStringLiteral("xl/workbook.xml"));
    Parse(rels, zip.Read(QStringLiteral("xl/_rels/workbook.xml.rels")), FileName,
          QStringLiteral("xl/_rels/workbook.xml.rels"));
    QStringList shared;
    const QByteArray sstBytes = zip.Read(QStringLiteral("xl/sharedStrings.xml"), false);
    if (!sstBytes.isEmpty()) {
        Parse(sst, sstBytes, FileName, QStringLiteral("xl/sharedStrings.xml"));
        for (pugi::xml_node si : sst.child("sst").children("si"))
            shared << ItemText(si);
    }

    TWorkbookData data;
    const pugi::xml_node root = wb.child("workbook");
    data.Active = root.child("bookViews").child("workbookView").attribute("activeTab").as_int(0);
    for (pugi::xml_node s : root.child("sheets").children("sheet")) {
        TSheetData sheet;
        sheet.Name = Text(s.attribute("name").value());
        const char* rid = s.attribute("r:id").value();
        QString target;
        for (pugi::xml_node r : rels.child("Relationships").children("Relationship"))
            if (std::strcmp(r.attribute("Id").value(), rid) == 0)
                target = Text(r.attribute("Target").value());
        if (target.isEmpty())
            Fail(FileName, QStringLiteral("sheet %1 has no part").arg(sheet.Name));
        const QString part = PartName(target);
        pugi::xml_document ws;
        Parse(ws, zip.Read(part), FileName, part);
        for (pugi::xml_node row : ws.child("worksheet").child("sheetData").children("row"))
            for (pugi::xml_node c : row.children("c")) {
                int r = 0, col = 0;
                if (!CellRef(Text(c.attribute("r").value()), r, col))
                    Fail(FileName, QStringLiteral("a cell of sheet %1 has no valid reference").arg(sheet.Name));
                const QString t = Text(c.attribute("t").value());
                const pugi::xml_node v = c.child("v");
                TVariant value;
                if (t == QLatin1String("s")) {
                    const int i = v.text().as_int(-1);
                    if (i < 0 || i >= shared.size())
                        Fail(FileName, QStringLiteral("a cell refers to a missing shared string"));
                    value = shared[i];
                } else if (t == QLatin1String("inlineStr")) {
                    value = ItemText(c.child("is"));
                } else if (t == QLatin1String("str")) {
                    value = Text(v.text().get());
                } else if (t == QLatin1String("b")) {
                    if (v)
                        value = v.text().as_int() != 0;
                } else if (t == QLatin1String("e")) {
                    value = TVarError{ErrorCode(Text(v.text().get()))};
                } else if (v) {
                    bool ok = false;
                    const double d = Text(v.text().get()).toDouble(&ok);
                    if (!ok)
                        Fail(FileName, QStringLiteral("a cell holds a number that does not read"));
                    value = d;
                }
                if (!value.IsEmpty() && !(value.IsString() && value.ToString().isEmpty()))
                    sheet.Cells[{r, col}] = value;
            }
        data.Sheets.push_back(std::move(sheet));
    }
    if (data.Sheets.empty())
        Fail(FileName, QStringLiteral("it holds no sheet"));
    if (data.Active < 0 || data.Active >= int(data.Sheets.size()))
        data.Active = 0;
    return data;
}

TWorkbookData ReadXlsFile(const QString& FileName)
{
    const void* h = nullptr;
    if (freexl_open(QFile::encodeName(FileName).constData(), &h) != FREEXL_OK) {
        if (h)
            freexl_close(h);
        Fail(FileName, QStringLiteral("it is not a readable .xls workbook"));
    }
    struct Closer {
        const void* h;
        ~Closer() { freexl_close(h); }
    } closer{h};
    unsigned int count = 0;
    if (freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
        Fail(FileName, QStringLiteral("its sheets cannot be counted"));
    TWorkbookData data;
    for (unsigned short i = 0; i < count; ++i) {
        TSheetData sheet;
        const char* name = nullptr;
        if (freexl_get_worksheet_name(h, i, &name) != FREEXL_OK || freexl_select_active_worksheet(h, i) != FREEXL_OK)
            Fail(FileName, QStringLiteral("sheet %1 does not read").arg(i + 1));
        sheet.Name = Text(name);
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_worksheet_dimensions(h, &rows, &cols) != FREEXL_OK)
            Fail(FileName, QStringLiteral("sheet %1 has no dimensions").arg(sheet.Name));
        for (unsigned int r = 0; r < rows; ++r)
            for (unsigned short c = 0; c < cols; ++c) {
                FreeXL_CellValue cell;
                if (freexl_get_cell_value(h, r, c, &cell) != FREEXL_OK)
                    Fail(FileName, QStringLiteral("a cell of sheet %1 does not read").arg(sheet.Name));
                TVariant v;
                switch (cell.type) {
                case FREEXL_CELL_INT: v = qint64(cell.value.int_value); break;
                case FREEXL_CELL_DOUBLE: v = cell.value.double_value; break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME: v = Text(cell.value.text_value); break;
                default: break;
                }
                if (!v.IsEmpty() && !(v.IsString() && v.ToString().isEmpty()))
                    sheet.Cells[{int(r) + 1, int(c) + 1}] = v;
            }
        data.Sheets.push_back(std::move(sheet));
    }
    if (data.Sheets.empty())
        Fail(FileName, QStringLiteral("it holds no sheet"));
    return data;
}

void WriteXlsxFile(const QString& FileName, const TWorkbookData& Data)
{
    auto fail = [&](const QString& why) {
        throw EOleException(QStringLiteral("The workbook '%1' cannot be saved: %2").arg(FileName, why));
    };
    // The writer wants a file name of its own: write into a private folder, then put the bytes in
    // place atomically so that a failure leaves the old workbook as it was.
    QTemporaryDir dir;
    if (!dir.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QString tmp = dir.filePath(QStringLiteral("book.xlsx"));
    lxw_workbook* wb = workbook_new(QFile::encodeName(tmp).constData());
    if (!wb)
        fail(QStringLiteral("the workbook cannot be created"));
    bool ok = true;
    for (size_t i = 0; i < Data.Sheets.size() && ok; ++i) {
        const TSheetData& s = Data.Sheets[i];
        lxw_worksheet* ws = workbook_add_worksheet(wb, s.Name.toUtf8().constData());
        if (!ws) {
            ok = false;
            break;
        }
        if (int(i) == Data.Active)
            worksheet_activate(ws);
        for (const auto& [key, v] : s.Cells) {
            const lxw_row_t r = lxw_row_t(key.first - 1);
            const lxw_col_t c = lxw_col_t(key.second - 1);
            lxw_error e = LXW_NO_ERROR;
            if (v.IsDouble() || v.IsInt())
                e = worksheet_write_number(ws, r, c, v.ToDouble(), nullptr);
            else if (v.IsBool())
                e = worksheet_write_boolean(ws, r, c, v.ToBool() ? 1 : 0, nullptr);
            else if (v.IsError())
                e = worksheet_write_string(ws, r, c, ErrorText(std::get<TVarError>(v.Raw()).Code).toUtf8().constData(),
                                           nullptr);
            else if (v.IsString())
                e = worksheet_write_string(ws, r, c, v.ToString().toUtf8().constData(), nullptr);
            if (e != LXW_NO_ERROR) {
                ok = false;
                break;
            }
        }
    }
    const lxw_error closed = workbook_close(wb);
    if (!ok)
        fail(QStringLiteral("a sheet name or cell value is not accepted"));
    if (closed != LXW_NO_ERROR)
        fail(QString::fromUtf8(lxw_strerror(closed)));
    QFile f(tmp);
    if (!f.open(QIODevice::ReadOnly))
        fail(f.errorString());
    QString error;
    if (!WriteFileAtomic(FileName, f.readAll(), &error))
        fail(error);
}

} // namespace platform
