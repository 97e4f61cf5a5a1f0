// "trainsim check": every problem in a data folder, compiler style or as JSON lines.
#pragma once

namespace ts {

// Exit status 0 without errors, 1 with errors, 2 on bad usage.
int runCheckMode(int argc, char** argv);

}  // namespace ts
