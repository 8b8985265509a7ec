#pragma once
// What the file generators (EDS, EDE, GSD, MIB) share: the window their message boxes belong to,
// how they name and read an input table, and how they write the text they generated.
#include "platform/Services.h"

#include <QString>
#include <QStringList>

class QWidget;
class TFVelmoraeFirmWare;
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
// The same for a table the configuration may lack: false, with nothing read, when the file does
// not exist.
bool Gen_Load_Existing(TXMLDocument& Doc, const QString& Path);

// Asks for the file to generate in the configuration folder, through the main window's save
// request `Request` of that generator (a fresh one when there is no window or none is named).
// The dialog never asks about an existing file itself: the generator does, or replaces it.
// False when the user cancelled.
bool Gen_Ask_File(platform::TSaveDialogRequest TFVelmoraeFirmWare::*Request, const QString& Filter,
                  const QString& Default_Ext, QString& Chosen);

// True unless the file exists and the user answers the language text `Question` with anything
// but Yes.
bool Gen_May_Replace(const QString& Path, int Question, platform::TMsgDlgButtons Buttons);

// Writes the lines, each ended by CR LF, in the system code page, whole or not at all. A failure
// is shown in one error box; returns true when the file was written.
bool Gen_Write_Lines(const QString& Path, const QStringList& Lines);
