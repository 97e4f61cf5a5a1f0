#include "video/working_copy.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

#include "devices/frame_source.h"
#include "video/ffmpeg_frame_source.h"
#include "video/frame_checks.h"
#include "video/sequential_reader.h"
#include "video/stream_timing.h"

namespace ts {

namespace {

// The sink behind FFmpeg's output calls; the first failure is kept.
struct SinkState {
    const CopySink* sink;
    bool failed = false;
};

int writeBytes(void* opaque, uint8_t* buf, int size) {
    auto* s = static_cast<SinkState*>(opaque);
    if (s->failed || !s->sink->write(std::string_view(reinterpret_cast<const char*>(buf), size_t(size)))) {
        s->failed = true;
        return AVERROR(EIO);
    }
    return size;
}

int64_t seekBytes(void* opaque, int64_t offset, int whence) {
    auto* s = static_cast<SinkState*>(opaque);
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE || s->failed) return -1;
    return s->sink->seek(offset, whence);
}

struct Output {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVIOContext* io = nullptr;
    AVPacket* packet = av_packet_alloc();
    SinkState state;
    bool headerWritten = false;

    explicit Output(const CopySink& sink) : state{&sink} {}
    ~Output() {
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        if (io) av_freep(&io->buffer);
        avio_context_free(&io);
        avformat_free_context(format);
    }

    CopyResult open(CopySize size, AVRational rate, int keyframeEvery) {
        if (avformat_alloc_output_context2(&format, nullptr, "mp4", nullptr) < 0) return CopyResult::WriteFailed;
        const AVCodec* enc = avcodec_find_encoder_by_name("libx264");
        if (!enc) return CopyResult::NoEncoder;
        stream = avformat_new_stream(format, nullptr);
        codec = avcodec_alloc_context3(enc);
        if (!stream || !codec) return CopyResult::WriteFailed;
        codec->width = size.width;
        codec->height = size.height;
        codec->pix_fmt = AV_PIX_FMT_YUV420P;
        codec->time_base = av_inv_q(rate);
        codec->framerate = rate;
        codec->gop_size = keyframeEvery;
        codec->keyint_min = keyframeEvery;
        // No reordering: a picture decodes as soon as the ones before it have.
        codec->max_b_frames = 0;
        // Small pictures: decoding the original is most of the work. Superfast
        // keeps CABAC and the loop filter (the quality) and drops trellis
        // quantisation and the wider motion search, which cost a good part of
        // the encoding for little the eye sees at this size.
        av_opt_set(codec->priv_data, "preset", "superfast", 0);
        av_opt_set(codec->priv_data, "crf", "20", 0);
        av_opt_set(codec->priv_data, "x264-params", "scenecut=0:log-level=none", 0);
        if (format->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (avcodec_open2(codec, enc, nullptr) < 0) return CopyResult::NoEncoder;
        avcodec_parameters_from_context(stream->codecpar, codec);
        stream->time_base = codec->time_base;
        stream->avg_frame_rate = rate;
        constexpr int kBuffer = 1 << 16;
        auto* buffer = static_cast<uint8_t*>(av_malloc(kBuffer));
        io = avio_alloc_context(buffer, kBuffer, 1, &state, nullptr, writeBytes, seekBytes);
        if (!io) {
            av_free(buffer);
            return CopyResult::WriteFailed;
        }
        io->seekable = AVIO_SEEKABLE_NORMAL;
        format->pb = io;
        format->flags |= AVFMT_FLAG_CUSTOM_IO;
        if (avformat_write_header(format, nullptr) < 0) return CopyResult::WriteFailed;
        headerWritten = true;
        return CopyResult::Done;
    }

    bool send(AVFrame* frame) {
        if (avcodec_send_frame(codec, frame) < 0) return false;
        while (avcodec_receive_packet(codec, packet) == 0) {
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(format, packet) < 0) return false;
        }
        return !state.failed && !io->error;
    }

    bool finish() {
        if (!send(nullptr)) return false;
        if (av_write_trailer(format) < 0) return false;
        avio_flush(io);
        return !state.failed && !io->error;
    }
};

double displayAspect(const AVCodecParameters* p) {
    const AVRational sar = p->sample_aspect_ratio;
    const double pixel = sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0;
    return double(p->width) * pixel / double(p->height);
}

}  // namespace

CopySize workingCopySize(int width, int height, int viewWidth) {
    if (width <= 0 || height <= 0) return {};
    const int viewHeight = std::max(1, viewWidth / 2);
    // Covering the view whichever way the picture is fitted into it.
    const double cover = std::max(double(viewWidth) / width, double(viewHeight) / height) * 1.1;
    const double f = std::min(1.0, cover);
    auto even = [](double v) { return std::max(2, int(std::lround(v / 2)) * 2); };
    return {even(width * f), even(height * f)};
}

int copyKeyframeInterval(CopySize size) {
    // A jump decodes up to an interval of pictures: large ones take three times as many keyframes.
    return size.width > 1000 ? 10 : 30;
}

CopyReport writeWorkingCopy(const std::string& original, const CopySink& sink, int viewWidth,
                            const std::function<bool(int done, int total)>& progress) {
    CopyReport report;
    av_log_set_level(AV_LOG_QUIET);
    SequentialReader in;
    if (!in.open(original)) return report;
    const StreamTiming& timing = in.timing();
    // One copy picture per view frame: pictures of a faster original that no
    // position shows are neither kept nor, when nothing refers to them, decoded.
    const int total = timing.viewFrames();
    const AVCodecParameters* par = in.parameters();
    if (total <= 0 || timing.sourceFrames <= 0 || !plausibleFrameSize(par->width, par->height)) return report;
    in.setWanted([&timing](int picture) { return timing.shows(picture); });
    const double aspect = displayAspect(par);
    report.seconds = double(total) / kViewFramesPerSecond;
    report.size = workingCopySize(int(std::lround(par->height * aspect)), par->height, viewWidth);

    Output out(sink);
    if (const CopyResult r = out.open(report.size, {kViewFramesPerSecond, 1}, copyKeyframeInterval(report.size));
        r != CopyResult::Done) {
        report.result = out.state.failed ? CopyResult::WriteFailed : r;
        return report;
    }
    AVFrame* last = av_frame_alloc();  // the last picture decoded, while not yet scaled
    AVFrame* picture = av_frame_alloc();
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = report.size.width;
    picture->height = report.size.height;
    SwsContext* sws = nullptr;
    bool good = last && av_frame_get_buffer(picture, 0) >= 0;
    bool cancelled = false, havePicture = false, lastPending = false;
    int next = 0;

    auto scale = [&](const AVFrame* decoded) {
        sws = sws_getCachedContext(sws, decoded->width, decoded->height, AVPixelFormat(decoded->format), picture->width,
                                   picture->height, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!sws || av_frame_make_writable(picture) < 0) return false;
        sws_scale(sws, decoded->data, decoded->linesize, 0, decoded->height, picture->data, picture->linesize);
        havePicture = true;
        return true;
    };
    // Copy picture v is the first of the original's pictures whose number is
    // the source's picture for view frame v or more, as the source's decode
    // stops there; a gap in the original's timestamps repeats a picture, and
    // its end the last one.
    auto emit = [&](int upTo, bool toTheEnd) {
        while (good && next < total && (toTheEnd || timing.sourceIndexOf(next) <= upTo)) {
            // The same picture sent again: the encoder may still hold the last one.
            if (av_frame_make_writable(picture) < 0) {
                good = false;
                break;
            }
            picture->pts = next++;
            if (!out.send(picture)) good = false;
            if (progress && (next % 8 == 0 || next == total) && !progress(next, total)) cancelled = true;
            if (cancelled) break;
        }
    };
    int index = -1;
    while (good && !cancelled && next < total) {
        const AVFrame* decoded = in.next(index);
        if (!decoded) break;  // the end of the stream
        if (!plausibleFrameSize(decoded->width, decoded->height) ||
            !sws_isSupportedInput(AVPixelFormat(decoded->format)))
            continue;
        if (timing.sourceIndexOf(next) > index) {
            // No position shows it, unless the original ends here.
            av_frame_unref(last);
            lastPending = av_frame_ref(last, decoded) >= 0;
            continue;
        }
        lastPending = false;
        if (!scale(decoded)) {
            good = false;
            break;
        }
        emit(index, false);
    }
    // The original ends before its last counted picture: that one stays on view.
    if (good && !cancelled && lastPending && !scale(last)) good = false;
    if (good && !cancelled && havePicture) emit(0, true);
    sws_freeContext(sws);
    av_frame_free(&picture);
    av_frame_free(&last);
    report.pictures = next;
    if (cancelled) {
        report.result = CopyResult::Cancelled;
    } else if (out.state.failed || (good && !out.finish())) {
        report.result = CopyResult::WriteFailed;
    } else if (!good || !havePicture) {
        report.result = CopyResult::CannotRead;
    } else {
        report.result = CopyResult::Done;
    }
    return report;
}

bool copyMatches(const std::string& original, const std::string& copyPath) {
    FfmpegFrameSource a, b;
    if (!a.open(original) || !b.open(copyPath)) return false;
    if (a.length() != b.length()) return false;
    // A copy of one picture per view frame, or (as earlier copies were made)
    // one per picture of the original at its rate.
    const bool perViewFrame = b.sourceFrames() == b.length() && std::abs(b.sourceRate() - kViewFramesPerSecond) < 1e-9;
    const bool perPicture = a.sourceFrames() == b.sourceFrames() && std::abs(a.sourceRate() - b.sourceRate()) < 1e-9;
    return perViewFrame || perPicture;
}

}  // namespace ts
