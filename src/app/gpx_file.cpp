#include "gpx_file.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <cmath>

#include "devices/file_check.h"

namespace ts {

namespace {

using gps::ImportError;

int lineOf(const QXmlStreamReader& x) { return int(x.lineNumber()); }

double coordinate(const QXmlStreamReader& x, const char* name, double limit) {
    bool ok = false;
    const double v = x.attributes().value(name).toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::abs(v) > limit)
        throw ImportError("<" + x.name().toString().toStdString() + "> has no usable " + name + " attribute",
                          lineOf(x));
    return v;
}

// A receiver's own speed, in m/s: <speed> in a GPX 1.0 point, or an element
// of that name anywhere in <extensions> (the loggers' extension schemas put it
// there). A value no train runs at is left out, not refused: the speed is a
// help, and the positions give it too.
void readSpeed(QXmlStreamReader& x, gps::TrackPoint& p) {
    bool ok = false;
    const double v = x.readElementText().trimmed().toDouble(&ok);
    if (ok && std::isfinite(v) && v >= 0 && v < 150) p.speed = v;
}

// Nested no deeper than a few levels in any schema; deeper ones are skipped
// (without recursing) so that a file of endless nesting cannot exhaust the stack.
void readExtensions(QXmlStreamReader& x, gps::TrackPoint& p, int depth = 0) {
    while (x.readNextStartElement()) {
        if (x.name() == u"speed")
            readSpeed(x, p);
        else if (depth < 8)
            readExtensions(x, p, depth + 1);
        else
            x.skipCurrentElement();
    }
}

// Reads the children of a <trkpt> or <wpt>; the reader is on its start element.
void readPointBody(QXmlStreamReader& x, gps::TrackPoint& p, std::string* name) {
    while (x.readNextStartElement()) {
        const auto tag = x.name();
        const int line = lineOf(x);
        if (tag == u"time") {
            const std::string text = x.readElementText().trimmed().toStdString();
            p.time = parseIsoTime(text);
            if (std::isnan(p.time)) throw ImportError("the time \"" + text + "\" is not an ISO 8601 time", line);
        } else if (tag == u"ele") {
            bool ok = false;
            const QString text = x.readElementText().trimmed();
            p.ele = text.toDouble(&ok);
            if (!ok || !std::isfinite(p.ele))
                throw ImportError("the height \"" + text.toStdString() + "\" is not a number", line);
        } else if (tag == u"speed") {
            readSpeed(x, p);
        } else if (tag == u"extensions") {
            readExtensions(x, p);
        } else if (tag == u"name" && name) {
            *name = x.readElementText().trimmed().toStdString();
        } else {
            x.skipCurrentElement();
        }
    }
}

gps::Track read(QXmlStreamReader& x) {
    gps::Track track;
    if (!x.readNextStartElement()) {
        if (x.hasError()) throw ImportError("not a GPX file: " + x.errorString().toStdString(), lineOf(x));
        throw ImportError("not a GPX file: it holds no XML element");
    }
    if (x.name() != u"gpx")
        throw ImportError("not a GPX file: its first element is <" + x.name().toString().toStdString() + ">, not <gpx>",
                          lineOf(x));
    while (x.readNextStartElement()) {
        if (x.name() == u"wpt") {
            gps::Waypoint w;
            w.line = lineOf(x);
            w.lat = coordinate(x, "lat", 90);
            w.lon = coordinate(x, "lon", 180);
            gps::TrackPoint ignored;
            readPointBody(x, ignored, &w.name);
            track.waypoints.push_back(w);
        } else if (x.name() == u"trk") {
            while (x.readNextStartElement()) {
                if (x.name() != u"trkseg") {
                    x.skipCurrentElement();
                    continue;
                }
                auto& segment = track.segments.emplace_back();
                while (x.readNextStartElement()) {
                    if (x.name() != u"trkpt") {
                        x.skipCurrentElement();
                        continue;
                    }
                    gps::TrackPoint p;
                    p.line = lineOf(x);
                    p.lat = coordinate(x, "lat", 90);
                    p.lon = coordinate(x, "lon", 180);
                    readPointBody(x, p, nullptr);
                    segment.push_back(p);
                }
            }
        } else {
            x.skipCurrentElement();
        }
    }
    if (x.hasError())
        throw ImportError("the GPX file is not well-formed XML: " + x.errorString().toStdString(), lineOf(x));
    return track;
}

}  // namespace

std::optional<double> parseNumber(const std::string& s) {
    try {
        size_t used = 0;
        const double v = std::stod(s, &used);
        if (used != s.size() || !std::isfinite(v)) return std::nullopt;
        return v;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<gps::SyncMark> parseSyncMark(const std::string& text, double startEpoch, std::string* why) {
    auto refuse = [why](const std::string& w) {
        if (why) *why = w;
        return std::nullopt;
    };
    const auto eq = text.find('=');
    const auto f = eq == std::string::npos ? std::nullopt : parseNumber(text.substr(0, eq));
    if (!f || *f != std::floor(*f) || *f < 0) return refuse("--sync takes FRAME=TIME, e.g. 120=2024-05-01T09:30:04Z");
    const std::string time = text.substr(eq + 1);
    if (const auto s = parseNumber(time)) return gps::SyncMark{*f, *s};
    const double epoch = parseIsoTime(time);
    if (std::isnan(epoch)) return refuse("--sync: '" + time + "' is neither seconds nor an ISO 8601 time");
    return gps::SyncMark{*f, epoch - startEpoch};
}

double parseIsoTime(const std::string& text) {
    QDateTime t = QDateTime::fromString(QString::fromStdString(text), Qt::ISODateWithMs);
    if (!t.isValid()) return std::nan("");
    if (t.timeSpec() == Qt::LocalTime) t.setTimeZone(QTimeZone::utc());
    return double(t.toMSecsSinceEpoch()) / 1000;
}

gps::Track readGpxText(const std::string& text) {
    QXmlStreamReader x(QByteArray::fromStdString(text));
    return read(x);
}

gps::Track readGpxFile(const std::string& path) {
    if (const FileRefusal r = checkFile(path); r != FileRefusal::None)
        throw ImportError("cannot read the track " + path + ": " + refusalReason(r));
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) throw ImportError("cannot read the track " + path);
    if (f.size() > kMaxTrackBytes)
        throw ImportError("the track is " + std::to_string(f.size() >> 20) +
                          " MB; the import takes tracks of at most " + std::to_string(kMaxTrackBytes >> 20) +
                          " MB (over two days at ten fixes a second)");
    QXmlStreamReader x(&f);
    return read(x);
}

}  // namespace ts
