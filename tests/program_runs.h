// The program under test run as the shell runs it, for the tests of its
// subcommands: what it printed and its exit status.
#pragma once
#include <string>

namespace ts::test {

// What a command printed (standard output and error together) and its exit status.
struct ProgramOutput {
    int status = -1;
    std::string text;
};
// timeout(1)'s status: the command ran past the limit (far beyond what any
// test's command takes, even on a loaded machine) and was ended.
constexpr int kTimedOutStatus = 124;
// Runs `command` (shell words) with Qt's offscreen platform under that limit.
ProgramOutput runCommand(const std::string& command);

// What a command printed on standard output and on standard error, apart.
struct ProgramStreams {
    int status = -1;
    std::string out, err;
};
// Runs `command` (shell words, which may begin with environment settings or
// a limit for the program after them) as it stands.
ProgramStreams runCommandApart(const std::string& command);

#ifdef TRAINSIM_BIN
// The program under test with `args` (shell words).
inline ProgramOutput trainsim(const std::string& args) { return runCommand("'" TRAINSIM_BIN "' " + args); }
inline ProgramStreams trainsimApart(const std::string& args) { return runCommandApart("'" TRAINSIM_BIN "' " + args); }
#endif

}  // namespace ts::test
