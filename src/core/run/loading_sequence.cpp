// FormCreate: the loading sequence that builds a run from its data files.
#include "controls/handle_model.h"
#include "data/controller_map.h"
#include "data/file_names.h"
#include "data/route_reader.h"
#include "data/string_table.h"
#include "data/train_reader.h"
#include "dynamics/brake_types.h"
#include "dynamics/fixed_point.h"
#include "events/codes.h"
#include "panel_builder.h"
#include "panel_names.h"
#include "run/driving_run.h"

namespace ts {

namespace {

// The adhesion coefficient at standstill, x 10000 (0.345); it falls with speed.
constexpr int64_t kStandstillAdhesion = 3450;
// The line voltage the supply rises to after loading, x 10000.
constexpr int64_t kLineVoltageOn = 180000;
// The primary sound buffer's format.
constexpr int kPrimarySampleRate = 22050;
constexpr int kPrimaryBitsPerSample = 8;

void applyStringTable(Run& run, PanelModel& panel, const StringTable& t) {
    run.handleLabelTexts = t.handleLabelTexts;
    if (t.startCaption) panel.setMenuCaption(cn::start1, *t.startCaption);
    if (t.moveCaption) panel.setMenuCaption(cn::GoTo1, *t.moveCaption);
    if (t.displayCaption) panel.setMenuCaption(cn::Show1, *t.displayCaption);
    if (t.helpCaption) panel.setMenuCaption(cn::menu_d1, *t.helpCaption);
    if (t.controlCaption) panel.setMenuCaption(cn::Controller1, *t.controlCaption);
}

}  // namespace

void DrivingRun::buildStationMenu() {
    panel_.stations.clear();
    for (int i = 0; i + 1 < run_.stationCount(); ++i) {
        const StationData& s = run_.stationTable[size_t(i)];
        if (s.kind == 0 || s.kind == 2) panel_.stations.push_back({"Sta" + std::to_string(i), s.name});
    }
}

void DrivingRun::formCreate() {
    std::lock_guard lock(mutex_);
    MessageBoxes& boxes = services_.boxes;
    addWindowPictures(panel_);

    progress("設定ファイルを読み込んでいます");
    run_.controllerCodes = readControllerMap(resolveDataPath("mascon.txt"), boxes);
    readRouteFile(routeFile_.empty() ? resolveDataPath(run_.trainCode + "_line.txt") : routeFile_, run_,
                  services_.pictures, boxes);
    buildStationMenu();
    StringTable strings = readStringTable(resolveDataPath("string.txt"), boxes);
    applyStringTable(run_, panel_, strings);
    readTrainFile(resolveDataPath(run_.trainCode + "_train.txt"), run_, services_.pictures, boxes);
    // The two train values that the run may change start as loaded.
    run_.brakeNotchCount = run_.brakeNotchCountInFile;
    run_.ebSetting = run_.ebSettingInFile;
    run_.signalAspects.assign(size_t(run_.signalCount()), 0);

    progress("運転台を描画しています");
    addCabPanel(panel_, run_, run_, services_.pictures, boxes);
    run_.doorLampLit = 1;
    // A missing or unreadable video leaves the view blank, with no message.
    services_.video.setFit(run_.letterbox ? PictureFit::Letterbox : PictureFit::Crop);
    services_.video.setAlignment(run_.videoOffset, run_.videoRate);
    if (!run_.videoFile.empty()) services_.video.open(resolveDataPath(run_.videoFile));
    run_.lastPaintedFrame = kNoFrame;

    run_.clockTicks = run_.startTime;
    run_.trainPosition = run_.startPosition;

    progress("DirectSoundオブジェクトを作成しています");
    run_.stationArrived.fill(0);
    loadSoundBank();

    run_.motorSpeedLevel.assign(size_t(run_.motorSoundCount()), 1.0L);
    run_.motorFadeLevel.assign(size_t(run_.motorSoundCount()), 1.0L);
    run_.motorMasterLevel = 1.0L;
    run_.engineLevel = 1.0L;
    run_.carGradients.fill(0);
    panel_.setVisible(cn::Lamp_EB, false);

    progress("環境をセットアップしています");
    setStartingValues();
    refreshHandleReadouts();

    if (const int minimum = brakeTraits(run_.brakeType).minimumNotchCount; run_.brakeNotchCount < minimum) {
        fatal(boxes, "ブレーキの段数を3段以上に設定してください",
              "[Brake] brakeNotchCount\n" + brakeStepsExplanation(run_.brakeType, minimum, run_.brakeNotchCountInFile));
    }

    run_.staffShown = 0;
    run_.routeSoundStarted.assign(size_t(run_.routeSoundCount()), 0);
    run_.stationDepartureSoundPlayed.fill(0);
    run_.stationDeparted.fill(0);

    // A recording starts from the loaded run (still under the lock): until Start, what enters it is held.
    recorder_ = std::make_unique<RunRecorder>(run_.trainCode);
    soundTap_->observer = [this](int channel, int status) {
        if (recorder_) recorder_->soundStatus(channel, status);
    };
}

void DrivingRun::setStartingValues() {
    Run& r = run_;
    r.doorsOpen = 1;
    r.doorOpenCommand = 1;
    if (const int fixed = brakeTraits(r.brakeType).fixedNotchCount) r.brakeNotchCount = fixed;
    r.powerNotch = 0;
    r.brakeNotch = -r.brakeNotchCount;
    r.effectiveBrakeNotch = -r.brakeNotchCount;
    r.speed = 0;
    r.reverser = 0;
    r.frameAccumulator = 0;
    r.bcPressure = int64_t(r.ebPressure) * kFixedOne;
    r.mrPressure = int64_t(r.highAirPressure) * kFixedOne;
    r.compressorRunning = 0;
    r.nextSignalAspect = kNone;
    r.shownSignalAspect = kNone;
    r.atsAlarmState = kNone;
    r.inputLocked = 1;
    services_.sound.SetPrimaryFormat(kPrimarySampleRate, kPrimaryBitsPerSample, false);
    r.baseAdhesion = kStandstillAdhesion;
    r.presentationTicks = 0;
    r.appliedForce = 0;
    r.lineVoltage = 0;
    r.lineVoltageTarget = kLineVoltageOn;
    r.stopDistance = 0;
    r.currentGear = 0;
    if (r.stationCount() > 0) panel_.label(cn::Label4) = r.stationTable[0].name;
    panel_.label(cn::Label1) = r.handleLabelTexts[kForward];
    r.precedingTrainPosition = r.startPosition + r.preTimeTicks;
    panel_.label(cn::CarsLabel) = "現車" + std::to_string(r.carCount) + "両";
}

}  // namespace ts
