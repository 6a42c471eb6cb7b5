// SPDX-License-Identifier: MIT
#include "store/ProblemFileLock.h"

#include "core/AppError.h"
#include "store/CheckedFile.h"
#include "store/FileTrouble.h"
#include "store/OrdinaryFile.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QThread>

namespace {

constexpr std::chrono::seconds LockWait{10};
// A save killed midway leaves its temporary copy beside the file; no live save
// takes this long.
constexpr std::chrono::minutes StaleTemporaryAge{1};

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

[[noreturn]] void ThrowLockUnusable(int number, const QString& problemFile, const QString& lockFile, const QString& reason)
{
    throw LockFileUnusable(number, QStringLiteral("%1「%2」に書き込めません。ロックファイル「%3」が使えません: %4\n"
                                                  "何も保存していません。ロックファイルを取り除いてから、もう一度試して下さい。")
                                       .arg(LabelOf(StoreFile::Problems), ShownPath(problemFile), ShownPath(lockFile), reason));
}

// The lock is taken only through an absent path or an ordinary file: QLockFile
// would read a named pipe for ever, a link to a device without end, and take a
// folder or a file it may not read for another copy's lock, waiting in vain.
void RefuseUnusableLockPath(const QString& problemFile, const QString& lockFile)
{
    if (QFileInfo(lockFile).isSymLink())
        ThrowLockUnusable(AppError::PathFileAccessError, problemFile, lockFile,
                          FileTroubleText(FileTrouble::NotOrdinaryFile, {}));
    QFile file(lockFile);
    switch (OpenOrdinaryFile(file)) {
    case OrdinaryFileOpening::Opened:
        break;
    case OrdinaryFileOpening::NotOrdinary:
        ThrowLockUnusable(AppError::PathFileAccessError, problemFile, lockFile,
                          FileTroubleText(FileTrouble::NotOrdinaryFile, {}));
    case OrdinaryFileOpening::Failed:
        if (!QFileInfo::exists(lockFile))
            return;
        ThrowLockUnusable(AppError::PermissionDenied, problemFile, lockFile,
                          FileTroubleText(FileTrouble::Other, file.errorString()));
    }
    // A lock that stays must be replaceable once its owner is gone.
    if (!QFileInfo(QFileInfo(lockFile).absolutePath()).isWritable())
        ThrowLockUnusable(AppError::PermissionDenied, problemFile, lockFile,
                          FileTroubleText(FileTrouble::AccessDenied, {}));
}

// QLockFile keeps the system's reason to itself; a file written the same way
// beside it hears it again. Empty when that one could be written.
QString WhyNoLockCanBeWritten(const QString& lockFile)
{
    QTemporaryFile probe(lockFile + QStringLiteral(".XXXXXX"));
    if (!probe.open())
        return probe.errorString();
    const QByteArray lockSized(256, '\n');
    if (probe.write(lockSized) != lockSized.size() || !probe.flush())
        return probe.errorString();
    return {};
}

// The temporary copies that saves killed midway left beside the file: its name,
// a dot and six letters or digits, and older than any live save.
void RemoveStaleTemporaries(const QString& problemFile)
{
    const QFileInfo file(problemFile);
    const QRegularExpression temporaryName(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(file.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(
        -std::chrono::duration_cast<std::chrono::seconds>(StaleTemporaryAge).count());
    const QFileInfoList entries = file.absoluteDir().entryInfoList({file.fileName() + QStringLiteral(".*")},
                                                                   QDir::Files | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymLink() || !temporaryName.match(entry.fileName()).hasMatch())
            continue;
        if (entry.lastModified().toUTC() < staleBefore)
            QFile::remove(entry.absoluteFilePath());
    }
}

} // namespace

ProblemFileLock::Waiting ProblemFileLock::WaitBriefly()
{
    return {LockWait, [] {
                QElapsedTimer slept;
                slept.start();
                QThread::msleep(50);
                return std::chrono::milliseconds(slept.elapsed());
            }};
}

ProblemFileLock::ProblemFileLock(const QString& problemFile, const Waiting& waiting)
    : lock_(problemFile + Latin1(Suffix))
{
    RefuseUnusableLockPath(problemFile, lock_.fileName());
    lock_.setStaleLockTime(StaleTime);
    std::chrono::milliseconds waited{0};
    while (!lock_.tryLock(0)) {
        if (lock_.error() != QLockFile::LockFailedError)
            ThrowCannotLock(problemFile);
        if (waited >= waiting.limit)
            throw AppError(AppError::PathFileAccessError,
                           QStringLiteral("%1「%2」は別に開いているこのプログラムが書き換え中で、%3 秒待っても終わりませんでした。")
                               .arg(LabelOf(StoreFile::Problems), ShownPath(problemFile))
                               .arg(std::chrono::duration_cast<std::chrono::seconds>(waiting.limit).count()));
        waited += waiting.pause();
    }
    RemoveStaleTemporaries(problemFile);
}

void ProblemFileLock::ThrowCannotLock(const QString& problemFile)
{
    const FileTrouble trouble = DiagnoseFileTrouble(problemFile, true);
    // A missing folder or an overlong name says more than the system does; for
    // anything else (a full disk, a read-only disk) the system's reason is the news.
    const bool diagnosisSaysMore = trouble == FileTrouble::Missing || trouble == FileTrouble::NameTooLong;
    const QString systemReason = diagnosisSaysMore ? QString() : WhyNoLockCanBeWritten(lock_.fileName());
    throw WriteError(ErrorNumberFor(trouble), problemFile,
                     QStringLiteral("ロックファイル「%1」を作れません。%2")
                         .arg(ShownPath(lock_.fileName()), systemReason.isEmpty()
                                                           ? FileTroubleText(trouble, {})
                                                           : FileTroubleText(FileTrouble::Other, systemReason)));
}
