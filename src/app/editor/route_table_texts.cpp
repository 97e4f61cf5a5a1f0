#include "route_table_texts.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>
#include <string_view>

namespace ts::editor {

namespace {

// The route file's descriptions name the tables in English (src/core/data/route_sections.cpp).
constexpr const char* kTableTitles[] = {
    QT_TRANSLATE_NOOP("RouteTables", "Stations"),       QT_TRANSLATE_NOOP("RouteTables", "Signals"),
    QT_TRANSLATE_NOOP("RouteTables", "Speed limits"),   QT_TRANSLATE_NOOP("RouteTables", "Speed checks"),
    QT_TRANSLATE_NOOP("RouteTables", "Slopes"),         QT_TRANSLATE_NOOP("RouteTables", "Signs"),
    QT_TRANSLATE_NOOP("RouteTables", "Tunnels"),        QT_TRANSLATE_NOOP("RouteTables", "Sounds"),
    QT_TRANSLATE_NOOP("RouteTables", "Announcements"),  QT_TRANSLATE_NOOP("RouteTables", "Doppler"),
    QT_TRANSLATE_NOOP("RouteTables", "Stop sounds"),    QT_TRANSLATE_NOOP("RouteTables", "Recorded speed"),
    QT_TRANSLATE_NOOP("RouteTables", "Distance marks"),
};

// The columns' names are the file's own code words, the same in every table
// that has them; English shows them as they are.
constexpr const char* kColumnTitles[] = {
    QT_TRANSLATE_NOOP("RouteColumns", "name"),           QT_TRANSLATE_NOOP("RouteColumns", "kind"),
    QT_TRANSLATE_NOOP("RouteColumns", "label"),          QT_TRANSLATE_NOOP("RouteColumns", "position"),
    QT_TRANSLATE_NOOP("RouteColumns", "endPosition"),    QT_TRANSLATE_NOOP("RouteColumns", "fromPosition"),
    QT_TRANSLATE_NOOP("RouteColumns", "passPosition"),   QT_TRANSLATE_NOOP("RouteColumns", "toPosition"),
    QT_TRANSLATE_NOOP("RouteColumns", "noticePosition"), QT_TRANSLATE_NOOP("RouteColumns", "alarmPosition"),
    QT_TRANSLATE_NOOP("RouteColumns", "checkPosition"),  QT_TRANSLATE_NOOP("RouteColumns", "stopFrom"),
    QT_TRANSLATE_NOOP("RouteColumns", "stopTo"),         QT_TRANSLATE_NOOP("RouteColumns", "departureTime"),
    QT_TRANSLATE_NOOP("RouteColumns", "closeTime"),      QT_TRANSLATE_NOOP("RouteColumns", "nextStopDistance"),
    QT_TRANSLATE_NOOP("RouteColumns", "aspectSet"),      QT_TRANSLATE_NOOP("RouteColumns", "fixedAspect"),
    QT_TRANSLATE_NOOP("RouteColumns", "releaseTime"),    QT_TRANSLATE_NOOP("RouteColumns", "gradient"),
    QT_TRANSLATE_NOOP("RouteColumns", "limit"),          QT_TRANSLATE_NOOP("RouteColumns", "soundIndex"),
    QT_TRANSLATE_NOOP("RouteColumns", "imageIndex"),     QT_TRANSLATE_NOOP("RouteColumns", "pitchSpeed"),
    QT_TRANSLATE_NOOP("RouteColumns", "loopMode"),       QT_TRANSLATE_NOOP("RouteColumns", "fromSpeed"),
    QT_TRANSLATE_NOOP("RouteColumns", "toSpeed"),        QT_TRANSLATE_NOOP("RouteColumns", "frame"),
    QT_TRANSLATE_NOOP("RouteColumns", "metres"),         QT_TRANSLATE_NOOP("RouteColumns", "fileName"),
    QT_TRANSLATE_NOOP("RouteColumns", "callText"),       QT_TRANSLATE_NOOP("RouteColumns", "soundFile"),
};

template <size_t N>
bool listed(const char* const (&list)[N], const std::string& word) {
    return std::any_of(std::begin(list), std::end(list), [&](const char* w) { return word == std::string_view(w); });
}

}  // namespace

QString shownTableTitle(const std::string& title) { return QCoreApplication::translate("RouteTables", title.c_str()); }

QString columnTitle(const std::string& column) { return QCoreApplication::translate("RouteColumns", column.c_str()); }

bool knowsTableTitle(const std::string& title) { return listed(kTableTitles, title); }

bool knowsColumnTitle(const std::string& column) { return listed(kColumnTitles, column); }

}  // namespace ts::editor
