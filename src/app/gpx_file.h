// Reads a GPX 1.1 file (tracks, their segments and points, named waypoints)
// with Qt's XML stream reader, keeping each point's line for messages.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "gps/alignment.h"
#include "gps/track.h"

namespace ts {

// Throws gps::ImportError naming the problem and its line: not XML, not GPX,
// a point without a usable lat/lon, a time or height that does not read.
// A larger track is refused before it is read: over two days of fixes ten a
// second, far past any cab video.
constexpr int64_t kMaxTrackBytes = int64_t(256) << 20;
gps::Track readGpxFile(const std::string& path);
gps::Track readGpxText(const std::string& text);

// An ISO 8601 time (with its zone; none means UTC) as seconds since the epoch;
// NaN when it does not read.
double parseIsoTime(const std::string& text);

// A whole text that is a finite number, e.g. "12.5" or "-3".
std::optional<double> parseNumber(const std::string& text);

// "F=T": video frame F (a whole number from 0) shows track time T, an ISO 8601
// time or seconds after the track's first point (at `startEpoch`). Nothing,
// with why, when it does not read.
std::optional<gps::SyncMark> parseSyncMark(const std::string& text, double startEpoch, std::string* why);

}  // namespace ts
