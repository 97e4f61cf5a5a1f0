// The drive mode's own files as the real program writes them: a recording,
// trace or report that cannot be written is reported with a non-zero status
// and never destroys an older file; a damaged recording ends its replay with
// a reason of its own; every JSON line the program prints parses.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>
#include <filesystem>

#include "data/text_codec.h"
#include "data/text_file.h"
#include "drive_runner.h"
#include "test_support.h"

using namespace ts;
namespace fs = std::filesystem;

namespace {

const std::string kBasic = TRAINSIM_FIXTURES "/basic";

struct Exit {
    int status = -1;
    std::string err;
};

// `prefix` goes before the program (a file size limit); the rest are its arguments.
Exit trainsim(const std::string& prefix, const std::string& args) {
    test::TempDir tmp;
    const std::string errPath = (tmp.path() / "err.txt").string();
    const std::string cmd =
        "env QT_QPA_PLATFORM=offscreen " + prefix + "'" TRAINSIM_BIN "' " + args + " 2>'" + errPath + "'";
    const int raw = std::system(cmd.c_str());
    Exit r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = test::slurpFile(errPath);
    return r;
}

// Ten minutes of driving: a recording of some tens of kilobytes.
const std::string kLongDrive = "@0 start\n@100 char z\n@200 char z\n@300000 char a\n@600000 close\n";

// Strict: the line is UTF-8 and one JSON object.
bool parsesStrictly(const std::string& line) {
    if (!isValidUtf8(line)) return false;
    QJsonParseError e{};
    const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(line), &e);
    return e.error == QJsonParseError::NoError && d.isObject();
}

std::string lastReason(const test::DriveResult& r) {
    return r.lines.empty() ? std::string() : test::field(r.lines.back(), "reason");
}

}  // namespace

TEST(WrittenFiles, ARecordingOnAFullDiskStopsTheDriveWithAMessageAndKeepsTheOlderOne) {
    test::TempDir dir;
    const std::string script = dir.write("drive.txt", kLongDrive);
    const std::string older = dir.write("rec.txt", "an older recording\n");
    const Exit r =
        trainsim(test::fileSizeLimitPrefix(24576), "drive --train 789 --data '" + kBasic + "' --script '" + script +
                                                       "' --trace /dev/null --record '" + older + "'");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("cannot record"), std::string::npos) << r.err;
    EXPECT_EQ(test::slurpFile(older), "an older recording\n") << "not replaced by a cut one";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2) << "no partial file left";
}

TEST(WrittenFiles, ATraceThatCannotBeWrittenEndsTheDriveAtOnceAndKeepsTheOlderOne) {
    test::TempDir dir;
    const std::string script = dir.write("drive.txt", kLongDrive);
    const std::string older = dir.write("trace.jsonl", "an older trace\n");
    const Exit r = trainsim(test::fileSizeLimitPrefix(65536), "drive --train 789 --data '" + kBasic + "' --script '" +
                                                                  script + "' --trace '" + older + "'");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("cannot write the trace"), std::string::npos) << r.err;
    EXPECT_EQ(test::slurpFile(older), "an older trace\n") << "not replaced by a cut one";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2) << "no partial file left";
}

// The trace goes to a hidden file beside its name and takes the name at the
// end, whole; a trace into a device is written straight into it.
TEST(WrittenFiles, ATraceTakesItsNameWholeWhenTheDriveEndsAndADeviceStaysADevice) {
    test::TempDir dir;
    const std::string script = dir.write("drive.txt", "@0 start\n@100 char z\n@5000 close\n");
    const std::string older = dir.write("trace.jsonl", "an older trace\n");
    // Named relative to the folder the command starts in, although the run reads from the data folder.
    test::ScopedCwd here(dir.path());
    const Exit r =
        trainsim("", "drive --train 789 --data '" + kBasic + "' --script '" + script + "' --trace trace.jsonl");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string trace = test::slurpFile(older);
    EXPECT_EQ(trace.find("an older trace"), std::string::npos);
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), '\n');
    const std::string last = trace.substr(trace.rfind('\n', trace.size() - 2) + 1);
    EXPECT_EQ(test::field(last, "event"), "end") << last;
    EXPECT_EQ(test::field(last, "reason"), "close") << last;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2) << "nothing beside it";

    const Exit toNull =
        trainsim("", "drive --train 789 --data '" + kBasic + "' --script '" + script + "' --trace /dev/null");
    EXPECT_EQ(toNull.status, 0) << toNull.err;
    EXPECT_TRUE(fs::is_character_file("/dev/null")) << "written into, not replaced";
    const Exit toFolder = trainsim("", "drive --train 789 --data '" + kBasic + "' --script '" + script + "' --trace '" +
                                           dir.path().string() + "'");
    EXPECT_EQ(toFolder.status, 2) << toFolder.err;
    EXPECT_NE(toFolder.err.find("it is a folder"), std::string::npos) << toFolder.err;
}

TEST(WrittenFiles, AReportThatCannotBeWrittenKeepsTheOlderReport) {
    test::TempDir dir;
    const std::string script = dir.write("drive.txt", "@0 start\n@20000 close\n");
    const std::string older = dir.write("report.html", std::string(30000, 'o'));
    const Exit r =
        trainsim(test::fileSizeLimitPrefix(1024), "drive --train 789 --data '" + kBasic + "' --script '" + script +
                                                      "' --trace /dev/null --report '" + older + "'");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("cannot write report"), std::string::npos) << r.err;
    EXPECT_EQ(test::slurpFile(older), std::string(30000, 'o'));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

class DamagedRecording : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        const std::string script = dir_->write("drive.txt", "@0 start\n@100 char z\n@3000 char a\n@9000 close\n");
        const Exit r = trainsim("", "drive --train 789 --data '" + kBasic + "' --script '" + script +
                                        "' --trace /dev/null --record '" + (dir_->path() / "rec.txt").string() + "'");
        ASSERT_EQ(r.status, 0) << r.err;
        recording_ = test::slurpFile(dir_->path() / "rec.txt");
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override { ASSERT_GT(std::count(recording_.begin(), recording_.end(), '\n'), 10) << recording_; }
    static test::DriveResult replay(const std::string& text, const std::string& extra = {}) {
        return test::drive(kBasic, "", text, extra);
    }
    static inline test::TempDir* dir_ = nullptr;
    static inline std::string recording_;
};

TEST_F(DamagedRecording, ItReplaysWholeAsRecorded) {
    const auto r = replay(recording_);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lastReason(r), "close");
    for (const std::string& line : r.lines) ASSERT_TRUE(parsesStrictly(line)) << line;
}

TEST_F(DamagedRecording, AStepCountChangedOnTheWayEndsAsDivergedWithStatus1) {
    // One more 33 ms step in a run line in the middle: the next line's anchor no longer matches.
    std::string text = recording_;
    const size_t run = text.find(" run ", text.size() / 2);
    ASSERT_NE(run, std::string::npos);
    text.insert(run + 5, "s ");
    const auto r = replay(text);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(lastReason(r), "diverged");
    EXPECT_NE(r.err.find("diverged"), std::string::npos) << r.err;
}

TEST_F(DamagedRecording, TwoToTheThirtyOneStepsAreRefusedAndUntilStopsAReplay) {
    const std::string last = recording_.substr(recording_.rfind("@step"));
    const std::string anchor = last.substr(0, last.find(' ', 6));
    for (const std::string steps : {"s2147483647", "t2147483647", "s65535 t65535", "s65536"}) {
        const auto r = replay(recording_ + anchor + " run " + steps + "\n");
        EXPECT_EQ(r.status, 2) << steps << "\n" << r.err;
        EXPECT_NE(r.err.find("script line"), std::string::npos) << r.err;
    }
    // Within the bound, the steps left of a last line end at --until-ms.
    const auto r =
        replay(recording_.substr(0, recording_.rfind("@step")) + anchor + " run s65535\n", "--until-ms 5000");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lastReason(r), "until");
    EXPECT_LE(std::stoll(test::field(r.lines.back(), "t")), 5000);
    const auto early = replay(recording_, "--until-ms 2000");
    EXPECT_EQ(lastReason(early), "until");
    EXPECT_LE(std::stoll(test::field(early.lines.back(), "t")), 2000);
}

// A file name that is not UTF-8 (a Shift-JIS one copied from another system).
TEST(WrittenFiles, EveryJsonLineParsesWhateverTheFileNames) {
    test::TempDir dir;
    for (const auto& e : fs::directory_iterator(kBasic)) fs::copy(e.path(), dir.path() / e.path().filename());
    dir.write("\x82\xa0_line.txt", "[Station]\r\n#\r\n\x82\xa0,x\r\n");
    dir.write("\x82\xa0_train.txt", "\x82\xa0\r\n");
    test::TempDir out;
    const std::string json = (out.path() / "check.jsonl").string();
    const int raw = std::system(
        ("'" TRAINSIM_BIN "' check --json --data '" + dir.path().string() + "' >'" + json + "' 2>&1").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 0) << "notes only";
    const auto lines = splitLines(test::slurpFile(json));
    ASSERT_FALSE(lines.empty());
    bool named = false;
    for (const std::string& line : lines) {
        ASSERT_TRUE(parsesStrictly(line)) << line;
        named = named || line.find("\"train\":\"\\ufffd\\ufffd\"") != std::string::npos;
    }
    EXPECT_TRUE(named) << "the bytes that are not UTF-8 stand as U+FFFD";
}
