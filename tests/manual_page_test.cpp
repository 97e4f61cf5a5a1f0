// The manual page and --help cannot drift apart: every command and option
// that --help lists is in the manual page too.
#include <gtest/gtest.h>

#include <QProcess>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string helpText() {
    QProcess p;
    p.start(TRAINSIM_BIN, {"--help"});
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
    EXPECT_EQ(names, (std::set<std::string>{"drive", "check", "edit", "import-gps", "speed-from-video"}));
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
