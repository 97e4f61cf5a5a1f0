#include "pack/package_archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <cctype>
#include <fstream>
#include <memory>
#include <set>

#include "data/whole_file.h"
#include "text/our_text.h"

namespace ts::pack {

namespace {

using ArchivePtr = std::unique_ptr<archive, int (*)(archive*)>;

std::string lowerCase(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string archiveError(archive* a) {
    const char* e = archive_error_string(a);
    return e ? e : "unknown error";
}

la_ssize_t writeCallback(archive*, void* client, const void* buffer, size_t length) {
    auto* out = static_cast<FileReplacement*>(client);
    if (!out->write(std::string_view(static_cast<const char*>(buffer), length))) return -1;
    return la_ssize_t(length);
}

bool addFile(archive* a, const PackFile& f, std::string* error) {
    std::unique_ptr<archive_entry, void (*)(archive_entry*)> e(archive_entry_new(), archive_entry_free);
    std::ifstream in;
    uint64_t size = f.bytes.size();
    if (!f.source.empty()) {
        in.open(f.source, std::ios::binary | std::ios::ate);
        if (!in) {
            *error = withArgs(trText("Packages", "%1: cannot be read"), {f.source});
            return false;
        }
        size = uint64_t(in.tellg());
        in.seekg(0);
    }
    archive_entry_set_pathname_utf8(e.get(), f.name.c_str());
    archive_entry_set_filetype(e.get(), AE_IFREG);
    archive_entry_set_perm(e.get(), 0644);
    archive_entry_set_size(e.get(), la_int64_t(size));
    // A fixed time: the same files make the same package.
    archive_entry_set_mtime(e.get(), 0, 0);
    if (archive_write_header(a, e.get()) != ARCHIVE_OK) {
        *error = f.name + ": " + archiveError(a);
        return false;
    }
    if (f.source.empty()) {
        if (!f.bytes.empty() && archive_write_data(a, f.bytes.data(), f.bytes.size()) < 0) {
            *error = f.name + ": " + archiveError(a);
            return false;
        }
        return true;
    }
    std::string buffer(1 << 16, '\0');
    uint64_t copied = 0;
    while (in && copied < size) {
        in.read(buffer.data(), std::streamsize(buffer.size()));
        const auto n = size_t(in.gcount());
        if (n == 0) break;
        if (archive_write_data(a, buffer.data(), n) < 0) {
            *error = f.name + ": " + archiveError(a);
            return false;
        }
        copied += n;
    }
    if (copied != size) {
        *error = withArgs(trText("Packages", "%1: changed while it was packed"), {f.source});
        return false;
    }
    return true;
}

}  // namespace

bool writeArchive(const std::string& path, const std::vector<PackFile>& files, std::string* error) {
    FileReplacement out;
    if (!out.open(path, error)) return false;
    ArchivePtr a(archive_write_new(), archive_write_free);
    archive_write_set_format_zip(a.get());
    archive_write_set_bytes_in_last_block(a.get(), 1);
    if (archive_write_open2(a.get(), &out, nullptr, writeCallback, nullptr, nullptr) != ARCHIVE_OK) {
        *error = path + ": " + archiveError(a.get());
        return false;
    }
    for (const PackFile& f : files)
        if (!addFile(a.get(), f, error)) return false;
    if (archive_write_close(a.get()) != ARCHIVE_OK || out.failed()) {
        *error = path + ": " + (out.failed() ? out.failure() : archiveError(a.get()));
        return false;
    }
    return out.commit(error);
}

std::string checkedEntryName(std::string_view raw, std::string* why) {
    std::string name(raw);
    for (char& c : name)
        if (c == '\\') c = '/';
    if (name.empty()) {
        *why = trText("Packages", "an entry without a name");
        return {};
    }
    if (name.front() == '/' || (name.size() >= 2 && name[1] == ':')) {
        *why = withArgs(trText("Packages", "\"%1\" is an absolute path"), {std::string(raw)});
        return {};
    }
    std::string kept;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find('/', start), name.size());
        const std::string part = name.substr(start, end - start);
        if (part == "..") {
            *why = withArgs(trText("Packages", "\"%1\" leads out of its folder (..)"), {std::string(raw)});
            return {};
        }
        for (unsigned char c : part)
            if (c < 0x20 || c == 0x7F) {
                *why = withArgs(trText("Packages", "\"%1\" holds a control character"), {std::string(raw)});
                return {};
            }
        if (!part.empty() && part != ".") kept += (kept.empty() ? "" : "/") + part;
        start = end + 1;
    }
    if (kept.empty()) *why = withArgs(trText("Packages", "\"%1\" names no file"), {std::string(raw)});
    return kept;
}

bool readArchive(const std::string& path, std::string_view memory, const ArchiveLimits& limits, ArchiveSink& sink,
                 std::string* error) {
    ArchivePtr a(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(a.get());
    const int opened = path.empty() ? archive_read_open_memory(a.get(), memory.data(), memory.size())
                                    : archive_read_open_filename(a.get(), path.c_str(), 1 << 16);
    if (opened != ARCHIVE_OK) {
        *error = withArgs(trText("Packages", "the package cannot be read: %1"), {archiveError(a.get())});
        return false;
    }
    std::set<std::string> seen;  // names in lower case
    uint64_t total = 0, entries = 0;
    archive_entry* e = nullptr;
    std::string buffer(1 << 16, '\0');
    for (;;) {
        const int r = archive_read_next_header(a.get(), &e);
        if (r == ARCHIVE_EOF) break;
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
            *error = withArgs(trText("Packages", "the package is damaged: %1"), {archiveError(a.get())});
            return false;
        }
        const char* rawName = archive_entry_pathname(e);
        const std::string raw = rawName ? rawName : "";
        if (++entries > limits.maxEntries) {
            *error = withArgs(trText("Packages", "the package holds more than %1 entries"),
                              {std::to_string(limits.maxEntries)});
            return false;
        }
        std::string why;
        const std::string name = checkedEntryName(raw, &why);
        if (name.empty()) {
            *error = withArgs(trText("Packages", "refused: %1"), {why});
            return false;
        }
        const auto type = archive_entry_filetype(e);
        if (archive_entry_hardlink(e) || archive_entry_symlink(e) || type == AE_IFLNK) {
            *error = withArgs(trText("Packages", "refused: \"%1\" is a link"), {name});
            return false;
        }
        if (type == AE_IFDIR) continue;
        if (type != AE_IFREG) {
            *error = withArgs(trText("Packages", "refused: \"%1\" is not a plain file (a device, a pipe or a socket)"),
                              {name});
            return false;
        }
        if (!seen.insert(lowerCase(name)).second) {
            *error = withArgs(
                trText("Packages", "refused: \"%1\" differs only in letter case from another entry, or repeats one"),
                {name});
            return false;
        }
        const la_int64_t declared = archive_entry_size_is_set(e) ? archive_entry_size(e) : 0;
        if (declared < 0 || uint64_t(declared) > limits.maxEntryBytes) {
            *error = withArgs(trText("Packages", "refused: \"%1\" is larger than %2 bytes"),
                              {name, std::to_string(limits.maxEntryBytes)});
            return false;
        }
        if (total + uint64_t(declared) > limits.maxTotalBytes) {
            *error = withArgs(trText("Packages", "refused: \"%1\" takes the package over the free space (%2 bytes)"),
                              {name, std::to_string(limits.maxTotalBytes)});
            return false;
        }
        if (!sink.begin(name, uint64_t(declared), error)) return false;
        uint64_t size = 0;
        for (;;) {
            const la_ssize_t n = archive_read_data(a.get(), buffer.data(), buffer.size());
            if (n == 0) break;
            if (n < 0) {
                *error =
                    withArgs(trText("Packages", "the package is damaged at \"%1\": %2"), {name, archiveError(a.get())});
                return false;
            }
            size += uint64_t(n);
            total += uint64_t(n);
            if (size > limits.maxEntryBytes) {
                *error = withArgs(trText("Packages", "refused: \"%1\" is larger than %2 bytes"),
                                  {name, std::to_string(limits.maxEntryBytes)});
                return false;
            }
            if (total > limits.maxTotalBytes) {
                *error =
                    withArgs(trText("Packages", "refused: \"%1\" takes the package over the free space (%2 bytes)"),
                             {name, std::to_string(limits.maxTotalBytes)});
                return false;
            }
            const auto packed = uint64_t(std::max<la_int64_t>(1, archive_filter_bytes(a.get(), -1)));
            if (total > limits.ratioAllowance && double(total) > limits.maxRatio * double(packed)) {
                *error = withArgs(
                    trText("Packages", "refused: \"%1\" unpacks to far more than its packed size (a zip bomb)"),
                    {name});
                return false;
            }
            if (!sink.data(std::string_view(buffer.data(), size_t(n)), error)) return false;
        }
        if (declared > 0 && size != uint64_t(declared)) {
            *error =
                withArgs(trText("Packages", "the package is damaged: \"%1\" is shorter than its entry says"), {name});
            return false;
        }
        if (!sink.end(error)) return false;
    }
    return true;
}

}  // namespace ts::pack
