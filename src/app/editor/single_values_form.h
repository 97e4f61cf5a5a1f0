// The route file's one-value sections (line name, start frame and time, frame
// rate, aspect speeds, preceding train, one-man, end of the line, ...) as a form.
#pragma once
#include <QWidget>
#include <map>

#include "edit/route_document.h"

class QLabel;
class QLineEdit;

namespace ts::editor {

class SingleValuesForm : public QWidget {
    Q_OBJECT
public:
    SingleValuesForm(edit::RouteDocument& doc, QWidget* parent = nullptr);

    // Shows the document's values (after an undo, say).
    void reload();
    QLineEdit* field(edit::SingleValue v) const { return fields_.at(v); }
    // "Set from the video": the end of the line at the video's last frame.
    void setVideoFrames(int frames);

protected:
    void changeEvent(QEvent* e) override;

private:
    void commit(edit::SingleValue v);

    edit::RouteDocument& doc_;
    std::map<edit::SingleValue, QLineEdit*> fields_;
    QLabel* problem_;
    int videoFrames_ = 0;
};

}  // namespace ts::editor
