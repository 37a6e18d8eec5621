#include "win32/layered_window_win32.h"

#include "win32/system_error_text.h"

#include <cstring>

namespace norvale::win32 {

Win32LayeredWindow::Win32LayeredWindow(HWND window)
    : FWindow(window), FScreenDC(GetDC(nullptr)), FMemoryDC(CreateCompatibleDC(FScreenDC.get())) {}

std::optional<std::string> Win32LayeredWindow::MakeSection(int width, int height) {
    FSection.reset();
    FBits = nullptr;
    FWidth = FHeight = 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first, as the frames are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP section =
        CreateDIBSection(FScreenDC.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section || !bits) {
        return SystemErrorText(GetLastError());
    }
    const HGDIOBJ original = SelectObject(FMemoryDC.get(), section);
    FSection = {section, layered_detail::SectionDeleter{FMemoryDC.get(), original}};
    FBits = static_cast<Pixel32*>(bits);
    FWidth = width;
    FHeight = height;
    return std::nullopt;
}

// NOTE: the only call of UpdateLayeredWindow in the program; it moves, sizes and paints
// the window in one go.
std::optional<std::string> Win32LayeredWindow::Present(const PresentRequest& request) {
    const Bitmap32& frame = *request.Bitmap;
    if (frame.Width() != request.Size.cx || frame.Height() != request.Size.cy ||
        frame.Width() <= 0 || frame.Height() <= 0) {
        return "The frame does not match the window's size.";
    }
    if (!FMemoryDC) {
        return SystemErrorText(GetLastError());
    }
    if (!FSection || FWidth != frame.Width() || FHeight != frame.Height()) {
        if (auto failure = MakeSection(frame.Width(), frame.Height())) {
            return failure;
        }
    }
    GdiFlush(); // GDI may still be writing the section
    std::memcpy(FBits, frame.Bits(),
                static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight) *
                    sizeof(Pixel32));
    ::POINT position{request.Position.x, request.Position.y};
    ::SIZE size{request.Size.cx, request.Size.cy};
    ::POINT sourceOrigin{0, 0};
    ::BLENDFUNCTION blend{AC_SRC_OVER, 0, request.ConstantAlpha, AC_SRC_ALPHA};
    if (!UpdateLayeredWindow(FWindow, FScreenDC.get(), &position, &size, FMemoryDC.get(),
                             &sourceOrigin, 0, &blend, ULW_ALPHA)) {
        return SystemErrorText(GetLastError());
    }
    ++FPresented;
    return std::nullopt;
}

} // namespace norvale::win32
