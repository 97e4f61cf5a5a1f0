// The command layer: the one entry of every input device, the common start of
// every driver input, the input lock, and the rules that each command follows
// on the run.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/driver_commands.h"
#include "controls/handle_model.h"
#include "dynamics/brake_types.h"
#include "dynamics/fixed_point.h"
#include "events/codes.h"
#include "events/driver_cue.h"
#include "panel_names.h"
#include "run/driving_run.h"
#include "run/run_parts.h"

namespace ts {

using K = DriverCommand::Kind;

void DrivingRun::commonInputStart() {
    run_.ebDeviceIdleTicks = 0;
    services_.sound.Channel(run_.soundEBring).Stop();
    panel_.setVisible(cn::Lamp_EB, false);
}

void DrivingRun::dispatch(const std::string& line, const Translation& translate) {
    std::vector<PostedInput> posted;
    {
        std::lock_guard lock(mutex_);
        if (!line.empty()) record(line);
        posted = applyInput(translate(run_, panel_));
    }
    // Posted input goes through the window's input queue, after this input.
    for (PostedInput p : posted) services_.host.postInput(p);
}

std::vector<DrivingRun::PostedInput> DrivingRun::applyInput(const DriverInput& in) {
    std::vector<PostedInput> posted;
    // A controller's lever that stays inside its position, or a button
    // without an action, is no driver input.
    if (in.source == InputSource::Pad && in.commands.empty()) return posted;
    // Function keys are no driver input: they neither reset the vigilance
    // device nor wait for Start.
    if (in.source == InputSource::FunctionKey) {
        for (const DriverCommand& c : in.commands) apply(c, posted);
        return posted;
    }
    commonInputStart();
    if (in.source == InputSource::Character && run_.inputLocked == 1) return posted;
    if (in.source == InputSource::Pad) {
        dispatchPad(in, posted);
        return posted;
    }
    bool refreshed = false;
    for (const DriverCommand& c : in.commands) {
        // A typed character refreshes the handle read-outs after its handle
        // step and before anything else it does.
        if (in.source == InputSource::Character && !c.movesHandle() && !refreshed) {
            refreshHandleReadouts();
            refreshed = true;
        }
        apply(c, posted);
    }
    if (in.source != InputSource::Controller && !refreshed) refreshHandleReadouts();
    return posted;
}

void DrivingRun::dispatchPad(const DriverInput& in, std::vector<PostedInput>& posted) {
    // Locked as the keyboard is before the first Start: only what its
    // function keys and Enter do goes through.
    auto unlocked = [](K k) { return k == K::CallOut || k == K::Timetable || k == K::ValueDisplay; };
    bool moved = false;
    for (const DriverCommand& c : in.commands) {
        if (run_.inputLocked == 1 && !unlocked(c.kind)) continue;
        apply(c, posted);
        moved = moved || c.movesHandle();
    }
    if (moved) refreshHandleReadouts();
}

void DrivingRun::apply(const DriverCommand& c, std::vector<PostedInput>& posted) {
    Run& r = run_;
    const RunParts s = partsOf(r);
    TDDSD& sound = services_.sound;
    const int B = r.brakeNotchCount;
    const bool slow = std::llabs(r.speed) <= kFixedOne;
    const BrakeTypeTraits brake = brakeTraits(r.brakeType);
    switch (c.kind) {
        case K::None: break;
        case K::CombinedUp: notchUpWithSound(); break;
        case K::CombinedDownKey: combinedNotchDown(s.train, s.handles, 1 - B); break;
        case K::CombinedDownKeypad:
            if (combinedNotchDown(s.train, s.handles, 1 - B) && brake.applySoundFromApplyPosition &&
                r.brakeNotch <= kAutomaticApplyPosition)
                restartIfIdle(sound, r.soundBr1);
            break;
        case K::CombinedDownWheel: combinedNotchDown(s.train, s.handles, -B); break;
        case K::PowerUp: powerUp(s.train, s.handles); break;
        case K::PowerDown: powerDown(s.train, s.handles); break;
        case K::BrakeRelease:
            brakeReleaseStep(s.train, s.handles);
            if (brake.releaseSoundEveryStep || r.brakeNotch == 0) restartIfIdle(sound, r.soundBr1);
            break;
        case K::BrakeApply:
            brakeApplyStep(s.train, s.handles);
            if (brake.applySoundFromApplyPosition && r.brakeNotch <= kAutomaticApplyPosition && r.bcPressure != 0)
                restartIfIdle(sound, r.soundBr1);
            break;
        case K::BrakeEmergency:
            if (r.brakeNotch == -B) break;
            brakeHandleEmergency(s.train, s.handles);
            restart(sound, r.soundEB);
            break;
        case K::Emergency: emergency(s.train, s.handles); break;
        case K::EmergencyWithSound:
            if (r.brakeNotch != -B) restart(sound, r.soundEB);
            emergency(s.train, s.handles);
            break;
        case K::AllNeutral:
            if (r.brakeNotch < 0) {
                if (brake.releaseSoundEveryStep)
                    restartIfIdle(sound, r.soundBr2);
                else if (r.bcPressure != 0)
                    restartIfIdle(sound, r.soundBr2);
            }
            allToNeutral(s.train, s.handles);
            break;
        case K::Reverser:
            if (!slow) break;
            setReverser(s.motion, s.handles, c.value);
            showReverserLamps(panel_, c.value);
            refreshHandleReadouts();
            break;
        case K::ControllerPosition:
            r.powerNotch = c.value;
            r.brakeNotch = c.value2;
            r.powerHandleMoved = 1;
            r.brakeHandleMoved = 1;
            if (c.flag) restart(sound, r.soundEB);
            refreshHandleReadouts();
            break;
        case K::ControllerReverser:
            if (slow) r.reverser = c.value;
            refreshHandleReadouts();
            break;
        case K::Doors:
            if (r.oneManOperation == 1) Door_operate(s.train, s.motion, s.stations, sound);
            break;
        case K::Horn: restart(sound, r.soundHorn); break;
        case K::Whistle: restart(sound, r.soundHorn2); break;
        case K::Confirm: confirmAlarm(); break;
        case K::ResetProtection:
            // Only at a standstill with the brake handle at emergency.
            if (r.brakeNotch != -B || roundedKmh(r.speed) != 0) break;
            r.safetyEmergencyBrake = 0;
            r.atsServiceBrake = 0;
            sound.Channel(r.soundAts1).Stop();
            sound.Channel(r.soundAts2).Stop();
            r.atsChimePending = 0;
            r.atsBellRinging = 0;
            r.atsBellTicks = 0;
            r.atsConfirmed = 1;
            break;
        case K::CallOut: callOut(); break;
        case K::SwapKeypad: r.keypadInverted ^= 1; break;
        case K::RecordedSpeed: r.recordedSpeedMode = uint8_t(c.value); break;
        case K::Timetable: r.staffShown ^= 1; break;
        case K::HelpWindow:
        case K::ValueDisplay: {
            const AuxWindow w = c.kind == K::HelpWindow ? AuxWindow::Help : AuxWindow::ValueDisplay;
            services_.host.setShown(w, !services_.host.isShown(w));
            break;
        }
        case K::TrialSpeed:
            if ((c.value < 0 && r.speed > 100000) || (c.value > 0 && r.speed < 10000000)) r.speed += c.value;
            break;
        case K::TrialClock: r.clockTicks = boundedAdd(r.clockTicks, c.value); break;
        case K::TrialPosition: r.trainPosition = boundedAdd(r.trainPosition, c.value); break;
        case K::PostSpace: posted.push_back(PostedInput::Space); break;
        case K::PostHorn: posted.push_back(PostedInput::Horn); break;
        case K::PostEnter: posted.push_back(PostedInput::Enter); break;
        case K::PadPower:
            // One lever cannot stand in power and brake at once: on a train
            // with one handle, power waits until the brake lever is released.
            if (r.handleType == HandleType::Combined && (r.brakeNotch < 0 || r.holdPosition == 1)) break;
            r.powerNotch = std::clamp(c.value, 0, std::max(r.powerNotchCount, 0));
            r.powerHandleMoved = 1;
            refreshHandleReadouts();
            break;
        case K::PadBrake: {
            const int before = r.brakeNotch;
            r.brakeNotch = std::clamp(c.value, -std::max(B, 0), 0);
            // An absolute position leaves no step half done.
            r.holdPosition = c.flag && r.brakeNotch == 0 && r.holdPositionEnabled == 1;
            r.holdExitLatch = 0;
            r.brakeHandleMoved = 1;
            if (r.handleType == HandleType::Combined && (r.brakeNotch < 0 || r.holdPosition == 1) &&
                r.powerNotch != 0) {
                r.powerNotch = 0;
                r.powerHandleMoved = 1;
            }
            if (r.brakeNotch == -B && before != -B) restart(sound, r.soundEB);
            refreshHandleReadouts();
            break;
        }
    }
}

void DrivingRun::refreshHandleReadouts() {
    const RunParts s = partsOf(run_);
    masconupdate(s.train, s.texts, s.handles, s.protection, panel_);
}

void DrivingRun::notchUpWithSound() {
    Run& r = run_;
    const RunParts s = partsOf(r);
    if (!combinedNotchUp(s.train, s.handles)) return;
    if (brakeTraits(r.brakeType).releaseSoundEveryStep)
        restartIfIdle(services_.sound, r.soundBr1);
    else if (r.brakeNotch == 0 && r.bcPressure != 0)
        restartIfIdle(services_.sound, r.soundBr1);
}

void DrivingRun::confirmAlarm() {
    Run& r = run_;
    TDDSDChannel& ats2 = services_.sound.Channel(r.soundAts2);
    const bool playing = isPlaying(ats2.Status());
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
    panel_.label(cn::SignalLabel);  // the label is made if it was not yet, as the run always did
    lastCallOut_ = callOutFor(run_, panel_);
    ++callOutCount_;
    for (int channel : lastCallOut_.channels) restart(services_.sound, channel);
}

}  // namespace ts
