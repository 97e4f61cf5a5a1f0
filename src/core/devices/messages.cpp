#include "devices/messages.h"

namespace ts {

void fatal(MessageBoxes& boxes, const std::string& text) {
    boxes.show(text);
    throw FatalError(text);
}

void fatal(MessageBoxes& boxes, const std::string& text, const std::string& details) {
    boxes.showWithDetails(text, details);
    throw FatalError(text);
}

}  // namespace ts
