// The live check: the checker's diagnostics of the route as edited, shown in
// a list that follows the edits (a short pause after the last one), each
// telling which row it belongs to.
#pragma once
#include <QListWidget>
#include <QTimer>
#include <string>

#include "edit/route_document.h"

namespace ts::editor {

class CheckList : public QListWidget {
    Q_OBJECT
public:
    CheckList(const edit::RouteDocument& doc, std::string code, QWidget* parent = nullptr);

    // Checks again a moment after the last call (edits come in bursts).
    void scheduleCheck();
    // Checks now.
    void checkNow();
    int errors() const { return errors_; }
    int warnings() const { return warnings_; }
    bool pending() const { return timer_.isActive(); }

signals:
    void checked(int errors, int warnings);
    // A diagnostic of a table row was clicked.
    void rowChosen(edit::TableKind kind, int row);

private:
    const edit::RouteDocument& doc_;
    std::string code_;
    QTimer timer_;
    int errors_ = 0, warnings_ = 0;
};

}  // namespace ts::editor
