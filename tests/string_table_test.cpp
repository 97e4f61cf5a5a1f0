// "string.txt" and "mascon.txt".
#include <gtest/gtest.h>

#include "data/controller_map.h"
#include "data/string_table.h"
#include "test_support.h"

using namespace ts;

TEST(StringTable, KeysAndMenuCaptions) {
    test::TempDir dir;
    const auto path = dir.write("string.txt",
                                "[Forward]\r\n前\r\n[Neutral]\r\n中\r\n[Reverse]\r\n後\r\n[Stop]\r\n停車\r\n"
                                "[Stop2]\r\n通過待ち\r\n[Neut]\r\nN\r\n[EB]\r\n非常\r\n[Start]\r\nGo\r\n"
                                "[Display]\r\nView\r\nKeys\r\n");
    RecordingMessageBoxes boxes;
    const StringTable t = readStringTable(path, boxes);
    EXPECT_EQ(t.handleLabelTexts[kForward], "前");
    EXPECT_EQ(t.handleLabelTexts[kStop], "停車");
    EXPECT_EQ(t.handleLabelTexts[kStop2], "通過待ち");
    EXPECT_EQ(t.handleLabelTexts[kPass], "");
    EXPECT_EQ(t.handleLabelTexts[kEB], "非常");
    EXPECT_EQ(t.startCaption, "Go");
    EXPECT_FALSE(t.moveCaption) << "without [Move] the menu keeps its caption";
    EXPECT_EQ(t.displayCaption, "View");
    EXPECT_EQ(t.helpCaption, "Keys");
    EXPECT_TRUE(boxes.all().empty());
}

TEST(StringTable, DisplayWithoutSecondLineGivesEmptyHelpCaption) {
    test::TempDir dir;
    RecordingMessageBoxes boxes;
    const StringTable t = readStringTable(dir.write("string.txt", "[Display]\nView"), boxes);
    EXPECT_EQ(t.displayCaption, "View");
    EXPECT_EQ(t.helpCaption, "");
}

TEST(StringTable, ShiftJisValuesAreDecoded) {
    test::TempDir dir;
    RecordingMessageBoxes boxes;
    // 停車 in CP932
    const StringTable t = readStringTable(dir.write("string.txt", "[Stop]\r\n\x92\xe2\x8e\xd4\r\n"), boxes);
    EXPECT_EQ(t.handleLabelTexts[kStop], "停車");
}

TEST(StringTable, MissingFileEndsTheProgramWithItsMessage) {
    test::TempDir dir;
    RecordingMessageBoxes boxes;
    EXPECT_THROW(readStringTable((dir.path() / "string.txt").string(), boxes), FatalError);
    EXPECT_EQ(boxes.all(), std::vector<std::string>{"stringファイルに誤りがあります"});
}

TEST(ControllerMap, LinesUntilHashAtMost26) {
    test::TempDir dir;
    RecordingMessageBoxes boxes;
    EXPECT_EQ(readControllerMap(dir.write("a.txt", "P0\r\nP1\r\n#end\r\nP3\r\n"), boxes),
              (std::vector<std::string>{"P0", "P1"}));
    EXPECT_TRUE(readControllerMap(dir.write("b.txt", "#\r\nP0\r\n"), boxes).empty());
    std::string many;
    for (int i = 0; i < 30; ++i) many += "C" + std::to_string(i) + "\n";
    const auto codes = readControllerMap(dir.write("c.txt", many), boxes);
    ASSERT_EQ(codes.size(), 26u);
    EXPECT_EQ(codes[25], "C25");
    EXPECT_TRUE(boxes.all().empty());
    EXPECT_THROW(readControllerMap((dir.path() / "none.txt").string(), boxes), FatalError);
    EXPECT_EQ(boxes.all(), std::vector<std::string>{"mascon.txtが見つかりません"});
}
