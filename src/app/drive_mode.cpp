#include "drive_mode.h"

#include <QLabel>

#include <QApplication>
#include <QBuffer>
#include <QPixmap>
#include <QScopeGuard>
#include <QtGlobal>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app_state.h"
#include "com_port.h"
#include "command_line.h"
#include "data/whole_file.h"
#include "data_folder.h"
#include "drive_script.h"
#include "driving_window.h"
#include "help_window.h"
#include "language.h"
#include "link_session.h"
#include "program_end.h"
#include "recording_file.h"
#include "recording_message_boxes.h"
#include "replay_player.h"
#include "report_chart.h"
#include "script_input.h"
#include "sound/recording_sound.h"
#include "text/our_text.h"
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
    std::string record;           // the run is recorded to this file
    bool force = false;           // replay a recording of other data
    std::optional<int> linkPort;  // the live link's port (0: any free one)
    int linkWaitS = 10;           // how long to wait for the first client
    bool linkControl = false;     // link clients may drive
    bool linkLan = false;         // the link listens on every interface, with a token
};

constexpr const char* kSynopsis =
    "trainsim drive --train CODE [--data DIR] --script FILE [--trace FILE] [--until-ms N]\n"
    "                      [--report FILE.html|FILE.json] [--record FILE] [--force]\n"
    "                      [--scale 1|1.5|2|3|full] [--smooth on|off]\n"
    "                      [--link PORT [--link-wait S] [--link-control] [--link-lan]]";

int usage(const std::string& why) {
    std::cerr << "trainsim drive: " << why << "\n" << usageLine(kSynopsis);
    return 2;
}

// What the drive's end is told to (the live link's clients), with the end's reason.
std::function<void(const std::string&)>& driveEndHook();

class DriveSession {
public:
    // `file`: the trace's file when it goes to one, put in place by `finish`.
    DriveSession(std::ostream& out, WholeFileStream* file, std::string outName, VirtualClock& clock,
                 RecordingMessageBoxes& boxes)
        : out_(out), file_(file), outName_(std::move(outName)), clock_(clock), boxes_(boxes) {}

    // The device-free sound bank of the current driving window.
    RecordingSound* sound = nullptr;
    // Told of every step's moment after its trace line (the live link).
    std::function<void(const TraceMoment&)> onStep;

    void write(const std::string& event, const std::string& reason = {}) {
        TraceMoment m;
        m.t = clock_.now();
        m.event = event;
        m.reason = reason;
        m.messages = boxes_.take();
        m.messageDetails = boxes_.takeDetails();
        if (sound) m.sounds = sound->takeOps();
        if (app().valueDisplay) m.valueDisplayShown = app().valueDisplay->isVisible();
        m.windows["TForm3"] = windowState(static_cast<QWidget*>(app().valueDisplay));
        m.windows["TForm4"] = windowState(static_cast<QWidget*>(app().help));
        if (form_) m.hint = form_->hintLine()->text().toStdString();
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
        if (onStep && event == "step") onStep(m);
        if (buffer_.size() >= kFlushAt) flush();
    }

    void flush() {
        if (failed_) return;
        errno = 0;
        out_ << buffer_;
        out_.flush();
        buffer_.clear();
        if (!out_) {
            // A full disk: the run stops here rather than going on with nowhere to write,
            // and the target keeps what it held (an older trace, or nothing).
            failed_ = true;
            const std::string why =
                file_ && !file_->failure().empty() ? file_->failure() : std::strerror(errno ? errno : EIO);
            if (file_) file_->discard();
            std::cerr << "trainsim drive: cannot write the trace " << outName_ << ": " << why << "\n";
            if (driveEndHook()) driveEndHook()("recordingFailed");
            endProgram(1);
        }
    }

    // The trace written out and, when it goes to a file, put in place; false
    // (and said on standard error) when it could not be.
    bool finish() {
        flush();
        if (failed_) return false;
        std::string why;
        if (file_ && !file_->commit(&why)) {
            failed_ = true;
            std::cerr << "trainsim drive: cannot write the trace " << outName_ << ": " << why << "\n";
            return false;
        }
        file_ = nullptr;
        return true;
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
    WholeFileStream* file_;
    std::string outName_;
    bool failed_ = false;
    VirtualClock& clock_;
    RecordingMessageBoxes& boxes_;
    TForm1* form_ = nullptr;
    TraceWriter trace_;
    // Lines are written in large blocks: a line per 100 ms step adds up.
    static constexpr size_t kFlushAt = 1 << 20;
    std::string buffer_;
};

std::function<void(const std::string&)>& driveEndHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}
void setDriveEndHook(std::function<void(const std::string&)> f) { driveEndHook() = std::move(f); }

// Headless, nothing is drawn unless a snapshot looks at it: widget painting
// would otherwise cost far more than the run itself.
void setPainting(bool on) {
    for (QWidget* w : QApplication::topLevelWidgets()) w->setUpdatesEnabled(on);
}

// The folder the command was started in: a snapshot's file is named as the
// shell means it, although the run reads its data from the data folder.
std::filesystem::path& startFolder() {
    static std::filesystem::path folder;
    return folder;
}

// A snapshot that could not be written makes the command fail at its end.
bool& snapshotFailed() {
    static bool failed = false;
    return failed;
}

[[noreturn]] void finishDrive(DriveSession& session, TForm1* form, const std::string& report,
                              const std::string& reportPath, const std::string& reason, int status = 0) {
    session.write("end", reason);
    if (!session.finish()) {
        // The run's own end is not what the user is told: the trace is missing.
        if (driveEndHook()) driveEndHook()("recordingFailed");
        setProgramEndHook({});
        endProgram(1);
    }
    if (driveEndHook()) driveEndHook()(reason);
    if (const std::string why = form->run().finishRecording(); !why.empty() && status == 0) {
        std::cerr << "trainsim drive: cannot record: " << why << "\n";
        status = 1;
    }
    setProgramEndHook({});
    std::string why;
    if (!report.empty() && !saveReport(form->run().report(), QString::fromStdString(reportPath), &why)) {
        std::cerr << "trainsim drive: cannot write report '" << report << "': " << why << "\n";
        endProgram(1);
    }
    // Leave without tearing down the windows of the run.
    endProgram(status != 0 ? status : snapshotFailed() ? 1 : 0);
}

void snapshot(TForm1* form, const std::string& name) {
    form->presentPicture();
    setPainting(true);
    const auto restore = qScopeGuard([] { setPainting(false); });
    auto save = [](QWidget* w, const std::string& file) {
        const std::filesystem::path path =
            std::filesystem::path(file).is_absolute() ? std::filesystem::path(file) : startFolder() / file;
        // Whole or not at all, as every file the program writes: an older picture stays when this fails.
        QByteArray png;
        QBuffer buffer(&png);
        std::string why = "the picture cannot be made";
        if (buffer.open(QIODevice::WriteOnly) && w->grab().save(&buffer, "PNG") &&
            replaceFile(path.string(), std::string_view(png.constData(), size_t(png.size())), &why))
            return;
        std::cerr << "trainsim drive: cannot write snapshot '" << path.string() << "': " << why << "\n";
        snapshotFailed() = true;
    };
    save(form, name);
    auto* value = static_cast<QWidget*>(app().valueDisplay);
    if (value && value->isVisible()) {
        std::string v = name;
        const auto dot = v.rfind(".png");
        v = dot == std::string::npos ? v + "-value" : v.substr(0, dot) + "-value.png";
        save(value, v);
    }
}

// The drive mode's options, applied to `o` as they are read.
std::vector<CommandOption> driveOptions(DriveOptions& o, const std::vector<CommandOption>& table) {
    auto number = [](auto& to, int most, const char* why) {
        return [&to, most, why](const std::string& v) {
            int n = -1;
            try {
                n = std::stoi(v);
            } catch (...) {}
            if (n < 0 || n > most) return OptionAnswer::refused(ourTextUtf8("CommandLine", why));
            to = n;
            return OptionAnswer::accepted();
        };
    };
    return {
        valueOption("--train", "CODE", QT_TRANSLATE_NOOP("Options", "the train: CODE_line.txt and CODE_train.txt"),
                    storeIn(o.train)),
        valueOption("--data", "DIR", QT_TRANSLATE_NOOP("Options", "read the data files from DIR"), storeIn(o.data)),
        valueOption("--script", "FILE", QT_TRANSLATE_NOOP("Options", "the timed inputs, one command a line"),
                    storeIn(o.script)),
        valueOption("--trace", "FILE", QT_TRANSLATE_NOOP("Options", "where the trace goes (- for standard output)"),
                    storeIn(o.trace)),
        valueOption("--until-ms", "N", QT_TRANSLATE_NOOP("Options", "end the run at virtual time N ms"),
                    [&o](const std::string& v) {
                        try {
                            o.untilMs = std::stoll(v);
                        } catch (...) {
                            return OptionAnswer::refused(
                                withArgs(ourTextUtf8("DriveCommand", "bad --until-ms '%1'"), {v}));
                        }
                        return OptionAnswer::accepted();
                    }),
        valueOption("--report", "FILE",
                    QT_TRANSLATE_NOOP("Options", "the drive report at the end: HTML for .html, else JSON"),
                    storeIn(o.report)),
        valueOption("--record", "FILE", QT_TRANSLATE_NOOP("Options", "record the run (a drive script)"),
                    storeIn(o.record)),
        switchOption("--force",
                     QT_TRANSLATE_NOOP("Options", "replay a recording of another train or of changed data files"),
                     setFlag(o.force)),
        valueOption("--scale", "1|1.5|2|3|full", QT_TRANSLATE_NOOP("Options", "size of the driving window"),
                    [](const std::string& v) {
                        const auto scale = parseViewScale(v);
                        if (!scale)
                            return OptionAnswer::refused(
                                ourTextUtf8("CommandLine", "--scale takes 1, 1.5, 2, 3 or full"));
                        app().viewScale = *scale;
                        return OptionAnswer::accepted();
                    }),
        valueOption("--smooth", "on|off",
                    QT_TRANSLATE_NOOP("Options", "blend neighbouring frames when slower than the recording"),
                    [](const std::string& v) {
                        const auto smooth = parseSmoothView(v);
                        if (!smooth)
                            return OptionAnswer::refused(ourTextUtf8("CommandLine", "--smooth takes on or off"));
                        app().smoothView = *smooth;
                        return OptionAnswer::accepted();
                    }),
        valueOption("--link", "PORT", QT_TRANSLATE_NOOP("Options", "open the live link on 127.0.0.1:PORT"),
                    number(o.linkPort, 65535, QT_TRANSLATE_NOOP("CommandLine", "--link takes a port from 0 to 65535"))),
        valueOption(
            "--link-wait", "S",
            QT_TRANSLATE_NOOP("Options", "wait up to S seconds for the first live-link client (default 10)"),
            number(o.linkWaitS, 3600, QT_TRANSLATE_NOOP("CommandLine", "--link-wait takes seconds from 0 to 3600"))),
        switchOption("--link-control", QT_TRANSLATE_NOOP("Options", "let live-link clients drive"),
                     setFlag(o.linkControl)),
        switchOption("--link-lan",
                     QT_TRANSLATE_NOOP("Options",
                                       "open the live link on every interface, with a token every client must present"),
                     setFlag(o.linkLan)),
        valueOption("--port", "COM1=DEVICE",
                    QT_TRANSLATE_NOOP("Options", "open DEVICE for the controller port COM1 (or COM2)"),
                    [](const std::string& v) {
                        mapPortName(v);
                        return OptionAnswer::accepted();
                    }),
        alsoNamed(switchOption("--help", QT_TRANSLATE_NOOP("Options", "show this help"),
                               [&table] {
                                   std::cout << usageLine(kSynopsis)
                                             << ourTextUtf8("DriveCommand",
                                                            "A recording (--record) is a script too: replayed, it "
                                                            "needs no --train.\n")
                                             << optionLines(table, 23);
                                   return OptionAnswer::exitWith(0);
                               }),
                  "-h"),
    };
}

}  // namespace

int runDriveMode(int argc, char** argv) {
    DriveOptions o;
    std::vector<CommandOption> options;
    options = driveOptions(o, options);
    const ParsedLine words = parseCommandLine({options, nullptr, nullptr}, argc, argv);
    if (const auto end = walkEnd(words, usage)) return *end;
    if (o.script.empty()) return usage(ourTextUtf8("DriveCommand", "--script is required"));

    std::ifstream scriptFile(o.script, std::ios::binary);
    if (!scriptFile) return usage(withArgs(ourTextUtf8("DriveCommand", "cannot read script '%1'"), {o.script}));
    std::stringstream text;
    text << scriptFile.rdbuf();
    ParsedScript parsed;
    try {
        parsed = parseScript(text.str());
    } catch (const ScriptError& e) {
        std::cerr << "trainsim drive: " << o.script << ": " << e.what() << "\n";
        return 2;
    }
    std::vector<ScriptCommand> commands = parsed.commands;
    const RecordingHeader header = recordingHeader(parsed);
    if (o.train.empty()) o.train = header.train;
    if (o.train.empty()) return usage(ourTextUtf8("DriveCommand", "--train is required"));
    if (parsed.cutLine)
        std::cerr << "trainsim drive: " << o.script << ": line " << parsed.cutLine
                  << " was cut off while being recorded; replaying up to the line before\n";

    // Written beside its name and put in place when the drive ends, so that a
    // failed or killed drive leaves an older trace of that name whole.
    WholeFileStream traceFile;
    std::ostream* out = &std::cout;
    if (o.trace != "-") {
        std::string why;
        // Absolute: the run moves into the data folder before the file is put in place.
        if (!traceFile.open(std::filesystem::absolute(o.trace).string(), &why))
            return usage("cannot write trace '" + o.trace + "': " + why);
        out = &traceFile;
    }
    // The report's path as given, before the run moves into the data folder.
    const std::string reportPath = o.report.empty() ? std::string() : std::filesystem::absolute(o.report).string();
    const std::string recordPath = o.record.empty() ? std::string() : std::filesystem::absolute(o.record).string();
    startFolder() = std::filesystem::current_path();
    if (const DataFolder data = chooseDataFolder(o.data); !data.path.empty() && chdir(data.path.c_str()) != 0)
        return usage(cannotEnterDataFolder(data.path));
    if (parsed.anchored) {
        if (const std::string why = replayRefusal(header, o.train, o.force); !why.empty()) {
            std::cerr << "trainsim drive: " << o.script << ": " << why << "\n";
            return 2;
        }
    }

    // The trace carries the message boxes' texts: the core words them in English whatever the
    // language, so that a trace never depends on who ran it.
    setTextTranslator(nullptr);
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
    DriveSession session(*out, o.trace == "-" ? nullptr : &traceFile,
                         o.trace == "-" ? std::string("(standard output)") : "'" + o.trace + "'", clock, boxes);
    app().makeSound = [&] {
        auto bank = std::make_unique<RecordingSound>(128, [&clock] { return clock.now(); });
        bank->startUp();
        session.sound = bank.get();
        return std::unique_ptr<TDDSD>(std::move(bank));
    };
    setProgramEndHook([&](int status) {
        for (const auto& m : boxes.all()) std::cerr << m << "\n";
        if (status != 0) session.write("end", "fatal");
        session.finish();
    });

    auto* title = new TForm5(nullptr, TForm5::OwnRoutes::NotListed);
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
    // A recording that cannot be written ends the drive the moment it fails.
    std::string recordFailure;
    auto recordingFailed = [&] {
        if (recordFailure.empty()) return false;
        std::cerr << "trainsim drive: cannot record: " << recordFailure << "\n";
        return true;
    };
    if (!recordPath.empty()) {
        std::string error;
        const auto failed = [&recordFailure](const std::string& why) {
            if (recordFailure.empty())
                recordFailure = why.empty() ? std::string("the recording cannot be written") : why;
        };
        if (!beginRecording(*form, recordPath, error, failed)) {
            std::cerr << "trainsim drive: cannot record: " << error << "\n";
            endProgram(2);
        }
    }

    std::unique_ptr<LinkSession> link;
    if (o.linkPort) {
        // A replay plays its own inputs: a client's would make it another run.
        link = std::make_unique<LinkSession>(o.linkControl && !parsed.anchored);
        link->attach(form);
        // Every client sees the whole run, however fast the virtual clock goes.
        link->server().dropSlow = false;
        std::string error;
        if (!link->listen(quint16(*o.linkPort), error, o.linkLan)) {
            std::cerr << "trainsim drive: cannot open the live link: " << error << "\n";
            endProgram(2);
        }
        // Standard error: standard output may be the trace.
        std::cerr << "live link: " << link->server().address().toStdString() << std::endl;
        for (const QString& a : link->server().networkAddresses())
            std::cerr << "live link on the network: " << a.toStdString() << std::endl;
        if (!link->server().token().isEmpty())
            std::cerr << "live link token: " << link->server().token().toStdString() << std::endl;
        if (!link->server().waitForClient(o.linkWaitS * 1000))
            std::cerr << "trainsim drive: no live-link client came; driving without one\n";
        session.onStep = [&](const TraceMoment& m) { link->stepEnded(m.t, m.hint, m.messages); };
        setDriveEndHook([&](const std::string& why) {
            link->server().sendEnd(why);
            link->server().flush(10000);
            link->server().closeClients(5000);
        });
    }

    std::string reason;
    if (parsed.anchored) {
        // A recording: its steps and paints run as recorded, not by the clock.
        ReplayPlayer player(*form, commands);
        form->setReplaying(true);
        auto stepTime = [](int64_t sim, int64_t pres) { return std::max(sim * 33, pres * 100); };
        player.beforeStep = [&](int64_t sim, int64_t pres) { clock.setNow(stepTime(sim, pres)); };
        if (o.untilMs) player.stopBefore = [&](int64_t sim, int64_t pres) { return stepTime(sim, pres) > *o.untilMs; };
        for (bool more = true; more;) {
            guarded([&] { more = player.advance(); });
            QApplication::processEvents();
            if (recordingFailed()) finishDrive(session, form, o.report, reportPath, "recordingFailed", 1);
        }
        QApplication::processEvents();
        if (!player.error().empty()) {
            // It no longer goes through the states it was recorded in: what follows would be another run.
            std::cerr << "trainsim drive: " << o.script
                      << ": the replay diverged from the recording: " << player.error() << "\n";
            finishDrive(session, form, o.report, reportPath, "diverged", 1);
        }
        if (player.stopped())
            reason = "until";
        else
            reason = form->run().closed() ? (form->run().endOfLineReached() ? "endOfLine" : "close") : "script";
        finishDrive(session, form, o.report, reportPath, reason);
    }

    const int64_t endTime = o.untilMs ? *o.untilMs : (commands.empty() ? 0 : commands.back().ms);
    size_t next = 0;
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
            if (c.kind == ScriptCommand::Kind::Snapshot)
                snapshot(form, c.text);
            else
                applyScriptInput(*form, c);
            QApplication::processEvents();
            if (form->run().closed()) break;
        }
        if (form->run().closed()) {
            reason = "close";
            break;
        }
        guarded([&] { clock.runDue([&] { form->paintRoutine(); }); });
        QApplication::processEvents();
        if (recordingFailed()) finishDrive(session, form, o.report, reportPath, "recordingFailed", 1);
        if (form->run().closed()) {
            reason = form->run().endOfLineReached() ? "endOfLine" : "close";
            break;
        }
    }
    finishDrive(session, form, o.report, reportPath, reason);
}

}  // namespace ts
