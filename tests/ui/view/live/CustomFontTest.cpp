// The custom font the preferences set shows in the list and the tree as the user chose it,
// bold and italic included, whichever of the two font codes comes first.
#include <gtest/gtest.h>

#include "livehost/LivePlugin.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

class LiveCustomFontTest : public LivePluginTest {};

LOGFONTW FontOf(HWND control) {
    LOGFONTW description = {};
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (font) GetObjectW(font, sizeof description, &description);
    return description;
}

// Made with new, as the preferences hand it over: the view owns it from then on.
LPARAM BoldItalicArial() {
    auto* description = new LOGFONTW{};
    description->lfHeight = -17;
    description->lfWeight = FW_BOLD;
    description->lfItalic = TRUE;
    lstrcpyW(description->lfFaceName, L"Arial");
    return reinterpret_cast<LPARAM>(description);
}

TEST_F(LiveCustomFontTest, KeepsTheChosenWeightAndSlant) {
    CreateDirectoryW(Library().c_str(), nullptr);
    StoreFolderRoot(Library());
    StartPlugin();
    // Chosen while the custom font is off, then switched on; then chosen again while on.
    Command(kCmdSetFont, BoldItalicArial());
    Command(kOptSetUseCustomFont, 1);
    for (int round = 0; round < 2; ++round) {
        for (HWND control : {List(), Tree()}) {
            LOGFONTW shown = FontOf(control);
            EXPECT_GE(shown.lfWeight, FW_BOLD) << "round " << round;
            EXPECT_TRUE(shown.lfItalic) << "round " << round;
            EXPECT_EQ(shown.lfHeight, -17) << "round " << round;
        }
        Command(kCmdSetFont, BoldItalicArial());
    }
    EXPECT_EQ(Command(kCmdGetFont, 1), -17);
    // Off again: the list and the tree go back to the plain GUI font.
    Command(kOptSetUseCustomFont, 0);
    EXPECT_FALSE(FontOf(List()).lfItalic);
}

}  // namespace
