// Keeps the last few frames at the size they were asked for, so that the two
// frames of a smooth view are decoded and converted once each, whichever of
// the paints asks for them first.
#pragma once
#include <cstddef>
#include <deque>

#include "devices/frame_source.h"

namespace ts {

class FrameCache final : public FrameSource {
public:
    explicit FrameCache(FrameSource& inner, size_t capacity = 3) : inner_(inner), capacity_(capacity) {}

    bool open(const std::string& path) override {
        kept_.clear();
        path_ = path;
        return inner_.open(path);
    }
    // The file last opened and the fit last set (a second decoder opens the same).
    const std::string& path() const { return path_; }
    PictureFit fit() const { return fit_; }
    int alignmentOffset() const { return offset_; }
    int alignmentRate() const { return rate_; }
    void setAlignment(int offsetFrames, int rateMillionths) override {
        kept_.clear();
        offset_ = offsetFrames;
        rate_ = rateMillionths;
        inner_.setAlignment(offsetFrames, rateMillionths);
    }
    int length() const override { return inner_.length(); }
    void setFit(PictureFit fit) override {
        kept_.clear();
        fit_ = fit;
        inner_.setFit(fit);
    }

    bool getFrame(int index, ViewFrame& out) override {
        const bool inside = index >= 0 && index < inner_.length();
        if (inside)
            for (const Kept& k : kept_)
                if (k.index == index && k.frame.width == out.width && k.frame.height == out.height) {
                    out.pixels = k.frame.pixels;
                    ++hits_;
                    return true;
                }
        const bool ok = inner_.getFrame(index, out);
        // Outside the video the source leaves `out` as it was: nothing to keep.
        if (ok && inside) {
            if (kept_.size() >= capacity_) kept_.pop_front();
            kept_.push_back({index, out});
        }
        return ok;
    }

    int64_t hits() const { return hits_; }

private:
    struct Kept {
        int index;
        ViewFrame frame;
    };
    FrameSource& inner_;
    size_t capacity_;
    std::deque<Kept> kept_;
    int64_t hits_ = 0;
    std::string path_;
    PictureFit fit_ = PictureFit::Crop;
    int offset_ = 0;
    int rate_ = 1000000;
};

}  // namespace ts
