// The skin in the live view: its Clear button is owner-drawn, its controls take the skin's
// colours and a skin change shows at once; repaints and skin changes leave no GDI or window
// objects behind.
#include <gtest/gtest.h>

#include <windows.h>

#include "SkinCanvas.h"
#include "base/GuiObjects.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "livehost/LivePlugin.h"
#include "ui/view/WindowDc.h"

namespace {

constexpr COLORREF kSecondSkinField = RGB(20, 60, 100);

class LiveSkinTest : public LivePluginTest {
protected:
    // Starts the view over one file with a player whose skin alternates between two at each
    // request, and shows it.
    void StartSkinned() {
        Fake().skinBitmap = [this] {
            return MakeTestSkin(skinsHanded++ % 2 ? kSecondSkinField : kTestControlBackground).Release();
        };
        AddLibraryFile(L"a.mp3");
        StoreFolderRoot(Library());
        StartPlugin();
        SendMessageW(GetWindow(kFrameWindowId), kCommandMessage, kCmdShowFrame, 0);
        Pump();
    }
    void ChangeSkin() {
        SendMessageW(View(), WM_DISPLAYCHANGE, 32, 0);
        Repaint();
    }
    void Repaint() {
        RedrawWindow(View(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    // The background the view gives the search box, as the box asks before it paints.
    COLORREF SearchBoxBackground() {
        WindowDc dc(Search());
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(View(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(Search())));
        LOGBRUSH description = {};
        return brush && GetObjectW(brush, sizeof(description), &description) ? description.lbColor : CLR_INVALID;
    }

    int skinsHanded = 0;
};

TEST_F(LiveSkinTest, TheControlsTakeTheSkinAndItsChangesAtOnce) {
    StartSkinned();
    HWND clear = GetDlgItem(View(), kClearButton);
    EXPECT_EQ(GetWindowLongW(clear, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(SearchBoxBackground(), kTestControlBackground);
    ChangeSkin();
    EXPECT_EQ(SearchBoxBackground(), kSecondSkinField);
    ChangeSkin();
    EXPECT_EQ(SearchBoxBackground(), kTestControlBackground);
    CloseAndQuit();
}

TEST_F(LiveSkinTest, RepaintsAndSkinChangesLeaveNothingBehind) {
    StartSkinned();
    ASSERT_TRUE(IsWindowVisible(GetDlgItem(View(), kClearButton))) << "the button paints only when shown";
    // The first round fills the system's own caches (cached device contexts, fonts).
    Repaint();
    ChangeSkin();
    Pump();
    GuiObjectCounts before = CountGuiObjects();
    std::vector<HGDIOBJ> live = LiveGdiObjects();
    for (int i = 0; i < 1000; ++i) Repaint();
    int requests = Fake().skinRequests;
    for (int i = 0; i < 100; ++i) ChangeSkin();
    Pump();
    EXPECT_EQ(Fake().skinRequests, requests + 100) << "each change reads the skin again";
    EXPECT_EQ(CountGuiObjects().user, before.user);
    // The window manager keeps a few update regions of its own as windows repaint; a region
    // lost at each paint or each change would count in hundreds.
    for (auto [type, count] : NewGdiObjectTypes(live, LiveGdiObjects()))
        if (type != OBJ_REGION || count >= 10) ADD_FAILURE() << count << " GDI object(s) of type " << type << " left behind";
    CloseAndQuit();
}

}  // namespace
