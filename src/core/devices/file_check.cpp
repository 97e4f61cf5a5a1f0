#include "devices/file_check.h"

#include <filesystem>
#include <system_error>

#include "text/our_text.h"

namespace ts {

FileRefusal checkFile(const std::string& path, std::uintmax_t sizeLimit) {
    std::error_code ec;
    // status() follows links, so a link to a pipe is a pipe.
    const std::filesystem::file_status s = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(s)) return FileRefusal::Missing;
    if (!std::filesystem::is_regular_file(s)) return FileRefusal::NotRegular;
    if (sizeLimit == kNoSizeLimit) return FileRefusal::None;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return FileRefusal::Missing;
    return size > sizeLimit ? FileRefusal::TooLarge : FileRefusal::None;
}

std::string refusalReason(FileRefusal refusal, std::uintmax_t sizeLimit) {
    switch (refusal) {
        case FileRefusal::None: return trText("DataFiles", "it can be read");
        case FileRefusal::Missing: return trText("DataFiles", "it is missing or unreadable");
        case FileRefusal::NotRegular:
            return trText("DataFiles", "it is not a regular file (a folder, pipe, socket or device)");
        case FileRefusal::TooLarge:
            return withArgs(trText("DataFiles", "it is larger than %1 MB, far beyond any real data file"),
                            {std::to_string(sizeLimit >> 20)});
    }
    return {};
}

}  // namespace ts
