// Time of the motion analysis of a video (decoding at the analysis size and
// the optical flow of every frame), and what it comes to for an hour of the
// same video. Usage: motion_bench VIDEO
#include <chrono>
#include <cstdio>

#include "motion/motion_profile.h"
#include "video/ffmpeg_frame_source.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: motion_bench VIDEO\n");
        return 2;
    }
    ts::FfmpegFrameSource probe;
    if (!probe.open(argv[1])) {
        std::fprintf(stderr, "motion_bench: cannot open %s\n", argv[1]);
        return 1;
    }
    const double seconds = probe.length() / 30.0;
    std::printf("%s: %d x %d, %.2f fps, %.1f s of recording (%d frames of 1/30 s)\n", argv[1], probe.sourceWidth(),
                probe.sourceHeight(), probe.sourceRate(), seconds, probe.length());
    const auto t0 = std::chrono::steady_clock::now();
    std::string why;
    const auto profile = ts::motion::analyseVideo(argv[1], {}, &why);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (!profile) {
        std::fprintf(stderr, "motion_bench: %s\n", why.c_str());
        return 1;
    }
    std::printf("analysed in %.2f s (%.0f frames a second, %.2f x real time)\n", took, profile->size() / took,
                seconds / took);
    std::printf("an hour of this video: %.1f minutes\n", took / seconds * 3600 / 60);
    return 0;
}
