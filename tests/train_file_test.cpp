// The train file and its cab panel sections: values, tables, consistency
// checks, failure labels, and the panel items built from it.
#include <gtest/gtest.h>

#include "data/train_reader.h"
#include "fake_pictures.h"
#include "panel_builder.h"
#include "test_support.h"

using namespace ts;

namespace {

struct Loaded {
    TrainData train;
    std::vector<std::string> messages;
    bool fatal = false;
};

Loaded load(const std::string& text, const test::TempDir* dir = nullptr) {
    test::TempDir own;
    const test::TempDir& d = dir ? *dir : own;
    const std::string path = d.write("789_train.txt", text);
    test::ScopedCwd cwd(d.path());
    test::FakePictures pictures;
    RecordingMessageBoxes boxes;
    Loaded l;
    try {
        readTrainFile(path, l.train, pictures, boxes);
    } catch (const FatalError&) {
        l.fatal = true;
    }
    l.messages = boxes.all();
    return l;
}

std::string notchRows(int n) {
    std::string s = "[Notch]\n";
    for (int i = 1; i <= n; ++i) s += "3.0\n2.5\n" + std::to_string(30 + i) + "\n70\n0.98\n";
    return s + "#\n";
}

const char* kElectric = "[Engine_Type]\n1\n[Power]\n5\n";
const std::string kBad = "車両ファイルに誤りがあります";

}  // namespace

TEST(TrainFile, ValuesAndTables) {
    const auto l = load(std::string("[Handle]\n1\n[BrakeType]\n1\n[Brake]\n8\n[Hold]\n1\n[BrakeRate]\n3.6\n"
                                    "[EBPress]\n440\n[HighAirPress]\n880\n[Mt]\n4\n[Cars]\n6\n[Tons]\n210.5\n"
                                    "[Sound_Horn]\n7\n[CP_End]\n9\n[Stop]\n11\n[EngineSound]\n1\n2\n3\n") +
                        kElectric + notchRows(5) +
                        "[MotorSound]\nm.wav\n2\n0\n40.5\n0.5\n1.5\n0\n1\n#\n[DriveSound]\nd0.wav\nd1.wav\n#\n");
    ASSERT_FALSE(l.fatal) << l.messages[0];
    const TrainData& t = l.train;
    EXPECT_EQ(t.handleType, ts::HandleType::Separate);
    EXPECT_EQ(t.brakeNotchCountInFile, 8);
    EXPECT_EQ(t.holdPositionEnabled, 1);
    EXPECT_EQ(t.brakeRate, 36000);
    EXPECT_EQ(t.ebPressure, 440);
    EXPECT_EQ(t.mt, 40000);
    EXPECT_EQ(t.carCount, 6);
    EXPECT_EQ(t.trainTons, 2105000);
    EXPECT_EQ(t.soundHorn, 7);
    EXPECT_EQ(t.soundCpEnd, 9);
    EXPECT_EQ(t.soundStop, 11);
    EXPECT_EQ(t.engineSound3, 3);
    EXPECT_EQ(t.notchRowCount, 5);
    EXPECT_EQ(t.notchTable[1].baseSpeed, 31);
    EXPECT_EQ(t.notchTable[5].baseSpeed, 35);
    EXPECT_DOUBLE_EQ(t.notchTable[5].fadeFactor, 0.98);
    ASSERT_EQ(t.motorSoundCount(), 1);
    EXPECT_EQ(t.motorSoundTable[0].condition, 2);
    EXPECT_EQ(double(t.motorSoundTable[0].speedTo), 40.5);
    EXPECT_EQ(t.driveSoundCount(), 2);
}

TEST(TrainFile, NotchConsistency) {
    EXPECT_FALSE(load(std::string(kElectric) + notchRows(5)).fatal);
    EXPECT_EQ(load(std::string(kElectric) + notchRows(4)).messages,
              std::vector<std::string>{"Power指定とNotch指定が矛盾しています"});
    EXPECT_EQ(load(notchRows(5) + kElectric).messages,
              std::vector<std::string>{"動力が気動車なのにNotch指定があります"})
        << "a [Notch] before [Engine_Type] sees the engine type 0";
}

TEST(TrainFile, EngineTableAndItsConsistency) {
    const std::string engine = "[Engine]\n0\n20\n40\n1.8\n1.5\n0.9\n30\n55\n80\n1.0\n0.8\n0.4\n#\n";
    const auto diesel = load("[Engine_Type]\n0\n" + engine);
    ASSERT_FALSE(diesel.fatal);
    ASSERT_EQ(diesel.train.engineCount(), 2);
    EXPECT_EQ(diesel.train.engineTable[1].midSpeed, 55);
    EXPECT_DOUBLE_EQ(diesel.train.engineTable[1].highAccel, 0.4);
    EXPECT_EQ(load("[Engine_Type]\n1\n" + engine).messages,
              std::vector<std::string>{"動力が電車なのにEngine指定があります"});
    EXPECT_FALSE(load("[Handle]\n0\n").fatal) << "no traction tables at all";
}

TEST(TrainFile, ErrorLabels) {
    EXPECT_EQ(load("[Power]\n\n").messages, std::vector<std::string>{kBad + "- 列車の基本設定"});
    EXPECT_EQ(load(std::string(kElectric) + "[Notch]\n3.0\nx\n").messages, std::vector<std::string>{kBad + "[Notch]"});
    EXPECT_EQ(load("[DriveSound]\na.wav\n").messages, std::vector<std::string>{kBad + "[DriveSound]"});
    EXPECT_EQ(load("[Clock]\n10\n\n").messages, std::vector<std::string>{kBad + "- アナログ時計"});
    EXPECT_EQ(load("[Lamp_Air]\na.bmp\n1\nz\n").messages, std::vector<std::string>{kBad + "- 運転台パネル"});
    EXPECT_EQ(load("[Needle_MR]\nn.bmp\n1\n2\n3\n4\n5\nq\n").messages, std::vector<std::string>{kBad + "- MR圧力計"});
    EXPECT_EQ(load("[NotchImageB]\n1\n").messages, std::vector<std::string>{kBad + "[NotchImageB]"});
    EXPECT_EQ(load("[Others]\na.bmp\n1\n").messages, std::vector<std::string>{kBad + "[Others]"});
}

TEST(TrainFile, CapacitiesAndCarCountAreChecked) {
    EXPECT_EQ(load(std::string("[Engine_Type]\n1\n[Power]\n12\n") + notchRows(12)).messages,
              std::vector<std::string>{kBad + "[Notch]"});
    std::string motors = "[MotorSound]\n";
    for (int i = 0; i < 29; ++i) motors += "m.wav\n0\n0\n10\n1\n1\n1\n1\n";
    EXPECT_EQ(load(motors + "#\n").messages, std::vector<std::string>{kBad + "[MotorSound]"});
    std::string others = "[Others]\n";
    for (int i = 0; i < 12; ++i) others += "o.bmp\n0\n0\n";
    EXPECT_EQ(load(others + "#\n").messages, std::vector<std::string>{kBad + "[Others]"});
    EXPECT_FALSE(load("[Cars]\n20\n").fatal);
    EXPECT_EQ(load("[Cars]\n21\n").messages, std::vector<std::string>{kBad + "- 列車の基本設定"});
    EXPECT_EQ(load("[Cars]\n0\n").messages, std::vector<std::string>{kBad + "- 列車の基本設定"});
}

TEST(TrainFile, PictureListsKeepOneSizeAndSkipBlankLines) {
    test::TempDir dir;
    dir.write("p0.bmp", "40x20");
    dir.write("p1.bmp", "40x20");
    dir.write("big.bmp", "60x30");
    const auto l =
        load("[NotchImageP]\n500\n300\np0.bmp\n\np1.bmp\n#\n[GearImageList]\n1\n2\np0.bmp\nbig.bmp\n#\n", &dir);
    ASSERT_FALSE(l.fatal) << l.messages[0];
    EXPECT_EQ(l.train.NotchImageP.count(), 2);
    EXPECT_EQ(l.train.notchImagePX, 500);
    EXPECT_EQ(l.train.NotchImageP.width, 40);
    EXPECT_EQ(l.train.GearImageList.count(), 1) << "a picture of another size empties the list";
    EXPECT_EQ(l.train.GearImageList.width, 60);
    EXPECT_EQ(load("[NotchImageP]\n1\n2\nnone.bmp\n#\n", &dir).messages,
              std::vector<std::string>{"none.bmpが見つかりません"});
}

TEST(CabPanel, ItemsInCreationOrderWithTheirVisibility) {
    test::TempDir dir;
    dir.write("panel.bmp", "640x200");
    dir.write("lamp.bmp", "20x10");
    dir.write("needle.bmp", "100x100");
    dir.write("staff.bmp", "150x240");
    const auto l = load(
        "[Panel]\npanel.bmp\n0\n240\n[Lamp_Door]\nlamp.bmp\n10\n250\n[Lamp_Back]\nlamp.bmp\n30\n250\n"
        "[Needle_Speed]\nneedle.bmp\n20\n300\n100\n100\n45\n2.0\n[Clock]\n300\n400\n20\n"
        "[Others]\nlamp.bmp\n5\n5\n#\n",
        &dir);
    ASSERT_FALSE(l.fatal);
    RouteData route;
    route.staffImageFile = "staff.bmp";
    PanelModel panel;
    test::ScopedCwd cwd(dir.path());
    test::FakePictures pictures;
    RecordingMessageBoxes boxes;
    addCabPanel(panel, l.train, route, pictures, boxes);
    std::vector<std::string> names;
    for (const auto& i : panel.items) names.push_back(i.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Panel",        "Panel2",    "clock",      "Lamp_Door", "Lamp_Power",
                                               "Lamp_EB",      "Lamp_Gen",  "Lamp_Air",   "Lamp_Ele",  "Lamp_Ats",
                                               "Lamp_G",       "Lamp_YG",   "Lamp_Y",     "Lamp_YY",   "Lamp_R",
                                               "Lamp_Fwd",     "Lamp_Bck",  "Lamp_P",     "Lamp_B",    "Lamp_Gear",
                                               "Needle_Speed", "Needle_BC", "Needle_SAP", "Needle_ER", "Needle_BP",
                                               "Needle_MR",    "Needle_V",  "Needle_I",   "",          "staffImage"}));
    const PanelItem* p = panel.findItem("Panel");
    EXPECT_EQ(p->width, 640);
    EXPECT_EQ(p->top, 240);
    EXPECT_TRUE(p->visible);
    EXPECT_FALSE(panel.findItem("Panel2")->visible);
    EXPECT_FALSE(panel.findItem("Panel2")->picture) << "an absent section gives an empty item";
    EXPECT_FALSE(panel.findItem("Lamp_Ats")->visible);
    EXPECT_FALSE(panel.findItem("Lamp_Bck")->visible);
    EXPECT_TRUE(panel.findItem("Lamp_Bck")->transparent);
    EXPECT_EQ(panel.findItem("Lamp_Bck")->left, 30);
    EXPECT_EQ(panel.findItem("clock")->left, 275);
    EXPECT_TRUE(panel.findItem("clock")->visible);
    EXPECT_TRUE(panel.findItem("Needle_Speed")->picture);
    EXPECT_FALSE(panel.findItem("Needle_BC")->picture);
    EXPECT_FALSE(panel.items[28].visible) << "[Others] pictures start hidden";
    EXPECT_EQ(panel.findItem("staffImage")->left, 640);
    EXPECT_EQ(panel.findItem("staffImage")->width, 150);
}

TEST(CabPanel, MissingLampPictureEndsTheProgram) {
    TrainData t;
    t.panelLamps[kLampPower].fileName = "gone.bmp";
    PanelModel panel;
    test::FakePictures pictures;
    RecordingMessageBoxes boxes;
    EXPECT_THROW(addCabPanel(panel, t, RouteData{}, pictures, boxes), FatalError);
    EXPECT_EQ(boxes.all(), std::vector<std::string>{"gone.bmpが見つかりません"});
}
