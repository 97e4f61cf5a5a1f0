// The decoder thread: its answers are the synchronous fetch's pictures, it
// answers at once with the nearest picture while one is decoded, and a video
// that is damaged or cut short while it decodes ends its requests, not the program.
#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "test_support.h"
#include "video/ffmpeg_frame_source.h"
#include "video/frame_worker.h"
#include "video/recording_frame_source.h"
#include "video/video_writer.h"

using namespace ts;
using namespace std::chrono_literals;

namespace {

constexpr int kFrames = 150;

// Pictures that differ everywhere from frame to frame, with B-frames to reorder.
std::string makeVideo(const test::TempDir& dir, const char* name, VideoSettings s) {
    const std::string path = (dir.path() / name).string();
    VideoWriter writer(path, s);
    EXPECT_TRUE(writer.ok()) << name;
    std::vector<uint32_t> px(size_t(s.width) * s.height);
    for (int i = 0; i < kFrames; ++i) {
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x)
                px[size_t(y) * s.width + x] = 0xFF000000u | uint32_t((x * 2 + i * 7) & 0xFF) << 16 |
                                              uint32_t((y * 3 + i * 5) & 0xFF) << 8 | uint32_t((x + y + i * 11) & 0xFF);
        writer.add(px.data());
    }
    EXPECT_TRUE(writer.finish());
    return path;
}

std::unique_ptr<FrameSource> opened(const std::string& path) {
    auto src = std::make_unique<FfmpegFrameSource>();
    EXPECT_TRUE(src->open(path)) << path;
    return src;
}

// Asks the worker for `frame` and waits for the very picture.
ViewFrame exactFrom(FrameWorker& worker, int frame, int w, int h) {
    worker.want({frame}, w, h);
    EXPECT_TRUE(worker.waitFor(frame, w, h, 60s)) << "frame " << frame;
    ViewFrame out;
    int got = -1;
    EXPECT_EQ(worker.best(frame, w, h, out, &got), FrameWorker::Match::Exact);
    EXPECT_EQ(got, frame);
    return out;
}

// A source whose decodes wait for the test to let them through.
class GatedSource final : public FrameSource {
public:
    explicit GatedSource(int frames) : inner_(frames) {}
    bool open(const std::string&) override { return true; }
    int length() const override { return inner_.length(); }
    bool getFrame(int index, ViewFrame& out) override {
        std::unique_lock lock(m_);
        waiting_ = index;
        cv_.notify_all();
        cv_.wait(lock, [&] { return passes_ > 0; });
        --passes_;
        waiting_ = -1;
        return inner_.getFrame(index, out);
    }
    void pass(int n = 1) {
        std::lock_guard lock(m_);
        passes_ += n;
        cv_.notify_all();
    }
    // Waits until the worker is decoding `index`.
    bool decoding(int index) {
        std::unique_lock lock(m_);
        return cv_.wait_for(lock, 30s, [&] { return waiting_ == index; });
    }

private:
    RecordingFrameSource inner_;
    std::mutex m_;
    std::condition_variable cv_;
    int passes_ = 0, waiting_ = -1;
};

}  // namespace

TEST(FrameWorker, AnswersAreTheSynchronousFetchsPicturesInAnyOrderAndAtAnyRate) {
    test::TempDir dir;
    VideoSettings h264;  // GOP 30, two B-frames
    VideoSettings fast = h264;
    fast.fps = 60;
    VideoSettings slow;
    slow.codec = VideoCodec::MPEG4;
    slow.fps = 24;
    slow.gop = 25;
    slow.width = 640;
    slow.height = 320;
    const std::vector<int> forward = {0, 1, 2, 3, 29, 30, 31, 32, 33};
    const std::vector<int> backward = {70, 69, 68, 61, 60, 59, 58, 31, 30, 29};
    const std::vector<int> jumps = {140, 3, 77, 0, 110, 45};
    for (const auto& [name, settings] : {std::pair{"h264.mp4", h264}, {"h264-60.mp4", fast}, {"mpeg4-24.mkv", slow}}) {
        const std::string path = makeVideo(dir, name, settings);
        FfmpegFrameSource sync;
        ASSERT_TRUE(sync.open(path));
        FrameWorker worker(opened(path));
        ASSERT_EQ(worker.length(), sync.length()) << name;
        const int last = sync.length() - 1;
        for (const auto* order : {&forward, &backward, &jumps})
            for (int i : *order) {
                const int f = std::min(i, last);
                ViewFrame want;
                ASSERT_TRUE(sync.getFrame(f, want));
                EXPECT_EQ(exactFrom(worker, f, kViewWidth, kViewHeight).pixels, want.pixels) << name << " frame " << f;
            }
        // The last frame, at another size.
        ViewFrame big;
        big.resize(960, 480);
        ASSERT_TRUE(sync.getFrame(last, big));
        EXPECT_EQ(exactFrom(worker, last, 960, 480).pixels, big.pixels) << name << " last frame at 2x";
        // Outside the video nothing is decoded: the picture at hand is the nearest, never "exact".
        for (int outside : {-1, last + 1, 5000}) {
            EXPECT_FALSE(worker.waitFor(outside, kViewWidth, kViewHeight, 10s)) << outside;
            ViewFrame out;
            EXPECT_EQ(worker.best(outside, kViewWidth, kViewHeight, out), FrameWorker::Match::Nearest) << outside;
        }
    }
}

TEST(FrameWorker, AnswersAtOnceWithTheNearestPictureWhileTheWantedOneIsDecoded) {
    auto gated = std::make_unique<GatedSource>(200);
    GatedSource& gate = *gated;
    FrameWorker worker(std::move(gated));
    int woken = 0;
    std::mutex m;
    std::condition_variable wake;
    worker.setOnDecoded([&] {
        std::lock_guard lock(m);
        ++woken;
        wake.notify_all();
    });
    ViewFrame out;
    EXPECT_EQ(worker.best(10, kViewWidth, kViewHeight, out), FrameWorker::Match::None) << "nothing decoded yet";
    worker.want({10, 11}, kViewWidth, kViewHeight);
    ASSERT_TRUE(gate.decoding(10));
    gate.pass(2);
    ASSERT_TRUE(worker.waitFor(11, kViewWidth, kViewHeight, 30s));
    worker.want({100}, kViewWidth, kViewHeight);
    ASSERT_TRUE(gate.decoding(100));
    int got = -1;
    EXPECT_EQ(worker.best(100, kViewWidth, kViewHeight, out, &got), FrameWorker::Match::Nearest);
    EXPECT_EQ(got, 11) << "the decoded frame nearest to 100";
    EXPECT_EQ(out.pixels[0] & 0xFF, 11u);
    // A newer wish replaces the old one: 50 comes after 100, which is under way.
    worker.want({50}, kViewWidth, kViewHeight);
    gate.pass();
    ASSERT_TRUE(gate.decoding(50));
    EXPECT_EQ(worker.best(60, kViewWidth, kViewHeight, out, &got), FrameWorker::Match::Nearest);
    EXPECT_EQ(got, 100 - 60 < 60 - 11 ? 100 : 11);
    gate.pass();
    ASSERT_TRUE(worker.waitFor(50, kViewWidth, kViewHeight, 30s));
    EXPECT_EQ(worker.best(50, kViewWidth, kViewHeight, out, &got), FrameWorker::Match::Exact);
    EXPECT_EQ(worker.finished(), 4);
    // The painter is woken on the worker's thread, just after the picture is kept.
    std::unique_lock lock(m);
    EXPECT_TRUE(wake.wait_for(lock, 30s, [&] { return woken == 4; })) << "every picture wakes the painter: " << woken;
}

TEST(FrameWorker, AVideoCutShortOrDamagedWhileDecodingEndsItsRequests) {
    test::TempDir dir;
    VideoSettings mjpeg;
    mjpeg.codec = VideoCodec::MJPEG;
    mjpeg.quality = 3;
    const std::string path = makeVideo(dir, "cut.avi", mjpeg);
    FrameWorker worker(opened(path));
    exactFrom(worker, 5, kViewWidth, kViewHeight);
    // The file is cut to a tenth and then removed while the worker holds it open.
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 10);
    const int64_t before = worker.finished();
    for (int f : {140, 120, 100}) {
        worker.want({f}, kViewWidth, kViewHeight);
        worker.waitFor(f, kViewWidth, kViewHeight, 60s);
    }
    EXPECT_EQ(worker.finished(), before + 3) << "each request was answered, none hangs";
    std::filesystem::remove(path);
    worker.want({60, 61}, 960, 480);
    worker.waitFor(61, 960, 480, 60s);
    EXPECT_EQ(worker.finished(), before + 5);
    // Garbage in the middle of a file: every frame is answered too.
    const std::string damaged = makeVideo(dir, "damaged.avi", mjpeg);
    {
        std::FILE* f = std::fopen(damaged.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        const long size = long(std::filesystem::file_size(damaged));
        for (long at = size / 2; at + 16 < size; at += 397) {
            std::fseek(f, at, SEEK_SET);
            std::fwrite("\xde\xad\xbe\xef\x00\xff\x13\x37\xde\xad\xbe\xef\x00\xff\x13\x37", 1, 16, f);
        }
        std::fclose(f);
    }
    FrameWorker broken(opened(damaged));
    for (int f = kFrames - 1; f >= 0; f -= 9) {
        broken.want({f}, kViewWidth, kViewHeight);
        broken.waitFor(f, kViewWidth, kViewHeight, 60s);
    }
    EXPECT_EQ(broken.finished(), (kFrames - 1) / 9 + 1);
}

// A decode that is no longer wanted is given up on the way (keyframes far
// apart make it long); what it gave up is never kept under the frame's number.
TEST(FrameWorker, ADecodeNoLongerWantedIsGivenUpAndLeavesNoWrongPicture) {
    test::TempDir dir;
    VideoSettings oneKeyframe;
    oneKeyframe.gop = kFrames;  // every frame is decoded from the first
    const std::string path = makeVideo(dir, "long-gop.mp4", oneKeyframe);
    FfmpegFrameSource sync;
    ASSERT_TRUE(sync.open(path));
    FrameWorker worker(opened(path));
    for (int round = 0; round < 5; ++round) {
        worker.want({kFrames - 1 - round}, kViewWidth, kViewHeight);
        worker.want({2 + round}, kViewWidth, kViewHeight);
        ViewFrame want;
        ASSERT_TRUE(sync.getFrame(2 + round, want));
        EXPECT_EQ(exactFrom(worker, 2 + round, kViewWidth, kViewHeight).pixels, want.pixels);
        ViewFrame far;
        if (worker.best(kFrames - 1 - round, kViewWidth, kViewHeight, far) == FrameWorker::Match::Exact) {
            ASSERT_TRUE(sync.getFrame(kFrames - 1 - round, want));
            EXPECT_EQ(far.pixels, want.pixels) << "a frame kept is the frame itself";
        }
    }
}
