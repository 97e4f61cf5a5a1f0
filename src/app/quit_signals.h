// SIGTERM and SIGINT end the windowed program as its Quit does: a driving
// window open is closed first, as its back button closes it (its recording
// finished, its report not shown), then the program ends.
#pragma once
#include <functional>

namespace ts {

// Installs the handlers; `quit` runs on the user-interface thread (the
// handlers only wake it), once per signal.
void installQuitSignals(std::function<void()> quit);

}  // namespace ts
