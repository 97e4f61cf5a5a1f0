// What the driver must do to end a brake or warning of the train protection
// or the vigilance device, for a line the window shows while it lasts.
#pragma once
#include "run.h"

namespace ts {

enum class ReleaseHint {
    None,
    SafetyBrake,        // emergency brake: stop, brake handle to EB, reset
    SpeedControlBrake,  // releases itself below the permitted speed
    ProtectionAlarm,    // bell: brake, then confirm
    Vigilance,          // warning before the vigilance emergency brake
};

// The most urgent of what holds now.
ReleaseHint releaseHint(const Protection& protection);

}  // namespace ts
