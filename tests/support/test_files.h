#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;

// Writes `bytes` to the file `name` in `dir` and returns its path; an empty path when the
// file cannot be made.
QString writeTestFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
