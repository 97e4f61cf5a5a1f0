// The sound bank's channel layout and the few ways every subsystem starts a
// channel. From channel 0 up: the train's drive sounds, the route's
// [SoundData], the call-outs, the [OtherImageList] sounds; motor sounds from 100.
#pragma once
#include <optional>
#include <string>

#include "data/route_data.h"
#include "data/train_data.h"
#include "devices/sound_device.h"
#include "text/our_text.h"

namespace ts {

constexpr int kMotorChannel = 100;

struct ChannelMap {
    int driveCount = 0, routeCount = 0, calloutCount = 0, otherCount = 0;

    static ChannelMap of(const RouteData& route, const TrainData& train) {
        return {train.driveSoundCount(), route.soundDataCount(), route.kankoCount, route.otherImageCount()};
    }
    int drive(int i) const { return i; }
    int route(int i) const { return driveCount + i; }
    int callout(int i) const { return driveCount + routeCount + i; }
    int other(int i) const { return driveCount + routeCount + calloutCount + i; }
    static int motor(int i) { return kMotorChannel + i; }
    // Drive, route and call-out channels: the ones stopped by a jump or closing.
    int lowCount() const { return driveCount + routeCount + calloutCount; }
    // Every channel below the motor sounds that the bank fills.
    int belowMotorCount() const { return lowCount() + otherCount; }
};

// The route file's message when the channels below the motor sounds would run
// into them, naming the list that reaches channel 100; nullopt when they fit.
inline std::optional<std::string> channelOverflowMessage(const ChannelMap& map) {
    if (map.callout(0) > kMotorChannel) return "路線ファイルに誤りがあります。[SoundData]";
    if (map.lowCount() > kMotorChannel) return "路線ファイルに誤りがあります。[KankoSound2]";
    if (map.belowMotorCount() > kMotorChannel) return "路線ファイルに誤りがあります。[OtherImageList]";
    return std::nullopt;
}

inline std::string channelOverflowExplanation(const ChannelMap& map) {
    return withArgs(trText("DataCheck",
                           "the train's %1 drive sounds, the route's %2 [SoundData] sounds, %3 call-outs "
                           "and %4 [OtherImageList] sounds need more than the 100 channels below the "
                           "motor sounds"),
                    {std::to_string(map.driveCount), std::to_string(map.routeCount), std::to_string(map.calloutCount),
                     std::to_string(map.otherCount)});
}

// Stops a channel and plays it once from the start.
inline void restart(TDDSD& sound, int channel) {
    sound.Channel(channel).Stop();
    sound.Channel(channel).Play();
}
// Stops a channel and plays it looping from the start.
inline void restartLooping(TDDSD& sound, int channel) {
    sound.Channel(channel).Stop();
    sound.Channel(channel).PlayLoop();
}
// Restarts a channel only when it is not playing.
inline void restartIfIdle(TDDSD& sound, int channel) {
    if (!isPlaying(sound.Channel(channel).Status())) restart(sound, channel);
}

}  // namespace ts
