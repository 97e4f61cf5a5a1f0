#include "data/text_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace ts {

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const bool hasLf = end != std::string::npos;
        if (!hasLf) end = bytes.size();
        size_t stop = end;
        if (hasLf && stop > start && bytes[stop - 1] == '\r') --stop;
        lines.emplace_back(bytes, start, stop - start);
        start = hasLf ? end + 1 : end;
    }
    return lines;
}

std::optional<std::string> readFileBytes(const std::string& path) {
    // A folder opens as a stream on Linux and only fails (by throwing) on the
    // first read, so it is refused before.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return std::nullopt;
        return bytes;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<TextFile> readTextFile(const std::string& path) {
    auto read = readFileBytes(path);
    if (!read) return std::nullopt;
    return textFromBytes(*read);
}

TextFile textFromBytes(const std::string& bytes) {
    TextFile f;
    f.encoding.utf8 = isValidUtf8(bytes);
    f.lines = splitLines(bytes);
    return f;
}

}  // namespace ts
