#include <algorithm>
#include <vector>

#include "data/route_sections.h"
#include "data/train_sections.h"
#include "run.h"

namespace ts {

namespace {

// The loaded route's and train's values and list sizes, as their sections'
// descriptions name them, in the trace's order.
void routeFields(const RouteData& r, RunFieldVisitor& v) {
    for (const SectionDesc* s : routeSectionsInTraceOrder()) {
        if (s->isList()) {
            v.integer(s->traceName.c_str(), s->traceCount ? s->traceCount(r) : int64_t(s->rows(r)));
            continue;
        }
        const Cell c = s->columns.front().get(r, 0).value();
        if (s->columns.front().type == ValueType::Text)
            v.text(s->traceName.c_str(), c.text);
        else
            v.integer(s->traceName.c_str(), c.number);
    }
}

void trainFields(const TrainData& t, RunFieldVisitor& v) {
    for (const TrainSection* s : trainSectionsInTraceOrder()) {
        if (s->isList())
            v.integer(s->traceName.c_str(), int64_t(s->rows(t)));
        else
            v.integer(s->traceName.c_str(), s->columns.front().get(t, 0).value().number);
    }
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
