// Packing a route of the data folder into one file to send: the route and
// train files, every file they name, a manifest and the video's fingerprint
// (the video itself only when asked).
#pragma once
#include <string>
#include <vector>

#include "pack/video_fingerprint.h"

namespace ts::pack {

struct PackRequest {
    std::string code;
    std::string output;  // the package's path; absolute, or relative to the data folder
    bool withVideo = false;
    std::string author, licence;
    std::string programVersion;
    // A folder holding the default "string.txt" and "mascon.txt" (the
    // installed demo): the data folder's are packed only when they differ.
    // Empty: always packed.
    std::string defaultsFolder;
};

struct PackResult {
    std::vector<std::string> files;  // the data files packed, as named inside the package
    int fingerprintSamples = 0;
    int videoFrames = 0;
};

// The data files a run of train `code` of the current folder reads, other
// than the video, as found on disk; `error` names a file the run cannot do without.
std::vector<std::string> routeFilesOf(const std::string& code, std::string* error);

// Packs train `code` of the current folder (the data folder). The video is
// read for its fingerprint; false with `error` when a file is missing or
// unreadable, the video cannot be read, or `progress` cancelled.
bool packRoute(const PackRequest& request, PackResult& result, const Progress& progress, std::string* error);

}  // namespace ts::pack
