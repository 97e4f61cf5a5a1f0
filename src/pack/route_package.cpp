#include "pack/route_package.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>

#include "data/file_names.h"
#include "data/route_sections.h"
#include "data/text_file.h"
#include "edit/route_document.h"
#include "edit/route_folder.h"
#include "pack/package_archive.h"
#include "pack/package_manifest.h"
#include "text/our_text.h"
#include "video/ffmpeg_frame_source.h"

namespace fs = std::filesystem;

namespace ts::pack {

namespace {

bool isFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string normal(const std::string& path) { return fs::path(path).lexically_normal().generic_string(); }

// A data file's bytes whatever its size (pictures and waves are not held to the text files' limit).
std::optional<std::string> fileBytes(const std::string& path) { return readFilePrefix(path, SIZE_MAX); }

bool sameBytes(const std::string& a, const std::string& b) {
    const auto x = fileBytes(a), y = fileBytes(b);
    return x && y && *x == *y;
}

}  // namespace

std::vector<std::string> routeFilesOf(const std::string& code, std::string* error) {
    const std::string routePath = resolveDataPath(code + "_line.txt");
    if (!isFile(routePath)) {
        *error = withArgs(trText("Packages", "%1_line.txt: there is no such route file in the data folder"), {code});
        return {};
    }
    std::vector<std::string> missing;
    std::vector<std::string> files = edit::runFilesOf(".", code, edit::routeListsOf(routePath), &missing);
    if (!missing.empty()) {
        *error =
            withArgs(trText("Packages", "%1: the route needs it, and it is not in the data folder"), {missing.front()});
        return {};
    }
    std::set<std::string> seen(files.begin(), files.end());
    files.insert(files.begin(), normal(routePath));
    seen.insert(files.front());
    // Every other file the route names (the staff picture, the call-out waves), from the sections' description.
    auto doc = edit::RouteDocument::open(routePath, error);
    if (!doc) return {};
    const RouteData& r = doc->route();
    for (const SectionDesc& s : routeSections()) {
        if (s.value == RouteValue::VideoFile) continue;
        const size_t rows = s.isList() && s.rows ? s.rows(r) : 1;
        for (const ColumnDesc& c : s.columns) {
            if ((c.type != ValueType::FileName && c.type != ValueType::Picture) || !c.get) continue;
            for (size_t row = 0; row < rows; ++row)
                if (auto cell = c.get(r, row); cell && !cell->text.empty()) {
                    const std::string path = normal(resolveDataPath(cell->text));
                    if (isFile(path) && seen.insert(path).second) files.push_back(path);
                }
        }
    }
    return files;
}

bool packRoute(const PackRequest& request, PackResult& result, const Progress& progress, std::string* error) {
    std::vector<std::string> files = routeFilesOf(request.code, error);
    if (files.empty()) return false;
    if (!request.defaultsFolder.empty()) {
        std::erase_if(files, [&](const std::string& f) {
            return (f == "string.txt" || f == "mascon.txt") &&
                   sameBytes(f, (fs::path(request.defaultsFolder) / f).string());
        });
    }
    auto doc = edit::RouteDocument::open(resolveDataPath(request.code + "_line.txt"), error);
    if (!doc) return false;
    const RouteData& route = doc->route();
    if (route.videoFile.empty()) {
        *error = withArgs(trText("Packages", "%1_line.txt names no video ([Path]): there is nothing to fingerprint"),
                          {request.code});
        return false;
    }
    const std::string videoPath = resolveDataPath(route.videoFile);
    FfmpegFrameSource video;
    // The fingerprint is in the route's frames: a route installed from a package packs again as it is shown.
    video.setFit(route.letterbox ? PictureFit::Letterbox : PictureFit::Crop);
    video.setAlignment(route.videoOffset, route.videoRate);
    video.setDecoderThreads(2, 0);
    if (!video.open(videoPath) || video.length() <= 0) {
        *error = withArgs(trText("Packages", "%1: the video cannot be read"), {route.videoFile});
        return false;
    }
    std::vector<int> stations;
    for (const StationData& s : route.stationTable) stations.push_back((s.stopFrom + s.stopTo) / 2);
    const auto fingerprint = fingerprintVideo(video, stations, progress);
    if (!fingerprint) {
        *error =
            progress ? "cancelled" : withArgs(trText("Packages", "%1: the video cannot be read"), {route.videoFile});
        return false;
    }
    result.fingerprintSamples = int(fingerprint->samples.size());
    result.videoFrames = fingerprint->length;

    PackageManifest manifest;
    manifest.trainCode = request.code;
    manifest.lineName = route.lineName;
    manifest.author = request.author;
    manifest.licence = request.licence;
    manifest.programVersion = request.programVersion;
    manifest.videoFile = route.videoFile;
    manifest.withVideo = request.withVideo;
    std::vector<PackFile> entries;
    for (const std::string& f : files) {
        const auto bytes = fileBytes(f);
        if (!bytes) {
            *error = withArgs(trText("Packages", "%1: cannot be read"), {f});
            return false;
        }
        manifest.files.emplace_back(f, sha256Hex(*bytes));
        entries.push_back({f, {}, *bytes});
    }
    const std::string fingerprintBytes = fingerprintText(*fingerprint);
    manifest.files.emplace_back(kFingerprintName, sha256Hex(fingerprintBytes));
    entries.push_back({kFingerprintName, {}, fingerprintBytes});
    if (request.withVideo) {
        const std::string sum = sha256OfFile(videoPath);
        if (sum.empty()) {
            *error = withArgs(trText("Packages", "%1: cannot be read"), {route.videoFile});
            return false;
        }
        // A video outside the data folder travels in its "video" folder.
        std::string name = normal(videoPath);
        if (fs::path(name).is_absolute() || name.rfind("..", 0) == 0)
            name = "video/" + fs::path(videoPath).filename().string();
        manifest.videoFile = name;
        manifest.files.emplace_back(name, sum);
        entries.push_back({name, videoPath, {}});
    }
    entries.insert(entries.begin(), PackFile{kManifestName, {}, manifestText(manifest)});
    for (const PackFile& e : entries)
        if (e.name != kManifestName && e.name != kFingerprintName) result.files.push_back(e.name);
    return writeArchive(request.output, entries, error);
}

}  // namespace ts::pack
