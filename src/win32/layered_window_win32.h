#pragma once

#include "core/platform/layered_window.h"
#include "win32/win32_common.h"

#include <cstdint>
#include <memory>
#include <type_traits>

namespace norvale::win32 {

namespace layered_detail {
struct ScreenDcReleaser {
    void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
// Selects the DC's original bitmap back in before deleting the section.
struct SectionDeleter {
    HDC Dc = nullptr;
    HGDIOBJ Original = nullptr;
    void operator()(HBITMAP section) const {
        SelectObject(Dc, Original);
        DeleteObject(section);
    }
};
} // namespace layered_detail

// Presents frames on a real layered window (WS_EX_LAYERED) through one 32-bit top-down DIB
// section selected into a memory device context, both kept and reused while the frame size
// stays the same.
class Win32LayeredWindow final : public LayeredWindow {
public:
    explicit Win32LayeredWindow(HWND window);

    std::optional<std::string> Present(const PresentRequest& request) override;

    // The section frames are copied into; a new one is made only when the size changes.
    HBITMAP Section() const { return FSection.get(); }
    // How many frames reached the screen so far.
    std::uint64_t PresentedFrames() const { return FPresented; }

private:
    std::optional<std::string> MakeSection(int width, int height);

    HWND FWindow;
    // Destroyed bottom up: the section before its DC, that DC before the screen's.
    std::unique_ptr<std::remove_pointer_t<HDC>, layered_detail::ScreenDcReleaser> FScreenDC;
    std::unique_ptr<std::remove_pointer_t<HDC>, layered_detail::DcDeleter> FMemoryDC;
    std::unique_ptr<std::remove_pointer_t<HBITMAP>, layered_detail::SectionDeleter> FSection;
    Pixel32* FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    std::uint64_t FPresented = 0;
};

} // namespace norvale::win32
