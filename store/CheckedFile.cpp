// SPDX-License-Identifier: MIT
#include "store/CheckedFile.h"

#include "store/FileTrouble.h"
#include "store/OrdinaryFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

constexpr qint64 MaxFileBytes = 1 << 20;

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

AppError WriteError(int number, const QString& path, const QString& reason)
{
    return AppError(number,
                    QStringLiteral("%1「%2」に書き込めません: %3").arg(LabelOf(StoreFile::Problems), ShownPath(path), reason));
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes, const DiskSync& sync)
{
    QSaveFile file(path);
    const auto fail = [&](int number, const QString& systemReason) {
        const FileTrouble trouble = DiagnoseFileTrouble(path, true);
        file.cancelWriting();
        if (trouble == FileTrouble::Other)
            return WriteError(number, path, FileTroubleText(trouble, systemReason));
        return WriteError(ErrorNumberFor(trouble), path, FileTroubleText(trouble, systemReason));
    };
    if (!file.open(QIODevice::WriteOnly))
        throw fail(AppError::PathFileAccessError, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw fail(AppError::DeviceIoError, file.errorString());
    // commit() syncs too, but does not report a failure to.
    if (const std::optional<QString> why = sync(file.handle())) {
        file.cancelWriting();
        throw WriteError(AppError::DeviceIoError, path, FileTroubleText(FileTrouble::Other, *why));
    }
    if (!file.commit()) {
        const FileTrouble trouble = DiagnoseFileTrouble(path, true);
        throw AppError(trouble == FileTrouble::Other ? AppError::DeviceIoError : ErrorNumberFor(trouble),
                       QStringLiteral("%1「%2」を置き換えられません: %3")
                           .arg(LabelOf(StoreFile::Problems), ShownPath(path), FileTroubleText(trouble, file.errorString())));
    }
}
