#include "driving_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWindow>

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <QFileDialog>

#include "app_state.h"
#include "cue_line.h"
#include "dynamics/fixed_point.h"
#include "help_window.h"
#include "language.h"
#include "link_dialog.h"
#include "pictures.h"
#include "program_end.h"
#include "recording_file.h"
#include "release_hint_text.h"
#include "run/input_devices.h"
#include "setup_dialog.h"
#include "shown_text.h"
#include "sound/null_sound.h"
#include "value_window.h"
#include "video/ffmpeg_frame_source.h"
#include "view_blend.h"
#include "window_placement.h"

namespace ts {

namespace {

struct LabelPlace {
    const char* name;
    int left, top, width, height;
    Qt::Alignment align;
};

// The read-out column beside and below the driver's view.
const LabelPlace kLabels[] = {
    {cn::SignalLabel.text, 500, 112, 50, 18, Qt::AlignHCenter},
    {cn::SlopeText.text, 564, 201, 50, 18, Qt::AlignHCenter},
    {cn::Label1.text, 496, 313, 0, 0, Qt::AlignLeft},
    {cn::PowerLabel.text, 544, 313, 0, 0, Qt::AlignHCenter},
    {cn::BrakeLabel.text, 584, 313, 0, 0, Qt::AlignHCenter},
    {cn::Label4.text, 496, 337, 137, 19, Qt::AlignLeft},
    {cn::CarsLabel.text, 495, 361, 66, 19, Qt::AlignLeft},
    {cn::digi_speed.text, 496, 384, 0, 0, Qt::AlignLeft},
    {cn::Label3.text, 544, 417, 0, 0, Qt::AlignHCenter},
};

// The English meaning of a menu caption the run gives in Japanese, for its
// tooltip: the caption itself stays as the run (and the data) words it.
QString captionMeaning(const std::string& caption) {
    static const std::pair<const char*, const char*> meanings[] = {
        {"一時停止(&S)", QT_TRANSLATE_NOOP("ts::TForm1", "Pause")},
        {"運転再開(&S)", QT_TRANSLATE_NOOP("ts::TForm1", "Resume")},
        {"操作説明(&H)", QT_TRANSLATE_NOOP("ts::TForm1", "Key help")},
    };
    // Read in Japanese, the caption says it itself.
    if (currentLanguage() == Language::Japanese) return {};
    for (const auto& [japanese, meaning] : meanings)
        if (caption == japanese) return QCoreApplication::translate("ts::TForm1", meaning);
    return {};
}

}  // namespace

// The window's central area: black, holding the cab panel in its middle (in
// full screen the panel is smaller than the screen).
class ViewStage : public QWidget {
public:
    explicit ViewStage(QWidget* parent) : QWidget(parent) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, Qt::black);
        setPalette(pal);
        setAutoFillBackground(true);
    }
    QWidget* content = nullptr;
    QSize sizeHint() const override { return content ? content->size() : QWidget::sizeHint(); }
    void centre() {
        if (content) content->move((width() - content->width()) / 2, (height() - content->height()) / 2);
    }

protected:
    void resizeEvent(QResizeEvent*) override { centre(); }
};

TForm1::TForm1(const std::string& trainCode, std::function<void(const std::string&)> progress)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("TForm1");
    setAttribute(Qt::WA_DeleteOnClose, false);
    pictures_ = std::make_unique<QtPictures>();
    sound_ = app().makeSound ? app().makeSound() : std::make_unique<NullSound>();
    video_ = std::make_unique<FfmpegFrameSource>();
    frames_ = std::make_unique<FrameCache>(*video_);
    progress_ = std::move(progress);
    run_ = std::make_unique<DrivingRun>(trainCode,
                                        RunServices{*app().boxes, *app().timers, *pictures_, *sound_, *frames_, *this});
    comPort1_ = new ComPort(this);
    comPort1_->onOpened = [] { app().boxes->show("Connect to controller."); };
    comPort1_->onClosing = [] { app().boxes->show("Disconnect from controller."); };
    comPort1_->onMessage = [this](const std::string& m) { rxChar(m); };
    if (app().gameControllers) startPadDevices();
    buildMenu();
    buildPanel();
    setWindowTitle("Train Simulator");
    setSmoothView(app().smoothView);
    setViewScale(app().viewScale);
}

// The run goes first: its timers stop before anything they call is freed.
TForm1::~TForm1() { run_.reset(); }

void TForm1::progress(const std::string& text) {
    if (progress_) progress_(text);
}

void TForm1::afterPresentationStep() {
    refresh();
    if (afterStep) afterStep();
}

void TForm1::requestClose() { close(); }

void TForm1::frameAdvanced() { ViewPainter::wake(*paintSignal_); }

void TForm1::closeSerialPort() { comPort1_->close(); }

void TForm1::postInput(PostedInput input) {
    if (replaying_) return;
    QKeyEvent* e = nullptr;
    switch (input) {
        case PostedInput::Space: e = new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "); break;
        case PostedInput::Horn: e = new QKeyEvent(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, "3"); break;
        case PostedInput::Enter: e = new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier); break;
    }
    QCoreApplication::postEvent(this, e);
}

void TForm1::buildMenu() {
    auto* bar = menuBar();
    // The menu bar shows no tooltips of its own: the filter shows a caption's meaning.
    bar->installEventFilter(this);
    auto add = [this](QMenu* menu, const char* name) {
        auto* a = menu->addAction(QString());
        a->setObjectName(name);
        actions_[name] = a;
        return a;
    };
    auto* start = bar->addAction(QString());
    start->setObjectName(cn::start1.text);
    actions_[cn::start1.text] = start;
    connect(start, &QAction::triggered, this, [this] {
        if (onLiveInput) onLiveInput();
        start1Click();
    });

    auto* go = bar->addMenu(QString());
    go->setObjectName(cn::GoTo1.text);
    menus_[cn::GoTo1.text] = go;
    auto* show = bar->addMenu(QString());
    show->setObjectName(cn::Show1.text);
    menus_[cn::Show1.text] = show;
    show->setToolTipsVisible(true);
    connect(add(show, cn::menu_d1.text), &QAction::triggered, this, [this] { menu_d1Click(); });
    recordItem_ = show->addAction(QString());
    recordItem_->setObjectName("recordRun");
    connect(recordItem_, &QAction::triggered, this, [this] { recordClick(); });
    sizeMenu_ = show->addMenu(QString());
    sizeMenu_->setObjectName("viewSize");
    sizeMenu_->setToolTipsVisible(true);
    connect(sizeMenu_, &QMenu::aboutToShow, this, [this] { offerFittingSizes(); });
    auto* sizes = new QActionGroup(this);
    for (const double scale : {1.0, 1.5, 2.0, 3.0, 0.0}) {
        QAction* a = sizeMenu_->addAction(QString());
        a->setCheckable(true);
        sizes->addAction(a);
        sizeItems_[scale] = a;
        connect(a, &QAction::triggered, this, [this, scale] { setViewScale(scale); });
    }
    liveLinkItem_ = show->addAction(QString());
    liveLinkItem_->setObjectName("liveLink");
    connect(liveLinkItem_, &QAction::triggered, this, [this] { showLinkDialog(this); });
    smoothItem_ = show->addAction(QString());
    smoothItem_->setObjectName("smoothView");
    smoothItem_->setCheckable(true);
    connect(smoothItem_, &QAction::triggered, this, [this](bool on) { setSmoothView(on); });
    // For this run only: every window open retranslates itself.
    languageMenu_ = show->addMenu(QString());
    languageMenu_->setObjectName("language");
    auto* languages = new QActionGroup(this);
    // Each language is named in its own words, so that it is found whatever is shown.
    const std::pair<const char*, Language> choices[] = {{"ja", Language::Japanese}, {"en", Language::English}};
    for (const auto& [code, language] : choices) {
        QAction* a = languageMenu_->addAction(language == Language::Japanese ? QStringLiteral("日本語")
                                                                             : QStringLiteral("English"));
        a->setObjectName(QStringLiteral("language_%1").arg(QLatin1String(code)));
        a->setCheckable(true);
        languages->addAction(a);
        languageItems_[code] = a;
        connect(a, &QAction::triggered, this, [language = language] { useLanguage(language); });
    }
    connect(languageMenu_, &QMenu::aboutToShow, this, [this] {
        languageItems_["ja"]->setChecked(currentLanguage() == Language::Japanese);
        languageItems_["en"]->setChecked(currentLanguage() == Language::English);
    });
    auto* ctl = bar->addMenu(QString());
    ctl->setObjectName(cn::Controller1.text);
    menus_[cn::Controller1.text] = ctl;
    connect(add(ctl, cn::COM11.text), &QAction::triggered, this, [this] { COM11Click(); });
    connect(add(ctl, cn::COM21.text), &QAction::triggered, this, [this] { COM21Click(); });
    connect(add(ctl, cn::Setup1.text), &QAction::triggered, this, [this] { Setup1Click(); });
    connect(add(ctl, cn::Connect1.text), &QAction::triggered, this, [this] { Connect1Click(); });
    padItem_ = ctl->addAction(QString());
    padItem_->setObjectName("gameController");
    actions_["gameController"] = padItem_;
    connect(padItem_, &QAction::triggered, this, [this] { gameControllerClick(); });
    retranslate();
}

void TForm1::retranslate() {
    recordItem_->setText(tr("Record this run…"));
    sizeMenu_->setTitle(tr("Size"));
    const std::pair<double, const char*> steps[] = {{1, QT_TR_NOOP("1×")},
                                                    {1.5, QT_TR_NOOP("1.5×")},
                                                    {2, QT_TR_NOOP("2×")},
                                                    {3, QT_TR_NOOP("3×")},
                                                    {0, QT_TR_NOOP("Full screen")}};
    for (const auto& [scale, text] : steps) sizeItems_[scale]->setText(tr(text));
    liveLinkItem_->setText(tr("Live link…"));
    smoothItem_->setText(tr("Smooth view"));
    languageMenu_->setTitle(tr("Language"));
    padItem_->setText(tr("Game controller…"));
    if (cues_) cues_->retranslate();
}

void TForm1::buildPanel() {
    cab_ = new CabView(*pictures_, this);
    QPalette pal = cab_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    cab_->setPalette(pal);
    stage_ = new ViewStage(this);
    cab_->setParent(stage_);
    stage_->content = cab_;
    stage_->setFixedSize(cab_->size());
    setCentralWidget(stage_);

    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(16);
    for (const auto& place : kLabels) {
        auto* l = new QLabel(cab_);
        l->setObjectName(place.name);
        l->setTextFormat(Qt::PlainText);
        l->setFont(mono);
        l->setPalette(pal);
        l->setAlignment(place.align | Qt::AlignVCenter);
        l->move(place.left, place.top);
        if (place.width > 0) l->setFixedSize(place.width, place.height);
        labels_[place.name] = l;
    }
    back_ = new QLabel(cab_);
    back_->setObjectName("back");
    back_->setPixmap(backButtonPicture());
    back_->setGeometry(618, 417, 20, 20);
    back_->installEventFilter(this);
    hint_ = new QLabel(cab_);
    hint_->setObjectName("ReleaseHint");
    hint_->setWordWrap(true);
    hint_->setStyleSheet("QLabel { background: rgba(0, 0, 0, 170); color: #ffd040; padding-left: 4px; }");
    hint_->hide();
    cues_ = std::make_unique<CueLine>(cab_);
    placeHint();
    cab_->raiseCard();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm1::applyScale(double scale) {
    scale_ = scale;
    cab_->setScale(scale);
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(int(std::lround(16 * scale)));
    for (const auto& place : kLabels) {
        QLabel* l = labels_[place.name];
        l->setFont(mono);
        if (place.name == std::string(cn::Label3.text)) {
            // The clock ends short of the back button beside it (at 618), whatever the font.
            QFont clock = mono;
            const int room = int(std::floor((618 - place.left - 2) * scale));
            while (clock.pixelSize() > 6 && QFontMetrics(clock).horizontalAdvance("00:00:00") > room)
                clock.setPixelSize(clock.pixelSize() - 1);
            l->setFont(clock);
        }
        const QRect r = cab_->scaled(QRect(place.left, place.top, place.width, place.height));
        l->move(r.topLeft());
        if (place.width > 0)
            l->setFixedSize(r.size());
        else
            l->adjustSize();
    }
    back_->setPixmap(backButtonPicture(scale, cab_->devicePixelRatioF()));
    back_->setGeometry(cab_->scaled(QRect(618, 417, 20, 20)));
    placeHint();
}

void TForm1::showCues(const Run& run, ReleaseHint hint, bool started, bool paused, const CallOut& callOut,
                      int callOuts) {
    // Three seconds of the run's clock for what is said once.
    constexpr int32_t kShownTicks = 90;
    if (callOuts != callOutsSeen_) {
        callOutsSeen_ = callOuts;
        callOutUntil_ = run.clockTicks + kShownTicks;
    }
    if (lastHint_ == ReleaseHint::ProtectionAlarm && hint == ReleaseHint::None && run.atsConfirmed == 1)
        chimeUntil_ = run.clockTicks + kShownTicks;
    lastHint_ = hint;
    CueState s;
    s.door = doorCue(run, run);
    s.oneMan = run.oneManOperation == 1;
    s.paused = paused;
    s.releaseHintShown = hint != ReleaseHint::None;
    if (callOuts > 0 && run.clockTicks <= callOutUntil_) s.callOut = callOut;
    s.chime = run.clockTicks <= chimeUntil_;
    // Within 500 m of the stop the distance counts down to, and not yet in its platform.
    bool inPlatform = false;
    for (int i = 0; i < std::min(run.stationCount(), kStationFlags); ++i)
        inPlatform |= run.stationArrived[size_t(i)] == 1;
    if (started && !inPlatform && run.stopDistance > 0 && run.stopDistance <= 50000)
        s.stopMetres = double(run.stopDistance / 100);
    cues_->show(s);
}

void TForm1::placeHint() {
    QFont f = hint_->font();
    f.setPixelSize(int(std::lround(12 * scale_)));
    hint_->setFont(f);
    // Two lines: the longest hint does not fit the view's width in one.
    hint_->setGeometry(cab_->scaled(QRect(0, kViewHeight - 32, kViewWidth, 32)));
    if (cues_) cues_->place(scale_);
}

QSize TForm1::windowSizeAt(double scale) const {
    // The menu bar and the frame the window manager adds around the layout.
    const int menu = menuBar()->sizeHint().height();
    const auto* status = findChild<QStatusBar*>();
    const int below = status && status->isVisible() ? status->sizeHint().height() : 0;
    const QSize frame = frameGeometry().size() - geometry().size();
    return QSize(int(std::ceil(kCabWidth * scale)) + frame.width(),
                 int(std::ceil(kCabHeight * scale)) + menu + below + frame.height());
}

void TForm1::offerFittingSizes() {
    const QScreen* s = screenOf(this);
    if (!s) return;
    const QRect area = s->availableGeometry();
    for (const auto& [scale, item] : sizeItems_) {
        if (scale <= 0) continue;
        const QSize need = windowSizeAt(scale);
        const bool fits = need.width() <= area.width() && need.height() <= area.height();
        item->setEnabled(fits || scale == 1);
        item->setToolTip(fits ? QString()
                              : tr("Needs %1 × %2 pixels; the screen has %3 × %4 free")
                                    .arg(need.width())
                                    .arg(need.height())
                                    .arg(area.width())
                                    .arg(area.height()));
    }
}

void TForm1::setViewScale(double scale) {
    if (auto it = sizeItems_.find(scale); it != sizeItems_.end()) it->second->setChecked(true);
    app().viewScale = scale;
    if (scale > 0) {
        windowedScale_ = scale;
        const bool wasFull = fullScreen_;
        // Where the window stood (before full screen, the place it left).
        const QPoint centre = wasFull ? windowedCentre_ : frameGeometry().center();
        if (fullScreen_) {
            fullScreen_ = false;
            setWindowState(windowState() & ~Qt::WindowFullScreen);
        }
        applyScale(scale);
        stage_->setMinimumSize(0, 0);
        stage_->setFixedSize(cab_->size());
        layout()->setSizeConstraint(QLayout::SetFixedSize);
        if (isVisible()) {
            // The whole window stays on the screen it is on, around where it stood.
            const QScreen* s = screenOf(this);
            QRect want(QPoint(0, 0), windowSizeAt(scale));
            want.moveCenter(centre);
            if (s) want = fitInside(want, s->availableGeometry());
            move(want.topLeft());
        }
        return;
    }
    // Full screen: the largest scale of the layout that fits below the menu.
    if (!fullScreen_ && isVisible()) windowedCentre_ = frameGeometry().center();
    fullScreen_ = true;
    const QScreen* s = screenOf(this);
    // The status line takes its room too once a game controller has shown it.
    const auto* status = findChild<QStatusBar*>();
    const int below = status && status->isVisible() ? status->sizeHint().height() : 0;
    const QSize room =
        s ? s->geometry().size() - QSize(0, menuBar()->sizeHint().height() + below) : QSize(kCabWidth, kCabHeight);
    // Whole pixels of the layout: a scale a little under the exact fit.
    const double fit = std::max(
        1.0, std::floor(std::min(double(room.width()) / kCabWidth, double(room.height()) / kCabHeight) * 100) / 100);
    applyScale(fit);
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    stage_->setMinimumSize(0, 0);
    stage_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The fixed size of the windowed layout stays on the window itself.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // Without a window manager the state alone does not size the window.
    if (s) setGeometry(s->geometry());
    // Also before the window is first shown: it then opens full screen.
    setWindowState(windowState() | Qt::WindowFullScreen);
    stage_->centre();
}

void TForm1::setSmoothView(bool on) {
    smooth_ = on;
    app().smoothView = on;
    smoothItem_->setChecked(on);
}

void TForm1::formCreate() {
    run_->formCreate();
    refresh();
}

void TForm1::runModal() {
    setWindowModality(Qt::ApplicationModal);
    show();
    if (const QScreen* s = screen(); s && !fullScreen_) move(s->availableGeometry().center() - rect().center());
    if (!isVisible()) return;
    QEventLoop loop;
    connect(this, &TForm1::closed, &loop, &QEventLoop::quit);
    loop.exec();
}

void TForm1::syncStationMenu(const PanelModel& p) {
    if (stationItems_ == p.stations.size()) return;
    QMenu* go = menus_[cn::GoTo1.text];
    go->clear();
    go->setToolTipsVisible(true);
    for (size_t k = 0; k < p.stations.size(); ++k) {
        auto* a = go->addAction(QString());
        setNameEntry(a, QString::fromStdString(p.stations[k].caption), go->font());
        a->setObjectName(QString::fromStdString(p.stations[k].name));
        const std::string name = p.stations[k].name;
        connect(a, &QAction::triggered, this, [this, name] {
            if (onLiveInput) onLiveInput();
            guarded([&] { run_->StationClick(name); });
            refresh();
        });
    }
    stationItems_ = p.stations.size();
}

void TForm1::stationClick(int index) {
    const std::string name = "Sta" + std::to_string(index);
    // As the menu item does, without passing for the driver's own click.
    for (QAction* a : menus_[cn::GoTo1.text]->actions())
        if (a->objectName().toStdString() == name) {
            guarded([&] { run_->StationClick(name); });
            refresh();
            return;
        }
}

void TForm1::jumpToFrame(int frame) {
    guarded([&] { run_->jumpToFrame(frame); });
    refresh();
}

void TForm1::refresh() {
    const ReleaseHint releaseNow = run_->releaseHint();
    const bool started = run_->started();
    const bool paused = started && !run_->running();
    const std::pair<CallOut, int> callOut = run_->lastCallOut();
    run_->locked([&, this](Run& run, PanelModel& p) {
        cab_->takeFrom(run, p);
        syncStationMenu(p);
        // The caption is the route's line name once the run has loaded.
        if (const QString title = titleText(QString::fromStdString(p.caption), font()); windowTitle() != title)
            setWindowTitle(title);
        for (const auto& item : p.menu) {
            const QString caption = QString::fromStdString(item.caption);
            const QString meaning = captionMeaning(item.caption);
            if (auto a = actions_.find(item.name); a != actions_.end()) {
                a->second->setText(caption);
                a->second->setToolTip(meaning.isEmpty() ? QString(caption).remove(QLatin1Char('&')) : meaning);
            }
            if (auto m = menus_.find(item.name); m != menus_.end()) {
                m->second->setTitle(caption);
                m->second->menuAction()->setToolTip(meaning.isEmpty() ? QString(caption).remove(QLatin1Char('&'))
                                                                      : meaning);
            }
        }
        if (const QString title = titleText(QString::fromStdString(p.valueDisplayCaption), font());
            app().valueDisplay && app().valueDisplay->windowTitle() != title)
            app().valueDisplay->setWindowTitle(title);
        for (const auto& [name, shown] : p.labelVisible)
            if (auto it = labels_.find(name); it != labels_.end()) it->second->setVisible(shown);
        const QString hint = releaseHintText(releaseNow);
        if (hint_->text() != hint) hint_->setText(hint);
        if (hint_->isVisibleTo(cab_) == hint.isEmpty()) hint_->setVisible(!hint.isEmpty());
        showCues(run, releaseNow, started, paused, callOut.first, callOut.second);
        if (app().valueDisplay && app().valueDisplay->isVisible()) {
            auto values = p.valueDisplay;
            values[vd::Label23.text] = p.wheel;
            app().valueDisplay->showValues(values);
        }
        for (const auto& [name, text] : p.labels) {
            auto it = labels_.find(name);
            if (it == labels_.end()) continue;
            // Station names among them, as the route file writes them.
            const QString t = shownText(text);
            if (it->second->text() != t) {
                it->second->setText(t);
                if (it->second->minimumWidth() == 0) it->second->adjustSize();
            }
        }
    });
}

QAction* TForm1::action(const std::string& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QLabel* TForm1::label(const std::string& name) const {
    auto it = labels_.find(name);
    return it == labels_.end() ? nullptr : it->second;
}

void TForm1::start1Click() {
    guarded([this] { run_->start1Click(); });
    refresh();
}

void TForm1::backClick() { close(); }

void TForm1::menu_d1Click() {
    if (app().help) app().help->show();
}

namespace {

Key keyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_ScrollLock: return Key::ScrollLock;
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Enter;
        default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return Key(int(Key::F1) + (qtKey - Qt::Key_F1));
    return Key::Other;
}

}  // namespace

void TForm1::forwardKey(QKeyEvent* e) {
    // As on Windows: the key-down first, then the character it types.
    ShiftState s;
    s.shift = e->modifiers() & Qt::ShiftModifier;
    s.ctrl = e->modifiers() & Qt::ControlModifier;
    s.alt = e->modifiers() & Qt::AltModifier;
    s.mouseButton = QApplication::mouseButtons() != Qt::NoButton;
    keyDown(keyOf(e->key()), s);
    const QString text = e->text();
    if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F) asciiDown(char(text[0].unicode()));
}

void TForm1::keyDown(Key key, ShiftState shift) {
    guarded([&] { run_->keydowns(key, shift); });
    refresh();
}

void TForm1::asciiDown(char c) {
    guarded([&] { run_->AsciiDown(c); });
    refresh();
}

void TForm1::wheel(int notches) {
    guarded([&] {
        for (int i = 0; i < notches; ++i) run_->WheelU();
        for (int i = 0; i < -notches; ++i) run_->WheelD();
    });
    refresh();
}

void TForm1::deviceInput(const std::string& word, const std::string& arguments) {
    const InputDevice* device = findInputDevice(word);
    if (!device) return;
    guarded([&] { ts::deviceInput(*run_, *device, arguments); });
    refresh();
}

void TForm1::wheelEvent(QWheelEvent* e) {
    if (onLiveInput) onLiveInput();
    // A high-resolution wheel sends parts of a notch (120 units); they add up.
    wheelRemainder_ += e->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0) wheel(notches);
    e->accept();
}

void TForm1::togglePort() {
    if (comPort1_->isOpen()) {
        comPort1_->close();
        return;
    }
    QString error;
    if (!comPort1_->open(error)) app().boxes->show(tr("Cannot open the controller port %1").arg(error).toStdString());
}

void TForm1::selectPort(const QString& name) {
    if (comPort1_->isOpen() && comPort1_->settings.name != name) {
        // Renaming an open port closes it and opens it again under the new name.
        comPort1_->close();
        comPort1_->settings.name = name;
        QString error;
        if (!comPort1_->open(error))
            app().boxes->show(tr("Cannot open the controller port %1").arg(error).toStdString());
        return;
    }
    comPort1_->settings.name = name;
}

void TForm1::COM11Click() {
    selectPort("COM1");
    togglePort();
}

void TForm1::COM21Click() {
    selectPort("COM2");
    togglePort();
}

void TForm1::Setup1Click() {
    PortSettings s = comPort1_->settings;
    if (runSetupDialog(this, s)) {
        const bool wasOpen = comPort1_->isOpen();
        if (wasOpen) comPort1_->close();
        comPort1_->settings = s;
        if (wasOpen) togglePort();
    }
}

void TForm1::Connect1Click() { togglePort(); }

void TForm1::rxChar(const std::string& message) {
    guarded([&] { run_->RxChar(message); });
    refresh();
}

namespace {
QWidget* auxWindow(AuxWindow w) {
    return w == AuxWindow::Help ? static_cast<QWidget*>(app().help) : static_cast<QWidget*>(app().valueDisplay);
}
}  // namespace

bool TForm1::isShown(AuxWindow w) const {
    QWidget* window = auxWindow(w);
    return window && window->isVisible();
}

void TForm1::setShown(AuxWindow w, bool shown) {
    QWidget* window = auxWindow(w);
    if (!window) return;
    if (!shown) {
        window->hide();
        if (window->windowHandle()) window->windowHandle()->setTransientParent(nullptr);
        return;
    }
    if (window->isVisible()) return;
    // A transient of the driving window: the window manager keeps it above
    // (full screen too), and the driving window's modality lets it take input.
    window->winId();
    winId();
    window->windowHandle()->setTransientParent(windowHandle());
    showOver(window, this);
}

void TForm1::keyPressEvent(QKeyEvent* e) {
    // F11 (the run gives only Shift+F11 a meaning) toggles full screen; Esc leaves it.
    if (e->key() == Qt::Key_F11 && e->modifiers() == Qt::NoModifier) {
        setViewScale(fullScreen_ ? windowedScale_ : 0);
        return;
    }
    if (e->key() == Qt::Key_Escape && fullScreen_) {
        setViewScale(windowedScale_);
        return;
    }
    if (onLiveInput) onLiveInput();
    forwardKey(e);
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
    if (watched == menuBar() && e->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(e);
        const QAction* a = menuBar()->actionAt(help->pos());
        const QString tip = a ? a->toolTip() : QString();
        if (!tip.isEmpty() && tip != QString(a->text()).remove(QLatin1Char('&')))
            QToolTip::showText(help->globalPos(), tip, menuBar());
        else
            QToolTip::hideText();
        return true;
    }
    if (watched == back_ && e->type() == QEvent::MouseButtonRelease) {
        backClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

void TForm1::startPainting() { startPainterThread(); }

void TForm1::recordClick() {
    const QString file = QFileDialog::getSaveFileName(this, tr("Record this run"), QString(), tr("Recordings (*.txt)"));
    if (file.isEmpty()) return;
    std::string error;
    if (beginRecording(*this, file.toStdString(), error)) {
        app().boxes->show(tr("This run is recorded to %1.").arg(file).toStdString());
    } else if (run_->started()) {
        // What came before Start is gone: the recording is made of the next run.
        app().recordTo = file.toStdString();
        app().boxes->show(tr("This run has started: the next run is recorded to %1.").arg(file).toStdString());
    } else {
        app().boxes->show(tr("Cannot record: %1").arg(QString::fromStdString(error)).toStdString());
    }
}

void TForm1::changeEvent(QEvent* e) {
    // Activate: the painting thread starts at the first activation.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && app().startPainter) startPainterThread();
    if (e->type() == QEvent::LanguageChange && recordItem_) {
        retranslate();
        // The release hint and the cues in the new language at once, also while paused.
        refresh();
    }
    QMainWindow::changeEvent(e);
}

void TForm1::closeEvent(QCloseEvent* e) {
    if (!closing_) {
        closing_ = true;
        painter_.reset();  // told to stop and waited for
        worker_.reset();
        if (padDevices_) padDevices_->stop();
        if (qEnvironmentVariableIsSet("TRAINSIM_PAINT_STATS"))
            std::fprintf(stderr, "frames requested %lld, painted %lld\n", (long long)run_->framesRequested(),
                         (long long)run_->framesPainted());
        guarded([this] { run_->closeQuery(); });
        // No window may go on showing a run that has ended.
        setShown(AuxWindow::Help, false);
        setShown(AuxWindow::ValueDisplay, false);
        emit closed();
    }
    e->accept();
}

}  // namespace ts
