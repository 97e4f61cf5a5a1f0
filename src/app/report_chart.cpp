#include "report_chart.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QFile>

#include "data/whole_file.h"
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

namespace ts {

namespace {

// Colours told apart in grey scale too: dark, mid and light, solid and dashed.
const QColor kSpeed(0x1f, 0x3a, 0x93);
const QColor kRecorded(0x9e, 0x9e, 0x9e);
const QColor kLimit(0xc6, 0x28, 0x28);
const QColor kSignal(0xef, 0xa0, 0x00);
const QColor kEvent(0x00, 0x00, 0x00);
const QColor kStation(0x2e, 0x7d, 0x32);

QLineSeries* line(QChart* chart, const QString& name, const QColor& colour, Qt::PenStyle style, qreal width) {
    auto* s = new QLineSeries(chart);
    s->setName(name);
    QPen pen(colour);
    pen.setStyle(style);
    pen.setWidthF(width);
    s->setPen(pen);
    return s;
}

QScatterSeries* marks(QChart* chart, const QString& name, QScatterSeries::MarkerShape shape, qreal size,
                      const QColor& fill, const QColor& border) {
    auto* s = new QScatterSeries(chart);
    s->setName(name);
    s->setMarkerShape(shape);
    s->setMarkerSize(size);
    s->setColor(fill);
    s->setBorderColor(border);
    return s;
}

QChart* buildChart(const DriveReport& r) {
    auto* chart = new QChart;
    chart->setTitle(QObject::tr("Speed over position"));
    auto* recorded = line(chart, QObject::tr("Recorded speed"), kRecorded, Qt::DotLine, 1.5);
    auto* limit = line(chart, QObject::tr("Speed limit"), kLimit, Qt::DashLine, 2);
    auto* signal = line(chart, QObject::tr("Signal speed"), kSignal, Qt::DashDotLine, 2);
    auto* speed = line(chart, QObject::tr("Speed"), kSpeed, Qt::SolidLine, 2.5);
    auto* events = marks(chart, QObject::tr("Alarms, emergency brakes, overspeed"), QScatterSeries::MarkerShapeRectangle,
                         9, kEvent, Qt::white);
    // The stations where the line passes them: a triangle on the axis at the
    // middle of each stop range, hollow for a station to pass.
    auto* stops = marks(chart, QObject::tr("Stations"), QScatterSeries::MarkerShapeTriangle, 14, kStation, Qt::white);
    auto* passes = marks(chart, QObject::tr("Stations passed by timetable"), QScatterSeries::MarkerShapeTriangle, 14,
                         Qt::white, kStation);
    double top = 10;
    int32_t lo = r.chart.empty() ? 0 : r.chart.front().position, hi = lo + 1;
    // One point per position is enough for a line of the chart's width.
    int32_t last = INT32_MIN;
    for (const ChartPoint& c : r.chart) {
        lo = std::min(lo, c.position);
        hi = std::max(hi, c.position);
        top = std::max({top, c.speedKmh, c.recordedKmh, double(c.speedLimitKmh), double(c.signalKmh)});
        if (c.position == last) continue;
        last = c.position;
        speed->append(c.position, c.speedKmh);
        recorded->append(c.position, c.recordedKmh);
        limit->append(c.position, c.speedLimitKmh > 0 ? c.speedLimitKmh : qQNaN());
        signal->append(c.position, c.signalKmh > 0 ? c.signalKmh : qQNaN());
    }
    for (const StationVisit& v : r.stations) {
        const double mid = (double(v.stopFrom) + double(v.stopTo)) / 2;
        if (mid < lo || mid > hi) continue;  // off the stretch that was driven
        // Just above the axis, so that the plot area does not cut the mark in half.
        (v.kind == 1 ? passes : stops)->append(mid, std::ceil(top * 1.1 / 10) * 10 * 0.04);
    }
    for (const SafetyEvent& e : r.safety) events->append(e.position, 2);
    for (const Overspeed& o : r.overspeeds) events->append(o.fromPosition, 2);
    for (auto* s : {static_cast<QXYSeries*>(recorded), static_cast<QXYSeries*>(limit), static_cast<QXYSeries*>(signal),
                    static_cast<QXYSeries*>(speed), static_cast<QXYSeries*>(events), static_cast<QXYSeries*>(stops),
                    static_cast<QXYSeries*>(passes)}) {
        if (s->count() == 0 && s != speed) {  // no empty entries in the legend
            delete s;
            continue;
        }
        chart->addSeries(s);
    }
    auto* x = new QValueAxis(chart);
    x->setTitleText(QObject::tr("Position (video frame)"));
    x->setRange(lo, hi);
    x->setLabelFormat("%d");
    auto* y = new QValueAxis(chart);
    y->setTitleText(QObject::tr("Speed (km/h)"));
    y->setRange(0, std::ceil(top * 1.1 / 10) * 10);
    y->setLabelFormat("%d");
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (auto* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QString esc(const std::string& s) { return QString::fromStdString(s).toHtmlEscaped(); }

}  // namespace

QString clockText(int32_t ticks) {
    const int s = ticks / 30;
    return QString::asprintf("%02d:%02d:%02d", s / 3600 % 24, s / 60 % 60, s % 60);
}

QString stopText(const StationVisit& v) {
    if (v.kind == 1) return QObject::tr("pass");
    if (v.origin) return QObject::tr("start");
    if (v.passed) return QObject::tr("ran through");
    if (!v.stopped) return QObject::tr("not reached");
    return v.inRange ? QObject::tr("at the platform") : QObject::tr("outside the platform");
}

QString departureText(const StationVisit& v) {
    const auto d = v.departureDelaySeconds();
    if (!d) return {};
    return clockText(*v.departedAt) + QString(" (%1%2 s)").arg(*d >= 0 ? "+" : "").arg(*d, 0, 'f', 1);
}

QWidget* makeReportChart(const DriveReport& report, QWidget* parent) {
    auto* view = new QChartView(buildChart(report), parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(640, 320);
    return view;
}

QImage reportChartImage(const DriveReport& report, int width, int height) {
    QChartView view(buildChart(report));
    view.setRenderHint(QPainter::Antialiasing);
    view.resize(width, height);
    return view.grab().toImage();
}

QString reportHtml(const DriveReport& r) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    reportChartImage(r).save(&buffer, "PNG");
    QString h;
    h += "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" + QObject::tr("Drive report") +
         "</title>\n<style>body{font-family:sans-serif;margin:2em}table{border-collapse:collapse}"
         "td,th{border:1px solid #999;padding:.2em .6em;text-align:left}</style></head><body>\n";
    h += "<h1>" + QObject::tr("Drive report") + ": " + esc(r.lineName) + " (" + esc(r.trainCode) + ")</h1>\n";
    h += "<p><strong>" + QObject::tr("Score") + QString(": %1 / 100</strong> — ").arg(r.score, 0, 'f', 0) +
         esc(r.verdict) + "</p>\n";
    h += "<img alt=\"" + QObject::tr("Speed over position") + "\" src=\"data:image/png;base64," +
         QString::fromLatin1(png.toBase64()) + "\">\n";
    h += "<h2>" + QObject::tr("Stations") + "</h2>\n<table><tr><th>" + QObject::tr("Station") + "</th><th>" +
         QObject::tr("Stop") + "</th><th>" + QObject::tr("From the mark") + "</th><th>" + QObject::tr("Doors") +
         "</th><th>" + QObject::tr("Departure") + "</th></tr>\n";
    for (const StationVisit& v : r.stations) {
        const QString mark = v.stopped ? QString("%1 m").arg(v.stopErrorMetres, 0, 'f', 2) : QString();
        const QString doors = v.doorsOpenedAt ? clockText(*v.doorsOpenedAt) : QString();
        h += "<tr><td>" + esc(v.name) + "</td><td>" + stopText(v) + "</td><td>" + mark + "</td><td>" + doors +
             "</td><td>" + departureText(v) + "</td></tr>\n";
    }
    h += "</table>\n<h2>" + QObject::tr("Points lost") + "</h2>\n<ul>\n";
    for (const Deduction& d : r.deductions) h += QString("<li>−%1: ").arg(d.points, 0, 'f', 0) + esc(d.what) + "</li>\n";
    h += "</ul>\n<p>" +
         QObject::tr("Running %1 s, standing %2 s, %3 m; hardest braking %4 m/s², largest jerk %5 m/s³.")
             .arg(r.runningSeconds, 0, 'f', 0)
             .arg(r.standingSeconds, 0, 'f', 0)
             .arg(r.metres, 0, 'f', 0)
             .arg(r.maxDecelerationMs2, 0, 'f', 2)
             .arg(r.maxJerkMs3, 0, 'f', 2) +
         "</p>\n</body></html>\n";
    return h;
}

bool saveReport(const DriveReport& report, const QString& file, std::string* error) {
    const bool html = file.endsWith(".html", Qt::CaseInsensitive) || file.endsWith(".htm", Qt::CaseInsensitive);
    const QByteArray bytes = html ? reportHtml(report).toUtf8() : QByteArray::fromStdString(reportJson(report) + "\n");
    return replaceFile(file.toStdString(), std::string_view(bytes.constData(), size_t(bytes.size())), error);
}

}  // namespace ts
