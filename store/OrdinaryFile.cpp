// SPDX-License-Identifier: MIT
#include "store/OrdinaryFile.h"

#include <QFile>

#if !defined(Q_OS_WIN)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

OrdinaryFileOpening OpenOrdinaryFile(QFile& file)
{
#if defined(Q_OS_WIN)
    // Pipes live apart from the file system there: a path names a file or a folder.
    return file.open(QIODevice::ReadOnly) ? OrdinaryFileOpening::Opened : OrdinaryFileOpening::Failed;
#else
    const int handle = ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        // Qt opens it again to tell why; what could not be opened will not wait.
        return file.open(QIODevice::ReadOnly) ? OrdinaryFileOpening::Opened : OrdinaryFileOpening::Failed;
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(handle);
        return OrdinaryFileOpening::NotOrdinary;
    }
    // Reading an ordinary file never waits, so the handle keeps its flags.
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return OrdinaryFileOpening::Failed;
    }
    return OrdinaryFileOpening::Opened;
#endif
}
