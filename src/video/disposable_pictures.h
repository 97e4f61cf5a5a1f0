// Which of a stream's pictures nothing else is predicted from, told from the
// packet's NAL unit headers before it reaches the decoder: an H.264 picture
// whose slices all have nal_ref_idc 0, an HEVC picture whose slices are all
// sub-layer non-reference (TRAIL_N, RASL_N, ...) in the highest temporal
// sub-layer. Leaving such a picture undecoded changes no other picture, so
// readers that do not show it may drop its packet and save its decoding.
#pragma once
extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "video/stream_timing.h"

namespace ts {

class DisposablePictures {
public:
    // `par` is the stream's parameters: its codec and, for MP4 and Matroska,
    // the configuration record that says how NAL units are framed.
    explicit DisposablePictures(const AVCodecParameters* par);
    // True for a codec whose disposable pictures can be told.
    bool knows() const { return codec_ != Codec::Other; }
    // True when the packet's picture is disposable. Anything unclear (a
    // damaged packet, an unknown NAL unit kind, an HEVC stream whose sequence
    // parameters are not yet seen) counts as needed.
    bool disposable(const uint8_t* data, size_t size);

private:
    enum class Codec { Other, H264, HEVC };
    // Calls `nal(header, size)` for each NAL unit; false when the framing is broken.
    bool forEachNal(const uint8_t* data, size_t size, const std::function<bool(const uint8_t*, size_t)>& nal) const;
    void readHevcConfiguration(const uint8_t* data, size_t size);
    Codec codec_ = Codec::Other;
    int lengthSize_ = 0;        // bytes of each NAL unit's length; 0: Annex B start codes
    int hevcTopSubLayer_ = -1;  // the highest TemporalId of the HEVC stream; -1 when not known
};

// Whether a reader needs picture `picture` (its number in the file, from its
// timestamp). A reader shows, for a wanted number, the first picture whose
// number is that or more.
using WantedPictures = std::function<bool(int picture)>;

// Decides packet by packet, in decoding order, which pictures a reader may
// leave undecoded: disposable ones that no wanted number would show. A
// picture is dropped only when its own number is unwanted and the picture
// just before it in the file has been seen, so that a gap in the timestamps
// never moves a wanted number onto a later picture.
class PictureSkipping {
public:
    PictureSkipping(const AVCodecParameters* par, const StreamTiming& timing);
    void setWanted(WantedPictures wanted) { wanted_ = std::move(wanted); }
    // True when `packet` (of the stream) need not be decoded.
    bool skip(const AVPacket& packet);
    int64_t skipped() const { return skipped_; }

private:
    bool seen(int picture) const;
    DisposablePictures disposable_;
    StreamTiming timing_;
    WantedPictures wanted_;
    std::vector<bool> seen_;  // picture numbers met so far
    int64_t skipped_ = 0;
};

}  // namespace ts
