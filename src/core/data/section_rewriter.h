// Rewrites sections of a sectioned data file in place: the lines a section's
// reader took are replaced, every other byte of the file stays as it was.
// Sections are found where the reader found them; one the file lacks is
// added at its end.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "data/section_reader.h"

namespace ts {

// The new content of one section, each line without its line end.
struct SectionBody {
    std::vector<std::string> lines;
    // A "#"-terminated list: its "#" line is kept (or written when added).
    bool list = true;
    // The section is taken out of the file, marker and all.
    bool remove = false;
};

// The file's own line end (CR LF or LF) is used for every line written.
std::string rewriteSections(const std::string& bytes, const std::vector<SectionSpan>& spans,
                            const std::map<std::string, SectionBody>& sections);

// List sections only: `rows` by marker ("[SpeedUnit]").
std::string rewriteSections(const std::string& bytes, const std::vector<SectionSpan>& spans,
                            const std::map<std::string, std::vector<std::string>>& rows);

// Where each line starts, split as the reader splits (at LF), plus the end of the file.
std::vector<size_t> lineStarts(const std::string& bytes);

// "\r\n" when the file's first line ends so (or the file is empty), else "\n".
std::string fileLineEnd(const std::string& bytes);

}  // namespace ts
