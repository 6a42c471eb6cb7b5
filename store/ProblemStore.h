#pragma once

#include "store/DiskSync.h"
#include "store/ProblemFileFormat.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class QDateTime;

// The pairs of look-alike characters and the problem file that holds them.
// Row 1 of the table holds a pair's first character (it fills the board), row 2
// its look-alike; columns 1 to MaxPairs are the pair numbers; row 0 and column 0
// are never used. Every change is written to the file at once and read back, so
// memory always holds what the file holds.
//
// Several copies of the program may share the file, and anyone may edit it: a
// change is written only while the file still holds what this store last read or
// wrote, under a lock file beside it (問題.dat.lock).
class ProblemStore {
public:
    // problemFile: the user's pairs; factoryFile: the copy a factory reset restores;
    // sync: makes each write durable before the file is replaced.
    ProblemStore(QString problemFile, QString factoryFile, DiskSync sync = SyncToDisk);

    const QString& ProblemFilePath() const { return problemFile_; }
    const QString& FactoryFilePath() const { return factoryFile_; }

    std::int16_t ProblemCount() const { return problemCount_; }
    // Throws AppError(SubscriptOutOfRange) outside rows 0..2, columns 0..80.
    const QString& ProblemTable(int row, int column) const;

    // Faults in the file raise AppError naming the file, the line and the fault;
    // the table changes only after a whole, faithful reading. A missing or damaged
    // file raises ProblemFileUnusable; one that cannot be opened (no access, not an
    // ordinary file) a plain AppError.
    void LoadProblemFile();
    // Makes the new pair pair 1 (the oldest drops out of a full table), saves and
    // reloads. Throws InputRefused, changing nothing, for a character the file
    // cannot hold (a leading double quote, one outside code page 932).
    void AddPair(const QString& first, const QString& second);
    // n outside 1..ProblemCount is an AppError and changes nothing.
    void DeletePair(std::int16_t n);
    // Refuses a factory copy that cannot be read faithfully before touching the
    // user's file.
    void RestoreFactoryProblems();
    // For a problem file that is missing or damaged: keeps the file beside itself
    // as "問題.dat.壊れていたもの-<date>-<time>" (never over an earlier one), puts
    // the factory copy in its place and loads it. Returns the name it was kept
    // under, empty when there was no file.
    QString SetAsideAndRestoreFactory(const QDateTime& now);
    QString PairCaption(std::int16_t n) const;

private:
    using Table = std::array<std::array<QString, MaxPairs + 1>, 3>;
    // Replaces the file atomically once the data is on the disk; a failure leaves
    // the previous file whole. When the file no longer holds what this store last
    // read or wrote, it writes nothing, takes the file's pairs instead and raises
    // ProblemFileChanged.
    void Save(std::int16_t count, const Table& table);
    // Takes the pairs of bytes read from the problem file.
    void Adopt(const QByteArray& bytes);
    QByteArray FactoryBytes() const;

    QString problemFile_;
    QString factoryFile_;
    DiskSync sync_;
    // The problem file as this store last read or wrote it; nothing while it
    // believes there is none.
    std::optional<QByteArray> knownBytes_;
    std::int16_t problemCount_ = 0;
    Table problemTable_{};
};
