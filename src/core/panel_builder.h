// Creates the driving window's pictures: the read-out column's picture slots
// and the cab panel items of the train file, in their stacking order.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "data/pictures.h"
#include "data/route_data.h"
#include "data/train_data.h"
#include "devices/messages.h"
#include "panel_model.h"

namespace ts {

// The pictures the window has by design (signal, signs, stop marker).
void addWindowPictures(PanelModel& panel);

// Told of a panel picture that cannot be loaded: the section that names it
// ("[Staf]" is the route file's), the entry of "[Others]" (from 1, else 0),
// the message a run shows and why.
using MissingPanelPicture =
    std::function<void(std::string_view section, int row, const std::string& message, const std::string& why)>;

// The cab panel items and the timetable sheet. A named picture that cannot be
// loaded shows its name followed by "が見つかりません" and ends the program;
// with `missing` it is reported there instead and the item has no picture.
void addCabPanel(PanelModel& panel, const TrainData& train, const RouteData& route, PictureLoader& pictures,
                 MessageBoxes& boxes, const MissingPanelPicture& missing = {});

}  // namespace ts
