// SPDX-License-Identifier: MIT
#include "core/DataLocations.h"

#include "core/AppError.h"
#include "core/ApplicationFolder.h"

#include "DataFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Relative to the executable's folder, so a tree installed under any prefix (or
// staged under DESTDIR) finds its files where it lies.
const QString InstalledShareFolder = QStringLiteral("/../share/vellumark");

// The user's pairs in userFolder, what ships with the program in shippedFolder, by
// the names the build places them under.
DataLocations FilesIn(const QString& userFolder, const QString& shippedFolder, bool installed)
{
    return {userFolder,
            userFolder + QStringLiteral("/" VELLUMARK_PROBLEM_FILE),
            shippedFolder + QStringLiteral("/" VELLUMARK_FACTORY_FILE),
            shippedFolder + QStringLiteral("/" VELLUMARK_CROW_SOUND),
            shippedFolder + QStringLiteral("/" VELLUMARK_HIT_SOUND),
            installed};
}

} // namespace

DataLocations PortableDataLocations(const QString& applicationFolder)
{
    const QString data = applicationFolder + QStringLiteral("/data");
    return FilesIn(data, data, false);
}

DataLocations ResolveDataLocations(const QString& executableFolder, const QString& perUserFolder)
{
    const QString folder = ApplicationFolderOf(executableFolder);
    // The portable layout keeps its paths exactly as they always were.
    if (QFileInfo(folder + QStringLiteral("/data")).isDir())
        return PortableDataLocations(folder);

    const QString share = QDir::cleanPath(folder + InstalledShareFolder);
    if (perUserFolder.isEmpty())
        throw AppError(AppError::PathFileAccessError, QStringLiteral("利用者ごとのデータフォルダーが決まりません。"));
    const DataLocations locations = FilesIn(QDir::cleanPath(perUserFolder), share, true);
    if (!QFileInfo(locations.factoryFile).isFile())
        throw AppError(AppError::FileNotFound,
                       QStringLiteral("問題の工場出荷版「%1」が見つかりません。プログラムの横に data フォルダーもありません。"
                                      "インストールし直してください。")
                           .arg(ShownPath(locations.factoryFile)));
    return locations;
}

QString PerUserDataFolder()
{
    const QString qtFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty() && QDir::isRelativePath(dataHome)) {
        // Qt joins the program's own part to the base folder; keep that part.
        const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QString own = qtFolder.startsWith(base) ? qtFolder.mid(base.size()) : QString();
        return QDir::homePath() + QStringLiteral("/.local/share") + own;
    }
#endif
    return qtFolder;
}
