#include "data/text_file.h"

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

namespace {

std::optional<std::string> readChecked(const std::string& path, std::uintmax_t sizeLimit, size_t readLimit,
                                       FileRefusal* refusal) {
    const FileRefusal r = checkFile(path, sizeLimit);
    if (refusal) *refusal = r == FileRefusal::None ? FileRefusal::Missing : r;
    if (r != FileRefusal::None) return std::nullopt;
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::string bytes;
        if (readLimit == std::string::npos) {
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        } else {
            bytes.resize(readLimit);
            in.read(bytes.data(), std::streamsize(readLimit));
            bytes.resize(size_t(in.gcount()));
        }
        if (in.bad()) return std::nullopt;
        if (refusal) *refusal = FileRefusal::None;
        return bytes;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path, FileRefusal* refusal) {
    return readChecked(path, kTextDataFileLimit, std::string::npos, refusal);
}

std::optional<std::string> readFilePrefix(const std::string& path, size_t limit) {
    return readChecked(path, kNoSizeLimit, limit, nullptr);
}

std::optional<TextFile> readTextFile(const std::string& path, FileRefusal* refusal) {
    auto read = readFileBytes(path, refusal);
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
