#include "files/program_paths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::TempDir;

TEST(ProgramPaths, ConfigDirFollowsXdg) {
    EXPECT_EQ(ConfigDir("/x/cfg", "/home/u"), "/x/cfg/qx40");
    EXPECT_EQ(ConfigDir("", "/home/u"), "/home/u/.config/qx40");
    EXPECT_EQ(ConfigDir(nullptr, "/home/u"), "/home/u/.config/qx40");
}

TEST(ProgramPaths, BesideTheExecutableWhenWritableOrPresent) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "bin");
    EXPECT_EQ(ProgramSettingsPath(dir.File("bin/qx40"), "/cfg/qx40"), dir.File("bin/qx40.ini"));
}

TEST(ProgramPaths, ConfigDirWhenTheFolderIsReadOnly) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "ro");
    ::chmod(dir.File("ro").c_str(), 0555);
    EXPECT_EQ(ProgramSettingsPath(dir.File("ro/qx40"), "/cfg/qx40"), "/cfg/qx40/qx40.ini");
    ::chmod(dir.File("ro").c_str(), 0755);
    dir.Write("ro/qx40.ini", "");
    ::chmod(dir.File("ro").c_str(), 0555);
    EXPECT_EQ(ProgramSettingsPath(dir.File("ro/qx40"), "/cfg/qx40"), dir.File("ro/qx40.ini"));
    ::chmod(dir.File("ro").c_str(), 0755);
}

}  // namespace
}  // namespace qx40
