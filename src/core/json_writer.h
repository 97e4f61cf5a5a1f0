// A small JSON writer that gives the same bytes for the same values.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace ts {

class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view k);
    JsonWriter& value(std::string_view s);
    JsonWriter& value(const char* s) { return value(std::string_view(s)); }
    JsonWriter& value(int64_t v);
    JsonWriter& value(int v) { return value(int64_t(v)); }
    JsonWriter& value(long double v);
    JsonWriter& value(double v) { return value((long double)v); }
    JsonWriter& value(bool b);
    // A real with a fixed number of decimals (figures for people, not state).
    JsonWriter& fixed(double v, int decimals);
    JsonWriter& null();
    void reserve(size_t bytes) { out_.reserve(bytes); }
    const std::string& str() const { return out_; }

private:
    void separator();
    std::string out_;
    bool needComma_ = false;
};

}  // namespace ts
