#pragma once
// The PROFIBUS GSD generator: the device description a DP master's engineering tool imports, for
// the gateway variant with a PROFIBUS slave side. Two byte counts of the configuration's
// ParGen.xml give one module per 64 bytes of data in each direction; the rest of the text is fixed.
#include <QString>
#include <QStringList>

// Byte counts read from ParGen.xml by the last Create_GSD_File.
extern int GSD_NB_Out; // PROFINET_NB_OUT: bytes the master reads; input (DI) modules
extern int GSD_NB_In;  // PROFINET_NB_IN: bytes the master writes; output (DO) modules

// A module's identifier carries its number in one byte, so a file can describe this many modules.
constexpr int GSD_Max_Modules = 255;

// The command of the main window's PROFIBUS GSD step: reads the counts, asks for the file,
// confirms an overwrite and writes it.
void Create_GSD_File();

// Writes the GSD text for GSD_NB_Out and GSD_NB_In to FileName, replacing it whole. False (with a
// message box) when the counts need more modules than a file can describe or the file cannot be
// written; an existing file is then left as it was.
bool Write_GSD_File(const QString& FileName);

// The lines of the GSD text for the given counts (without line ends).
QStringList GSD_Lines(int NB_Out, int NB_In);

// The chosen name with ".gsd" appended unless its first ".gsd" (any letter case) ends it.
QString GSD_File_Name(const QString& Chosen);

// Registers Create_GSD_File as the main window's "Create_GSD_File" step.
void Register_UProfibus_GSD();
