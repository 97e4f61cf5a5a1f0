#include "gps_track.h"

#include <GeographicLib/Geodesic.hpp>
#include <QDateTime>
#include <QTimeZone>
#include <QXmlStreamWriter>

#include <cmath>
#include <random>
#include <vector>

namespace demo {

namespace {

struct Place {
    double lat, lon, azimuth;
};

// The line on the globe, a point per metre: from 34.9 N 137.4 E heading
// east-north-east, bending gently to either side.
std::vector<Place> layOut(double metres) {
    const auto& g = GeographicLib::Geodesic::WGS84();
    std::vector<Place> p;
    Place at{34.9, 137.4, 70};
    for (int s = 0; s <= int(metres) + 1; ++s) {
        p.push_back(at);
        const double azimuth = 70 + 25 * std::sin(s / 900.0);
        double lat, lon, azi2;
        g.Direct(at.lat, at.lon, azimuth, 1.0, lat, lon, azi2);
        at = {lat, lon, azimuth};
    }
    return p;
}

// Noise that wanders: a first-order Gauss-Markov process with this spread and
// correlation time, sampled once a second.
struct Wander {
    double sd, tau, value = 0;
    double next(std::mt19937& rng) {
        std::normal_distribution<double> n(0, 1);
        const double a = std::exp(-1 / tau);
        value = a * value + sd * std::sqrt(1 - a * a) * n(rng);
        return value;
    }
};

}  // namespace

double lineHeight(const Line& l, const ViewRenderer& view, double metres) {
    double h = 40;
    for (const Slope& s : l.slopes) {
        const double a = view.distanceAt(s.from), b = view.distanceAt(s.to);
        h += s.gradient / 1000 * std::max(0.0, std::min(metres, b) - a);
    }
    return h;
}

std::string gpsTrack(const Line& l, const ViewRenderer& view, double noise) {
    const double end = view.distanceAt(l.frames);
    // The line is laid out from a little before where frame 0 stands, so that
    // the fixes before frame 0 lie on it too.
    const double before = std::ceil(recordedSpeed(l, 0) / 3.6 * kGpsLeadSeconds) + 10;
    const std::vector<Place> line = layOut(before + end + 100);
    // Before frame 0 and after the last frame the train runs at its recorded crawl.
    auto distanceAt = [&](double t) {
        const double frame = t * 30;
        if (frame <= 0) return recordedSpeed(l, 0) / 3.6 * t;
        if (frame >= l.frames) return end + recordedSpeed(l, l.frames) / 3.6 * (t - l.frames / 30.0);
        const int f = int(frame);
        return view.distanceAt(f) + (frame - f) * (view.distanceAt(f + 1) - view.distanceAt(f));
    };
    auto place = [&](double s, double side, double& lat, double& lon) {
        s += before;
        const Place& p = line[size_t(std::clamp(s, 0.0, double(line.size() - 1)))];
        double azi2;
        GeographicLib::Geodesic::WGS84().Direct(p.lat, p.lon, p.azimuth + 90, side, lat, lon, azi2);
        // What is left of the metre after the point before it.
        const double rest = s - std::floor(s);
        if (rest > 0) GeographicLib::Geodesic::WGS84().Direct(lat, lon, p.azimuth, rest, lat, lon, azi2);
    };

    QByteArray out;
    QXmlStreamWriter x(&out);
    x.setAutoFormatting(true);
    x.writeStartDocument();
    x.writeStartElement("gpx");
    x.writeDefaultNamespace("http://www.topografix.com/GPX/1/1");
    x.writeAttribute("version", "1.1");
    x.writeAttribute("creator", "make_demo");
    auto coordinates = [&](double lat, double lon) {
        x.writeAttribute("lat", QString::number(lat, 'f', 7));
        x.writeAttribute("lon", QString::number(lon, 'f', 7));
    };
    for (const Station& st : l.stations) {
        double lat, lon;
        // The station's sign stands beside the track, level with the stop mark.
        place(view.distanceAt((st.stopFrom + st.stopTo) / 2), -12, lat, lon);
        x.writeStartElement("wpt");
        coordinates(lat, lon);
        x.writeTextElement("name", QString::fromStdString(st.name));
        x.writeEndElement();
    }
    x.writeStartElement("trk");
    x.writeTextElement("name", QString::fromStdString(l.title));
    x.writeStartElement("trkseg");
    std::mt19937 rng(l.electric ? 789 : 40);
    std::normal_distribution<double> white(0, 1);
    Wander north{1.5, 30}, east{1.5, 30}, up{0.3, 60};
    const QDateTime start(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc());
    const double last = l.frames / 30.0 + kGpsLeadSeconds;
    for (int i = 0; - kGpsLeadSeconds + i <= last; ++i) {
        const double t = -kGpsLeadSeconds + i;
        const double s = distanceAt(t);
        double lat, lon;
        place(s, 0, lat, lon);
        // Metres of noise on the ground, turned into degrees.
        lat += noise * (north.next(rng) + 1.0 * white(rng)) / 110950.0;
        lon += noise * (east.next(rng) + 1.0 * white(rng)) / (111320.0 * std::cos(lat * M_PI / 180));
        const double h = lineHeight(l, view, s) + noise * up.next(rng) + noise * 0.3 * white(rng);
        x.writeStartElement("trkpt");
        coordinates(lat, lon);
        x.writeTextElement("ele", QString::number(h, 'f', 2));
        x.writeTextElement("time", start.addSecs(i).toString(Qt::ISODate));
        x.writeEndElement();
    }
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndDocument();
    return out.toStdString();
}

}  // namespace demo
