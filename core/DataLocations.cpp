#include "core/DataLocations.h"

#include "core/ApplicationFolder.h"

DataLocations PortableDataLocations(const QString& applicationFolder)
{
    const QString data = applicationFolder + QStringLiteral("/data");
    return {data,
            data + QStringLiteral("/問題.dat"),
            data + QStringLiteral("/問題.org"),
            data + QStringLiteral("/音/karasu.wav"),
            data + QStringLiteral("/音/o.wav"),
            false};
}

DataLocations ResolveDataLocations(const QString& executableFolder, const QString&)
{
    return PortableDataLocations(ApplicationFolderOf(executableFolder));
}
