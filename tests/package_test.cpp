// The Debian package as a user gets it: built by cpack from this build,
// its control file and contents, then unpacked into a scratch root whose
// program runs from there and finds the demo installed beside it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "test_support.h"

using namespace ts::test;
namespace fs = std::filesystem;

namespace {

struct Output {
    int status = -1;
    std::string text;  // standard output and standard error
};

Output run(const std::string& command) {
    Output o;
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen((command + " 2>&1").c_str(), "r"), pclose);
    if (!p) return o;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p.get())) > 0) o.text.append(buf, n);
    const int raw = pclose(p.release());
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return o;
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

class Package : public testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = new TempDir;
        const fs::path out = work_->path() / "out";
        build_ = run(std::string("'") + TRAINSIM_CPACK + "' -G DEB -B " + quoted(out) + " --config '" + TRAINSIM_BUILD +
                     "/CPackConfig.cmake'");
        for (const auto& e : fs::directory_iterator(out))
            if (e.path().extension() == ".deb") deb_ = e.path();
        root_ = work_->path() / "root";
        if (!deb_.empty()) unpacked_ = run("dpkg-deb -x " + quoted(deb_) + " " + quoted(root_));
    }
    static void TearDownTestSuite() {
        delete work_;
        work_ = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(build_.status, 0) << build_.text;
        ASSERT_FALSE(deb_.empty()) << "no .deb made:\n" << build_.text;
        ASSERT_EQ(unpacked_.status, 0) << unpacked_.text;
    }

    static fs::path bin() { return root_ / "usr/bin/trainsim"; }

    static TempDir* work_;
    static Output build_, unpacked_;
    static fs::path deb_, root_;
};

TempDir* Package::work_ = nullptr;
Output Package::build_, Package::unpacked_;
fs::path Package::deb_, Package::root_;

}  // namespace

TEST_F(Package, ControlFileNamesTheLibrariesAndPluginsThatTheProgramNeeds) {
    const Output control = run("dpkg-deb -f " + quoted(deb_));
    ASSERT_EQ(control.status, 0) << control.text;
    EXPECT_NE(control.text.find("Package: trainsim\n"), std::string::npos) << control.text;
    EXPECT_NE(control.text.find("Version: " TRAINSIM_VERSION "\n"), std::string::npos) << control.text;
    EXPECT_NE(control.text.find("Architecture: amd64"), std::string::npos) << control.text;
    for (const char* dep : {"libqt6widgets6", "libqt6serialport6", "libavcodec", "libavformat", "libswscale",
                            "libopenal1", "libjpeg62-turbo", "qt6-qpa-plugins"})
        EXPECT_NE(control.text.find(dep), std::string::npos) << dep << " missing from\n" << control.text;
}

TEST_F(Package, HoldsProgramDemoMenuEntryIconsMetadataAndManualPage) {
    for (const char* f :
         {"usr/bin/trainsim", "usr/share/trainsim/demo/789_line.txt", "usr/share/trainsim/demo/40_train.txt",
          "usr/share/trainsim/demo/mascon.txt", "usr/share/trainsim/demo/readme.html",
          "usr/share/trainsim/demo/video/789.mp4", "usr/share/trainsim/demo/image/title/title.jpg",
          "usr/share/applications/org.trainsim.TrainSimulator.desktop",
          "usr/share/metainfo/org.trainsim.TrainSimulator.metainfo.xml",
          "usr/share/icons/hicolor/scalable/apps/trainsim.svg", "usr/share/icons/hicolor/48x48/apps/trainsim.png",
          "usr/share/icons/hicolor/256x256/apps/trainsim.png", "usr/share/man/man1/trainsim.1.gz",
          "usr/share/man/ja/man1/trainsim.1.gz", "usr/share/doc/trainsim/copyright"})
        EXPECT_TRUE(fs::is_regular_file(root_ / f)) << f;
    EXPECT_FALSE(fs::exists(root_ / "usr/share/trainsim/demo/.made")) << "the build's stamp is not installed";
}

TEST_F(Package, DesktopEntryAndMetadataValidate) {
    const Output desktop =
        run("desktop-file-validate " + quoted(root_ / "usr/share/applications/org.trainsim.TrainSimulator.desktop"));
    EXPECT_EQ(desktop.status, 0) << desktop.text;
    EXPECT_EQ(desktop.text, "") << "warnings or hints";
    const Output meta = run("appstreamcli validate --no-net " +
                            quoted(root_ / "usr/share/metainfo/org.trainsim.TrainSimulator.metainfo.xml"));
    EXPECT_EQ(meta.status, 0) << meta.text;
    const Output man = run("gzip -dc " + quoted(root_ / "usr/share/man/man1/trainsim.1.gz"));
    for (const char* word : {".TH TRAINSIM 1", "drive", "\\-\\-data", "\\-\\-port", "\\-\\-version", "\\-\\-until\\-ms",
                             "mascon.txt", "operation.txt", "readme.html", "Scroll Lock", TRAINSIM_VERSION})
        EXPECT_NE(man.text.find(word), std::string::npos) << word;
    // The Japanese page goes where man looks for a Japanese reader's pages.
    const Output ja = run("gzip -dc " + quoted(root_ / "usr/share/man/ja/man1/trainsim.1.gz"));
    for (const char* word : {".TH TRAINSIM 1", ".SH 名前", "\\-\\-until\\-ms", "operation.txt", TRAINSIM_VERSION})
        EXPECT_NE(ja.text.find(word), std::string::npos) << word;
}

TEST_F(Package, InstalledProgramTellsItsVersionAndUsesTheInstalledDemo) {
    TempDir empty;
    const Output version = run("cd " + quoted(empty.path()) + " && " + quoted(bin()) + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.text, "trainsim " TRAINSIM_VERSION "\n");
    const Output help = run("cd " + quoted(empty.path()) + " && " + quoted(bin()) + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.text.find("Data folder: " + (root_ / "usr/share/trainsim/demo").string()), std::string::npos)
        << help.text;
}

TEST_F(Package, InstalledProgramDrivesTheInstalledDemoWithoutDataOption) {
    TempDir here;
    here.write("run.txt", "@0 start\n@100 char f\n@100 char 5\n@4000 close\n");
    const Output r = run("cd " + quoted(here.path()) + " && env QT_QPA_PLATFORM=offscreen " + quoted(bin()) +
                         " drive --train 789 --script " + quoted(here.path() / "run.txt") + " --trace " +
                         quoted(here.path() / "trace.jsonl"));
    ASSERT_EQ(r.status, 0) << r.text;
    const Output trace = run("cat " + quoted(here.path() / "trace.jsonl"));
    EXPECT_NE(trace.text.find("\"event\":\"loaded\""), std::string::npos) << trace.text.substr(0, 300);
    EXPECT_NE(trace.text.find("\"trainCode\":\"789\""), std::string::npos);
    EXPECT_NE(trace.text.find("\"reason\":\"close\""), std::string::npos);
    EXPECT_NE(trace.text.find("港南電鉄線"), std::string::npos) << "the demo's line name in the caption";
    EXPECT_EQ(trace.text.find("見つかりません"), std::string::npos) << "every file of the demo was found";
}
