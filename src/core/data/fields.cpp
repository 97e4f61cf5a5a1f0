#include "data/fields.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace ts {

std::string csvField(std::string_view line, int n) {
    if (n <= 0) return {};
    std::string_view rest = line;
    for (int i = 1; i <= n; ++i) {
        const size_t comma = rest.find(',');
        if (comma == std::string_view::npos) {
            if (i == n) return std::string(rest);
            return "Error";
        }
        if (i == n) return std::string(rest.substr(0, comma));
        rest.remove_prefix(comma + 1);
    }
    return {};
}

namespace {

std::string_view skipBlanks(std::string_view t) {
    size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    return t.substr(i);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number split into sign, digit string and power-of-ten exponent.
struct Decimal {
    bool negative = false;
    std::string digits;  // without leading zeros
    long exponent = 0;   // value = digits x 10^exponent
};

std::optional<Decimal> parseDecimal(std::string_view t) {
    t = skipBlanks(t);
    Decimal d;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) d.negative = t[i++] == '-';
    bool any = false;
    while (i < t.size() && isDigit(t[i])) {
        d.digits += t[i++];
        any = true;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) {
            d.digits += t[i++];
            --d.exponent;
            any = true;
        }
    }
    if (!any) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool negExp = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) negExp = t[i++] == '-';
        if (i >= t.size() || !isDigit(t[i])) return std::nullopt;
        long e = 0;
        while (i < t.size() && isDigit(t[i])) {
            if (e < 100000) e = e * 10 + (t[i] - '0');
            ++i;
        }
        d.exponent += negExp ? -e : e;
    }
    if (i != t.size()) return std::nullopt;
    const size_t nz = d.digits.find_first_not_of('0');
    d.digits = nz == std::string::npos ? std::string() : d.digits.substr(nz);
    return d;
}

}  // namespace

std::optional<int32_t> parseInt(std::string_view text) {
    std::string_view t = skipBlanks(text);
    size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
    if (i >= t.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (!isDigit(t[i])) return std::nullopt;
        v = v * 10 + (t[i] - '0');
        if (v > int64_t(std::numeric_limits<int32_t>::max()) + 1) return std::nullopt;
    }
    if (neg) v = -v;
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(v);
}

std::optional<long double> parseReal(std::string_view text) {
    if (!parseDecimal(text)) return std::nullopt;
    const std::string s(skipBlanks(text));
    char* end = nullptr;
    const long double v = std::strtold(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int64_t> parseFixed(std::string_view text) {
    auto d = parseDecimal(text);
    if (!d) return std::nullopt;
    if (d->digits.empty()) return int64_t{0};
    const long shift = d->exponent + 4;  // value x 10^4 = digits x 10^shift
    std::string intPart;
    std::string fracPart;
    if (shift >= 0) {
        if (shift + long(d->digits.size()) > 19) return std::nullopt;
        intPart = d->digits + std::string(size_t(shift), '0');
    } else {
        const long cut = long(d->digits.size()) + shift;
        if (cut > 0) {
            intPart = d->digits.substr(0, size_t(cut));
            fracPart = d->digits.substr(size_t(cut));
        } else {
            fracPart = std::string(size_t(-cut), '0') + d->digits;
        }
    }
    if (intPart.size() > 19) return std::nullopt;
    unsigned long long mag = 0;
    for (char c : intPart) mag = mag * 10 + unsigned(c - '0');
    if (!fracPart.empty()) {
        const char first = fracPart[0];
        const bool restZero = fracPart.find_first_not_of('0', 1) == std::string::npos;
        const bool up = first > '5' || (first == '5' && (!restZero || (mag % 2 == 1)));
        if (up) ++mag;
    }
    if (mag > static_cast<unsigned long long>(std::numeric_limits<int64_t>::max())) return std::nullopt;
    const auto v = static_cast<int64_t>(mag);
    return d->negative ? -v : v;
}

}  // namespace ts
