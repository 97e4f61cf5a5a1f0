// One operation on a sound channel, as the device-free bank records it.
#pragma once
#include <optional>
#include <string>

namespace ts {

struct SoundOp {
    int channel = 0;
    std::string op;  // "play", "loop", "stop", "volume", "pitch"
    std::optional<double> value;
};

}  // namespace ts
