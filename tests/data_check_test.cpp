// A catalogue of broken data folders: each case changes one line (or adds a
// section) of a folder that is otherwise clean and lists every diagnostic the
// checker must give. A case the checker calls an error must end a run of the
// same folder with the same fixed message.
#include <gtest/gtest.h>

#include <sstream>

#include "check/data_check.h"
#include "data/route_sections.h"
#include "run_fixture.h"
#include "sound/wav_file.h"
#include "wave_writer.h"

using namespace ts;
using namespace ts::test;

namespace {

const char* const kRoute =
    "[LineName]\nTest\n[StartPos]\n100\n[FrameRate]\n10\n[StartTime]\n864000\n"         // 1-8
    "[SoundData]\nsnd.wav\n#\n"                                                         // 9-11
    "[Station]\nA,0,90,110,0,864900,865000,1000\nB,0,2000,2020,0,870000,870100,0\n#\n"  // 12-15
    "[Signal]\n0,s1,6,0,1000,900,950,0,0\n0,s2,6,1000,4000,1900,1950,0,0\n#\n"          // 16-19
    "[SpeedUnit]\n0,2000,40,40\n2000,4500,40,40\n#\n"                                   // 20-23
    "[SignImageList]\nsign.bmp\n#\n";                                                   // 24-26

const char* const kTrain =
    "[BrakeType]\n1\n[Brake]\n8\n[Power]\n2\n[Engine_Type]\n1\n[Cars]\n4\n[Tons]\n120\n"  // 1-12
    "[Notch]\n2.5\n2.5\n40\n80\n0.98\n2.0\n2.0\n60\n90\n0.98\n#\n"                        // 13-24
    "[DriveSound]\nsnd.wav\n#\n"                                                          // 25-27
    "[Panel]\npanel.bmp\n0\n240\n";                                                       // 28-31

struct Expect {
    Severity severity;
    const char* file;
    int line;
    int column;
    bool operator==(const Expect& o) const {
        return severity == o.severity && std::string(file) == o.file && line == o.line && column == o.column;
    }
};

std::ostream& operator<<(std::ostream& os, const Expect& e) {
    return os << severityName(e.severity) << " " << e.file << ":" << e.line << ":" << e.column;
}

constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;
constexpr const char* L = "789_line.txt";
constexpr const char* T = "789_train.txt";

struct Case {
    const char* name;
    const char* file;  // the file changed
    int line;          // its line replaced by `text` (0: `text` is added at the end)
    const char* text;
    std::vector<Expect> expected;
};

std::string replaced(const std::string& original, int line, const std::string& text) {
    if (line == 0) return original + text;
    std::istringstream in(original);
    std::string out, l;
    for (int n = 1; std::getline(in, l); ++n) out += (n == line ? text : l) + "\n";
    return out;
}

std::string repeated(const std::string& line, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? "\n" : "") + line;
    return s;
}

void writeFolder(const TempDir& d, const Case& c) {
    d.write("789_line.txt", c.file == L ? replaced(kRoute, c.line, c.text) : kRoute);
    d.write("789_train.txt", c.file == T ? replaced(kTrain, c.line, c.text) : kTrain);
    d.write("mascon.txt", "#\n");
    d.write("string.txt", "[Forward]\nF\n");
    d.write("snd.wav", sineWave(440, 0.05));
    d.write("sign.bmp", "50x50");
    d.write("panel.bmp", "640x200");
}

Diagnostics check(const TempDir& d) {
    ScopedCwd cwd(d.path());
    FakePictures pictures;
    CheckDevices devices{pictures,
                         [](const std::string& p) {
                             std::string error;
                             return loadWav(p, error).has_value();
                         },
                         {}};
    Diagnostics out;
    checkTrain("789", devices, out);
    return out;
}

std::vector<Expect> located(const Diagnostics& d) {
    std::vector<Expect> v;
    for (const auto& x : d.items())
        if (x.severity != Severity::Note)
            v.push_back({x.severity, x.file == L ? L : x.file == T ? T : "other", x.line, x.column});
    return v;
}

const std::vector<Case>& catalogue() {
    static const std::string hundred = repeated("snd.wav", 100);
    static const std::string hundredOne = repeated("snd.wav", 101);
    static const std::vector<Case> cases{
        // Route file: errors
        {"StartPosNotANumber", L, 4, "1O0", {{E, L, 4, 0}}},
        {"FrameRateZero", L, 6, "0", {{E, L, 6, 0}}},
        {"FrameRateAboveThirty", L, 6, "31", {{E, L, 6, 0}}},
        {"StartTimeEmpty", L, 8, "", {{E, L, 8, 0}}},
        {"StationRowOfSevenFields", L, 13, "A,0,90,110,0,864900,865000", {{E, L, 13, 8}}},
        {"StationKindNotANumber", L, 13, "A,x,90,110,0,864900,865000,1000", {{E, L, 13, 2}}},
        {"StationDepartureTimeMistyped", L, 13, "A,0,90,110,0,8649OO,865000,1000", {{E, L, 13, 6}}},
        {"TwoBadStationRowsBothReported",
         L,
         14,
         "B,0,2000,20 20,0,870000,870100,0\nC,0,3000,3020,0,x,0,0",
         {{E, L, 14, 4}, {E, L, 15, 6}}},
        {"SignalRowOfEightFields", L, 17, "0,s1,2,0,1000,900,950,0", {{E, L, 17, 9}}},
        {"SignalAspectSetNotANumber", L, 17, "0,s1,a,0,1000,900,950,0,0", {{E, L, 17, 3}}},
        {"SpeedUnitRowOfThreeFields", L, 21, "0,2000,40", {{E, L, 21, 4}}},
        {"SpeedUnitSpeedWithDecimals", L, 21, "0,2000,4.5,40", {{E, L, 21, 3}}},
        {"ListWithoutItsEndLine", L, 26, "", {{E, L, 26, 0}, {E, L, 27, 0}}},
        {"MissingSignPicture", L, 25, "nosuch.bmp", {{E, L, 25, 0}}},
        {"TooManySoundDataFiles", L, 10, hundredOne.c_str(), {{E, L, 110, 0}, {E, L, 9, 0}}},
        {"PreTimeTooLarge", L, 2, "Test\n[Pre_Time]\n99999999", {{E, L, 4, 0}}},
        {"TunnelEndNotANumber", L, 2, "Test\n[Tunnel]\n10\nx\n#", {{E, L, 5, 0}}},
        {"SlopeGradientNotANumber", L, 2, "Test\n[Slope]\nabc,0,100\n#", {{E, L, 4, 1}}},
        {"EndPosNotANumber", L, 0, "[EndPos]\n9000x\n", {{E, L, 28, 0}}},
        {"SoundsReachTheMotorChannels", L, 10, hundred.c_str(), {{E, L, 9, 0}}},
        // Route file: warnings
        {"SignalRowsOutOfOrder", L, 17, "0,s1,6,1500,2000,900,950,0,0", {{W, L, 18, 4}}},
        {"StopFromAfterStopTo", L, 14, "B,0,2020,2000,0,870000,870100,0", {{W, L, 14, 3}}},
        {"StationsOutOfOrder", L, 14, "B,0,50,60,0,870000,870100,0", {{W, L, 14, 3}}},
        {"FirstStationWithoutStartPos", L, 4, "500", {{W, L, 13, 3}}},
        {"DepartureBeforeStartTime", L, 13, "A,0,90,110,0,800000,865000,1000", {{W, L, 13, 6}}},
        {"DeparturesOutOfOrder", L, 14, "B,0,2000,2020,0,864500,870100,0", {{W, L, 14, 6}}},
        {"SpeedLimitWithoutSign", L, 2, "Test\n[SpeedLimit]\n33,100,200,300\n#", {{W, L, 4, 1}}},
        {"SignImageBeyondItsList", L, 2, "Test\n[Sign]\n0,100,200\n#", {{W, L, 4, 1}}},
        {"AnnounceSoundBeyondSoundData", L, 2, "Test\n[Announce]\n3,500\n#", {{W, L, 4, 1}}},
        {"SlopeBeyondTheEndOfTheLine", L, 2, "Test\n[Slope]\n5,4000,4600\n#", {{W, L, 4, 3}, {W, L, 4, 1}}},
        // A diagnostic names the line that holds the value it is about: the
        // second position of a two-line entry, and the wave on the second
        // line of a call-out pair or of a picture and its call-out wave.
        {"TunnelBeyondTheEndOfTheLine", L, 2, "Test\n[Tunnel]\n4400\n4700\n#", {{W, L, 5, 0}}},
        {"CallOutWaveOnTheSecondLine", L, 2, "Test\n[KankoSound2]\ns1\nnosnd.wav\n#", {{W, L, 5, 0}}},
        {"PictureWaveOnTheSecondLine", L, 2, "Test\n[OtherImageList]\nsign.bmp\nnosnd.wav\n#", {{W, L, 5, 0}}},
        // Every table with positions is checked against the end of the line.
        {"StopSoundBeyondTheEndOfTheLine", L, 2, "Test\n[StopSound]\n4505\n#", {{W, L, 4, 1}}},
        {"SpeedCheckBeyondTheEndOfTheLine", L, 2, "Test\n[SpeedCheck]\n60,4600\n#", {{W, L, 4, 2}}},
        {"EndPosMovesTheEndOfTheLine",
         L,
         2,
         "Test\n[EndPos]\n9000\n[Slope]\n5,4000,4600\n#",
         {{W, L, 6, 1}, {W, L, 27, 2}}},
        {"SpeedUnitRowOfNoFrames", L, 22, "2000,2000,40,40\n2000,4500,40,40", {{W, L, 22, 2}}},
        {"SpeedUnitGap", L, 22, "2100,4500,40,40", {{W, L, 22, 1}}},
        {"SpeedUnitOverlap", L, 22, "1900,4500,40,40", {{W, L, 22, 1}}},
        {"SpeedUnitEndsBeforeTheRoute", L, 22, "2000,3000,40,40", {{W, L, 22, 2}}},
        {"RecordedSpeedZeroOutsideAStop", L, 21, "0,2000,0,40", {{W, L, 13, 3}, {W, L, 21, 3}}},
        {"CallOutNoSignalCarries", L, 2, "Test\n[KankoSound2]\nXYZ\nsnd.wav\n#", {{W, L, 4, 0}}},
        {"UnreadableRouteWave", L, 10, "nosnd.wav", {{W, L, 10, 0}}},
        // Train file: errors
        {"NoCars", T, 10, "0", {{E, T, 10, 0}}},
        {"TooManyCars", T, 10, "21", {{E, T, 10, 0}}},
        {"LessThanATonne", T, 12, "0.5", {{E, T, 12, 0}}},
        {"NotchRowsDifferFromPower", T, 6, "3", {{E, T, 24, 0}}},
        {"NotchForADieselRailcar", T, 8, "0", {{E, T, 24, 0}}},
        {"NotchSpeedMistyped", T, 16, "4O", {{E, T, 16, 0}}},
        {"TooFewBrakeSteps", T, 4, "2", {{E, T, 4, 0}}},
        {"MissingPanelPicture", T, 29, "nopanel.bmp", {{E, T, 29, 0}}},
        {"PanelFarOffTheWindow", T, 30, "20000", {{E, T, 30, 0}}},
        {"EngineForAnElectricTrain", T, 0, "[Engine]\n10\n20\n30\n1\n1\n1\n#\n", {{E, T, 39, 0}}},
        {"MotorSoundCutOffByTheEndOfTheFile", T, 0, "[MotorSound]\nsnd.wav\n0\n", {{E, T, 35, 0}}},
        // Train file: warnings
        {"UnreadableDriveSound", T, 26, "none.wav", {{W, T, 26, 0}}},
    };
    return cases;
}

class Catalogue : public testing::TestWithParam<Case> {};

}  // namespace

TEST(DataCheck, TheCatalogueBaseIsClean) {
    TempDir d;
    writeFolder(d, Case{"", "", 0, "", {}});
    EXPECT_EQ(located(check(d)), std::vector<Expect>{});
}

TEST_P(Catalogue, GivesItsDiagnostics) {
    const Case& c = GetParam();
    TempDir d;
    writeFolder(d, c);
    const Diagnostics found = check(d);
    EXPECT_EQ(located(found), c.expected);
    for (const auto& x : found.items()) EXPECT_FALSE(x.explanation.empty()) << x.file << ":" << x.line;
}

TEST_P(Catalogue, ARunEndsWithTheCheckersFirstError) {
    const Case& c = GetParam();
    TempDir d;
    writeFolder(d, c);
    const Diagnostics found = check(d);
    const Diagnostic* first = nullptr;
    for (const auto& x : found.items())
        if (x.severity == Severity::Error && !first) first = &x;

    RunFixture f;
    writeFolder(f.dir, c);
    {
        ScopedCwd cwd(f.dir.path());
        f.sound.startUp();
        f.run =
            std::make_unique<DrivingRun>("789", RunServices{f.boxes, f.clock, f.pictures, f.sound, f.video, f.host});
        try {
            f.run->formCreate();
        } catch (const FatalError&) {
            f.fatal = true;
        }
    }
    ASSERT_EQ(f.fatal, first != nullptr);
    if (!first) return;
    ASSERT_EQ(f.boxes.all().size(), 1u);
    EXPECT_EQ(f.boxes.all()[0], first->message);
    // The run's box carries the checker's location of the same problem.
    const std::string details = f.boxes.allDetails()[0];
    EXPECT_NE(details.find(first->explanation), std::string::npos) << details;
    // The readers know the line; the later steps of the loading sequence only the section.
    const bool fromReader = first->message.rfind("ブレーキ", 0) != 0 && first->section != "[Panel]" &&
                            first->explanation.find("channels") == std::string::npos;
    if (first->line > 0 && fromReader) {
        EXPECT_EQ(details.rfind(first->file + ":" + std::to_string(first->line), 0), 0u) << details;
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, Catalogue, testing::ValuesIn(catalogue()),
                         [](const testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

TEST(DataCheck, AnEndOfTheLineNotAfterTheStartIsReported) {
    TempDir d;
    writeFolder(d, Case{"", L, 0, "[EndPos]\n100\n", {}});
    const Diagnostics found = check(d);
    int atEndPos = 0, beyondTheEnd = 0;
    for (const auto& x : found.items()) {
        atEndPos += x.section == "[EndPos]" && x.line == 28;
        beyondTheEnd += x.explanation.find("beyond the end of the line at 100") != std::string::npos;
    }
    EXPECT_EQ(atEndPos, 1);
    EXPECT_GT(beyondTheEnd, 0) << "positions are measured against [EndPos]";
}

TEST(DataCheck, MissingFilesAreErrorsOfTheirOwn) {
    TempDir d;
    d.write("789_line.txt", kRoute);
    ScopedCwd cwd(d.path());
    FakePictures pictures;
    CheckDevices devices{pictures, {}, {}};
    Diagnostics out;
    checkTrain("789", devices, out);
    std::vector<std::string> messages;
    for (const auto& x : out.items())
        if (x.severity == Severity::Error) messages.push_back(x.file + " " + x.message);
    EXPECT_EQ(messages,
              (std::vector<std::string>{
                  "mascon.txt mascon.txtが見つかりません", "789_line.txt 路線ファイルに誤りがあります。[SignImageList]",
                  "string.txt stringファイルに誤りがあります", "789_train.txt 車両ファイルに誤りがあります"}))
        << "the sign picture of the route is missing too";
}

// A diagnostic names the line that holds the value it is about, and the
// value by its name: a tunnel whose two positions stand on two lines is
// reported once at each line.
TEST(DataCheck, TheTwoPositionsOfATunnelAreReportedAtTheirOwnLines) {
    TempDir d;
    writeFolder(d, Case{"", L, 2, "Test\n[Tunnel]\n4600\n4700\n#", {}});
    const Diagnostics found = check(d);
    std::vector<std::string> places;
    for (const auto& x : found.items())
        if (x.section == "[Tunnel]") places.push_back(std::to_string(x.line) + " " + x.fieldName);
    EXPECT_EQ(places, (std::vector<std::string>{"4 fromPosition", "5 toPosition"}));
}

TEST(DataCheck, TheExplanationNamesTheFieldAndWhatIsAccepted) {
    TempDir d;
    writeFolder(d, catalogue()[6]);
    const Diagnostics found = check(d);
    ASSERT_EQ(found.count(Severity::Error), 1);
    const Diagnostic& e = found.items()[0];
    EXPECT_EQ(e.message, "路線ファイルに誤りがあります。[Station]");
    EXPECT_EQ(placeText(e), "[Station] row 1, field 6 departureTime");
    EXPECT_NE(e.explanation.find("\"8649OO\" is not a whole number"), std::string::npos) << e.explanation;
}

// Every table with positions gets the warning about positions beyond the end
// of the line: the tables and their frame columns come from the route file's
// description, so a new table with frames is checked without more code.
TEST(DataCheck, EveryTableWithPositionsIsCheckedAgainstTheEndOfTheLine) {
    std::vector<std::string> unchecked;
    for (const SectionDesc& s : routeSections()) {
        bool frames = false, checked = false;
        for (const ColumnDesc& c : s.columns) {
            frames = frames || c.type == ValueType::Frame;
            checked = checked || (c.type == ValueType::Frame && !c.mayPassTheEnd);
        }
        if (!s.isList() || !frames) continue;
        if (!checked) {
            unchecked.push_back(s.marker);
            continue;
        }
        // One row with every value plain and every frame at 4600, past the end at 4500.
        std::vector<std::string> values;
        for (const ColumnDesc& c : s.columns)
            values.push_back(c.type == ValueType::Frame ? "4600" : c.type == ValueType::Text ? "x" : "0");
        std::string entry;
        for (size_t i = 0; i < values.size(); ++i) entry += (i ? (s.commaRows ? "," : "\n") : "") + values[i];
        // Added at the end, so that it stands in place of a list the base file has.
        const std::string text = s.marker + "\n" + entry + "\n#\n";
        TempDir d;
        writeFolder(d, Case{"", L, 0, text.c_str(), {}});
        int beyond = 0;
        const Diagnostics found = check(d);
        for (const auto& x : found.items())
            beyond += x.section == s.marker && x.explanation.find("beyond the end of the line") != std::string::npos;
        EXPECT_GT(beyond, 0) << s.marker;
    }
    // A distance mark may stand anywhere in the video, past the end of the line too.
    EXPECT_EQ(unchecked, (std::vector<std::string>{"[SpeedUnit]", "[DistanceMark]"}))
        << "the recorded speed and the distance marks have rules of their own";
}

TEST(DataCheck, DistanceMarksOutOfOrderOrGoingBackAreReported) {
    TempDir d;
    writeFolder(d, Case{"", L, 0, "[DistanceMark]\n100,3400\n500,3600\n400,3900\n900,3500\n#\n", {}});
    const Diagnostics found = check(d);
    std::vector<std::string> marks;
    for (const auto& x : found.items())
        if (x.section == "[DistanceMark]") marks.push_back(x.explanation);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_NE(marks[0].find("marks out of order"), std::string::npos) << marks[0];
    EXPECT_NE(marks[1].find("a negative or no distance"), std::string::npos) << marks[1];
}
