#include "pack_mode.h"

#include <QCoreApplication>

#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

#include "data_folder.h"
#include "pack/package_manifest.h"
#include "pack/route_package.h"

namespace ts {

namespace {

constexpr const char* kUsage =
    "usage: trainsim pack [--data DIR] CODE [-o FILE] [--with-video] [--author TEXT] [--licence TEXT]\n";

int usage(const std::string& why) {
    std::cerr << "trainsim pack: " << why << "\n" << kUsage;
    return 2;
}

struct PackArguments {
    std::string dataDir, code, output, author, licence;
    bool withVideo = false;
};

// Parsed here, as each subcommand parses its own; nullopt after a message to standard error.
std::optional<PackArguments> parse(int argc, char** argv, int& status) {
    PackArguments a;
    for (int i = 0; i < argc; ++i) {
        const std::string w = argv[i];
        const bool more = i + 1 < argc;
        if (w == "--help" || w == "-h") {
            std::cout << kUsage
                      << "Writes CODE.trainsim-route (a zip): the route and train files, every file they name,\n"
                         "a manifest with the checksum of each, and the fingerprint of the video by which the\n"
                         "receiver's own copy of it is recognised and aligned. The video itself only with\n"
                         "--with-video.\n";
            status = 0;
            return std::nullopt;
        }
        if (w == "--data" && more)
            a.dataDir = argv[++i];
        else if ((w == "-o" || w == "--output") && more)
            a.output = argv[++i];
        else if (w == "--author" && more)
            a.author = argv[++i];
        else if ((w == "--licence" || w == "--license") && more)
            a.licence = argv[++i];
        else if (w == "--with-video")
            a.withVideo = true;
        else if (!w.empty() && w[0] == '-') {
            status = usage("unknown or incomplete option '" + w + "'");
            return std::nullopt;
        } else if (a.code.empty())
            a.code = w;
        else {
            status = usage("one train code only");
            return std::nullopt;
        }
    }
    if (a.code.empty()) {
        status = usage("which train's route? (CODE)");
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
    if (!data.path.empty() && chdir(data.path.c_str()) != 0)
        return usage("cannot change into data folder '" + data.path + "'");
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
    std::cout << "Packed " << result.files.size() << " files and the fingerprint of " << result.videoFrames
              << " frames (" << result.fingerprintSamples << " pictures) into " << output << "\n";
    return 0;
}

}  // namespace ts
