#include "pack_mode.h"
#include "command_line.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <vector>

#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

#include "data_folder.h"
#include "language.h"
#include "pack/package_manifest.h"
#include "pack/route_package.h"
#include "text/our_text.h"

namespace ts {

namespace {

constexpr const char* kSynopsis =
    "trainsim pack [--data DIR] CODE [-o FILE] [--with-video] [--author TEXT] [--licence TEXT]";

int usage(const std::string& why) {
    std::cerr << "trainsim pack: " << why << "\n" << usageLine(kSynopsis);
    return 2;
}

struct PackArguments {
    std::string dataDir, code, output, author, licence;
    bool withVideo = false;
};

// Parsed with the subcommands' option table; nullopt after a message to standard error.
std::optional<PackArguments> parse(int argc, char** argv, int& status) {
    PackArguments a;
    std::vector<CommandOption> options;
    options = {
        valueOption("--data", "DIR", QT_TRANSLATE_NOOP("Options", "read the data files from DIR"), storeIn(a.dataDir)),
        alsoNamed(valueOption("--output", "FILE",
                              QT_TRANSLATE_NOOP("Options", "the package's name (default CODE.trainsim-route)"),
                              storeIn(a.output)),
                  "-o"),
        switchOption("--with-video", QT_TRANSLATE_NOOP("Options", "put the video itself into the package too"),
                     setFlag(a.withVideo)),
        valueOption("--author", "TEXT", QT_TRANSLATE_NOOP("Options", "who made the route, for the manifest"),
                    storeIn(a.author)),
        valueOption("--licence", "TEXT",
                    QT_TRANSLATE_NOOP("Options", "on what terms the route is shared, for the manifest"),
                    storeIn(a.licence)),
        alsoNamed(switchOption("--help", QT_TRANSLATE_NOOP("Options", "show this help"),
                               [&options] {
                                   std::cout << usageLine(kSynopsis)
                                             << ourTextUtf8("PackCommand",
                                                            "Writes CODE.trainsim-route (a zip): the route and train "
                                                            "files, every file they name,\n"
                                                            "a manifest with the checksum of each, and the fingerprint "
                                                            "of the video by which the\n"
                                                            "receiver's own copy of it is recognised and aligned. The "
                                                            "video itself only with\n"
                                                            "--with-video.\n")
                                             << optionLines(options, 16);
                                   return OptionAnswer::exitWith(0);
                               }),
                  "-h"),
    };
    auto code = [&a](const std::string& c) {
        if (!a.code.empty()) return OptionAnswer::refused(ourTextUtf8("CommandLine", "one train code only"));
        a.code = c;
        return OptionAnswer::accepted();
    };
    const ParsedLine parsed = parseCommandLine({options, nullptr, code}, argc, argv);
    if (const auto end = walkEnd(parsed, usage)) {
        status = *end;
        return std::nullopt;
    }
    if (a.code.empty()) {
        status = usage(ourTextUtf8("PackCommand", "which train's route? (CODE)"));
        return std::nullopt;
    }
    return a;
}

}  // namespace

int runPackMode(int argc, char** argv) {
    int status = 2;
    const auto args = parse(argc, argv, status);
    if (!args) return status;
    // The output is named from where the command was given, before moving into the data folder.
    const std::string output =
        std::filesystem::absolute(args->output.empty() ? args->code + pack::kPackageSuffix : args->output).string();
    const DataFolder data = chooseDataFolder(args->dataDir);
    if (!data.path.empty() && chdir(data.path.c_str()) != 0) return usage(cannotEnterDataFolder(data.path));
    int qargc = 1;
    char name[] = "trainsim";
    char* qargv[] = {name, nullptr};
    QCoreApplication qapp(qargc, qargv);

    pack::PackRequest request;
    request.code = args->code;
    request.output = output;
    request.withVideo = args->withVideo;
    request.author = args->author;
    request.licence = args->licence;
    request.programVersion = TRAINSIM_VERSION;
    // The shared files travel only when they are not the ones every installation has.
    request.defaultsFolder = installedDemoFolder();
    pack::PackResult result;
    std::string error;
    if (!pack::packRoute(request, result, {}, &error)) {
        std::cerr << "trainsim pack: " << error << "\n";
        return 1;
    }
    std::cout << withArgs(ourTextUtf8("PackCommand",
                                      "Packed %1 files and the fingerprint of %2 frames (%3 pictures) into %4"),
                          {std::to_string(result.files.size()), std::to_string(result.videoFrames),
                           std::to_string(result.fingerprintSamples), output})
              << "\n";
    return 0;
}

}  // namespace ts
