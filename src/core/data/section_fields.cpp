#include "data/section_fields.h"

#include <map>
#include <vector>

#include "data/route_sections.h"
#include "data/train_sections.h"

namespace ts {

namespace {

struct Fields {
    std::vector<std::string> values;   // lines after the marker (single values, or x and y of a picture list)
    std::vector<std::string> entries;  // columns or lines of one list entry
    bool commaRows = false;
};

const std::map<std::string, Fields, std::less<>>& table() {
    static const std::map<std::string, Fields, std::less<>> t = [] {
        std::map<std::string, Fields, std::less<>> m;
        // Route file, from its sections' description
        for (const SectionDesc& s : routeSections()) {
            Fields& f = m[s.marker];
            for (const ColumnDesc& c : s.columns) (s.isList() ? f.entries : f.values).push_back(c.name);
            f.commaRows = s.commaRows;
        }
        // Train file and cab panel, from theirs. "string.txt" names no fields:
        // its values are whole lines, which no conversion refuses.
        for (const TrainSection& s : trainSections()) {
            Fields& f = m[s.marker];
            for (const TrainColumn& c : s.head) f.values.push_back(c.name);
            for (const TrainColumn& c : s.columns) (s.isList() ? f.entries : f.values).push_back(c.name);
        }
        return m;
    }();
    return t;
}

}  // namespace

std::string sectionFieldName(std::string_view section, int row, int index) {
    const auto it = table().find(section);
    if (it == table().end() || index < 1) return {};
    const auto& names = row > 0 ? it->second.entries : it->second.values;
    return size_t(index) <= names.size() ? names[size_t(index - 1)] : std::string();
}

bool isCommaRowList(std::string_view section) {
    const auto it = table().find(section);
    return it != table().end() && it->second.commaRows;
}

}  // namespace ts
