#include "json_writer.h"

#include <cmath>
#include <cstdio>

namespace ts {

void JsonWriter::separator() {
    if (needComma_) out_ += ',';
    needComma_ = false;
}

JsonWriter& JsonWriter::beginObject() {
    separator();
    out_ += '{';
    return *this;
}
JsonWriter& JsonWriter::endObject() {
    out_ += '}';
    needComma_ = true;
    return *this;
}
JsonWriter& JsonWriter::beginArray() {
    separator();
    out_ += '[';
    return *this;
}
JsonWriter& JsonWriter::endArray() {
    out_ += ']';
    needComma_ = true;
    return *this;
}
JsonWriter& JsonWriter::key(std::string_view k) {
    value(k);
    out_ += ':';
    needComma_ = false;
    return *this;
}
JsonWriter& JsonWriter::value(std::string_view s) {
    separator();
    out_ += '"';
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out_ += "\\\""; break;
            case '\\': out_ += "\\\\"; break;
            case '\n': out_ += "\\n"; break;
            case '\r': out_ += "\\r"; break;
            case '\t': out_ += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out_ += buf;
                } else {
                    out_ += ch;
                }
        }
    }
    out_ += '"';
    needComma_ = true;
    return *this;
}
JsonWriter& JsonWriter::value(int64_t v) {
    separator();
    out_ += std::to_string(v);
    needComma_ = true;
    return *this;
}
JsonWriter& JsonWriter::value(long double v) {
    if (!std::isfinite(v)) return null();
    separator();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.19Lg", v);
    out_ += buf;
    needComma_ = true;
    return *this;
}
JsonWriter& JsonWriter::value(bool b) {
    separator();
    out_ += b ? "true" : "false";
    needComma_ = true;
    return *this;
}
JsonWriter& JsonWriter::null() {
    separator();
    out_ += "null";
    needComma_ = true;
    return *this;
}

}  // namespace ts
