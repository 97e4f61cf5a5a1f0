// The program's command line outside the drive mode: --version, --help and
// what an unknown option or command gets.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <string>

#include "test_support.h"

using namespace ts::test;

namespace {

struct Output {
    int status = -1;
    std::string out, err;
};

Output trainsim(const std::string& args, const std::string& cwd = ".") {
    TempDir tmp;
    const std::string errPath = (tmp.path() / "err.txt").string();
    const std::string cmd = "cd '" + cwd + "' && '" TRAINSIM_BIN "' " + args + " 2>'" + errPath + "'";
    Output o;
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(cmd.c_str(), "r"), pclose);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p.get())) > 0) o.out.append(buf, n);
    const int raw = pclose(p.release());
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    FILE* e = std::fopen(errPath.c_str(), "rb");
    while (e && (n = fread(buf, 1, sizeof buf, e)) > 0) o.err.append(buf, n);
    if (e) std::fclose(e);
    return o;
}

}  // namespace

TEST(CommandLine, VersionIsOneLineWithTheProjectsVersion) {
    const Output o = trainsim("--version");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "trainsim " TRAINSIM_VERSION "\n");
    EXPECT_EQ(o.err, "");
}

TEST(CommandLine, HelpListsEveryCommandAndOptionAndTheDataFolder) {
    const Output o = trainsim("--help", TRAINSIM_FIXTURES "/basic");
    EXPECT_EQ(o.status, 0) << o.err;
    for (const char* w : {"\n  drive ", "--data DIR", "--port COM1=DEVICE", "--help", "--version"})
        EXPECT_NE(o.out.find(w), std::string::npos) << w << " in\n" << o.out;
    EXPECT_NE(o.out.find("Data folder: " TRAINSIM_FIXTURES "/basic\n  (the current folder)"), std::string::npos)
        << o.out;
    EXPECT_EQ(trainsim("-h").out, trainsim("--help").out);
}

TEST(CommandLine, HelpNamesTheGivenFolderAndAnEmptyFolderWithoutInstalledDemo) {
    TempDir empty;
    const Output given = trainsim("--data " TRAINSIM_FIXTURES "/basic --help", empty.path().string());
    EXPECT_NE(given.out.find("Data folder: " TRAINSIM_FIXTURES "/basic\n  (given with --data)"), std::string::npos)
        << given.out;
    // The build tree's program has no installed demo beside it.
    const Output none = trainsim("--help", empty.path().string());
    EXPECT_NE(none.out.find("holds no data files, and no installed demo was found"), std::string::npos) << none.out;
}

TEST(CommandLine, UnknownOptionsAndCommandsExitWithStatusTwo) {
    for (const char* args : {"--bogus", "--data", "fly", "drive --bogus", "drive --train"}) {
        const Output o = trainsim(args);
        EXPECT_EQ(o.status, 2) << args;
        EXPECT_EQ(o.out, "") << args;
        EXPECT_NE(o.err.find("trainsim"), std::string::npos) << args;
    }
    EXPECT_NE(trainsim("--bogus").err.find("unknown or incomplete option '--bogus'"), std::string::npos);
    EXPECT_NE(trainsim("fly").err.find("unknown command 'fly'"), std::string::npos);
    const Output driveHelp = trainsim("drive --help");
    EXPECT_EQ(driveHelp.status, 0);
    EXPECT_NE(driveHelp.out.find("usage: trainsim drive --train CODE"), std::string::npos);
}
