#include "app_state.h"

namespace ts {

AppState& app() {
    static AppState state;
    return state;
}

std::optional<double> parseViewScale(const std::string& text) {
    if (text == "full") return 0.0;
    for (const auto& [name, scale] : {std::pair{"1", 1.0}, {"1.5", 1.5}, {"2", 2.0}, {"3", 3.0}})
        if (text == name) return scale;
    return std::nullopt;
}

std::optional<bool> parseSmoothView(const std::string& text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

}  // namespace ts
