#include "data/route_sections.h"

#include <type_traits>

namespace ts {

namespace {

using V = ValueType;

template <class T>
Cell cellOf(const T& v) {
    Cell c;
    if constexpr (std::is_same_v<T, std::string>)
        c.text = v;
    else
        c.number = int64_t(v);
    return c;
}

template <class T>
void assign(T& to, const Cell& c) {
    if constexpr (std::is_same_v<T, std::string>)
        to = c.text;
    else
        to = T(c.number);
}

// A column of a comma-row or multi-line table kept as a vector of records.
template <class Row, class T>
ColumnDesc column(std::vector<Row> RouteData::*table, const char* tableName, T Row::*field, const char* name,
                  ValueType type, const char* unit, const char* meaning) {
    ColumnDesc c;
    c.name = name;
    c.type = type;
    c.unit = unit;
    c.meaning = meaning;
    c.stored = std::string(tableName) + "[i]." + name;
    c.get = [table, field](const RouteData& r, size_t row) -> std::optional<Cell> {
        if (row >= (r.*table).size()) return std::nullopt;
        return cellOf((r.*table)[row].*field);
    };
    c.set = [table, field](RouteData& r, size_t row, const Cell& v) { assign((r.*table)[row].*field, v); };
    return c;
}

// The one column of a list kept as a vector of values.
template <class T>
ColumnDesc element(std::vector<T> RouteData::*table, const char* tableName, const char* name, ValueType type,
                   const char* unit, const char* meaning) {
    ColumnDesc c;
    c.name = name;
    c.type = type;
    c.unit = unit;
    c.meaning = meaning;
    c.stored = std::string(tableName) + "[i]";
    c.get = [table](const RouteData& r, size_t row) -> std::optional<Cell> {
        if (row >= (r.*table).size()) return std::nullopt;
        return cellOf((r.*table)[row]);
    };
    c.set = [table](RouteData& r, size_t row, const Cell& v) { assign((r.*table)[row], v); };
    return c;
}

// A column that names what a list's lines are but is not kept as read.
ColumnDesc described(const char* name, ValueType type, const char* meaning, const char* stored) {
    ColumnDesc c;
    c.name = name;
    c.type = type;
    c.meaning = meaning;
    c.stored = stored;
    return c;
}

ColumnDesc frame(ColumnDesc c, int newOffset) {
    c.newOffset = newOffset;
    return c;
}

// Distance, not frames: at the crawl of a stop a few frames are a few
// centimetres, and a stop range made of them judges a good stop overrun.
ColumnDesc metres(ColumnDesc c, double newMetres) {
    c.newMetres = newMetres;
    return c;
}

ColumnDesc fresh(ColumnDesc c, const char* newText) {
    c.newText = newText;
    return c;
}

// A frame that may lie beyond the end of the line: the end of a sound, the
// approach of a passage; the row's own place is checked.
ColumnDesc passes(ColumnDesc c) {
    c.mayPassTheEnd = true;
    return c;
}

ColumnDesc ranged(ColumnDesc c, int64_t low, int64_t high) {
    c.range = std::make_pair(low, high);
    return c;
}

template <class Row>
void listOf(SectionDesc& s, std::vector<Row> RouteData::*table, const char* tableName) {
    s.stored = tableName;
    s.rows = [table](const RouteData& r) { return (r.*table).size(); };
    s.clearRows = [table](RouteData& r) { (r.*table).clear(); };
    s.addRow = [table](RouteData& r) { (r.*table).emplace_back(); };
}

// A list, shown by the editor on tab `tab` (from 1; 0: among the file lists) as `title`.
SectionDesc list(const char* marker, int capacity, int tab, const char* title) {
    SectionDesc s;
    s.marker = marker;
    s.kind = SectionKind::FreeList;
    s.capacity = capacity;
    s.tab = tab;
    s.title = title;
    return s;
}

template <class T>
SectionDesc single(const char* marker, std::optional<RouteValue> value, T RouteData::*field, const char* name,
                   ValueType type, const char* unit, const char* meaning) {
    SectionDesc s;
    s.marker = marker;
    s.kind = SectionKind::SingleValue;
    s.value = value;
    ColumnDesc c;
    c.name = name;
    c.type = type;
    c.unit = unit;
    c.meaning = meaning;
    c.stored = name;
    c.get = [field](const RouteData& r, size_t) -> std::optional<Cell> { return cellOf(r.*field); };
    c.set = [field](RouteData& r, size_t, const Cell& v) { assign(r.*field, v); };
    s.columns.push_back(c);
    return s;
}

// The trace's route fields in the trace's own order, which the golden traces
// hold: counts follow the single values, the call-outs before [Announce].
void traceOrder(std::vector<SectionDesc>& d) {
    const std::pair<const char*, const char*> traced[] = {{"[LineName]", "lineName"},
                                                          {"[StartPos]", "startPosition"},
                                                          {"[FrameRate]", "frameRate"},
                                                          {"[StartTime]", "startTime"},
                                                          {"[Speed_YY]", "signalSpeedYY"},
                                                          {"[Speed_Y]", "signalSpeedY"},
                                                          {"[Speed_YG]", "signalSpeedYG"},
                                                          {"[Speed_G]", "signalSpeedG"},
                                                          {"[Pre_Time]", "preTimeTicks"},
                                                          {"[OneMan]", "oneManOperation"},
                                                          {"[SoundData]", "soundDataCount"},
                                                          {"[KankoSound2]", "kankoCount"},
                                                          {"[Announce]", "announceCount"},
                                                          {"[Sound]", "routeSoundCount"},
                                                          {"[Doppler]", "dopplerCount"},
                                                          {"[Tunnel]", "tunnelCount"},
                                                          {"[Station]", "stationCount"},
                                                          {"[StopSound]", "stopSoundCount"},
                                                          {"[Signal]", "signalCount"},
                                                          {"[Slope]", "slopeCount"},
                                                          {"[Sign]", "signCount"},
                                                          {"[SpeedLimit]", "speedLimitCount"},
                                                          {"[SpeedCheck]", "speedCheckCount"},
                                                          {"[SpeedUnit]", "speedUnitCount"},
                                                          {"[OtherImageList]", "otherImageCount"}};
    int order = 0;
    for (const auto& [marker, name] : traced) {
        for (SectionDesc& s : d) {
            if (s.marker != marker) continue;
            s.traceName = name;
            s.traceOrder = ++order;
        }
    }
}

std::vector<SectionDesc> describe() {
    std::vector<SectionDesc> d;
    using RV = RouteValue;

    d.push_back(single("[LineName]", RV::LineName, &RouteData::lineName, "lineName", V::Text, "",
                       "the line's name, the window caption"));
    d.push_back(single("[StartPos]", RV::StartPosition, &RouteData::startPosition, "startPosition", V::Frame, "frame",
                       "where the run starts"));
    {
        SectionDesc s = single("[FrameRate]", RV::FrameRate, &RouteData::frameRate, "frameRate", V::Integer, "frames/s",
                               "frame rate");
        s.columns[0] = ranged(s.columns[0], 1, 30);
        d.push_back(s);
    }
    d.push_back(single("[Staf]", RV::StaffImage, &RouteData::staffImageFile, "staffImageFile", V::FileName, "",
                       "the timetable card's picture"));
    d.push_back(single("[StartTime]", RV::StartTime, &RouteData::startTime, "startTime", V::Time, "1/30 s",
                       "the clock at the start"));
    d.push_back(single("[Speed_YY]", RV::SignalSpeedYY, &RouteData::signalSpeedYY, "signalSpeedYY", V::Integer, "km/h",
                       "the speed of the double yellow aspect"));
    d.push_back(single("[Speed_Y]", RV::SignalSpeedY, &RouteData::signalSpeedY, "signalSpeedY", V::Integer, "km/h",
                       "the speed of the yellow aspect"));
    d.push_back(single("[Speed_YG]", RV::SignalSpeedYG, &RouteData::signalSpeedYG, "signalSpeedYG", V::Integer, "km/h",
                       "the speed of the yellow-green aspect"));
    d.push_back(single("[Speed_G]", RV::SignalSpeedG, &RouteData::signalSpeedG, "signalSpeedG", V::Integer, "km/h",
                       "the speed of the green aspect"));
    d.push_back(
        single("[Path]", RV::VideoFile, &RouteData::videoFile, "videoFile", V::FileName, "", "the video of the ride"));
    {
        // Written in seconds, kept in ticks.
        SectionDesc s = single("[Pre_Time]", RV::PreTime, &RouteData::preTimeTicks, "preTimeTicks", V::Integer, "s",
                               "how long the preceding train is ahead");
        s.customReader = true;
        d.push_back(s);
    }
    d.push_back(single("[OneMan]", RV::OneMan, &RouteData::oneManOperation, "oneManOperation", V::Integer, "",
                       "1: the driver works the doors"));
    {
        SectionDesc s = list("[SoundData]", kLoadableRouteSounds, 0, "");
        s.columns = {
            element(&RouteData::soundDataFiles, "soundDataFiles", "fileName", V::FileName, "", "a wave file per line")};
        listOf(s, &RouteData::soundDataFiles, "soundDataFiles");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[Announce]", kRouteRows, 9, "Announcements");
        s.commaRows = true;
        s.keyColumn = 1;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::announceTable, "announceTable", f, n, t, u, m);
        };
        s.columns = {fresh(c(&AnnounceRow::soundIndex, "soundIndex", V::Integer, "", "sound"), "0"),
                     frame(c(&AnnounceRow::position, "position", V::Frame, "frame", "position"), 0)};
        listOf(s, &RouteData::announceTable, "announceTable");
        d.push_back(s);
    }
    {
        SectionDesc s;
        s.marker = "[KankoSound1]";
        s.kind = SectionKind::FixedTable;
        s.capacity = kKankoSlots1;
        s.customReader = true;
        s.stored = "kankoSound1Files";
        s.columns = {element(&RouteData::kankoSound1Files, "kankoSound1Files", "fileName", V::FileName, "",
                             "exactly 28 wave files, no \"#\" line")};
        d.push_back(s);
    }
    {
        SectionDesc s = list("[KankoSound2]", kKankoPairs, 0, "");
        s.entryLines = 2;
        s.customReader = true;
        s.stored = "kankoTable[28 + i]";
        // Both call-out sections together.
        s.traceCount = [](const RouteData& r) { return int64_t(r.kankoCount); };
        s.columns = {described("callText", V::Text, "call-out text", "kankoTable[28 + i].callText"),
                     described("fileName", V::FileName, "wave file", "kankoTable[28 + i].fileName")};
        d.push_back(s);
    }
    {
        SectionDesc s = list("[Sound]", kRouteRows, 8, "Sounds");
        s.commaRows = true;
        s.skipSemicolon = true;
        s.keyColumn = 1;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::routeSoundTable, "routeSoundTable", f, n, t, u, m);
        };
        s.columns = {
            fresh(c(&RouteSoundRow::soundIndex, "soundIndex", V::Integer, "", "sound"), "0"),
            frame(c(&RouteSoundRow::position, "position", V::Frame, "frame", "position"), 0),
            passes(frame(c(&RouteSoundRow::endPosition, "endPosition", V::Frame, "frame", "end position"), 300)),
            fresh(c(&RouteSoundRow::pitchSpeed, "pitchSpeed", V::Integer, "km/h", "pitch speed"), "1"),
            fresh(c(&RouteSoundRow::loopMode, "loopMode", V::Integer, "", "loop mode"), "0")};
        listOf(s, &RouteData::routeSoundTable, "routeSoundTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[Doppler]", kRouteRows, 10, "Doppler");
        s.commaRows = true;
        s.keyColumn = 2;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::dopplerTable, "dopplerTable", f, n, t, u, m);
        };
        s.columns = {fresh(c(&DopplerRow::soundIndex, "soundIndex", V::Integer, "", "sound"), "0"),
                     passes(frame(c(&DopplerRow::fromPosition, "fromPosition", V::Frame, "frame", "from"), -150)),
                     frame(c(&DopplerRow::passPosition, "passPosition", V::Frame, "frame", "pass"), 0),
                     passes(frame(c(&DopplerRow::toPosition, "toPosition", V::Frame, "frame", "to"), 150))};
        listOf(s, &RouteData::dopplerTable, "dopplerTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[Tunnel]", kRouteRows, 7, "Tunnels");
        s.entryLines = 2;
        s.keyColumn = 0;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::tunnelTable, "tunnelTable", f, n, t, u, m);
        };
        s.columns = {frame(c(&TunnelRow::fromPosition, "fromPosition", V::Frame, "frame", "from"), 0),
                     frame(c(&TunnelRow::toPosition, "toPosition", V::Frame, "frame", "to"), 300)};
        listOf(s, &RouteData::tunnelTable, "tunnelTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[Station]", kRouteRows, 1, "Stations");
        s.commaRows = true;
        s.keyColumn = 2;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::stationTable, "stationTable", f, n, t, u, m);
        };
        // A new station's name, departure and door-closing times depend on
        // the rows before it: the editor works them out (edit/route_rows.cpp).
        s.columns = {
            c(&StationData::name, "name", V::Text, "", "name"),
            fresh(c(&StationData::kind, "kind", V::Integer, "", "0 stop, 1 pass, 2 stop without doors"), "0"),
            metres(c(&StationData::stopFrom, "stopFrom", V::Frame, "frame", "stop from"), -5.0),
            metres(c(&StationData::stopTo, "stopTo", V::Frame, "frame", "stop to"), 5.0),
            fresh(c(&StationData::soundIndex, "soundIndex", V::Integer, "", "departure sound"), "0"),
            c(&StationData::departureTime, "departureTime", V::Time, "1/30 s", "departure time"),
            c(&StationData::closeTime, "closeTime", V::Time, "1/30 s", "door closing time"),
            fresh(c(&StationData::nextStopDistance, "nextStopDistance", V::Integer, "cm", "distance to the next stop"),
                  "0")};
        listOf(s, &RouteData::stationTable, "stationTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[StopSound]", kRouteRows, 11, "Stop sounds");
        // The reader takes the whole line, not its first field: "95,x" is refused.
        s.commaRows = true;
        s.wholeLine = true;
        s.keyColumn = 0;
        s.columns = {frame(
            element(&RouteData::stopSoundTable, "stopSoundTable", "position", V::Frame, "frame", "a position per line"),
            0)};
        listOf(s, &RouteData::stopSoundTable, "stopSoundTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[Signal]", kRouteRows, 2, "Signals");
        s.commaRows = true;
        s.keyColumn = 4;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::signalTable, "signalTable", f, n, t, u, m);
        };
        // Alarm and check points lie before the signal: the block's own frames
        // are what the end of the line is checked against.
        s.columns = {c(&SignalData::kind, "kind", V::Integer, "", "kind"),
                     c(&SignalData::label, "label", V::Text, "", "label"),
                     c(&SignalData::aspectSet, "aspectSet", V::Integer, "", "aspect set"),
                     c(&SignalData::fromPosition, "fromPosition", V::Frame, "frame", "from"),
                     c(&SignalData::toPosition, "toPosition", V::Frame, "frame", "to"),
                     passes(c(&SignalData::alarmPosition, "alarmPosition", V::Frame, "frame", "alarm point")),
                     passes(c(&SignalData::checkPosition, "checkPosition", V::Frame, "frame", "check point")),
                     c(&SignalData::fixedAspect, "fixedAspect", V::Integer, "", "fixed aspect"),
                     c(&SignalData::releaseTime, "releaseTime", V::Time, "1/30 s", "release time")};
        listOf(s, &RouteData::signalTable, "signalTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[Slope]", kRouteRows, 5, "Slopes");
        s.commaRows = true;
        s.keyColumn = 1;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::slopeTable, "slopeTable", f, n, t, u, m);
        };
        s.columns = {fresh(c(&SlopeRow::gradient, "gradient", V::Gradient, "‰", "gradient"), "5"),
                     frame(c(&SlopeRow::fromPosition, "fromPosition", V::Frame, "frame", "from"), 0),
                     frame(c(&SlopeRow::toPosition, "toPosition", V::Frame, "frame", "to"), 300)};
        listOf(s, &RouteData::slopeTable, "slopeTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[Sign]", kRouteRows, 6, "Signs");
        s.commaRows = true;
        s.keyColumn = 1;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::signTable, "signTable", f, n, t, u, m);
        };
        s.columns = {fresh(c(&SignRow::imageIndex, "imageIndex", V::Integer, "", "other-image index"), "0"),
                     frame(c(&SignRow::fromPosition, "fromPosition", V::Frame, "frame", "from"), 0),
                     frame(c(&SignRow::toPosition, "toPosition", V::Frame, "frame", "to"), 150)};
        listOf(s, &RouteData::signTable, "signTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[SpeedLimit]", kRouteRows, 3, "Speed limits");
        s.commaRows = true;
        s.keyColumn = 2;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::speedLimitTable, "speedLimitTable", f, n, t, u, m);
        };
        // The notice comes before the limit's own frames.
        s.columns = {
            fresh(c(&SpeedLimitRow::limit, "limit", V::Integer, "km/h", "limit"), "60"),
            passes(frame(c(&SpeedLimitRow::noticePosition, "noticePosition", V::Frame, "frame", "notice from"), -300)),
            frame(c(&SpeedLimitRow::fromPosition, "fromPosition", V::Frame, "frame", "from"), 0),
            frame(c(&SpeedLimitRow::toPosition, "toPosition", V::Frame, "frame", "to"), 600)};
        listOf(s, &RouteData::speedLimitTable, "speedLimitTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[SpeedCheck]", kRouteRows, 4, "Speed checks");
        s.commaRows = true;
        s.keyColumn = 1;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            return column(&RouteData::speedCheckTable, "speedCheckTable", f, n, t, u, m);
        };
        s.columns = {fresh(c(&SpeedCheckRow::limit, "limit", V::Integer, "km/h", "limit"), "60"),
                     frame(c(&SpeedCheckRow::position, "position", V::Frame, "frame", "position"), 0)};
        listOf(s, &RouteData::speedCheckTable, "speedCheckTable");
        d.push_back(s);
    }
    {
        SectionDesc s = list("[SignImageList]", kRouteRows, 0, "");
        s.customReader = true;
        s.stored = "SignImageList";
        s.columns = {described("fileName", V::Picture,
                               "50 × 50 pictures: stop sign, uphill, downhill, limits 15 … 120 km/h",
                               "SignImageList.pictures[i]")};
        d.push_back(s);
    }
    {
        SectionDesc s = list("[OtherImageList]", kOtherImages, 0, "");
        s.entryLines = 2;
        s.customReader = true;
        s.stored = "OtherImageList, otherSoundFiles";
        s.traceCount = [](const RouteData& r) { return int64_t(r.otherImageCount()); };
        s.columns = {
            described("fileName", V::Picture, "a 100 × 50 picture", "OtherImageList.pictures[i]"),
            element(&RouteData::otherSoundFiles, "otherSoundFiles", "soundFile", V::FileName, "", "its call-out wave")};
        d.push_back(s);
    }
    {
        SectionDesc s = list("[SignalImageList]", kRouteRows, 0, "");
        s.customReader = true;
        s.stored = "SignalImageList";
        s.columns = {described("fileName", V::Picture, "50 × 100 signal pictures", "SignalImageList.pictures[i]")};
        d.push_back(s);
    }
    {
        SectionDesc s = list("[SpeedUnit]", kRouteRows, 12, "Recorded speed");
        s.commaRows = true;
        s.keyColumn = 0;
        auto c = [](auto f, const char* n, V t, const char* u, const char* m) {
            // The recorded run goes on past the end of the line; its own rules check it.
            return passes(column(&RouteData::speedUnitTable, "speedUnitTable", f, n, t, u, m));
        };
        s.columns = {c(&Speed_UnitData::fromPosition, "fromPosition", V::Frame, "frame", "from"),
                     c(&Speed_UnitData::toPosition, "toPosition", V::Frame, "frame", "to"),
                     c(&Speed_UnitData::fromSpeed, "fromSpeed", V::Integer, "km/h", "speed at from"),
                     c(&Speed_UnitData::toSpeed, "toSpeed", V::Integer, "km/h", "speed at to")};
        listOf(s, &RouteData::speedUnitTable, "speedUnitTable");
        d.push_back(s);
    }
    {
        // Optional, for `trainsim speed-from-video` and the editor: a run reads it and does nothing with it.
        SectionDesc s = list("[DistanceMark]", kRouteRows, 13, "Distance marks");
        s.commaRows = true;
        s.keyColumn = 0;
        // A mark may stand anywhere in the video, past the end of the line too.
        s.columns = {passes(column(&RouteData::distanceMarkTable, "distanceMarkTable", &DistanceMarkRow::frame, "frame",
                                   V::Frame, "frame", "a frame whose place along the line is known")),
                     ranged(column(&RouteData::distanceMarkTable, "distanceMarkTable", &DistanceMarkRow::metres,
                                   "metres", V::Integer, "m", "that place, from any fixed origin (a kilometre post)"),
                            0, 100'000'000)};
        listOf(s, &RouteData::distanceMarkTable, "distanceMarkTable");
        d.push_back(s);
    }
    // Tested last so that no earlier section's reading changes with them.
    {
        SectionDesc s = single("[Letterbox]", RV::Letterbox, &RouteData::letterbox, "letterbox", V::Integer, "",
                               "letterbox switch");
        s.columns[0] = ranged(s.columns[0], 0, 1);
        d.push_back(s);
    }
    {
        // Written by the route installer; a route without it shows the video file as it is.
        SectionDesc s = single("[VideoAlignment]", std::nullopt, &RouteData::videoOffset, "videoOffset", V::Integer,
                               "frame", "the video file's frame at the route's frame 0");
        s.columns[0] = ranged(s.columns[0], -kVideoAlignmentOffsetLimit, kVideoAlignmentOffsetLimit);
        ColumnDesc rate = single("", std::nullopt, &RouteData::videoRate, "videoRate", V::Integer, "1/1000000",
                                 "the video file's frames per frame of the route")
                              .columns[0];
        s.columns.push_back(ranged(rate, kVideoRateUnit / 2, kVideoRateUnit * 2));
        s.stored = "videoOffset, videoRate";
        d.push_back(s);
    }
    {
        SectionDesc s = single("[EndPos]", RV::EndPos, &RouteData::endPosition, "endPosition", V::Frame, "frame",
                               "the end of the line (4500 when absent)");
        s.customReader = true;  // also records that the line has an end of its own
        d.push_back(s);
    }
    traceOrder(d);
    return d;
}

}  // namespace

const std::vector<SectionDesc>& routeSections() {
    static const std::vector<SectionDesc> sections = describe();
    return sections;
}

const std::vector<const SectionDesc*>& routeSectionsInTraceOrder() {
    static const std::vector<const SectionDesc*> traced = sectionsInOrder(routeSections(), &SectionDesc::traceOrder);
    return traced;
}

const std::vector<const SectionDesc*>& routeTableSections() {
    static const std::vector<const SectionDesc*> tables = sectionsInOrder(routeSections(), &SectionDesc::tab);
    return tables;
}

const SectionDesc* routeSection(std::string_view marker) { return sectionByMarker(routeSections(), marker); }

const SectionDesc& routeSection(RouteValue value) {
    for (const SectionDesc& s : routeSections())
        if (s.value == value) return s;
    return routeSections().front();
}

namespace {

std::string kindText(const SectionDesc& s) {
    switch (s.kind) {
        case SectionKind::SingleValue: return "single value";
        case SectionKind::FixedTable: return "fixed table of " + std::to_string(s.capacity) + " lines";
        case SectionKind::FreeList: break;
    }
    std::string k = "list, at most " + std::to_string(s.capacity);
    if (s.commaRows && !s.wholeLine) k += ", comma rows";
    if (s.entryLines > 1) k += ", " + std::to_string(s.entryLines) + " lines an entry";
    if (s.skipSemicolon) k += ", \";\" lines skipped";
    return k;
}

}  // namespace

std::string routeSectionsMarkdown() {
    std::string out = "| section | kind | values | kept in |\n|---|---|---|---|\n";
    for (const SectionDesc& s : routeSections()) {
        std::string values;
        for (const ColumnDesc& c : s.columns) values += (values.empty() ? "" : "; ") + columnMarkdown(c);
        const std::string stored = s.isList() || !s.stored.empty() ? s.stored : s.columns.front().stored;
        out += "| `" + s.marker + "` | " + kindText(s) + " | " + values + " | `" + stored + "` |\n";
    }
    return out;
}

}  // namespace ts
