#include "motion/distance_marks.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "text/our_text.h"

namespace ts::motion {

std::vector<DistanceMark> parseMarks(const std::string& text) {
    std::vector<DistanceMark> marks;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '#') break;
        const auto comma = line.find(',');
        DistanceMark m;
        try {
            if (comma == std::string::npos) throw std::invalid_argument("no comma");
            size_t used = 0;
            const std::string frame = line.substr(0, comma), metres = line.substr(comma + 1);
            const long f = std::stol(frame, &used);
            if (frame.find_first_not_of(" \t", used) != std::string::npos) throw std::invalid_argument("frame");
            const double d = std::stod(metres, &used);
            if (metres.find_first_not_of(" \t", used) != std::string::npos || !std::isfinite(d))
                throw std::invalid_argument("metres");
            if (f < 0 || f > 100'000'000) throw std::out_of_range("frame");
            m = {int(f), d};
        } catch (const std::logic_error&) {
            throw std::runtime_error(withArgs(trText("SpeedFromVideo", "line %1: \"%2\" is not a mark (frame,metres)"),
                                              {std::to_string(number), line}));
        }
        marks.push_back(m);
    }
    return marks;
}

MarkSource routeMarks(const RouteData& route) {
    MarkSource s;
    if (!route.distanceMarkTable.empty()) {
        for (const DistanceMarkRow& r : route.distanceMarkTable) s.marks.push_back({r.frame, double(r.metres)});
        s.from = "[DistanceMark]";
    } else {
        s.marks = marksFromStations(route.stationTable);
        s.from = "stations";
    }
    return s;
}

}  // namespace ts::motion
