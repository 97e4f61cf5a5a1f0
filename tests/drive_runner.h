// Runs the real trainsim binary in drive mode and reads its trace.
#pragma once
#include <string>
#include <vector>

namespace ts::test {

struct DriveResult {
    int status = -1;
    std::vector<std::string> lines;  // trace lines
    std::string trace;               // the whole trace
    std::string err;                 // standard error
};

DriveResult drive(const std::string& dataDir, const std::string& train, const std::string& script,
                  const std::string& extraArgs = {});

// The value of a top-level field (number or string as written) in a trace line; empty when absent.
std::string field(const std::string& line, const std::string& name);

}  // namespace ts::test
