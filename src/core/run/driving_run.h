// The driving window's logic without a window: loading, start and pause, the
// station jump, the two periodic steps, the handlers and closing. It owns the
// run state, the panel model and the lock that the 33 ms step thread and the
// user-interface thread share.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "controls/driver_commands.h"
#include "controls/game_pad.h"
#include "controls/keys.h"
#include "data/pictures.h"
#include "devices/frame_source.h"
#include "devices/messages.h"
#include "devices/sound_device.h"
#include "devices/timers.h"
#include "events/driver_cue.h"
#include "events/release_hint.h"
#include "panel_model.h"
#include "report/drive_observer.h"
#include "run.h"
#include "run_host.h"
#include "run_recorder.h"
#include "sound_tap.h"

namespace ts {

// What a run needs from its surroundings: its devices and its host.
struct RunServices {
    MessageBoxes& boxes;
    TimerFactory& timers;
    PictureLoader& pictures;
    TDDSD& sound;
    FrameSource& video;
    RunHost& host;
};

class DrivingRun {
public:
    DrivingRun(std::string trainCode, RunServices services);
    ~DrivingRun();
    DrivingRun(const DrivingRun&) = delete;
    DrivingRun& operator=(const DrivingRun&) = delete;

    // The loading sequence; throws FatalError after the message of a failure.
    void formCreate();

    // Start/pause menu item.
    void start1Click();
    // True once Start was first clicked.
    bool started() const {
        std::lock_guard lock(mutex_);
        return everStarted_;
    }
    // A Move menu item, by its component name ("Sta" + station index).
    void StationClick(const std::string& itemName);
    // Stands the train at `frame` as a station jump would, with the clock
    // where the recorded ride was at that frame (a test drive from the editor).
    void jumpToFrame(int32_t frame);
    // Reads the route from `path` instead of the train code's route file
    // (the editor's unsaved route); before formCreate().
    void setRouteFile(std::string path) { routeFile_ = std::move(path); }
    // Shuts the run down; the window closes after it. Throws FatalError when
    // the sound device cannot be opened again.
    void closeQuery();

    // The command layer, the one entry of every input device. Under the run's
    // lock it records `line` (the script line that repeats the input; nothing
    // when empty), has `translate` turn the input into driver commands from
    // the run as it stands, and applies them with the common start of every
    // driver input and the input lock. Controller switches that the commands
    // post reach the host's input queue after the lock is let go.
    using Translation = std::function<DriverInput(const Run& run, PanelModel& panel)>;
    void dispatch(const std::string& line, const Translation& translate);

    // The devices' adapters onto dispatch(). Keyboard and wheel:
    void AsciiDown(char c);
    void keydowns(Key key, ShiftState shift);
    void WheelD();
    void WheelU();
    // One message received from the serial controller.
    void RxChar(const std::string& message);
    // A game controller's axis moved, or a button went down or up.
    void padAxis(GamePad& pad, int axis, int value);
    void padButton(GamePad& pad, int button, bool down);
    // A controller came or went (for a recording: the pad keeps its own state).
    void padConnected(const std::string& guid);
    void padDisconnected();

    // The paint routine of the driver's view (user-interface thread): decodes
    // the frame the train stands at into `frame` when it is not the one shown
    // last; true when `frame` changed and is to be drawn. Without `decode` the
    // paint rules run alone and `frame` is left as it was: a headless run
    // fetches the picture only when something looks at it.
    bool paintView(ViewFrame& frame, bool decode = true);
    // Frames the train moved onto, and frames painted (for measuring the view).
    int64_t framesRequested() const { return framesRequested_; }
    int64_t framesPainted() const { return framesPainted_; }

    // One simulation step at once, as the 33 ms timer runs it (benchmarks, tests).
    void simulationStep() {
        std::lock_guard lock(mutex_);
        mmTimer1Timer();
    }
    // How the run has been driven so far.
    DriveReport report() const {
        std::lock_guard lock(mutex_);
        return observer_.report();
    }
    // What the driver must do now to release a brake or answer a warning.
    ReleaseHint releaseHint() const {
        std::lock_guard lock(mutex_);
        return ts::releaseHint(run_, observer_.emergencyByVigilance());
    }
    // The last call-out and how many there have been (the window shows each once).
    std::pair<CallOut, int> lastCallOut() const {
        std::lock_guard lock(mutex_);
        return {lastCallOut_, callOutCount_};
    }
    // One 100 ms step at once, without the host's redraw (benchmarks).
    void presentationStep() {
        std::lock_guard lock(mutex_);
        timer1Timer();
    }

    // The bodies of the two timers' ticks, as the timers run them.
    void simulationTick();
    void presentationTick();

    // Recording: what entered the run since loading is held until Start; this
    // writes it and all that follows to `out`. False (and nothing written) once
    // the run has started: what came before is gone.
    bool startRecording(RunRecorder::Target target, const std::string& dataHash);
    // Writes what the recorder still holds and puts the file in place (a run
    // that ends without closing); the error, empty when the recording is whole.
    std::string finishRecording() {
        std::lock_guard lock(mutex_);
        return recorder_ ? recorder_->finish() : std::string();
    }
    // The same at a program's sudden end, unless the lock is held there (the file then stays beside).
    void finishRecordingIfFree() {
        std::unique_lock lock(mutex_, std::try_to_lock);
        if (lock.owns_lock() && recorder_) recorder_->finish();
    }
    bool recording() const {
        std::lock_guard lock(mutex_);
        return recorder_ && recorder_->attached();
    }
    // Replaying: the paint routine's settling of a recorded frame, and the
    // sound channels' status answers as they were recorded.
    void paintRecorded(int32_t frame);
    void replaySoundAnswers(std::map<int, std::vector<std::pair<int64_t, int>>> answers);

    bool running() const;  // Timer1 enabled
    bool closed() const { return closed_; }
    // True once the train has run past the end of the line (the window then closes).
    bool endOfLineReached() const { return endOfLineReached_; }

    // Runs `f(run, panel)` under the run's lock.
    template <class F>
    auto locked(F&& f) {
        std::lock_guard lock(mutex_);
        return f(run_, panel_);
    }

    using PostedInput = RunHost::PostedInput;

private:
    void mmTimer1Timer();  // the 33 ms simulation step
    void updateSignalAspects();
    void timer1Timer();  // the 100 ms event-and-presentation step
    void buildMenu();
    void buildStationMenu();
    void setStartingValues();
    void loadSoundBank();
    void releaseSoundBank();
    void commonInputStart();
    // Applies one input's driver commands; returns the controller switches to post.
    std::vector<PostedInput> applyInput(const DriverInput& in);
    void apply(const DriverCommand& c, std::vector<PostedInput>& posted);
    void dispatchPad(const DriverInput& in, std::vector<PostedInput>& posted);
    void refreshHandleReadouts();
    void notchUpWithSound();
    void confirmAlarm();
    void callOut();
    int lowChannelCount() const;  // drive + route + call-out sounds, from channel 0
    void progress(const std::string& text) { services_.host.progress(text); }
    // The one hook every input passes, under the lock: the script line that repeats it.
    void record(const std::string& command) {
        if (recorder_) recorder_->input(command);
    }
    void settlePaint(int32_t frame);
    // What every jump does: the train standing at `position` at `clock`.
    void standAt(int32_t position, int64_t clock);

    Run run_;
    PanelModel panel_;
    mutable std::mutex mutex_;
    std::unique_ptr<SoundTap> soundTap_;  // before services_, which hands it out as the sound
    RunServices services_;
    std::unique_ptr<RunRecorder> recorder_;
    bool everStarted_ = false;
    std::unique_ptr<PeriodicTimer> mmTimer1_;
    std::unique_ptr<PeriodicTimer> timer1_;
    bool closed_ = false;
    DriveObserver observer_;  // reads the state after each step, never writes it
    bool endOfLineReached_ = false;
    CallOut lastCallOut_;
    int callOutCount_ = 0;
    int64_t framesRequested_ = 0, framesPainted_ = 0;
    std::string routeFile_;
};

}  // namespace ts
