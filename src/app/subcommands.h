// The program's subcommands ("trainsim drive ...") as one table: the word
// that names each, its entry in the program's --help and the function that
// runs it on the words after its name.
#pragma once
#include <string>
#include <vector>

namespace ts {

struct Subcommand {
    const char* name;
    // The entry under "Commands:", shown in the user's language; "\n" begins a continuation line.
    const char* help;
    int (*run)(int argc, char** argv);
};

const std::vector<Subcommand>& subcommands();

// The "Commands:" lines of the program's --help, the title screen's "(none)" first.
std::string subcommandLines();

}  // namespace ts
