#include "platform/RichText.h"

#include "platform/CodePage.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVector>

#include <algorithm>
#include <array>
#include <cmath>

namespace platform {

namespace {

// ---- Windows-1252 tables, made once --------------------------------------------------------

const std::array<QChar, 256>& AnsiToChar()
{
    static const std::array<QChar, 256> table = [] {
        std::array<QChar, 256> t{};
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString s = FromAnsi(all);
        for (int i = 0; i < 256; ++i)
            t[i] = i < s.size() ? s.at(i) : QChar(u'?');
        return t;
    }();
    return table;
}

const QHash<ushort, uchar>& CharToAnsi()
{
    static const QHash<ushort, uchar> table = [] {
        QHash<ushort, uchar> h;
        const auto& t = AnsiToChar();
        for (int i = 0x80; i < 256; ++i)
            if (t[i] != QChar(u'?') && t[i].unicode() >= 0x80)
                h.insert(t[i].unicode(), uchar(i));
        return h;
    }();
    return table;
}

// ---- reader ----------------------------------------------------------------------------------

enum TDest { dNormal, dFontTable, dColorTable, dSkip };
enum TAlign { alLeft, alCenter, alRight };

struct TCharState {
    int Font = 0;
    int HalfPoints = 24; // \fs: the size in half points (12 pt by default)
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    int Color = 0;     // colour table index, 0 = automatic
    int Highlight = 0; // colour table index, 0 = none
    int Up = 0;        // baseline offset in half points (\up positive, \dn negative)
    int SuperSub = 0;  // 1 \super, -1 \sub
    bool operator==(const TCharState&) const = default;
};

struct TGroup {
    TCharState Ch;
    int Uc = 1;
    TDest Dest = dNormal;
    TAlign Align = alLeft;
};

struct TSink {
    virtual ~TSink() = default;
    virtual void Text(const QString& Text, const TCharState& Ch, TAlign Align) = 0;
    virtual void Par(TAlign Align) = 0;
    virtual void Align(TAlign Align) = 0;
    virtual void Finish() {}
};

class TReader {
public:
    TReader(const QByteArray& Data, TSink& Sink) : FData(Data), FSink(Sink) {}

    // False when the input ended in a fault.
    bool Run();

    QHash<int, QString> Fonts;
    QVector<QColor> Colors; // index 0 is the automatic colour (invalid)

private:
    bool AtEnd() const { return FPos >= FData.size(); }
    uchar Peek() const { return uchar(FData.at(FPos)); }
    void Emit(QChar c);
    void EmitPar();
    void Flush();
    bool ControlWord(const QByteArray& Word, bool HasParam, int Param);
    void Character(QChar c);
    void EndFontEntry();
    void EndColorEntry();

    const QByteArray& FData;
    TSink& FSink;
    int FPos = 0;
    QVector<TGroup> FStack;
    TGroup G;
    QString FRun;
    TCharState FRunCh;
    TAlign FRunAlign = alLeft;
    bool FPendingPar = false;
    int FSkip = 0; // characters still to skip after \uN
    // font and colour table entries being read
    int FFontId = 0;
    QString FFontName;
    int FRed = -1, FGreen = -1, FBlue = -1;
};

void TReader::Flush()
{
    if (FRun.isEmpty())
        return;
    FSink.Text(FRun, FRunCh, FRunAlign);
    FRun.clear();
}

void TReader::Emit(QChar c)
{
    // Control characters other than the tab are no text (\u0, a stray byte below 32).
    if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
        return;
    if (FPendingPar) {
        FPendingPar = false;
        Flush();
        FSink.Par(FRunAlign);
    }
    if (!FRun.isEmpty() && !(FRunCh == G.Ch && FRunAlign == G.Align))
        Flush();
    FRunCh = G.Ch;
    FRunAlign = G.Align;
    FRun.append(c);
}

void TReader::EmitPar()
{
    if (FPendingPar) {
        Flush();
        FSink.Par(FRunAlign);
    }
    Flush();
    FSink.Align(G.Align);
    FRunAlign = G.Align;
    FPendingPar = true;
}

void TReader::EndFontEntry()
{
    const QString name = FFontName.trimmed();
    if (!name.isEmpty() && !Fonts.contains(FFontId))
        Fonts.insert(FFontId, name);
    FFontName.clear();
}

void TReader::EndColorEntry()
{
    if (FRed < 0 && FGreen < 0 && FBlue < 0)
        Colors.append(QColor());
    else
        Colors.append(QColor(std::clamp(FRed, 0, 255), std::clamp(FGreen, 0, 255), std::clamp(FBlue, 0, 255)));
    FRed = FGreen = FBlue = -1;
}

void TReader::Character(QChar c)
{
    switch (G.Dest) {
    case dSkip:
        return;
    case dFontTable:
        if (c == QLatin1Char(';'))
            EndFontEntry();
        else if (FFontName.size() < 256)
            FFontName.append(c);
        return;
    case dColorTable:
        if (c == QLatin1Char(';'))
            EndColorEntry();
        return;
    case dNormal:
        Emit(c);
        return;
    }
}

// Handles one control word; false when it ends the reading.
bool TReader::ControlWord(const QByteArray& W, bool HasParam, int P)
{
    // Destinations first: they hold for the rest of the group.
    if (W == "fonttbl") {
        if (G.Dest != dSkip)
            G.Dest = dFontTable;
        return true;
    }
    if (W == "colortbl") {
        if (G.Dest != dSkip)
            G.Dest = dColorTable;
        return true;
    }
    if (W == "pict" || W == "stylesheet" || W == "info") {
        G.Dest = dSkip;
        return true;
    }
    if (W == "bin") {
        // Binary data: its bytes are not RTF.
        const qint64 n = HasParam ? std::max(0, P) : 0;
        FPos = int(std::min<qint64>(FData.size(), FPos + n));
        return true;
    }
    if (G.Dest == dSkip)
        return true;
    if (G.Dest == dFontTable) {
        if (W == "f")
            FFontId = P;
        return true;
    }
    if (G.Dest == dColorTable) {
        if (W == "red")
            FRed = P;
        else if (W == "green")
            FGreen = P;
        else if (W == "blue")
            FBlue = P;
        return true;
    }
    TCharState& c = G.Ch;
    const bool on = !HasParam || P != 0;
    if (W == "par") {
        EmitPar();
    } else if (W == "line") {
        Emit(QChar(0x2028));
    } else if (W == "tab") {
        Emit(QLatin1Char('\t'));
    } else if (W == "pard") {
        G.Align = alLeft;
    } else if (W == "ql") {
        G.Align = alLeft;
    } else if (W == "qc") {
        G.Align = alCenter;
    } else if (W == "qr") {
        G.Align = alRight;
    } else if (W == "plain") {
        c = TCharState();
    } else if (W == "b") {
        c.Bold = on;
    } else if (W == "i") {
        c.Italic = on;
    } else if (W == "ul") {
        c.Underline = on;
    } else if (W == "ulnone") {
        c.Underline = false;
    } else if (W == "strike") {
        c.Strike = on;
    } else if (W == "f") {
        c.Font = P;
    } else if (W == "fs") {
        c.HalfPoints = HasParam && P > 0 ? std::min(P, 3276) : 24;
    } else if (W == "cf") {
        c.Color = std::max(0, P);
    } else if (W == "highlight") {
        c.Highlight = std::max(0, P);
    } else if (W == "up") {
        c.Up = HasParam ? std::clamp(P, -3276, 3276) : 6;
    } else if (W == "dn") {
        c.Up = HasParam ? -std::clamp(P, -3276, 3276) : -6;
    } else if (W == "super") {
        c.SuperSub = 1;
    } else if (W == "sub") {
        c.SuperSub = -1;
    } else if (W == "nosupersub") {
        c.SuperSub = 0;
        c.Up = 0;
    } else if (W == "uc") {
        G.Uc = std::clamp(P, 0, 16);
    } else if (W == "u") {
        int v = P;
        if (v < 0)
            v += 65536;
        Character(v >= 0 && v <= 0xFFFF ? QChar(ushort(v)) : QChar(u'?'));
        FSkip = G.Uc;
    }
    // other words are ignored
    return true;
}

bool TReader::Run()
{
    const auto& ansi = AnsiToChar();
    bool ok = true;
    while (!AtEnd()) {
        const uchar b = Peek();
        if (b == '{') {
            ++FPos;
            FSkip = 0;
            if (FStack.size() >= RtfMaxDepth) {
                ok = false;
                break;
            }
            FStack.append(G);
            // An ignorable destination: {\* ...}
            if (FPos + 1 < FData.size() && FData.at(FPos) == '\\' && FData.at(FPos + 1) == '*') {
                FPos += 2;
                G.Dest = dSkip;
            }
            continue;
        }
        if (b == '}') {
            ++FPos;
            FSkip = 0;
            if (FStack.isEmpty()) {
                ok = false; // a closing brace that closes nothing
                break;
            }
            if (G.Dest == dFontTable && !FFontName.trimmed().isEmpty())
                EndFontEntry();
            G = FStack.takeLast();
            if (FStack.isEmpty())
                break; // the document's own group is closed
            continue;
        }
        if (b == '\\') {
            ++FPos;
            if (AtEnd())
                break;
            const uchar c = Peek();
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                QByteArray word;
                while (!AtEnd() && ((Peek() >= 'a' && Peek() <= 'z') || (Peek() >= 'A' && Peek() <= 'Z'))) {
                    if (word.size() < 32)
                        word.append(char(Peek()));
                    ++FPos;
                }
                bool hasParam = false;
                bool neg = false;
                qint64 value = 0;
                if (!AtEnd() && Peek() == '-') {
                    neg = true;
                    ++FPos;
                }
                int digits = 0;
                while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
                    if (++digits > 10) {
                        // No parameter has this many digits: a damaged text.
                        Flush();
                        FSink.Finish();
                        return false;
                    }
                    value = value * 10 + (Peek() - '0');
                    ++FPos;
                }
                hasParam = digits > 0;
                if (neg)
                    value = -value;
                value = std::clamp<qint64>(value, INT32_MIN, INT32_MAX);
                if (!AtEnd() && Peek() == ' ')
                    ++FPos;
                if (FSkip > 0) {
                    --FSkip;
                    continue;
                }
                if (!ControlWord(word, hasParam, int(value)))
                    break;
                continue;
            }
            ++FPos;
            if (c == '\'') {
                int v = 0;
                int n = 0;
                while (n < 2 && !AtEnd()) {
                    const uchar h = Peek();
                    const int d = (h >= '0' && h <= '9')   ? h - '0'
                                  : (h >= 'a' && h <= 'f') ? h - 'a' + 10
                                  : (h >= 'A' && h <= 'F') ? h - 'A' + 10
                                                           : -1;
                    if (d < 0)
                        break;
                    v = v * 16 + d;
                    ++n;
                    ++FPos;
                }
                if (FSkip > 0) {
                    --FSkip;
                    continue;
                }
                if (n > 0)
                    Character(ansi[v]);
                continue;
            }
            if (FSkip > 0) {
                --FSkip;
                continue;
            }
            switch (c) {
            case '\\':
            case '{':
            case '}':
                Character(QLatin1Char(char(c)));
                break;
            case '~':
                Character(QChar(0xA0));
                break;
            case '_':
                Character(QLatin1Char('-'));
                break;
            case '\r':
            case '\n':
                if (G.Dest == dNormal)
                    EmitPar();
                break;
            case '*':
                G.Dest = dSkip;
                break;
            default:
                break; // \- and unknown symbols
            }
            continue;
        }
        ++FPos;
        if (b == '\r' || b == '\n' || b == 0)
            continue;
        if (FSkip > 0) {
            --FSkip;
            continue;
        }
        Character(ansi[b]);
    }
    if (!FStack.isEmpty())
        ok = false; // groups left open
    Flush();
    FSink.Finish();
    return ok;
}

// ---- sinks -----------------------------------------------------------------------------------

class TPlainSink : public TSink {
public:
    QString Result;
    void Text(const QString& T, const TCharState&, TAlign) override
    {
        for (QChar c : T) {
            if (c.unicode() == 0x2028)
                Result += QStringLiteral("\r\n");
            else
                Result += c;
        }
    }
    void Par(TAlign) override { Result += QStringLiteral("\r\n"); }
    void Align(TAlign) override {}
};

Qt::Alignment ToQt(TAlign a)
{
    switch (a) {
    case alCenter:
        return Qt::AlignHCenter;
    case alRight:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

class TDocSink : public TSink {
public:
    explicit TDocSink(QTextDocument& Doc) : FCursor(&Doc) {}
    void SetReader(const TReader* Reader) { FReader = Reader; }
    void Text(const QString& T, const TCharState& Ch, TAlign A) override
    {
        Align(A);
        FCursor.insertText(T, Format(Ch));
    }
    void Par(TAlign A) override
    {
        Align(A);
        QTextBlockFormat bf;
        FCursor.insertBlock(bf);
    }
    void Align(TAlign A) override
    {
        const Qt::Alignment want = ToQt(A);
        if (FCursor.blockFormat().alignment() != want) {
            QTextBlockFormat bf = FCursor.blockFormat();
            bf.setAlignment(want);
            FCursor.setBlockFormat(bf);
        }
    }
    QTextCharFormat Format(const TCharState& Ch)
    {
        QTextCharFormat f;
        const QString family = FReader->Fonts.value(Ch.Font);
        if (!family.isEmpty())
            f.setFontFamilies({family});
        f.setFontPointSize(Ch.HalfPoints / 2.0);
        if (Ch.Bold)
            f.setFontWeight(QFont::Bold);
        if (Ch.Italic)
            f.setFontItalic(true);
        if (Ch.Underline)
            f.setFontUnderline(true);
        if (Ch.Strike)
            f.setFontStrikeOut(true);
        if (Ch.Color > 0 && Ch.Color < FReader->Colors.size() && FReader->Colors[Ch.Color].isValid())
            f.setForeground(FReader->Colors[Ch.Color]);
        if (Ch.Highlight > 0 && Ch.Highlight < FReader->Colors.size() && FReader->Colors[Ch.Highlight].isValid())
            f.setBackground(FReader->Colors[Ch.Highlight]);
        if (Ch.Up != 0) {
            f.setProperty(RtfOffsetProperty, Ch.Up * 10);
            f.setBaselineOffset(100.0 * Ch.Up / Ch.HalfPoints);
        }
        if (Ch.SuperSub > 0)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (Ch.SuperSub < 0)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        return f;
    }

private:
    QTextCursor FCursor;
    const TReader* FReader = nullptr;
};

// ---- writer ----------------------------------------------------------------------------------

void AppendEscaped(QByteArray& out, const QString& text)
{
    const auto& toAnsi = CharToAnsi();
    static const char hex[] = "0123456789abcdef";
    for (QChar ch : text) {
        const ushort u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out.append('\\');
            out.append(char(u));
        } else if (u == '\t') {
            out.append("\\tab ");
        } else if (u == 0x2028 || u == '\n' || u == 0x2029) {
            out.append("\\line ");
        } else if (u == 0xA0) {
            out.append("\\~");
        } else if (u < 0x20) {
            // other control characters have no place in the text
        } else if (u < 0x80) {
            out.append(char(u));
        } else if (auto it = toAnsi.find(u); it != toAnsi.end()) {
            out.append("\\'");
            out.append(hex[it.value() >> 4]);
            out.append(hex[it.value() & 15]);
        } else {
            out.append("\\u");
            out.append(QByteArray::number(int(short(u))));
            out.append('?');
        }
    }
}

} // namespace

bool IsRtf(const QByteArray& Rtf)
{
    int i = 0;
    while (i < Rtf.size() && (Rtf.at(i) == ' ' || Rtf.at(i) == '\r' || Rtf.at(i) == '\n' || Rtf.at(i) == '\t'))
        ++i;
    return Rtf.mid(i, 5) == "{\\rtf";
}

bool RtfToDocument(const QByteArray& Rtf, QTextDocument& Doc)
{
    const bool undo = Doc.isUndoRedoEnabled();
    Doc.setUndoRedoEnabled(false);
    Doc.clear();
    TDocSink sink(Doc);
    TReader reader(Rtf, sink);
    sink.SetReader(&reader);
    // One edit block: the document's views lay it out once, not after every run of text.
    QTextCursor batch(&Doc);
    batch.beginEditBlock();
    const bool ok = reader.Run();
    batch.endEditBlock();
    Doc.setUndoRedoEnabled(undo);
    return ok;
}

QByteArray DocumentToRtf(const QTextDocument& Doc)
{
    QStringList fonts;
    QVector<QColor> colors; // index 0 is the automatic colour
    colors.append(QColor());
    const QString defFamily = Doc.defaultFont().family();
    fonts.append(defFamily);
    const double defPoints = Doc.defaultFont().pointSizeF() > 0 ? Doc.defaultFont().pointSizeF() : 12.0;
    auto fontIndex = [&](const QString& family) {
        int i = fonts.indexOf(family);
        if (i < 0) {
            fonts.append(family);
            i = fonts.size() - 1;
        }
        return i;
    };
    auto colorIndex = [&](const QColor& c) {
        const QColor rgb = c.toRgb();
        for (int i = 1; i < colors.size(); ++i)
            if (colors[i].rgb() == rgb.rgb())
                return i;
        colors.append(rgb);
        return int(colors.size() - 1);
    };

    QByteArray body;
    QByteArray lastState;
    bool firstBlock = true;
    for (QTextBlock block = Doc.begin(); block.isValid(); block = block.next()) {
        if (!firstBlock)
            body.append("\\par");
        firstBlock = false;
        body.append("\\pard");
        const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter)
            body.append("\\qc");
        else if (a & (Qt::AlignRight))
            body.append("\\qr");
        bool needSpace = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid())
                continue;
            const QTextCharFormat f = frag.charFormat();
            QByteArray st = "\\plain";
            const QStringList fam = f.fontFamilies().toStringList();
            st += "\\f" + QByteArray::number(fontIndex(fam.isEmpty() ? defFamily : fam.first()));
            const double pts = f.fontPointSize() > 0 ? f.fontPointSize() : defPoints;
            st += "\\fs" + QByteArray::number(int(std::lround(pts * 2)));
            if (f.fontWeight() >= QFont::DemiBold)
                st += "\\b";
            if (f.fontItalic())
                st += "\\i";
            if (f.fontUnderline())
                st += "\\ul";
            if (f.fontStrikeOut())
                st += "\\strike";
            if (f.foreground().style() != Qt::NoBrush)
                st += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
            if (f.background().style() != Qt::NoBrush)
                st += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
            const int twips = f.intProperty(RtfOffsetProperty);
            if (twips > 0)
                st += "\\up" + QByteArray::number(twips / 10);
            else if (twips < 0)
                st += "\\dn" + QByteArray::number(-twips / 10);
            if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                st += "\\super";
            else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
                st += "\\sub";
            if (st != lastState) {
                body.append(st);
                lastState = st;
                needSpace = true;
            }
            QByteArray text;
            AppendEscaped(text, frag.text());
            if (text.isEmpty())
                continue;
            if (needSpace)
                body.append(' ');
            needSpace = false;
            body.append(text);
        }
    }

    // Every paragraph ends with its mark, the last one too, so that an empty last paragraph
    // survives (a reader drops the mark that closes the text).
    body.append("\\par");

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (int i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil ";
        AppendEscaped(out, fonts[i]);
        out += ";}";
    }
    out += "}";
    if (colors.size() > 1) {
        out += "{\\colortbl ;";
        for (int i = 1; i < colors.size(); ++i)
            out += "\\red" + QByteArray::number(colors[i].red()) + "\\green" + QByteArray::number(colors[i].green()) +
                   "\\blue" + QByteArray::number(colors[i].blue()) + ";";
        out += "}";
    }
    out += body;
    out += "}";
    return out;
}

QString RtfToPlainText(const QByteArray& Rtf)
{
    TPlainSink sink;
    TReader reader(Rtf, sink);
    reader.Run();
    return sink.Result;
}

} // namespace platform
