#pragma once

#include "core/platform/registry.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace norvale::testing {

// One registry implementation under test, with a scratch key the suite may fill and that
// RemoveScratch deletes with everything below it.
struct RegistryContractTarget {
    std::string Name;
    std::function<std::unique_ptr<Registry>()> Make;
    RegistryRoot Root = RegistryRoot::CurrentUser;
    std::string ScratchPath;
    // Writes a value of any type below the scratch key (texts as UTF-8), bypassing the port.
    std::function<void(Registry&, const std::string& path, const std::string& name,
                       RegistryValueType type, const std::string& data)>
        Plant;
    std::function<void(Registry&)> RemoveScratch;
};

// Names the target in test output; printed as raw bytes, its padding would be read unset.
inline void PrintTo(const RegistryContractTarget& target, std::ostream* out) {
    *out << target.Name;
}

// The behaviour every Registry must show; instantiated once per implementation with
// INSTANTIATE_TEST_SUITE_P(Name, RegistryContract, ::testing::Values(target)).
class RegistryContract : public ::testing::TestWithParam<RegistryContractTarget> {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<RegistryKey> Open(const std::string& subpath, bool create,
                                      RegistryAccess access = RegistryAccess::Full);
    std::string Path(const std::string& subpath) const;

    std::unique_ptr<Registry> registry;
};

std::string RegistryContractName(const ::testing::TestParamInfo<RegistryContractTarget>& info);

} // namespace norvale::testing
