// "trainsim prepare-video": makes the quick-seeking working copy of a
// route's video from the command line, with progress lines.
#pragma once

namespace ts {

// Exit status 0 when the copy is ready, 1 when it could not be made, 2 on bad usage.
int runPrepareVideo(int argc, char** argv);

}  // namespace ts
