// File names written inside data files: relative to the data folder, a
// backslash is a path separator, and a name that does not exist as written is
// looked up case-insensitively, one path segment at a time.
#pragma once
#include <string>

namespace ts {

// The path to open for a name as written in a data file. When no file matches,
// the name with "/" separators is returned (opening it then fails).
std::string resolveDataPath(const std::string& name);

}  // namespace ts
