// Which route the editor works on: an existing route of the data folder, or a
// new one made from a video and the train file of a route that is there.
#pragma once
#include <QString>
#include <optional>
#include <string>

#include "edit/route_document.h"

class QWidget;

namespace ts::editor {

class EditorWindow;

struct RouteRequest {
    std::string code;
    std::string video;      // a new route's video; empty: asked for
    std::string trainFrom;  // the code whose train file a new route takes; empty: asked for
    // Where a train not in the data folder is taken from, with its pictures,
    // sounds and the shared files (the installed demo when empty).
    std::string trainSource;
};

struct OpenedRoute {
    edit::RouteDocument doc;
    std::string code, path;
};

// The code of a route to edit, asked for in a list of the folder's routes;
// `allowNew` lets a new code be typed. Nothing when cancelled.
std::optional<std::string> askRouteCode(QWidget* parent, bool allowNew);

// Opens CODE_line.txt, or makes the new route (asking for what the request
// leaves open) and writes it at once, with everything else a run of it
// reads copied into the data folder from the folder of the train it takes. Nothing when cancelled (`why` empty) or
// refused (`why` says why). `asked` tells whether a dialog was shown.
std::optional<OpenedRoute> openRoute(RouteRequest request, QWidget* parent, QString* why, bool* asked);

// A window for the route, shown and fitted to the screen; it deletes itself when closed.
EditorWindow* showEditor(OpenedRoute route);

}  // namespace ts::editor
