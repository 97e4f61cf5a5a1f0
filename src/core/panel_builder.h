// Creates the driving window's pictures: the read-out column's picture slots
// and the cab panel items of the train file, in their stacking order.
#pragma once
#include "data/pictures.h"
#include "data/route_data.h"
#include "data/train_data.h"
#include "devices/messages.h"
#include "panel_model.h"

namespace ts {

// The pictures the window has by design (signal, signs, stop marker).
void addWindowPictures(PanelModel& panel);

// The cab panel items and the timetable sheet. A named picture that cannot be
// loaded shows its name followed by "が見つかりません" and ends the program.
void addCabPanel(PanelModel& panel, const TrainData& train, const RouteData& route, PictureLoader& pictures,
                 MessageBoxes& boxes);

}  // namespace ts
