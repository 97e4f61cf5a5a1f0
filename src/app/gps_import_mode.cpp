#include "gps_import_mode.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "command_line.h"
#include "data/file_names.h"
#include "data/train_codes.h"
#include "gps/import.h"
#include "gpx_file.h"
#include "language.h"
#include "text/our_text.h"
#include "video/ffmpeg_frame_source.h"

namespace ts {

namespace {

constexpr const char* kSynopsis =
    "trainsim import-gps [--data DIR] CODE TRACK.gpx (--offset S | --sync F1=T1 --sync F2=T2)\n"
    "                           [--tolerance-kmh X] [--what speed,slopes,stations] [--frames N] [--dry-run]";

std::string usageText() {
    return usageLine(kSynopsis) + "\n" +
           ourTextUtf8("ImportGpsCommand",
                       "Rewrites the [SpeedUnit], [Slope] and [Station] sections of CODE_line.txt from the GPS\n"
                       "track of the ride (GPX 1.1) and keeps the old file as CODE_line.txt.bak (when that exists, as\n"
                       "CODE_line.txt.bak.2, .bak.3, ...: a backup is never overwritten).\n");
}

// The option lines below the usage, from the option table.
std::string& optionHelp() {
    static std::string lines;
    return lines;
}

int usage(const std::string& problem) {
    std::cerr << "trainsim import-gps: " << problem << "\n" << usageText() << optionHelp();
    return 2;
}

void printSections(const std::string& bytes) {
    // The rewritten sections as they now stand in the file.
    std::istringstream in(bytes);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("[SpeedUnit]", 0) == 0 || line.rfind("[Slope]", 0) == 0 || line.rfind("[Station]", 0) == 0)
            inside = true;
        if (inside) std::cout << line << "\n";
        if (inside && !line.empty() && line[0] == '#') inside = false;
    }
}

// The gaps longer than the usual 5 s that the import bridged while the video runs.
std::vector<std::string> bridgedGaps(const gps::Ride& ride, const gps::Alignment& align, int frames) {
    std::vector<std::string> out;
    const double from = align.timeOf(0), to = align.timeOf(frames - 1);
    for (size_t i = 1; i < ride.points.size(); ++i) {
        const gps::TrackPoint& p = ride.points[i - 1];
        const gps::TrackPoint& q = ride.points[i];
        if (q.time < from || p.time > to || q.time - p.time <= 5) continue;
        const auto frame = [&](double t) {
            return long(std::lround((t - align.frame0Seconds) / align.secondsPerFrame));
        };
        std::ostringstream m;
        m << std::fixed << std::setprecision(1) << q.time - p.time;
        out.push_back(withArgs(ourTextUtf8("ImportGpsCommand", "bridged: a gap of %1 s before line %2 (frames %3-%4)"),
                               {m.str(), std::to_string(q.line), std::to_string(std::max(frame(p.time), 0L)),
                                std::to_string(std::min(frame(q.time), long(frames - 1)))}));
    }
    return out;
}

// A track written in local time without a zone is read as UTC: its times are
// then whole hours off the sync marks. When the video fits the track shifted
// by whole hours, and not as it is, say so and how to give the zone.
std::string timeZoneHint(const gps::Ride& ride, const gps::Alignment& align, int frames, double maxGap) {
    const double first = ride.points.front().time - maxGap, last = ride.points.back().time + maxGap;
    const double from = align.timeOf(0), to = align.timeOf(frames - 1);
    if (from >= first && to <= last) return {};
    for (int h = -14; h <= 14; ++h) {
        if (h == 0 || from + h * 3600 < first || to + h * 3600 > last) continue;
        const std::string hours = (h > 0 ? "+" : "") + std::to_string(h);
        return withArgs(ourTextUtf8("ImportGpsCommand",
                                    "the track's times may be in another time zone than the sync marks: shifted by "
                                    "%1 h the video lies within the track; if the track holds local times without a "
                                    "zone, give --tz %1"),
                        {hours}) +
               "\n";
    }
    return {};
}

}  // namespace

int runGpsImport(int argc, char** argv) {
    std::string data, code, track;
    std::optional<double> offset;
    std::vector<std::string> syncs;
    std::optional<int> frames;
    bool dryRun = false;
    double tzHours = 0;
    gps::ImportRequest req;
    auto accept = [](auto change) {
        return [change](const std::string& v) {
            change(v);
            return OptionAnswer::accepted();
        };
    };
    // A number within its bounds (a whole one when `whole`), or the refusal (marked for translation).
    auto ranged = [](double low, double high, bool whole, const char* why, auto keep) {
        return [=](const std::string& v) {
            const auto t = parseNumber(v);
            if (!t || *t < low || *t > high || (whole && *t != std::floor(*t)))
                return OptionAnswer::refused(ourTextUtf8("CommandLine", why));
            keep(*t);
            return OptionAnswer::accepted();
        };
    };
    const std::vector<CommandOption> options{
        valueOption("--data", "DIR", "", accept([&](const std::string& v) { data = v; })),
        valueOption("--offset", "S",
                    QT_TRANSLATE_NOOP("Options",
                                      "video frame 0 is S seconds after the track's first point (S may be negative)"),
                    [&](const std::string& v) {
                        if (!(offset = parseNumber(v)))
                            return OptionAnswer::refused(
                                ourTextUtf8("ImportGpsCommand", "--offset takes seconds, e.g. 12.5 or -3"));
                        return OptionAnswer::accepted();
                    }),
        valueOption("--sync", "F=T",
                    QT_TRANSLATE_NOOP("Options",
                                      "video frame F shows track time T (ISO 8601, or seconds after the first point);\n"
                                      "give it twice: the two marks also measure a camera whose rate drifts"),
                    accept([&](const std::string& v) { syncs.push_back(v); })),
        valueOption(
            "--tolerance-kmh", "X",
            QT_TRANSLATE_NOOP("Options",
                              "largest difference of the recorded speed from the track at any frame (default 1)"),
            ranged(0.5, 50, false, QT_TRANSLATE_NOOP("CommandLine", "--tolerance-kmh takes a speed from 0.5 to 50"),
                   [&](double t) { req.toleranceKmh = t; })),
        valueOption(
            "--what", "LIST", QT_TRANSLATE_NOOP("Options", "which sections to rewrite (default speed,slopes,stations)"),
            [&](const std::string& v) {
                req.speed = req.slopes = req.stations = false;
                std::istringstream in(v);
                std::string w;
                while (std::getline(in, w, ',')) {
                    if (w == "speed")
                        req.speed = true;
                    else if (w == "slopes")
                        req.slopes = true;
                    else if (w == "stations")
                        req.stations = true;
                    else
                        return OptionAnswer::refused(ourTextUtf8(
                            "ImportGpsCommand", "--what takes speed, slopes and stations separated by commas"));
                }
                if (!req.speed && !req.slopes && !req.stations)
                    return OptionAnswer::refused(ourTextUtf8("ImportGpsCommand", "--what names nothing to import"));
                return OptionAnswer::accepted();
            }),
        valueOption("--frames", "N", QT_TRANSLATE_NOOP("Options", "the video's length, when its file cannot be opened"),
                    ranged(2, 100'000'000, true, QT_TRANSLATE_NOOP("CommandLine", "--frames takes a frame count"),
                           [&](double t) { frames = int(t); })),
        valueOption(
            "--crawl-kmh", "N", QT_TRANSLATE_NOOP("Options", "the recorded speed where the train stands (default 1)"),
            ranged(1, 10, true, QT_TRANSLATE_NOOP("CommandLine", "--crawl-kmh takes a whole speed from 1 to 10"),
                   [&](double t) { req.crawlKmh = int(t); })),
        valueOption(
            "--slope-window", "M",
            QT_TRANSLATE_NOOP(
                "Options", "heights are smoothed over M metres before gradients are taken (default 200, at least 100)"),
            ranged(100, 5000, false, QT_TRANSLATE_NOOP("CommandLine", "--slope-window takes metres from 100 to 5000"),
                   [&](double t) { req.gradients.windowMetres = t; })),
        valueOption("--max-gap", "S",
                    QT_TRANSLATE_NOOP(
                        "Options", "bridge gaps in the track of up to S seconds (default 5); the summary names them"),
                    ranged(1, 600, false, QT_TRANSLATE_NOOP("CommandLine", "--max-gap takes seconds from 1 to 600"),
                           [&](double t) { req.maxGapSeconds = t; })),
        valueOption(
            "--tz", "H",
            QT_TRANSLATE_NOOP("Options",
                              "the track's times are H hours ahead of UTC (a track in local time without a zone)"),
            ranged(-14, 14, false, QT_TRANSLATE_NOOP("CommandLine", "--tz takes hours from -14 to 14, e.g. 9 or -5.5"),
                   [&](double t) { tzHours = t; })),
        switchOption("--keep-times",
                     QT_TRANSLATE_NOOP("Options",
                                       "stations already in the route keep their times (else where the train stood\n"
                                       "there they take the track's)"),
                     [&] {
                         req.keepStationTimes = true;
                         return OptionAnswer::accepted();
                     }),
        switchOption("--dry-run", QT_TRANSLATE_NOOP("Options", "print the summary and the new sections, write nothing"),
                     [&] {
                         dryRun = true;
                         return OptionAnswer::accepted();
                     }),
        alsoNamed(switchOption("--help", "",
                               [] {
                                   std::cout << usageText() << optionHelp();
                                   return OptionAnswer::exitWith(0);
                               }),
                  "-h"),
    };
    optionHelp() = optionLines(options, 19);
    // The train code, then the track; a negative number is a word too, not an option.
    auto isOperand = [](const std::string& a) { return a.empty() || a[0] != '-' || parseNumber(a); };
    auto operand = [&](const std::string& a) {
        if (code.empty())
            code = a;
        else if (track.empty())
            track = a;
        else
            return OptionAnswer::refused(withArgs(
                ourTextUtf8("ImportGpsCommand", "one train code and one track, please: '%1' is one too many"), {a}));
        return OptionAnswer::accepted();
    };
    const ParsedLine parsed = parseCommandLine({options, isOperand, operand}, argc, argv);
    if (const auto end = walkEnd(parsed, usage)) return *end;
    if (code.empty() || track.empty())
        return usage(ourTextUtf8("ImportGpsCommand", "give the train code and the track"));
    if (offset && !syncs.empty())
        return usage(ourTextUtf8("ImportGpsCommand", "give either --offset or two --sync marks, not both"));
    if (!offset && syncs.size() != 2)
        return usage(ourTextUtf8("ImportGpsCommand", "give --offset S, or --sync twice (two marks)"));

    std::error_code cwdGone;
    const std::string trackPath = std::filesystem::absolute(track, cwdGone).string();
    if (cwdGone)
        return usage(
            withArgs(ourTextUtf8("ImportGpsCommand", "cannot find the track '%1': %2"), {track, cwdGone.message()}));
    if (!data.empty() && chdir(data.c_str()) != 0) return usage(cannotEnterDataFolder(data));
    if (!std::filesystem::is_regular_file(resolveDataPath(code + "_line.txt"))) {
        // A mistyped code: name the file that is missing and the routes that are there.
        std::string codes;
        for (const std::string& c : trainCodesIn(".")) codes += (codes.empty() ? "" : ", ") + c;
        std::cerr << "trainsim import-gps: "
                  << withArgs(ourTextUtf8("ImportGpsCommand", "%1_line.txt does not exist in %2"),
                              {code, std::filesystem::current_path().string()})
                  << "\n"
                  << (codes.empty() ? ourTextUtf8("ImportGpsCommand", "that folder holds no routes")
                                    : withArgs(ourTextUtf8("ImportGpsCommand", "routes there: %1"), {codes}))
                  << "\n"
                  << ourTextUtf8("CommandLine", "nothing was written") << "\n";
        return 1;
    }
    const std::string where = trackPath;
    std::string zoneHint;
    try {
        const gps::Track t = readGpxFile(trackPath);
        const gps::Ride ride = gps::joinSegments(t);
        if (offset) {
            req.align = gps::alignByOffset(*offset);
        } else {
            gps::SyncMark marks[2];
            for (int k = 0; k < 2; ++k) {
                std::string why;
                const auto mark = parseSyncMark(syncs[size_t(k)], ride.startEpoch - tzHours * 3600, &why);
                if (!mark) return usage(why);
                marks[k] = *mark;
            }
            req.align = gps::alignBySync(marks[0], marks[1]);
        }
        req.routePath = resolveDataPath(code + "_line.txt");
        if (frames) {
            req.frames = *frames;
        } else {
            const RouteData route = gps::readRouteForImport(req.routePath);
            FfmpegFrameSource video;
            if (!video.open(resolveDataPath(route.videoFile)) || video.length() < 2)
                throw gps::ImportError(withArgs(ourTextUtf8("ImportGpsCommand",
                                                            "cannot open the route's video \"%1\" to learn its "
                                                            "length; give it with --frames N"),
                                                {route.videoFile}));
            req.frames = video.length();
        }
        if (!syncs.empty()) zoneHint = timeZoneHint(ride, req.align, req.frames, req.maxGapSeconds);
        const gps::ImportPlan plan = gps::planImport(ride, t, req);
        std::string backup;
        if (!dryRun) backup = gps::applyImport(req.routePath, plan.bytes);
        for (const std::string& line : gps::summarise(plan, req)) std::cout << line << "\n";
        for (const std::string& line : bridgedGaps(ride, req.align, req.frames)) std::cout << line << "\n";
        if (dryRun) {
            printSections(plan.bytes);
            std::cout << ourTextUtf8("CommandLine", "dry run: nothing was written") << "\n";
        } else {
            std::cout << withArgs(ourTextUtf8("CommandLine", "wrote %1 (the old file is %2)"), {req.routePath, backup})
                      << "\n";
        }
        return 0;
    } catch (const gps::ImportError& e) {
        std::cerr << "trainsim import-gps: " << where;
        if (e.line > 0) std::cerr << ":" << e.line;
        std::cerr << ": " << e.what() << "\n" << zoneHint << ourTextUtf8("CommandLine", "nothing was written") << "\n";
        return 1;
    } catch (const std::filesystem::filesystem_error& e) {
        std::cerr << "trainsim import-gps: " << e.what() << "\n"
                  << ourTextUtf8("CommandLine", "nothing was written") << "\n";
        return 1;
    }
}

}  // namespace ts
