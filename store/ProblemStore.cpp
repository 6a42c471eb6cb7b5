// SPDX-License-Identifier: MIT
#include "store/ProblemStore.h"

#include "core/AppError.h"
#include "store/CheckedFile.h"
#include "store/FileTrouble.h"
#include "store/ProblemFileFormat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

ProblemFile::TextReading ParseOrThrow(const QByteArray& bytes, const QString& path, StoreFile file)
{
    ProblemFile::TextReading reading = ProblemFile::ReadText(bytes);
    if (reading.fault)
        ThrowFault(file, reading.fault->number,
                   QStringLiteral("%1「%2」の %3 行目: %4")
                       .arg(LabelOf(file), ShownPath(path))
                       .arg(reading.fault->line)
                       .arg(reading.fault->text));
    return reading;
}

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

ProblemStore::Found ProblemStore::LookAtProblemFile() const
{
    const QString path = ProblemFilePath();
    try {
        std::optional<QByteArray> bytes = ReadIfPresent(path, StoreFile::Problems);
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
                                  QStringLiteral("%1「%2」が見つかりません。").arg(LabelOf(StoreFile::Problems), ShownPath(ProblemFilePath())));
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
        contents = ParseOrThrow(bytes, ProblemFilePath(), StoreFile::Problems);
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
                                                       .arg(LabelOf(StoreFile::Problems), ShownPath(path),
                                                            ProblemFile::ItemName(writing.unstorableItem), writing.why));
    const ProblemFileLock lock(path, waiting_);
    // Saving the table as it stands would silently undo what another copy of the
    // program (or an editor) wrote since this one last read the file.
    const Found current = LookAtProblemFile();
    const bool asKnown = knownBytes_ ? current.kind == Found::Kind::Bytes && current.bytes == *knownBytes_
                                     : current.kind == Found::Kind::Missing;
    if (!asKnown) {
        Take(current);
        throw ProblemFileChanged(AppError::ChangedElsewhere,
                                 QStringLiteral("%1「%2」がほかで書き換えられていたので、読み込み直しました。")
                                     .arg(LabelOf(StoreFile::Problems), ShownPath(path)));
    }
    WriteFileAtomically(path, writing.bytes, sync_);
    knownBytes_ = writing.bytes;
}

void ProblemStore::AddPair(const QString& first, const QString& second)
{
    const QString* const characters[] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        if (const std::optional<QString> why = ProblemFile::WhyInvisible(*characters[i]))
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
    const QByteArray bytes = ReadWholeFile(factoryPath, StoreFile::Factory);
    // A factory copy that cannot be read faithfully must not replace the user's pairs.
    ParseOrThrow(bytes, factoryPath, StoreFile::Factory);
    return bytes;
}

void ProblemStore::RestoreFactoryProblems()
{
    const QByteArray bytes = FactoryBytes();
    {
        // The user asked for the factory set whatever the file now holds, so there
        // is nothing to compare; the lock still keeps another copy's replace apart.
        const ProblemFileLock lock(ProblemFilePath(), waiting_);
        WriteFileAtomically(ProblemFilePath(), bytes, sync_);
        knownBytes_ = bytes;
    }
    LoadProblemFile();
}

void ProblemStore::CreateFromFactory()
{
    const QByteArray bytes = FactoryBytes();
    const ProblemFileLock lock(ProblemFilePath(), waiting_);
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
        const ProblemFileLock lock(path, waiting_);
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
                                         .arg(LabelOf(StoreFile::Problems), ShownPath(path)));
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
                    throw AppError(ErrorNumberFor(trouble), QStringLiteral("%1「%2」を「%3」として残せません: %4")
                                                           .arg(LabelOf(StoreFile::Problems), ShownPath(path), ShownPath(candidate),
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
    if (!QDir().mkpath(locations.dataFolder))
        throw AppError(AppError::PathFileAccessError,
                       QStringLiteral("問題ファイルのフォルダー「%1」を作れません。").arg(ShownPath(locations.dataFolder)));
    // The store's own reading and writing: an ordinary factory copy read whole and
    // checked, the user's file written whole, synced, or not at all.
    ProblemStore(locations.problemFile, locations.factoryFile, sync).CreateFromFactory();
}
