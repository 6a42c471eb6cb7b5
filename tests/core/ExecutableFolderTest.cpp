// SPDX-License-Identifier: MIT
#include "core/ApplicationFolder.h"
#include "core/ExecutableFolder.h"

#include "tests/support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// Folders inside one temporary folder, so that only the fault of each row can refuse it.
class ExecutableFolderTest : public ::testing::Test {
protected:
    TempAppDir root;
    QString Made(const QString& name) const
    {
        const QString path = root.Path() + u'/' + name;
        EXPECT_TRUE(QDir().mkpath(path)) << path.toStdString();
        return path;
    }
};

TEST_F(ExecutableFolderTest, UsesOnlyAFolderItCanNameExactly)
{
    struct Row {
        const char* what;
        QString folder;
        const char* reasonMentions;  // null: usable
    };
    const QString replaced = QStringLiteral("ゲーム") + QChar(QChar::ReplacementCharacter);
    const Row rows[] = {
        {"an ordinary folder", Made(QStringLiteral("ゲーム")), nullptr},
        // On Windows whatever the ANSI code page; on Linux in the UTF-8 locale the tests run in.
        {"a user's folder in Japanese", Made(QStringLiteral("Users/太郎/ゲーム")), nullptr},
        {"a name in several scripts", Made(QStringLiteral("Ελληνικά-한국어-日本語")), nullptr},
        // The root folder's application folder is "", and "/data" is still its own.
        {"the root folder", QStringLiteral("/"), nullptr},
        {"no folder at all", QString(), "分かりません"},
        {"the root folder made empty", ApplicationFolderOf(QStringLiteral("/")), "分かりません"},
        {"a name whose bytes were not readable", Made(replaced), "読み取れない文字"},
        {"a lone surrogate", root.Path() + u'/' + QChar(0xD800), "読み取れない文字"},
        {"a relative path", QStringLiteral("."), "絶対パス"},
        {"a folder that is not there", root.Path() + QStringLiteral("/ない"), "見つかりません"},
        {"a file, not a folder", QStringLiteral(VELLUMARK_SOURCE_DIR "/CMakeLists.txt"), "見つかりません"},
    };
    for (const Row& row : rows) {
        const std::optional<QString> reason = WhyUnusable(row.folder);
        if (!row.reasonMentions) {
            EXPECT_FALSE(reason) << row.what << ": " << reason.value_or(QString()).toStdString();
            continue;
        }
        ASSERT_TRUE(reason) << row.what;
        EXPECT_TRUE(reason->contains(QString::fromUtf8(row.reasonMentions))) << row.what << ": " << reason->toStdString();
        EXPECT_TRUE(reason->contains(QDir::toNativeSeparators(row.folder))) << row.what << ": the reason names the folder";
    }
}

} // namespace
