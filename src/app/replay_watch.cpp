#include "replay_watch.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <QApplication>
#include <QScreen>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>

#include "devices/file_check.h"
#include "recording_file.h"
#include "report_window.h"
#include "title_window.h"
#include "window_placement.h"

#include "app_state.h"
#include "driving_window.h"
#include "script_input.h"

namespace ts {

struct HeldTimers::Held final : PeriodicTimer {
    std::unique_ptr<PeriodicTimer> real;
    bool wanted = false, released = false;
    void start() override {
        wanted = true;
        if (released) real->start();
    }
    void stop() override {
        wanted = false;
        real->stop();
    }
    bool enabled() const override { return wanted; }
};

namespace {
// The shared state lives as long as the timer the run holds.
struct HeldHandle final : PeriodicTimer {
    std::shared_ptr<HeldTimers::Held> held;
    ~HeldHandle() override { held->real->stop(); }
    void start() override { held->start(); }
    void stop() override { held->stop(); }
    bool enabled() const override { return held->enabled(); }
};

constexpr int kStepMs = 33;
constexpr qint64 kInputShownMs = 2500;
}  // namespace

std::unique_ptr<PeriodicTimer> HeldTimers::create(int periodMs, TimerThread thread, std::function<void()> tick) {
    auto held = std::make_shared<Held>();
    held->real = real_.create(periodMs, thread, std::move(tick));
    held->released = released_;
    timers_.push_back(held);
    auto handle = std::make_unique<HeldHandle>();
    handle->held = std::move(held);
    return handle;
}

void HeldTimers::release() {
    released_ = true;
    for (auto& w : timers_)
        if (auto h = w.lock()) {
            h->released = true;
            if (h->wanted) h->real->start();
        }
}

ReplayWatch::ReplayWatch(TForm1& form, std::vector<ScriptCommand> commands, HeldTimers& timers)
    : form_(form), timers_(timers) {
    form_.setReplaying(true);
    player_ = std::make_unique<ReplayPlayer>(form_, std::move(commands));
    const HandleType handleType = form_.run().locked([](Run& r, PanelModel&) { return r.handleType; });
    player_->onInput = [this, handleType](const ScriptCommand& c) {
        lastInput_ = QString::fromStdString(describeInput(c, handleType));
        lastInputAt_ = wall_.elapsed();
    };
    form_.onLiveInput = [this] { takeOver(); };

    overlay_ = new QLabel(&form_);
    overlay_->setObjectName("replayOverlay");
    overlay_->setStyleSheet("QLabel { background: rgba(0, 0, 0, 160); color: white; padding: 2px 6px; }");
    overlay_->setAttribute(Qt::WA_TransparentForMouseEvents);

    QMenu* menu = menu_ = form_.menuBar()->addMenu(QString());
    menu->setObjectName("replayMenu");
    menu->installEventFilter(this);
    pause_ = menu->addAction(QString());
    pause_->setCheckable(true);
    connect(pause_, &QAction::toggled, this, [this](bool on) { setPaused(on); });
    auto* group = new QActionGroup(this);
    const int speeds[] = {1, 2, 4};
    for (int k = 0; k < 3; ++k) {
        speeds_[k] = menu->addAction(QString());
        speeds_[k]->setCheckable(true);
        group->addAction(speeds_[k]);
        connect(speeds_[k], &QAction::triggered, this, [this, s = speeds[k]] { setSpeed(s); });
    }
    speeds_[0]->setChecked(true);
    menu->addSeparator();
    takeOver_ = menu->addAction(QString());
    connect(takeOver_, &QAction::triggered, this, [this] { takeOver(); });
    retranslate();

    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

void ReplayWatch::retranslate() {
    menu_->setTitle(tr("Replay"));
    pause_->setText(tr("Pause"));
    for (int k = 0; k < 3; ++k) speeds_[k]->setText(tr("%1× speed").arg(1 << k));
    takeOver_->setText(tr("Take over the controls"));
}

bool ReplayWatch::eventFilter(QObject* watched, QEvent* e) {
    if (watched == menu_ && e->type() == QEvent::LanguageChange) {
        retranslate();
        showOverlay();
    }
    return QObject::eventFilter(watched, e);
}

ReplayWatch::~ReplayWatch() { form_.onLiveInput = nullptr; }

void ReplayWatch::start() {
    wall_.start();
    lastWall_ = 0;
    timer_.start();
    showOverlay();
}

void ReplayWatch::setPaused(bool paused) {
    paused_ = paused;
    if (pause_->isChecked() != paused) pause_->setChecked(paused);
    showOverlay();
}

void ReplayWatch::setSpeed(int speed) {
    speed_ = speed;
    for (int k = 0; k < 3; ++k) speeds_[k]->setChecked((1 << k) == speed);
    showOverlay();
}

void ReplayWatch::takeOver() {
    if (live_) return;
    live_ = true;
    timer_.stop();
    form_.onLiveInput = nullptr;
    form_.setReplaying(false);
    player_.reset();
    timers_.release();
    app().startPainter = true;
    form_.startPainting();
    pause_->setEnabled(false);
    for (QAction* a : speeds_) a->setEnabled(false);
    takeOver_->setEnabled(false);
    lastInput_.clear();
    showOverlay();
}

void ReplayWatch::tick() {
    const qint64 now = wall_.elapsed();
    if (!paused_) budgetMs_ += double(now - lastWall_) * speed_;
    lastWall_ = now;
    while (player_ && !player_->finished()) {
        if (player_->nextIsSimulationStep() && double(player_->simulationSteps() + 1) * kStepMs > budgetMs_) break;
        if (!player_->advance()) break;
        if (live_) return;  // an input handed over
    }
    // A recorded pause has no steps to pace on: the budget waits for the next step.
    if (player_) budgetMs_ = std::min(budgetMs_, double(player_->simulationSteps() + 1) * kStepMs);
    if (player_ && player_->finished() && !endSignalled_) {
        endSignalled_ = true;
        timer_.stop();
        emit ended();
    }
    showOverlay();
}

QString ReplayWatch::overlayText() const {
    QString status;
    if (live_)
        status = tr("Live: you have the controls");
    else if (player_ && player_->finished())
        status = player_->error().empty() ? tr("End of the recording")
                                          : tr("Replay stopped: %1").arg(QString::fromStdString(player_->error()));
    else
        status = paused_ ? tr("Replay paused") : tr("Replay %1×").arg(speed_);
    const bool recent = lastInputAt_ >= 0 && wall_.isValid() && wall_.elapsed() - lastInputAt_ < kInputShownMs;
    return recent && !lastInput_.isEmpty() ? status + "   " + lastInput_ : status;
}

void ReplayWatch::showOverlay() {
    const QString text = overlayText();
    if (overlay_->text() != text) {
        overlay_->setText(text);
        overlay_->adjustSize();
    }
    const QWidget* central = form_.centralWidget();
    const QPoint at = central ? central->mapTo(&form_, QPoint(8, 8)) : QPoint(8, 8);
    overlay_->move(at);
    overlay_->show();
    overlay_->raise();
}

}  // namespace ts

namespace ts {

int watchRecording(const std::string& file, bool force, TimerFactory& realTimers) {
    if (const FileRefusal r = checkFile(file); r != FileRefusal::None) {
        std::cerr << "trainsim: cannot read recording '" << file << "': " << refusalReason(r) << "\n";
        return 2;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "trainsim: cannot read recording '" << file << "'\n";
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    ParsedScript parsed;
    try {
        parsed = parseScript(text.str());
    } catch (const ScriptError& e) {
        std::cerr << "trainsim: " << file << ": " << e.what() << "\n";
        return 2;
    }
    const RecordingHeader header = recordingHeader(parsed);
    if (!parsed.anchored) {
        std::cerr << "trainsim: " << file << ": not a recording (no '@step' lines)\n";
        return 2;
    }
    if (const std::string why = replayRefusal(header, {}, force); !why.empty()) {
        std::cerr << "trainsim: " << file << ": " << why << "\n";
        return 2;
    }
    if (parsed.cutLine)
        std::cerr << "trainsim: " << file << ": line " << parsed.cutLine
                  << " was cut off while being recorded; replaying up to the line before\n";
    HeldTimers timers(realTimers);
    app().timers = &timers;
    app().startPainter = false;
    TForm1* form = app().title->createDrivingWindow(header.train);
    ReplayWatch watch(*form, parsed.commands, timers);
    form->show();
    if (const QScreen* s = form->screen()) form->move(s->availableGeometry().center() - form->rect().center());
    watch.start();
    QObject::connect(form, &TForm1::closed, qApp, [form, &watch] {
        // Watching only: the program ends with the replay. Taken over, it is a
        // run like any other: the title screen comes back with its report.
        if (!watch.live() || app().quitting) {
            QApplication::quit();
            return;
        }
        form->hide();
        TForm5* title = app().title;
        title->show();
        if (const QScreen* s = title->screen()) title->move(s->availableGeometry().center() - title->rect().center());
        if (const DriveReport report = form->run().report(); report.moved() && title->showReports)
            showOver(new ReportWindow(report), title);
    });
    const int status = QApplication::exec();
    app().timers = &realTimers;
    return status;
}

}  // namespace ts
