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

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t code = utf16[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::string XmlTextAsUtf8(std::string_view bytes) {
    const auto byte = [&](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0x100u;
    };
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        return std::string(bytes.substr(3));
    }
    const bool littleBom = byte(0) == 0xFF && byte(1) == 0xFE;
    const bool bigBom = byte(0) == 0xFE && byte(1) == 0xFF;
    const bool little = littleBom || (byte(0) == '<' && byte(1) == 0 && byte(2) != 0);
    const bool big = bigBom || (byte(0) == 0 && byte(1) == '<');
    if (!little && !big) {
        return std::string(bytes);
    }
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = littleBom || bigBom ? 2 : 0; i + 1 < bytes.size(); i += 2) {
        const unsigned first = byte(i);
        const unsigned second = byte(i + 1);
        units.push_back(static_cast<char16_t>(little ? second << 8 | first : first << 8 | second));
    }
    return Utf16ToUtf8(units);
}

std::string EscapeControls(std::string_view text, bool keepNewlines) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    const auto escape = [&](unsigned value) {
        out += "\\x";
        out += kHex[value >> 4 & 0xF];
        out += kHex[value & 0xF];
    };
    for (std::size_t i = 0; i < text.size();) {
        const CodePoint point = DecodeAt(text, i);
        if (point.Length == 0) {
            escape(static_cast<unsigned char>(text[i++]));
            continue;
        }
        const char32_t code = point.Code;
        if ((code < 0x20 && !(keepNewlines && code == '\n')) || (code >= 0x7F && code <= 0x9F)) {
            escape(static_cast<unsigned>(code));
        } else {
            out.append(text.substr(i, point.Length));
        }
        i += point.Length;
    }
    return out;
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
