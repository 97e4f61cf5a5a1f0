// The options of the program and of each subcommand as one table each: a
// name, its value's placeholder, its help text and what it does. The same
// table parses the command line, prints the option lines of --help and is
// held against the manual page's option list by a test.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ts {

// What an option or an operand made of its value.
struct OptionAnswer {
    std::string refusal;         // not empty: the value is refused, and why
    std::optional<int> exitNow;  // --help, --version: the command ends with this status

    static OptionAnswer accepted() { return {}; }
    static OptionAnswer refused(std::string why) { return {std::move(why), std::nullopt}; }
    static OptionAnswer exitWith(int status) { return {{}, status}; }
};

struct CommandOption {
    std::string name;   // "--data"
    std::string alias;  // "-h", or empty
    std::string value;  // the value's placeholder, "DIR"; empty for a switch
    // The next word is the value unless it begins with "-" (--link [PORT]).
    bool valueOptional = false;
    // The help line, marked QT_TRANSLATE_NOOP("Options", ...) and shown in the
    // user's language; "\n" begins a continuation line. Empty: not listed (Qt's -platform).
    std::string help;
    std::function<OptionAnswer(const std::string& value)> apply;
    // An optional value not given (apply takes an empty value given as such).
    std::function<OptionAnswer()> applyBare;

    // As --help and the manual page name it: "--data DIR", "--link [PORT]", "--help, -h".
    std::string label() const;
};

// An option that takes a value, and one that takes none.
CommandOption valueOption(std::string name, std::string value, std::string help,
                          std::function<OptionAnswer(const std::string& value)> apply);
CommandOption switchOption(std::string name, std::string help, std::function<OptionAnswer()> apply);
// The same option under a second name ("-h").
CommandOption alsoNamed(CommandOption o, std::string alias);
// An option whose value may be left out: `bare` applies it then.
CommandOption valueMayBeLeftOut(CommandOption o, std::function<OptionAnswer()> bare);

struct CommandLine {
    std::vector<CommandOption> options;
    // Whether a word that is no option is an operand; by default one that does not begin with "-".
    std::function<bool(const std::string& word)> isOperand;
    // Takes each operand in turn; empty: the command has none.
    std::function<OptionAnswer(const std::string& word)> operand;
};

struct ParsedLine {
    enum class Outcome {
        Parsed,   // every word was taken
        Exit,     // an option ends the command at once with `status`
        Unknown,  // `word` is no option (or lacks its value) and no operand
        Refused,  // an option's value or an operand was refused, `why`
    };
    Outcome outcome = Outcome::Parsed;
    int status = 0;
    std::string word;
    std::string why;
};

// Walks the words in order, applying each option and operand as it comes:
// the first refusal, unknown word or ending option stops the walk.
ParsedLine parseCommandLine(const CommandLine& line, int argc, char** argv);

// The listed options as --help shows them: two blanks, the label padded to
// `width`, the help; continuation lines indented to the help's column.
std::string optionLines(const std::vector<CommandOption>& options, size_t width);

// "unknown or incomplete option 'WORD'", the words every command uses for it.
std::string unknownOption(const std::string& word);

// "usage: SYNOPSIS" and a line's end, the word "usage" in the user's language.
std::string usageLine(const std::string& synopsis);

// "cannot change into data folder 'DIR'", the words every command uses for it.
std::string cannotEnterDataFolder(const std::string& dir);

// The two appliers most options are: a value kept as given, a switch that sets a flag.
std::function<OptionAnswer(const std::string& value)> storeIn(std::string& to);
std::function<OptionAnswer()> setFlag(bool& flag);

// How a subcommand ends after its walk: nullopt when every word was taken,
// else its exit status, `usage` printing a refusal or an unknown word with
// the command's usage and returning the status of bad usage.
std::optional<int> walkEnd(const ParsedLine& walk, const std::function<int(const std::string& why)>& usage);

}  // namespace ts
