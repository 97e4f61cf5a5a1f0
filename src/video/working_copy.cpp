#include "video/working_copy.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <thread>

#include "devices/file_check.h"
#include "devices/frame_source.h"
#include "video/ffmpeg_frame_source.h"
#include "video/frame_checks.h"
#include "video/stream_timing.h"

namespace ts {

namespace {

constexpr int kCopyKeyframeEvery = 30;

struct Input {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    int stream = -1;
    ~Input() {
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }
    bool open(const std::string& path) {
        if (checkFile(path) != FileRefusal::None) return false;
        AVDictionary* options = nullptr;
        av_dict_set(&options, "protocol_whitelist", "file", 0);
        const int opened = avformat_open_input(&format, path.c_str(), nullptr, &options);
        av_dict_free(&options);
        if (opened < 0 || avformat_find_stream_info(format, nullptr) < 0) return false;
        const AVCodec* decoder = nullptr;
        stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
        if (stream < 0 || !decoder) return false;
        codec = avcodec_alloc_context3(decoder);
        if (!codec || avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) < 0) return false;
        // The whole file is decoded in order: every core helps.
        codec->thread_count = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
        codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        return avcodec_open2(codec, decoder, nullptr) >= 0;
    }
};

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

    CopyResult open(CopySize size, AVRational rate) {
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
        codec->gop_size = kCopyKeyframeEvery;
        codec->keyint_min = kCopyKeyframeEvery;
        // No reordering: a picture decodes as soon as the ones before it have.
        codec->max_b_frames = 0;
        av_opt_set(codec->priv_data, "preset", "veryfast", 0);
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

CopyReport writeWorkingCopy(const std::string& original, const CopySink& sink, int viewWidth,
                            const std::function<bool(int done, int total)>& progress) {
    CopyReport report;
    av_log_set_level(AV_LOG_QUIET);
    Input in;
    if (!in.open(original)) return report;
    const StreamTiming timing = StreamTiming::of(in.format, in.stream);
    const int total = timing.sourceFrames;
    const AVCodecParameters* par = in.format->streams[in.stream]->codecpar;
    if (total <= 0 || !plausibleFrameSize(par->width, par->height)) return report;
    const double aspect = displayAspect(par);
    report.seconds = total / av_q2d(timing.rate);
    report.size = workingCopySize(int(std::lround(par->height * aspect)), par->height, viewWidth);

    Output out(sink);
    if (const CopyResult r = out.open(report.size, timing.rate); r != CopyResult::Done) {
        report.result = out.state.failed ? CopyResult::WriteFailed : r;
        return report;
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* decoded = av_frame_alloc();
    AVFrame* picture = av_frame_alloc();
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = report.size.width;
    picture->height = report.size.height;
    SwsContext* sws = nullptr;
    bool good = packet && decoded && av_frame_get_buffer(picture, 0) >= 0;
    bool cancelled = false, havePicture = false, drained = false;
    int next = 0, last = -1;

    // Copy picture s is the first of the original's pictures whose index is
    // s or more, as the source's decode to picture s stops there; a gap in
    // the original's timestamps repeats a picture, and its end the last one.
    auto emit = [&](int upTo) {
        while (good && next <= upTo && next < total) {
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
    while (good && !cancelled && next < total) {
        const int r = avcodec_receive_frame(in.codec, decoded);
        if (r == AVERROR(EAGAIN) && !drained) {
            const int rr = av_read_frame(in.format, packet);
            if (rr < 0) {
                avcodec_send_packet(in.codec, nullptr);
                drained = true;
            } else {
                if (packet->stream_index == in.stream) avcodec_send_packet(in.codec, packet);
                av_packet_unref(packet);
            }
            continue;
        }
        if (r < 0) break;  // the end of the stream
        last = timing.indexOf(decoded->best_effort_timestamp, last + 1);
        if (!plausibleFrameSize(decoded->width, decoded->height) ||
            !sws_isSupportedInput(AVPixelFormat(decoded->format)))
            continue;
        sws = sws_getCachedContext(sws, decoded->width, decoded->height, AVPixelFormat(decoded->format), picture->width,
                                   picture->height, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!sws || av_frame_make_writable(picture) < 0) {
            good = false;
            break;
        }
        sws_scale(sws, decoded->data, decoded->linesize, 0, decoded->height, picture->data, picture->linesize);
        havePicture = true;
        emit(last);
    }
    // The original ends before its last counted picture: that one stays on view.
    if (good && !cancelled && havePicture) emit(total - 1);
    sws_freeContext(sws);
    av_frame_free(&picture);
    av_frame_free(&decoded);
    av_packet_free(&packet);
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
    return a.length() == b.length() && a.sourceFrames() == b.sourceFrames() &&
           std::abs(a.sourceRate() - b.sourceRate()) < 1e-9;
}

}  // namespace ts
