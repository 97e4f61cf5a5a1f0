// The shared reader of sectioned data files: markers tested in a fixed order
// on the raw line, single-value sections, "#"-terminated lists, and the
// section label that names where a format error was found.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/text_file.h"

namespace ts {

// Thrown by value readers on a format error; the file's reader turns it into
// its message followed by the section label.
struct FormatError {};

class SectionCursor {
public:
    explicit SectionCursor(const TextFile& file) : file_(file) {}

    bool atEnd() const { return next_ >= file_.lines.size(); }
    // Reads the next line; past the end of the file the line is empty.
    const std::string& read();
    const std::string& line() const { return current_; }
    bool pastEnd() const { return pastEnd_; }

    int32_t readInt();
    long double readReal();
    int64_t readFixed();
    std::string readRaw() { return read(); }
    std::string readText() { return decode(read()); }
    std::string decode(std::string_view raw) const { return file_.encoding.decode(raw); }

    std::string label;

private:
    const TextFile& file_;
    size_t next_ = 0;
    std::string current_;
    bool pastEnd_ = false;
};

// Every integer of a data file is a frame, a time in ticks, a speed, a
// pressure, a pixel or a channel; none is meaningful beyond this bound, and
// within it the sum of two such values and a difference with a running
// position or time fit in 32 bits. A larger value is a format error.
constexpr int32_t kDataIntegerLimit = 500'000'000;

// Reals of a data file are rates, factors, speeds, pitches and angles; beyond
// this bound none means anything, and a larger one would turn infinite when
// narrowed to double or multiplied. A larger value is a format error.
constexpr long double kDataRealLimit = 1e9L;

int32_t toInt(std::string_view text);
long double toReal(std::string_view text);
int64_t toFixed(std::string_view text);

bool startsWithMarker(std::string_view line, std::string_view marker);

struct SectionRule {
    std::string marker;
    // When set, the section label becomes this text just before the marker is tested.
    std::string labelBefore;
    std::function<void(SectionCursor&)> read;
};

// Runs the sectioned-file algorithm over the whole file. `lineLabel`, when
// not empty, is the label set after every line read.
void readSections(SectionCursor& cursor, const std::vector<SectionRule>& rules, const std::string& lineLabel);

// Reads a "#"-terminated list: calls `entry(cursor, index)` with the first
// line of each entry current; returns the count. More entries than
// `capacity`, or the end of the file before the "#" line, is a format error.
int readList(SectionCursor& cursor, int capacity, const std::function<void(SectionCursor&, int)>& entry,
             bool skipSemicolonLines = false);

}  // namespace ts
