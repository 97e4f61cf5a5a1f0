// What the driver must do to end a brake or warning of the train protection
// or the vigilance device, for a line the window shows while it lasts.
#pragma once
#include "run.h"

namespace ts {

enum class ReleaseHint {
    None,
    SafetyBrake,        // emergency brake by the train protection: stop, brake handle to EB, reset
    VigilanceBrake,     // the same, applied by the vigilance device
    SpeedControlBrake,  // releases itself below the permitted speed
    ProtectionAlarm,    // bell: brake, then confirm
    Vigilance,          // warning before the vigilance emergency brake
};

// The most urgent of what holds now. Which device applied an emergency brake
// is not in the protection's state: the caller says so (the drive report's
// record of it, so that the window and the report name the same cause).
ReleaseHint releaseHint(const Protection& protection, bool emergencyByVigilance = false);

}  // namespace ts
