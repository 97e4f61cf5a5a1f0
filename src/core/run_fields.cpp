#include <algorithm>
#include <vector>

#include "run.h"

namespace ts {

namespace {

void routeFields(const Run& r, RunFieldVisitor& v) {
    v.text("lineName", r.lineName);
    v.integer("startPosition", r.startPosition);
    v.integer("frameRate", r.frameRate);
    v.integer("startTime", r.startTime);
    v.integer("signalSpeedYY", r.signalSpeedYY);
    v.integer("signalSpeedY", r.signalSpeedY);
    v.integer("signalSpeedYG", r.signalSpeedYG);
    v.integer("signalSpeedG", r.signalSpeedG);
    v.integer("preTimeTicks", r.preTimeTicks);
    v.integer("oneManOperation", r.oneManOperation);
    v.integer("soundDataCount", r.soundDataCount());
    v.integer("kankoCount", r.kankoCount);
    v.integer("announceCount", r.announceCount());
    v.integer("routeSoundCount", r.routeSoundCount());
    v.integer("dopplerCount", r.dopplerCount());
    v.integer("tunnelCount", r.tunnelCount());
    v.integer("stationCount", r.stationCount());
    v.integer("stopSoundCount", r.stopSoundCount());
    v.integer("signalCount", r.signalCount());

    v.integer("slopeCount", r.slopeCount());
    v.integer("signCount", r.signCount());
    v.integer("speedLimitCount", r.speedLimitCount());
    v.integer("speedCheckCount", r.speedCheckCount());
    v.integer("speedUnitCount", r.speedUnitCount());
    v.integer("otherImageCount", r.otherImageCount());
}

void trainFields(const Run& r, RunFieldVisitor& v) {
    v.integer("handleType", int64_t(r.handleType));
    v.integer("brakeType", int64_t(r.brakeType));
    v.integer("brakeNotchCountInFile", r.brakeNotchCountInFile);
    v.integer("powerNotchCount", r.powerNotchCount);
    v.integer("holdPositionEnabled", r.holdPositionEnabled);
    v.integer("brakeRate", r.brakeRate);
    v.integer("engineType", int64_t(r.engineType));
    v.integer("carCount", r.carCount);
    v.integer("trainTons", r.trainTons);
    v.integer("mt", r.mt);
    v.integer("ebSettingInFile", r.ebSettingInFile);
    v.integer("maxSpeed", r.maxSpeed);
    v.integer("atsType", int64_t(r.atsType));
    v.integer("engineCount", r.engineCount());
    v.integer("motorSoundCount", r.motorSoundCount());
    v.integer("driveSoundCount", r.driveSoundCount());
    v.integer("otherPanelCount", r.otherPanelCount());
}

// Each variable is traced by its type; station flags only for the stations
// there are, car gradients only for the cars there are.
struct FieldPut {
    RunFieldVisitor& v;
    int stations, cars;
    void operator()(const char* n, int64_t x) const { v.integer(n, x); }
    void operator()(const char* n, int32_t x) const { v.integer(n, x); }
    void operator()(const char* n, uint8_t x) const { v.integer(n, x); }
    void operator()(const char* n, long double x) const { v.real(n, x); }
    void operator()(const char* n, const std::string& x) const { v.text(n, x); }
    void operator()(const char* n, const StationFlags& x) const { v.flags(n, x.data(), stations); }
    void operator()(const char* n, const CarGradients& x) const { v.integers(n, x.data(), cars); }
    void operator()(const char* n, const std::vector<uint8_t>& x) const { v.flags(n, x.data(), int(x.size())); }
    void operator()(const char* n, const std::vector<int32_t>& x) const { v.integers(n, x.data(), int(x.size())); }
    void operator()(const char* n, const std::vector<long double>& x) const { v.reals(n, x.data(), int(x.size())); }
};

}  // namespace

void visitRunFields(const Run& r, RunFieldVisitor& v) {
    routeFields(r, v);
    trainFields(r, v);
    const FieldPut put{v, std::min(r.stationCount(), kStationFlags), std::clamp(int(r.carCount), 0, kMaxCars)};
#define TS_PUT_FIELD(type, name, init) put(#name, static_cast<const type&>(part.name));
#define TS_PUT_PART(Part, FIELDS) \
    {                             \
        const Part& part = r;     \
        FIELDS(TS_PUT_FIELD)      \
    }
    TS_RUN_STATE_PARTS(TS_PUT_PART)
#undef TS_PUT_PART
#undef TS_PUT_FIELD
}

void visitLoadedTexts(const Run& r, RunFieldVisitor& v) {
    v.texts("handleLabelTexts", r.handleLabelTexts.data(), int(r.handleLabelTexts.size()));
    v.texts("controllerCodes", r.controllerCodes.data(), int(r.controllerCodes.size()));
}

}  // namespace ts

namespace ts {

void CarriedOver::into(Run& r) const {
    r.keypadInverted = keypadInverted;
    r.recordedSpeedMode = recordedSpeedMode;
    r.holdPosition = holdPosition;
    r.holdExitLatch = holdExitLatch;
}

void CarriedOver::from(const Run& r) {
    keypadInverted = r.keypadInverted;
    recordedSpeedMode = r.recordedSpeedMode;
    holdPosition = r.holdPosition;
    holdExitLatch = r.holdExitLatch;
}

CarriedOver& carriedOver() {
    static CarriedOver state;
    return state;
}

}  // namespace ts
