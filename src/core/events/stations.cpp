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

void doorLamp(Run& r, PanelModel& p, TDDSD& sound) {
    if (r.doorOpenCommand == 0 && !playingOnce(sound, r.soundDoorOpen) && !playingOnce(sound, r.soundDoorClose) &&
        r.doorLampLit == 0) {
        showDoorLamp(r, p, true);
        r.doorsOpen = 0;
    }
    if (r.doorsOpen == 1) showDoorLamp(r, p, false);
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

void stationScan(Run& r, PanelModel& p, TDDSD& sound) {
    const int n = r.stationCount();
    // The run-time flags exist for the first 100 stations (the loader allows no more stopping stations).
    const int flagged = std::min(n, kStationFlags);
    static const StationData kEmpty{};
    for (int i = 0; i < flagged; ++i) {
        const StationData& s = r.stationTable[size_t(i)];
        const StationData& next = i + 1 < n ? r.stationTable[size_t(i + 1)] : kEmpty;
        if (s.stopTo < r.trainPosition && r.trainPosition < next.stopFrom) {
            p.label(cn::Label4) = next.name + suffix(r, next.kind);
            if (r.stationArrived[size_t(i)] == 1) {
                if (PanelItem* stop = p.item(cn::stop)) stop->drawn = std::nullopt;
            }
            r.stationArrived[size_t(i)] = 0;
        }
        if (s.stopFrom <= r.trainPosition && r.trainPosition <= s.stopTo && s.kind != 1) {
            if (r.stationArrived[size_t(i)] == 0) {
                if (PanelItem* stop = p.item(cn::stop)) stop->drawn = r.SignImageList.holds(0) ? std::optional<int>(0) : std::nullopt;
            }
            p.label(cn::Label4) = s.name;
            r.stationArrived[size_t(i)] = 1;
        }
        if (r.stationArrived[size_t(i)] == 1 && r.stationDeparted[size_t(i)] == 0) {
            if (s.kind == 0 && r.doorsOpen == 0 && roundedKmh(r.speed) == 0 && r.oneManOperation == 0) Door_operate(r, r, r, sound);
            const int departureChannel = ChannelMap::of(r, r).route(s.soundIndex);
            if (s.departureTime < r.clockTicks && r.stationDepartureSoundPlayed[size_t(i)] == 0 &&
                (s.kind == 2 || (s.kind == 0 && r.doorsOpen == 1))) {
                restart(sound, departureChannel);
                r.stationDepartureSoundPlayed[size_t(i)] = 1;
                r.stopDistance += s.nextStopDistance;
            }
            if (s.closeTime < r.clockTicks && r.doorsOpen == 1 && r.stationDeparted[size_t(i)] == 0) {
                if (sound.Channel(departureChannel).Status() == 0) {
                    if (r.oneManOperation != 1) Door_operate(r, r, r, sound);
                    r.stationDeparted[size_t(i)] = 1;
                }
            }
        }
    }
}

void vigilanceDevice(Run& r, PanelModel& p, TDDSD& sound) {
    if (r.recordedSpeedMode == 1) r.ebSetting = 0;
    if (r.speed > 10000 && r.ebSetting == 1) r.ebDeviceIdleTicks += 1;
    if (r.ebDeviceIdleTicks >= 601) {
        if ((sound.Channel(r.soundEBring).Status() & 1) == 0) restart(sound, r.soundEBring);
        p.setVisible(cn::Lamp_EB, true);
        if (r.ebDeviceIdleTicks >= 651) {
            r.ebDeviceIdleTicks = 0;
            r.safetyEmergencyBrake = 1;
            masconupdate(r, r, r, r, p);
            r.powerHandleMoved = 1;
            r.brakeHandleMoved = 1;
        }
    }
}

void windowCaption(const RouteData& route, PanelModel& p) {
    if (p.caption == "Train Simulator") p.caption = route.lineName;
}

bool endOfLine(const Motion& m) { return m.trainPosition > kEndOfLine; }

}  // namespace ts
