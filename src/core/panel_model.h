// What the driving window shows, as plain data: the core writes it, the
// window draws it and the drive-mode trace prints it.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ts {

struct MenuItem {
    std::string name;
    std::string caption;
};

struct PanelModel {
    std::string caption = "Train Simulator";
    std::map<std::string, std::string> labels;            // label texts by component name
    std::map<std::string, bool> visible;                  // lamps and pictures
    std::map<std::string, std::optional<int>> images;     // image-list entry last drawn; nullopt = cleared
    std::map<std::string, int> needles;                   // whole degrees
    std::map<std::string, std::pair<int, int>> geometry;  // left, top of items that move
    std::map<std::string, std::string> valueDisplay;      // value-display texts, when shown
    std::string wheel;                                    // wheel-state text

    // Main menu items by name, in menu order, and the Move menu's stations.
    std::vector<MenuItem> menu;
    std::vector<MenuItem> stations;

    std::string menuCaption(const std::string& name) const;
    void setMenuCaption(const std::string& name, const std::string& caption);
};

}  // namespace ts
