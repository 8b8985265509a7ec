#pragma once
// The SNMP MIB generator: an SMI module describing the gateway agent's objects and traps. A fixed
// part (the module's identity, the object tree, fixed data objects), then one object per enabled
// variable of the SNMP variables table (SNMP_Trap.xml) and one notification per enabled read
// variable. The descriptions go to MIB_Lines_A (read) and MIB_Lines_B (write) of UComon.
#include <QString>
#include <QStringList>

#include <cstdint>

// Enabled variables a section can hold (the rows of the SNMP dialog's grids).
constexpr int MIB_Max_Variables = 256;

// Entry n: 1 when the n-th enabled read variable is "INT"; entry 256 + m likewise for the m-th
// enabled write variable.
extern uint8_t MIB_Int_Flags[2 * MIB_Max_Variables];

// The main window's SNMP MIB step: asks for the file, confirms an overwrite, reads the table and
// writes the module.
void Build_MIB_File();

// Fills MIB_Lines_A, MIB_Lines_B and MIB_Int_Flags from File_SNMP_Trap (empty lists when the file
// does not exist). Raises EXMLError for a file that cannot be used.
void Load_SNMP_Table();

// Writes the module from MIB_Lines_A, MIB_Lines_B and MIB_Int_Flags; false (with a message box)
// when the file cannot be written.
bool Write_MIB_File(const QString& FileName);

// The module's lines (without line ends).
QStringList MIB_Lines();

// Registers Build_MIB_File as the main window's "Build_MIB_File" step.
void Register_USNMP_MIB();
