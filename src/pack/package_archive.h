// The route package's archive (a zip, through libarchive): written from
// files, and read as untrusted input with every entry checked before a byte
// of it is kept.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ts::pack {

// What the reader allows. A package is somebody else's file: its entries
// must not reach outside the folder they are unpacked into, nor fill the disk.
struct ArchiveLimits {
    uint64_t maxEntryBytes = uint64_t(2) << 30;  // 2 GB
    uint64_t maxTotalBytes = UINT64_MAX;         // the free space where it is unpacked
    // Unpacked bytes per byte of the archive read so far, beyond the first `ratioAllowance` bytes.
    double maxRatio = 100;
    uint64_t ratioAllowance = uint64_t(16) << 20;
    uint64_t maxEntries = 100000;
};

// One file to write: its name inside the package ("/" separators) and where its bytes are.
struct PackFile {
    std::string name;
    std::string source;  // a file on disk, or
    std::string bytes;   // the bytes themselves when `source` is empty
};

// Writes the zip to `path` whole or not at all; false with `error`.
bool writeArchive(const std::string& path, const std::vector<PackFile>& files, std::string* error);

// Called for each entry: its checked name, then its bytes in pieces, then
// done. Returning false from any call stops the reading with `error` as
// the reason (the receiver's own).
class ArchiveSink {
public:
    virtual ~ArchiveSink() = default;
    virtual bool begin(const std::string& name, uint64_t declaredSize, std::string* error) = 0;
    virtual bool data(std::string_view bytes, std::string* error) = 0;
    virtual bool end(std::string* error) = 0;
};

// Reads the archive at `path` (or the bytes `memory` when `path` is empty),
// handing every regular file to `sink`. Refuses, with the entry's name in
// `error`: absolute names, ".." parts, links, devices and other non-files,
// names equal to another's but for letter case, entries over the limit, a
// total over the limit, and unpacked bytes out of all proportion to the
// archive's (a zip bomb); a damaged or truncated archive too.
bool readArchive(const std::string& path, std::string_view memory, const ArchiveLimits& limits, ArchiveSink& sink,
                 std::string* error);

// The entry name as kept: "/" separators, "." parts dropped; empty with
// `why` set when the name is refused.
std::string checkedEntryName(std::string_view raw, std::string* why);

}  // namespace ts::pack
