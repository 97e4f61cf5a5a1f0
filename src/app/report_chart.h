// The chart of a drive report: speed over position with the limits, the
// signal restrictions and the recorded speed under it, stations and events marked.
#pragma once
#include <QImage>
#include <QString>

#include "report/drive_report.h"

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace ts {

// A clock time of the run (1/30 s) as hh:mm:ss.
QString clockText(int32_t ticks);
// How the train stopped at a station, in words.
QString stopText(const StationVisit& v);
// The departure as clock time and lateness, empty when it did not leave.
QString departureText(const StationVisit& v);

// A chart view widget of the report.
QWidget* makeReportChart(const DriveReport& report, QWidget* parent = nullptr);
// The chart drawn into a picture (for the HTML report).
QImage reportChartImage(const DriveReport& report, int width = 960, int height = 420);
// The report as a self-contained HTML page with the chart embedded.
QString reportHtml(const DriveReport& report);
// Writes the report to `file`: HTML for .html / .htm, JSON otherwise. False (and an older file
// untouched) when it cannot be written; `error` says why.
bool saveReport(const DriveReport& report, const QString& file, std::string* error = nullptr);

}  // namespace ts
