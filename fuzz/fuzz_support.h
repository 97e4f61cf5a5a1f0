// What the fuzz targets share: a scratch folder for the inputs that readers
// take as files, and the checks that turn a wrong answer into a finding.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ts::fuzz {

// Writes the input to `name` in this process's scratch folder; returns its path.
std::string writeScratch(const std::string& name, const uint8_t* data, size_t size);
std::string scratchPath(const std::string& name);

// Reports a finding and aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(const std::string& what);

// A refused input shows exactly one message, and it is one of the texts the
// system has for that input: `exact` in full, or one of `prefixes` followed by
// a label, or a name followed by one of `suffixes`.
struct KnownMessages {
    std::vector<std::string> exact, prefixes, suffixes;
    bool holds(std::string_view text) const;
};
void expectOneKnownMessage(const std::vector<std::string>& shown, const KnownMessages& known);
void expectNoMessage(const std::vector<std::string>& shown);

}  // namespace ts::fuzz
