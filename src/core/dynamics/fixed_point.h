// Fixed-point quantities: a 64-bit integer holding the value x 10000.
// Arithmetic runs in extended precision; every stored result is rounded to
// the nearest integer, ties to even. Every formula stores through here.
#pragma once
#include <cfenv>
#include <cmath>
#include <cstdint>

namespace ts {

constexpr long double kFixedScale = 10000.0L;

// Rounds an extended real to the nearest integer, ties to even.
inline int64_t store(long double x) {
    if (!std::isfinite(x)) return 0;
    return static_cast<int64_t>(std::nearbyintl(x));
}

// The value of a fixed-point integer as a real.
inline long double real(int64_t fixed) { return static_cast<long double>(fixed) / kFixedScale; }

}  // namespace ts
