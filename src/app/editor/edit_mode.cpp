#include "edit_mode.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "data_folder.h"
#include "program_devices.h"
#include "qt_message_boxes.h"
#include "qt_timers.h"
#include "route_opening.h"

namespace ts {

namespace {

constexpr const char* kUsage =
    "usage: trainsim edit [--data DIR] [--video FILE] [--train-from CODE] [CODE]\n"
    "  CODE              the route CODE_line.txt; a new route when it does not exist\n"
    "  --video FILE      the video of a new route (else the editor asks)\n"
    "  --train-from CODE the train of a new route: CODE_train.txt is copied (else the editor asks)\n";

int usage(const std::string& why) {
    std::cerr << "trainsim edit: " << why << "\n" << kUsage;
    return 2;
}

}  // namespace

int runEditMode(int argc, char** argv) {
    std::string dataDir, code, video, trainFrom;
    std::vector<char*> qtArgs{const_cast<char*>("trainsim")};
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--data" && i + 1 < argc)
            dataDir = argv[++i];
        else if (a == "--video" && i + 1 < argc)
            video = std::filesystem::absolute(argv[++i]).string();
        else if (a == "--train-from" && i + 1 < argc)
            trainFrom = argv[++i];
        else if (a == "-platform" && i + 1 < argc) {
            qtArgs.push_back(argv[i]);
            qtArgs.push_back(argv[++i]);
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (!a.empty() && a[0] == '-')
            return usage("unknown or incomplete option '" + a + "'");
        else if (code.empty())
            code = a;
        else
            return usage("one route at a time");
    }
    const DataFolder data = chooseDataFolder(dataDir);
    if (!data.path.empty() && chdir(data.path.c_str()) != 0)
        return usage("cannot change into data folder '" + data.path + "'");

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
