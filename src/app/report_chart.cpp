#include "report_chart.h"

#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QSet>

#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include "data/whole_file.h"
#include "language.h"

#include <algorithm>
#include <cmath>

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

// A line with gaps, drawn as one series per unbroken stretch (a series
// cannot hold a gap: a missing value would have to be NaN, which the chart
// refuses point by point). The first stretch carries the legend entry.
class Polyline {
public:
    Polyline(QChart* chart, QString name, QColor colour, Qt::PenStyle style, qreal width)
        : chart_(chart), name_(std::move(name)), colour_(colour), style_(style), width_(width) {}
    void add(double x, double y) {
        if (!current_) {
            current_ = line(chart_, name_, colour_, style_, width_);
            parts_.push_back(current_);
        }
        current_->append(x, y);
    }
    void gap() { current_ = nullptr; }
    const std::vector<QLineSeries*>& parts() const { return parts_; }

private:
    QChart* chart_;
    QString name_;
    QColor colour_;
    Qt::PenStyle style_;
    qreal width_;
    QLineSeries* current_ = nullptr;
    std::vector<QLineSeries*> parts_;
};

// A tick step of 1, 2 or 5 times a power of ten giving about `ticks` ticks over `span`.
double roundStep(double span, int ticks) {
    if (!(span > 0)) return 1;
    const double raw = span / ticks;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * p) return m * p;
    return 10 * p;
}

QChart* buildChart(const DriveReport& r) {
    auto* chart = new QChart;
    chart->setTitle(QObject::tr("Speed along the line"));
    Polyline recorded(chart, QObject::tr("Recorded speed"), kRecorded, Qt::DotLine, 1.5);
    Polyline limit(chart, QObject::tr("Speed limit"), kLimit, Qt::DashLine, 2);
    Polyline signal(chart, QObject::tr("Signal speed"), kSignal, Qt::DashDotLine, 2);
    Polyline speed(chart, QObject::tr("Speed"), kSpeed, Qt::SolidLine, 2.5);
    auto* events = marks(chart, QObject::tr("Alarms, emergency brakes, overspeed"),
                         QScatterSeries::MarkerShapeRectangle, 9, kEvent, Qt::white);
    // The stations where the line passes them: a triangle on the axis at the
    // middle of each stop range, hollow for a station to pass.
    auto* stops = marks(chart, QObject::tr("Stations"), QScatterSeries::MarkerShapeTriangle, 14, kStation, Qt::white);
    auto* passes = marks(chart, QObject::tr("Stations passed by timetable"), QScatterSeries::MarkerShapeTriangle, 14,
                         Qt::white, kStation);
    double top = 10;
    double lo = r.chart.empty() ? 0 : r.chart.front().km, hi = lo;
    // One point per position is enough for a line of the chart's width.
    int32_t last = INT32_MIN;
    bool first = true;
    for (const ChartPoint& c : r.chart) {
        if (!std::isfinite(c.km) || !std::isfinite(c.speedKmh) || !std::isfinite(c.recordedKmh)) continue;
        lo = std::min(lo, c.km);
        hi = std::max(hi, c.km);
        top = std::max({top, c.speedKmh, c.recordedKmh, double(c.speedLimitKmh), double(c.signalKmh)});
        if (c.gapBefore && !first) {
            // A jump: the stretch it skipped was not driven.
            for (Polyline* l : {&recorded, &limit, &signal, &speed}) l->gap();
        }
        first = false;
        if (c.position == last && !c.gapBefore) continue;
        last = c.position;
        speed.add(c.km, c.speedKmh);
        recorded.add(c.km, c.recordedKmh);
        if (c.speedLimitKmh > 0)
            limit.add(c.km, c.speedLimitKmh);
        else
            limit.gap();
        if (c.signalKmh > 0)
            signal.add(c.km, c.signalKmh);
        else
            signal.gap();
    }
    if (hi <= lo) hi = lo + 0.1;
    const double yTop = std::ceil(top * 1.1 / 10) * 10;
    auto* names = new QCategoryAxis(chart);
    names->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    names->setRange(lo, hi);
    names->setGridLineVisible(false);
    for (const StationVisit& v : r.stations) {
        if (v.km < lo || v.km > hi) continue;  // off the stretch that was driven
        // Just above the axis, so that the plot area does not cut the mark in half.
        (v.kind == 1 ? passes : stops)->append(v.km, yTop * 0.04);
        // A category's end value must grow: stations at one place share a tick.
        const QString name = QString::fromStdString(v.name);
        if (names->count() == 0 || v.km > names->endValue(names->categoriesLabels().back())) names->append(name, v.km);
    }
    for (const SafetyEvent& e : r.safety) events->append(e.km, 2);
    for (const Overspeed& o : r.overspeeds) events->append(o.fromKm, 2);
    std::vector<QXYSeries*> all;
    for (const Polyline* l : {&recorded, &limit, &signal, &speed})
        for (QLineSeries* s : l->parts()) all.push_back(s);
    for (QXYSeries* s :
         {static_cast<QXYSeries*>(events), static_cast<QXYSeries*>(stops), static_cast<QXYSeries*>(passes)}) {
        if (s->count() == 0) {  // no empty entries in the legend
            delete s;
            continue;
        }
        all.push_back(s);
    }
    if (speed.parts().empty()) all.push_back(line(chart, QObject::tr("Speed"), kSpeed, Qt::SolidLine, 2.5));
    for (QXYSeries* s : all) chart->addSeries(s);
    auto* x = new QValueAxis(chart);
    x->setTitleText(QObject::tr("Distance from the start of the line (km)"));
    x->setRange(lo, hi);
    x->setTickType(QValueAxis::TicksDynamic);
    const double xStep = roundStep(hi - lo, 8);
    x->setTickAnchor(0);
    x->setTickInterval(xStep);
    x->setLabelFormat(xStep >= 1 ? "%.0f" : xStep >= 0.1 ? "%.1f" : "%.2f");
    auto* y = new QValueAxis(chart);
    y->setTitleText(QObject::tr("Speed (km/h)"));
    y->setRange(0, yTop);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(roundStep(yTop, 6));
    y->setLabelFormat("%d");
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(names, Qt::AlignTop);
    chart->addAxis(y, Qt::AlignLeft);
    for (auto* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
    if (names->count() == 0) names->hide();
    chart->legend()->setAlignment(Qt::AlignBottom);
    // One legend entry a line, however many stretches it is drawn in.
    const auto markers = chart->legend()->markers();
    QSet<QString> named;
    for (QLegendMarker* m : markers) {
        if (named.contains(m->label())) m->setVisible(false);
        named.insert(m->label());
    }
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
    if (v.skipped) return QObject::tr("skipped by a jump");
    if (!v.stopped) return QObject::tr("not reached");
    if (v.inRange) return QObject::tr("at the platform");
    return v.stopErrorMetres < 0 ? QObject::tr("overrun") : QObject::tr("short of the platform");
}

QString departureText(const StationVisit& v) {
    const auto d = v.departureDelaySeconds();
    if (!d) return {};
    return clockText(*v.departedAt) + QObject::tr(" (%1%2 s)").arg(*d >= 0 ? "+" : "").arg(*d, 0, 'f', 1);
}

QWidget* makeReportChart(const DriveReport& report, QWidget* parent) {
    auto* view = new QChartView(buildChart(report), parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(480, 260);
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
    const QString lang = currentLanguage() == Language::Japanese ? QStringLiteral("ja") : QStringLiteral("en");
    h += "<!DOCTYPE html>\n<html lang=\"" + lang + "\"><head><meta charset=\"utf-8\"><title>" +
         QObject::tr("Drive report") +
         "</title>\n<style>body{font-family:sans-serif;margin:2em}table{border-collapse:collapse}"
         "td,th{border:1px solid #999;padding:.2em .6em;text-align:left}</style></head><body>\n";
    h += "<h1>" + QObject::tr("Drive report") + ": " + esc(r.lineName) + " (" + esc(r.trainCode) + ")</h1>\n";
    h += r.scored ? "<p><strong>" + QObject::tr("Score") + QString(": %1 / 100</strong> — ").arg(r.score, 0, 'f', 0) +
                        esc(r.verdict) + "</p>\n"
                  : "<p><strong>" + esc(r.verdict) + "</strong></p>\n";
    h += "<img alt=\"" + QObject::tr("Speed along the line") + "\" src=\"data:image/png;base64," +
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
    for (const Deduction& d : r.deductions)
        h += QString("<li>−%1: ").arg(d.points, 0, 'f', 0) + esc(d.what) + "</li>\n";
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
