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

// qx40cli finds the window's file, not one of its own name.
TEST(ProgramPaths, TheCommandLineToolSharesTheWindowsFile) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "bin");
    EXPECT_EQ(SharedSettingsPath(dir.File("bin/qx40cli"), "/cfg/qx40"), dir.File("bin/qx40.ini"));
    std::filesystem::create_directories(dir.Path() / "usr/bin");
    std::filesystem::create_directories(dir.Path() / "usr/share/qx40");
    EXPECT_EQ(SharedSettingsPath(dir.File("usr/bin/qx40cli"), "/cfg/qx40"), "/cfg/qx40/qx40.ini");
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

// Where an executable's own files are, for the layouts a program is run from.
TEST(ProgramPaths, InstalledLayoutUnderAnyPrefix) {
    TempDir dir;
    for (const char* folder : {"usr/bin", "usr/share/qx40", "build", "share/qx40", "bare/bin"})
        std::filesystem::create_directories(dir.Path() / folder);
    dir.Write("usr/bin/qx40.ini", "");  // a stray file beside an installed program is not used

    struct Case {
        const char* executable;
        std::string settings, help, systemData;
    };
    const Case cases[] = {
        // Installed: nothing beside the executable, though root may write there.
        {"usr/bin/qx40", "/cfg/qx40/qx40.ini", dir.File("usr/share/doc/qx40/qx40.html"),
         dir.File("usr/share/qx40")},
        // A build tree, even one with a share/qx40 beside it.
        {"build/qx40", dir.File("build/qx40.ini"), dir.File("build/qx40.html"), ""},
        // A bin/ folder without share/qx40 is somebody's folder of programs.
        {"bare/bin/qx40", dir.File("bare/bin/qx40.ini"), dir.File("bare/bin/qx40.html"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable);
        const std::string exe = dir.File(c.executable);
        const std::string exeDir = std::filesystem::path(exe).parent_path().string();
        EXPECT_EQ(SystemDataDir(exeDir + "/"), c.systemData);
        EXPECT_EQ(ProgramSettingsPath(exe, "/cfg/qx40"), c.settings);
        EXPECT_EQ(HelpPagePath(exe, false), c.help);
        EXPECT_EQ(SystemDataDir(exeDir), c.systemData);
    }
}

// The Russian guide where it exists, else the English one in either language.
TEST(ProgramPaths, RussianGuideOnlyWhereItExists) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "build");
    const std::string exe = dir.File("build/qx40");
    EXPECT_EQ(HelpPagePath(exe, true), dir.File("build/qx40.html"));
    dir.Write("build/qx40.ru.html", "");
    EXPECT_EQ(HelpPagePath(exe, true), dir.File("build/qx40.ru.html"));
    EXPECT_EQ(HelpPagePath(exe, false), dir.File("build/qx40.html"));
}

}  // namespace
}  // namespace qx40
