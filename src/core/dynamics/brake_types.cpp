#include "dynamics/brake_types.h"

namespace ts {

BrakeTypeTraits brakeTraits(int brakeType) {
    BrakeTypeTraits t;
    switch (brakeType) {
        case 0:
            t.pressures = automaticAirBrake;
            t.fixedNotchCount = 4;
            t.positionNames = true;
            t.applySoundFromApplyPosition = true;
            return t;
        case 1: t.pressures = electroPneumaticBrake; break;
        case 2: t.pressures = electroPneumaticBrakeWithPipe; break;
        default: break;
    }
    t.minimumNotchCount = 3;
    t.numberedLabels = brakeType >= 1;
    t.releaseSoundEveryStep = true;
    return t;
}

}  // namespace ts
