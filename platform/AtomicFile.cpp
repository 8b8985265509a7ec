#include "platform/AtomicFile.h"

#include <QSaveFile>

namespace platform {

bool WriteFileAtomic(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile file(path);
    // The temporary file must live beside the target so that the final rename is atomic; never
    // fall back to writing the target directly.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(data) != data.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace platform
