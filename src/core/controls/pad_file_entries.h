// The lines of "gamepad.txt" described once: each entry's keyword and its
// words, with their type, range and where a mapping keeps them. The file's
// reader takes its bounds from here, and the format document its table.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "data/section_desc.h"

namespace ts {

struct PadEntryDesc {
    std::string keyword;  // "[GUID]" for a section line
    std::string layout;   // the line as the document shows it
    std::vector<ColumnFacts> words;
};

// Every kind of line a controller's section holds, the section line first.
const std::vector<PadEntryDesc>& padFileEntries();
// The word `name` of entry `keyword`; its range is what the reader accepts.
const ColumnFacts& padEntryWord(std::string_view keyword, std::string_view name);

// The entries as a Markdown table, as docs/data-formats.md holds it.
std::string padFileMarkdown();

}  // namespace ts
