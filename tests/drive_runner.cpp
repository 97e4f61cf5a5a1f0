#include "drive_runner.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "data/text_file.h"
#include "test_support.h"

namespace ts::test {

namespace {
std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

DriveResult drive(const std::string& dataDir, const std::string& train, const std::string& script,
                  const std::string& extraArgs) {
    TempDir tmp;
    const std::string scriptPath = tmp.write("script.txt", script);
    const std::string tracePath = (tmp.path() / "trace.jsonl").string();
    const std::string errPath = (tmp.path() / "err.txt").string();
    const std::string cmd = std::string("env QT_QPA_PLATFORM=offscreen '") + TRAINSIM_BIN + "' drive --train '" +
                            train + "' --data '" + dataDir + "' --script '" + scriptPath + "' --trace '" + tracePath +
                            "' " + extraArgs + " 2>'" + errPath + "'";
    DriveResult r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.trace = slurp(tracePath);
    r.lines = splitLines(r.trace);
    r.err = slurp(errPath);
    return r;
}

std::string field(const std::string& line, const std::string& name) {
    const std::string key = "\"" + name + "\":";
    const size_t p = line.find(key);
    if (p == std::string::npos) return {};
    size_t b = p + key.size();
    if (line[b] == '"') {
        const size_t e = line.find('"', b + 1);
        return line.substr(b + 1, e - b - 1);
    }
    size_t e = line.find_first_of(",}", b);
    return line.substr(b, e - b);
}

}  // namespace ts::test
