#pragma once
// The BACnet EDE generator: the gateway's BACnet objects as an engineering data exchange list, a
// semicolon-separated text of one device's objects, built from the configuration's BACnet objects
// table (BACnet_Slave.xml) and the device parameters of ParGen.xml.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class QDateTime;

// One line of the EDE file.
class TBACnet_EDE_Obj {
public:
    QString Keyname;         // device instance + "_" + whole mnemonic + "_" + instance
    QString DevObjInstance;  // BACnet_Dev_Instance
    QString ObjectName;      // first 16 (32 with long names) characters of the mnemonic
    QString ObjectType;      // object type number, decimal
    QString ObjectInstance;  // instance within its type, decimal, from 0
    QString Description;     // as ObjectName
    QString UnitCode;        // the row's Eng_Unit, unchanged
};

// The objects of the generation running, in file order; empty outside a generation.
extern std::vector<std::unique_ptr<TBACnet_EDE_Obj>> EDE_Objects;
extern QString BACnet_Dev_Instance;
extern bool EDE_Long_Names;

// The main window's EDE step: asks for the file (".csv" added unless it ends the name), confirms
// an overwrite (Yes, No, Cancel) and generates.
void BACnet_EDE_File();

// One generation into FileName; false (with a message box) when an input cannot be used or the
// file cannot be written, an existing file then being left as it was.
bool Build_EDE_File(const QString& FileName);
bool Write_EDE_File(const QString& FileName);

void Reset_Instance_Counters();
// Both raise EXMLError for an input file that cannot be used.
void Load_BACnet_Parameters();
void Load_BACnet_Objects();

// The object type number of an upper-case type text (0 for an unknown text).
int32_t BACnet_Object_Type_Code(const QString& Type);
// The type's next instance number (then counted up).
int32_t Next_Object_Instance(int32_t Object_Type);

// "09:05:07 03/02/2021": the clock's local time, or the given moment.
QString EDE_Timestamp();
QString EDE_Timestamp(const QDateTime& Now);

// The EDE lines of EDE_Objects (without line ends), and writing them to FileName.
QStringList EDE_Lines(const QString& Timestamp);
bool Save_EDE_Text(const QString& FileName);

// The chosen name with ".csv" appended unless its last four characters are ".csv" in any case.
QString EDE_File_Name(const QString& Chosen);

// Registers BACnet_EDE_File as the main window's "BACnet_EDE_File" step.
void Register_UBACnet_EDE_File();
