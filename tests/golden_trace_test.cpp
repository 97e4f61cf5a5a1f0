// Golden traces: whole drives of the demo trains and of the test fixtures,
// compared byte for byte with traces checked in under tests/golden. A change
// that alters one of them is either a bug or a deliberate change of behaviour
// that regenerates the file (tests/golden/update.sh) in the same commit.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "drive_runner.h"

using namespace ts::test;

namespace {

const std::string kGolden = TRAINSIM_GOLDEN;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string gunzip(const std::string& path) {
    std::string out;
    FILE* p = popen(("gzip -dc '" + path + "'").c_str(), "r");
    if (!p) return out;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

// Runs one script and compares its trace with the golden one; on a difference
// names the first line that differs and keeps the new trace beside the build.
void compare(const std::string& dataDir, const std::string& train, const std::string& name) {
    const std::string script = readFile(kGolden + "/" + name + ".txt");
    ASSERT_FALSE(script.empty()) << name;
    const DriveResult r = drive(dataDir, train, script);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string golden = gunzip(kGolden + "/" + name + ".jsonl.gz");
    ASSERT_FALSE(golden.empty()) << "golden trace missing: " << name;
    if (r.trace == golden) return;
    const std::string kept = std::filesystem::current_path() / (name + ".jsonl");
    std::ofstream(kept, std::ios::binary) << r.trace;
    std::istringstream a(r.trace), b(golden);
    std::string la, lb;
    int line = 1;
    while (std::getline(a, la) && std::getline(b, lb) && la == lb) ++line;
    size_t col = 0;
    while (col < la.size() && col < lb.size() && la[col] == lb[col]) ++col;
    const size_t from = col > 80 ? col - 80 : 0;
    ADD_FAILURE() << name << ": trace differs from the golden one at line " << line << ", column " << col
                  << "\n  now:    …" << la.substr(from, 200) << "\n  golden: …" << lb.substr(from, 200)
                  << "\n  the new trace is in " << kept;
}

}  // namespace

TEST(GoldenTrace, KonanLineDemoEndToEnd) { compare(TRAINSIM_DEMO, "789", "demo_789"); }
TEST(GoldenTrace, YamadaLineDemoEndToEnd) { compare(TRAINSIM_DEMO, "40", "demo_40"); }
TEST(GoldenTrace, ElectricFixture) { compare(TRAINSIM_FIXTURES "/basic", "789", "basic_789"); }
TEST(GoldenTrace, DieselFixture) { compare(TRAINSIM_FIXTURES "/basic", "40", "basic_40"); }
