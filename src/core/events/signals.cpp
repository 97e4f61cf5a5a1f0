#include "events/signals.h"

#include "events/codes.h"
#include "panel_names.h"

#include "controls/handle_model.h"
#include "dynamics/fixed_point.h"

namespace ts {

namespace {

constexpr int kImages[6][5] = {{0, 1, 1, 1, 2},    {3, 3, 4, 4, 5},      {6, 6, 7, 7, 8},
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
                             (j >= n ? sig.precedingTrainPosition <= route.lineEnd()
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

void cabSignalDisplay(const RouteData& route, const TrainData& t, const Motion& m, Protection& pr, SignalState& sig,
                      PanelModel& p, TDDSD& sound) {
    if (sig.signalAspects.size() != route.signalTable.size()) sig.signalAspects.assign(route.signalTable.size(), 0);
    for (size_t row = 0; row < route.signalTable.size(); ++row) {
        const SignalData& s = route.signalTable[row];
        int32_t& aspect = sig.signalAspects[row];
        if (s.fromPosition <= m.trainPosition && m.trainPosition < s.toPosition) {
            aspect = signalImageIndex(s.aspectSet, aspect);
            pr.nextSignalAspect = aspect;
            if (pr.nextSignalAspect != sig.shownSignalAspect) {
                if (t.atsType == ProtectionType::TrainStop) {
                    PanelItem* img = p.item(cn::SignalImage);
                    if (img) img->drawn = std::nullopt;
                    if (s.aspectSet < 6) {
                        if (img)
                            img->drawn = route.SignalImageList.holds(pr.nextSignalAspect)
                                             ? std::optional<int>(pr.nextSignalAspect)
                                             : std::nullopt;
                        p.setVisible(cn::SignalLabel, true);
                    }
                    sig.shownSignalAspect = pr.nextSignalAspect;
                    p.label(cn::SignalLabel) = s.label;
                } else if (t.atsType == ProtectionType::SpeedControl) {
                    restart(sound, t.soundAtc);
                    p.setVisible(cn::SignalLabel, false);
                    p.label(cn::SignalLabel) = s.label;
                    sig.shownSignalAspect = pr.nextSignalAspect;
                    for (ComponentName lamp : {cn::Lamp_G, cn::Lamp_YG, cn::Lamp_Y, cn::Lamp_YY, cn::Lamp_R})
                        p.setVisible(lamp, false);
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
        if (1 <= sinceAlarm && sinceAlarm < 10 && t.atsType == ProtectionType::TrainStop && t.atsAlert == 0 &&
            s.aspectSet >= 1) {
            if (isStopImage(aspect)) pr.atsAlarmState = kStopSignalAlarm;
        }
        const int sinceCheck = m.trainPosition - s.checkPosition;
        if (1 <= sinceCheck && sinceCheck < 10) {
            const int a = pr.nextSignalAspect;
            if (t.atsAlert == 0) pr.atsAlarmState = kNone;
            if (isStopImage(a) && a != kRepeaterStopImage) pr.atsAlarmState = 0;
            if (t.atsAlert == 1) {
                if (isYYImage(a))
                    pr.atsAlarmState = route.signalSpeedYY;
                else if (isYImage(a))
                    pr.atsAlarmState = route.signalSpeedY;
                else if (isYGImage(a))
                    pr.atsAlarmState = route.signalSpeedYG;
                else if (isClearImage(a) && a != kRepeaterClearImage)
                    pr.atsAlarmState = kNone;
            }
            pr.nextSignalAspect = kNone;
            sig.shownSignalAspect = kNone;
        }
    }
}

void speedControl(const RouteData& route, const TrainData& t, const LoadedTexts& texts, const Motion& m, Handles& h,
                  Protection& pr, PanelModel& p) {
    if (t.atsType != ProtectionType::SpeedControl) return;
    const long double v = real(m.speed);
    const int a = pr.nextSignalAspect;
    const bool tooFast = (isYYImage(a) && v > route.signalSpeedYY) || (isYImage(a) && v > route.signalSpeedY) ||
                         (isYGImage(a) && v > route.signalSpeedYG) || v > route.signalSpeedG ||
                         (isStopImage(a) && v >= 0);
    if (tooFast) {
        if (h.brakeNotch > -h.brakeNotchCount + 1) {
            pr.atsServiceBrake = 1;
            h.powerHandleMoved = 1;
            h.brakeHandleMoved = 1;
            masconupdate(t, texts, h, pr, p);
            pr.atcBrakeHolding = 1;
        }
    } else if (pr.atcBrakeHolding == 1) {
        pr.atsServiceBrake = 0;
        h.powerHandleMoved = 1;
        h.brakeHandleMoved = 1;
        masconupdate(t, texts, h, pr, p);
        pr.atcBrakeHolding = 0;
    }
}

void automaticTrainStop(const RouteData& route, const TrainData& t, const LoadedTexts& texts, const Motion& m,
                        const Handles& h, Protection& pr, PanelModel& p, TDDSD& sound) {
    if (t.atsType != ProtectionType::TrainStop) return;
    TDDSDChannel& bell = sound.Channel(t.soundAts1);
    auto playing = [&](int ch) { return isPlaying(sound.Channel(ch).Status()); };
    if (h.brakeNotch != -h.brakeNotchCount && pr.atsConfirmed == 0) {
        const bool raise = (t.atsAlert == 1 && real(m.speed) > pr.atsAlarmState + 5) ||
                           (t.atsAlert == 0 && pr.atsAlarmState == kStopSignalAlarm) ||
                           (t.atsAlert == 0 && pr.atsAlarmState == 0);
        if (raise) {
            pr.atsBellRinging = 1;
            pr.atsChimePending = 0;
        }
    }
    if (pr.atsBellRinging == 1 && !playing(t.soundAts1)) {
        pr.atsAlarmTarget = pr.atsAlarmState;
        bell.Stop();
        sound.Channel(t.soundAts2).Stop();
        bell.PlayLoop();
        p.setVisible(cn::Lamp_Ats, true);
        for (ComponentName lamp : {cn::Lamp_YG, cn::Lamp_Y, cn::Lamp_YY}) p.setVisible(lamp, false);
        if (pr.atsAlarmState == 0) {
            pr.safetyEmergencyBrake = 1;
            masconupdate(t, texts, h, pr, p);
        }
    }
    if (pr.atsChimePending == 1 && !playing(t.soundAts2)) {
        bell.Stop();
        TDDSDChannel& chime = sound.Channel(t.soundAts2);
        chime.Stop();
        if (t.atsCnt == 0)
            chime.PlayLoop();
        else if (t.atsCnt == 1)
            chime.Play();
        pr.atsChimePending = 0;
        p.setVisible(cn::Lamp_Ats, false);
        if (pr.atsAlarmTarget == route.signalSpeedY) p.setVisible(cn::Lamp_Y, true);
        if (pr.atsAlarmTarget == route.signalSpeedYG) p.setVisible(cn::Lamp_YG, true);
    }
    if (pr.atsBellRinging == 0) {
        if (pr.atsAlarmState == route.signalSpeedYY && !visible(p, cn::Lamp_YY)) {
            for (ComponentName lamp : {cn::Lamp_Ats, cn::Lamp_YG, cn::Lamp_Y}) p.setVisible(lamp, false);
            p.setVisible(cn::Lamp_YY, true);
            pr.atsConfirmed = 0;
        }
        if (pr.atsAlarmState == route.signalSpeedY && !visible(p, cn::Lamp_Y)) {
            for (ComponentName lamp : {cn::Lamp_Ats, cn::Lamp_YG, cn::Lamp_YY}) p.setVisible(lamp, false);
            p.setVisible(cn::Lamp_Y, true);
            pr.atsConfirmed = 0;
        }
        if (pr.atsAlarmState == route.signalSpeedYG && !visible(p, cn::Lamp_YG)) {
            for (ComponentName lamp : {cn::Lamp_Ats, cn::Lamp_Y, cn::Lamp_YY}) p.setVisible(lamp, false);
            p.setVisible(cn::Lamp_YG, true);
            pr.atsConfirmed = 0;
        }
    }
    if (pr.atsAlarmState == kNone) {
        for (ComponentName lamp : {cn::Lamp_Ats, cn::Lamp_YG, cn::Lamp_Y, cn::Lamp_YY}) p.setVisible(lamp, false);
        pr.atsConfirmed = 0;
    }
    if (pr.atsBellRinging == 1) {
        pr.atsBellTicks += 1;
        if (pr.atsBellTicks > t.atsTime * 10) {
            pr.safetyEmergencyBrake = 1;
            masconupdate(t, texts, h, pr, p);
            pr.atsBellTicks = 0;
        }
    }
}

}  // namespace ts
