#include "edit_mode.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "data/file_names.h"
#include "data/train_codes.h"
#include "data_folder.h"
#include "editor_window.h"
#include "program_devices.h"
#include "qt_message_boxes.h"
#include "qt_timers.h"
#include "video/ffmpeg_frame_source.h"

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

QString tr(const char* s) { return QCoreApplication::translate("EditMode", s); }

// A video inside the data folder is named relative to it, as routes name theirs.
std::string routeVideoName(const std::string& chosen) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path full = fs::absolute(chosen, ec);
    const fs::path relative = fs::relative(full, fs::current_path(), ec);
    if (!ec && !relative.empty() && relative.begin()->string() != "..") return relative.generic_string();
    return full.string();
}

// The train that drives a new route: its train file is copied under the new code.
bool provideTrainFile(const std::string& code, std::string from) {
    const std::string target = code + "_train.txt";
    if (std::filesystem::exists(resolveDataPath(target))) return true;
    if (from.empty()) {
        QStringList codes;
        for (const auto& c : trainCodesIn(".")) codes << QString::fromStdString(c);
        if (codes.isEmpty()) {
            QMessageBox::warning(nullptr, tr("New route"),
                                 tr("The data folder has no train whose train file the new route could take."));
            return false;
        }
        bool ok = false;
        const QString pick = QInputDialog::getItem(
            nullptr, tr("New route"), tr("Which train drives the new route? Its train file is copied to %1.")
                                          .arg(QString::fromStdString(target)),
            codes, 0, false, &ok);
        if (!ok) return false;
        from = pick.toStdString();
    }
    std::error_code ec;
    std::filesystem::copy_file(resolveDataPath(from + "_train.txt"), target, ec);
    if (ec) {
        std::cerr << "trainsim edit: cannot copy " << from << "_train.txt to " << target << ": " << ec.message()
                  << "\n";
        return false;
    }
    return true;
}

}  // namespace

int runEditMode(int argc, char** argv) {
    std::string dataDir, code, video, trainFrom;
    std::vector<char*> qtArgs{const_cast<char*>("trainsim")};
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--data" && i + 1 < argc) dataDir = argv[++i];
        else if (a == "--video" && i + 1 < argc) video = std::filesystem::absolute(argv[++i]).string();
        else if (a == "--train-from" && i + 1 < argc) trainFrom = argv[++i];
        else if (a == "-platform" && i + 1 < argc) {
            qtArgs.push_back(argv[i]);
            qtArgs.push_back(argv[++i]);
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (!a.empty() && a[0] == '-') return usage("unknown or incomplete option '" + a + "'");
        else if (code.empty()) code = a;
        else return usage("one route at a time");
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
    installProgramDevices(boxes, timers);

    // What the command line said fails on standard error; what was asked in a
    // dialog fails in a message box as well.
    bool asked = false;
    auto fail = [&asked](const QString& text) {
        std::cerr << "trainsim edit: " << text.toStdString() << "\n";
        if (asked) QMessageBox::critical(nullptr, tr("Route editor"), text);
        return 1;
    };
    if (code.empty()) {
        asked = true;
        QStringList codes;
        for (const auto& c : trainCodesIn(".")) codes << QString::fromStdString(c);
        bool ok = false;
        code = QInputDialog::getItem(nullptr, tr("Route editor"),
                                     tr("The route to edit (a new code makes a new route):"), codes, 0, true, &ok)
                   .trimmed()
                   .toStdString();
        if (!ok || code.empty()) return 0;
    }

    const std::string existing = resolveDataPath(code + "_line.txt");
    std::optional<edit::RouteDocument> doc;
    std::string path = existing;
    if (std::filesystem::exists(existing)) {
        std::string error;
        doc = edit::RouteDocument::open(existing, &error);
        if (!doc) return fail(QString::fromStdString(error));
    } else {
        path = code + "_line.txt";
        if (video.empty()) {
            asked = true;
            video = QFileDialog::getOpenFileName(nullptr, tr("The video of the new route %1").arg(QString::fromStdString(code)),
                                                 QDir::currentPath(),
                                                 tr("Videos (*.mp4 *.mkv *.mov *.avi *.webm *.wmv *.mpg *.mpeg *.m4v);;"
                                                    "All files (*)"))
                        .toStdString();
        }
        if (video.empty()) return 0;
        FfmpegFrameSource source;
        if (!source.open(video)) return fail(tr("The video %1 cannot be read.").arg(QString::fromStdString(video)));
        if (!provideTrainFile(code, trainFrom)) return 1;
        doc = edit::RouteDocument::fresh(routeVideoName(video), source.length());
        // The new route exists from the start, as a minimal route that runs.
        std::string error;
        if (!doc->save(path, &error)) return fail(QString::fromStdString(error));
    }

    auto* window = new editor::EditorWindow(std::move(*doc), code, path);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    if (const QScreen* s = window->screen()) {
        const QRect space = s->availableGeometry();
        if (window->width() > space.width() || window->height() > space.height()) window->showMaximized();
    }
    return qapp.exec();
}

}  // namespace ts
