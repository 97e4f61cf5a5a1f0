#include "check_devices.h"

#include "sound/wav_file.h"
#include "video/ffmpeg_frame_source.h"

namespace ts {

CheckDevices realCheckDevices(PictureLoader& pictures) {
    return CheckDevices{pictures,
                        [](const std::string& path) {
                            std::string error;
                            return loadWav(path, error).has_value();
                        },
                        [](const std::string& path) {
                            FfmpegFrameSource video;
                            VideoFacts f;
                            f.opened = video.open(path);
                            f.frames = f.opened ? video.length() : 0;
                            if (f.opened) {
                                f.framesPerSecond = kViewFramesPerSecond;
                                f.recordedRate = video.sourceRate();
                                // The first frame, and one in the middle (a video may start damaged).
                                ViewFrame picture;
                                f.noPicture = f.frames <= 0 ||
                                              (!video.getFrame(0, picture) && !video.getFrame(f.frames / 2, picture));
                            }
                            return f;
                        }};
}

}  // namespace ts
