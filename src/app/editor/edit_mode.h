// "trainsim edit": the route editor on a route of the data folder, or on a
// new route made from a video.
#pragma once

namespace ts {

// Exit status 0 when the window was closed, 1 when the route could not be opened, 2 on bad usage.
int runEditMode(int argc, char** argv);

}  // namespace ts
