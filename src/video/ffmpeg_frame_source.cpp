#include "video/ffmpeg_frame_source.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <vector>

#include "devices/file_check.h"
#include "video/disposable_pictures.h"
#include "video/frame_checks.h"
#include "video/hardware_decoding.h"
#include "video/stream_timing.h"

namespace ts {

struct FfmpegFrameSource::Impl {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    SwsContext* sws = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    AVFrame* scratch = nullptr;  // a picture on its way from device memory
    int stream = -1;
    int frames = 0;  // view frames of 1/30 s
    StreamTiming timing;
    // Pictures no view frame shows and nothing refers to (every second one of
    // many 60 fps videos) are not decoded.
    std::unique_ptr<PictureSkipping> skipping;
    PictureFit fit = PictureFit::Crop;
    // The route's alignment with this copy, and the copy's own length in view frames.
    int alignOffset = 0;
    int alignRate = kUnchangedRate;
    int fileFrames = 0;
    static constexpr int kUnchangedRate = 1000000;

    bool aligned() const { return alignOffset != 0 || alignRate != kUnchangedRate; }

    // The file's view frame for the route's frame `index`; -1 outside the file.
    int fileIndexOf(int index) const {
        if (!aligned()) return index;
        const int64_t f = alignOffset + (int64_t(index) * alignRate + kUnchangedRate / 2) / kUnchangedRate;
        return f < 0 || f >= fileFrames ? -1 : int(f);
    }
    std::vector<uint32_t> fitted;  // a picture of another shape at its fitted size
    int64_t indexShift = 0;        // index timestamps that are decode times run this much behind
    int lastDecoded = -1;          // index of the frame in `frame`, -1 when none
    // The picture converted: `frame`, or a recent one kept from an earlier decode.
    AVFrame* picture = nullptr;
    // Recently decoded pictures that frames show, oldest first, with their indexes.
    struct Recent {
        int index;
        AVFrame* frame;
    };
    std::deque<Recent> recent;
    int64_t recentBytes = 0;
    // Pictures before this one that nothing refers to are not decoded: the
    // current fetch's target less what the recent pictures keep.
    int skipBelow = 0;
    int picturesPerViewFrame = 1;  // the stream's pictures a view frame spans, at most (2 at 60 fps)
    bool haveFrame = false;
    bool converted = false;  // a frame has reached a picture since the file was opened
    bool drained = false;    // the decoder has been sent the end of the stream
    int64_t decoded = 0, seekCount = 0;
    int threads = 1;
    bool quick = false;
    bool everyPicture = false;
    bool hardwareWanted = false;
    bool onDevice = false;  // the open video decodes on the graphics hardware
    std::function<bool()> interrupt;
    bool abandoned = false;
    int64_t threadsFrom = 0;  // pixels of a picture from which `threads` are used

    ~Impl() { close(); }

    void forgetRecent() {
        for (Recent& r : recent) av_frame_free(&r.frame);
        recent.clear();
    }

    // How many shown pictures the recent ones hold at this video's picture size.
    int recentCapacity() const {
        if (recentBytes <= 0 || !codec || codec->width <= 0 || codec->height <= 0) return 0;
        const int64_t bytes = int64_t(codec->width) * codec->height * 3 / 2;
        return int(std::clamp<int64_t>(recentBytes / bytes, 0, 64));
    }

    void keepRecent(int index) {
        const int capacity = recentCapacity();
        if (capacity == 0 || !timing.shows(index)) return;
        if (!recent.empty() && recent.back().index == index) return;
        // A seek starts a new run of pictures: the old ones stay valid, but
        // keeping them in index order makes the lookup and the dropping simple.
        if (!recent.empty() && recent.back().index > index) forgetRecent();
        AVFrame* copy = av_frame_clone(frame);
        if (!copy) return;
        recent.push_back({index, copy});
        while (int(recent.size()) > capacity) {
            av_frame_free(&recent.front().frame);
            recent.pop_front();
        }
    }

    AVFrame* recentPicture(int index) const {
        for (const Recent& r : recent)
            if (r.index == index) return r.frame;
        return nullptr;
    }

    void close() {
        forgetRecent();
        picture = nullptr;
        sws_freeContext(sws);
        sws = nullptr;
        av_frame_free(&frame);
        av_frame_free(&scratch);
        onDevice = false;
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
        stream = -1;
        frames = 0;
        timing = {};
        skipping.reset();
        lastDecoded = -1;
        haveFrame = false;
        converted = false;
    }

    int64_t timestampOf(int index) const { return timing.timestampOf(index); }
    int indexOf(int64_t ts) const { return timing.indexOf(ts, lastDecoded + 1); }

    // Receives the next decoded frame; false at the end of the stream.
    bool nextFrame(int& index) {
        for (;;) {
            const int r = avcodec_receive_frame(codec, frame);
            if (r == 0) {
                ++decoded;
                if (onDevice && !pictureToMainMemory(frame, scratch)) return false;
                index = indexOf(frame->best_effort_timestamp);
                keepRecent(index);
                return true;
            }
            if (r == AVERROR_EOF) return false;
            if (r != AVERROR(EAGAIN)) return false;
            if (drained) return false;
            // Feed one more packet of our stream (or the end of the stream).
            bool fed = false;
            while (!fed) {
                const int rr = av_read_frame(format, packet);
                if (rr < 0) {
                    avcodec_send_packet(codec, nullptr);
                    drained = true;
                    fed = true;
                    break;
                }
                if (packet->stream_index == stream && !skipping->skip(*packet)) {
                    avcodec_send_packet(codec, packet);
                    fed = true;
                }
                av_packet_unref(packet);
            }
        }
    }

    void seekTo(int index) {
        ++seekCount;
        av_seek_frame(format, stream, timestampOf(std::max(index, 0)), AVSEEK_FLAG_BACKWARD);
        avcodec_flush_buffers(codec);
        drained = false;
        lastDecoded = -1;
        haveFrame = false;
    }

    // True when decoding forward from the last frame reaches `index` without
    // passing a keyframe (a seek would then cost no more).
    bool forwardIsCheaper(int index) const {
        if (lastDecoded < 0 || index <= lastDecoded) return false;
        AVStream* st = format->streams[stream];
        const AVIndexEntry* key =
            avformat_index_get_entry_from_timestamp(st, timestampOf(index) - indexShift, AVSEEK_FLAG_BACKWARD);
        if (!key) return index - lastDecoded <= 30;
        return indexOf(key->timestamp + indexShift) <= lastDecoded;
    }

    bool decodeTo(int index) {
        picture = frame;
        if (haveFrame && lastDecoded == index) return true;
        if (AVFrame* kept = recentPicture(index)) {
            picture = kept;
            return true;
        }
        // Disposable pictures on the way need not be decoded, except those
        // the recent pictures would keep for stepping back.
        skipBelow = index - recentCapacity() * picturesPerViewFrame;
        int got = -1;
        if (!forwardIsCheaper(index)) {
            // Index timestamps may be decode times: when the seek lands past the
            // target, seek again from further back.
            for (int back : {0, 3, 30, 300, index}) {
                seekTo(index - back);
                if (!nextFrame(got)) return haveFrame;
                lastDecoded = got;
                haveFrame = true;
                if (got <= index) break;
            }
            if (got >= index) return true;
        }
        while (nextFrame(got)) {
            lastDecoded = got;
            haveFrame = true;
            if (got >= index) return true;
            if (interrupt && interrupt()) {
                abandoned = true;
                return false;
            }
        }
        // The end of the stream before the target: keep the last frame there was.
        return haveFrame;
    }

    // The picture's shape as shown, with non-square pixels taken into account.
    double displayAspect() const {
        const AVRational sar = picture->sample_aspect_ratio;
        const double pixel = sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0;
        return double(picture->width) * pixel / double(picture->height);
    }

    // False when the frame cannot be converted (a broken size or pixel
    // format, which the scaler would abort on); `out` is then left as it is.
    // One scaling step from the decoded picture to the size it is shown at;
    // the view's own size keeps the filter it always had.
    bool convert(ViewFrame& out) {
        const auto pixelFormat = AVPixelFormat(picture->format);
        if (!plausibleFrameSize(picture->width, picture->height) || !picture->data[0] ||
            pixelFormat == AV_PIX_FMT_NONE || !sws_isSupportedInput(pixelFormat))
            return false;
        const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(pixelFormat);
        if (!desc) return false;
        for (int p = 0; p < av_pix_fmt_count_planes(pixelFormat); ++p)
            if (!picture->data[p] || picture->linesize[p] <= 0) return false;
        const bool ownSize = out.width == kViewWidth && out.height == kViewHeight;
        const double viewAspect = double(out.width) / double(out.height);
        const double aspect = displayAspect();
        if (std::abs(aspect / viewAspect - 1.0) < 0.01)
            return scale(pixelFormat, out.pixels.data(), out.width, out.height, ownSize);
        // Another shape: scale to cover (crop) or to fit inside (letterbox)
        // the view, keeping the picture's proportions, then place it centrally.
        const bool crop = fit == PictureFit::Crop;
        const bool wider = aspect > viewAspect;
        int w = out.width, h = out.height;
        if (wider == crop)
            w = std::max(1, int(std::lround(out.height * aspect)));
        else
            h = std::max(1, int(std::lround(out.width / aspect)));
        if (w > 4 * kMaxVideoSide || h > 4 * kMaxVideoSide) return false;
        fitted.assign(size_t(w) * size_t(h), 0xFF000000u);
        if (!scale(pixelFormat, fitted.data(), w, h, ownSize)) return false;
        if (!crop) std::fill(out.pixels.begin(), out.pixels.end(), 0xFF000000u);
        const int dx = (out.width - w) / 2, dy = (out.height - h) / 2;
        for (int y = 0; y < out.height; ++y) {
            const int sy = y - dy;
            if (sy < 0 || sy >= h) continue;
            const int x0 = std::max(0, dx), x1 = std::min(out.width, dx + w);
            std::copy(fitted.begin() + ptrdiff_t(sy) * w + (x0 - dx), fitted.begin() + ptrdiff_t(sy) * w + (x1 - dx),
                      out.pixels.begin() + ptrdiff_t(y) * out.width + x0);
        }
        return true;
    }

    bool scale(AVPixelFormat pixelFormat, uint32_t* pixels, int width, int height, bool ownSize) {
        // Measuring needs no smooth edges: an area average is a fraction of
        // a bicubic filter's work when a large picture is made small.
        const int filter = quick ? SWS_AREA : ownSize ? SWS_BILINEAR : SWS_BICUBIC;
        sws = sws_getCachedContext(sws, picture->width, picture->height, pixelFormat, width, height, AV_PIX_FMT_BGRA,
                                   filter, nullptr, nullptr, nullptr);
        if (!sws) return false;
        uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(pixels), nullptr, nullptr, nullptr};
        int stride[4] = {width * 4, 0, 0, 0};
        return sws_scale(sws, picture->data, picture->linesize, 0, picture->height, dst, stride) > 0;
    }
};

FfmpegFrameSource::FfmpegFrameSource() : impl_(std::make_unique<Impl>()) {}
FfmpegFrameSource::~FfmpegFrameSource() = default;

bool FfmpegFrameSource::open(const std::string& path) {
    Impl& d = *impl_;
    d.close();
    av_log_set_level(AV_LOG_QUIET);
    // Opening a pipe or device would block until something writes to it.
    if (checkFile(path) != FileRefusal::None) return false;
    // Only local files: a damaged file probed as a playlist must not make the
    // program fetch from the network or wait on it.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = avformat_open_input(&d.format, path.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) return false;
    if (avformat_find_stream_info(d.format, nullptr) < 0) {
        d.close();
        return false;
    }
    const AVCodec* decoder = nullptr;
    d.stream = av_find_best_stream(d.format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (d.stream < 0 || !decoder) {
        d.close();
        return false;
    }
    AVStream* st = d.format->streams[d.stream];
    d.codec = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(d.codec, st->codecpar);
    d.onDevice = d.hardwareWanted && attachHardwareDecoding(d.codec, decoder);
    // One thread is faster for random access; large pictures played ahead gain
    // from more. The hardware decodes on its own.
    const bool large = int64_t(st->codecpar->width) * st->codecpar->height >= d.threadsFrom;
    d.codec->thread_count = large && !d.onDevice ? std::max(1, d.threads) : 1;
    if (d.codec->thread_count > 1) d.codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (d.quick) d.codec->skip_loop_filter = AVDISCARD_ALL;
    if (avcodec_open2(d.codec, decoder, nullptr) < 0) {
        d.close();
        return false;
    }
    d.timing = StreamTiming::of(d.format, d.stream);
    d.frames = d.timing.viewFrames();
    d.skipping = std::make_unique<PictureSkipping>(st->codecpar, d.timing);
    d.skipBelow = 0;
    d.picturesPerViewFrame = std::max(1, int(std::ceil(av_q2d(d.timing.rate) / kViewFramesPerSecond - 1e-9)));
    if (!d.everyPicture)
        d.skipping->setWanted(
            [impl = &d](int picture) { return picture >= impl->skipBelow && impl->timing.shows(picture); });
    d.fileFrames = d.frames;
    // Aligned: the route's frames up to the copy's end.
    if (d.aligned())
        d.frames =
            int(std::max<int64_t>(0, (int64_t(d.fileFrames) - d.alignOffset) * Impl::kUnchangedRate / d.alignRate));
    // MP4 indexes give decode times: the first keyframe is then listed before
    // the stream's start; shifting by the difference gives presentation times.
    if (avformat_index_get_entries_count(st) > 0) {
        const AVIndexEntry* first = avformat_index_get_entry(st, 0);
        if (first && first->timestamp < d.timing.startTime) d.indexShift = d.timing.startTime - first->timestamp;
    }
    d.packet = av_packet_alloc();
    d.frame = av_frame_alloc();
    d.scratch = av_frame_alloc();
    return true;
}

int FfmpegFrameSource::length() const { return impl_->frames; }
void FfmpegFrameSource::setDecoderThreads(int threads, int64_t minPixels) {
    impl_->threads = threads;
    impl_->threadsFrom = minPixels;
}
void FfmpegFrameSource::setQuickDecode(bool quick) { impl_->quick = quick; }
void FfmpegFrameSource::setDecodeEveryPicture(bool every) { impl_->everyPicture = every; }
void FfmpegFrameSource::setHardwareDecoding(bool wanted) { impl_->hardwareWanted = wanted; }
bool FfmpegFrameSource::hardwareDecoding() const { return impl_->onDevice; }
void FfmpegFrameSource::setRecentPictures(int64_t bytes) {
    impl_->recentBytes = std::max<int64_t>(bytes, 0);
    if (impl_->recentBytes == 0) impl_->forgetRecent();
}
void FfmpegFrameSource::setFit(PictureFit fit) { impl_->fit = fit; }
void FfmpegFrameSource::setAlignment(int offsetFrames, int rateMillionths) {
    impl_->alignOffset = offsetFrames;
    impl_->alignRate = rateMillionths > 0 ? rateMillionths : Impl::kUnchangedRate;
}
double FfmpegFrameSource::sourceRate() const { return impl_->format ? av_q2d(impl_->timing.rate) : 0.0; }
int FfmpegFrameSource::sourceFrames() const { return impl_->timing.sourceFrames; }
int FfmpegFrameSource::sourceWidth() const { return impl_->codec ? impl_->codec->width : 0; }
int FfmpegFrameSource::sourceHeight() const { return impl_->codec ? impl_->codec->height : 0; }

double FfmpegFrameSource::keyframeSeconds() const {
    const Impl& d = *impl_;
    if (!d.format || d.timing.sourceFrames <= 0) return 0;
    AVStream* st = d.format->streams[d.stream];
    const int entries = avformat_index_get_entries_count(st);
    int keys = 0;
    for (int i = 0; i < entries; ++i)
        if (const AVIndexEntry* e = avformat_index_get_entry(st, i); e && (e->flags & AVINDEX_KEYFRAME)) ++keys;
    if (keys == 0) return 0;
    return double(d.timing.sourceFrames) / keys / av_q2d(d.timing.rate);
}

bool FfmpegFrameSource::getFrame(int index, ViewFrame& out) {
    Impl& d = *impl_;
    if (!d.format) return false;
    d.abandoned = false;
    if (index < 0 || index >= d.frames) return d.haveFrame;
    const int fileIndex = d.fileIndexOf(index);
    if (fileIndex < 0) return d.haveFrame;
    if (!d.decodeTo(d.timing.sourceIndexOf(fileIndex))) return d.converted;
    // A frame that cannot be converted leaves the last one on view.
    if (d.convert(out)) d.converted = true;
    return d.converted;
}

int64_t FfmpegFrameSource::decodedFrames() const { return impl_->decoded; }
void FfmpegFrameSource::setInterrupt(std::function<bool()> interrupt) { impl_->interrupt = std::move(interrupt); }
bool FfmpegFrameSource::abandoned() const { return impl_->abandoned; }
int64_t FfmpegFrameSource::skippedFrames() const { return impl_->skipping ? impl_->skipping->skipped() : 0; }
int64_t FfmpegFrameSource::seeks() const { return impl_->seekCount; }

}  // namespace ts
