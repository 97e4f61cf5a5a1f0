// The route file: every section and table, its failure messages and limits.
#include <gtest/gtest.h>

#include "data/route_reader.h"
#include "fake_pictures.h"
#include "test_support.h"

using namespace ts;

namespace {

struct Loaded {
    RouteData route;
    std::vector<std::string> messages;
    bool fatal = false;
};

Loaded load(const std::string& text, const test::TempDir* dir = nullptr) {
    test::TempDir own;
    const test::TempDir& d = dir ? *dir : own;
    const std::string path = d.write("789_line.txt", text);
    test::ScopedCwd cwd(d.path());
    test::FakePictures pictures;
    RecordingMessageBoxes boxes;
    Loaded l;
    try {
        readRouteFile(path, l.route, pictures, boxes);
    } catch (const FatalError&) {
        l.fatal = true;
    }
    l.messages = boxes.all();
    return l;
}

std::string message(const char* label) { return std::string("路線ファイルに誤りがあります。") + label; }

}  // namespace

TEST(RouteFile, CompleteFileFillsEveryTable) {
    test::TempDir dir;
    dir.write("img/sign0.bmp", "50x50");
    dir.write("img/other0.bmp", "100x50");
    dir.write("img/sig0.bmp", "50x100");
    dir.write("img/sig1.bmp", "50x100");
    const auto l = load(
        "comment line\n[LineName]\nLine A\n[StartPos]\n 120\n[FrameRate]\n30\n[Staf]\nstaff.bmp\n"
        "[StartTime]\n864000\n[Speed_YY]\n25\n[Speed_Y]\n45\n[Speed_YG]\n65\n[Speed_G]\n110\n[Path]\nv\\run.avi\n"
        "[Pre_Time]\n10\n[OneMan]\n1\n"
        "[SoundData]\ns0.wav\ns1.wav\n#\n[Announce]\n1,500\n#\n"
        "[KankoSound1]\n" +
            [] {
                std::string k;
                for (int i = 0; i < 28; ++i) k += "k" + std::to_string(i) + ".wav\n";
                return k;
            }() +
            "[KankoSound2]\n出発進行\ncall0.wav\n第二閉塞進行\ncall1.wav\n#\n"
            "[Sound]\n0,100,200,60,1\n;comment row\n1,300,300,1,0\n#\n[Doppler]\n0,400,450,500\n#\n"
            "[Tunnel]\n600\n700\n800\n900\n#\n"
            "[Station]\nA,0,90,110,2,900000,899000,150000\nB,1,500,520,0,0,0,0\nC,2,1000,1020,3,910000,909000,0\n#\n"
            "[StopSound]\n95\n1005\n#\n[Signal]\n1,A1,3,0,500,480,490,0,870000\n0,,0,500,1000,980,990,0,0\n#\n"
            "[Slope]\n2.5,100,200\n-10,300,400\n#\n[Sign]\n0,50,60\n#\n[SpeedLimit]\n55,700,750,900\n#\n"
            "[SpeedCheck]\n60,800\n#\n[SignImageList]\nimg\\sign0.bmp\n#\n[OtherImageList]\nIMG\\Other0.bmp\nbell."
            "wav\n#\n"
            "[SignalImageList]\nimg/sig0.bmp\nimg/sig1.bmp\n#\n[SpeedUnit]\n0,500,0,60\n500,1000,60,0\n#\n",
        &dir);
    ASSERT_FALSE(l.fatal) << (l.messages.empty() ? "" : l.messages[0]);
    const RouteData& r = l.route;
    EXPECT_EQ(r.lineName, "Line A");
    EXPECT_EQ(r.startPosition, 120);
    EXPECT_EQ(r.frameRate, 30);
    EXPECT_EQ(r.staffImageFile, "staff.bmp");
    EXPECT_EQ(r.startTime, 864000);
    EXPECT_EQ(r.signalSpeedYY, 25);
    EXPECT_EQ(r.signalSpeedG, 110);
    EXPECT_EQ(r.videoFile, "v\\run.avi");
    EXPECT_EQ(r.preTimeTicks, 300);
    EXPECT_EQ(r.oneManOperation, 1);
    EXPECT_EQ(r.soundDataFiles, (std::vector<std::string>{"s0.wav", "s1.wav"}));
    ASSERT_EQ(r.announceCount(), 1);
    EXPECT_EQ(r.announceTable[0].position, 500);
    EXPECT_EQ(r.kankoSound1Files[27], "k27.wav");
    EXPECT_EQ(r.kankoCount, 30);
    ASSERT_EQ(r.kankoTable.size(), 30u);
    EXPECT_EQ(r.kankoTable[28].callText, "出発進行");
    EXPECT_EQ(r.kankoTable[29].fileName, "call1.wav");
    ASSERT_EQ(r.routeSoundCount(), 2) << "the ';' row is skipped";
    EXPECT_EQ(r.routeSoundTable[0].pitchSpeed, 60);
    EXPECT_EQ(r.routeSoundTable[0].loopMode, 1);
    EXPECT_EQ(r.routeSoundTable[1].soundIndex, 1);
    EXPECT_EQ(r.dopplerTable[0].passPosition, 450);
    ASSERT_EQ(r.tunnelCount(), 2);
    EXPECT_EQ(r.tunnelTable[1].fromPosition, 800);
    EXPECT_EQ(r.tunnelTable[1].toPosition, 900);
    ASSERT_EQ(r.stationCount(), 3);
    EXPECT_EQ(r.stationTable[2].name, "C");
    EXPECT_EQ(r.stationTable[2].kind, 2);
    EXPECT_EQ(r.stationTable[0].nextStopDistance, 150000);
    EXPECT_EQ(r.stationTable[2].soundIndex, 3);
    EXPECT_EQ(r.stopSoundTable, (std::vector<int32_t>{95, 1005}));
    ASSERT_EQ(r.signalCount(), 2);
    EXPECT_EQ(r.signalTable[0].label, "A1");
    EXPECT_EQ(r.signalTable[0].releaseTime, 870000);
    EXPECT_EQ(r.signalTable[1].label, "");
    EXPECT_EQ(r.signalTable[1].checkPosition, 990);
    ASSERT_EQ(r.slopeCount(), 2);
    EXPECT_EQ(r.slopeTable[0].gradient, 25000);
    EXPECT_EQ(r.slopeTable[1].gradient, -100000);
    EXPECT_EQ(r.slopeTable[1].toPosition, 400);
    EXPECT_EQ(r.signTable[0].toPosition, 60);
    EXPECT_EQ(r.speedLimitTable[0].limit, 55);
    EXPECT_EQ(r.speedLimitTable[0].noticePosition, 700);
    EXPECT_EQ(r.speedCheckTable[0].position, 800);
    EXPECT_EQ(r.SignImageList.count(), 1);
    EXPECT_EQ(r.OtherImageList.count(), 1);
    EXPECT_EQ(r.otherSoundFiles, std::vector<std::string>{"bell.wav"});
    EXPECT_EQ(r.SignalImageList.count(), 2);
    EXPECT_EQ(r.SignalImageList.width, 50);
    EXPECT_EQ(r.SignalImageList.height, 100);
    ASSERT_EQ(r.speedUnitCount(), 2);
    EXPECT_EQ(r.speedUnitTable[1].fromSpeed, 60);
    EXPECT_TRUE(l.messages.empty());
}

TEST(RouteFile, RepeatedListRestartsItsCount) {
    const auto l = load("[Station]\nA,0,1,2,0,0,0,0\nB,0,1,2,0,0,0,0\n#\n[Station]\nC,0,1,2,0,0,0,0\n#\n");
    ASSERT_FALSE(l.fatal);
    ASSERT_EQ(l.route.stationCount(), 1);
    EXPECT_EQ(l.route.stationTable[0].name, "C");
}

TEST(RouteFile, ErrorsNameTheirSection) {
    EXPECT_EQ(load("[Station]\nA,0,1,2,0,0,0\n#\n").messages, std::vector<std::string>{message("[Station]")});
    EXPECT_EQ(load("[StartPos]\n12x\n").messages, std::vector<std::string>{message("other")});
    EXPECT_EQ(load("[Signal]\n0,a,1,0,10,5,6,0,0\n").messages, std::vector<std::string>{message("[Signal]")})
        << "a list without its '#' line";
    EXPECT_EQ(load("[Slope]\n2.5.1,0,10\n#\n").messages, std::vector<std::string>{message("[Slope]")});
    EXPECT_EQ(load("[SignImageList]\nmissing.bmp\n#\n").messages, std::vector<std::string>{message("[SignImageList]")});
    test::TempDir dir;
    RouteData r;
    test::FakePictures pictures;
    RecordingMessageBoxes boxes;
    EXPECT_THROW(readRouteFile((dir.path() / "none.txt").string(), r, pictures, boxes), FatalError);
    EXPECT_EQ(boxes.all(), std::vector<std::string>{message("")});
}

TEST(RouteFile, TablesRefuseRowsBeyondTheirCapacity) {
    auto rows = [](const char* marker, const std::string& row, int n) {
        std::string t = std::string(marker) + "\n";
        for (int i = 0; i < n; ++i) t += row + "\n";
        return t + "#\n";
    };
    EXPECT_FALSE(load(rows("[Slope]", "1,0,10", 501)).fatal);
    EXPECT_EQ(load(rows("[Slope]", "1,0,10", 502)).messages, std::vector<std::string>{message("[Slope]")});
    EXPECT_FALSE(load(rows("[SoundData]", "a.wav", 100)).fatal);
    EXPECT_EQ(load(rows("[SoundData]", "a.wav", 101)).messages, std::vector<std::string>{message("[SoundData]")});
    std::string pairs = "[KankoSound2]\n";
    for (int i = 0; i < 73; ++i) pairs += "call\nc.wav\n";
    EXPECT_EQ(load(pairs + "#\n").messages, std::vector<std::string>{message("[KankoSound2]")});
    // 100 stopping stations fit the Move menu; a stopping station at index 100 does not,
    // a passing one there is fine.
    EXPECT_FALSE(load(rows("[Station]", "S,0,1,2,0,0,0,0", 100)).fatal);
    std::string many = "[Station]\n";
    for (int i = 0; i < 100; ++i) many += "S,0,1,2,0,0,0,0\n";
    EXPECT_FALSE(load(many + "P,1,1,2,0,0,0,0\n#\n").fatal);
    EXPECT_EQ(load(many + "T,2,1,2,0,0,0,0\n#\n").messages, std::vector<std::string>{message("[Station]")});
}

// An error inside a single-value section names "other", whatever order the
// sections are tested in: [EndPos] and [Letterbox], tested after every list,
// name "other" as [StartPos] does, never the list tested before them.
TEST(RouteFile, ErrorsInTheLaterSingleValuesNameOther) {
    EXPECT_EQ(load("[EndPos]\n9O00\n").messages, std::vector<std::string>{message("other")});
    EXPECT_EQ(load("[Letterbox]\n2\n").messages, std::vector<std::string>{message("other")});
    EXPECT_EQ(load("[SpeedUnit]\n0,100,40,40\n#\n[EndPos]\nx\n").messages, std::vector<std::string>{message("other")});
    EXPECT_EQ(load("[Letterbox]\n1\n[SpeedUnit]\n0,100\n#\n").messages,
              std::vector<std::string>{message("[SpeedUnit]")})
        << "the lists keep their own labels";
    // The checker quotes the same message as the run.
    test::FakePictures pictures;
    RecordingMessageBoxes boxes;
    Diagnostics found;
    RouteData r;
    readRouteText(textFromBytes("[LineName]\nA\n[EndPos]\n9O00\n"), "789_line.txt", r, pictures, boxes, &found);
    ASSERT_EQ(found.count(Severity::Error), 1);
    EXPECT_EQ(found.items()[0].message, message("other"));
    EXPECT_EQ(found.items()[0].line, 4);
    EXPECT_EQ(found.items()[0].fieldName, "endPosition");
}

TEST(RouteFile, FrameRateOutsideOneToThirtyIsRefused) {
    EXPECT_FALSE(load("[FrameRate]\n15\n").fatal);
    EXPECT_EQ(load("[FrameRate]\n0\n").messages, std::vector<std::string>{message("other")});
    EXPECT_EQ(load("[FrameRate]\n31\n").messages, std::vector<std::string>{message("other")});
}

TEST(RouteFile, ShiftJisNamesAreDecoded) {
    // 東京 in CP932, and a call-out text compared with the decoded signal label.
    const auto l =
        load("[Station]\r\n\x93\x8c\x8b\x9e,0,1,2,0,0,0,0\r\n#\r\n[KankoSound2]\r\n\x90\x69\x8d\x73\r\nx.wav\r\n#\r\n");
    ASSERT_FALSE(l.fatal);
    EXPECT_EQ(l.route.stationTable[0].name, "東京");
    EXPECT_EQ(l.route.kankoTable[28].callText, "進行");
}
