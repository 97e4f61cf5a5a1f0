// The block signals a driver keeping to the timetable would meet at stop or
// restricted: the preceding train driven as a run drives it, against a train
// that runs at the recorded speed and waits at each stop until its doors close.
#pragma once
#include <vector>

#include "data/route_data.h"

namespace ts {

struct SignalMeeting {
    int row = 0;              // the [Signal] row, from 1
    int aspect = 0;           // 0 stop, 1 YY, 2 Y, 3 YG
    int clearingPreTime = 0;  // the least [Pre_Time] in seconds that shows it clear
};

std::vector<SignalMeeting> signalsMetRestricted(const RouteData& route);

}  // namespace ts
