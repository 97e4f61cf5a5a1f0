// Ends the program after a fatal message. The headless drive mode installs a
// hook that finishes its trace first.
#pragma once
#include <functional>

namespace ts {

void setProgramEndHook(std::function<void(int)> hook);
// Puts a recording in place before the program ends (run before the hook above).
void setRecordingEndHook(std::function<void()> hook);
[[noreturn]] void endProgram(int status);

// Runs `f`; a FatalError (its message already shown) ends the program with status 1.
template <class F>
void guarded(F&& f);

}  // namespace ts

#include "devices/messages.h"

namespace ts {
template <class F>
void guarded(F&& f) {
    try {
        f();
    } catch (const FatalError&) {
        endProgram(1);
    }
}
}  // namespace ts
