// What every data file's section descriptions share: how a section's lines
// are laid out, what kind of value a column holds, one value as read, and the
// facts about a column that the readers, the checker and the format document
// take from it. Each file's own description (route_sections.h,
// train_sections.h, string_sections.h) adds where its values are kept.
#pragma once
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
    Real,      // a decimal kept in extended precision
    Fixed,     // a decimal kept ×10000 (kFixedScale), like Gradient but of any quantity
};

// One value of a section as read: a number, a real or the text of a line or field.
struct Cell {
    int64_t number = 0;
    long double real = 0;
    std::string text;
};

struct ColumnFacts {
    std::string name;  // as diagnostics and the editor's headers name it
    ValueType type = ValueType::Integer;
    std::string unit;     // "frame", "km/h", "1/30 s", "‰", ... or empty
    std::string meaning;  // a few words for the format document
    // The values a run accepts; a value outside is refused by the reader.
    std::optional<std::pair<int64_t, int64_t>> range;
    std::string stored;  // where a run keeps it, e.g. "dopplerTable[i].passPosition"
};

// A column as the format document's tables show it: "`name` type (unit) range: meaning".
std::string columnMarkdown(const ColumnFacts& c);
// A value type's name in the format document.
const char* valueTypeName(ValueType t);

// What every file's list of sections offers: the one description of each
// marker, and the sections that take part in an order of their own (the
// trace's, the editor's tabs), which is not the order the reader tests them in.
template <class Section>
const Section* sectionByMarker(const std::vector<Section>& sections, std::string_view marker) {
    for (const Section& s : sections)
        if (s.marker == marker) return &s;
    return nullptr;
}

// The sections whose `order` is above 0, by it.
template <class Section>
std::vector<const Section*> sectionsInOrder(const std::vector<Section>& sections, int Section::*order) {
    std::vector<const Section*> out;
    for (const Section& s : sections)
        if (s.*order > 0) out.push_back(&s);
    std::stable_sort(out.begin(), out.end(),
                     [order](const Section* a, const Section* b) { return a->*order < b->*order; });
    return out;
}

}  // namespace ts
