#include "events/signals.h"

#include "events/codes.h"
#include "panel_names.h"

#include "controls/handle_model.h"
#include "dynamics/fixed_point.h"
#include "dynamics/motion.h"

namespace ts {

namespace {

constexpr int kImages[6][5] = {{0, 1, 1, 1, 2},     {3, 3, 4, 4, 5},     {6, 6, 7, 7, 8},
                               {9, 9, 10, 11, 12}, {13, 14, 15, 15, 16}, {17, 18, 19, 20, 21}};

template <size_t N>
bool in(int v, const int (&set)[N]) {
    for (int x : set)
        if (x == v) return true;
    return false;
}

bool visible(const PanelModel& p, ComponentName name) {
    const PanelItem* i = p.item(name);
    return i && i->visible;
}

void clearSlot(PanelModel& p, ComponentName name) {
    if (PanelItem* i = p.item(name)) i->drawn = std::nullopt;
}

}  // namespace

int signalImageIndex(int aspectSet, int state) {
    const int set = aspectSet < 0 ? 0 : aspectSet > 5 ? 5 : aspectSet;
    const int st = state < 0 ? 0 : state > 4 ? 4 : state;
    return kImages[set][st];
}

bool isStopImage(int image) { return aspectClass(image) == AspectClass::Stop; }
bool isYYImage(int image) { return aspectClass(image) == AspectClass::YY; }
bool isYImage(int image) { return aspectClass(image) == AspectClass::Y; }
bool isYGImage(int image) { return aspectClass(image) == AspectClass::YG; }
bool isClearImage(int image) { return aspectClass(image) == AspectClass::Clear; }

void computeSignalAspects(const RouteData& route, const Motion& m, SignalState& sig) {
    const auto& rows = route.signalTable;
    auto& aspect = sig.signalAspects;
    // The run sizes the aspects at loading; a table set up otherwise gets them here.
    if (aspect.size() != rows.size()) aspect.assign(rows.size(), 0);
    const int n = int(rows.size());
    for (int i = 0; i < n; ++i) {
        aspect[size_t(i)] = 4;
        if (rows[size_t(i)].aspectSet == 0) continue;
        int j = i + 1;
        while (j < n && rows[size_t(j)].aspectSet == 0) ++j;
        // The last block signal's block runs to the end of the line; a
        // preceding train beyond it has left the line and the block.
        const bool inBlock = sig.precedingTrainPosition > rows[size_t(i)].toPosition &&
                             (j >= n ? sig.precedingTrainPosition <= kEndOfLine
                                     : sig.precedingTrainPosition < rows[size_t(j)].toPosition);
        if (!inBlock) continue;
        aspect[size_t(i)] = 0;
        int v = 0;
        for (int k = i - 1; k >= 0; --k) {
            if (rows[size_t(k)].aspectSet != 0) v += 2;
            aspect[size_t(k)] = v;
            if (v >= 4) break;
        }
    }
    for (int i = 0; i < n; ++i) {
        const SignalData& s = rows[size_t(i)];
        if ((s.kind == 1 && s.releaseTime > m.clockTicks) || s.kind == 2) aspect[size_t(i)] = s.fixedAspect;
    }
}

void cabSignalDisplay(const RouteData& route, const TrainData& t, const Motion& m, Protection& pr, SignalState& sig, PanelModel& p, TDDSD& sound) {
    if (sig.signalAspects.size() != route.signalTable.size()) sig.signalAspects.assign(route.signalTable.size(), 0);
    for (size_t row = 0; row < route.signalTable.size(); ++row) {
        const SignalData& s = route.signalTable[row];
        int32_t& aspect = sig.signalAspects[row];
        if (s.fromPosition <= m.trainPosition && m.trainPosition < s.toPosition) {
            aspect = signalImageIndex(s.aspectSet, aspect);
            pr.nextSignalAspect = aspect;
            if (pr.nextSignalAspect != sig.shownSignalAspect) {
                if (t.atsType == 0) {
                    PanelItem* img = p.item(cn::SignalImage);
                    if (img) img->drawn = std::nullopt;
                    if (s.aspectSet < 6) {
                        if (img) img->drawn = route.SignalImageList.holds(pr.nextSignalAspect)
                                                  ? std::optional<int>(pr.nextSignalAspect) : std::nullopt;
                        p.setVisible(cn::SignalLabel, true);
                    }
                    sig.shownSignalAspect = pr.nextSignalAspect;
                    p.label(cn::SignalLabel) = s.label;
                } else if (t.atsType == 2) {
                    restart(sound, t.soundAtc);
                    p.setVisible(cn::SignalLabel, false);
                    p.label(cn::SignalLabel) = s.label;
                    sig.shownSignalAspect = pr.nextSignalAspect;
                    for (ComponentName lamp : {cn::Lamp_G, cn::Lamp_YG, cn::Lamp_Y, cn::Lamp_YY, cn::Lamp_R}) p.setVisible(lamp, false);
                    const int a = pr.nextSignalAspect;
                    if (isClearImage(a)) p.setVisible(cn::Lamp_G, true);
                    if (isYGImage(a)) p.setVisible(cn::Lamp_YG, true);
                    if (isYImage(a)) p.setVisible(cn::Lamp_Y, true);
                    if (isYYImage(a)) p.setVisible(cn::Lamp_YY, true);
                    if (isStopImage(a)) p.setVisible(cn::Lamp_R, true);
                }
            }
        }
        const int sincePassed = m.trainPosition - s.toPosition;
        if (1 <= sincePassed && sincePassed < 10) {
            pr.atsConfirmed = 0;
            clearSlot(p, cn::SignalImage);
            p.label(cn::SignalLabel) = "";
        }
        const int sinceAlarm = m.trainPosition - s.alarmPosition;
        if (1 <= sinceAlarm && sinceAlarm < 10 && t.atsType == 0 && t.atsAlert == 0 && s.aspectSet >= 1) {
            if (isStopImage(aspect)) pr.atsAlarmState = kStopSignalAlarm;
        }
        const int sinceCheck = m.trainPosition - s.checkPosition;
        if (1 <= sinceCheck && sinceCheck < 10) {
            const int a = pr.nextSignalAspect;
            if (t.atsAlert == 0) pr.atsAlarmState = kNone;
            if (isStopImage(a) && a != kRepeaterStopImage) pr.atsAlarmState = 0;
            if (t.atsAlert == 1) {
                if (isYYImage(a)) pr.atsAlarmState = route.signalSpeedYY;
                else if (isYImage(a)) pr.atsAlarmState = route.signalSpeedY;
                else if (isYGImage(a)) pr.atsAlarmState = route.signalSpeedYG;
                else if (isClearImage(a) && a != kRepeaterClearImage) pr.atsAlarmState = kNone;
            }
            pr.nextSignalAspect = kNone;
            sig.shownSignalAspect = kNone;
        }
    }
}

void speedControl(Run& r, PanelModel& p) {
    if (r.atsType != 2) return;
    const long double v = real(r.speed);
    const int a = r.nextSignalAspect;
    const bool tooFast = (isYYImage(a) && v > r.signalSpeedYY) || (isYImage(a) && v > r.signalSpeedY) ||
                         (isYGImage(a) && v > r.signalSpeedYG) || v > r.signalSpeedG || (isStopImage(a) && v >= 0);
    if (tooFast) {
        if (r.brakeNotch > -r.brakeNotchCount + 1) {
            r.atsServiceBrake = 1;
            r.powerHandleMoved = 1;
            r.brakeHandleMoved = 1;
            masconupdate(r, r, r, r, p);
            r.atcBrakeHolding = 1;
        }
    } else if (r.atcBrakeHolding == 1) {
        r.atsServiceBrake = 0;
        r.powerHandleMoved = 1;
        r.brakeHandleMoved = 1;
        masconupdate(r, r, r, r, p);
        r.atcBrakeHolding = 0;
    }
}

void automaticTrainStop(Run& r, PanelModel& p, TDDSD& sound) {
    if (r.atsType != 0) return;
    TDDSDChannel& bell = sound.Channel(r.soundAts1);
    auto playing = [&](int ch) { return (sound.Channel(ch).Status() & 1) != 0; };
    if (r.brakeNotch != -r.brakeNotchCount && r.atsConfirmed == 0) {
        const bool raise = (r.atsAlert == 1 && real(r.speed) > r.atsAlarmState + 5) ||
                           (r.atsAlert == 0 && r.atsAlarmState == kStopSignalAlarm) || (r.atsAlert == 0 && r.atsAlarmState == 0);
        if (raise) {
            r.atsBellRinging = 1;
            r.atsChimePending = 0;
        }
    }
    if (r.atsBellRinging == 1 && !playing(r.soundAts1)) {
        r.atsAlarmTarget = r.atsAlarmState;
        bell.Stop();
        sound.Channel(r.soundAts2).Stop();
        bell.PlayLoop();
        p.setVisible(cn::Lamp_Ats, true);
        for (ComponentName lamp : {cn::Lamp_YG, cn::Lamp_Y, cn::Lamp_YY}) p.setVisible(lamp, false);
        if (r.atsAlarmState == 0) {
            r.safetyEmergencyBrake = 1;
            masconupdate(r, r, r, r, p);
        }
    }
    if (r.atsChimePending == 1 && !playing(r.soundAts2)) {
        bell.Stop();
        TDDSDChannel& chime = sound.Channel(r.soundAts2);
        chime.Stop();
        if (r.atsCnt == 0) chime.PlayLoop();
        else if (r.atsCnt == 1) chime.Play();
        r.atsChimePending = 0;
        p.setVisible(cn::Lamp_Ats, false);
        if (r.atsAlarmTarget == r.signalSpeedY) p.setVisible(cn::Lamp_Y, true);
        if (r.atsAlarmTarget == r.signalSpeedYG) p.setVisible(cn::Lamp_YG, true);
    }
    if (r.atsBellRinging == 0) {
        if (r.atsAlarmState == r.signalSpeedYY && !visible(p, cn::Lamp_YY)) {
            for (ComponentName lamp : {cn::Lamp_Ats, cn::Lamp_YG, cn::Lamp_Y}) p.setVisible(lamp, false);
            p.setVisible(cn::Lamp_YY, true);
            r.atsConfirmed = 0;
        }
        if (r.atsAlarmState == r.signalSpeedY && !visible(p, cn::Lamp_Y)) {
            for (ComponentName lamp : {cn::Lamp_Ats, cn::Lamp_YG, cn::Lamp_YY}) p.setVisible(lamp, false);
            p.setVisible(cn::Lamp_Y, true);
            r.atsConfirmed = 0;
        }
        if (r.atsAlarmState == r.signalSpeedYG && !visible(p, cn::Lamp_YG)) {
            for (ComponentName lamp : {cn::Lamp_Ats, cn::Lamp_Y, cn::Lamp_YY}) p.setVisible(lamp, false);
            p.setVisible(cn::Lamp_YG, true);
            r.atsConfirmed = 0;
        }
    }
    if (r.atsAlarmState == kNone) {
        for (ComponentName lamp : {cn::Lamp_Ats, cn::Lamp_YG, cn::Lamp_Y, cn::Lamp_YY}) p.setVisible(lamp, false);
        r.atsConfirmed = 0;
    }
    if (r.atsBellRinging == 1) {
        r.atsBellTicks += 1;
        if (r.atsBellTicks > r.atsTime * 10) {
            r.safetyEmergencyBrake = 1;
            masconupdate(r, r, r, r, p);
            r.atsBellTicks = 0;
        }
    }
}

}  // namespace ts
