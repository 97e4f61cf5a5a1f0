// The quick-seeking working copies of route videos, in the user's cache
// folder: which copy belongs to a video as it is now, which file a window
// decodes, and preparing a copy. The route still names the original; the
// drive mode always decodes the original.
#pragma once
#include <functional>
#include <string>

#include "video/working_copy.h"

namespace ts {

// The folder the copies are kept in ("videos" in the user's cache folder).
std::string videoCacheFolder();
// The copy's file name for `original` as it is now: its path, size and
// modification time make the name. Empty when the original cannot be read.
std::string workingCopyPath(const std::string& original);
// The copy of `original` when it is there and current, else empty.
std::string currentWorkingCopy(const std::string& original);
// What a window decodes for `original`: its current copy, else itself.
std::string videoToDecode(const std::string& original);

// The largest view width the user has chosen in a driving window (its
// scale, or the screen in full screen), at least the view's own 480.
int largestViewWidth();
void rememberViewWidth(int width);

// True when a copy would seek much faster: keyframes more than about a
// second apart, or pictures much larger than the view.
bool copyWouldHelp(double keyframeSeconds, int width, int viewWidth);

struct PrepareOutcome {
    CopyResult result = CopyResult::CannotRead;
    std::string path;     // the copy, when done
    std::string message;  // what went wrong, for the user; empty when done
    CopySize size;
    double seconds = 0;  // the recording's length
};

// Prepares the copy of `original` for views of up to `viewWidth`: written
// beside its name and put in place when whole, so that a cancelled or failed
// copy leaves nothing. Older copies of the same video are removed.
PrepareOutcome prepareWorkingCopy(const std::string& original, int viewWidth,
                                  const std::function<bool(int done, int total)>& progress);

}  // namespace ts
