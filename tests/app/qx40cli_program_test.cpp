// The qx40cli program as a script runs it: what it says on stderr about the
// instrument it chose and about the program settings file it reads.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/cli/cli_exit.h"
#include "temp_dir.h"

extern char** environ;

namespace qx40 {
namespace {

using testing_support::TempDir;

struct Outcome {
    int exit = -1;
    std::string err;
};

// Runs qx40cli with args and the test's environment without QX40_DEVICE.
Outcome RunProgram(const TempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), QX40CLI_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "QX40_DEVICE=", 12) != 0) env.push_back(*e);
    env.push_back(nullptr);

    const std::string errPath = dir.File("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    Outcome o;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data()) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        o.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    o.err = dir.Read("stderr.txt");
    return o;
}

// A script must be able to tell simulated data from real data: auto, named
// or left to its default, says so when it ends on the simulated instrument;
// the simulated instrument asked for by name needs no word. (No test
// machine has a QX40 attached.)
TEST(Qx40cliProgram, SaysWhenAutoEndsOnTheSimulatedInstrument) {
    TempDir dir;
    const std::string ini = dir.Write("qx40.ini", "");
    const std::string said = "qx40cli: no instrument attached: using the simulated instrument\n";
    struct Case {
        std::vector<std::string> device;
        std::string err;
    };
    const Case cases[] = {{{}, said}, {{"--device", "auto"}, said}, {{"--device", "sim"}, ""}};
    for (const Case& c : cases) {
        std::vector<std::string> args = {"capture", "--ini", ini, "--output", dir.File("f.qxd")};
        args.insert(args.end(), c.device.begin(), c.device.end());
        const Outcome o = RunProgram(dir, args);
        EXPECT_EQ(o.exit, kExitOk) << o.err;
        EXPECT_EQ(o.err, c.err) << (c.device.empty() ? "default" : c.device[1]);
        EXPECT_TRUE(std::filesystem::exists(dir.File("f.qxd")));
        std::filesystem::remove(dir.File("f.qxd"));
    }
}

// A program settings file named with --ini must exist: a mistyped name
// would silently give the default calibration.
TEST(Qx40cliProgram, AMissingIniFileIsAFileError) {
    TempDir dir;
    const std::vector<std::vector<std::string>> commands = {
        {"capture", "--device", "sim", "--output", dir.File("out")},
        {"record", "--device", "sim", "--seconds", "1", "--output", dir.File("out")},
        {"calibrate", "zero", "--device", "sim"},
        {"calibrate", "fm", "--ppm-steps", "5"},
    };
    for (std::vector<std::string> args : commands) {
        const std::string command = args[0] + " " + args[1];
        args.insert(args.end(), {"--ini", dir.File("none.ini")});
        const Outcome o = RunProgram(dir, args);
        EXPECT_EQ(o.exit, kExitFile) << command;
        EXPECT_EQ(o.err, "qx40cli: " + dir.File("none.ini") + ": file not found\n") << command;
        EXPECT_FALSE(std::filesystem::exists(dir.File("out"))) << command;
        EXPECT_FALSE(std::filesystem::exists(dir.File("none.ini"))) << command << ": no new file";
    }
}

}  // namespace
}  // namespace qx40
