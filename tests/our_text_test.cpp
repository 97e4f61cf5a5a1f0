// Texts of ours in the user's language: the core's trText and withArgs with
// and without a translator, the program's Japanese translations through them,
// and the translation files' placeholders.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtGlobal>

#include <set>
#include <string>

#include "command_line.h"
#include "language.h"
#include "motion/speed_summary.h"
#include "report/drive_report.h"
#include "text/our_text.h"

using namespace ts;

namespace {

std::string shouting(const char* context, const char* text) { return std::string(context) + ":" + text; }

// The language a test chose is undone however it ends.
struct EnglishAfterwards {
    ~EnglishAfterwards() { useLanguage(Language::English); }
};

}  // namespace

TEST(OurText, WithArgsPutsEachValueWhereThePatternSays) {
    EXPECT_EQ(withArgs("%1 of %2", {"3", "7"}), "3 of 7");
    EXPECT_EQ(withArgs("%2 枚中 %1 枚", {"3", "7"}), "7 枚中 3 枚") << "a translation may reorder them";
    EXPECT_EQ(withArgs("%1_line.txt and %1_train.txt", {"40"}), "40_line.txt and 40_train.txt");
    EXPECT_EQ(withArgs("100 %, %% and %3", {"a"}), "100 %, % and %3") << "no value for %3: it stays";
    EXPECT_EQ(withArgs("%1", {"%2"}), "%2") << "a value is not read as a pattern";
    EXPECT_EQ(withArgs("ends with %", {}), "ends with %");
}

TEST(OurText, TrTextAsksTheInstalledTranslatorOnly) {
    EXPECT_EQ(trText("DataCheck", "the stop sign"), "the stop sign");
    setTextTranslator(&shouting);
    EXPECT_EQ(trText("DataCheck", "the stop sign"), "DataCheck:the stop sign");
    setTextTranslator(nullptr);
    EXPECT_EQ(trText("DataCheck", "the stop sign"), "the stop sign");
}

TEST(OurText, JapaneseReachesTheCoreAndTheCommandLineAndEnglishComesBack) {
    EnglishAfterwards undo;
    const char* pattern = "position %1 is beyond the video's last frame %2";
    const std::string english = withArgs(trText("DataCheck", pattern), {"120", "99"});
    const CommandOption option =
        valueOption("--data", "DIR", QT_TRANSLATE_NOOP("Options", "read the data files from DIR"),
                    [](const std::string&) { return OptionAnswer::accepted(); });
    const std::string englishLines = optionLines({option}, 12);

    useLanguage(Language::Japanese);
    EXPECT_EQ(withArgs(trText("DataCheck", pattern), {"120", "99"}), "位置 120 は動画の最終フレーム 99 より先です");
    EXPECT_EQ(optionLines({option}, 12), "  --data DIR  データファイルを DIR から読み込む\n");
    EXPECT_EQ(unknownOption("--x"), "不明なオプションか、値が足りません: '--x'");
    EXPECT_EQ(usageLine("trainsim check"), "使い方: trainsim check\n");
    // A text no translation knows stays as written.
    EXPECT_EQ(trText("DataCheck", "no such text"), "no such text");

    useLanguage(Language::English);
    EXPECT_EQ(withArgs(trText("DataCheck", pattern), {"120", "99"}), english);
    EXPECT_EQ(optionLines({option}, 12), englishLines);
    EXPECT_EQ(englishLines, "  --data DIR  read the data files from DIR\n");
}

// The drive report's deductions and verdict are for people: in Japanese
// with the names and figures in place, and back in English as they were.
TEST(OurText, TheDriveScoreSpeaksTheLanguageChosen) {
    EnglishAfterwards undo;
    DriveReport report;
    StationVisit visit;
    visit.name = "北駅";
    visit.passed = true;
    report.stations.push_back(visit);
    report.maxDecelerationMs2 = 2.25;

    scoreReport(report);
    ASSERT_EQ(report.deductions.size(), 2u);
    EXPECT_EQ(report.deductions[0].what, "ran through 北駅 without stopping");
    EXPECT_EQ(report.deductions[1].what, "braked hard (2.25 m/s²)");
    EXPECT_EQ(report.verdict, "Good driving: most points lost for ran through 北駅 without stopping.");

    useLanguage(Language::Japanese);
    scoreReport(report);
    ASSERT_EQ(report.deductions.size(), 2u);
    EXPECT_EQ(report.deductions[0].what, "北駅を通過 (停車せず)");
    EXPECT_EQ(report.deductions[1].what, "急ブレーキ (2.25 m/s²)");
    EXPECT_EQ(report.verdict, "良い運転です。いちばん大きな減点: 北駅を通過 (停車せず)。");
    EXPECT_EQ(report.score, 80);
}

// The speed-from-video summary the editor's dialog and the subcommand show:
// each line in Japanese with its figures in place, and as before in English.
TEST(OurText, TheSpeedSummarySpeaksTheLanguageChosen) {
    EnglishAfterwards undo;
    motion::SpeedResult result;
    result.kmh.assign(300, 36.0);
    result.standstills.push_back({30, 89});
    result.tolerance = 1;
    const motion::SpeedRequest request;
    const motion::SummarySource source{"video\\ride.mp4", true, "the speed 36.0 km/h at frame 200"};
    const std::vector<std::string> english = motion::summarise(result, request, source);
    ASSERT_EQ(english.size(), 6u);
    EXPECT_EQ(english[0], "video: video\\ride.mp4, 300 frames (motion from the cache)");
    EXPECT_EQ(english[2], "  frames 30-89 (2.0 s)");
    EXPECT_EQ(english[4], "distance the video covers: 0.100 km, top speed 36.0 km/h");

    useLanguage(Language::Japanese);
    const std::vector<std::string> japanese = motion::summarise(result, request, source);
    ASSERT_EQ(japanese.size(), 6u);
    EXPECT_EQ(japanese[0], "動画: video\\ride.mp4、300 フレーム (動きはキャッシュから)");
    EXPECT_EQ(japanese[2], "  フレーム 30-89 (2.0 秒)");
    EXPECT_EQ(japanese[4], "動画の走行距離: 0.100 km、最高速度 36.0 km/h");

    useLanguage(Language::English);
    EXPECT_EQ(motion::summarise(result, request, source), english);
}

// A translation that loses a placeholder shows a wrong or missing value; one
// that adds one shows "%3" to the user. Every finished translation of every
// file keeps exactly its source's.
TEST(OurText, EveryTranslationKeepsItsSourcesPlaceholders) {
    const QDir dir(QStringLiteral(TRAINSIM_TRANSLATIONS));
    const QStringList files = dir.entryList({QStringLiteral("*_ja.ts")}, QDir::Files);
    ASSERT_GE(files.size(), 4) << dir.path().toStdString();
    const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    auto placeholders = [&](const QString& s) {
        std::set<QString> out;
        for (auto it = placeholder.globalMatch(s); it.hasNext();) out.insert(it.next().captured());
        return out;
    };
    int finished = 0;
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        QXmlStreamReader xml(&f);
        QString source;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == QStringLiteral("source"))
                source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (xml.name() != QStringLiteral("translation")) continue;
            const bool unfinished = xml.attributes().value(QStringLiteral("type")) == QStringLiteral("unfinished");
            const QString translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (unfinished || translation.isEmpty()) continue;
            ++finished;
            EXPECT_EQ(placeholders(translation), placeholders(source))
                << name.toStdString() << ": \"" << source.toStdString() << "\" -> \"" << translation.toStdString()
                << "\"";
        }
        EXPECT_FALSE(xml.hasError()) << name.toStdString() << ": " << xml.errorString().toStdString();
    }
    EXPECT_GT(finished, 200);
}
