// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What keeps a file from being read or written, in words the user can act on;
// the system's own reason ("Unknown error", or "No such file" for a folder the
// user may not enter) is often beside the point.
enum class FileTrouble { Missing, AccessDenied, NameTooLong, NotOrdinaryFile, Other };

// Looks at the file and the folders above it. For writing, a folder or file the
// program may not write is also AccessDenied, and names are measured with room
// for the lock file and the temporary copy that are written beside the file.
FileTrouble DiagnoseFileTrouble(const QString& path, bool forWriting);

// The error number a message about it carries.
int ErrorNumberFor(FileTrouble trouble);

// The reason in Japanese; systemReason is used only for Other.
QString FileTroubleText(FileTrouble trouble, const QString& systemReason);
