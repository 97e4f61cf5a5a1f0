#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "data/text_codec.h"

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
    // Runs that need no escape are appended whole: most texts are all such.
    size_t plain = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            // A byte that is not part of UTF-8 (a Shift-JIS file name, a damaged text) becomes U+FFFD: JSON is UTF-8.
            const size_t len = utf8SequenceLength(s, i);
            if (len > 0) {
                i += len - 1;
                continue;
            }
            out_.append(s.substr(plain, i - plain));
            plain = i + 1;
            out_ += "\\ufffd";
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out_.append(s.substr(plain, i - plain));
        plain = i + 1;
        switch (c) {
            case '"': out_ += "\\\""; break;
            case '\\': out_ += "\\\\"; break;
            case '\n': out_ += "\\n"; break;
            case '\r': out_ += "\\r"; break;
            case '\t': out_ += "\\t"; break;
            default: {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out_ += buf;
            }
        }
    }
    out_.append(s.substr(plain));
    out_ += '"';
    needComma_ = true;
    return *this;
}
JsonWriter& JsonWriter::value(int64_t v) {
    separator();
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    out_.append(buf, end);
    needComma_ = true;
    return *this;
}
JsonWriter& JsonWriter::value(long double v) {
    if (!std::isfinite(v)) return null();
    separator();
    // The same digits as printf's %.19Lg, without the locale and the format parsing.
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 19).ptr;
    out_.append(buf, end);
    needComma_ = true;
    return *this;
}
JsonWriter& JsonWriter::fixed(double v, int decimals) {
    if (!std::isfinite(v)) return null();
    separator();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
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
