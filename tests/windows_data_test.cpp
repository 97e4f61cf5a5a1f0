// A data set as made on Windows (CR LF, Shift-JIS, backslashes, other letter
// case) driven through the real program, and the station jump.
#include <gtest/gtest.h>

#include "bitmap_writer.h"
#include "data/text_codec.h"
#include "drive_runner.h"
#include "test_support.h"

#include <iconv.h>

using namespace ts::test;

namespace {

std::string toSjis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size(), outLeft = out.size();
    char* o = out.data();
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string crlf(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

namespace ts::test {
// Writes the data set; the text files in Shift-JIS with CR LF. The checker's tests use it too.
void makeWindowsDataSet(const TempDir& d);
void makeWindowsDataSet(const TempDir& d) {
    auto text = [&](const std::string& name, const std::string& utf8) { d.write(name, crlf(toSjis(utf8))); };
    text("MASCON.TXT", "P0\nP1\n#\n");
    text("String.txt", "[Forward]\n前進\n[Stop]\n 停車\n[EB]\n非常\n[Move]\n移動\n");
    text("operation.txt", "操作説明\n");
    text("789_Line.TXT",
         "[LineName]\n北線\n[StartPos]\n100\n[FrameRate]\n15\n[Staf]\nImage\\STAFF.bmp\n[StartTime]\n864000\n"
         "[Pre_Time]\n20\n[Station]\n北駅,0,90,111,0,864600,864900,150000\n通過駅,1,500,520,0,0,0,0\n"
         "南駅,2,1000,1021,0,900000,899700,0\n終点,0,4000,4020,0,949700,950000,0\n#\n"
         "[SpeedUnit]\n0,4500,10,10\n#\n"
         "[SignImageList]\nimage\\sign\\STOP.bmp\n#\n"
         "[SignalImageList]\nimage\\signal\\sig0.bmp\n#\n");
    text("789_train.txt",
         "[BrakeType]\n1\n[Brake]\n8\n[Cars]\n4\n[Panel]\nimage\\panel\\PANEL.BMP\n0\n240\n"
         "[Lamp_Door]\nimage\\panel\\door.bmp\n10\n250\n");
    d.write("Image/Signal/SIG0.BMP", bmpBytes(50, 100, 0x202020, 0xFFFFFF));
    d.write("Image/Sign/stop.BMP", bmpBytes(50, 50, 0xFFFFFF, 0xC00000));
    d.write("Image/Panel/panel.bmp", bmpBytes(640, 200, 0x404048, 0x808080));
    d.write("Image/Panel/Door.BMP", bmpBytes(20, 10, 0xFF8000, 0x000000));
    d.write("image/staff.BMP", bmpBytes(150, 240, 0xF0F0E0, 0x000000));
}
}  // namespace ts::test

namespace {

const std::string* stepAt(const DriveResult& r, const std::string& t) {
    for (const auto& l : r.lines)
        if (field(l, "t") == t) return &l;
    return nullptr;
}

}  // namespace

TEST(WindowsDataSet, LoadsAndShowsDecodedNames) {
    TempDir d;
    makeWindowsDataSet(d);
    const auto r = drive(d.path().string(), "789", "@0 start\n@200 close\n");
    ASSERT_EQ(r.status, 0) << r.err << r.trace.substr(r.trace.rfind("\"messages\""));
    const std::string& loaded = r.lines.front();
    EXPECT_NE(loaded.find("\"stations\":[[\"Sta0\",\"北駅\"],[\"Sta2\",\"南駅\"]]"), std::string::npos)
        << "stopping stations in route order, the last one excluded";
    EXPECT_NE(loaded.find("\"GoTo1\":\"移動\""), std::string::npos);
    EXPECT_NE(loaded.find("\"Label4\":\"北駅\""), std::string::npos);
    EXPECT_NE(loaded.find("\"BrakeLabel\":\"非常\""), std::string::npos);
    EXPECT_NE(loaded.find("\"CarsLabel\":\"現車4両\""), std::string::npos);
    EXPECT_EQ(field(loaded, "lineName"), "北線");
    EXPECT_EQ(field(loaded, "stationCount"), "4");
    EXPECT_EQ(field(loaded, "trainPosition"), "100");
    EXPECT_EQ(field(loaded, "clockTicks"), "864000");
    EXPECT_EQ(field(loaded, "brakeNotch"), "-8");
    EXPECT_EQ(field(loaded, "doorsOpen"), "1");
    EXPECT_NE(loaded.find("\"staffImage\":[640,0]"), std::string::npos);
    EXPECT_NE(loaded.find("\"Lamp_Door\":1"), std::string::npos);
}

TEST(WindowsDataSet, StationJumpWhilePausedAndWhileRunning) {
    TempDir d;
    makeWindowsDataSet(d);
    const auto r = drive(d.path().string(), "789",
                         "@0 start\n@150 start\n@160 jump 2\n@170 snapshot " + (d.path() / "jump.png").string() +
                             "\n@500 start\n@650 jump 0\n@750 close\n");
    ASSERT_EQ(r.status, 0) << r.err;
    // Paused at 150: the jump leaves it paused (no steps until the resume at 500).
    EXPECT_EQ(stepAt(r, "200"), nullptr);
    const std::string* resumed = stepAt(r, "600");
    ASSERT_NE(resumed, nullptr);
    EXPECT_NE(resumed->find("\"start1\":\"一時停止(&S)\""), std::string::npos);
    EXPECT_EQ(field(*resumed, "trainPosition"), "1010") << "middle of 1000 .. 1021, half to even";
    EXPECT_EQ(field(*resumed, "speed"), "0");
    EXPECT_EQ(field(*resumed, "powerNotch"), "0");
    EXPECT_EQ(field(*resumed, "brakeNotch"), "-8");
    EXPECT_EQ(field(*resumed, "effectiveBrakeNotch"), "-8");
    EXPECT_EQ(field(*resumed, "doorsOpen"), "0");
    EXPECT_EQ(field(*resumed, "viewJumpPending"), "0") << "cleared by the first paint after the jump";
    EXPECT_EQ(field(*resumed, "shownSignalAspect"), "1000");
    EXPECT_NE(resumed->find("\"Label4\":\"南駅\""), std::string::npos);
    // clockTicks = departure - 150, then three ticks (533, 566, 599) since the resume;
    // preceding train = (clock - start) / (30 div 15) + start + pre-time, then one frame per two ticks.
    EXPECT_EQ(field(*resumed, "clockTicks"), "899853");
    EXPECT_EQ(field(*resumed, "precedingTrainPosition"), std::to_string((899850 - 864000) / 2 + 100 + 600 + 1));
    // The jump at 650 while running keeps the run going.
    const std::string* after = stepAt(r, "700");
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(field(*after, "event"), "step");
    EXPECT_EQ(field(*after, "trainPosition"), "100");
    EXPECT_EQ(field(*after, "clockTicks"), "864452") << "departure - 150, two ticks (665, 698) after the jump at 650";
    EXPECT_NE(after->find("\"Label4\":\"北駅\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(d.path() / "jump.png"));
}
