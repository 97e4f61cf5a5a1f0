// The special codes the run's variables hold for "none", and the classes of
// the signal pictures, in one place for the cab signal display, the train
// protection and the call-out.
#pragma once
#include <cstdint>

namespace ts {

// No signal picture shown, no sign call-out pending, no train-protection alarm.
constexpr int kNone = 999;
// The train-protection alarm for a stop signal ahead.
constexpr int kStopSignalAlarm = 998;
// The signal picture after a station jump: unknown, so that whatever aspect
// comes next, kNone included, differs from it and is shown.
constexpr int kAspectUnknown = 1000;
// The gear indicator's neutral picture.
constexpr int kNeutralGearImage = -1;
// Nothing painted on the view yet.
constexpr int kNoFrame = -1;

// What a picture of SignalImageList shows. Picture 1 (a repeater behind a
// caution) belongs to none of the protection's classes but has a call-out of its own.
enum class AspectClass { Stop, YY, Y, YG, Clear, RepeaterCaution, Other };

constexpr AspectClass aspectClass(int image) {
    switch (image) {
        case 0:
        case 3:
        case 6:
        case 9:
        case 13:
        case 17: return AspectClass::Stop;
        case 14:
        case 18: return AspectClass::YY;
        case 4:
        case 7:
        case 10:
        case 15:
        case 19: return AspectClass::Y;
        case 11:
        case 20: return AspectClass::YG;
        case 2:
        case 5:
        case 8:
        case 12:
        case 16:
        case 21: return AspectClass::Clear;
        case 1: return AspectClass::RepeaterCaution;
        default: return AspectClass::Other;
    }
}

// The first picture of the first aspect set, shown only by a repeater: the
// protection's checks treat it apart from the block signals' pictures.
constexpr int kRepeaterStopImage = 0;
constexpr int kRepeaterClearImage = 2;

// The vigilance device: idle 100 ms steps while running before its bell
// rings, and before it applies the emergency brake.
constexpr int32_t kVigilanceBellTicks = 601;
constexpr int32_t kVigilanceBrakeTicks = 651;

}  // namespace ts
