#include "core/ULanguage.h"

#include "core/UComon.h"
#include "platform/CodePage.h"
#include "platform/SysUtils.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

TLangTable Lang_Table;
int Lang_Table_Size = 0;

const QString& TLangTable::operator[](int Index) const
{
    static const QString empty;
    if (Index < 0 || Index >= FItems.size())
        return empty;
    return FItems[Index];
}

void TLangTable::Set(int Index, const QString& Text)
{
    if (Index >= 0 && Index < FItems.size())
        FItems[Index] = Text;
}

void Load_Default_Language()
{
    Lang_Table.Clear();
    for (int i = 0; i < Lang_Table_Entries; ++i)
        Lang_Table.Add(QString::fromUtf8(Default_Lang_Texts[i]));
    Lang_Table_Size = Lang_Table_Entries;
}

namespace {

// A language file's text: the encoding its byte-order mark names, else the system code page.
QString Decode_Language_File(const QByteArray& Data)
{
    if (Data.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(Data.mid(3));
    if (Data.startsWith("\xFF\xFE")) {
        QStringDecoder Dec(QStringDecoder::Utf16LE);
        return Dec(Data.mid(2));
    }
    if (Data.startsWith("\xFE\xFF")) {
        QStringDecoder Dec(QStringDecoder::Utf16BE);
        return Dec(Data.mid(2));
    }
    return platform::FromAnsi(Data);
}

const QChar Pilcrow(0x00B6);

} // namespace

bool Apply_Language_Line(const QString& Line)
{
    const QString S = platform::Trim(Line);
    if (!S.startsWith(QLatin1String("STR")))
        return false;
    // The character just before "=" is the separator and never part of the key.
    const int Eq = S.indexOf('=');
    if (Eq < 0)
        return false;
    const QString KeyText = platform::Trim(S.mid(3, Eq - 4 > 0 ? Eq - 4 : 0));
    int Key = 0;
    if (KeyText.isEmpty() || !platform::TryStrToInt(KeyText, Key))
        return false;
    if (Key < 0 || Key >= Lang_Table_Size)
        return false;
    QString Value = platform::Trim(S.mid(Eq + 1));
    if (Value.isEmpty())
        return false;
    const int Note = Value.indexOf(QLatin1String("/#/"));
    if (Note >= 0) {
        Value = platform::Trim(Value.left(Note));
        if (Value.isEmpty())
            return false;
    }
    // A leading pilcrow lets a text begin with blanks, the next one lets it end with blanks.
    if (Value.startsWith(Pilcrow))
        Value.remove(0, 1);
    const int End = Value.indexOf(Pilcrow);
    if (End >= 0)
        Value.truncate(End);
    Lang_Table.Set(Key, Value);
    return true;
}

void Load_Language_File(const QString& FileName)
{
    QFile F(FileName);
    if (!F.open(QIODevice::ReadOnly))
        return;
    const QString Text = Decode_Language_File(F.readAll());
    static const QRegularExpression LineEnd(QStringLiteral("\r\n|\n|\r"));
    for (const QString& Line : Text.split(LineEnd))
        Apply_Language_Line(Line);
}

void Load_Language()
{
    Load_Default_Language();
    const QString File = Language_Dir + QLatin1Char('/') + Active_Language + QStringLiteral(".lng");
    // A name with a path in it would load a file from outside LANGUAGE.
    if (Is_Plain_Conf_Name(Active_Language) && QFileInfo(File).isFile()) {
        Load_Language_File(File);
        return;
    }
    Active_Language = Default_Language;
    const QString English = Language_Dir + QStringLiteral("/English.lng");
    if (QFileInfo(English).isFile())
        Load_Language_File(English);
}
