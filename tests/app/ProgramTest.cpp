// SPDX-License-Identifier: MIT
#include "app/Program.h"
#include "tests/support/TestShell.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
long PeakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// While the menu idles after its first paint the fonts are warmed with the stored
// pairs' characters. A problem file the store would refuse to read must neither
// freeze the menu (a named pipe waits for a writer) nor fill the memory (a device
// never ends); the window that loads it reports it.
TEST(Start, AProblemFileThatIsNoOrdinaryFileLeavesTheMenuResponsiveAndTheMemoryFlat)
{
    for (const bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "named pipe" : "link to /dev/zero");
        TempAppDir dir;
        InstallShippedData(dir);
        const QString problemFile = dir.Locations().problemFile;
        QFile::remove(problemFile);
        ASSERT_TRUE(pipe ? mkfifo(QFile::encodeName(problemFile).constData(), 0600) == 0
                         : QFile::link(QStringLiteral("/dev/zero"), problemFile));
        const long before = PeakMemoryKb();
        // A frozen event loop never returns to the check below: the alarm ends the test.
        alarm(60);
        {
            Program program(dir.Locations());
            ASSERT_TRUE(program.Start());
            EXPECT_TRUE(QTest::qWaitFor([&] { return program.FontsWarmed(); }, 30000));
        }
        alarm(0);
        // A device read to its end takes gigabytes; the program itself, even under
        // a sanitizer, far less.
        EXPECT_LT(PeakMemoryKb() - before, 256 * 1024) << "kilobytes more at the peak";
    }
}
#endif

} // namespace
