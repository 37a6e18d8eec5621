#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace norvale::testing {

// A folder of its own under the system's temporary folder, named after the running test with
// a random part, and removed with everything in it when the test ends.
class TempFolder {
public:
    TempFolder() {
        // A parameterized test's name ends in "/" and the parameter's name.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        // NOTE: other checkouts on the machine run the same tests at the same time; a random
        // part keeps their folders apart.
        const unsigned long long unique = std::random_device{}();
        FPath = std::filesystem::temp_directory_path() /
                ("norvale-" + name + "-" + std::to_string(unique));
        std::filesystem::remove_all(FPath);
        std::filesystem::create_directories(FPath);
    }
    ~TempFolder() {
        std::error_code ignored; // a file the platform still holds open stays behind
        std::filesystem::remove_all(FPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }

    // Writes the bytes to the file at `name` below the folder, making its folders first.
    std::filesystem::path Write(const std::filesystem::path& name, std::string_view bytes) const {
        const std::filesystem::path file = FPath / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

private:
    std::filesystem::path FPath;
};

} // namespace norvale::testing
