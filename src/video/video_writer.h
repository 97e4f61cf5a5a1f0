// Writes a video file frame by frame with libavcodec (tests and the demo
// data set make their videos with it).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace ts {

enum class VideoCodec { H264, MJPEG, MPEG4, HEVC };

struct VideoSettings {
    VideoCodec codec = VideoCodec::H264;
    int width = 480, height = 240, fps = 30;
    int gop = 30;         // keyframe interval
    int bFrames = 2;      // H.264 only
    int quality = 23;     // H.264 / HEVC CRF; MJPEG / MPEG-4 qscale
    int bitRateKbps = 0;  // H.264: a mean bit rate instead of the CRF when above 0
    int threads = 1;      // encoder threads (more than one: the file may differ from run to run)
};

class VideoWriter {
public:
    // The container follows the file name (.mp4, .avi, .mkv).
    VideoWriter(const std::string& path, const VideoSettings& settings);
    ~VideoWriter();
    bool ok() const;
    // Adds one frame: width x height pixels, 0xAARRGGBB, rows top to bottom.
    void add(const uint32_t* pixels);
    // Flushes the encoder and closes the file.
    bool finish();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ts
