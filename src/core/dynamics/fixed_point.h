// Fixed-point quantities: a 64-bit integer holding the value x 10000.
// Arithmetic runs in extended precision; every stored result is rounded to
// the nearest integer, ties to even. Every formula stores through here.
#pragma once
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ts {

// 1 as a fixed-point value: km/h, kPa, N and per mille are all held x 10000.
constexpr int64_t kFixedOne = 10000;
constexpr long double kFixedScale = kFixedOne;

// Rounds an extended real to the nearest integer, ties to even. A result
// beyond 64 bits is held at the end of the range instead of wrapping.
inline int64_t store(long double x) {
    if (!std::isfinite(x)) return 0;
    // rintl gives the same value as nearbyintl in the default rounding mode and
    // is several times faster: it does not save and restore the FPU state.
    const long double r = std::rintl(x);
    if (r >= 9223372036854775807.0L) return std::numeric_limits<int64_t>::max();
    if (r <= -9223372036854775808.0L) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}

// The same for a 32-bit result.
inline int32_t storeInt(long double x) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(store(x), std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Speed rounded to whole km/h (ties to even).
inline int64_t roundedKmh(int64_t speed) { return int64_t(std::nearbyint(double(speed) / kFixedOne)); }

// Running positions and times (frames, ticks) are held within this bound, so
// that their differences with any data value (at most half of it) fit in 32 bits.
constexpr int32_t kRunLimit = 1'000'000'000;

// v + delta, held within +-kRunLimit.
inline int32_t boundedAdd(int32_t v, int64_t delta) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t(v) + delta, -kRunLimit, kRunLimit));
}

// The value of a fixed-point integer as a real.
inline long double real(int64_t fixed) { return static_cast<long double>(fixed) / kFixedScale; }

}  // namespace ts
