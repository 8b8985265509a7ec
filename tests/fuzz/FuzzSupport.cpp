#include "FuzzSupport.h"

#include "core/ULanguage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace kt_fuzz {

namespace {

QTemporaryDir* Folder = nullptr;
platform::ScriptedServices* Scripted = nullptr;

} // namespace

void Start(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives for the whole run, as the application does in the program.
    new QApplication(*argc, *argv);
    Folder = new QTemporaryDir;
    // libFuzzer ends a run through exit(); the folder goes with it, or every run would leave one
    // in the system's temporary folder.
    std::atexit([] {
        if (Folder)
            Folder->remove();
    });
    Scripted = new platform::ScriptedServices;
    new platform::ScopedServices(*Scripted);
    Load_Default_Language();
}

QString Path(const QString& name)
{
    return Folder->filePath(name);
}

void Put(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(data);
}

platform::ScriptedServices& Services()
{
    return *Scripted;
}

void Clear_Services()
{
    Scripted->Log.clear();
    Scripted->MessageBoxes.clear();
    Scripted->MessageBoxAnswers.clear();
    Scripted->SaveDialogs.clear();
    Scripted->SaveDialogAnswers.clear();
}

} // namespace kt_fuzz
