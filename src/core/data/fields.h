// Comma-separated fields and the number conversions every data file uses.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ts {

// The n-th comma-separated field (from 1); "Error" when the line has too few
// fields; empty for n <= 0.
std::string csvField(std::string_view line, int n);

// Signed 32-bit decimal; leading blanks accepted, nothing trailing.
std::optional<int32_t> parseInt(std::string_view text);

// Decimal real with "." and an optional exponent; leading blanks accepted.
std::optional<long double> parseReal(std::string_view text);

// Decimal number stored as value x 10000, rounded to nearest (ties to even),
// computed exactly from the digits.
std::optional<int64_t> parseFixed(std::string_view text);

}  // namespace ts
