#include "data/diagnostics.h"

#include "text/our_text.h"

namespace ts {

int Diagnostics::count(Severity s) const {
    int n = 0;
    for (const auto& d : items_) n += d.severity == s;
    return n;
}

int Diagnostics::markerLine(const std::string& file, const std::string& marker) const {
    const auto it = markers_.find({file, marker});
    return it == markers_.end() ? 0 : it->second;
}

int Diagnostics::entryLine(const std::string& file, const std::string& section, int row) const {
    const auto it = entries_.find({file, section});
    if (it == entries_.end() || row < 1 || size_t(row) > it->second.size()) return 0;
    return it->second[size_t(row - 1)];
}

const char* severityName(Severity s) {
    switch (s) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Note: return "note";
    }
    return "";
}

std::string placeText(const Diagnostic& d) {
    std::string t = d.section;
    auto add = [&t](const std::string& sep, const std::string& part) { t += (t.empty() ? "" : sep) + part; };
    if (d.row > 0) add(" ", withArgs(trText("Diagnostics", "row %1"), {std::to_string(d.row)}));
    if (d.column > 0)
        add(d.row > 0 ? ", " : " ", withArgs(trText("Diagnostics", "field %1"), {std::to_string(d.column)}));
    if (!d.fieldName.empty()) add(d.row > 0 && d.column == 0 ? ", " : " ", d.fieldName);
    return t;
}

std::string detailsText(const Diagnostic& d) {
    std::string t = d.file;
    if (d.line > 0) t += ":" + std::to_string(d.line);
    if (d.column > 0) t += ":" + std::to_string(d.column);
    const std::string place = placeText(d);
    if (!place.empty()) t += ": " + place;
    if (!d.explanation.empty()) t += "\n" + d.explanation;
    return t;
}

}  // namespace ts
