#include "json_writer.h"
#include "report/drive_report.h"

namespace ts {

std::string reportJson(const DriveReport& r) {
    JsonWriter w;
    w.beginObject();
    w.key("train").value(r.trainCode);
    w.key("line").value(r.lineName);
    w.key("scored").value(r.scored);
    w.key("score").fixed(r.score, 0);
    w.key("stopsJudged").value(r.stopsJudged).key("stopsNotReached").value(r.stopsNotReached);
    w.key("verdict").value(r.verdict);
    w.key("deductions").beginArray();
    for (const auto& d : r.deductions)
        w.beginObject().key("for").value(d.what).key("points").fixed(d.points, 0).endObject();
    w.endArray();
    w.key("stations").beginArray();
    for (const auto& v : r.stations) {
        w.beginObject().key("index").value(v.index).key("name").value(v.name).key("kind").value(v.kind);
        w.key("stopFrom").value(int64_t(v.stopFrom)).key("stopTo").value(int64_t(v.stopTo)).key("km").fixed(v.km, 3);
        w.key("origin").value(v.origin).key("stopped").value(v.stopped).key("inRange").value(v.inRange);
        w.key("passed").value(v.passed).key("skipped").value(v.skipped);
        if (v.stopped) w.key("stopErrorMetres").fixed(v.stopErrorMetres, 2);
        if (v.stoppedAt) w.key("stoppedAt").value(int64_t(*v.stoppedAt));
        if (v.doorsOpenedAt) w.key("doorsOpenedAt").value(int64_t(*v.doorsOpenedAt));
        w.key("departureTime").value(int64_t(v.departureTime));
        if (v.departedAt) w.key("departedAt").value(int64_t(*v.departedAt));
        if (auto d = v.departureDelaySeconds()) w.key("departureDelaySeconds").fixed(*d, 1);
        w.endObject();
    }
    w.endArray();
    w.key("overspeeds").beginArray();
    for (const auto& o : r.overspeeds) {
        w.beginObject().key("against").value(limitName(o.against)).key("limitKmh").value(o.limitKmh);
        w.key("fromPosition").value(o.fromPosition).key("toPosition").value(o.toPosition);
        w.key("fromMs").value(o.fromMs).key("toMs").value(o.toMs);
        w.key("peakOverKmh").fixed(o.peakOverKmh, 1).key("metres").fixed(o.metres, 1).endObject();
    }
    w.endArray();
    w.key("safety").beginArray();
    for (const auto& e : r.safety) {
        w.beginObject()
            .key("kind")
            .value(safetyName(e.kind))
            .key("atMs")
            .value(e.atMs)
            .key("position")
            .value(e.position);
        w.key("clock").value(int64_t(e.clock)).key("km").fixed(e.km, 3);
        if (e.kind == SafetyKind::ProtectionAlarm)
            w.key("confirmed").value(e.confirmed).key("confirmSeconds").value(e.confirmSeconds);
        if (!e.signal.empty()) w.key("signal").value(e.signal);
        w.endObject();
    }
    w.endArray();
    w.key("maxDecelerationMs2").fixed(r.maxDecelerationMs2, 2);
    w.key("maxJerkMs3").fixed(r.maxJerkMs3, 2);
    w.key("runningSeconds").fixed(r.runningSeconds, 2);
    w.key("standingSeconds").fixed(r.standingSeconds, 2);
    w.key("metres").fixed(r.metres, 2);
    w.key("endOfLine").value(r.endOfLine);
    w.endObject();
    return w.str();
}

}  // namespace ts
