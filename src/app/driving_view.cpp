// The driving window's view: which picture stands for the frame painted last,
// the smooth view's mix, and where pictures come from. While the window is
// live a decoder thread fetches them, so the user-interface thread never waits
// for a decode; headless runs (the drive mode) decode here, exactly and in order.
#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cab_view.h"
#include "driving_window.h"
#include "dynamics/fixed_point.h"
#include "video/ffmpeg_frame_source.h"
#include "video_cache.h"
#include "view_blend.h"

namespace ts {

namespace {

// Memory for the decoder thread's pictures: the ring of recent and coming
// frames, and the pictures kept for the station jumps. With the panel and the
// decoder's own buffers the program stays within 400 MB on a 4K video at 3x.
constexpr int64_t kRingBytes = 48 << 20;
constexpr int64_t kPinnedBytes = 64 << 20;
// Frames decoded ahead of the train (about 0.4 s at the recorded speed).
constexpr int kAhead = 12;

int64_t pictureBytes(QSize size) { return std::max<int64_t>(int64_t(size.width()) * size.height() * 4, 1); }

}  // namespace

QImage TForm1::viewImage(const ViewFrame& f) const {
    QImage view =
        QImage(reinterpret_cast<const uchar*>(f.pixels.data()), f.width, f.height, QImage::Format_RGB32).copy();
    view.setDevicePixelRatio(cab_->devicePixelRatioF());
    return view;
}

bool TForm1::insideVideo(int frame) const { return frame >= 0 && frame < frames_->length(); }

void TForm1::notePainted(int frame) {
    shownFrame_ = frame;
    paintedAny_ = true;
    // An index outside the video leaves the last decoded frame in use.
    if (insideVideo(frame)) pictureFrame_ = frame;
}

void TForm1::paintRoutine() {
    if (closing_) return;
    QElapsedTimer timer;
    timer.start();
    // The run settles the paint; the picture is fetched below.
    const bool changed = run_->paintView(frameBitmap_, false);
    if (changed) run_->locked([&](Run& r, PanelModel&) { notePainted(r.lastPaintedFrame); });
    if (picturesDeferred_) {
        pictureStale_ = pictureStale_ || changed;
        return;
    }
    showView();
    if (paintMeasured) paintMeasured(double(timer.nsecsElapsed()) / 1e6);
}

void TForm1::paintRecorded(int32_t frame) {
    if (closing_) return;
    run_->paintRecorded(frame);
    notePainted(frame);
    if (picturesDeferred_) {
        pictureStale_ = true;
        return;
    }
    showView();
}

void TForm1::deferPictures(bool on) {
    if (!on) presentPicture();
    picturesDeferred_ = on;
}

void TForm1::presentPicture() {
    if (closing_) return;
    // Also when no new frame was painted: the smooth view's mix follows the
    // train between two frames.
    pictureStale_ = false;
    showView();
}

void TForm1::startPainterThread() {
    if (painter_ || closing_) return;
    painter_ = std::make_unique<ViewPainter>(
        this, [this] { paintRoutine(); }, paintSignal_);
}

void TForm1::startVideoWorker() {
    if (workerTried_ || !painter_ || picturesDeferred_ || frames_->length() <= 0) return;
    workerTried_ = true;
    // A decoder of its own on the same file: the run's stays with the run.
    auto source = std::make_unique<FfmpegFrameSource>();
    source->setFit(frames_->fit());
    source->setAlignment(frames_->alignmentOffset(), frames_->alignmentRate());
    source->setDecoderThreads(kPlayAheadThreads, kPlayAheadThreadsFromPixels);
    source->setHardwareDecoding(true);
    // The quick-seeking working copy when there is one: the same frame for every position.
    if (!source->open(videoToDecode(frames_->path()))) return;
    const auto ring = std::clamp<int64_t>(kRingBytes / pictureBytes(cab_->viewPixelSize()), 6, 32);
    worker_ = std::make_unique<FrameWorker>(std::move(source), size_t(ring));
    worker_->setOnDecoded([s = paintSignal_] { ViewPainter::wake(*s); });
}

void TForm1::pinJumpPictures(QSize size) {
    if (!worker_ || size == pinnedSize_) return;
    pinnedSize_ = size;
    // A working copy prepared later is made for the largest view the user chose.
    rememberViewWidth(size.width());
    // The start and every station's jump position, as the Move menu stands the train there.
    std::vector<int> frames;
    run_->locked([&](Run& r, PanelModel&) {
        frames.push_back(r.startPosition);
        for (int i = 0; i < r.stationCount(); ++i) {
            const StationData& st = r.stationTable[size_t(i)];
            frames.push_back(int(std::nearbyint((double(st.stopFrom) + double(st.stopTo)) / 2.0)));
        }
    });
    frames.resize(std::min<size_t>(frames.size(), size_t(kPinnedBytes / pictureBytes(size))));
    worker_->pin(std::move(frames), size.width(), size.height());
}

FrameWorker::Match TForm1::fetch(int frame, ViewFrame& out, int& got) {
    if (worker_) return worker_->best(frame, out.width, out.height, out, &got);
    got = frame;
    return frames_->getFrame(frame, out) ? FrameWorker::Match::Exact : FrameWorker::Match::None;
}

bool TForm1::viewSettled() const {
    if (pictureFrame_ < 0) return true;
    return viewFrame_ == pictureFrame_ && viewSize_ == cab_->viewPixelSize() &&
           (mixWanted_ < 0 || nextFrame_ == mixWanted_);
}

void TForm1::showView() {
    startVideoWorker();
    const QSize size = cab_->viewPixelSize();
    int64_t speed = 0;
    int32_t accumulator = 0, recorded = 0;
    run_->locked([&](Run& r, PanelModel&) {
        speed = r.speed;
        accumulator = r.frameAccumulator;
        recorded = r.recordedSpeedKmh;
    });
    // The mix needs the frame painted and the next one both inside the video:
    // beyond either end the last decoded picture stays on view alone.
    double weight = 0;
    int next = -1;
    if (smooth_ && insideVideo(shownFrame_)) {
        weight = nextFrameWeight(speed, accumulator, recorded, std::llabs(std::llround(double(speed) / kFixedOne)));
        next = shownFrame_ + (speed > 0 ? 1 : -1);
        if (weight <= 0 || !insideVideo(next)) {
            weight = 0;
            next = -1;
        }
    }
    mixWanted_ = next;
    QImage shown;
    if (pictureFrame_ < 0) {
        // No frame of the video painted yet: the view's bitmap, blank as it was made.
        if (paintedAny_ && cab_->shownView().size() != size) {
            frameBitmap_.resize(size.width(), size.height());
            cab_->setView(viewImage(frameBitmap_));
        }
        return;
    }
    if (worker_) {
        std::vector<int> wanted{pictureFrame_};
        if (next >= 0) wanted.push_back(next);
        // Ahead in the direction of travel, at the train's pace.
        if (speed != 0 && insideVideo(shownFrame_)) {
            const double perTick = std::abs(double(speed) / kFixedOne) / std::max(recorded, 1);
            const int stride = std::max(1, int(std::lround(perTick)));
            if (speed > 0) {
                const int ahead = std::min(kAhead, int(worker_->keep()) - 3);
                for (int j = 1; j <= ahead; ++j) wanted.push_back(shownFrame_ + j * stride);
            } else if (shownFrame_ > 0) {
                // Running back: fixed blocks behind the train, each asked for
                // oldest first, so that one seek decodes a whole block forward;
                // the block below the train's is decoded while it runs through it.
                const int span = std::max(2, (int(worker_->keep()) - 3) / 2) * stride;
                const int block = (shownFrame_ - 1) / span * span;
                for (int f = block; f < shownFrame_; f += stride) wanted.push_back(f);
                for (int f = block - span; f >= 0 && f < block; f += stride) wanted.push_back(f);
            }
        }
        worker_->want(std::move(wanted), size.width(), size.height());
        pinJumpPictures(size);
    }
    if (pictureFrame_ != viewFrame_ || size != viewSize_) {
        frameBitmap_.resize(size.width(), size.height());
        int got = -1;
        const auto match = fetch(pictureFrame_, frameBitmap_, got);
        if (match != FrameWorker::Match::None && (got != viewFrame_ || size != viewSize_)) {
            shown = viewImage(frameBitmap_);
            viewFrame_ = got;
            viewSize_ = size;
        } else if (match == FrameWorker::Match::None && !worker_ && cab_->shownView().isNull()) {
            shown = viewImage(frameBitmap_);  // a video that gives no picture: the blank bitmap
        }
    }
    bool mixChanged = false;
    if (next >= 0 && (next != nextFrame_ || nextView_.size() != size)) {
        nextBitmap_.resize(size.width(), size.height());
        int got = -1;
        if (fetch(next, nextBitmap_, got) == FrameWorker::Match::Exact) {
            nextView_ = viewImage(nextBitmap_);
            nextFrame_ = next;
            mixChanged = true;
        }
    }
    // Only the frame itself is mixed, never a picture standing in for it.
    if (next < 0 || nextFrame_ != next || viewFrame_ != pictureFrame_) weight = 0;
    if (!shown.isNull() || mixChanged || weight != cab_->weight())
        cab_->setView(shown.isNull() ? cab_->shownView() : shown, weight > 0 ? nextView_ : QImage(), weight);
}

}  // namespace ts
