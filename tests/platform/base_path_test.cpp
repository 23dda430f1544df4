#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/base/path.h"
#include "tests/support/temp_data_root.h"

namespace fs = std::filesystem;

TEST(PathTest, DriveMapsUnderDataRoot)
{
    TempDataRoot root;
    EXPECT_EQ(MapWindowsPath("C:\\Windows\\system\\Manager\\Manager.mdb"),
        root.Root() + "/drive_c/Windows/system/Manager/Manager.mdb");
    EXPECT_EQ(MapWindowsPath("c:/zuvar/x.txt"), root.Root() + "/drive_c/zuvar/x.txt");
    EXPECT_EQ(MapWindowsPath("D:\\data"), root.Root() + "/drive_d/data");
    EXPECT_EQ(MapWindowsPath("\\Zuvinf.ini"), root.Root() + "/drive_c/Zuvinf.ini");
    EXPECT_TRUE(fs::is_directory(root.Root() + "/drive_c"));
    EXPECT_TRUE(fs::is_directory(root.Root() + "/drive_d"));
}

TEST(PathTest, ExistingComponentsMatchRegardlessOfCase)
{
    TempDataRoot root;
    fs::create_directories(root.Root() + "/drive_c/ZUVAR/ScaleData");
    EXPECT_EQ(MapWindowsPath("C:\\zuvar\\scaledata\\new\\File.MDB"),
        root.Root() + "/drive_c/ZUVAR/ScaleData/new/File.MDB");
    EXPECT_EQ(MapWindowsPath("C:\\Zuvar\\ResultData"), root.Root() + "/drive_c/ZUVAR/ResultData");
    // A component after a missing one keeps its case even if a match exists elsewhere.
    EXPECT_EQ(MapWindowsPath("C:\\other\\ZUVAR"), root.Root() + "/drive_c/other/ZUVAR");
}

TEST(PathTest, ExactMatchWinsOverCaseVariant)
{
    TempDataRoot root;
    fs::create_directories(root.Root() + "/drive_c/Data");
    fs::create_directories(root.Root() + "/drive_c/data");
    EXPECT_EQ(MapWindowsPath("C:\\data"), root.Root() + "/drive_c/data");
    EXPECT_EQ(MapWindowsPath("C:\\Data"), root.Root() + "/drive_c/Data");
    EXPECT_EQ(MapWindowsPath("C:\\DATA"), root.Root() + "/drive_c/Data");
}

TEST(PathTest, DotsSeparatorsAndTrailingSlashes)
{
    TempDataRoot root;
    EXPECT_EQ(MapWindowsPath("C:\\Zuvar\\ResultData\\"), root.Root() + "/drive_c/Zuvar/ResultData");
    EXPECT_EQ(MapWindowsPath("C:\\a\\.\\b\\..\\c"), root.Root() + "/drive_c/a/c");
    // ".." never climbs out of the drive.
    EXPECT_EQ(MapWindowsPath("C:\\..\\..\\etc\\passwd"), root.Root() + "/drive_c/etc/passwd");
    EXPECT_EQ(MapWindowsPath("C:\\\\a//b"), root.Root() + "/drive_c/a/b");
    EXPECT_EQ(MapWindowsPath("C:"), root.Root() + "/drive_c");
}

TEST(PathTest, NativeNetworkAndEmptyPaths)
{
    TempDataRoot root;
    EXPECT_EQ(MapWindowsPath("/home/user/Items.mdb"), "/home/user/Items.mdb");
    EXPECT_TRUE(IsNativePath("/x"));
    EXPECT_FALSE(IsNativePath("C:\\x"));
    EXPECT_EQ(MapWindowsPath("\\\\server\\share\\x"), "");
    EXPECT_EQ(MapWindowsPath(""), "");
}

TEST(PathTest, RelativePathsFollowTheCurrentDirectory)
{
    TempDataRoot root;
    const fs::path saved = fs::current_path();
    fs::create_directories(root.Root() + "/work/Sub");
    fs::current_path(root.Root() + "/work");
    const std::string mapped = MapWindowsPath("sub\\file.txt");
    fs::current_path(saved);
    EXPECT_EQ(mapped, root.Root() + "/work/Sub/file.txt");
}

TEST(PathTest, DataRootDefaultsFollowTheEnvironment)
{
    AfxSetDataRoot("");
    const char* savedRoot = std::getenv("CALVORN_ROOT");
    const std::string keepRoot = savedRoot ? savedRoot : "";
    const char* savedXdg = std::getenv("XDG_DATA_HOME");
    const std::string keepXdg = savedXdg ? savedXdg : "";

    setenv("CALVORN_ROOT", "/srv/calvorn/", 1);
    EXPECT_EQ(AfxGetDataRoot(), "/srv/calvorn");
    unsetenv("CALVORN_ROOT");
    setenv("XDG_DATA_HOME", "/xdg", 1);
    EXPECT_EQ(AfxGetDataRoot(), "/xdg/calvorn");
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/root", 1);
    EXPECT_EQ(AfxGetDataRoot(), std::string(std::getenv("HOME")) + "/.local/share/calvorn");

    AfxSetDataRoot("/override");
    EXPECT_EQ(AfxGetDataRoot(), "/override");
    AfxSetDataRoot("");
    if (savedRoot)
        setenv("CALVORN_ROOT", keepRoot.c_str(), 1);
    if (savedXdg)
        setenv("XDG_DATA_HOME", keepXdg.c_str(), 1);
}
