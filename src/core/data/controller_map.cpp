#include "data/controller_map.h"

#include "data/text_file.h"

namespace ts {

std::vector<std::string> readControllerMap(const std::string& path, MessageBoxes& boxes) {
    auto file = readTextFile(path);
    if (!file) fatal(boxes, "mascon.txtが見つかりません");
    std::vector<std::string> codes;
    for (const auto& line : file->lines) {
        if (!line.empty() && line[0] == '#') break;
        if (int(codes.size()) >= kControllerCodeSlots) break;
        codes.push_back(line);
    }
    return codes;
}

}  // namespace ts
