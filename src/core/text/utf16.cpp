#include "core/text/utf16.h"

namespace norvale {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

struct CodePoint {
    char32_t Code = 0;
    std::size_t Length = 0; // 0: no well-formed sequence starts here
};

CodePoint DecodeAt(std::string_view utf8, std::size_t i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    bool valid = (lead < 0x80 || lead >= 0xC2) && lead <= 0xF4 && i + length <= utf8.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(utf8[i + k]);
        valid = IsContinuation(next);
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not well formed.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    valid =
        valid && code >= kLeast[length] && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    return valid ? CodePoint{code, length} : CodePoint{};
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const CodePoint point = DecodeAt(utf8, i);
        if (point.Length == 0) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        char32_t code = point.Code;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += point.Length;
    }
    return out;
}

std::string_view Utf8Prefix(std::string_view text, std::size_t characters) {
    std::size_t count = 0;
    for (std::size_t end = 0; end < text.size(); ++end) {
        if (!IsContinuation(static_cast<unsigned char>(text[end])) && ++count > characters) {
            return text.substr(0, end);
        }
    }
    return text;
}

bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const CodePoint point = DecodeAt(text, i);
        if (point.Length == 0) {
            return false;
        }
        i += point.Length;
    }
    return true;
}

} // namespace norvale
