#include "speed_from_video_mode.h"
#include "command_line.h"

#include <QtGlobal>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "data/file_names.h"
#include "data/text_file.h"
#include "gps/import.h"
#include "gpx_file.h"
#include "language.h"
#include "motion/distance_marks.h"
#include "motion/motion_profile.h"
#include "motion/speed_from_motion.h"
#include "motion/speed_rows_file.h"
#include "motion/speed_summary.h"
#include "text/our_text.h"

namespace ts {

namespace {

constexpr const char* kSynopsis =
    "trainsim speed-from-video [--data DIR] CODE [--marks FILE] [--speed F=KMH] [--dry-run]";

std::string usageText() {
    return usageLine(kSynopsis) + "\n" +
           ourTextUtf8("SpeedFromVideoCommand",
                       "Rewrites the [SpeedUnit] section of CODE_line.txt from the motion seen in the route's video,\n"
                       "scaled by known distances, and keeps the old file as CODE_line.txt.bak (.bak.2, ... when\n"
                       "that exists). The video's motion is kept beside it (VIDEO.motion) for the next run.\n");
}

int usage(const std::string& problem) {
    std::cerr << "trainsim speed-from-video: " << problem << "\n" << usageText();
    return 2;
}

int refuse(const std::string& why) {
    std::cerr << "trainsim speed-from-video: " << why << "\n"
              << ourTextUtf8("CommandLine", "nothing was written") << "\n";
    return 1;
}

std::string fixed(double v, int decimals) {
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}

struct Options {
    std::string data, code, marksFile;
    std::optional<motion::KnownSpeed> known;
    double tolerance = 1;
    int crawl = 1;
    bool dryRun = false;
};

// The command line, or the exit status of a wrong one.
std::optional<int> parseOptions(int argc, char** argv, Options& o) {
    std::vector<CommandOption> options;
    options = {
        valueOption("--data", "DIR", QT_TRANSLATE_NOOP("Options", "read the data files from DIR"), storeIn(o.data)),
        valueOption("--marks", "FILE",
                    QT_TRANSLATE_NOOP("Options",
                                      "distance marks, a line \"frame,metres\" each (default: the route's\n"
                                      "[DistanceMark] section, else the distances between its stations)"),
                    storeIn(o.marksFile)),
        valueOption("--speed", "F=KMH",
                    QT_TRANSLATE_NOOP("Options", "with fewer than two marks: the train runs KMH km/h at frame F"),
                    [&o](const std::string& v) {
                        const auto eq = v.find('=');
                        const auto f = eq == std::string::npos ? std::nullopt : parseNumber(v.substr(0, eq));
                        const auto k = eq == std::string::npos ? std::nullopt : parseNumber(v.substr(eq + 1));
                        if (!f || !k || *f < 0 || *f != std::floor(*f) || *f > 1e8)
                            return OptionAnswer::refused(ourTextUtf8(
                                "SpeedFromVideoCommand", "--speed takes a frame and a speed, e.g. 1200=45"));
                        o.known = motion::KnownSpeed{int(*f), *k};
                        return OptionAnswer::accepted();
                    }),
        valueOption("--tolerance-kmh", "X",
                    QT_TRANSLATE_NOOP("Options", "largest difference of the rows from the fitted speed (default 1)"),
                    [&o](const std::string& v) {
                        const auto t = parseNumber(v);
                        if (!t || *t < 0.5 || *t > 50)
                            return OptionAnswer::refused(
                                ourTextUtf8("CommandLine", "--tolerance-kmh takes a speed from 0.5 to 50"));
                        o.tolerance = *t;
                        return OptionAnswer::accepted();
                    }),
        valueOption("--crawl-kmh", "N",
                    QT_TRANSLATE_NOOP("Options", "the recorded speed where the train stands (default 1)"),
                    [&o](const std::string& v) {
                        const auto t = parseNumber(v);
                        if (!t || *t < 1 || *t > 10 || *t != std::floor(*t))
                            return OptionAnswer::refused(
                                ourTextUtf8("CommandLine", "--crawl-kmh takes a whole speed from 1 to 10"));
                        o.crawl = int(*t);
                        return OptionAnswer::accepted();
                    }),
        switchOption("--dry-run", QT_TRANSLATE_NOOP("Options", "print the summary and the new rows, write nothing"),
                     setFlag(o.dryRun)),
        alsoNamed(switchOption("--help", QT_TRANSLATE_NOOP("Options", "show this help"),
                               [&options] {
                                   std::cout << usageText() << optionLines(options, 18);
                                   return OptionAnswer::exitWith(0);
                               }),
                  "-h"),
    };
    auto code = [&o](const std::string& c) {
        if (!o.code.empty())
            return OptionAnswer::refused(
                withArgs(ourTextUtf8("SpeedFromVideoCommand", "one train code, please: '%1' is one too many"), {c}));
        o.code = c;
        return OptionAnswer::accepted();
    };
    const ParsedLine parsed = parseCommandLine({options, nullptr, code}, argc, argv);
    if (const auto end = walkEnd(parsed, usage)) return *end;
    if (o.code.empty()) return usage(ourTextUtf8("SpeedFromVideoCommand", "give the train code"));
    return std::nullopt;
}

}  // namespace

int runSpeedFromVideo(int argc, char** argv) {
    Options o;
    if (auto status = parseOptions(argc, argv, o)) return *status;
    std::error_code ec;
    const std::string marksPath = o.marksFile.empty() ? "" : std::filesystem::absolute(o.marksFile, ec).string();
    if (!o.data.empty() && chdir(o.data.c_str()) != 0) return usage(cannotEnterDataFolder(o.data));
    const std::string routePath = resolveDataPath(o.code + "_line.txt");
    try {
        const RouteData route = gps::readRouteForImport(routePath);
        motion::MarkSource marks = motion::routeMarks(route);
        if (!marksPath.empty()) {
            const auto text = readFileBytes(marksPath);
            if (!text)
                return refuse(
                    withArgs(ourTextUtf8("SpeedFromVideoCommand", "cannot read the marks file %1"), {marksPath}));
            try {
                marks = {motion::parseMarks(*text), marksPath};
            } catch (const std::runtime_error& e) {
                return refuse(marksPath + ": " + e.what());
            }
        }
        if (o.known) marks.marks.clear(), marks.from = "a known speed";
        const std::string video = resolveDataPath(route.videoFile);
        std::string why;
        bool cached = false;
        motion::AnalysisControl control;
        const bool tty = isatty(STDERR_FILENO);
        int shown = -1;
        control.progress = [&](double p) {
            const int pc = int(p * 100);
            if (!tty || pc == shown) return;
            shown = pc;
            std::cerr << "\r"
                      << withArgs(ourTextUtf8("SpeedFromVideoCommand", "analysing the video's motion: %1 %"),
                                  {std::to_string(pc)})
                      << std::flush;
        };
        const auto profile = motion::loadOrAnalyse(video, control, &why, &cached);
        if (tty && !cached) std::cerr << "\n";
        if (!profile)
            return refuse(
                withArgs(ourTextUtf8("SpeedFromVideoCommand", "the route's video \"%1\": %2"), {route.videoFile, why}));
        const motion::MotionShape shape = motion::motionShape(*profile);
        motion::SpeedRequest req;
        req.marks = marks.marks;
        req.known = o.known;
        req.toleranceKmh = o.tolerance;
        req.crawlKmh = o.crawl;
        const motion::SpeedResult r = motion::fitSpeed(shape, req);
        if (!r.ok()) return refuse(r.error);

        const std::string newBytes = motion::routeWithSpeedRows(routePath, r.rows);
        motion::SummarySource source;
        source.video = route.videoFile;
        source.cached = cached;
        source.scaledBy = o.known ? withArgs(ourTextUtf8("SpeedFromVideoCommand", "the speed %1 km/h at frame %2"),
                                             {fixed(o.known->kmh, 1), std::to_string(o.known->frame)})
                                  : withArgs(ourTextUtf8("SpeedFromVideoCommand", "%1 marks from %2"),
                                             {std::to_string(marks.marks.size()), marks.from});
        for (const std::string& line : motion::summarise(r, req, source)) std::cout << line << "\n";
        if (o.dryRun) {
            std::cout << "[SpeedUnit]\n";
            for (const Speed_UnitData& s : r.rows)
                std::cout << s.fromPosition << "," << s.toPosition << "," << s.fromSpeed << "," << s.toSpeed << "\n";
            std::cout << "#\n" << ourTextUtf8("CommandLine", "dry run: nothing was written") << "\n";
            return 0;
        }
        const std::string backup = gps::applyImport(routePath, newBytes);
        std::cout << withArgs(ourTextUtf8("CommandLine", "wrote %1 (the old file is %2)"), {routePath, backup}) << "\n";
        return 0;
    } catch (const gps::ImportError& e) {
        return refuse(e.what());
    }
}

}  // namespace ts
