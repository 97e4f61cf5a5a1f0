// Makes the benchmark's camera-like videos with FFmpeg's encoders (nothing is
// downloaded): scenery that scrolls past with fine grain, so that the encoder
// spends its bits as on a real ride.
//   (a) 1920 x 1080, 60 fps, H.264 High, 16 Mbit/s, a keyframe every 250 pictures, B-frames
//   (b) 3840 x 2160, 30 fps, HEVC, a keyframe every 60 pictures
//   (c) 1280 x 720, 30 fps, H.264, a keyframe every 30 pictures
// Usage: make_bench_videos DIR [SECONDS_A SECONDS_B SECONDS_C]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "video/video_writer.h"

namespace {

bool make(const std::string& path, ts::VideoSettings s, int seconds) {
    ts::VideoWriter writer(path, s);
    if (!writer.ok()) {
        std::fprintf(stderr, "make_bench_videos: cannot write %s\n", path.c_str());
        return false;
    }
    // A landscape twice as wide as the picture, scrolled a little each picture.
    const int w = s.width, h = s.height, wide = 2 * w;
    std::vector<uint32_t> land(size_t(wide) * h), px(size_t(w) * h);
    uint32_t seed = 12345;
    auto rnd = [&] {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < wide; ++x) {
            const double fx = double(x) / wide * 6.2831853, fy = double(y) / h;
            const int sky = y < h / 3;
            const int r = int(90 + 60 * std::sin(fx * 7 + fy * 3) + int(rnd() % 40)) * (1 - sky) + 150 * sky;
            const int g = int(110 + 50 * std::sin(fx * 13 - fy * 5) + int(rnd() % 40)) * (1 - sky) + 190 * sky;
            const int b = int(70 + 40 * std::cos(fx * 5 + fy * 11) + int(rnd() % 40)) * (1 - sky) + 230 * sky;
            land[size_t(y) * wide + x] = 0xFF000000u | uint32_t(std::clamp(r, 0, 255)) << 16 |
                                         uint32_t(std::clamp(g, 0, 255)) << 8 | uint32_t(std::clamp(b, 0, 255));
        }
    const int pictures = seconds * s.fps;
    for (int i = 0; i < pictures; ++i) {
        const int shift = (i * std::max(1, w / 240)) % w;
        for (int y = 0; y < h; ++y) {
            const uint32_t* row = &land[size_t(y) * wide + shift];
            uint32_t* out = &px[size_t(y) * w];
            for (int x = 0; x < w; ++x) out[x] = row[x] ^ (rnd() & 0x070707u);  // sensor grain
        }
        writer.add(px.data());
        if (i % (s.fps * 5) == 0) std::fprintf(stderr, "%s: %d of %d pictures\n", path.c_str(), i, pictures);
    }
    return writer.finish();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_bench_videos DIR [SECONDS_A SECONDS_B SECONDS_C]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int sa = argc > 2 ? std::atoi(argv[2]) : 60, sb = argc > 3 ? std::atoi(argv[3]) : 20,
              sc = argc > 4 ? std::atoi(argv[4]) : 60;
    ts::VideoSettings a;
    a.width = 1920, a.height = 1080, a.fps = 60, a.gop = 250, a.bFrames = 3, a.bitRateKbps = 16000, a.threads = 2;
    ts::VideoSettings b;
    b.codec = ts::VideoCodec::HEVC;
    b.width = 3840, b.height = 2160, b.fps = 30, b.gop = 60, b.quality = 28, b.threads = 2;
    ts::VideoSettings c;
    c.width = 1280, c.height = 720, c.fps = 30, c.gop = 30, c.bitRateKbps = 6000, c.threads = 2;
    bool ok = true;
    if (sa > 0) ok = make(dir + "/a-1080p60-h264.mp4", a, sa) && ok;
    if (sc > 0) ok = make(dir + "/c-720p30-h264.mp4", c, sc) && ok;
    if (sb > 0) ok = make(dir + "/b-2160p30-hevc.mp4", b, sb) && ok;
    return ok ? 0 : 1;
}
