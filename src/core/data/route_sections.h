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
#include "data/section_desc.h"

namespace ts {

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

struct ColumnDesc : ColumnFacts {
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
    // Lists the editor shows as a table of their own: its tab, from 1 (0: no
    // table; such a list is edited among the file lists), and its name. The
    // table is kept in order of `keyColumn`.
    int tab = 0;
    std::string title;
    int keyColumn = 0;
    // The editor's single value.
    std::optional<RouteValue> value;
    std::string stored;  // where a run keeps the list
    std::vector<ColumnDesc> columns;
    // Lists: the number of entries read, and making room for one more.
    std::function<size_t(const RouteData&)> rows;
    std::function<void(RouteData&)> clearRows;
    std::function<void(RouteData&)> addRow;
    // A reading rule of its own, for the sections whose values are not read
    // one column at a time (pictures, the call-out pairs, [Pre_Time]).
    bool customReader = false;
    // The run's trace names a single value, or a list's number of entries,
    // `traceName`, at `traceOrder` among the route's fields (0: not traced).
    // The trace's order is older than the reader's and stays as it is.
    std::string traceName;
    int traceOrder = 0;
    // Lists whose number of entries is not `rows` (the call-outs, the other images).
    std::function<int64_t(const RouteData&)> traceCount;

    bool isList() const { return kind != SectionKind::SingleValue; }
};

// Every section of the route file, in the order the reader tests the markers.
const std::vector<SectionDesc>& routeSections();
const SectionDesc* routeSection(std::string_view marker);
const SectionDesc& routeSection(RouteValue value);

// The lists the editor shows as tables, in the order of its tabs.
const std::vector<const SectionDesc*>& routeTableSections();

// The traced sections, in the trace's order.
const std::vector<const SectionDesc*>& routeSectionsInTraceOrder();

// The sections' rows as a Markdown table, as docs/data-formats.md holds them.
std::string routeSectionsMarkdown();

}  // namespace ts
