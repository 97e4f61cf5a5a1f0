// The game controller mapping file "gamepad.txt": one section per controller,
// keyed by its GUID, written by the mapping dialog and editable by hand.
#pragma once
#include <string>
#include <vector>

#include "controls/pad_mapping.h"

namespace ts {

constexpr const char* kPadMappingFile = "gamepad.txt";

// Reads every section; lines it cannot read are skipped and named in `problems`.
std::vector<PadMapping> readPadMappings(const std::string& text, std::vector<std::string>* problems = nullptr);
std::string writePadMappings(const std::vector<PadMapping>& mappings);

// The mapping kept for `guid` (case does not matter), or null.
const PadMapping* findPadMapping(const std::vector<PadMapping>& mappings, const std::string& guid);
// Replaces the mapping of the same GUID, or adds it at the end.
void storePadMapping(std::vector<PadMapping>& mappings, const PadMapping& m);

// The file in `folder` (empty: an empty list when it does not exist).
std::vector<PadMapping> loadPadMappings(const std::string& folder, std::vector<std::string>* problems = nullptr);
// The file's text with `m`'s section rewritten (or added at the end): every
// other byte stays, comments, unreadable lines, line ends and a byte-order mark included.
std::string replacePadMapping(const std::string& text, const PadMapping& m);
// Saves `m` into the file in `folder` that way, whole or not at all; false with `error` when it cannot.
bool savePadMapping(const std::string& folder, const PadMapping& m, std::string* error = nullptr);

}  // namespace ts
