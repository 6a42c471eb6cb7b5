// SPDX-License-Identifier: MIT
#include "tests/support/ForkedChild.h"

#include <QFile>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What stops the child from running as an ordinary user; empty when nothing does.
std::string BecomeOrdinaryUser(const OrdinaryUser& as)
{
    const passwd* nobody = getpwnam("nobody");
    if (geteuid() != 0)
        return {};
    if (!nobody)
        return "there is no user nobody";
    const std::filesystem::path top(QFile::encodeName(as.owning).toStdString());
    std::error_code error;
    bool given = lchown(top.c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(top, error))
        given = given && lchown(entry.path().c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
    if (!given || error || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)
        return std::string("cannot become nobody owning ") + top.string() + ": " + std::strerror(errno);
    if (access(top.c_str(), R_OK | W_OK | X_OK) != 0)
        return "nobody cannot reach " + top.string() + ": the temporary folder must lie where every user may go";
    return {};
}

} // namespace

ForkedChild::ForkedChild(const std::function<void(ForkedChild&)>& body, const std::optional<OrdinaryUser>& as)
{
    // A step told to a child that has ended must fail the test, not kill it.
    std::signal(SIGPIPE, SIG_IGN);
    int down[2], up[2], report[2];
    if (pipe(down) != 0 || pipe(up) != 0 || pipe(report) != 0 || (child_ = fork()) < 0) {
        ADD_FAILURE() << "cannot start a child process: " << std::strerror(errno);
        return;
    }
    const bool inChild = child_ == 0;
    close(down[inChild ? 1 : 0]);
    close(up[inChild ? 0 : 1]);
    close(report[inChild ? 0 : 1]);
    hear_ = inChild ? down[0] : up[0];
    tell_ = inChild ? up[1] : down[1];
    report_ = report[inChild ? 1 : 0];
    if (!inChild)
        return;
    std::string said;
    ::testing::TestPartResultArray results;
    {
        const ::testing::ScopedFakeTestPartResultReporter intercept(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &results);
        said = as ? BecomeOrdinaryUser(*as) : std::string();
        try {
            if (said.empty())
                body(*this);
        } catch (const std::exception& error) {
            said = std::string("threw: ") + error.what();
        }
    }
    for (int i = 0; i < results.size(); ++i)
        if (const ::testing::TestPartResult& result = results.GetTestPartResult(i); result.failed())
            said += std::string("\n") + (result.file_name() ? result.file_name() : "") + ":"
                    + std::to_string(result.line_number()) + ": " + result.message();
    for (ssize_t n = 0; !said.empty() && (n = write(report_, said.data(), said.size())) > 0;)
        said.erase(0, static_cast<std::size_t>(n));
    _exit(0);
}

void ForkedChild::Tell(char step)
{
    if (tell_ >= 0)
        (void)!write(tell_, &step, 1);
}

char ForkedChild::Hear()
{
    char step = 0;
    return hear_ >= 0 && read(hear_, &step, 1) == 1 ? step : 0;
}

void ForkedChild::Join()
{
    if (child_ <= 0)
        return;
    close(tell_);
    std::string said;
    char buffer[4096];
    for (ssize_t n; (n = read(report_, buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<std::size_t>(n));
    int status = 0;
    waitpid(child_, &status, 0);
    close(report_);
    close(hear_);
    child_ = hear_ = tell_ = report_ = -1;
    if (!said.empty())
        ADD_FAILURE() << "in the child process: " << said;
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        ADD_FAILURE() << "the child process ended with status " << status;
}
