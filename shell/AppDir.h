#pragma once

#include <QString>

// The application directory as every file path is built from it: the directory of
// the running executable with one trailing separator removed. A program in the
// root directory therefore gets the empty string (or "C:" on Windows), and every
// suffix such as "/data/問題.dat" starts with its own separator.
QString AppDirFromExecutableDir(const QString& executableDir);
