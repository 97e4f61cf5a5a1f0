#include "route_opening.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QScreen>

#include <filesystem>

#include "data/file_names.h"
#include "data/train_codes.h"
#include "data_folder.h"
#include "edit/route_folder.h"
#include "editor_window.h"
#include "video/ffmpeg_frame_source.h"
#include "video_placement.h"

namespace ts::editor {

namespace {

// The translation tools file a free function's tr() under its namespace.
QString tr(const char* s) { return QCoreApplication::translate("ts::editor", s); }

QStringList routeCodes(const std::string& dir = ".") {
    QStringList codes;
    for (const auto& c : trainCodesIn(dir)) codes << QString::fromStdString(c);
    return codes;
}

}  // namespace

std::optional<std::string> askRouteCode(QWidget* parent, bool allowNew) {
    bool ok = false;
    const QString label = allowNew ? tr("The route to edit (a new code makes a new route):") : tr("The route to edit:");
    const std::string code = QInputDialog::getItem(parent, tr("Route editor"), label, routeCodes(), 0, allowNew, &ok)
                                 .trimmed()
                                 .toStdString();
    if (!ok || code.empty()) return std::nullopt;
    return code;
}

std::optional<OpenedRoute> openRoute(RouteRequest r, QWidget* parent, QString* why, bool* asked) {
    auto refuse = [why](const QString& text) -> std::optional<OpenedRoute> {
        if (why) *why = text;
        return std::nullopt;
    };
    if (why) why->clear();
    const std::string existing = resolveDataPath(r.code + "_line.txt");
    if (std::filesystem::exists(existing)) {
        std::string error;
        auto doc = edit::RouteDocument::open(existing, &error);
        if (!doc) return refuse(QString::fromStdString(error));
        return OpenedRoute{std::move(*doc), r.code, existing};
    }

    const std::string path = r.code + "_line.txt";
    if (r.video.empty()) {
        if (asked) *asked = true;
        r.video = QFileDialog::getOpenFileName(parent,
                                               tr("The video of the new route %1").arg(QString::fromStdString(r.code)),
                                               QDir::currentPath(),
                                               tr("Videos (*.mp4 *.mkv *.mov *.avi *.webm *.wmv *.mpg *.mpeg *.m4v);;"
                                                  "All files (*)"))
                      .toStdString();
        if (r.video.empty()) return std::nullopt;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(r.video, ec))
        return refuse(tr("The video %1 does not exist.").arg(QString::fromStdString(r.video)));
    FfmpegFrameSource source;
    if (!source.open(r.video)) return refuse(tr("The video %1 cannot be read.").arg(QString::fromStdString(r.video)));

    // The train that drives a new route, from this folder or else from the
    // demo: its train file is copied under the new code, and with it every
    // file a run reads that the folder lacks.
    const std::string demo = r.trainSource.empty() ? installedDemoFolder() : r.trainSource;
    const std::string train = r.code + "_train.txt";
    const bool hasTrain = std::filesystem::exists(resolveDataPath(train));
    if (r.trainFrom.empty() && !hasTrain) {
        QStringList codes = routeCodes();
        if (codes.isEmpty() && !demo.empty()) codes = routeCodes(demo);
        if (codes.isEmpty())
            return refuse(
                tr("Neither the data folder nor the demo has a train whose train file the new route "
                   "could take."));
        if (asked) *asked = true;
        bool ok = false;
        r.trainFrom = QInputDialog::getItem(parent, tr("New route"),
                                            tr("Which train drives the new route? Its train file is copied to %1.")
                                                .arg(QString::fromStdString(train)),
                                            codes, 0, false, &ok)
                          .toStdString();
        if (!ok) return std::nullopt;
    }
    edit::RouteLists lists;
    if (!r.trainFrom.empty()) {
        const bool here = std::filesystem::exists(resolveDataPath(r.trainFrom + "_train.txt"));
        if (!here && demo.empty())
            return refuse(tr("Cannot make the new route: %1 is not in the data folder, and no installed demo was "
                             "found to take it from.")
                              .arg(QString::fromStdString(r.trainFrom + "_train.txt")));
        std::string error;
        if (!edit::copyRunFiles(here ? "." : demo, r.trainFrom, r.code, &lists, &error))
            return refuse(tr("Cannot make the new route: %1").arg(QString::fromStdString(error)));
    }
    QString why2;
    const auto videoName = placeVideo(r.video, parent, &why2);
    if (!videoName) {
        if (why2.isEmpty()) return std::nullopt;
        return refuse(why2);
    }
    edit::RouteDocument doc = edit::RouteDocument::fresh(*videoName, source.length(), lists);
    // The new route exists from the start, as a minimal route that runs.
    std::string error;
    if (!doc.save(path, &error)) return refuse(QString::fromStdString(error));
    return OpenedRoute{std::move(doc), r.code, path};
}

EditorWindow* showEditor(OpenedRoute route) {
    auto* window = new EditorWindow(std::move(route.doc), route.code, route.path);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    if (const QScreen* s = window->screen()) {
        const QRect space = s->availableGeometry();
        if (window->width() > space.width() || window->height() > space.height()) window->showMaximized();
    }
    return window;
}

}  // namespace ts::editor
