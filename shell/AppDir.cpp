#include "shell/AppDir.h"

QString AppDirFromExecutableDir(const QString& executableDir)
{
    if (executableDir.endsWith(u'/') || executableDir.endsWith(u'\\'))
        return executableDir.chopped(1);
    return executableDir;
}
