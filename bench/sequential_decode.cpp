// The processor time of playing a video through at the view's size, as the
// driving window's decoder thread does (two decoder threads above 1080p),
// with and without leaving out the pictures no position shows: a measure
// of the decoding cost of driving at the recorded speed that a loaded
// machine does not distort (processor seconds, not wall time).
// Usage: sequential_decode VIDEO [WIDTH HEIGHT [THREADS]]
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "devices/frame_source.h"
#include "video/ffmpeg_frame_source.h"

namespace {

double processorSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

bool play(const std::string& path, bool every, int width, int height, int threads) {
    ts::FfmpegFrameSource source;
    source.setDecoderThreads(threads, ts::kPlayAheadThreadsFromPixels);
    source.setDecodeEveryPicture(every);
    if (!source.open(path)) return false;
    ts::ViewFrame frame;
    frame.resize(width, height);
    const double start = processorSeconds();
    for (int i = 0; i < source.length(); ++i) source.getFrame(i, frame);
    const double spent = processorSeconds() - start;
    const double recording = double(source.length()) / ts::kViewFramesPerSecond;
    std::printf(
        "%s: %d view frames (%.1f s), %s: %lld pictures decoded, %lld left out; %.2f s of processor, "
        "%.1f %% of a core at the recorded speed\n",
        path.c_str(), source.length(), recording, every ? "every picture" : "shown pictures only",
        static_cast<long long>(source.decodedFrames()), static_cast<long long>(source.skippedFrames()), spent,
        100.0 * spent / recording);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: sequential_decode VIDEO [WIDTH HEIGHT [THREADS]]\n");
        return 2;
    }
    const int w = argc > 3 ? std::atoi(argv[2]) : ts::kViewWidth, h = argc > 3 ? std::atoi(argv[3]) : ts::kViewHeight;
    const int threads = argc > 4 ? std::atoi(argv[4]) : ts::kPlayAheadThreads;
    if (w <= 0 || h <= 0 || threads <= 0) return 2;
    return play(argv[1], true, w, h, threads) && play(argv[1], false, w, h, threads) ? 0 : 1;
}
