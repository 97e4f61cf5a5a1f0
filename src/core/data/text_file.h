// A data file read into lines: a line ends at LF, a CR before it is dropped;
// the bytes are kept as they are and decoded for display on request.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "data/text_codec.h"
#include "devices/file_check.h"

namespace ts {

struct TextFile {
    std::vector<std::string> lines;
    TextEncoding encoding;
};

std::vector<std::string> splitLines(const std::string& bytes);

// The file's bytes; nullopt when it cannot be opened or read, or when
// checkFile refuses it (not a regular file, or beyond kTextDataFileLimit):
// `refusal` then says why.
std::optional<std::string> readFileBytes(const std::string& path, FileRefusal* refusal = nullptr);

// At most the first `limit` bytes of a file that checkFile accepts whatever
// its size; nullopt as readFileBytes.
std::optional<std::string> readFilePrefix(const std::string& path, size_t limit);

// A file's bytes as the reader sees them.
TextFile textFromBytes(const std::string& bytes);

// Reads the whole file; nullopt as readFileBytes.
std::optional<TextFile> readTextFile(const std::string& path, FileRefusal* refusal = nullptr);

}  // namespace ts
