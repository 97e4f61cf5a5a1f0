// The route file's picture and sound lists in the editor's model: entries
// edited, added and removed in the file's own encoding and line ends, the
// reader's refusals, the fixed call-out list, and several table rows removed
// as one undo step.
#include <gtest/gtest.h>

#include "data/text_codec.h"
#include "edit/file_lists.h"
#include "edit/route_document.h"
#include "test_support.h"

using namespace ts;
using namespace ts::edit;

namespace {

RouteDocument openBytes(const test::TempDir& dir, const std::string& bytes) {
    const std::string path = dir.write("77_line.txt", bytes);
    std::string error;
    auto doc = RouteDocument::open(path, &error);
    EXPECT_TRUE(doc) << error;
    return std::move(*doc);
}

std::string sjis(const std::string& utf8) { return utf8ToCp932(utf8).value(); }

// Shift-JIS and CR LF, a picture list with a Japanese name, a paired list
// and a route table after them.
std::string listsRoute() {
    return sjis(
        "[LineName]\r\n東線\r\n[StartPos]\r\n0\r\n"
        "[SoundData]\r\nbell.wav\r\n#\r\n"
        "[SignalImageList]\r\nimage\\赤.png\r\nimage\\green.png\r\n#\r\n"
        "[OtherImageList]\r\nimage\\o0.png\r\nsound\\o0.wav\r\n#\r\n"
        "[Station]\r\nA,0,90,110,0,864900,865200,0\r\nB,0,900,920,0,866900,867200,0\r\n"
        "C,0,1900,1920,0,868900,869200,0\r\n#\r\n"
        "[SpeedUnit]\r\n0,3000,40,40\r\n#\r\n");
}

}  // namespace

TEST(FileLists, EveryListWithoutATableOfItsOwnIsOfferedAndTheTablesAreNot) {
    std::vector<std::string> markers;
    for (const SectionDesc* s : fileListSections()) markers.push_back(s->marker);
    for (const char* m :
         {"[SoundData]", "[KankoSound1]", "[KankoSound2]", "[SignImageList]", "[OtherImageList]", "[SignalImageList]"})
        EXPECT_NE(std::find(markers.begin(), markers.end(), m), markers.end()) << m;
    EXPECT_EQ(fileListSection("[Station]"), nullptr);
    EXPECT_EQ(fileListSection("[Sound]"), nullptr);
    ASSERT_NE(fileListSection("[KankoSound1]"), nullptr);
    EXPECT_TRUE(fixedLength(*fileListSection("[KankoSound1]")));
    EXPECT_FALSE(fixedLength(*fileListSection("[SignalImageList]")));
}

TEST(FileLists, EntriesAreEditedAddedAndRemovedInTheFilesOwnStyleAndUndoToTheBytes) {
    test::TempDir dir;
    RouteDocument doc = openBytes(dir, listsRoute());
    const std::string original = doc.bytes();
    ASSERT_EQ(doc.listCount("[SignalImageList]"), 2);
    EXPECT_EQ(doc.listText("[SignalImageList]", 0, 0), "image\\赤.png") << "decoded from Shift-JIS";
    EXPECT_EQ(doc.listText("[OtherImageList]", 0, 1), "sound\\o0.wav");

    std::string error;
    ASSERT_TRUE(doc.setListText("[SignalImageList]", 1, 0, "image\\黄.png", &error)) << error;
    EXPECT_NE(doc.bytes().find(sjis("image\\赤.png\r\nimage\\黄.png\r\n#\r\n")), std::string::npos)
        << "encoded back, CR LF kept";
    EXPECT_EQ(doc.route().SignalImageList.pictures.size(), 2u);

    EXPECT_EQ(doc.addListEntry("[SignalImageList]", 1, {"image/new.png"}, &error), 1) << error;
    EXPECT_EQ(doc.listCount("[SignalImageList]"), 3);
    EXPECT_EQ(doc.listText("[SignalImageList]", 2, 0), "image\\黄.png") << "inserted before it";
    EXPECT_EQ(doc.route().SignalImageList.pictures.size(), 3u) << "the run reads the new entry";

    // A paired list gets both lines of its entry, the missing one empty, so that no entry reads out of step.
    EXPECT_EQ(doc.addListEntry("[OtherImageList]", 99, {"image/o1.png"}, &error), 1) << error;
    EXPECT_EQ(doc.listCount("[OtherImageList]"), 2);
    EXPECT_EQ(doc.listText("[OtherImageList]", 1, 0), "image/o1.png");
    EXPECT_EQ(doc.listText("[OtherImageList]", 1, 1), "");
    EXPECT_EQ(doc.route().otherSoundFiles.size(), 2u);

    // A list the file lacks is added at its end.
    EXPECT_EQ(doc.addListEntry("[SignImageList]", 0, {"image\\s0.png"}, &error), 0) << error;
    EXPECT_NE(doc.bytes().find("[SignImageList]\r\nimage\\s0.png\r\n#\r\n"), std::string::npos);

    EXPECT_TRUE(doc.removeListEntries("[SignalImageList]", {2, 0, 2}));
    EXPECT_EQ(doc.listCount("[SignalImageList]"), 1);
    EXPECT_EQ(doc.listText("[SignalImageList]", 0, 0), "image/new.png");
    EXPECT_FALSE(doc.removeListEntries("[SignalImageList]", {5})) << "nothing there, nothing done";

    for (int undo = 0; undo < 5; ++undo) ASSERT_TRUE(doc.undo()) << undo;
    EXPECT_EQ(doc.bytes(), original) << "the removal of two entries was one step";
    EXPECT_FALSE(doc.undo());
}

TEST(FileLists, ValuesTheReaderWouldMistakeAreRefusedAndNothingChanges) {
    test::TempDir dir;
    RouteDocument doc = openBytes(dir, listsRoute());
    const std::string before = doc.bytes();
    std::string error;
    EXPECT_FALSE(doc.setListText("[SignalImageList]", 0, 0, "#x.png", &error));
    EXPECT_NE(error.find("end the list"), std::string::npos) << error;
    EXPECT_FALSE(doc.setListText("[SignalImageList]", 0, 0, "[Station]", &error));
    EXPECT_NE(error.find("marker"), std::string::npos) << error;
    EXPECT_FALSE(doc.setListText("[SoundData]", 0, 0, "a,b.wav", &error)) << "the reader takes the name before a comma";
    EXPECT_NE(error.find("comma"), std::string::npos) << error;
    EXPECT_FALSE(doc.setListText("[SoundData]", 0, 0, "two\nlines.wav", &error));
    EXPECT_FALSE(doc.setListText("[SoundData]", 3, 0, "x.wav", &error)) << "no such entry";
    EXPECT_EQ(doc.addListEntry("[Station]", 0, {"x"}, &error), -1) << "a table is not a file list";
    EXPECT_EQ(doc.bytes(), before);
    EXPECT_FALSE(doc.canUndo());

    // The list's capacity is the reader's.
    const int capacity = fileListSection("[SoundData]")->capacity;
    for (int i = doc.listCount("[SoundData]"); i < capacity; ++i)
        ASSERT_GE(doc.addListEntry("[SoundData]", i, {"s" + std::to_string(i) + ".wav"}, &error), 0) << error;
    EXPECT_EQ(doc.addListEntry("[SoundData]", 0, {"one-more.wav"}, &error), -1);
    EXPECT_NE(error.find(std::to_string(capacity)), std::string::npos) << error;
}

TEST(FileLists, TheFixedCallOutListIsEditedButKeepsItsLength) {
    test::TempDir dir;
    std::string route = "[LineName]\nL\n[KankoSound1]\n";
    for (int i = 0; i < 28; ++i) route += "k" + std::to_string(i) + ".wav\n";
    route += "[StartPos]\n0\n";
    RouteDocument doc = openBytes(dir, route);
    ASSERT_EQ(doc.listCount("[KankoSound1]"), 28);
    std::string error;
    ASSERT_TRUE(doc.setListText("[KankoSound1]", 27, 0, "last.wav", &error)) << error;
    EXPECT_NE(doc.bytes().find("k26.wav\nlast.wav\n[StartPos]\n0\n"), std::string::npos)
        << "no \"#\" line added: " << doc.bytes();
    EXPECT_EQ(doc.route().kankoSound1Files[27], "last.wav");
    EXPECT_EQ(doc.addListEntry("[KankoSound1]", 0, {"x.wav"}, &error), -1);
    EXPECT_FALSE(doc.removeListEntries("[KankoSound1]", {0}));
    EXPECT_EQ(doc.listCount("[KankoSound1]"), 28);
}

TEST(FileLists, SeveralTableRowsAreRemovedAtOnceAsOneUndoStep) {
    test::TempDir dir;
    RouteDocument doc = openBytes(dir, listsRoute());
    const std::string before = doc.bytes();
    doc.removeRows(TableKind::Station, {2, 0});
    ASSERT_EQ(doc.rowCount(TableKind::Station), 1);
    EXPECT_EQ(doc.text(TableKind::Station, 0, 0), "B") << "the middle one stays";
    EXPECT_EQ(doc.text(TableKind::Station, 0, 7), "0") << "the last stop has no next stop";
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.bytes(), before);
    EXPECT_FALSE(doc.undo());
}
