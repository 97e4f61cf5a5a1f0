#include "pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace demo {

namespace {

QFont font(int px, bool bold = true) {
    QFont f("Noto Sans CJK JP");
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

QImage canvas(int w, int h, QColor fill = Qt::transparent) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

// A round gauge face with ticks from -135 to +135 degrees.
void gauge(QPainter& p, QPointF c, double r, int maxValue, int major, const QString& name) {
    QRadialGradient g(c, r);
    g.setColorAt(0, QColor(250, 250, 240));
    g.setColorAt(1, QColor(215, 215, 200));
    p.setPen(QPen(QColor(40, 40, 40), 3));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setFont(font(int(r / 6.5), false));
    for (int v = 0; v <= maxValue; v += major / 2) {
        const double a = (-135 + 270.0 * v / maxValue) * M_PI / 180;
        const bool isMajor = v % major == 0;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.setPen(QPen(Qt::black, isMajor ? 2 : 1));
        p.drawLine(c + dir * (r * 0.92), c + dir * (r * (isMajor ? 0.78 : 0.85)));
        if (isMajor) {
            const QPointF at = c + dir * (r * 0.63);
            p.drawText(QRectF(at.x() - 20, at.y() - 8, 40, 16), Qt::AlignCenter, QString::number(v));
        }
    }
    p.setFont(font(int(r / 6)));
    p.drawText(QRectF(c.x() - r, c.y() + r * 0.3, 2 * r, r * 0.3), Qt::AlignCenter, name);
}

}  // namespace

QImage titlePicture() {
    QImage img = canvas(640, 480, Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(30, 60, 130));
    sky.setColorAt(0.7, QColor(240, 150, 90));
    sky.setColorAt(1, QColor(250, 200, 140));
    p.fillRect(0, 0, 640, 300, sky);
    p.setBrush(QColor(250, 230, 170));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(470, 250), 40, 40);
    // mountains
    QPainterPath hills;
    hills.moveTo(0, 300);
    for (int x = 0; x <= 640; x += 20) hills.lineTo(x, 240 - 40 * std::sin(x / 90.0) - 25 * std::sin(x / 37.0 + 1));
    hills.lineTo(640, 300);
    p.setBrush(QColor(70, 60, 90));
    p.drawPath(hills);
    p.fillRect(0, 300, 640, 180, QColor(60, 80, 50));
    // ballast and rails to the vanishing point
    QPolygonF ballast({QPointF(120, 480), QPointF(520, 480), QPointF(330, 300), QPointF(310, 300)});
    p.setBrush(QColor(120, 110, 100));
    p.drawPolygon(ballast);
    for (int i = 1; i < 30; ++i) {
        const double d = 2.0 + i * 1.2;
        const double y = 300 + 1000 / (d * 6);
        const double half = 600 / (d * 3.3);
        p.setPen(QPen(QColor(80, 60, 40), std::max(1.0, 20 / d)));
        p.drawLine(QPointF(320 - half * 1.3, y), QPointF(320 + half * 1.3, y));
    }
    p.setPen(QPen(QColor(200, 200, 210), 3));
    p.drawLine(QPointF(220, 480), QPointF(316, 300));
    p.drawLine(QPointF(420, 480), QPointF(324, 300));
    // catenary masts
    for (int i = 0; i < 6; ++i) {
        const double s = 1.0 / (1 + i * 0.6);
        p.setPen(QPen(QColor(40, 40, 50), 6 * s));
        const double x = 320 + 260 * s;
        p.drawLine(QPointF(x, 300 + 150 * s), QPointF(x, 300 - 180 * s));
        p.drawLine(QPointF(x, 300 - 160 * s), QPointF(320 - 40 * s, 300 - 160 * s));
    }
    p.setPen(QColor(255, 255, 255));
    p.setFont(font(54));
    p.drawText(QRect(0, 40, 640, 70), Qt::AlignCenter, "Train Simulator");
    p.setFont(font(20, false));
    p.drawText(QRect(0, 110, 640, 30), Qt::AlignCenter, QString::fromUtf8("運転台から走る 二つの路線"));
    return img;
}

QImage panelPicture(bool electric, bool tunnel) {
    QImage img = canvas(480, 200, tunnel ? QColor(38, 40, 46) : QColor(70, 78, 92));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient desk(0, 0, 0, 200);
    desk.setColorAt(0, tunnel ? QColor(50, 52, 60) : QColor(96, 104, 120));
    desk.setColorAt(1, tunnel ? QColor(25, 26, 30) : QColor(52, 58, 70));
    p.fillRect(img.rect(), desk);
    gauge(p, QPointF(100, 100), 88, 160, 20, "km/h");
    gauge(p, QPointF(250, 60), 52, 600, 100, "BC kPa");
    gauge(p, QPointF(250, 150), 44, 1000, 200, "MR kPa");
    gauge(p, QPointF(360, 60), 52, 700, 100, "BP kPa");
    p.setPen(QColor(220, 220, 230));
    p.setFont(font(12));
    p.drawText(QRect(300, 110, 120, 16), Qt::AlignCenter, electric ? "789系 電車" : "キハ40 気動車");
    return img;
}

QImage clockDial() {
    // Only the rim and the hour marks: the clock fills its square and draws its
    // hands (20 pixels long) itself, and the marks lie just beyond their tips.
    QImage img = canvas(50, 50);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(25, 25);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 24, 24);
    for (int h = 0; h < 12; ++h) {
        const double a = h * std::numbers::pi / 6;
        const double inner = h % 3 == 0 ? 20.5 : 21.5;
        p.setPen(QPen(QColor(20, 20, 20), h % 3 == 0 ? 2.5 : 1.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(c + QPointF(std::sin(a) * inner, -std::cos(a) * inner),
                   c + QPointF(std::sin(a) * 24, -std::cos(a) * 24));
    }
    return img;
}

QImage needlePicture(int size, QColor colour) {
    QImage img = canvas(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size / 2.0, size / 2.0);
    QPolygonF needle({QPointF(c.x() - 3, c.y() + size * 0.08), QPointF(c.x(), c.y() - size * 0.42),
                      QPointF(c.x() + 3, c.y() + size * 0.08)});
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(needle);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(c, size * 0.05, size * 0.05);
    return img;
}

QImage lamp(const QString& text, QColor on, int w, int h) {
    QImage img = canvas(w, h, QColor(20, 20, 20));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(on);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), 4, 4);
    p.setPen(Qt::black);
    p.setFont(font(h * 6 / 10));
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, text);
    return img;
}

QImage notchIndicator(const QString& text, QColor colour) {
    QImage img = canvas(60, 24, QColor(15, 15, 15));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, 2));
    p.setBrush(colour.darker(300));
    p.drawRoundedRect(QRectF(1, 1, 58, 22), 3, 3);
    p.setPen(colour.lighter(150));
    p.setFont(font(15));
    p.drawText(QRect(0, 0, 60, 24), Qt::AlignCenter, text);
    return img;
}

QImage signalPicture(int index) {
    // Lamps (top to bottom) per image index: G, Y, R, second Y; '1' lit, '0' dark.
    struct Head {
        int lamps;
        const char* lit;
    };
    static const Head heads[22] = {{0, "R"}, {0, "Y"},  {0, "G"},                                           // repeaters
                                   {3, "R"}, {3, "Y"},  {3, "G"},                                           // 3 aspects
                                   {3, "R"}, {3, "Y"},  {3, "G"}, {4, "R"}, {4, "Y"}, {4, "YG"}, {4, "G"},  // 4 aspects
                                   {4, "R"}, {4, "YY"}, {4, "Y"}, {4, "G"}, {5, "R"}, {5, "YY"}, {5, "Y"}, {5, "YG"},
                                   {5, "G"}};
    const Head& h = heads[std::clamp(index, 0, 21)];
    QImage img = canvas(50, 100, QColor(0, 0, 0, 0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const std::string lit = h.lit;
    if (h.lamps == 0) {
        // a repeater: a bar that lies, leans or stands
        p.setBrush(QColor(30, 30, 30));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(3, 28, 44, 44));
        p.setPen(QPen(QColor(250, 250, 230), 6, Qt::SolidLine, Qt::RoundCap));
        const double a = lit == "R" ? 90 : lit == "Y" ? 45 : 0;
        const double r = a * M_PI / 180;
        p.drawLine(QPointF(25 - 14 * std::sin(r), 50 + 14 * std::cos(r)),
                   QPointF(25 + 14 * std::sin(r), 50 - 14 * std::cos(r)));
        return img;
    }
    p.setBrush(QColor(25, 25, 25));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    const int lampSize = h.lamps == 5 ? 16 : h.lamps == 4 ? 19 : 24;
    const int top = 50 - (h.lamps * (lampSize + 2)) / 2;
    p.drawRoundedRect(QRectF(25 - lampSize / 2.0 - 5, top - 5, lampSize + 10, h.lamps * (lampSize + 2) + 8), 6, 6);
    // lamp colours from the top: YY signals have a Y above the others
    std::vector<char> order = h.lamps == 3   ? std::vector<char>{'G', 'Y', 'R'}
                              : h.lamps == 4 ? std::vector<char>{'Y', 'G', 'R', 'y'}
                                             : std::vector<char>{'Y', 'G', 'R', 'y', 'g'};
    for (int i = 0; i < h.lamps; ++i) {
        const char c = order[size_t(i)];
        bool on = false;
        if (lit == "R") on = c == 'R';
        if (lit == "G") on = c == 'G';
        if (lit == "Y") on = c == 'Y';
        if (lit == "YY") on = c == 'Y' || c == 'y';
        if (lit == "YG") on = c == 'Y' || c == 'G';
        QColor col = c == 'R'                 ? QColor(255, 40, 30)
                     : (c == 'G' || c == 'g') ? QColor(40, 230, 140)
                                              : QColor(255, 190, 30);
        if (!on) col = col.darker(500);
        p.setBrush(col);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(25 - lampSize / 2.0, top + i * (lampSize + 2), lampSize, lampSize));
    }
    return img;
}

QImage signPicture(int index) {
    QImage img = canvas(50, 50);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (index == 0) {
        p.setBrush(Qt::white);
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(QRectF(8, 3, 34, 44));
        p.setBrush(QColor(220, 30, 30));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(10, 5, 30, 14));
        p.setPen(Qt::black);
        p.setFont(font(15));
        p.drawText(QRect(8, 20, 34, 26), Qt::AlignCenter, QString::fromUtf8("停"));
        return img;
    }
    if (index == 1 || index == 2) {
        p.setBrush(QColor(250, 250, 245));
        p.setPen(QPen(Qt::black, 2));
        p.drawRect(QRectF(3, 10, 44, 30));
        p.setPen(QPen(Qt::black, 4));
        if (index == 1)
            p.drawLine(QPointF(8, 34), QPointF(42, 16));
        else
            p.drawLine(QPointF(8, 16), QPointF(42, 34));
        return img;
    }
    const int limit = index * 5;
    p.setBrush(QColor(250, 220, 40));
    p.setPen(QPen(Qt::black, 2));
    QPolygonF tri({QPointF(25, 3), QPointF(47, 46), QPointF(3, 46)});
    p.drawPolygon(tri);
    p.setFont(font(limit >= 100 ? 14 : 17));
    p.drawText(QRect(3, 20, 44, 26), Qt::AlignCenter, QString::number(limit));
    return img;
}

QImage otherSign(int index) {
    QImage img = canvas(100, 50);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(index == 0 ? QColor(250, 250, 250) : QColor(250, 220, 40));
    p.setPen(QPen(Qt::black, 2));
    p.drawRoundedRect(QRectF(3, 3, 94, 44), 5, 5);
    p.setFont(font(18));
    p.drawText(QRect(3, 3, 94, 44), Qt::AlignCenter,
               index == 0 ? QString::fromUtf8("汽笛吹鳴") : QString::fromUtf8("踏切注意"));
    return img;
}

QImage timetableCard(const Line& line) {
    QImage img = canvas(150, 240, QColor(245, 242, 228));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawRect(0, 0, 149, 239);
    p.setFont(font(13));
    p.setPen(Qt::black);
    p.drawText(QRect(0, 4, 150, 18), Qt::AlignCenter, QString::fromStdString(line.title));
    p.drawLine(6, 24, 144, 24);
    p.setFont(font(12, false));
    int y = 32;
    for (const Station& s : line.stations) {
        QString time = "  レ";
        if (s.kind != 1) {
            const int t = s.departure / 30;
            time = QString::asprintf("%02d:%02d:%02d", t / 3600, t / 60 % 60, t % 60);
        }
        p.drawText(QRect(6, y, 70, 16), Qt::AlignLeft, QString::fromStdString(s.name));
        p.drawText(QRect(70, y, 76, 16), Qt::AlignRight, time);
        y += 22;
    }
    return img;
}

}  // namespace demo
