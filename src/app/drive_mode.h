// The headless drive mode: a real run on a virtual clock, driven by a script,
// writing what the run shows as JSON lines.
#pragma once

namespace ts {

// `args` are the words after "drive". Returns the exit status.
int runDriveMode(int argc, char** argv);

}  // namespace ts
