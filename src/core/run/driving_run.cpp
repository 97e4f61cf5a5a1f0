#include "run/driving_run.h"
#include "panel_names.h"
#include "run/run_parts.h"
#include "sound_channels.h"

#include "events/signals.h"

namespace ts {

DrivingRun::DrivingRun(std::string trainCode, RunServices services)
    : soundTap_(std::make_unique<SoundTap>(services.sound)), services_{services.boxes,    services.timers,
                                                                       services.pictures, *soundTap_,
                                                                       services.video,    services.host} {
    run_.trainCode = std::move(trainCode);
    carriedOver().into(run_);
    buildMenu();
    mmTimer1_ = services_.timers.create(33, TimerThread::Own, [this] { simulationTick(); });
    timer1_ = services_.timers.create(100, TimerThread::Ui, [this] { presentationTick(); });
}

void DrivingRun::simulationTick() {
    std::lock_guard lock(mutex_);
    if (recorder_) recorder_->simulationStep();
    mmTimer1Timer();
    observer_.afterSimulationStep(run_);
}

void DrivingRun::presentationTick() {
    bool end;
    {
        std::lock_guard lock(mutex_);
        if (recorder_) recorder_->presentationStep();
        timer1Timer();
        observer_.afterPresentationStep(run_);
        end = endOfLineReached_;
    }
    services_.host.afterPresentationStep();
    if (end) services_.host.requestClose();
}

bool DrivingRun::startRecording(RunRecorder::Target target, const std::string& dataHash) {
    std::lock_guard lock(mutex_);
    if (!recorder_ || recorder_->attached()) return false;
    recorder_->attach(std::move(target), dataHash);
    return true;
}

void DrivingRun::replaySoundAnswers(std::map<int, std::vector<std::pair<int64_t, int>>> answers) {
    std::lock_guard lock(mutex_);
    soundTap_->replay(std::move(answers));
}

DrivingRun::~DrivingRun() {
    if (mmTimer1_) mmTimer1_->stop();
    if (timer1_) timer1_->stop();
}

void DrivingRun::buildMenu() {
    panel_.menu = {{cn::start1, "Start"},
                   {cn::GoTo1, "Move"},
                   {cn::Show1, "Display"},
                   {cn::menu_d1, "操作説明(&H)"},
                   {cn::Controller1, "Controller(&C)"},
                   {cn::COM11, "COM1"},
                   {cn::COM21, "COM2"},
                   {cn::Setup1, "Setup"},
                   {cn::Connect1, "Connect"}};
    panel_.labels = {
        {cn::Label1, "FWD"},     {cn::PowerLabel, "N"},     {cn::BrakeLabel, "EB"},   {cn::Label4, "Train Position"},
        {cn::CarsLabel, "Cars"}, {cn::digi_speed, "0km/h"}, {cn::Label3, "00:00:00"}, {cn::SignalLabel, ""},
        {cn::SlopeText, ""}};
}

bool DrivingRun::running() const { return timer1_->enabled(); }

void DrivingRun::start1Click() {
    if (timer1_->enabled()) {
        mmTimer1_->stop();
        timer1_->stop();
        std::lock_guard lock(mutex_);
        record("start");
        panel_.setMenuCaption(cn::start1, "運転再開(&S)");
        run_.inputLocked = 0;
    } else {
        {
            std::lock_guard lock(mutex_);
            record("start");
            if (!everStarted_ && recorder_ && !recorder_->attached()) {
                // Nobody asked for a recording before Start: stop holding one.
                soundTap_->observer = nullptr;
                recorder_.reset();
            }
            everStarted_ = true;
            panel_.setMenuCaption(cn::start1, "一時停止(&S)");
            run_.inputLocked = 0;
        }
        mmTimer1_->start();
        timer1_->start();
    }
}

int DrivingRun::lowChannelCount() const { return ChannelMap::of(run_, run_).lowCount(); }

void DrivingRun::closeQuery() {
    if (closed_) return;
    mmTimer1_->stop();
    timer1_->stop();
    services_.host.closeSerialPort();
    std::lock_guard lock(mutex_);
    record("close");
    // The recording is whole now; a failure to put it in place was reported by its target.
    if (recorder_) recorder_->finish();
    run_.stopDistance = 0;
    TDDSD& sound = services_.sound;
    for (int ch = 0; ch < lowChannelCount(); ++ch) sound.Channel(ch).Stop();
    for (int i = 0; i < run_.motorSoundCount(); ++i) sound.Channel(ChannelMap::motor(i)).Stop();
    releaseSoundBank();
    carriedOver().from(run_);
    closed_ = true;
    if (!sound.reinitialise()) {
        services_.boxes.show("DirectSoundを初期化できませんでした。");
        fatal(services_.boxes, "安全のため一旦終了いたします。");
    }
}

void DrivingRun::updateSignalAspects() {
    const RunParts s = partsOf(run_);
    computeSignalAspects(s.route, s.motion, s.signal);
}

}  // namespace ts
