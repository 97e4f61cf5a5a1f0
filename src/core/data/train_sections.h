// The train file's sections, the cab panel's included, each described once:
// its marker, its kind, its section label and, for each value, its name,
// type, unit, range and where a run keeps it. The train reader, the field
// names of diagnostics and the format document's tables work from this list.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/section_desc.h"
#include "data/train_data.h"

namespace ts {

// The label of every line of the train file until a section names its own.
inline constexpr const char* kTrainLineLabel = "- 列車の基本設定";

struct TrainColumn : ColumnFacts {
    // Why a value outside `range` is refused, as the problem explains it.
    std::string refusal;
    // The value is kept although refused: a checked file's later rules see it.
    bool keptWhenRefused = false;
    // The value of entry `row` (single values: row 0) in the loaded train.
    std::function<std::optional<Cell>(const TrainData&, size_t row)> get;
    std::function<void(TrainData&, size_t row, const Cell&)> set;
};

struct TrainSection {
    std::string marker;
    SectionKind kind = SectionKind::SingleValue;
    bool panel = false;  // a cab panel section
    // The section label set just before the marker is tested; empty: the line label stays.
    std::string label;
    int capacity = 0;    // lists: the most entries a list holds
    int entryLines = 1;  // lists: lines of one entry, one per column
    std::string stored;  // where a run keeps the list
    // Single values: the lines after the marker. Lists: the lines before the
    // entries in `head`, one entry's lines in `columns`.
    std::vector<TrainColumn> head;
    std::vector<TrainColumn> columns;
    // Lists: the entries kept, emptying the list when its marker is found, and
    // making room for one entry once all its values were read.
    std::function<size_t(const TrainData&)> rows;
    std::function<void(TrainData&)> clearRows;
    std::function<void(TrainData&)> addRow;
    // [Notch]: an entry's values go straight into their row as they are read,
    // and the count is kept apart from the fixed table, once the list is read.
    bool entryInPlace = false;
    std::function<void(TrainData&, int count)> setCount;
    // Single values: what holds once every line was read (a needle is shown).
    std::function<void(TrainData&)> whenRead;
    // Picture lists: the list the reader loads each entry's picture into.
    std::function<ImageList&(TrainData&)> pictures;
    // The run's trace names a single value (its `stored` name), or a list's
    // number of entries, `traceName`, at `traceOrder` among the train's fields
    // (0: not traced). The trace's order is older than the reader's and stays.
    std::string traceName;
    int traceOrder = 0;

    bool isList() const { return kind != SectionKind::SingleValue; }
};

// Every section of the train file, in the order the reader tests the markers.
const std::vector<TrainSection>& trainSections();
const TrainSection* trainSection(std::string_view marker);

// The traced sections, in the trace's order.
const std::vector<const TrainSection*>& trainSectionsInTraceOrder();

// The train's (panel false) or the cab panel's sections as a Markdown table,
// as docs/data-formats.md holds them.
std::string trainSectionsMarkdown(bool panel);

}  // namespace ts
