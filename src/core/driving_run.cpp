#include "driving_run.h"

#include "data/controller_map.h"
#include "data/file_names.h"
#include "data/string_table.h"

namespace ts {

DrivingRun::DrivingRun(std::string trainCode, MessageBoxes& boxes, TimerFactory& timers, Progress progress)
    : boxes_(boxes), timerFactory_(timers), progress_(std::move(progress)) {
    run_.trainCode = std::move(trainCode);
    buildMenu();
    mmTimer1_ = timerFactory_.create(33, TimerThread::Own, [this] {
        std::lock_guard lock(mutex_);
        mmTimer1Timer();
    });
    timer1_ = timerFactory_.create(100, TimerThread::Ui, [this] {
        {
            std::lock_guard lock(mutex_);
            timer1Timer();
        }
        if (afterPresentationStep) afterPresentationStep();
    });
}

DrivingRun::~DrivingRun() {
    if (mmTimer1_) mmTimer1_->stop();
    if (timer1_) timer1_->stop();
}

void DrivingRun::buildMenu() {
    panel_.menu = {{"start1", "Start"},     {"GoTo1", "Move"}, {"Show1", "Display"},
                   {"menu_d1", "操作説明(&H)"}, {"Controller1", "Controller(&C)"},
                   {"COM11", "COM1"},       {"COM21", "COM2"}, {"Setup1", "Setup"},
                   {"Connect1", "Connect"}};
    panel_.labels = {{"Label1", "FWD"},       {"PowerLabel", "N"},   {"BrakeLabel", "EB"},
                     {"Label4", "Train Position"}, {"CarsLabel", "Cars"}, {"digi_speed", "0km/h"},
                     {"Label3", "00:00:00"},  {"SignalLabel", ""},   {"SlopeText", ""}};
}

void DrivingRun::applyStringTable(const StringTable& t) {
    run_.handleLabelTexts = t.handleLabelTexts;
    if (t.startCaption) panel_.setMenuCaption("start1", *t.startCaption);
    if (t.moveCaption) panel_.setMenuCaption("GoTo1", *t.moveCaption);
    if (t.displayCaption) panel_.setMenuCaption("Show1", *t.displayCaption);
    if (t.helpCaption) panel_.setMenuCaption("menu_d1", *t.helpCaption);
    if (t.controlCaption) panel_.setMenuCaption("Controller1", *t.controlCaption);
}

void DrivingRun::formCreate() {
    std::lock_guard lock(mutex_);
    if (progress_) progress_("設定ファイルを読み込んでいます");
    run_.controllerCodes = readControllerMap(resolveDataPath("mascon.txt"), boxes_);
    applyStringTable(readStringTable(resolveDataPath("string.txt"), boxes_));
    if (progress_) progress_("運転台を描画しています");
    if (progress_) progress_("DirectSoundオブジェクトを作成しています");
    if (progress_) progress_("Soundを読み込んでいます");
    if (progress_) progress_("環境をセットアップしています");
    run_.inputLocked = 1;
    run_.stopDistance = 0;
    panel_.labels["Label1"] = run_.handleLabelTexts[kForward];
}

bool DrivingRun::running() const { return timer1_->enabled(); }

void DrivingRun::start1Click() {
    if (timer1_->enabled()) {
        mmTimer1_->stop();
        timer1_->stop();
        std::lock_guard lock(mutex_);
        panel_.setMenuCaption("start1", "運転再開(&S)");
        run_.inputLocked = 0;
    } else {
        {
            std::lock_guard lock(mutex_);
            panel_.setMenuCaption("start1", "一時停止(&S)");
            run_.inputLocked = 0;
        }
        mmTimer1_->start();
        timer1_->start();
    }
}

void DrivingRun::closeQuery() {
    if (closed_) return;
    mmTimer1_->stop();
    timer1_->stop();
    std::lock_guard lock(mutex_);
    run_.stopDistance = 0;
    closed_ = true;
}

void DrivingRun::mmTimer1Timer() {}

void DrivingRun::timer1Timer() {}

}  // namespace ts
