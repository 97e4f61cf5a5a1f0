// The route editor's model without a window: what it writes back, every kind
// of edit with its undo and redo, refusals, the recorded-speed keyframes and
// the atomic save.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/text_codec.h"
#include "data/text_file.h"
#include "edit/route_document.h"
#include "test_support.h"

using namespace ts;
using namespace ts::edit;
using ts::test::TempDir;

namespace {

std::string slurp(const std::filesystem::path& p) { return readFileBytes(p.string()).value(); }

RouteDocument openBytes(const TempDir& dir, const std::string& bytes, const std::string& name = "789_line.txt") {
    const std::string path = dir.write(name, bytes);
    std::string error;
    auto doc = RouteDocument::open(path, &error);
    EXPECT_TRUE(doc) << error;
    return std::move(*doc);
}

std::string sjis(const std::string& utf8) { return utf8ToCp932(utf8).value(); }

// A route as a Windows editor writes it: Shift-JIS, CR LF, comments between
// sections, a commented [Sound] list, a blank line and no line end at the end.
std::string windowsRoute() {
    std::string s = sjis(
        "北の線 route, made on Windows\r\n"
        "[LineName]\r\n北の線\r\n"
        "[StartPos]\r\n100\r\n[FrameRate]\r\n30\r\n[StartTime]\r\n864000\r\n"
        "; stations follow\r\n\r\n"
        "[SoundData]\r\nbell.wav\r\n#\r\n"
        "[Sound]\r\n;a comment line\r\n0,500,900,1,0\r\n#\r\n"
        "[Station]\r\n東駅,0,90,110,0,864900,864600,150000\r\n西駅,0,2900,2920,0,873000,872700,0\r\n#\r\n"
        "[Signal]\r\n0,一,3,100,1000,950,990,0,0\r\n#\r\n"
        "[Slope]\r\n2.50,500,900\r\n#\r\n"
        "[Tunnel]\r\n1200\r\n1400\r\n#\r\n"
        "[SpeedUnit]\r\n100,500,0,60\r\n500,3000,60,60\r\n#\r\n"
        "end of file");
    return s;
}

}  // namespace

TEST(RouteDocument, UnchangedRoutesAreWrittenBackByteForByte) {
    for (const char* code : {"789", "40"}) {
        const std::string path = std::string(TRAINSIM_DEMO) + "/" + code + "_line.txt";
        std::string error;
        auto doc = RouteDocument::open(path, &error);
        ASSERT_TRUE(doc) << error;
        EXPECT_EQ(doc->bytes(), slurp(path)) << code;
        EXPECT_FALSE(doc->modified());
        EXPECT_GT(doc->rowCount(TableKind::Station), 1) << code;
        EXPECT_EQ(doc->rowCount(TableKind::Station), doc->route().stationCount());
        TempDir dir;
        ASSERT_TRUE(doc->save((dir.path() / "out_line.txt").string(), &error)) << error;
        EXPECT_EQ(slurp(dir.path() / "out_line.txt"), slurp(path)) << code;
    }
    TempDir dir;
    const std::string win = windowsRoute();
    ASSERT_FALSE(isValidUtf8(win));
    RouteDocument doc = openBytes(dir, win);
    EXPECT_EQ(doc.bytes(), win);
    EXPECT_EQ(doc.text(TableKind::Station, 0, 0), "東駅") << "Shift-JIS names are shown decoded";
    EXPECT_EQ(doc.text(TableKind::Station, 0, 5), "08:00:30");
    EXPECT_EQ(doc.text(TableKind::Slope, 0, 0), "2.50") << "the gradient as the file writes it";
    EXPECT_EQ(doc.rowCount(TableKind::RouteSound), 1) << "the comment line is no row";
    EXPECT_EQ(doc.single(SingleValue::LineName), "北の線");
}

TEST(RouteDocument, AChangedRowIsRewrittenInPlaceInTheFilesOwnStyle) {
    TempDir dir;
    const std::string win = windowsRoute();
    RouteDocument doc = openBytes(dir, win);
    std::string error;
    ASSERT_TRUE(doc.setText(TableKind::Station, 1, 0, "南駅", &error)) << error;
    ASSERT_TRUE(doc.setText(TableKind::Station, 1, 5, "08:05:10", &error)) << error;
    std::string expected = win;
    const std::string oldRow = sjis("西駅,0,2900,2920,0,873000,872700,0");
    const std::string newRow = sjis("南駅,0,2900,2920,0,873300,872700,0");
    expected.replace(expected.find(oldRow), oldRow.size(), newRow);
    EXPECT_EQ(doc.bytes(), expected);
    EXPECT_EQ(doc.route().stationTable[1].name, "南駅");
    EXPECT_EQ(doc.route().stationTable[1].departureTime, 873300);
    EXPECT_TRUE(doc.modified());

    // A section the file lacks is added in its style, where the reader finds it.
    ASSERT_TRUE(doc.setSingle(SingleValue::EndPos, "9000", &error)) << error;
    EXPECT_EQ(doc.bytes(), expected + "\r\n[EndPos]\r\n9000\r\n");
    EXPECT_EQ(doc.route().lineEnd(), 9000);
    ASSERT_TRUE(doc.setSingle(SingleValue::EndPos, "", &error));
    EXPECT_EQ(doc.route().lineEnd(), 4500);
    EXPECT_FALSE(doc.route().hasEndPosition);
}

TEST(RouteDocument, ASingleValueIsRewrittenWhereItStands) {
    TempDir dir;
    // The value is the file's last line, without its line end: it stays so.
    RouteDocument doc = openBytes(dir, "x\r\n[StartPos]\r\n100\r\n[LineName]\r\nA\r\n[FrameRate]\r\n30");
    std::string error;
    ASSERT_TRUE(doc.setSingle(SingleValue::FrameRate, "15", &error)) << error;
    ASSERT_TRUE(doc.setSingle(SingleValue::StartPosition, "5", &error)) << error;
    ASSERT_TRUE(doc.setSingle(SingleValue::StartTime, "07:30:15", &error)) << error;
    EXPECT_EQ(doc.bytes(), "x\r\n[StartPos]\r\n5\r\n[LineName]\r\nA\r\n[FrameRate]\r\n15\r\n[StartTime]\r\n810450\r\n");
    EXPECT_EQ(doc.single(SingleValue::StartTime), "07:30:15");
    EXPECT_EQ(doc.route().frameRate, 15);
}

TEST(RouteDocument, EveryEditUndoesToTheExactBytesAndRedoes) {
    TempDir dir;
    const std::string win = windowsRoute();
    RouteDocument doc = openBytes(dir, win);
    int calls = 0;
    doc.changed = [&] { ++calls; };
    std::string error;
    struct Edit {
        const char* what;
        std::function<void()> apply;
    };
    const std::vector<Edit> edits{
        {"setText", [&] { EXPECT_TRUE(doc.setText(TableKind::Signal, 0, 1, "二", &error)) << error; }},
        {"setFrame", [&] { EXPECT_TRUE(doc.setFrame(TableKind::Tunnel, 0, 1, 1500)); }},
        {"addRow", [&] { EXPECT_GE(doc.addRow(TableKind::Sign, 700), 0); }},
        {"removeRow", [&] { doc.removeRow(TableKind::Station, 0); }},
        {"setSingle", [&] { EXPECT_TRUE(doc.setSingle(SingleValue::StartPosition, "95", &error)) << error; }},
        {"keyframes",
         [&] {
             doc.setSpeedKeyframes({{100, 0}, {400, 50}, {3000, 50}});
         }},
    };
    for (const Edit& e : edits) {
        const std::string before = doc.bytes();
        const int callsBefore = calls;
        e.apply();
        const std::string after = doc.bytes();
        ASSERT_NE(after, before) << e.what;
        EXPECT_EQ(calls, callsBefore + 1) << e.what;
        ASSERT_TRUE(doc.undo()) << e.what;
        EXPECT_EQ(doc.bytes(), before) << e.what;
        ASSERT_TRUE(doc.redo()) << e.what;
        EXPECT_EQ(doc.bytes(), after) << e.what;
    }
    while (doc.canUndo()) doc.undo();
    EXPECT_EQ(doc.bytes(), win);
    EXPECT_FALSE(doc.modified());
    EXPECT_TRUE(doc.canRedo());
    doc.setFrame(TableKind::Tunnel, 0, 0, 1100);
    EXPECT_FALSE(doc.canRedo()) << "a new edit drops what could be redone";

    // A drag is one undo step.
    const std::string beforeDrag = doc.bytes();
    doc.beginGroup();
    for (int f = 1110; f <= 1150; f += 10) doc.setFrame(TableKind::Tunnel, 0, 0, f);
    doc.endGroup();
    EXPECT_EQ(doc.route().tunnelTable[0].fromPosition, 1150);
    doc.undo();
    EXPECT_EQ(doc.bytes(), beforeDrag);
}

TEST(RouteDocument, RowsAreAddedInOrderWithDefaultsAroundTheCursorAndRemoved) {
    TempDir dir;
    RouteDocument doc = openBytes(dir, windowsRoute());
    const std::vector<TableKind> all{TableKind::Station,    TableKind::Signal,     TableKind::SpeedLimit,
                                     TableKind::SpeedCheck, TableKind::Slope,      TableKind::Sign,
                                     TableKind::Tunnel,     TableKind::RouteSound, TableKind::Announce,
                                     TableKind::Doppler,    TableKind::StopSound};
    for (TableKind k : all) {
        const int before = doc.rowCount(k);
        const int row = doc.addRow(k, 2000);
        ASSERT_GE(row, 0);
        EXPECT_EQ(doc.rowCount(k), before + 1);
        const std::vector<int> frames = doc.framePositions(k, row);
        ASSERT_FALSE(frames.empty());
        for (int f : frames) EXPECT_NEAR(f, 2000, 1000) << "positions around the cursor";
        doc.removeRow(k, row);
        EXPECT_EQ(doc.rowCount(k), before);
    }
    // A station between the two is placed between them, its stop range 5 m
    // either side of the cursor, its doors closing 10 s after its departure.
    EXPECT_EQ(doc.addRow(TableKind::Station, 1500), 1);
    const StationData& added = doc.route().stationTable[1];
    const double metresPerFrame = std::max(doc.recordedSpeedAt(1500), 1) / 108.0;
    EXPECT_NEAR((1500 - added.stopFrom) * metresPerFrame, 5.0, metresPerFrame);
    EXPECT_NEAR((added.stopTo - 1500) * metresPerFrame, 5.0, metresPerFrame);
    EXPECT_GT(added.departureTime, doc.route().stationTable[0].departureTime);
    EXPECT_EQ(added.closeTime, added.departureTime + 300);
    // A signal at the cursor: its alarm and check points before it, its block after the previous one.
    const int s = doc.addRow(TableKind::Signal, 2000);
    const SignalData& sig = doc.route().signalTable[size_t(s)];
    EXPECT_EQ(s, 1);
    EXPECT_EQ(sig.toPosition, 2000);
    EXPECT_EQ(sig.fromPosition, 1000);
    EXPECT_LT(sig.alarmPosition, sig.checkPosition);
    EXPECT_LT(sig.checkPosition, 2000);
    // The comment of [Sound] survives a rewrite of its list.
    doc.addRow(TableKind::RouteSound, 100);
    EXPECT_NE(doc.bytes().find(";a comment line\r\n"), std::string::npos);
    EXPECT_EQ(doc.route().routeSoundTable[0].position, 100);
    doc.removeRow(TableKind::RouteSound, 0);
    doc.removeRow(TableKind::RouteSound, 0);
    EXPECT_EQ(doc.rowCount(TableKind::RouteSound), 0);
    EXPECT_NE(doc.bytes().find("[Sound]\r\n;a comment line\r\n#\r\n"), std::string::npos)
        << "removing the rows keeps the comment";
}

TEST(RouteDocument, SetTextRefusesWhatTheReaderWouldRefuse) {
    TempDir dir;
    RouteDocument doc = openBytes(dir, windowsRoute());
    const std::string before = doc.bytes();
    std::string error;
    EXPECT_FALSE(doc.setText(TableKind::Station, 0, 2, "12x", &error));
    EXPECT_NE(error.find("not a whole number"), std::string::npos) << error;
    EXPECT_FALSE(doc.setText(TableKind::Station, 0, 5, "25:61:00", &error));
    EXPECT_FALSE(doc.setText(TableKind::Slope, 0, 0, "2,5", &error));
    EXPECT_FALSE(doc.setText(TableKind::Station, 0, 0, "A,B", &error)) << "a comma splits the row";
    EXPECT_FALSE(doc.setText(TableKind::Station, 0, 0, "#1", &error)) << "a row starting with # ends the list";
    error.clear();
    EXPECT_FALSE(doc.setText(TableKind::Station, 0, 0, "駅😀", &error)) << "no Shift-JIS form";
    EXPECT_NE(error.find("Shift-JIS"), std::string::npos) << error;
    EXPECT_FALSE(doc.setSingle(SingleValue::FrameRate, "31", &error));
    EXPECT_NE(error.find("1 to 30"), std::string::npos) << "the reader's own rule: " << error;
    EXPECT_FALSE(doc.setSingle(SingleValue::Letterbox, "2", &error));
    EXPECT_FALSE(doc.setText(TableKind::Station, 9, 0, "x", &error));
    EXPECT_EQ(doc.bytes(), before);
    EXPECT_FALSE(doc.canUndo()) << "a refusal changes nothing";

    // A UTF-8 file takes any text.
    RouteDocument utf = openBytes(dir, "[Station]\nA,0,90,110,0,0,0,0\n#\n", "u_line.txt");
    EXPECT_TRUE(utf.setText(TableKind::Station, 0, 0, "駅😀", &error)) << error;
    EXPECT_EQ(utf.bytes(), "[Station]\n駅😀,0,90,110,0,0,0,0\n#\n");
}

TEST(RouteDocument, KeyframesBecomeSpeedUnitRowsAndTheRunsRecordedSpeed) {
    TempDir dir;
    RouteDocument doc = openBytes(dir, windowsRoute());
    EXPECT_EQ(doc.speedKeyframes(), (std::vector<std::pair<int, int>>{{100, 0}, {500, 60}, {3000, 60}}));
    // Unsorted, with two points on one frame (the later wins).
    doc.setSpeedKeyframes({{2000, 40}, {0, 0}, {1000, 80}, {1000, 60}});
    const auto& rows = doc.route().speedUnitTable;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].fromPosition, 0);
    EXPECT_EQ(rows[0].toPosition, 1000);
    EXPECT_EQ(rows[0].toSpeed, 60);
    EXPECT_EQ(rows[1].fromPosition, 1000);
    EXPECT_EQ(rows[1].toSpeed, 40);
    EXPECT_EQ(doc.recordedSpeedAt(500), 30);
    EXPECT_EQ(doc.recordedSpeedAt(1500), 50);
    EXPECT_EQ(doc.recordedSpeedAt(1000), 60);

    // Too many points are thinned to the table's 501 rows, the curve's ends kept.
    std::vector<std::pair<int, int>> many;
    for (int i = 0; i <= 800; ++i) many.emplace_back(i * 10, 40 + (i % 7));
    doc.setSpeedKeyframes(many);
    const auto& thin = doc.route().speedUnitTable;
    EXPECT_EQ(thin.size(), 501u);
    EXPECT_EQ(thin.front().fromPosition, 0);
    EXPECT_EQ(thin.back().toPosition, 8000);
    for (size_t i = 0; i < thin.size(); ++i) {
        EXPECT_LT(thin[i].fromPosition, thin[i].toPosition);
        if (i > 0) {
            EXPECT_EQ(thin[i].fromPosition, thin[i - 1].toPosition);
        }
    }

    // A row added at the cursor splits the row under it without changing the curve.
    doc.setSpeedKeyframes({{0, 20}, {1000, 60}});
    const int row = doc.addRow(TableKind::SpeedUnit, 250);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(doc.rowCount(TableKind::SpeedUnit), 2);
    EXPECT_EQ(doc.recordedSpeedAt(250), 30);
    EXPECT_EQ(doc.recordedSpeedAt(600), 44);
    doc.removeRow(TableKind::SpeedUnit, 0);
    EXPECT_EQ(doc.route().speedUnitTable.front().fromPosition, 250);
}

TEST(RouteDocument, SaveIsAtomic) {
    TempDir dir;
    RouteDocument doc = openBytes(dir, windowsRoute());
    const auto path = dir.path() / "789_line.txt";
    doc.setSingle(SingleValue::StartPosition, "95", nullptr);
    // A folder that is a file: no write can succeed there, not even as root.
    const std::string blocked = dir.write("file", "x") + "/789_line.txt";
    std::string error;
    EXPECT_FALSE(doc.save(blocked, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(doc.modified()) << "a failed save keeps the changes unsaved";
    // Replacing a folder fails at the rename: the old content stays, nothing is left beside it.
    std::filesystem::create_directory(dir.path() / "taken_line.txt");
    std::filesystem::create_directory(dir.path() / "taken_line.txt" / "inside");
    EXPECT_FALSE(doc.save((dir.path() / "taken_line.txt").string(), &error));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "taken_line.txt"));
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 2) << "the route and the blocking file, no half-written one";
    EXPECT_EQ(slurp(path), windowsRoute());

    ASSERT_TRUE(doc.save(path.string(), &error)) << error;
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(slurp(path), doc.bytes());
    auto again = RouteDocument::open(path.string(), &error);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->route().startPosition, 95);
}

// A route file kept elsewhere and linked into the data folder: the link stays, the file it names takes the edit.
TEST(RouteDocument, SavingThroughALinkKeepsTheLink) {
    TempDir dir;
    const std::string kept = dir.write("kept/789_line.txt", windowsRoute());
    std::filesystem::create_directories(dir.path() / "data");
    const auto link = dir.path() / "data" / "789_line.txt";
    std::filesystem::create_symlink("../kept/789_line.txt", link);
    std::string error;
    auto doc = RouteDocument::open(link.string(), &error);
    ASSERT_TRUE(doc) << error;
    doc->setSingle(SingleValue::StartPosition, "95", nullptr);
    ASSERT_TRUE(doc->save(link.string(), &error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(slurp(kept), doc->bytes());
    EXPECT_NE(slurp(kept), windowsRoute());
}
