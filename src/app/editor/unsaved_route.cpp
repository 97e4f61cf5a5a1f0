#include "unsaved_route.h"

#include <QDir>

namespace ts::editor {

std::unique_ptr<QTemporaryFile> unsavedRouteFile(const edit::RouteDocument& doc) {
    auto file = std::make_unique<QTemporaryFile>(QDir::temp().filePath("trainsim-route-XXXXXX.txt"));
    if (!file->open()) return nullptr;
    const std::string bytes = doc.bytes();
    const bool written = file->write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
    file->close();
    return written ? std::move(file) : nullptr;
}

}  // namespace ts::editor
