// Stations from the track's named waypoints. A waypoint near the track stands
// at the frame where the train came to rest beside it, or, when it ran
// through, the frame of nearest approach. A stop there gives a stopping
// station whose departure and door-closing times come from when the train
// moved off; a run-through gives a passing one. A station the route already
// has under that name keeps its kind, sound and times and only moves. Each
// stop's distance to the next stop is the distance run along the track.
#pragma once
#include <string>
#include <vector>

#include "data/route_data.h"
#include "gps/frame_profile.h"
#include "gps/ride.h"

namespace ts::gps {

struct StationOptions {
    int halfRangeFrames = 60;       // stop range = frame -/+ this
    double nearMetres = 100;        // a waypoint farther from the track is not a station of it
    double standSeconds = 5;        // at least this long below 1 km/h counts as a stop
    double standSearchMetres = 50;  // a stop this far along the track from the waypoint still belongs to it
    int startPosition = 0;          // the route's [StartPos] and [StartTime]: the clock of the run
    int startTime = 0;
    bool keepTimes = false;  // stations already in the route keep their times
};

struct StationImport {
    std::vector<StationData> rows;  // in route order
    std::vector<std::string> notes;
};

StationImport importStations(const Ride& ride, const Alignment& align, const FrameProfile& frames,
                             const std::vector<Waypoint>& waypoints, const std::vector<StationData>& existing,
                             const StationOptions& options);

// Fills nextStopDistance (cm) of every stopping station from the distance run
// between its stop and the next stop; passing stations and the last stop get 0.
void fillNextStopDistances(std::vector<StationData>& rows, const FrameProfile& frames);

}  // namespace ts::gps
