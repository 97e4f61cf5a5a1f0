// The editor's timeline: one lane per route table with its rows drawn over
// frames, the recorded-speed curve with its keyframes, and the cursor.
// Clicking a row selects it; dragging one of its positions moves it (one
// undo step per drag); the speed curve's keyframes are dragged, added by a
// double click and removed by a right click. Once the video's motion has been
// analysed, a read-only lane shows where the picture stands still.
#pragma once
#include <QScrollBar>
#include <QWidget>
#include <optional>
#include <vector>

#include "edit/route_document.h"
#include "motion/motion_shape.h"

namespace ts::editor {

class Timeline : public QWidget {
    Q_OBJECT
public:
    explicit Timeline(edit::RouteDocument& doc, QWidget* parent = nullptr);

    void setFrameCount(int frames);
    int frameCount() const { return frames_; }
    // Moves the cursor, scrolling so that it stays in sight.
    void setCursorFrame(int frame);
    int cursorFrame() const { return cursor_; }
    // From the whole route in the width down to 8 pixels per frame.
    void zoomToAll();
    void zoom(double factor);
    void setFramesPerPixel(double framesPerPixel);
    double framesPerPixel() const { return framesPerPixel_; }
    int firstFrame() const { return int(first_); }
    // -1: no row selected.
    void selectRow(edit::TableKind kind, int row);
    std::optional<std::pair<edit::TableKind, int>> selectedRow() const { return selected_; }
    void documentChanged() { update(); }
    // Where the video's picture stands still (from its analysed motion), each
    // drawn with the stop range a station there would get; a click on one
    // puts the cursor on its first frame. None: the lane is not shown.
    void setStandstills(std::vector<motion::Standstill> standstills);
    const std::vector<motion::Standstill>& standstills() const { return standstills_; }

    // Where things are drawn (the tests press on them).
    QRect laneRect(edit::TableKind kind) const;
    int xOf(double frame) const;
    int frameAt(int x) const;
    QPoint handlePoint(edit::TableKind kind, int row, int column) const;
    QPoint keyframePoint(int index) const;
    // Empty while there are no standstills.
    QRect standstillRect() const;
    QSize sizeHint() const override;

signals:
    void cursorMoved(int frame);
    void rowSelected(edit::TableKind kind, int row);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    struct Drag {
        enum class What { None, Cursor, Position, Keyframe } what = What::None;
        edit::TableKind kind = edit::TableKind::Station;
        int row = 0, column = 0;
        std::vector<std::pair<int, int>> keyframes;
        int keyframe = 0;
    };
    int plotLeft() const;
    int plotWidth() const;
    QRect speedRect() const;
    std::optional<edit::TableKind> laneAt(int y) const;
    // The speed at the top of the curve's lane for these keyframes.
    static double speedTop(const std::vector<std::pair<int, int>>& keyframes);
    int yOfSpeed(double kmh, double top) const;
    QPoint pointOf(const std::pair<int, int>& keyframe, double top) const;
    int speedAt(int y) const;
    int nearestKeyframe(QPoint p) const;
    void updateScrollBar();
    void moveCursorTo(int frame);
    void paintLane(QPainter& p, edit::TableKind kind, const QRect& lane);
    void paintSpeed(QPainter& p);
    void paintStandstills(QPainter& p);
    // The standstill whose stand or stop range is under x, nearest first; -1: none.
    int standstillAtX(int x) const;
    void paintRuler(QPainter& p);
    QString rowLabel(edit::TableKind kind, int row) const;

    edit::RouteDocument& doc_;
    QScrollBar* scroll_;
    int frames_ = 4501;
    int cursor_ = 0;
    double first_ = 0;
    double framesPerPixel_ = 10;
    std::optional<std::pair<edit::TableKind, int>> selected_;
    std::vector<motion::Standstill> standstills_;
    Drag drag_;
};

// The lanes from top to bottom (every table but the recorded speed, which has the curve).
const std::vector<edit::TableKind>& laneKinds();

}  // namespace ts::editor
