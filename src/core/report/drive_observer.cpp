#include "report/drive_observer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "events/codes.h"
#include "dynamics/fixed_point.h"

namespace ts {

namespace {

// A rest this many frames beyond either end of a stop range still counts as
// the stop at that station (short of it or overrun).
constexpr int32_t kStopMargin = 300;
// More frames than any speed moves in one step: a station jump.
constexpr int32_t kJumpFrames = 90;

bool isStop(const StationVisit& v) { return v.kind != 1; }

// The speed restriction of the signal ahead, 0 when there is none.
int signalKmh(const Run& r) {
    return r.atsAlarmState > 0 && r.atsAlarmState < kStopSignalAlarm ? r.atsAlarmState : 0;
}

}  // namespace

void DriveObserver::begin(const Run& r) {
    begun_ = true;
    report_.trainCode = r.trainCode;
    report_.lineName = r.lineName;
    report_.maxSpeedKmh = r.maxSpeed;
    for (int i = 0; i < r.stationCount(); ++i) {
        const StationData& s = r.stationTable[size_t(i)];
        StationVisit v;
        v.index = i;
        v.name = s.name;
        v.kind = s.kind;
        v.stopFrom = s.stopFrom;
        v.stopTo = s.stopTo;
        v.departureTime = s.departureTime;
        report_.stations.push_back(v);
    }
    lastPosition_ = r.trainPosition;
    lastSignalAspects_ = r.signalAspects;
    restAt(r);
    if (restingAt_) report_.stations[size_t(*restingAt_)].origin = true;
    bell_ = r.atsBellRinging;
    emergency_ = r.safetyEmergencyBrake;
    serviceBrake_ = r.atsServiceBrake;
    idleTicks_ = r.ebDeviceIdleTicks;
}

void DriveObserver::restAt(const Run& r) {
    restingAt_.reset();
    const int32_t p = r.trainPosition;
    int32_t best = kStopMargin + 1;
    for (auto& v : report_.stations) {
        if (!isStop(v)) continue;
        const StationData& s = r.stationTable[size_t(v.index)];
        const int32_t off = p < s.stopFrom ? s.stopFrom - p : p > s.stopTo ? p - s.stopTo : 0;
        if (off < best) {
            best = off;
            restingAt_ = v.index;
        }
    }
    if (!restingAt_ || !begun_ || ticks_ == 0) return;
    StationVisit& v = report_.stations[size_t(*restingAt_)];
    // Once the departure sound has played the stop is over: it added the next
    // stretch to the distance left, and a rest after it is not the stop.
    const size_t i = size_t(v.index);
    if (v.origin || (i < r.stationDepartureSoundPlayed.size() && r.stationDepartureSoundPlayed[i])) return;
    const StationData& s = r.stationTable[size_t(v.index)];
    // The last rest is the stop: a driver may creep on to the mark.
    v.stopped = true;
    v.passed = false;
    v.inRange = s.stopFrom <= p && p <= s.stopTo;
    v.stopErrorMetres = double(r.stopDistance) / 100.0;
    if (!v.stoppedAt) v.stoppedAt = r.clockTicks;
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
        lastPosition_ = p;
        moving_ = false;
        lastKmh_ = 0;
        haveAcceleration_ = false;
        lastPresentationTicks_ = -1;
        leaving_.reset();
        restAt(r);
        if (restingAt_ && !report_.stations[size_t(*restingAt_)].stopped)
            report_.stations[size_t(*restingAt_)].origin = true;
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
        report_.safety.push_back(e);
    };
    if (r.atsBellRinging && !bell_) {
        add(SafetyKind::ProtectionAlarm);
        ringing_ = report_.safety.size() - 1;
        bellSinceMs_ = now;
    }
    if (r.safetyEmergencyBrake && !emergency_) {
        // The vigilance device clears its count when it brakes.
        const bool vigilance = idleTicks_ >= 600 && r.ebDeviceIdleTicks == 0;
        add(vigilance ? SafetyKind::VigilanceEmergency : SafetyKind::ProtectionEmergency);
        ringing_.reset();  // braked before it was answered
    }
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
            if (haveAcceleration_) report_.maxJerkMs3 = std::max(report_.maxJerkMs3, std::fabs(a - lastAcceleration_) / dt);
        }
        lastAcceleration_ = a;
        haveAcceleration_ = !windowEmergency_;
        lastPresentationTicks_ = ticks_;
        lastPresentationKmh_ = kmh;
        windowEmergency_ = emergency;
    }

    ChartPoint c;
    c.position = r.trainPosition;
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
