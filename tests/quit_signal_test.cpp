// SIGTERM and SIGINT end the windowed program, at the title screen and while
// a train is driven, and still after a driving window has been opened once
// (the game-controller library used to take both signals for itself).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// Polls `done` every 20 ms until it holds or `ms` have passed.
template <class F>
bool waitFor(F done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(20);
    }
    return true;
}

// The driving window has loaded its route: the program holds the route's
// video open.
bool holdsVideo(qint64 pid) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        const std::string target = fs::read_symlink(e.path(), ec).string();
        if (target.find(TRAINSIM_DEMO) == 0 && target.size() > 4 && target.substr(target.size() - 4) == ".mp4")
            return true;
    }
    return false;
}

// The program has its own handler for `sig` (the kernel's SigCgt mask): from
// then on the signal asks it to quit instead of ending it by default.
bool catchesSignal(qint64 pid, int sig) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (sig - 1)) & 1;
    return false;
}

struct Program {
    QProcess p;
    explicit Program(const QStringList& args) {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(TRAINSIM_BIN, QStringList{"--data", TRAINSIM_DEMO} + args);
    }
    ~Program() {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
    // Sends `sig` and says whether the program ended cleanly (status 0) in time.
    ::testing::AssertionResult endsOn(int sig) {
        QElapsedTimer t;
        t.start();
        ::kill(pid_t(p.processId()), sig);
        // The goal is two seconds; the deadline is generous for a loaded machine.
        if (!p.waitForFinished(15000)) return ::testing::AssertionFailure() << "still running 15 s after the signal";
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return ::testing::AssertionFailure()
                   << "ended with status " << p.exitCode() << ": " << p.readAll().toStdString();
        return ::testing::AssertionSuccess() << "ended after " << t.elapsed() << " ms";
    }
};

}  // namespace

TEST(QuitSignal, TermAtTheTitleScreen) {
    Program prog({});
    ASSERT_TRUE(prog.p.waitForStarted(10000));
    // A signal before the program takes it ends the program by its default
    // action; on a loaded machine starting up may take seconds.
    ASSERT_TRUE(waitFor([&] { return catchesSignal(prog.p.processId(), SIGTERM); }, 60000))
        << prog.p.readAll().toStdString();
    EXPECT_TRUE(prog.endsOn(SIGTERM));
}

TEST(QuitSignal, TermAndIntWhileATrainIsDriven) {
    for (int sig : {SIGTERM, SIGINT}) {
        Program prog({"--train", "789"});
        ASSERT_TRUE(prog.p.waitForStarted(10000));
        ASSERT_TRUE(waitFor([&] { return holdsVideo(prog.p.processId()); }, 60000))
            << "the driving window never loaded its route: " << prog.p.readAll().toStdString();
        EXPECT_TRUE(prog.endsOn(sig)) << "signal " << sig;
    }
}
