// "trainsim install": a route package installed into the data folder, with
// the user's own copy of its video matched and aligned by its pictures.
#pragma once
#include "pack/route_install.h"

namespace ts {

// Exit status 0 when installed, 1 when refused, 2 on bad usage.
int runInstallMode(int argc, char** argv);

// The checker on a package's unpacked files, with the program's own picture,
// wave and video readers (needs a Qt application object).
pack::PackageChecker packageChecker();

// What the user is told of a match: how much of the package's video the copy
// shows, and where it lies.
std::string matchReport(const pack::VideoMatch& match);

}  // namespace ts
