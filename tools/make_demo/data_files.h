// The text files of the demo data set: route and train files, the string
// table, the controller map, the help text and the read-me.
#pragma once
#include <string>

#include "line.h"
#include "view.h"

namespace demo {

// Sound bank channels of the demo trains (the drive sounds come first).
namespace ch {
constexpr int kBands = 13;  // running noise, one per 10 km/h band (0 .. 12)
constexpr int br1 = 13, br2 = 14, eb = 15, ats1 = 16, ats2 = 17, atc = 18, horn = 19, horn2 = 20, doorOpen = 21,
              doorClose = 22, ebRing = 23, squeak = 24, cpStart = 26, cpRun = 27, cpEnd = 28, stop = 29, engine1 = 30,
              engine2 = 31, engine3 = 32;
constexpr int driveSounds = 33;  // channel 25 stays an unused slot
}  // namespace ch

std::string routeFile(const Line& line, const ViewRenderer& view);
std::string trainFile(const Line& line);
std::string stringTable();
std::string controllerMap();
std::string helpText();
std::string readme();

}  // namespace demo
