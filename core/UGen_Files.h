#pragma once
// What the file generators (EDS, EDE, GSD, MIB) share: the window their message boxes belong to,
// how they name and read an input table, and how they write the text they generated.
#include <QString>
#include <QStringList>

class QWidget;
class TXMLDocument;

// The main window, owner of the generators' boxes (none before it exists).
QWidget* Gen_Owner();

// Upper case of the ASCII letters only, as stored choice texts are compared.
QString Gen_Upper(const QString& s);

// The name a message gives a file: its file name without the folder.
QString Gen_File_Label(const QString& Path);

// Reads an input table; a file that cannot be read or is not well formed raises EXMLError with
// the message the user is shown.
void Gen_Load(TXMLDocument& Doc, const QString& Path);

// Writes the lines, each ended by CR LF, in the system code page, whole or not at all. A failure
// is shown in one error box; returns true when the file was written.
bool Gen_Write_Lines(const QString& Path, const QStringList& Lines);
