#include "core/DataLocations.h"

#include "core/AppError.h"
#include "core/ApplicationFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Relative to the executable's folder, so a tree installed under any prefix (or
// staged under DESTDIR) finds its files where it lies.
const QString InstalledShareFolder = QStringLiteral("/../share/vellumark");

// The one place the file names are written: the user's pairs in userFolder, what
// ships with the program in shippedFolder.
DataLocations FilesIn(const QString& userFolder, const QString& shippedFolder, bool installed)
{
    return {userFolder,
            userFolder + QStringLiteral("/問題.dat"),
            shippedFolder + QStringLiteral("/問題.org"),
            shippedFolder + QStringLiteral("/音/karasu.wav"),
            shippedFolder + QStringLiteral("/音/o.wav"),
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

void ProvideUserProblemFile(const DataLocations& locations)
{
    if (!locations.installed || QFileInfo::exists(locations.problemFile))
        return;
    if (!QDir().mkpath(locations.dataFolder))
        throw AppError(AppError::PathFileAccessError,
                       QStringLiteral("問題ファイルのフォルダー「%1」を作れません。").arg(ShownPath(locations.dataFolder)));

    QFile factory(locations.factoryFile);
    if (!factory.open(QIODevice::ReadOnly))
        throw AppError(AppError::FileNotFound, QStringLiteral("問題の工場出荷版「%1」を開けません: %2")
                                                   .arg(ShownPath(locations.factoryFile), factory.errorString()));
    const QByteArray bytes = factory.readAll();
    if (factory.error() != QFileDevice::NoError)
        throw AppError(AppError::DeviceIoError, QStringLiteral("問題の工場出荷版「%1」を読めません: %2")
                                                    .arg(ShownPath(locations.factoryFile), factory.errorString()));

    // Written whole or not at all: a half-copied file would read as a damaged one at the next start.
    QSaveFile user(locations.problemFile);
    if (!user.open(QIODevice::WriteOnly) || user.write(bytes) != bytes.size() || !user.commit())
        throw AppError(AppError::DeviceIoError, QStringLiteral("問題ファイル「%1」を作れません: %2")
                                                    .arg(ShownPath(locations.problemFile), user.errorString()));
}
