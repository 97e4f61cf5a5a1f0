// The route package's manifest: what the package holds and who made it, and
// a checksum of every file, so that a damaged or altered package is refused.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ts::pack {

// The package format this program writes and the newest it reads.
constexpr int kPackageFormat = 1;
// The package's own files, beside the data files.
constexpr const char* kManifestName = "trainsim-route.json";
constexpr const char* kFingerprintName = "video-fingerprint.txt";
constexpr const char* kPackageSuffix = ".trainsim-route";

struct PackageManifest {
    int format = kPackageFormat;
    std::string trainCode;
    std::string lineName;  // UTF-8
    std::string author, licence;
    std::string programVersion;
    std::string videoFile;  // the route's [Path], as written there
    bool withVideo = false;
    // Every other file of the package and the SHA-256 of its bytes (lower-case hex).
    std::vector<std::pair<std::string, std::string>> files;
};

std::string sha256Hex(std::string_view bytes);
// Of a file's bytes, read in pieces; empty when it cannot be read.
std::string sha256OfFile(const std::string& path);

std::string manifestText(const PackageManifest& manifest);
// Nullopt with `error` for text that is not a manifest this program reads.
std::optional<PackageManifest> parseManifest(std::string_view text, std::string* error);

}  // namespace ts::pack
