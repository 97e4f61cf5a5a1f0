// Little-endian integers appended to a byte string (test files in binary formats).
#pragma once
#include <cstdint>
#include <string>

namespace ts::test {

inline void put16(std::string& s, uint16_t v) {
    s += char(v & 0xFF);
    s += char(v >> 8);
}

inline void put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}

}  // namespace ts::test
