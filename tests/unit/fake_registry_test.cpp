#include "contract/registry_contract.h"
#include "support/fake_registry.h"

namespace norvale::testing {
namespace {

RegistryContractTarget FakeTarget() {
    RegistryContractTarget target;
    target.Name = "Fake";
    target.Make = [] { return std::make_unique<FakeRegistry>(); };
    target.ScratchPath = "Software\\Brannick\\ContractTest";
    target.Plant = [](Registry& registry, const std::string& path, const std::string& name,
                      RegistryValueType type, const std::string& data) {
        static_cast<FakeRegistry&>(registry).SetValue(RegistryRoot::CurrentUser, path, name, type,
                                                      data);
    };
    // Each test gets a new, empty fake.
    target.RemoveScratch = [](Registry&) {};
    return target;
}

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract, ::testing::Values(FakeTarget()),
                         RegistryContractName);

} // namespace
} // namespace norvale::testing
