#include "text/our_text.h"

#include <atomic>
#include <vector>

namespace ts {

namespace {
std::atomic<TextTranslator> g_translator{nullptr};
}

void setTextTranslator(TextTranslator translator) { g_translator.store(translator); }

std::string trText(const char* context, const char* text) {
    const TextTranslator t = g_translator.load();
    return t ? t(context, text) : std::string(text);
}

std::string withArgs(const std::string& pattern, std::initializer_list<std::string> args) {
    const std::vector<std::string> a(args);
    std::string out;
    out.reserve(pattern.size() + 16);
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            const char d = pattern[i + 1];
            if (d >= '1' && d <= '9' && size_t(d - '1') < a.size()) {
                out += a[size_t(d - '1')];
                ++i;
                continue;
            }
            if (d == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace ts
