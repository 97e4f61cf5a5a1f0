#include "edit/route_tables.h"

#include <cstdio>

#include "data/fields.h"

namespace ts::edit {

namespace {
using T = FieldInfo::Type;
}

const std::vector<TableDef>& tableDefs() {
    static const std::vector<TableDef> defs{
        {TableKind::Station, "[Station]", 1, false, 2,
         {{"name", T::Text}, {"kind", T::Integer}, {"stopFrom", T::Frame}, {"stopTo", T::Frame},
          {"soundIndex", T::Integer}, {"departureTime", T::Time}, {"closeTime", T::Time},
          {"nextStopDistance", T::Integer}}},
        {TableKind::Signal, "[Signal]", 1, false, 4,
         {{"kind", T::Integer}, {"label", T::Text}, {"aspectSet", T::Integer}, {"fromPosition", T::Frame},
          {"toPosition", T::Frame}, {"alarmPosition", T::Frame}, {"checkPosition", T::Frame},
          {"fixedAspect", T::Integer}, {"releaseTime", T::Time}}},
        {TableKind::SpeedLimit, "[SpeedLimit]", 1, false, 2,
         {{"limit", T::Integer}, {"noticePosition", T::Frame}, {"fromPosition", T::Frame}, {"toPosition", T::Frame}}},
        {TableKind::SpeedCheck, "[SpeedCheck]", 1, false, 1, {{"limit", T::Integer}, {"position", T::Frame}}},
        {TableKind::Slope, "[Slope]", 1, false, 1,
         {{"gradient", T::Gradient}, {"fromPosition", T::Frame}, {"toPosition", T::Frame}}},
        {TableKind::Sign, "[Sign]", 1, false, 1,
         {{"imageIndex", T::Integer}, {"fromPosition", T::Frame}, {"toPosition", T::Frame}}},
        {TableKind::Tunnel, "[Tunnel]", 2, false, 0, {{"fromPosition", T::Frame}, {"toPosition", T::Frame}}},
        {TableKind::RouteSound, "[Sound]", 1, true, 1,
         {{"soundIndex", T::Integer}, {"position", T::Frame}, {"endPosition", T::Frame}, {"pitchSpeed", T::Integer},
          {"loopMode", T::Integer}}},
        {TableKind::Announce, "[Announce]", 1, false, 1, {{"soundIndex", T::Integer}, {"position", T::Frame}}},
        {TableKind::Doppler, "[Doppler]", 1, false, 2,
         {{"soundIndex", T::Integer}, {"fromPosition", T::Frame}, {"passPosition", T::Frame},
          {"toPosition", T::Frame}}},
        {TableKind::StopSound, "[StopSound]", 1, false, 0, {{"position", T::Frame}}},
        {TableKind::SpeedUnit, "[SpeedUnit]", 1, false, 0,
         {{"fromPosition", T::Frame}, {"toPosition", T::Frame}, {"fromSpeed", T::Integer}, {"toSpeed", T::Integer}}},
    };
    return defs;
}

const TableDef& tableDef(TableKind kind) {
    for (const TableDef& d : tableDefs())
        if (d.kind == kind) return d;
    return tableDefs().front();
}

const SingleDef& singleDef(SingleValue value) {
    static const std::vector<SingleDef> defs{
        {SingleValue::LineName, "[LineName]", T::Text},      {SingleValue::StartPosition, "[StartPos]", T::Frame},
        {SingleValue::StartTime, "[StartTime]", T::Time},    {SingleValue::FrameRate, "[FrameRate]", T::Integer},
        {SingleValue::SignalSpeedYY, "[Speed_YY]", T::Integer}, {SingleValue::SignalSpeedY, "[Speed_Y]", T::Integer},
        {SingleValue::SignalSpeedYG, "[Speed_YG]", T::Integer}, {SingleValue::SignalSpeedG, "[Speed_G]", T::Integer},
        {SingleValue::VideoFile, "[Path]", T::Text},         {SingleValue::PreTime, "[Pre_Time]", T::Integer},
        {SingleValue::OneMan, "[OneMan]", T::Integer},       {SingleValue::EndPos, "[EndPos]", T::Frame},
        {SingleValue::StaffImage, "[Staf]", T::Text},        {SingleValue::Letterbox, "[Letterbox]", T::Integer},
    };
    for (const SingleDef& d : defs)
        if (d.value == value) return d;
    return defs.front();
}

std::string timeText(long long ticks) {
    if (ticks < 0) return std::to_string(ticks);
    const long long s = ticks / 30;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    std::string out = buf;
    if (ticks % 30) out += "+" + std::to_string(ticks % 30);
    return out;
}

std::optional<long long> parseTime(const std::string& text) {
    if (text.find(':') == std::string::npos) {
        auto v = parseInt(text);
        if (!v) return std::nullopt;
        return *v;
    }
    std::string clock = text, extra;
    if (const size_t plus = text.find('+'); plus != std::string::npos) {
        clock = text.substr(0, plus);
        extra = text.substr(plus + 1);
    }
    long long parts[3] = {0, 0, 0};
    int n = 0;
    size_t at = 0;
    while (n < 3) {
        const size_t colon = clock.find(':', at);
        const std::string piece = clock.substr(at, colon == std::string::npos ? std::string::npos : colon - at);
        if (piece.empty() || piece.find_first_not_of("0123456789") != std::string::npos || piece.size() > 6)
            return std::nullopt;
        parts[n++] = std::stoll(piece);
        if (colon == std::string::npos) break;
        at = colon + 1;
    }
    if (n < 2 || (n == 3 && clock.find(':', at) != std::string::npos)) return std::nullopt;
    if (parts[1] > 59 || parts[2] > 59) return std::nullopt;
    long long ticks = (parts[0] * 3600 + parts[1] * 60 + parts[2]) * 30;
    if (!extra.empty()) {
        auto t = parseInt(extra);
        if (!t || *t < 0 || *t > 29) return std::nullopt;
        ticks += *t;
    }
    return ticks;
}

std::string replaceField(const std::string& row, int column, int columns, const std::string& value) {
    std::vector<std::string> fields;
    size_t at = 0;
    while (int(fields.size()) < columns - 1) {
        const size_t comma = row.find(',', at);
        if (comma == std::string::npos) break;
        fields.push_back(row.substr(at, comma - at));
        at = comma + 1;
    }
    fields.push_back(at <= row.size() ? row.substr(at) : std::string());
    while (int(fields.size()) <= column) fields.emplace_back();
    fields[size_t(column)] = value;
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "," : "") + fields[i];
    return out;
}

}  // namespace ts::edit
