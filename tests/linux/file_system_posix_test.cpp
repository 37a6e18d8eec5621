// What the skin loader relies on from the POSIX file system: nothing but a regular file is
// read, a named pipe is refused without waiting for a writer, and links in a loop and crowded
// folders are told apart from missing files.
#include "linux/file_system_posix.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace norvale::linux_adapter {
namespace {

class PosixFileSystemTest : public ::testing::Test {
protected:
    PosixFileSystemTest() {
        Folder.Write("a", "first");
        Folder.Write("b", "second");
        std::filesystem::create_directory(Folder.Path() / "folder");
        EXPECT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
        EXPECT_EQ(::symlink("/dev/null", Path("device").c_str()), 0);
        EXPECT_EQ(::symlink("loop_b", Path("loop_a").c_str()), 0);
        EXPECT_EQ(::symlink("loop_a", Path("loop_b").c_str()), 0);
    }

    std::string Path(const char* name) const { return (Folder.Path() / name).string(); }

    // What reading the file gives: its text or the fault.
    std::string Read(const char* name) {
        try {
            return Files.ReadAtMost(Path(name), 100).value_or("missing");
        } catch (const FileError& e) {
            return e.what();
        }
    }

    testing::TempFolder Folder;
    PosixFileSystem Files;
};

TEST_F(PosixFileSystemTest, ReadsOnlyRegularFilesAndNeverWaits) {
    EXPECT_EQ(Read("a"), "first");
    EXPECT_EQ(Read("missing"), "missing");
    EXPECT_EQ(Read("pipe"), kNotRegularFile); // no writer: opening it must not wait for one
    EXPECT_EQ(Read("device"), kNotRegularFile);
    EXPECT_EQ(Read("folder"), kNotRegularFile);
    EXPECT_EQ(Read("loop_a"), kLinkLoop);
    EXPECT_THROW(Files.FinalPath(Path("loop_b")), FileError);
    EXPECT_EQ(Files.FinalPath(Path("missing")), std::nullopt);
    EXPECT_THROW(Files.ReadAtMost(Path("b"), 5), FileTooLarge);
}

TEST_F(PosixFileSystemTest, ListsRegularFilesUpToTheEntriesAllowed) {
    // Seven entries: two files, a folder, a pipe, a device and two links that lead nowhere.
    EXPECT_EQ(Files.ListFiles(Folder.Path().string(), 7), (std::vector<std::string>{"a", "b"}));
    try {
        Files.ListFiles(Folder.Path().string(), 6);
        ADD_FAILURE() << "a folder of seven entries was listed";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), kTooManyEntries);
    }
}

} // namespace
} // namespace norvale::linux_adapter
