#include "data/file_names.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace ts {

namespace {

bool equalsIgnoreCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

namespace {

// Finds parts[i..] below `dir`, trying the name as written first and then
// every entry that differs only in letter case (two folders may differ only
// in case on Linux).
bool findBelow(const fs::path& dir, const std::vector<std::string>& parts, size_t i, fs::path& found) {
    if (i == parts.size()) {
        found = dir;
        return true;
    }
    const std::string& part = parts[i];
    if (part.empty() || part == ".") return findBelow(dir, parts, i + 1, found);
    std::error_code ec;
    std::vector<std::string> candidates;
    if (fs::exists(dir / part, ec)) candidates.push_back(part);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (entry != part && equalsIgnoreCase(entry, part)) candidates.push_back(entry);
    }
    std::sort(candidates.begin() + (candidates.empty() || candidates[0] != part ? 0 : 1), candidates.end());
    for (const auto& c : candidates) {
        const fs::path next = dir / c;
        if (i + 1 < parts.size() && !fs::is_directory(next, ec)) continue;
        if (findBelow(next, parts, i + 1, found)) return true;
    }
    return false;
}

}  // namespace

std::string resolveDataPath(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return path;

    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    const bool absolute = path[0] == '/';
    fs::path found;
    if (!findBelow(absolute ? fs::path("/") : fs::path("."), parts, 0, found)) return path;
    std::string result = found.lexically_normal().string();
    return result;
}

}  // namespace ts
