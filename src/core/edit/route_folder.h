// A new route's data folder made complete: everything a run of the new route
// reads besides its route file and video, copied from a data folder that
// holds the train it takes (the installed demo, or the folder itself).
#pragma once
#include <string>
#include <vector>

namespace ts::edit {

// The picture and sound lists a route's rows refer to by number, as written
// in a route file (one file name per line, without the closing "#").
struct RouteLists {
    std::vector<std::string> signalImages;  // [SignalImageList]
    std::vector<std::string> signImages;    // [SignImageList]
    std::vector<std::string> otherImages;   // [OtherImageList]: picture and call-out wave, in pairs
    std::vector<std::string> sounds;        // [SoundData]
};

// The lists of the route file at `path` (empty lists when it cannot be read).
RouteLists routeListsOf(const std::string& path);

// Every file of `folder` that a run of train `code` there reads, other than
// its route file and video: the train file, each picture and wave it names,
// "string.txt", "mascon.txt", "operation.txt" and the files of `lists`.
// Names are as found on disk, relative to `folder`; files that do not exist
// are left out, except the train file, "string.txt" and "mascon.txt", which
// the run cannot do without (they are named in `missing`).
std::vector<std::string> runFilesOf(const std::string& folder, const std::string& code, const RouteLists& lists,
                                    std::vector<std::string>* missing = nullptr);

// Copies the run files of train `fromCode` of `source` into the current
// folder, the train file under the name of `newCode`; a file that is there
// already is kept. `lists` (may be null) receives the source route's lists,
// for the new route file. False with the reason in `error` (the file and
// what went wrong) when a file is missing or cannot be copied.
bool copyRunFiles(const std::string& source, const std::string& fromCode, const std::string& newCode, RouteLists* lists,
                  std::string* error, std::vector<std::string>* copied = nullptr);

}  // namespace ts::edit
