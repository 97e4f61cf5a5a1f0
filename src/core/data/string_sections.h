// The sections of "string.txt" and the lines of "mascon.txt", each described
// once: marker (or slot), what the value is and where a run keeps it. Their
// readers and the format document's tables work from these lists.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/section_desc.h"
#include "data/string_table.h"

namespace ts {

struct StringSection {
    std::string marker;
    // One per value line after the marker ([Display] has two).
    std::vector<ColumnFacts> lines;
    std::function<std::optional<std::string>(const StringTable&, size_t line)> get;
    std::function<void(StringTable&, size_t line, std::string text)> set;
};

// Every section of "string.txt", in the order the reader tests the markers.
const std::vector<StringSection>& stringSections();
std::string stringSectionsMarkdown();

// "mascon.txt" has no markers: a line's meaning is its place. A free list of
// whole lines, kept as read (not decoded: they are compared with the bytes a
// controller sends).
struct ControllerSlots {
    int first = 0, last = 0;
    std::string meaning;
};
struct ControllerMapDesc {
    int capacity = 0;
    ColumnFacts code;
    std::vector<ControllerSlots> slots;
};
const ControllerMapDesc& controllerMapDesc();
std::string controllerMapMarkdown();

}  // namespace ts
