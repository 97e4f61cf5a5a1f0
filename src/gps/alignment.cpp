#include "gps/alignment.h"

#include <cmath>
#include <sstream>

#include "gps/track.h"
#include "text/our_text.h"

namespace ts::gps {

Alignment alignByOffset(double offset) { return Alignment{offset, 1 / kFramesPerSecond}; }

Alignment alignBySync(const SyncMark& a, const SyncMark& b) {
    if (a.frame == b.frame) throw ImportError(trText("GpsImport", "the two --sync marks name the same frame"));
    const double perFrame = (b.seconds - a.seconds) / (b.frame - a.frame);
    if (!(perFrame > 0))
        throw ImportError(
            trText("GpsImport", "the two --sync marks run backwards: the later frame has the earlier time"));
    const double rate = 1 / perFrame;
    if (rate < kFramesPerSecond / 2 || rate > kFramesPerSecond * 2) {
        std::ostringstream m;
        m << "the two --sync marks give " << rate << " frames per second of the ride; a video of " << kFramesPerSecond
          << " frames per second cannot drift that far: check the marks";
        throw ImportError(m.str());
    }
    return Alignment{a.seconds - a.frame * perFrame, perFrame};
}

}  // namespace ts::gps
