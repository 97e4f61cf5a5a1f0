// The sectioned data files on arbitrary bytes: the first byte picks the
// reader (route file, train file with its cab panel, string table,
// controller map), the rest is the file.
#include <unistd.h>

#include <cstdlib>

#include "data/controller_map.h"
#include "data/route_reader.h"
#include "data/string_table.h"
#include "data/train_reader.h"
#include "fuzz_support.h"
#include "panel_builder.h"
#include "recording_message_boxes.h"

using namespace ts;

namespace {

// Pictures named in the files are not read: whether one "exists" and its
// size follow from its name, so that both the found and the missing path run.
class NamedPictures final : public PictureLoader {
public:
    std::optional<int> load(const std::string& path) override {
        if (path.size() % 3 == 0) return std::nullopt;
        sizes_.push_back({int(path.size() % 7) * 8, int(path.size() % 5) * 8});
        return int(sizes_.size()) - 1;
    }
    PictureSize size(int id) const override {
        if (id < 0 || id >= int(sizes_.size())) fuzz::fail("size asked for an id never given");
        return sizes_[size_t(id)];
    }

private:
    std::vector<PictureSize> sizes_;
};

const fuzz::KnownMessages kRoute{{}, {"路線ファイルに誤りがあります。"}, {}};
const fuzz::KnownMessages kTrain{{"動力が気動車なのにNotch指定があります", "Power指定とNotch指定が矛盾しています",
                                  "動力が電車なのにEngine指定があります"},
                                 {"車両ファイルに誤りがあります"},
                                 {"が見つかりません"}};
const fuzz::KnownMessages kStrings{{"stringファイルに誤りがあります"}, {}, {}};

template <class F>
void check(F&& read, const fuzz::KnownMessages& known) {
    RecordingMessageBoxes boxes;
    bool refused = false;
    try {
        read(boxes);
    } catch (const FatalError&) {
        refused = true;
    }
    if (refused)
        fuzz::expectOneKnownMessage(boxes.all(), known);
    else
        fuzz::expectNoMessage(boxes.all());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Names in the files resolve against the data folder, the scratch folder here.
    if (chdir(fuzz::scratchPath("").c_str()) != 0) fuzz::fail("cannot enter the scratch folder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int reader = data[0] % 4;
    ++data;
    --size;
    NamedPictures pictures;
    switch (reader) {
        case 0: {
            const std::string path = fuzz::writeScratch("789_line.txt", data, size);
            check(
                [&](MessageBoxes& b) {
                    RouteData route;
                    readRouteFile(path, route, pictures, b);
                },
                kRoute);
            break;
        }
        case 1: {
            const std::string path = fuzz::writeScratch("789_train.txt", data, size);
            check(
                [&](MessageBoxes& b) {
                    TrainData train;
                    readTrainFile(path, train, pictures, b);
                    PanelModel panel;
                    addWindowPictures(panel);
                    addCabPanel(panel, train, RouteData{}, pictures, b);
                    for (const auto& item : panel.items)
                        // The toolkit's rectangles add position and size in int.
                        if (item.width < 0 || item.height < 0 ||
                            std::abs(int64_t(item.left)) + item.width > 1'000'000 ||
                            std::abs(int64_t(item.top)) + item.height > 1'000'000)
                            fuzz::fail("panel geometry beyond any window");
                },
                kTrain);
            break;
        }
        case 2: {
            const std::string path = fuzz::writeScratch("string.txt", data, size);
            check([&](MessageBoxes& b) { readStringTable(path, b); }, kStrings);
            break;
        }
        case 3: {
            const std::string path = fuzz::writeScratch("mascon.txt", data, size);
            check(
                [&](MessageBoxes& b) {
                    const auto codes = readControllerMap(path, b);
                    if (int(codes.size()) > kControllerCodeSlots) fuzz::fail("more controller codes than slots");
                    for (const auto& c : codes)
                        if (!c.empty() && c[0] == '#') fuzz::fail("the end line read as a code");
                },
                {});
            break;
        }
    }
    return 0;
}
