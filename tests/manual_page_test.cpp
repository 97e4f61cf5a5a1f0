// The manual pages and --help cannot drift apart: every command and option
// that --help lists is in the English and the Japanese manual page, and the
// two pages describe the same options for the same commands.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <fstream>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kCommands[] = {"drive",         "check", "edit",    "import-gps",
                                 "prepare-video", "pack",  "install", "speed-from-video"};

// A page and the headings of its sections, which are in the page's language.
struct Page {
    const char* name;
    const char* path;
    const char* synopsis;
    const char* description;
    const char* commands;
    const char* options;
    const char* keys;
};

// Names the page in the tests' names and messages, rather than its bytes.
void PrintTo(const Page& page, std::ostream* out) { *out << page.name; }

const Page kEnglish{"English",      TRAINSIM_MANPAGE, ".SH SYNOPSIS", ".SH DESCRIPTION",
                    ".SH COMMANDS", ".SH OPTIONS",    ".SH KEYS"};
const Page kJapanese{"Japanese",     TRAINSIM_MANPAGE_JA, ".SH 書式",    ".SH 説明",
                     ".SH コマンド", ".SH オプション",    ".SH キー操作"};

std::string helpText(const QStringList& args = {"--help"}) {
    QProcess p;
    // The page is English: so is the help it is held against, whatever the desktop's language.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("LC_MESSAGES"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    p.setProcessEnvironment(env);
    p.start(TRAINSIM_BIN, args);
    if (!p.waitForFinished(30000)) return {};
    return p.readAllStandardOutput().toStdString();
}

// The page as it reads: roff's escaped hyphens plain, font changes gone.
std::string manualText(const Page& page) {
    std::ifstream in(page.path);
    std::stringstream s;
    s << in.rdbuf();
    std::string t = std::regex_replace(s.str(), std::regex(R"(\\f[BIRP])"), "");
    return std::regex_replace(t, std::regex(R"(\\-)"), "-");
}

// The text from one section heading to the next; empty when either is missing.
std::string section(const std::string& text, const char* from, const char* to) {
    const size_t a = text.find(std::string(from) + "\n"), b = text.find(std::string(to) + "\n");
    if (a == std::string::npos || b == std::string::npos || b < a) return {};
    return text.substr(a + std::string(from).size(), b - a - std::string(from).size());
}

std::set<std::string> matches(const std::string& text, const std::regex& re, int group = 0) {
    std::set<std::string> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        out.insert((*it)[group].str());
    return out;
}

// Every entry under OPTIONS in the order of the page: the options its heading
// names, and the commands its text says it belongs to ("(drive)", "（import-gps、
// speed-from-video）"; none for the program's own options).
using Entry = std::pair<std::set<std::string>, std::set<std::string>>;
std::vector<Entry> optionEntries(const std::string& options) {
    std::vector<Entry> out;
    const std::regex entry(R"(\.TP\n\.B[IR]* ([^\n]*)\n((?:[^.\n][^\n]*\n|\.(?!TP)[^\n]*\n)*))");
    const std::regex scope(R"((?:\(|（)([a-z-]+(?:(?:, |、)[a-z-]+)*)(?:\)|）))");
    const std::set<std::string> commands(std::begin(kCommands), std::end(kCommands));
    for (auto it = std::sregex_iterator(options.begin(), options.end(), entry); it != std::sregex_iterator(); ++it) {
        Entry e;
        e.first = matches((*it)[1].str(), std::regex(R"(--?[a-z][a-z-]*)"));
        const std::string text = (*it)[2].str();
        for (auto s = std::sregex_iterator(text.begin(), text.end(), scope); s != std::sregex_iterator(); ++s)
            for (const std::string& word : matches((*s)[1].str(), std::regex("[a-z-]+")))
                if (commands.count(word)) e.second.insert(word);
        out.push_back(std::move(e));
    }
    return out;
}

class ManualPage : public testing::TestWithParam<Page> {};

}  // namespace

TEST_P(ManualPage, ListsEveryCommandAndOptionOfHelp) {
    const std::string help = helpText();
    const std::string page = manualText(GetParam());
    ASSERT_NE(help.find("Commands:"), std::string::npos) << help;
    ASSERT_NE(page.find(std::string(GetParam().commands) + "\n"), std::string::npos);

    // Commands: the first word of each entry under "Commands:".
    const std::string commands = help.substr(help.find("Commands:"), help.find("Options:") - help.find("Commands:"));
    const auto names = matches(commands, std::regex(R"(\n  ([a-z][a-z-]+)\s)"), 1);
    EXPECT_EQ(names, std::set<std::string>(std::begin(kCommands), std::end(kCommands)));
    for (const std::string& c : names) {
        EXPECT_NE(page.find("\n.B trainsim " + c + "\n"), std::string::npos) << c << " is not in the synopsis";
        EXPECT_NE(page.find("\n.TP\n.B " + c + "\n"), std::string::npos) << c << " is not described";
    }
    // Options, wherever --help names them (the commands' own too).
    const auto options = matches(help, std::regex(R"((^|[\s\[(|,])(--?[a-z][a-z-]*))"), 2);
    EXPECT_GE(options.size(), 15u) << "the regular expression finds the options";
    for (const std::string& o : options)
        EXPECT_TRUE(std::regex_search(page, std::regex("(^|[^a-z-])" + o + "([^a-z-]|$)")))
            << o << " is not in the manual page";
}

// The option lines of every command's --help come from its option table; each
// option they list has an entry of its own under the page's OPTIONS, and each
// entry there is an option some command lists: neither can drift from the tables.
TEST_P(ManualPage, OptionsSectionIsTheCommandsOptionTables) {
    const std::string options = section(manualText(GetParam()), GetParam().options, GetParam().keys);
    ASSERT_FALSE(options.empty()) << "no options section before the keys";
    std::set<std::string> entries;
    for (const Entry& e : optionEntries(options)) entries.insert(e.first.begin(), e.first.end());

    std::set<std::string> listed;
    const std::regex optionLine(R"(\n  (--?[a-z][a-z-]*)(, (-[a-z]))?)");
    auto collect = [&](const std::string& help, const char* command) {
        int lines = 0;
        for (auto it = std::sregex_iterator(help.begin(), help.end(), optionLine); it != std::sregex_iterator(); ++it) {
            ++lines;
            listed.insert((*it)[1].str());
            if ((*it)[3].matched) listed.insert((*it)[3].str());
        }
        EXPECT_GE(lines, 2) << command << " lists no options:\n" << help;
    };
    const std::string main = helpText();
    collect(main.substr(main.find("Options:")), "trainsim");
    for (const char* command : kCommands) {
        const std::string help = helpText({command, "--help"});
        ASSERT_NE(help.find("usage: trainsim " + std::string(command)), std::string::npos) << help;
        collect(help, command);
    }
    EXPECT_GE(listed.size(), 30u);
    for (const std::string& o : listed) EXPECT_TRUE(entries.count(o)) << o << " has no entry under OPTIONS";
    for (const std::string& o : entries)
        EXPECT_TRUE(listed.count(o)) << o << " is under OPTIONS but no command lists it";
}

INSTANTIATE_TEST_SUITE_P(Pages, ManualPage, testing::Values(kEnglish, kJapanese),
                         [](const testing::TestParamInfo<Page>& info) { return std::string(info.param.name); });

// The Japanese page is a translation of the English one: the same synopsis
// word for word, and under OPTIONS the same entries in the same order, each
// naming the same options for the same commands.
TEST(ManualPages, TheJapanesePageHasTheEnglishPagesOptionsForEveryCommand) {
    const std::string english = manualText(kEnglish), japanese = manualText(kJapanese);
    const std::string synopsis = section(english, kEnglish.synopsis, kEnglish.description);
    ASSERT_NE(synopsis.find(".B trainsim drive"), std::string::npos);
    EXPECT_EQ(section(japanese, kJapanese.synopsis, kJapanese.description), synopsis);

    const auto en = optionEntries(section(english, kEnglish.options, kEnglish.keys));
    const auto ja = optionEntries(section(japanese, kJapanese.options, kJapanese.keys));
    ASSERT_GE(en.size(), 30u) << "the entries are found";
    size_t scoped = 0;
    for (const Entry& e : en) scoped += !e.second.empty();
    EXPECT_GE(scoped, 20u) << "the commands an entry belongs to are found";
    ASSERT_EQ(ja.size(), en.size());
    for (size_t i = 0; i < en.size(); ++i) {
        const std::string heading = en[i].first.empty() ? "?" : *en[i].first.begin();
        EXPECT_EQ(ja[i].first, en[i].first) << "entry " << i << " (" << heading << ")";
        EXPECT_EQ(ja[i].second, en[i].second) << "entry " << i << " (" << heading << ") belongs to other commands";
    }
    // Both pages name each other, so a reader of either finds the other.
    EXPECT_NE(english.find("desktop/trainsim.ja.1"), std::string::npos);
    EXPECT_NE(english.find("man -L ja trainsim"), std::string::npos);
    EXPECT_NE(japanese.find("desktop/trainsim.1"), std::string::npos);
    EXPECT_NE(japanese.find("man -L C trainsim"), std::string::npos);
}
