// The driver's-view video on FFmpeg: any container and codec it reads, the
// frame index taken from each frame's presentation time, forward decoding
// when no keyframe lies between, a seek to the keyframe before otherwise.
// Videos of any frame rate are presented as 30 frames per second of
// recording, and pictures of any shape fitted into the 2:1 view.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "devices/frame_source.h"

namespace ts {

// Decoder threads for a source that plays ahead (the driving window): pictures
// above 1080p need two to keep up; up to 1080p one keeps up at twice the
// recorded speed and costs less processor time (no hand-over between threads).
inline constexpr int kPlayAheadThreads = 2;
inline constexpr int64_t kPlayAheadThreadsFromPixels = int64_t(1920) * 1088 + 1;

class FfmpegFrameSource final : public FrameSource {
public:
    FfmpegFrameSource();
    ~FfmpegFrameSource() override;
    bool open(const std::string& path) override;
    int length() const override;
    void setFit(PictureFit fit) override;
    void setAlignment(int offsetFrames, int rateMillionths) override;
    bool getFrame(int index, ViewFrame& out) override;

    // Decoder threads for videos of at least `minPixels` pictures (taken at the
    // next open): several help sequential playback of large pictures and slow
    // down random access, so only a source that plays ahead asks for them.
    void setDecoderThreads(int threads, int64_t minPixels);
    // Decoding for measuring rather than showing (taken at the next open):
    // the loop filter is skipped, which costs a little sharpness and saves a
    // good part of the decoding time, and pictures are made smaller by an
    // area average rather than a bicubic filter.
    void setQuickDecode(bool quick);
    // Decodes every picture, also those no frame shows that are otherwise
    // left out (the reference that checks and measures leaving them out;
    // taken at the next open).
    void setDecodeEveryPicture(bool every);
    // Keeps, within `bytes`, the decoded pictures of the last frames passed
    // on the way to each frame, so that stepping back a frame or a few right
    // after a jump needs no second decode from the keyframe (the same
    // pictures, converted as a fresh decode would be). 0 keeps none.
    void setRecentPictures(int64_t bytes);
    // Decodes on the graphics hardware when the machine offers it (taken at
    // the next open; see video/hardware_decoding.h). Pictures may then differ
    // from a software decode's in the last bit of a colour, so only live
    // views ask for it. hardwareDecoding() says whether the open video's decoder
    // was given the device.
    void setHardwareDecoding(bool wanted);
    bool hardwareDecoding() const;
    // Asked after every picture decoded on the way to a frame: true abandons
    // the fetch (the frame is no longer wanted), leaving the picture as it
    // was; abandoned() then says so until the next fetch.
    void setInterrupt(std::function<bool()> interrupt);
    bool abandoned() const;
    // Frames decoded so far (the cost of the accesses).
    int64_t decodedFrames() const;
    // Pictures left undecoded: no frame shows them and nothing refers to them.
    int64_t skippedFrames() const;
    int64_t seeks() const;
    // The video's own frame rate (frames per second) and picture count.
    double sourceRate() const;
    int sourceFrames() const;
    // The stored picture size, and the mean time between keyframes in
    // seconds (0 when the file's index does not say): what a seek costs.
    int sourceWidth() const;
    int sourceHeight() const;
    double keyframeSeconds() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ts
