#include "video_placement.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "data/whole_file.h"

namespace fs = std::filesystem;

namespace ts::editor {

namespace {

// The translation tools file a free function's tr() under its namespace.
QString tr(const char* s) { return QCoreApplication::translate("ts::editor", s); }

QString q(const std::string& s) { return QString::fromStdString(s); }

// The folder with every link resolved, the file's own name kept.
fs::path realFolderOf(const fs::path& file) {
    std::error_code ec;
    const fs::path abs = fs::absolute(file, ec);
    const fs::path folder = fs::weakly_canonical(abs.parent_path(), ec);
    return ec ? abs : folder / abs.filename();
}

bool startsOutside(const fs::path& relative) { return relative.empty() || *relative.begin() == ".."; }

}  // namespace

std::string nameInDataFolder(const std::string& video) {
    std::error_code ec;
    const fs::path here = fs::weakly_canonical(fs::current_path(ec), ec);
    const fs::path relative = realFolderOf(video).lexically_relative(here);
    return relative.empty() ? fs::absolute(video, ec).generic_string() : relative.generic_string();
}

bool insideDataFolder(const std::string& video) {
    std::error_code ec;
    const fs::path here = fs::weakly_canonical(fs::current_path(ec), ec);
    if (startsOutside(realFolderOf(video).lexically_relative(here))) return false;
    if (!fs::is_symlink(video, ec)) return true;
    return !startsOutside(fs::weakly_canonical(video, ec).lexically_relative(here));
}

VideoPlacement askVideoPlacement(QWidget* parent, const QString& video, const QString& target) {
    QMessageBox box(QMessageBox::Question, tr("Video outside the data folder"),
                    tr("The video %1 lies outside the data folder. A route names its video relative to the "
                       "folder, so that the folder can be moved or shared as a whole.\n\n"
                       "Copy or move it into the folder as %2?")
                        .arg(video, target),
                    QMessageBox::NoButton, parent);
    box.setObjectName("videoPlacement");
    QPushButton* copy = box.addButton(tr("&Copy into the folder"), QMessageBox::AcceptRole);
    QPushButton* move = box.addButton(tr("&Move into the folder"), QMessageBox::AcceptRole);
    QPushButton* leave = box.addButton(tr("&Leave it where it is"), QMessageBox::RejectRole);
    copy->setObjectName("copy");
    move->setObjectName("move");
    leave->setObjectName("leave");
    box.setDefaultButton(copy);
    box.exec();
    if (box.clickedButton() == move) return VideoPlacement::Move;
    if (box.clickedButton() == copy) return VideoPlacement::Copy;
    return VideoPlacement::Leave;
}

bool bringVideoIn(const std::string& from, const std::string& to, bool move, QWidget* parent, QString* why) {
    auto fail = [why](const QString& text) {
        if (why) *why = text;
        return false;
    };
    std::error_code ec;
    if (fs::exists(to, ec)) return fail(tr("%1 exists already in the data folder.").arg(q(to)));
    if (fs::path(to).has_parent_path()) fs::create_directories(fs::path(to).parent_path(), ec);
    if (ec) return fail(tr("Cannot make the folder for %1: %2").arg(q(to), q(ec.message())));
    // A move on the same file system is a rename, done at once.
    if (move) {
        fs::rename(from, to, ec);
        if (!ec) return true;
    }
    const auto size = fs::file_size(from, ec);
    if (ec) return fail(tr("Cannot read %1: %2").arg(q(from), q(ec.message())));
    std::ifstream in(from, std::ios::binary);
    if (!in) return fail(tr("Cannot read %1.").arg(q(from)));
    // Written beside its name and put there whole: a copy cut short (a full
    // disk, a crash) never stands under the video's name.
    FileReplacement out;
    std::string error;
    if (!out.open(to, &error)) return fail(tr("Cannot write %1: %2").arg(q(to), q(error)));
    QProgressDialog progress(tr("Copying the video into the data folder..."), tr("Cancel"), 0, 1000, parent);
    progress.setObjectName("videoCopyProgress");
    progress.setWindowTitle(tr("Route editor"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    std::vector<char> buffer(4 << 20);
    uintmax_t done = 0;
    bool ok = true;
    QString reason;
    while (in) {
        in.read(buffer.data(), std::streamsize(buffer.size()));
        const std::streamsize n = in.gcount();
        if (n <= 0) break;
        if (!out.write(std::string_view(buffer.data(), size_t(n)))) {
            ok = false;
            reason = tr("Cannot write %1 (is the disk full?).").arg(q(to));
            break;
        }
        done += uintmax_t(n);
        progress.setValue(size ? int(done * 1000 / size) : 1000);
        if (progress.wasCanceled()) {
            ok = false;
            break;
        }
    }
    if (ok && in.bad()) ok = false, reason = tr("Cannot read %1.").arg(q(from));
    // Never over a file that came meanwhile.
    if (ok && !out.commit(&error, true)) ok = false, reason = tr("Cannot write %1: %2").arg(q(to), q(error));
    if (!ok) {
        out.discard();
        return fail(reason);  // empty when cancelled
    }
    progress.setValue(1000);
    if (move) fs::remove(from, ec);
    return true;
}

std::optional<std::string> placeVideo(const std::string& video, QWidget* parent, QString* why) {
    if (insideDataFolder(video)) return nameInDataFolder(video);
    const std::string target = "video/" + fs::path(video).filename().string();
    const VideoPlacement how = askVideoPlacement(parent, q(video), q(target));
    if (how == VideoPlacement::Leave) return nameInDataFolder(video);
    if (!bringVideoIn(video, target, how == VideoPlacement::Move, parent, why)) return std::nullopt;
    return target;
}

}  // namespace ts::editor
