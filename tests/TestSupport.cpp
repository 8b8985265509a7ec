#include "TestSupport.h"
#include <QDir>
#include <QFile>

namespace kt_test {

QString FixturePath(const QString& name)
{
    return QDir(QStringLiteral(KT_FIXTURES_DIR)).filePath(name);
}

QString GrabPath(const QString& name)
{
    QDir dir(QStringLiteral(KT_GRABS_DIR));
    dir.mkpath(QStringLiteral("."));
    return dir.filePath(name);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace kt_test
