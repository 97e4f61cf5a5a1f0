// The command line in Japanese: the checker's explanations with their values
// in place, every subcommand's --help without an English sentence of ours,
// and the machine-readable output the same in every language.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "program_runs.h"
#include "test_support.h"

namespace ts::test {
// The Windows-made data set of the drive-mode tests.
void makeWindowsDataSet(const TempDir& d);
}  // namespace ts::test

namespace {

using ts::test::trainsim;

// The Windows-made data set with one known warning: the second [SpeedUnit]
// row begins inside the first, which runs to 4500.
void makeDataSetWithAWarning(const ts::test::TempDir& d) {
    ts::test::makeWindowsDataSet(d);
    d.write("789_Line.TXT",
            "[LineName]\n北線\n[StartPos]\n100\n[FrameRate]\n15\n[Staf]\nImage\\STAFF.bmp\n[StartTime]\n864000\n"
            "[Pre_Time]\n20\n[Station]\n北駅,0,90,111,0,864600,864900,150000\n通過駅,1,500,520,0,0,0,0\n"
            "南駅,2,1000,1021,0,900000,899700,0\n終点,0,4000,4020,0,949700,950000,0\n#\n"
            "[SpeedUnit]\n0,4500,10,10\n4400,4600,10,10\n#\n"
            "[SignImageList]\nimage\\sign\\STOP.bmp\n#\n"
            "[SignalImageList]\nimage\\signal\\sig0.bmp\n#\n");
}

// Runs of three or more English words in `help`, leaving out what stays as
// written in every language: the command synopses (after "trainsim").
std::vector<std::string> englishSentences(const std::string& help) {
    std::vector<std::string> found;
    const std::regex words(R"([A-Za-z][a-z']*(?: [a-z][a-z']*){2,})");
    size_t from = 0;
    while (from < help.size()) {
        size_t end = help.find('\n', from);
        if (end == std::string::npos) end = help.size();
        std::string line = help.substr(from, end - from);
        from = end + 1;
        if (const size_t t = line.find("trainsim "); t != std::string::npos) line.erase(t);
        // A synopsis' continuation line: nothing but options in brackets.
        if (line.find_first_not_of(' ') != std::string::npos && line[line.find_first_not_of(' ')] == '[') continue;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), words); it != std::sregex_iterator(); ++it)
            found.push_back(it->str());
    }
    return found;
}

bool holdsJapanese(const std::string& text) {
    // Hiragana and katakana are three bytes in UTF-8 beginning with E3 81..E3 83.
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) == 0xE3 && static_cast<unsigned char>(text[i + 1]) >= 0x81 &&
            static_cast<unsigned char>(text[i + 1]) <= 0x83)
            return true;
    return false;
}

}  // namespace

TEST(JapaneseCommandLine, CheckExplainsAWarningInJapaneseWithItsValuesInPlace) {
    ts::test::TempDir d;
    makeDataSetWithAWarning(d);
    const std::string data = " --data '" + d.path().string() + "' 789";

    const auto ja = trainsim("--lang ja check" + data);
    EXPECT_EQ(ja.status, 0) << ja.text;
    EXPECT_NE(ja.text.find("警告: [SpeedUnit] 2 行目, 1 番目の項目"), std::string::npos) << ja.text;
    EXPECT_NE(ja.text.find("この行は 4500 まで続く一つ前の行と重なっています"), std::string::npos) << ja.text;
    EXPECT_NE(ja.text.find("789: エラー 0 件、警告 1 件"), std::string::npos) << ja.text;
    EXPECT_EQ(ja.text.find("overlaps"), std::string::npos) << ja.text;

    const auto en = trainsim("--lang en check" + data);
    EXPECT_EQ(en.status, 0) << en.text;
    EXPECT_NE(en.text.find("warning: [SpeedUnit] row 2, field 1"), std::string::npos) << en.text;
    EXPECT_NE(en.text.find("this row overlaps the previous one, which runs to 4500"), std::string::npos) << en.text;
    EXPECT_NE(en.text.find("789: 0 errors, 1 warning"), std::string::npos) << en.text;

    // The desktop's language picks Japanese as --lang does.
    const auto envJa = ts::test::runCommand("LC_ALL= LC_MESSAGES= LANG=ja_JP.UTF-8 '" TRAINSIM_BIN "' check" + data);
    EXPECT_EQ(envJa.text, ja.text);
}

TEST(JapaneseCommandLine, JsonLinesAreTheSameInEveryLanguage) {
    ts::test::TempDir d;
    makeDataSetWithAWarning(d);
    d.write("40_line.txt", "[StartPos]\nabc\n[Station]\nA,0,1,2\n#\n");
    d.write("40_train.txt", "[Cars]\n4\n");
    const std::string args = "check --json --data '" + d.path().string() + "'";
    const auto en = trainsim("--lang en " + args);
    const auto ja = trainsim("--lang ja " + args);
    EXPECT_EQ(en.status, 1);
    EXPECT_EQ(ja.status, 1);
    EXPECT_NE(en.text.find("\"explanation\":\"this row overlaps the previous one, which runs to 4500\""),
              std::string::npos)
        << en.text;
    EXPECT_NE(en.text.find("is not a whole number"), std::string::npos) << en.text;
    EXPECT_EQ(ja.text, en.text);
}

TEST(JapaneseCommandLine, EveryHelpIsInJapaneseButForNamesAndSynopses) {
    // The route editor's help is the editor's own (its translation lives with the editor's).
    for (const std::string command :
         {"", "drive", "check", "import-gps", "prepare-video", "pack", "install", "speed-from-video"}) {
        const auto help = trainsim("--lang ja " + command + (command.empty() ? "" : " ") + "--help");
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_TRUE(holdsJapanese(help.text)) << command << ":\n" << help.text;
        EXPECT_NE(help.text.find("使い方: trainsim"), std::string::npos) << help.text;
        EXPECT_NE(help.text.find("\n  --"), std::string::npos) << "its option lines:\n" << help.text;
        for (const std::string& s : englishSentences(help.text))
            ADD_FAILURE() << "trainsim " << command << " --help: English left: \"" << s << "\"\n" << help.text;
    }
    // The English help is English: the check finds its sentences.
    EXPECT_FALSE(englishSentences(trainsim("--lang en pack --help").text).empty());
    const auto env = ts::test::runCommand("LC_ALL= LC_MESSAGES= LANG=ja_JP.UTF-8 '" TRAINSIM_BIN "' pack --help");
    EXPECT_NE(env.text.find("動画そのものもパッケージに入れる"), std::string::npos) << env.text;
}

TEST(JapaneseCommandLine, RefusalsAndUnknownWordsAreInJapanese) {
    const auto unknown = trainsim("--lang ja check --frobnicate");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.text.find("不明なオプションか、値が足りません: '--frobnicate'"), std::string::npos)
        << unknown.text;
    const auto command = trainsim("--lang ja frobnicate");
    EXPECT_EQ(command.status, 2);
    EXPECT_NE(command.text.find("不明なコマンドです: 'frobnicate'"), std::string::npos) << command.text;
    const auto refused = trainsim("--lang ja --scale 7");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.text.find("--scale には 1, 1.5, 2, 3, full のいずれかを指定してください"), std::string::npos)
        << refused.text;
    const auto english = trainsim("--lang en --scale 7");
    EXPECT_NE(english.text.find("trainsim: --scale takes 1, 1.5, 2, 3 or full"), std::string::npos) << english.text;
}
