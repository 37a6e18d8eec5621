#pragma once

#include "core/platform/registry.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace norvale::testing {

// An in-memory registry that behaves as the Windows one does where callers can tell:
// names compare ignoring case, subkeys enumerate in upper-case name order, a read-only key
// refuses writes. Tests plant values of any type, lock keys and make writes fail.
class FakeRegistry final : public Registry {
public:
    struct Value {
        RegistryValueType Type = RegistryValueType::String;
        std::string Data; // the UTF-8 text of a string type, else the raw bytes
    };

    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                         bool createIfMissing, RegistryAccess access) override {
        Node* node = Find(root, path, createIfMissing);
        if (node == nullptr) {
            return nullptr;
        }
        return std::make_unique<Key>(*this, *node, access);
    }

    // Plants a value of any type, creating the key's path.
    void SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                  RegistryValueType type, std::string data) {
        Find(root, path, true)->Values[std::string(name)] = Value{type, std::move(data)};
    }

    const Value* GetValue(RegistryRoot root, std::string_view path, std::string_view name) {
        Node* node = Find(root, path, false);
        if (node == nullptr) {
            return nullptr;
        }
        const auto it = node->Values.find(std::string(name));
        return it == node->Values.end() ? nullptr : &it->second;
    }

    bool KeyExists(RegistryRoot root, std::string_view path) {
        return Find(root, path, false) != nullptr;
    }

    // The key stays in its parent's list of subkeys but cannot be opened.
    void MakeUnopenable(RegistryRoot root, std::string_view path) {
        Find(root, path, true)->Unopenable = true;
    }

    // Every later write and key creation fails, as on a key without write permission.
    bool FailWrites = false;

    int OpenKeyCount() const { return FOpenKeys; }

    // The names of the values written through keys, in the order of the writes.
    std::vector<std::string> Written;

private:
    using NameLess = RegistryNameLess;

    struct Node {
        std::map<std::string, std::unique_ptr<Node>, NameLess> Subkeys;
        std::map<std::string, Value, NameLess> Values;
        bool Unopenable = false;
    };

    class Key final : public RegistryKey {
    public:
        Key(FakeRegistry& owner, Node& node, RegistryAccess access)
            : FOwner(owner), FNode(node), FAccess(access) {
            ++FOwner.FOpenKeys;
        }
        ~Key() override { --FOwner.FOpenKeys; }

        std::vector<std::string> SubkeyNames() const override {
            std::vector<std::string> names;
            for (const auto& [name, node] : FNode.Subkeys) {
                names.push_back(name);
            }
            return names;
        }

    protected:
        std::optional<ValueInfo> QueryValueInfo(std::string_view name) const override {
            const Value* value = Lookup(name);
            if (value == nullptr) {
                return std::nullopt;
            }
            const bool text = value->Type == RegistryValueType::String ||
                              value->Type == RegistryValueType::ExpandString;
            return ValueInfo{value->Type, value->Data.size() + (text ? 1 : 0)};
        }
        std::optional<std::string> QueryText(std::string_view name) const override {
            const Value* value = Lookup(name);
            return value ? std::optional<std::string>(value->Data) : std::nullopt;
        }
        bool QueryData(std::string_view name, std::span<std::uint8_t> buffer) const override {
            const Value* value = Lookup(name);
            if (value == nullptr || value->Data.size() < buffer.size()) {
                return false;
            }
            std::memcpy(buffer.data(), value->Data.data(), buffer.size());
            return true;
        }
        bool SetText(std::string_view name, std::string_view text) override {
            return Store(name, Value{RegistryValueType::String, std::string(text)});
        }
        bool SetInteger(std::string_view name, std::uint32_t v) override {
            std::string bytes(4, '\0');
            for (int i = 0; i < 4; ++i) {
                bytes[static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
            }
            return Store(name, Value{RegistryValueType::Integer, bytes});
        }
        void RemoveValue(std::string_view name) override {
            if (Writable()) {
                FNode.Values.erase(std::string(name));
            }
        }
        bool MakeSubkey(std::string_view name) override {
            if (!Writable()) {
                return false;
            }
            auto& child = FNode.Subkeys[std::string(name)];
            if (!child) {
                child = std::make_unique<Node>();
            }
            return true;
        }
        bool RemoveSubkey(std::string_view name) override {
            if (!Writable()) {
                return false;
            }
            const auto it = FNode.Subkeys.find(std::string(name));
            if (it != FNode.Subkeys.end()) {
                // Keys still open on it keep a node to write to, which nothing reads.
                FOwner.FDetached.push_back(std::move(it->second));
                FNode.Subkeys.erase(it);
            }
            return true;
        }

    private:
        const Value* Lookup(std::string_view name) const {
            const auto it = FNode.Values.find(std::string(name));
            return it == FNode.Values.end() ? nullptr : &it->second;
        }
        bool Writable() const { return FAccess == RegistryAccess::Full && !FOwner.FailWrites; }
        bool Store(std::string_view name, Value value) {
            if (!Writable()) {
                return false;
            }
            FNode.Values[std::string(name)] = std::move(value);
            FOwner.Written.emplace_back(name);
            return true;
        }

        FakeRegistry& FOwner;
        Node& FNode;
        RegistryAccess FAccess;
    };

    Node* Find(RegistryRoot root, std::string_view path, bool create) {
        Node* node = &FRoots[root];
        path = RelativeRegistryPath(path);
        while (!path.empty()) {
            const std::size_t slash = path.find('\\');
            const std::string name(path.substr(0, slash));
            path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
            auto it = node->Subkeys.find(name);
            if (it == node->Subkeys.end()) {
                if (!create || FailWrites) {
                    return nullptr;
                }
                it = node->Subkeys.emplace(name, std::make_unique<Node>()).first;
            }
            node = it->second.get();
            if (node->Unopenable) {
                return nullptr;
            }
        }
        return node;
    }

    std::map<RegistryRoot, Node> FRoots;
    std::vector<std::unique_ptr<Node>> FDetached;
    int FOpenKeys = 0;
};

} // namespace norvale::testing
