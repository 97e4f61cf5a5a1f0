#include "bitmap_writer.h"

#include "little_endian.h"

namespace ts::test {

std::string bmpBytes(int w, int h, uint32_t fill, uint32_t frame) {
    const int stride = (w * 3 + 3) & ~3;
    std::string s = "BM";
    put32(s, uint32_t(54 + stride * h));
    put32(s, 0);
    put32(s, 54);
    put32(s, 40);
    put32(s, uint32_t(w));
    put32(s, uint32_t(h));
    put16(s, 1);
    put16(s, 24);
    put32(s, 0);
    put32(s, uint32_t(stride * h));
    put32(s, 2835);
    put32(s, 2835);
    put32(s, 0);
    put32(s, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const uint32_t c = edge ? frame : fill;
            s += char(c & 0xFF);
            s += char((c >> 8) & 0xFF);
            s += char((c >> 16) & 0xFF);
        }
        s.append(size_t(stride - w * 3), '\0');
    }
    return s;
}

}  // namespace ts::test
