#pragma once
// The CANopen EDS generator: the electronic data sheet ("EDSVersion=4.0") of the gateway's CANopen
// side, built from the configuration's PDO table (PDO_CANopen.xml) and SDO server table
// (SDO_Server_CANopen.xml): a fixed device description and fixed communication objects, then per
// PDO a communication parameter, a mapping parameter and an application object, and per object
// index of the SDO server table one manufacturer object.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class QDateTime;

extern const QString EDS_File_Name;      // "S7comm_CANopen.eds"
extern const QString EDS_Description;    // "S7comm / CANopen - Converter"
extern const QString EDS_Product_Number; // "886"
extern const QString EDS_Order_Code;     // "GX40886"
extern const char* const RPDO_Var_Names[30];
extern const char* const TPDO_Var_Names[30];

// PDOs per direction: the size of PDO_List's halves and of the PDO dialog's grids.
constexpr int EDS_Max_PDO = 30;
// A PDO maps at most this many one-byte entries (its sub-indexes are one byte).
constexpr int EDS_Max_Dimension = 255;

struct TPDO_Entry {
    int32_t COB_ID = 0;
    int32_t Dimension = 0;
};

struct SDO_Sub_Type {
    uint8_t Sub = 0;
    uint8_t Quantity = 0;  // bytes of the value: 1, 2 or 4
    bool Readonly = false; // a row of "SDO_Read"
    QString Mnemonic;      // never filled
};

struct SDO_Index {
    uint16_t Index = 0;
    std::vector<SDO_Sub_Type> Sub_Indexs;
};

// Working data of one generation.
extern TPDO_Entry PDO_List[2 * EDS_Max_PDO]; // 0..29 receive PDOs, 30..59 transmit PDOs
extern int32_t Num_RX_PDO;
extern int32_t Num_TX_PDO;
extern std::vector<SDO_Index> SDO_List;

// The main window's EDS step: asks for the file (no question before an existing one is
// replaced) and writes it.
void Build_EDS_File();

// Builds the whole file from the two tables and the clock and saves it to Path. False (with a
// message box) when a table file cannot be used or the file cannot be written; nothing is
// written then.
bool Write_EDS_File(const QString& Path);

// The two table readers. Each raises EXMLError for a table file that cannot be used.
void Load_PDO_Table();
void Load_SDO_Server_Table();

// Position of the first SDO_List entry with this index, or -1.
int Find_SDO_Index(int Index);
// Orders each entry's sub-entries by sub-index, equal ones keeping their order.
void Sort_SDO_Sub_Indexs();

// The lines of the file from the loaded working data, dated `Now` (without line ends).
QStringList EDS_Lines(const QDateTime& Now);
// "03-07-2021" and, on a 12-hour clock, "12:05AM" (00:05) / "12:30PM" (12:30) / "11:59PM".
QString EDS_Date_Text(const QDateTime& Now);
QString EDS_Time_Text(const QDateTime& Now);

// Registers Build_EDS_File as the main window's "Build_EDS_File" step.
void Register_UEds();
