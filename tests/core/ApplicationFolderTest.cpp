// SPDX-License-Identifier: MIT
#include "core/ApplicationFolder.h"
#include "core/DataLocations.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(ApplicationFolder, RemovesOneTrailingSeparatorOnly)
{
    const std::pair<const char*, const char*> rows[] = {
        {"/home/user/games/vellumark", "/home/user/games/vellumark"},
        {"/opt/ゲーム", "/opt/ゲーム"},
        {"/", ""},
        {"C:/", "C:"},
        {"C:\\", "C:"},
        {"C:/Program Files/Vellumark", "C:/Program Files/Vellumark"},
    };
    for (const auto& [executableFolder, applicationFolder] : rows) {
        const QString folder = ApplicationFolderOf(QString::fromUtf8(executableFolder));
        EXPECT_EQ(folder, QString::fromUtf8(applicationFolder)) << executableFolder;
        EXPECT_EQ(PortableDataLocations(folder).problemFile,
                  QString::fromUtf8(applicationFolder) + QStringLiteral("/data/問題.dat"));
    }
}

} // namespace
