// Inputs a careless author or a damaged disk produces: each one ends in the
// file's own message (or the named silent skip), never in an abort.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "data/controller_map.h"
#include "data/route_reader.h"
#include "data/string_table.h"
#include "data/text_file.h"
#include "data/train_reader.h"
#include "dynamics/fixed_point.h"
#include "dynamics/motion.h"
#include "fake_pictures.h"
#include "run_fixture.h"
#include "sound/wav_file.h"
#include "test_support.h"

using namespace ts;

namespace {

// Runs a reader that ends the program on error; returns the messages shown
// and whether it ended.
template <class F>
std::pair<std::vector<std::string>, bool> run(F&& read) {
    RecordingMessageBoxes boxes;
    bool fatal = false;
    try {
        read(boxes);
    } catch (const FatalError&) {
        fatal = true;
    }
    return {boxes.all(), fatal};
}

}  // namespace

TEST(BadInput, AFolderWhereADataFileShouldBeGetsTheFilesMessage) {
    test::TempDir dir;
    for (const char* name : {"789_line.txt", "789_train.txt", "string.txt", "mascon.txt"})
        std::filesystem::create_directories(dir.path() / name);
    test::ScopedCwd cwd(dir.path());
    test::FakePictures pictures;
    const auto path = [&](const char* n) { return (dir.path() / n).string(); };

    RouteData route;
    EXPECT_EQ(run([&](MessageBoxes& b) { readRouteFile(path("789_line.txt"), route, pictures, b); }),
              std::make_pair(std::vector<std::string>{"路線ファイルに誤りがあります。"}, true));
    TrainData train;
    EXPECT_EQ(run([&](MessageBoxes& b) { readTrainFile(path("789_train.txt"), train, pictures, b); }),
              std::make_pair(std::vector<std::string>{"車両ファイルに誤りがあります"}, true));
    EXPECT_EQ(run([&](MessageBoxes& b) { readStringTable(path("string.txt"), b); }),
              std::make_pair(std::vector<std::string>{"stringファイルに誤りがあります"}, true));
    EXPECT_EQ(run([&](MessageBoxes& b) { readControllerMap(path("mascon.txt"), b); }),
              std::make_pair(std::vector<std::string>{"mascon.txtが見つかりません"}, true));
}

TEST(BadInput, OnlyARegularFileWithinTheLimitIsRead) {
    test::TempDir dir;
    namespace fs = std::filesystem;
    const std::string small = dir.write("small.txt", "[StartPos]\n5\n");
    const std::string atLimit = dir.write("at.txt", std::string(kTextDataFileLimit, '\n'));
    const std::string beyond = dir.write("beyond.txt", std::string(kTextDataFileLimit + 1, '\n'));
    const std::string pipe = (dir.path() / "pipe.txt").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    fs::create_symlink(pipe, dir.path() / "link.txt");
    fs::create_directories(dir.path() / "folder.txt");

    EXPECT_EQ(checkFile(small, kTextDataFileLimit), FileRefusal::None);
    EXPECT_EQ(checkFile(atLimit, kTextDataFileLimit), FileRefusal::None);
    EXPECT_EQ(checkFile(beyond, kTextDataFileLimit), FileRefusal::TooLarge);
    EXPECT_EQ(checkFile(beyond), FileRefusal::None) << "pictures, waves and videos have no limit";
    EXPECT_EQ(checkFile(pipe), FileRefusal::NotRegular);
    EXPECT_EQ(checkFile((dir.path() / "link.txt").string()), FileRefusal::NotRegular) << "links are followed";
    EXPECT_EQ(checkFile((dir.path() / "folder.txt").string()), FileRefusal::NotRegular);
    EXPECT_EQ(checkFile((dir.path() / "none.txt").string()), FileRefusal::Missing);

    FileRefusal why = FileRefusal::None;
    EXPECT_FALSE(readFileBytes(beyond, &why));
    EXPECT_EQ(why, FileRefusal::TooLarge);
    EXPECT_FALSE(readFileBytes(pipe, &why)) << "refused before opening: no writer ever comes";
    EXPECT_EQ(why, FileRefusal::NotRegular);
    ASSERT_TRUE(readFileBytes(small, &why));
    EXPECT_EQ(why, FileRefusal::None);

    RecordingMessageBoxes boxes;
    EXPECT_THROW(readStringTable(beyond, boxes), FatalError);
    EXPECT_EQ(boxes.all(), std::vector<std::string>{"stringファイルに誤りがあります"});
}

TEST(BadInput, AListOfRoutesReadsOnlyTheBeginningOfEachFile) {
    test::TempDir dir;
    EXPECT_EQ(readLineName(dir.write("a.txt", "[LineName]\nA&B\n[LineName]\nlater\n")), "A&B") << "the first one";
    EXPECT_EQ(readLineName(dir.write("b.txt", std::string(kLineNamePrefix, ';') + "\n[LineName]\nfar\n")), "")
        << "beyond the prefix";
    // A UTF-8 name, and the prefix ending inside a character further on: still read as UTF-8.
    std::string utf8 = "[LineName]\n試験線\n";
    while (utf8.size() < kLineNamePrefix + 10) utf8 += "あ";
    EXPECT_EQ(readLineName(dir.write("c.txt", utf8)), "試験線");
    std::string huge = "[LineName]\nBig\n";
    huge.resize(kTextDataFileLimit * 2, '\n');
    EXPECT_EQ(readLineName(dir.write("d.txt", huge)), "Big") << "listed, though a run refuses it";
    EXPECT_EQ(readLineName((dir.path() / "none.txt").string()), "");
}

TEST(BadInput, AJumpKeepsItsBoundsInOrderWhateverTheEndOfTheLine) {
    test::RunFixture f;
    f.load("[StartPos]\n100\n", "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n4\n");
    ASSERT_FALSE(f.fatal);
    // As a route read before the end of the line was checked would hold it.
    f.set([](ts::Run& r, PanelModel&) {
        r.hasEndPosition = true;
        r.endPosition = -10;
    });
    f.run->jumpToFrame(50);
    EXPECT_EQ(f.get([](ts::Run& r, PanelModel&) { return r.trainPosition; }), 0);
    f.set([](ts::Run& r, PanelModel&) { r.endPosition = 3000; });
    f.run->jumpToFrame(5000);
    EXPECT_EQ(f.get([](ts::Run& r, PanelModel&) { return r.trainPosition; }), 3000);
}

TEST(BadInput, AFolderWhereAWaveShouldBeIsAMissingWave) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "horn.wav");
    const std::string path = (dir.path() / "horn.wav").string();
    std::string error;
    EXPECT_FALSE(loadWav(path, error));
    EXPECT_EQ(error, path + "が、見つかりません");
}

namespace {

std::vector<std::string> routeMessages(const std::string& text) {
    test::TempDir dir;
    test::ScopedCwd cwd(dir.path());
    test::FakePictures pictures;
    RouteData route;
    const std::string path = dir.write("789_line.txt", text);
    return run([&](MessageBoxes& b) { readRouteFile(path, route, pictures, b); }).first;
}

std::vector<std::string> trainMessages(const std::string& text) {
    test::TempDir dir;
    test::ScopedCwd cwd(dir.path());
    test::FakePictures pictures;
    TrainData train;
    const std::string path = dir.write("789_train.txt", text);
    return run([&](MessageBoxes& b) { readTrainFile(path, train, pictures, b); }).first;
}

std::vector<std::string> one(const std::string& text) { return {text}; }

}  // namespace

TEST(BadInput, PositionsAndTimesBeyondTheDataBoundAreRefusedWithTheirLabel) {
    const std::string route = "路線ファイルに誤りがあります。";
    EXPECT_EQ(routeMessages("[StartPos]\n2147483647\n"), one(route + "other"));
    EXPECT_EQ(routeMessages("[StartTime]\n-2147483648\n"), one(route + "other"));
    EXPECT_EQ(routeMessages("[Pre_Time]\n20000000\n"), one(route + "other")) << "x 30 runs past the bound";
    EXPECT_EQ(routeMessages("[Signal]\n0,A,1,600000000,10,5,6,0,0\n#\n"), one(route + "[Signal]"));
    EXPECT_TRUE(routeMessages("[StartPos]\n500000000\n[Pre_Time]\n16666666\n").empty()) << "the bound itself is taken";
}

TEST(BadInput, TrainValuesThatCannotBeMeaningfulAreRefused) {
    const std::string train = "車両ファイルに誤りがあります";
    EXPECT_EQ(trainMessages("[Tons]\n0.0001\n"), one(train + "- 列車の基本設定"));
    EXPECT_EQ(trainMessages("[Tons]\n-5\n"), one(train + "- 列車の基本設定"));
    EXPECT_TRUE(trainMessages("[Tons]\n1000000\n").empty()) << "a heavy train is fine";
    EXPECT_EQ(trainMessages("[Engine]\n10\n10\n40\n2.0\n1.5\n1.0\n#\n"), one(train + "[Engine]"))
        << "an empty low band would divide by zero";
    EXPECT_EQ(trainMessages("[Engine]\n10\n40\n40\n2.0\n1.5\n1.0\n#\n"), one(train + "[Engine]"));
    EXPECT_TRUE(trainMessages("[Engine]\n10\n40\n70\n2.0\n1.5\n1.0\n#\n").empty());
}

TEST(BadInput, PanelGeometryBeyondAWindowIsRefused) {
    const std::string train = "車両ファイルに誤りがあります";
    EXPECT_EQ(trainMessages("[Needle_Speed]\nn.bmp\n10\n10\n20000\n4\n0\n1.0\n"), one(train + "- 速度計"));
    EXPECT_EQ(trainMessages("[Needle_Speed]\nn.bmp\n10\n10\n4\n-4\n0\n1.0\n"), one(train + "- 速度計"));
    EXPECT_EQ(trainMessages("[Needle_Speed]\nn.bmp\n400000000\n10\n4\n4\n0\n1.0\n"), one(train + "- 速度計"));
    EXPECT_EQ(trainMessages("[Lamp_EB]\neb.bmp\n-30000\n5\n"), one(train + "- 運転台パネル"));
    EXPECT_EQ(trainMessages("[Clock]\n10\n10\n99999\n"), one(train + "- アナログ時計"));
}

TEST(BadInput, StoredResultsSaturateInsteadOfWrapping) {
    EXPECT_EQ(store(1e30L), INT64_MAX);
    EXPECT_EQ(store(-1e30L), INT64_MIN);
    EXPECT_EQ(store(9.3e18L), INT64_MAX);
    EXPECT_EQ(store(2.5L), 2);
    EXPECT_EQ(storeInt(1e12L), INT32_MAX);
    EXPECT_EQ(storeInt(-1e12L), INT32_MIN);
    EXPECT_EQ(boundedAdd(kRunLimit - 5, 900), kRunLimit);
    EXPECT_EQ(boundedAdd(-kRunLimit + 5, -900), -kRunLimit);
    EXPECT_EQ(boundedAdd(INT32_MAX, INT64_MAX / 2), kRunLimit);
    EXPECT_EQ(boundedAdd(7, -9), -2);
}

TEST(BadInput, AtTopSpeedThePositionStopsAtTheRunBound) {
    ts::Run r;
    r.speed = INT64_MAX;
    r.recordedSpeedKmh = 1;
    r.trainPosition = kRunLimit - 10;
    advanceFrames(r);
    EXPECT_EQ(r.trainPosition, kRunLimit);
    EXPECT_GE(r.frameAccumulator, 0);
    r.speed = INT64_MIN + 1;
    r.trainPosition = -kRunLimit + 10;
    advanceFrames(r);
    EXPECT_EQ(r.trainPosition, -kRunLimit);
    r.trainTons = 10000;
    r.speed = INT64_MAX - 5;
    EXPECT_EQ(speedAfter(r, r, INT64_MAX), INT64_MAX) << "held, not wrapped to a negative speed";
}

TEST(BadInput, RealsThatAreNotNumbersOrBeyondAnyMeaningAreRefused) {
    const std::string train = "車両ファイルに誤りがあります";
    auto engine = [](const std::string& accel) { return "[Engine]\n10\n40\n70\n" + accel + "\n1.5\n1.0\n#\n"; };
    for (const char* v : {"nan", "NaN", "inf", "-inf", "infinity", "1e400", "-1e4000", "2e9"})
        EXPECT_EQ(trainMessages(engine(v)), one(train + "[Engine]")) << v;
    EXPECT_TRUE(trainMessages(engine("1e9")).empty()) << "the bound itself is taken";
    EXPECT_EQ(trainMessages("[Needle_Speed]\nn.bmp\n10\n10\n4\n4\n0\n1e300\n"), one(train + "- 速度計"));
}

TEST(BadInput, EmptyTruncatedAndGarbageFilesEndInOneMessageOrNone) {
    const std::string route = "路線ファイルに誤りがあります。";
    const std::string train = "車両ファイルに誤りがあります";
    EXPECT_TRUE(routeMessages("").empty()) << "an empty route file keeps every default";
    EXPECT_TRUE(trainMessages("").empty());
    EXPECT_EQ(routeMessages("[StartPos]"), one(route + "other")) << "the value line is missing";
    EXPECT_EQ(routeMessages("[Station]\n東駅,0,90,110,0,864900,864600,15000\n"), one(route + "[Station]"))
        << "a list cut off before its #";
    EXPECT_EQ(trainMessages("[Engine]\n10\n40"), one(train + "[Engine]"));
    EXPECT_EQ(trainMessages("[Tons]\n"), one(train + "- 列車の基本設定"));

    // Bytes of every value, NUL included, and no line ends in places.
    std::string garbage;
    uint32_t x = 12345;
    for (int i = 0; i < 20000; ++i) {
        x = x * 1103515245u + 12345u;
        garbage += char(x >> 24);
    }
    for (const std::string& text : {garbage, "[StartPos]\n" + garbage, "[Tons]\n" + garbage}) {
        const auto r = routeMessages(text);
        EXPECT_LE(r.size(), 1u);
        if (!r.empty()) {
            EXPECT_TRUE(r[0].starts_with(route)) << r[0];
        }
        const auto t = trainMessages(text);
        EXPECT_LE(t.size(), 1u);
        if (!t.empty()) {
            EXPECT_TRUE(t[0].starts_with(train) || t[0].ends_with("が見つかりません")) << t[0];
        }
    }
}

TEST(BadInput, MegabyteLinesAreReadWhole) {
    const std::string route = "路線ファイルに誤りがあります。";
    const std::string digits(1 << 20, '7');
    EXPECT_EQ(routeMessages("[StartPos]\n" + digits + "\n"), one(route + "other"))
        << "a million digits is beyond 32 bits";
    EXPECT_EQ(routeMessages("[StartPos]\n" + std::string(1 << 20, '0') + "5\n"), std::vector<std::string>{})
        << "leading zeros do not make a number large";
    EXPECT_TRUE(routeMessages(std::string(1 << 20, 'x') + "\n[StartPos]\n5\n").empty())
        << "a long line outside any section";
    RecordingMessageBoxes boxes;
    test::TempDir dir;
    const std::string path = dir.write("string.txt", "[Start]\n" + std::string(1 << 20, 's') + "\n");
    EXPECT_EQ(readStringTable(path, boxes).startCaption->size(), size_t(1) << 20);
}
