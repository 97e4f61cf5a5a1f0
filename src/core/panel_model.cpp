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

PanelItem* PanelModel::item(const std::string& name) {
    for (auto& i : items)
        if (i.name == name) return &i;
    return nullptr;
}

const PanelItem* PanelModel::item(const std::string& name) const {
    for (const auto& i : items)
        if (i.name == name) return &i;
    return nullptr;
}

void PanelModel::setVisible(const std::string& name, bool visible) {
    if (PanelItem* i = item(name)) i->visible = visible;
    else if (labels.count(name)) labelVisible[name] = visible;
}

}  // namespace ts
