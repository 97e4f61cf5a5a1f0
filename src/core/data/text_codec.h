// Decoding of text values from data files: UTF-8 when a whole file is valid
// UTF-8, otherwise Shift-JIS in its Windows form (CP932).
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace ts {

bool isValidUtf8(std::string_view bytes);
// The length of the UTF-8 sequence at `i` (1 for ASCII), 0 when the bytes there are not one.
size_t utf8SequenceLength(std::string_view bytes, size_t i);

// CP932 bytes to UTF-8; a byte sequence that does not decode becomes U+FFFD.
std::string cp932ToUtf8(std::string_view bytes);

// UTF-8 to CP932, for text written into a Shift-JIS file; nullopt when a
// character has no CP932 form.
std::optional<std::string> utf8ToCp932(std::string_view utf8);

// How one file's text values are turned into display text.
struct TextEncoding {
    bool utf8 = true;
    std::string decode(std::string_view raw) const { return utf8 ? std::string(raw) : cp932ToUtf8(raw); }
};

}  // namespace ts
