// "trainsim import-gps": the recorded speed, gradients and stations of a
// route from the GPS track of its ride.
#pragma once

namespace ts {

// `args` are the words after "import-gps". Returns the exit status: 0 done,
// 1 bad input (nothing written), 2 a wrong command line.
int runGpsImport(int argc, char** argv);

}  // namespace ts
