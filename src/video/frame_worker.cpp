#include "video/frame_worker.h"

#include "video/ffmpeg_frame_source.h"

#include <algorithm>
#include <cstdlib>

namespace ts {

FrameWorker::FrameWorker(std::unique_ptr<FrameSource> source, size_t keep)
    : source_(std::move(source)), length_(source_ ? source_->length() : 0), keep_(std::max<size_t>(keep, 2)) {
    // A long decode (keyframes far apart) gives way to a newer wish, and to closing.
    ffmpeg_ = dynamic_cast<FfmpegFrameSource*>(source_.get());
    if (ffmpeg_)
        ffmpeg_->setInterrupt([this] {
            std::lock_guard lock(m_);
            return stopping_ || !stillWanted(decoding_);
        });
    thread_ = std::thread([this] { loop(); });
}

FrameWorker::~FrameWorker() {
    {
        std::lock_guard lock(m_);
        stopping_ = true;
    }
    work_.notify_all();
    thread_.join();
    done_.notify_all();
}

void FrameWorker::setOnDecoded(std::function<void()> onDecoded) {
    std::lock_guard lock(m_);
    onDecoded_ = std::move(onDecoded);
}

void FrameWorker::want(std::vector<int> frames, int width, int height) {
    // More than the ring holds would drop wanted pictures to make room for others, over and over.
    if (frames.size() > keep_ - 1) frames.resize(keep_ - 1);
    {
        std::lock_guard lock(m_);
        if (frames == wanted_ && width == width_ && height == height_) return;
        wanted_ = std::move(frames);
        width_ = width;
        height_ = height;
    }
    work_.notify_all();
}

void FrameWorker::pin(std::vector<int> frames, int width, int height) {
    {
        std::lock_guard lock(m_);
        pinWanted_ = std::move(frames);
        pinWidth_ = width;
        pinHeight_ = height;
        // Pictures of another size or no longer pinned make room.
        std::erase_if(pinned_, [&](const Picture& p) {
            return p.view.width != width || p.view.height != height ||
                   std::find(pinWanted_.begin(), pinWanted_.end(), p.frame) == pinWanted_.end();
        });
    }
    work_.notify_all();
}

const FrameWorker::Picture* FrameWorker::find(int frame, int width, int height) const {
    for (const Picture& p : kept_)
        if (p.frame == frame && p.view.width == width && p.view.height == height) return &p;
    for (const Picture& p : pinned_)
        if (p.frame == frame && p.view.width == width && p.view.height == height) return &p;
    return nullptr;
}

bool FrameWorker::stillWanted(int frame) const {
    return std::find(wanted_.begin(), wanted_.end(), frame) != wanted_.end() ||
           std::find(pinWanted_.begin(), pinWanted_.end(), frame) != pinWanted_.end();
}

int FrameWorker::nextWanted(bool& pinned) const {
    pinned = false;
    for (int f : wanted_)
        if (f >= 0 && f < length_ && !find(f, width_, height_)) return f;
    pinned = true;
    for (int f : pinWanted_)
        if (f >= 0 && f < length_ && !find(f, pinWidth_, pinHeight_)) return f;
    return -1;
}

void FrameWorker::loop() {
    // The decoder's own picture: a frame that cannot be decoded leaves the
    // last one in it, as the synchronous fetch does.
    ViewFrame picture;
    for (;;) {
        int frame = -1;
        bool pinned = false;
        {
            std::unique_lock lock(m_);
            work_.wait(lock, [&] { return stopping_ || (frame = nextWanted(pinned)) >= 0; });
            if (stopping_) return;
            decoding_ = frame;
            if (pinned)
                picture.resize(pinWidth_, pinHeight_);
            else
                picture.resize(width_, height_);
        }
        const bool ok = source_->getFrame(frame, picture);
        // Abandoned on the way: nothing was decoded for it, nothing is kept.
        if (ffmpeg_ && ffmpeg_->abandoned()) continue;
        std::function<void()> notify;
        {
            std::lock_guard lock(m_);
            const bool stillPinned = pinned && picture.width == pinWidth_ && picture.height == pinHeight_ &&
                                     std::find(pinWanted_.begin(), pinWanted_.end(), frame) != pinWanted_.end();
            if (stillPinned) {
                pinned_.push_back({frame, ok, picture});
            } else {
                if (kept_.size() >= keep_) kept_.pop_front();
                kept_.push_back({frame, ok, picture});
            }
            ++finished_;
            notify = onDecoded_;
        }
        done_.notify_all();
        if (notify) notify();
    }
}

FrameWorker::Match FrameWorker::best(int frame, int width, int height, ViewFrame& out, int* got) const {
    std::lock_guard lock(m_);
    const Picture* nearest = nullptr;
    auto consider = [&](const Picture& p) {
        if (!p.ok || p.view.width != width || p.view.height != height) return;
        if (!nearest || std::abs(p.frame - frame) < std::abs(nearest->frame - frame)) nearest = &p;
    };
    for (const Picture& p : kept_) consider(p);
    for (const Picture& p : pinned_) consider(p);
    if (!nearest) return Match::None;
    out.resize(width, height);
    out.pixels = nearest->view.pixels;
    if (got) *got = nearest->frame;
    return nearest->frame == frame ? Match::Exact : Match::Nearest;
}

bool FrameWorker::waitFor(int frame, int width, int height, std::chrono::milliseconds timeout) const {
    if (frame < 0 || frame >= length_) return false;
    std::unique_lock lock(m_);
    done_.wait_for(lock, timeout, [&] { return stopping_ || find(frame, width, height); });
    const Picture* p = find(frame, width, height);
    return p && p->ok;
}

int64_t FrameWorker::finished() const {
    std::lock_guard lock(m_);
    return finished_;
}

}  // namespace ts
