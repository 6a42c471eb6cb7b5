#pragma once

#include <QString>

#include <array>
#include <cstdint>

inline constexpr std::int16_t MaxPairs = 80;

// The pairs of look-alike characters and the problem file that holds them.
// Row 1 of the table holds a pair's first character (it fills the board), row 2
// its look-alike; columns 1 to MaxPairs are the pair numbers; row 0 and column 0
// are never used. Every change is written to the file at once and read back, so
// memory always holds what the file holds.
class ProblemStore {
public:
    // appDir: the application directory without a trailing separator.
    explicit ProblemStore(QString appDir = {});

    // Both paths follow from the application directory (the portable layout).
    void SetAppDir(QString appDir);
    // Paths decided elsewhere (the installed layout keeps them apart).
    void SetFilePaths(QString problemFile, QString factoryFile);
    const QString& AppDir() const { return appDir_; }
    const QString& ProblemFilePath() const { return problemFile_; }  // AppDir + "/data/問題.dat" unless set
    const QString& FactoryFilePath() const { return factoryFile_; }  // AppDir + "/data/問題.org" unless set

    std::int16_t ProblemCount() const { return problemCount_; }
    // Throws AppError(SubscriptOutOfRange) outside rows 0..2, columns 0..80.
    const QString& ProblemTable(int row, int column) const;

    // Faults in the file raise AppError naming the file, the line and the fault;
    // the table changes only after a whole, faithful reading.
    void LoadProblemFile();
    // Replaces the file atomically; a failure leaves the previous file whole.
    void SaveProblemFile();
    // Makes the new pair pair 1 (the oldest drops out of a full table), saves and
    // reloads. Throws InputRefused, changing nothing, for a character the file
    // cannot hold (a double quote, one outside code page 932).
    void AddPair(const QString& first, const QString& second);
    // n outside 1..ProblemCount is an AppError and changes nothing.
    void DeletePair(std::int16_t n);
    // Refuses a factory copy that cannot be read faithfully before touching the
    // user's file.
    void RestoreFactoryProblems();
    QString PairCaption(std::int16_t n) const;

private:
    using Table = std::array<std::array<QString, MaxPairs + 1>, 3>;
    void Save(std::int16_t count, const Table& table) const;

    QString appDir_;
    QString problemFile_;
    QString factoryFile_;
    std::int16_t problemCount_ = 0;
    Table problemTable_{};
};
