#include "release_hint_text.h"

#include <QCoreApplication>

namespace ts {

QString releaseHintText(ReleaseHint hint) {
    switch (hint) {
        case ReleaseHint::SafetyBrake:
            return QCoreApplication::translate(
                "ReleaseHint", "Emergency brake by train protection: stop, put the brake handle to EB (0), press r");
        case ReleaseHint::VigilanceBrake:
            return QCoreApplication::translate(
                "ReleaseHint",
                "Emergency brake by the vigilance device: stop, put the brake handle to EB (0), press r");
        case ReleaseHint::SpeedControlBrake:
            return QCoreApplication::translate(
                "ReleaseHint", "Speed-control brake: it releases once the train is below the permitted speed");
        case ReleaseHint::ProtectionAlarm:
            return QCoreApplication::translate(
                "ReleaseHint", "Train protection alarm: put the brake handle in a braking position and press space");
        case ReleaseHint::Vigilance:
            return QCoreApplication::translate("ReleaseHint", "Vigilance: press any driving key");
        case ReleaseHint::None: break;
    }
    return {};
}

}  // namespace ts
