#include "install_mode.h"
#include "command_line.h"

#include <QCoreApplication>
#include <QtGlobal>
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
#include "language.h"
#include "qt_pictures.h"
#include "text/our_text.h"

namespace ts {

namespace {

constexpr const char* kSynopsis =
    "trainsim install FILE [--data DIR] [--video MYCOPY] [--offset FRAMES] [--code NEWCODE] [--force]";

int usage(const std::string& why) {
    std::cerr << "trainsim install: " << why << "\n" << usageLine(kSynopsis);
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
        valueOption("--data", "DIR", QT_TRANSLATE_NOOP("Options", "install into the data folder DIR"),
                    storeIn(a.dataDir)),
        valueOption("--video", "MYCOPY",
                    QT_TRANSLATE_NOOP("Options", "your copy of the route's video, matched against the package's"),
                    storeIn(a.video)),
        valueOption(
            "--offset", "FRAMES",
            QT_TRANSLATE_NOOP("Options", "install a copy that does not match: the route's frame 0 at its frame FRAMES"),
            [&a](const std::string& v) {
                try {
                    size_t used = 0;
                    a.offset = std::stoi(v, &used);
                    if (used != v.size()) throw std::invalid_argument(v);
                } catch (const std::exception&) {
                    return OptionAnswer::refused(
                        ourTextUtf8("InstallCommand", "--offset takes a whole number of frames"));
                }
                return OptionAnswer::accepted();
            }),
        valueOption("--code", "NEWCODE", QT_TRANSLATE_NOOP("Options", "install the route under another train code"),
                    storeIn(a.code)),
        switchOption("--force",
                     QT_TRANSLATE_NOOP("Options", "install although the checker finds errors in the package's files"),
                     setFlag(a.force)),
        alsoNamed(switchOption("--help", QT_TRANSLATE_NOOP("Options", "show this help"),
                               [&options] {
                                   std::cout
                                       << usageLine(kSynopsis)
                                       << ourTextUtf8("InstallCommand",
                                                      "Checks the package (manifest, checksums, the checker on its "
                                                      "files) and installs it into\n"
                                                      "the data folder. --video names your copy of the route's video: "
                                                      "it is matched against\n"
                                                      "the package's fingerprint, and where it starts and how fast it "
                                                      "runs are written into\n"
                                                      "the route. A copy that does not match is refused; --offset "
                                                      "FRAMES installs it anyway,\n"
                                                      "the route's frame 0 at the copy's frame FRAMES. A train code "
                                                      "the folder has already is\n"
                                                      "refused: --code installs the route under another. --force "
                                                      "installs although the\n"
                                                      "checker finds errors in the package's files.\n")
                                       << optionLines(options, 18);
                                   return OptionAnswer::exitWith(0);
                               }),
                  "-h"),
    };
    auto package = [&a](const std::string& f) {
        if (!a.package.empty()) return OptionAnswer::refused(ourTextUtf8("InstallCommand", "one package only"));
        a.package = f;
        return OptionAnswer::accepted();
    };
    const ParsedLine parsed = parseCommandLine({options, nullptr, package}, argc, argv);
    if (const auto end = walkEnd(parsed, usage)) {
        status = *end;
        return std::nullopt;
    }
    if (a.package.empty()) {
        status = usage(ourTextUtf8("InstallCommand", "which package? (FILE)"));
        return std::nullopt;
    }
    return a;
}

std::string frames(double f) {
    char n[32], s[32];
    std::snprintf(n, sizeof n, "%+.1f", f);
    std::snprintf(s, sizeof s, "%+.2f", f / kViewFramesPerSecond);
    return withArgs(ourTextUtf8("InstallCommand", "%1 frames (%2 s)"), {n, s});
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
    std::string t = withArgs(
        ourTextUtf8("InstallCommand", "%1 of %2 pictures compared match (%3 %)"),
        {std::to_string(m.matched), std::to_string(m.compared), std::to_string(int(std::floor(m.share() * 100)))});
    if (m.matched > 0) {
        t += withArgs(ourTextUtf8("InstallCommand", "; the copy's offset is %1"), {frames(m.offset)});
        if (std::abs(m.rate - 1) > 1e-6) {
            char r[32];
            std::snprintf(r, sizeof r, "%.4f", 1 / m.rate);
            t += withArgs(ourTextUtf8("InstallCommand", ", and it runs at %1 times the route's speed"), {r});
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
    std::cout << withArgs(ourTextUtf8("InstallCommand", "Package: train %1, \"%2\""), {m.trainCode, m.lineName})
              << (m.author.empty() ? "" : withArgs(ourTextUtf8("InstallCommand", ", by %1"), {m.author}))
              << (m.licence.empty() ? "" : ", " + m.licence) << "\n";
    pack::InstallChoice choice;
    choice.code = args->code;
    choice.video = video;
    choice.defaultsFolder = installedDemoFolder();
    if (!video.empty()) {
        std::cout << withArgs(ourTextUtf8("InstallCommand",
                                          "Matching %1 against the package's video (%2 pictures of %3 frames)"),
                              {args->video, std::to_string(opened->fingerprint().samples.size()),
                               std::to_string(opened->fingerprint().length)})
                  << "\n";
        const auto match = pack::matchCopy(opened->fingerprint(), video, opened->fit(), {}, &error);
        if (!match) {
            std::cerr << "trainsim install: " << error << "\n";
            return 1;
        }
        std::cout << matchReport(*match) << "\n";
        if (args->offset) {
            choice.offset = *args->offset;
            std::cout << withArgs(ourTextUtf8("InstallCommand", "The offset is set by hand: %1 frames"),
                                  {std::to_string(*args->offset)})
                      << "\n";
        } else if (!match->accepted) {
            std::cerr << "trainsim install: "
                      << withArgs(
                             ourTextUtf8("InstallCommand", "%1 is refused: %2 (install anyway with --offset FRAMES)"),
                             {args->video, match->refusal})
                      << "\n";
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
    std::cout << withArgs(ourTextUtf8("InstallCommand", "Installed train %1 into %2 (%3 files)"),
                          {result.code, folder, std::to_string(result.installed.size())})
              << "\n";
    for (const std::string& k : result.kept)
        std::cout << withArgs(ourTextUtf8("InstallCommand", "Kept the data folder's own %1 (the package's differs)"),
                              {k})
                  << "\n";
    if (video.empty() && !m.withVideo)
        std::cout << withArgs(ourTextUtf8("InstallCommand",
                                          "No video given: the route shows %1 of the data folder; "
                                          "install again with --video to match your copy"),
                              {m.videoFile})
                  << "\n";
    return 0;
}

}  // namespace ts
