#include "panel_model.h"

namespace ts {

std::string PanelModel::menuCaption(ComponentName name) const {
    for (const auto& item : menu)
        if (item.name == name.text) return item.caption;
    return {};
}

void PanelModel::setMenuCaption(ComponentName name, const std::string& caption) {
    for (auto& item : menu)
        if (item.name == name.text) item.caption = caption;
}

PanelItem* PanelModel::findItem(const std::string& name) {
    for (auto& i : items)
        if (i.name == name) return &i;
    return nullptr;
}

const PanelItem* PanelModel::findItem(const std::string& name) const {
    for (const auto& i : items)
        if (i.name == name) return &i;
    return nullptr;
}

void PanelModel::setVisible(ComponentName name, bool visible) {
    if (PanelItem* i = item(name))
        i->visible = visible;
    else if (labels.count(name.text))
        labelVisible[name.text] = visible;
}

}  // namespace ts
