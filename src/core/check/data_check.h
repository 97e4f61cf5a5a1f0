// Checks a train's data files the way a run reads them, but reports every
// problem instead of stopping at the first: the readers' errors, the rules of
// the loading sequence, and warnings about data that loads but misbehaves.
#pragma once
#include <functional>
#include <string>

#include "data/diagnostics.h"
#include "data/pictures.h"

namespace ts {

struct VideoFacts {
    bool opened = false;
    int frames = 0;
    double framesPerSecond = 0;  // view frames per second of recording; 0 when unknown
    double recordedRate = 0;     // the video's own pictures per second; 0 when unknown
    bool noPicture = false;      // it opens, but no frame of it gives a picture
};

// What the check needs from the devices: pictures load as in a run, waves are
// tried with the wave reader, the video is opened with the video reader.
struct CheckDevices {
    PictureLoader& pictures;
    std::function<bool(const std::string& path)> waveReadable;
    std::function<VideoFacts(const std::string& path)> video;
};

// Checks train `code` in the current folder (the data folder), adding to `out`.
// `routeBytes`, when given, stands for the route file's content (an edited,
// unsaved route).
void checkTrain(const std::string& code, CheckDevices& devices, Diagnostics& out,
                const std::string* routeBytes = nullptr);

}  // namespace ts
