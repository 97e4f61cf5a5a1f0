// How a sound device reports its errors, as its DebugOption says: silently,
// into the "ddsd.debug" log, as an exception, or by ending the program.
#pragma once
#include <stdexcept>
#include <string>

namespace ts {

struct SoundError : std::runtime_error {
    explicit SoundError(const std::string& m) : std::runtime_error(m) {}
};

class SoundErrors {
public:
    unsigned debugOption = 1;  // dsoHaltOnError by default
    std::string logPath = "ddsd.debug";

    // Reports one failure; returns when the options say to carry on.
    void report(const std::string& message);
    int reported() const { return count_; }

private:
    int count_ = 0;
};

std::string channelRangeMessage(int index, int channelCount);

}  // namespace ts
