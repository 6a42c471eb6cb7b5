// SPDX-License-Identifier: MIT
#include "core/ApplicationFolder.h"

QString ApplicationFolderOf(const QString& executableFolder)
{
    if (executableFolder.endsWith(u'/') || executableFolder.endsWith(u'\\'))
        return executableFolder.chopped(1);
    return executableFolder;
}
