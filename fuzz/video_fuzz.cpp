// The video frame source on arbitrary bytes: open, then frames at the start,
// the middle, the end and beyond. A source that cannot show a frame says so;
// none hangs, aborts or changes the size of the picture it fills.
#include "fuzz_support.h"
#include "video/ffmpeg_frame_source.h"

extern "C" {
#include <libavutil/log.h>
}

using namespace ts;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    av_log_set_level(AV_LOG_QUIET);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::writeScratch("v.avi", data, size);
    FfmpegFrameSource source;
    const bool opened = source.open(path);
    const int frames = source.length();
    if (frames < 0) fuzz::fail("a negative frame count");
    if (!opened && frames != 0) fuzz::fail("frames counted in a video that did not open");
    ViewFrame frame;
    for (int index : {0, 1, frames / 2, frames - 1, frames, -1, 0}) {
        source.getFrame(index, frame);
        if (frame.width != kViewWidth || frame.height != kViewHeight ||
            frame.pixels.size() != size_t(kViewWidth) * kViewHeight)
            fuzz::fail("the frame changed its size");
    }
    return 0;
}
