// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The application folder as every file path is built from it: the folder of the
// running executable with one trailing separator removed. A program in the root
// folder therefore gets the empty string (or "C:" on Windows), and every suffix
// such as "/data/問題.dat" starts with its own separator.
QString ApplicationFolderOf(const QString& executableFolder);
