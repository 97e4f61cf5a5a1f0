// The title screen's "Install a route…" and the editor's export: the demo
// packed in the editor's dialog, installed through the title screen's dialog
// into an empty folder with a copy of its video cut 3.5 s short, matched with
// progress, and listed under "Other routes…" at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "app_state.h"
#include "editor_window.h"
#include "install_dialog.h"
#include "package_export.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "test_support.h"
#include "title_window.h"
#include "video/ffmpeg_frame_source.h"
#include "video/video_writer.h"

using namespace ts;
namespace fs = std::filesystem;

namespace {

const std::string kDemo = TRAINSIM_DEMO;

// Screenshots for the documents, when TRAINSIM_SCREENSHOTS names a folder.
void saveShot(QWidget* w, const char* name) {
    const QString dir = qEnvironmentVariable("TRAINSIM_SCREENSHOTS");
    if (!dir.isEmpty()) w->grab().save(dir + "/" + name);
}

// The demo's video without its first 105 frames (3.5 s), made with the project's encoder.
void cutCopy(const fs::path& out) {
    FfmpegFrameSource source;
    ASSERT_TRUE(source.open(kDemo + "/video/789.mp4"));
    VideoWriter w(out.string(), VideoSettings{});
    ASSERT_TRUE(w.ok());
    ViewFrame frame;
    for (int f = 105; f < source.length(); ++f) {
        ASSERT_TRUE(source.getFrame(f, frame));
        w.add(frame.pixels.data());
    }
    ASSERT_TRUE(w.finish());
}

// Waits on a condition, handling events, for up to a generous deadline.
bool waitFor(const std::function<bool()>& done, int seconds = 300) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > seconds * 1000) return false;
        QTest::qWait(20);
    }
    return true;
}

}  // namespace

TEST(InstallDialogTest, ThePackagedDemoInstallsWithACutCopyAndIsListedAtOnce) {
    test::TempDir dir;
    const fs::path package = dir.path() / "789.trainsim-route";
    {
        // Exported from the editor's dialog, in the demo's folder.
        test::ScopedCwd cwd(kDemo);
        editor::PackageExportDialog exporter("789");
        exporter.setOutput(QString::fromStdString(package.string()));
        exporter.setAuthor("Test author", "CC BY 4.0");
        exporter.show();
        bool finished = false, ok = false;
        QObject::connect(&exporter, &editor::PackageExportDialog::finished, [&](bool r) {
            finished = true;
            ok = r;
        });
        exporter.start();
        ASSERT_TRUE(waitFor([&] { return finished; }));
        EXPECT_TRUE(ok) << exporter.statusText().toStdString();
        saveShot(&exporter, "export-dialog.png");
    }
    ASSERT_TRUE(fs::exists(package));
    const fs::path copy = dir.path() / "my-copy.mp4";
    cutCopy(copy);

    const fs::path data = dir.path() / "data";
    fs::create_directories(data);
    test::ScopedCwd cwd(data);
    RecordingMessageBoxes boxes;
    QtTimerFactory timers;
    app().boxes = &boxes;
    app().timers = &timers;
    auto* title = new TForm5;
    title->showReports = false;
    EXPECT_TRUE(title->otherRoutes().empty());
    InstallDialog* dialog = title->openInstallDialog();
    ASSERT_TRUE(dialog->openPackage(QString::fromStdString(package.string()))) << dialog->statusText().toStdString();
    dialog->matchVideo(QString::fromStdString(copy.string()));
    EXPECT_TRUE(dialog->matching());
    ASSERT_TRUE(waitFor([&] { return !dialog->matching(); }));
    ASSERT_TRUE(dialog->match());
    EXPECT_TRUE(dialog->match()->accepted) << dialog->resultText().toStdString();
    EXPECT_NEAR(dialog->match()->offset, -105, 1.0);
    EXPECT_NE(dialog->resultText().indexOf("match"), -1) << dialog->resultText().toStdString();
    saveShot(dialog, "install-dialog.png");
    ASSERT_TRUE(dialog->install()) << dialog->statusText().toStdString();
    EXPECT_TRUE(fs::exists(data / "789_line.txt"));
    // Listed at once; 789 is one of the demo's two buttons, so the list shows it only under another code.
    const bool listed = std::any_of(title->otherRoutes().begin(), title->otherRoutes().end(),
                                    [](const TForm5::OtherRoute& r) { return r.code == "789"; });
    EXPECT_FALSE(listed) << "the demo's own code has its button";
    // The same package again, under the code offered: listed under "Other routes…" at once.
    InstallDialog* again = title->openInstallDialog();
    ASSERT_TRUE(again->openPackage(QString::fromStdString(package.string())));
    EXPECT_NE(again->statusText().indexOf("another code"), -1) << again->statusText().toStdString();
    ASSERT_TRUE(again->install()) << again->statusText().toStdString();
    ASSERT_EQ(title->otherRoutes().size(), 1u);
    EXPECT_EQ(title->otherRoutes()[0].code, "7892");
    ASSERT_NE(title->element("OtherRoutes"), nullptr);
    EXPECT_TRUE(title->element("OtherRoutes")->isVisible() || !title->isVisible());
    title->show();
    QTest::qWait(50);
    saveShot(title, "title-install-button.png");
    delete title;
    app() = AppState{};
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Train Simulator");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
