// The route file's lists of files that rows refer to by number: the route's
// sounds, the call-out waves, and the signal, sign and other pictures. The
// editor shows them on a tab of their own; their entries are file names
// relative to the data folder, one per line (two for the lists that pair a
// picture or a text with a wave).
#pragma once
#include <string>
#include <vector>

#include "data/route_sections.h"

namespace ts::edit {

// The list sections the editor has no table of its own for, in the order of
// the route file's description.
const std::vector<const SectionDesc*>& fileListSections();
const SectionDesc* fileListSection(const std::string& marker);

// A fixed list keeps its number of entries: edited, never grown or shrunk.
inline bool fixedLength(const SectionDesc& s) { return s.kind == SectionKind::FixedTable; }

}  // namespace ts::edit
