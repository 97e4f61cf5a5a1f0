#include "editor_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>

#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <limits>
#include <memory>

#include "cached_standstills.h"
#include "check_list.h"
#include "copy_dialog.h"
#include "data/file_names.h"
#include "edit/route_tables.h"
#include "file_lists_tab.h"
#include "route_opening.h"
#include "route_table_model.h"
#include "shown_text.h"
#include "single_values_form.h"
#include "timeline.h"
#include "video_pane.h"

namespace ts::editor {

using edit::TableKind;

EditorWindow::EditorWindow(edit::RouteDocument doc, std::string code, std::string path, QWidget* parent)
    : QMainWindow(parent), doc_(std::move(doc)), code_(std::move(code)), path_(std::move(path)) {
    setObjectName("routeEditor");
    buildLayout();
    buildMenus();
    doc_.changed = [this] { documentChanged(); };
    openVideo();
    timeline_->zoomToAll();
    setCursorFrame(doc_.route().startPosition);
    checks_->checkNow();
    updateTitle();
    resize(1360, 860);
    restoreLayout();
}

// The editor's own window keeps its size and splitters between runs (the
// simulator's windows keep no settings).
static std::unique_ptr<QSettings> editorSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "trainsim", "route-editor");
}

void EditorWindow::restoreLayout() {
    const auto settings = editorSettings();
    if (settings->contains("window/geometry")) restoreGeometry(settings->value("window/geometry").toByteArray());
    for (auto* split : findChildren<QSplitter*>())
        if (settings->contains("splitters/" + split->objectName()))
            split->restoreState(settings->value("splitters/" + split->objectName()).toByteArray());
}

void EditorWindow::saveLayout() const {
    const auto settings = editorSettings();
    settings->setValue("window/geometry", saveGeometry());
    for (auto* split : findChildren<QSplitter*>())
        settings->setValue("splitters/" + split->objectName(), split->saveState());
}

EditorWindow::~EditorWindow() { doc_.changed = nullptr; }

void EditorWindow::buildLayout() {
    video_ = new VideoPane(this);
    video_->recordedSpeed = [this](int frame) { return doc_.recordedSpeedAt(frame); };
    timeline_ = new Timeline(doc_, this);
    timeline_->setObjectName("timeline");

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tables");
    form_ = new SingleValuesForm(doc_, this);
    tabs_->addTab(form_, tr("Line"));
    for (const auto& def : edit::tableDefs()) {
        const TableKind kind = def.kind;
        auto* model = new RouteTableModel(doc_, kind, this);
        auto* view = new QTableView(this);
        view->setObjectName(QString::fromLatin1(def.marker));
        view->setModel(model);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->horizontalHeader()->setStretchLastSection(true);
        view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
        connect(model, &RouteTableModel::editRefused, this,
                [this](const QString& why) { statusBar()->showMessage(why, 10000); });
        connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, kind] { tableSelectionChanged(kind); });
        models_[kind] = model;
        tables_[kind] = view;
        tabs_->addTab(view, tableTitle(kind));
    }
    fileLists_ = new FileListsTab(doc_, this);
    connect(fileLists_, &FileListsTab::message, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });
    tabs_->addTab(fileLists_, tr("Pictures and sounds"));

    checks_ = new CheckList(doc_, code_, this);
    connect(checks_, &CheckList::rowChosen, this, [this](TableKind kind, int row) { showRow(kind, row, true); });
    connect(checks_, &CheckList::checked, this, [this](int errors, int warnings) {
        statusBar()->showMessage(
            tr("Check: %1, %2").arg(tr("%n error(s)", "", errors), tr("%n warning(s)", "", warnings)));
    });

    connect(video_, &VideoPane::frameChanged, this, [this](int frame) { setCursorFrame(frame); });
    connect(timeline_, &Timeline::cursorMoved, this, [this](int frame) { setCursorFrame(frame); });
    connect(timeline_, &Timeline::rowSelected, this, [this](TableKind kind, int row) { showRow(kind, row, false); });

    auto* left = new QSplitter(Qt::Vertical, this);
    left->setObjectName("videoAndTimeline");
    left->addWidget(video_);
    left->addWidget(timeline_);
    left->setStretchFactor(0, 1);
    left->setStretchFactor(1, 0);
    auto* right = new QSplitter(Qt::Vertical, this);
    right->setObjectName("tablesAndCheck");
    right->addWidget(tabs_);
    auto* checkBox = new QWidget(this);
    auto* checkLayout = new QVBoxLayout(checkBox);
    checkLayout->setContentsMargins(0, 0, 0, 0);
    checkTitle_ = new QLabel(tr("Check"), checkBox);
    checkLayout->addWidget(checkTitle_);
    checkLayout->addWidget(checks_);
    right->addWidget(checkBox);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 1);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName("leftAndRight");
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    setCentralWidget(split);
    statusBar();
}

void EditorWindow::openVideo() {
    const std::string file = doc_.route().videoFile;
    const bool letterbox = doc_.route().letterbox == 1;
    const RouteData& route = doc_.route();
    const std::string key =
        file + (letterbox ? "|1|" : "|0|") + std::to_string(route.videoOffset) + "|" + std::to_string(route.videoRate);
    const bool reopen = key != videoShown_;
    const int keep = cursor_;  // opening shows frame 0, and the cursor follows the video
    if (reopen) {
        videoShown_ = key;
        if (!video_->open(QString::fromStdString(resolveDataPath(file)), letterbox, route.videoOffset,
                          route.videoRate) &&
            !file.empty())
            statusBar()->showMessage(tr("The video \"%1\" cannot be read.").arg(QString::fromStdString(file)), 10000);
        else if (!video_->seekAdvice().isEmpty())
            statusBar()->showMessage(video_->seekAdvice());
        form_->setVideoFrames(video_->frameCount());
        if (QAction* a = action("prepareCopy")) a->setEnabled(video_->frameCount() > 0 && !video_->usingCopy());
        if (video_->copyWouldHelp()) QTimer::singleShot(0, this, [this] { offerCopy(); });
        readStandstills();
    }
    timeline_->setFrameCount(std::max(video_->frameCount(), doc_.route().lineEnd() + 1));
    if (reopen) video_->setFrame(keep);
}

void EditorWindow::readStandstills() {
    const std::string& file = doc_.route().videoFile;
    timeline_->setStandstills(cachedStandstills(doc_.route(), file.empty() ? file : resolveDataPath(file)));
}

void EditorWindow::offerCopy() {
    if (!offerCopies || !video_->copyWouldHelp() || !isVisible()) return;
    const QString original = QString::fromStdString(video_->originalPath());
    const auto settings = editorSettings();
    QStringList declined = settings->value("video/copyDeclined").toStringList();
    if (declined.contains(original)) return;
    const auto answer = QMessageBox::question(
        this, tr("Slow to seek"),
        tr("%1\n\nPrepare a quick-seeking working copy now? It shows the same frame at every position, is kept "
           "in your cache folder and is used by the editor and the driving window; the route keeps naming the "
           "original.")
            .arg(video_->seekAdvice().isEmpty() ? tr("This video's pictures are much larger than the view.")
                                                : video_->seekAdvice()));
    if (answer == QMessageBox::Yes) {
        prepareCopy();
    } else {
        declined << original;
        settings->setValue("video/copyDeclined", declined);
    }
}

void EditorWindow::prepareCopy() {
    if (video_->frameCount() == 0 || video_->usingCopy()) return;
    video_->setPlaying(false);
    QString message;
    if (prepareCopyWithProgress(this, video_->originalPath(), &message)) {
        videoShown_.clear();
        openVideo();
        statusBar()->showMessage(tr("The quick-seeking copy is ready and in use."), 10000);
    } else if (message.isEmpty()) {
        statusBar()->showMessage(tr("Cancelled: no working copy was kept."), 10000);
    } else {
        QMessageBox::warning(this, tr("Quick-seeking copy"), message);
    }
}

void EditorWindow::setCursorFrame(int frame) {
    const int last = std::max(timeline_->frameCount() - 1, 0);
    frame = std::clamp(frame, 0, last);
    cursor_ = frame;
    timeline_->setCursorFrame(frame);
    if (video_->frame() != frame) video_->setFrame(frame);
}

void EditorWindow::stepToEvent(int direction) {
    int best = direction < 0 ? -1 : std::numeric_limits<int>::max();
    auto consider = [&](int f) {
        if (direction < 0 && f < cursor_) best = std::max(best, f);
        if (direction > 0 && f > cursor_) best = std::min(best, f);
    };
    for (const auto& def : edit::tableDefs()) {
        if (def.kind == TableKind::SpeedUnit) continue;
        for (int row = 0; row < doc_.rowCount(def.kind); ++row)
            for (int f : doc_.framePositions(def.kind, row)) consider(f);
    }
    for (const auto& k : doc_.speedKeyframes()) consider(k.first);
    if (best >= 0 && best != std::numeric_limits<int>::max()) setCursorFrame(best);
}

void EditorWindow::showRow(TableKind kind, int row, bool moveCursor) {
    if (row < 0 || row >= doc_.rowCount(kind)) return;
    syncing_ = true;
    QTableView* view = tables_.at(kind);
    tabs_->setCurrentWidget(view);
    // The view's own current row came from a click, which made the selection
    // (Ctrl and Shift pick several): it stands.
    if (view->currentIndex().row() != row) view->selectRow(row);
    view->scrollTo(view->model()->index(row, 0));
    timeline_->selectRow(kind, row);
    syncing_ = false;
    if (moveCursor) {
        const auto positions = doc_.framePositions(kind, row);
        if (!positions.empty()) setCursorFrame(*std::min_element(positions.begin(), positions.end()));
    }
}

void EditorWindow::tableSelectionChanged(TableKind kind) {
    if (syncing_) return;
    const int row = tables_.at(kind)->currentIndex().row();
    timeline_->selectRow(kind, row);
    if (row >= 0) showRow(kind, row, true);
}

int EditorWindow::addRow(TableKind kind) {
    const int row = doc_.addRow(kind, cursor_);
    showRow(kind, row, false);
    return row;
}

void EditorWindow::deleteSelectedRow() {
    if (tabs_->currentWidget() == fileLists_) {
        fileLists_->deleteSelected();
        return;
    }
    auto* view = qobject_cast<QTableView*>(tabs_->currentWidget());
    if (!view) return;
    for (const auto& [kind, v] : tables_) {
        if (v != view) continue;
        std::vector<int> rows;
        for (const QModelIndex& i : view->selectionModel()->selectedRows()) rows.push_back(i.row());
        if (rows.empty() && view->currentIndex().row() >= 0) rows.push_back(view->currentIndex().row());
        if (rows.empty()) return;
        const int first = *std::min_element(rows.begin(), rows.end());
        timeline_->selectRow(kind, -1);
        doc_.removeRows(kind, rows);
        if (doc_.rowCount(kind) > 0) showRow(kind, std::min(first, doc_.rowCount(kind) - 1), false);
        return;
    }
}

void EditorWindow::documentChanged() {
    for (auto& [kind, model] : models_) model->reload();
    // A table whose rows were added or removed has lost its selection: the timeline's stands.
    if (const auto sel = timeline_->selectedRow()) {
        if (sel->second < doc_.rowCount(sel->first)) {
            QTableView* view = tables_.at(sel->first);
            if (view->currentIndex().row() != sel->second) {
                syncing_ = true;
                view->selectRow(sel->second);
                syncing_ = false;
            }
        } else {
            timeline_->selectRow(sel->first, -1);
        }
    }
    form_->reload();
    fileLists_->reload();
    openVideo();
    timeline_->documentChanged();
    video_->refreshLabel();
    checks_->scheduleCheck();
    updateTitle();
}

void EditorWindow::updateTitle() {
    const QString name = titleText(QFileInfo(QString::fromStdString(path_)).fileName(), font());
    setWindowTitle((doc_.modified() ? "*" : "") + tr("%1 - Route editor").arg(name));
    if (auto* a = action("undo")) a->setEnabled(doc_.canUndo());
    if (auto* a = action("redo")) a->setEnabled(doc_.canRedo());
}

bool EditorWindow::save(QString* error) {
    std::string why;
    if (!doc_.save(path_, &why)) {
        const QString text = tr("Cannot save %1: %2").arg(QString::fromStdString(path_), QString::fromStdString(why));
        if (error)
            *error = text;
        else
            QMessageBox::warning(this, tr("Route editor"), text);
        return false;
    }
    updateTitle();
    statusBar()->showMessage(tr("Saved %1").arg(QString::fromStdString(path_)), 5000);
    return true;
}

void EditorWindow::testDrive() {
    video_->setPlaying(false);
    checks_->checkNow();
    if (checks_->errors() > 0) {
        QMessageBox::warning(this, tr("Test drive"),
                             tr("The route has %n error(s); a run would stop at the first. Mend them first "
                                "(the check list says where).",
                                "", checks_->errors()));
        return;
    }
    TestDrive how;
    how.code = code_;
    how.frame = cursor_;
    how.recoveryPath = path_ + ".unsaved";
    how.shown = onTestDriveShown;
    hide();
    QString error;
    const bool ok = editor::testDrive(doc_, how, &error);
    show();
    activateWindow();
    if (!ok) statusBar()->showMessage(error, 10000);
}

bool EditorWindow::confirmClose() {
    if (!askOnClose || !doc_.modified()) return true;
    const auto answer = QMessageBox::question(
        this, tr("Route editor"), tr("Save the changes to %1?").arg(QString::fromStdString(path_)),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Discard || (answer == QMessageBox::Save && save());
}

void EditorWindow::openOther(bool newRoute) {
    video_->setPlaying(false);
    std::optional<std::string> code;
    if (newRoute) {
        bool ok = false;
        const QString c = QInputDialog::getText(this, tr("New route"),
                                                tr("The new route's code (its files are CODE_line.txt and "
                                                   "CODE_train.txt):"),
                                                QLineEdit::Normal, {}, &ok)
                              .trimmed();
        if (!ok || c.isEmpty()) return;
        if (std::filesystem::exists(resolveDataPath(c.toStdString() + "_line.txt"))) {
            QMessageBox::warning(this, tr("New route"), tr("The data folder has a route %1 already.").arg(c));
            return;
        }
        code = c.toStdString();
    } else {
        code = askRouteCode(this, false);
    }
    if (!code || (*code == code_ && !newRoute) || !confirmClose()) return;
    QString why;
    bool asked = true;
    auto route = openRoute({*code, {}, {}, {}}, this, &why, &asked);
    if (!route) {
        if (!why.isEmpty()) QMessageBox::warning(this, tr("Route editor"), why);
        return;
    }
    EditorWindow* next = showEditor(std::move(*route));
    next->askOnClose = askOnClose;
    next->onTestDriveShown = onTestDriveShown;
    askOnClose = false;  // answered above
    close();
}

void EditorWindow::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) retranslate();
    QMainWindow::changeEvent(e);
}

void EditorWindow::retranslate() {
    if (!checkTitle_) return;  // not built yet
    // The menus are made anew: their actions keep no state but whether they
    // are enabled. A menu owns its actions; none is open, as the language is
    // changed from another window.
    actions_.clear();
    menuBar()->clear();
    qDeleteAll(menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
    buildMenus();
    if (QAction* a = action("prepareCopy")) a->setEnabled(video_->frameCount() > 0 && !video_->usingCopy());
    tabs_->setTabText(tabs_->indexOf(form_), tr("Line"));
    tabs_->setTabText(tabs_->indexOf(fileLists_), tr("Pictures and sounds"));
    for (const auto& [kind, view] : tables_) {
        tabs_->setTabText(tabs_->indexOf(view), tableTitle(kind));
        const int columns = view->model()->columnCount();
        if (columns > 0) emit view->model()->headerDataChanged(Qt::Horizontal, 0, columns - 1);
    }
    checkTitle_->setText(tr("Check"));
    checks_->checkNow();
    timeline_->update();
    video_->refreshLabel();
    updateTitle();
}

void EditorWindow::closeEvent(QCloseEvent* e) {
    if (!confirmClose()) {
        e->ignore();
        return;
    }
    video_->setPlaying(false);
    saveLayout();
    e->accept();
}

}  // namespace ts::editor
