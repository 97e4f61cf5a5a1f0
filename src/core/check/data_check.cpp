#include "check/data_check.h"

#include "check/data_warnings.h"
#include "data/controller_map.h"
#include "data/file_names.h"
#include "data/route_reader.h"
#include "data/section_reader.h"
#include "data/string_table.h"
#include "data/train_reader.h"
#include "dynamics/brake_types.h"
#include "panel_builder.h"
#include "sound_channels.h"

namespace ts {

namespace {

// In check mode the readers record instead of showing anything.
class NoBoxes final : public MessageBoxes {
public:
    void show(const std::string&) override {}
};

}  // namespace

void checkTrain(const std::string& code, CheckDevices& devices, Diagnostics& out, const std::string* routeBytes) {
    NoBoxes boxes;
    const std::string routePath = resolveDataPath(code + "_line.txt");
    const std::string trainPath = resolveDataPath(code + "_train.txt");
    const std::string routeFile = baseName(routePath);
    const std::string trainFile = baseName(trainPath);

    readControllerMap(resolveDataPath("mascon.txt"), boxes, &out);
    RouteData route;
    if (routeBytes)
        readRouteText(textFromBytes(*routeBytes), routeFile, route, devices.pictures, boxes, &out);
    else
        readRouteFile(routePath, route, devices.pictures, boxes, &out);
    readStringTable(resolveDataPath("string.txt"), boxes, &out);
    TrainData train;
    readTrainFile(trainPath, train, devices.pictures, boxes, &out);

    // The panel is built as a run builds it; a picture it cannot load is reported here.
    PanelModel panel;
    addCabPanel(panel, train, route, devices.pictures, boxes,
                [&](std::string_view section, int row, const std::string& message, const std::string& why) {
                    Diagnostic d;
                    const bool staff = section == "[Staf]";
                    d.file = staff ? routeFile : trainFile;
                    d.section = std::string(section);
                    d.row = row;
                    d.line = row > 0 ? out.entryLine(d.file, d.section, row)
                                     : out.markerLine(d.file, d.section) + (out.markerLine(d.file, d.section) ? 1 : 0);
                    d.fieldName = staff ? "staffImageFile" : "fileName";
                    d.message = message;
                    d.explanation = why;
                    out.add(d);
                });

    const ChannelMap map = ChannelMap::of(route, train);
    if (const auto overflow = channelOverflowMessage(map)) {
        Diagnostic d;
        d.file = routeFile;
        d.section = overflow->substr(overflow->find('['));
        d.line = out.markerLine(routeFile, d.section);
        d.message = *overflow;
        d.explanation = channelOverflowExplanation(map);
        out.add(d);
    }

    const BrakeTypeTraits brakes = brakeTraits(train.brakeType);
    const int notches = brakes.fixedNotchCount ? brakes.fixedNotchCount : train.brakeNotchCountInFile;
    if (notches < brakes.minimumNotchCount) {
        Diagnostic d;
        d.file = trainFile;
        d.section = "[Brake]";
        d.line = out.markerLine(trainFile, "[Brake]") ? out.markerLine(trainFile, "[Brake]") + 1 : 0;
        d.fieldName = "brakeNotchCount";
        d.message = "ブレーキの段数を3段以上に設定してください";
        d.explanation = brakeStepsExplanation(train.brakeType, brakes.minimumNotchCount, train.brakeNotchCountInFile);
        out.add(d);
    }

    addDataWarnings(route, train, routeFile, trainFile, devices, out);
}

}  // namespace ts
