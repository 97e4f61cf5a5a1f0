// "trainsim pack": a route of the data folder as one package file to send,
// with its video's fingerprint in place of the video.
#pragma once

namespace ts {

// Exit status 0 when the package is written, 1 when it is not, 2 on bad usage.
int runPackMode(int argc, char** argv);

}  // namespace ts
