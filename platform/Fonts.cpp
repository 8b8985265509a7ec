#include "platform/Fonts.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

namespace platform {

QStringList DefaultFontDirs()
{
    // Debian's metric-compatible Tahoma lives outside fontconfig's search path.
    return {QStringLiteral("/usr/share/wine/fonts"), QStringLiteral("/usr/share/fonts/truetype/wine")};
}

namespace {

bool HasFamily(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

} // namespace

QString InstallDesignFonts(const QStringList& searchDirs)
{
    const QString tahoma = QStringLiteral("Tahoma");
    if (!HasFamily(tahoma)) {
        for (const QString& dir : searchDirs) {
            const QDir d(dir);
            // Only the regular face: the bold face shipped beside it draws the regular strokes,
            // so bold headers and current cells would look regular. Without it the font engine
            // emboldens the regular face.
            if (QFile::exists(d.filePath(QStringLiteral("tahoma.ttf"))))
                QFontDatabase::addApplicationFont(d.filePath(QStringLiteral("tahoma.ttf")));
            if (HasFamily(tahoma))
                break;
        }
    }
    if (HasFamily(tahoma)) {
        // The later system UI font has near Tahoma's metrics; the older dialog font is Tahoma's
        // bitmap ancestor.
        for (const char* name : {"Segoe UI", "MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"})
            QFont::insertSubstitution(QString::fromLatin1(name), tahoma);
    }
    return QFontInfo(QFont(tahoma)).family();
}

} // namespace platform
