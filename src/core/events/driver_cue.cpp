#include "events/driver_cue.h"

#include <algorithm>
#include <cmath>

#include "panel_names.h"
#include "sound_channels.h"

namespace ts {

DoorCue doorCue(const RouteData& route, const StationState& st) {
    const int n = std::min(route.stationCount(), kStationFlags);
    for (int i = 0; i < n; ++i) {
        const size_t k = size_t(i);
        if (!st.stationArrived[k]) continue;
        if (st.stationDepartureSoundPlayed[k] && !st.stationDeparted[k]) return DoorCue::Melody;
        if (route.oneManOperation == 1 && st.stationDeparted[k] && st.doorsOpen == 1 && st.doorOpenCommand == 1)
            return DoorCue::CloseTheDoors;
    }
    if (st.doorsOpen == 1 && st.doorOpenCommand == 0) return DoorCue::DoorsClosing;
    return DoorCue::None;
}

CallOut callOutFor(const Run& r, const PanelModel& panel) {
    CallOut c;
    const ChannelMap map = ChannelMap::of(r, r);
    if (r.signCallIndex != kNone) {
        c.kind = CallOut::Sign;
        c.channels.push_back(map.other(r.signCallIndex));
    }
    if (r.speedLimitSignShown == 1 && r.signCallIndex == kNone) {
        c.kind = CallOut::SpeedLimit;
        c.limitKmh = r.shownSpeedLimit;
        c.channels.push_back(map.callout(3 + int(std::nearbyint(r.shownSpeedLimit * 0.2))));
    }
    if (r.speedLimitSignShown == 0 && r.signCallIndex == kNone) {
        const auto shown = panel.labels.find(cn::SignalLabel.text);
        const std::string label = shown == panel.labels.end() ? std::string() : shown->second;
        for (int i = 0; i < r.kankoCount && i < int(r.kankoTable.size()); ++i)
            if (r.nextSignalAspect != kNone && label == r.kankoTable[size_t(i)].callText)
                c.channels.push_back(map.callout(i));
        c.aspect = aspectClass(r.nextSignalAspect);
        switch (c.aspect) {
            case AspectClass::Stop: c.channels.push_back(map.callout(0)); break;
            case AspectClass::YY: c.channels.push_back(map.callout(1)); break;
            case AspectClass::Y: c.channels.push_back(map.callout(2)); break;
            case AspectClass::YG: c.channels.push_back(map.callout(3)); break;
            case AspectClass::Clear: c.channels.push_back(map.callout(4)); break;
            case AspectClass::RepeaterCaution: c.channels.push_back(map.callout(5)); break;
            case AspectClass::Other: break;
        }
        if (!c.channels.empty()) {
            c.kind = CallOut::Signal;
            c.signalText = label;
        }
    }
    return c;
}

}  // namespace ts
