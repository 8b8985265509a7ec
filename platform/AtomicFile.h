#pragma once
// Writing a file whole under a temporary name in the same folder, then renaming it over the old
// one: a failure at any point leaves the old file as it was.
#include <QByteArray>
#include <QString>

namespace platform {

// Writes `data` to `path` atomically. Returns false and fills `error` (when given) on failure;
// the previous content of `path` is then untouched.
bool WriteFileAtomic(const QString& path, const QByteArray& data, QString* error = nullptr);

} // namespace platform
