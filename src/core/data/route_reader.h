// Reads the route file (CODE_line.txt) into the run's route data.
#pragma once
#include <string>

#include <vector>

#include "data/route_data.h"
#include "data/section_reader.h"
#include "devices/messages.h"

namespace ts {

// Any error shows "路線ファイルに誤りがあります。" followed by the section label
// and ends the program (FatalError).
// `spans`, when given, receives where each section was read.
void readRouteFile(const std::string& path, RouteData& route, PictureLoader& pictures, MessageBoxes& boxes,
                   std::vector<SectionSpan>* spans = nullptr);

}  // namespace ts
