#include "video/video_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <string>

namespace ts {

struct VideoWriter::Impl {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    SwsContext* sws = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    VideoSettings s;
    int64_t next = 0;
    bool good = false;
    bool finished = false;

    void drain() {
        while (avcodec_receive_packet(codec, packet) == 0) {
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            av_interleaved_write_frame(format, packet);
        }
    }
};

VideoWriter::VideoWriter(const std::string& path, const VideoSettings& s) : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    d.s = s;
    av_log_set_level(AV_LOG_ERROR);
    if (avformat_alloc_output_context2(&d.format, nullptr, nullptr, path.c_str()) < 0) return;
    const char* name = s.codec == VideoCodec::H264    ? "libx264"
                       : s.codec == VideoCodec::HEVC  ? "libx265"
                       : s.codec == VideoCodec::MJPEG ? "mjpeg"
                                                      : "mpeg4";
    const AVCodec* enc = avcodec_find_encoder_by_name(name);
    if (!enc) return;
    d.stream = avformat_new_stream(d.format, nullptr);
    d.codec = avcodec_alloc_context3(enc);
    d.codec->width = s.width;
    d.codec->height = s.height;
    d.codec->time_base = AVRational{1, s.fps};
    d.codec->framerate = AVRational{s.fps, 1};
    d.codec->gop_size = s.gop;
    d.codec->thread_count = 1;
    if (s.codec == VideoCodec::H264) {
        d.codec->pix_fmt = AV_PIX_FMT_YUV420P;
        d.codec->max_b_frames = s.bFrames;
        d.codec->keyint_min = s.gop;
        av_opt_set(d.codec->priv_data, "preset", "veryfast", 0);
        if (s.bitRateKbps > 0) {
            d.codec->bit_rate = int64_t(s.bitRateKbps) * 1000;
            av_opt_set(d.codec->priv_data, "profile", "high", 0);
        } else {
            av_opt_set(d.codec->priv_data, "crf", std::to_string(s.quality).c_str(), 0);
        }
        // One thread and no scene cuts: the same frames give the same file, whatever the machine is doing.
        const std::string threads = std::to_string(std::max(1, s.threads));
        av_opt_set(d.codec->priv_data, "x264-params",
                   ("scenecut=0:threads=" + threads + ":lookahead-threads=1:sliced-threads=0").c_str(), 0);
    } else if (s.codec == VideoCodec::HEVC) {
        d.codec->pix_fmt = AV_PIX_FMT_YUV420P;
        d.codec->keyint_min = s.gop;
        av_opt_set(d.codec->priv_data, "preset", "ultrafast", 0);
        av_opt_set(d.codec->priv_data, "crf", std::to_string(s.quality).c_str(), 0);
        const std::string params = "scenecut=0:log-level=none:pools=" + std::to_string(std::max(1, s.threads)) +
                                   ":keyint=" + std::to_string(s.gop) + ":min-keyint=" + std::to_string(s.gop);
        av_opt_set(d.codec->priv_data, "x265-params", params.c_str(), 0);
    } else {
        d.codec->pix_fmt = s.codec == VideoCodec::MJPEG ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
        d.codec->max_b_frames = 0;
        d.codec->flags |= AV_CODEC_FLAG_QSCALE;
        d.codec->global_quality = FF_QP2LAMBDA * s.quality;
    }
    if (d.format->oformat->flags & AVFMT_GLOBALHEADER) d.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(d.codec, enc, nullptr) < 0) return;
    avcodec_parameters_from_context(d.stream->codecpar, d.codec);
    d.stream->time_base = d.codec->time_base;
    d.stream->avg_frame_rate = d.codec->framerate;
    if (!(d.format->oformat->flags & AVFMT_NOFILE) && avio_open(&d.format->pb, path.c_str(), AVIO_FLAG_WRITE) < 0)
        return;
    if (avformat_write_header(d.format, nullptr) < 0) return;
    d.frame = av_frame_alloc();
    d.frame->format = d.codec->pix_fmt;
    d.frame->width = s.width;
    d.frame->height = s.height;
    av_frame_get_buffer(d.frame, 0);
    d.packet = av_packet_alloc();
    d.sws = sws_getContext(s.width, s.height, AV_PIX_FMT_BGRA, s.width, s.height, d.codec->pix_fmt, SWS_BILINEAR,
                           nullptr, nullptr, nullptr);
    d.good = d.sws != nullptr;
}

VideoWriter::~VideoWriter() {
    finish();
    Impl& d = *impl_;
    sws_freeContext(d.sws);
    av_frame_free(&d.frame);
    av_packet_free(&d.packet);
    avcodec_free_context(&d.codec);
    if (d.format) {
        if (d.format->pb && !(d.format->oformat->flags & AVFMT_NOFILE)) avio_closep(&d.format->pb);
        avformat_free_context(d.format);
    }
}

bool VideoWriter::ok() const { return impl_->good; }

void VideoWriter::add(const uint32_t* pixels) {
    Impl& d = *impl_;
    if (!d.good || d.finished) return;
    av_frame_make_writable(d.frame);
    const uint8_t* src[4] = {reinterpret_cast<const uint8_t*>(pixels), nullptr, nullptr, nullptr};
    const int stride[4] = {d.s.width * 4, 0, 0, 0};
    sws_scale(d.sws, src, stride, 0, d.s.height, d.frame->data, d.frame->linesize);
    d.frame->pts = d.next++;
    avcodec_send_frame(d.codec, d.frame);
    d.drain();
}

bool VideoWriter::finish() {
    Impl& d = *impl_;
    if (!d.good || d.finished) return d.good;
    d.finished = true;
    avcodec_send_frame(d.codec, nullptr);
    d.drain();
    av_write_trailer(d.format);
    return true;
}

}  // namespace ts
