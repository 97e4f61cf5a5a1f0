// What the driving window shows, as plain data: the core writes it, the
// window draws it and the drive-mode trace prints it.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "panel_names.h"

namespace ts {

struct MenuItem {
    std::string name;
    std::string caption;
};

// Which image list a picture slot draws its entries from.
enum class ImageSource { None, Signal, Sign, Other, NotchP, NotchB, Gear };

// One picture on the driving window, in stacking order (later items on top).
struct PanelItem {
    enum class Kind { Picture, Slot, Needle, Clock };
    std::string name;  // component name; empty for the [Others] pictures
    Kind kind = Kind::Picture;
    int left = 0, top = 0, width = 0, height = 0;
    std::optional<int> picture;  // picture id of its own (Picture, Needle)
    bool transparent = false;
    bool visible = true;
    ImageSource source = ImageSource::None;  // Slot: its image list
    std::optional<int> drawn;                // Slot: entry last drawn; nullopt = cleared
    int angle = 0;                           // Needle: whole degrees, clockwise
};

// The hands of the analogue clock as drawn last (end points from the centre 25,25).
struct ClockFace {
    bool drawn = false;
    std::pair<int, int> hour, minute, second;
};

struct PanelModel {
    std::string caption = "Train Simulator";
    std::map<std::string, std::string> labels;          // label texts by component name
    std::map<std::string, bool> labelVisible;           // labels that have been shown or hidden
    std::vector<PanelItem> items;                       // pictures, in stacking order
    std::map<std::string, std::string> valueDisplay;    // value-display texts
    std::string wheel;                                  // wheel-state text
    std::string valueDisplayCaption = "Value Display";  // the last controller message shows here
    ClockFace clock;

    // Main menu items by name, in menu order, and the Move menu's stations.
    std::vector<MenuItem> menu;
    std::vector<MenuItem> stations;

    std::string menuCaption(ComponentName name) const;
    void setMenuCaption(ComponentName name, const std::string& caption);
    PanelItem* item(ComponentName name) { return findItem(name.text); }
    const PanelItem* item(ComponentName name) const { return findItem(name.text); }
    void setVisible(ComponentName name, bool visible);
    std::string& label(ComponentName name) { return labels[name.text]; }

    // By a name known only at run time (the window and the trace walk the items).
    PanelItem* findItem(const std::string& name);
    const PanelItem* findItem(const std::string& name) const;
};

}  // namespace ts
