// trainsim: the train driving simulator. "trainsim [--data DIR]" opens the
// title screen; "trainsim drive ..." runs the headless drive mode;
// "trainsim edit ..." opens the route editor;
// "trainsim import-gps ..." makes a route's recorded speed from a GPS track.
#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

#include "app_state.h"
#include "check_mode.h"
#include "com_port.h"
#include "data/train_codes.h"
#include "data_folder.h"
#include "drive_mode.h"
#include "driving_window.h"
#include "edit_mode.h"
#include "gps_import_mode.h"
#include "help_window.h"
#include "link_session.h"
#include "program_devices.h"
#include "qt_message_boxes.h"
#include "qt_timers.h"
#include "quit_signals.h"
#include "replay_watch.h"
#include "speed_from_video_mode.h"
#include "title_window.h"
#include "value_window.h"

namespace {

void printHelp(const ts::DataFolder& data) {
    std::cout
        << "usage: trainsim [COMMAND] [OPTIONS]\n"
           "\n"
           "Commands:\n"
           "  (none)   open the title screen and drive a train picked there\n"
           "  drive    run a train headless from a script and write a JSON trace\n"
           "           (trainsim drive --train CODE [--data DIR] --script FILE [--trace FILE] [--until-ms N])\n"
           "  check    report every problem in the data files of the trains, with file and line\n"
           "           (trainsim check [--data DIR] [--json] [CODE...])\n"
           "  edit     make or change a route in the route editor: its video, a timeline of its events,\n"
           "           a live check and a test drive (trainsim edit [--data DIR] [CODE])\n"
           "  import-gps  recorded speed, gradients and stations of a route from a GPS track\n"
           "           (trainsim import-gps [--data DIR] CODE TRACK.gpx (--offset S | --sync F=T --sync F=T) ...)\n"
           "  speed-from-video  recorded speed of a route from its video's motion and known distances\n"
           "           (trainsim speed-from-video [--data DIR] CODE [--marks FILE] [--speed F=KMH] [--dry-run])\n"
           "\n"
           "Options:\n"
           "  --data DIR             read the data files from DIR\n"
           "  --train CODE           drive the train CODE (CODE_line.txt, CODE_train.txt) at once;\n"
           "                         the title screen appears when its window closes\n"
           "  --port COM1=DEVICE     open DEVICE for the controller port COM1 (or COM2); repeatable\n"
           "  --scale 1|1.5|2|3|full size of the driving window (the drive mode takes it too)\n"
           "  --smooth on|off        blend neighbouring frames when slower than the recording\n"
           "  --record FILE          record the run of the train picked to FILE (a drive script)\n"
           "  --replay FILE          watch a recording in the driving window (pause, 2x, 4x, take over)\n"
           "  --link [PORT]          open the live link on 127.0.0.1 (default port 47800): the run's state\n"
           "                         over a WebSocket and a dashboard page at http://127.0.0.1:PORT/\n"
           "  --link-control         let live-link clients drive (send the driver's commands)\n"
           "  --force                replay a recording of another train or of changed data files\n"
           "  --help, -h             show this help\n"
           "  --version              show the program's version\n"
           "\n"
           "Data folder: "
        << (data.path.empty() ? std::filesystem::current_path().string() : data.path) << "\n  (" << data.reason
        << ")\n";
}

}  // namespace

namespace {

// A file-system error no subcommand foresaw (a folder gone, a temp folder that is a file) ends it
// with a message and status 1, not an abort.
int subcommand(const char* name, int (*run)(int, char**), int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::filesystem::filesystem_error& e) {
        std::cerr << "trainsim " << name << ": " << e.what() << "\n";
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (const auto& [name, run] :
         {std::pair{"drive", &ts::runDriveMode}, std::pair{"check", &ts::runCheckMode},
          std::pair{"import-gps", &ts::runGpsImport}, std::pair{"speed-from-video", &ts::runSpeedFromVideo},
          std::pair{"edit", &ts::runEditMode}})
        if (argc >= 2 && std::strcmp(argv[1], name) == 0) return subcommand(name, run, argc - 2, argv + 2);

    std::string dataDir, trainCode, replayFile;
    bool help = false, force = false, linkControl = false;
    int linkPort = -1;  // no live link
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--data" && i + 1 < argc) {
            dataDir = argv[++i];
        } else if (a == "--train" && i + 1 < argc) {
            trainCode = argv[++i];
        } else if (a == "--port" && i + 1 < argc) {
            ts::mapPortName(argv[++i]);
        } else if (a == "--scale" && i + 1 < argc) {
            const auto scale = ts::parseViewScale(argv[++i]);
            if (!scale) {
                std::cerr << "trainsim: --scale takes 1, 1.5, 2, 3 or full\n";
                return 2;
            }
            ts::app().viewScale = *scale;
        } else if (a == "--smooth" && i + 1 < argc) {
            const auto smooth = ts::parseSmoothView(argv[++i]);
            if (!smooth) {
                std::cerr << "trainsim: --smooth takes on or off\n";
                return 2;
            }
            ts::app().smoothView = *smooth;
        } else if (a == "--record" && i + 1 < argc) {
            ts::app().recordTo = std::filesystem::absolute(argv[++i]).string();
        } else if (a == "--replay" && i + 1 < argc) {
            replayFile = std::filesystem::absolute(argv[++i]).string();
        } else if (a == "--link") {
            linkPort = ts::kDefaultLinkPort;
            if (i + 1 < argc && argv[i + 1][0] != '-') {
                try {
                    linkPort = std::stoi(argv[++i]);
                } catch (...) {
                    linkPort = -2;
                }
                if (linkPort < 0 || linkPort > 65535) {
                    std::cerr << "trainsim: --link takes a port from 0 to 65535\n";
                    return 2;
                }
            }
        } else if (a == "--link-control") {
            linkControl = true;
        } else if (a == "--force") {
            force = true;
        } else if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--version") {
            std::cout << "trainsim " << TRAINSIM_VERSION << "\n";
            return 0;
        } else if (a == "-platform" && i + 1 < argc) {
            ++i;  // Qt's own option, left for QApplication
        } else {
            std::cerr << "trainsim: " << (a.rfind("-", 0) == 0 ? "unknown or incomplete option '" : "unknown command '")
                      << a << "'\nTry 'trainsim --help'.\n";
            return 2;
        }
    }
    const ts::DataFolder data = ts::chooseDataFolder(dataDir);
    if (help) {
        printHelp(data);
        return 0;
    }
    if (!data.path.empty() && chdir(data.path.c_str()) != 0) {
        std::cerr << "trainsim: cannot change into data folder '" << data.path << "'\n";
        return 2;
    }
    if (!trainCode.empty() && !ts::hasTrainCode(".", trainCode)) {
        std::cerr << "trainsim: the data folder has no train '" << trainCode << "' (" << trainCode << "_line.txt and "
                  << trainCode << "_train.txt)\n";
        return 2;
    }

    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Train Simulator");
    ts::QtMessageBoxes boxes;
    ts::QtTimerFactory timers;
    ts::installProgramDevices(boxes, timers);
    ts::installQuitSignals([] {
        ts::app().quitting = true;
        // As the back button: the run closes and finishes what it writes.
        if (ts::app().current && ts::app().current->isVisible()) ts::app().current->close();
        QCoreApplication::exit(0);
    });
    if (linkPort >= 0) {
        std::string error;
        if (!ts::openProgramLink(quint16(linkPort), linkControl, error)) {
            std::cerr << "trainsim: cannot open the live link: " << error << "\n";
            return 2;
        }
        std::cout << "live link: " << ts::programLink()->server().address().toStdString() << std::endl;
    }
    auto* title = new ts::TForm5;
    ts::app().title = title;
    if (!replayFile.empty()) return ts::watchRecording(replayFile, force, timers);
    title->show();
    if (const QScreen* s = title->screen()) title->move(s->availableGeometry().center() - title->rect().center());
    if (!trainCode.empty()) QTimer::singleShot(0, title, [title, trainCode] { title->openTrain(trainCode); });
    return qapp.exec();
}
