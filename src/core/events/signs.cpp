#include "events/signs.h"
#include "events/codes.h"
#include "panel_names.h"

#include <cstdio>

#include "dynamics/fixed_point.h"

namespace ts {

namespace {

void draw(PanelModel& p, ComponentName name, const ImageList& list, int index) {
    if (PanelItem* i = p.item(name)) i->drawn = list.holds(index) ? std::optional<int>(index) : std::nullopt;
}

void clear(PanelModel& p, ComponentName name) {
    if (PanelItem* i = p.item(name)) i->drawn = std::nullopt;
}

}  // namespace

int speedLimitImage(int limit) { return limit >= 15 && limit <= 120 && limit % 5 == 0 ? limit / 5 : 0; }

void speedLimitBlink(const SignState& signs, const Presentation& pres, PanelModel& p) {
    if (signs.speedLimitSignShown != 1) return;
    if (pres.presentationTicks % 5 == 0 && pres.presentationTicks % 10 != 0) p.setVisible(cn::SpeedLimitImage, false);
    if (pres.presentationTicks % 10 == 0) p.setVisible(cn::SpeedLimitImage, true);
}

void gradientSign(const RouteData& route, const Motion& m, SignState& signs, PanelModel& p) {
    const int n = route.slopeCount();
    static const SlopeRow kEmpty{};
    for (int i = 0; i < n; ++i) {
        const SlopeRow& s = route.slopeTable[size_t(i)];
        const SlopeRow& next = i + 1 < n ? route.slopeTable[size_t(i + 1)] : kEmpty;
        if (s.fromPosition < m.trainPosition && m.trainPosition < s.toPosition) {
            if (s.gradient > 0 && s.gradient != signs.pointGradient) draw(p, cn::SlopeImage, route.SignImageList, 1);
            if (s.gradient < 0 && s.gradient != signs.pointGradient) draw(p, cn::SlopeImage, route.SignImageList, 2);
            signs.pointGradient = s.gradient;
            char text[32];
            std::snprintf(text, sizeof text, "%.1Lf", real(s.gradient));
            p.label(cn::SlopeText) = text;
        }
        // Between two rows, and beyond the last row, the track is level.
        const bool pastLast = i + 1 == n && s.toPosition < m.trainPosition;
        if ((s.toPosition < m.trainPosition && m.trainPosition < next.fromPosition) || pastLast) {
            clear(p, cn::SlopeImage);
            signs.pointGradient = 0;
            p.label(cn::SlopeText) = "";
        }
    }
}

void speedLimitSigns(const RouteData& route, const Motion& m, SignState& signs, PanelModel& p) {
    bool zoneMatched = false;
    for (const SpeedLimitRow& s : route.speedLimitTable) {
        const int g = speedLimitImage(s.limit);
        if (s.noticePosition < m.trainPosition && m.trainPosition < s.fromPosition) {
            if (signs.speedLimitSignShown == 0) draw(p, cn::SpeedLimitImage, route.SignImageList, g);
            signs.shownSpeedLimit = s.limit;
            signs.speedLimitSignShown = 1;
            zoneMatched = true;
        }
        if (s.fromPosition < m.trainPosition && m.trainPosition < s.toPosition) {
            signs.speedLimitSignShown = 0;
            p.setVisible(cn::SpeedLimitImage, true);
            if (signs.activeSpeedLimit != s.limit) draw(p, cn::SpeedLimitImage, route.SignImageList, g);
            signs.activeSpeedLimit = s.limit;
            zoneMatched = true;
        }
    }
    if (!zoneMatched) {
        clear(p, cn::SpeedLimitImage);
        signs.activeSpeedLimit = 0;
    }
}

void speedChecks(const RouteData& route, const Motion& m, Protection& pr) {
    for (const SpeedCheckRow& c : route.speedCheckTable) {
        const int since = m.trainPosition - c.position;
        if (1 <= since && since < 10 && m.speed > int64_t(c.limit) * kFixedOne) {
            pr.atsBellRinging = 1;
            pr.atsChimePending = 0;
        }
    }
}

void otherSigns(const RouteData& route, const Motion& m, SignState& signs, PanelModel& p) {
    bool zoneMatched = false;
    for (const SignRow& s : route.signTable) {
        if (s.fromPosition <= m.trainPosition && m.trainPosition < s.toPosition) {
            zoneMatched = true;
            if (signs.signCallIndex == kNone) {
                draw(p, cn::OtherImage, route.OtherImageList, s.imageIndex);
                signs.signCallIndex = s.imageIndex;
            }
        }
    }
    if (!zoneMatched) {
        clear(p, cn::OtherImage);
        signs.signCallIndex = kNone;
    }
}

}  // namespace ts
