#include "edit_mode.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "command_line.h"
#include "data_folder.h"
#include "language.h"
#include "program_devices.h"
#include "qt_message_boxes.h"
#include "qt_timers.h"
#include "route_opening.h"

namespace ts {

namespace {

constexpr const char* kUsage =
    QT_TRANSLATE_NOOP("EditMode",
                      "usage: trainsim edit [--data DIR] [--video FILE] [--train-from CODE] [CODE]\n"
                      "  CODE              the route CODE_line.txt; a new route when it does not exist\n");

std::string said(const char* text) { return ourTextUtf8("EditMode", text); }

// The option lines below the usage, from the option table.
std::string& optionHelp() {
    static std::string lines;
    return lines;
}

int usage(const std::string& why) {
    std::cerr << "trainsim edit: " << why << "\n" << said(kUsage) << optionHelp();
    return 2;
}

}  // namespace

int runEditMode(int argc, char** argv) {
    std::string dataDir, code, video, trainFrom;
    std::vector<char*> qtArgs{const_cast<char*>("trainsim")};
    std::vector<std::string> platforms;
    auto accept = [](auto change) {
        return [change](const std::string& v) {
            change(v);
            return OptionAnswer::accepted();
        };
    };
    const std::vector<CommandOption> options{
        valueOption("--data", "DIR", "", accept([&](const std::string& v) { dataDir = v; })),
        valueOption("--video", "FILE",
                    said(QT_TRANSLATE_NOOP("EditMode", "the video of a new route (else the editor asks)")),
                    accept([&](const std::string& v) { video = std::filesystem::absolute(v).string(); })),
        valueOption("--train-from", "CODE",
                    said(QT_TRANSLATE_NOOP(
                        "EditMode", "the train of a new route: CODE_train.txt is copied (else the editor asks)")),
                    accept([&](const std::string& v) { trainFrom = v; })),
        // Qt's own option, handed on to QApplication; not listed.
        valueOption("-platform", "NAME", "", accept([&](const std::string& v) { platforms.push_back(v); })),
        alsoNamed(switchOption("--help", "",
                               [] {
                                   std::cout << said(kUsage) << optionHelp();
                                   return OptionAnswer::exitWith(0);
                               }),
                  "-h"),
    };
    optionHelp() = optionLines(options, 18);
    auto routeCode = [&code](const std::string& a) {
        if (!code.empty()) return OptionAnswer::refused(said(QT_TRANSLATE_NOOP("EditMode", "one route at a time")));
        code = a;
        return OptionAnswer::accepted();
    };
    const ParsedLine parsed = parseCommandLine({options, nullptr, routeCode}, argc, argv);
    if (const auto end = walkEnd(parsed, usage)) return *end;
    for (const std::string& p : platforms) {
        qtArgs.push_back(const_cast<char*>("-platform"));
        qtArgs.push_back(const_cast<char*>(p.c_str()));
    }
    const DataFolder data = chooseDataFolder(dataDir);
    if (!data.path.empty() && chdir(data.path.c_str()) != 0)
        return usage(ourText("EditMode", QT_TRANSLATE_NOOP("EditMode", "cannot change into data folder '%1'"))
                         .arg(QString::fromStdString(data.path))
                         .toStdString());

    int qargc = int(qtArgs.size());
    qtArgs.push_back(nullptr);
    QApplication qapp(qargc, qtArgs.data());
    QApplication::setApplicationName("Train Simulator");
    QtMessageBoxes boxes;
    QtTimerFactory timers;

    // A failure is told on standard error and in a window: started from the
    // desktop, the window is all the user sees. The offscreen platform has no
    // one to see it.
    auto fail = [](const QString& why) {
        std::cerr << "trainsim edit: " << why.toStdString() << "\n";
        if (QGuiApplication::platformName() != "offscreen" && QGuiApplication::platformName() != "minimal")
            QMessageBox::critical(nullptr, QCoreApplication::translate("EditMode", "Route editor"), why);
        return 1;
    };
    if (!video.empty() && !std::filesystem::exists(video))
        return fail(
            QCoreApplication::translate("EditMode", "The video %1 does not exist.").arg(QString::fromStdString(video)));
    bool asked = code.empty();
    if (code.empty()) {
        const auto chosen = editor::askRouteCode(nullptr, true);
        if (!chosen) return 0;
        code = *chosen;
    }
    QString why;
    // The route first: a new route's folder gets the files (the help text
    // among them) that the program's devices read when they are set up.
    auto route = editor::openRoute({code, video, trainFrom, {}}, nullptr, &why, &asked);
    if (!route) {
        if (why.isEmpty()) return 0;
        return fail(why);
    }
    installProgramDevices(boxes, timers);
    editor::showEditor(std::move(*route));
    return qapp.exec();
}

}  // namespace ts
