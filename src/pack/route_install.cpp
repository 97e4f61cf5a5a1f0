#include "pack/route_install.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "data/file_names.h"
#include "data/text_file.h"
#include "data/train_codes.h"
#include "edit/route_document.h"
#include "pack/package_archive.h"
#include "text/our_text.h"
#include "video/ffmpeg_frame_source.h"

namespace fs = std::filesystem;

namespace ts::pack {

namespace {

// Works in a folder for its lifetime (the data files name each other relative to theirs).
class InFolder {
public:
    explicit InFolder(const std::string& dir) : old_(fs::current_path(ec_)) {
        if (!ec_) fs::current_path(dir, ec_);
    }
    ~InFolder() {
        std::error_code ec;
        if (!old_.empty()) fs::current_path(old_, ec);
    }
    bool ok() const { return !ec_; }

private:
    std::error_code ec_;
    fs::path old_;
};

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Writes each entry into the temporary folder; nothing outside it.
class FolderSink final : public ArchiveSink {
public:
    explicit FolderSink(fs::path root) : root_(std::move(root)) {}
    ~FolderSink() override {
        if (fd_ >= 0) ::close(fd_);
    }
    std::vector<std::string> names;

    bool begin(const std::string& name, uint64_t, std::string* error) override {
        const fs::path path = root_ / name;
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        fd_ = ec ? -1 : ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            *error = withArgs(
                trText("Packages", "refused: \"%1\" cannot be unpacked (a file and a folder of that name?)"), {name});
            return false;
        }
        names.push_back(name);
        return true;
    }
    bool data(std::string_view bytes, std::string* error) override {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n <= 0) {
                *error =
                    trText("Packages", "the package cannot be unpacked: the disk is full or the folder not writable");
                return false;
            }
            bytes.remove_prefix(size_t(n));
        }
        return true;
    }
    bool end(std::string* error) override {
        const int r = ::close(fd_);
        fd_ = -1;
        if (r != 0) *error = trText("Packages", "the package cannot be unpacked: the disk is full");
        return r == 0;
    }

private:
    fs::path root_;
    int fd_ = -1;
};

std::optional<std::string> bytesOf(const fs::path& p) { return readFilePrefix(p.string(), SIZE_MAX); }

bool writeBytes(const fs::path& p, const std::string& bytes) {
    FILE* f = fopen(p.c_str(), "wb");
    if (!f) return false;
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

// A name a data file may carry as a train code.
bool plausibleCode(const std::string& code) {
    if (code.empty() || code.size() > 64 || code.front() == '.') return false;
    for (unsigned char c : code)
        if (c < 0x20 || c == '/' || c == '\\' || c == ':' || c == 0x7F) return false;
    return true;
}

// The entry of `names` equal to `name` but for letter case, or empty.
std::string findIgnoringCase(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : names)
        if (lower(n) == lower(name)) return n;
    return {};
}

// Replaces every mention of `from` (either separator, any letter case) with `to`, in `from`'s separator.
std::string renamed(const std::string& text, const std::string& from, const std::string& to) {
    std::string out = text;
    for (const char sep : {'/', '\\'}) {
        std::string f = from, t = to;
        std::replace(f.begin(), f.end(), '/', sep);
        std::replace(t.begin(), t.end(), '/', sep);
        const std::string lowText = lower(out), lowFrom = lower(f);
        std::string next;
        size_t at = 0;
        for (size_t hit = lowText.find(lowFrom); hit != std::string::npos; hit = lowText.find(lowFrom, at)) {
            next += out.substr(at, hit - at) + t;
            at = hit + f.size();
        }
        out = next + out.substr(at);
    }
    return out;
}

}  // namespace

OpenedPackage::~OpenedPackage() {
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
}

std::unique_ptr<OpenedPackage> OpenedPackage::open(const std::string& package, const std::string& dataFolder,
                                                   const PackageChecker& check, bool force, std::string* error) {
    std::unique_ptr<OpenedPackage> p(new OpenedPackage);
    std::error_code ec;
    p->dataFolder_ = fs::absolute(dataFolder, ec).lexically_normal().string();
    if (ec || !fs::is_directory(p->dataFolder_, ec)) {
        *error = withArgs(trText("Packages", "%1: there is no such folder"), {dataFolder});
        return nullptr;
    }
    // Beside the target, so that moving into place is a rename on the same disk.
    std::string temp = (fs::path(p->dataFolder_) / ".trainsim-install-XXXXXX").string();
    if (!mkdtemp(temp.data())) {
        *error = withArgs(trText("Packages", "%1: no temporary folder can be made there"), {dataFolder});
        return nullptr;
    }
    p->folder_ = temp;
    ArchiveLimits limits;
    const auto space = fs::space(p->dataFolder_, ec);
    if (!ec) limits.maxTotalBytes = space.available;
    FolderSink sink(p->folder_);
    if (!readArchive(package, {}, limits, sink, error)) return nullptr;

    const fs::path root(p->folder_);
    const auto manifestBytes = bytesOf(root / kManifestName);
    if (!manifestBytes) {
        *error = withArgs(trText("Packages", "the package has no manifest (%1): it is not a route package"),
                          {std::string(kManifestName)});
        return nullptr;
    }
    auto manifest = parseManifest(*manifestBytes, error);
    if (!manifest) return nullptr;
    p->manifest_ = *manifest;
    if (!plausibleCode(p->manifest_.trainCode)) {
        *error = withArgs(trText("Packages", "the package's train code \"%1\" cannot be a file name"),
                          {p->manifest_.trainCode});
        return nullptr;
    }
    std::set<std::string> listed;
    for (const auto& [name, sum] : p->manifest_.files) {
        const auto actual = sha256OfFile((root / name).string());
        if (std::find(sink.names.begin(), sink.names.end(), name) == sink.names.end() || actual.empty()) {
            *error = withArgs(trText("Packages", "the package is damaged: \"%1\", listed in its manifest, is missing"),
                              {name});
            return nullptr;
        }
        if (actual != sum) {
            *error = withArgs(
                trText("Packages", "the package is damaged or altered: \"%1\" does not match its checksum"), {name});
            return nullptr;
        }
        listed.insert(name);
    }
    for (const std::string& name : sink.names) {
        if (name == kManifestName) continue;
        if (!listed.count(name)) {
            *error = withArgs(trText("Packages", "refused: \"%1\" is not listed in the package's manifest"), {name});
            return nullptr;
        }
        if (name != kFingerprintName) p->files_.push_back(name);
    }
    const auto fingerprintBytes = bytesOf(root / kFingerprintName);
    auto fingerprint = fingerprintBytes ? parseFingerprint(*fingerprintBytes) : std::nullopt;
    if (!fingerprint) {
        *error = withArgs(trText("Packages", "the package's video fingerprint (%1) is missing or damaged"),
                          {std::string(kFingerprintName)});
        return nullptr;
    }
    p->fingerprint_ = std::move(*fingerprint);
    const std::string code = p->manifest_.trainCode;
    p->routeFile_ = findIgnoringCase(p->files_, code + "_line.txt");
    p->trainFile_ = findIgnoringCase(p->files_, code + "_train.txt");
    if (p->routeFile_.empty() || p->trainFile_.empty()) {
        *error = withArgs(trText("Packages", "the package lacks the route file or the train file of %1"), {code});
        return nullptr;
    }
    auto doc = edit::RouteDocument::open((root / p->routeFile_).string(), error);
    if (!doc) return nullptr;
    p->fit_ = doc->route().letterbox ? PictureFit::Letterbox : PictureFit::Crop;
    if (check) {
        // The shared files the package leaves out come from the data folder, for the check only.
        std::vector<fs::path> lent;
        for (const char* shared : {"string.txt", "mascon.txt"}) {
            if (!findIgnoringCase(p->files_, shared).empty()) continue;
            InFolder in(p->dataFolder_);
            const std::string mine = resolveDataPath(shared);
            if (in.ok() && fs::is_regular_file(mine, ec) && fs::copy_file(mine, root / shared, ec))
                lent.push_back(root / shared);
        }
        std::string first;
        int errors = 0;
        {
            InFolder in(p->folder_);
            errors = in.ok() ? check(code, &first) : 1;
        }
        for (const fs::path& f : lent) fs::remove(f, ec);
        if (errors > 0 && !force) {
            *error = withArgs(trText("Packages", "the checker finds %1 error(s) in the package's files: %2"),
                              {std::to_string(errors), first});
            return nullptr;
        }
    }
    return p;
}

std::optional<VideoMatch> matchCopy(const VideoFingerprint& fingerprint, const std::string& copy, PictureFit fit,
                                    const Progress& progress, std::string* error) {
    FfmpegFrameSource video;
    video.setFit(fit);
    video.setDecoderThreads(2, 0);
    if (!video.open(copy) || video.length() <= 0) {
        *error = withArgs(trText("Packages", "%1: the video cannot be read"), {copy});
        return std::nullopt;
    }
    const auto hashes = hashEveryFrame(video, progress);
    if (!hashes) {
        *error = progress ? "cancelled" : withArgs(trText("Packages", "%1: the video cannot be read"), {copy});
        return std::nullopt;
    }
    return matchVideo(fingerprint, *hashes);
}

bool codeTaken(const std::string& dataFolder, const std::string& code) {
    InFolder in(dataFolder);
    std::error_code ec;
    return fs::exists(resolveDataPath(code + "_line.txt"), ec) || fs::exists(resolveDataPath(code + "_train.txt"), ec);
}

std::string freeCode(const std::string& dataFolder, const std::string& code) {
    for (int n = 2;; ++n)
        if (const std::string c = code + std::to_string(n); !codeTaken(dataFolder, c)) return c;
}

struct Installer {
    OpenedPackage& p;
    const InstallChoice& choice;
    InstallResult& result;
    std::string* error;

    bool fail(const std::string& why) const {
        *error = why;
        return false;
    }

    bool run() {
        const fs::path root(p.folder_);
        const std::string from = p.manifest_.trainCode;
        const std::string code = choice.code.empty() ? from : choice.code;
        result.code = code;
        if (!plausibleCode(code)) return fail(withArgs(trText("Packages", "\"%1\" cannot be a train code"), {code}));
        std::error_code ec;
        if (codeTaken(p.dataFolder_, code)) {
            result.suggestedCode = freeCode(p.dataFolder_, code);
            return fail(withArgs(trText("Packages",
                                        "the data folder has a route of train code %1 already; it is kept: install "
                                        "this one under another code (such as %2)"),
                                 {code, result.suggestedCode}));
        }
        std::map<std::string, std::string> moves;  // name in the package -> name in the data folder
        for (const std::string& f : p.files_) moves[f] = f;
        moves[p.routeFile_] = code + "_line.txt";
        moves[p.trainFile_] = code + "_train.txt";

        // The data folder's own files: the same bytes need no copy, a shared file stays as it is,
        // any other that differs is a collision.
        std::vector<std::string> collisions;
        for (auto it = moves.begin(); it != moves.end();) {
            const std::string& name = it->first;
            std::string mine;
            {
                InFolder in(p.dataFolder_);
                mine = resolveDataPath(it->second);
            }
            const fs::path theirs = fs::path(p.dataFolder_) / mine;
            if (!fs::exists(theirs, ec) && !fs::is_symlink(theirs, ec)) {
                ++it;
                continue;
            }
            const auto a = bytesOf(theirs), b = bytesOf(root / name);
            const std::string low = lower(name);
            if (a && b && *a == *b) {
                it = moves.erase(it);
            } else if (low == "string.txt" || low == "mascon.txt" || low == "operation.txt") {
                result.kept.push_back(name);
                it = moves.erase(it);
            } else {
                collisions.push_back(name);
                ++it;
            }
        }
        if (!collisions.empty()) {
            if (code == from) {
                result.suggestedCode = freeCode(p.dataFolder_, from);
                return fail(
                    withArgs(trText("Packages",
                                    "the data folder's \"%1\" differs from the package's (%2 file(s) in all); it is "
                                    "kept: install under another code (such as %3), whose files are kept apart"),
                             {collisions.front(), std::to_string(collisions.size()), result.suggestedCode}));
            }
            // Under another code, the differing files go to a folder of that code.
            std::string route = *bytesOf(root / p.routeFile_), train = *bytesOf(root / p.trainFile_);
            for (const std::string& c : collisions) {
                const std::string to = code + "/" + c;
                route = renamed(route, c, to);
                train = renamed(train, c, to);
                moves[c] = to;
            }
            if (!writeBytes(root / p.routeFile_, route) || !writeBytes(root / p.trainFile_, train))
                return fail(trText("Packages", "the package's files cannot be rewritten in the temporary folder"));
        }
        // The data folder needs the shared files a run reads.
        for (const char* shared : {"string.txt", "mascon.txt"}) {
            InFolder in(p.dataFolder_);
            if (fs::exists(resolveDataPath(shared), ec) || !findIgnoringCase(p.files_, shared).empty()) continue;
            const fs::path def = fs::path(choice.defaultsFolder) / shared;
            if (choice.defaultsFolder.empty() || !fs::copy_file(def, root / shared, ec))
                return fail(withArgs(trText("Packages",
                                            "the package relies on the default %1, and neither the data folder nor an "
                                            "installed demo has one"),
                                     {shared}));
            moves[shared] = shared;
        }
        if (!writeRoute(root / p.routeFile_)) return false;
        return moveIntoPlace(moves);
    }

    // The alignment and the user's copy of the video, written into the unpacked route.
    bool writeRoute(const fs::path& routePath) {
        auto doc = edit::RouteDocument::open(routePath.string(), error);
        if (!doc) return false;
        if (!doc->setVideoAlignment(choice.offset, choice.rate, error)) return false;
        if (choice.video.empty() && p.manifest_.withVideo && doc->route().videoFile != p.manifest_.videoFile) {
            if (!doc->setSingle(RouteValue::VideoFile, p.manifest_.videoFile, error)) return false;
        } else if (!choice.video.empty()) {
            std::error_code ec;
            const fs::path copy = fs::absolute(choice.video, ec).lexically_normal();
            const fs::path relative = copy.lexically_relative(p.dataFolder_);
            const bool inside = !relative.empty() && relative.begin()->string() != "..";
            if (!doc->setSingle(RouteValue::VideoFile, inside ? relative.generic_string() : copy.string(), error))
                return false;
        }
        return doc->save(routePath.string(), error);
    }

    // Renames never replace (RENAME_NOREPLACE); a failure takes back what was moved.
    bool moveIntoPlace(const std::map<std::string, std::string>& moves) {
        const fs::path root(p.folder_), data(p.dataFolder_);
        std::vector<std::pair<fs::path, fs::path>> done;
        std::vector<fs::path> madeFolders;
        std::error_code ec;
        auto undo = [&] {
            for (auto it = done.rbegin(); it != done.rend(); ++it)
                ::renameat2(AT_FDCWD, it->second.c_str(), AT_FDCWD, it->first.c_str(), RENAME_NOREPLACE);
            for (auto it = madeFolders.rbegin(); it != madeFolders.rend(); ++it) fs::remove(*it, ec);
        };
        for (const auto& [from, to] : moves) {
            const fs::path target = data / to;
            // The folders along the way, created here unless the data folder has them (in any case).
            fs::path at = data;
            for (const auto& part : fs::path(to).parent_path()) {
                std::string existing;
                {
                    InFolder in(at.string());
                    existing = resolveDataPath(part.string());
                }
                at /= fs::is_directory(at / existing, ec) ? fs::path(existing) : part;
                if (!fs::exists(at, ec)) {
                    if (!fs::create_directory(at, ec)) {
                        undo();
                        return fail(withArgs(trText("Packages", "%1: the folder cannot be made"), {at.string()}));
                    }
                    madeFolders.push_back(at);
                }
            }
            const fs::path placed = at / target.filename();
            if (::renameat2(AT_FDCWD, (root / from).c_str(), AT_FDCWD, placed.c_str(), RENAME_NOREPLACE) != 0) {
                undo();
                return fail(withArgs(
                    trText("Packages", "%1: cannot be put in place (it exists, or the folder is not writable)"),
                    {placed.string()}));
            }
            done.emplace_back(root / from, placed);
            result.installed.push_back(placed.lexically_relative(data).generic_string());
        }
        return true;
    }
};

bool installPackage(OpenedPackage& package, const InstallChoice& choice, InstallResult& result, std::string* error) {
    return Installer{package, choice, result, error}.run();
}

}  // namespace ts::pack
