// Installing a route package into a data folder: the package is unpacked
// into a temporary folder beside the data folder and checked there
// (manifest, checksums, the checker), the user's copy of the video is
// matched against the package's fingerprint, and only then are its files
// moved into place; an interrupted or refused install leaves the data folder
// as it was.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "devices/frame_source.h"
#include "pack/package_manifest.h"
#include "pack/video_fingerprint.h"
#include "pack/video_match.h"

namespace ts::pack {

// The checker run on the unpacked files: the number of errors it finds in
// train `code` of the current folder, and the first of them in `first`.
using PackageChecker = std::function<int(const std::string& code, std::string* first)>;

// A package unpacked into its temporary folder and checked; the folder goes
// with the object unless the install moved its files into place.
class OpenedPackage {
public:
    ~OpenedPackage();
    OpenedPackage(const OpenedPackage&) = delete;
    OpenedPackage& operator=(const OpenedPackage&) = delete;

    // Unpacks and checks `package` for `dataFolder`; null with `error` when it is refused.
    static std::unique_ptr<OpenedPackage> open(const std::string& package, const std::string& dataFolder,
                                               const PackageChecker& check, bool force, std::string* error);

    const PackageManifest& manifest() const { return manifest_; }
    const VideoFingerprint& fingerprint() const { return fingerprint_; }
    const std::string& folder() const { return folder_; }
    // The route's video fit, for reading a copy of its video as the fingerprint was made.
    PictureFit fit() const { return fit_; }

private:
    OpenedPackage() = default;
    friend struct Installer;
    std::string folder_, dataFolder_, routeFile_, trainFile_;
    PackageManifest manifest_;
    VideoFingerprint fingerprint_;
    PictureFit fit_ = PictureFit::Crop;
    std::vector<std::string> files_;  // the data files unpacked, relative to folder_
};

// Matches the user's copy of the video against the fingerprint; nullopt with
// `error` when the copy cannot be read or `progress` cancelled.
std::optional<VideoMatch> matchCopy(const VideoFingerprint& fingerprint, const std::string& copy, PictureFit fit,
                                    const Progress& progress, std::string* error);

struct InstallChoice {
    std::string code;   // the code to install under; empty: the package's own
    std::string video;  // the user's copy; empty: none (the package's own video, or none yet)
    // The alignment written into the installed route (offset 0, rate kVideoRateUnit: none).
    int offset = 0;
    int rate = 1000000;
    // A folder with the default "string.txt" and "mascon.txt", for a data folder that has none.
    std::string defaultsFolder;
};

struct InstallResult {
    std::string code;
    std::vector<std::string> installed;  // files moved into the data folder
    std::vector<std::string> kept;       // the data folder's own, kept in place of the package's (shared files)
    std::string suggestedCode;           // when refused for a collision: a free code
};

// True when the data folder has the route file or the train file of `code` (in any letter case).
bool codeTaken(const std::string& dataFolder, const std::string& code);

// A train code the data folder does not have, from `code` (code2, code3, ...).
std::string freeCode(const std::string& dataFolder, const std::string& code);

// Moves the package's files into the data folder under `choice`. Refuses a
// code already there, and any file of the data folder that differs from the
// package's unless the package goes under another code (whose files are then
// kept apart in a folder of that code, their names rewritten in the route
// and train files). Never replaces a file.
bool installPackage(OpenedPackage& package, const InstallChoice& choice, InstallResult& result, std::string* error);

}  // namespace ts::pack
