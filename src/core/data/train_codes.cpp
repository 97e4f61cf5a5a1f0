#include "data/train_codes.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace ts {

namespace {

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Regular files of `dir` by lower-case name.
std::set<std::string> fileNames(const std::string& dir) {
    std::set<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) names.insert(it->path().filename().string());
    return names;
}

}  // namespace

std::vector<std::string> trainCodesIn(const std::string& dir) {
    const std::set<std::string> names = fileNames(dir);
    std::set<std::string> lowerNames;
    for (const std::string& n : names) lowerNames.insert(lower(n));
    std::vector<std::string> codes;
    for (const std::string& n : names) {
        if (!endsWith(lower(n), "_line.txt")) continue;
        const std::string code = n.substr(0, n.size() - std::string("_line.txt").size());
        if (!lowerNames.count(lower(code) + "_train.txt")) continue;
        const bool seen =
            std::any_of(codes.begin(), codes.end(), [&](const std::string& c) { return lower(c) == lower(code); });
        if (!seen) codes.push_back(code);
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

bool hasTrainCode(const std::string& dir, const std::string& code) {
    const std::vector<std::string> codes = trainCodesIn(dir);
    return std::any_of(codes.begin(), codes.end(), [&](const std::string& c) { return lower(c) == lower(code); });
}

}  // namespace ts
