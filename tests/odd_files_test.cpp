// Files that are not what they seem, tried on the real program in a scratch
// data folder: named pipes where data files, pictures, waves, the video, a
// GPS track, a recording or gamepad.txt should be, a route file far too large,
// and an end of the line below its start. Every run is bounded by `timeout`,
// so a reader that blocks on a pipe fails the test instead of hanging it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "program_runs.h"
#include "test_support.h"

using ts::test::TempDir;
namespace fs = std::filesystem;

namespace {

const std::string kBasic = TRAINSIM_FIXTURES "/basic";
using Output = ts::test::ProgramOutput;
using ts::test::trainsim;
constexpr int kTimedOut = ts::test::kTimedOutStatus;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The basic fixture in a scratch folder.
void copyBasic(const TempDir& d) {
    for (const auto& e : fs::directory_iterator(kBasic)) d.write(e.path().filename().string(), slurp(e.path()));
}

// A named pipe in place of `name`: nothing ever writes to it.
void pipeAt(const TempDir& d, const std::string& name) {
    fs::remove(d.path() / name);
    ASSERT_EQ(mkfifo((d.path() / name).c_str(), 0600), 0) << name;
}

// Drives `train` in `d` with `script`; the trace and messages in the output.
Output drive(const TempDir& d, const std::string& train, const std::string& script) {
    TempDir scratch;
    const std::string s = scratch.write("script.txt", script);
    return trainsim("drive --data '" + d.path().string() + "' --train " + train + " --script '" + s + "' --trace -");
}

}  // namespace

TEST(OddFiles, APipeWhereADataFileShouldBeGetsTheFilesMessage) {
    const std::pair<const char*, const char*> files[] = {
        {"789_line.txt", "路線ファイルに誤りがあります。"},
        {"789_train.txt", "車両ファイルに誤りがあります"},
        {"string.txt", "stringファイルに誤りがあります"},
        {"mascon.txt", "mascon.txtが見つかりません"},
    };
    for (const auto& [name, message] : files) {
        TempDir d;
        copyBasic(d);
        pipeAt(d, name);
        const Output run = drive(d, "789", "@0 start\n@100 close\n");
        ASSERT_NE(run.status, kTimedOut) << name << ": the run hung";
        EXPECT_EQ(run.status, 1) << name << "\n" << run.text;
        EXPECT_NE(run.text.find(message), std::string::npos) << name << "\n" << run.text;

        const Output check = trainsim("check --data '" + d.path().string() + "' 789");
        ASSERT_NE(check.status, kTimedOut) << name << ": the check hung";
        EXPECT_EQ(check.status, 1) << name << "\n" << check.text;
        EXPECT_NE(check.text.find(std::string(name) + ": error: the file cannot be opened: it is not a regular file"),
                  std::string::npos)
            << check.text;
    }
}

TEST(OddFiles, PipesWhereTheVideoAWaveTheHelpOrGamepadTxtShouldBeLeaveTheRunDriving) {
    TempDir d;
    copyBasic(d);
    // Read again at the end, the list holds the pipe alone.
    d.write("789_line.txt", slurp(d.path() / "789_line.txt") + "[SoundData]\nbell.wav\n#\n");
    for (const char* name : {"video.avi", "bell.wav", "operation.txt", "gamepad.txt"}) pipeAt(d, name);
    const Output run = drive(d, "789", "@0 pad connect\n@0 start\n@0 pad axis 5 32767\n@200 close\n");
    ASSERT_NE(run.status, kTimedOut) << "the run hung";
    EXPECT_EQ(run.status, 0) << run.text;
    EXPECT_NE(run.text.find("\"event\":\"end\""), std::string::npos) << run.text;

    // The checker opens the video and the waves as well.
    const Output check = trainsim("check --data '" + d.path().string() + "' 789");
    ASSERT_NE(check.status, kTimedOut) << "the check hung";
    EXPECT_NE(check.text.find("video.avi"), std::string::npos) << check.text;
}

TEST(OddFiles, APipeWhereAPictureShouldBeIsAMissingPicture) {
    TempDir d;
    copyBasic(d);
    d.write("789_line.txt", slurp(d.path() / "789_line.txt") + "[SignImageList]\nsign.bmp\n#\n");
    pipeAt(d, "sign.bmp");
    const Output run = drive(d, "789", "@0 start\n@100 close\n");
    ASSERT_NE(run.status, kTimedOut) << "the run hung";
    EXPECT_EQ(run.status, 1) << run.text;
    EXPECT_NE(run.text.find("路線ファイルに誤りがあります。[SignImageList]"), std::string::npos) << run.text;
}

TEST(OddFiles, TheEditorTheGpsImportAndTheReplayRefuseAPipe) {
    TempDir d;
    copyBasic(d);
    pipeAt(d, "789_line.txt");
    const Output edit = trainsim("edit --data '" + d.path().string() + "' 789");
    ASSERT_NE(edit.status, kTimedOut) << "the editor hung";
    EXPECT_EQ(edit.status, 1) << edit.text;
    EXPECT_NE(edit.text.find("not a regular file"), std::string::npos) << edit.text;

    TempDir g;
    copyBasic(g);
    pipeAt(g, "ride.gpx");
    const Output gps = trainsim("import-gps --data '" + g.path().string() + "' 789 '" +
                                (g.path() / "ride.gpx").string() + "' --offset 0 --dry-run");
    ASSERT_NE(gps.status, kTimedOut) << "the import hung";
    EXPECT_NE(gps.status, 0) << gps.text;
    EXPECT_NE(gps.text.find("not a regular file"), std::string::npos) << gps.text;

    // The title screen is made before a replay starts.
    TempDir r;
    copyBasic(r);
    pipeAt(r, "run.rec");
    const Output replay =
        trainsim("--data '" + r.path().string() + "' --replay '" + (r.path() / "run.rec").string() + "'");
    ASSERT_NE(replay.status, kTimedOut) << "the replay hung";
    EXPECT_EQ(replay.status, 2) << replay.text;
    EXPECT_NE(replay.text.find("not a regular file"), std::string::npos) << replay.text;
}

TEST(OddFiles, AHugeRouteFileIsRefusedAndSlowsNoOtherRun) {
    TempDir d;
    copyBasic(d);
    // Line feeds cost the most memory per byte once split into lines; just over the limit.
    std::string big = "[LineName]\nBig line\n";
    big.resize((size_t(4) << 20) + 4096, '\n');
    d.write("x_line.txt", big);
    d.write("x_train.txt", slurp(d.path() / "789_train.txt"));

    const Output other = drive(d, "789", "@0 start\n@100 close\n");
    EXPECT_EQ(other.status, 0) << other.text;

    const Output run = drive(d, "x", "@0 start\n@100 close\n");
    ASSERT_NE(run.status, kTimedOut);
    EXPECT_EQ(run.status, 1) << run.text;
    EXPECT_NE(run.text.find("路線ファイルに誤りがあります。"), std::string::npos) << run.text;

    const Output check = trainsim("check --data '" + d.path().string() + "' x");
    EXPECT_EQ(check.status, 1) << check.text;
    EXPECT_NE(check.text.find("x_line.txt: error: the file cannot be opened: it is larger than 4 MB"),
              std::string::npos)
        << check.text;
}

TEST(OddFiles, AnEndOfTheLineBelowZeroOrTheStartIsAnErrorOfTheRouteFile) {
    // [EndPos] after a list: the error still names "other", as any single value's.
    for (const std::string end : {"-10", "99"}) {
        TempDir d;
        copyBasic(d);
        d.write("789_line.txt", slurp(d.path() / "789_line.txt") + "[EndPos]\n" + end + "\n");
        const Output run = drive(d, "789", "@0 start\n@10 goto 50\n@100 close\n");
        EXPECT_EQ(run.status, 1) << end << "\n" << run.text;
        EXPECT_NE(run.text.find("路線ファイルに誤りがあります。other"), std::string::npos) << end << "\n" << run.text;
        const Output check = trainsim("check --data '" + d.path().string() + "' 789");
        EXPECT_NE(check.text.find("error: [EndPos]"), std::string::npos) << check.text;
    }
    // At the start position itself the line is only a point: accepted.
    TempDir d;
    copyBasic(d);
    d.write("789_line.txt", slurp(d.path() / "789_line.txt") + "[EndPos]\n100\n");
    const Output run = drive(d, "789", "@0 start\n@10 goto 5000\n@100 close\n");
    EXPECT_EQ(run.status, 0) << run.text;
}
