// Reads the route file (CODE_line.txt) into the run's route data.
#pragma once
#include <string>

#include <vector>

#include "data/diagnostics.h"
#include "data/route_data.h"
#include "data/section_reader.h"
#include "devices/messages.h"

namespace ts {

// Any error shows "路線ファイルに誤りがあります。" followed by the section label
// and ends the program (FatalError). With `diagnostics` every problem is
// recorded there instead and reading carries on. `spans`, when given,
// receives where each section was read.
void readRouteFile(const std::string& path, RouteData& route, PictureLoader& pictures, MessageBoxes& boxes,
                   Diagnostics* diagnostics = nullptr, std::vector<SectionSpan>* spans = nullptr);

// The same from a route file's text already read; `fileName` names it in diagnostics.
void readRouteText(const TextFile& file, const std::string& fileName, RouteData& route, PictureLoader& pictures,
                   MessageBoxes& boxes, Diagnostics* diagnostics = nullptr, std::vector<SectionSpan>* spans = nullptr);

inline constexpr const char* kRouteFileMessage = "路線ファイルに誤りがあります。";

// The route's line name alone, for lists of routes: the value of the first
// [LineName] within the file's first kLineNamePrefix bytes, so that no file in
// the folder, however large, makes the list slow. Empty when the file cannot
// be read or has none there.
std::string readLineName(const std::string& path);
inline constexpr size_t kLineNamePrefix = 64 * 1024;

}  // namespace ts
