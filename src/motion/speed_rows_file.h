// The fitted [SpeedUnit] rows put into a route file: only that section is
// rewritten (every other byte kept), and the result is read back in memory by
// the route reader before anyone writes it.
#pragma once
#include <string>
#include <vector>

#include "data/route_data.h"

namespace ts::motion {

// The new bytes of the route file at `routePath` with `rows` as its
// [SpeedUnit]; throws gps::ImportError when the file cannot be read or the
// result does not read back as these rows.
std::string routeWithSpeedRows(const std::string& routePath, const std::vector<Speed_UnitData>& rows);

}  // namespace ts::motion
