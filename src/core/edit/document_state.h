// What a route document holds: the file's bytes as they stand and as last
// saved, the route read from them, and the byte snapshots of undo and redo.
#pragma once
#include <string>
#include <vector>

#include "data/diagnostics.h"
#include "data/route_data.h"
#include "data/section_reader.h"
#include "edit/route_document.h"
#include "edit/route_tables.h"

namespace ts::edit {

// One list section as it stands in the file: its body lines (raw, between
// the marker and the "#" line) and where each entry starts among them.
struct ListBody {
    std::vector<std::string> lines;
    std::vector<size_t> entryStarts;
    bool present = false;
};

struct RouteDocument::State {
    std::string fileName = "route_line.txt";
    std::string bytes;
    std::string savedBytes;
    RouteData route;
    std::vector<SectionSpan> spans;
    Diagnostics readProblems;
    std::vector<std::string> undo, redo;
    int groupDepth = 0;
    bool groupRecorded = false;

    // Reads `bytes` again as a run would.
    void reread();
    bool utf8() const;
    ListBody list(const TableDef& def) const;
    // The file with a section's body replaced (or the section added).
    std::string withList(const TableDef& def, const std::vector<std::string>& lines) const;
    // The reader's errors located in `section` (and `row` when not 0).
    int errorsAt(const std::string& section, int row) const;
};

// The route read from `bytes` with the route reader in check mode.
void readDocumentRoute(const std::string& bytes, const std::string& fileName, RouteData& route,
                       std::vector<SectionSpan>& spans, Diagnostics& problems);

}  // namespace ts::edit
