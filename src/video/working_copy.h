// A quick-seeking working copy of a route's video: the same pictures for
// every position, smaller (a little above the largest view) and with a
// keyframe every 30 pictures (15 for large ones), so that any frame decodes
// in a moment. The copy holds one picture per view frame, at 30 a second:
// copy picture v is the picture the source shows for the original at view
// frame v, whatever the original's rate, so every position shows the same
// picture (a 60 fps original's every second picture is left out).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ts {

// Where the copy's bytes go: written in order, with seeks back (the
// container's index is written at the end); false or -1 on failure.
struct CopySink {
    std::function<bool(std::string_view bytes)> write;
    std::function<int64_t(int64_t offset, int whence)> seek;
};

// The copy's picture size for pictures of `width` x `height` (display
// shape) shown in views of up to `viewWidth` pixels across (2:1): a tenth
// above what covers the view, never larger than the original, even sides.
struct CopySize {
    int width = 0, height = 0;
};
CopySize workingCopySize(int width, int height, int viewWidth);

// Pictures between the copy's keyframes: a jump decodes up to that many.
int copyKeyframeInterval(CopySize size);

enum class CopyResult { Done, Cancelled, CannotRead, NoEncoder, WriteFailed, Mismatch };

struct CopyReport {
    CopyResult result = CopyResult::CannotRead;
    int pictures = 0;    // pictures written (one per view frame)
    double seconds = 0;  // the recording's length
    CopySize size;
};

// Writes the copy of `original` to `sink`. `progress(done, total)` is
// called after every few pictures; false cancels.
CopyReport writeWorkingCopy(const std::string& original, const CopySink& sink, int viewWidth,
                            const std::function<bool(int done, int total)>& progress);

// True when the copy at `copyPath` presents the same frames as `original`
// (the same length and rate), so that it may stand in for it.
bool copyMatches(const std::string& original, const std::string& copyPath);

}  // namespace ts
