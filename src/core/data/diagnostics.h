// Problems found in a data folder, each with where it is and what would be
// accepted. A run keeps at most the first (it ends the program); the checker
// collects them all.
#pragma once
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace ts {

enum class Severity { Error, Warning, Note };

struct Diagnostic {
    Severity severity = Severity::Error;
    std::string file;       // the file's name in the data folder, e.g. "789_line.txt"
    int line = 0;           // from 1; 0 when the problem is the whole file
    int column = 0;         // field of a comma row, from 1; 0 for other lines
    std::string section;    // the marker being read, e.g. "[Station]"
    int row = 0;            // entry of a list, from 1; 0 outside lists
    std::string fieldName;  // e.g. "departureTime"
    std::string message;    // the fixed text a run shows; empty for most warnings
    std::string explanation;
};

class Diagnostics {
public:
    void add(Diagnostic d) { items_.push_back(std::move(d)); }
    const std::vector<Diagnostic>& items() const { return items_; }
    int count(Severity s) const;

    // Where the readers found things, so that problems seen in the loaded data
    // can name their lines: the line of a section's marker (its last
    // occurrence) and of the first line of each list entry.
    void noteMarker(const std::string& file, const std::string& marker, int line) { markers_[{file, marker}] = line; }
    void clearEntries(const std::string& file, const std::string& section) { entries_[{file, section}].clear(); }
    void noteEntry(const std::string& file, const std::string& section, int line) {
        entries_[{file, section}].push_back(line);
    }
    int markerLine(const std::string& file, const std::string& marker) const;
    // Entry `row` (from 1) of a list; 0 when unknown.
    int entryLine(const std::string& file, const std::string& section, int row) const;

private:
    std::vector<Diagnostic> items_;
    std::map<std::pair<std::string, std::string>, int> markers_;
    std::map<std::pair<std::string, std::string>, std::vector<int>> entries_;
};

const char* severityName(Severity s);

// "[Station] row 3, field 6 departureTime": where inside its file a problem is.
std::string placeText(const Diagnostic& d);

// "789_line.txt:57:6: [Station] row 3, field 6 departureTime" and the
// explanation on the next line: the detailed text of a fatal message box.
std::string detailsText(const Diagnostic& d);

}  // namespace ts
