// The capture bitmap of screenshots and pixel checks.
#include "HostCapture.h"

#include "ui/view/WindowDc.h"

CaptureBitmap::CaptureBitmap(HDC source, int width, int height) : dc_(CreateCompatibleDC(source)) {
    if (!dc_ || width <= 0 || height <= 0) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = UniqueBitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) return;
    bits_ = static_cast<DWORD*>(bits);
    original_ = SelectObject(dc_.get(), bitmap_.get());
}

// The bitmap goes back out of the device first: a selected bitmap cannot be deleted.
CaptureBitmap::~CaptureBitmap() {
    if (original_) SelectObject(dc_.get(), original_);
}

const DWORD* CaptureBitmap::Pixels() const {
    GdiFlush();
    return bits_;
}

bool ReadScreen(const RECT& area, std::vector<DWORD>& pixels) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    WindowDc screen(nullptr);
    if (!screen) return false;
    CaptureBitmap capture(screen.get(), width, height);
    if (!capture || !BitBlt(capture.Dc(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY))
        return false;
    const DWORD* first = capture.Pixels();
    pixels.assign(first, first + static_cast<size_t>(width) * height);
    return true;
}
