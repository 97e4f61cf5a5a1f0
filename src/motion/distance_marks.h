// Where the distance marks for fitting the recorded speed come from: a marks
// file ("frame,metres" a line), the route's [DistanceMark] section, or, when
// it has none, the distances between its stations.
#pragma once
#include <string>
#include <vector>

#include "data/route_data.h"
#include "motion/speed_from_motion.h"

namespace ts::motion {

// Lines "frame,metres" (CR LF or LF; blank lines, lines beginning with ";"
// and a last "#" line passed over). Throws std::runtime_error naming the line.
std::vector<DistanceMark> parseMarks(const std::string& text);

struct MarkSource {
    std::vector<DistanceMark> marks;
    std::string from;  // "[DistanceMark]" or "stations"
};

// The route's own marks, else its stations' distances.
MarkSource routeMarks(const RouteData& route);

}  // namespace ts::motion
