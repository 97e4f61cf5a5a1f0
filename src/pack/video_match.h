// Finding where a copy of a video lies against a package's fingerprint: the
// offset (the copy starts earlier or later) and the rate (the copy runs
// faster or slower), from the pictures alone.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pack/video_fingerprint.h"

namespace ts::pack {

struct VideoMatch {
    bool accepted = false;
    // The copy's frame for the fingerprint's frame f: offset + f × rate.
    double offset = 0;
    double rate = 1;
    int compared = 0;  // the fingerprint's samples compared
    int matched = 0;   // of them, those whose picture the copy shows there
    double share() const { return compared ? double(matched) / double(compared) : 0; }
    // Why a copy was refused, in words for the user; empty when accepted.
    std::string refusal;
};

// A sample matches a picture when their hashes differ in at most this many bits.
constexpr int kMatchDistance = 10;
// The share of the fingerprint's samples that must match for a copy to be taken.
constexpr double kAcceptedShare = 0.8;
// The rates searched: up to this much faster or slower.
constexpr double kRateReach = 0.06;

// `copy` holds the hash of every frame of 1/30 s of the copy (hashEveryFrame).
VideoMatch matchVideo(const VideoFingerprint& package, const std::vector<uint64_t>& copy);

// The share of the fingerprint's samples that match the copy at a given
// offset and rate (for an alignment set by hand).
VideoMatch checkAlignment(const VideoFingerprint& package, const std::vector<uint64_t>& copy, double offset,
                          double rate);

}  // namespace ts::pack
