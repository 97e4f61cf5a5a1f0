// The route file's sections, each described once: its marker, its kind and,
// for each column, its name, type, unit, range and where a run keeps it.
// The route reader, the field names of diagnostics, the checker's position
// warnings, the route editor's tables and single values and the format
// document's tables all work from this one list.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/route_data.h"

namespace ts {

// How a section's lines are laid out.
enum class SectionKind {
    SingleValue,  // a value on each of a fixed number of lines after the marker
    FixedTable,   // a fixed number of entries, no "#" line ([KankoSound1])
    FreeList,     // entries up to a line beginning with "#"
};

// What a value is, for its reading, its conversions in the editor and the
// checker's rules about it.
enum class ValueType {
    Integer,
    Frame,     // a position in frames of 1/30 s of recording: the timeline drags these
    Time,      // 1/30 s ticks, shown as hh:mm:ss
    Text,      // decoded from the file's encoding
    Gradient,  // per mille, kept ×10000 (kFixedScale) as the file's decimal gives it
    FileName,  // a data file's name, kept as the file's bytes
    Picture,   // a picture's file name, loaded into a picture list
};

// The route editor's tables, in the order of its tabs.
enum class RouteTable {
    Station,
    Signal,
    SpeedLimit,
    SpeedCheck,
    Slope,
    Sign,
    Tunnel,
    RouteSound,
    Announce,
    Doppler,
    StopSound,
    SpeedUnit,
    DistanceMark,
};
constexpr int kRouteTableCount = int(RouteTable::DistanceMark) + 1;

// The route editor's single values, in the order of its form.
enum class RouteValue {
    LineName,
    StartPosition,
    StartTime,
    FrameRate,
    SignalSpeedYY,
    SignalSpeedY,
    SignalSpeedYG,
    SignalSpeedG,
    VideoFile,
    PreTime,
    OneMan,
    EndPos,
    StaffImage,
    Letterbox,
};
constexpr int kRouteValueCount = int(RouteValue::Letterbox) + 1;

// One value of a section as read: a number, or the text of a line or field.
struct Cell {
    int64_t number = 0;
    std::string text;
};

struct ColumnDesc {
    std::string name;  // as diagnostics and the editor's headers name it
    ValueType type = ValueType::Integer;
    std::string unit;     // "frame", "km/h", "1/30 s", "‰", ... or empty
    std::string meaning;  // a few words for the format document
    // The values a run accepts; a value outside is refused by the reader.
    std::optional<std::pair<int64_t, int64_t>> range;
    std::string stored;  // where a run keeps it, e.g. "dopplerTable[i].passPosition"
    // A frame that may lie beyond the end of the line without a warning.
    bool mayPassTheEnd = false;
    // A new row in the editor: a frame column is the cursor plus `newOffset`
    // (never below 0) or, when `newMetres` is not 0, the frame that many
    // metres from the cursor through the recorded speed (before it when
    // negative); any other column `newText`.
    int newOffset = 0;
    double newMetres = 0;
    std::string newText;
    // The value of entry `row` (single values: row 0) in the loaded route;
    // empty for the columns a run does not keep as they are read.
    std::function<std::optional<Cell>(const RouteData&, size_t row)> get;
    std::function<void(RouteData&, size_t row, const Cell&)> set;
};

struct SectionDesc {
    std::string marker;
    SectionKind kind = SectionKind::SingleValue;
    int capacity = 0;            // lists: the most entries a list holds
    int entryLines = 1;          // lists: lines of one entry (one per column when more than 1)
    bool commaRows = false;      // lists: an entry is one line of comma-separated columns
    bool skipSemicolon = false;  // lists: lines beginning with ";" are passed over
    bool wholeLine = false;      // lists: the one value is the whole line, not its first field
    // The editor's table or single value; its table is kept in order of `keyColumn`.
    std::optional<RouteTable> table;
    std::optional<RouteValue> value;
    int keyColumn = 0;
    std::string title;   // the editor's name for its table
    std::string stored;  // where a run keeps the list
    std::vector<ColumnDesc> columns;
    // Lists: the number of entries read, and making room for one more.
    std::function<size_t(const RouteData&)> rows;
    std::function<void(RouteData&)> clearRows;
    std::function<void(RouteData&)> addRow;
    // A reading rule of its own, for the sections whose values are not read
    // one column at a time (pictures, the call-out pairs, [Pre_Time]).
    bool customReader = false;

    bool isList() const { return kind != SectionKind::SingleValue; }
};

// Every section of the route file, in the order the reader tests the markers.
const std::vector<SectionDesc>& routeSections();
const SectionDesc* routeSection(std::string_view marker);
const SectionDesc& routeSection(RouteTable table);
const SectionDesc& routeSection(RouteValue value);

// The sections' rows as a Markdown table, as docs/data-formats.md holds them.
std::string routeSectionsMarkdown();

}  // namespace ts
