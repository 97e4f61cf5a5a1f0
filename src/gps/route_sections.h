// Rewrites list sections of a route file in place: the entries between a
// section's marker line and its "#" line are replaced, every other byte of
// the file stays as it was. Sections are found where the route reader found
// them; one the file lacks is added at its end.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "data/section_reader.h"

namespace ts::gps {

// `rows` by marker ("[SpeedUnit]"), each row without its line end. The file's
// own line end (CR LF or LF) is used.
std::string rewriteSections(const std::string& bytes, const std::vector<SectionSpan>& spans,
                            const std::map<std::string, std::vector<std::string>>& rows);

}  // namespace ts::gps
