// "trainsim check" as a program: exit status, output and the data it passes.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "program_runs.h"
#include "test_support.h"

namespace {

using Output = ts::test::ProgramOutput;
using ts::test::trainsim;

}  // namespace

namespace ts::test {
// The Windows-made data set of the drive-mode tests.
void makeWindowsDataSet(const TempDir& d);
}  // namespace ts::test

TEST(CheckCommand, TheWindowsMadeDataSetHasNoErrorAndNoWarning) {
    ts::test::TempDir d;
    ts::test::makeWindowsDataSet(d);
    const Output o = trainsim("check --data '" + d.path().string() + "'");
    EXPECT_EQ(o.status, 0) << o.text;
    EXPECT_EQ(o.text.find("error:"), std::string::npos) << o.text;
    EXPECT_EQ(o.text.find("warning:"), std::string::npos) << o.text;
    EXPECT_NE(o.text.find("789: 0 errors, 0 warnings"), std::string::npos) << o.text;
}

TEST(CheckCommand, ErrorsGiveStatusOneAndCompilerStyleLines) {
    ts::test::TempDir d;
    ts::test::makeWindowsDataSet(d);
    d.write("40_line.txt", "[StartPos]\nabc\n[Station]\nA,0,1,2\n#\n");
    d.write("40_train.txt", "[Cars]\n4\n");
    const Output o = trainsim("check --data '" + d.path().string() + "' 40");
    EXPECT_EQ(o.status, 1) << o.text;
    EXPECT_NE(o.text.find("40_line.txt:2: error: [StartPos] startPosition: \"abc\" is not a whole number"),
              std::string::npos)
        << o.text;
    EXPECT_NE(o.text.find("40_line.txt:4:5: error: [Station] row 1, field 5 soundIndex: the row has 4 fields"),
              std::string::npos)
        << o.text;
    EXPECT_NE(o.text.find("(a run shows \"路線ファイルに誤りがあります。[Station]\")"), std::string::npos) << o.text;
    EXPECT_NE(o.text.find("40: 2 errors, 0 warnings"), std::string::npos) << o.text;

    const Output json = trainsim("check --json --data '" + d.path().string() + "' 40");
    EXPECT_EQ(json.status, 1);
    EXPECT_NE(
        json.text.find("{\"train\":\"40\",\"severity\":\"error\",\"file\":\"40_line.txt\",\"line\":4,\"column\":5,"
                       "\"section\":\"[Station]\",\"row\":1,\"field\":\"soundIndex\","
                       "\"message\":\"路線ファイルに誤りがあります。[Station]\""),
        std::string::npos)
        << json.text;
    EXPECT_EQ(json.text.find("errors,"), std::string::npos) << "JSON lines only";
}

TEST(CheckCommand, BadUsageGivesStatusTwo) {
    EXPECT_EQ(trainsim("check --frobnicate").status, 2);
    ts::test::TempDir empty;
    EXPECT_EQ(trainsim("check --data '" + empty.path().string() + "'").status, 2) << "no train to check";
}

TEST(CheckCommand, ADriveOnABrokenFileKeepsTheMessageAndTracesItsDetails) {
    ts::test::TempDir d;
    ts::test::makeWindowsDataSet(d);
    d.write("40_line.txt", "[StartPos]\nabc\n");
    d.write("40_train.txt", "[Cars]\n4\n");
    const std::string script = d.write("s.txt", "@0 start\n");
    const std::string trace = (d.path() / "t.jsonl").string();
    const Output o = trainsim("drive --train 40 --data '" + d.path().string() + "' --script '" + script +
                              "' --trace '" + trace + "'");
    EXPECT_EQ(o.status, 1);
    std::ifstream in(trace);
    std::string line, last;
    while (std::getline(in, line)) last = line;
    EXPECT_NE(last.find("\"messages\":[\"路線ファイルに誤りがあります。other\"]"), std::string::npos) << last;
    EXPECT_NE(last.find("\"messageDetails\":[\"40_line.txt:2: [StartPos] startPosition\\n\\\"abc\\\" is not a whole"),
              std::string::npos)
        << last;
}
