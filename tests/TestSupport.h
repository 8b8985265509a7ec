#pragma once
// Small helpers shared by every test suite.
#include <QString>
#include <QTemporaryDir>

namespace kt_test {

// Folder of the hand-made fixtures (tests/fixtures).
QString FixturePath(const QString& name);

// Where tests save their PNG grabs so that a person can look at them.
QString GrabPath(const QString& name);

// Reads a whole file; empty when it cannot be read.
QByteArray ReadFile(const QString& path);

} // namespace kt_test
