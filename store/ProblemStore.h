// SPDX-License-Identifier: MIT
#pragma once

#include "core/DataLocations.h"
#include "store/DiskSync.h"
#include "store/ProblemFileFormat.h"
#include "store/ProblemFileLock.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
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
    using LockWaiting = ProblemFileLock::Waiting;
    static LockWaiting WaitingBriefly() { return ProblemFileLock::WaitBriefly(); }
    static constexpr std::chrono::seconds StaleLockTime = ProblemFileLock::StaleTime;

    // problemFile: the user's pairs; factoryFile: the copy a factory reset restores;
    // sync: makes each write durable before the file is replaced.
    ProblemStore(QString problemFile, QString factoryFile, DiskSync sync = SyncToDisk);

    const QString& ProblemFilePath() const { return problemFile_; }
    const QString& FactoryFilePath() const { return factoryFile_; }
    void SetLockWaiting(LockWaiting waiting) { waiting_ = std::move(waiting); }

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
    // cannot hold (a leading double quote, one outside code page 932) and for one
    // the board would show as an empty cell (white space, a line break, a control
    // character). A line break after a visible character is kept, in quotes.
    void AddPair(const QString& first, const QString& second);
    // n outside 1..ProblemCount is an AppError and changes nothing.
    void DeletePair(std::int16_t n);
    // Refuses a factory copy that cannot be read faithfully before touching the
    // user's file.
    void RestoreFactoryProblems();
    // For a problem file that a load or a save found missing or damaged: keeps the
    // file beside itself as "問題.dat.壊れていたもの-<date>-<time>" (never over an
    // earlier one), puts the factory copy in its place and loads it. Returns the
    // name it was kept under, empty when there was no file. When the file no longer
    // is what was found (another copy restored it, an editor mended it), nothing is
    // renamed or replaced: it raises ProblemFileChanged, holding the file's pairs
    // if it is healthy now.
    QString SetAsideAndRestoreFactory(const QDateTime& now);
    // Makes the problem file from the factory copy unless it exists.
    void CreateFromFactory();
    // The characters of the stored pairs, read as a load reads them but leaving
    // the table alone; nothing when the file cannot be read.
    QString CharactersOnFile() const;
    QString PairCaption(std::int16_t n) const;

private:
    using Table = std::array<std::array<QString, MaxPairs + 1>, 3>;
    // What one reading of the problem file found.
    struct Found {
        enum class Kind { Missing, Bytes, TooBig } kind = Kind::Missing;
        QByteArray bytes;
        qint64 size = 0;        // TooBig: the file as it was seen
        qint64 modifiedMs = 0;
        QString why;            // TooBig: the reason given
        bool operator==(const Found& other) const
        {
            return kind == other.kind && bytes == other.bytes && size == other.size && modifiedMs == other.modifiedMs;
        }
    };
    Found LookAtProblemFile() const;
    // Takes what was found as the table, or raises ProblemFileUnusable keeping it
    // as the file that a factory reset may set aside.
    void Take(const Found& found);
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
    LockWaiting waiting_ = WaitingBriefly();
    // The problem file as the last failed load or save found it.
    std::optional<Found> unusable_;
    // The problem file as this store last read or wrote it; nothing while it
    // believes there is none.
    std::optional<QByteArray> knownBytes_;
    std::int16_t problemCount_ = 0;
    Table problemTable_{};
};

// Installed layout only: creates the user's 問題.dat from the factory copy when it
// is missing, whole or not at all, through the store's checked write (sync is the
// store's); never overwrites it. Throws AppError naming the file and the reason.
void ProvideUserProblemFile(const DataLocations& locations, const DiskSync& sync = SyncToDisk);
