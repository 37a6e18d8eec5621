#pragma once

#include "core/platform/random_source.h"

namespace norvale::testing {

// Hands out Next, then Next + Step, and so on: predictable, and different for every request.
class FakeRandomSource final : public RandomSource {
public:
    std::uint32_t Random32() override {
        const std::uint32_t value = Next;
        Next += Step;
        return value;
    }

    std::uint32_t Next = 0;
    std::uint32_t Step = 0;
};

} // namespace norvale::testing
