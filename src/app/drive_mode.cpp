#include "drive_mode.h"

#include <QApplication>
#include <QPixmap>
#include <QScopeGuard>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include <unistd.h>

#include "app_state.h"
#include "com_port.h"
#include "data_folder.h"
#include "drive_script.h"
#include "driving_window.h"
#include "help_window.h"
#include "program_end.h"
#include "recording_message_boxes.h"
#include "report_chart.h"
#include "sound/recording_sound.h"
#include "title_window.h"
#include "trace.h"
#include "value_window.h"
#include "virtual_clock.h"

namespace ts {

namespace {

struct DriveOptions {
    std::string train;
    std::string data;
    std::string script;
    std::string trace = "-";
    std::string report;  // written at the end, when given: HTML or JSON by its extension
    std::optional<int64_t> untilMs;
};

int usage(const std::string& why) {
    std::cerr << "trainsim drive: " << why << "\n"
              << "usage: trainsim drive --train CODE [--data DIR] --script FILE [--trace FILE] [--until-ms N]\n"
                 "                      [--report FILE.html|FILE.json]\n"
                 "                      [--scale 1|1.5|2|3|full] [--smooth on|off]\n";
    return 2;
}

class DriveSession {
public:
    DriveSession(std::ostream& out, VirtualClock& clock, RecordingMessageBoxes& boxes)
        : out_(out), clock_(clock), boxes_(boxes) {}

    // The device-free sound bank of the current driving window.
    RecordingSound* sound = nullptr;

    void write(const std::string& event, const std::string& reason = {}) {
        TraceMoment m;
        m.t = clock_.now();
        m.event = event;
        m.reason = reason;
        m.messages = boxes_.take();
        if (sound) m.sounds = sound->takeOps();
        if (app().valueDisplay) m.valueDisplayShown = app().valueDisplay->isVisible();
        m.windows["TForm3"] = windowState(static_cast<QWidget*>(app().valueDisplay));
        m.windows["TForm4"] = windowState(static_cast<QWidget*>(app().help));
        std::string line;
        if (form_) {
            line = form_->run().locked([&](Run& r, PanelModel& p) { return trace_.line(m, r, p); });
        } else {
            Run r;
            PanelModel p;
            line = traceLine(m, r, p);
        }
        buffer_ += line;
        buffer_ += '\n';
        if (buffer_.size() >= kFlushAt) flush();
    }

    void flush() {
        out_ << buffer_;
        out_.flush();
        buffer_.clear();
    }

    void setForm(TForm1* f) { form_ = f; }

private:
    static WindowState windowState(QWidget* w) {
        WindowState s;
        if (w) {
            s.visible = w->isVisible();
            s.caption = w->windowTitle().toStdString();
        }
        return s;
    }

    std::ostream& out_;
    VirtualClock& clock_;
    RecordingMessageBoxes& boxes_;
    TForm1* form_ = nullptr;
    TraceWriter trace_;
    // Lines are written in large blocks: a line per 100 ms step adds up.
    static constexpr size_t kFlushAt = 1 << 20;
    std::string buffer_;
};

// Headless, nothing is drawn unless a snapshot looks at it: widget painting
// would otherwise cost far more than the run itself.
void setPainting(bool on) {
    for (QWidget* w : QApplication::topLevelWidgets()) w->setUpdatesEnabled(on);
}

Key scriptKey(const std::string& name) {
    if (name == "Enter") return Key::Enter;
    if (name == "ScrollLock") return Key::ScrollLock;
    return Key(int(Key::F1) + std::stoi(name.substr(1)) - 1);
}

void snapshot(TForm1* form, const std::string& file) {
    form->presentPicture();
    setPainting(true);
    const auto restore = qScopeGuard([] { setPainting(false); });
    form->grab().save(QString::fromStdString(file), "PNG");
    auto* value = static_cast<QWidget*>(app().valueDisplay);
    if (value && value->isVisible()) {
        std::string v = file;
        const auto dot = v.rfind(".png");
        v = dot == std::string::npos ? v + "-value" : v.substr(0, dot) + "-value.png";
        value->grab().save(QString::fromStdString(v), "PNG");
    }
}

}  // namespace

int runDriveMode(int argc, char** argv) {
    DriveOptions o;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::optional<std::string> {
            if (i + 1 >= argc) return std::nullopt;
            return std::string(argv[++i]);
        };
        std::optional<std::string> v;
        if (a == "--help" || a == "-h") {
            std::cout << "usage: trainsim drive --train CODE [--data DIR] --script FILE [--trace FILE] [--until-ms N]\n"
                         "                      [--report FILE.html|FILE.json]\n";
            return 0;
        }
        if (a == "--train" && (v = next())) o.train = *v;
        else if (a == "--data" && (v = next())) o.data = *v;
        else if (a == "--script" && (v = next())) o.script = *v;
        else if (a == "--trace" && (v = next())) o.trace = *v;
        else if (a == "--report" && (v = next())) o.report = *v;
        else if (a == "--port" && (v = next())) mapPortName(*v);
        else if (a == "--scale" && (v = next())) {
            const auto scale = parseViewScale(*v);
            if (!scale) return usage("--scale takes 1, 1.5, 2, 3 or full");
            app().viewScale = *scale;
        } else if (a == "--smooth" && (v = next())) {
            const auto smooth = parseSmoothView(*v);
            if (!smooth) return usage("--smooth takes on or off");
            app().smoothView = *smooth;
        }
        else if (a == "--until-ms" && (v = next())) {
            try {
                o.untilMs = std::stoll(*v);
            } catch (...) {
                return usage("bad --until-ms '" + *v + "'");
            }
        } else return usage("unknown or incomplete option '" + a + "'");
    }
    if (o.train.empty()) return usage("--train is required");
    if (o.script.empty()) return usage("--script is required");

    std::ifstream scriptFile(o.script, std::ios::binary);
    if (!scriptFile) return usage("cannot read script '" + o.script + "'");
    std::stringstream text;
    text << scriptFile.rdbuf();
    std::vector<ScriptCommand> commands;
    try {
        commands = parseDriveScript(text.str());
    } catch (const ScriptError& e) {
        std::cerr << "trainsim drive: " << o.script << ": " << e.what() << "\n";
        return 2;
    }

    std::ofstream traceFile;
    std::ostream* out = &std::cout;
    if (o.trace != "-") {
        traceFile.open(o.trace, std::ios::binary | std::ios::trunc);
        if (!traceFile) return usage("cannot write trace '" + o.trace + "'");
        out = &traceFile;
    }
    // The report's path as given, before the run moves into the data folder.
    const std::string reportPath =
        o.report.empty() ? std::string() : std::filesystem::absolute(o.report).string();
    if (const DataFolder data = chooseDataFolder(o.data); !data.path.empty() && chdir(data.path.c_str()) != 0)
        return usage("cannot change into data folder '" + data.path + "'");

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own warnings would mix with the run's messages on standard error.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtFatalMsg) std::cerr << msg.toStdString() << "\n";
    });
    int qargc = 1;
    char name[] = "trainsim";
    char* qargv[] = {name, nullptr};
    QApplication qapp(qargc, qargv);
    QApplication::setApplicationName("Train Simulator");

    VirtualClock clock;
    RecordingMessageBoxes boxes;
    app().timers = &clock;
    app().boxes = &boxes;
    app().startPainter = false;
    app().gameControllers = false;
    DriveSession session(*out, clock, boxes);
    app().makeSound = [&] {
        auto bank = std::make_unique<RecordingSound>(128, [&clock] { return clock.now(); });
        bank->startUp();
        session.sound = bank.get();
        return std::unique_ptr<TDDSD>(std::move(bank));
    };
    setProgramEndHook([&](int status) {
        for (const auto& m : boxes.all()) std::cerr << m << "\n";
        if (status != 0) session.write("end", "fatal");
        session.flush();
    });

    auto* title = new TForm5;
    app().title = title;
    app().help = new TForm4;
    app().valueDisplay = new TForm3;

    TForm1* form = title->createDrivingWindow(o.train);
    session.setForm(form);
    form->afterStep = [&] { session.write("step"); };
    form->deferPictures(true);
    form->show();
    QApplication::processEvents();
    setPainting(false);
    session.write("loaded");

    const int64_t endTime = o.untilMs ? *o.untilMs : (commands.empty() ? 0 : commands.back().ms);
    size_t next = 0;
    std::string reason;
    for (;;) {
        std::optional<int64_t> t;
        if (next < commands.size()) t = commands[next].ms;
        if (auto due = clock.nextDue(); due && (!t || *due < *t)) t = due;
        if (!t || *t > endTime) {
            clock.setNow(endTime);
            reason = o.untilMs ? "until" : "script";
            break;
        }
        clock.setNow(*t);
        while (next < commands.size() && commands[next].ms == *t) {
            const ScriptCommand& c = commands[next++];
            switch (c.kind) {
                case ScriptCommand::Kind::Start: form->start1Click(); break;
                case ScriptCommand::Kind::Close: form->backClick(); break;
                case ScriptCommand::Kind::Snapshot: snapshot(form, c.text); break;
                case ScriptCommand::Kind::Jump: form->stationClick(c.amount); break;
                case ScriptCommand::Kind::Char: form->asciiDown(c.text[0]); break;
                case ScriptCommand::Kind::Wheel: form->wheel(c.amount); break;
                case ScriptCommand::Kind::Serial: form->rxChar(c.text); break;
                case ScriptCommand::Kind::PadConnect: form->padConnect(c.text, {}, true); break;
                case ScriptCommand::Kind::PadDisconnect: form->padDisconnect(); break;
                case ScriptCommand::Kind::PadAxis: form->padAxis(c.amount, c.value); break;
                case ScriptCommand::Kind::PadButton: form->padButton(c.amount, c.value != 0); break;
                case ScriptCommand::Kind::Key: {
                    ShiftState s;
                    s.shift = c.shift;
                    s.ctrl = c.ctrl;
                    s.alt = c.alt;
                    form->keyDown(scriptKey(c.text), s);
                    break;
                }
                default: break;
            }
            QApplication::processEvents();
            if (form->run().closed()) break;
        }
        if (form->run().closed()) {
            reason = "close";
            break;
        }
        guarded([&] { clock.runDue([&] { form->paintRoutine(); }); });
        QApplication::processEvents();
        if (form->run().closed()) {
            reason = form->run().endOfLineReached() ? "endOfLine" : "close";
            break;
        }
    }
    session.write("end", reason);
    session.flush();
    setProgramEndHook({});
    if (!o.report.empty() && !saveReport(form->run().report(), QString::fromStdString(reportPath))) {
        std::cerr << "trainsim drive: cannot write report '" << o.report << "'\n";
        endProgram(1);
    }
    // Leave without tearing down the windows of the run.
    endProgram(0);
}

}  // namespace ts
