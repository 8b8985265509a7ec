#include "core/USettings.h"

#include "core/UComon.h"
#include "core/XMLDocument.h"

#include <QFileInfo>

const QString Settings_File_Name = QStringLiteral("Velmora.xml");

namespace {

// The text of Leaf under Parent, or Def when either is missing or holds no single text.
QString Read_Leaf(const TXMLNode& Parent, const char* Leaf, const QString& Def)
{
    const TXMLNode Node = Parent.FindNode(QString::fromLatin1(Leaf));
    QString Text;
    if (Node.IsNull() || !Node.TryText(Text))
        return Def;
    return Text;
}

// A flag is set only by the exact text "1".
bool Read_Flag(const TXMLNode& Parent, const char* Leaf)
{
    return Read_Leaf(Parent, Leaf, QString()) == QLatin1String("1");
}

QString Flag_Text(bool Flag)
{
    return Flag ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString Settings_Backup_Name(const QString& FileName)
{
    return FileName + QStringLiteral(".bak");
}

bool Read_Settings(TXMLDocument& Doc, const QString& FileName, QString* Unreadable)
{
    Reset_Program_Options();
    QString Error;
    if (!QFileInfo(FileName).isFile() || !Doc.LoadFromFile(FileName, &Error)) {
        if (Unreadable && QFileInfo::exists(FileName))
            *Unreadable = Error.isEmpty() ? QStringLiteral("unknown error") : Error;
        Active_Conf_Path.clear();
        return false;
    }
    const TXMLNode Root = Doc.DocumentElement();
    // Names become folder and file names: one that would reach outside its folder counts as none.
    Active_Conf_Name = Read_Leaf(Root.FindNode(QStringLiteral("lastproj")), "projectname", QString());
    if (!Is_Plain_Conf_Name(Active_Conf_Name))
        Active_Conf_Name.clear();
    Last_IP_Address = Read_Leaf(Root.FindNode(QStringLiteral("lastipadd")), "ipaddress", Default_IP_Address);
    Active_Language = Read_Leaf(Root.FindNode(QStringLiteral("lastlang")), "language", Default_Language);
    if (!Is_Plain_Conf_Name(Active_Language))
        Active_Language = Default_Language;
    const TXMLNode Internet = Root.FindNode(QStringLiteral("lastinternet"));
    Enable_Internet = Read_Flag(Internet, "enable_internet");
    Enable_Update = Read_Flag(Internet, "enable_update");
    Enable_Jump_Field_Tables = Read_Flag(Internet, "enable_jump_field_tables");
    Double_Click_Auto_Size = Read_Flag(Internet, "Double_Click_Auto_Size");
    return true;
}

bool Write_Settings(TXMLDocument& Doc, const QString& FileName, QString* Error)
{
    Doc.Clear();
    TXMLNode Root = Doc.AddChild(QStringLiteral("Conf_Settings"));
    Root.AddChild(QStringLiteral("lastproj")).AddChild(QStringLiteral("projectname"), Active_Conf_Name);
    Root.AddChild(QStringLiteral("lastipadd")).AddChild(QStringLiteral("ipaddress"), Last_IP_Address);
    Root.AddChild(QStringLiteral("lastlang")).AddChild(QStringLiteral("language"), Active_Language);
    TXMLNode Internet = Root.AddChild(QStringLiteral("lastinternet"));
    Internet.AddChild(QStringLiteral("enable_internet"), Flag_Text(Enable_Internet));
    Internet.AddChild(QStringLiteral("enable_update"), Flag_Text(Enable_Update));
    Internet.AddChild(QStringLiteral("enable_jump_field_tables"), Flag_Text(Enable_Jump_Field_Tables));
    Internet.AddChild(QStringLiteral("Double_Click_Auto_Size"), Flag_Text(Double_Click_Auto_Size));
    return Doc.SaveToFile(FileName, Error);
}
