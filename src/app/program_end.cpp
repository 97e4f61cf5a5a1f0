#include "program_end.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace ts {

namespace {
std::function<void(int)>& hook() {
    static std::function<void(int)> h;
    return h;
}
std::function<void()>& recordingHook() {
    static std::function<void()> h;
    return h;
}
}  // namespace

void setProgramEndHook(std::function<void(int)> h) { hook() = std::move(h); }
void setRecordingEndHook(std::function<void()> h) { recordingHook() = std::move(h); }

void endProgram(int status) {
    // Taken out first: putting the recording in place clears the hook.
    if (const auto finish = std::exchange(recordingHook(), {})) finish();
    if (hook()) hook()(status);
    std::fflush(stdout);
    std::fflush(stderr);
    // Threads of the run may still be running: leave without running destructors.
    std::_Exit(status);
}

}  // namespace ts
