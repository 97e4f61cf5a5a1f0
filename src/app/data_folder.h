// Which folder a run reads its data files from: the one given with --data,
// else the current folder when it holds data files, else the demo data set
// installed beside the program.
#pragma once
#include <string>

namespace ts {

struct DataFolder {
    std::string path;    // empty: stay in the current folder
    std::string reason;  // how it was chosen, for --help
};

// True when `dir` holds one of the files every data set has.
bool holdsDataFiles(const std::string& dir);

// The installed demo (share/trainsim/demo beside the program's bin folder),
// or empty when the program is not installed.
std::string installedDemoFolder();

// `given` is the --data argument (may be empty).
DataFolder chooseDataFolder(const std::string& given);

}  // namespace ts
