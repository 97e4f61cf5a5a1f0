// A data file read into lines: a line ends at LF, a CR before it is dropped;
// the bytes are kept as they are and decoded for display on request.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "data/text_codec.h"

namespace ts {

struct TextFile {
    std::vector<std::string> lines;
    TextEncoding encoding;
};

std::vector<std::string> splitLines(const std::string& bytes);

// The file's bytes; nullopt when it cannot be opened or read (a folder included).
std::optional<std::string> readFileBytes(const std::string& path);

// A file's bytes as the reader sees them.
TextFile textFromBytes(const std::string& bytes);

// Reads the whole file; nullopt when it cannot be opened or read.
std::optional<TextFile> readTextFile(const std::string& path);

}  // namespace ts
