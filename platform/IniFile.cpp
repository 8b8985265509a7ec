#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/SysUtils.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace platform {

namespace {

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

TTextEncoding BomEncoding(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TTextEncoding::UTF8;
    if (bytes.startsWith("\xFF\xFE"))
        return TTextEncoding::Unicode;
    if (bytes.startsWith("\xFE\xFF"))
        return TTextEncoding::BigEndianUnicode;
    return TTextEncoding::Default;
}

QString OneLine(QString s)
{
    s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

} // namespace

TMemIniFile::TMemIniFile(const QString& FileName) : FFileName(FileName)
{
    FSections.push_back(TSection{QString(), false, {}});
    if (!QFileInfo::exists(FileName))
        return;
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
    FEncoding = BomEncoding(bytes);
    TStringList lines;
    lines.SetText(TStringList::DecodeBytes(bytes, TTextEncoding::Default, true));
    for (int i = 0; i < lines.Count(); ++i) {
        const QString raw = lines[i];
        const QString t = Trim(raw);
        if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            FSections.push_back(TSection{Trim(t.mid(1, t.size() - 2)), true, {}});
            continue;
        }
        TLine line;
        const qsizetype eq = raw.indexOf(QLatin1Char('='));
        if (!t.isEmpty() && !t.startsWith(QLatin1Char(';')) && eq >= 0 && !Trim(raw.left(eq)).isEmpty()) {
            line.Entry = true;
            line.Name = Trim(raw.left(eq));
            line.Value = raw.mid(eq + 1);
        } else {
            line.Raw = raw;
        }
        FSections.back().Lines.push_back(line);
    }
}

const TMemIniFile::TSection* TMemIniFile::FindSection(const QString& Section) const
{
    for (const TSection& s : FSections)
        if (s.Header && SameName(s.Name, Section))
            return &s;
    return nullptr;
}

TMemIniFile::TSection* TMemIniFile::FindSection(const QString& Section)
{
    return const_cast<TSection*>(std::as_const(*this).FindSection(Section));
}

const TMemIniFile::TLine* TMemIniFile::FindEntry(const TSection& S, const QString& Ident)
{
    for (const TLine& l : S.Lines)
        if (l.Entry && SameName(l.Name, Ident))
            return &l;
    return nullptr;
}

bool TMemIniFile::SectionExists(const QString& Section) const { return FindSection(Section) != nullptr; }

bool TMemIniFile::ValueExists(const QString& Section, const QString& Ident) const
{
    const TSection* s = FindSection(Section);
    return s && FindEntry(*s, Ident);
}

QString TMemIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const
{
    const TSection* s = FindSection(Section);
    const TLine* l = s ? FindEntry(*s, Ident) : nullptr;
    return l ? l->Value : Default;
}

int TMemIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const
{
    const TSection* s = FindSection(Section);
    const TLine* l = s ? FindEntry(*s, Ident) : nullptr;
    return l ? StrToIntDef(Trim(l->Value), Default) : Default;
}

void TMemIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    TSection* s = FindSection(Section);
    if (!s) {
        // A new section is set off from the one before it by a blank line.
        const TSection& last = FSections.back();
        const bool hasContent = FSections.size() > 1 || !last.Lines.empty();
        const bool endsBlank = !last.Lines.empty() && !last.Lines.back().Entry && Trim(last.Lines.back().Raw).isEmpty();
        if (hasContent && !endsBlank)
            FSections.back().Lines.push_back(TLine{});
        FSections.push_back(TSection{Section, true, {}});
        s = &FSections.back();
    }
    const QString value = OneLine(Value);
    size_t after = 0;
    for (size_t i = 0; i < s->Lines.size(); ++i) {
        TLine& l = s->Lines[i];
        if (!l.Entry)
            continue;
        if (SameName(l.Name, Ident)) {
            l.Value = value;
            return;
        }
        after = i + 1;
    }
    TLine line;
    line.Entry = true;
    line.Name = Ident;
    line.Value = value;
    s->Lines.insert(s->Lines.begin() + qsizetype(after), line);
}

void TMemIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    WriteString(Section, Ident, QString::number(Value));
}

QString TMemIniFile::Text() const
{
    QString out;
    const QString crlf = QStringLiteral("\r\n");
    for (const TSection& s : FSections) {
        if (s.Header)
            out += QLatin1Char('[') + s.Name + QLatin1Char(']') + crlf;
        for (const TLine& l : s.Lines)
            out += (l.Entry ? l.Name + QLatin1Char('=') + l.Value : l.Raw) + crlf;
    }
    return out;
}

void TMemIniFile::UpdateFile()
{
    const QString text = Text();
    QByteArray bytes;
    switch (FEncoding) {
    case TTextEncoding::UTF8:
        bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        break;
    case TTextEncoding::Unicode:
        bytes = QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text);
        break;
    case TTextEncoding::BigEndianUnicode:
        bytes = QByteArray("\xFE\xFF") + QStringEncoder(QStringConverter::Utf16BE).encode(text);
        break;
    case TTextEncoding::Default:
        bytes = ToAnsi(text);
        if (FromAnsi(bytes) != text)
            bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        break;
    }
    QString error;
    if (!WriteFileAtomic(FFileName, bytes, &error))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FFileName, error));
}

} // namespace platform
