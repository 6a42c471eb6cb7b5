// SPDX-License-Identifier: MIT
#include "core/DataLocations.h"

#include "core/AppError.h"
#include "core/ApplicationFolder.h"

#include "DataFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <pwd.h>
#include <unistd.h>
#endif

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

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
// A session started without HOME (a service, `env -i`) still has a home folder.
QString HomeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(home);
    const passwd* user = getpwuid(getuid());
    if (!user || !user->pw_dir || !*user->pw_dir)
        return {};
    return QDir::cleanPath(QFile::decodeName(user->pw_dir));
}
#endif

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
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome)) {
        const QString home = HomeFolder();
        if (home.isEmpty())
            return {};
        // Qt joins the program's own part to the base folder; keep that part.
        const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const QString own = qtFolder.startsWith(base) ? qtFolder.mid(base.size()) : QString();
        return home + QStringLiteral("/.local/share") + own;
    }
#endif
    return qtFolder;
}

void MakeUserDataFolder(const QString& folder)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdU16String()), error);
    if (!error)
        return;
    // The deepest path that exists is the one in the way: a file, or a folder
    // that may not be written.
    QString inTheWay = QDir::cleanPath(folder);
    while (!QFileInfo::exists(inTheWay) && QFileInfo(inTheWay).path() != inTheWay)
        inTheWay = QFileInfo(inTheWay).path();
    const QString where = QFileInfo(inTheWay).isDir() ? QStringLiteral("「%1」の中にフォルダーを作れません")
                                                      : QStringLiteral("「%1」がフォルダーではありません");
    throw AppError(AppError::PathFileAccessError,
                   QStringLiteral("問題ファイルのフォルダー「%1」を作れません: %2 (%3)。")
                       .arg(ShownPath(folder), where.arg(ShownPath(inTheWay)),
                            QString::fromLocal8Bit(error.message())));
}
