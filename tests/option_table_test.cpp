// The option table every command parses its words with: values, optional
// values, what ends the walk, operands, and the help lines it prints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line.h"

using namespace ts;

namespace {

// A command line of words, as main() hands them on.
struct Words {
    explicit Words(std::vector<std::string> w) : words(std::move(w)) {
        for (std::string& s : words) argv.push_back(s.data());
    }
    int argc() const { return int(argv.size()); }
    std::vector<std::string> words;
    std::vector<char*> argv;
};

struct Command {
    std::string data;
    int port = -1;
    bool json = false;
    std::vector<std::string> applied;  // in the order the table applied them
    std::vector<std::string> operands;

    CommandLine line(bool withOperands) {
        CommandLine l;
        l.options = {
            valueOption("--data", "DIR", "read from DIR",
                        [this](const std::string& v) {
                            data = v;
                            applied.push_back("--data");
                            return OptionAnswer::accepted();
                        }),
            valueMayBeLeftOut(valueOption("--link", "PORT", "open the link\nsecond line",
                                          [this](const std::string& v) {
                                              if (v.empty() || v.find_first_not_of("0123456789") != std::string::npos)
                                                  return OptionAnswer::refused("--link takes a port");
                                              port = std::stoi(v);
                                              return OptionAnswer::accepted();
                                          }),
                              [this] {
                                  port = 47800;
                                  return OptionAnswer::accepted();
                              }),
            switchOption("--json", "JSON lines",
                         [this] {
                             json = true;
                             applied.push_back("--json");
                             return OptionAnswer::accepted();
                         }),
            alsoNamed(switchOption("--help", "show this help", [] { return OptionAnswer::exitWith(0); }), "-h"),
            valueOption("-platform", "NAME", "", [](const std::string&) { return OptionAnswer::accepted(); }),
        };
        if (withOperands) {
            l.operand = [this](const std::string& w) {
                if (operands.size() == 2) return OptionAnswer::refused("'" + w + "' is one too many");
                operands.push_back(w);
                return OptionAnswer::accepted();
            };
        }
        return l;
    }
};

ParsedLine parse(Command& c, std::vector<std::string> words, bool withOperands = true) {
    Words w(std::move(words));
    return parseCommandLine(c.line(withOperands), w.argc(), w.argv.data());
}

}  // namespace

TEST(OptionTable, ValuesSwitchesAndOperandsInAnyOrder) {
    Command c;
    const ParsedLine p = parse(c, {"789", "--json", "--data", "dir", "track.gpx", "-platform", "offscreen"});
    EXPECT_EQ(p.outcome, ParsedLine::Outcome::Parsed);
    EXPECT_EQ(c.data, "dir");
    EXPECT_TRUE(c.json);
    EXPECT_EQ(c.operands, (std::vector<std::string>{"789", "track.gpx"}));
    EXPECT_EQ(c.applied, (std::vector<std::string>{"--json", "--data"}));
}

TEST(OptionTable, AnOptionalValueIsTheNextWordUnlessItIsAnOption) {
    Command bare;
    EXPECT_EQ(parse(bare, {"--link"}).outcome, ParsedLine::Outcome::Parsed);
    EXPECT_EQ(bare.port, 47800);
    Command before;
    EXPECT_EQ(parse(before, {"--link", "--json"}).outcome, ParsedLine::Outcome::Parsed);
    EXPECT_EQ(before.port, 47800);
    EXPECT_TRUE(before.json);
    Command given;
    EXPECT_EQ(parse(given, {"--link", "5000"}).outcome, ParsedLine::Outcome::Parsed);
    EXPECT_EQ(given.port, 5000);
    // An empty word is a value given, and refused as such.
    Command empty;
    const ParsedLine p = parse(empty, {"--link", ""});
    EXPECT_EQ(p.outcome, ParsedLine::Outcome::Refused);
    EXPECT_EQ(p.why, "--link takes a port");
}

TEST(OptionTable, TheFirstProblemEndsTheWalk) {
    Command missing;
    ParsedLine p = parse(missing, {"--json", "--data"});
    EXPECT_EQ(p.outcome, ParsedLine::Outcome::Unknown);
    EXPECT_EQ(p.word, "--data");
    EXPECT_EQ(unknownOption(p.word), "unknown or incomplete option '--data'");

    Command refused;
    p = parse(refused, {"--link", "x1", "--bogus"});
    EXPECT_EQ(p.outcome, ParsedLine::Outcome::Refused);

    Command unknown;
    p = parse(unknown, {"--bogus", "--link", "x1", "--json"});
    EXPECT_EQ(p.outcome, ParsedLine::Outcome::Unknown);
    EXPECT_EQ(p.word, "--bogus");
    EXPECT_FALSE(unknown.json);

    // --help ends the command at once: what follows is not looked at.
    Command help;
    p = parse(help, {"-h", "--bogus"});
    EXPECT_EQ(p.outcome, ParsedLine::Outcome::Exit);
    EXPECT_EQ(p.status, 0);

    Command extra;
    p = parse(extra, {"a", "b", "c", "--bogus"});
    EXPECT_EQ(p.outcome, ParsedLine::Outcome::Refused);
    EXPECT_EQ(p.why, "'c' is one too many");
}

TEST(OptionTable, WithoutOperandsAWordIsUnknown) {
    Command c;
    const ParsedLine p = parse(c, {"--json", "fly"}, false);
    EXPECT_EQ(p.outcome, ParsedLine::Outcome::Unknown);
    EXPECT_EQ(p.word, "fly");
    EXPECT_TRUE(c.json);
    // A word beginning with "-" is no operand by default, even with an operand rule.
    Command d;
    EXPECT_EQ(parse(d, {"-3"}).outcome, ParsedLine::Outcome::Unknown);
}

TEST(OptionTable, HelpLinesPadTheLabelsAndIndentContinuations) {
    Command c;
    EXPECT_EQ(optionLines(c.line(false).options, 16),
              "  --data DIR      read from DIR\n"
              "  --link [PORT]   open the link\n"
              "                  second line\n"
              "  --json          JSON lines\n"
              "  --help, -h      show this help\n");
    // A label as long as the column keeps one blank before its help.
    EXPECT_EQ(optionLines(c.line(false).options, 6).substr(0, 24), "  --data DIR read from D");
}
