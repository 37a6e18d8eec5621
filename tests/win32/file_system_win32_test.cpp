#include "contract/registry_contract.h"
#include "core/settings/atomic_file.h"
#include "core/settings/ini_registry.h"
#include "core/settings/portable_registry.h"
#include "support/ini_plant.h"
#include "support/temp_folder.h"
#include "win32/file_system_win32.h"
#include "win32/registry_win32.h"
#include "win32/settings_registry_win32.h"
#include "win32/wide_text.h"
#include "win32/win32_common.h"

#include <filesystem>

namespace norvale::win32 {
namespace {

std::string Utf8Path(const std::filesystem::path& path) {
    return ToUtf8(path.wstring());
}

TEST(Win32FileSystem, ReadsWritesReplacesAndRenamesFiles) {
    testing::TempFolder folder;
    Win32FileSystem files;
    // NOTE: Wine keeps file names in the host locale's encoding; under a locale the host lacks
    // (scripts/test asks for en_US.UTF-8) a file whose name has "\u00FC" in it cannot be made.
    const std::string file = Utf8Path(folder.Path() / L"Settings.ini");
    const std::string other = Utf8Path(folder.Path() / L"other.ini");
    EXPECT_EQ(files.Read(file), std::nullopt);
    EXPECT_EQ(files.Read(Utf8Path(folder.Path() / "missing" / "x.ini")), std::nullopt);

    ReplaceFileContents(files, file, std::string("first\0\r\n", 8));
    EXPECT_EQ(files.Read(file), std::string("first\0\r\n", 8));
    ReplaceFileContents(files, file, "second");
    EXPECT_EQ(files.Read(file), "second");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / L"Settings.ini.tmp"));

    folder.Write("other.ini", "taken");
    EXPECT_THROW(files.Rename(file, other), FileError);
    files.Remove(other);
    files.Rename(file, other);
    EXPECT_EQ(files.Read(other), "second");
    EXPECT_EQ(files.Read(file), std::nullopt);
    files.Remove(other);
    files.Remove(other); // gone already: not reported
    EXPECT_EQ(files.Read(other), std::nullopt);
}

TEST(Win32FileSystem, AFailureCarriesTheSystemsText) {
    testing::TempFolder folder;
    Win32FileSystem files;
    try {
        files.Create(Utf8Path(folder.Path() / "no such folder" / "x.ini"));
        ADD_FAILURE() << "created a file in a missing folder";
    } catch (const FileError& error) {
        EXPECT_FALSE(std::string(error.what()).empty());
        EXPECT_EQ(std::string(error.what()).find("error "), std::string::npos) << error.what();
    }
}

// A skin's files are read only when they are disk files: a device or a pipe is refused at
// once, without waiting for the pipe's other end.
TEST(Win32FileSystem, ReadsOnlyDiskFilesAndListsUpToTheEntriesAllowed) {
    testing::TempFolder folder;
    Win32FileSystem files;
    const auto fault = [&](const std::string& path) -> std::string {
        try {
            files.ReadAtMost(path, 100);
            return "read";
        } catch (const FileError& e) {
            return e.what();
        }
    };
    EXPECT_EQ(fault("NUL"), kNotRegularFile);
    const HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\norvale-skin-test", PIPE_ACCESS_DUPLEX,
                                         PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fault(R"(\\.\pipe\norvale-skin-test)"), kNotRegularFile);
    CloseHandle(pipe);

    folder.Write("a.ttf", "a");
    folder.Write("b.txt", "b");
    std::filesystem::create_directory(folder.Path() / "sub");
    EXPECT_EQ(files.ListFiles(Utf8Path(folder.Path()), 3),
              (std::vector<std::string>{"a.ttf", "b.txt"}));
    EXPECT_THROW(files.ListFiles(Utf8Path(folder.Path()), 2), FileError);
    EXPECT_THROW(files.ReadAtMost(Utf8Path(folder.Path() / "a.ttf"), 0), FileTooLarge);
}

// The settings file on the real disk, through the Windows file functions.
struct IniOnDisk final : Registry {
    testing::TempFolder Folder;
    Win32FileSystem Files;
    std::string File = Utf8Path(Folder.Path() / "NorvaleTimeClock.ini");
    IniRegistry Ini{Files, File, [](const std::string& text) { ADD_FAILURE() << text; }};

    std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, bool create,
                                         RegistryAccess access) override {
        return Ini.OpenKey(root, path, create, access);
    }
};

testing::RegistryContractTarget IniOnDiskTarget() {
    testing::RegistryContractTarget target;
    target.Name = "IniOnDisk";
    target.Make = [] { return std::make_unique<IniOnDisk>(); };
    target.ScratchPath = "Software\\Brannick\\ContractTest";
    target.Plant = [](Registry& registry, const std::string& path, const std::string& name,
                      RegistryValueType type, const std::string& data) {
        auto& disk = static_cast<IniOnDisk&>(registry);
        testing::PlantIniValue(disk.Files, disk.File, path, name, type, data);
    };
    // Each test gets a new folder.
    target.RemoveScratch = [](Registry&) {};
    return target;
}

using testing::RegistryContract;
INSTANTIATE_TEST_SUITE_P(IniOnDisk, RegistryContract, ::testing::Values(IniOnDiskTarget()),
                         testing::RegistryContractName);

TEST(OpenSettingsRegistry, TheSettingsFileBesideTheProgramTurnsPortableModeOn) {
    testing::TempFolder folder;
    const auto reported = [](const std::string& text) { ADD_FAILURE() << text; };
    const std::string key = "Software\\Brannick\\NorvaleRegistrySelectionTest";
    // Without the file: the registry.
    OpenSettingsRegistry(folder.Path(), reported)
        ->OpenKey(RegistryRoot::CurrentUser, key, true, RegistryAccess::Full)
        ->WriteString("Where", "registry");
    Win32Registry system;
    EXPECT_EQ(system.OpenKey(RegistryRoot::CurrentUser, key, false, RegistryAccess::Read)
                  ->ReadString("Where"),
              "registry");
    RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(key).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, ToWide(key).c_str());

    // With it (even empty): the file, and the registry is left alone.
    folder.Write(std::string(kPortableSettingsFile), "");
    OpenSettingsRegistry(folder.Path(), reported)
        ->OpenKey(RegistryRoot::CurrentUser, key, true, RegistryAccess::Full)
        ->WriteString("Where", "file");
    EXPECT_EQ(system.OpenKey(RegistryRoot::CurrentUser, key, false, RegistryAccess::Read), nullptr);
    Win32FileSystem files;
    const std::string text =
        files.Read(Utf8Path(folder.Path() / std::string(kPortableSettingsFile))).value();
    EXPECT_NE(text.find("[" + key + "]\r\nWhere=\"file\"\r\n"), std::string::npos) << text;
}

} // namespace
} // namespace norvale::win32
