// Which moment of the ride each video frame shows. Times are seconds after
// the track's first point; a frame is nominally 1/30 s of the recording, and
// two sync marks measure the real pace when the camera's rate drifts.
#pragma once

namespace ts::gps {

constexpr double kFramesPerSecond = 30;

struct SyncMark {
    double frame = 0;
    double seconds = 0;  // after the track's first point
};

struct Alignment {
    double frame0Seconds = 0;  // the moment frame 0 shows
    double secondsPerFrame = 1 / kFramesPerSecond;

    double timeOf(double frame) const { return frame0Seconds + frame * secondsPerFrame; }
};

// Frame 0 is `offset` seconds after the first point (negative: before it).
Alignment alignByOffset(double offset);
// Two marks; throws ImportError when they are the same frame, run backwards or
// give a pace no camera records at (under half or over twice the nominal rate).
Alignment alignBySync(const SyncMark& a, const SyncMark& b);

}  // namespace ts::gps
