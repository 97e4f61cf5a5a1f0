// trainsim: the train driving simulator. "trainsim [--data DIR]" opens the
// title screen; "trainsim drive ..." runs the headless drive mode;
// "trainsim edit ..." opens the route editor;
// "trainsim import-gps ..." makes a route's recorded speed from a GPS track;
// "trainsim prepare-video ..." makes a video's quick-seeking working copy;
// "trainsim pack ..." and "trainsim install ..." send and receive a route as one file.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QtGlobal>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app_state.h"
#include "com_port.h"
#include "command_line.h"
#include "data/train_codes.h"
#include "data_folder.h"
#include "driving_window.h"
#include "help_window.h"
#include "language.h"
#include "link_session.h"
#include "program_devices.h"
#include "qt_message_boxes.h"
#include "qt_timers.h"
#include "quit_signals.h"
#include "replay_watch.h"
#include "subcommands.h"
#include "text/our_text.h"
#include "title_window.h"
#include "value_window.h"

namespace {

void printHelp(const ts::DataFolder& data, const std::vector<ts::CommandOption>& options) {
    std::cout << ts::usageLine("trainsim [COMMAND] [OPTIONS]") << "\n"
              << ts::ourTextUtf8("CommandLine", "Commands:") << "\n"
              << ts::subcommandLines() << "\n"
              << ts::ourTextUtf8("CommandLine", "Options:") << "\n"
              << ts::optionLines(options, 23) << "\n"
              << ts::withArgs(ts::ourTextUtf8("CommandLine", "Data folder: %1\n  (%2)"),
                              {data.path.empty() ? std::filesystem::current_path().string() : data.path,
                               ts::ourTextUtf8("CommandLine", data.reason.c_str())})
              << "\n";
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
    // Before anything is printed: --help and every message honour it.
    std::string languageError;
    ts::useLanguage(ts::takeLanguageArgument(argc, argv, languageError));
    if (!languageError.empty()) {
        std::cerr << "trainsim: " << languageError << "\n";
        return 2;
    }
    for (const ts::Subcommand& c : ts::subcommands())
        if (argc >= 2 && std::strcmp(argv[1], c.name) == 0) return subcommand(c.name, c.run, argc - 2, argv + 2);

    using ts::OptionAnswer;
    std::string dataDir, trainCode, replayFile;
    bool help = false, force = false, linkControl = false, linkLan = false;
    int linkPort = -1;  // no live link
    const std::vector<ts::CommandOption> options{
        ts::valueOption("--data", "DIR", QT_TRANSLATE_NOOP("Options", "read the data files from DIR"),
                        ts::storeIn(dataDir)),
        ts::valueOption("--train", "CODE",
                        QT_TRANSLATE_NOOP("Options",
                                          "drive the train CODE (CODE_line.txt, CODE_train.txt) at once;\n"
                                          "the title screen appears when its window closes"),
                        ts::storeIn(trainCode)),
        ts::valueOption("--port", "COM1=DEVICE",
                        QT_TRANSLATE_NOOP("Options", "open DEVICE for the controller port COM1 (or COM2); repeatable"),
                        [](const std::string& v) {
                            ts::mapPortName(v);
                            return OptionAnswer::accepted();
                        }),
        ts::valueOption("--scale", "1|1.5|2|3|full",
                        QT_TRANSLATE_NOOP("Options", "size of the driving window (the drive mode takes it too)"),
                        [](const std::string& v) {
                            const auto scale = ts::parseViewScale(v);
                            if (!scale)
                                return OptionAnswer::refused(
                                    ts::ourTextUtf8("CommandLine", "--scale takes 1, 1.5, 2, 3 or full"));
                            ts::app().viewScale = *scale;
                            return OptionAnswer::accepted();
                        }),
        ts::valueOption("--smooth", "on|off",
                        QT_TRANSLATE_NOOP("Options", "blend neighbouring frames when slower than the recording"),
                        [](const std::string& v) {
                            const auto smooth = ts::parseSmoothView(v);
                            if (!smooth)
                                return OptionAnswer::refused(
                                    ts::ourTextUtf8("CommandLine", "--smooth takes on or off"));
                            ts::app().smoothView = *smooth;
                            return OptionAnswer::accepted();
                        }),
        ts::valueOption("--record", "FILE",
                        QT_TRANSLATE_NOOP("Options", "record the run of the train picked to FILE (a drive script)"),
                        [](const std::string& v) {
                            ts::app().recordTo = std::filesystem::absolute(v).string();
                            return OptionAnswer::accepted();
                        }),
        ts::valueOption(
            "--replay", "FILE",
            QT_TRANSLATE_NOOP("Options", "watch a recording in the driving window (pause, 2x, 4x, take over)"),
            [&replayFile](const std::string& v) {
                replayFile = std::filesystem::absolute(v).string();
                return OptionAnswer::accepted();
            }),
        ts::valueMayBeLeftOut(
            ts::valueOption("--link", "PORT",
                            QT_TRANSLATE_NOOP("Options",
                                              "open the live link on 127.0.0.1 (default port 47800): the run's state\n"
                                              "over a WebSocket and a dashboard page at http://127.0.0.1:PORT/"),
                            [&linkPort](const std::string& v) {
                                try {
                                    linkPort = std::stoi(v);
                                } catch (...) {
                                    linkPort = -2;
                                }
                                if (linkPort < 0 || linkPort > 65535)
                                    return OptionAnswer::refused(
                                        ts::ourTextUtf8("CommandLine", "--link takes a port from 0 to 65535"));
                                return OptionAnswer::accepted();
                            }),
            [&linkPort] {
                linkPort = ts::kDefaultLinkPort;
                return OptionAnswer::accepted();
            }),
        ts::switchOption("--link-control",
                         QT_TRANSLATE_NOOP("Options", "let live-link clients drive (send the driver's commands)"),
                         ts::setFlag(linkControl)),
        ts::switchOption("--link-lan",
                         QT_TRANSLATE_NOOP("Options",
                                           "open the live link to the network too: every interface, and every\n"
                                           "client must present the random token the program prints"),
                         ts::setFlag(linkLan)),
        ts::switchOption("--force",
                         QT_TRANSLATE_NOOP("Options", "replay a recording of another train or of changed data files"),
                         ts::setFlag(force)),
        // Taken out of the line before this table (every command honours it); listed for --help.
        ts::valueOption(
            "--lang", "ja|en",
            QT_TRANSLATE_NOOP("Options", "show the program in Japanese or English (the desktop's language otherwise)"),
            [](const std::string&) { return OptionAnswer::accepted(); }),
        ts::alsoNamed(ts::switchOption("--help", QT_TRANSLATE_NOOP("Options", "show this help"), ts::setFlag(help)),
                      "-h"),
        ts::switchOption("--version", QT_TRANSLATE_NOOP("Options", "show the program's version"),
                         [] {
                             std::cout << "trainsim " << TRAINSIM_VERSION << "\n";
                             return OptionAnswer::exitWith(0);
                         }),
        // Qt's own option, left for QApplication; not listed.
        ts::valueOption("-platform", "NAME", "", [](const std::string&) { return OptionAnswer::accepted(); }),
    };
    // No operands: a word that is no option is an unknown command.
    const ts::ParsedLine parsed = ts::parseCommandLine({options, nullptr, nullptr}, argc - 1, argv + 1);
    switch (parsed.outcome) {
        case ts::ParsedLine::Outcome::Parsed: break;
        case ts::ParsedLine::Outcome::Exit: return parsed.status;
        case ts::ParsedLine::Outcome::Refused: std::cerr << "trainsim: " << parsed.why << "\n"; return 2;
        case ts::ParsedLine::Outcome::Unknown:
            std::cerr << "trainsim: "
                      << (parsed.word.rfind("-", 0) == 0
                              ? ts::unknownOption(parsed.word)
                              : ts::withArgs(ts::ourTextUtf8("CommandLine", "unknown command '%1'"), {parsed.word}))
                      << "\n"
                      << ts::ourTextUtf8("CommandLine", "Try 'trainsim --help'.") << "\n";
            return 2;
    }
    const ts::DataFolder data = ts::chooseDataFolder(dataDir);
    if (help) {
        printHelp(data, options);
        return 0;
    }
    if (!data.path.empty() && chdir(data.path.c_str()) != 0) {
        std::cerr << "trainsim: " << ts::cannotEnterDataFolder(data.path) << "\n";
        return 2;
    }
    if (!trainCode.empty() && !ts::hasTrainCode(".", trainCode)) {
        std::cerr << "trainsim: "
                  << ts::withArgs(ts::ourTextUtf8("CommandLine",
                                                  "the data folder has no train '%1' (%1_line.txt and %1_train.txt)"),
                                  {trainCode})
                  << "\n";
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
    if (linkLan && linkPort < 0) linkPort = ts::kDefaultLinkPort;
    if (linkPort >= 0) {
        std::string error;
        if (!ts::openProgramLink(quint16(linkPort), linkControl, linkLan, error)) {
            std::cerr << "trainsim: "
                      << ts::withArgs(ts::ourTextUtf8("CommandLine", "cannot open the live link: %1"), {error}) << "\n";
            return 2;
        }
        const ts::LinkServer& link = ts::programLink()->server();
        std::cout << "live link: " << link.address().toStdString() << std::endl;
        for (const QString& a : link.networkAddresses())
            std::cout << "live link on the network: " << a.toStdString() << std::endl;
        if (!link.token().isEmpty()) std::cout << "live link token: " << link.token().toStdString() << std::endl;
    }
    auto* title = new ts::TForm5;
    ts::app().title = title;
    if (!replayFile.empty()) return ts::watchRecording(replayFile, force, timers);
    title->show();
    if (const QScreen* s = title->screen()) title->move(s->availableGeometry().center() - title->rect().center());
    if (!trainCode.empty()) QTimer::singleShot(0, title, [title, trainCode] { title->openTrain(trainCode); });
    return qapp.exec();
}
