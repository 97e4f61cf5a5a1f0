#include "data/controller_map.h"

#include "data/section_reader.h"
#include "data/string_sections.h"
#include "data/text_file.h"

namespace ts {

std::vector<std::string> readControllerMap(const std::string& path, MessageBoxes& boxes, Diagnostics* diagnostics) {
    const std::string message = "mascon.txtが見つかりません";
    FileRefusal refusal = FileRefusal::Missing;
    auto file = readTextFile(path, &refusal);
    if (!file) {
        if (recordUnreadable(diagnostics, path, message, refusal)) return {};
        fatal(boxes, message, detailsText(unreadableFile(path, message, refusal)));
    }
    // Not the shared list reader: the list may end with the file, and lines
    // past the last slot are passed over without a word.
    const int capacity = controllerMapDesc().capacity;
    std::vector<std::string> codes;
    for (const auto& line : file->lines) {
        if (!line.empty() && line[0] == '#') break;
        if (int(codes.size()) >= capacity) break;
        codes.push_back(line);
    }
    return codes;
}

}  // namespace ts
