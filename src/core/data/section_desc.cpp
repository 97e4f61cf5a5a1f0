#include "data/section_desc.h"

#include <limits>

namespace ts {

namespace {

// A bound as the file writes it: fixed-point values in their decimal.
std::string bound(const ColumnFacts& c, int64_t v) {
    if (c.type != ValueType::Fixed) return std::to_string(v);
    std::string s = std::to_string(v / 10000);
    if (v % 10000 != 0) s += "." + std::to_string(v % 10000);
    return s;
}

}  // namespace

const char* valueTypeName(ValueType t) {
    switch (t) {
        case ValueType::Integer: return "integer";
        case ValueType::Frame: return "frame";
        case ValueType::Time: return "time";
        case ValueType::Text: return "text";
        case ValueType::Gradient: return "decimal";
        case ValueType::FileName: return "file name";
        case ValueType::Picture: return "picture file";
        case ValueType::Real: return "real";
        case ValueType::Fixed: return "fixed";
    }
    return "";
}

std::string columnMarkdown(const ColumnFacts& c) {
    std::string t = "`" + c.name + "` " + valueTypeName(c.type);
    if (!c.unit.empty() && c.unit != "frame") t += " (" + c.unit + ")";
    if (c.range) {
        if (c.range->second == std::numeric_limits<int64_t>::max())
            t += " ≥ " + bound(c, c.range->first);
        else
            t += " " + bound(c, c.range->first) + "–" + bound(c, c.range->second);
    }
    return t + ": " + c.meaning;
}

}  // namespace ts
