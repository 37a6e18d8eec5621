#include "core/platform/registry.h"

#include <algorithm>
#include <cstring>

namespace norvale {
namespace {

[[noreturn]] void ThrowInvalidType(std::string_view name) {
    throw RegistryError("Invalid data type for '" + std::string(name) + "'");
}

[[noreturn]] void ThrowGetFailed(std::string_view name) {
    throw RegistryError("Failed to get data for '" + std::string(name) + "'");
}

[[noreturn]] void ThrowSetFailed(std::string_view name) {
    throw RegistryError("Failed to set data for '" + std::string(name) + "'");
}

} // namespace

bool RegistryKey::ValueExists(std::string_view name) const {
    return QueryValueInfo(name).has_value();
}

long long RegistryKey::ValueSize(std::string_view name) const {
    const auto info = QueryValueInfo(name);
    return info ? static_cast<long long>(info->Size) : -1;
}

std::string RegistryKey::ReadString(std::string_view name) const {
    const auto info = QueryValueInfo(name);
    if (!info) {
        return {};
    }
    if (info->Type != RegistryValueType::String && info->Type != RegistryValueType::ExpandString) {
        ThrowInvalidType(name);
    }
    auto text = QueryText(name);
    if (!text) {
        ThrowGetFailed(name);
    }
    text->resize(std::strlen(text->c_str()));
    return std::move(*text);
}

std::size_t RegistryKey::ReadBinary(std::string_view name, std::span<std::uint8_t> buffer) const {
    const auto info = QueryValueInfo(name);
    if (!info) {
        return 0;
    }
    if (info->Type != RegistryValueType::Binary) {
        ThrowInvalidType(name);
    }
    if (info->Size > buffer.size() || !QueryData(name, buffer.first(info->Size))) {
        ThrowGetFailed(name);
    }
    return info->Size;
}

std::uint32_t RegistryKey::ReadInteger(std::string_view name) const {
    const auto info = QueryValueInfo(name);
    if (!info) {
        ThrowGetFailed(name);
    }
    if (info->Type != RegistryValueType::Integer || info->Size != sizeof(std::uint32_t)) {
        ThrowInvalidType(name);
    }
    std::uint8_t bytes[4] = {};
    if (!QueryData(name, bytes)) {
        ThrowGetFailed(name);
    }
    // REG_DWORD is little-endian.
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void RegistryKey::WriteString(std::string_view name, std::string_view text) {
    if (!SetText(name, text)) {
        ThrowSetFailed(name);
    }
}

void RegistryKey::WriteInteger(std::string_view name, std::uint32_t value) {
    if (!SetInteger(name, value)) {
        ThrowSetFailed(name);
    }
}

void RegistryKey::DeleteValue(std::string_view name) {
    RemoveValue(name);
}

void RegistryKey::CreateSubkey(std::string_view name) {
    if (!MakeSubkey(name)) {
        throw RegistryError("Failed to create key " + std::string(name));
    }
}

void RegistryKey::DeleteSubkey(std::string_view name) {
    if (!RemoveSubkey(name)) {
        throw RegistryError("Failed to delete key " + std::string(name));
    }
}

std::string_view RelativeRegistryPath(std::string_view path) {
    if (!path.empty() && path.front() == '\\') {
        path.remove_prefix(1);
    }
    return path;
}

bool RegistryNameLess::operator()(std::string_view a, std::string_view b) const {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return upper(x) < upper(y); });
}

} // namespace norvale
