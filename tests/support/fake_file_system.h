#pragma once

#include "core/platform/file_system.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace norvale::testing {

// Files in memory that know what a power cut would leave of them: a file's bytes reach the
// disk only when it is flushed, while creating, renaming and removing a file reach it at
// once. Every step that changes something is counted, and one of them can be made to fail.
// Paths are '/'-separated ('\' is taken too); every path that is read or resolved is recorded,
// so that a test can tell what was touched.
class FakeFileSystem final : public FileSystem {
public:
    struct File {
        std::string Contents; // what a read sees
        std::string OnDisk;   // what is left after a power cut
    };

    std::map<std::string, File> Files;
    // The step of this number fails (0: none); a write that fails has written half its bytes,
    // as on a full disk. With Crash set, every later step fails too, as if the program had
    // died there.
    int FailAtStep = 0;
    bool Crash = false;
    int Steps = 0;
    // Every read fails with this text, when set.
    std::string ReadError;
    // Every rename fails.
    bool RenameFails = false;
    int Replaces = 0;
    // Every path given to Read, ReadAtMost, FinalPath or ListFiles, in order.
    std::vector<std::string> Opened;
    // Symbolic links: a path (file or folder) and where it leads.
    std::map<std::string, std::string> Links;
    // Named pipes, devices and sockets: they exist but are no regular files.
    std::vector<std::string> Specials;

    // Puts a file on the disk as it is.
    void Put(const std::string& path, const std::string& contents) {
        Files[path] = File{contents, contents};
    }

    // The files as a power cut now would leave them.
    std::map<std::string, std::string> AfterPowerCut() const {
        std::map<std::string, std::string> left;
        for (const auto& [path, file] : Files) {
            left[path] = file.OnDisk;
        }
        return left;
    }

    std::optional<std::string> Read(std::string_view path) override {
        return ReadAtMost(path, UINT64_MAX);
    }

    std::optional<std::string> ReadAtMost(std::string_view path, std::uint64_t maxBytes) override {
        Opened.emplace_back(path);
        if (!ReadError.empty()) {
            throw FileError(ReadError);
        }
        const std::string resolved = Resolve(std::string(path));
        if (IsSpecial(resolved)) {
            throw FileError(kNotRegularFile);
        }
        auto it = Files.find(std::string(path));
        if (it == Files.end()) {
            it = Files.find(resolved);
        }
        if (it == Files.end()) {
            return std::nullopt;
        }
        if (it->second.Contents.size() > maxBytes) {
            throw FileTooLarge(maxBytes);
        }
        return it->second.Contents;
    }

    // A folder exists when some file lies below it.
    std::optional<std::string> FinalPath(std::string_view path) override {
        Opened.emplace_back(path);
        const std::string resolved = Resolve(std::string(path));
        const bool folder = std::any_of(Files.begin(), Files.end(), [&](const auto& file) {
            return file.first.starts_with(resolved + "/");
        });
        return Files.count(resolved) != 0 || folder || IsSpecial(resolved) ? std::optional(resolved)
                                                                           : std::nullopt;
    }

    std::vector<std::string> ListFiles(std::string_view folder, std::size_t maxEntries) override {
        Opened.emplace_back(folder);
        const std::string prefix = Resolve(std::string(folder)) + "/";
        std::vector<std::string> names;
        for (const auto& file : Files) {
            const std::string& path = file.first;
            if (path.starts_with(prefix) && path.find('/', prefix.size()) == std::string::npos) {
                if (names.size() == maxEntries) {
                    throw FileError(kTooManyEntries);
                }
                names.push_back(path.substr(prefix.size()));
            }
        }
        return names;
    }

    std::unique_ptr<WritableFile> Create(std::string_view path) override {
        Step();
        Files[std::string(path)] = File{};
        return std::make_unique<OpenFile>(*this, std::string(path));
    }

    void Replace(std::string_view from, std::string_view to) override {
        Step();
        Move(from, to);
        ++Replaces;
    }

    void Rename(std::string_view from, std::string_view to) override {
        Step();
        if (RenameFails || Files.count(std::string(to)) != 0) {
            throw FileError("Cannot create a file when that file already exists.");
        }
        Move(from, to);
    }

    void Remove(std::string_view path) override {
        try {
            Step();
        } catch (const FileError&) {
            return;
        }
        Files.erase(std::string(path));
    }

private:
    class OpenFile final : public WritableFile {
    public:
        OpenFile(FakeFileSystem& owner, std::string path) : FOwner(owner), FPath(std::move(path)) {}
        void Write(std::string_view bytes) override {
            try {
                FOwner.Step();
            } catch (const FileError&) {
                FOwner.Files[FPath].Contents += bytes.substr(0, bytes.size() / 2);
                throw;
            }
            FOwner.Files[FPath].Contents += bytes;
        }
        void Flush() override {
            FOwner.Step();
            File& file = FOwner.Files[FPath];
            file.OnDisk = file.Contents;
        }
        void Close() override { FOwner.Step(); }

    private:
        FakeFileSystem& FOwner;
        std::string FPath;
    };

    bool IsSpecial(const std::string& resolved) const {
        return std::find(Specials.begin(), Specials.end(), resolved) != Specials.end();
    }

    // The path with "." and ".." taken out and every link followed; as many links as the
    // systems follow before they call it a loop.
    std::string Resolve(const std::string& path, int links = 40) const {
        std::vector<std::string> names;
        std::size_t start = 0;
        while (start <= path.size()) {
            const std::size_t end = std::min(path.find_first_of("/\\", start), path.size());
            const std::string name = path.substr(start, end - start);
            if (name == "..") {
                if (!names.empty()) {
                    names.pop_back();
                }
            } else if (!name.empty() && name != ".") {
                names.push_back(name);
                const auto link = Links.find(Join(names));
                if (link != Links.end()) {
                    if (links == 0) {
                        throw FileError(kLinkLoop);
                    }
                    return Resolve(link->second + path.substr(end), links - 1);
                }
            }
            start = end + 1;
        }
        return Join(names);
    }

    static std::string Join(const std::vector<std::string>& names) {
        std::string path;
        for (const std::string& name : names) {
            path += "/" + name;
        }
        return path;
    }

    void Step() {
        ++Steps;
        if (FailAtStep != 0 && (Steps == FailAtStep || (Crash && Steps > FailAtStep))) {
            throw FileError("step " + std::to_string(Steps) + " failed");
        }
    }

    void Move(std::string_view from, std::string_view to) {
        const auto it = Files.find(std::string(from));
        if (it == Files.end()) {
            throw FileError("The system cannot find the file specified.");
        }
        File moved = std::move(it->second);
        Files.erase(it);
        Files[std::string(to)] = std::move(moved);
    }
};

} // namespace norvale::testing
