#include "view.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pictures.h"

namespace demo {

namespace {

constexpr double kFocal = 260;
constexpr double kEye = 2.6;  // metres above the rails
constexpr double kHorizon = 104;

enum class Kind { Pole, Platform, NameBoard, SignalPost, StopBoard, LimitSign, SlopePost, OtherSign, Portal, Crossing };

}  // namespace

struct ViewRenderer::Object {
    Kind kind;
    double at;      // metres along the line
    double length;  // platforms, tunnels
    int value;      // image index, limit, gradient sign
    QString text;
};

ViewRenderer::ViewRenderer(const Line& l) : line_(l) {
    distance_.resize(size_t(l.frames) + 1);
    for (int p = 0; p < l.frames; ++p) distance_[size_t(p) + 1] = distance_[size_t(p)] + recordedSpeed(l, p) / 3.6 / 30;
    auto d = [&](int frame) { return distanceAt(frame); };
    const double end = distance_.back();
    for (double s = 20; s < end + 400; s += 50) objects_.push_back({Kind::Pole, s, 0, 0, {}});
    for (const Station& st : l.stations) {
        const double stop = d((st.stopFrom + st.stopTo) / 2);
        objects_.push_back({Kind::Platform, stop - 120, 140, st.kind, {}});
        objects_.push_back({Kind::NameBoard, stop - 50, 0, int(&st - l.stations.data()), {}});
        if (st.kind != 1) objects_.push_back({Kind::StopBoard, stop + 2, 0, 0, {}});
    }
    for (const Signal& s : l.signalRows) objects_.push_back({Kind::SignalPost, d(s.to), 0, s.aspectSet, {}});
    for (const Limit& m : l.limits) objects_.push_back({Kind::LimitSign, d(m.from), 0, m.limit / 5, {}});
    for (const Slope& s : l.slopes) objects_.push_back({Kind::SlopePost, d(s.from), 0, s.gradient > 0 ? 1 : 2, {}});
    for (const Sign& s : l.signs) objects_.push_back({Kind::OtherSign, d(s.from) + 20, 0, s.image, {}});
    for (const Tunnel& t : l.tunnels) objects_.push_back({Kind::Portal, d(t.from), d(t.to) - d(t.from), 0, {}});
    objects_.push_back({Kind::Crossing, d(l.levelCrossing), 0, 0, {}});
    for (int i = 0; i < 22; ++i) signals_.push_back(signalPicture(i));
    for (int i = 0; i <= 24; ++i) signs_.push_back(signPicture(i));
    for (int i = 0; i < 2; ++i) others_.push_back(otherSign(i));
    for (const Station& st : l.stations) {
        QImage board(320, 80, QImage::Format_ARGB32_Premultiplied);
        board.fill(Qt::white);
        QPainter bp(&board);
        bp.setPen(QPen(QColor(0, 90, 160), 8));
        bp.drawRect(QRectF(4, 4, 312, 72));
        QFont f("Noto Sans CJK JP");
        f.setPixelSize(40);
        f.setBold(true);
        bp.setFont(f);
        bp.setPen(Qt::black);
        bp.drawText(QRect(0, 0, 320, 80), Qt::AlignCenter, QString::fromStdString(st.board));
        bp.end();
        boards_.push_back(board);
    }
}

ViewRenderer::~ViewRenderer() = default;

double ViewRenderer::distanceAt(int frame) const {
    return distance_[size_t(std::clamp(frame, 0, int(distance_.size()) - 1))];
}

QImage ViewRenderer::frame(int index) const {
    const double s0 = distanceAt(index);
    // Gradient here and ahead: the horizon rises before an upgrade.
    auto gradientAt = [&](double s) {
        for (const Slope& g : line_.slopes)
            if (distanceAt(g.from) <= s && s < distanceAt(g.to)) return g.gradient;
        return 0.0;
    };
    const double horizon = kHorizon + (gradientAt(s0) - gradientAt(s0 + 150)) * 2.2;
    auto curvature = [](double s) { return 0.0025 * std::sin(s / 230.0) * std::sin(s / 610.0 + 0.7); };
    const double k = curvature(s0 + 60);
    auto lateral = [&](double ahead) { return -0.5 * k * ahead * ahead; };
    auto project = [&](double ahead, double x, double y) {
        return QPointF(240 + kFocal * (x + lateral(ahead)) / ahead, horizon + kFocal * (kEye - y) / ahead);
    };
    bool inTunnel = false;
    for (const Tunnel& t : line_.tunnels)
        if (distanceAt(t.from) <= s0 && s0 < distanceAt(t.to)) inTunnel = true;

    QImage img(480, 240, QImage::Format_RGB32);
    img.fill(Qt::black);  // every pixel defined, also where the edges blend
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (inTunnel) {
        p.fillRect(img.rect(), QColor(18, 16, 14));
        QRadialGradient exit(QPointF(240 + lateral(400) * kFocal / 400, horizon), 60);
        exit.setColorAt(0, QColor(60, 55, 45));
        exit.setColorAt(1, QColor(18, 16, 14));
        p.fillRect(img.rect(), exit);
        // lamps on the walls stream past
        for (double a = std::fmod(-s0, 12.0) + 12; a < 150; a += 12) {
            const QPointF l = project(a, -2.4, 3.2), r = project(a, 2.4, 3.2);
            const double rad = std::max(1.0, 30 / a);
            p.setBrush(QColor(255, 220, 150));
            p.setPen(Qt::NoPen);
            p.drawEllipse(l, rad, rad / 2);
            p.drawEllipse(r, rad, rad / 2);
        }
    } else {
        QLinearGradient sky(0, 0, 0, horizon);
        sky.setColorAt(0, line_.electric ? QColor(90, 140, 210) : QColor(120, 160, 200));
        sky.setColorAt(1, QColor(215, 228, 240));
        p.fillRect(QRectF(0, 0, 480, horizon), sky);
        // hills far away move with the heading of the line
        QPainterPath hills;
        const double heading = std::sin(s0 / 230.0) * 60;
        hills.moveTo(0, horizon);
        for (int x = 0; x <= 480; x += 8) {
            const double u = (x + heading + s0 * 0.02) / 70.0;
            hills.lineTo(x, horizon - 14 - 10 * std::sin(u) - 6 * std::sin(u * 2.7 + 1));
        }
        hills.lineTo(480, horizon);
        p.fillPath(hills, line_.electric ? QColor(110, 130, 150) : QColor(80, 120, 90));
        p.fillRect(QRectF(0, horizon, 480, 240 - horizon), line_.electric ? QColor(105, 120, 90) : QColor(75, 115, 60));
    }
    // ballast bed
    QPolygonF bedL, bedR;
    for (double a = 400; a >= 1.2; a /= 1.12) {
        bedL << project(a, -1.6, 0);
        bedR << project(a, 1.6, 0);
    }
    QPolygonF bed = bedL;
    std::reverse(bedR.begin(), bedR.end());
    bed << bedR;
    p.setPen(Qt::NoPen);
    p.setBrush(inTunnel ? QColor(45, 42, 38) : QColor(128, 120, 110));
    p.drawPolygon(bed);
    // Stones of the ballast and tufts of grass beside it, scattered at random
    // but fixed to the ground: the texture whose flow a speed-from-motion
    // analysis reads (the sleepers alone repeat too regularly, and alias at
    // speed).
    p.setPen(Qt::NoPen);
    for (int metre = int(std::floor(s0 + 1.2)); metre < int(s0 + 40); ++metre) {
        uint32_t seed = uint32_t(metre) * 2654435761u + 12345u;
        auto next = [&seed]() {
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            return double(seed % 10000) / 10000.0;
        };
        for (int k = 0; k < 90; ++k) {
            const double along = metre + next(), x = -10 + 20 * next(), shade = next(), width = 0.15 + 0.25 * next();
            const double a = along - s0;
            if (a < 1.2) continue;
            const QPointF at = project(a, x, 0);
            const double w = std::max(0.8, width * kFocal / a), h = std::max(0.6, 0.5 * w * kEye / a);
            QColor c;
            if (inTunnel)
                c = QColor(int(20 + 50 * shade), int(18 + 45 * shade), int(16 + 40 * shade));
            else if (std::abs(x) < 1.6)
                c = QColor(int(70 + 140 * shade), int(66 + 134 * shade), int(60 + 125 * shade));
            else
                c = QColor(int(40 + 110 * shade), int(70 + 110 * shade), int(30 + 80 * shade));
            p.setBrush(c);
            p.drawRect(QRectF(at.x() - w / 2, at.y() - h / 2, w, h));
        }
    }
    // sleepers streaming past at the speed
    const double gap = 0.65;
    for (double a = gap - std::fmod(s0, gap); a < 70; a += gap) {
        if (a < 1.2) continue;
        const QPointF l = project(a, -1.1, 0), r = project(a, 1.1, 0);
        p.setPen(QPen(inTunnel ? QColor(40, 32, 25) : QColor(88, 68, 48), std::max(1.0, 0.22 * kFocal / a)));
        p.drawLine(l, r);
    }
    // rails
    for (double x : {-0.535, 0.535}) {
        QPolygonF rail;
        for (double a = 400; a >= 1.2; a /= 1.08) rail << project(a, x, 0.15);
        p.setPen(QPen(inTunnel ? QColor(110, 105, 100) : QColor(205, 205, 212), 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(rail);
    }
    // lineside objects, far to near
    std::vector<const Object*> ahead;
    for (const Object& o : objects_) {
        const double a = o.at - s0;
        if ((a > 1.5 && a < 420) || (o.kind == Kind::Platform && a < 1.5 && a + o.length > 1.5)) ahead.push_back(&o);
    }
    std::sort(ahead.begin(), ahead.end(), [&](const Object* x, const Object* y) { return x->at > y->at; });
    for (const Object* o : ahead) {
        const double a = std::max(1.5, o->at - s0);
        const double scale = kFocal / a;
        switch (o->kind) {
            case Kind::Pole: {
                if (inTunnel) break;
                const double x = line_.electric ? -2.8 : 3.4;
                const QPointF foot = project(a, x, 0), top = project(a, x, line_.electric ? 6.5 : 7.5);
                p.setPen(QPen(line_.electric ? QColor(70, 75, 80) : QColor(95, 75, 55), std::max(1.0, 0.3 * scale)));
                p.drawLine(foot, top);
                if (line_.electric) {
                    p.drawLine(project(a, x, 6.0), project(a, 0.8, 6.0));
                    p.setPen(QPen(QColor(40, 40, 40), 1));
                    p.drawLine(project(a, 0, 5.6), project(std::min(a + 50, 419.0), 0, 5.6));
                } else {
                    p.drawLine(project(a, x - 0.8, 7.0), project(a, x + 0.8, 7.0));
                }
                break;
            }
            case Kind::Platform: {
                const double far = std::min(o->at + o->length - s0, 419.0);
                QPolygonF top(
                    {project(far, -1.7, 1.0), project(a, -1.7, 1.0), project(a, -6.0, 1.0), project(far, -6.0, 1.0)});
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(175, 170, 160));
                p.drawPolygon(top);
                QPolygonF edge(
                    {project(far, -1.7, 1.0), project(a, -1.7, 1.0), project(a, -1.7, 0), project(far, -1.7, 0)});
                p.setBrush(QColor(120, 115, 105));
                p.drawPolygon(edge);
                // roof
                QPolygonF roof(
                    {project(far, -2.5, 4.2), project(a, -2.5, 4.2), project(a, -6.0, 4.4), project(far, -6.0, 4.4)});
                p.setBrush(QColor(90, 95, 105));
                p.drawPolygon(roof);
                break;
            }
            case Kind::NameBoard: {
                const QPointF c = project(a, -3.5, 2.6);
                const QRectF board(c.x() - 1.6 * scale, c.y() - 0.4 * scale, 3.2 * scale, 0.8 * scale);
                p.drawImage(board, boards_[size_t(o->value)]);
                break;
            }
            case Kind::SignalPost: {
                const QPointF foot = project(a, 2.3, 0), head = project(a, 2.3, 4.2);
                p.setPen(QPen(QColor(60, 60, 60), std::max(1.0, 0.15 * scale)));
                p.drawLine(foot, head);
                const QImage& sig = signals_[size_t(o->value == 0 ? 1 : o->value >= 5 ? 21 : o->value == 4 ? 16 : 5)];
                const double h = 1.6 * scale;
                p.drawImage(QRectF(head.x() - h / 4, head.y() - h, h / 2, h), sig);
                break;
            }
            case Kind::StopBoard:
            case Kind::LimitSign:
            case Kind::SlopePost: {
                const double x = o->kind == Kind::StopBoard ? -1.9 : 2.0;
                const QPointF foot = project(a, x, 0), top = project(a, x, 1.8);
                p.setPen(QPen(QColor(70, 70, 70), std::max(1.0, 0.06 * scale)));
                p.drawLine(foot, top);
                const double w = 0.7 * scale;
                const int img = o->kind == Kind::StopBoard ? 0 : o->value;
                p.drawImage(QRectF(top.x() - w / 2, top.y() - w, w, w), signs_[size_t(img)]);
                break;
            }
            case Kind::OtherSign: {
                const QPointF top = project(a, 2.1, 2.2);
                const double w = 1.2 * scale;
                p.setPen(QPen(QColor(70, 70, 70), std::max(1.0, 0.06 * scale)));
                p.drawLine(project(a, 2.1, 0), top);
                p.drawImage(QRectF(top.x() - w / 2, top.y() - w / 2, w, w / 2), others_[size_t(o->value)]);
                break;
            }
            case Kind::Portal: {
                if (inTunnel) break;
                QPolygonF face({project(a, -9, 0), project(a, 9, 0), project(a, 9, 9), project(a, -9, 9)});
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(105, 100, 95));
                p.drawPolygon(face);
                QPainterPath hole;
                const QPointF bl = project(a, -2.6, 0), tr = project(a, 2.6, 5.4);
                hole.addRoundedRect(QRectF(bl.x(), tr.y(), tr.x() - bl.x(), bl.y() - tr.y()), 0.35 * (tr.x() - bl.x()),
                                    0.3 * (bl.y() - tr.y()));
                p.fillPath(hole, QColor(12, 10, 8));
                break;
            }
            case Kind::Crossing: {
                if (inTunnel) break;
                QPolygonF road({project(a + 3, -12, 0), project(a + 3, 12, 0), project(a, 12, 0), project(a, -12, 0)});
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(70, 70, 75));
                p.drawPolygon(road);
                for (double x : {-3.0, 3.0}) {
                    p.setPen(QPen(QColor(20, 20, 20), std::max(1.0, 0.12 * scale)));
                    p.drawLine(project(a - 1, x, 0), project(a - 1, x, 3));
                    p.setBrush(QColor(230, 40, 30));
                    p.setPen(Qt::NoPen);
                    const QPointF lampAt = project(a - 1, x, 2.6);
                    p.drawEllipse(lampAt, std::max(1.0, 0.18 * scale), std::max(1.0, 0.18 * scale));
                }
                break;
            }
        }
    }
    return img;
}

}  // namespace demo
