#include "devices/messages.h"

namespace ts {

void fatal(MessageBoxes& boxes, const std::string& text) {
    boxes.show(text);
    throw FatalError(text);
}

}  // namespace ts
