// qx40cli: the instrument from scripts, without a window.
#include <cstdio>
#include <cstring>
#include <string>

#include "device/program_version.h"

namespace {

constexpr int kUsageError = 2;

void PrintUsage(std::FILE* to) {
    std::fputs(
        "usage: qx40cli --version\n"
        "       qx40cli --help\n",
        to);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s\n", qx40::ProgramVersionText().c_str());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    std::fprintf(stderr, "qx40cli: %s\n", argc < 2 ? "no command given" : ("unknown command: " + std::string(argv[1])).c_str());
    PrintUsage(stderr);
    return kUsageError;
}
