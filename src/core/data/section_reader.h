// The shared reader of sectioned data files: markers tested in a fixed order
// on the raw line, single-value sections, "#"-terminated lists, and the
// section label that names where a format error was found.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/diagnostics.h"
#include "data/text_file.h"

namespace ts {

// Thrown by value readers on a format error; the file's reader turns it into
// its message followed by the section label.
struct FormatError {
    // What the conversion was given, for the explanation of a failed conversion.
    enum class Kind { Other, Integer, Real, Fixed } kind = Kind::Other;
    std::string text;
    // What is wrong and what would be accepted; built from kind and text when empty.
    std::string explanation;
    int column = 0;  // the field of a comma row, from 1
    // A text shown instead of the file's message and label.
    std::optional<std::string> message;

    static FormatError conversion(Kind kind, std::string_view text) {
        FormatError e;
        e.kind = kind;
        e.text = std::string(text);
        return e;
    }
    // A value that converts but is refused, and why.
    static FormatError refused(std::string why, int column = 0) {
        FormatError e;
        e.explanation = std::move(why);
        e.column = column;
        return e;
    }
};

// Where one section was read: the marker's line and the line after the last
// line its reader took (0-based indexes into the file's lines).
struct SectionSpan {
    std::string marker;
    size_t markerLine = 0;
    size_t endLine = 0;
};

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
    // Every section read, in file order; tools that rewrite a section find it here.
    std::vector<SectionSpan> spans;
    size_t nextLine() const { return next_; }

    // Where a problem is reported and how: set by the file's reader.
    std::string fileName;
    std::string message;  // the file's message; the label follows it
    // Set in check mode: problems are recorded here and reading carries on.
    Diagnostics* diagnostics = nullptr;

    // The current line's number from 1 (the line after the last past the end).
    int lineNumber() const { return int(next_) + (pastEnd_ ? 1 : 0); }
    // What is being read, kept by the sectioned-file and list readers.
    std::string section;
    int row = 0;           // list entry from 1, 0 outside a list
    int rowStartLine = 0;  // line of the entry's first line
    int markerLine = 0;    // line of the section's marker

    // The problem as a diagnostic, located at the current line.
    Diagnostic describe(const FormatError& e) const;
    // Check mode: records the problem; otherwise false (the caller ends the run).
    bool record(const FormatError& e) const;

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
// In check mode an entry that fails is recorded and skipped (`entryLines`
// lines from its first), and reading goes on with the next entry.
int readList(SectionCursor& cursor, int capacity, const std::function<void(SectionCursor&, int)>& entry,
             bool skipSemicolonLines = false, int entryLines = 1);

// The n-th field of a comma row as an integer; a failure names its column.
int32_t toIntField(const std::string& line, int n);

// A file that cannot be opened, as a diagnostic; `refusal` says why.
Diagnostic unreadableFile(const std::string& path, const std::string& message,
                          FileRefusal refusal = FileRefusal::Missing);
// Check mode: a file that cannot be opened, recorded; false otherwise.
bool recordUnreadable(Diagnostics* diagnostics, const std::string& path, const std::string& message,
                      FileRefusal refusal = FileRefusal::Missing);

// The name of a data file without its folder, as diagnostics show it.
std::string baseName(const std::string& path);

}  // namespace ts
