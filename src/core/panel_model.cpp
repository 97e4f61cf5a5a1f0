#include "panel_model.h"

namespace ts {

std::string PanelModel::menuCaption(const std::string& name) const {
    for (const auto& item : menu)
        if (item.name == name) return item.caption;
    return {};
}

void PanelModel::setMenuCaption(const std::string& name, const std::string& caption) {
    for (auto& item : menu)
        if (item.name == name) item.caption = caption;
}

}  // namespace ts
