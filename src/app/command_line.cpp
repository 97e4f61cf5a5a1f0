#include "command_line.h"

#include "language.h"
#include "text/our_text.h"

namespace ts {

std::string CommandOption::label() const {
    std::string l = name;
    if (!alias.empty()) l += ", " + alias;
    if (!value.empty()) l += valueOptional ? " [" + value + "]" : " " + value;
    return l;
}

CommandOption valueOption(std::string name, std::string value, std::string help,
                          std::function<OptionAnswer(const std::string& value)> apply) {
    CommandOption o;
    o.name = std::move(name);
    o.value = std::move(value);
    o.help = std::move(help);
    o.apply = std::move(apply);
    return o;
}

CommandOption switchOption(std::string name, std::string help, std::function<OptionAnswer()> apply) {
    CommandOption o;
    o.name = std::move(name);
    o.help = std::move(help);
    o.apply = [apply = std::move(apply)](const std::string&) { return apply(); };
    return o;
}

CommandOption alsoNamed(CommandOption o, std::string alias) {
    o.alias = std::move(alias);
    return o;
}

CommandOption valueMayBeLeftOut(CommandOption o, std::function<OptionAnswer()> bare) {
    o.valueOptional = true;
    o.applyBare = std::move(bare);
    return o;
}

ParsedLine parseCommandLine(const CommandLine& line, int argc, char** argv) {
    ParsedLine out;
    auto stop = [&](const OptionAnswer& a) {
        if (a.exitNow) {
            out.outcome = ParsedLine::Outcome::Exit;
            out.status = *a.exitNow;
            return true;
        }
        if (!a.refusal.empty()) {
            out.outcome = ParsedLine::Outcome::Refused;
            out.why = a.refusal;
            return true;
        }
        return false;
    };
    for (int i = 0; i < argc; ++i) {
        const std::string word = argv[i];
        const CommandOption* option = nullptr;
        for (const CommandOption& o : line.options)
            if (word == o.name || (!o.alias.empty() && word == o.alias)) option = &o;
        if (option) {
            std::string value;
            if (!option->value.empty()) {
                const bool hasNext = i + 1 < argc;
                if (option->valueOptional) {
                    if (!hasNext || argv[i + 1][0] == '-') {
                        if (stop(option->applyBare())) return out;
                        continue;
                    }
                    value = argv[++i];
                } else if (hasNext) {
                    value = argv[++i];
                } else {
                    out.outcome = ParsedLine::Outcome::Unknown;
                    out.word = word;
                    return out;
                }
            }
            if (stop(option->apply(value))) return out;
            continue;
        }
        const bool operand = line.isOperand ? line.isOperand(word) : word.empty() || word[0] != '-';
        if (line.operand && operand) {
            if (stop(line.operand(word))) return out;
            continue;
        }
        out.outcome = ParsedLine::Outcome::Unknown;
        out.word = word;
        return out;
    }
    return out;
}

std::string optionLines(const std::vector<CommandOption>& options, size_t width) {
    std::string out;
    for (const CommandOption& o : options) {
        if (o.help.empty()) continue;
        const std::string help = ourTextUtf8("Options", o.help.c_str());
        std::string label = o.label();
        label += std::string(label.size() < width ? width - label.size() : 1, ' ');
        out += "  " + label;
        size_t from = 0;
        for (size_t nl = help.find('\n'); nl != std::string::npos; nl = help.find('\n', from)) {
            out += help.substr(from, nl - from) + "\n" + std::string(2 + width, ' ');
            from = nl + 1;
        }
        out += help.substr(from) + "\n";
    }
    return out;
}

std::string unknownOption(const std::string& word) {
    return withArgs(ourTextUtf8("CommandLine", "unknown or incomplete option '%1'"), {word});
}

std::string usageLine(const std::string& synopsis) {
    return withArgs(ourTextUtf8("CommandLine", "usage: %1"), {synopsis}) + "\n";
}

std::string cannotEnterDataFolder(const std::string& dir) {
    return withArgs(ourTextUtf8("CommandLine", "cannot change into data folder '%1'"), {dir});
}

std::function<OptionAnswer(const std::string& value)> storeIn(std::string& to) {
    return [&to](const std::string& v) {
        to = v;
        return OptionAnswer::accepted();
    };
}

std::function<OptionAnswer()> setFlag(bool& flag) {
    return [&flag] {
        flag = true;
        return OptionAnswer::accepted();
    };
}

std::optional<int> walkEnd(const ParsedLine& walk, const std::function<int(const std::string& why)>& usage) {
    switch (walk.outcome) {
        case ParsedLine::Outcome::Parsed: return std::nullopt;
        case ParsedLine::Outcome::Exit: return walk.status;
        case ParsedLine::Outcome::Refused: return usage(walk.why);
        case ParsedLine::Outcome::Unknown: return usage(unknownOption(walk.word));
    }
    return std::nullopt;
}

}  // namespace ts
