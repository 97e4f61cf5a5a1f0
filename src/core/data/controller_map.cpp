#include "data/controller_map.h"

#include "data/section_reader.h"
#include "data/text_file.h"

namespace ts {

std::vector<std::string> readControllerMap(const std::string& path, MessageBoxes& boxes, Diagnostics* diagnostics) {
    const std::string message = "mascon.txtが見つかりません";
    auto file = readTextFile(path);
    if (!file) {
        if (recordUnreadable(diagnostics, path, message)) return {};
        fatal(boxes, message, detailsText(unreadableFile(path, message)));
    }
    std::vector<std::string> codes;
    for (const auto& line : file->lines) {
        if (!line.empty() && line[0] == '#') break;
        if (int(codes.size()) >= kControllerCodeSlots) break;
        codes.push_back(line);
    }
    return codes;
}

}  // namespace ts
