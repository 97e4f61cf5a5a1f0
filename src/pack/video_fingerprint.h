// A video's fingerprint: its length and a difference hash of a small grey
// copy of its pictures, one every half second and the frames around each
// station, so that another copy of it (cut, re-encoded, at another frame
// rate) can be recognised and aligned with the route without the video.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/frame_source.h"

namespace ts::pack {

// Frames of 1/30 s between two samples of the regular grid.
constexpr int kSampleSpacing = kViewFramesPerSecond / 2;

struct FingerprintSample {
    int frame = 0;  // in frames of 1/30 s of the video
    uint64_t hash = 0;
};

struct VideoFingerprint {
    int length = 0;                          // frames of 1/30 s
    std::vector<FingerprintSample> samples;  // in frame order
};

// Told the share done (0 to 1); returns false to cancel.
using Progress = std::function<bool(double done)>;

// The 64-bit difference hash of a picture: a 9 × 8 grey copy made by
// averaging, each bit whether a pixel is brighter than its right neighbour.
uint64_t differenceHash(const ViewFrame& picture);

// Bits in which two hashes differ.
int hashDistance(uint64_t a, uint64_t b);

// The size the pictures are fetched at for hashing: small, so that the
// decoder's scaler does most of the averaging.
constexpr int kHashPictureWidth = 36;
constexpr int kHashPictureHeight = 16;

// The fingerprint of the open video `video`: a sample every half second and
// those within a second of each frame of `stationFrames`. Empty when
// cancelled or when the video has no frames.
std::optional<VideoFingerprint> fingerprintVideo(FrameSource& video, const std::vector<int>& stationFrames,
                                                 const Progress& progress = {});

// The hash of every frame of 1/30 s of the open video, in one forward run.
std::optional<std::vector<uint64_t>> hashEveryFrame(FrameSource& video, const Progress& progress = {});

// The fingerprint as text ("length N", then "FRAME HASH" lines, the hash in
// hexadecimal), and read back; nullopt for text that is not one.
std::string fingerprintText(const VideoFingerprint& fingerprint);
std::optional<VideoFingerprint> parseFingerprint(std::string_view text);

}  // namespace ts::pack
