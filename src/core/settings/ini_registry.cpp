#include "core/settings/ini_registry.h"

#include "core/settings/atomic_file.h"
#include "core/text/utf16.h"

#include <cstring>

namespace norvale {
namespace {

constexpr int kSetAsideAttempts = 9;

bool IsTextType(RegistryValueType type) {
    return type == RegistryValueType::String || type == RegistryValueType::ExpandString;
}

// A key name the file can hold: the format has no escapes in section names.
bool StorableKeyName(std::string_view name) {
    if (!IsWellFormedUtf8(name)) {
        return false;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

} // namespace

class IniRegistry::Key final : public RegistryKey {
public:
    Key(IniRegistry& owner, KeyNode& node, RegistryAccess access)
        : FOwner(owner), FNode(node), FWritable(access == RegistryAccess::Full) {
        ++FOwner.FOpenKeys;
    }
    ~Key() override { FOwner.KeyClosed(); }

    std::vector<std::string> SubkeyNames() const override {
        std::vector<std::string> names;
        for (const auto& [name, subkey] : FNode.Subkeys()) {
            names.push_back(name);
        }
        return names;
    }

protected:
    std::optional<ValueInfo> QueryValueInfo(std::string_view name) const override {
        const StoredValue* value = FNode.Value(name);
        if (value == nullptr) {
            return std::nullopt;
        }
        // A text's size counts its terminating zero, as the registry's does.
        return ValueInfo{value->Type, value->Data.size() + (IsTextType(value->Type) ? 1 : 0)};
    }

    std::optional<std::string> QueryText(std::string_view name) const override {
        const StoredValue* value = FNode.Value(name);
        if (value == nullptr || !IsTextType(value->Type)) {
            return std::nullopt;
        }
        return value->Data;
    }

    bool QueryData(std::string_view name, std::span<std::uint8_t> buffer) const override {
        const StoredValue* value = FNode.Value(name);
        if (value == nullptr || value->Data.size() < buffer.size()) {
            return false;
        }
        std::memcpy(buffer.data(), value->Data.data(), buffer.size());
        return true;
    }

    bool SetText(std::string_view name, std::string_view text) override {
        return Store(name, RegistryValueType::String, text);
    }

    bool SetInteger(std::string_view name, std::uint32_t value) override {
        char bytes[4];
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return Store(name, RegistryValueType::Integer, std::string_view(bytes, 4));
    }

    void RemoveValue(std::string_view name) override {
        if (FWritable && FNode.RemoveValue(name)) {
            FOwner.Changed();
        }
    }

    bool MakeSubkey(std::string_view name) override {
        const auto names = SplitKeyPath(name);
        if (!FWritable || !names || names->empty()) {
            return false;
        }
        KeyNode* node = &FNode;
        for (const std::string_view part : *names) {
            if (KeyNode* existing = node->Subkey(part)) {
                node = existing;
            } else if (StorableKeyName(part)) {
                node = &node->MakeSubkey(part);
                FOwner.Changed();
            } else {
                return false;
            }
        }
        return true;
    }

    bool RemoveSubkey(std::string_view name) override {
        if (!FWritable) {
            return false;
        }
        if (KeyNode::DetachedKey detached = FNode.DetachSubkey(name)) {
            FOwner.KeepUntilClosed(std::move(detached));
        }
        return true;
    }

private:
    bool Store(std::string_view name, RegistryValueType type, std::string_view data) {
        if (!FWritable) {
            return false;
        }
        if (FNode.SetValue(name, type, data)) {
            FOwner.Changed();
        }
        return true;
    }

    IniRegistry& FOwner;
    KeyNode& FNode;
    bool FWritable;
};

IniRegistry::IniRegistry(FileSystem& files, std::string path,
                         std::function<void(const std::string&)> report)
    : FFiles(files), FPath(std::move(path)), FReport(std::move(report)) {}

std::unique_ptr<RegistryKey> IniRegistry::OpenKey(RegistryRoot root, std::string_view path,
                                                  bool createIfMissing, RegistryAccess access) {
    if (FOpenKeys == 0) {
        Refresh();
    }
    // Held while the key is looked up, so that a change made on the way is saved even when
    // no key comes back.
    ++FOpenKeys;
    std::unique_ptr<RegistryKey> key;
    const auto names = SplitKeyPath(path);
    if (root == RegistryRoot::CurrentUser && names) {
        KeyNode* node = &FRoot;
        for (const std::string_view name : *names) {
            KeyNode* next = node->Subkey(name);
            if (next == nullptr) {
                if (!createIfMissing || !StorableKeyName(name)) {
                    node = nullptr;
                    break;
                }
                next = &node->MakeSubkey(name);
                Changed();
            }
            node = next;
        }
        if (node != nullptr) {
            key = std::make_unique<Key>(*this, *node, access);
        }
    }
    KeyClosed();
    return key;
}

void IniRegistry::KeyClosed() {
    --FOpenKeys;
    if (FOpenKeys == 0) {
        FDetached.clear();
    }
    if (FOpenKeys == 0 && FChanged && !FFrozen) {
        Save();
    }
}

void IniRegistry::KeepUntilClosed(KeyNode::DetachedKey key) {
    FDetached.push_back(std::move(key));
    Changed();
}

void IniRegistry::Refresh() {
    // Changes that an earlier save could not write win over the file; they go with the next.
    if (FFrozen || FChanged) {
        return;
    }
    std::optional<std::string> text;
    try {
        text = FFiles.Read(FPath);
    } catch (const FileError& error) {
        if (!FRead) {
            FFrozen = true;
            FReport("The settings file " + FPath + " cannot be read (" + error.what() +
                    "). The settings start from their defaults and the file is left as it is.");
        }
        FRead = true;
        return;
    }
    FRead = true;
    // A file that has gone is made again with the next change.
    if (!text || *text == FFileText) {
        return;
    }
    try {
        FRoot = ReadIniText(*text);
        FFileText = std::move(*text);
    } catch (const IniSyntaxError& damage) {
        SetAside(damage);
    }
}

void IniRegistry::SetAside(const IniSyntaxError& damage) {
    std::string lastError;
    for (int attempt = 1; attempt <= kSetAsideAttempts; ++attempt) {
        const std::string aside = DamagedFileName(FPath, attempt);
        try {
            FFiles.Rename(FPath, aside);
        } catch (const FileError& error) {
            lastError = error.what();
            continue;
        }
        // The new file is written when the key that found the damage closes.
        FFileText.clear();
        Changed();
        FReport("The settings file " + FPath + " is damaged (" + damage.what() +
                "). It has been kept as " + aside + ", and a new settings file has been started.");
        return;
    }
    FFrozen = true;
    FReport("The settings file " + FPath + " is damaged (" + damage.what() +
            ") and could not be set aside (" + lastError +
            "). It is left as it is, and no settings are saved to it.");
}

void IniRegistry::Save() {
    std::string text = WriteIniText(FRoot);
    if (text == FFileText) {
        FChanged = false;
        return;
    }
    try {
        ReplaceFileContents(FFiles, FPath, text);
    } catch (const FileError& error) {
        if (!FSaveFailureReported) {
            FSaveFailureReported = true;
            FReport("The settings could not be saved to " + FPath + " (" + error.what() + ").");
        }
        return;
    }
    FFileText = std::move(text);
    FChanged = false;
    FSaveFailureReported = false;
}

std::string DamagedFileName(std::string_view path, int attempt) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::size_t dot = path.rfind('.');
    const bool hasExtension =
        dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash + 1);
    const std::string_view stem = hasExtension ? path.substr(0, dot) : path;
    const std::string_view extension = hasExtension ? path.substr(dot) : std::string_view();
    std::string name(stem);
    name += ".damaged";
    if (attempt > 1) {
        name += "-" + std::to_string(attempt);
    }
    name += extension;
    return name;
}

} // namespace norvale
