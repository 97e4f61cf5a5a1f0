#include "subcommands.h"

#include "check_mode.h"
#include "drive_mode.h"
#include "edit_mode.h"
#include "gps_import_mode.h"
#include "install_mode.h"
#include "pack_mode.h"
#include "prepare_video_mode.h"
#include "speed_from_video_mode.h"

namespace ts {

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> all{
        {"drive",
         "run a train headless from a script and write a JSON trace\n"
         "(trainsim drive --train CODE [--data DIR] --script FILE [--trace FILE] [--until-ms N])",
         &runDriveMode},
        {"check",
         "report every problem in the data files of the trains, with file and line\n"
         "(trainsim check [--data DIR] [--json] [CODE...])",
         &runCheckMode},
        {"edit",
         "make or change a route in the route editor: its video, a timeline of its events,\n"
         "a live check and a test drive (trainsim edit [--data DIR] [CODE])",
         &runEditMode},
        {"import-gps",
         "recorded speed, gradients and stations of a route from a GPS track\n"
         "(trainsim import-gps [--data DIR] CODE TRACK.gpx (--offset S | --sync F=T --sync F=T) ...)",
         &runGpsImport},
        {"prepare-video",
         "a quick-seeking working copy of a route's video for the editor and the driving\n"
         "window, in the user's cache folder (trainsim prepare-video [--data DIR] CODE)",
         &runPrepareVideo},
        {"pack",
         "a route as one file to send, with its video's fingerprint instead of the video\n"
         "(trainsim pack [--data DIR] CODE [-o FILE] [--with-video] [--author T] [--licence T])",
         &runPackMode},
        {"install",
         "a route package into the data folder, matched and aligned with your copy of its video\n"
         "(trainsim install FILE [--data DIR] [--video MYCOPY] [--offset FRAMES] [--code NEWCODE] [--force])",
         &runInstallMode},
        {"speed-from-video",
         "recorded speed of a route from its video's motion and known distances\n"
         "(trainsim speed-from-video [--data DIR] CODE [--marks FILE] [--speed F=KMH] [--dry-run])",
         &runSpeedFromVideo},
    };
    return all;
}

std::string subcommandLines() {
    // A short name and its help share a line, as "  drive    run ..."; a
    // long one keeps two blanks before it.
    constexpr size_t kName = 7;
    auto entry = [](const std::string& name, const std::string& help) {
        std::string out = "  " + name + std::string(name.size() < kName ? kName - name.size() : 0, ' ') + "  ";
        const std::string indent(2 + kName + 2, ' ');
        size_t from = 0;
        for (size_t nl = help.find('\n'); nl != std::string::npos; nl = help.find('\n', from)) {
            out += help.substr(from, nl - from) + "\n" + indent;
            from = nl + 1;
        }
        return out + help.substr(from) + "\n";
    };
    std::string out = entry("(none)", "open the title screen and drive a train picked there");
    for (const Subcommand& s : subcommands()) out += entry(s.name, s.help);
    return out;
}

}  // namespace ts
