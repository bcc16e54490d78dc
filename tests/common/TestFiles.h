#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace TestFiles {
// `bytes` as the file `name` in `dir`; its path. A file that cannot be written ends the test run.
QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
} // namespace TestFiles
