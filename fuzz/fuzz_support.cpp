#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ts::fuzz {

namespace {

const std::filesystem::path& scratchDir() {
    static const std::filesystem::path dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        auto d = std::filesystem::path(tmp && *tmp ? tmp : "/tmp") / ("trainsim-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

}  // namespace

std::string scratchPath(const std::string& name) { return (scratchDir() / name).string(); }

std::string writeScratch(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = scratchPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    if (!out) fail("cannot write " + path);
    return path;
}

void fail(const std::string& what) {
    std::fprintf(stderr, "FUZZ FINDING: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

bool KnownMessages::holds(std::string_view text) const {
    for (const auto& e : exact)
        if (text == e) return true;
    for (const auto& p : prefixes)
        if (text.starts_with(p)) return true;
    for (const auto& s : suffixes)
        if (text.size() > s.size() && text.ends_with(s)) return true;
    return false;
}

void expectOneKnownMessage(const std::vector<std::string>& shown, const KnownMessages& known) {
    if (shown.size() != 1) fail("a refused input showed " + std::to_string(shown.size()) + " messages");
    if (!known.holds(shown[0])) fail("a refused input showed an unknown message: " + shown[0]);
}

void expectNoMessage(const std::vector<std::string>& shown) {
    if (!shown.empty()) fail("an accepted input showed a message: " + shown[0]);
}

}  // namespace ts::fuzz
