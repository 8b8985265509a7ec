#include "core/UGen_Files.h"

#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "core/XMLDocument.h"
#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/Services.h"

#include <QFileInfo>

QWidget* Gen_Owner()
{
    return FVelmoraeFirmWare;
}

QString Gen_Upper(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 32);
    return r;
}

QString Gen_File_Label(const QString& Path)
{
    return QFileInfo(Path).fileName();
}

void Gen_Load(TXMLDocument& Doc, const QString& Path)
{
    QString why;
    if (!Doc.LoadFromFile(Path, &why))
        throw EXMLError(QStringLiteral("Error! The file \"%1\" cannot be read: %2").arg(Gen_File_Label(Path), why));
}

bool Gen_Load_Existing(TXMLDocument& Doc, const QString& Path)
{
    if (!QFileInfo::exists(Path))
        return false;
    Gen_Load(Doc, Path);
    return true;
}

bool Gen_Ask_File(platform::TSaveDialogRequest TFVelmoraeFirmWare::*Request, const QString& Filter,
                  const QString& Default_Ext, QString& Chosen)
{
    platform::TSaveDialogRequest local;
    platform::TSaveDialogRequest& dialog = FVelmoraeFirmWare && Request ? FVelmoraeFirmWare->*Request : local;
    dialog.InitialDir = Active_Conf_Path;
    dialog.Filter = Filter;
    dialog.DefaultExt = Default_Ext;
    dialog.OverwritePrompt = false;
    return platform::TheServices().SaveFileDialog(dialog, Chosen, Gen_Owner());
}

bool Gen_May_Replace(const QString& Path, int Question, platform::TMsgDlgButtons Buttons)
{
    return !QFileInfo::exists(Path) ||
           platform::MessageDlg(Lang_Table[Question], platform::mtConfirmation, Buttons, Gen_Owner()) == platform::mrYes;
}

bool Gen_Write_Lines(const QString& Path, const QStringList& Lines)
{
    QString why;
    if (platform::WriteFileAtomic(Path, platform::ToAnsi(Lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")),
                                  &why))
        return true;
    platform::MessageDlg(QStringLiteral("Error! The file \"%1\" cannot be written: %2").arg(Path, why),
                         platform::mtError, platform::mbOK, Gen_Owner());
    return false;
}
