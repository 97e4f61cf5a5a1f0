#include "prepare_video_mode.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "data/file_names.h"
#include "data_folder.h"
#include "gps/import.h"
#include "language.h"
#include "text/our_text.h"
#include "video_cache.h"

namespace ts {

namespace {

constexpr const char* kSynopsis = "trainsim prepare-video [--data DIR] CODE";

int usage(const std::string& why) {
    std::cerr << "trainsim prepare-video: " << why << "\n" << usageLine(kSynopsis);
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
        valueOption("--data", "DIR", QT_TRANSLATE_NOOP("Options", "read the data files from DIR"), storeIn(a.data)),
        alsoNamed(
            switchOption(
                "--help", QT_TRANSLATE_NOOP("Options", "show this help"),
                [&options] {
                    std::cout << usageLine(kSynopsis)
                              << ourTextUtf8(
                                     "PrepareVideoCommand",
                                     "Makes a working copy of the video that CODE_line.txt names ([Path]): the same\n"
                                     "frame for every position, a keyframe every 30 pictures (10 when wider than\n"
                                     "1000 pixels), a little above the largest view size chosen in the driving\n"
                                     "window. It is kept in the user's cache folder and used by the editor and the\n"
                                     "driving window while the video is unchanged; the route file still names\n"
                                     "the original, and the drive mode decodes the original.\n")
                              << optionLines(options, 12);
                    return OptionAnswer::exitWith(0);
                }),
            "-h"),
    };
    auto code = [&a](const std::string& c) {
        if (!a.code.empty()) {
            return OptionAnswer::refused(ourTextUtf8("CommandLine", "one train code only"));
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
        status = usage(ourTextUtf8("PrepareVideoCommand", "which train's video? give its CODE"));
        return std::nullopt;
    }
    return a;
}

std::string duration(double seconds) {
    const long s = std::lround(std::max(0.0, seconds));
    return s >= 60 ? withArgs(ourTextUtf8("PrepareVideoCommand", "%1 min %2 s"),
                              {std::to_string(s / 60), std::to_string(s % 60)})
                   : withArgs(ourTextUtf8("PrepareVideoCommand", "%1 s"), {std::to_string(s)});
}

}  // namespace

int runPrepareVideo(int argc, char** argv) {
    int status = 0;
    const auto args = parseArguments(argc, argv, status);
    if (!args) return status;
    const DataFolder data = chooseDataFolder(args->data);
    if (!data.path.empty() && chdir(data.path.c_str()) != 0) return usage(cannotEnterDataFolder(data.path));
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
        std::cerr << "trainsim prepare-video: "
                  << withArgs(ourTextUtf8("PrepareVideoCommand", "%1_line.txt names no video ([Path])"), {args->code})
                  << "\n";
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
        std::cout << "prepare-video: "
                  << withArgs(ourTextUtf8("PrepareVideoCommand", "%1 of %2 pictures (%3 %), about %4 left"),
                              {std::to_string(n), std::to_string(total), std::to_string(100 * int64_t(n) / total),
                               duration(spent / n * (total - n))})
                  << std::endl;
        return true;
    });
    if (!done.message.empty()) {
        std::cerr << "trainsim prepare-video: " << done.message << "\n";
        return 1;
    }
    const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "prepare-video: "
              << withArgs(ourTextUtf8("PrepareVideoCommand", "%1 (%2 x %3, a keyframe every %4 pictures) made in %5"),
                          {done.path, std::to_string(done.size.width), std::to_string(done.size.height),
                           std::to_string(copyKeyframeInterval(done.size)), duration(spent)});
    if (spent > 0) {
        std::ostringstream speed;
        speed << std::lround(done.seconds / spent * 10) / 10.0;
        std::cout << withArgs(ourTextUtf8("PrepareVideoCommand", ", %1 x real time"), {speed.str()});
    }
    std::cout << "\n";
    return 0;
}

}  // namespace ts
