// SPDX-License-Identifier: MIT
#include "store/CheckedFile.h"

#include "store/FileTrouble.h"
#include "store/OrdinaryFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>
#include <system_error>

#if !defined(Q_OS_WIN)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 MaxFileBytes = 1 << 20;

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path FileSystemPath(const QString& path)
{
#if defined(Q_OS_WIN)
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// The copy about to replace `path` takes what the user set on the file: the
// permission bits and the group of a list shared in a group. A new file gets
// what the system gives any new file. Where the file system keeps no such
// things, or the saver may not give the group, the save goes on without them.
void TakeAccessOf(const QString& path, int handle)
{
#if defined(Q_OS_WIN)
    // The copy inherits the folder's access rules, as the file did; a read-only
    // file refuses the replace itself.
    Q_UNUSED(path);
    Q_UNUSED(handle);
#else
    struct stat old {};
    mode_t mode = 0;
    if (::stat(QFile::encodeName(path).constData(), &old) == 0) {
        struct stat copy {};
        // Before the mode: changing the group clears the set-id bits.
        if (::fstat(handle, &copy) == 0 && copy.st_gid != old.st_gid)
            (void)!::fchown(handle, static_cast<uid_t>(-1), old.st_gid);
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    (void)!::fchmod(handle, mode);
#endif
}

} // namespace

QString LabelOf(StoreFile file)
{
    return file == StoreFile::Problems ? QStringLiteral("問題ファイル") : QStringLiteral("問題ファイルの初期状態");
}

void ThrowFault(StoreFile file, int number, const QString& text)
{
    if (file == StoreFile::Problems)
        throw ProblemFileUnusable(number, text);
    throw AppError(number, text);
}

std::optional<QByteArray> ReadIfPresent(const QString& path, StoreFile role)
{
    const QString label = LabelOf(role);
    QFile file(path);
    switch (OpenOrdinaryFile(file)) {
    case OrdinaryFileOpening::Opened:
        break;
    case OrdinaryFileOpening::NotOrdinary:
        throw AppError(AppError::PathFileAccessError,
                       QStringLiteral("%1「%2」を開けません: %3")
                           .arg(label, ShownPath(path), FileTroubleText(FileTrouble::NotOrdinaryFile, {})));
    case OrdinaryFileOpening::Failed: {
        const FileTrouble trouble = DiagnoseFileTrouble(path, false);
        if (trouble == FileTrouble::Missing && !QFileInfo::exists(path))
            return std::nullopt;
        throw AppError(ErrorNumberFor(trouble), QStringLiteral("%1「%2」を開けません: %3")
                                                    .arg(label, ShownPath(path), FileTroubleText(trouble, file.errorString())));
    }
    }
    const qint64 size = file.size();
    if (size > MaxFileBytes)
        ThrowFault(role, AppError::BadFileContents,
                   QStringLiteral("%1「%2」は大きすぎて問題ファイルとして読めません (%3 バイト)。")
                       .arg(label, ShownPath(path)).arg(size));
    // In pieces, never past the limit: a file that grows while read has no
    // trustworthy size.
    const qint64 piece = std::max<qint64>(size + 1, 4096);
    QByteArray bytes;
    while (bytes.size() <= MaxFileBytes) {
        const qint64 wanted = std::min(piece, MaxFileBytes + 1 - bytes.size());
        const QByteArray part = file.read(wanted);
        if (file.error() != QFileDevice::NoError)
            throw AppError(AppError::DeviceIoError,
                           QStringLiteral("%1「%2」を読めません: %3")
                               .arg(label, ShownPath(path), FileTroubleText(FileTrouble::Other, file.errorString())));
        bytes += part;
        // An ordinary file gives less than asked only at its end.
        if (part.size() < wanted)
            break;
    }
    if (bytes.size() > MaxFileBytes)
        ThrowFault(role, AppError::BadFileContents,
                   QStringLiteral("%1「%2」は大きすぎて問題ファイルとして読めません。").arg(label, ShownPath(path)));
    return bytes;
}

QByteArray ReadWholeFile(const QString& path, StoreFile file)
{
    std::optional<QByteArray> bytes = ReadIfPresent(path, file);
    if (!bytes)
        ThrowFault(file, AppError::FileNotFound,
                   QStringLiteral("%1「%2」が見つかりません。").arg(LabelOf(file), ShownPath(path)));
    return std::move(*bytes);
}

QString FileBehindLinks(const QString& path)
{
    // The system's own limit on links followed in one path.
    constexpr int MaxLinks = 40;
    QString file = QFileInfo(path).absoluteFilePath();
    for (int followed = 0; followed <= MaxLinks; ++followed) {
        const QFileInfo info(file);
        if (!info.isSymbolicLink())
            return file;
        file = info.symLinkTarget();
    }
    throw AppError(AppError::PathFileAccessError,
                   QStringLiteral("%1「%2」はシンボリックリンクが輪になっていて、ファイルにたどり着きません。")
                       .arg(LabelOf(StoreFile::Problems), ShownPath(path)));
}

AppError WriteError(int number, const QString& path, const QString& reason)
{
    return AppError(number,
                    QStringLiteral("%1「%2」に書き込めません: %3").arg(LabelOf(StoreFile::Problems), ShownPath(path), reason));
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes, const DiskSync& sync)
{
    const auto fail = [&](int number, const QString& systemReason) {
        const FileTrouble trouble = DiagnoseFileTrouble(path, true);
        if (trouble == FileTrouble::Other)
            return WriteError(number, path, FileTroubleText(trouble, systemReason));
        return WriteError(ErrorNumberFor(trouble), path, FileTroubleText(trouble, systemReason));
    };
    QString written;
    {
        const QFileInfo target(path);
        // Where the system has unnamed files (Linux), the copy gets its name only
        // when asked for it, after the sync: a save killed before strands nothing.
        QTemporaryFile file(target.absolutePath() + QStringLiteral("/.") + target.fileName() + Latin1(TemporaryMarker)
                            + Latin1(TemporaryPlaceholder));
        if (!file.open())
            throw fail(AppError::PathFileAccessError, file.errorString());
        TakeAccessOf(path, file.handle());
        if (file.write(bytes) != bytes.size() || !file.flush())
            throw fail(AppError::DeviceIoError, file.errorString());
        if (const std::optional<QString> why = sync(file.handle()))
            throw WriteError(AppError::DeviceIoError, path, FileTroubleText(FileTrouble::Other, *why));
        written = file.fileName();
        if (written.isEmpty())
            throw fail(AppError::PathFileAccessError, file.errorString());
        // Closed for good only here; Windows replaces nothing with an open file.
        file.setAutoRemove(false);
    }
    // One step that replaces the target (MoveFileEx with replacing on Windows).
    std::error_code failure;
    std::filesystem::rename(FileSystemPath(written), FileSystemPath(path), failure);
    if (failure) {
        QFile::remove(written);
        const FileTrouble trouble = DiagnoseFileTrouble(path, true);
        throw AppError(trouble == FileTrouble::Other ? AppError::DeviceIoError : ErrorNumberFor(trouble),
                       QStringLiteral("%1「%2」を置き換えられません: %3")
                           .arg(LabelOf(StoreFile::Problems), ShownPath(path),
                                FileTroubleText(trouble, QString::fromLocal8Bit(failure.message()))));
    }
}

bool IsTemporaryCopyOf(const QString& path, const QString& candidateName)
{
    const QString stem = QStringLiteral(".") + QFileInfo(path).fileName() + Latin1(TemporaryMarker);
    const QRegularExpression name(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(stem) + QStringLiteral("[A-Za-z0-9]{%1}").arg(TemporaryPlaceholder.size())));
    return name.match(candidateName).hasMatch();
}
