#include "install_mode.h"
#include "command_line.h"

#include <QCoreApplication>
#include <vector>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "check/data_check.h"
#include "check_devices.h"
#include "data/diagnostics.h"
#include "data/route_data.h"
#include "data_folder.h"
#include "qt_pictures.h"

namespace ts {

namespace {

constexpr const char* kUsage =
    "usage: trainsim install FILE [--data DIR] [--video MYCOPY] [--offset FRAMES] [--code NEWCODE] [--force]\n";

int usage(const std::string& why) {
    std::cerr << "trainsim install: " << why << "\n" << kUsage;
    return 2;
}

struct InstallArguments {
    std::string package, dataDir, video, code;
    std::optional<int> offset;
    bool force = false;
};

std::optional<InstallArguments> parse(int argc, char** argv, int& status) {
    InstallArguments a;
    std::vector<CommandOption> options;
    options = {
        valueOption("--data", "DIR", "install into the data folder DIR", storeIn(a.dataDir)),
        valueOption("--video", "MYCOPY", "your copy of the route's video, matched against the package's",
                    storeIn(a.video)),
        valueOption("--offset", "FRAMES", "install a copy that does not match: the route's frame 0 at its frame FRAMES",
                    [&a](const std::string& v) {
                        try {
                            size_t used = 0;
                            a.offset = std::stoi(v, &used);
                            if (used != v.size()) throw std::invalid_argument(v);
                        } catch (const std::exception&) {
                            return OptionAnswer::refused("--offset takes a whole number of frames");
                        }
                        return OptionAnswer::accepted();
                    }),
        valueOption("--code", "NEWCODE", "install the route under another train code", storeIn(a.code)),
        switchOption("--force", "install although the checker finds errors in the package's files", setFlag(a.force)),
        alsoNamed(switchOption("--help", "show this help",
                               [&options] {
                                   std::cout
                                       << kUsage
                                       << "Checks the package (manifest, checksums, the checker on its files) and "
                                          "installs it into\n"
                                          "the data folder. --video names your copy of the route's video: it is "
                                          "matched against\n"
                                          "the package's fingerprint, and where it starts and how fast it runs are "
                                          "written into\n"
                                          "the route. A copy that does not match is refused; --offset FRAMES "
                                          "installs it anyway,\n"
                                          "the route's frame 0 at the copy's frame FRAMES. A train code the folder "
                                          "has already is\n"
                                          "refused: --code installs the route under another. --force installs "
                                          "although the\n"
                                          "checker finds errors in the package's files.\n"
                                       << optionLines(options, 18);
                                   return OptionAnswer::exitWith(0);
                               }),
                  "-h"),
    };
    auto package = [&a](const std::string& f) {
        if (!a.package.empty()) return OptionAnswer::refused("one package only");
        a.package = f;
        return OptionAnswer::accepted();
    };
    const ParsedLine parsed = parseCommandLine({options, nullptr, package}, argc, argv);
    if (const auto end = walkEnd(parsed, usage)) {
        status = *end;
        return std::nullopt;
    }
    if (a.package.empty()) {
        status = usage("which package? (FILE)");
        return std::nullopt;
    }
    return a;
}

std::string frames(double f) {
    char t[64];
    std::snprintf(t, sizeof t, "%+.1f frames (%+.2f s)", f, f / kViewFramesPerSecond);
    return t;
}

}  // namespace

pack::PackageChecker packageChecker() {
    return [](const std::string& code, std::string* first) {
        QtPictures pictures;
        CheckDevices devices = realCheckDevices(pictures);
        Diagnostics found;
        checkTrain(code, devices, found);
        for (const Diagnostic& d : found.items())
            if (d.severity == Severity::Error) {
                *first = d.file + (d.line > 0 ? ":" + std::to_string(d.line) : "") + ": " + d.explanation;
                break;
            }
        return found.count(Severity::Error);
    };
}

std::string matchReport(const pack::VideoMatch& m) {
    std::string t = std::to_string(m.matched) + " of " + std::to_string(m.compared) + " pictures compared match (" +
                    std::to_string(int(std::floor(m.share() * 100))) + " %)";
    if (m.matched > 0) {
        t += "; the copy's offset is " + frames(m.offset);
        if (std::abs(m.rate - 1) > 1e-6) {
            char r[64];
            std::snprintf(r, sizeof r, ", and it runs at %.4f times the route's speed", 1 / m.rate);
            t += r;
        }
    }
    return t;
}

int runInstallMode(int argc, char** argv) {
    int status = 2;
    const auto args = parse(argc, argv, status);
    if (!args) return status;
    namespace fs = std::filesystem;
    const std::string package = fs::absolute(args->package).string();
    const std::string video = args->video.empty() ? std::string() : fs::absolute(args->video).string();
    const DataFolder data = chooseDataFolder(args->dataDir);
    const std::string folder = data.path.empty() ? fs::current_path().string() : data.path;
    int qargc = 1;
    char name[] = "trainsim";
    char* qargv[] = {name, nullptr};
    QCoreApplication qapp(qargc, qargv);

    std::string error;
    auto opened = pack::OpenedPackage::open(package, folder, packageChecker(), args->force, &error);
    if (!opened) {
        std::cerr << "trainsim install: " << args->package << ": " << error << "\n";
        return 1;
    }
    const pack::PackageManifest& m = opened->manifest();
    std::cout << "Package: train " << m.trainCode << ", \"" << m.lineName << "\""
              << (m.author.empty() ? "" : ", by " + m.author) << (m.licence.empty() ? "" : ", " + m.licence) << "\n";
    pack::InstallChoice choice;
    choice.code = args->code;
    choice.video = video;
    choice.defaultsFolder = installedDemoFolder();
    if (!video.empty()) {
        std::cout << "Matching " << args->video << " against the package's video ("
                  << opened->fingerprint().samples.size() << " pictures of " << opened->fingerprint().length
                  << " frames)\n";
        const auto match = pack::matchCopy(opened->fingerprint(), video, opened->fit(), {}, &error);
        if (!match) {
            std::cerr << "trainsim install: " << error << "\n";
            return 1;
        }
        std::cout << matchReport(*match) << "\n";
        if (args->offset) {
            choice.offset = *args->offset;
            std::cout << "The offset is set by hand: " << *args->offset << " frames\n";
        } else if (!match->accepted) {
            std::cerr << "trainsim install: " << args->video << " is refused: " << match->refusal
                      << " (install anyway with --offset FRAMES)\n";
            return 1;
        } else {
            choice.offset = int(std::lround(match->offset));
            choice.rate = int(std::lround(match->rate * kVideoRateUnit));
        }
    } else if (args->offset) {
        choice.offset = *args->offset;
    }
    pack::InstallResult result;
    if (!pack::installPackage(*opened, choice, result, &error)) {
        std::cerr << "trainsim install: " << error << "\n";
        return 1;
    }
    std::cout << "Installed train " << result.code << " into " << folder << " (" << result.installed.size()
              << " files)\n";
    for (const std::string& k : result.kept)
        std::cout << "Kept the data folder's own " << k << " (the package's differs)\n";
    if (video.empty() && !m.withVideo)
        std::cout << "No video given: the route shows " << m.videoFile
                  << " of the data folder; install again with --video to match your copy\n";
    return 0;
}

}  // namespace ts
