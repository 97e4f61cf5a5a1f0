#include "route_opening.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QScreen>

#include <filesystem>

#include "data/file_names.h"
#include "data/train_codes.h"
#include "editor_window.h"
#include "video/ffmpeg_frame_source.h"

namespace ts::editor {

namespace {

QString tr(const char* s) { return QCoreApplication::translate("RouteOpening", s); }

QStringList routeCodes() {
    QStringList codes;
    for (const auto& c : trainCodesIn(".")) codes << QString::fromStdString(c);
    return codes;
}

// A video inside the data folder is named relative to it, as routes name theirs.
std::string routeVideoName(const std::string& chosen) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path full = fs::absolute(chosen, ec);
    const fs::path relative = fs::relative(full, fs::current_path(), ec);
    if (!ec && !relative.empty() && relative.begin()->string() != "..") return relative.generic_string();
    return full.string();
}

}  // namespace

std::optional<std::string> askRouteCode(QWidget* parent, bool allowNew) {
    bool ok = false;
    const QString label = allowNew ? tr("The route to edit (a new code makes a new route):") : tr("The route to edit:");
    const std::string code =
        QInputDialog::getItem(parent, tr("Route editor"), label, routeCodes(), 0, allowNew, &ok).trimmed().toStdString();
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
        r.video = QFileDialog::getOpenFileName(parent, tr("The video of the new route %1").arg(QString::fromStdString(r.code)),
                                               QDir::currentPath(),
                                               tr("Videos (*.mp4 *.mkv *.mov *.avi *.webm *.wmv *.mpg *.mpeg *.m4v);;"
                                                  "All files (*)"))
                      .toStdString();
        if (r.video.empty()) return std::nullopt;
    }
    FfmpegFrameSource source;
    if (!source.open(r.video)) return refuse(tr("The video %1 cannot be read.").arg(QString::fromStdString(r.video)));

    // The train that drives a new route: its train file is copied under the new code.
    const std::string train = r.code + "_train.txt";
    if (!std::filesystem::exists(resolveDataPath(train))) {
        if (r.trainFrom.empty()) {
            const QStringList codes = routeCodes();
            if (codes.isEmpty()) return refuse(tr("The data folder has no train whose train file the new route could take."));
            if (asked) *asked = true;
            bool ok = false;
            r.trainFrom = QInputDialog::getItem(parent, tr("New route"),
                                                tr("Which train drives the new route? Its train file is copied to %1.")
                                                    .arg(QString::fromStdString(train)),
                                                codes, 0, false, &ok)
                              .toStdString();
            if (!ok) return std::nullopt;
        }
        std::error_code ec;
        std::filesystem::copy_file(resolveDataPath(r.trainFrom + "_train.txt"), train, ec);
        if (ec)
            return refuse(tr("Cannot copy %1 to %2: %3")
                              .arg(QString::fromStdString(r.trainFrom + "_train.txt"), QString::fromStdString(train),
                                   QString::fromStdString(ec.message())));
    }
    edit::RouteDocument doc = edit::RouteDocument::fresh(routeVideoName(r.video), source.length());
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
