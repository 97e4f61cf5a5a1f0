#include "controls/handle_model.h"
#include "dynamics/brake_types.h"
#include "dynamics/fixed_point.h"
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

void powerDown(const TrainData& /*t*/, Handles& h) {
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

void allToNeutral(const TrainData& /*t*/, Handles& h) {
    h.holdPosition = 0;
    h.brakeNotch = 0;
    h.powerNotch = 0;
    h.powerHandleMoved = 1;
    h.brakeHandleMoved = 1;
}

void emergency(const TrainData& /*t*/, Handles& h) {
    h.holdPosition = 0;
    h.brakeNotch = -h.brakeNotchCount;
    h.powerNotch = 0;
    h.powerHandleMoved = 1;
    h.brakeHandleMoved = 1;
}

bool brakeHandleEmergency(const TrainData& /*t*/, Handles& h) {
    if (h.brakeNotch == -h.brakeNotchCount) return false;
    h.holdPosition = 0;
    h.brakeNotch = -h.brakeNotchCount;
    h.brakeHandleMoved = 1;
    return true;
}

bool setReverser(const Motion& m, Handles& h, int direction) {
    if (std::llabs(m.speed) > kFixedOne) return false;
    h.reverser = direction;
    return true;
}

void showReverserLamps(PanelModel& panel, int direction) {
    panel.setVisible(cn::Lamp_Fwd, direction == 1);
    panel.setVisible(cn::Lamp_Bck, direction == -1);
}

void Door_operate(const TrainData& t, const Motion& m, StationState& st, TDDSD& sound) {
    st.doorOpenCommand = 0;
    if (roundedKmh(m.speed) != 0) return;
    const uint8_t wasOpen = st.doorsOpen;
    if (wasOpen == 0) {
        st.doorOpenCommand = 1;
        restart(sound, t.soundDoorOpen);
    }
    if (wasOpen == 1) {
        st.doorOpenCommand = 0;
        restart(sound, t.soundDoorClose);
    }
    if (st.doorOpenCommand == 1) st.doorsOpen = 1;
}

void masconupdate(const TrainData& t, const LoadedTexts& texts, const Handles& h, const Protection& pr,
                  PanelModel& panel) {
    const int B = h.brakeNotchCount;
    const int P = t.powerNotchCount;
    auto& power = panel.label(cn::PowerLabel);
    auto& brake = panel.label(cn::BrakeLabel);
    const auto& names = texts.handleLabelTexts;
    if (h.brakeNotch == -B) brake = names[kEB];
    if (h.powerNotch == 0) power = names[kNeut2];
    if (h.brakeNotch == 0) brake = names[kNeut];
    if (h.powerNotch > 0 && h.powerNotch <= P) power = "P" + std::to_string(h.powerNotch);
    const BrakeTypeTraits traits = brakeTraits(t.brakeType);
    if (traits.numberedLabels && -B < h.brakeNotch && h.brakeNotch < 0 && h.holdPosition == 0)
        brake = "B" + std::to_string(-h.brakeNotch);
    if (h.holdPosition == 1) brake = names[kHold2];
    if (traits.positionNames) {
        if (h.brakeNotch == -3) brake = names[kApply];
        if (h.brakeNotch == -2) brake = names[kHold];
        if (h.brakeNotch == -1) brake = names[kMaintain];
    }
    panel.label(cn::Label1) = h.reverser == 1 ? names[kForward] : h.reverser == -1 ? names[kReverse] : names[kNeutral];

    PanelItem* p = panel.item(cn::Lamp_P);
    PanelItem* b = panel.item(cn::Lamp_B);
    // An image number the list does not hold paints nothing.
    auto paint = [](PanelItem* item, const ImageList& list, int index) {
        if (item) item->drawn = list.holds(index) ? std::optional<int>(index) : std::nullopt;
    };
    if (!pr.safetyEmergencyBrake && !pr.atsServiceBrake) {
        paint(p, t.NotchImageP, h.powerNotch);
        int bi;
        if (t.holdPositionEnabled != 1)
            bi = -h.brakeNotch;
        else
            bi = h.brakeNotch == 0 ? 0 : -h.brakeNotch + 1;
        if (h.holdPosition == 1) bi = 1;
        paint(b, t.NotchImageB, bi);
    }
    if (pr.safetyEmergencyBrake == 1) {
        paint(p, t.NotchImageP, 0);
        paint(b, t.NotchImageB, t.NotchImageB.count() - 1);
    }
    if (pr.atsServiceBrake == 1) {
        paint(p, t.NotchImageP, 0);
        paint(b, t.NotchImageB, t.NotchImageB.count() - 2);
    }
}

}  // namespace ts
