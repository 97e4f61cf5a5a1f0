// Preparing a video's quick-seeking working copy from the editor: the copy
// is written on a thread of its own while a progress dialog shows how far
// it is and about how long is left, with Cancel.
#pragma once
#include <QString>
#include <string>

class QWidget;

namespace ts::editor {

// Prepares the copy of `original` for the largest view chosen so far; true
// when it is ready. `message` says what went wrong (empty when cancelled).
bool prepareCopyWithProgress(QWidget* parent, const std::string& original, QString* message);

}  // namespace ts::editor
