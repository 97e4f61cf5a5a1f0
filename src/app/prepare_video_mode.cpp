#include "prepare_video_mode.h"

#include <QCoreApplication>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "data/file_names.h"
#include "data_folder.h"
#include "gps/import.h"
#include "video_cache.h"

namespace ts {

namespace {

constexpr const char* kUsage = "usage: trainsim prepare-video [--data DIR] CODE\n";

int usage(const std::string& why) {
    std::cerr << "trainsim prepare-video: " << why << "\n" << kUsage;
    return 2;
}

struct Arguments {
    std::string data, code;
};

// The command's own options; nullopt with `status` set when it ends here.
std::optional<Arguments> parseArguments(int argc, char** argv, int& status) {
    Arguments a;
    std::vector<CommandOption> options;
    options = {
        valueOption("--data", "DIR", "read the data files from DIR", storeIn(a.data)),
        alsoNamed(switchOption("--help", "show this help",
                               [&options] {
                                   std::cout << kUsage
                                             << "Makes a working copy of the video that CODE_line.txt names ([Path]): "
                                                "the same frame for\n"
                                                "every position, a keyframe every 30 pictures, a little above the "
                                                "largest view size\n"
                                                "chosen in the driving window. It is kept in the user's cache folder "
                                                "and used by the\n"
                                                "editor and the driving window while the video is unchanged; the "
                                                "route file still names\n"
                                                "the original, and the drive mode decodes the original.\n"
                                             << optionLines(options, 12);
                                   return OptionAnswer::exitWith(0);
                               }),
                  "-h"),
    };
    auto code = [&a](const std::string& c) {
        if (!a.code.empty()) {
            return OptionAnswer::refused("one train code only");
        }
        a.code = c;
        return OptionAnswer::accepted();
    };
    const ParsedLine parsed = parseCommandLine({options, nullptr, code}, argc, argv);
    if (const auto end = walkEnd(parsed, usage)) {
        status = *end;
        return std::nullopt;
    }
    if (a.code.empty()) {
        status = usage("which train's video? give its CODE");
        return std::nullopt;
    }
    return a;
}

std::string duration(double seconds) {
    const long s = std::lround(std::max(0.0, seconds));
    return s >= 60 ? std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s" : std::to_string(s) + " s";
}

}  // namespace

int runPrepareVideo(int argc, char** argv) {
    int status = 0;
    const auto args = parseArguments(argc, argv, status);
    if (!args) return status;
    const DataFolder data = chooseDataFolder(args->data);
    if (!data.path.empty() && chdir(data.path.c_str()) != 0)
        return usage("cannot change into data folder '" + data.path + "'");
    // QStandardPaths and the settings want the application object.
    int qargc = 1;
    char name[] = "trainsim";
    char* qargv[] = {name, nullptr};
    QCoreApplication qapp(qargc, qargv);

    std::string video;
    try {
        video = gps::readRouteForImport(resolveDataPath(args->code + "_line.txt")).videoFile;
    } catch (const std::exception& e) {
        std::cerr << "trainsim prepare-video: " << e.what() << "\n";
        return 1;
    }
    if (video.empty()) {
        std::cerr << "trainsim prepare-video: " << args->code << "_line.txt names no video ([Path])\n";
        return 1;
    }
    const std::string original = resolveDataPath(video);
    const auto start = std::chrono::steady_clock::now();
    auto last = start;
    const PrepareOutcome done = prepareWorkingCopy(original, largestViewWidth(), [&](int n, int total) {
        const auto now = std::chrono::steady_clock::now();
        if (now - last < std::chrono::seconds(2) && n < total) return true;
        last = now;
        const double spent = std::chrono::duration<double>(now - start).count();
        std::cout << "prepare-video: " << n << " of " << total << " pictures (" << (100 * int64_t(n) / total)
                  << " %), about " << duration(spent / n * (total - n)) << " left" << std::endl;
        return true;
    });
    if (!done.message.empty()) {
        std::cerr << "trainsim prepare-video: " << done.message << "\n";
        return 1;
    }
    const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "prepare-video: " << done.path << " (" << done.size.width << " x " << done.size.height
              << ", a keyframe every " << copyKeyframeInterval(done.size) << " pictures) made in " << duration(spent);
    if (spent > 0) std::cout << ", " << std::lround(done.seconds / spent * 10) / 10.0 << " x real time";
    std::cout << "\n";
    return 0;
}

}  // namespace ts
