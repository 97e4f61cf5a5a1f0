// The driving window's logic without a window: loading, start and pause,
// the two periodic steps, the handlers and closing. It owns the run state,
// the panel model and the lock that the 33 ms step thread and the
// user-interface thread share.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "messages.h"
#include "panel_model.h"
#include "run.h"
#include "timers.h"

namespace ts {

class DrivingRun {
public:
    using Progress = std::function<void(const std::string&)>;

    // `progress` shows a loading message on the title screen's status line.
    DrivingRun(std::string trainCode, MessageBoxes& boxes, TimerFactory& timers, Progress progress);
    ~DrivingRun();
    DrivingRun(const DrivingRun&) = delete;
    DrivingRun& operator=(const DrivingRun&) = delete;

    // The loading sequence; throws FatalError after the message of a failure.
    void formCreate();

    // Start/pause menu item.
    void start1Click();
    // Shuts the run down; the window closes after it.
    void closeQuery();

    bool running() const;  // Timer1 enabled
    bool closed() const { return closed_; }

    // Runs `f(run, panel)` under the run's lock.
    template <class F>
    auto locked(F&& f) {
        std::lock_guard lock(mutex_);
        return f(run_, panel_);
    }

    // Called on the user-interface thread after every 100 ms step.
    std::function<void()> afterPresentationStep;

private:
    void mmTimer1Timer();  // the 33 ms simulation step
    void timer1Timer();    // the 100 ms event-and-presentation step
    void applyStringTable(const StringTable& table);
    void buildMenu();

    Run run_;
    PanelModel panel_;
    mutable std::mutex mutex_;
    MessageBoxes& boxes_;
    TimerFactory& timerFactory_;
    Progress progress_;
    std::unique_ptr<PeriodicTimer> mmTimer1_;
    std::unique_ptr<PeriodicTimer> timer1_;
    bool closed_ = false;
};

}  // namespace ts
