#include "video/sequential_reader.h"

#include <algorithm>
#include <thread>

#include "devices/file_check.h"

namespace ts {

SequentialReader::SequentialReader() = default;

SequentialReader::~SequentialReader() {
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

bool SequentialReader::open(const std::string& path, int threads, bool quick) {
    if (format_ || checkFile(path) != FileRefusal::None) return false;
    // Only local files: a damaged file probed as a playlist must not reach out.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = avformat_open_input(&format_, path.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0 || avformat_find_stream_info(format_, nullptr) < 0) return false;
    const AVCodec* decoder = nullptr;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (stream_ < 0 || !decoder) return false;
    codec_ = avcodec_alloc_context3(decoder);
    if (!codec_ || avcodec_parameters_to_context(codec_, format_->streams[stream_]->codecpar) < 0) return false;
    // One frame more in flight than cores: the cores keep decoding while the
    // caller works on the last picture.
    codec_->thread_count = threads > 0 ? threads : int(std::clamp(std::thread::hardware_concurrency() + 1, 2u, 9u));
    if (codec_->thread_count > 1) codec_->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (quick) codec_->skip_loop_filter = AVDISCARD_ALL;
    if (avcodec_open2(codec_, decoder, nullptr) < 0) return false;
    timing_ = StreamTiming::of(format_, stream_);
    skipping_ = std::make_unique<PictureSkipping>(format_->streams[stream_]->codecpar, timing_);
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    return packet_ && frame_;
}

const AVCodecParameters* SequentialReader::parameters() const {
    return format_ && stream_ >= 0 ? format_->streams[stream_]->codecpar : nullptr;
}

void SequentialReader::setWanted(WantedPictures wanted) {
    if (skipping_) skipping_->setWanted(std::move(wanted));
}

int64_t SequentialReader::skipped() const { return skipping_ ? skipping_->skipped() : 0; }

const AVFrame* SequentialReader::next(int& picture) {
    if (!codec_ || !frame_) return nullptr;
    for (;;) {
        const int r = avcodec_receive_frame(codec_, frame_);
        if (r == 0) {
            ++decoded_;
            last_ = timing_.indexOf(frame_->best_effort_timestamp, last_ + 1);
            picture = last_;
            return frame_;
        }
        if (r != AVERROR(EAGAIN) || drained_) return nullptr;
        const int rr = av_read_frame(format_, packet_);
        if (rr < 0) {
            avcodec_send_packet(codec_, nullptr);
            drained_ = true;
            continue;
        }
        if (packet_->stream_index == stream_ && !skipping_->skip(*packet_)) avcodec_send_packet(codec_, packet_);
        av_packet_unref(packet_);
    }
}

}  // namespace ts
