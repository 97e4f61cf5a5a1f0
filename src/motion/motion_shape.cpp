#include "motion/motion_shape.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "motion/straight_line.h"

namespace ts::motion {

namespace {

// Flow (pixels of the analysed picture) clear enough to place the vanishing row.
constexpr double kLeastFlow = 0.15;
constexpr double kMostFlow = 7;
constexpr int kHorizonHalfWindow = 45;
constexpr int kRailsHalfWindow = 7;
// How far apart the upper and lower ground bands' readings of the speed may lie.
constexpr double kMostBandDisagreement = 1.3;
// Bands at least this many rows above the vanishing row show far scenery.
constexpr double kFarMargin = 10;
constexpr double kLeastPitch = 3;

double medianOf(std::vector<double> v) {
    if (v.empty()) return 0;
    const auto mid = v.begin() + ptrdiff_t(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    const auto at = v.begin() + ptrdiff_t(std::min(v.size() - 1, size_t(p * double(v.size()))));
    std::nth_element(v.begin(), at, v.end());
    return *at;
}

// A median over a few frames: one frame's odd flow (a blocky keyframe, a
// flash) neither makes nor breaks a standstill.
std::vector<double> runningMedian(const std::vector<double>& v, int half) {
    std::vector<double> out(v.size());
    const int n = int(v.size());
    for (int i = 0; i < n; ++i) {
        std::vector<double> w(v.begin() + std::max(0, i - half), v.begin() + std::min(n, i + half + 1));
        out[size_t(i)] = medianOf(std::move(w));
    }
    return out;
}

// Where the ground's flow comes from: on flat ground seen from a height h with
// focal length f, a point in row y (y0 the vanishing line) is f h / (y - y0)
// ahead, and runs down the picture at (y - y0)^2 v / (f h) rows a frame. So the
// square root of the flow is a straight line in y that meets 0 at y0. Each
// frame with enough clear flow gives its own y0 (the line pitches where the
// gradient changes); nullopt where it cannot tell.
std::optional<double> frameVanishingRow(const std::array<float, kBands>& down) {
    LineFit fit;
    for (int b = 0; b < kBands; ++b) {
        const double d = down[size_t(b)], x = bandMiddleRow(b);
        // Clear flow only: a fraction of a pixel is noise, and the flow of
        // the nearest ground at speed is more than the flow follows well.
        if (!(d > kLeastFlow && d < kMostFlow) || x < 0.4 * kAnalysisHeight) continue;
        fit.add(x, std::sqrt(d));
    }
    if (fit.count() < 4) return std::nullopt;
    const auto line = fit.line();
    if (!line || line->slope <= 0) return std::nullopt;
    const double row = line->zero();
    if (row < 0.15 * kAnalysisHeight || row > 0.7 * kAnalysisHeight) return std::nullopt;
    return row;
}

// Around a few frames without a say (a tunnel's mouth filling the view) the
// frames at its edges, and a frame or two between two such stretches, saw
// part of it too: they go without a say as well, so that the straight line
// across starts from frames that saw only the ground.
void distrustBlindEdges(std::vector<double>& v) {
    constexpr int kBlind = 3, kWiden = 1, kLeastBetween = 3;
    const int n = int(v.size());
    std::vector<bool> blind(size_t(n), false);
    for (int i = 0; i < n;) {
        if (!std::isnan(v[size_t(i)])) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && std::isnan(v[size_t(j)])) ++j;
        if (j - i >= kBlind)
            for (int k = std::max(0, i - kWiden); k < std::min(n, j + kWiden); ++k) blind[size_t(k)] = true;
        i = j;
    }
    for (int i = 0; i < n;) {
        if (blind[size_t(i)] || std::isnan(v[size_t(i)])) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && !blind[size_t(j)] && !std::isnan(v[size_t(j)])) ++j;
        if (i > 0 && j < n && j - i < kLeastBetween)
            for (int k = i; k < j; ++k) blind[size_t(k)] = true;
        i = j;
    }
    for (int i = 0; i < n; ++i)
        if (blind[size_t(i)]) v[size_t(i)] = std::nan("");
}

// NaNs replaced by the straight line between the nearest numbers either side
// (the nearest one's value at the ends; 0 when there is none at all).
void fillGaps(std::vector<double>& v) {
    const int n = int(v.size());
    int before = -1;
    for (int i = 0; i <= n; ++i) {
        if (i < n && std::isnan(v[size_t(i)])) continue;
        for (int k = before + 1; k < i; ++k) {
            if (before < 0 && i == n)
                v[size_t(k)] = 0;
            else if (before < 0)
                v[size_t(k)] = v[size_t(i)];
            else if (i == n)
                v[size_t(k)] = v[size_t(before)];
            else
                v[size_t(k)] = v[size_t(before)] + (v[size_t(i)] - v[size_t(before)]) * (k - before) / (i - before);
        }
        before = i;
    }
}

// How far the whole picture moved down in a frame for the camera's pitch (a
// gradient's change seen ahead, the cab jolting): the vertical flow of the
// far scenery above the vanishing row, which the train's own travel leaves
// where it is. Only a clear jump counts: at least two far bands moved alike
// by kLeastPitch or more (a lamp or a portal passing through one band is no
// pitch); else 0.
float pitchOf(const FrameMotion& m, double horizon) {
    std::vector<double> far;
    for (int b = 0; b < kBands; ++b)
        if (bandMiddleRow(b) < horizon - kFarMargin && !std::isnan(m.down[size_t(b)])) far.push_back(m.down[size_t(b)]);
    if (far.empty()) return 0;
    const auto [low, high] = std::minmax_element(far.begin(), far.end());
    const double pitch = medianOf(far);
    if (std::abs(pitch) < kLeastPitch || *high - *low > 0.3 * std::abs(pitch) + 0.5) return 0;
    return float(pitch);
}

}  // namespace

const Standstill* MotionShape::standstillAt(int frame) const {
    for (const Standstill& s : standstills)
        if (s.contains(frame)) return &s;
    return nullptr;
}

double MotionShape::between(int a, int b) const {
    const int last = int(travelled.size()) - 1;
    if (last < 0) return 0;
    a = std::clamp(a, 0, last);
    b = std::clamp(b, 0, last);
    return travelled[size_t(b)] - travelled[size_t(a)];
}

MotionShape motionShape(const MotionProfile& profile) {
    MotionShape s;
    const int n = profile.size();
    std::vector<double> all;
    for (int i = 0; i < n; ++i)
        if (const auto row = frameVanishingRow(profile.frames[size_t(i)].down)) all.push_back(*row);
    s.horizon = all.size() >= 10 ? medianOf(all) : 0.45 * kAnalysisHeight;
    // The ground's flow without the picture's pitch, and the vanishing row
    // of each frame from it; `pitched` is how far the pitch has moved the
    // picture down since frame 0, so that the rows of frames around, taken
    // back to frame 0's pitch, can be pooled, and the vanishing row follows
    // a change of pitch at once.
    std::vector<std::array<float, kBands>> ground(static_cast<size_t>(n));
    std::vector<std::optional<double>> rows(static_cast<size_t>(n));
    std::vector<double> pitched(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
        const FrameMotion& m = profile.frames[size_t(i)];
        // The rails show a jump of the picture exactly, where they are seen
        // in both frames; else the far scenery.
        float pitch = 0;
        const float railsBefore = i > 0 ? profile.frames[size_t(i) - 1].railsRow : std::nanf("");
        if (!std::isnan(railsBefore) && !std::isnan(m.railsRow)) {
            if (std::abs(m.railsRow - railsBefore) >= kLeastPitch) pitch = m.railsRow - railsBefore;
        } else {
            pitch = pitchOf(m, s.horizon);
        }
        for (int b = 0; b < kBands; ++b) ground[size_t(i)][size_t(b)] = m.down[size_t(b)] - pitch;
        pitched[size_t(i)] = (i > 0 ? pitched[size_t(i) - 1] : 0) + pitch;
        if (const auto row = frameVanishingRow(ground[size_t(i)])) rows[size_t(i)] = *row - pitched[size_t(i)];
    }
    // Each band's own estimate of the relative speed, about the vanishing row
    // of the frames around (1.5 s either side); their median stands
    // for the frame, so a band of sky, a wiper or a passing train is outvoted.
    // The bands used are those from 30 % to 90 % of the way from the vanishing
    // row down: nearer it the flow is a fraction of a pixel, nearer the
    // camera it is large and the ground's texture coarse.
    std::vector<double> raw(static_cast<size_t>(n)), moving(static_cast<size_t>(n));
    s.vanishingRow.assign(size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        // Where the rails meet, when they could be followed in most frames
        // around: each picture's own, and far nearer the truth than the
        // flow's straight line; a median over a few frames keeps a jump of
        // the picture sharp.
        const auto railsWithin = [&](int half) {
            std::vector<double> rails;
            for (int k = std::max(0, i - half); k <= std::min(n - 1, i + half); ++k)
                if (const float r = profile.frames[size_t(k)].railsRow; !std::isnan(r)) rails.push_back(r);
            return rails;
        };
        std::vector<double> near = railsWithin(kRailsHalfWindow);
        if (near.size() <= size_t(kRailsHalfWindow)) {
            // Lost for a moment (a tunnel's mouth, points, a shadow): the
            // rails of the frames around. (Not moved by the pitch found
            // meanwhile: a portal's wall coming nearer looks like one.)
            near = railsWithin(kHorizonHalfWindow);
            if (near.size() < 5) near.clear();
        }
        double y0 = 0;
        if (!near.empty()) {
            y0 = medianOf(std::move(near));
        } else {
            for (int k = std::max(0, i - kHorizonHalfWindow); k <= std::min(n - 1, i + kHorizonHalfWindow); ++k)
                if (rows[size_t(k)]) near.push_back(*rows[size_t(k)]);
            y0 = near.size() >= 5 ? medianOf(near) + pitched[size_t(i)] : s.horizon;
        }
        s.vanishingRow[size_t(i)] = y0;
        // Where the ground clearly moves, a band without clear downward flow
        // says nothing of the speed (a sign or a wall standing in it, ground
        // without stones). The ground's bands agree on the speed (within a
        // tenth on nine frames in ten); where the bands nearer the vanishing
        // row read far faster or slower than those below them, or not down
        // the picture at all, something else fills the view (a tunnel's
        // mouth or a wall coming nearer, which streams out faster near the
        // vanishing row; the dark inside of a tunnel): the frames around
        // speak for it. (On a stand this leaves nothing, which is as well:
        // a stand's speed is 0 whatever the frames say.)
        std::vector<double> est, flows, clear;
        for (int b = 0; b < kBands; ++b) {
            const double d = ground[size_t(i)][size_t(b)], dy = bandMiddleRow(b) - y0, q = dy / (kAnalysisHeight - y0);
            if (q < 0.3 || q > 0.9 || std::isnan(d)) continue;
            est.push_back(d / (dy * dy));
            flows.push_back(d);
            if (d > kLeastFlow) clear.push_back(d / (dy * dy));
        }
        if (clear.size() >= 2) est = std::move(clear);
        bool disagree = false;
        if (est.size() >= 2) {
            const size_t half = est.size() / 2;
            const double high = medianOf({est.begin(), est.begin() + ptrdiff_t(half)});
            const double low = medianOf({est.begin() + ptrdiff_t(half), est.end()});
            disagree =
                !(high > 0 && low > 0 && high / low <= kMostBandDisagreement && low / high <= kMostBandDisagreement);
        }
        // No band with a say (a picture gone dark or plain), or the ground
        // running up the picture, which a train running on never makes (a
        // tunnel's mouth filling the view): not a stop, but a frame the
        // frames around must speak for.
        raw[size_t(i)] = est.empty() || disagree || medianOf(flows) < -kLeastFlow
                             ? std::nan("")
                             : std::max(0.0, medianOf(std::move(est)));
        moving[size_t(i)] = profile.frames[size_t(i)].moving;
    }
    distrustBlindEdges(raw);
    fillGaps(raw);
    // Standing: the flow's median length stays within the noise of a still
    // picture (compression, small changes of light) for a second or more.
    const std::vector<double> calm = runningMedian(moving, 3);
    const double typical = percentile(moving, 0.9);
    const double still = std::max(0.02, 0.01 * typical);
    for (int i = 0; i < n;) {
        if (calm[size_t(i)] >= still) {
            ++i;
            continue;
        }
        int j = i;
        while (j + 1 < n && calm[size_t(j) + 1] < still) ++j;
        if (j - i + 1 >= kMinStandstillFrames) s.standstills.push_back({i, j});
        i = j + 1;
    }
    // The speed changes over seconds, the flow's noise from frame to frame:
    // a median over half a second, which a lineside sign or a pole passing
    // through the ground's bands for a few frames does not move, and a short
    // mean keep the corners of the curve (a median follows a ramp exactly).
    std::vector<double> smooth = runningMedian(raw, 7);
    s.rate.assign(size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        double sum = 0;
        int count = 0;
        for (int k = std::max(0, i - 3); k <= std::min(n - 1, i + 3); ++k) sum += smooth[size_t(k)], ++count;
        s.rate[size_t(i)] = sum / count;
    }
    for (const Standstill& st : s.standstills)
        for (int i = st.first; i <= st.last; ++i) s.rate[size_t(i)] = 0;
    s.travelled.assign(size_t(n), 0);
    for (int i = 1; i < n; ++i) s.travelled[size_t(i)] = s.travelled[size_t(i) - 1] + s.rate[size_t(i)];
    return s;
}

}  // namespace ts::motion
