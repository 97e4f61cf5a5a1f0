// The GPS track a phone in the cab would have logged on a demo line's
// recorded run: positions along a made-up curving line on the globe, a fix a
// second, heights from the line's gradients, and GPS noise from a fixed seed.
// Frame 0 of the video is kGpsLeadSeconds after the track's first fix.
#pragma once
#include <string>

#include "line.h"
#include "view.h"

namespace demo {

constexpr double kGpsLeadSeconds = 3;

// The GPX 1.1 text (stations as named waypoints). `noise` scales the GPS
// noise: 0 gives the exact positions and heights of the recorded run.
std::string gpsTrack(const Line& line, const ViewRenderer& view, double noise = 1);

// The line's height above the sea at a distance run, metres.
double lineHeight(const Line& line, const ViewRenderer& view, double metres);

}  // namespace demo
