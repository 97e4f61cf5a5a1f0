// The document as it stands, in a temporary file: the readers that take a
// route by its path (a driving run, the GPS import) read unsaved edits from it.
#pragma once
#include <QTemporaryFile>
#include <memory>

#include "edit/route_document.h"

namespace ts::editor {

// Null when no temporary file can be written; the file goes with the object.
std::unique_ptr<QTemporaryFile> unsavedRouteFile(const edit::RouteDocument& doc);

}  // namespace ts::editor
