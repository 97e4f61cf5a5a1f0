#include "driving_window.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

#include <cstdio>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>

#include "app_state.h"
#include "help_window.h"
#include "setup_dialog.h"
#include "value_window.h"
#include "pictures.h"
#include "program_end.h"
#include "sound/null_sound.h"
#include "video/ffmpeg_frame_source.h"

namespace ts {

namespace {

struct LabelPlace {
    const char* name;
    int left, top, width, height;
    Qt::Alignment align;
};

// The read-out column beside and below the driver's view.
const LabelPlace kLabels[] = {
    {"SignalLabel", 500, 112, 50, 18, Qt::AlignHCenter},
    {"SlopeText", 564, 201, 50, 18, Qt::AlignHCenter},
    {"Label1", 496, 313, 0, 0, Qt::AlignLeft},
    {"PowerLabel", 544, 313, 0, 0, Qt::AlignHCenter},
    {"BrakeLabel", 584, 313, 0, 0, Qt::AlignHCenter},
    {"Label4", 496, 337, 137, 19, Qt::AlignLeft},
    {"CarsLabel", 495, 361, 66, 19, Qt::AlignLeft},
    {"digi_speed", 496, 384, 0, 0, Qt::AlignLeft},
    {"Label3", 544, 417, 0, 0, Qt::AlignHCenter},
};

}  // namespace

TForm1::TForm1(const std::string& trainCode, std::function<void(const std::string&)> progress)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("TForm1");
    setAttribute(Qt::WA_DeleteOnClose, false);
    pictures_ = std::make_unique<QtPictures>();
    sound_ = app().makeSound ? app().makeSound() : std::make_unique<NullSound>();
    video_ = std::make_unique<FfmpegFrameSource>();
    run_ = std::make_unique<DrivingRun>(
        trainCode, RunServices{*app().boxes, *app().timers, *pictures_, *sound_, *video_, std::move(progress)});
    run_->afterPresentationStep = [this] { refresh(); };
    run_->windows = this;
    run_->requestClose = [this] { close(); };
    // Called by the simulation step (its own thread) when the train moved onto another frame.
    run_->frameAdvanced = [signal = paintSignal_] { ViewPainter::wake(*signal); };
    comPort1_ = new ComPort(this);
    comPort1_->onOpened = [] { app().boxes->show("Connect to controller."); };
    comPort1_->onClosing = [] { app().boxes->show("Disconnect from controller."); };
    comPort1_->onMessage = [this](const std::string& m) { rxChar(m); };
    run_->closeSerialPort = [this] { comPort1_->close(); };
    run_->postInput = [this](DrivingRun::PostedInput input) {
        QKeyEvent* e = nullptr;
        switch (input) {
            case DrivingRun::PostedInput::Space: e = new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "); break;
            case DrivingRun::PostedInput::Horn: e = new QKeyEvent(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, "3"); break;
            case DrivingRun::PostedInput::Enter: e = new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier); break;
        }
        QCoreApplication::postEvent(this, e);
    };
    buildMenu();
    buildPanel();
    setWindowTitle("Train Simulator");
}

TForm1::~TForm1() = default;

void TForm1::buildMenu() {
    auto* bar = menuBar();
    auto add = [this](QMenu* menu, const char* name) {
        auto* a = menu->addAction(QString());
        a->setObjectName(name);
        actions_[name] = a;
        return a;
    };
    auto* start = bar->addAction(QString());
    start->setObjectName("start1");
    actions_["start1"] = start;
    connect(start, &QAction::triggered, this, [this] { start1Click(); });

    auto* go = bar->addMenu(QString());
    go->setObjectName("GoTo1");
    menus_["GoTo1"] = go;
    auto* show = bar->addMenu(QString());
    show->setObjectName("Show1");
    menus_["Show1"] = show;
    connect(add(show, "menu_d1"), &QAction::triggered, this, [this] { menu_d1Click(); });
    auto* ctl = bar->addMenu(QString());
    ctl->setObjectName("Controller1");
    menus_["Controller1"] = ctl;
    connect(add(ctl, "COM11"), &QAction::triggered, this, [this] { COM11Click(); });
    connect(add(ctl, "COM21"), &QAction::triggered, this, [this] { COM21Click(); });
    connect(add(ctl, "Setup1"), &QAction::triggered, this, [this] { Setup1Click(); });
    connect(add(ctl, "Connect1"), &QAction::triggered, this, [this] { Connect1Click(); });
}

void TForm1::buildPanel() {
    cab_ = new CabView(*pictures_, this);
    QPalette pal = cab_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    cab_->setPalette(pal);
    setCentralWidget(cab_);

    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(16);
    for (const auto& place : kLabels) {
        auto* l = new QLabel(cab_);
        l->setObjectName(place.name);
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
    cab_->raiseCard();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm1::formCreate() {
    run_->formCreate();
    refresh();
}

void TForm1::runModal() {
    setWindowModality(Qt::ApplicationModal);
    show();
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    if (!isVisible()) return;
    QEventLoop loop;
    connect(this, &TForm1::closed, &loop, &QEventLoop::quit);
    loop.exec();
}

void TForm1::syncStationMenu(const PanelModel& p) {
    if (stationItems_ == p.stations.size()) return;
    QMenu* go = menus_["GoTo1"];
    go->clear();
    for (size_t k = 0; k < p.stations.size(); ++k) {
        auto* a = go->addAction(QString::fromStdString(p.stations[k].caption));
        a->setObjectName(QString::fromStdString(p.stations[k].name));
        const std::string name = p.stations[k].name;
        connect(a, &QAction::triggered, this, [this, name] {
            guarded([&] { run_->StationClick(name); });
            refresh();
        });
    }
    stationItems_ = p.stations.size();
}

void TForm1::stationClick(int index) {
    const std::string name = "Sta" + std::to_string(index);
    for (QAction* a : menus_["GoTo1"]->actions())
        if (a->objectName().toStdString() == name) a->trigger();
}

void TForm1::refresh() {
    run_->locked([this](Run& run, PanelModel& p) {
        cab_->takeFrom(run, p);
        syncStationMenu(p);
        if (windowTitle().toStdString() != p.caption) setWindowTitle(QString::fromStdString(p.caption));
        for (const auto& item : p.menu) {
            const QString caption = QString::fromStdString(item.caption);
            if (auto a = actions_.find(item.name); a != actions_.end()) a->second->setText(caption);
            if (auto m = menus_.find(item.name); m != menus_.end()) m->second->setTitle(caption);
        }
        if (app().valueDisplay && app().valueDisplay->windowTitle().toStdString() != p.valueDisplayCaption)
            app().valueDisplay->setWindowTitle(QString::fromStdString(p.valueDisplayCaption));
        for (const auto& [name, shown] : p.labelVisible)
            if (auto it = labels_.find(name); it != labels_.end()) it->second->setVisible(shown);
        if (app().valueDisplay && app().valueDisplay->isVisible()) {
            auto values = p.valueDisplay;
            values["Label23"] = p.wheel;
            app().valueDisplay->showValues(values);
        }
        for (const auto& [name, text] : p.labels) {
            auto it = labels_.find(name);
            if (it == labels_.end()) continue;
            const QString t = QString::fromStdString(text);
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

void TForm1::wheelEvent(QWheelEvent* e) {
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
    if (!comPort1_->open(error))
        app().boxes->show(QString("Cannot open the controller port %1").arg(error).toStdString());
}

void TForm1::selectPort(const QString& name) {
    if (comPort1_->isOpen() && comPort1_->settings.name != name) {
        // Renaming an open port closes it and opens it again under the new name.
        comPort1_->close();
        comPort1_->settings.name = name;
        QString error;
        if (!comPort1_->open(error))
            app().boxes->show(QString("Cannot open the controller port %1").arg(error).toStdString());
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
    if (QWidget* window = auxWindow(w)) window->setVisible(shown);
}

void TForm1::keyPressEvent(QKeyEvent* e) { forwardKey(e); }

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
    if (watched == back_ && e->type() == QEvent::MouseButtonRelease) {
        backClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

void TForm1::paintRoutine() {
    if (closing_) return;
    if (run_->paintView(frameBitmap_)) {
        const QImage view(reinterpret_cast<const uchar*>(frameBitmap_.pixels.data()), kViewWidth, kViewHeight,
                          QImage::Format_RGB32);
        cab_->setView(view.copy());
    }
}

void TForm1::changeEvent(QEvent* e) {
    // Activate: the painting thread starts at the first activation.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !painter_ && !closing_ && app().startPainter)
        painter_ = std::make_unique<ViewPainter>(this, [this] { paintRoutine(); }, paintSignal_);
    QMainWindow::changeEvent(e);
}

void TForm1::closeEvent(QCloseEvent* e) {
    if (!closing_) {
        closing_ = true;
        painter_.reset();  // told to stop and waited for
        if (qEnvironmentVariableIsSet("TRAINSIM_PAINT_STATS"))
            std::fprintf(stderr, "frames requested %lld, painted %lld\n", (long long)run_->framesRequested(),
                         (long long)run_->framesPainted());
        guarded([this] { run_->closeQuery(); });
        emit closed();
    }
    e->accept();
}

}  // namespace ts
