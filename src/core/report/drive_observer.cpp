#include "report/drive_observer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "dynamics/fixed_point.h"
#include "events/codes.h"
#include "events/stations.h"

namespace ts {

namespace {

// A rest this many frames beyond either end of a stop range still counts as
// the stop at that station (short of it or overrun).
constexpr int32_t kStopMargin = 300;
// More frames than any speed moves in one step: a station jump.
constexpr int32_t kJumpFrames = 90;

bool isStop(const StationVisit& v) { return v.kind != 1; }

// The speed restriction of the signal ahead, 0 when there is none.
int signalKmh(const Run& r) { return r.atsAlarmState > 0 && r.atsAlarmState < kStopSignalAlarm ? r.atsAlarmState : 0; }

}  // namespace

void DriveObserver::begin(const Run& r) {
    begun_ = true;
    report_.trainCode = r.trainCode;
    report_.lineName = r.lineName;
    report_.maxSpeedKmh = r.maxSpeed;
    distance_ = RouteDistance(r);
    for (int i = 0; i < r.stationCount(); ++i) {
        const StationData& s = r.stationTable[size_t(i)];
        StationVisit v;
        v.index = i;
        v.name = s.name;
        v.kind = s.kind;
        v.stopFrom = s.stopFrom;
        v.stopTo = s.stopTo;
        v.departureTime = s.departureTime;
        v.km = km(int32_t(std::lround((double(s.stopFrom) + double(s.stopTo)) / 2)));
        report_.stations.push_back(v);
    }
    doorsJudged_.assign(report_.stations.size(), false);
    lastPosition_ = r.trainPosition;
    lastSignalAspects_ = r.signalAspects;
    restAt(r);
    if (restingAt_) report_.stations[size_t(*restingAt_)].origin = true;
    // Loading sets the stop distance to 0 where the train stands.
    counterFor_ = restingAt_;
    departureSounds_ = r.stationDepartureSoundPlayed;
    gapNext_ = true;
    bell_ = r.atsBellRinging;
    emergency_ = r.safetyEmergencyBrake;
    serviceBrake_ = r.atsServiceBrake;
    idleTicks_ = r.ebDeviceIdleTicks;
}

std::optional<int> DriveObserver::nearestStop(const Run& r) const {
    std::optional<int> nearest;
    const int32_t p = r.trainPosition;
    int32_t best = kStopMargin + 1;
    for (const auto& v : report_.stations) {
        if (!isStop(v)) continue;
        const StationData& s = r.stationTable[size_t(v.index)];
        const int32_t off = p < s.stopFrom ? s.stopFrom - p : p > s.stopTo ? p - s.stopTo : 0;
        if (off < best) {
            best = off;
            nearest = v.index;
        }
    }
    return nearest;
}

void DriveObserver::restAt(const Run& r) {
    restingAt_ = nearestStop(r);
    const int32_t p = r.trainPosition;
    if (!restingAt_ || !begun_ || ticks_ == 0) return;
    StationVisit& v = report_.stations[size_t(*restingAt_)];
    // The stop is where the train stood with the doors open: the last rest
    // before they opened (a driver may creep on to the mark), or, without
    // doors, the last rest before it left. The clock plays no part: a late
    // train whose melody played as it crept in still made its stop.
    if (v.origin || v.departedAt || doorsJudged_[size_t(v.index)]) return;
    const StationData& s = r.stationTable[size_t(v.index)];
    v.stopped = true;
    v.passed = false;
    v.inRange = s.stopFrom <= p && p <= s.stopTo;
    v.stopErrorMetres = stopError(r, v);
    v.stoppedAt = r.clockTicks;
    if (r.doorsOpen && v.kind == 0) doorsJudged_[size_t(v.index)] = true;
}

std::optional<int> DriveObserver::nextStop(int index) const {
    for (size_t i = size_t(index) + 1; i < report_.stations.size(); ++i)
        if (isStop(report_.stations[i])) return int(i);
    return std::nullopt;
}

double DriveObserver::stopError(const Run& r, const StationVisit& v) const {
    const StationData& s = r.stationTable[size_t(v.index)];
    if (counterFor_ == v.index) return double(r.stopDistance) / 100.0;
    // The melody played as the train stood (or crept in): it has already
    // added the stretch to the next stop.
    const size_t i = size_t(v.index);
    if (i < departureSounds_.size() && departureSounds_[i] && counterFor_ && counterFor_ == nextStop(v.index))
        return double(r.stopDistance - s.nextStopDistance) / 100.0;
    // The counter measures to another station (no melody played at the last
    // stop, as when following the recording with the doors shut): the
    // distance along the route to the middle of the stop range instead.
    return (distance_.metresAt(int32_t(std::lround((double(s.stopFrom) + double(s.stopTo)) / 2))) -
            distance_.metresAt(r.trainPosition));
}

void DriveObserver::watchStopCounter(const Run& r) {
    const size_t n = std::min(report_.stations.size(), departureSounds_.size());
    for (size_t i = 0; i < n; ++i)
        if (r.stationDepartureSoundPlayed[i] && !departureSounds_[i]) counterFor_ = nextStop(int(i));
    departureSounds_ = r.stationDepartureSoundPlayed;
}

void DriveObserver::jumped(const Run& r, int32_t from) {
    const int32_t lo = std::min(from, r.trainPosition), hi = std::max(from, r.trainPosition);
    for (auto& v : report_.stations)
        if (isStop(v) && !v.origin && !v.stopped && !v.passed && lo < v.stopTo && v.stopFrom < hi) v.skipped = true;
    // Standing where the jump put it: not a stop to judge.
    restingAt_ = nearestStop(r);
    if (restingAt_) {
        StationVisit& v = report_.stations[size_t(*restingAt_)];
        // The jump stands the train at the station: that is a start, not a stop.
        v.skipped = false;
        if (!v.stopped && !v.departedAt)
            v.origin = true;
        else
            unjudgedDeparture_ = v.index;
    }
    counterFor_ = restingAt_;  // the jump sets the stop distance to 0
    departureSounds_ = r.stationDepartureSoundPlayed;
    gapNext_ = true;
}

void DriveObserver::leave(const Run& r) {
    // The departure is the start from the last rest before the train is out
    // of the platform: creeping along it is not leaving.
    if (restingAt_) leaving_ = std::make_pair(*restingAt_, r.clockTicks);
    restingAt_.reset();
}

void DriveObserver::watchDeparture(const Run& r) {
    if (!leaving_) return;
    const StationData& s = r.stationTable[size_t(leaving_->first)];
    if (r.trainPosition <= s.stopTo && r.trainPosition >= s.stopFrom - kStopMargin) return;
    if (unjudgedDeparture_ == leaving_->first)
        unjudgedDeparture_.reset();
    else
        report_.stations[size_t(leaving_->first)].departedAt = leaving_->second;
    leaving_.reset();
}

void DriveObserver::watchStations(const Run& r, int32_t from, int32_t to) {
    if (to <= from) return;
    for (auto& v : report_.stations) {
        if (!isStop(v) || v.origin || v.stopped) continue;
        const int32_t end = r.stationTable[size_t(v.index)].stopTo;
        if (from <= end && end < to) v.passed = true;
    }
}

void DriveObserver::watchSignals(const Run& r, int32_t from, int32_t to) {
    if (to <= from) return;
    for (int i = 0; i < r.signalCount() && size_t(i) < r.signalAspects.size(); ++i) {
        const SignalData& s = r.signalTable[size_t(i)];
        if (!(from < s.toPosition && s.toPosition <= to)) continue;
        if (aspectClass(r.signalAspects[size_t(i)]) != AspectClass::Stop) continue;
        SafetyEvent e;
        e.kind = SafetyKind::SignalPassedAtStop;
        e.atMs = nowMs();
        e.position = s.toPosition;
        e.clock = r.clockTicks;
        e.km = km(s.toPosition);
        e.signal = s.label;
        report_.safety.push_back(e);
    }
}

void DriveObserver::watchLimits(const Run& r, double kmh, double metres) {
    const int limits[3] = {r.activeSpeedLimit, signalKmh(r), r.maxSpeed};
    for (int k = 0; k < 3; ++k) {
        const double over = std::fabs(kmh) - limits[k];
        auto& open = open_[k];
        if (open && (limits[k] <= 0 || over <= 0 || report_.overspeeds[*open].limitKmh != limits[k])) open.reset();
        if (limits[k] <= 0 || over <= 0) continue;
        if (!open) {
            Overspeed o;
            o.against = LimitKind(k);
            o.limitKmh = limits[k];
            o.fromPosition = lastPosition_;
            o.fromMs = nowMs();
            o.fromClock = r.clockTicks;
            o.fromKm = km(lastPosition_);
            report_.overspeeds.push_back(o);
            open = report_.overspeeds.size() - 1;
        }
        Overspeed& o = report_.overspeeds[*open];
        o.toPosition = r.trainPosition;
        o.toMs = nowMs();
        o.peakOverKmh = std::max(o.peakOverKmh, over);
        o.metres += metres;
    }
}

void DriveObserver::afterSimulationStep(const Run& r) {
    if (!begun_) begin(r);
    ++ticks_;
    const double kmh = double(r.speed) / kFixedOne;
    const int32_t p = r.trainPosition;
    if (std::abs(p - lastPosition_) > kJumpFrames || (r.viewJumpPending && p != lastPosition_)) {
        // A station jump: the train stands at the station it went to.
        for (auto& o : open_) o.reset();
        const int32_t from = lastPosition_;
        lastPosition_ = p;
        moving_ = false;
        lastKmh_ = 0;
        haveAcceleration_ = false;
        lastPresentationTicks_ = -1;
        leaving_.reset();
        jumped(r, from);
        return;
    }
    const double metres = std::fabs(kmh) / 3.6 / 30.0;
    report_.metres += metres;
    (kmh != 0 ? report_.runningSeconds : report_.standingSeconds) += 1.0 / 30.0;
    if (!moving_ && kmh != 0) {
        moving_ = true;
        leave(r);
    } else if (moving_ && kmh == 0) {
        moving_ = false;
        restAt(r);
    }
    watchDeparture(r);
    watchStations(r, lastPosition_, p);
    watchSignals(r, lastPosition_, p);
    watchLimits(r, kmh, metres);
    lastPosition_ = p;
    lastKmh_ = kmh;
}

void DriveObserver::afterPresentationStep(const Run& r) {
    if (!begun_) begin(r);
    const int64_t now = nowMs();
    auto add = [&](SafetyKind kind) {
        SafetyEvent e;
        e.kind = kind;
        e.atMs = now;
        e.position = r.trainPosition;
        e.clock = r.clockTicks;
        e.km = km(r.trainPosition);
        report_.safety.push_back(e);
    };
    watchStopCounter(r);
    if (r.atsBellRinging && !bell_) {
        add(SafetyKind::ProtectionAlarm);
        ringing_ = report_.safety.size() - 1;
        bellSinceMs_ = now;
    }
    if (r.safetyEmergencyBrake && !emergency_) {
        // The vigilance device clears its count when it brakes.
        const bool vigilance = idleTicks_ >= 600 && r.ebDeviceIdleTicks == 0;
        emergencyKind_ = vigilance ? SafetyKind::VigilanceEmergency : SafetyKind::ProtectionEmergency;
        add(*emergencyKind_);
        ringing_.reset();  // braked before it was answered
    }
    if (!r.safetyEmergencyBrake) emergencyKind_.reset();
    if (!r.atsBellRinging && bell_ && ringing_) {
        SafetyEvent& alarm = report_.safety[*ringing_];
        alarm.confirmed = r.atsConfirmed == 1 && !r.safetyEmergencyBrake;
        alarm.confirmSeconds = double(now - bellSinceMs_) / 1000.0;
        ringing_.reset();
    }
    if (r.atsServiceBrake && !serviceBrake_) add(SafetyKind::ServiceBrake);
    bell_ = r.atsBellRinging;
    emergency_ = r.safetyEmergencyBrake;
    serviceBrake_ = r.atsServiceBrake;
    idleTicks_ = r.ebDeviceIdleTicks;

    if (r.doorsOpen && restingAt_) {
        StationVisit& v = report_.stations[size_t(*restingAt_)];
        if (!v.doorsOpenedAt) v.doorsOpenedAt = r.clockTicks;
        // Standing with the doors open: the stop judged at this rest is the one.
        if (!moving_ && v.stopped) doorsJudged_[size_t(v.index)] = true;
    }

    // Comfort, over whole seconds (ten 100 ms steps): shorter spans would
    // turn a notch's step change into an enormous jerk. An emergency
    // application within the second is not judged.
    const double kmh = std::fabs(double(r.speed) / kFixedOne);
    const bool emergency = r.safetyEmergencyBrake || r.atsServiceBrake || r.effectiveBrakeNotch == -r.brakeNotchCount;
    windowEmergency_ = windowEmergency_ || emergency;
    if (lastPresentationTicks_ < 0) {
        lastPresentationTicks_ = ticks_;
        lastPresentationKmh_ = kmh;
        windowEmergency_ = emergency;
    } else if (ticks_ - lastPresentationTicks_ >= 30) {
        const double dt = double(ticks_ - lastPresentationTicks_) / 30.0;
        const double a = (kmh - lastPresentationKmh_) / 3.6 / dt;
        if (!windowEmergency_) {
            report_.maxDecelerationMs2 = std::max(report_.maxDecelerationMs2, -a);
            if (haveAcceleration_)
                report_.maxJerkMs3 = std::max(report_.maxJerkMs3, std::fabs(a - lastAcceleration_) / dt);
        }
        lastAcceleration_ = a;
        haveAcceleration_ = !windowEmergency_;
        lastPresentationTicks_ = ticks_;
        lastPresentationKmh_ = kmh;
        windowEmergency_ = emergency;
    }

    if (endOfLine(r, r)) report_.endOfLine = true;
    ChartPoint c;
    c.position = r.trainPosition;
    c.km = km(r.trainPosition);
    c.gapBefore = gapNext_;
    gapNext_ = false;
    c.speedKmh = kmh;
    c.recordedKmh = r.recordedSpeedKmh;
    c.speedLimitKmh = r.activeSpeedLimit;
    c.signalKmh = signalKmh(r);
    report_.chart.push_back(c);
}

DriveReport DriveObserver::report() const {
    DriveReport r = report_;
    scoreReport(r);
    return r;
}

}  // namespace ts
