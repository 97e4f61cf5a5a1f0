// How a video stream's pictures are numbered: its rate, the index of a
// picture from its timestamp, and how many pictures it holds. Shared by the
// frame source and the working copy's writer, so that a copy numbers its
// pictures exactly as the source numbers the original's.
#pragma once
extern "C" {
#include <libavformat/avformat.h>
}

#include <cstdint>

namespace ts {

struct StreamTiming {
    AVRational timeBase{1, 1};
    AVRational rate{30, 1};
    int64_t startTime = 0;
    int sourceFrames = 0;  // the stream's pictures; 0 when it holds none that can be counted

    // Reads the stream's timing. A picture count the header gives is taken
    // when it is possible for the file; one that is not (more pictures than
    // the file has bytes, beyond the int range) or missing comes from the
    // durations, else from counting the stream's packets, which leaves the
    // file read to its end (the caller seeks back).
    static StreamTiming of(AVFormatContext* format, int stream);

    // The index of the picture presented at `ts`; `fallback` when it has no time.
    int indexOf(int64_t ts, int fallback) const;
    // The timestamp of picture `index`.
    int64_t timestampOf(int index) const;
    // The picture nearest in time to view frame `index` (i / 30 s), within the stream.
    int sourceIndexOf(int viewIndex) const;
    // The recording's length in view frames of 1/30 s.
    int viewFrames() const;
    // True when a view frame shows picture `picture`, or it is at or after
    // the last one shown (which stays on view when the file ends early):
    // every picture of a video of 30 or fewer per second, every second one
    // of 60.
    bool shows(int picture) const;
};

}  // namespace ts
