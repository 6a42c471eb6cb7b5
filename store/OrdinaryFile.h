// SPDX-License-Identifier: MIT
#pragma once

class QFile;

// Opens `file` for reading only if it is an ordinary file. Opening a named pipe
// would wait for a writer for ever, and looking first by name costs a second walk
// down the path on every load; so the file is opened without waiting and then
// looked at through its handle.
enum class OrdinaryFileOpening { Opened, NotOrdinary, Failed };
OrdinaryFileOpening OpenOrdinaryFile(QFile& file);
