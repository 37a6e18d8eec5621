#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

enum class RegistryRoot { CurrentUser, LocalMachine, CurrentConfig, ClassesRoot, Users, DynData };
enum class RegistryAccess { Read, Full };
enum class RegistryValueType { String, ExpandString, Integer, Binary, Other };

// A failed registry operation; what() is the text the user sees.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An open registry key. Destroying it closes the key, so every path releases it. The public
// operations hold the rules (types, error texts); a platform supplies the protected
// primitives, which only move data. Texts are UTF-8; names compare as the platform compares
// them (ignoring case on Windows).
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    virtual ~RegistryKey() = default;

    // The names of the direct subkeys, in the order the store keeps them.
    virtual std::vector<std::string> SubkeyNames() const = 0;

    bool ValueExists(std::string_view name) const;
    // The stored size in bytes, or -1 when the value is missing.
    long long ValueSize(std::string_view name) const;

    // The text up to its first zero character; a missing value reads as empty text.
    std::string ReadString(std::string_view name) const;
    // Copies a binary value into the front of buffer and returns its size; 0 when missing.
    std::size_t ReadBinary(std::string_view name, std::span<std::uint8_t> buffer) const;
    std::uint32_t ReadInteger(std::string_view name) const;

    void WriteString(std::string_view name, std::string_view text);
    void WriteInteger(std::string_view name, std::uint32_t value);
    // A missing value, or one that cannot be deleted, is not reported.
    void DeleteValue(std::string_view name);
    void CreateSubkey(std::string_view name);
    // Deletes a direct subkey with all it holds; a missing one is not reported. A key opened
    // on it before keeps no changes made through it afterwards.
    void DeleteSubkey(std::string_view name);

protected:
    struct ValueInfo {
        RegistryValueType Type = RegistryValueType::Other;
        std::size_t Size = 0;
    };

    virtual std::optional<ValueInfo> QueryValueInfo(std::string_view name) const = 0;
    // The whole stored text of a string value, embedded zeros included; nullopt on failure.
    virtual std::optional<std::string> QueryText(std::string_view name) const = 0;
    // Fills buffer with the first buffer.size() bytes of the value; false on failure.
    virtual bool QueryData(std::string_view name, std::span<std::uint8_t> buffer) const = 0;
    virtual bool SetText(std::string_view name, std::string_view text) = 0;
    virtual bool SetInteger(std::string_view name, std::uint32_t value) = 0;
    virtual void RemoveValue(std::string_view name) = 0;
    virtual bool MakeSubkey(std::string_view name) = 0;
    // False when an existing subkey could not be deleted.
    virtual bool RemoveSubkey(std::string_view name) = 0;
};

// The registry of the platform (or a stand-in for it).
class Registry {
public:
    virtual ~Registry() = default;

    // A key path is a chain of names joined by "\"; a leading "\" also counts from the root.
    // Returns nullptr, without an error, when the key is missing (and not to be created) or
    // cannot be opened with that access.
    virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                                 bool createIfMissing, RegistryAccess access) = 0;
};

// The path with its leading "\" (if any) removed.
std::string_view RelativeRegistryPath(std::string_view path);

// Orders names as Windows enumerates subkeys, by their upper-case forms; names that differ only
// in the case of their ASCII letters are the same name.
struct RegistryNameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

} // namespace norvale
