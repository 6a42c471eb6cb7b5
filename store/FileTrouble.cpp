// SPDX-License-Identifier: MIT
#include "store/FileTrouble.h"

#include "core/AppError.h"
#include "store/ProblemFileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The file system's limits: a name of 255 (bytes, or UTF-16 units on Windows),
// a whole path of 4095 bytes (Windows allows long paths through Qt).
constexpr qsizetype MaxNameLength = 255;
#if defined(Q_OS_WIN)
constexpr qsizetype MaxPathLength = 32767;
#else
constexpr qsizetype MaxPathLength = 4095;
#endif
// The longest ending the program puts on a file's name.
constexpr auto WritingRoom = static_cast<qsizetype>(ProblemFileLock::Suffix.size() + ProblemFileLock::RemovalSuffix.size());

qsizetype LengthOf(const QString& text)
{
#if defined(Q_OS_WIN)
    return text.size();
#else
    return QFile::encodeName(text).size();
#endif
}

bool TooLong(const QString& path, qsizetype room)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (LengthOf(absolute) + room > MaxPathLength)
        return true;
    const QStringList names = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < names.size(); ++i)
        if (LengthOf(names.at(i)) + (i + 1 == names.size() ? room : 0) > MaxNameLength)
            return true;
    return false;
}

} // namespace

FileTrouble DiagnoseFileTrouble(const QString& path, bool forWriting)
{
    if (TooLong(path, forWriting ? WritingRoom : 0))
        return FileTrouble::NameTooLong;
    // From the top down: the first folder that is missing or shut decides.
    const QFileInfo file(path);
    QStringList folders;
    for (QString folder = file.absolutePath(); !folders.contains(folder); folder = QFileInfo(folder).absolutePath())
        folders.prepend(folder);
    for (const QString& folder : folders) {
        const QFileInfo info(folder);
        if (!info.exists())
            return FileTrouble::Missing;
        if (!info.isDir())
            return FileTrouble::NotOrdinaryFile;
#if !defined(Q_OS_WIN)  // folders there have no search permission to look at
        if (!info.isExecutable())
            return FileTrouble::AccessDenied;
#endif
    }
    if (forWriting && !QFileInfo(file.absolutePath()).isWritable())
        return FileTrouble::AccessDenied;
    if (!file.exists())
        return forWriting ? FileTrouble::Other : FileTrouble::Missing;
    if (!file.isFile())
        return FileTrouble::NotOrdinaryFile;
    if (forWriting ? !file.isWritable() : !file.isReadable())
        return FileTrouble::AccessDenied;
    return FileTrouble::Other;
}

int ErrorNumberFor(FileTrouble trouble)
{
    switch (trouble) {
    case FileTrouble::Missing:
        return AppError::FileNotFound;
    case FileTrouble::AccessDenied:
        return AppError::PermissionDenied;
    default:
        return AppError::PathFileAccessError;
    }
}

QString FileTroubleText(FileTrouble trouble, const QString& systemReason)
{
    switch (trouble) {
    case FileTrouble::Missing:
        return QStringLiteral("ファイルかフォルダーが見つかりません。");
    case FileTrouble::AccessDenied:
        return QStringLiteral("アクセスが拒否されました。このファイルかフォルダーを使う許可がありません。");
    case FileTrouble::NameTooLong:
        return QStringLiteral("パスが長すぎます。もっと短い場所にプログラムを置いて下さい。");
    case FileTrouble::NotOrdinaryFile:
        return QStringLiteral("普通のファイルではありません (フォルダー、名前付きパイプ、装置など)。");
    case FileTrouble::Other:
        break;
    }
    const QString reason = systemReason.trimmed();
    if (reason.isEmpty() || reason == QStringLiteral("Unknown error"))
        return QStringLiteral("原因はシステムから知らされていません。");
    return QStringLiteral("システムからの報告: %1").arg(reason);
}
