// TVerIvovavOzed: the grid as an HTML table (one class per distinct cell style, merged cells as
// spans, links, cell pictures as JPEG files in an "images" folder beside the page).
#include "grid/AdvGrid.h"
#include "griddata/GridFileText.h"
#include "platform/AtomicFile.h"
#include "platform/Jpeg.h"
#include "platform/Picture.h"
#include "platform/Services.h"
#include "platform/StringList.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QChar Quote(u'"');
// Both colours of a cell start at this value; a colour still holding it was not set.
constexpr TColor ColorUnset = 0x7FFFFFFF;

QString Quoted(const QString& s) { return Quote + s + Quote; }
QString Quoted(int v) { return Quoted(QString::number(v)); }

// Trim as the grid's texts are trimmed elsewhere: blanks and control characters on both ends.
bool BlankText(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() > u' ')
            return false;
    return true;
}

// A text holding "://" (or "mailto:") and no end tag becomes a link to itself; its shown text is
// the whole address with Full, else what follows the scheme.
QString MakeLinks(const QString& t, bool Full)
{
    QString r = t;
    if (t.contains(QLatin1String("</")))
        return r;
    auto link = [&](const QString& marker) {
        const qsizetype p = t.indexOf(marker);
        if (p < 0)
            return;
        const QString shown = Full ? t : t.mid(p + marker.size(), 255);
        r = QStringLiteral("<a href=") + t + QLatin1Char('>') + shown + QStringLiteral("</a>");
    };
    link(QStringLiteral("://"));
    link(QStringLiteral("mailto:"));
    return r;
}

// 7-bit text: every character outside ASCII becomes a decimal character reference, so that a
// browser shows it whatever code page it assumes for the page.
QByteArray AsciiWithReferences(const QString& text)
{
    return gridfiles::EncodeWithReferences(text, [](char32_t) { return QByteArray(); });
}

// The folder part of a file name (up to and with the last "/"), "\" read as "/".
QString FolderOf(const QString& FileName)
{
    QString f = FileName;
    f.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype p = f.lastIndexOf(QLatin1Char('/'));
    return p < 0 ? QString() : f.left(p + 1);
}

QString LinesOfFile(const QString& FileName)
{
    platform::TStringList sl;
    sl.LoadFromFile(FileName);
    return sl.Text();
}

// Writes one picture as images/img<Nr>.jpg under Dir and gives its image tag; a JPEG picture
// keeps its own bytes. An empty picture writes nothing.
QString ImageTag(const TGraphic* Graphic, const QString& Dir, int& Nr)
{
    if (!Graphic || Graphic->Empty())
        return QString();
    QByteArray data;
    const auto* jpeg = dynamic_cast<const TJPEGImage*>(Graphic);
    if (jpeg && !jpeg->Data().isEmpty())
        data = jpeg->Data();
    else if (!platform::EncodeJpeg(Graphic->ToImage(), &data))
        return QString();
    const QString folder = Dir + QStringLiteral("images");
    if (!QDir().mkpath(folder))
        throw platform::Exception(QStringLiteral("Cannot create ") + folder);
    const QString path = folder + QStringLiteral("/img") + QString::number(Nr++) + QStringLiteral(".jpg");
    gridfiles::WriteWholeFile(path, data);
    return QStringLiteral("<img src= \"file://") + QFileInfo(path).absoluteFilePath() + QStringLiteral("\">");
}

QString ImageTag(const QImage& Image, const QString& Dir, int& Nr)
{
    if (Image.isNull())
        return QString();
    const TBitmap bmp(Image);
    return ImageTag(&bmp, Dir, Nr);
}

} // namespace

QString TVerIvovavOzed::HTMLCellStyle(int ACol, int ARow, bool HeaderOrFixed, bool& WordWrap)
{
    const THTMLSettings& hs = *FHTMLSettings;
    TCellLooks looks;
    looks.Brush.SetColor(ColorUnset);
    looks.Font.SetColor(ColorUnset);
    looks.Font.SetStyle(TFontStyles());
    GetCellLooks(ACol, ARow, false, true, looks);
    WordWrap = looks.WordWrap;
    const TColor bg = HeaderOrFixed ? FixedColor() : looks.Brush.Color();
    auto isSet = [](TColor c) { return c != ColorUnset && c != clNone; };

    QStringList parts;
    if (isSet(bg) && hs.SaveColor())
        parts << QStringLiteral("background-color: #") + CharToHexCode(ColorToRGB(bg));
    if (isSet(looks.Font.Color()) && hs.SaveColor())
        parts << QStringLiteral("color: #") + CharToHexCode(ColorToRGB(looks.Font.Color()));
    parts << QStringLiteral("font-size:") + QString::number(looks.Font.Size()) + QStringLiteral("pt");
    if (looks.Font.Style() & fsItalic)
        parts << QStringLiteral("font-style: italic");
    if (looks.Font.Style() & fsBold)
        parts << QStringLiteral("font-weight: bold");
    parts << QStringLiteral("font-family: ") + looks.Font.Name();
    if (looks.HAlign == taRightJustify)
        parts << QStringLiteral("text-align: right");
    else if (looks.HAlign == taCenter)
        parts << QStringLiteral("text-align: center");
    if (looks.VAlign == vtaTop)
        parts << QStringLiteral("vertical-align: top");
    else if (looks.VAlign == vtaCenter)
        parts << QStringLiteral("vertical-align: middle");
    else
        parts << QStringLiteral("vertical-align: bottom");
    return parts.join(QLatin1Char(';'));
}

QString TVerIvovavOzed::HTMLCellContent(int RCol, int ARow, const QString& Text, const QString& Dir, int& ImageNr)
{
    if (!FHTMLSettings->ExportImages())
        return Text;
    TCellGraphic* g = GetCellGraphic(RCol, ARow);
    if (!g)
        return Text;
    TCustomImageList* cellImages = GetCellImageList(RCol, ARow);
    auto valid = [&](int idx) { return cellImages && GridImages() && idx >= 0 && idx < GridImages()->Count(); };

    switch (g->CellType()) {
    case ctBitmap:
        return g->Bitmap() ? Text + ImageTag(g->Bitmap(), Dir, ImageNr) : Text;
    case ctImageList:
        return valid(g->CellIndex()) ? ImageTag(cellImages->Image(g->CellIndex()), Dir, ImageNr) + Text : Text;
    case ctDataImage: {
        QString raw;
        GetSaveCellText(RCol, ARow, raw);
        int idx = -1;
        if (platform::TryStrToInt(raw, idx) && valid(idx))
            return ImageTag(cellImages->Image(idx), Dir, ImageNr);
        return QString();
    }
    case ctNode:
        return QStringLiteral("+") + Text;
    case ctImages: {
        const TIntList* list = g->Images();
        if (!list || !cellImages)
            return Text;
        QString tags;
        for (int i = 0; i < list->Count(); ++i)
            tags += ImageTag(cellImages->Image(list->Items(i)), Dir, ImageNr);
        return tags + Text;
    }
    case ctPicture:
        return g->Picture() && g->Picture()->Graphic() ? Text + ImageTag(g->Picture()->Graphic(), Dir, ImageNr)
                                                       : Text;
    default:
        return Text;
    }
}

QString TVerIvovavOzed::SaveToHTMLString(const QString& Dir)
{
    const THTMLSettings& hs = *FHTMLSettings;
    QString dir = Dir;
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    const int firstCol = SaveFixedCells() || SaveFixedCols() ? 0 : FixedCols();
    const int firstRow = SaveFixedCells() || SaveFixedRows() ? 0 : FixedRows();

    // Equal styles (compared without case) share one class, numbered in order of first use.
    QStringList styles;
    auto classOf = [&styles](const QString& style) {
        for (int i = 0; i < styles.size(); ++i)
            if (styles[i].compare(style, Qt::CaseInsensitive) == 0)
                return i;
        styles << style;
        return int(styles.size()) - 1;
    };

    // One running number for the whole page, header pictures included, so that no picture file
    // is written over by another.
    int imageNr = 1;
    auto cellLine = [&](int c, int rc, int r, const QString& text, bool fixedBg, const QString& widthAttr) {
        bool ww = true;
        const QString style = HTMLCellStyle(c, r, fixedBg, ww);
        const QString content = HTMLCellContent(rc, r, text, dir, imageNr);
        QString s = QStringLiteral("<TD class=\"c") + QString::number(classOf(style)) + Quote;
        const TPoint span = CellSpan(rc, r);
        if (span.X > 0)
            s += QStringLiteral(" COLSPAN=") + Quoted(span.X + 1);
        if (span.Y > 0)
            s += QStringLiteral(" ROWSPAN=") + Quoted(span.Y + 1);
        if (!ww)
            s += QStringLiteral(" nowrap");
        s += widthAttr;
        return s + QLatin1Char('>') + content + QStringLiteral("</td>") + CRLF;
    };
    auto covered = [this](int rc, int r) {
        int bc = 0, br = 0;
        return !ResolveBaseCell(rc, r, bc, br);
    };

    QString table = QStringLiteral("<TABLE BORDER=") + Quoted(hs.BorderSize()) + QStringLiteral(" CELLSPACING=") +
                    Quoted(hs.CellSpacing()) + QStringLiteral(" CELLPADDING=") + Quoted(hs.CellPadding()) +
                    QLatin1Char(' ');
    if (!hs.Summary().isEmpty())
        table += QStringLiteral("SUMMARY=") + Quoted(hs.Summary()) + QLatin1Char(' ');
    if (!hs.TableStyle().isEmpty())
        table += QLatin1Char(' ') + hs.TableStyle() + QLatin1Char(' ');
    table += QStringLiteral(" WIDTH=") + Quoted(QString::number(hs.Width()) + QLatin1Char('%')) + QLatin1Char('>') + CRLF;

    const TIntList& widths = hs.ColWidths();
    int bodyStart = firstRow;
    bool headerWritten = false;
    if (FixedRows() > 0 && (SaveFixedCells() || SaveFixedRows())) {
        table += QStringLiteral("<TR>") + CRLF;
        for (int c = firstCol; c < ColCount(); ++c) {
            const int rc = DisplToRealCol(c);
            if (covered(rc, 0))
                continue;
            QString s;
            GetSaveCellText(rc, 0, s);
            s = CrToBreakTag(s);
            if (URLShow())
                s = MakeLinks(s, URLFull());
            if (s.isEmpty())
                s = QStringLiteral("&nbsp;");
            const QString w = c < widths.Count() ? QStringLiteral(" WIDTH=") + QString::number(widths.Items(c)) : QString();
            table += cellLine(c, rc, 0, s, true, w);
        }
        table += QStringLiteral("</TR>") + CRLF;
        bodyStart = 1;
        headerWritten = true;
    }

    ExportNotification(esExportStart, bodyStart);
    for (int r = bodyStart; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        table += QStringLiteral("<TR>") + CRLF;
        for (int c = firstCol; c < ColCount(); ++c) {
            const int rc = DisplToRealCol(c);
            if (covered(rc, r))
                continue;
            QString s;
            GetSaveCellText(rc, r, s);
            if (hs.ConvertSpecialChars())
                s = MarkupEscape(s, true);
            if (hs.NonBreakingText())
                s = MarkupSpaceToNbsp(s);
            s = CrToBreakTag(s);
            if (URLShow())
                s = MakeLinks(s, URLFull());
            if (BlankText(s))
                s = QStringLiteral("&nbsp;");
            QString w;
            if (!headerWritten && c - firstCol < widths.Count())
                w = QStringLiteral(" width=") + QString::number(widths.Items(c - firstCol));
            table += cellLine(c, rc, r, s, IsFixed(c, r), w);
        }
        table += QStringLiteral("</TR>") + CRLF;
    }
    ExportNotification(esExportDone, -1);
    table += QStringLiteral("</TABLE>") + CRLF;
    if (!hs.SuffixTag().isEmpty())
        table += hs.SuffixTag() + CRLF;
    if (hs.XHTML())
        table += QStringLiteral("</HTML>") + CRLF;

    QString page;
    if (hs.XHTML()) {
        page += QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>") + CRLF;
        page += QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"") + CRLF;
        page += QStringLiteral("\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">") + CRLF;
        page += QStringLiteral("<HTML xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">") + CRLF;
    }
    page += hs.PrefixTag();
    page += QStringLiteral("<style>") + CRLF;
    for (int i = 0; i < styles.size(); ++i)
        page += QStringLiteral(".c") + QString::number(i) + QStringLiteral(" {") + styles[i] + QLatin1Char('}') + CRLF;
    page += QStringLiteral("</style>") + CRLF;
    return page + table;
}

void TVerIvovavOzed::ExportHTML(const QString& FileName, bool Show, bool Unicode, bool Append)
{
    const THTMLSettings& hs = *FHTMLSettings;
    QString text;
    if (Append) {
        try {
            text = LinesOfFile(FileName);
        } catch (const std::exception&) {
            text.clear(); // a file that cannot be read counts as empty
        }
    }
    if (!hs.HeaderFile().isEmpty())
        text += LinesOfFile(hs.HeaderFile());
    text += SaveToHTMLString(FolderOf(FileName));
    if (!hs.FooterFile().isEmpty())
        text += LinesOfFile(hs.FooterFile());

    const QByteArray bytes = Unicode ? QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text)
                                     : AsciiWithReferences(text);
    gridfiles::WriteWholeFile(FileName, bytes);
    if (Show || hs.AutoPreview())
        platform::TheServices().OpenUrl(QFileInfo(FileName).absoluteFilePath());
}

void TVerIvovavOzed::SaveToHTML(const QString& FileName, bool Show, bool Unicode)
{
    ExportHTML(FileName, Show, Unicode, false);
}

void TVerIvovavOzed::AppendToHTML(const QString& FileName, bool Show, bool Unicode)
{
    ExportHTML(FileName, Show, Unicode, true);
}
