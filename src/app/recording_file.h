// Recording files from the program's side: starting one for a driving window,
// the hash of the data files it names, and the check before replaying one.
#pragma once
#include <functional>
#include <string>

#include "drive_script.h"

namespace ts {

class TForm1;

// SHA-256 over the train's route and train files and the shared text files of
// the data folder (the current directory), as "sha256:HEX".
std::string dataFilesHash(const std::string& trainCode);

// Makes `form`'s run record to `path` (written beside it and put in place
// when the run ends); false when the file cannot be written or the run has
// started (what came before is gone). `failed` hears the moment the recording
// cannot be written or put in place; without it a message box says so.
bool beginRecording(TForm1& form, const std::string& path, std::string& error,
                    std::function<void(const std::string&)> failed = {});

struct RecordingHeader {
    std::string train, data;
};
RecordingHeader recordingHeader(const ParsedScript& script);

// Why a recording is not replayed on this data folder, empty when it is:
// another train than `train` (when given), or data files changed since. `force` replays anyway.
std::string replayRefusal(const RecordingHeader& header, const std::string& train, bool force);

}  // namespace ts
