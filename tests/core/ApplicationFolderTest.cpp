#include "core/ApplicationFolder.h"
#include "core/DataLocations.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FolderCase {
    const char* executableFolder;
    const char* applicationFolder;
};

class ApplicationFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ApplicationFolder, RemovesOneTrailingSeparatorOnly)
{
    const FolderCase& c = GetParam();
    const QString folder = ApplicationFolderOf(QString::fromUtf8(c.executableFolder));
    EXPECT_EQ(folder, QString::fromUtf8(c.applicationFolder));
    EXPECT_EQ(PortableDataLocations(folder).problemFile,
              QString::fromUtf8(c.applicationFolder) + QStringLiteral("/data/問題.dat"));
}

INSTANTIATE_TEST_SUITE_P(Folders, ApplicationFolder,
                         ::testing::Values(FolderCase{"/home/user/games/vellumark", "/home/user/games/vellumark"},
                                           FolderCase{"/opt/ゲーム", "/opt/ゲーム"},
                                           FolderCase{"/", ""},
                                           FolderCase{"C:/", "C:"},
                                           FolderCase{"C:\\", "C:"},
                                           FolderCase{"C:/Program Files/Vellumark", "C:/Program Files/Vellumark"}),
                         [](const ::testing::TestParamInfo<FolderCase>& row) {
                             return "Folder" + std::to_string(row.index);
                         });

} // namespace
