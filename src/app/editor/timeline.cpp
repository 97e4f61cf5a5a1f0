#include "timeline.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "edit/route_tables.h"
#include "gps/stations.h"
#include "route_table_model.h"
#include "shown_text.h"

namespace ts::editor {

using edit::FieldInfo;
using edit::TableKind;

namespace {

constexpr int kLabelWidth = 110;
constexpr int kRulerHeight = 20;
constexpr int kLaneHeight = 20;
constexpr int kSpeedHeight = 90;
constexpr int kGrab = 5;  // pixels around a position that take a press
constexpr double kMinFramesPerPixel = 1.0 / 8;
const QColor kStandstillColour(0xc0, 0x30, 0x20);  // as the speed-from-video chart draws them

QColor laneColour(TableKind kind) {
    static const std::pair<TableKind, QColor> colours[] = {
        {TableKind::Station, QColor(0x1f, 0x77, 0xb4)},    {TableKind::Signal, QColor(0xd6, 0x27, 0x28)},
        {TableKind::SpeedLimit, QColor(0xff, 0x7f, 0x0e)}, {TableKind::SpeedCheck, QColor(0xbc, 0x6c, 0x25)},
        {TableKind::Slope, QColor(0x2c, 0xa0, 0x2c)},      {TableKind::Sign, QColor(0x94, 0x67, 0xbd)},
        {TableKind::Tunnel, QColor(0x55, 0x55, 0x55)},     {TableKind::RouteSound, QColor(0x17, 0xbe, 0xcf)},
        {TableKind::Announce, QColor(0xe3, 0x77, 0xc2)},   {TableKind::Doppler, QColor(0x8c, 0x56, 0x4b)},
        {TableKind::StopSound, QColor(0x7f, 0x7f, 0x00)},  {TableKind::SpeedUnit, QColor(0x00, 0x00, 0x00)},
    };
    for (const auto& [k, colour] : colours)
        if (k == kind) return colour;
    return Qt::gray;  // a table without a colour of its own
}

}  // namespace

const std::vector<TableKind>& laneKinds() {
    // Every table but the recorded speed, which is drawn as the curve below.
    static const std::vector<TableKind> kinds = [] {
        std::vector<TableKind> k;
        for (const edit::TableDef& def : edit::tableDefs())
            if (def.kind != TableKind::SpeedUnit) k.push_back(def.kind);
        return k;
    }();
    return kinds;
}

Timeline::Timeline(edit::RouteDocument& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    scroll_ = new QScrollBar(Qt::Horizontal, this);
    scroll_->setObjectName("timelineScroll");
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) {
        first_ = v;
        update();
    });
    setMouseTracking(false);
    setFocusPolicy(Qt::ClickFocus);
    setMinimumHeight(sizeHint().height());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize Timeline::sizeHint() const {
    const int lanes = int(laneKinds().size()) + (standstills_.empty() ? 0 : 1);
    return {800, kRulerHeight + lanes * kLaneHeight + kSpeedHeight + scroll_->sizeHint().height()};
}

int Timeline::plotLeft() const { return kLabelWidth; }
int Timeline::plotWidth() const { return std::max(width() - kLabelWidth, 10); }

QRect Timeline::laneRect(TableKind kind) const {
    const auto& kinds = laneKinds();
    const auto it = std::find(kinds.begin(), kinds.end(), kind);
    if (it == kinds.end()) return speedRect();
    const int i = int(it - kinds.begin());
    return QRect(plotLeft(), kRulerHeight + i * kLaneHeight, plotWidth(), kLaneHeight);
}

QRect Timeline::standstillRect() const {
    if (standstills_.empty()) return {};
    return QRect(plotLeft(), kRulerHeight + int(laneKinds().size()) * kLaneHeight, plotWidth(), kLaneHeight);
}

QRect Timeline::speedRect() const {
    const int lanes = int(laneKinds().size()) + (standstills_.empty() ? 0 : 1);
    return QRect(plotLeft(), kRulerHeight + lanes * kLaneHeight, plotWidth(), kSpeedHeight);
}

void Timeline::setStandstills(std::vector<motion::Standstill> standstills) {
    standstills_ = std::move(standstills);
    setMinimumHeight(sizeHint().height());
    updateGeometry();
    update();
}

int Timeline::xOf(double frame) const { return plotLeft() + int(std::floor((frame - first_) / framesPerPixel_)); }

int Timeline::frameAt(int x) const {
    const double f = first_ + (x - plotLeft() + 0.5) * framesPerPixel_;
    return std::clamp(int(std::floor(f)), 0, std::max(frames_ - 1, 0));
}

void Timeline::setFrameCount(int frames) {
    frames_ = std::max(frames, 1);
    updateScrollBar();
    update();
}

void Timeline::zoomToAll() { setFramesPerPixel(double(frames_) / plotWidth()); }

void Timeline::zoom(double factor) {
    // Zooms about the cursor when it is in sight, else about the middle.
    const int x = xOf(cursor_);
    const int anchorX = x >= plotLeft() && x < plotLeft() + plotWidth() ? x : plotLeft() + plotWidth() / 2;
    const double anchor = first_ + (anchorX - plotLeft()) * framesPerPixel_;
    setFramesPerPixel(framesPerPixel_ / factor);
    first_ = std::max(0.0, anchor - (anchorX - plotLeft()) * framesPerPixel_);
    updateScrollBar();
    update();
}

void Timeline::setFramesPerPixel(double fpp) {
    const double most = std::max(double(frames_) / plotWidth(), kMinFramesPerPixel);
    framesPerPixel_ = std::clamp(fpp, kMinFramesPerPixel, most);
    updateScrollBar();
    update();
}

void Timeline::updateScrollBar() {
    const int visible = int(plotWidth() * framesPerPixel_);
    const int last = std::max(frames_ - visible, 0);
    first_ = std::clamp(first_, 0.0, double(last));
    const QSignalBlocker block(scroll_);
    scroll_->setRange(0, last);
    scroll_->setPageStep(std::max(visible, 1));
    scroll_->setSingleStep(std::max(visible / 10, 1));
    scroll_->setValue(int(first_));
}

void Timeline::setCursorFrame(int frame) {
    if (frame == cursor_) return;
    cursor_ = frame;
    const int x = xOf(frame);
    if (x < plotLeft() || x >= plotLeft() + plotWidth()) {
        first_ = std::max(0.0, frame - plotWidth() * framesPerPixel_ / 3);
        updateScrollBar();
    }
    update();
}

void Timeline::moveCursorTo(int frame) {
    setCursorFrame(frame);
    emit cursorMoved(cursor_);
}

void Timeline::selectRow(TableKind kind, int row) {
    if (row < 0)
        selected_.reset();
    else
        selected_ = std::pair{kind, row};
    update();
}

void Timeline::resizeEvent(QResizeEvent*) {
    const int h = scroll_->sizeHint().height();
    scroll_->setGeometry(plotLeft(), height() - h, plotWidth(), h);
    setFramesPerPixel(framesPerPixel_);
}

QPoint Timeline::handlePoint(TableKind kind, int row, int column) const {
    const auto columns = doc_.frameColumns(kind);
    const auto positions = doc_.framePositions(kind, row);
    for (size_t i = 0; i < columns.size() && i < positions.size(); ++i)
        if (columns[i] == column) return QPoint(xOf(positions[i] + 0.5), laneRect(kind).center().y());
    return {};
}

QPoint Timeline::keyframePoint(int index) const {
    const auto points = doc_.speedKeyframes();
    if (index < 0 || size_t(index) >= points.size()) return {};
    return pointOf(points[size_t(index)], speedTop(points));
}

QPoint Timeline::pointOf(const std::pair<int, int>& keyframe, double top) const {
    return QPoint(xOf(keyframe.first + 0.5), yOfSpeed(keyframe.second, top));
}

double Timeline::speedTop(const std::vector<std::pair<int, int>>& keyframes) {
    int most = 40;
    for (const auto& p : keyframes) most = std::max(most, p.second);
    return std::ceil(most * 1.15 / 10) * 10;
}

int Timeline::yOfSpeed(double kmh, double top) const {
    const QRect r = speedRect().adjusted(0, 6, 0, -4);
    return r.bottom() - int(std::lround(kmh / top * r.height()));
}

int Timeline::speedAt(int y) const {
    const QRect r = speedRect().adjusted(0, 6, 0, -4);
    return std::max(0, int(std::lround(double(r.bottom() - y) / r.height() * speedTop(doc_.speedKeyframes()))));
}

int Timeline::nearestKeyframe(QPoint p) const {
    const auto points = doc_.speedKeyframes();
    const double top = speedTop(points);
    int best = -1, bestDistance = kGrab * kGrab * 2;
    for (size_t i = 0; i < points.size(); ++i) {
        const int d = (pointOf(points[i], top) - p).manhattanLength();
        if (d <= bestDistance) {
            best = int(i);
            bestDistance = d;
        }
    }
    return best;
}

std::optional<TableKind> Timeline::laneAt(int y) const {
    for (TableKind k : laneKinds()) {
        const QRect r = laneRect(k);
        if (y >= r.top() && y <= r.bottom()) return k;
    }
    return std::nullopt;
}

QString Timeline::rowLabel(TableKind kind, int row) const {
    const auto& fields = doc_.fields(kind);
    for (size_t c = 0; c < fields.size(); ++c)
        if (fields[c].type == FieldInfo::Type::Text) return shownText(doc_.text(kind, row, int(c)));
    if (fields.empty() || fields[0].type == FieldInfo::Type::Frame) return {};
    const QString first = QString::fromStdString(doc_.text(kind, row, 0));
    if (fields[0].type == FieldInfo::Type::Gradient) return first + QString::fromUtf8(" ‰");
    if (kind == TableKind::SpeedLimit || kind == TableKind::SpeedCheck) return first + " km/h";
    return "#" + first;
}

void Timeline::paintRuler(QPainter& p) {
    p.fillRect(QRect(plotLeft(), 0, plotWidth(), kRulerHeight), palette().alternateBase());
    // A tick step of 1, 2 or 5 times a power of ten frames, about 80 pixels apart.
    const double want = framesPerPixel_ * 80;
    double step = 1;
    while (step < want) {
        if (step * 2 >= want) {
            step *= 2;
            break;
        }
        if (step * 5 >= want) {
            step *= 5;
            break;
        }
        step *= 10;
    }
    p.setPen(palette().text().color());
    const int last = frameAt(plotLeft() + plotWidth() - 1);
    for (double f = std::floor(first_ / step) * step; f <= last; f += step) {
        const int x = xOf(f);
        if (x < plotLeft()) continue;
        p.drawLine(x, kRulerHeight - 6, x, kRulerHeight);
        p.drawText(x + 3, kRulerHeight - 6, QString::number(qlonglong(f)));
    }
}

void Timeline::paintLane(QPainter& p, TableKind kind, const QRect& lane) {
    const QColor colour = laneColour(kind);
    const int rows = doc_.rowCount(kind);
    const int firstVisible = int(first_), lastVisible = frameAt(plotLeft() + plotWidth() - 1);
    for (int row = 0; row < rows; ++row) {
        const auto positions = doc_.framePositions(kind, row);
        if (positions.empty()) continue;
        const auto [lo, hi] = std::minmax_element(positions.begin(), positions.end());
        if (*hi < firstVisible - 1 || *lo > lastVisible + 1) continue;
        const bool selected = selected_ && selected_->first == kind && selected_->second == row;
        const QRect bar(QPoint(xOf(*lo), lane.top() + 4), QPoint(xOf(*hi + 1) - 1, lane.bottom() - 4));
        QColor fill = colour;
        fill.setAlpha(selected ? 170 : 80);
        p.fillRect(bar, fill);
        p.setPen(QPen(selected ? Qt::black : colour.darker(130), selected ? 2 : 1));
        for (int f : positions) {
            const int x = xOf(f + 0.5);
            p.drawLine(x, lane.top() + 2, x, lane.bottom() - 2);
        }
        const QString label = rowLabel(kind, row);
        if (!label.isEmpty()) {
            // On a pale patch, so that the row's marks do not cross out its name.
            const QRect text = p.fontMetrics()
                                   .boundingRect(QRect(xOf(*lo) + 3, lane.top(), 200, lane.height()),
                                                 Qt::AlignVCenter | Qt::AlignLeft, label)
                                   .adjusted(-1, 1, 1, -1);
            QColor patch = palette().base().color();
            patch.setAlpha(190);
            p.fillRect(text, patch);
            p.setPen(palette().text().color());
            p.drawText(text, Qt::AlignCenter, label);
        }
    }
}

int Timeline::standstillAtX(int x) const {
    // The stop range a station placed on the stand would get, as the GPS
    // import places one: centred on the frame where the train came to rest.
    const int half = gps::StationOptions{}.halfRangeFrames;
    const int frame = frameAt(x);
    int best = -1, bestDistance = 0;
    for (size_t i = 0; i < standstills_.size(); ++i) {
        const motion::Standstill& s = standstills_[i];
        const int lo = s.first - half, hi = std::max(s.last, s.first + half);
        if (x < xOf(lo) - kGrab || x > xOf(hi + 1) + kGrab) continue;
        const int d = s.contains(frame) ? 0 : std::min(std::abs(frame - s.first), std::abs(frame - s.last));
        if (best < 0 || d < bestDistance) best = int(i), bestDistance = d;
    }
    return best;
}

void Timeline::paintStandstills(QPainter& p) {
    const QRect lane = standstillRect();
    const int half = gps::StationOptions{}.halfRangeFrames;
    const int firstVisible = int(first_), lastVisible = frameAt(plotLeft() + plotWidth() - 1);
    QColor fill = kStandstillColour;
    fill.setAlpha(150);
    for (const motion::Standstill& s : standstills_) {
        const int lo = s.first - half, hi = std::max(s.last, s.first + half);
        if (hi < firstVisible - 1 || lo > lastVisible + 1) continue;
        p.setPen(QPen(kStandstillColour, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(xOf(lo), lane.top() + 2), QPoint(xOf(hi + 1) - 1, lane.bottom() - 2)));
        const QRect bar(QPoint(xOf(s.first), lane.top() + 5), QPoint(xOf(s.last + 1) - 1, lane.bottom() - 5));
        p.fillRect(bar, fill);
        const QString label = tr("%1 s").arg((s.last - s.first + 1) / 30.0, 0, 'f', 1);
        if (p.fontMetrics().horizontalAdvance(label) + 6 < bar.width()) {
            p.setPen(Qt::white);
            p.drawText(bar, Qt::AlignCenter, label);
        }
    }
}

void Timeline::paintSpeed(QPainter& p) {
    const QRect r = speedRect();
    p.fillRect(r, palette().base());
    // The curve and its scale once per paint: a drag repaints at every move.
    const auto points = doc_.speedKeyframes();
    const double top = speedTop(points);
    p.setPen(QPen(palette().mid().color(), 1, Qt::DotLine));
    for (int kmh = 20; kmh < top; kmh += 20) {
        const int y = yOfSpeed(kmh, top);
        p.drawLine(r.left(), y, r.right(), y);
        p.drawText(r.left() + 2, y - 2, QString::number(kmh));
    }
    QPolygon curve;
    for (const auto& k : points) curve << pointOf(k, top);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x9a), 2));
    p.drawPolyline(curve);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x9a), 1));
    // Handles only where they are far enough apart to be told from each other.
    if (points.size() < size_t(plotWidth() / 4))
        for (const QPoint& k : curve) p.drawRect(k.x() - 3, k.y() - 3, 6, 6);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void Timeline::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    paintRuler(p);
    for (TableKind kind : laneKinds()) {
        const QRect lane = laneRect(kind);
        p.fillRect(lane, palette().base());
        p.setPen(palette().mid().color());
        p.drawLine(lane.bottomLeft(), lane.bottomRight());
        p.setPen(palette().text().color());
        p.drawText(QRect(4, lane.top(), kLabelWidth - 8, lane.height()), Qt::AlignVCenter | Qt::AlignLeft,
                   tableTitle(kind));
        p.setClipRect(lane);
        paintLane(p, kind, lane);
        p.setClipping(false);
    }
    if (!standstills_.empty()) {
        const QRect lane = standstillRect();
        p.fillRect(lane, palette().base());
        p.setPen(palette().mid().color());
        p.drawLine(lane.bottomLeft(), lane.bottomRight());
        p.setPen(palette().text().color());
        p.drawText(QRect(4, lane.top(), kLabelWidth - 8, lane.height()), Qt::AlignVCenter | Qt::AlignLeft,
                   tr("Standstills"));
        p.setClipRect(lane);
        paintStandstills(p);
        p.setClipping(false);
    }
    p.setPen(palette().text().color());
    p.drawText(QRect(4, speedRect().top(), kLabelWidth - 8, 20), Qt::AlignVCenter | Qt::AlignLeft,
               tableTitle(TableKind::SpeedUnit));
    p.setClipRect(speedRect());
    paintSpeed(p);
    p.setClipping(false);
    // Past the end of the line nothing runs: shade it.
    const int end = xOf(doc_.route().lineEnd() + 1);
    if (end < plotLeft() + plotWidth())
        p.fillRect(QRect(QPoint(std::max(end, plotLeft()), kRulerHeight), speedRect().bottomRight()),
                   QColor(0, 0, 0, 40));
    const int x = xOf(cursor_ + 0.5);
    if (x >= plotLeft()) {
        p.setPen(QPen(Qt::red, 1));
        p.drawLine(x, 0, x, speedRect().bottom());
    }
}

void Timeline::mousePressEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    drag_ = Drag{};
    if (at.x() < plotLeft()) return;
    if (speedRect().contains(at)) {
        const int k = nearestKeyframe(at);
        if (k < 0) return;
        auto points = doc_.speedKeyframes();
        if (e->button() == Qt::RightButton) {
            if (points.size() > 1) {
                points.erase(points.begin() + k);
                doc_.setSpeedKeyframes(points);
            }
            return;
        }
        drag_.what = Drag::What::Keyframe;
        drag_.keyframes = points;
        drag_.keyframe = k;
        doc_.beginGroup();
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    if (standstillRect().contains(at)) {
        // Read-only: a stand takes the cursor to where the train came to rest.
        if (const int s = standstillAtX(at.x()); s >= 0) {
            moveCursorTo(standstills_[size_t(s)].first);
            return;
        }
    }
    if (const auto kind = laneAt(at.y())) {
        // The position nearest the press, then a row whose range holds it.
        int bestRow = -1, bestColumn = -1, bestDistance = kGrab + 1;
        const auto columns = doc_.frameColumns(*kind);
        for (int row = 0; row < doc_.rowCount(*kind); ++row) {
            const auto positions = doc_.framePositions(*kind, row);
            for (size_t i = 0; i < positions.size() && i < columns.size(); ++i) {
                const int d = std::abs(xOf(positions[i] + 0.5) - at.x());
                if (d < bestDistance) {
                    bestDistance = d;
                    bestRow = row;
                    bestColumn = columns[i];
                }
            }
        }
        if (bestRow >= 0) {
            selectRow(*kind, bestRow);
            emit rowSelected(*kind, bestRow);
            drag_.what = Drag::What::Position;
            drag_.kind = *kind;
            drag_.row = bestRow;
            drag_.column = bestColumn;
            doc_.beginGroup();
            return;
        }
        const int frame = frameAt(at.x());
        for (int row = 0; row < doc_.rowCount(*kind); ++row) {
            const auto positions = doc_.framePositions(*kind, row);
            if (positions.empty()) continue;
            const auto [lo, hi] = std::minmax_element(positions.begin(), positions.end());
            if (frame >= *lo && frame <= *hi) {
                selectRow(*kind, row);
                emit rowSelected(*kind, row);
                return;
            }
        }
    }
    drag_.what = Drag::What::Cursor;
    moveCursorTo(frameAt(at.x()));
}

void Timeline::mouseMoveEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    switch (drag_.what) {
        case Drag::What::None: return;
        case Drag::What::Cursor: moveCursorTo(frameAt(at.x())); return;
        case Drag::What::Position: doc_.setFrame(drag_.kind, drag_.row, drag_.column, frameAt(at.x())); return;
        case Drag::What::Keyframe: {
            // A keyframe stays between its neighbours.
            auto points = drag_.keyframes;
            const size_t k = size_t(drag_.keyframe);
            int frame = frameAt(at.x());
            if (k > 0) frame = std::max(frame, points[k - 1].first + 1);
            if (k + 1 < points.size()) frame = std::min(frame, points[k + 1].first - 1);
            points[k] = {frame, speedAt(at.y())};
            doc_.setSpeedKeyframes(points);
            return;
        }
    }
}

void Timeline::mouseReleaseEvent(QMouseEvent*) {
    if (drag_.what == Drag::What::Position || drag_.what == Drag::What::Keyframe) doc_.endGroup();
    drag_ = Drag{};
}

void Timeline::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    if (!speedRect().contains(at) || e->button() != Qt::LeftButton) return;
    auto points = doc_.speedKeyframes();
    points.emplace_back(frameAt(at.x()), speedAt(at.y()));
    doc_.setSpeedKeyframes(points);
}

void Timeline::wheelEvent(QWheelEvent* e) {
    const int notches = e->angleDelta().y() / 120;
    if (notches == 0) return;
    if (e->modifiers() & Qt::ControlModifier) {
        zoom(std::pow(1.25, notches));
    } else {
        first_ = std::max(0.0, first_ - notches * plotWidth() * framesPerPixel_ / 8);
        updateScrollBar();
        update();
    }
    e->accept();
}

}  // namespace ts::editor
