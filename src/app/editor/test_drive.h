// A driving run of the route as edited, unsaved changes included, standing
// at a frame as a station jump would place it; returns when its window closes.
#pragma once
#include <QString>
#include <functional>
#include <string>

#include "edit/route_document.h"

namespace ts {
class TForm1;
}

namespace ts::editor {

struct TestDrive {
    std::string code;
    int frame = 0;
    // Where the unsaved route is kept should the run end the program.
    std::string recoveryPath;
    // Called once the driving window shows (tests drive and close it from here).
    std::function<void(TForm1&)> shown;
};

// False (with why) when the run could not start; its message box has then been shown.
bool testDrive(const edit::RouteDocument& doc, const TestDrive& how, QString* error);

}  // namespace ts::editor
