#include "gps/import.h"

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>

#include "data/route_reader.h"
#include "data/section_rewriter.h"
#include "data/text_file.h"
#include "data/whole_file.h"
#include "dynamics/fixed_point.h"
#include "recording_message_boxes.h"
#include "text/our_text.h"

namespace ts::gps {

namespace {

namespace fs = std::filesystem;

// The import reads the route for its tables, not its pictures.
class AnyPictures final : public PictureLoader {
public:
    std::optional<int> load(const std::string&) override { return next_++; }
    PictureSize size(int) const override { return {}; }

private:
    int next_ = 0;
};

std::string format(const char* f, double v) {
    char b[64];
    std::snprintf(b, sizeof b, f, v);
    return b;
}

int64_t fixedMille(double mille) { return std::llround(mille * 10) * 1000; }

// No adhesion railway climbs steeper: such a gradient is a measuring error.
constexpr double kSteepestMille = 100;

std::string encodeName(const std::string& utf8, bool fileIsUtf8) {
    if (fileIsUtf8) return utf8;
    auto cp = utf8ToCp932(utf8);
    if (!cp)
        throw ImportError(withArgs(
            trText("GpsImport", "the station name \"%1\" has characters the route file's Shift-JIS cannot hold"),
            {utf8}));
    return *cp;
}

bool sameStations(const std::vector<StationData>& a, const std::vector<StationData>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const StationData &x = a[i], &y = b[i];
        if (x.name != y.name || x.kind != y.kind || x.stopFrom != y.stopFrom || x.stopTo != y.stopTo ||
            x.soundIndex != y.soundIndex || x.departureTime != y.departureTime || x.closeTime != y.closeTime ||
            x.nextStopDistance != y.nextStopDistance)
            return false;
    }
    return true;
}

}  // namespace

RouteData readRouteForImport(const std::string& path, std::vector<SectionSpan>* spans, std::string* bytes) {
    if (bytes) {
        auto b = readFileBytes(path);
        if (!b) throw ImportError(withArgs(trText("GpsImport", "cannot read the route file %1"), {path}));
        *bytes = *b;
    }
    RouteData route;
    AnyPictures pictures;
    RecordingMessageBoxes boxes;
    try {
        readRouteFile(path, route, pictures, boxes, nullptr, spans);
    } catch (const FatalError& e) {
        throw ImportError(path + ": " + e.what());
    }
    return route;
}

RouteData readRouteBytes(const std::string& bytes, const std::string& name) {
    RouteData route;
    AnyPictures pictures;
    RecordingMessageBoxes boxes;
    readRouteText(textFromBytes(bytes), name, route, pictures, boxes);
    return route;
}

namespace {}  // namespace

ImportPlan planImport(const Ride& ride, const Track& track, const ImportRequest& r) {
    if (r.frames < 2) throw ImportError(trText("GpsImport", "the video has fewer than two frames"));
    checkCoverage(ride, r.align, r.frames, r.maxGapSeconds);
    std::vector<SectionSpan> spans;
    std::string bytes;
    const RouteData route = readRouteForImport(r.routePath, &spans, &bytes);
    const bool utf8 = isValidUtf8(bytes);

    ImportPlan plan;
    plan.fixes = int(ride.points.size());
    plan.duration = r.align.timeOf(r.frames - 1) - r.align.timeOf(0);
    plan.path = measureRide(ride, r.path);
    plan.profile = profileFrames(plan.path, r.align, r.frames, r.curve);
    if (plan.path.receiverSpeeds)
        plan.notes.push_back(trText("GpsImport", "the speed is taken from the receiver's own speeds (<speed>)"));
    const FrameProfile& f = plan.profile;

    std::map<std::string, std::vector<std::string>> sections;
    if (r.speed) {
        plan.speed = fitSpeedRows(f.speedKmh, r.toleranceKmh, r.crawlKmh);
        auto& rows = sections["[SpeedUnit]"];
        for (const Speed_UnitData& s : plan.speed.rows)
            rows.push_back(std::to_string(s.fromPosition) + "," + std::to_string(s.toPosition) + "," +
                           std::to_string(s.fromSpeed) + "," + std::to_string(s.toSpeed));
    }
    if (r.slopes) {
        // The distance the video covers, measured from its first frame.
        GradientOptions g = r.gradients;
        std::vector<GradientSection> cut;
        std::vector<std::string> level;
        for (;;) {
            cut = gradientSections(plan.path, g);
            plan.slopes.clear();
            level.clear();
            for (const GradientSection& s : cut) {
                const int from = f.frameAt(s.fromMetres), to = f.frameAt(s.toMetres);
                // Level track needs no row, and a section outside the video has no frames.
                if (to <= from || fixedMille(s.mille) == 0) continue;
                // A gradient the heights cannot tell from level (it is within its
                // own error), or one no adhesion railway has, is a measuring
                // error: the section is left level. (Leaving a real gradient
                // level because it is only roughly known would be worse.)
                if (std::abs(s.mille) <= s.errorMille || std::abs(s.mille) > kSteepestMille) {
                    level.push_back(withArgs(trText("GpsImport", "frames %1-%2 (%3 +/- %4 per mille)"),
                                             {std::to_string(from), std::to_string(to), format("%.1f", s.mille),
                                              format("%.1f", s.errorMille)}));
                    continue;
                }
                plan.slopes.push_back({from, to, fixedMille(s.mille)});
            }
            if (int(plan.slopes.size()) <= kRouteRows) break;
            g.toleranceMille *= 1.5;
            plan.notes.push_back(withArgs(
                trText("GpsImport",
                       "gradient tolerance raised to %1 per mille: more than 501 [Slope] rows at the one asked for"),
                {format("%.2f", g.toleranceMille)}));
        }
        if (!level.empty()) {
            std::string list;
            for (size_t i = 0; i < level.size() && i < 5; ++i) list += (i ? ", " : "") + level[i];
            if (level.size() > 5)
                list += withArgs(trText("GpsImport", " and %1 more"), {std::to_string(level.size() - 5)});
            plan.notes.push_back(
                withArgs(trText("GpsImport",
                                "the heights vary by %1 m about their course: %2 section(s) left level, their "
                                "gradient being within its own error or steeper than %3 per mille: %4"),
                         {format("%.1f", heightNoise(plan.path, g)), std::to_string(level.size()),
                          format("%.0f", kSteepestMille), list}));
        }
        auto& rows = sections["[Slope]"];
        for (const SlopeRow& s : plan.slopes)
            rows.push_back(format("%.1f", double(s.gradient) / kFixedOne) + "," + std::to_string(s.fromPosition) + "," +
                           std::to_string(s.toPosition));
    }
    if (r.stations) {
        StationOptions o;
        o.halfRangeFrames = r.halfRangeFrames;
        o.startPosition = route.startPosition;
        o.startTime = route.startTime;
        o.keepTimes = r.keepStationTimes;
        StationImport st = importStations(ride, r.align, f, track.waypoints, route.stationTable, o);
        plan.stations = st.rows;
        plan.notes.insert(plan.notes.end(), st.notes.begin(), st.notes.end());
        int stopping = 0;
        for (const StationData& s : plan.stations) stopping += s.kind == 0 || s.kind == 2;
        if (int(plan.stations.size()) > kRouteRows || stopping > kMenuStations)
            throw ImportError(
                trText("GpsImport", "the track gives more stations than a route holds (100 stops, 501 rows)"));
        auto& rows = sections["[Station]"];
        for (const StationData& s : plan.stations)
            rows.push_back(encodeName(s.name, utf8) + "," + std::to_string(s.kind) + "," + std::to_string(s.stopFrom) +
                           "," + std::to_string(s.stopTo) + "," + std::to_string(s.soundIndex) + "," +
                           std::to_string(s.departureTime) + "," + std::to_string(s.closeTime) + "," +
                           std::to_string(s.nextStopDistance));
    }
    plan.bytes = rewriteSections(bytes, spans, sections);

    // What the run will read from the new file must be what was worked out:
    // read in memory, so no file is written before the plan is taken.
    RouteData back;
    try {
        back = readRouteBytes(plan.bytes, r.routePath);
    } catch (const FatalError&) {
        throw ImportError(trText("GpsImport", "the rewritten route file does not read back; nothing was written"));
    }
    bool same = true;
    if (r.speed) {
        same = same && back.speedUnitTable.size() == plan.speed.rows.size();
        for (size_t i = 0; same && i < back.speedUnitTable.size(); ++i) {
            const auto &a = back.speedUnitTable[i], &b = plan.speed.rows[i];
            same = a.fromPosition == b.fromPosition && a.toPosition == b.toPosition && a.fromSpeed == b.fromSpeed &&
                   a.toSpeed == b.toSpeed;
        }
    }
    if (r.slopes) {
        same = same && back.slopeTable.size() == plan.slopes.size();
        for (size_t i = 0; same && i < back.slopeTable.size(); ++i) {
            const auto &a = back.slopeTable[i], &b = plan.slopes[i];
            same = a.fromPosition == b.fromPosition && a.toPosition == b.toPosition && a.gradient == b.gradient;
        }
    }
    if (r.stations) same = same && sameStations(back.stationTable, plan.stations);
    if (!same)
        throw ImportError(trText("GpsImport", "the rewritten route file reads back differently; nothing was written"));
    return plan;
}

std::string applyImport(const std::string& path, const std::string& bytes) {
    const auto old = readFileBytes(path);
    if (!old) throw ImportError(withArgs(trText("GpsImport", "cannot read the route file %1"), {path}));
    // The first free name of .bak, .bak.2, .bak.3, …: an older backup is never overwritten.
    std::string backup, why;
    for (int n = 1;; ++n) {
        if (n > kMaxBackups)
            throw ImportError(withArgs(trText("GpsImport", "there are %1 backups of %2 already"),
                                       {std::to_string(kMaxBackups), path}));
        backup = path + ".bak" + (n == 1 ? std::string() : "." + std::to_string(n));
        bool exists = false;
        if (createFileWhole(backup, *old, &why, &exists)) break;
        if (!exists) throw ImportError(withArgs(trText("GpsImport", "cannot write the backup: %1"), {why}));
    }
    if (!replaceFile(path, bytes, &why)) {
        // The route file is as it was, so its backup would be debris.
        ::unlink(backup.c_str());
        throw ImportError(why);
    }
    return backup;
}

std::vector<std::string> summarise(const ImportPlan& p, const ImportRequest& r) {
    std::vector<std::string> out;
    out.push_back(withArgs(trText("GpsImport", "ride: %1 km in %2 s (%3 frames), %4 fixes, %5 dropped as jitter"),
                           {format("%.3f", p.path.length() / 1000), format("%.1f", p.duration),
                            std::to_string(r.frames), std::to_string(p.fixes), std::to_string(p.path.droppedFixes)}));
    const double video = p.profile.distance.back() - p.profile.distance.front();
    out.push_back(withArgs(trText("GpsImport", "distance the video covers: %1 km"), {format("%.3f", video / 1000)}));
    if (r.speed) {
        std::string line = withArgs(trText("GpsImport", "[SpeedUnit]: %1 rows, largest error %2 km/h"),
                                    {std::to_string(p.speed.rows.size()), format("%.2f", p.speed.largestError)});
        if (p.speed.tolerance > std::max(r.toleranceKmh, 0.5) + 1e-9)
            line += withArgs(trText("GpsImport", " (tolerance raised to %1 km/h: 501 rows did not suffice at %2)"),
                             {format("%.2f", p.speed.tolerance), format("%.2f", r.toleranceKmh)});
        else
            line += withArgs(trText("GpsImport", " (tolerance %1 km/h)"), {format("%.2f", p.speed.tolerance)});
        out.push_back(line);
    }
    if (r.slopes) out.push_back(withArgs(trText("GpsImport", "[Slope]: %1 rows"), {std::to_string(p.slopes.size())}));
    if (r.stations) {
        out.push_back(withArgs(trText("GpsImport", "[Station]: %1 rows"), {std::to_string(p.stations.size())}));
        for (const StationData& s : p.stations)
            out.push_back("  " + withArgs(trText("GpsImport", "%1: frames %2-%3, kind %4, next stop %5 m"),
                                          {s.name, std::to_string(s.stopFrom), std::to_string(s.stopTo),
                                           std::to_string(s.kind), format("%.1f", s.nextStopDistance / 100.0)}));
    }
    for (const std::string& n : p.notes) out.push_back(withArgs(trText("GpsImport", "note: %1"), {n}));
    return out;
}

}  // namespace ts::gps
