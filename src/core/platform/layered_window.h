#pragma once

#include "core/platform/bitmap32.h"
#include "core/platform/geometry.h"

#include <cstdint>
#include <optional>
#include <string>

namespace norvale {

// One update of a layered window: the finished premultiplied bitmap becomes the whole window,
// whose top-left corner goes to Position and whose size becomes Size (the bitmap's own size),
// with ConstantAlpha applied on top of every pixel's own alpha.
struct PresentRequest {
    const Bitmap32* Bitmap = nullptr;
    POINT Position;
    SIZE Size;
    std::uint8_t ConstantAlpha = 255;
};

// A top-level window whose position, size, per-pixel premultiplied alpha and constant alpha
// are set in one call from a 32-bit image.
class LayeredWindow {
public:
    virtual ~LayeredWindow() = default;

    // Shows the request; nothing when shown, else the platform's message for the failure.
    virtual std::optional<std::string> Present(const PresentRequest& request) = 0;
};

} // namespace norvale
