#include "store/ProblemStore.h"

#include "core/AppError.h"
#include "store/ProblemFileFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

// A legitimate file is a couple of kilobytes; refuse to pull anything huge into memory.
constexpr qint64 MaxFileBytes = 1 << 20;

const QString ProblemFileLabel = QStringLiteral("問題ファイル");
const QString FactoryFileLabel = QStringLiteral("問題ファイルの初期状態");

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray ReadWholeFile(const QString& path, const QString& label)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(path))
            throw AppError(AppError::FileNotFound, QStringLiteral("%1「%2」が見つかりません。").arg(label, Shown(path)));
        throw AppError(AppError::PathFileAccessError,
                       QStringLiteral("%1「%2」を開けません: %3").arg(label, Shown(path), file.errorString()));
    }
    const qint64 size = file.size();
    if (size > MaxFileBytes)
        throw AppError(AppError::BadFileContents,
                       QStringLiteral("%1「%2」は大きすぎて問題ファイルとして読めません (%3 バイト)。")
                           .arg(label, Shown(path)).arg(size));
    // In pieces, never past the limit: a file that is not a plain file (or grows
    // while read) has no trustworthy size.
    const qint64 piece = std::max<qint64>(size + 1, 4096);
    QByteArray bytes;
    while (bytes.size() <= MaxFileBytes) {
        const QByteArray part = file.read(std::min(piece, MaxFileBytes + 1 - bytes.size()));
        if (file.error() != QFileDevice::NoError)
            throw AppError(AppError::DeviceIoError,
                           QStringLiteral("%1「%2」を読めません: %3").arg(label, Shown(path), file.errorString()));
        if (part.isEmpty())
            break;
        bytes += part;
    }
    if (bytes.size() > MaxFileBytes)
        throw AppError(AppError::BadFileContents,
                       QStringLiteral("%1「%2」は大きすぎて問題ファイルとして読めません。").arg(label, Shown(path)));
    return bytes;
}

ProblemFile::TextReading ParseOrThrow(const QByteArray& bytes, const QString& path, const QString& label)
{
    ProblemFile::TextReading reading = ProblemFile::ReadText(bytes);
    if (reading.fault)
        throw AppError(reading.fault->number, QStringLiteral("%1「%2」の %3 行目: %4")
                                                  .arg(label, Shown(path))
                                                  .arg(reading.fault->line)
                                                  .arg(reading.fault->text));
    return reading;
}

// Replaces the file whole or not at all: a crash or a full disk leaves the old one.
void WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(AppError::PathFileAccessError,
                       QStringLiteral("%1「%2」に書き込めません: %3").arg(ProblemFileLabel, Shown(path), file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // commit() would reset the reason, so keep it from the failing write.
        const QString why = file.errorString();
        file.cancelWriting();
        throw AppError(AppError::DeviceIoError,
                       QStringLiteral("%1「%2」に書き込めません: %3").arg(ProblemFileLabel, Shown(path), why));
    }
    if (!file.commit())
        throw AppError(AppError::DeviceIoError,
                       QStringLiteral("%1「%2」を置き換えられません: %3").arg(ProblemFileLabel, Shown(path), file.errorString()));
}

} // namespace

ProblemStore::ProblemStore(QString problemFile, QString factoryFile)
    : problemFile_(std::move(problemFile)), factoryFile_(std::move(factoryFile))
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
    const QString path = ProblemFilePath();
    const ProblemFile::TextReading contents = ParseOrThrow(ReadWholeFile(path, ProblemFileLabel), path, ProblemFileLabel);
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
}

void ProblemStore::SaveProblemFile()
{
    Save(problemCount_, problemTable_);
}

void ProblemStore::Save(std::int16_t count, const Table& table) const
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
                                                       .arg(ProblemFileLabel, Shown(path),
                                                            ProblemFile::ItemName(writing.unstorableItem), writing.why));
    WriteFileAtomically(path, writing.bytes);
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

void ProblemStore::RestoreFactoryProblems()
{
    const QString factoryPath = FactoryFilePath();
    const QByteArray bytes = ReadWholeFile(factoryPath, FactoryFileLabel);
    // A factory copy that cannot be read faithfully must not replace the user's pairs.
    ParseOrThrow(bytes, factoryPath, FactoryFileLabel);
    WriteFileAtomically(ProblemFilePath(), bytes);
    LoadProblemFile();
}

QString ProblemStore::PairCaption(std::int16_t n) const
{
    return ProblemTable(1, n) + QLatin1Char(' ') + ProblemTable(2, n);
}
