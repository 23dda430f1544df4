// The runtime folder fallback: only a real folder of the user's is taken, and
// it is closed to others; a planted link or file is refused and left alone.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/wnd/core/runtime_folder.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

TEST(RuntimeFolderTest, TakesOnlyTheUsersOwnFolder)
{
    TempFolder temp;
    const fs::path target = temp.Path() / "elsewhere";
    fs::create_directory(target);
    fs::permissions(target, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    const fs::perms open = fs::status(target).permissions();
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> plant;
        bool taken;
    };
    const Case cases[] = {
        { "missing", [](const fs::path&) {}, true },
        { "open folder",
            [](const fs::path& p) {
                fs::create_directory(p);
                fs::permissions(p, fs::perms::all);
            },
            true },
        { "link to a folder", [&](const fs::path& p) { fs::create_directory_symlink(target, p); }, false },
        { "dangling link", [&](const fs::path& p) { fs::create_directory_symlink(temp.Path() / "none", p); },
            false },
        { "file", [](const fs::path& p) { std::ofstream(p) << "x"; }, false },
    };
    for (const Case& c : cases) {
        const fs::path folder = temp.Path() / c.name;
        c.plant(folder);
        EXPECT_EQ(AfxMakePrivateFolder(folder.string()), c.taken) << c.name;
        if (c.taken) {
            EXPECT_TRUE(fs::is_directory(fs::symlink_status(folder))) << c.name;
            EXPECT_EQ(fs::status(folder).permissions() & fs::perms::mask, fs::perms::owner_all) << c.name;
        }
    }
    // Nothing was made or changed through the links.
    EXPECT_EQ(fs::status(target).permissions(), open);
    EXPECT_FALSE(fs::exists(temp.Path() / "none"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(temp.Path() / "link to a folder")));
}
