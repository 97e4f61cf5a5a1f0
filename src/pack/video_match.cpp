#include "pack/video_match.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "text/our_text.h"

namespace ts::pack {

namespace {

// Candidate pairs: a sample of the package and a frame of the copy whose hashes are close.
struct Pair {
    double frame;  // the sample's frame
    int copyFrame;
    int alike;  // how many copy frames are close to this sample: many while the train stands
};

// A sample close to more copy frames than this (a standing train, a fade)
// places nothing precisely: the line is fitted through the others.
constexpr int kDistinctPairs = 8;

// A sample whose picture recurs this often (a black screen, a long stop)
// says nothing about where it lies.
constexpr size_t kMaxPairsPerSample = 600;
// Close enough to vote: stricter than a match, so that chance likeness weighs little.
constexpr int kVoteDistance = 6;

std::vector<Pair> candidatePairs(const VideoFingerprint& package, const std::vector<uint64_t>& copy) {
    std::vector<Pair> pairs;
    std::vector<Pair> mine;
    for (const FingerprintSample& s : package.samples) {
        mine.clear();
        for (size_t j = 0; j < copy.size(); ++j)
            if (hashDistance(s.hash, copy[j]) <= kVoteDistance) {
                mine.push_back({double(s.frame), int(j), 0});
                if (mine.size() > kMaxPairsPerSample) break;
            }
        for (Pair& p : mine) p.alike = int(mine.size());
        if (mine.size() <= kMaxPairsPerSample) pairs.insert(pairs.end(), mine.begin(), mine.end());
    }
    return pairs;
}

struct Vote {
    int votes = 0;
    double offset = 0, rate = 1;
};

// The offset most pairs agree on at `rate`, in bins of `width` frames.
Vote bestOffset(const std::vector<Pair>& pairs, double rate, double width) {
    std::unordered_map<int64_t, int> bins;
    bins.reserve(pairs.size());
    Vote best;
    best.rate = rate;
    for (const Pair& p : pairs) {
        const int64_t b = int64_t(std::floor((p.copyFrame - p.frame * rate) / width));
        ++bins[b];
    }
    for (const auto& [b, n] : bins) {
        // A bin and its neighbours, as an offset near a border splits its votes.
        const auto near = [&](int64_t k) {
            const auto it = bins.find(k);
            return it == bins.end() ? 0 : it->second;
        };
        const int votes = n + std::max(near(b - 1), near(b + 1));
        if (votes > best.votes) {
            best.votes = votes;
            best.offset = (double(b) + 0.5) * width;
        }
    }
    return best;
}

// A straight line through the pairs near (offset, rate), by least squares,
// keeping for each sample the copy frame nearest to the line; with
// `fixedRate` only the offset moves.
bool fitLine(const std::vector<Pair>& pairs, double tolerance, double& offset, double& rate, bool fixedRate = false) {
    std::unordered_map<int64_t, Pair> nearest;
    size_t distinct = 0;
    for (const Pair& p : pairs) distinct += p.alike <= kDistinctPairs ? 1 : 0;
    const bool choosy = distinct >= 10;
    for (const Pair& p : pairs) {
        if (choosy && p.alike > kDistinctPairs) continue;
        const double miss = std::abs(p.copyFrame - (offset + rate * p.frame));
        if (miss > tolerance) continue;
        auto [it, fresh] = nearest.try_emplace(int64_t(p.frame), p);
        if (!fresh && miss < std::abs(it->second.copyFrame - (offset + rate * p.frame))) it->second = p;
    }
    if (nearest.size() < 2) return false;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto& [k, p] : nearest) {
        sx += p.frame;
        sy += p.copyFrame;
        sxx += p.frame * p.frame;
        sxy += p.frame * p.copyFrame;
    }
    const double n = double(nearest.size());
    const double d = n * sxx - sx * sx;
    if (d <= 0 || fixedRate) {
        offset = (sy - rate * sx) / n;
        return true;
    }
    const double r = (n * sxy - sx * sy) / d;
    if (std::abs(r - 1) > kRateReach * 1.5) return false;
    rate = r;
    offset = (sy - rate * sx) / n;
    return true;
}

// How far the copy's pictures are from the samples along a line: the sum
// of each sample's distance to the nearest of the three copy frames there,
// capped, over the samples the copy holds. Lower is better.
double lineCost(const VideoFingerprint& package, const std::vector<uint64_t>& copy, double offset, double rate) {
    double cost = 0;
    for (const FingerprintSample& s : package.samples) {
        const int64_t j = std::llround(offset + rate * s.frame);
        int best = 24;
        for (int64_t k = j - 1; k <= j + 1; ++k)
            if (k >= 0 && k < int64_t(copy.size())) best = std::min(best, hashDistance(s.hash, copy[size_t(k)]));
        cost += best;
    }
    return cost;
}

std::string percent(double share) { return std::to_string(int(std::floor(share * 100))) + " %"; }

}  // namespace

VideoMatch checkAlignment(const VideoFingerprint& package, const std::vector<uint64_t>& copy, double offset,
                          double rate) {
    VideoMatch m;
    m.offset = offset;
    m.rate = rate;
    for (const FingerprintSample& s : package.samples) {
        ++m.compared;
        const int64_t j = std::llround(offset + rate * s.frame);
        if (j < 0 || j >= int64_t(copy.size())) continue;
        // The copy's frames either side stand too: a copy at another rate
        // rounds each picture to its own nearest frame.
        int best = hashDistance(s.hash, copy[size_t(j)]);
        if (j > 0) best = std::min(best, hashDistance(s.hash, copy[size_t(j - 1)]));
        if (j + 1 < int64_t(copy.size())) best = std::min(best, hashDistance(s.hash, copy[size_t(j + 1)]));
        if (best <= kMatchDistance) ++m.matched;
    }
    m.accepted = m.compared > 0 && m.share() >= kAcceptedShare;
    if (!m.accepted)
        m.refusal = m.matched == 0 ? trText("Packages", "the pictures match the package's video nowhere")
                                   : withArgs(trText("Packages", "only %1 of it matches: is this a shorter cut?"),
                                              {percent(m.share())});
    return m;
}

VideoMatch matchVideo(const VideoFingerprint& package, const std::vector<uint64_t>& copy) {
    const std::vector<Pair> pairs = candidatePairs(package, copy);
    const double span = std::max(1, package.length);
    // Coarse to fine: at each stage the rate's step moves the far end of the
    // video by about the bins' width.
    Vote best;
    double low = 1 - kRateReach, high = 1 + kRateReach;
    for (double width : {32.0, 8.0, 2.0}) {
        const double step = width / span;
        Vote stage;
        for (double r = low; r <= high + step / 2; r += step) {
            const Vote v = bestOffset(pairs, r, width);
            if (v.votes > stage.votes || (v.votes == stage.votes && std::abs(r - 1) < std::abs(stage.rate - 1)))
                stage = v;
        }
        // The exact rate of an unchanged copy wins a tie at this stage.
        const Vote same = bestOffset(pairs, 1.0, width);
        if (same.votes >= stage.votes) stage = same;
        best = stage;
        low = best.rate - 2 * step;
        high = best.rate + 2 * step;
    }
    // Too few pairs agree for any alignment to mean something.
    const int needed = std::max(3, int(package.samples.size() / 10));
    if (best.votes < needed) {
        VideoMatch m = checkAlignment(package, copy, 0, 1);
        m.accepted = false;
        m.matched = std::min(m.matched, best.votes);
        m.refusal = trText("Packages", "the pictures match the package's video nowhere");
        return m;
    }
    double offset = best.offset, rate = best.rate;
    for (double tolerance : {6.0, 3.0, 1.5}) {
        double o = offset, r = rate;
        if (!fitLine(pairs, tolerance, o, r)) break;
        offset = o;
        rate = r;
    }
    // A copy at the original speed is the common case: its rate is exactly
    // one unless the fitted rate shows the pictures plainly better.
    double sameOffset = offset, same = 1;
    if (std::abs(rate - 1) < 0.01 && fitLine(pairs, 3.0, sameOffset, same, true) &&
        lineCost(package, copy, sameOffset, 1) <= lineCost(package, copy, offset, rate) * 1.02) {
        rate = 1;
        offset = sameOffset;
    }
    return checkAlignment(package, copy, offset, rate);
}

}  // namespace ts::pack
