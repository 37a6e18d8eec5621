#include "core/settings/atomic_file.h"
#include "support/fake_file_system.h"

#include <gtest/gtest.h>

namespace norvale::testing {
namespace {

const std::string kPath = "C:\\Clock\\NorvaleTimeClock.ini";
const std::string kOld = "[Old]\r\nA=\"1\"\r\n";
const std::string kNew = "[New]\r\nA=\"2\"\r\nB=\"a longer text than the old one\"\r\n";

// Runs the replacement with step `step` failing; true when it failed.
bool ReplaceFailingAt(FakeFileSystem& files, int step, bool crash) {
    files.Put(kPath, kOld);
    files.FailAtStep = step;
    files.Crash = crash;
    try {
        ReplaceFileContents(files, kPath, kNew);
    } catch (const FileError&) {
        return true;
    }
    return false;
}

TEST(ReplaceFileContents, APowerCutAtAnyStepLeavesTheOldFileOrTheNewOne) {
    int step = 1;
    for (;; ++step) {
        ASSERT_LT(step, 50) << "the replacement never completed";
        FakeFileSystem files;
        const bool failed = ReplaceFailingAt(files, step, true);
        const auto left = files.AfterPowerCut();
        ASSERT_EQ(left.count(kPath), 1u) << "step " << step;
        const std::string& kept = left.at(kPath);
        EXPECT_TRUE(kept == kOld || kept == kNew) << "step " << step << " left: " << kept;
        if (!failed) {
            // Past the last step: the new file, on the disk.
            EXPECT_EQ(kept, kNew);
            break;
        }
    }
    // Create, write, flush, close and replace.
    EXPECT_EQ(step, 6);
}

TEST(ReplaceFileContents, AFailedStepKeepsTheOldFileAndLeavesNoTemporaryFile) {
    for (int step = 1; step <= 5; ++step) {
        FakeFileSystem files;
        ASSERT_TRUE(ReplaceFailingAt(files, step, false)) << "step " << step;
        EXPECT_EQ(files.Files.at(kPath).Contents, kOld) << "step " << step;
        EXPECT_EQ(files.Files.size(), 1u) << "step " << step;
    }
}

TEST(ReplaceFileContents, WritesANewFileAndReplacesAnOldOne) {
    FakeFileSystem files;
    ReplaceFileContents(files, kPath, kOld);
    EXPECT_EQ(files.AfterPowerCut(), (std::map<std::string, std::string>{{kPath, kOld}}));
    ReplaceFileContents(files, kPath, kNew);
    EXPECT_EQ(files.AfterPowerCut(), (std::map<std::string, std::string>{{kPath, kNew}}));
}

} // namespace
} // namespace norvale::testing
