// The capture bitmap of screenshots and pixel checks.
#include "HostCapture.h"

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
