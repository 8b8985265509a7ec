#include "core/UEthernetUpdate.h"

#include "core/XMLDocument.h"

#include <QDir>

namespace {

QString JoinPath(const QString& folder, const QString& name)
{
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

// One image to transfer.
struct TOperation {
    QString FileName;
    const char* Start_Address;
    const char* Bank_Type;
    const char* Write_CSS;
    bool GoToApp_After;
};

void AddOperation(TXMLNode& operations, const TOperation& op, bool readBack)
{
    TXMLNode o = operations.AddChild(QStringLiteral("Operation"));
    auto add = [&](const char* name, const QString& text) { o.AddChild(QLatin1String(name), text); };
    add("Ope_Protection_Enabled", QString());
    add("Ope_GoToBoot_Before", QStringLiteral("0"));
    add("Ope_GoToApp_Before", QStringLiteral("0"));
    add("Ope_IP_Address", QString());
    add("Ope_Port", QStringLiteral("2008"));
    add("Ope_Port_Sec", QStringLiteral("2007"));
    add("Ope_Erase_Memory", QStringLiteral("0"));
    add("Ope_FileName", op.FileName);
    add("Ope_Start_Address", QLatin1String(op.Start_Address));
    add("Ope_Memory_Type", QStringLiteral("0"));
    add("Ope_Bank_Type", QLatin1String(op.Bank_Type));
    add("Ope_Read_Back", readBack ? QStringLiteral("1") : QStringLiteral("0"));
    add("Ope_Write_CSS", QLatin1String(op.Write_CSS));
    add("Ope_Address_CSS", QStringLiteral("0x07A00"));
    add("Ope_Command_CSS", QStringLiteral("0x02"));
    add("Ope_Write_Internal_Data", QStringLiteral("0"));
    add("Ope_WID_Address", QStringLiteral("0x07810"));
    add("Ope_WID_Command", QStringLiteral("0x02"));
    add("Ope_WID_Data", QStringLiteral("0x00, 0x00, 0x00, 0x01"));
    add("Ope_GoToApp_After", op.GoToApp_After ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

QString Ethernet_Update_Job_File(const QString& Exe_Dir)
{
    return QDir(Exe_Dir).filePath(QStringLiteral("Ethernet_Update.xml"));
}

QString Ethernet_Update_Program(const QString& Exe_Dir)
{
    return QDir(Exe_Dir).filePath(QStringLiteral("Ethernet_Update.exe"));
}

void Build_Ethernet_Update_Job(TXMLDocument& Doc, const QString& IP_Address_Dev, int Update_Option,
                               bool Read_Back, const QString& Master_Dir, const QString& Conf_Path)
{
    Doc.Clear();
    TXMLNode root = Doc.AddChild(QStringLiteral("Ethernet_Update"));
    root.AddChild(QStringLiteral("Version"), QStringLiteral("1000"));
    root.AddChild(QStringLiteral("Title"), QStringLiteral("Norvane - KT40917 Ethernet Update"));
    root.AddChild(QStringLiteral("IP_Address_Dev"), IP_Address_Dev);
    root.AddChild(QStringLiteral("Application_Port"), QStringLiteral("10000"));
    root.AddChild(QStringLiteral("Boot_Port"), QStringLiteral("2008"));
    root.AddChild(QStringLiteral("Boot_Port_Sec"), QStringLiteral("2007"));
    root.AddChild(QStringLiteral("Address_Protection"), QStringLiteral("0x07800"));
    root.AddChild(QStringLiteral("Protections")).AddChild(QStringLiteral("Protection"), QStringLiteral("0x2E1"));
    TXMLNode operations = root.AddChild(QStringLiteral("Operations"));

    const bool firmware = Update_Option == Update_Firmware_And_Configuration || Update_Option == Update_Firmware;
    const bool banks = Update_Option == Update_Firmware_And_Configuration || Update_Option == Update_Configuration;
    if (firmware)
        AddOperation(operations,
                     {JoinPath(Master_Dir, QStringLiteral("Sim40917.sim")), "0x8000", "1", "1",
                      Update_Option == Update_Firmware},
                     Read_Back);
    if (banks) {
        const char* starts[3] = {"0x07000", "0x80000", "0xA0000"};
        for (int n = 1; n <= 3; ++n)
            AddOperation(operations,
                         {JoinPath(Conf_Path, QStringLiteral("bin/bank%1.bin").arg(n)), starts[n - 1], "2", "0", n == 3},
                         Read_Back);
    }
}

bool Compile_XML_Parameter_New_Boot(const QString& Exe_Dir, const QString& Master_Dir, const QString& Conf_Path,
                                    const QString& IP_Address_Dev, int Update_Option, bool Read_Back)
{
    TXMLDocument doc;
    Build_Ethernet_Update_Job(doc, IP_Address_Dev, Update_Option, Read_Back, Master_Dir, Conf_Path);
    QString error;
    if (doc.SaveToFile(Ethernet_Update_Job_File(Exe_Dir), &error))
        return true;
    platform::MessageDlg(QStringLiteral("Error! The update job file cannot be written: %1").arg(error),
                         platform::mtError, platform::mbOK);
    return false;
}

platform::TProgramResult Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo, int Timeout_Ms)
{
    // An error while starting counts as not started, like a start that failed.
    try {
        return platform::TheServices().StartProgramAndWait(NomeSW, Parameter, tipo, Timeout_Ms);
    } catch (const std::exception&) {
        return {};
    }
}
