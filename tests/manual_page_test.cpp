// The manual page and --help cannot drift apart: every command and option
// that --help lists is in the manual page too.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

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
std::string manualText() {
    std::ifstream in(TRAINSIM_MANPAGE);
    std::stringstream s;
    s << in.rdbuf();
    std::string t = std::regex_replace(s.str(), std::regex(R"(\\f[BIRP])"), "");
    return std::regex_replace(t, std::regex(R"(\\-)"), "-");
}

std::set<std::string> matches(const std::string& text, const std::regex& re, int group = 0) {
    std::set<std::string> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        out.insert((*it)[group].str());
    return out;
}

}  // namespace

TEST(ManualPage, ListsEveryCommandAndOptionOfHelp) {
    const std::string help = helpText();
    const std::string page = manualText();
    ASSERT_NE(help.find("Commands:"), std::string::npos) << help;
    ASSERT_NE(page.find(".SH COMMANDS"), std::string::npos);

    // Commands: the first word of each entry under "Commands:".
    const std::string commands = help.substr(help.find("Commands:"), help.find("Options:") - help.find("Commands:"));
    const auto names = matches(commands, std::regex(R"(\n  ([a-z][a-z-]+)\s)"), 1);
    EXPECT_EQ(names, (std::set<std::string>{"drive", "check", "edit", "import-gps", "prepare-video", "pack", "install",
                                            "speed-from-video"}));
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
TEST(ManualPage, OptionsSectionIsTheCommandsOptionTables) {
    const std::string page = manualText();
    const size_t from = page.find(".SH OPTIONS"), to = page.find(".SH KEYS");
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    const std::string options = page.substr(from, to - from);
    // The options an entry's heading (the line after .TP) names.
    const auto described = matches(options, std::regex(R"(\.TP\n\.B[IR]* ([^\n]*))"), 1);
    std::set<std::string> entries;
    for (const std::string& heading : described)
        for (const std::string& o : matches(heading, std::regex(R"(--?[a-z][a-z-]*)"))) entries.insert(o);

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
    for (const char* command :
         {"drive", "check", "edit", "import-gps", "prepare-video", "pack", "install", "speed-from-video"}) {
        const std::string help = helpText({command, "--help"});
        ASSERT_NE(help.find("usage: trainsim " + std::string(command)), std::string::npos) << help;
        collect(help, command);
    }
    EXPECT_GE(listed.size(), 30u);
    for (const std::string& o : listed) EXPECT_TRUE(entries.count(o)) << o << " has no entry under OPTIONS";
    for (const std::string& o : entries)
        EXPECT_TRUE(listed.count(o)) << o << " is under OPTIONS but no command lists it";
}
