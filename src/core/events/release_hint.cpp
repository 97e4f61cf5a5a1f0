#include "events/release_hint.h"

#include "events/codes.h"

namespace ts {

ReleaseHint releaseHint(const Protection& p, bool emergencyByVigilance) {
    if (p.safetyEmergencyBrake) return emergencyByVigilance ? ReleaseHint::VigilanceBrake : ReleaseHint::SafetyBrake;
    if (p.atsServiceBrake) return ReleaseHint::SpeedControlBrake;
    if (p.atsBellRinging) return ReleaseHint::ProtectionAlarm;
    if (p.ebDeviceIdleTicks >= kVigilanceBellTicks) return ReleaseHint::Vigilance;
    return ReleaseHint::None;
}

}  // namespace ts
