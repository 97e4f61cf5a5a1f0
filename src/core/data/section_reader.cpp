#include "data/section_reader.h"

#include "data/fields.h"

namespace ts {

const std::string& SectionCursor::read() {
    if (next_ < file_.lines.size()) {
        current_ = file_.lines[next_++];
    } else {
        current_.clear();
        pastEnd_ = true;
    }
    return current_;
}

int32_t toInt(std::string_view text) {
    auto v = parseInt(text);
    if (!v || *v < -kDataIntegerLimit || *v > kDataIntegerLimit) throw FormatError{};
    return *v;
}

long double toReal(std::string_view text) {
    auto v = parseReal(text);
    if (!v || *v < -kDataRealLimit || *v > kDataRealLimit) throw FormatError{};
    return *v;
}

int64_t toFixed(std::string_view text) {
    auto v = parseFixed(text);
    if (!v) throw FormatError{};
    return *v;
}

int32_t SectionCursor::readInt() { return toInt(read()); }
long double SectionCursor::readReal() { return toReal(read()); }
int64_t SectionCursor::readFixed() { return toFixed(read()); }

bool startsWithMarker(std::string_view line, std::string_view marker) {
    return line.size() >= marker.size() && line.compare(0, marker.size(), marker) == 0;
}

void readSections(SectionCursor& cursor, const std::vector<SectionRule>& rules, const std::string& lineLabel) {
    while (!cursor.atEnd()) {
        cursor.read();
        if (!lineLabel.empty()) cursor.label = lineLabel;
        for (const auto& rule : rules) {
            if (!rule.labelBefore.empty()) cursor.label = rule.labelBefore;
            if (startsWithMarker(cursor.line(), rule.marker)) rule.read(cursor);
        }
    }
}

int readList(SectionCursor& cursor, int capacity, const std::function<void(SectionCursor&, int)>& entry,
             bool skipSemicolonLines) {
    int count = 0;
    for (;;) {
        const std::string& line = cursor.read();
        if (cursor.pastEnd()) throw FormatError{};
        if (!line.empty() && line[0] == '#') return count;
        if (skipSemicolonLines && !line.empty() && line[0] == ';') continue;
        if (count >= capacity) throw FormatError{};
        entry(cursor, count);
        ++count;
    }
}

}  // namespace ts
