#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace norvale {

// A failed file operation; what() is the system's own description of the failure, or one of
// the texts below, the same on every system.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file larger than a reader allows, found before it is read whole.
class FileTooLarge : public FileError {
public:
    explicit FileTooLarge(std::uint64_t maxBytes)
        : FileError("the file is larger than " + std::to_string(maxBytes) + " bytes") {}
};

// A pipe, device, socket or folder where a file is read: refused before anything is read, so
// that nothing waits for a writer that never comes.
inline constexpr char kNotRegularFile[] = "it is not a regular file";
// Links that lead to each other, so that no final path exists.
inline constexpr char kLinkLoop[] = "its links lead round in a loop";
// A folder with more entries than its reader may look at.
inline constexpr char kTooManyEntries[] = "the folder holds too many entries";

// A file being written. Each step either completes or throws FileError; destroying the file
// closes it if Close has not.
class WritableFile {
public:
    WritableFile() = default;
    WritableFile(const WritableFile&) = delete;
    WritableFile& operator=(const WritableFile&) = delete;
    virtual ~WritableFile() = default;

    virtual void Write(std::string_view bytes) = 0;
    // Returns once everything written so far is on the disk.
    virtual void Flush() = 0;
    virtual void Close() = 0;
};

// The few file operations that keeping a settings file safely and reading a skin folder
// need. Paths are UTF-8.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole file, or nullopt when there is no such file.
    virtual std::optional<std::string> Read(std::string_view path) = 0;
    // The same, but a file of more than maxBytes throws FileTooLarge before it is read whole,
    // and anything but a regular file throws FileError (kNotRegularFile), opened without
    // waiting.
    virtual std::optional<std::string> ReadAtMost(std::string_view path,
                                                  std::uint64_t maxBytes) = 0;
    // The full path of an existing file or folder as the system names it, with every link,
    // junction, "." and ".." resolved; nullopt when there is nothing at the path. Links in a
    // loop throw FileError (kLinkLoop).
    virtual std::optional<std::string> FinalPath(std::string_view path) = 0;
    // The names of the regular files in a folder, without its subfolders, sorted; none when
    // the folder cannot be listed. A folder of more than maxEntries entries of any kind
    // throws FileError (kTooManyEntries) once the reading passes them.
    virtual std::vector<std::string> ListFiles(std::string_view folder, std::size_t maxEntries) = 0;
    // Creates the file, or empties an existing one, for writing.
    virtual std::unique_ptr<WritableFile> Create(std::string_view path) = 0;
    // Puts `from` in the place of `to` in one step that is on the disk when it returns: a
    // crash leaves either the old `to` or the new one. `to` need not exist.
    virtual void Replace(std::string_view from, std::string_view to) = 0;
    // Gives a file another name; fails when a file of that name exists.
    virtual void Rename(std::string_view from, std::string_view to) = 0;
    // Removes a file; a missing file, or one that cannot be removed, is not reported.
    virtual void Remove(std::string_view path) = 0;
};

} // namespace norvale
