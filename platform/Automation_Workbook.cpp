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

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KT_HAS_ASAN 1
#include <sanitizer/common_interface_defs.h>
#endif
#endif

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

// .xls files are read by libfreexl, which trusts the lengths written inside a workbook: a damaged
// file can make it read past its own buffers. The reading therefore runs in a child process that
// sends the cells back through a pipe, so that such a file ends as this reader's error instead of
// taking the program down. The child uses only the library, plain memory and write(2).
namespace {

// The messages of the pipe, in this order: 'N' count, then per sheet 'S' name, its cells
// 'I' int64 / 'D' double / 'T' text (row, column, value), and 'Z' at the end; 'E' reason ends it
// early. Texts are a 32-bit length and UTF-8 bytes.
class PipeWriter {
public:
    explicit PipeWriter(int fd) : FFd(fd) {}
    void Tag(char t) { Put(&t, 1); }
    void U32(uint32_t v) { Put(&v, sizeof v); }
    void I64(int64_t v) { Put(&v, sizeof v); }
    void F64(double v) { Put(&v, sizeof v); }
    void Str(const char* s)
    {
        const uint32_t n = s ? uint32_t(std::strlen(s)) : 0;
        U32(n);
        Put(s, n);
    }
    bool Ok() const { return FOk; }

private:
    void Put(const void* data, size_t n)
    {
        const char* p = static_cast<const char*>(data);
        while (FOk && n > 0) {
            const ssize_t w = ::write(FFd, p, n);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                FOk = false;
                return;
            }
            p += w;
            n -= size_t(w);
        }
    }
    int FFd;
    bool FOk = true;
};

int ReadXlsInChild(const char* path, int fd)
{
#if defined(__SANITIZE_ADDRESS__) || defined(KT_HAS_ASAN)
    // A finding in the library ends this child only; the parent reports the file as damaged.
    __sanitizer_set_death_callback(nullptr);
#endif
    PipeWriter out(fd);
    const void* h = nullptr;
    if (freexl_open(path, &h) != FREEXL_OK) {
        out.Tag('E');
        out.Str("it is not a readable .xls workbook");
        return 0;
    }
    unsigned int count = 0;
    if (freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        out.Tag('E');
        out.Str("its sheets cannot be counted");
        return 0;
    }
    out.Tag('N');
    out.U32(count);
    for (unsigned short i = 0; i < count && out.Ok(); ++i) {
        const char* name = nullptr;
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_get_worksheet_name(h, i, &name) != FREEXL_OK || freexl_select_active_worksheet(h, i) != FREEXL_OK ||
            freexl_worksheet_dimensions(h, &rows, &cols) != FREEXL_OK) {
            out.Tag('E');
            out.Str("a sheet does not read");
            return 0;
        }
        out.Tag('S');
        out.Str(name);
        for (unsigned int r = 0; r < rows && out.Ok(); ++r)
            for (unsigned short c = 0; c < cols; ++c) {
                FreeXL_CellValue cell;
                if (freexl_get_cell_value(h, r, c, &cell) != FREEXL_OK) {
                    out.Tag('E');
                    out.Str("a cell does not read");
                    return 0;
                }
                switch (cell.type) {
                case FREEXL_CELL_INT:
                    out.Tag('I');
                    out.U32(r + 1);
                    out.U32(c + 1u);
                    out.I64(cell.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    out.Tag('D');
                    out.U32(r + 1);
                    out.U32(c + 1u);
                    out.F64(cell.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    if (cell.value.text_value && *cell.value.text_value) {
                        out.Tag('T');
                        out.U32(r + 1);
                        out.U32(c + 1u);
                        out.Str(cell.value.text_value);
                    }
                    break;
                default:
                    break;
                }
            }
    }
    out.Tag('Z');
    freexl_close(h);
    return 0;
}

class PipeReader {
public:
    explicit PipeReader(const QByteArray& data) : FData(data) {}
    bool AtEnd() const { return FPos >= FData.size(); }
    char Tag() { return Take(1) ? FData[FPos - 1] : 0; }
    bool U32(uint32_t& v) { return Copy(&v, sizeof v); }
    bool I64(int64_t& v) { return Copy(&v, sizeof v); }
    bool F64(double& v) { return Copy(&v, sizeof v); }
    bool Str(QString& s)
    {
        uint32_t n = 0;
        if (!U32(n) || !Take(n))
            return false;
        s = QString::fromUtf8(FData.constData() + FPos - n, qsizetype(n));
        return true;
    }

private:
    bool Take(qsizetype n)
    {
        if (n < 0 || FData.size() - FPos < n)
            return false;
        FPos += n;
        return true;
    }
    bool Copy(void* v, size_t n)
    {
        if (!Take(qsizetype(n)))
            return false;
        std::memcpy(v, FData.constData() + FPos - qsizetype(n), n);
        return true;
    }
    const QByteArray& FData;
    qsizetype FPos = 0;
};

} // namespace

TWorkbookData ReadXlsFile(const QString& FileName)
{
    const QByteArray path = QFile::encodeName(FileName);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        Fail(FileName, QString::fromLocal8Bit(std::strerror(errno)));
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int e = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        Fail(FileName, QString::fromLocal8Bit(std::strerror(e)));
    }
    if (pid == 0) {
        ::close(fds[0]);
        ::_exit(ReadXlsInChild(path.constData(), fds[1]));
    }
    ::close(fds[1]);
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buffer, qsizetype(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const bool clean = WIFEXITED(status) && WEXITSTATUS(status) == 0;

    PipeReader in(bytes);
    TWorkbookData data;
    bool ended = false;
    while (!in.AtEnd() && !ended) {
        const char tag = in.Tag();
        uint32_t r = 0, c = 0;
        bool ok = true;
        switch (tag) {
        case 'E': {
            QString why;
            in.Str(why);
            Fail(FileName, why);
        }
        case 'N': {
            uint32_t count = 0;
            ok = in.U32(count);
            break;
        }
        case 'S': {
            TSheetData sheet;
            ok = in.Str(sheet.Name);
            data.Sheets.push_back(std::move(sheet));
            break;
        }
        case 'I': {
            int64_t v = 0;
            ok = !data.Sheets.empty() && in.U32(r) && in.U32(c) && in.I64(v);
            if (ok)
                data.Sheets.back().Cells[{int(r), int(c)}] = qint64(v);
            break;
        }
        case 'D': {
            double v = 0;
            ok = !data.Sheets.empty() && in.U32(r) && in.U32(c) && in.F64(v);
            if (ok)
                data.Sheets.back().Cells[{int(r), int(c)}] = v;
            break;
        }
        case 'T': {
            QString v;
            ok = !data.Sheets.empty() && in.U32(r) && in.U32(c) && in.Str(v);
            if (ok)
                data.Sheets.back().Cells[{int(r), int(c)}] = v;
            break;
        }
        case 'Z':
            ended = true;
            break;
        default:
            ok = false;
        }
        if (!ok)
            break;
    }
    // A reader that died half way (or wrote nonsense) leaves a workbook that cannot be trusted.
    if (!clean || !ended)
        Fail(FileName, QStringLiteral("it is damaged"));
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
