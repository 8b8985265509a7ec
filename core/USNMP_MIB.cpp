#include "core/USNMP_MIB.h"

#include "core/UComon.h"
#include "core/UGen_Files.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "core/XMLDocument.h"
#include "platform/Services.h"

#include <QFileInfo>

uint8_t MIB_Int_Flags[2 * MIB_Max_Variables] = {};

namespace {

// The maker's contact block and private enterprise number.
const char* const Contact_Street = "Example Street 1";
const char* const Contact_Town = "00000 Sampletown (SP)";
const char* const Contact_Country = "Example Country";
const char* const Contact_Mail = "support@norvane.example";
constexpr int Enterprise_Number = 32473;

void Load_Section(const TXMLNode& root, const char* name, QStringList& lines, int firstFlag)
{
    const TXMLNode section = root.FindNode(name);
    if (!section)
        throw EXMLError(QStringLiteral("Error! The file \"%1\" has no section %2.")
                            .arg(QFileInfo(File_SNMP_Trap).fileName(), QLatin1String(name)));
    int taken = 0;
    for (const TXMLNode& row : section.ChildNodes()) {
        QString enable;
        if (!row.TryAttribute("Enable", enable) || Gen_Upper(enable) != QLatin1String("Y"))
            continue;
        if (taken == MIB_Max_Variables)
            throw EXMLError(QStringLiteral("Error! The file \"%1\", section %2, holds more than %3 enabled variables.")
                                .arg(QFileInfo(File_SNMP_Trap).fileName(), QLatin1String(name))
                                .arg(MIB_Max_Variables));
        const QString description = row.AttributeDef("Description", QString());
        const QString type = row.AttributeDef("Type", QString());
        MIB_Int_Flags[firstFlag + taken] = Gen_Upper(type) == QLatin1String("INT") ? 1 : 0;
        lines << description;
        ++taken;
    }
}

QString Quoted(const QString& s)
{
    return QStringLiteral("\"") + s + QStringLiteral("\"");
}

// One object or notification line of a variable.
QString Variable(const QString& name, const char* kind, bool isInt, const char* access, const QString& description,
                 const char* parent, int N)
{
    return name + QStringLiteral(" ") + QLatin1String(kind) + QStringLiteral(" SYNTAX ") +
           (isInt ? QStringLiteral("INTEGER") : QStringLiteral("OCTET STRING")) + QStringLiteral(" MAX-ACCESS ") +
           QLatin1String(access) + QStringLiteral(" STATUS current DESCRIPTION ") + Quoted(description) +
           QStringLiteral(" ::= { ") + QLatin1String(parent) + QStringLiteral(" ") + QString::number(N) +
           QStringLiteral(" }");
}

void Blocks(QStringList& L, const char* prefix, const char* access)
{
    for (int k = 1; k <= 8; ++k)
        L << QStringLiteral("%1blk%2 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS %3 STATUS current DESCRIPTION "
                            "\"data block n.%2\" ::= { %1 %2 }")
                 .arg(QLatin1String(prefix))
                 .arg(k)
                 .arg(QLatin1String(access));
}

} // namespace

void Load_SNMP_Table()
{
    MIB_Lines_A.clear();
    MIB_Lines_B.clear();
    if (!QFileInfo::exists(File_SNMP_Trap))
        return;
    TXMLDocument doc;
    QString why;
    if (!doc.LoadFromFile(File_SNMP_Trap, &why))
        throw EXMLError(QStringLiteral("Error! The file \"%1\" cannot be read: %2")
                            .arg(QFileInfo(File_SNMP_Trap).fileName(), why));
    const TXMLNode root = doc.DocumentElement();
    Load_Section(root, "SNMP_Trap_Read", MIB_Lines_A, 0);
    Load_Section(root, "SNMP_Trap_Write", MIB_Lines_B, MIB_Max_Variables);
}

// A data buffer of the module: its identifier, its eight blocks, then one variable per line of
// the table, named by its description or, without one, by its number.
void Buffer(QStringList& L, const char* buffer, int number, const char* access, const QStringList& lines,
            int firstFlag)
{
    const QString name = QLatin1String(buffer);
    const QByteArray values = QByteArray(buffer) + "val";
    L << QStringLiteral("%1 OBJECT IDENTIFIER::= { data %2 }").arg(name).arg(number);
    Blocks(L, buffer, access);
    L << QStringLiteral(" %1 OBJECT IDENTIFIER::= { %2 9 }").arg(QLatin1String(values), name);
    for (int i = 0; i < int(lines.size()); ++i) {
        const QString& D = lines[i];
        const QString var = D.isEmpty() ? QLatin1String(values) + QString::number(i + 1) : D;
        L << Variable(var, "OBJECT-TYPE", MIB_Int_Flags[firstFlag + i] == 1, access, D, values.constData(), i + 1);
    }
}

QStringList MIB_Lines()
{
    const QString b4(4, QLatin1Char(' '));
    const QString b9(9, QLatin1Char(' '));
    QStringList L;
    L << QStringLiteral("GATEWAY DEFINITIONS ::= BEGIN") << QStringLiteral("IMPORTS")
      << QStringLiteral("       MODULE-IDENTITY,OBJECT-TYPE") << b9 + QStringLiteral("FROM SNMPv2-SMI")
      << b9 + QStringLiteral("DisplayString, TimeStamp") << b9 + QStringLiteral("FROM SNMPv2-TC")
      << b9 + QStringLiteral("enterprises") << b9 + QStringLiteral("FROM RFC1155-SMI;") << QString();
    L << QStringLiteral("identity MODULE-IDENTITY");
    L << b4 + QStringLiteral("LAST-UPDATED ") + Quoted(QStringLiteral("201701310000Z"));
    L << b4 + QStringLiteral("ORGANIZATION ") + Quoted(Maker_Web_Host);
    L << b4 + QStringLiteral("CONTACT-INFO");
    L << QStringLiteral("\t \"") + QLatin1String(Contact_Street);
    L << b4 + QLatin1String(Contact_Town);
    L << b4 + QLatin1String(Contact_Country);
    L << b4 + QStringLiteral("email:    ") + QLatin1String(Contact_Mail) + QStringLiteral("\"");
    L << b4 + QStringLiteral("DESCRIPTION");
    L << QStringLiteral("\t") + Quoted(QStringLiteral("MIB objects for agent module "));
    L << b4 + QStringLiteral("REVISION     ") + Quoted(QStringLiteral("201701310000Z"));
    L << b4 + QStringLiteral("DESCRIPTION");
    L << QStringLiteral("\t") + Quoted(QStringLiteral("Corrected notification "));
    L << b4 + QStringLiteral("REVISION     ") + Quoted(QStringLiteral("200202060000Z"));
    L << b4 + QStringLiteral("DESCRIPTION");
    L << QStringLiteral("\t") + Quoted(QStringLiteral("First draft"));
    L << b4 + QStringLiteral("::= { norvane 2 }");
    L << QStringLiteral("norvane          OBJECT IDENTIFIER ::= { enterprises %1 }").arg(Enterprise_Number);
    L << QStringLiteral("gateway OBJECT IDENTIFIER::= { norvane 1 }")
      << QStringLiteral("application OBJECT IDENTIFIER::= { gateway 1 }")
      << QStringLiteral("data OBJECT IDENTIFIER::= { application 1 }");
    L << QStringLiteral("hellostring OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only  STATUS current  "
                        "DESCRIPTION \"\" ::= { data 1}");
    L << QStringLiteral("countin  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-only  STATUS current  "
                        "DESCRIPTION \"\" ::= { data 2}");
    L << QStringLiteral("countout  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-write STATUS current  "
                        "DESCRIPTION \"\" ::= { data 3}");
    Buffer(L, "bufferin", 4, "read-only", MIB_Lines_A, 0);
    Buffer(L, "bufferout", 5, "read-write", MIB_Lines_B, MIB_Max_Variables);

    L << QStringLiteral("traps OBJECT IDENTIFIER::= { application 2 }");
    L << QStringLiteral(" trapsval OBJECT IDENTIFIER::= { traps 1 }");
    for (int i = 0; i < int(MIB_Lines_A.size()); ++i)
        L << Variable(QStringLiteral("trapval") + QString::number(i + 1), "NOTIFICATION-TYPE", MIB_Int_Flags[i] == 1,
                      "read-only", MIB_Lines_A[i], "trapsval", i + 1);

    L << QStringLiteral("END");
    return L;
}

bool Write_MIB_File(const QString& FileName)
{
    const QStringList lines = MIB_Lines();
    return Gen_Write_Lines(FileName, lines);
}

void Build_MIB_File()
{
    QString chosen;
    if (!Gen_Ask_File(&TFVelmoraeFirmWare::SaveMIB, QStringLiteral("Management Information Base (*.mib)|*.mib"),
                      QStringLiteral("*.mib"), chosen) ||
        !Gen_May_Replace(chosen, 1105, platform::mbYes | platform::mbNo))
        return;
    try {
        Load_SNMP_Table();
    } catch (const EXMLError& e) {
        platform::MessageDlg(e.Message(), platform::mtError, platform::mbOK, Gen_Owner());
        return;
    }
    Write_MIB_File(chosen);
}

void Register_USNMP_MIB()
{
    Register_Step(QStringLiteral("Build_MIB_File"), [] { Build_MIB_File(); });
}
