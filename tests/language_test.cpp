// The language choice (the environment, --lang wherever it stands), the
// core's placeholders that let a translation reorder its arguments, and the
// language check that the windows' test runs over every window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "language.h"
#include "shown_text_check.h"
#include "text/our_text.h"

using namespace ts;

namespace {

// Sets (or unsets, for nullptr) the locale variables for one test and puts
// back what was there.
class LocaleEnvironment {
public:
    LocaleEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
        const char* values[] = {lcAll, lcMessages, lang};
        for (int i = 0; i < 3; ++i) {
            const char* old = std::getenv(kNames[i]);
            saved_[i] = old ? std::optional<std::string>(old) : std::nullopt;
            set(kNames[i], values[i]);
        }
    }
    ~LocaleEnvironment() {
        for (int i = 0; i < 3; ++i) set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    }

private:
    static void set(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::optional<std::string> saved_[3];
};

// argv as main() gets it, from words; the words stay alive with it.
struct Arguments {
    explicit Arguments(std::vector<std::string> w) : words(std::move(w)) {
        for (auto& s : words) pointers.push_back(s.data());
        pointers.push_back(nullptr);
        argc = int(words.size());
    }
    std::vector<std::string> left() const { return {pointers.begin(), pointers.begin() + argc}; }
    std::vector<std::string> words;
    std::vector<char*> pointers;
    int argc = 0;
};

Language take(Arguments& a, std::string& error) { return takeLanguageArgument(a.argc, a.pointers.data(), error); }

}  // namespace

TEST(LanguageChoice, WordsOfBothLanguagesAndOthers) {
    EXPECT_EQ(parseLanguage("ja"), Language::Japanese);
    EXPECT_EQ(parseLanguage("ja_JP.UTF-8"), Language::Japanese);
    EXPECT_EQ(parseLanguage("JA_jp.eucJP"), Language::Japanese);
    EXPECT_EQ(parseLanguage("en"), Language::English);
    EXPECT_EQ(parseLanguage("en_GB.UTF-8"), Language::English);
    EXPECT_EQ(parseLanguage("C"), Language::English);
    EXPECT_EQ(parseLanguage("C.UTF-8"), Language::English);
    EXPECT_EQ(parseLanguage("POSIX"), Language::English);
    EXPECT_EQ(parseLanguage(""), std::nullopt);
    EXPECT_EQ(parseLanguage("de_DE.UTF-8"), std::nullopt);
    EXPECT_EQ(parseLanguage("j"), std::nullopt);
}

TEST(LanguageChoice, EnvironmentInPosixOrder) {
    {
        LocaleEnvironment env(nullptr, nullptr, "ja_JP.UTF-8");
        EXPECT_EQ(languageFromEnvironment(), Language::Japanese);
    }
    {
        LocaleEnvironment env(nullptr, "en_US.UTF-8", "ja_JP.UTF-8");
        EXPECT_EQ(languageFromEnvironment(), Language::English);
    }
    {
        LocaleEnvironment env("ja_JP.UTF-8", "en_US.UTF-8", "en_US.UTF-8");
        EXPECT_EQ(languageFromEnvironment(), Language::Japanese);
    }
    {
        // An empty variable counts as unset, as POSIX has it.
        LocaleEnvironment env("", "ja_JP.UTF-8", "C");
        EXPECT_EQ(languageFromEnvironment(), Language::Japanese);
    }
    {
        // The first one set decides, even when it names a third language.
        LocaleEnvironment env("de_DE.UTF-8", nullptr, "ja_JP.UTF-8");
        EXPECT_EQ(languageFromEnvironment(), Language::English);
    }
    {
        LocaleEnvironment env(nullptr, nullptr, nullptr);
        EXPECT_EQ(languageFromEnvironment(), Language::English);
    }
}

TEST(LanguageChoice, LangArgumentTakenWhereverItStands) {
    LocaleEnvironment env(nullptr, nullptr, "en_US.UTF-8");
    std::string error;
    Arguments first({"trainsim", "--lang", "ja", "check", "route.txt"});
    EXPECT_EQ(take(first, error), Language::Japanese);
    EXPECT_EQ(first.left(), (std::vector<std::string>{"trainsim", "check", "route.txt"}));
    EXPECT_EQ(first.pointers[std::size_t(first.argc)], nullptr);

    Arguments last({"trainsim", "check", "route.txt", "--lang=ja"});
    EXPECT_EQ(take(last, error), Language::Japanese);
    EXPECT_EQ(last.left(), (std::vector<std::string>{"trainsim", "check", "route.txt"}));

    // The last one given wins, as with other options.
    Arguments twice({"trainsim", "--lang=ja", "drive", "--lang", "en"});
    EXPECT_EQ(take(twice, error), Language::English);
    EXPECT_EQ(twice.left(), (std::vector<std::string>{"trainsim", "drive"}));
    EXPECT_TRUE(error.empty());

    LocaleEnvironment japanese(nullptr, nullptr, "ja_JP.UTF-8");
    Arguments none({"trainsim", "drive", "-s", "x"});
    EXPECT_EQ(take(none, error), Language::Japanese);
    EXPECT_EQ(none.left(), (std::vector<std::string>{"trainsim", "drive", "-s", "x"}));
    EXPECT_TRUE(error.empty());
}

TEST(LanguageChoice, BadWordsAndTheEndOfOptions) {
    LocaleEnvironment env(nullptr, nullptr, "C");
    {
        std::string error;
        Arguments bad({"trainsim", "--lang", "de", "check"});
        EXPECT_EQ(take(bad, error), Language::English);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(bad.left(), (std::vector<std::string>{"trainsim", "check"}));
    }
    {
        // "ja_JP" is a locale, not one of the option's two words.
        std::string error;
        Arguments locale({"trainsim", "--lang=ja_JP"});
        take(locale, error);
        EXPECT_FALSE(error.empty());
    }
    {
        std::string error;
        Arguments missing({"trainsim", "check", "--lang"});
        EXPECT_EQ(take(missing, error), Language::English);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(missing.left(), (std::vector<std::string>{"trainsim", "check"}));
    }
    {
        // After "--" a file may be called "--lang": it is left for the subcommand.
        std::string error;
        Arguments operands({"trainsim", "--lang", "ja", "pack", "--", "--lang", "en", "--lang=en"});
        EXPECT_EQ(take(operands, error), Language::Japanese);
        EXPECT_TRUE(error.empty());
        EXPECT_EQ(operands.left(), (std::vector<std::string>{"trainsim", "pack", "--", "--lang", "en", "--lang=en"}));
    }
}

TEST(CoreTexts, PlaceholdersInAnyOrder) {
    EXPECT_EQ(withArgs("%1 km at %2", {"3.5", "12:00"}), "3.5 km at 12:00");
    EXPECT_EQ(withArgs("%2で%1 km", {"3.5", "12:00"}), "12:00で3.5 km");
    EXPECT_EQ(withArgs("%1 and %1", {"x"}), "x and x");
    EXPECT_EQ(withArgs("100%% of %1", {"it"}), "100% of it");
    // An argument holding a placeholder is not expanded again.
    EXPECT_EQ(withArgs("%1 %2", {"%2", "b"}), "%2 b");
    // A placeholder without an argument stays as written.
    EXPECT_EQ(withArgs("%1 %3", {"a"}), "a %3");
    EXPECT_EQ(withArgs("%9", {"1", "2", "3", "4", "5", "6", "7", "8", "nine"}), "nine");
}

TEST(CoreTexts, EnglishWithoutATranslator) {
    useLanguage(Language::English);
    EXPECT_EQ(trText("Nowhere", "Left as written"), "Left as written");
    EXPECT_EQ(ourText("Nowhere", "Left as written"), QStringLiteral("Left as written"));
}

// The check itself, on a window made here: what it finds and what it lets stand.
TEST(ShownTextCheck, FindsEveryKindOfTextAndHonoursTheAllowance) {
    QWidget window;
    window.setWindowTitle(QStringLiteral("桜ヶ丘線 - 運転"));
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(QStringLiteral("<b>速度</b> 80 km/h"), &window);
    label->setToolTip(QStringLiteral("Speed shown"));
    layout->addWidget(label);
    auto* group = new QGroupBox(QStringLiteral("設定"), &window);
    layout->addWidget(group);
    auto* combo = new QComboBox(group);
    combo->addItems({QStringLiteral("キーボード"), QStringLiteral("Keyboard")});
    auto* table = new QTableWidget(1, 2, &window);
    table->setHorizontalHeaderLabels({QStringLiteral("駅"), QStringLiteral("Arrival")});
    layout->addWidget(table);
    auto* bar = new QMenuBar(&window);
    QMenu* menu = bar->addMenu(QStringLiteral("表示"));
    QMenu* sub = menu->addMenu(QStringLiteral("言語"));
    QAction* pause = sub->addAction(QStringLiteral("一時停止(S)"));
    pause->setToolTip(QStringLiteral("Pause"));

    const auto shown = test::shownTextsOf(&window);
    auto holds = [&](const QString& text) {
        return std::any_of(shown.begin(), shown.end(), [&](const test::ShownTextItem& i) { return i.text == text; });
    };
    EXPECT_TRUE(holds(QStringLiteral("速度 80 km/h")));  // rich text as plain words
    EXPECT_TRUE(holds(QStringLiteral("Speed shown")));
    EXPECT_TRUE(holds(QStringLiteral("Keyboard")));
    EXPECT_TRUE(holds(QStringLiteral("Arrival")));
    EXPECT_TRUE(holds(QStringLiteral("一時停止(S)")));  // an action two menus down
    EXPECT_TRUE(holds(QStringLiteral("Pause")));

    test::ShownTextAllowance allowed;
    const QStringList english = test::englishOfOurs(shown, allowed);
    EXPECT_EQ(english.size(), 4) << english.join(QLatin1Char('\n')).toStdString();
    allowed.words = {QStringLiteral("speed"), QStringLiteral("SHOWN"), QStringLiteral("keyboard"),
                     QStringLiteral("arrival"), QStringLiteral("pause")};
    EXPECT_TRUE(test::englishOfOurs(shown, allowed).isEmpty());

    const QStringList japanese = test::japaneseOfOurs(shown, allowed);
    EXPECT_EQ(japanese.size(), 8) << japanese.join(QLatin1Char('\n')).toStdString();
    allowed.texts = {QStringLiteral("一時停止(S)"), QStringLiteral("桜ヶ丘線"), QStringLiteral("運転"),
                     QStringLiteral("速度"),        QStringLiteral("設定"),     QStringLiteral("キーボード"),
                     QStringLiteral("駅"),          QStringLiteral("表示"),     QStringLiteral("言語")};
    EXPECT_TRUE(test::japaneseOfOurs(shown, allowed).isEmpty())
        << test::japaneseOfOurs(shown, allowed).join(QLatin1Char('\n')).toStdString();
}

TEST(ShownTextCheck, NamesAndNumbersAreNotWords) {
    const std::vector<test::ShownTextItem> shown = {{QStringLiteral("a"), QStringLiteral("route1.txt を開けません")},
                                                    {QStringLiteral("b"), QStringLiteral("x86_64、mp4 2 GB")},
                                                    {QStringLiteral("c"), QStringLiteral("ファイル(&F)")},
                                                    {QStringLiteral("d"), QStringLiteral("Open file")}};
    const QStringList english = test::englishOfOurs(shown, {});
    ASSERT_EQ(english.size(), 1) << english.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(english[0].startsWith(QStringLiteral("d: ")));
    const std::vector<test::ShownTextItem> sentences = {
        {QStringLiteral("e"), QStringLiteral("開く file...")},
        {QStringLiteral("f"), QStringLiteral("C:\\data\\route.txt. Done")}};
    EXPECT_EQ(test::englishOfOurs(sentences, {}).size(), 2);
    EXPECT_TRUE(test::isJapaneseChar(U'、'));
    EXPECT_TRUE(test::isJapaneseChar(U'ｱ'));
    EXPECT_FALSE(test::isJapaneseChar(U'é'));
}

int main(int argc, char** argv) {
    // The windows need no screen (the test list is read without one too).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
