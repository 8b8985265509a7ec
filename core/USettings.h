#pragma once
// The settings file beside the program (Velmora.xml): the remembered configuration, the last
// device address, the language and the four program options.
#include <QString>

class TXMLDocument;

// Settings file name inside the program folder.
extern const QString Settings_File_Name; // "Velmora.xml"

// Fills the option globals from the file; each value missing or unreadable takes its default, and a
// configuration or language name that is not a plain name (Is_Plain_Conf_Name) counts as missing.
// A missing file, or one that cannot be read or is not well-formed, gives every default and clears
// Active_Conf_Path. Returns true when the file was read; when a file is there but could not be
// read, `Unreadable` gets the reason.
bool Read_Settings(TXMLDocument& Doc, const QString& FileName, QString* Unreadable = nullptr);

// The name an unreadable settings file is kept under before it is written again.
QString Settings_Backup_Name(const QString& FileName); // "<FileName>.bak"

// Writes the whole file from the globals (replacing it atomically). False, with the reason in
// `Error`, when the file could not be written; the old file is then untouched.
bool Write_Settings(TXMLDocument& Doc, const QString& FileName, QString* Error = nullptr);
