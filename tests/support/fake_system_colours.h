#pragma once

#include "core/platform/system_colours.h"

#include <map>

namespace norvale::testing {

// System colours as a test sets them; an index it has not set reads as black.
class FakeSystemColours final : public SystemColours {
public:
    std::uint32_t SystemColour(int index) const override {
        const auto found = Colours.find(index);
        return found == Colours.end() ? 0 : found->second;
    }

    std::map<int, std::uint32_t> Colours;
};

} // namespace norvale::testing
