// The driving window TForm1: draws the panel model of its DrivingRun and
// forwards menu clicks, keys and the wheel to it.
#pragma once
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "cab_view.h"
#include "com_port.h"
#include "controls/game_pad.h"
#include "pad_devices.h"
#include "qt_pictures.h"
#include "run/driving_run.h"
#include "run_host.h"
#include "video/frame_cache.h"
#include "video/frame_worker.h"
#include "view_painter.h"

class QLabel;
class QAction;
class QMenu;

namespace ts {

class ViewStage;
class CueLine;

class TForm1 : public QMainWindow, public RunHost {
    Q_OBJECT
public:
    TForm1(const std::string& trainCode, std::function<void(const std::string&)> progress);
    ~TForm1() override;

    // The loading sequence (FormCreate); throws FatalError after its message.
    void formCreate();
    // Shows the window modally; returns when it has closed.
    void runModal();

    DrivingRun& run() { return *run_; }

    // Handlers, also called by the headless drive mode.
    void start1Click();
    void backClick();
    void menu_d1Click();
    // A click on the Move menu item of station index `index` (its Sta name).
    void stationClick(int index);
    // Stands the train at a frame (the editor's test drive, the script's goto).
    void jumpToFrame(int frame);
    void forwardKey(QKeyEvent* e);
    // Controller menu
    void COM11Click();
    void COM21Click();
    void Setup1Click();
    void Connect1Click();
    // One message from the serial controller (also the drive mode's "serial").
    void rxChar(const std::string& message);
    ComPort& comPort() { return *comPort1_; }
    void keyDown(Key key, ShiftState shift);
    void asciiDown(char c);
    // Wheel notches: positive away from the user (WheelU), negative toward (WheelD).
    void wheel(int notches);
    // Game controllers (also the drive mode's "pad" commands): the mapping of
    // `guid` from the data folder's mapping file, else the default one.
    void padConnect(const std::string& guid, const std::string& name, bool gamepad);
    void padDisconnect();
    void padAxis(int axis, int value);
    void padButton(int button, bool down);
    // The input of a device registered by its word (run/input_devices.h), from
    // the device itself, a drive script, a replay or a live-link client.
    void deviceInput(const std::string& word, const std::string& arguments);
    GamePad& gamePad() { return pad_; }
    PadDevices* padDevices() const { return padDevices_; }
    // Controller > Game controller…
    void gameControllerClick();
    // The status line under the panel, shown from its first message on.
    void showStatus(const QString& text);
    QString statusText() const;

    // The run's host.
    bool isShown(AuxWindow w) const override;
    void setShown(AuxWindow w, bool shown) override;
    void progress(const std::string& text) override;
    void afterPresentationStep() override;
    void requestClose() override;
    void postInput(PostedInput input) override;
    void frameAdvanced() override;
    void closeSerialPort() override;
    // Called after every 100 ms step once the window is redrawn (the drive mode's trace).
    std::function<void()> afterStep;

    // The paint routine of the driver's view (the painting thread hands it to
    // the user-interface thread; the drive mode calls it after every 33 ms step).
    void paintRoutine();
    // Headless runs: the paint routine keeps its rules but fetches no picture
    // until presentPicture() (a snapshot) asks for the frame last painted.
    void deferPictures(bool on);
    // A replay's paint: the run settles `frame` as the paint routine would, and it is shown.
    void paintRecorded(int32_t frame);
    // While a recording plays, a controller's switches are not posted again:
    // the keys they posted were recorded on their own.
    void setReplaying(bool on) { replaying_ = on; }
    bool replaying() const { return replaying_; }
    // Called before the driver's own input (keys, wheel, menu), so a watched replay can hand over.
    std::function<void()> onLiveInput;
    // Starts the painting thread if it does not run (after a watched replay).
    void startPainting();
    // Display menu, "Record this run…": asks for a file and records to it.
    void recordClick();
    void presentPicture();
    // True when the picture on view is the frame painted last (not a nearer one
    // standing in while it is decoded), with the smooth view's mix.
    bool viewSettled() const;

    // Redraws everything from the panel model.
    void refresh();
    QAction* action(const std::string& name) const;
    QLabel* label(const std::string& name) const;
    // The line that says what releases a protection brake; hidden when none holds.
    QLabel* hintLine() const { return hint_; }
    CueLine* cues() const { return cues_.get(); }

    // Display > Size: 1, 1.5, 2 or 3 times the layout, or 0 for full screen
    // (the largest scale that fits, centred on black).
    void setViewScale(double scale);
    double viewScale() const { return fullScreen_ ? 0 : scale_; }
    // The scale drawn at (in full screen the one that fits).
    double drawnScale() const { return scale_; }
    // Display > Smooth view.
    void setSmoothView(bool on);
    bool smoothView() const { return smooth_; }
    CabView* cabView() const { return cab_; }
    // Told how long each paint routine took, in milliseconds (for measuring).
    std::function<void(double)> paintMeasured;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::function<void(const std::string&)> progress_;
    void buildMenu();
    // Our menu items' texts in the current language (Display > Language).
    void retranslate();
    void buildPanel();
    void startPadDevices();
    void syncStationMenu(const PanelModel& p);
    void selectPort(const QString& name);
    void togglePort();
    void applyScale(double scale);
    // The window's outer size at a scale (layout, menu, status line, frame).
    QSize windowSizeAt(double scale) const;
    // Display > Size: the sizes that cannot fit the screen are not offered.
    void offerFittingSizes();
    double windowedScale_ = 1;  // the size F11 and Esc go back to
    QPoint windowedCentre_;
    QImage viewImage(const ViewFrame& f) const;
    // Shows the picture of the frame painted last, mixed with the next one by the smooth view.
    void showView();
    bool insideVideo(int frame) const;
    void notePainted(int frame);
    // The picture of `frame` at out's size: from the decoder thread when there is one
    // (the nearest decoded frame until it is ready), else decoded here.
    FrameWorker::Match fetch(int frame, ViewFrame& out, int& got);
    void startPainterThread();
    // Once the painting thread runs: the decoder thread for the live view.
    void startVideoWorker();
    // Has the pictures of the station jumps and the start decoded in the background.
    void pinJumpPictures(QSize size);

    std::unique_ptr<QtPictures> pictures_;
    std::unique_ptr<TDDSD> sound_;
    std::unique_ptr<FrameSource> video_;
    std::unique_ptr<FrameCache> frames_;  // what the run decodes through
    ViewFrame frameBitmap_, nextBitmap_;
    // The frame painted last; the last one of them inside the video, whose picture
    // stays on view beyond either end; the frame whose picture is on view (the
    // nearest decoded one while that is not ready) and its size; the frame in nextView_.
    int shownFrame_ = -1, pictureFrame_ = -1, viewFrame_ = -1, nextFrame_ = -1;
    QSize viewSize_, pinnedSize_;
    bool paintedAny_ = false;
    bool workerTried_ = false;
    int mixWanted_ = -1;  // the frame the smooth view would mix in, -1 when none
    QImage nextView_;
    // Decodes for the live window off the user-interface thread (from the first activation).
    std::unique_ptr<FrameWorker> worker_;
    std::unique_ptr<ViewPainter> painter_;  // TAviPaint, from the first activation
    std::shared_ptr<PaintSignal> paintSignal_ = ViewPainter::makeSignal();
    std::unique_ptr<DrivingRun> run_;
    ComPort* comPort1_ = nullptr;
    GamePad pad_;
    PadDevices* padDevices_ = nullptr;
    CabView* cab_ = nullptr;
    ViewStage* stage_ = nullptr;
    double scale_ = 1;
    bool fullScreen_ = false;
    bool smooth_ = true;
    std::map<double, QAction*> sizeItems_;
    QAction* smoothItem_ = nullptr;
    QAction* recordItem_ = nullptr;
    QMenu* sizeMenu_ = nullptr;
    QAction* liveLinkItem_ = nullptr;
    QAction* padItem_ = nullptr;
    QMenu* languageMenu_ = nullptr;
    std::map<std::string, QAction*> languageItems_;  // "ja", "en"
    size_t stationItems_ = 0;
    std::map<std::string, QAction*> actions_;
    std::map<std::string, QMenu*> menus_;
    std::map<std::string, QLabel*> labels_;
    QLabel* back_ = nullptr;
    // At the foot of the view: what releases a protection brake, while one holds.
    QLabel* hint_ = nullptr;
    void placeHint();
    // Over the view: what is said only by sound (cue_line.h).
    std::unique_ptr<CueLine> cues_;
    // Under the run's lock: nothing here may ask the run again.
    void showCues(const Run& run, ReleaseHint hint, bool started, bool paused, const CallOut& callOut, int callOuts);
    int callOutsSeen_ = 0;
    int32_t callOutUntil_ = -1, chimeUntil_ = -1;
    ReleaseHint lastHint_ = ReleaseHint::None;
    bool closing_ = false;
    bool picturesDeferred_ = false;
    bool pictureStale_ = false;  // a frame was painted but not yet fetched
    bool replaying_ = false;
    int wheelRemainder_ = 0;
};

}  // namespace ts
