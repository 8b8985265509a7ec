#pragma once
// The transfer to the device is done by a separate update program, Ethernet_Update.exe, in the
// program folder. We describe the transfer in the job file Ethernet_Update.xml beside it, then start
// the program and wait for its end.
#include "platform/Services.h"

#include <QString>

class TXMLDocument;

// Items of the update dialog's option list.
constexpr int Update_Firmware_And_Configuration = 0;
constexpr int Update_Firmware = 1;
constexpr int Update_Configuration = 2;

// How long Start_Program waits for the update program before it stops waiting.
constexpr int Start_Program_Timeout_Ms = 150000;

QString Ethernet_Update_Job_File(const QString& Exe_Dir);  // <Exe_Dir>/Ethernet_Update.xml
QString Ethernet_Update_Program(const QString& Exe_Dir);   // <Exe_Dir>/Ethernet_Update.exe

// Fills `Doc` (emptied first) with the job: the device address text (the four octet fields joined
// with ".", as typed), the operations chosen by `Update_Option`, each read back when `Read_Back`.
// The firmware image is <Master_Dir>/Sim40917.sim and the banks <Conf_Path>/bin/bank1..3.bin.
void Build_Ethernet_Update_Job(TXMLDocument& Doc, const QString& IP_Address_Dev, int Update_Option,
                               bool Read_Back, const QString& Master_Dir, const QString& Conf_Path);

// Writes the job file into Exe_Dir, replacing the old one. When it cannot be written, one error
// box tells why, the old file stays, and the result is false: the update program must not start.
bool Compile_XML_Parameter_New_Boot(const QString& Exe_Dir, const QString& Master_Dir, const QString& Conf_Path,
                                    const QString& IP_Address_Dev, int Update_Option, bool Read_Back);

// Starts `NomeSW` with the command line `Parameter` (hidden when `tipo` is true) and waits for its
// end, at most `Timeout_Ms`. After the limit the program keeps running; nothing kills it. A program
// that cannot be started gives TProgramRun::NotStarted; telling the user is the caller's part.
platform::TProgramResult Start_Program(const QString& NomeSW, const QString& Parameter, bool tipo,
                                       int Timeout_Ms = Start_Program_Timeout_Ms);
