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

void gradientSign(Run& r, PanelModel& p) {
    const int n = r.slopeCount();
    static const SlopeRow kEmpty{};
    for (int i = 0; i < n; ++i) {
        const SlopeRow& s = r.slopeTable[size_t(i)];
        const SlopeRow& next = i + 1 < n ? r.slopeTable[size_t(i + 1)] : kEmpty;
        if (s.fromPosition < r.trainPosition && r.trainPosition < s.toPosition) {
            if (s.gradient > 0 && s.gradient != r.pointGradient) draw(p, cn::SlopeImage, r.SignImageList, 1);
            if (s.gradient < 0 && s.gradient != r.pointGradient) draw(p, cn::SlopeImage, r.SignImageList, 2);
            r.pointGradient = s.gradient;
            char text[32];
            std::snprintf(text, sizeof text, "%.1Lf", real(s.gradient));
            p.label(cn::SlopeText) = text;
        }
        // Between two rows, and beyond the last row, the track is level.
        const bool pastLast = i + 1 == n && s.toPosition < r.trainPosition;
        if ((s.toPosition < r.trainPosition && r.trainPosition < next.fromPosition) || pastLast) {
            clear(p, cn::SlopeImage);
            r.pointGradient = 0;
            p.label(cn::SlopeText) = "";
        }
    }
}

void speedLimitSigns(Run& r, PanelModel& p) {
    bool zoneMatched = false;
    for (const SpeedLimitRow& s : r.speedLimitTable) {
        const int g = speedLimitImage(s.limit);
        if (s.noticePosition < r.trainPosition && r.trainPosition < s.fromPosition) {
            if (r.speedLimitSignShown == 0) draw(p, cn::SpeedLimitImage, r.SignImageList, g);
            r.shownSpeedLimit = s.limit;
            r.speedLimitSignShown = 1;
            zoneMatched = true;
        }
        if (s.fromPosition < r.trainPosition && r.trainPosition < s.toPosition) {
            r.speedLimitSignShown = 0;
            p.setVisible(cn::SpeedLimitImage, true);
            if (r.activeSpeedLimit != s.limit) draw(p, cn::SpeedLimitImage, r.SignImageList, g);
            r.activeSpeedLimit = s.limit;
            zoneMatched = true;
        }
    }
    if (!zoneMatched) {
        clear(p, cn::SpeedLimitImage);
        r.activeSpeedLimit = 0;
    }
}

void speedChecks(Run& r) {
    for (const SpeedCheckRow& c : r.speedCheckTable) {
        const int since = r.trainPosition - c.position;
        if (1 <= since && since < 10 && r.speed > int64_t(c.limit) * 10000) {
            r.atsBellRinging = 1;
            r.atsChimePending = 0;
        }
    }
}

void otherSigns(Run& r, PanelModel& p) {
    bool zoneMatched = false;
    for (const SignRow& s : r.signTable) {
        if (s.fromPosition <= r.trainPosition && r.trainPosition < s.toPosition) {
            zoneMatched = true;
            if (r.signCallIndex == kNone) {
                draw(p, cn::OtherImage, r.OtherImageList, s.imageIndex);
                r.signCallIndex = s.imageIndex;
            }
        }
    }
    if (!zoneMatched) {
        clear(p, cn::OtherImage);
        r.signCallIndex = kNone;
    }
}

}  // namespace ts
