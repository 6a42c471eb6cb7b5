#include "store/ProblemStore.h"

#include "core/AppError.h"
#include "store/FileTrouble.h"
#include "store/OrdinaryFile.h"
#include "store/ProblemFileFormat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <algorithm>
#include <chrono>

namespace {

// A legitimate file is a couple of kilobytes; refuse to pull anything huge into memory.
constexpr qint64 MaxFileBytes = 1 << 20;

// A copy holds the lock for milliseconds; a lock this old was left by one that died
// (a dead owner's lock is recognised at once by its process number).
constexpr std::chrono::seconds StaleLockTime{30};
constexpr std::chrono::seconds LockWait{10};

const QString ProblemFileLabel = QStringLiteral("問題ファイル");
const QString FactoryFileLabel = QStringLiteral("問題ファイルの初期状態");

int NumberFor(FileTrouble trouble)
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

// The problem file's own faults may be put right by a factory reset; those of the
// factory copy, or of access, may not.
[[noreturn]] void ThrowFault(bool problemFile, int number, const QString& text)
{
    if (problemFile)
        throw ProblemFileUnusable(number, text);
    throw AppError(number, text);
}

// The bytes of the file, or nothing when it does not exist. Only an ordinary file
// is read.
std::optional<QByteArray> ReadIfPresent(const QString& path, const QString& label, bool problemFile)
{
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
        throw AppError(NumberFor(trouble), QStringLiteral("%1「%2」を開けません: %3")
                                               .arg(label, ShownPath(path), FileTroubleText(trouble, file.errorString())));
    }
    }
    const qint64 size = file.size();
    if (size > MaxFileBytes)
        ThrowFault(problemFile, AppError::BadFileContents,
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
        ThrowFault(problemFile, AppError::BadFileContents,
                   QStringLiteral("%1「%2」は大きすぎて問題ファイルとして読めません。").arg(label, ShownPath(path)));
    return bytes;
}

QByteArray ReadWholeFile(const QString& path, const QString& label, bool problemFile)
{
    std::optional<QByteArray> bytes = ReadIfPresent(path, label, problemFile);
    if (!bytes)
        ThrowFault(problemFile, AppError::FileNotFound,
                   QStringLiteral("%1「%2」が見つかりません。").arg(label, ShownPath(path)));
    return std::move(*bytes);
}

ProblemFile::TextReading ParseOrThrow(const QByteArray& bytes, const QString& path, const QString& label, bool problemFile)
{
    ProblemFile::TextReading reading = ProblemFile::ReadText(bytes);
    if (reading.fault)
        ThrowFault(problemFile, reading.fault->number,
                   QStringLiteral("%1「%2」の %3 行目: %4")
                       .arg(label, ShownPath(path))
                       .arg(reading.fault->line)
                       .arg(reading.fault->text));
    return reading;
}

AppError WriteError(int number, const QString& path, const QString& reason)
{
    return AppError(number, QStringLiteral("%1「%2」に書き込めません: %3").arg(ProblemFileLabel, ShownPath(path), reason));
}

// Replaces the file whole or not at all: a crash, a full disk or a failing one
// leaves the old file.
void WriteFileAtomically(const QString& path, const QByteArray& bytes, const DiskSync& sync)
{
    QSaveFile file(path);
    const auto fail = [&](int number, const QString& systemReason) {
        const FileTrouble trouble = DiagnoseFileTrouble(path, true);
        file.cancelWriting();
        if (trouble == FileTrouble::Other)
            return WriteError(number, path, FileTroubleText(trouble, systemReason));
        return WriteError(NumberFor(trouble), path, FileTroubleText(trouble, systemReason));
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
        throw AppError(trouble == FileTrouble::Other ? AppError::DeviceIoError : NumberFor(trouble),
                       QStringLiteral("%1「%2」を置き換えられません: %3")
                           .arg(ProblemFileLabel, ShownPath(path), FileTroubleText(trouble, file.errorString())));
    }
}

// Holds the lock beside the problem file, which every copy of the program takes
// before it replaces the file, so that one copy's compare-and-replace is never
// interleaved with another's.
class FileLock {
public:
    explicit FileLock(const QString& problemFile) : lock_(problemFile + QStringLiteral(".lock"))
    {
        lock_.setStaleLockTime(StaleLockTime);
        if (lock_.tryLock(LockWait))
            return;
        switch (lock_.error()) {
        case QLockFile::LockFailedError:
            throw AppError(AppError::PathFileAccessError,
                           QStringLiteral("%1「%2」は別に開いているこのプログラムが書き換え中で、%3 秒待っても終わりませんでした。")
                               .arg(ProblemFileLabel, ShownPath(problemFile))
                               .arg(LockWait.count()));
        case QLockFile::PermissionError:
            throw WriteError(AppError::PermissionDenied, problemFile,
                             FileTroubleText(FileTrouble::AccessDenied, {}));
        default: {
            const FileTrouble trouble = DiagnoseFileTrouble(problemFile, true);
            throw WriteError(NumberFor(trouble), problemFile,
                             QStringLiteral("ロックファイル「%1」を作れません。%2")
                                 .arg(ShownPath(lock_.fileName()), FileTroubleText(trouble, {})));
        }
        }
    }

private:
    QLockFile lock_;
};

} // namespace

ProblemStore::ProblemStore(QString problemFile, QString factoryFile, DiskSync sync)
    : problemFile_(std::move(problemFile)), factoryFile_(std::move(factoryFile)), sync_(std::move(sync))
{
}

const QString& ProblemStore::ProblemTable(int row, int column) const
{
    if (row < 0 || row > 2 || column < 0 || column > MaxPairs)
        throw AppError(AppError::SubscriptOutOfRange,
                       QStringLiteral("問題表の位置 (%1, %2) が範囲 (0〜2, 0〜%3) の外です。").arg(row).arg(column).arg(MaxPairs));
    return problemTable_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void ProblemStore::LoadProblemFile()
{
    Adopt(ReadWholeFile(ProblemFilePath(), ProblemFileLabel, true));
}

void ProblemStore::Adopt(const QByteArray& bytes)
{
    const ProblemFile::TextReading contents = ParseOrThrow(bytes, ProblemFilePath(), ProblemFileLabel, true);
    // Only a whole reading reaches the table; columns above the count keep what they held.
    problemCount_ = contents.count;
    for (std::size_t n = 1; n <= static_cast<std::size_t>(contents.count); ++n) {
        for (std::size_t row = 1; row <= 2; ++row) {
            // Every window reloads the file as it opens, mostly unchanged: an
            // item already held costs no new string.
            const QStringView item = contents.Item(static_cast<qsizetype>(2 * n + row - 3));
            QString& held = problemTable_[row][n];
            if (held.size() != item.size() || !std::equal(item.begin(), item.end(), held.constBegin()))
                held = item.toString();
        }
    }
    knownBytes_ = bytes;
}

void ProblemStore::Save(std::int16_t count, const Table& table)
{
    QList<QString> items;
    items.reserve(2 * count);
    for (std::size_t n = 1; n <= static_cast<std::size_t>(count); ++n) {
        items.append(table[1][n]);
        items.append(table[2][n]);
    }
    const QString path = ProblemFilePath();
    const ProblemFile::Writing writing = ProblemFile::Write(count, items);
    if (writing.unstorableItem >= 0)
        throw AppError(AppError::CharacterRefused, QStringLiteral("%1「%2」に書けません: %3 の %4")
                                                       .arg(ProblemFileLabel, ShownPath(path),
                                                            ProblemFile::ItemName(writing.unstorableItem), writing.why));
    const FileLock lock(path);
    // Saving the table as it stands would silently undo what another copy of the
    // program (or an editor) wrote since this one last read the file.
    const std::optional<QByteArray> current = ReadIfPresent(path, ProblemFileLabel, true);
    if (current != knownBytes_) {
        if (!current)
            throw ProblemFileUnusable(AppError::FileNotFound,
                                      QStringLiteral("%1「%2」が見つかりません。").arg(ProblemFileLabel, ShownPath(path)));
        Adopt(*current);
        throw ProblemFileChanged(AppError::ChangedElsewhere,
                                 QStringLiteral("%1「%2」がほかで書き換えられていたので、読み込み直しました。")
                                     .arg(ProblemFileLabel, ShownPath(path)));
    }
    WriteFileAtomically(path, writing.bytes, sync_);
    knownBytes_ = writing.bytes;
}

void ProblemStore::AddPair(const QString& first, const QString& second)
{
    const QString* const characters[] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        if (const std::optional<QString> why = ProblemFile::WhyUnstorable(*characters[i]))
            throw InputRefused(AppError::CharacterRefused, QStringLiteral("%1 字目: %2").arg(i + 1).arg(*why));
    }
    // Work on a copy so that a failed save leaves memory as the file still is.
    Table table = problemTable_;
    for (std::size_t i = MaxPairs - 1; i >= 1; --i) {
        table[1][i + 1] = table[1][i];
        table[2][i + 1] = table[2][i];
    }
    table[1][1] = first;
    table[2][1] = second;
    const auto count = static_cast<std::int16_t>(std::min<int>(problemCount_ + 1, MaxPairs));
    Save(count, table);
    problemTable_ = std::move(table);
    problemCount_ = count;
    LoadProblemFile();
}

void ProblemStore::DeletePair(std::int16_t n)
{
    if (n < 1 || n > problemCount_)
        throw AppError(AppError::SubscriptOutOfRange,
                       QStringLiteral("削除する組の番号 %1 が 1 から %2 までの範囲にありません。").arg(n).arg(problemCount_));
    Table table = problemTable_;
    std::size_t c = 0;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(problemCount_); ++i) {
        if (i != static_cast<std::size_t>(n)) {
            ++c;
            table[1][c] = table[1][i];
            table[2][c] = table[2][i];
        }
    }
    const auto count = static_cast<std::int16_t>(problemCount_ - 1);
    Save(count, table);
    problemTable_ = std::move(table);
    problemCount_ = count;
    LoadProblemFile();
}

QByteArray ProblemStore::FactoryBytes() const
{
    const QString factoryPath = FactoryFilePath();
    const QByteArray bytes = ReadWholeFile(factoryPath, FactoryFileLabel, false);
    // A factory copy that cannot be read faithfully must not replace the user's pairs.
    ParseOrThrow(bytes, factoryPath, FactoryFileLabel, false);
    return bytes;
}

void ProblemStore::RestoreFactoryProblems()
{
    const QByteArray bytes = FactoryBytes();
    {
        // The user asked for the factory set whatever the file now holds, so there
        // is nothing to compare; the lock still keeps another copy's replace apart.
        const FileLock lock(ProblemFilePath());
        WriteFileAtomically(ProblemFilePath(), bytes, sync_);
        knownBytes_ = bytes;
    }
    LoadProblemFile();
}

QString ProblemStore::SetAsideAndRestoreFactory(const QDateTime& now)
{
    const QString path = ProblemFilePath();
    const QByteArray bytes = FactoryBytes();
    QString setAside;
    {
        const FileLock lock(path);
        if (QFileInfo::exists(path)) {
            // Never over an earlier one: the rename refuses an existing name.
            const QString stem = path + QStringLiteral(".壊れていたもの-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
            for (int attempt = 1; setAside.isEmpty(); ++attempt) {
                const QString candidate = attempt == 1 ? stem : stem + QStringLiteral("-%1").arg(attempt);
                if (QFileInfo::exists(candidate))
                    continue;
                QFile file(path);
                if (!file.rename(candidate)) {
                    const FileTrouble trouble = DiagnoseFileTrouble(candidate, true);
                    throw AppError(NumberFor(trouble), QStringLiteral("%1「%2」を「%3」として残せません: %4")
                                                           .arg(ProblemFileLabel, ShownPath(path), ShownPath(candidate),
                                                                FileTroubleText(trouble, file.errorString())));
                }
                setAside = candidate;
            }
        }
        WriteFileAtomically(path, bytes, sync_);
        knownBytes_ = bytes;
    }
    LoadProblemFile();
    return setAside;
}

QString ProblemStore::PairCaption(std::int16_t n) const
{
    return ProblemTable(1, n) + QLatin1Char(' ') + ProblemTable(2, n);
}
