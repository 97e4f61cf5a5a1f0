// Route packages: the fingerprint matcher on made-up pictures, the archive
// reader on hostile packages, and the demo route sent through a package to
// an empty folder and driven there with copies of its video cut, re-encoded
// and at other frame rates, made here with the project's own encoder.
#include <gtest/gtest.h>

#include <archive.h>
#include <archive_entry.h>

#include <QImage>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <regex>
#include <set>

#include "drive_runner.h"
#include "pack/package_archive.h"
#include "pack/package_manifest.h"
#include "pack/route_install.h"
#include "pack/route_package.h"
#include "pack/video_match.h"
#include "test_support.h"
#include "video/ffmpeg_frame_source.h"
#include "video/video_writer.h"

using namespace ts;
using namespace ts::pack;
using namespace ts::test;
namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------- matching

// A made-up video: each frame's hash drawn at random, so that only the same
// frame matches.
std::vector<uint64_t> randomHashes(int frames, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::vector<uint64_t> h(static_cast<size_t>(frames));
    for (auto& v : h) v = rng();
    return h;
}

VideoFingerprint fingerprintOf(const std::vector<uint64_t>& hashes) {
    VideoFingerprint f;
    f.length = int(hashes.size());
    for (int i = 0; i < f.length; i += kSampleSpacing) f.samples.push_back({i, hashes[size_t(i)]});
    return f;
}

// The copy's frame j shows the original's frame (j - offset) / rate; a bit or two of noise.
std::vector<uint64_t> copyOf(const std::vector<uint64_t>& original, double offset, double rate, int frames,
                             uint64_t filler = 0x5555) {
    std::vector<uint64_t> c(static_cast<size_t>(frames));
    std::mt19937_64 rng(7);
    for (int j = 0; j < frames; ++j) {
        const long f = std::lround((j - offset) / rate);
        c[size_t(j)] =
            f >= 0 && f < long(original.size()) ? original[size_t(f)] ^ (uint64_t(1) << (rng() % 64)) : filler ^ rng();
    }
    return c;
}

TEST(VideoMatchTest, FindsTheOffsetOfACopyCutOrLengthened) {
    const auto original = randomHashes(6000, 1);
    const VideoFingerprint f = fingerprintOf(original);
    for (double offset : {-105.0, 0.0, 60.0, 333.0}) {
        const auto m = matchVideo(f, copyOf(original, offset, 1.0, 6000 + int(offset)));
        EXPECT_TRUE(m.accepted) << offset << ": " << m.refusal;
        EXPECT_NEAR(m.offset, offset, 1.0);
        EXPECT_DOUBLE_EQ(m.rate, 1.0);
    }
}

TEST(VideoMatchTest, FindsTheRateOfACopyThatRunsFaster) {
    const auto original = randomHashes(9000, 2);
    const VideoFingerprint f = fingerprintOf(original);
    // 25 pictures played as 24, 4 % faster: the copy's frame j shows the original's j / 0.96.
    const double rate = 24.0 / 25.0;
    const auto m = matchVideo(f, copyOf(original, -40, rate, int(9000 * rate) - 40));
    ASSERT_TRUE(m.accepted) << m.refusal;
    EXPECT_NEAR(m.rate, rate, 1e-4);
    // Within a frame at both ends of the video.
    EXPECT_NEAR(m.offset, -40, 1.0);
    EXPECT_NEAR(m.offset + m.rate * 8999, -40 + rate * 8999, 1.0);
}

TEST(VideoMatchTest, RefusesAnotherVideoAndSaysSoForAShortCut) {
    const auto original = randomHashes(6000, 3);
    const VideoFingerprint f = fingerprintOf(original);
    const auto other = matchVideo(f, randomHashes(6000, 4));
    EXPECT_FALSE(other.accepted);
    EXPECT_EQ(other.refusal, "the pictures match the package's video nowhere");
    // The copy holds the first 40 % of the video only.
    std::vector<uint64_t> shortCut(original.begin(), original.begin() + 2400);
    const auto cut = matchVideo(f, shortCut);
    EXPECT_FALSE(cut.accepted);
    EXPECT_NEAR(cut.offset, 0, 1.0);
    EXPECT_EQ(cut.refusal, "only 40 % of it matches: is this a shorter cut?");
}

TEST(VideoMatchTest, FingerprintTextReadsBackAndRefusesDamage) {
    VideoFingerprint f;
    f.length = 100;
    f.samples = {{0, 0x0123456789abcdefULL}, {15, ~0ULL}, {99, 0}};
    const auto back = parseFingerprint(fingerprintText(f));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->length, 100);
    ASSERT_EQ(back->samples.size(), 3u);
    EXPECT_EQ(back->samples[0].hash, 0x0123456789abcdefULL);
    EXPECT_EQ(back->samples[1].hash, ~0ULL);
    EXPECT_FALSE(parseFingerprint("length 100\n100 00\n")) << "a sample past the end";
    EXPECT_FALSE(parseFingerprint("length 100\n5 00\n5 01\n")) << "samples out of order";
    EXPECT_FALSE(parseFingerprint("length 100\n5 zz\n"));
    EXPECT_FALSE(parseFingerprint("frames 100\n5 00\n"));
}

// ---------------------------------------------------------------- hostile packages

struct Entry {
    Entry(std::string n, std::string b, mode_t t = AE_IFREG, std::string l = {})
        : name(std::move(n)), bytes(std::move(b)), type(t), link(std::move(l)) {}
    std::string name;
    std::string bytes;
    mode_t type = AE_IFREG;
    std::string link;  // for a symbolic link
};

// A zip made here entry by entry, whatever the entries claim.
std::string zipOf(const std::vector<Entry>& entries) {
    std::string out;
    std::unique_ptr<archive, int (*)(archive*)> a(archive_write_new(), archive_write_free);
    archive_write_set_format_zip(a.get());
    archive_write_set_bytes_in_last_block(a.get(), 1);
    archive_write_open2(
        a.get(), &out, nullptr,
        [](archive*, void* client, const void* buffer, size_t length) -> la_ssize_t {
            static_cast<std::string*>(client)->append(static_cast<const char*>(buffer), length);
            return la_ssize_t(length);
        },
        nullptr, nullptr);
    for (const Entry& e : entries) {
        archive_entry* x = archive_entry_new();
        archive_entry_set_pathname(x, e.name.c_str());
        archive_entry_set_filetype(x, e.type);
        archive_entry_set_perm(x, 0644);
        if (e.type == AE_IFLNK) archive_entry_set_symlink(x, e.link.c_str());
        archive_entry_set_size(x, la_int64_t(e.type == AE_IFREG ? e.bytes.size() : 0));
        archive_write_header(a.get(), x);
        if (e.type == AE_IFREG && !e.bytes.empty()) archive_write_data(a.get(), e.bytes.data(), e.bytes.size());
        archive_entry_free(x);
    }
    archive_write_close(a.get());
    return out;
}

// A small but whole package: a manifest listing each file's checksum.
std::vector<Entry> validEntries() {
    std::vector<Entry> files = {{"7_line.txt", "[LineName]\nTest\n"},
                                {"7_train.txt", "train\n"},
                                {kFingerprintName, "length 30\n0 0123456789abcdef\n15 fedcba9876543210\n"}};
    PackageManifest m;
    m.trainCode = "7";
    for (const Entry& e : files) m.files.emplace_back(e.name, sha256Hex(e.bytes));
    files.insert(files.begin(), Entry{kManifestName, manifestText(m)});
    return files;
}

// Every file below `dir`, relative.
std::set<std::string> filesBelow(const fs::path& dir) {
    std::set<std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) out.insert(e.path().lexically_relative(dir).string());
    return out;
}

// Opens the package in a data folder holding one file of its own: refused,
// with `expected` in the reason, and the folder left exactly as it was.
void expectRefused(const std::string& zipBytes, const std::string& expected) {
    TempDir d;
    const fs::path data = d.path() / "data";
    fs::create_directories(data);
    const std::string mine = (data / "mine.txt").string();
    d.write("data/mine.txt", "kept");
    const std::string package = d.write("hostile.trainsim-route", zipBytes);
    const auto before = filesBelow(d.path());
    std::string error;
    auto opened = OpenedPackage::open(package, data.string(), {}, false, &error);
    EXPECT_EQ(opened, nullptr) << expected;
    EXPECT_NE(error.find(expected), std::string::npos) << "reason: " << error << "\nexpected: " << expected;
    opened.reset();
    EXPECT_EQ(filesBelow(d.path()), before) << "the refused package left something behind";
    EXPECT_EQ(slurpFile(mine), "kept");
}

TEST(HostilePackageTest, AValidPackageOpens) {
    TempDir d;
    const std::string package = d.write("ok.trainsim-route", zipOf(validEntries()));
    std::string error;
    auto opened = OpenedPackage::open(package, d.path().string(), {}, false, &error);
    ASSERT_NE(opened, nullptr) << error;
    EXPECT_EQ(opened->manifest().trainCode, "7");
    EXPECT_EQ(opened->fingerprint().samples.size(), 2u);
    const std::string temp = opened->folder();
    EXPECT_TRUE(fs::exists(fs::path(temp) / "7_line.txt"));
    opened.reset();
    EXPECT_FALSE(fs::exists(temp)) << "the temporary folder stays after a package that was not installed";
}

TEST(HostilePackageTest, EntriesThatLeaveTheFolderAreRefusedByName) {
    for (const auto& [name, why] : std::vector<std::pair<std::string, std::string>>{
             {"/etc/evil.txt", "\"/etc/evil.txt\" is an absolute path"},
             {"../evil.txt", "\"../evil.txt\" leads out of its folder"},
             {"image/../../evil.txt", "\"image/../../evil.txt\" leads out of its folder"},
             // The reader may turn the backslash into a slash before the name is checked.
             {"..\\evil.txt", "evil.txt\" leads out of its folder"},
             {"C:\\evil.txt", "is an absolute path"}}) {
        auto entries = validEntries();
        entries.push_back({name, "x"});
        expectRefused(zipOf(entries), why);
    }
}

TEST(HostilePackageTest, LinksAndNamesDifferingInCaseAreRefused) {
    auto link = validEntries();
    link.push_back({"image/passwd", "", AE_IFLNK, "/etc/passwd"});
    expectRefused(zipOf(link), "\"image/passwd\" is a link");
    auto twice = validEntries();
    twice.push_back({"7_LINE.txt", "[LineName]\nOther\n"});
    expectRefused(zipOf(twice), "\"7_LINE.txt\" differs only in letter case");
}

TEST(HostilePackageTest, DamageAndAlterationAreRefused) {
    const std::string whole = zipOf(validEntries());
    expectRefused(whole.substr(0, whole.size() / 2), "the package is damaged");
    expectRefused("not a zip at all", "the package cannot be read");
    auto altered = validEntries();
    altered[1].bytes = "[LineName]\nAltered\n";  // after its checksum was taken
    expectRefused(zipOf(altered), "\"7_line.txt\" does not match its checksum");
    auto unlisted = validEntries();
    unlisted.push_back({"extra.txt", "x"});
    expectRefused(zipOf(unlisted), "\"extra.txt\" is not listed");
    auto noManifest = validEntries();
    noManifest.erase(noManifest.begin());
    expectRefused(zipOf(noManifest), "the package has no manifest");
}

TEST(HostilePackageTest, AZipBombIsRefused) {
    auto entries = validEntries();
    entries.push_back({"video/bomb.mp4", std::string(size_t(64) << 20, '\0')});
    expectRefused(zipOf(entries), "\"video/bomb.mp4\" unpacks to far more than its packed size");
}

// The size limits, on small numbers: 2 GB entries and a full disk are not made here.
TEST(HostilePackageTest, EntriesOverTheLimitsAreRefused) {
    class Null final : public ArchiveSink {
        bool begin(const std::string&, uint64_t, std::string*) override { return true; }
        bool data(std::string_view, std::string*) override { return true; }
        bool end(std::string*) override { return true; }
    } sink;
    auto entries = validEntries();
    entries.push_back({"sound/big.wav", std::string(5000, 'a')});
    const std::string zip = zipOf(entries);
    std::string error;
    ArchiveLimits entryLimit;
    entryLimit.maxEntryBytes = 4096;
    EXPECT_FALSE(readArchive({}, zip, entryLimit, sink, &error));
    EXPECT_NE(error.find("\"sound/big.wav\" is larger than 4096 bytes"), std::string::npos) << error;
    ArchiveLimits totalLimit;
    totalLimit.maxTotalBytes = 4500;
    EXPECT_FALSE(readArchive({}, zip, totalLimit, sink, &error));
    EXPECT_NE(error.find("\"sound/big.wav\" takes the package over the free space"), std::string::npos) << error;
    EXPECT_TRUE(readArchive({}, zip, ArchiveLimits{}, sink, &error)) << error;
}

}  // namespace
