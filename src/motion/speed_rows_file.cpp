#include "motion/speed_rows_file.h"

#include <map>

#include "data/section_rewriter.h"
#include "devices/messages.h"
#include "gps/import.h"

namespace ts::motion {

std::string routeWithSpeedRows(const std::string& routePath, const std::vector<Speed_UnitData>& rows) {
    std::vector<SectionSpan> spans;
    std::string bytes;
    gps::readRouteForImport(routePath, &spans, &bytes);
    std::map<std::string, std::vector<std::string>> sections;
    auto& lines = sections["[SpeedUnit]"];
    for (const Speed_UnitData& s : rows)
        lines.push_back(std::to_string(s.fromPosition) + "," + std::to_string(s.toPosition) + "," +
                        std::to_string(s.fromSpeed) + "," + std::to_string(s.toSpeed));
    std::string out = rewriteSections(bytes, spans, sections);
    RouteData back;
    try {
        back = gps::readRouteBytes(out, routePath);
    } catch (const FatalError&) {
        throw gps::ImportError("the rewritten route file does not read back; nothing was written");
    }
    bool same = back.speedUnitTable.size() == rows.size();
    for (size_t i = 0; same && i < rows.size(); ++i) {
        const Speed_UnitData &a = back.speedUnitTable[i], &b = rows[i];
        same = a.fromPosition == b.fromPosition && a.toPosition == b.toPosition && a.fromSpeed == b.fromSpeed &&
               a.toSpeed == b.toSpeed;
    }
    if (!same) throw gps::ImportError("the rewritten route file reads back other rows; nothing was written");
    return out;
}

}  // namespace ts::motion
