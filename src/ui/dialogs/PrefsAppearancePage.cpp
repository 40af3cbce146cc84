// The Appearance page: how strongly every other row is shaded, and the custom font of the
// list and the tree, both shown by the view as soon as they change.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "StringIds.h"
#include "base/Text.h"
#include "base/TextObject.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "ui/dialogs/PrefsPageControls.h"
#include "ui/dialogs/PrefsPages.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

enum AppearanceControl : int {
    kDisplayGroup = 1042,
    kShadeLabel = 1044,
    kBlendBlack = 1059,
    kShadeSlider = 1043,
    kBlendWhite = 1058,
    kShadeValue = 1057,
    kFontGroup = 1062,
    kUseCustomFont = 1015,
    kFontNameLabel = 1054,
    kFontNames = 1052,
    kFontSizeLabel = 1053,
    kFontSizes = 1055,
};

constexpr int kMostShade = 200;
constexpr int kPointsPerInch = 72;
const int kFontSizePoints[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

const Caption kCaptions[] = {
    {kDisplayGroup, kStrPrefsDisplayGroup}, {kShadeLabel, kStrPrefsStripeShade},
    {kBlendBlack, kStrPrefsBlendBlack},     {kBlendWhite, kStrPrefsBlendWhite},
    {kFontGroup, kStrPrefsCustomFontGroup}, {kFontNameLabel, kStrPrefsFontName},
    {kFontSizeLabel, kStrPrefsFontSize},
};

const OptionCheck kChecks[] = {
    {kUseCustomFont, kStrPrefsUseCustomFont, kOptGetUseCustomFont, CheckWhen::kNonZero, kOptSetUseCustomFont},
};

class ScreenDc {
    HDC dc_;
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }
    int DotsPerInch() const { return GetDeviceCaps(dc_, LOGPIXELSY); }
};

void OnShadeMoved(HWND page) {
    int shade = static_cast<int>(SendDlgItemMessageW(page, kShadeSlider, TBM_GETPOS, 0, 0));
    SetDlgItemTextW(page, kShadeValue, FormatWithInt(L"%d%%", shade).c_str());
    SetViewOption(kOptSetStripeShade, shade);
}

void InitShade(HWND page) {
    HWND slider = GetDlgItem(page, kShadeSlider);
    SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, kMostShade));
    SendMessageW(slider, TBM_SETPOS, TRUE, GetViewOption(kOptGetStripeShade));
    int shade = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    SetDlgItemTextW(page, kShadeValue, FormatWithInt(L"%d%%", shade).c_str());
}

// Each TrueType family once, whatever character sets it comes in.
int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM list) {
    if (type & TRUETYPE_FONTTYPE) AddStringOnce(reinterpret_cast<HWND>(list), font->lfFaceName);
    return 1;
}

void EnableFontLists(HWND page, bool enabled) {
    EnableControl(page, kFontNames, enabled);
    EnableControl(page, kFontSizes, enabled);
}

void InitFonts(HWND page) {
    HWND names = GetDlgItem(page, kFontNames);
    ScreenDc screen;
    LOGFONTW all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(screen.get(), &all, &AddFamily, reinterpret_cast<LPARAM>(names), 0);
    HWND sizes = GetDlgItem(page, kFontSizes);
    for (int points : kFontSizePoints) SendMessageW(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FormatInt(points).c_str()));

    Ref<TextObject> face = AdoptText(GetViewOption(kCmdGetFont, 0));
    if (face) SendMessageW(names, CB_SETCURSEL, SendMessageW(names, CB_FINDSTRING, -1, reinterpret_cast<LPARAM>(face->text.c_str())), 0);
    // Rounded, not raised: the height was made from the size with MulDiv, and 14 points at
    // 96 dots per inch come back as 14.25, which raised would select no size at all.
    int height = static_cast<int>(GetViewOption(kCmdGetFont, 1));
    int points = MulDiv(height < 0 ? -height : height, kPointsPerInch, screen.DotsPerInch());
    SendMessageW(sizes, CB_SETCURSEL, SendMessageW(sizes, CB_FINDSTRING, -1, reinterpret_cast<LPARAM>(FormatInt(points).c_str())), 0);
    EnableFontLists(page, IsChecked(page, kUseCustomFont));
}

std::wstring SelectedText(HWND list) {
    int item = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
    if (item < 0) return {};
    int length = static_cast<int>(SendMessageW(list, CB_GETLBTEXTLEN, item, 0));
    std::wstring text(std::max(length, 0) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

// The view takes the record over; it is sent so the list repaints before the user looks again.
void OnFontChosen(HWND page) {
    std::wstring face = SelectedText(GetDlgItem(page, kFontNames));
    int points = _wtoi(SelectedText(GetDlgItem(page, kFontSizes)).c_str());
    auto font = std::make_unique<LOGFONTW>();
    lstrcpynW(font->lfFaceName, face.c_str(), LF_FACESIZE);
    font->lfHeight = MulDiv(points, ScreenDc().DotsPerInch(), kPointsPerInch);
    HWND view = GetWindow(kMainViewWindowId);
    if (!view) return;
    SendMessageW(view, kCommandMessage, kCmdSetFont, reinterpret_cast<LPARAM>(font.release()));
}

BOOL OnInitDialog(HWND page) {
    PlaceInTab(page);
    SetCaptions(page, kCaptions, CountOf(kCaptions));
    InitChecks(page, kChecks, CountOf(kChecks));
    InitShade(page);
    InitFonts(page);
    return TRUE;
}

INT_PTR OnCommand(HWND page, int code, int id) {
    if ((id == kFontNames || id == kFontSizes) && code == CBN_SELCHANGE) OnFontChosen(page);
    if (code == BN_CLICKED && OnCheckClicked(page, id, kChecks, CountOf(kChecks)))
        EnableFontLists(page, IsChecked(page, kUseCustomFont));
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK AppearancePageProc(HWND page, UINT message, WPARAM wp, LPARAM lp) {
    try {
        switch (message) {
            case WM_INITDIALOG: return OnInitDialog(page);
            case WM_COMMAND: return OnCommand(page, HIWORD(wp), LOWORD(wp));
            case WM_HSCROLL:
                if (reinterpret_cast<HWND>(lp) == GetDlgItem(page, kShadeSlider)) OnShadeMoved(page);
                return TRUE;
        }
    } catch (...) {
    }
    return FALSE;
}
