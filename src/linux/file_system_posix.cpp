#include "linux/file_system_posix.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace norvale::linux_adapter {
namespace {

[[noreturn]] void ThrowErrno() {
    throw FileError(std::strerror(errno));
}

// Owns a file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : FFd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return FFd; }
    bool Close() {
        const bool closed = FFd < 0 || ::close(FFd) == 0;
        FFd = -1;
        return closed;
    }

private:
    int FFd;
};

class PosixWritableFile final : public WritableFile {
public:
    explicit PosixWritableFile(int fd) : FFile(fd) {}

    void Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(FFile.Get(), bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                ThrowErrno();
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    void Flush() override {
        if (::fsync(FFile.Get()) != 0) {
            ThrowErrno();
        }
    }
    void Close() override {
        if (!FFile.Close()) {
            ThrowErrno();
        }
    }

private:
    Descriptor FFile;
};

std::string Text(std::string_view path) {
    return std::string(path);
}

} // namespace

std::optional<std::string> PosixFileSystem::Read(std::string_view path) {
    return ReadAtMost(path, UINT64_MAX);
}

std::optional<std::string> PosixFileSystem::ReadAtMost(std::string_view path,
                                                       std::uint64_t maxBytes) {
    // Opening a named pipe for reading would wait for a writer, and a terminal would become
    // ours: neither happens with these flags, and fstat then tells what was opened.
    const Descriptor file(::open(Text(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        if (errno == ELOOP) {
            throw FileError(kLinkLoop);
        }
        ThrowErrno();
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        ThrowErrno();
    }
    if (!S_ISREG(info.st_mode)) {
        throw FileError(kNotRegularFile);
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        throw FileTooLarge(maxBytes);
    }
    std::string contents;
    contents.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[16384];
    for (;;) {
        const ssize_t read = ::read(file.Get(), buffer, sizeof buffer);
        if (read < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno();
        }
        if (read == 0) {
            return contents;
        }
        // The file may grow while it is read.
        if (contents.size() + static_cast<std::size_t>(read) > maxBytes) {
            throw FileTooLarge(maxBytes);
        }
        contents.append(buffer, static_cast<std::size_t>(read));
    }
}

std::optional<std::string> PosixFileSystem::FinalPath(std::string_view path) {
    const auto release = [](char* p) { std::free(p); };
    const std::unique_ptr<char, decltype(release)> resolved(::realpath(Text(path).c_str(), nullptr),
                                                            release);
    if (!resolved) {
        if (errno == ELOOP) {
            throw FileError(kLinkLoop);
        }
        return std::nullopt;
    }
    return std::string(resolved.get());
}

std::vector<std::string> PosixFileSystem::ListFiles(std::string_view folder,
                                                    std::size_t maxEntries) {
    std::vector<std::string> names;
    const auto close = [](DIR* d) { ::closedir(d); };
    const std::unique_ptr<DIR, decltype(close)> dir(::opendir(Text(folder).c_str()), close);
    if (!dir) {
        return names;
    }
    const std::string prefix = Text(folder) + "/";
    std::size_t entries = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (++entries > maxEntries) {
            throw FileError(kTooManyEntries);
        }
        // stat follows a link to what it names, without opening it.
        struct stat info {};
        if (::stat((prefix + entry->d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            names.emplace_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::unique_ptr<WritableFile> PosixFileSystem::Create(std::string_view path) {
    const int fd = ::open(Text(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        ThrowErrno();
    }
    return std::make_unique<PosixWritableFile>(fd);
}

void PosixFileSystem::Replace(std::string_view from, std::string_view to) {
    if (::rename(Text(from).c_str(), Text(to).c_str()) != 0) {
        ThrowErrno();
    }
    // The new name is on the disk once its folder is.
    const std::string target = Text(to);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() < 0 || ::fsync(dir.Get()) != 0) {
        ThrowErrno();
    }
}

void PosixFileSystem::Rename(std::string_view from, std::string_view to) {
    // link + unlink fails, unlike rename, when `to` exists.
    if (::link(Text(from).c_str(), Text(to).c_str()) != 0) {
        ThrowErrno();
    }
    ::unlink(Text(from).c_str());
}

void PosixFileSystem::Remove(std::string_view path) {
    ::unlink(Text(path).c_str());
}

} // namespace norvale::linux_adapter
