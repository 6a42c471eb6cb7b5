// SPDX-License-Identifier: MIT
#include "store/ProblemStore.h"

#include "core/AppError.h"
#include "store/FileTrouble.h"
#include "store/OrdinaryFile.h"
#include "store/ProblemFileFormat.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QThread>

#include <algorithm>
#include <chrono>

namespace {

// A legitimate file is a couple of kilobytes; refuse to pull anything huge into memory.
constexpr qint64 MaxFileBytes = 1 << 20;

constexpr std::chrono::seconds LockWait{10};
// A save killed midway leaves its temporary copy beside the file; no live save
// takes this long.
constexpr std::chrono::minutes StaleTemporaryAge{1};

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

// A pair character the board would show as an empty cell.
std::optional<QString> WhyInvisible(const QString& character)
{
    if (character.isEmpty())
        return std::nullopt;
    const char32_t code = QStringView(character).toUcs4().value(0);
    switch (QChar::category(code)) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
        break;
    default:
        if (!QChar::isSpace(code))
            return std::nullopt;
    }
    return QStringLiteral("U+%1 は空白・改行・制御文字のような目に見えない字です。組の字は目に見える字でなければなりません。")
        .arg(QStringLiteral("%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper());
}

[[noreturn]] void ThrowLockUnusable(int number, const QString& problemFile, const QString& lockFile, const QString& reason)
{
    throw LockFileUnusable(number, QStringLiteral("%1「%2」に書き込めません。ロックファイル「%3」が使えません: %4\n"
                                                  "何も保存していません。ロックファイルを取り除いてから、もう一度試して下さい。")
                                       .arg(ProblemFileLabel, ShownPath(problemFile), ShownPath(lockFile), reason));
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

// Holds the lock beside the problem file, which every copy of the program takes
// before it replaces the file, so that one copy's compare-and-replace is never
// interleaved with another's.
class FileLock {
public:
    FileLock(const QString& problemFile, const ProblemStore::LockWaiting& waiting)
        : lock_(problemFile + QStringLiteral(".lock"))
    {
        RefuseUnusableLockPath(problemFile, lock_.fileName());
        lock_.setStaleLockTime(ProblemStore::StaleLockTime);
        std::chrono::milliseconds waited{0};
        while (!lock_.tryLock(0)) {
            if (lock_.error() != QLockFile::LockFailedError)
                ThrowCannotLock(problemFile);
            if (waited >= waiting.limit)
                throw AppError(AppError::PathFileAccessError,
                               QStringLiteral("%1「%2」は別に開いているこのプログラムが書き換え中で、%3 秒待っても終わりませんでした。")
                                   .arg(ProblemFileLabel, ShownPath(problemFile))
                                   .arg(std::chrono::duration_cast<std::chrono::seconds>(waiting.limit).count()));
            waited += waiting.pause();
        }
        RemoveStaleTemporaries(problemFile);
    }

private:
    [[noreturn]] void ThrowCannotLock(const QString& problemFile)
    {
        const FileTrouble trouble = DiagnoseFileTrouble(problemFile, true);
        // A missing folder or an overlong name says more than the system does; for
        // anything else (a full disk, a read-only disk) the system's reason is the news.
        const bool diagnosisSaysMore = trouble == FileTrouble::Missing || trouble == FileTrouble::NameTooLong;
        const QString systemReason = diagnosisSaysMore ? QString() : WhyNoLockCanBeWritten(lock_.fileName());
        throw WriteError(NumberFor(trouble), problemFile,
                         QStringLiteral("ロックファイル「%1」を作れません。%2")
                             .arg(ShownPath(lock_.fileName()), systemReason.isEmpty()
                                                               ? FileTroubleText(trouble, {})
                                                               : FileTroubleText(FileTrouble::Other, systemReason)));
    }

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

ProblemStore::LockWaiting ProblemStore::WaitingBriefly()
{
    return {LockWait, [] {
                QElapsedTimer slept;
                slept.start();
                QThread::msleep(50);
                return std::chrono::milliseconds(slept.elapsed());
            }};
}

ProblemStore::Found ProblemStore::LookAtProblemFile() const
{
    const QString path = ProblemFilePath();
    try {
        std::optional<QByteArray> bytes = ReadIfPresent(path, ProblemFileLabel, true);
        if (!bytes)
            return {};
        return {Found::Kind::Bytes, std::move(*bytes), 0, 0, {}};
    } catch (const ProblemFileUnusable& tooBig) {
        const QFileInfo file(path);
        return {Found::Kind::TooBig, {}, file.size(), file.lastModified().toMSecsSinceEpoch(), tooBig.Description()};
    }
}

void ProblemStore::Take(const Found& found)
{
    switch (found.kind) {
    case Found::Kind::Missing:
        unusable_ = found;
        throw ProblemFileUnusable(AppError::FileNotFound,
                                  QStringLiteral("%1「%2」が見つかりません。").arg(ProblemFileLabel, ShownPath(ProblemFilePath())));
    case Found::Kind::TooBig:
        unusable_ = found;
        throw ProblemFileUnusable(AppError::BadFileContents, found.why);
    case Found::Kind::Bytes:
        Adopt(found.bytes);
        break;
    }
}

void ProblemStore::LoadProblemFile()
{
    Take(LookAtProblemFile());
}

void ProblemStore::Adopt(const QByteArray& bytes)
{
    ProblemFile::TextReading contents;
    try {
        contents = ParseOrThrow(bytes, ProblemFilePath(), ProblemFileLabel, true);
    } catch (const ProblemFileUnusable&) {
        unusable_ = Found{Found::Kind::Bytes, bytes, 0, 0, {}};
        throw;
    }
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
    unusable_.reset();
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
    const FileLock lock(path, waiting_);
    // Saving the table as it stands would silently undo what another copy of the
    // program (or an editor) wrote since this one last read the file.
    const Found current = LookAtProblemFile();
    const bool asKnown = knownBytes_ ? current.kind == Found::Kind::Bytes && current.bytes == *knownBytes_
                                     : current.kind == Found::Kind::Missing;
    if (!asKnown) {
        Take(current);
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
        if (const std::optional<QString> why = WhyInvisible(*characters[i]))
            throw InputRefused(AppError::CharacterRefused, QStringLiteral("%1 字目: %2").arg(i + 1).arg(*why));
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
        const FileLock lock(ProblemFilePath(), waiting_);
        WriteFileAtomically(ProblemFilePath(), bytes, sync_);
        knownBytes_ = bytes;
    }
    LoadProblemFile();
}

void ProblemStore::CreateFromFactory()
{
    const QByteArray bytes = FactoryBytes();
    const FileLock lock(ProblemFilePath(), waiting_);
    // Another copy starting at the same moment may have made it already.
    if (QFileInfo::exists(ProblemFilePath()) || QFileInfo(ProblemFilePath()).isSymLink())
        return;
    WriteFileAtomically(ProblemFilePath(), bytes, sync_);
}

QString ProblemStore::CharactersOnFile() const
{
    try {
        const Found found = LookAtProblemFile();
        if (found.kind != Found::Kind::Bytes)
            return {};
        const ProblemFile::TextReading reading = ProblemFile::ReadText(found.bytes);
        return reading.fault ? QString() : reading.text;
    } catch (const AppError&) {
        return {};
    }
}

QString ProblemStore::SetAsideAndRestoreFactory(const QDateTime& now)
{
    const QString path = ProblemFilePath();
    const QByteArray bytes = FactoryBytes();
    QString setAside;
    {
        const FileLock lock(path, waiting_);
        // Compare and replace, as a save does: a late answer to the question must
        // not set aside a file that another copy has restored or added to since.
        const Found found = LookAtProblemFile();
        if (!unusable_ || !(*unusable_ == found)) {
            try {
                Take(found);
            } catch (const ProblemFileUnusable&) {
                // Damaged in another way: the caller reads it again and asks again.
            }
            throw ProblemFileChanged(AppError::ChangedElsewhere,
                                     QStringLiteral("%1「%2」がほかで書き換えられていたので、何も置き換えずに読み込み直しました。")
                                         .arg(ProblemFileLabel, ShownPath(path)));
        }
        if (found.kind != Found::Kind::Missing) {
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
        unusable_.reset();
    }
    LoadProblemFile();
    return setAside;
}

QString ProblemStore::PairCaption(std::int16_t n) const
{
    return ProblemTable(1, n) + QLatin1Char(' ') + ProblemTable(2, n);
}

void ProvideUserProblemFile(const DataLocations& locations, const DiskSync& sync)
{
    if (!locations.installed || QFileInfo::exists(locations.problemFile))
        return;
    MakeUserDataFolder(locations.dataFolder);
    // The store's own reading and writing: an ordinary factory copy read whole and
    // checked, the user's file written whole, synced, or not at all.
    ProblemStore(locations.problemFile, locations.factoryFile, sync).CreateFromFactory();
}
