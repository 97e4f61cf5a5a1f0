// The example route of docs/route-authoring.md, driven as the guide tells a
// route author to try it: it must load without a message and take a driver
// from its first station into the next one's stop range.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bitmap_writer.h"
#include "drive_runner.h"
#include "test_support.h"
#include "wave_writer.h"

using namespace ts::test;
namespace fs = std::filesystem;

namespace {

const fs::path kGuide = TRAINSIM_FIXTURES "/guide";

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The picture size a name stands for, by the list or panel item it belongs to.
std::pair<int, int> pictureSize(const std::string& name) {
    if (name.find("signal/") != std::string::npos) return {50, 100};
    if (name.find("sign/") != std::string::npos) return {50, 50};
    if (name.find("whistle") != std::string::npos) return {100, 50};
    if (name.find("panel") != std::string::npos) return {640, 200};
    if (name.find("timetable") != std::string::npos) return {200, 440};
    if (name.find("needle") != std::string::npos) return {176, 176};
    return {40, 20};  // lamps and notch indicators
}

// The example's data folder: its text files as they stand in the guide, and a
// made-up picture or tone for every picture and wave they name.
void writeExample(const TempDir& d) {
    for (const auto& e : fs::directory_iterator(kGuide)) d.write(e.path().filename().string(), slurp(e.path()));
    for (const char* file : {"789_line.txt", "789_train.txt"}) {
        std::istringstream lines(slurp(kGuide / file));
        for (std::string l; std::getline(lines, l);) {
            std::replace(l.begin(), l.end(), '\\', '/');
            if (l.size() > 4 && l.compare(l.size() - 4, 4, ".bmp") == 0) {
                const auto [w, h] = pictureSize(l);
                d.write(l, bmpBytes(w, h, 0x336699, 0xffffff));
            } else if (l.size() > 4 && l.compare(l.size() - 4, 4, ".wav") == 0) {
                d.write(l, sineWave(440, l.find("melody") != std::string::npos ? 2.0 : 0.4));
            }
        }
    }
}

int stepValue(const std::string& line, const std::string& name) { return std::stoi(field(line, name)); }

}  // namespace

TEST(GuideExample, LoadsAndDrivesFromAshfordIntoBrookside) {
    TempDir d;
    writeExample(d);
    // Reverser forward; after the doors close (07:30:20) all to neutral and
    // three notches of power; coast from 45 s, then B3 into Brookside.
    const auto r = drive(d.path().string(), "789",
                         "@0 start\n@100 char f\n@21000 char 5\n@21000 char z\n@21000 char z\n@21000 char z\n"
                         "@45000 char 5\n@59700 char a\n@59700 char a\n@59700 char a\n@90000 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_FALSE(r.lines.empty());
    const std::string& loaded = r.lines.front();
    EXPECT_EQ(field(loaded, "event"), "loaded");
    EXPECT_NE(loaded.find("\"messages\":[]"), std::string::npos) << "the example loads without a message";
    EXPECT_EQ(field(loaded, "Label4"), "Ashford");
    EXPECT_EQ(field(loaded, "trainPosition"), "100");
    EXPECT_EQ(field(loaded, "clockTicks"), "810000") << "07:30:00";

    bool captioned = false, departed = false, passedDell = false, stopped = false;
    std::string stopLine;
    for (const auto& l : r.lines) {
        if (field(l, "event") != "step") continue;
        captioned = captioned || field(l, "caption") == "Riverside Branch";
        const int pos = stepValue(l, "trainPosition");
        EXPECT_EQ(l.find("\"messages\":[\""), std::string::npos) << l;
        if (pos > 110) departed = true;
        if (pos > 620 && pos < 1140) passedDell = passedDell || field(l, "Label4") == "Brookside stop";
        if (departed && field(l, "speed") == "0" && pos >= 1140 && !stopped) {
            stopped = true;
            stopLine = l;
        }
    }
    EXPECT_TRUE(captioned) << "the caption becomes the line name";
    EXPECT_TRUE(departed);
    EXPECT_TRUE(passedDell) << "beyond the pass station the next stop is announced";
    ASSERT_TRUE(stopped) << "the train comes to rest at Brookside";
    const int pos = stepValue(stopLine, "trainPosition");
    EXPECT_GE(pos, 1140);
    EXPECT_LE(pos, 1180);
    EXPECT_EQ(field(stopLine, "Label4"), "Brookside");
    // The distance to the stop mark given at Ashford was measured from the
    // speed table: at the stop it is within a few metres of 0.
    const double remainMetres = std::stod(field(stopLine, "stopDistance")) / 100;
    EXPECT_LT(std::abs(remainMetres), 5.0) << remainMetres;
    // Kind 0 without one-man operation: the doors open by themselves.
    bool opened = false;
    for (const auto& l : r.lines)
        if (field(l, "event") == "step" && std::stoi(field(l, "t")) > std::stoi(field(stopLine, "t")))
            opened = opened || field(l, "doorsOpen") == "1";
    EXPECT_TRUE(opened);
    EXPECT_EQ(r.lines.back().find("\"reason\":\"fatal\""), std::string::npos);
    // The guide's channel count: 29 drive sounds, so [SoundData] entry 0 (the
    // melody) plays on channel 29 and entry 2 (the announcement) on 31.
    EXPECT_NE(r.trace.find("[29,\"play\"]"), std::string::npos);
    EXPECT_NE(r.trace.find("[31,\"play\"]"), std::string::npos);
}

// The guide quotes the example's files; a change to one must show in the other.
TEST(GuideExample, GuideQuotesTheExampleFilesAsTheyAre) {
    const std::string guide = slurp(kGuide / "../../../docs/route-authoring.md");
    ASSERT_FALSE(guide.empty());
    auto quoted = [&](const std::string& firstLine) {
        const size_t start = guide.find("```\n" + firstLine + "\n");
        if (start == std::string::npos) return std::string();
        const size_t body = start + 4;
        return guide.substr(body, guide.find("```", body) - body);
    };
    EXPECT_EQ(quoted("Riverside Branch: example route of the route author's guide."), slurp(kGuide / "789_line.txt"));
    EXPECT_EQ(quoted("Display texts of the cab, shared by every train."), slurp(kGuide / "string.txt"));
    // The train file is quoted with runs of similar lines left out.
    const std::string train = quoted("Riverside EMU: example train of the route author's guide (3 cars, electric).");
    ASSERT_FALSE(train.empty());
    std::istringstream lines(train);
    const std::string file = slurp(kGuide / "789_train.txt");
    for (std::string l; std::getline(lines, l);)
        if (l.rfind("... ", 0) != 0) {
            EXPECT_NE(file.find(l + "\n"), std::string::npos) << l;
        }
}
