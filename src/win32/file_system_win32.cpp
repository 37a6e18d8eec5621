#include "win32/file_system_win32.h"

#include "win32/system_error_text.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

#include <algorithm>

namespace norvale::win32 {
namespace {

[[noreturn]] void ThrowLastError() {
    const DWORD code = GetLastError();
    const std::string text = SystemErrorText(code);
    throw FileError(text.empty() ? "error " + std::to_string(code) : text);
}

// Owns a file handle.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : FHandle(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE Get() const { return FHandle; }
    bool Close() {
        const bool closed = FHandle == INVALID_HANDLE_VALUE || CloseHandle(FHandle) != FALSE;
        FHandle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE FHandle;
};

// Owns a file search.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : FHandle(handle) {}
    ~FindHandle() {
        if (FHandle != INVALID_HANDLE_VALUE) {
            FindClose(FHandle);
        }
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    HANDLE Get() const { return FHandle; }

private:
    HANDLE FHandle;
};

class Win32WritableFile final : public WritableFile {
public:
    explicit Win32WritableFile(HANDLE handle) : FFile(handle) {}

    void Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            DWORD written = 0;
            if (!WriteFile(FFile.Get(), bytes.data(), chunk, &written, nullptr)) {
                ThrowLastError();
            }
            bytes.remove_prefix(written);
        }
    }
    void Flush() override {
        if (!FlushFileBuffers(FFile.Get())) {
            ThrowLastError();
        }
    }
    void Close() override {
        if (!FFile.Close()) {
            ThrowLastError();
        }
    }

private:
    FileHandle FFile;
};

} // namespace

std::optional<std::string> Win32FileSystem::Read(std::string_view path) {
    return ReadAtMost(path, UINT64_MAX);
}

std::optional<std::string> Win32FileSystem::ReadAtMost(std::string_view path,
                                                       std::uint64_t maxBytes) {
    // Others may read, write, replace or remove the file meanwhile, as this program's own
    // saves replace it.
    FileHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        ThrowLastError();
    }
    // A pipe, a console or another device answers to a file name too; only a disk file is
    // read, so that nothing waits on a pipe's other end.
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(file.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw FileError(kNotRegularFile);
    }
    const std::uint64_t size =
        static_cast<std::uint64_t>(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
    if (size > maxBytes) {
        throw FileTooLarge(maxBytes);
    }
    std::string contents;
    contents.reserve(static_cast<std::size_t>(size));
    char buffer[16384];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) {
            ThrowLastError();
        }
        if (read == 0) {
            return contents;
        }
        // The file may grow while it is read.
        if (contents.size() + read > maxBytes) {
            throw FileTooLarge(maxBytes);
        }
        contents.append(buffer, read);
    }
}

std::optional<std::string> Win32FileSystem::FinalPath(std::string_view path) {
    // No access is asked for, so that a locked file still answers; folders need the backup
    // flag to be opened at all.
    FileHandle file(CreateFileW(ToWide(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_CANT_RESOLVE_FILENAME) {
            throw FileError(kLinkLoop);
        }
        return std::nullopt;
    }
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(file.Get(), name.data(), static_cast<DWORD>(name.size()), 0);
        if (length == 0) {
            ThrowLastError();
        }
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(length);
    }
    // The answer is in the long form: \\?\C:\... or \\?\UNC\host\share\... .
    if (name.starts_with(LR"(\\?\UNC\)")) {
        name = L"\\" + name.substr(7);
    } else if (name.starts_with(LR"(\\?\)")) {
        name = name.substr(4);
    }
    return ToUtf8(name);
}

std::vector<std::string> Win32FileSystem::ListFiles(std::string_view folder,
                                                    std::size_t maxEntries) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const FindHandle search(FindFirstFileW((ToWide(folder) + L"\\*").c_str(), &found));
    if (search.Get() == INVALID_HANDLE_VALUE) {
        return names;
    }
    std::size_t entries = 0;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (++entries > maxEntries) {
            throw FileError(kTooManyEntries);
        }
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0) {
            names.push_back(ToUtf8(name));
        }
    } while (FindNextFileW(search.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

std::unique_ptr<WritableFile> Win32FileSystem::Create(std::string_view path) {
    const HANDLE handle = CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ThrowLastError();
    }
    return std::make_unique<Win32WritableFile>(handle);
}

void Win32FileSystem::Replace(std::string_view from, std::string_view to) {
    if (!MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowLastError();
    }
}

void Win32FileSystem::Rename(std::string_view from, std::string_view to) {
    if (!MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_WRITE_THROUGH)) {
        ThrowLastError();
    }
}

void Win32FileSystem::Remove(std::string_view path) {
    DeleteFileW(ToWide(path).c_str());
}

} // namespace norvale::win32
