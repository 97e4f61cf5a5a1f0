// A new route's video named the way routes name theirs: relative to the data
// folder (the current folder). A video outside the folder is offered to be
// copied or moved into it, so that the folder moves to another machine whole.
#pragma once
#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace ts::editor {

// `video` relative to the current folder ("../x.mp4" for one outside it),
// with "/" separators.
std::string nameInDataFolder(const std::string& video);

// True when `video` lies inside the current folder (a link into it counts as
// outside when what it points at is outside).
bool insideDataFolder(const std::string& video);

enum class VideoPlacement { Copy, Move, Leave };

// Asks whether a video outside the folder is copied, moved or left where it is.
VideoPlacement askVideoPlacement(QWidget* parent, const QString& video, const QString& target);

// Copies (or moves) `from` to `to` with a progress bar; a cancelled or failed
// copy leaves nothing behind. False with the reason in `why`.
bool bringVideoIn(const std::string& from, const std::string& to, bool move, QWidget* parent, QString* why);

// The name [Path] gets for `video`: asked and copied or moved when it lies
// outside the folder. Nothing when cancelled or failed (`why` says why).
std::optional<std::string> placeVideo(const std::string& video, QWidget* parent, QString* why);

}  // namespace ts::editor
