// SPDX-License-Identifier: MIT
#include "core/AppError.h"
#include "store/ProblemFileFormat.h"
#include "store/FileTrouble.h"
#include "store/ProblemStore.h"
#include "tests/store/fuzz/ProblemFileCheck.h"
#include "tests/support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>

#include <gtest/gtest.h>

#include <functional>
#include <set>

#ifdef Q_OS_UNIX
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '[' << bytes.toHex(' ').toStdString() << ']'; }

namespace {

template <typename Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
const auto CaseName = [](const auto& param) { return std::string(param.param.name); };

// Items written one after another, separated by '|'.
QStringList Items(const char* utf8) { return QString::fromUtf8(utf8).split(u'|'); }

// The items of n distinct pairs.
QStringList Pairs(int n) { return ManyPairs(n).split(QString(), Qt::SkipEmptyParts); }

const QString Dat = QStringLiteral("/data/問題.dat");
const QString Org = QStringLiteral("/data/問題.org");
const QString Lock = Dat + QStringLiteral(".lock");

QStringList Table(const ProblemStore& store)
{
    QStringList items;
    for (int n = 1; n <= store.ProblemCount(); ++n)
        items << store.ProblemTable(1, n) << store.ProblemTable(2, n);
    return items;
}

QStringList DataFolder(const TempAppDir& dir)
{
    return QDir(dir.Path() + QStringLiteral("/data")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System);
}

class Store : public ::testing::Test {
protected:
    void LoadWith(const QStringList& items)
    {
        dir.Write(Dat, FileOf(items));
        store.LoadProblemFile();
        ASSERT_EQ(Table(store), items);
    }
    QString Shown(const QString& suffix) const { return QDir::toNativeSeparators(dir.Path() + suffix); }

    TempAppDir dir;
    ProblemStore store{StoreIn(dir)};
    const QString lockPath = dir.Path() + Lock;
};

class Adding : public Store, public ::testing::WithParamInterface<int> {};

TEST_P(Adding, PutsTheNewPairFirstAndDropsTheEightieth)
{
    LoadWith(Pairs(GetParam()));
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    const QStringList expected = Items("鳥|烏") + Pairs(std::min(GetParam(), 79));
    EXPECT_EQ(dir.Read(Dat), FileOf(expected));
    EXPECT_EQ(Table(store), expected);
}
// 79 fills the table to 80, which must be written whole.
INSTANTIATE_TEST_SUITE_P(Counts, Adding, ::testing::Values(5, 79, 80));

TEST_F(Store, AddingMovesAllColumnsAndLoadingLeavesThoseAboveTheCount)
{
    LoadWith(Pairs(3));
    dir.Write(Dat, " 0 \r\n");
    store.LoadProblemFile();
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    EXPECT_EQ(store.ProblemCount(), 1);
    EXPECT_EQ(store.PairCaption(4), Pairs(3).sliced(4).join(u' '));
}

class Deleting : public Store, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(Deleting, ClosesTheGapAndLeavesTheFormerLastColumn)
{
    const auto [pairs, deleted] = GetParam();
    LoadWith(Pairs(pairs));
    store.DeletePair(static_cast<std::int16_t>(deleted));
    QStringList expected = Pairs(pairs);
    expected.remove(2 * (deleted - 1), 2);
    EXPECT_EQ(dir.Read(Dat), FileOf(expected));
    EXPECT_EQ(Table(store), expected);
    EXPECT_EQ(store.PairCaption(static_cast<std::int16_t>(pairs)), Pairs(pairs).sliced(2 * pairs - 2).join(u' '));
}
// Deleting the only pair leaves a count of 0 and nothing else.
INSTANTIATE_TEST_SUITE_P(FirstMiddleLastOnly, Deleting,
                         ::testing::Values(std::pair{3, 1}, std::pair{5, 3}, std::pair{4, 4}, std::pair{1, 1}));

// line: how the item is written, or null when the store must refuse it.
struct CharacterCase {
    const char* name;
    QString item;
    const char* line;
};
class Character : public Store, public ::testing::WithParamInterface<CharacterCase> {};

TEST_P(Character, ReadsBackAsWrittenOrIsRefusedChangingNothing)
{
    const auto& [name, item, line] = GetParam();
    // A full table shows a refused pair that still pushed the eightieth out.
    const QStringList before = Pairs(line ? 1 : 80);
    LoadWith(before);
    if (!line) {
        EXPECT_THROW(store.AddPair(item, QStringLiteral("未")), InputRefused);
        EXPECT_THROW(store.AddPair(QStringLiteral("未"), item), InputRefused);
        EXPECT_EQ(dir.Read(Dat), FileOf(before));
        EXPECT_EQ(Table(store), before);
        return;
    }
    store.AddPair(item, item);
    EXPECT_EQ(dir.Read(Dat), " 2 \r\n" + QByteArray(line) + "\r\n" + line + "\r\n" + FileOf(before).sliced(5));
    EXPECT_EQ(Table(store), QStringList({item, item}) + before);
}
INSTANTIATE_TEST_SUITE_P(Items, Character,
                         ::testing::Values(CharacterCase{"Comma", QStringLiteral(","), "\",\""},
                                           CharacterCase{"TrailingSpace", QStringLiteral("未 "), "\"\x96\xa2 \""},
                                           // Quotes would change these; the reader keeps them whole.
                                           CharacterCase{"QuoteInside", QStringLiteral("未\"末"), "\x96\xa2\"\x96\x96"},
                                           CharacterCase{"QuoteAndTrailingSpace", QStringLiteral("未\" "), "\x96\xa2\" "},
                                           CharacterCase{"LineBreak", QStringLiteral("A\r\nB"), "\"A\r\nB\""},
                                           CharacterCase{"DoubleQuote", QStringLiteral("\""), nullptr},
                                           CharacterCase{"WaveDash", QStringLiteral("〜"), nullptr}),
                         CaseName);

// The board would show 607 empty cells, or an empty odd one.
TEST_F(Store, AnInvisiblePairCharacterIsRefusedByItsCodePoint)
{
    LoadWith(Pairs(3));
    const std::pair<QString, const char*> invisible[] = {{QStringLiteral(" "), "U+0020"},  {QStringLiteral("\t"), "U+0009"},
                                                         {QString(QChar(0x3000)), "U+3000"}, {QString(QChar(1)), "U+0001"},
                                                         {QStringLiteral("\n"), "U+000A"}, {QString(QChar(0x200B)), "U+200B"}};
    for (const auto& [character, code] : invisible) {
        for (const bool first : {true, false}) {
            const InputRefused refusal = ErrorOf<InputRefused>([&] {
                first ? store.AddPair(character, QStringLiteral("未")) : store.AddPair(QStringLiteral("未"), character);
            });
            EXPECT_TRUE(refusal.Description().contains(QString::fromLatin1(code))
                        && refusal.Description().contains(QStringLiteral("目に見える字でなければなりません")))
                << refusal.what();
        }
    }
    EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(3)));
    EXPECT_EQ(Table(store), Pairs(3));
}

// items: the pairs the file holds, '|'-separated; null for a file the store must
// refuse with an error naming the file and the line. Whatever the reader accepts, a
// delete (or an add) of another pair writes back so that it reads the same: the
// loaded pairs are the user's, never a cause to stop.
struct FileCase {
    const char* name;
    QByteArray bytes;
    const char* items;
    QByteArray afterDeletingTheLast = {};
    int number = 0;
    int line = 0;
};
class Loading : public Store, public ::testing::WithParamInterface<FileCase> {};

TEST_P(Loading, ReadsTheWiderFormWritesItBackAndRefusesDamageChangingNothing)
{
    const FileCase& c = GetParam();
    LoadWith(Pairs(3));
    dir.Write(Dat, c.bytes);
    if (c.items) {
        store.LoadProblemFile();
        const QStringList loaded = Items(c.items);
        EXPECT_EQ(Table(store), loaded);
        if (c.afterDeletingTheLast.isEmpty())
            return;
        store.DeletePair(store.ProblemCount());
        EXPECT_EQ(dir.Read(Dat), c.afterDeletingTheLast);
        store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
        EXPECT_EQ(Table(store), Items("鳥|烏") + loaded.first(loaded.size() - 2));
        return;
    }
    const AppError error = ErrorOf([&] { store.LoadProblemFile(); });
    EXPECT_EQ(error.Number(), c.number) << error.what();
    EXPECT_TRUE(error.Description().startsWith(QStringLiteral("問題ファイル「%1」の %2 行目: ").arg(Shown(Dat)).arg(c.line)))
        << error.what();
    EXPECT_EQ(dir.Read(Dat), c.bytes);
    EXPECT_EQ(Table(store), Pairs(3));
}
INSTANTIATE_TEST_SUITE_P(
    Files, Loading,
    ::testing::Values(FileCase{"QuotedPairOnOneLine", Cp932(QStringLiteral(" 1 \r\n\"未\",\"末\"\r\n")), "未|末"},
                      FileCase{"CountWithoutSpaces", Cp932(QStringLiteral("1\r\n未\r\n末\r\n")), "未|末"},
                      FileCase{"CountAndComma", Cp932(QStringLiteral("001,\r\n未\r\n末")), "未|末"},
                      FileCase{"LeadingSpaces", Cp932(QStringLiteral("   1 \r\n   未\r\n  末\r\n")), "未|末"},
                      FileCase{"EmptyLines", " 2 \r\n\r\n\r\nA\r\n\r\n", "||A|"},
                      FileCase{"LineFeedAlone", Cp932(QStringLiteral(" 1 \n未\n末\n")), "未|末"},
                      FileCase{"LoneComma", " 2 \r\n,\r\nA\r\nB\r\nC\r\n", "||A|B"},
                      FileCase{"QuotedSpansLinesRestSkipped", " 1 \r\n\"A\r\nB\" x\r\nC \r\n\xff", "A\r\nB|C "},
                      FileCase{"QuoteInsideWrittenBack", " 2 \r\na\"b\r\n c\"\r\nX\r\nY\r\n", "a\"b|c\"|X|Y",
                               " 1 \r\na\"b\r\nc\"\r\n"},
                      FileCase{"QuoteBeforeTrailingSpaceWrittenBack", " 2 \r\na\" \r\nb \r\nX\r\nY\r\n", "a\" |b |X|Y",
                               " 1 \r\na\" \r\n\"b \"\r\n"},
                      FileCase{"QuotedLineBreaksWrittenBack", " 2 \r\n\"A\r\nB\"\r\n\"C\rD\nE\"\r\nX\r\nY\r\n",
                               "A\r\nB|C\rD\nE|X|Y", " 1 \r\n\"A\r\nB\"\r\n\"C\rD\nE\"\r\n"},
                      FileCase{"QuotedCommaAndSpacesWrittenBack", " 2 \r\n\",\", \"  a\"\r\nX\r\nY\r\n", ",|  a|X|Y",
                               " 1 \r\n\",\"\r\n\"  a\"\r\n"},
                      FileCase{"Empty", "", nullptr, {}, AppError::InputPastEndOfFile, 1},
                      FileCase{"CountAbove80", FileOf(Pairs(81)), nullptr, {}, AppError::SubscriptOutOfRange, 1},
                      FileCase{"NegativeCount", " -1 \r\n", nullptr, {}, AppError::BadFileContents, 1},
                      FileCase{"CountNotANumber", "\r\n2\r\nA\r\nB\r\n", nullptr, {}, AppError::TypeMismatch, 1},
                      FileCase{"FewerItems", " 2 \r\nA\r\nB\r\nC\r\n", nullptr, {}, AppError::InputPastEndOfFile, 5},
                      FileCase{"InvalidBytes", " 1 \r\nA\r\n\x85\x40\r\n", nullptr, {}, AppError::BadFileContents, 3},
                      FileCase{"CutOffLeadByte", " 1 \r\nA\r\n\x96", nullptr, {}, AppError::BadFileContents, 3},
                      FileCase{"OpenQuote", " 1 \n\"A\nB\n", nullptr, {}, AppError::InputPastEndOfFile, 2},
                      FileCase{"LinesInsideQuotes", " 1 \n\"A\n\"\n\xa0\n", nullptr, {}, AppError::BadFileContents, 4}),
    CaseName);

// The fuzz target's checks, on every seed with this compiler.
TEST(SeedCorpus, KeepsTheReadersAndWritersPromises)
{
    const QDir corpus(QStringLiteral(VELLUMARK_SOURCE_DIR "/tests/store/corpus"));
    const QStringList seeds = corpus.entryList(QDir::Files);
    EXPECT_GE(seeds.size(), 14);
    for (const QString& seed : seeds) {
        QFile file(corpus.filePath(seed));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << seed.toStdString();
        EXPECT_EQ(BrokenProblemFilePromise(file.readAll()), std::nullopt) << seed.toStdString();
    }
}

TEST_F(Store, FaultsAreErrorsThatChangeNothing)
{
    EXPECT_EQ(ErrorOf([&] { store.LoadProblemFile(); }).Number(), AppError::FileNotFound);
    EXPECT_EQ(ErrorOf([&] { store.RestoreFactoryProblems(); }).Number(), AppError::FileNotFound);
    EXPECT_FALSE(dir.Exists(Dat));
    LoadWith(Pairs(3));
    for (const int n : {0, 4, -1})
        EXPECT_EQ(ErrorOf([&] { store.DeletePair(static_cast<std::int16_t>(n)); }).Number(), AppError::SubscriptOutOfRange);
    for (const auto& [row, column] : {std::pair{-1, 1}, {3, 1}, {1, -1}, {1, 81}})
        EXPECT_EQ(ErrorOf([&] { store.ProblemTable(row, column); }).Number(), AppError::SubscriptOutOfRange);
    // A path through a regular file cannot be written even by root.
    ProblemStore blocked(dir.Path() + Dat + Dat, dir.Path() + Dat + Org);
    const AppError error = ErrorOf([&] { blocked.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); });
    EXPECT_TRUE(error.Description().contains(Shown(Dat + Dat))) << error.what();
    EXPECT_FALSE(error.Description().endsWith(QStringLiteral(": "))) << error.what();
    // Nor through a folder that is not there, which the message says.
    ProblemStore gone(dir.Path() + QStringLiteral("/gone") + Dat, dir.Path() + Org);
    EXPECT_TRUE(ErrorOf([&] { gone.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); })
                    .Description().contains(QStringLiteral("見つかりません")));
    EXPECT_EQ(DataFolder(dir), Items("問題.dat|音"));
    EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(3)));
    dir.Write(Dat, " 1 \r\nA\r\nB\r\n" + QByteArray(2 << 20, 'x'));
    EXPECT_EQ(ErrorOf([&] { store.LoadProblemFile(); }).Number(), AppError::BadFileContents);
    EXPECT_EQ(Table(store), Pairs(3));
}

TEST_F(Store, FactoryResetCopiesTheBytesOnlyWhenTheyReadFaithfully)
{
    for (const QByteArray& bad : {QByteArray(" 3 \r\nA\r\nB\r\n"), QByteArray(" 1 \r\nA\r\n\xef\xbd\x9e\r\n")}) {
        dir.Write(Org, bad);
        LoadWith(Pairs(5));
        const AppError error = ErrorOf([&] { store.RestoreFactoryProblems(); });
        EXPECT_TRUE(error.Description().contains(Shown(Org))) << error.what();
        EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(5)));
        EXPECT_EQ(Table(store), Pairs(5));
    }
    const QByteArray factory = Cp932(QStringLiteral(" 2 \n\"未\",\"末\"\n土\n士\n"));
    dir.Write(Org, factory);
    store.RestoreFactoryProblems();
    EXPECT_EQ(dir.Read(Dat), factory);
    EXPECT_EQ(Table(store), Items("未|末|土|士"));
}

TEST_F(Store, AWriteThatDoesNotReachTheDiskKeepsTheOldFileAndTableAndIsAnError)
{
    dir.Write(Org, FileOf(Items("土|士")));
    LoadWith(Pairs(3));
    std::vector<int> handles;
    std::optional<QString> failure;
    ProblemStore syncing(dir.Locations().problemFile, dir.Locations().factoryFile, [&](int handle) {
        handles.push_back(handle);
        return failure ? failure : SyncToDisk(handle);
    });
    syncing.LoadProblemFile();
    syncing.DeletePair(3);
    ASSERT_EQ(handles.size(), 1u);
    EXPECT_GE(handles[0], 0) << "the written file's own descriptor";

    failure = QStringLiteral("Input/output error");
    const QByteArray before = dir.Read(Dat);
    const std::function<void()> changes[] = {[&] { syncing.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); },
                                             [&] { syncing.DeletePair(1); },
                                             [&] { syncing.RestoreFactoryProblems(); }};
    for (const auto& change : changes) {
        const AppError error = ErrorOf(change);
        EXPECT_EQ(error.Number(), AppError::DeviceIoError);
        EXPECT_TRUE(error.Description().contains(Shown(Dat)) && error.Description().contains(*failure)) << error.what();
        EXPECT_EQ(dir.Read(Dat), before);
        EXPECT_EQ(Table(syncing), Pairs(2));
    }
    EXPECT_EQ(handles.size(), 4u);
    EXPECT_EQ(DataFolder(dir), Items("問題.dat|問題.org|音")) << "no temporary copy or lock left behind";
}

TEST_F(Store, AChangeOverAFileChangedElsewhereIsNotMadeAndTheFileIsReadAgain)
{
    LoadWith(Pairs(3));
    ProblemStore other = StoreIn(dir);
    other.LoadProblemFile();
    other.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    const QStringList afterOther = Items("鳥|烏") + Pairs(3);

    const ProblemFileChanged error
        = ErrorOf<ProblemFileChanged>([&] { store.AddPair(QStringLiteral("未"), QStringLiteral("末")); });
    EXPECT_EQ(error.Number(), AppError::ChangedElsewhere);
    EXPECT_TRUE(error.Description().contains(Shown(Dat))) << error.what();
    EXPECT_EQ(dir.Read(Dat), FileOf(afterOther));
    EXPECT_EQ(Table(store), afterOther);
    // Having read the file again, the same change now keeps both.
    store.AddPair(QStringLiteral("未"), QStringLiteral("末"));
    EXPECT_EQ(dir.Read(Dat), FileOf(Items("未|末") + afterOther));

    // An edit from outside, and a deletion of the file.
    dir.Write(Dat, FileOf(Items("日|曰")));
    ErrorOf<ProblemFileChanged>([&] { store.DeletePair(1); });
    EXPECT_EQ(Table(store), Items("日|曰"));
    EXPECT_EQ(dir.Read(Dat), FileOf(Items("日|曰")));
    QFile::remove(dir.Path() + Dat);
    EXPECT_EQ(ErrorOf<ProblemFileUnusable>([&] { store.DeletePair(1); }).Number(), AppError::FileNotFound);
    EXPECT_FALSE(dir.Exists(Dat));
    EXPECT_EQ(Table(store), Items("日|曰"));
}

#ifdef Q_OS_UNIX
// For a change that must not wait for the lock: any pause fails the test.
ProblemStore::LockWaiting NeverWaiting(const char* why)
{
    return {std::chrono::seconds(10), [why] {
                ADD_FAILURE() << why;
                return std::chrono::seconds(10);
            }};
}

// Another copy of the program, in its own process, holding the lock until told.
class CopyHoldingTheLock {
public:
    explicit CopyHoldingTheLock(const QString& lockPath)
    {
        int toChild[2], toParent[2];
        if (pipe(toChild) != 0 || pipe(toParent) != 0)
            return;
        child_ = fork();
        if (child_ == 0) {
            QLockFile lock(lockPath);
            char said = lock.tryLock() ? 'L' : 'F';
            (void)!write(toParent[1], &said, 1);
            (void)!read(toChild[0], &said, 1);
            if (said != 'c')
                lock.unlock();
            _exit(0);
        }
        close(toChild[0]);
        close(toParent[1]);
        tell_ = toChild[1];
        char said = 0;
        locked_ = read(toParent[0], &said, 1) == 1 && said == 'L';
        close(toParent[0]);
    }
    ~CopyHoldingTheLock() { Release(); }
    bool Locked() const { return locked_; }
    // Lets go of the lock and ends; or crashes, leaving the lock file as it is.
    void Release(bool crash = false)
    {
        if (child_ <= 0)
            return;
        (void)!write(tell_, crash ? "c" : "\n", 1);
        close(tell_);
        waitpid(child_, nullptr, 0);
        child_ = 0;
    }

private:
    pid_t child_ = 0;
    int tell_ = -1;
    bool locked_ = false;
};

void SetModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

TEST_F(Store, ALockLeftByACopyThatDiedDoesNotBlockAChange)
{
    LoadWith(Pairs(3));
    CopyHoldingTheLock first(lockPath);
    ASSERT_TRUE(first.Locked());
    first.Release(true);
    ASSERT_TRUE(QFileInfo::exists(lockPath));

    store.SetLockWaiting(NeverWaiting("waited for a dead copy's lock"));
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    EXPECT_EQ(dir.Read(Dat), FileOf(Items("鳥|烏") + Pairs(3)));
    EXPECT_FALSE(QFileInfo::exists(lockPath)) << "the store took the lock and let it go";
}

// However old its lock, a live copy is waited for: to the limit, or until it lets go.
TEST_F(Store, ASecondCopyWaitsWhileTheFirstHoldsTheLockAndGoesOnOnceItIsFree)
{
    LoadWith(Pairs(3));
    CopyHoldingTheLock first(lockPath);
    ASSERT_TRUE(first.Locked());
    SetModified(lockPath, QDateTime::currentDateTimeUtc().addSecs(-10 * ProblemStore::StaleLockTime.count()));
    int pauses = 0;
    store.SetLockWaiting({std::chrono::seconds(1), [&] {
                              ++pauses;
                              return std::chrono::milliseconds(250);
                          }});
    const AppError error = ErrorOf([&] { store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); });
    EXPECT_EQ(error.Number(), AppError::PathFileAccessError);
    EXPECT_TRUE(error.Description().contains(QStringLiteral("書き換え中"))) << error.what();
    EXPECT_EQ(pauses, 4) << "waited the whole second";
    EXPECT_TRUE(QFileInfo::exists(lockPath));
    EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(3)));

    pauses = 0;
    store.SetLockWaiting({std::chrono::seconds(10), [&] {
                              if (++pauses == 1)
                                  first.Release();
                              return std::chrono::milliseconds(100);
                          }});
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(dir.Read(Dat), FileOf(Items("鳥|烏") + Pairs(3)));
}

// A copy killed between creating its lock file and writing its process number
// leaves an empty lock that no owner can be asked about: only its age tells.
TEST_F(Store, AnEmptyLockIsTakenOverOnceOlderThanTheStaleTime)
{
    LoadWith(Pairs(3));
    dir.Write(Lock, {});
    SetModified(lockPath, QDateTime::currentDateTimeUtc().addSecs(-ProblemStore::StaleLockTime.count() - 5));
    store.SetLockWaiting(NeverWaiting("waited for an abandoned lock"));
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    EXPECT_EQ(dir.Read(Dat), FileOf(Items("鳥|烏") + Pairs(3)));
}

// A named pipe would hang the save, a link to a device eat memory, a folder or a
// file that may not be read pass for another copy's lock; none is waited for.
TEST_F(Store, ALockPathThatIsNoOrdinaryFileIsAnImmediateErrorThatSavesNothing)
{
    LoadWith(Pairs(3));
    store.SetLockWaiting(NeverWaiting("waited"));
    const std::function<bool()> makers[] = {
        [&] { return mkfifo(QFile::encodeName(lockPath).constData(), 0600) == 0; },
        [&] { return QDir().mkdir(lockPath); },
        [&] { return QFile::link(QStringLiteral("/dev/zero"), lockPath); },
        [&] {
            dir.Write(Lock, "1\n");
            return QFile::setPermissions(lockPath, {}) && !QFile(lockPath).open(QIODevice::ReadOnly);
        },
    };
    for (std::size_t i = 0; i < std::size(makers); ++i) {
        SCOPED_TRACE(i);
        if (!makers[i]()) {
            EXPECT_EQ(i, 3u) << "only an unreadable file may be impossible (permissions do not bind this user)";
            continue;
        }
        const LockFileUnusable error
            = ErrorOf<LockFileUnusable>([&] { store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏")); });
        EXPECT_TRUE(error.Description().contains(Shown(Lock))) << error.what();
        EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(3)));
        EXPECT_EQ(Table(store), Pairs(3));
        QDir().rmdir(lockPath);
        QFile::remove(lockPath);
    }
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    EXPECT_EQ(dir.Read(Dat), FileOf(Items("鳥|烏") + Pairs(3))) << "once it is gone, the save goes through";
}

// A write limit stands in for a full disk: the lock file cannot be written.
TEST_F(Store, ALockThatCannotBeWrittenSaysTheSystemsReason)
{
    LoadWith(Pairs(3));
    int toParent[2];
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
        QByteArray said = "no error";
        try {
            store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
        } catch (const AppError& error) {
            said = error.Description().toUtf8();
        }
        (void)!write(toParent[1], said.constData(), static_cast<size_t>(said.size()));
        _exit(0);
    }
    close(toParent[1]);
    QByteArray said;
    char buffer[4096];
    for (ssize_t n; (n = read(toParent[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    close(toParent[0]);
    waitpid(child, nullptr, 0);
    const QString description = QString::fromUtf8(said);
    EXPECT_TRUE(description.contains(Shown(Lock))
                && description.contains(QString::fromLocal8Bit(strerror(EFBIG))))
        << said.toStdString();
    EXPECT_EQ(dir.Read(Dat), FileOf(Pairs(3)));
}

TEST_F(Store, ANamedPipeInPlaceOfAFileIsAnErrorNotAHang)
{
    LoadWith(Pairs(3));
    for (const QString& suffix : {Dat, Org}) {
        SCOPED_TRACE(suffix.toStdString());
        QFile::remove(dir.Path() + suffix);
        ASSERT_EQ(mkfifo(QFile::encodeName(dir.Path() + suffix).constData(), 0600), 0);
        try {
            suffix == Dat ? store.LoadProblemFile() : store.RestoreFactoryProblems();
            ADD_FAILURE() << "no error";
        } catch (const ProblemFileUnusable&) {
            ADD_FAILURE() << "a factory reset would not help";
        } catch (const AppError& error) {
            EXPECT_EQ(error.Number(), AppError::PathFileAccessError);
            EXPECT_TRUE(error.Description().contains(Shown(suffix))
                        && error.Description().contains(QStringLiteral("普通のファイルではありません")))
                << error.what();
        }
    }
    EXPECT_EQ(Table(store), Pairs(3));
}

TEST_F(Store, AFolderThatMayNotBeEnteredIsReportedAsSuch)
{
    LoadWith(Pairs(3));
    const QString data = dir.Path() + QStringLiteral("/data");
    ASSERT_TRUE(QFile::setPermissions(data, {}));
    const bool bites = !QFileInfo(data + QStringLiteral("/問題.dat")).isReadable();
    const AppError error = bites ? ErrorOf([&] { store.LoadProblemFile(); }) : AppError(0, {});
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!bites)
        GTEST_SKIP() << "permissions do not bind this user";
    EXPECT_EQ(error.Number(), AppError::PermissionDenied);
    EXPECT_TRUE(error.Description().contains(Shown(Dat)) && error.Description().contains(QStringLiteral("アクセスが拒否されました")))
        << error.what();
}
#endif

// The system's own reason is passed on, unless it says nothing.
TEST(FileTroubles, PassOnTheSystemsReasonOnlyWhenItSaysSomething)
{
    EXPECT_TRUE(FileTroubleText(FileTrouble::Other, QStringLiteral("Disk quota exceeded")).contains(QStringLiteral("Disk quota exceeded")));
    for (const char* silent : {"Unknown error", " ", ""})
        EXPECT_FALSE(FileTroubleText(FileTrouble::Other, QLatin1String(silent)).contains(QStringLiteral("システムからの報告"))) << silent;
}

TEST_F(Store, APathOverTheLimitIsCalledTooLong)
{
    LoadWith(Pairs(3));
    // A name the system refuses outright, and one it takes but leaves no room beside.
    for (const int length : {300, 250}) {
        SCOPED_TRACE(length);
        const QString path = dir.Path() + QStringLiteral("/data/") + QString(length, QLatin1Char('n'));
        if (length < 255)
            QFile::copy(dir.Path() + Dat, path);
        ProblemStore far(path, dir.Locations().factoryFile);
        const AppError error = ErrorOf([&] {
            far.LoadProblemFile();
            far.DeletePair(1);
        });
        EXPECT_TRUE(error.Description().contains(QDir::toNativeSeparators(path))
                    && error.Description().contains(QStringLiteral("パスが長すぎます")))
            << error.what();
    }
}

TEST_F(Store, ADamagedFileIsSetAsideBesideItselfAndTheFactorySetRestored)
{
    const QByteArray factory = FileOf(Items("土|士"));
    dir.Write(Org, factory);
    const QDateTime when(QDate(2026, 12, 7), QTime(1, 30, 0));
    const QString setAsideName = QStringLiteral("問題.dat.壊れていたもの-20261207-013000");

    EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
    EXPECT_EQ(store.SetAsideAndRestoreFactory(when), QString()) << "a missing file is simply restored";
    EXPECT_EQ(dir.Read(Dat), factory);
    for (const QByteArray& damaged : {QByteArray(" 2 \r\nA\r\n"), QByteArray(" 1 \r\n\"A\r\n")}) {
        dir.Write(Dat, damaged);
        EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
        store.SetAsideAndRestoreFactory(when);
        EXPECT_EQ(dir.Read(Dat), factory);
        EXPECT_EQ(Table(store), Items("土|士"));
    }
    EXPECT_EQ(DataFolder(dir), QStringList({QStringLiteral("問題.dat"), setAsideName, setAsideName + QStringLiteral("-2"),
                                            QStringLiteral("問題.org"), QStringLiteral("音")}));
    EXPECT_EQ(dir.Read(QStringLiteral("/data/") + setAsideName), " 2 \r\nA\r\n");
    EXPECT_EQ(dir.Read(QStringLiteral("/data/") + setAsideName + QStringLiteral("-2")), " 1 \r\n\"A\r\n");

    // A factory copy that cannot be read touches nothing.
    dir.Write(Dat, "x");
    EXPECT_THROW(store.LoadProblemFile(), ProblemFileUnusable);
    dir.Write(Org, " 3 \r\n");
    EXPECT_THROW(store.SetAsideAndRestoreFactory(when), AppError);
    EXPECT_EQ(dir.Read(Dat), "x");
    EXPECT_EQ(DataFolder(dir).size(), 5);
}

// A save killed midway leaves its complete temporary copy; a fresh one may be
// another copy's save in progress.
TEST_F(Store, TheNextSaveRemovesStaleTemporaryCopiesOnly)
{
    LoadWith(Pairs(3));
    const QString stale = QStringLiteral("/data/問題.dat.Ab12Cd"), fresh = QStringLiteral("/data/問題.dat.Xy34Zw");
    const QString kept = QStringLiteral("/data/問題.dat.壊れていたもの-20261207-013000");
    const QString other = QStringLiteral("/data/問題.dat.Ab12Cde");
    for (const QString& name : {stale, fresh, kept, other}) {
        dir.Write(name, "x");
        if (name == fresh)
            continue;
        QFile file(dir.Path() + name);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-61), QFileDevice::FileModificationTime));
    }
    store.AddPair(QStringLiteral("鳥"), QStringLiteral("烏"));
    EXPECT_FALSE(dir.Exists(stale));
    for (const QString& name : {fresh, kept, other})
        EXPECT_TRUE(dir.Exists(name)) << name.toStdString();
    EXPECT_EQ(dir.Read(Dat), FileOf(Items("鳥|烏") + Pairs(3)));
}

TEST(FactorySet, HoldsDistinctLookAlikePairsAsTheWriterWritesThem)
{
    QFile file(QStringLiteral(VELLUMARK_SOURCE_DIR "/data/問題.org"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const ProblemFile::Contents contents = ProblemFile::Read(bytes).contents;
    EXPECT_GE(contents.count, 60);
    EXPECT_EQ(ProblemFile::Write(contents.count, contents.items).bytes, bytes);
    std::set<QString> seen;
    for (qsizetype i = 0; i + 1 < contents.items.size(); i += 2) {
        const QString &a = contents.items.at(i), &b = contents.items.at(i + 1);
        EXPECT_TRUE(a.toUcs4().size() == 1 && b.toUcs4().size() == 1 && a != b) << "pair " << i / 2 + 1;
        EXPECT_TRUE(seen.insert(std::min(a, b) + std::max(a, b)).second) << "pair " << i / 2 + 1 << " twice";
    }
}

} // namespace
