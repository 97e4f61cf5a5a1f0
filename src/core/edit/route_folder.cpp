#include "edit/route_folder.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include <unistd.h>

#include "data/file_names.h"
#include "data/route_reader.h"
#include "data/text_file.h"
#include "data/train_reader.h"
#include "recording_message_boxes.h"

namespace fs = std::filesystem;

namespace ts::edit {

namespace {

// Data files name their files relative to the data folder, and the readers
// look them up from the current folder: they are read from inside it.
class InFolder {
public:
    explicit InFolder(const std::string& dir) {
        std::error_code ec;
        keep_ = fs::current_path(ec);
        ok_ = !ec && chdir(dir.c_str()) == 0;
    }
    ~InFolder() {
        if (ok_ && chdir(keep_.c_str()) != 0) {}
    }
    bool ok() const { return ok_; }

private:
    fs::path keep_;
    bool ok_ = false;
};

// Every picture the train reader asks for, by the path it resolved.
class NamedPictures final : public PictureLoader {
public:
    std::optional<int> load(const std::string& path) override {
        names.push_back(path);
        return int(names.size()) - 1;
    }
    // One size for all: the lists are then read whole, never started over.
    PictureSize size(int) const override { return {1, 1}; }
    std::vector<std::string> names;
};

std::vector<std::string> listLines(const TextFile& file, const std::vector<SectionSpan>& spans, const char* marker) {
    std::vector<std::string> out;
    for (const SectionSpan& s : spans) {
        if (s.marker != marker) continue;
        out.clear();  // a list read again starts over
        for (size_t i = s.markerLine + 1; i < s.endLine && i < file.lines.size(); ++i) {
            if (!file.lines[i].empty() && file.lines[i][0] == '#') break;
            out.push_back(file.encoding.decode(file.lines[i]));
        }
    }
    return out;
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

}  // namespace

RouteLists routeListsOf(const std::string& path) {
    RouteLists lists;
    const auto file = readTextFile(path);
    if (!file) return lists;
    RouteData route;
    NamedPictures pictures;
    RecordingMessageBoxes boxes;
    Diagnostics problems;
    std::vector<SectionSpan> spans;
    readRouteText(*file, path, route, pictures, boxes, &problems, &spans);
    lists.signalImages = listLines(*file, spans, "[SignalImageList]");
    lists.signImages = listLines(*file, spans, "[SignImageList]");
    lists.otherImages = listLines(*file, spans, "[OtherImageList]");
    lists.sounds = listLines(*file, spans, "[SoundData]");
    return lists;
}

std::vector<std::string> runFilesOf(const std::string& folder, const std::string& code, const RouteLists& lists,
                                    std::vector<std::string>* missing) {
    std::vector<std::string> files;
    std::set<std::string> seen;
    InFolder in(folder);
    if (!in.ok()) {
        if (missing) missing->push_back(folder);
        return files;
    }
    auto add = [&](const std::string& name, bool needed) {
        if (name.empty()) return;
        const std::string path = fs::path(resolveDataPath(name)).lexically_normal().generic_string();
        if (!isFile(path)) {
            if (needed && missing) missing->push_back(name);
            return;
        }
        if (seen.insert(path).second) files.push_back(path);
    };
    const std::string train = code + "_train.txt";
    add(train, true);
    add("string.txt", true);
    add("mascon.txt", true);
    add("operation.txt", false);
    if (isFile(resolveDataPath(train))) {
        TrainData data;
        NamedPictures pictures;
        RecordingMessageBoxes boxes;
        Diagnostics problems;
        readTrainFile(resolveDataPath(train), data, pictures, boxes, &problems);
        for (const auto& p : pictures.names) add(p, false);
        for (const auto& w : data.driveSoundFiles) add(w, false);
        for (const auto& m : data.motorSoundTable) add(m.fileName, false);
        // The cab panel's single pictures are loaded with the panel, not by the reader.
        for (const auto& l : data.panelLamps) add(l.fileName, false);
        for (const auto& n : data.needles) add(n.fileName, false);
        for (const auto& o : data.otherPanelTable) add(o.fileName, false);
    }
    for (const auto* list : {&lists.signalImages, &lists.signImages, &lists.otherImages, &lists.sounds})
        for (const auto& name : *list) add(name, false);
    return files;
}

bool copyRunFiles(const std::string& source, const std::string& fromCode, const std::string& newCode, RouteLists* lists,
                  std::string* error, std::vector<std::string>* copied) {
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    std::error_code ec;
    const fs::path from = fs::absolute(source, ec);
    if (ec || !fs::is_directory(from, ec)) return fail("the folder " + source + " cannot be read");
    RouteLists found;
    {
        InFolder in(from.string());
        if (!in.ok()) return fail("the folder " + source + " cannot be read");
        const std::string route = resolveDataPath(fromCode + "_line.txt");
        if (isFile(route)) found = routeListsOf(route);
    }
    std::vector<std::string> missing;
    const std::vector<std::string> files = runFilesOf(from.string(), fromCode, found, &missing);
    if (!missing.empty()) return fail(missing.front() + " is not in " + from.string());

    // The train file comes first: it takes the new code, everything else keeps its name.
    for (size_t i = 0; i < files.size(); ++i) {
        const fs::path target = i == 0 ? fs::path(newCode + "_train.txt") : fs::path(files[i]);
        if (fs::exists(target, ec)) continue;
        if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
        if (!ec) fs::copy_file(from / files[i], target, ec);
        if (ec)
            return fail("cannot copy " + (from / files[i]).string() + " to " + target.generic_string() + ": " +
                        ec.message());
        if (copied) copied->push_back(target.generic_string());
    }
    if (lists) *lists = found;
    return true;
}

}  // namespace ts::edit
