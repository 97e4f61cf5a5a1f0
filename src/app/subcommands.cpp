#include "subcommands.h"

#include <QtGlobal>

#include "check_mode.h"
#include "drive_mode.h"
#include "edit_mode.h"
#include "gps_import_mode.h"
#include "install_mode.h"
#include "language.h"
#include "pack_mode.h"
#include "prepare_video_mode.h"
#include "speed_from_video_mode.h"

namespace ts {

const std::vector<Subcommand>& subcommands() {
    static const std::vector<Subcommand> all{
        {"drive",
         QT_TRANSLATE_NOOP("Commands",
                           "run a train headless from a script and write a JSON trace\n"
                           "(trainsim drive --train CODE [--data DIR] --script FILE [--trace FILE] [--until-ms N])"),
         &runDriveMode},
        {"check",
         QT_TRANSLATE_NOOP("Commands",
                           "report every problem in the data files of the trains, with file and line\n"
                           "(trainsim check [--data DIR] [--json] [CODE...])"),
         &runCheckMode},
        {"edit",
         QT_TRANSLATE_NOOP("Commands",
                           "make or change a route in the route editor: its video, a timeline of its events,\n"
                           "a live check and a test drive (trainsim edit [--data DIR] [CODE])"),
         &runEditMode},
        {"import-gps",
         QT_TRANSLATE_NOOP(
             "Commands",
             "recorded speed, gradients and stations of a route from a GPS track\n"
             "(trainsim import-gps [--data DIR] CODE TRACK.gpx (--offset S | --sync F=T --sync F=T) ...)"),
         &runGpsImport},
        {"prepare-video",
         QT_TRANSLATE_NOOP("Commands",
                           "a quick-seeking working copy of a route's video for the editor and the driving\n"
                           "window, in the user's cache folder (trainsim prepare-video [--data DIR] CODE)"),
         &runPrepareVideo},
        {"pack",
         QT_TRANSLATE_NOOP("Commands",
                           "a route as one file to send, with its video's fingerprint instead of the video\n"
                           "(trainsim pack [--data DIR] CODE [-o FILE] [--with-video] [--author T] [--licence T])"),
         &runPackMode},
        {"install",
         QT_TRANSLATE_NOOP(
             "Commands",
             "a route package into the data folder, matched and aligned with your copy of its video\n"
             "(trainsim install FILE [--data DIR] [--video MYCOPY] [--offset FRAMES] [--code NEWCODE] [--force])"),
         &runInstallMode},
        {"speed-from-video",
         QT_TRANSLATE_NOOP("Commands",
                           "recorded speed of a route from its video's motion and known distances\n"
                           "(trainsim speed-from-video [--data DIR] CODE [--marks FILE] [--speed F=KMH] [--dry-run])"),
         &runSpeedFromVideo},
    };
    return all;
}

namespace {

// Columns `text` (UTF-8) takes on a terminal: a character written in three
// bytes (kana, kanji) takes two, as "(なし)" does.
size_t columns(const std::string& text) {
    size_t n = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        n += bytes == 3 ? 2 : 1;
        i += bytes;
    }
    return n;
}

}  // namespace

std::string subcommandLines() {
    // A short name and its help share a line, as "  drive    run ..."; a
    // long one keeps two blanks before it.
    constexpr size_t kName = 7;
    auto entry = [](const std::string& name, const std::string& help) {
        const size_t width = columns(name);
        std::string out = "  " + name + std::string(width < kName ? kName - width : 0, ' ') + "  ";
        const std::string indent(2 + kName + 2, ' ');
        size_t from = 0;
        for (size_t nl = help.find('\n'); nl != std::string::npos; nl = help.find('\n', from)) {
            out += help.substr(from, nl - from) + "\n" + indent;
            from = nl + 1;
        }
        return out + help.substr(from) + "\n";
    };
    std::string out = entry(ourTextUtf8("Commands", "(none)"),
                            ourTextUtf8("Commands", "open the title screen and drive a train picked there"));
    for (const Subcommand& s : subcommands()) out += entry(s.name, ourTextUtf8("Commands", s.help));
    return out;
}

}  // namespace ts
