#pragma once

#include "core/clock/clock_window.h"
#include "support/fake_clock_window_host.h"

namespace norvale::testing {

inline POINT ButtonCentre(const TSknButton& b) {
    return {b.Left + b.Width / 2, b.Top + b.Height / 2};
}

// A press and release at a point of the face, as a person clicks.
inline void ClickAt(TfrmMain& window, FakeClockWindowHost& host, POINT p,
                    TMouseButton button = TMouseButton::mbLeft) {
    window.FormMouseDown(button, p.x, p.y);
    host.Cursor = p;
    window.FormMouseUp();
}

} // namespace norvale::testing
