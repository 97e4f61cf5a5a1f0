#include "video/stream_timing.h"

#include <algorithm>
#include <cmath>

#include "devices/frame_source.h"
#include "video/frame_checks.h"

namespace ts {

namespace {

// A count the file can hold: every picture takes at least a byte of it.
int possibleCount(double frames, int64_t fileBytes) {
    const int n = frameCountFrom(frames);
    if (n > 0 && fileBytes > 0 && n > fileBytes) return 0;
    return n;
}

int countPackets(AVFormatContext* format, int stream) {
    AVPacket* packet = av_packet_alloc();
    if (!packet) return 0;
    int64_t n = 0;
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == stream) ++n;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    return frameCountFrom(double(n));
}

}  // namespace

StreamTiming StreamTiming::of(AVFormatContext* format, int stream) {
    StreamTiming t;
    AVStream* st = format->streams[stream];
    t.timeBase = st->time_base;
    t.rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    if (t.rate.num <= 0 || t.rate.den <= 0) t.rate = {30, 1};
    t.startTime = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
    const int64_t fileBytes = format->pb ? avio_size(format->pb) : -1;
    if (st->nb_frames > 0) t.sourceFrames = possibleCount(double(st->nb_frames), fileBytes);
    if (t.sourceFrames == 0 && st->duration > 0 && st->duration != AV_NOPTS_VALUE)
        t.sourceFrames = possibleCount(double(st->duration) * av_q2d(st->time_base) * av_q2d(t.rate), fileBytes);
    if (t.sourceFrames == 0 && format->duration > 0 && format->duration != AV_NOPTS_VALUE)
        t.sourceFrames = possibleCount(double(format->duration) / AV_TIME_BASE * av_q2d(t.rate), fileBytes);
    // A header that lies about every length: the pictures are counted.
    if (t.sourceFrames == 0) {
        t.sourceFrames = countPackets(format, stream);
        av_seek_frame(format, stream, t.startTime, AVSEEK_FLAG_BACKWARD);
    }
    return t;
}

int StreamTiming::indexOf(int64_t ts, int fallback) const {
    if (ts == AV_NOPTS_VALUE) return fallback;
    const double seconds = double(ts - startTime) * av_q2d(timeBase);
    // A damaged timestamp must not wrap the index: it is held within a range
    // no real video reaches.
    const double index = seconds * av_q2d(rate);
    if (!std::isfinite(index)) return fallback;
    return int(std::lround(std::clamp(index, -1e9, 1e9)));
}

int64_t StreamTiming::timestampOf(int index) const {
    // index / rate seconds in the stream's time base, from its start.
    return av_rescale_q(index, av_inv_q(rate), timeBase) + startTime;
}

int StreamTiming::sourceIndexOf(int viewIndex) const {
    const int64_t s = av_rescale_rnd(viewIndex, rate.num, int64_t(rate.den) * kViewFramesPerSecond, AV_ROUND_NEAR_INF);
    return int(std::clamp<int64_t>(s, 0, std::max(sourceFrames - 1, 0)));
}

int StreamTiming::viewFrames() const {
    // A 30 fps video has one view frame per picture.
    if (rate.num == kViewFramesPerSecond && rate.den == 1) return sourceFrames;
    return frameCountFrom(double(sourceFrames) * kViewFramesPerSecond / av_q2d(rate));
}

bool StreamTiming::shows(int picture) const {
    // At 30 or fewer pictures a second, consecutive view frames never pass one by.
    if (int64_t(rate.num) <= int64_t(rate.den) * kViewFramesPerSecond) return true;
    const int frames = viewFrames();
    if (frames <= 0 || picture >= sourceIndexOf(frames - 1)) return true;
    if (picture < 0) return false;
    const int64_t v = av_rescale_rnd(picture, int64_t(rate.den) * kViewFramesPerSecond, rate.num, AV_ROUND_NEAR_INF);
    for (int64_t w = std::max<int64_t>(0, v - 1); w <= v + 1 && w < frames; ++w)
        if (sourceIndexOf(int(w)) == picture) return true;
    return false;
}

}  // namespace ts
