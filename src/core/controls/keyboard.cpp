// The keyboard and the mouse wheel: AsciiDown, keydowns, WheelD, WheelU.
#include <cmath>
#include "events/codes.h"
#include "panel_names.h"
#include <cstdlib>

#include "controls/handle_model.h"
#include "driving_run.h"
#include "dynamics/fixed_point.h"

namespace ts {

void DrivingRun::commonInputStart() {
    run_.ebDeviceIdleTicks = 0;
    services_.sound.Channel(run_.soundEBring).Stop();
    panel_.setVisible(cn::Lamp_EB, false);
}

void DrivingRun::AsciiDown(char c) {
    std::lock_guard lock(mutex_);
    commonInputStart();
    if (run_.keypadInverted == 1) {
        if (c == '2') c = '8';
        else if (c == '8') c = '2';
    }
    if (run_.inputLocked == 1) return;
    actOnCharacter(c);
}

void DrivingRun::notchUpWithSound() {
    Run& r = run_;
    if (!combinedNotchUp(r)) return;
    if (r.brakeType != 0) restartIfIdle(services_.sound, r.soundBr1);
    else if (r.brakeNotch == 0 && r.bcPressure != 0) restartIfIdle(services_.sound, r.soundBr1);
}

void DrivingRun::actOnCharacter(char c) {
    Run& r = run_;
    TDDSD& sound = services_.sound;
    const int B = r.brakeNotchCount;
    const bool slow = std::llabs(r.speed) <= 10000;

    if (c == 'f' && slow) {
        setReverser(r, 1);
        showReverserLamps(panel_, 1);
        masconupdate(r, panel_);
    } else if (c == 'b' && slow) {
        setReverser(r, -1);
        showReverserLamps(panel_, -1);
        masconupdate(r, panel_);
    } else if (c == 'n' && slow) {
        setReverser(r, 0);
        showReverserLamps(panel_, 0);
        masconupdate(r, panel_);
    } else if (c == 'z' && r.handleType == 0) {
        notchUpWithSound();
    } else if (c == 'a' && r.handleType == 0) {
        combinedNotchDown(r, 1 - B);
    } else if (c == 'q' && r.handleType == 0) {
        emergency(r);
    } else if (c == 'z' && r.handleType == 1) {
        powerUp(r);
    } else if (c == 'a' && r.handleType == 1) {
        powerDown(r);
    } else if (c == ',' && r.handleType == 1) {
        brakeReleaseStep(r);
        if (r.brakeType != 0 || r.brakeNotch == 0) restartIfIdle(sound, r.soundBr1);
    } else if (c == '.' && r.handleType == 1) {
        brakeApplyStep(r);
        if (r.brakeType == 0 && r.brakeNotch <= -3 && r.bcPressure != 0) restartIfIdle(sound, r.soundBr1);
    } else if (c == '/' && r.handleType == 1 && r.brakeNotch != -B) {
        brakeHandleEmergency(r);
        restart(sound, r.soundEB);
    } else if (c == '8') {
        notchUpWithSound();
    } else if (c == '2') {
        if (combinedNotchDown(r, 1 - B) && r.brakeType == 0 && r.brakeNotch <= -3) restartIfIdle(sound, r.soundBr1);
    } else if (c == '5') {
        if (r.brakeNotch < 0) {
            if (r.brakeType != 0) restartIfIdle(sound, r.soundBr2);
            else if (r.bcPressure != 0) restartIfIdle(sound, r.soundBr2);
        }
        allToNeutral(r);
    } else if (c == '0') {
        if (r.brakeNotch != -B) restart(sound, r.soundEB);
        emergency(r);
    }

    masconupdate(r, panel_);

    if (c == '6') restart(sound, r.soundHorn2);
    if (c == '3') restart(sound, r.soundHorn);
    if ((c == 'd' || c == '7') && r.oneManOperation == 1) Door_operate(r, sound);
    if (c == 'r' && r.brakeNotch == -B && roundedKmh(r.speed) == 0) {
        r.safetyEmergencyBrake = 0;
        r.atsServiceBrake = 0;
        sound.Channel(r.soundAts1).Stop();
        sound.Channel(r.soundAts2).Stop();
        r.atsChimePending = 0;
        r.atsBellRinging = 0;
        r.atsBellTicks = 0;
        r.atsConfirmed = 1;
    }
    if (c == ' ') confirmAlarm();
}

void DrivingRun::confirmAlarm() {
    Run& r = run_;
    TDDSDChannel& ats2 = services_.sound.Channel(r.soundAts2);
    const bool playing = (ats2.Status() & 1) != 0;
    if (r.atsAlarmState == kStopSignalAlarm) {
        if (playing && roundedKmh(r.speed) == 0) ats2.Stop();
    } else if (playing) {
        ats2.Stop();
    }
    if (r.atsChimePending == 1) {
        r.atsChimePending = 0;
        r.atsBellRinging = 0;
    }
    if (r.atsBellRinging == 1 && r.brakeNotch < 0 && r.safetyEmergencyBrake == 0) {
        r.atsBellRinging = 0;
        r.atsChimePending = 1;
        r.atsBellTicks = 0;
        r.atsConfirmed = 1;
    }
}

void DrivingRun::callOut() {
    Run& r = run_;
    TDDSD& sound = services_.sound;
    const ChannelMap map = ChannelMap::of(r, r);
    if (r.signCallIndex != kNone) restart(sound, map.other(r.signCallIndex));
    if (r.speedLimitSignShown == 1 && r.signCallIndex == kNone)
        restart(sound, map.callout(3 + int(std::nearbyint(r.shownSpeedLimit * 0.2))));
    if (r.speedLimitSignShown == 0 && r.signCallIndex == kNone) {
        const std::string& label = panel_.label(cn::SignalLabel);
        for (int i = 0; i < r.kankoCount && i < int(r.kankoTable.size()); ++i)
            if (r.nextSignalAspect != kNone && label == r.kankoTable[size_t(i)].callText) restart(sound, map.callout(i));
        switch (aspectClass(r.nextSignalAspect)) {
            case AspectClass::Stop: restart(sound, map.callout(0)); break;
            case AspectClass::YY: restart(sound, map.callout(1)); break;
            case AspectClass::Y: restart(sound, map.callout(2)); break;
            case AspectClass::YG: restart(sound, map.callout(3)); break;
            case AspectClass::Clear: restart(sound, map.callout(4)); break;
            case AspectClass::RepeaterCaution: restart(sound, map.callout(5)); break;
            case AspectClass::Other: break;
        }
    }
}

void DrivingRun::keydowns(Key key, ShiftState shift) {
    std::lock_guard lock(mutex_);
    Run& r = run_;
    const bool s = shift.onlyShift();
    if (key == Key::ScrollLock) r.keypadInverted ^= 1;
    if (key == Key::Enter) callOut();
    if (key == Key::F1 && s) r.recordedSpeedMode = 1;
    if (key == Key::F2 && s) r.recordedSpeedMode = 0;
    if (key == Key::F11 && s && r.speed > 100000) r.speed -= 100000;
    if (key == Key::F12 && s && r.speed < 10000000) r.speed += 100000;
    if (key == Key::F10 && s) r.clockTicks = boundedAdd(r.clockTicks, 900);
    if (key == Key::F9 && s) r.clockTicks = boundedAdd(r.clockTicks, -900);
    if (key == Key::F8 && s) r.trainPosition = boundedAdd(r.trainPosition, 1000);
    if (key == Key::F7 && s) r.trainPosition = boundedAdd(r.trainPosition, -1000);
    if (key == Key::F6 && s) r.trainPosition = boundedAdd(r.trainPosition, 100);
    if (key == Key::F5 && s) r.trainPosition = boundedAdd(r.trainPosition, -100);
    auto toggle = [this](AuxWindow w) {
        if (windows) windows->setShown(w, !windows->isShown(w));
    };
    if (key == Key::F3) {
        toggle(AuxWindow::Help);
        return;
    }
    if (key == Key::F2) {
        toggle(AuxWindow::ValueDisplay);
        return;
    }
    if (key == Key::F1) r.staffShown ^= 1;
}

void DrivingRun::WheelD() {
    std::lock_guard lock(mutex_);
    commonInputStart();
    notchUpWithSound();
    masconupdate(run_, panel_);
}

void DrivingRun::WheelU() {
    std::lock_guard lock(mutex_);
    commonInputStart();
    combinedNotchDown(run_, -run_.brakeNotchCount);
    masconupdate(run_, panel_);
}

}  // namespace ts
