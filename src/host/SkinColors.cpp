// Reading the skin colours and replacing the ones the skin does not set.
#include "host/SkinColors.h"

#include <cmath>

#include "host/HostApi.h"

namespace {

constexpr COLORREF kReplacements[18] = {
    0x000000, 0x00FF00, 0x3C2424, 0x423839, 0xFFFFFF, 0xA59484, 0xC60000, 0x784848, 0xFFFFFF,
    0xB46C6C, 0x3C2424, 0x1E1212, 0x3C2424, 0x3C2424, 0x3C2424, 0x968279, 0x6E584E, 0x3C2424,
};
// A skin marks an unset colour with this value or with the reference pixel's colour.
constexpr COLORREF kUnsetMarker = 0xFFC600;
constexpr int kReferenceX = 111;
constexpr int kFirstX = 48;

COLORREF HalfOf(COLORREF c) { return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2); }

// Below this ratio a text is hard to read for many eyes; a skin may choose fainter rows itself.
constexpr double kReadableContrast = 3.0;
// Where a text colour is chosen for readability: the list's, static texts', the header's and
// the buttons' text colours, then the list's and the dialog's backgrounds, which skins make to
// stand apart from their texts.
constexpr int kReadableCandidates[] = {1, 4, 8, 3, 0, 2};

double Linear(int channel) {
    double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(COLORREF c) {
    return 0.2126 * Linear(GetRValue(c)) + 0.7152 * Linear(GetGValue(c)) + 0.0722 * Linear(GetBValue(c));
}

}  // namespace

COLORREF HalfSum(COLORREF first, COLORREF second) { return HalfOf(first) + HalfOf(second); }

double ContrastRatio(COLORREF first, COLORREF second) {
    double a = Luminance(first), b = Luminance(second);
    return (std::fmax(a, b) + 0.05) / (std::fmin(a, b) + 0.05);
}

bool SkinColors::Read(HWND host) {
    auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(host, kHostMessage, 0, kHostSkinColorBitmap));
    if (!bitmap) return false;
    return ReadFrom(UniqueBitmap(bitmap));
}

bool SkinColors::ReadFrom(UniqueBitmap bitmap) {
    bitmap_ = std::move(bitmap);
    if (!bitmap_) return false;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    SelectGuard select(dc.get(), bitmap_.get());
    COLORREF reference = GetPixel(dc.get(), kReferenceX, 0);
    std::array<COLORREF, kCount> read{};
    std::array<bool, kCount> missing{};
    for (int i = 0; i < kCount; ++i) {
        read[i] = GetPixel(dc.get(), kFirstX + 2 * i, 0);
        missing[i] = read[i] == CLR_INVALID || read[i] == kUnsetMarker || read[i] == reference;
    }
    // Entries 18-21 are made from other entries, so those are settled first.
    for (int i = 0; i < 18; ++i) colors_[i] = missing[i] ? kReplacements[i] : read[i];
    colors_[18] = missing[18] ? colors_[4] : read[18];
    colors_[19] = missing[19] ? colors_[6] : read[19];
    colors_[20] = missing[20] ? colors_[4] : read[20];
    colors_[21] = missing[21] ? HalfSum(colors_[2], colors_[6]) : read[21];
    return true;
}

COLORREF SkinColors::Get(int index) const {
    return index >= 0 && index < kCount ? colors_[static_cast<size_t>(index)] : 0;
}

double SkinColors::ReadableContrast() const {
    return std::fmin(kReadableContrast, ContrastRatio(Get(kText), Get(kBackground)));
}

COLORREF SkinColors::ReadableOn(COLORREF background, COLORREF preferred) const {
    // A hair below, so that a colour is never refused against its own ratio: x87 registers
    // keep more precision than the stored value, and the two would differ in the last bit.
    const double needed = ReadableContrast() - 1e-9;
    if (ContrastRatio(preferred, background) >= needed) return preferred;
    for (int index : kReadableCandidates)
        if (ContrastRatio(Get(index), background) >= needed) return Get(index);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}
