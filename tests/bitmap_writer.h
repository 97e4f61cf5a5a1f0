// Writes small 24-bit BMP files for test data sets.
#pragma once
#include <cstdint>
#include <string>

namespace ts::test {

// A w x h picture filled with one colour (0xRRGGBB), with a 1-pixel frame of `frame`.
std::string bmpBytes(int w, int h, uint32_t fill, uint32_t frame);

}  // namespace ts::test
