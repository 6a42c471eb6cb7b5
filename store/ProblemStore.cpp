#include "store/ProblemStore.h"

#include "shell/AppError.h"

// Placeholder until the reader and writer land.
ProblemStore::ProblemStore(QString appDir) : appDir_(std::move(appDir)) {}
void ProblemStore::SetAppDir(QString appDir) { appDir_ = std::move(appDir); }
QString ProblemStore::ProblemFilePath() const { return appDir_ + QStringLiteral("/data/問題.dat"); }
QString ProblemStore::FactoryFilePath() const { return appDir_ + QStringLiteral("/data/問題.org"); }
const QString& ProblemStore::ProblemTable(int row, int column) const
{
    if (row < 0 || row > 2 || column < 0 || column > MaxPairs)
        throw AppError(AppError::SubscriptOutOfRange, QStringLiteral("インデックスが有効範囲にありません。"));
    return problemTable_[row][column];
}
void ProblemStore::LoadProblemFile() {}
void ProblemStore::SaveProblemFile() {}
void ProblemStore::AddPair(const QString&, const QString&) {}
void ProblemStore::DeletePair(std::int16_t) {}
void ProblemStore::RestoreFactoryProblems() {}
QString ProblemStore::PairCaption(std::int16_t n) const
{
    return ProblemTable(1, n) + QLatin1Char(' ') + ProblemTable(2, n);
}
