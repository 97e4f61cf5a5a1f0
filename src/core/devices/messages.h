// The one way the simulator shows message boxes, so that windows, tests and
// the headless drive mode can each decide how a message reaches the user.
#pragma once
#include <stdexcept>
#include <string>

namespace ts {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a plain modal message box with this text and returns when it is closed.
    virtual void show(const std::string& text) = 0;
    // The same box with a detailed text the user may open (where a data file
    // is wrong and why); boxes that cannot show one show the text alone.
    virtual void showWithDetails(const std::string& text, const std::string& details) {
        (void)details;
        show(text);
    }
};

// Unwinds a run after a message that ends the program; whoever owns the
// program catches it and exits with a non-zero status.
struct FatalError : std::runtime_error {
    explicit FatalError(const std::string& text) : std::runtime_error(text) {}
};

// Shows the message, then ends the program by throwing FatalError.
[[noreturn]] void fatal(MessageBoxes& boxes, const std::string& text);
[[noreturn]] void fatal(MessageBoxes& boxes, const std::string& text, const std::string& details);

}  // namespace ts
