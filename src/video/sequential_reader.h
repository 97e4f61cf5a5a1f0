// Reads a video's pictures from its start to its end, for work on the whole
// file (making a working copy, measuring the speed from the video): every
// core decodes (pictures in order gain from frame threading), and pictures
// nobody wants that nothing refers to are dropped before the decoder.
//
//     SequentialReader reader;
//     if (!reader.open(path)) ...;
//     reader.setWanted([&](int picture) { return reader.timing().shows(picture); });
//     int picture;
//     while (const AVFrame* f = reader.next(picture)) use(f, picture);
//
// The pictures come in presentation order, numbered as StreamTiming numbers
// them. A wanted number is always answered by the picture the full decode
// would give for it: the first picture whose number is that or more.
#pragma once
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstdint>
#include <memory>
#include <string>

#include "video/disposable_pictures.h"
#include "video/stream_timing.h"

namespace ts {

class SequentialReader {
public:
    SequentialReader();
    ~SequentialReader();
    SequentialReader(const SequentialReader&) = delete;
    SequentialReader& operator=(const SequentialReader&) = delete;

    // `threads` decoder threads; 0: one per core and one more. `quick` skips the loop
    // filter (for measuring rather than showing: a little less sharp, a
    // good part faster).
    bool open(const std::string& path, int threads = 0, bool quick = false);
    const StreamTiming& timing() const { return timing_; }
    const AVCodecParameters* parameters() const;
    // Without a wish every picture is decoded.
    void setWanted(WantedPictures wanted);
    // The next picture and its number; nullptr at the end of the stream (or
    // where it cannot be read further). The picture stays the reader's and
    // valid until the next call.
    const AVFrame* next(int& picture);
    // Pictures decoded, and pictures left undecoded.
    int64_t decoded() const { return decoded_; }
    int64_t skipped() const;

private:
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int stream_ = -1;
    StreamTiming timing_;
    std::unique_ptr<PictureSkipping> skipping_;
    bool drained_ = false;
    int last_ = -1;
    int64_t decoded_ = 0;
};

}  // namespace ts
