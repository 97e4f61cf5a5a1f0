// Reads a GPX 1.1 file (tracks, their segments and points, named waypoints)
// with Qt's XML stream reader, keeping each point's line for messages.
#pragma once
#include <string>

#include "gps/track.h"

namespace ts {

// Throws gps::ImportError naming the problem and its line: not XML, not GPX,
// a point without a usable lat/lon, a time or height that does not read.
gps::Track readGpxFile(const std::string& path);
gps::Track readGpxText(const std::string& text);

// An ISO 8601 time (with its zone; none means UTC) as seconds since the epoch;
// NaN when it does not read.
double parseIsoTime(const std::string& text);

}  // namespace ts
