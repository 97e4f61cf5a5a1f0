#include "program_runs.h"

#include <sys/wait.h>

#include <cstdio>

#include "test_support.h"

namespace ts::test {

ProgramOutput runCommand(const std::string& command) {
    constexpr int kLimitSeconds = 120;
    const std::string cmd =
        "timeout -k 10 " + std::to_string(kLimitSeconds) + " env QT_QPA_PLATFORM=offscreen " + command + " 2>&1";
    ProgramOutput o;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return o;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) o.text.append(buf, n);
    const int raw = pclose(p);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return o;
}

ProgramStreams runCommandApart(const std::string& command) {
    const TempDir tmp;
    const std::string errPath = (tmp.path() / "err.txt").string();
    ProgramStreams o;
    FILE* p = popen((command + " 2>'" + errPath + "'").c_str(), "r");
    if (!p) return o;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) o.out.append(buf, n);
    const int raw = pclose(p);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.err = slurpFile(errPath);
    return o;
}

}  // namespace ts::test
