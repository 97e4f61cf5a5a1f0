#include "check/signal_warnings.h"

#include <algorithm>
#include <cstdint>

#include "dynamics/motion.h"
#include "events/signals.h"
#include "run.h"

namespace ts {

namespace {

bool stops(const StationData& s) { return s.kind == 0 || s.kind == 2; }

// The clock (ticks since midnight) at which a train keeping to the recorded
// speed passes `frame`: one frame a tick, standing at every stop mark until
// its doors close.
int64_t passingTime(const RouteData& r, int frame) {
    int64_t clock = r.startTime;
    int position = r.startPosition;
    for (const StationData& s : r.stationTable) {
        if (!stops(s)) continue;
        const int mark = (s.stopFrom + s.stopTo) / 2;
        if (s.stopTo < r.startPosition || mark >= frame) continue;
        clock += std::max(mark - position, 0);
        position = std::max(mark, position);
        // One-man: the driver closes the doors once the departure sound has begun.
        clock = std::max<int64_t>(clock, r.oneManOperation == 1 ? s.departureTime : s.closeTime);
    }
    return clock + (frame - position);
}

// The aspect of signal `row` with the clock at `clock` and the preceding
// train set off with `preTimeTicks`, by the run's own rule.
int aspectAt(const RouteData& r, size_t row, int64_t clock, int64_t preTimeTicks) {
    Motion m;
    m.clockTicks = int32_t(clock);
    SignalState sig;
    const int64_t moved = (clock - r.startTime) / ticksPerFrame(r);
    sig.precedingTrainPosition = int32_t(std::min<int64_t>(r.startPosition + preTimeTicks + moved, INT32_MAX));
    computeSignalAspects(r, m, sig);
    return sig.signalAspects[row];
}

}  // namespace

std::vector<SignalMeeting> signalsMetRestricted(const RouteData& r) {
    std::vector<SignalMeeting> out;
    const int end = r.lineEnd();
    for (size_t i = 0; i < r.signalTable.size(); ++i) {
        const SignalData& s = r.signalTable[i];
        // A fixed aspect is the author's choice; a signal behind the start or
        // beyond the end is never met.
        if (s.kind == 2 || s.checkPosition < r.startPosition || s.checkPosition > end) continue;
        const int64_t clock = passingTime(r, s.checkPosition);
        if (s.kind == 1 && s.releaseTime > clock) continue;
        const int aspect = aspectAt(r, i, clock, r.preTimeTicks);
        if (aspect >= 4) continue;
        // Further ahead, the preceding train leaves the signal's blocks (with a
        // head start of `high` seconds it has left the line): the least head
        // start, in whole seconds, that shows the signal clear.
        int64_t low = std::max<int64_t>(r.preTimeTicks / 30, 0);
        int64_t high = low + (int64_t(end) - r.startPosition + clock - r.startTime) / 30 + 2;
        while (high - low > 1) {
            const int64_t mid = (low + high) / 2;
            (aspectAt(r, i, clock, mid * 30) >= 4 ? high : low) = mid;
        }
        SignalMeeting m{int(i) + 1, aspect, int(std::min<int64_t>(high, INT32_MAX))};
        out.push_back(m);
    }
    return out;
}

}  // namespace ts
