#include "dynamics/brake_types.h"

namespace ts {

BrakeTypeTraits brakeTraits(BrakeType brakeType) {
    BrakeTypeTraits t;
    switch (brakeType) {
        case BrakeType::AutomaticAir:
            t.pressures = automaticAirBrake;
            t.fixedNotchCount = 4;
            t.positionNames = true;
            t.applySoundFromApplyPosition = true;
            return t;
        case BrakeType::ElectroPneumatic: t.pressures = electroPneumaticBrake; break;
        case BrakeType::ElectroPneumaticWithPipe: t.pressures = electroPneumaticBrakeWithPipe; break;
        default: break;
    }
    t.minimumNotchCount = 3;
    t.numberedLabels = int(brakeType) >= 1;
    t.releaseSoundEveryStep = true;
    return t;
}

}  // namespace ts
