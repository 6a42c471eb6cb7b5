// SPDX-License-Identifier: MIT
// The store's load and add beside fair baselines in the same run, each doing the
// least the operation must do with the same bytes:
//   Load/Full80     / PlainReadDecode/Full80     goal <= 1.3  (a read and one decode
//                                                 of the whole file)
//   AddPair/Full80  / WriteSyncRename/Full80     goal <= 1.2  (a new file written,
//                                                 synced to the disk and renamed over
//                                                 the old one, as a safe save must)
//   AddPair/Full80  / LockedSave/Full80          the same bytes saved the way the store
//                                                 must: under the lock file beside it,
//                                                 synced and checked, then committed.
//                                                 The lock file and QSaveFile's commit
//                                                 sync too, so it syncs three times.
// PlainRead, PlainWrite and PlainWriteRename show what the disk alone costs.
#include "store/CodePage932.h"
#include "store/DiskSync.h"
#include "store/ProblemFileFormat.h"
#include "store/ProblemStore.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QTemporaryDir>


#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

// 80 pairs of two-byte kanji.
QList<QString> FullItems()
{
    QList<QString> items;
    for (char16_t code = 0x4E00; items.size() < 160; ++code) {
        const QString character(QChar{code});
        if (!ProblemFile::WhyUnstorable(character))
            items.append(character);
    }
    return items;
}

// The same as the writer writes them.
QByteArray FullFile()
{
    return ProblemFile::Write(80, FullItems()).bytes;
}

struct Fixture {
    Fixture()
    {
        if (!dir.isValid() || !QDir(dir.path()).mkpath(QStringLiteral("data")))
            std::abort();
        Put(dat, bytes);
    }
    // sync: the bytes reach the disk before the file is closed.
    static void Put(const QString& path, const QByteArray& content, bool sync = false)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()
            || (sync && (!file.flush() || SyncToDisk(file.handle()))))
            std::abort();
    }

    QTemporaryDir dir;
    QByteArray bytes = FullFile();
    QString dat = dir.path() + QStringLiteral("/data/問題.dat");
    QString org = dir.path() + QStringLiteral("/data/問題.org");
    // The baselines' own files (ASCII names, so std::filesystem takes them as they are).
    QString plain = dir.path() + QStringLiteral("/data/plain.dat");
    QString scratch = dir.path() + QStringLiteral("/data/plain.tmp");
};

QByteArray ReadWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

void PlainRead(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadWhole(f.dat));
}
BENCHMARK(PlainRead)->Name("PlainRead/Full80");

void PlainReadDecode(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeCp932(ReadWhole(f.dat)));
}
BENCHMARK(PlainReadDecode)->Name("PlainReadDecode/Full80");

void Load(benchmark::State& state)
{
    Fixture f;
    ProblemStore store(f.dat, f.org);
    for (auto _ : state) {
        store.LoadProblemFile();
        benchmark::DoNotOptimize(store.ProblemCount());
    }
}
BENCHMARK(Load)->Name("Load/Full80");

void ReadBytes(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(ProblemFile::ReadText(f.bytes));
}
BENCHMARK(ReadBytes)->Name("ReadBytesOnly/Full80");

void WriteBytes(benchmark::State& state)
{
    const QList<QString> items = FullItems();
    for (auto _ : state)
        benchmark::DoNotOptimize(ProblemFile::Write(80, items));
}
BENCHMARK(WriteBytes)->Name("WriteBytesOnly/Full80");

void PlainWrite(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state)
        Fixture::Put(f.plain, f.bytes);
}
BENCHMARK(PlainWrite)->Name("PlainWrite/Full80");

// What an atomic save does at least: a new file, then a rename over the old one;
// a safe save syncs the new file first.
template <bool Sync>
void WriteRename(benchmark::State& state)
{
    Fixture f;
    Fixture::Put(f.plain, f.bytes);
    const std::filesystem::path from = f.scratch.toStdString();
    const std::filesystem::path to = f.plain.toStdString();
    for (auto _ : state) {
        Fixture::Put(f.scratch, f.bytes, Sync);
        std::filesystem::rename(from, to);
    }
}
BENCHMARK_TEMPLATE(WriteRename, false)->Name("PlainWriteRename/Full80");
BENCHMARK_TEMPLATE(WriteRename, true)->Name("WriteSyncRename/Full80");

void LockedSave(benchmark::State& state)
{
    Fixture f;
    Fixture::Put(f.plain, f.bytes);
    for (auto _ : state) {
        QLockFile lock(f.plain + QStringLiteral(".lock"));
        QSaveFile file(f.plain);
        if (!lock.tryLock(1000) || !file.open(QIODevice::WriteOnly) || file.write(f.bytes) != f.bytes.size()
            || !file.flush() || SyncToDisk(file.handle()) || !file.commit())
            std::abort();
    }
}
BENCHMARK(LockedSave)->Name("LockedSave/Full80");

void AddPair(benchmark::State& state)
{
    Fixture f;
    ProblemStore store(f.dat, f.org);
    store.LoadProblemFile();
    const QString first = QStringLiteral("鳥");
    const QString second = QStringLiteral("烏");
    for (auto _ : state)
        store.AddPair(first, second);
    if (store.ProblemCount() != 80)
        std::abort();
}
BENCHMARK(AddPair)->Name("AddPair/Full80");

} // namespace
