// The editor window's menus, key bindings and small dialogs.
#include <QInputDialog>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>

#include "data/file_names.h"
#include "edit/route_tables.h"
#include "editor_window.h"
#include "gps_import_dialog.h"
#include "package_export.h"
#include "route_table_model.h"
#include "speed_video_dialog.h"
#include "timeline.h"
#include "video_pane.h"

namespace ts::editor {

using edit::TableKind;

QAction* EditorWindow::action(const QString& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

PackageExportDialog* EditorWindow::exportPackage() {
    video_->setPlaying(false);
    // The package takes the route as saved.
    if (doc_.modified()) {
        if (!askOnClose) return nullptr;
        if (QMessageBox::question(this, tr("Export route package"),
                                  tr("The route has unsaved changes. Save it before it is packed?")) !=
                QMessageBox::Yes ||
            !save())
            return nullptr;
    }
    auto* dialog = new PackageExportDialog(code_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

void EditorWindow::buildMenus() {
    auto add = [this](QMenu* menu, const QString& name, const QString& text, QList<QKeySequence> keys,
                      std::function<void()> f) {
        auto* a = menu->addAction(text);
        a->setObjectName(name);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, std::move(f));
        actions_[name] = a;
        addAction(a);
        return a;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    add(file, "newRoute", tr("&New route..."), {QKeySequence::New}, [this] { openOther(true); });
    add(file, "openRoute", tr("&Open route..."), {QKeySequence::Open}, [this] { openOther(false); });
    add(file, "save", tr("&Save"), {QKeySequence::Save}, [this] { save(); });
    add(file, "testDrive", tr("&Test drive from the cursor"), {Qt::Key_F5}, [this] { testDrive(); });
    add(file, "importGps", tr("&Import GPS track..."), {}, [this] {
        video_->setPlaying(false);
        GpsImportDialog dialog(doc_, video_->frameCount(), this);
        dialog.setVideoPath(QString::fromStdString(resolveDataPath(doc_.route().videoFile)));
        dialog.exec();
        readStandstills();  // its alignment aid may have analysed the video
    });
    add(file, "speedFromVideo", tr("&Speed from the video..."), {}, [this] {
        video_->setPlaying(false);
        SpeedVideoDialog dialog(doc_, QString::fromStdString(resolveDataPath(doc_.route().videoFile)), this);
        dialog.analyse();
        dialog.exec();
        readStandstills();
    });
    add(file, "exportPackage", tr("&Export route package..."), {}, [this] { exportPackage(); });
    file->addSeparator();
    add(file, "close", tr("&Close"), {QKeySequence::Close}, [this] { close(); });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    add(edit, "undo", tr("&Undo"), {QKeySequence::Undo}, [this] { doc_.undo(); });
    add(edit, "redo", tr("&Redo"), {QKeySequence::Redo, Qt::CTRL | Qt::Key_Y}, [this] { doc_.redo(); });
    edit->addSeparator();
    QMenu* addMenu = edit->addMenu(tr("&Add at the cursor"));
    // Ctrl+1 to Ctrl+9 for the first nine, so that an author can step through
    // the ride and mark each place as it comes.
    int number = 0;
    for (const auto& def : edit::tableDefs()) {
        const TableKind kind = def.kind;
        if (kind == TableKind::SpeedUnit) continue;
        ++number;
        QList<QKeySequence> keys;
        if (number <= 9) keys << QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + number));
        add(addMenu, "add" + QString::fromLatin1(def.marker), tableTitle(kind), keys, [this, kind] { addRow(kind); });
    }
    add(edit, "addKeyframe", tr("Recorded speed &keyframe at the cursor"), {Qt::Key_K}, [this] {
        auto points = doc_.speedKeyframes();
        points.emplace_back(cursor_, doc_.recordedSpeedAt(cursor_));
        doc_.setSpeedKeyframes(points);
    });
    add(edit, "delete", tr("&Delete the selected rows"), {QKeySequence::Delete}, [this] { deleteSelectedRow(); });

    QMenu* go = menuBar()->addMenu(tr("&Go"));
    add(go, "back1", tr("Previous frame"), {Qt::Key_Comma}, [this] { setCursorFrame(cursor_ - 1); });
    add(go, "forward1", tr("Next frame"), {Qt::Key_Period}, [this] { setCursorFrame(cursor_ + 1); });
    // Shift+, and Shift+. arrive as < and > (with Shift held) on layouts that
    // put those characters there, as a US layout does.
    add(go, "back10", tr("10 frames back"), {Qt::SHIFT | Qt::Key_Comma, Qt::SHIFT | Qt::Key_Less, Qt::Key_Less},
        [this] { setCursorFrame(cursor_ - 10); });
    add(go, "forward10", tr("10 frames on"), {Qt::SHIFT | Qt::Key_Period, Qt::SHIFT | Qt::Key_Greater, Qt::Key_Greater},
        [this] { setCursorFrame(cursor_ + 10); });
    add(go, "back100", tr("100 frames back"), {Qt::CTRL | Qt::Key_Comma}, [this] { setCursorFrame(cursor_ - 100); });
    add(go, "forward100", tr("100 frames on"), {Qt::CTRL | Qt::Key_Period}, [this] { setCursorFrame(cursor_ + 100); });
    add(go, "previousEvent", tr("Previous event"), {Qt::Key_BracketLeft}, [this] { stepToEvent(-1); });
    add(go, "nextEvent", tr("Next event"), {Qt::Key_BracketRight}, [this] { stepToEvent(+1); });
    add(go, "play", tr("Play or pause"), {Qt::Key_Space}, [this] { video_->setPlaying(!video_->playing()); });
    add(go, "goTo", tr("&Go to frame..."), {Qt::CTRL | Qt::Key_G}, [this] { goToFrameDialog(); });

    QMenu* view = menuBar()->addMenu(tr("&View"));
    add(view, "zoomIn", tr("Zoom in"), {QKeySequence::ZoomIn, Qt::Key_Plus, Qt::Key_Equal},
        [this] { timeline_->zoom(2); });
    add(view, "zoomOut", tr("Zoom out"), {QKeySequence::ZoomOut, Qt::Key_Minus}, [this] { timeline_->zoom(0.5); });
    add(view, "zoomAll", tr("The whole route"), {Qt::CTRL | Qt::Key_0}, [this] { timeline_->zoomToAll(); });

    QMenu* video = menuBar()->addMenu(tr("V&ideo"));
    add(video, "prepareCopy", tr("&Prepare a quick-seeking copy..."), {}, [this] {
        prepareCopy();
    })->setEnabled(video_->frameCount() > 0 && !video_->usingCopy());

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    add(help, "keys", tr("&Keys"), {Qt::Key_F1}, [this] { showKeys(); });
}

void EditorWindow::goToFrameDialog() {
    bool ok = false;
    const int frame = QInputDialog::getInt(this, tr("Go to frame"), tr("Frame:"), cursor_, 0,
                                           std::max(timeline_->frameCount() - 1, 0), 1, &ok);
    if (ok) setCursorFrame(frame);
}

void EditorWindow::showKeys() {
    QMessageBox::information(
        this, tr("Keys of the route editor"),
        tr("<table>"
           "<tr><td><b>,</b> / <b>.</b></td><td>one frame back / on</td></tr>"
           "<tr><td><b>Shift+,</b> / <b>Shift+.</b></td><td>10 frames back / on</td></tr>"
           "<tr><td><b>Ctrl+,</b> / <b>Ctrl+.</b></td><td>100 frames back / on</td></tr>"
           "<tr><td><b>[</b> / <b>]</b></td><td>to the previous / next event</td></tr>"
           "<tr><td><b>Space</b></td><td>play or pause at the recorded pace</td></tr>"
           "<tr><td><b>Ctrl+G</b></td><td>go to a frame by number</td></tr>"
           "<tr><td><b>Ctrl+1</b> ... <b>Ctrl+9</b></td><td>a station, signal, speed limit, speed check, slope, "
           "sign, tunnel, sound or announcement at the cursor</td></tr>"
           "<tr><td><b>K</b></td><td>a recorded-speed keyframe at the cursor</td></tr>"
           "<tr><td><b>Ctrl++</b> / <b>Ctrl+-</b> / <b>Ctrl+0</b></td><td>zoom the timeline in / out / to the "
           "whole route (or Ctrl+wheel)</td></tr>"
           "<tr><td><b>Ctrl+Z</b> / <b>Ctrl+Shift+Z</b></td><td>undo / redo</td></tr>"
           "<tr><td><b>Delete</b></td><td>delete the selected rows (Ctrl+click or Shift+click selects "
           "several)</td></tr>"
           "<tr><td><b>Ctrl+S</b></td><td>save</td></tr>"
           "<tr><td><b>Ctrl+N</b> / <b>Ctrl+O</b></td><td>a new route / another route</td></tr>"
           "<tr><td><b>F5</b></td><td>test drive from the cursor</td></tr>"
           "</table>"
           "<p>On the timeline: click a row to select it, drag one of its marks to move that position, "
           "click elsewhere to move the cursor. On the recorded-speed curve: drag a keyframe, double-click "
           "to add one, right-click to remove one.</p>"));
}

}  // namespace ts::editor
