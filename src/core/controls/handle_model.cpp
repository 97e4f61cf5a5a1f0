#include "controls/handle_model.h"
#include "dynamics/brake_types.h"
#include "panel_names.h"

#include <cmath>
#include <cstdlib>

namespace ts {

bool combinedNotchUp(const TrainData& t, Handles& h) {
    const int P = t.powerNotchCount;
    const int H = t.holdPositionEnabled;
    bool released = false;
    if (h.brakeNotch == 0 && h.powerNotch < P && h.holdPosition == 0) h.powerNotch += 1;
    if (h.holdPosition == 1) h.holdPosition = 0;
    if (h.powerNotch == 0 && h.brakeNotch < 0 && h.holdPosition == 0) {
        h.brakeNotch += 1;
        released = true;
        if (H == 1 && h.brakeNotch == 0) h.holdPosition = 1;
    }
    h.powerHandleMoved = 1;
    h.brakeHandleMoved = 1;
    return released;
}

namespace {

// The brake part of a step toward brake (step 1 and the inner rules of step 2).
bool brakeTowardApply(const TrainData& t, Handles& h, int bound, bool needPowerOff) {
    const int H = t.holdPositionEnabled;
    if (h.holdPosition == 1) {
        h.holdPosition = 0;
        h.brakeNotch = -1;
        h.holdExitLatch = 1;
    }
    if ((!needPowerOff || h.powerNotch == 0) && h.brakeNotch > bound && h.holdPosition == 0) {
        const int before = h.brakeNotch;
        if (H == 1 && before == 0) h.holdPosition = 1;
        if (H == 1 && before < 0 && h.holdExitLatch == 0) h.brakeNotch -= 1;
        if (H != 1) h.brakeNotch -= 1;
        if (H == 1 && h.holdExitLatch == 1) h.holdExitLatch = 0;
        return true;
    }
    return false;
}

}  // namespace

bool combinedNotchDown(const TrainData& t, Handles& h, int bound) {
    const bool ran = brakeTowardApply(t, h, bound, true);
    if (h.brakeNotch == 0 && h.powerNotch > 0) h.powerNotch -= 1;
    h.powerHandleMoved = 1;
    h.brakeHandleMoved = 1;
    return ran;
}

void powerUp(const TrainData& t, Handles& h) {
    if (h.powerNotch < t.powerNotchCount) h.powerNotch += 1;
    h.powerHandleMoved = 1;
}

void powerDown(const TrainData& t, Handles& h) {
    if (h.powerNotch > 0) h.powerNotch -= 1;
    h.powerHandleMoved = 1;
}

void brakeReleaseStep(const TrainData& t, Handles& h) {
    h.holdPosition = 0;
    if (h.brakeNotch < 0) {
        h.brakeNotch += 1;
        if (t.holdPositionEnabled == 1 && h.brakeNotch == 0) h.holdPosition = 1;
    }
    h.brakeHandleMoved = 1;
}

void brakeApplyStep(const TrainData& t, Handles& h) {
    brakeTowardApply(t, h, 1 - h.brakeNotchCount, false);
    h.brakeHandleMoved = 1;
}

void allToNeutral(const TrainData& t, Handles& h) {
    h.holdPosition = 0;
    h.brakeNotch = 0;
    h.powerNotch = 0;
    h.powerHandleMoved = 1;
    h.brakeHandleMoved = 1;
}

void emergency(const TrainData& t, Handles& h) {
    h.holdPosition = 0;
    h.brakeNotch = -h.brakeNotchCount;
    h.powerNotch = 0;
    h.powerHandleMoved = 1;
    h.brakeHandleMoved = 1;
}

bool brakeHandleEmergency(const TrainData& t, Handles& h) {
    if (h.brakeNotch == -h.brakeNotchCount) return false;
    h.holdPosition = 0;
    h.brakeNotch = -h.brakeNotchCount;
    h.brakeHandleMoved = 1;
    return true;
}

bool setReverser(Run& r, int direction) {
    if (std::llabs(r.speed) > 10000) return false;
    r.reverser = direction;
    return true;
}

void showReverserLamps(PanelModel& panel, int direction) {
    panel.setVisible(cn::Lamp_Fwd, direction == 1);
    panel.setVisible(cn::Lamp_Bck, direction == -1);
}

int64_t roundedKmh(int64_t speed) { return int64_t(std::nearbyint(double(speed) / 10000.0)); }


void Door_operate(Run& r, TDDSD& sound) {
    r.doorOpenCommand = 0;
    if (roundedKmh(r.speed) != 0) return;
    const uint8_t wasOpen = r.doorsOpen;
    if (wasOpen == 0) {
        r.doorOpenCommand = 1;
        restart(sound, r.soundDoorOpen);
    }
    if (wasOpen == 1) {
        r.doorOpenCommand = 0;
        restart(sound, r.soundDoorClose);
    }
    if (r.doorOpenCommand == 1) r.doorsOpen = 1;
}

void masconupdate(const Run& r, PanelModel& panel) {
    const int B = r.brakeNotchCount;
    const int P = r.powerNotchCount;
    auto& power = panel.label(cn::PowerLabel);
    auto& brake = panel.label(cn::BrakeLabel);
    const auto& t = r.handleLabelTexts;
    if (r.brakeNotch == -B) brake = t[kEB];
    if (r.powerNotch == 0) power = t[kNeut2];
    if (r.brakeNotch == 0) brake = t[kNeut];
    if (r.powerNotch > 0 && r.powerNotch <= P) power = "P" + std::to_string(r.powerNotch);
    const BrakeTypeTraits traits = brakeTraits(r.brakeType);
    if (traits.numberedLabels && -B < r.brakeNotch && r.brakeNotch < 0 && r.holdPosition == 0)
        brake = "B" + std::to_string(-r.brakeNotch);
    if (r.holdPosition == 1) brake = t[kHold2];
    if (traits.positionNames) {
        if (r.brakeNotch == -3) brake = t[kApply];
        if (r.brakeNotch == -2) brake = t[kHold];
        if (r.brakeNotch == -1) brake = t[kMaintain];
    }
    panel.label(cn::Label1) = r.reverser == 1 ? t[kForward] : r.reverser == -1 ? t[kReverse] : t[kNeutral];

    PanelItem* p = panel.item(cn::Lamp_P);
    PanelItem* b = panel.item(cn::Lamp_B);
    // An image number the list does not hold paints nothing.
    auto paint = [](PanelItem* item, const ImageList& list, int index) {
        if (item) item->drawn = list.holds(index) ? std::optional<int>(index) : std::nullopt;
    };
    if (!r.safetyEmergencyBrake && !r.atsServiceBrake) {
        paint(p, r.NotchImageP, r.powerNotch);
        int bi;
        if (r.holdPositionEnabled != 1) bi = -r.brakeNotch;
        else bi = r.brakeNotch == 0 ? 0 : -r.brakeNotch + 1;
        if (r.holdPosition == 1) bi = 1;
        paint(b, r.NotchImageB, bi);
    }
    if (r.safetyEmergencyBrake == 1) {
        paint(p, r.NotchImageP, 0);
        paint(b, r.NotchImageB, r.NotchImageB.count() - 1);
    }
    if (r.atsServiceBrake == 1) {
        paint(p, r.NotchImageP, 0);
        paint(b, r.NotchImageB, r.NotchImageB.count() - 2);
    }
}

}  // namespace ts
