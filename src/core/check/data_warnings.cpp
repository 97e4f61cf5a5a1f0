#include "check/data_warnings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "check/signal_warnings.h"
#include "data/file_names.h"
#include "data/route_sections.h"
#include "data/section_fields.h"
#include "dynamics/motion.h"
#include "events/signals.h"
#include "text/our_text.h"

namespace ts {

namespace {

class Warner {
public:
    Warner(const Diagnostics& where, Diagnostics& out, std::string file)
        : where_(where), out_(out), file_(std::move(file)) {}

    // A warning about field `column` of entry `row` of a comma-row list.
    void row(const std::string& section, int row, int column, const std::string& why,
             Severity severity = Severity::Warning) {
        Diagnostic d = base(section, why);
        d.severity = severity;
        d.row = row;
        d.line = where_.entryLine(file_, section, row);
        d.column = column;
        d.fieldName = sectionFieldName(section, row, column);
        out_.add(d);
    }
    // A warning about the `index`-th line (from 1) of entry `row` of a list
    // whose entries take a line per value: located at that line.
    void inEntry(const std::string& section, int row, int index, const std::string& why) {
        Diagnostic d = base(section, why);
        d.row = row;
        const int first = where_.entryLine(file_, section, row);
        d.line = first ? first + index - 1 : 0;
        d.fieldName = sectionFieldName(section, row, index);
        out_.add(d);
    }
    // A warning about a single value, or a whole section (index 0).
    void value(const std::string& section, int index, const std::string& why) {
        Diagnostic d = base(section, why);
        const int marker = where_.markerLine(file_, section);
        d.line = marker ? marker + index : 0;
        d.fieldName = sectionFieldName(section, 0, index);
        out_.add(d);
    }

    // A remark about an absent section, which may be meant (a data set without video).
    void note(const std::string& section, const std::string& why) {
        Diagnostic d = base(section, why);
        d.severity = Severity::Note;
        out_.add(d);
    }

private:
    Diagnostic base(const std::string& section, const std::string& why) const {
        Diagnostic d;
        d.severity = Severity::Warning;
        d.file = file_;
        d.section = section;
        d.explanation = why;
        return d;
    }
    const Diagnostics& where_;
    Diagnostics& out_;
    std::string file_;
};

std::string num(long long v) { return std::to_string(v); }

bool stops(const StationData& s) { return s.kind == 0 || s.kind == 2; }

void addWarnings(const RouteData& r, const TrainData& t, const std::string& routeFile, const std::string& trainFile,
                 CheckDevices& devices, const Diagnostics& where, Diagnostics& routeOut, Diagnostics& trainOut);

std::string tenths(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f", v);
    return b;
}

// The length of a stop range in metres, frame by frame through the recorded speed.
double stopRangeMetres(const RouteData& r, const StationData& s) {
    Motion m;
    double metres = 0;
    for (int32_t f = std::max(s.stopFrom - 1, 0); f < s.stopTo; ++f) {
        m.trainPosition = f;
        updateRecordedSpeed(r, m);
        if (f >= s.stopFrom) metres += std::max(m.recordedSpeedKmh, 1) / 108.0;
        if (metres >= 1.0) break;
    }
    return metres;
}

// The rows that show a picture of a list the route leaves without it. An
// empty list is named once, at the first row that needs it.
void pictureListWarnings(const RouteData& r, Warner& w) {
    bool signsNamed = false;
    auto sign = [&](const std::string& section, int row, int column, int index, const std::string& what) {
        if (r.SignImageList.holds(index) || signsNamed) return;
        if (r.SignImageList.count() == 0) {
            signsNamed = true;
            w.row(section, row, column,
                  withArgs(trText("DataCheck", "[SignImageList] is empty: %1 and every other sign are not shown"),
                           {what}));
        } else {
            w.row(section, row, column,
                  withArgs(trText("DataCheck", "[SignImageList] has no picture %1: %2 is not shown"),
                           {num(index), what}));
        }
    };
    for (int i = 0; i < r.stationCount(); ++i)
        if (r.stationTable[size_t(i)].kind != 1) sign("[Station]", i + 1, 3, 0, trText("DataCheck", "the stop sign"));
    for (int i = 0; i < r.slopeCount(); ++i)
        sign("[Slope]", i + 1, 1, r.slopeTable[size_t(i)].gradient >= 0 ? 1 : 2,
             trText("DataCheck", "the gradient sign"));
    bool signalsNamed = false;
    for (int i = 0; i < r.signalCount() && !signalsNamed; ++i) {
        const int set = r.signalTable[size_t(i)].aspectSet;
        if (set > 5 || set < 0) continue;  // shows no picture
        int highest = 0;
        for (int aspect = 0; aspect <= 4; ++aspect) highest = std::max(highest, signalImageIndex(set, aspect));
        if (r.SignalImageList.holds(highest)) continue;
        if (r.SignalImageList.count() == 0) {
            signalsNamed = true;
            w.row("[Signal]", i + 1, 3,
                  trText("DataCheck", "[SignalImageList] is empty: no signal shows a picture in the cab"));
        } else {
            w.row("[Signal]", i + 1, 3,
                  withArgs(
                      trText("DataCheck", "[SignalImageList] has %1 pictures; aspect set %2 needs pictures up to %3"),
                      {num(r.SignalImageList.count()), num(set), num(highest)}));
        }
    }
}

}  // namespace

void addDataWarnings(const RouteData& r, const TrainData& t, const std::string& routeFile, const std::string& trainFile,
                     CheckDevices& devices, Diagnostics& out) {
    // Values of a file with errors are partly unread; judging them would only mislead.
    Diagnostics routeWarnings, trainWarnings;
    addWarnings(r, t, routeFile, trainFile, devices, out, routeWarnings, trainWarnings);
    for (auto* w : {&routeWarnings, &trainWarnings}) {
        const std::string& file = w == &routeWarnings ? routeFile : trainFile;
        bool errors = false;
        for (const auto& d : out.items()) errors = errors || (d.severity == Severity::Error && d.file == file);
        if (errors) {
            if (w->items().empty()) continue;
            Diagnostic n;
            n.severity = Severity::Note;
            n.file = file;
            n.explanation = trText("DataCheck", "the warnings about this file are given once its errors are mended");
            out.add(n);
            continue;
        }
        for (const auto& d : w->items()) out.add(d);
    }
}

namespace {

void addWarnings(const RouteData& r, const TrainData& t, const std::string& routeFile, const std::string& trainFile,
                 CheckDevices& devices, const Diagnostics& where, Diagnostics& routeOut, Diagnostics& trainOut) {
    Warner w(where, routeOut, routeFile);
    Warner wt(where, trainOut, trainFile);

    // The video, opened as a run opens it.
    VideoFacts video;
    if (r.videoFile.empty()) {
        w.note("[Path]", trText("DataCheck", "no video is named ([Path]): the driver's view stays blank"));
    } else if (devices.video) {
        video = devices.video(resolveDataPath(r.videoFile));
        if (!video.opened) {
            w.value("[Path]", 1,
                    withArgs(trText("DataCheck", "the video \"%1\" cannot be opened: the driver's view stays blank"),
                             {r.videoFile}));
        } else if (video.noPicture) {
            w.value("[Path]", 1,
                    withArgs(trText("DataCheck",
                                    "the video \"%1\" opens but yields no usable frame: the driver's view stays black"),
                             {r.videoFile}));
        } else if (video.recordedRate > 0 && std::fabs(video.recordedRate - video.framesPerSecond) > 0.01) {
            // Positions stay thirtieths of a second of recording whatever the
            // video's own rate; an author counting the video's pictures would be off.
            w.note("[Path]", withArgs(trText("DataCheck",
                                             "the video is recorded at %1 pictures per second; it is shown "
                                             "as %2 frames per second of recording, and every position "
                                             "counts those frames"),
                                      {num(std::lround(video.recordedRate)), num(std::lround(video.framesPerSecond))}));
        }
    }
    if (video.opened && r.videoOffset < 0)
        w.note("[VideoAlignment]",
               withArgs(trText("DataCheck",
                               "this copy of the video starts %1 frames after the route's frame 0: the "
                               "view stays blank until then"),
                        {num(-r.videoOffset)}));
    const int lastFrame = video.opened ? r.routeFramesIn(video.frames) - 1 : -1;
    int furthest = 0;  // the furthest position the route uses
    const int lineEnd = r.lineEnd();
    // Every frame that places a row, in every table the description lists,
    // against the video's last frame and the end of the line.
    auto position = [&](const SectionDesc& s, int row, int column, int32_t p) {
        furthest = std::max(furthest, p);
        std::string why;
        if (lastFrame >= 0 && p > lastFrame) {
            why = withArgs(trText("DataCheck", "position %1 is beyond the video's last frame %2"),
                           {num(p), num(lastFrame)});
        } else if (p > lineEnd) {
            why = withArgs(trText("DataCheck",
                                  "position %1 is beyond the end of the line at %2: the run closes before "
                                  "the train gets there"),
                           {num(p), num(lineEnd)});
        }
        if (why.empty()) return;
        if (s.entryLines > 1)
            w.inEntry(s.marker, row, column, why);
        else
            w.row(s.marker, row, column, why);
    };
    for (const SectionDesc& s : routeSections()) {
        if (!s.isList() || !s.rows) continue;
        for (size_t i = 0; i < s.rows(r); ++i) {
            for (size_t c = 0; c < s.columns.size(); ++c) {
                const ColumnDesc& col = s.columns[c];
                if (col.type != ValueType::Frame || col.mayPassTheEnd || !col.get) continue;
                if (const auto v = col.get(r, i)) position(s, int(i) + 1, int(c) + 1, int32_t(v->number));
            }
        }
    }
    if (lastFrame >= 0 && r.startPosition > lastFrame)
        w.value("[StartPos]", 1,
                withArgs(trText("DataCheck", "the start is beyond the video's last frame %1"), {num(lastFrame)}));
    else if (r.startPosition > lineEnd)
        w.value("[StartPos]", 1,
                withArgs(trText("DataCheck", "the start is beyond the end of the line at %1"), {num(lineEnd)}));
    if (r.hasEndPosition && r.endPosition <= r.startPosition)
        w.value("[EndPos]", 1,
                withArgs(trText("DataCheck",
                                "the end of the line %1 is not after [StartPos] %2: the run closes as soon "
                                "as the train moves"),
                         {num(r.endPosition), num(r.startPosition)}));
    else if (r.hasEndPosition && lastFrame >= 0 && r.endPosition > lastFrame)
        w.value("[EndPos]", 1,
                withArgs(trText("DataCheck",
                                "the end of the line %1 is beyond the video's last frame %2: the view stands "
                                "still before the run ends"),
                         {num(r.endPosition), num(lastFrame)}));

    // Stations: ranges, order, times.
    const int sounds = r.soundDataCount();
    auto soundIndex = [&](const std::string& section, int row, int column, int32_t i) {
        if (i < 0 || i >= sounds)
            w.row(section, row, column,
                  withArgs(trText("DataCheck", "sound %1 is not in [SoundData] (%2 entries, from 0): it stays silent"),
                           {num(i), num(sounds)}));
    };
    const StationData* previousStop = nullptr;
    for (int i = 0; i < r.stationCount(); ++i) {
        const StationData& s = r.stationTable[size_t(i)];
        const int row = i + 1;
        if (s.stopFrom > s.stopTo)
            w.row("[Station]", row, 3,
                  withArgs(trText("DataCheck",
                                  "stopFrom %1 is after stopTo %2: the train can never stand inside this "
                                  "stop range"),
                           {num(s.stopFrom), num(s.stopTo)}));
        if (i > 0 && s.stopFrom < r.stationTable[size_t(i - 1)].stopFrom)
            w.row("[Station]", row, 3,
                  trText("DataCheck", "this station lies before the previous one: stations must be in route order"));
        if (i == 0 && (r.startPosition < s.stopFrom || r.startPosition > s.stopTo))
            w.row("[Station]", row, 3,
                  withArgs(trText("DataCheck",
                                  "the first station's stop range %1 to %2 does not contain [StartPos] %3: "
                                  "the run starts away from its platform"),
                           {num(s.stopFrom), num(s.stopTo), num(r.startPosition)}));
        if (!stops(s)) continue;
        if (sounds > 0) soundIndex("[Station]", row, 5, s.soundIndex);
        if (s.kind == 0 && r.oneManOperation == 0 && s.closeTime < s.departureTime)
            w.row("[Station]", row, 7,
                  withArgs(trText("DataCheck",
                                  "the doors close at %1, before the departure time %2: the departure "
                                  "sound never plays (make closeTime later than departureTime)"),
                           {num(s.closeTime), num(s.departureTime)}));
        if (const double metres = stopRangeMetres(r, s); s.stopFrom <= s.stopTo && metres < 1.0)
            w.row("[Station]", row, 3,
                  withArgs(trText("DataCheck",
                                  "the stop range is only %1 m long at the recorded speed: a good stop is "
                                  "judged to have run through (make it a few metres)"),
                           {tenths(metres)}));
        if (s.departureTime < r.startTime)
            w.row("[Station]", row, 6,
                  withArgs(trText("DataCheck", "the departure time is before [StartTime] %1"), {num(r.startTime)}));
        if (s.closeTime < r.startTime)
            w.row("[Station]", row, 7,
                  withArgs(trText("DataCheck", "the door closing time is before [StartTime] %1"), {num(r.startTime)}));
        if (previousStop && s.departureTime < previousStop->departureTime)
            w.row("[Station]", row, 6,
                  trText("DataCheck",
                         "the departure time is earlier than the previous stop's: times must follow the route order"));
        if (previousStop && s.closeTime < previousStop->closeTime)
            w.row(
                "[Station]", row, 7,
                trText("DataCheck",
                       "the door closing time is earlier than the previous stop's: times must follow the route order"));
        previousStop = &s;
    }

    // Signals in position order; their labels for the call-outs.
    std::set<std::string> labels;
    for (int i = 0; i < r.signalCount(); ++i) {
        const SignalData& s = r.signalTable[size_t(i)];
        labels.insert(s.label);
        if (i > 0 && s.fromPosition < r.signalTable[size_t(i - 1)].fromPosition)
            w.row(
                "[Signal]", i + 1, 4,
                trText("DataCheck", "signal rows must be in position order: this one starts before the previous one"));
    }
    for (size_t k = kKankoSlots1; k < r.kankoTable.size(); ++k) {
        if (!labels.count(r.kankoTable[k].callText))
            w.row("[KankoSound2]", int(k - kKankoSlots1) + 1, 0,
                  withArgs(trText("DataCheck", "no [Signal] label reads \"%1\": this call-out can never play"),
                           {r.kankoTable[k].callText}));
    }

    // At stop the protection brakes a driver who kept to the timetable: a
    // trap. A restricting aspect may be what the author wants: a remark.
    for (const SignalMeeting& m : signalsMetRestricted(r))
        w.row("[Signal]", m.row, 7,
              withArgs(m.aspect == 0 ? trText("DataCheck",
                                              "a train keeping to the recorded speed and the station "
                                              "times meets this signal at stop, the preceding train "
                                              "being in its blocks: [Pre_Time] %1 or more shows it clear")
                                     : trText("DataCheck",
                                              "a train keeping to the recorded speed and the station "
                                              "times meets this signal at a restricting aspect, the "
                                              "preceding train being in its blocks: [Pre_Time] %1 or "
                                              "more shows it clear"),
                       {num(m.clearingPreTime)}),
              m.aspect == 0 ? Severity::Warning : Severity::Note);
    for (int i = 0; i < r.slopeCount(); ++i) {
        const SlopeRow& s = r.slopeTable[size_t(i)];
        // A run takes any gradient; beyond what adhesion railways climb it is
        // almost always a measuring error (heights from a phone's GPS).
        const long double permille = std::fabs(static_cast<long double>(s.gradient)) / 10000;
        if (permille > 100)
            w.row(
                "[Slope]", i + 1, 1,
                withArgs(trText("DataCheck",
                                "a gradient of %1 per mille is steeper than any adhesion railway: a measuring error?"),
                         {tenths(double(s.gradient) / 10000)}));
        else if (permille > 40)
            w.row("[Slope]", i + 1, 1,
                  withArgs(trText("DataCheck",
                                  "a gradient of %1 per mille is steeper than main lines are built (40 per mille)"),
                           {tenths(double(s.gradient) / 10000)}));
    }
    pictureListWarnings(r, w);
    for (int i = 0; i < r.signCount(); ++i) {
        const SignRow& s = r.signTable[size_t(i)];
        if (!r.OtherImageList.holds(s.imageIndex))
            w.row("[Sign]", i + 1, 1,
                  withArgs(trText("DataCheck",
                                  "image %1 is not in [OtherImageList] (%2 pictures, from 0): nothing is shown"),
                           {num(s.imageIndex), num(r.OtherImageList.count())}));
    }
    for (int i = 0; i < r.speedLimitCount(); ++i) {
        const SpeedLimitRow& s = r.speedLimitTable[size_t(i)];
        if (s.limit < 15 || s.limit > 120 || s.limit % 5 != 0)
            w.row("[SpeedLimit]", i + 1, 1,
                  withArgs(trText("DataCheck",
                                  "there is no sign picture for %1 km/h: limits with a sign are 15, 20, ... 120"),
                           {num(s.limit)}));
        else if (!r.SignImageList.holds(s.limit / 5))
            w.row("[SpeedLimit]", i + 1, 1,
                  withArgs(trText("DataCheck", "[SignImageList] has no picture %1 for %2 km/h"),
                           {num(s.limit / 5), num(s.limit)}));
    }
    for (int i = 0; i < r.announceCount(); ++i) {
        soundIndex("[Announce]", i + 1, 1, r.announceTable[size_t(i)].soundIndex);
    }
    for (int i = 0; i < r.routeSoundCount(); ++i) {
        soundIndex("[Sound]", i + 1, 1, r.routeSoundTable[size_t(i)].soundIndex);
    }
    for (int i = 0; i < r.dopplerCount(); ++i) {
        soundIndex("[Doppler]", i + 1, 1, r.dopplerTable[size_t(i)].soundIndex);
    }

    // The recorded speed: every frame the train can reach in one row, with speed.
    const auto& units = r.speedUnitTable;
    auto inStop = [&](int32_t p) {
        for (const auto& s : r.stationTable)
            if (stops(s) && s.stopFrom <= p && p <= s.stopTo) return true;
        return false;
    };
    for (int i = 0; i < r.speedUnitCount(); ++i) {
        const Speed_UnitData& u = units[size_t(i)];
        const int row = i + 1;
        if (u.fromPosition == u.toPosition)
            w.row("[SpeedUnit]", row, 2, trText("DataCheck", "fromFrame equals toFrame: the row covers no frame"));
        if (i > 0 && u.fromPosition < units[size_t(i - 1)].toPosition)
            w.row("[SpeedUnit]", row, 1,
                  withArgs(trText("DataCheck", "this row overlaps the previous one, which runs to %1"),
                           {num(units[size_t(i - 1)].toPosition)}));
        else if (i > 0 && u.fromPosition > units[size_t(i - 1)].toPosition)
            w.row("[SpeedUnit]", row, 1,
                  withArgs(trText("DataCheck", "frames %1 to %2 are covered by no row"),
                           {num(units[size_t(i - 1)].toPosition), num(u.fromPosition)}));
        if ((u.fromSpeed <= 0 && !inStop(u.fromPosition)) || (u.toSpeed <= 0 && !inStop(u.toPosition)))
            w.row("[SpeedUnit]", row, u.fromSpeed <= 0 ? 3 : 4,
                  trText("DataCheck", "a recorded speed of 0 outside a stop: the train cannot move past this point"));
    }
    if (units.empty()) {
        w.note("[SpeedUnit]",
               trText("DataCheck", "the route has no [SpeedUnit] rows: the train's position cannot advance"));
    } else {
        if (r.startPosition < units.front().fromPosition)
            w.row("[SpeedUnit]", 1, 1,
                  withArgs(trText("DataCheck", "[StartPos] %1 lies before the first row"), {num(r.startPosition)}));
        const int end = std::min(furthest, lineEnd);
        if (units.back().toPosition < end)
            w.row("[SpeedUnit]", int(units.size()), 2,
                  withArgs(trText("DataCheck", "the route uses frames up to %1 but the last row ends at %2"),
                           {num(end), num(units.back().toPosition)}));
    }
    // Distance marks scale the speed found in the video: along the line, both rise.
    const auto& marks = r.distanceMarkTable;
    for (size_t i = 1; i < marks.size(); ++i) {
        const int row = int(i) + 1;
        if (marks[i].frame <= marks[i - 1].frame)
            w.row("[DistanceMark]", row, 1,
                  withArgs(trText("DataCheck", "the frame is not after the previous mark's %1: marks out of order"),
                           {num(marks[i - 1].frame)}));
        else if (marks[i].metres <= marks[i - 1].metres)
            w.row("[DistanceMark]", row, 2,
                  withArgs(trText("DataCheck",
                                  "the place is not beyond the previous mark's %1 m: a negative or no distance"),
                           {num(marks[i - 1].metres)}));
    }
    for (size_t i = 0; i < marks.size(); ++i)
        if (lastFrame >= 0 && marks[i].frame > lastFrame)
            w.row("[DistanceMark]", int(i) + 1, 1,
                  withArgs(trText("DataCheck", "position %1 is beyond the video's last frame %2"),
                           {num(marks[i].frame), num(lastFrame)}));
    if (video.opened && furthest > lastFrame && lastFrame >= 0)
        w.value("[Path]", 1,
                withArgs(trText("DataCheck", "the video has %1 frames but the route uses frames up to %2"),
                         {num(video.frames), num(furthest)}));

    // Waves: a run loads each and a wave it cannot read stays silent.
    if (devices.waveReadable) {
        auto wave = [&](Warner& to, const std::string& section, int row, const std::string& name, int line = 1) {
            if (name.empty() || devices.waveReadable(resolveDataPath(name))) return;
            const std::string why =
                withArgs(trText("DataCheck", "the wave \"%1\" cannot be read: its sound stays silent"), {name});
            if (row > 0 && line > 1)
                to.inEntry(section, row, line, why);
            else if (row > 0)
                to.row(section, row, 0, why);
            else
                to.value(section, -row, why);
        };
        for (int i = 0; i < r.soundDataCount(); ++i) wave(w, "[SoundData]", i + 1, r.soundDataFiles[size_t(i)]);
        for (int k = 0; k < kKankoSlots1; ++k) wave(w, "[KankoSound1]", -(k + 1), r.kankoSound1Files[size_t(k)]);
        for (size_t k = kKankoSlots1; k < r.kankoTable.size(); ++k)
            wave(w, "[KankoSound2]", int(k - kKankoSlots1) + 1, r.kankoTable[k].fileName, 2);
        for (int i = 0; i < r.otherImageCount(); ++i)
            wave(w, "[OtherImageList]", i + 1, r.otherSoundFiles[size_t(i)], 2);
        for (int i = 0; i < t.driveSoundCount(); ++i) wave(wt, "[DriveSound]", i + 1, t.driveSoundFiles[size_t(i)]);
        for (int i = 0; i < t.motorSoundCount(); ++i)
            wave(wt, "[MotorSound]", i + 1, t.motorSoundTable[size_t(i)].fileName);
    }
}

}  // namespace

}  // namespace ts
