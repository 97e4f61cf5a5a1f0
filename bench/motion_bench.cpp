// Time of the motion analysis of a video (decoding at the analysis size and
// the optical flow of every frame), and what it comes to for an hour of the
// same video, with the processor time it took (on a loaded machine the
// elapsed time says more about the others). Usage: motion_bench VIDEO
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "motion/motion_profile.h"
#include "video/ffmpeg_frame_source.h"

namespace {

double processorSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

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
    const double cpu0 = processorSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    std::string why;
    const auto profile = ts::motion::analyseVideo(argv[1], {}, &why);
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = processorSeconds() - cpu0;
    if (!profile) {
        std::fprintf(stderr, "motion_bench: %s\n", why.c_str());
        return 1;
    }
    std::printf("analysed in %.2f s (%.0f frames a second, %.2f x real time)\n", took, profile->size() / took,
                seconds / took);
    std::printf("processor time %.2f s (%.2f cores busy on average)\n", cpu, cpu / took);
    std::printf("an hour of this video: %.1f minutes\n", took / seconds * 3600 / 60);
    return 0;
}
