#include "video_cache.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "data/whole_file.h"
#include "devices/frame_source.h"

namespace ts {

namespace fs = std::filesystem;

namespace {

uint64_t fnv1a(const std::string& text, uint64_t h = 1469598103934665603ull) {
    for (const unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string hex(uint64_t v) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016" PRIx64, v);
    return buf;
}

// The part of a copy's name that says which video it is (not which state of it).
std::string videoKey(const std::string& original) {
    std::error_code ec;
    const fs::path full = fs::weakly_canonical(fs::absolute(original, ec), ec);
    return hex(fnv1a(full.string()));
}

std::unique_ptr<QSettings> viewSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "trainsim", "views");
}

}  // namespace

std::string videoCacheFolder() {
    return (QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/trainsim/videos").toStdString();
}

std::string workingCopyPath(const std::string& original) {
    struct stat st {};
    if (original.empty() || ::stat(original.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    const std::string state =
        std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
    const std::string stem = fs::path(original).stem().string().substr(0, 40);
    return videoCacheFolder() + "/" + stem + "-" + videoKey(original) + "-" + hex(fnv1a(state)).substr(0, 8) + ".mp4";
}

std::string currentWorkingCopy(const std::string& original) {
    const std::string copy = workingCopyPath(original);
    std::error_code ec;
    if (copy.empty() || !fs::is_regular_file(copy, ec)) return {};
    return copy;
}

std::string videoToDecode(const std::string& original) {
    const std::string copy = currentWorkingCopy(original);
    return copy.empty() ? original : copy;
}

int largestViewWidth() { return std::max(kViewWidth, viewSettings()->value("largestViewWidth", 0).toInt()); }

void rememberViewWidth(int width) {
    auto s = viewSettings();
    if (width > s->value("largestViewWidth", 0).toInt()) s->setValue("largestViewWidth", width);
}

bool copyWouldHelp(double keyframeSeconds, int width, int viewWidth) {
    return keyframeSeconds > 1.2 || width > 2 * std::max(viewWidth, kViewWidth);
}

PrepareOutcome prepareWorkingCopy(const std::string& original, int viewWidth,
                                  const std::function<bool(int done, int total)>& progress) {
    PrepareOutcome out;
    const std::string path = workingCopyPath(original);
    const QString name = QString::fromStdString(fs::path(original).filename().string());
    if (path.empty()) {
        out.message = QCoreApplication::translate("VideoCache", "The video %1 cannot be read.").arg(name).toStdString();
        return out;
    }
    std::error_code ec;
    fs::create_directories(videoCacheFolder(), ec);
    FileReplacement file;
    std::string error;
    if (!file.open(path, &error)) {
        out.result = CopyResult::WriteFailed;
        out.message = QCoreApplication::translate("VideoCache", "The working copy cannot be written in %1: %2")
                          .arg(QString::fromStdString(videoCacheFolder()), QString::fromStdString(error))
                          .toStdString();
        return out;
    }
    const CopySink sink{[&](std::string_view bytes) { return file.write(bytes); },
                        [&](int64_t offset, int whence) { return file.seek(offset, whence); }};
    const CopyReport report = writeWorkingCopy(original, sink, viewWidth, progress);
    out.result = report.result;
    out.size = report.size;
    out.seconds = report.seconds;
    const bool written = report.result == CopyResult::Done && file.commit(&error);
    const int failure = file.failureErrno();
    if (!written) file.discard();
    if (written && !copyMatches(original, path)) {
        fs::remove(path, ec);
        out.result = CopyResult::Mismatch;
        out.message = QCoreApplication::translate(
                          "VideoCache", "The working copy of %1 would not show the same frames; it was not kept.")
                          .arg(name)
                          .toStdString();
        return out;
    }
    if (written) {
        out.path = path;
        // Copies of earlier states of this video are of no more use.
        const std::string mine = fs::path(path).filename().string();
        const std::string key = "-" + videoKey(original) + "-";
        for (const auto& e : fs::directory_iterator(videoCacheFolder(), ec)) {
            const std::string other = e.path().filename().string();
            if (other != mine && other.find(key) != std::string::npos && e.path().extension() == ".mp4")
                fs::remove(e.path(), ec);
        }
        return out;
    }
    switch (report.result) {
        case CopyResult::Cancelled:
            out.message =
                QCoreApplication::translate("VideoCache", "Cancelled: no working copy was kept.").toStdString();
            break;
        case CopyResult::NoEncoder:
            out.message =
                QCoreApplication::translate(
                    "VideoCache", "This system's FFmpeg has no H.264 encoder (libx264): no working copy can be made.")
                    .toStdString();
            break;
        case CopyResult::CannotRead:
            out.message =
                QCoreApplication::translate("VideoCache", "The video %1 cannot be read.").arg(name).toStdString();
            break;
        default:
            if (failure == ENOSPC || failure == EFBIG || failure == EDQUOT)
                out.message = QCoreApplication::translate(
                                  "VideoCache",
                                  "The disk is full: the working copy of %1 does not fit in %2. Nothing was kept; "
                                  "make room there and prepare it again.")
                                  .arg(name, QString::fromStdString(videoCacheFolder()))
                                  .toStdString();
            else
                out.message = QCoreApplication::translate(
                                  "VideoCache", "The working copy of %1 could not be written (%2). Nothing was kept.")
                                  .arg(name, QString::fromStdString(error.empty() ? file.failure() : error))
                                  .toStdString();
            out.result = CopyResult::WriteFailed;
    }
    return out;
}

}  // namespace ts
