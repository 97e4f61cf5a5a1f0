#include "devices/sound_errors.h"

#include <cstdio>
#include <fstream>

#include "devices/messages.h"
#include "devices/sound_device.h"

namespace ts {

void SoundErrors::report(const std::string& message) {
    ++count_;
    if (debugOption & dsoDebugMessage) {
        std::ofstream log(logPath, count_ == 1 ? std::ios::trunc : std::ios::app);
        char head[32];
        std::snprintf(head, sizeof head, "debug#%.5d ... ", count_);
        log << head << message << "\r\n";
    }
    if (debugOption & dsoExceptOnError) throw SoundError(message);
    if (debugOption & dsoHaltOnError) throw FatalError(message);
}

std::string channelRangeMessage(int index, int channelCount) {
    return "チャンネル番号" + std::to_string(index) + "は無効です、0～" + std::to_string(channelCount - 1) +
           "の範囲で指定してください";
}

}  // namespace ts
