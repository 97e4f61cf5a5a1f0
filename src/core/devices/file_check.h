// The one rule for every file the program reads (data files, pictures, waves,
// the video, GPS tracks, recordings, gamepad.txt): it must be a regular file,
// links followed, and a text data file must stay below a size no real one
// comes near. Checked before opening: opening a named pipe or a device blocks
// until something writes to it, and a huge file would be read whole.
#pragma once
#include <cstdint>
#include <string>

namespace ts {

enum class FileRefusal {
    None,        // a regular file within the limit
    Missing,     // nothing there, or its folder cannot be searched
    NotRegular,  // a folder, pipe, socket or device
    TooLarge,    // beyond the limit given
};

// A route, train, string, controller-map, help or gamepad file. Their tables
// hold at most 501 rows, so a real one is well below a megabyte.
inline constexpr std::uintmax_t kTextDataFileLimit = std::uintmax_t(4) << 20;
inline constexpr std::uintmax_t kNoSizeLimit = UINTMAX_MAX;

// Whether `path` may be opened and read; `sizeLimit` in bytes.
FileRefusal checkFile(const std::string& path, std::uintmax_t sizeLimit = kNoSizeLimit);

// Why a file is refused, as the end of a sentence ("the file ... : <this>").
std::string refusalReason(FileRefusal refusal, std::uintmax_t sizeLimit = kTextDataFileLimit);

}  // namespace ts
