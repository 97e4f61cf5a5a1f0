// The route package reader on arbitrary bytes: the archive read into memory
// under small limits, every name it hands on checked, and the manifest and
// fingerprint readers on what it holds. A refusal is a message; a crash, a
// name that could leave its folder or a limit passed is a finding.
#include <map>
#include <string>

#include "fuzz_support.h"
#include "pack/package_archive.h"
#include "pack/package_manifest.h"
#include "pack/video_fingerprint.h"

using namespace ts::pack;

namespace {

class MemorySink final : public ArchiveSink {
public:
    std::map<std::string, std::string> files;
    uint64_t total = 0;
    bool begin(const std::string& name, uint64_t, std::string*) override {
        const std::string framed = "/" + name + "/";
        if (name.empty() || name.front() == '/' || framed.find("/../") != std::string::npos ||
            name.find('\\') != std::string::npos)
            ts::fuzz::fail("an entry name that could leave its folder: " + name);
        current_ = &files[name];
        return true;
    }
    bool data(std::string_view bytes, std::string*) override {
        total += bytes.size();
        current_->append(bytes);
        return true;
    }
    bool end(std::string*) override { return true; }

private:
    std::string* current_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ArchiveLimits limits;
    limits.maxEntryBytes = 1 << 20;
    limits.maxTotalBytes = 4 << 20;
    limits.ratioAllowance = 1 << 16;
    MemorySink sink;
    std::string error;
    const bool ok = readArchive({}, std::string_view(reinterpret_cast<const char*>(data), size), limits, sink, &error);
    if (!ok && error.empty()) ts::fuzz::fail("a refusal without a reason");
    if (sink.total > limits.maxTotalBytes) ts::fuzz::fail("more bytes handed on than the limit");
    for (const auto& [name, bytes] : sink.files) {
        if (name == kManifestName) {
            std::string why;
            if (auto m = parseManifest(bytes, &why); m && m->trainCode.empty())
                ts::fuzz::fail("a manifest without a code");
        } else if (name == kFingerprintName) {
            if (auto f = parseFingerprint(bytes))
                for (const FingerprintSample& s : f->samples)
                    if (s.frame < 0 || s.frame >= f->length) ts::fuzz::fail("a sample outside the video");
        }
    }
    // The manifest and fingerprint readers on the raw bytes too.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string why;
    (void)parseManifest(text, &why);
    (void)parseFingerprint(text);
    return 0;
}
