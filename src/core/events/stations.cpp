#include "events/stations.h"

#include "events/codes.h"
#include "panel_names.h"

#include "controls/handle_model.h"
#include "dynamics/fixed_point.h"

namespace ts {

namespace {

bool playingOnce(TDDSD& sound, int ch) { return sound.Channel(ch).Status() == 1; }

const std::string& suffix(const LoadedTexts& texts, int kind) {
    static const std::string none;
    if (kind == 0) return texts.handleLabelTexts[kStop];
    if (kind == 1) return texts.handleLabelTexts[kPass];
    if (kind == 2) return texts.handleLabelTexts[kStop2];
    return none;
}

}  // namespace

void showDoorLamp(StationState& st, PanelModel& p, bool lit) {
    st.doorLampLit = lit ? 1 : 0;
    p.setVisible(cn::Lamp_Door, lit);
}

void doorLamp(const TrainData& t, StationState& st, PanelModel& p, TDDSD& sound) {
    if (st.doorOpenCommand == 0 && !playingOnce(sound, t.soundDoorOpen) && !playingOnce(sound, t.soundDoorClose) &&
        st.doorLampLit == 0) {
        showDoorLamp(st, p, true);
        st.doorsOpen = 0;
    }
    if (st.doorsOpen == 1) showDoorLamp(st, p, false);
}

void timetableSlide(const DriverOptions& opt, PanelModel& p) {
    PanelItem* sheet = p.item(cn::staffImage);
    if (!sheet) return;
    if (opt.staffShown == 0 && sheet->left < 640) {
        sheet->left += 30;
        if (sheet->left >= 641) sheet->left = 640;
    }
    if (opt.staffShown == 1 && sheet->left > 640 - sheet->width) {
        sheet->left -= 30;
        if (sheet->left < 640 - sheet->width) sheet->left = 640 - sheet->width;
    }
}

void stationScan(const RouteData& route, const TrainData& t, const LoadedTexts& texts, Motion& m, StationState& st,
                 PanelModel& p, TDDSD& sound) {
    const int n = route.stationCount();
    // The run-time flags exist for the first 100 stations (the loader allows no more stopping stations).
    const int flagged = std::min(n, kStationFlags);
    static const StationData kEmpty{};
    for (int i = 0; i < flagged; ++i) {
        const StationData& s = route.stationTable[size_t(i)];
        const StationData& next = i + 1 < n ? route.stationTable[size_t(i + 1)] : kEmpty;
        if (s.stopTo < m.trainPosition && m.trainPosition < next.stopFrom) {
            p.label(cn::Label4) = next.name + suffix(texts, next.kind);
            if (st.stationArrived[size_t(i)] == 1) {
                if (PanelItem* stop = p.item(cn::stop)) stop->drawn = std::nullopt;
            }
            st.stationArrived[size_t(i)] = 0;
        }
        if (s.stopFrom <= m.trainPosition && m.trainPosition <= s.stopTo && s.kind != 1) {
            if (st.stationArrived[size_t(i)] == 0) {
                if (PanelItem* stop = p.item(cn::stop))
                    stop->drawn = route.SignImageList.holds(0) ? std::optional<int>(0) : std::nullopt;
            }
            p.label(cn::Label4) = s.name;
            st.stationArrived[size_t(i)] = 1;
        }
        if (st.stationArrived[size_t(i)] == 1 && st.stationDeparted[size_t(i)] == 0) {
            if (s.kind == 0 && st.doorsOpen == 0 && roundedKmh(m.speed) == 0 && route.oneManOperation == 0)
                Door_operate(t, m, st, sound);
            const int departureChannel = ChannelMap::of(route, t).route(s.soundIndex);
            if (s.departureTime < m.clockTicks && st.stationDepartureSoundPlayed[size_t(i)] == 0 &&
                (s.kind == 2 || (s.kind == 0 && st.doorsOpen == 1))) {
                restart(sound, departureChannel);
                st.stationDepartureSoundPlayed[size_t(i)] = 1;
                m.stopDistance += s.nextStopDistance;
            }
            if (s.closeTime < m.clockTicks && st.doorsOpen == 1 && st.stationDeparted[size_t(i)] == 0) {
                if (sound.Channel(departureChannel).Status() == 0) {
                    if (route.oneManOperation != 1) Door_operate(t, m, st, sound);
                    st.stationDeparted[size_t(i)] = 1;
                }
            }
        }
    }
}

void vigilanceDevice(const TrainData& t, const LoadedTexts& texts, const Motion& m, Handles& h,
                     const DriverOptions& opt, Protection& pr, PanelModel& p, TDDSD& sound) {
    if (opt.recordedSpeedMode == 1) pr.ebSetting = 0;
    if (m.speed > kFixedOne && pr.ebSetting == 1) pr.ebDeviceIdleTicks += 1;
    if (pr.ebDeviceIdleTicks >= kVigilanceBellTicks) {
        if (!isPlaying(sound.Channel(t.soundEBring).Status())) restart(sound, t.soundEBring);
        p.setVisible(cn::Lamp_EB, true);
        if (pr.ebDeviceIdleTicks >= kVigilanceBrakeTicks) {
            pr.ebDeviceIdleTicks = 0;
            pr.safetyEmergencyBrake = 1;
            masconupdate(t, texts, h, pr, p);
            h.powerHandleMoved = 1;
            h.brakeHandleMoved = 1;
        }
    }
}

void windowCaption(const RouteData& route, PanelModel& p) {
    if (p.caption == "Train Simulator") p.caption = route.lineName;
}

bool endOfLine(const RouteData& route, const Motion& m) { return m.trainPosition > route.lineEnd(); }

}  // namespace ts
