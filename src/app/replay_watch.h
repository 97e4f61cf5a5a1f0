// Watching a recording in the driving window: played in real time (or 2×,
// 4×) with the inputs shown as they happen on an overlay line, paused, or
// handed over to the driver, who then drives on live from that moment.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

#include "devices/timers.h"
#include "replay_player.h"

class QAction;
class QLabel;
class QMenu;

namespace ts {

class TForm1;

// Timers that only note that they were started until released: while a
// recording plays, its steps come from the recording, not from the clock.
class HeldTimers final : public TimerFactory {
public:
    explicit HeldTimers(TimerFactory& real) : real_(real) {}
    std::unique_ptr<PeriodicTimer> create(int periodMs, TimerThread thread, std::function<void()> tick) override;
    // From now on the timers run; those started meanwhile start now.
    void release();

    struct Held;

private:
    TimerFactory& real_;
    std::vector<std::weak_ptr<Held>> timers_;
    bool released_ = false;
};

class ReplayWatch : public QObject {
    Q_OBJECT
public:
    ReplayWatch(TForm1& form, std::vector<ScriptCommand> commands, HeldTimers& timers);
    ~ReplayWatch() override;

    void start();
    void setPaused(bool paused);
    void setSpeed(int speed);  // 1, 2 or 4
    // Stops the replay; the run goes on live from its state.
    void takeOver();

    bool live() const { return live_; }
    bool finished() const { return player_ && player_->finished(); }
    QString overlayText() const;

signals:
    void ended();

protected:
    // The menu's LanguageChange: its items follow the language.
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void retranslate();
    void tick();
    void showOverlay();

    TForm1& form_;
    HeldTimers& timers_;
    std::unique_ptr<ReplayPlayer> player_;
    QTimer timer_;
    QElapsedTimer wall_;
    double budgetMs_ = 0;  // virtual time the replay may run up to
    qint64 lastWall_ = 0;
    int speed_ = 1;
    bool paused_ = false, live_ = false, endSignalled_ = false;
    QString lastInput_;
    qint64 lastInputAt_ = -1;
    QLabel* overlay_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction *pause_ = nullptr, *speeds_[3] = {}, *takeOver_ = nullptr;
};

// trainsim --replay FILE: opens the recording's train and plays it; the
// program's exit status (2 when the recording is refused).
int watchRecording(const std::string& file, bool force, TimerFactory& realTimers);

}  // namespace ts
