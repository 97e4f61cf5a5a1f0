// "trainsim speed-from-video": a route's recorded speed from its video's own
// motion and a few known distances, for a video filmed without a GPS log.
#pragma once

namespace ts {

// `args` are the words after "speed-from-video". Returns the exit status: 0
// done, 1 bad input (nothing written), 2 a wrong command line.
int runSpeedFromVideo(int argc, char** argv);

}  // namespace ts
