// A decoder on its own thread. The user-interface thread says which frames it
// wants and at what size, and is answered at once with the best picture at
// hand: the frame itself once it is decoded, meanwhile the decoded frame
// nearest to it. Nothing the caller does waits for a decode.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "devices/frame_source.h"

namespace ts {

class FfmpegFrameSource;

class FrameWorker {
public:
    enum class Match { None, Nearest, Exact };

    // `source` is open; from now on only the worker's thread touches it.
    // `keep` decoded pictures are held, oldest dropped first.
    explicit FrameWorker(std::unique_ptr<FrameSource> source, size_t keep = 12);
    // Waits for the decode in progress, then ends the thread.
    ~FrameWorker();
    FrameWorker(const FrameWorker&) = delete;
    FrameWorker& operator=(const FrameWorker&) = delete;

    int length() const { return length_; }
    // Called on the worker's thread after each picture it finishes (to wake a painter).
    void setOnDecoded(std::function<void()> onDecoded);
    // The frames to decode, most wanted first, at width x height; replaces the
    // earlier wish. Frames outside the video are never decoded; no more are
    // taken than the pictures kept can hold.
    void want(std::vector<int> frames, int width, int height);
    // Frames decoded when nothing is wanted and then kept apart, never dropped
    // (the pictures a station jump shows); replaces the earlier set.
    void pin(std::vector<int> frames, int width, int height);
    size_t keep() const { return keep_; }
    // The picture of `frame` at that size when it is decoded (Exact), else the
    // decoded picture nearest to it (Nearest), else None (`out` untouched).
    // `got` receives the frame whose picture it is.
    Match best(int frame, int width, int height, ViewFrame& out, int* got = nullptr) const;
    // Waits until `frame` at that size has been tried (decoded or refused) or
    // the time is up; true when its picture is at hand.
    bool waitFor(int frame, int width, int height, std::chrono::milliseconds timeout) const;
    // Pictures the thread has finished (for measuring).
    int64_t finished() const;

private:
    struct Picture {
        int frame;
        bool ok;  // false: the source had no picture to give
        ViewFrame view;
    };
    void loop();
    // The first wanted frame not yet tried at the wanted size, else the first
    // pinned one; -1 when none.
    int nextWanted(bool& pinned) const;
    const Picture* find(int frame, int width, int height) const;
    bool stillWanted(int frame) const;

    std::unique_ptr<FrameSource> source_;
    const int length_;
    const size_t keep_;
    mutable std::mutex m_;
    std::condition_variable work_;          // wakes the thread
    mutable std::condition_variable done_;  // wakes those waiting for a picture
    std::vector<int> wanted_, pinWanted_;
    int width_ = kViewWidth, height_ = kViewHeight, pinWidth_ = 0, pinHeight_ = 0;
    std::deque<Picture> kept_;
    std::vector<Picture> pinned_;
    bool stopping_ = false;
    int64_t finished_ = 0;
    std::function<void()> onDecoded_;
    int decoding_ = -1;                    // the frame under way
    FfmpegFrameSource* ffmpeg_ = nullptr;  // the source, when it can give a decode up
    std::thread thread_;
};

}  // namespace ts
