#pragma once

#include "core/platform/layered_window.h"

#include <optional>
#include <string>
#include <vector>

namespace norvale::testing {

// A window that keeps a copy of everything presented to it, and fails when told to.
class FakeLayeredWindow final : public LayeredWindow {
public:
    struct Shown {
        Bitmap32 Picture;
        POINT Position;
        SIZE Size;
        std::uint8_t ConstantAlpha = 0;
    };

    std::optional<std::string> Present(const PresentRequest& request) override {
        Presents.push_back(
            {*request.Bitmap, request.Position, request.Size, request.ConstantAlpha});
        return Failure;
    }

    std::vector<Shown> Presents;
    std::optional<std::string> Failure;
};

} // namespace norvale::testing
