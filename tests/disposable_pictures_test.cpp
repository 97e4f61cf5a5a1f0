// Pictures nothing refers to are told from their NAL unit headers and left
// undecoded only where no position shows them: the pictures that remain are
// the very ones a full decode gives, for H.264 and HEVC, in MP4 (length
// prefixed) and MPEG-TS (start codes).
#include <gtest/gtest.h>

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "test_support.h"
#include "video/disposable_pictures.h"
#include "video/ffmpeg_frame_source.h"
#include "video/sequential_reader.h"
#include "video/stream_timing.h"
#include "video/video_writer.h"

using namespace ts;

namespace {

// Grain that scrolls: every picture is predicted from others, so decoding
// one from a wrong reference would show at once.
std::string makeVideo(const std::string& path, VideoSettings s, int pictures) {
    VideoWriter writer(path, s);
    EXPECT_TRUE(writer.ok()) << path;
    std::vector<uint32_t> land(size_t(s.width) * 2 * s.height), px(size_t(s.width) * s.height);
    std::mt19937 rnd(7);
    for (uint32_t& p : land) p = 0xFF000000u | (rnd() & 0x3F3F3Fu) * 3;
    for (int i = 0; i < pictures; ++i) {
        for (int y = 0; y < s.height; ++y)
            std::memcpy(&px[size_t(y) * s.width], &land[size_t(y) * s.width * 2 + size_t(i * 3 % s.width)],
                        size_t(s.width) * 4);
        writer.add(px.data());
    }
    EXPECT_TRUE(writer.finish());
    return path;
}

// The picture's planes, byte for byte.
std::string planes(const AVFrame* f) {
    std::string out;
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(AVPixelFormat(f->format));
    for (int p = 0; p < 3 && f->data[p]; ++p) {
        const int h = p == 0 ? f->height : AV_CEIL_RSHIFT(f->height, d->log2_chroma_h);
        const int w = p == 0 ? f->width : AV_CEIL_RSHIFT(f->width, d->log2_chroma_w);
        for (int y = 0; y < h; ++y)
            out.append(reinterpret_cast<const char*>(f->data[p] + ptrdiff_t(y) * f->linesize[p]), size_t(w));
    }
    return out;
}

struct Decoded {
    std::map<int, std::string> pictures;  // by number
    int64_t decoded = 0, skipped = 0;
};

Decoded readAll(const std::string& path, const WantedPictures& wanted) {
    Decoded out;
    SequentialReader reader;
    EXPECT_TRUE(reader.open(path, 1)) << path;
    if (wanted) reader.setWanted(wanted);
    int n = 0;
    while (const AVFrame* f = reader.next(n)) out.pictures.emplace(n, planes(f));
    out.decoded = reader.decoded();
    out.skipped = reader.skipped();
    return out;
}

// Nothing wanted: every disposable picture whose neighbour is seen goes.
void expectExactWhenSkipping(VideoCodec codec, const char* name) {
    test::TempDir dir;
    VideoSettings s;
    s.codec = codec;
    s.width = 320;
    s.height = 176;
    s.fps = 60;
    s.gop = 60;
    s.bFrames = 3;
    s.quality = 20;
    const std::string path = makeVideo((dir.path() / name).string(), s, 150);
    const Decoded full = readAll(path, {});
    const Decoded part = readAll(path, [](int) { return false; });
    ASSERT_EQ(full.pictures.size(), 150u) << name;
    EXPECT_EQ(full.skipped, 0);
    // A good part of them is disposable, never the keyframes.
    EXPECT_GT(part.skipped, 30) << name;
    EXPECT_LT(part.skipped, 150 - 3) << name;
    EXPECT_EQ(part.decoded + part.skipped, full.decoded) << name;
    EXPECT_TRUE(part.pictures.count(0)) << name;
    EXPECT_TRUE(part.pictures.count(60)) << name;
    for (const auto& [n, picture] : part.pictures) {
        ASSERT_TRUE(full.pictures.count(n)) << name << " picture " << n;
        EXPECT_TRUE(full.pictures.at(n) == picture) << name << " picture " << n << " differs";
    }
}

}  // namespace

TEST(DisposablePictures, H264LeftOutPicturesChangeNoOtherInMp4AndTs) {
    expectExactWhenSkipping(VideoCodec::H264, "v.mp4");
    expectExactWhenSkipping(VideoCodec::H264, "v.ts");
}

TEST(DisposablePictures, HevcLeftOutPicturesChangeNoOtherInMp4AndTs) {
    expectExactWhenSkipping(VideoCodec::HEVC, "v.mp4");
    expectExactWhenSkipping(VideoCodec::HEVC, "v.ts");
}

namespace {

std::vector<uint8_t> annexB(std::initializer_list<std::vector<uint8_t>> nals) {
    std::vector<uint8_t> out;
    for (const auto& n : nals) {
        out.insert(out.end(), {0, 0, 0, 1});
        out.insert(out.end(), n.begin(), n.end());
    }
    return out;
}

struct Parameters {
    AVCodecParameters* par = avcodec_parameters_alloc();
    explicit Parameters(AVCodecID id) { par->codec_id = id; }
    ~Parameters() { avcodec_parameters_free(&par); }
};

}  // namespace

TEST(DisposablePictures, H264HeadersAndDamage) {
    Parameters p(AV_CODEC_ID_H264);
    DisposablePictures d(p.par);
    ASSERT_TRUE(d.knows());
    const auto yes = annexB({{0x06, 0x05, 0x01}, {0x01, 0x9A, 0x02}, {0x01, 0x9B, 0x07}});  // SEI, two b slices
    EXPECT_TRUE(d.disposable(yes.data(), yes.size()));
    const auto refSlice = annexB({{0x01, 0x9A}, {0x21, 0x9A}});  // one slice with nal_ref_idc 1
    EXPECT_FALSE(d.disposable(refSlice.data(), refSlice.size()));
    const auto idr = annexB({{0x05, 0x88}});  // an IDR slice is always referred to
    EXPECT_FALSE(d.disposable(idr.data(), idr.size()));
    const auto seiOnly = annexB({{0x06, 0x05}});
    EXPECT_FALSE(d.disposable(seiOnly.data(), seiOnly.size()));
    const auto damaged = annexB({{0x81, 0x9A}});  // forbidden_zero_bit set
    EXPECT_FALSE(d.disposable(damaged.data(), damaged.size()));
    const uint8_t noStartCode[] = {0x01, 0x9A, 0x02};
    EXPECT_FALSE(d.disposable(noStartCode, sizeof noStartCode));

    // Length-prefixed (an avcC record with 4-byte lengths).
    uint8_t avcc[] = {1, 0x64, 0, 0x1F, 0xFF, 0xE0, 0};
    p.par->extradata = avcc;
    p.par->extradata_size = sizeof avcc;
    DisposablePictures m(p.par);
    p.par->extradata = nullptr;
    p.par->extradata_size = 0;
    const uint8_t b[] = {0, 0, 0, 2, 0x01, 0x9A, 0, 0, 0, 1, 0x01};
    EXPECT_TRUE(m.disposable(b, sizeof b));
    const uint8_t tooLong[] = {0, 0, 0, 9, 0x01, 0x9A};
    EXPECT_FALSE(m.disposable(tooLong, sizeof tooLong));
    const uint8_t cut[] = {0, 0, 0, 2, 0x01, 0x9A, 0, 0};
    EXPECT_FALSE(m.disposable(cut, sizeof cut));
}

TEST(DisposablePictures, HevcNeedsTheTopSubLayerFromTheSequenceParameters) {
    Parameters p(AV_CODEC_ID_HEVC);
    DisposablePictures d(p.par);
    const auto trailN = annexB({{0x00, 0x01, 0xAF}});  // TRAIL_N, TemporalId 0
    // Not yet known whether a higher sub-layer refers to it.
    EXPECT_FALSE(d.disposable(trailN.data(), trailN.size()));
    const auto sps = annexB({{0x42, 0x01, 0x01, 0x40}});  // one sub-layer
    EXPECT_FALSE(d.disposable(sps.data(), sps.size()));
    EXPECT_TRUE(d.disposable(trailN.data(), trailN.size()));
    const auto trailR = annexB({{0x02, 0x01, 0xAF}});
    EXPECT_FALSE(d.disposable(trailR.data(), trailR.size()));
    const auto rasl = annexB({{0x10, 0x01, 0xAF}});  // RASL_N (8)
    EXPECT_TRUE(d.disposable(rasl.data(), rasl.size()));
    const auto cra = annexB({{0x2A, 0x01, 0xAF}});  // CRA (21)
    EXPECT_FALSE(d.disposable(cra.data(), cra.size()));

    // Two sub-layers: a TRAIL_N of sub-layer 0 may be referred to by sub-layer 1.
    DisposablePictures two(p.par);
    const auto sps2 = annexB({{0x42, 0x01, 0x03, 0x40}});
    two.disposable(sps2.data(), sps2.size());
    EXPECT_FALSE(two.disposable(trailN.data(), trailN.size()));
    const auto trailN1 = annexB({{0x00, 0x02, 0xAF}});
    EXPECT_TRUE(two.disposable(trailN1.data(), trailN1.size()));
}

TEST(PictureSkipping, AGapInTheNumbersKeepsThePictureAfterIt) {
    Parameters p(AV_CODEC_ID_H264);
    StreamTiming t;
    t.timeBase = {1, 60};
    t.rate = {60, 1};
    t.sourceFrames = 20;
    PictureSkipping skipping(p.par, t);
    skipping.setWanted([](int n) { return n % 2 == 0; });
    auto b = annexB({{0x01, 0x9A}});
    auto packet = [&](int64_t pts) {
        AVPacket pk{};
        pk.data = b.data();
        pk.size = int(b.size());
        pk.pts = pts;
        return skipping.skip(pk);
    };
    EXPECT_FALSE(packet(0));  // wanted
    EXPECT_TRUE(packet(1));   // unwanted, and 0 is there to stand for it
    EXPECT_FALSE(packet(2));
    // 3 and 4 are missing: 5 is what a position showing picture 4 shows.
    EXPECT_FALSE(packet(5));
    EXPECT_FALSE(packet(7));  // 6 not seen yet
    EXPECT_FALSE(packet(6));
    EXPECT_FALSE(packet(9));
    EXPECT_FALSE(packet(AV_NOPTS_VALUE));
    EXPECT_EQ(skipping.skipped(), 1);
}

TEST(StreamTiming, ShowsThePicturesSomeViewFrameShows) {
    for (const AVRational rate : {AVRational{60, 1}, AVRational{60000, 1001}, AVRational{50, 1}, AVRational{120, 1},
                                  AVRational{30000, 1001}, AVRational{25, 1}, AVRational{48, 1}}) {
        StreamTiming t;
        t.rate = rate;
        t.timeBase = av_inv_q(rate);
        t.sourceFrames = 997;
        std::vector<bool> shown(size_t(t.sourceFrames) + 5, false);
        for (int v = 0; v < t.viewFrames(); ++v) shown[size_t(t.sourceIndexOf(v))] = true;
        const int last = t.sourceIndexOf(t.viewFrames() - 1);
        for (int n = 0; n < t.sourceFrames + 5; ++n)
            EXPECT_EQ(t.shows(n), n >= last || shown[size_t(n)]) << rate.num << "/" << rate.den << " picture " << n;
        EXPECT_FALSE(t.shows(-1) && rate.num > 30 * rate.den);
    }
}

// The frame source leaves out what no frame shows, and shows exactly what
// it showed when it decoded every picture: in order, and jumping about.
TEST(DisposablePictures, TheFrameSourceShowsTheSamePicturesWithFewerDecoded) {
    test::TempDir dir;
    VideoSettings s;
    s.width = 480;
    s.height = 240;
    s.fps = 60;
    s.gop = 120;
    s.bFrames = 3;
    const std::string path = makeVideo((dir.path() / "v60.mp4").string(), s, 240);
    FfmpegFrameSource quick, every;
    every.setDecodeEveryPicture(true);
    ASSERT_TRUE(quick.open(path));
    ASSERT_TRUE(every.open(path));
    ASSERT_EQ(quick.length(), 120);
    ViewFrame a, b;
    for (int i = 0; i < quick.length(); ++i) {
        ASSERT_TRUE(quick.getFrame(i, a));
        ASSERT_TRUE(every.getFrame(i, b));
        ASSERT_TRUE(a.pixels == b.pixels) << "frame " << i;
    }
    EXPECT_GT(quick.skippedFrames(), 15);  // the odd-numbered among the disposable ones
    EXPECT_EQ(every.skippedFrames(), 0);
    EXPECT_LT(quick.decodedFrames(), every.decodedFrames());
    std::mt19937 rnd(3);
    for (int k = 0; k < 40; ++k) {
        const int i = int(rnd() % 130) - 5;
        const bool x = quick.getFrame(i, a), y = every.getFrame(i, b);
        ASSERT_EQ(x, y);
        ASSERT_TRUE(a.pixels == b.pixels) << "frame " << i;
    }
}

// A jump decodes from the keyframe before it, leaving out what nothing on the
// way refers to, except the last pictures before the target: those are kept,
// so that stepping back a few frames needs no second decode. Every answer is
// the picture a full decode gives.
TEST(DisposablePictures, AJumpLeavesOutWhatItPassesAndKeepsTheLastPicturesForSteppingBack) {
    for (const int fps : {30, 60}) {
        SCOPED_TRACE(fps);
        test::TempDir dir;
        VideoSettings s;
        s.width = 320;
        s.height = 176;
        s.fps = fps;
        s.gop = 240;
        s.bFrames = 3;
        const std::string path = makeVideo((dir.path() / "jump.mp4").string(), s, 240);
        const int keep = 8;
        FfmpegFrameSource jumping, every;
        jumping.setRecentPictures(int64_t(s.width) * s.height * 3 / 2 * keep);
        every.setDecodeEveryPicture(true);
        ASSERT_TRUE(jumping.open(path));
        ASSERT_TRUE(every.open(path));
        const int target = jumping.length() - 10;
        ViewFrame a, b;
        ASSERT_TRUE(jumping.getFrame(target, a));
        ASSERT_TRUE(every.getFrame(target, b));
        ASSERT_TRUE(a.pixels == b.pixels);
        // Fewer pictures than a decode of every one: about a third of them
        // are disposable, and only the last few before the target are kept.
        EXPECT_LT(jumping.decodedFrames() * 4, every.decodedFrames() * 3);
        EXPECT_GT(jumping.skippedFrames(), 30);
        // Back over the kept pictures: nothing more is decoded.
        const int64_t afterJump = jumping.decodedFrames();
        for (int f = target - 1; f > target - keep; --f) {
            ASSERT_TRUE(jumping.getFrame(f, a));
            ASSERT_TRUE(every.getFrame(f, b));
            ASSERT_TRUE(a.pixels == b.pixels) << "frame " << f;
        }
        EXPECT_EQ(jumping.decodedFrames(), afterJump);
        // Beyond them it decodes again, and still gives the same pictures.
        for (int f = target - keep; f > target - 3 * keep; --f) {
            ASSERT_TRUE(jumping.getFrame(f, a));
            ASSERT_TRUE(every.getFrame(f, b));
            ASSERT_TRUE(a.pixels == b.pixels) << "frame " << f;
        }
        EXPECT_GT(jumping.decodedFrames(), afterJump);
        // Jumps, steps back and on in any order.
        std::mt19937 rnd(5);
        int at = 0;
        for (int k = 0; k < 60; ++k) {
            const int move = int(rnd() % 3);
            at = move == 0 ? int(rnd() % unsigned(jumping.length() + 4)) - 2 : move == 1 ? at - 1 : at + 1;
            const bool x = jumping.getFrame(at, a), y = every.getFrame(at, b);
            ASSERT_EQ(x, y) << "frame " << at;
            ASSERT_TRUE(a.pixels == b.pixels) << "frame " << at;
        }
    }
}

// Live views ask for the graphics hardware. Where the machine has none (or
// it is turned off) the source decodes in software and gives the very same
// pictures; where it has one, the pictures match but for rounding.
TEST(HardwareDecoding, GivesTheSoftwarePicturesOrPicturesThatMatchThem) {
    test::TempDir dir;
    VideoSettings s;
    s.width = 320;
    s.height = 176;
    s.fps = 30;
    s.gop = 60;
    s.bFrames = 2;
    const std::string path = makeVideo((dir.path() / "hw.mp4").string(), s, 90);
    FfmpegFrameSource live, software;
    live.setHardwareDecoding(true);
    ASSERT_TRUE(live.open(path));
    ASSERT_TRUE(software.open(path));
    EXPECT_FALSE(software.hardwareDecoding());
    ViewFrame a, b;
    std::mt19937 rnd(9);
    for (int k = 0; k < 30; ++k) {
        const int i = k < 10 ? k * 3 : int(rnd() % 90);
        ASSERT_TRUE(live.getFrame(i, a)) << "frame " << i;
        ASSERT_TRUE(software.getFrame(i, b)) << "frame " << i;
        if (!live.hardwareDecoding()) {
            ASSERT_TRUE(a.pixels == b.pixels) << "frame " << i;
            continue;
        }
        int worst = 0;
        for (size_t p = 0; p < a.pixels.size(); ++p)
            for (int shift : {0, 8, 16})
                worst = std::max(worst, std::abs(int(a.pixels[p] >> shift & 0xFF) - int(b.pixels[p] >> shift & 0xFF)));
        EXPECT_LE(worst, 3) << "frame " << i;
    }
}
