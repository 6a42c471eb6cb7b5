// SPDX-License-Identifier: MIT
#include "store/DiskSync.h"

#include <QtGlobal>

#include <cerrno>
#include <system_error>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

std::optional<QString> SyncToDisk(int handle)
{
#if defined(Q_OS_WIN)
    const int result = _commit(handle);
#elif defined(Q_OS_DARWIN)
    const int result = ::fsync(handle);
#else
    int result = 0;
    do
        result = ::fdatasync(handle);
    while (result != 0 && errno == EINTR);
#endif
    if (result == 0)
        return std::nullopt;
    return QString::fromLocal8Bit(std::generic_category().message(errno));
}
