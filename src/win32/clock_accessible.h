#pragma once

#include "core/clock/face_reading.h"
#include "win32/win32_common.h"

#include <functional>

namespace norvale::win32 {

class ClockAccessible;

// What a screen reader finds in the clock window: the system's accessible object for the
// window, with the role of a clock and, as its name and value, what the face shows now.
// The window passes its WM_GETOBJECT here; the object goes dark when this ends, even while a
// reader still holds it.
class ClockAccessibility {
public:
    using Reader = std::function<TFaceReading()>;

    ClockAccessibility(HWND window, Reader reader);
    ~ClockAccessibility();
    ClockAccessibility(const ClockAccessibility&) = delete;
    ClockAccessibility& operator=(const ClockAccessibility&) = delete;

    // The answer to WM_GETOBJECT; nothing is answered (0) for objects other than the window's
    // client area, which the default handling then gives.
    LRESULT Answer(WPARAM wParam, LPARAM lParam);
    // Tells readers following the window that its name and value changed.
    void Changed() const;

private:
    HWND FWindow;
    Reader FReader;
    bool FComInitialised = false;
    ClockAccessible* FObject = nullptr;
};

} // namespace norvale::win32
