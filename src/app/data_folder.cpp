#include "data_folder.h"

#include <QtGlobal>

#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "data/file_names.h"

namespace fs = std::filesystem;

namespace ts {

bool holdsDataFiles(const std::string& dir) {
    std::error_code ec;
    const fs::path base = fs::absolute(dir, ec);
    if (ec) return false;
    // Looked up the way the loading sequence looks them up, so that a data set
    // made on another system (other letter case) counts as well.
    const fs::path keep = fs::current_path(ec);
    if (ec || chdir(base.c_str()) != 0) return false;
    bool found = false;
    for (const char* name : {"mascon.txt", "string.txt"})
        if (fs::is_regular_file(resolveDataPath(name), ec)) found = true;
    if (chdir(keep.c_str()) != 0) return found;
    return found;
}

std::string installedDemoFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    const fs::path demo = (exe.parent_path() / TRAINSIM_BIN_TO_DEMO).lexically_normal();
    if (!holdsDataFiles(demo.string())) return {};
    return demo.string();
}

DataFolder chooseDataFolder(const std::string& given) {
    if (!given.empty()) return {given, QT_TRANSLATE_NOOP("CommandLine", "given with --data")};
    if (holdsDataFiles(".")) return {{}, QT_TRANSLATE_NOOP("CommandLine", "the current folder")};
    if (std::string demo = installedDemoFolder(); !demo.empty())
        return {demo,
                QT_TRANSLATE_NOOP("CommandLine", "the installed demo, as the current folder holds no data files")};
    return {{},
            QT_TRANSLATE_NOOP("CommandLine",
                              "the current folder (it holds no data files, and no installed demo was found)")};
}

}  // namespace ts
