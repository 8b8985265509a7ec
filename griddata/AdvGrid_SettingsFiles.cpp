// TVerIvovavOzed: the grid's look as a visual-properties file ("key=value" lines of colours,
// fonts and looks) and its print settings as a section of an INI file.
#include "grid/AdvGrid.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/StringList.h"
#include "platform/SysUtils.h"

#include <QFile>

namespace {

// ---- colours by name -------------------------------------------------------------------------

struct TColorIdent {
    TColor Color;
    const char* Name;
};

// The colour identifiers, in the order a colour is looked up by value (the first match names it).
const TColorIdent ColorIdents[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"}, {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"}, {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"}, {clInfoText, "clInfoText"},
    {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"}, {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"}, {clNone, "clNone"}, {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
};

QString ColorText(TColor c)
{
    for (const TColorIdent& id : ColorIdents)
        if (id.Color == c)
            return QString::fromLatin1(id.Name);
    return QStringLiteral("$") + QStringLiteral("%1").arg(quint32(c), 8, 16, QLatin1Char('0')).toUpper();
}

// An identifier (any letter case) or a number; anything else raises EConvertError.
TColor TextColor(const QString& s)
{
    if (s.isEmpty())
        return clNone;
    for (const TColorIdent& id : ColorIdents)
        if (s.compare(QLatin1String(id.Name), Qt::CaseInsensitive) == 0)
            return id.Color;
    return TColor(platform::StrToInt(s));
}

const QStringList ControlStyleNames = {"csClassic", "csFlat", "csWinXP", "csBorland", "csOrlex", "csGlyph", "csTheme"};
const QStringList DisplayNames = {"bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert"};
const QStringList CellsNames = {"bcNormal", "bcFixed", "bcAll"};

QStringList LookNames()
{
    QStringList names;
    for (int l = glStandard; l <= glOffice2007; ++l)
        names << TVerIvovavOzed::GetLookIdent(TGridLook(l));
    return names;
}

// ---- writing -----------------------------------------------------------------------------------

class TPropWriter {
public:
    void Color(const char* Key, TColor c) { Add(Key, ColorText(c)); }
    void Bool(const char* Key, bool b) { Add(Key, b ? QStringLiteral("true") : QStringLiteral("false")); }
    void Int(const char* Key, int v) { Add(Key, QString::number(v)); }
    void Enum(const char* Key, const QStringList& Names, int Ord)
    {
        Add(Key, Ord >= 0 && Ord < Names.size() ? Names[Ord] : QString());
    }
    void Font(const QString& Key, const TFont& f)
    {
        Add(Key + QStringLiteral(".Color"), ColorText(f.Color()));
        QStringList styles;
        if (f.Style() & fsBold)
            styles << QStringLiteral("fsBold");
        if (f.Style() & fsItalic)
            styles << QStringLiteral("fsItalic");
        if (f.Style() & fsUnderline)
            styles << QStringLiteral("fsUnderline");
        if (f.Style() & fsStrikeOut)
            styles << QStringLiteral("fsStrikeOut");
        Add(Key + QStringLiteral(".Style"), styles.join(QLatin1Char(',')));
        Add(Key + QStringLiteral(".Size"), QString::number(f.Size()));
        Add(Key + QStringLiteral(".Name"), f.Name());
    }
    QString Text() const { return FLines.Text(); }

private:
    void Add(const QString& Key, const QString& Value) { FLines.Add(Key + QLatin1Char('=') + Value); }
    platform::TStringList FLines;
};

// ---- reading -----------------------------------------------------------------------------------

class TPropReader {
public:
    explicit TPropReader(const QString& Text) { FLines.SetText(Text); }
    // The text after the first "=" of the first line of that name (any letter case); empty when
    // there is none.
    QString Value(const QString& Key) const { return FLines.Values(Key); }
    TColor Color(const char* Key) const { return TextColor(Value(QLatin1String(Key))); }
    bool Bool(const char* Key) const { return platform::UpperCase(Value(QLatin1String(Key))) == QLatin1String("TRUE"); }
    int Int(const char* Key) const { return platform::StrToInt(Value(QLatin1String(Key))); }
    // The ordinal of the first name equal to the value (both upper-cased); -1 for none.
    int Enum(const char* Key, const QStringList& Names) const
    {
        const QString v = platform::UpperCase(Value(QLatin1String(Key)));
        for (int i = 0; i < Names.size(); ++i)
            if (platform::UpperCase(Names[i]) == v)
                return i;
        return -1;
    }
    // Each part goes into the font as soon as it is read, so a failure keeps those before it.
    void Font(const QString& Key, TFont& f) const
    {
        f.SetColor(TextColor(Value(Key + QStringLiteral(".Color"))));
        const QString st = Value(Key + QStringLiteral(".Style"));
        TFontStyles styles;
        if (st.contains(QLatin1String("fsBold")))
            styles |= fsBold;
        if (st.contains(QLatin1String("fsItalic")))
            styles |= fsItalic;
        if (st.contains(QLatin1String("fsUnderline")))
            styles |= fsUnderline;
        if (st.contains(QLatin1String("fsStrikeOut")))
            styles |= fsStrikeOut;
        f.SetStyle(styles);
        f.SetSize(platform::StrToInt(Value(Key + QStringLiteral(".Size"))));
        const QString name = Value(Key + QStringLiteral(".Name"));
        if (!name.isEmpty())
            f.SetName(name);
    }

private:
    platform::TStringList FLines;
};

// ---- print settings ----------------------------------------------------------------------------

QString YN(bool b) { return b ? QStringLiteral("Y") : QStringLiteral("N"); }

void WritePrintFont(platform::TMemIniFile& Ini, const QString& Section, const QString& Prefix, const TFont& F)
{
    Ini.WriteString(Section, Prefix + QStringLiteral("FontName"), F.Name());
    Ini.WriteInteger(Section, Prefix + QStringLiteral("FontSize"), F.Size());
    Ini.WriteInteger(Section, Prefix + QStringLiteral("FontStyle"), int(F.Style().toInt()) & 0xF);
    Ini.WriteInteger(Section, Prefix + QStringLiteral("FontColor"), F.Color());
}

void ReadPrintFont(const platform::TMemIniFile& Ini, const QString& Section, const QString& Prefix, TFont& F)
{
    F.SetName(Ini.ReadString(Section, Prefix + QStringLiteral("FontName"), QStringLiteral("Arial")));
    F.SetSize(Ini.ReadInteger(Section, Prefix + QStringLiteral("FontSize"), 10));
    // The stored style is the font's whole style: a bit that is clear removes that style.
    F.SetStyle(TFontStyles::fromInt(Ini.ReadInteger(Section, Prefix + QStringLiteral("FontStyle"), 0) & 0xF));
    F.SetColor(Ini.ReadInteger(Section, Prefix + QStringLiteral("FontColor"), 0));
}

TPrintPosition PrintPosition(int v) { return v >= 1 && v <= 6 ? TPrintPosition(v) : ppNone; }

} // namespace

// ---- visual properties file --------------------------------------------------------------------

void TVerIvovavOzed::SaveVisualProps(const QString& FileName)
{
    TPropWriter w;
    w.Color("Color", Color());
    w.Color("HintColor", HintColor());
    w.Color("SelectionColor", SelectionColor());
    w.Color("SelectionColorTo", SelectionColorTo());
    w.Color("SelectionMirrorColor", SelectionMirrorColor());
    w.Color("SelectionMirrorColorTo", SelectionMirrorColorTo());
    w.Color("SelectionTextColor", SelectionTextColor());
    w.Color("URLColor", URLColor());
    w.Bool("URLShow", URLShow());
    w.Bool("URLShowInText", URLShowInText());
    w.Color("ScrollColor", ScrollColor());
    w.Color("ActiveRowColor", ActiveRowColor());
    w.Bool("ActiveRowShow", ActiveRowShow());
    w.Bool("ActiveCellShow", ActiveCellShow());
    w.Font(QStringLiteral("Font"), Font());
    w.Color("ActiveCellColor", ActiveCellColor());
    w.Color("ActiveCellColorTo", ActiveCellColorTo());
    w.Font(QStringLiteral("ActiveCellFont"), ActiveCellFont());
    w.Font(QStringLiteral("FixedFont"), FixedFont());
    w.Color("Balloon.BackgroundColor", FBalloon->BackgroundColor);
    w.Color("Balloon.TextColor", FBalloon->TextColor);
    w.Int("Balloon.Transparency", FBalloon->Transparency & 0xFF);
    w.Color("Bands.PrimaryColor", FBands->PrimaryColor());
    w.Color("Bands.SecondaryColor", FBands->SecondaryColor());
    w.Bool("Bands.Active", FBands->Active());
    w.Color("SortSettings.IndexColor", FSortSettings->IndexColor());
    w.Color("FloatingFooter.Color", FFloatingFooter->Color());
    w.Int("ControlLook.CheckSize", FControlLook->CheckSize());
    w.Color("ControlLook.Color", FControlLook->Color());
    w.Color("ControlLook.CommentColor", FControlLook->CommentColor());
    w.Enum("ControlLook.ControlStyle", ControlStyleNames, FControlLook->ControlStyle());
    w.Color("ControlLook.FixedGradientFrom", FControlLook->FixedGradientFrom());
    w.Color("ControlLook.FixedGradientTo", FControlLook->FixedGradientTo());
    w.Int("ControlLook.RadioSize", FControlLook->RadioSize());
    w.Bool("ControlLook.FlatButton", FControlLook->FlatButton());
    w.Color("ControlLook.ProgressBorderColor", FControlLook->ProgressBorderColor());
    w.Bool("ControlLook.ProgressXP", FControlLook->ProgressXP());
    w.Enum("Look", LookNames(), FLook);
    w.Color("SearchFooter.Color", FSearchFooter->Color());
    w.Color("SearchFooter.ColorTo", FSearchFooter->ColorTo());
    w.Color("Grouping.HeaderColor", FGrouping->HeaderColor);
    w.Color("Grouping.HeaderColorTo", FGrouping->HeaderColorTo);
    w.Color("Grouping.HeaderTextColor", FGrouping->HeaderTextColor);
    w.Bool("Grouping.HeaderUnderline", FGrouping->HeaderUnderline);
    w.Color("Grouping.HeaderLineColor", FGrouping->HeaderLineColor);
    w.Int("Grouping.HeaderLineWidth", FGrouping->HeaderLineWidth);
    w.Color("Grouping.SummaryColor", FGrouping->SummaryColor);
    w.Color("Grouping.SummaryColorTo", FGrouping->SummaryColorTo);
    w.Color("Grouping.SummaryTextColor", FGrouping->SummaryTextColor);
    w.Bool("Grouping.SummaryLine", FGrouping->SummaryLine);
    w.Color("Grouping.SummaryLineColor", FGrouping->SummaryLineColor);
    w.Int("Grouping.SummaryLineWidth", FGrouping->SummaryLineWidth);
    w.Color("GridLineColor", GridLineColor());
    w.Color("GridFixedLineColor", GridFixedLineColor());
    w.Int("BackGround.Top", FBackGround->Top());
    w.Int("BackGround.Left", FBackGround->Left());
    w.Enum("BackGround.Display", DisplayNames, FBackGround->Display());
    w.Enum("BackGround.Cells", CellsNames, FBackGround->Cells());
    w.Color("BackGround.Color", FBackGround->Color());
    w.Color("BackGround.ColorTo", FBackGround->ColorTo());
    if (!platform::WriteFileAtomic(FileName, platform::ToAnsi(w.Text())))
        throw ZUzeRodoRediv(QStringLiteral("Cannot Create ") + FileName);
}

void TVerIvovavOzed::LoadVisualProps(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw ZUzeRodoRediv(QStringLiteral("Cannot open file ") + FileName);
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw ZUzeRodoRediv(QStringLiteral("Cannot open file ") + FileName);
    const TPropReader r(platform::TStringList::DecodeBytes(bytes, platform::TTextEncoding::Default, true));

    SetColor(r.Color("Color"));
    SetHintColor(r.Color("HintColor"));
    SetSelectionColor(r.Color("SelectionColor"));
    SetSelectionColorTo(r.Color("SelectionColorTo"));
    SetSelectionMirrorColor(r.Color("SelectionMirrorColor"));
    SetSelectionMirrorColorTo(r.Color("SelectionMirrorColorTo"));
    SetSelectionTextColor(r.Color("SelectionTextColor"));
    SetURLColor(r.Color("URLColor"));
    SetURLShow(r.Bool("URLShow"));
    SetURLShowInText(r.Bool("URLShowInText"));
    SetScrollColor(r.Color("ScrollColor"));
    SetActiveRowColor(r.Color("ActiveRowColor"));
    SetActiveRowShow(r.Bool("ActiveRowShow"));
    SetActiveCellShow(r.Bool("ActiveCellShow"));
    r.Font(QStringLiteral("Font"), Font());
    SetActiveCellColor(r.Color("ActiveCellColor"));
    SetActiveCellColorTo(r.Color("ActiveCellColorTo"));
    r.Font(QStringLiteral("ActiveCellFont"), FActiveCellFont);
    r.Font(QStringLiteral("FixedFont"), FFixedFont);
    // The reader looks for the balloon colour under this spelling; names match in any case.
    FBalloon->BackgroundColor = r.Color("Balloon.BackGroundColor");
    FBalloon->TextColor = r.Color("Balloon.TextColor");
    FBalloon->Transparency = r.Int("Balloon.Transparency") & 0xFF;
    FBands->SetPrimaryColor(r.Color("Bands.PrimaryColor"));
    FBands->SetSecondaryColor(r.Color("Bands.SecondaryColor"));
    FBands->SetActive(r.Bool("Bands.Active"));
    FSortSettings->SetIndexColor(r.Color("SortSettings.IndexColor"));
    FFloatingFooter->SetColor(r.Color("FloatingFooter.Color"));
    FControlLook->SetCheckSize(r.Int("ControlLook.CheckSize"));
    FControlLook->SetColor(r.Color("ControlLook.Color"));
    FControlLook->SetCommentColor(r.Color("ControlLook.CommentColor"));
    if (const int cs = r.Enum("ControlLook.ControlStyle", ControlStyleNames); cs >= 0)
        FControlLook->SetControlStyle(TControlStyle(cs));
    FControlLook->SetFixedGradientFrom(r.Color("ControlLook.FixedGradientFrom"));
    FControlLook->SetFixedGradientTo(r.Color("ControlLook.FixedGradientTo"));
    FControlLook->SetRadioSize(r.Int("ControlLook.RadioSize"));
    FControlLook->SetFlatButton(r.Bool("ControlLook.FlatButton"));
    FControlLook->SetProgressBorderColor(r.Color("ControlLook.ProgressBorderColor"));
    FControlLook->SetProgressXP(r.Bool("ControlLook.ProgressXP"));
    // A change of look brings its own colour scheme over the gradient colours read above.
    if (const int look = r.Enum("Look", LookNames()); look >= 0)
        SetLook(TGridLook(look));
    FSearchFooter->SetColor(r.Color("SearchFooter.Color"));
    FSearchFooter->SetColorTo(r.Color("SearchFooter.ColorTo"));
    FGrouping->HeaderColor = r.Color("Grouping.HeaderColor");
    FGrouping->HeaderColorTo = r.Color("Grouping.HeaderColorTo");
    FGrouping->HeaderTextColor = r.Color("Grouping.HeaderTextColor");
    FGrouping->HeaderUnderline = r.Bool("Grouping.HeaderUnderline");
    FGrouping->HeaderLineColor = r.Color("Grouping.HeaderLineColor");
    FGrouping->HeaderLineWidth = r.Int("Grouping.HeaderLineWidth");
    FGrouping->SummaryColor = r.Color("Grouping.SummaryColor");
    FGrouping->SummaryColorTo = r.Color("Grouping.SummaryColorTo");
    FGrouping->SummaryTextColor = r.Color("Grouping.SummaryTextColor");
    FGrouping->SummaryLine = r.Bool("Grouping.SummaryLine");
    FGrouping->SummaryLineColor = r.Color("Grouping.SummaryLineColor");
    FGrouping->SummaryLineWidth = r.Int("Grouping.SummaryLineWidth");
    SetGridLineColor(r.Color("GridLineColor"));
    SetGridFixedLineColor(r.Color("GridFixedLineColor"));
    FBackGround->SetTop(r.Int("BackGround.Top"));
    FBackGround->SetLeft(r.Int("BackGround.Left"));
    if (const int d = r.Enum("BackGround.Display", DisplayNames); d >= 0)
        FBackGround->SetDisplay(TBackGroundDisplay(d));
    if (const int c = r.Enum("BackGround.Cells", CellsNames); c >= 0)
        FBackGround->SetCells(TBackGroundCells(c));
    FBackGround->SetColor(r.Color("BackGround.Color"));
    FBackGround->SetColorTo(r.Color("BackGround.ColorTo"));
}

// ---- print settings file -----------------------------------------------------------------------

void TVerIvovavOzed::SavePrintSettings(const QString& Key, const QString& Section)
{
    const TPrintSettings& ps = *FPrintSettings;
    platform::TMemIniFile ini(Key);
    ini.WriteInteger(Section, QStringLiteral("ColumnSpacing"), ps.ColumnSpacing());
    ini.WriteInteger(Section, QStringLiteral("RowSpacing"), ps.RowSpacing());
    ini.WriteInteger(Section, QStringLiteral("TitleSpacing"), ps.TitleSpacing());
    ini.WriteInteger(Section, QStringLiteral("FixedHeight"), ps.FixedHeight());
    ini.WriteInteger(Section, QStringLiteral("FixedWidth"), ps.FixedWidth());
    ini.WriteString(Section, QStringLiteral("Centered"), YN(ps.Centered()));
    ini.WriteString(Section, QStringLiteral("NoAutoSize"), YN(ps.NoAutoSize()));
    ini.WriteString(Section, QStringLiteral("UseFixedHeight"), YN(ps.UseFixedHeight()));
    ini.WriteString(Section, QStringLiteral("UseFixedWidth"), YN(ps.UseFixedWidth()));
    ini.WriteString(Section, QStringLiteral("RepeatFixedRows"), YN(ps.RepeatFixedRows()));
    ini.WriteString(Section, QStringLiteral("RepeatFixedCols"), YN(ps.RepeatFixedCols()));
    ini.WriteString(Section, QStringLiteral("UseDisplFont"), YN(ps.UseDisplayFont()));
    ini.WriteString(Section, QStringLiteral("UseDefOrientation"), YN(ps.UseDefaultOrientation()));
    ini.WriteInteger(Section, QStringLiteral("Borders"), ps.Borders());
    ini.WriteInteger(Section, QStringLiteral("BorderColor"), ps.BorderColor());
    ini.WriteInteger(Section, QStringLiteral("BorderStyle"), ps.BorderStyle());
    ini.WriteInteger(Section, QStringLiteral("Date"), ps.Date());
    ini.WriteInteger(Section, QStringLiteral("PageNr"), ps.PageNr());
    ini.WriteInteger(Section, QStringLiteral("Title"), ps.Title());
    ini.WriteInteger(Section, QStringLiteral("Time"), ps.Time());
    ini.WriteString(Section, QStringLiteral("DateFormat"), ps.DateFormat());
    ini.WriteString(Section, QStringLiteral("TitleText"), ps.TitleText());
    ini.WriteInteger(Section, QStringLiteral("FooterSize"), ps.FooterSize());
    ini.WriteInteger(Section, QStringLiteral("HeaderSize"), ps.HeaderSize());
    ini.WriteInteger(Section, QStringLiteral("LeftSize"), ps.LeftSize());
    ini.WriteInteger(Section, QStringLiteral("RightSize"), ps.RightSize());
    ini.WriteInteger(Section, QStringLiteral("FitToPage"), ps.FitToPage());
    WritePrintFont(ini, Section, QString(), ps.Font());
    WritePrintFont(ini, Section, QStringLiteral("Header"), ps.HeaderFont());
    WritePrintFont(ini, Section, QStringLiteral("Footer"), ps.FooterFont());
    ini.WriteString(Section, QStringLiteral("PageNumSep"), ps.PageNumSep());
    ini.WriteString(Section, QStringLiteral("PageSuffix"), ps.PageSuffix());
    ini.WriteString(Section, QStringLiteral("PagePrefix"), ps.PagePrefix());
    ini.WriteInteger(Section, QStringLiteral("Orientation"), ps.Orientation());
    ini.WriteString(Section, QStringLiteral("TitleLines"),
                    ps.TitleLines().Text().replace(QStringLiteral("\r\n"), QStringLiteral("\\n")));
    ini.WriteString(Section, QStringLiteral("PrintGraphics"), YN(ps.PrintGraphics()));
    ini.UpdateFile();
}

void TVerIvovavOzed::LoadPrintSettings(const QString& Key, const QString& Section)
{
    TPrintSettings& ps = *FPrintSettings;
    platform::TMemIniFile ini(Key);
    auto num = [&](const char* Name, int Default) { return ini.ReadInteger(Section, QLatin1String(Name), Default); };
    auto yes = [&](const char* Name, const char* Default) {
        return ini.ReadString(Section, QLatin1String(Name), QLatin1String(Default)) == QLatin1String("Y");
    };
    auto text = [&](const char* Name) { return ini.ReadString(Section, QLatin1String(Name), QString()); };

    ps.SetColumnSpacing(num("ColumnSpacing", 20));
    ps.SetRowSpacing(num("RowSpacing", 20));
    ps.SetTitleSpacing(num("TitleSpacing", 20));
    ps.SetFixedHeight(num("FixedHeight", 0));
    ps.SetFixedWidth(num("FixedWidth", 0));
    ps.SetCentered(yes("Centered", "Y"));
    ps.SetNoAutoSize(yes("NoAutoSize", "N"));
    ps.SetUseFixedHeight(yes("UseFixedHeight", "N"));
    ps.SetUseFixedWidth(yes("UseFixedWidth", "N"));
    ps.SetRepeatFixedRows(yes("RepeatFixedRows", "N"));
    ps.SetRepeatFixedCols(yes("RepeatFixedCols", "N"));
    ps.SetUseDisplayFont(yes("UseDisplFont", "N"));
    ps.SetUseDefaultOrientation(yes("UseDefOrientation", "N"));
    if (const int v = num("Borders", 0); v >= pbNoborder && v <= pbCustom)
        ps.SetBorders(TPrintBorders(v));
    ps.SetBorderColor(num("BorderColor", 0));
    if (const int v = num("BorderStyle", 0); v >= psSolid && v <= psInsideFrame)
        ps.SetBorderStyle(TPenStyle(v));
    ps.SetDate(PrintPosition(num("Date", 0)));
    ps.SetPageNr(PrintPosition(num("PageNr", 0)));
    ps.SetTitle(PrintPosition(num("Title", 0)));
    ps.SetTime(PrintPosition(num("Time", 0)));
    ps.SetDateFormat(text("DateFormat"));
    ps.SetTitleText(text("TitleText"));
    ps.SetFooterSize(num("FooterSize", 100));
    ps.SetHeaderSize(num("HeaderSize", 100));
    ps.SetLeftSize(num("LeftSize", 100));
    ps.SetRightSize(num("RightSize", 100));
    if (const int v = num("FitToPage", 0); v >= fpNever && v <= fpCustom)
        ps.SetFitToPage(TFitToPage(v));
    ReadPrintFont(ini, Section, QString(), ps.Font());
    ReadPrintFont(ini, Section, QStringLiteral("Header"), ps.HeaderFont());
    ReadPrintFont(ini, Section, QStringLiteral("Footer"), ps.FooterFont());
    ps.SetPageNumSep(text("PageNumSep"));
    ps.SetPageSuffix(text("PageSuffix"));
    ps.SetPagePrefix(text("PagePrefix"));
    if (const int v = num("Orientation", 0); v == poPortrait || v == poLandscape)
        ps.SetOrientation(TPrinterOrientation(v));
    ps.TitleLines().SetText(text("TitleLines").replace(QStringLiteral("\\n"), QStringLiteral("\r\n")));
    ps.SetPrintGraphics(yes("PrintGraphics", "N"));
    // Written back as read: a missing file is thereby created.
    ini.UpdateFile();
}
