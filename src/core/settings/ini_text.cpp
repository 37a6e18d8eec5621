#include "core/settings/ini_text.h"

#include "core/text/ascii.h"
#include "core/text/utf16.h"

#include <cstdint>
#include <optional>

namespace norvale {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kExpandPrefix = "expand:";
constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kHexPrefix = "hex:";
constexpr std::string_view kHeader =
    "; Norvale Time Clock keeps its settings in this file while it stands beside the program.\r\n"
    "; Each section is a registry key below HKEY_CURRENT_USER. Comments are not kept.\r\n";
constexpr char kHexDigits[] = "0123456789abcdef";

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

std::optional<int> HexValue(char c) {
    if (IsDigitAscii(c)) {
        return c - '0';
    }
    const char lower = ToLowerAscii(c);
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return std::nullopt;
}

// One line being read from the left; every fault names the line.
class LineReader {
public:
    LineReader(std::string_view text, int line) : FText(text), FLine(line) {}

    [[noreturn]] void Fail(const std::string& fault) const { throw IniSyntaxError(FLine, fault); }

    std::string_view Rest() const { return FText; }
    void Skip(std::size_t count) { FText.remove_prefix(count); }
    void SkipBlanks() { FText = TrimBlanks(FText); }
    bool Take(char c) {
        if (!FText.starts_with(c)) {
            return false;
        }
        FText.remove_prefix(1);
        return true;
    }
    bool TakePrefix(std::string_view prefix) {
        if (FText.size() < prefix.size() || !EqualsNoCase(FText.substr(0, prefix.size()), prefix)) {
            return false;
        }
        FText.remove_prefix(prefix.size());
        return true;
    }

    // A quoted text, from its opening quote on, with its escapes resolved.
    std::string Quoted() {
        if (!Take('"')) {
            Fail("a quoted text must start with a quote");
        }
        std::string out;
        for (;;) {
            if (FText.empty()) {
                Fail("a quoted text has no closing quote");
            }
            const char c = FText.front();
            FText.remove_prefix(1);
            if (c == '"') {
                return out;
            }
            out += c == '\\' ? Escape() : c;
        }
    }

    std::uint8_t HexByte() {
        const auto high = FText.size() >= 2 ? HexValue(FText[0]) : std::nullopt;
        const auto low = FText.size() >= 2 ? HexValue(FText[1]) : std::nullopt;
        if (!high || !low) {
            Fail("a byte must be two hexadecimal digits");
        }
        FText.remove_prefix(2);
        return static_cast<std::uint8_t>(*high * 16 + *low);
    }

    void ExpectEnd() {
        SkipBlanks();
        if (!FText.empty()) {
            Fail("unexpected text after the value");
        }
    }

private:
    char Escape() {
        if (FText.empty()) {
            Fail("a quoted text has no closing quote");
        }
        const char c = FText.front();
        FText.remove_prefix(1);
        switch (c) {
        case '\\':
        case '"':
            return c;
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case '0':
            return '\0';
        case 'x':
            return static_cast<char>(HexByte());
        default:
            Fail(std::string("an unknown escape \\") + c);
        }
    }

    std::string_view FText;
    int FLine;
};

std::string ReadName(LineReader& line) {
    if (line.Rest().starts_with('"')) {
        std::string name = line.Quoted();
        line.SkipBlanks();
        if (!line.Take('=')) {
            line.Fail("a quoted name must be followed by \"=\"");
        }
        return name;
    }
    const std::size_t equals = line.Rest().find('=');
    if (equals == std::string_view::npos) {
        line.Fail("a line must be a [section], a Name=value or a comment");
    }
    const std::string_view name = TrimBlanks(line.Rest().substr(0, equals));
    if (name.empty()) {
        line.Fail("a value has no name");
    }
    line.Skip(equals + 1);
    return std::string(name);
}

StoredValue ReadEntry(LineReader& line) {
    StoredValue value;
    value.Name = ReadName(line);
    line.SkipBlanks();
    if (line.Rest().starts_with('"')) {
        value.Data = line.Quoted();
    } else if (line.TakePrefix(kExpandPrefix)) {
        value.Type = RegistryValueType::ExpandString;
        value.Data = line.Quoted();
    } else if (line.TakePrefix(kDwordPrefix)) {
        const std::string_view digits = line.Rest();
        std::uint32_t number = 0;
        if (digits.empty() || digits.size() > 8) {
            line.Fail("an integer must be one to eight hexadecimal digits");
        }
        for (const char c : digits) {
            const std::optional<int> digit = HexValue(c);
            if (!digit) {
                line.Fail("an integer must be one to eight hexadecimal digits");
            }
            number = number * 16 + static_cast<std::uint32_t>(*digit);
        }
        line.Skip(digits.size());
        value.Type = RegistryValueType::Integer;
        for (int shift = 0; shift < 32; shift += 8) {
            value.Data += static_cast<char>((number >> shift) & 0xFF);
        }
    } else if (line.TakePrefix(kHexPrefix)) {
        value.Type = RegistryValueType::Binary;
        line.SkipBlanks();
        while (!line.Rest().empty()) {
            if (!value.Data.empty()) {
                if (!line.Take(',')) {
                    line.Fail("bytes must be separated by commas");
                }
                line.SkipBlanks();
            }
            value.Data += static_cast<char>(line.HexByte());
            line.SkipBlanks();
        }
    } else {
        value.Data = std::string(line.Rest());
        line.Skip(line.Rest().size());
    }
    line.ExpectEnd();
    return value;
}

KeyNode& ReadSection(KeyNode& root, LineReader& line) {
    const std::string_view text = line.Rest();
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos || !TrimBlanks(text.substr(close + 1)).empty()) {
        line.Fail("a section name must end with \"]\"");
    }
    const auto names = SplitKeyPath(text.substr(1, close - 1));
    if (!names) {
        line.Fail("a key name in the section's path is empty");
    }
    KeyNode* node = &root;
    for (const std::string_view name : *names) {
        node = &node->MakeSubkey(name);
    }
    return *node;
}

void AppendQuoted(std::string& out, std::string_view text) {
    // Bytes that are no UTF-8 (an escape may have made them) go escaped, as the file is UTF-8.
    const bool utf8 = IsWellFormedUtf8(text);
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '\\':
        case '"':
            out += '\\';
            out += c;
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            if (IsControl(c) || (!utf8 && static_cast<unsigned char>(c) >= 0x80)) {
                const auto byte = static_cast<unsigned char>(c);
                out += "\\x";
                out += kHexDigits[byte >> 4];
                out += kHexDigits[byte & 0x0F];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

// A name is written bare when reading it back bare gives the same name.
bool NeedsQuotes(std::string_view name) {
    if (name.empty() || TrimBlanks(name) != name || name.front() == '[' || name.front() == ';' ||
        name.front() == '#' || !IsWellFormedUtf8(name)) {
        return true;
    }
    for (const char c : name) {
        if (c == '=' || c == '"' || IsControl(c)) {
            return true;
        }
    }
    return false;
}

void AppendValue(std::string& out, const StoredValue& value) {
    if (NeedsQuotes(value.Name)) {
        AppendQuoted(out, value.Name);
    } else {
        out += value.Name;
    }
    out += '=';
    switch (value.Type) {
    case RegistryValueType::Integer: {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < 4 && i < value.Data.size(); ++i) {
            number |= static_cast<std::uint32_t>(static_cast<unsigned char>(value.Data[i]))
                      << (8 * i);
        }
        out += kDwordPrefix;
        for (int shift = 28; shift >= 0; shift -= 4) {
            out += kHexDigits[(number >> shift) & 0x0F];
        }
        break;
    }
    case RegistryValueType::Binary:
    case RegistryValueType::Other:
        out += kHexPrefix;
        for (std::size_t i = 0; i < value.Data.size(); ++i) {
            const auto byte = static_cast<unsigned char>(value.Data[i]);
            if (i > 0) {
                out += ',';
            }
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0x0F];
        }
        break;
    case RegistryValueType::ExpandString:
        out += kExpandPrefix;
        AppendQuoted(out, value.Data);
        break;
    case RegistryValueType::String:
        AppendQuoted(out, value.Data);
        break;
    }
    out += "\r\n";
}

void AppendKey(std::string& out, const KeyNode& key, const std::string& path, bool isRoot) {
    if (!key.Values().empty() || (key.Subkeys().empty() && !isRoot)) {
        out += "\r\n[" + path + "]\r\n";
        for (const StoredValue& value : key.Values()) {
            AppendValue(out, value);
        }
    }
    for (const auto& [name, subkey] : key.Subkeys()) {
        std::string subpath = isRoot ? std::string() : path + "\\";
        subpath += name;
        AppendKey(out, subkey, subpath, false);
    }
}

} // namespace

IniSyntaxError::IniSyntaxError(int line, const std::string& fault)
    : std::runtime_error("line " + std::to_string(line) + ": " + fault), FLine(line) {}

KeyNode ReadIniText(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    KeyNode root;
    KeyNode* section = nullptr;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (raw.ends_with('\r')) {
            raw.remove_suffix(1);
        }
        LineReader line(raw, number);
        if (!IsWellFormedUtf8(raw)) {
            line.Fail("the text is not UTF-8");
        }
        for (const char c : raw) {
            if (IsControl(c) && c != '\t') {
                line.Fail("a control character");
            }
        }
        line.SkipBlanks();
        const std::string_view rest = line.Rest();
        if (rest.empty() || rest.front() == ';' || rest.front() == '#') {
            continue;
        }
        if (rest.front() == '[') {
            section = &ReadSection(root, line);
            continue;
        }
        const StoredValue value = ReadEntry(line);
        if (section == nullptr) {
            line.Fail("a value before the first [section]");
        }
        section->SetValue(value.Name, value.Type, value.Data);
    }
    return root;
}

std::string WriteIniText(const KeyNode& root) {
    std::string out(kHeader);
    AppendKey(out, root, "", true);
    return out;
}

} // namespace norvale
