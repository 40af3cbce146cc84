// Window objects on real windows: which messages reach handlers, what passes on to the
// window's own procedure, binding and unbinding, and the registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "ui/framework/WindowObject.h"

namespace {

constexpr UINT kProbe = WM_APP + 5;
std::vector<UINT> originalSaw;

LRESULT CALLBACK OriginalProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kProbe || message == WM_COMMAND || message == WM_NOTIFY || message == WM_GETDLGCODE ||
        message == kCommandMessage) {
        originalSaw.push_back(message);
        return 77;
    }
    return DefWindowProcW(window, message, wp, lp);
}

HWND MakeWindow() {
    static bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &OriginalProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CvFrameworkTest";
        return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowW(L"CvFrameworkTest", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

class Probe : public WindowObject {
public:
    explicit Probe(HWND window) : WindowObject(window) {}
    LRESULT OnCommand(HWND, UINT, WPARAM wp, LPARAM) override { return wp == 1 ? 0 : 1; }
    LRESULT OnCommandMessage(HWND, UINT, WPARAM wp, LPARAM) override { return static_cast<LRESULT>(wp) * 2; }
    LRESULT OnNotify(HWND, UINT, WPARAM wp, LPARAM) override { return static_cast<LRESULT>(wp); }
    int closes = 0;
};

class WindowObjectTest : public testing::Test {
protected:
    void SetUp() override {
        originalSaw.clear();
        window = MakeWindow();
        probe = Ref<Probe>::Adopt(new Probe(window));
    }
    void TearDown() override {
        probe->Unbind();
        probe.Reset();
        DestroyWindow(window);
    }
    HWND window = nullptr;
    Ref<Probe> probe;
};

TEST_F(WindowObjectTest, UnroutedMessagesBehaveAsBeforeBinding) {
    EXPECT_EQ(SendMessageW(window, kProbe, 0, 0), 77);
    SetWindowTextW(window, L"still works");
    wchar_t text[32] = {};
    GetWindowTextW(window, text, 32);
    EXPECT_STREQ(text, L"still works");
    EXPECT_EQ(originalSaw, std::vector<UINT>{kProbe});
}

TEST_F(WindowObjectTest, AnswersThatItWantsAllKeysWithoutThePreviousProcedure) {
    EXPECT_EQ(SendMessageW(window, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
    EXPECT_TRUE(originalSaw.empty());
}

TEST_F(WindowObjectTest, HandlerResultDecidesWhetherTheMessagePassesOn) {
    EXPECT_EQ(SendMessageW(window, WM_COMMAND, 1, 0), 0);  // consumed
    EXPECT_TRUE(originalSaw.empty());
    EXPECT_EQ(SendMessageW(window, WM_COMMAND, 2, 0), 77);  // passed on
    EXPECT_EQ(originalSaw, std::vector<UINT>{WM_COMMAND});
}

TEST_F(WindowObjectTest, CommandMessageAnswersWithTheHandlersResultOnly) {
    EXPECT_EQ(SendMessageW(window, kCommandMessage, 21, 0), 42);
    EXPECT_EQ(SendMessageW(window, kCommandMessage, 0, 0), 0);
    EXPECT_TRUE(originalSaw.empty());
}

TEST_F(WindowObjectTest, ListHeaderChangeIsRefusedOnlyWhenTheHandlerVetoes) {
    RegisterWindow(kListWindowId, window);
    NMHDR header = {window, 0, static_cast<UINT>(HDN_ITEMCHANGINGW)};
    EXPECT_EQ(SendMessageW(window, WM_NOTIFY, 6666, reinterpret_cast<LPARAM>(&header)), 1);
    EXPECT_TRUE(originalSaw.empty());
    EXPECT_EQ(SendMessageW(window, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header)), 77);
    NMHDR draw = {window, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
    EXPECT_EQ(SendMessageW(window, WM_NOTIFY, 0x20, reinterpret_cast<LPARAM>(&draw)), 0x20);
    RegisterWindow(kListWindowId, nullptr);
}

TEST_F(WindowObjectTest, CloseUnbindsAndPutsTheProcedureBack) {
    EXPECT_EQ(WindowObjectOf(window), probe.get());
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window)) << "the default close handler consumes the message";
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OriginalProc));
    EXPECT_EQ(WindowObjectOf(window), nullptr);
    EXPECT_EQ(SendMessageW(window, WM_GETDLGCODE, 0, 0), 77);
}

// Another plugin's subclassing, done as such plugins do it: it keeps the procedure it found,
// forwards every message to it, and puts it back when it quits.
WNDPROC laterFound = nullptr;
int laterCalls = 0;

LRESULT CALLBACK LaterHook(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    ++laterCalls;
    return CallWindowProcW(laterFound, window, message, wp, lp);
}

// Letting go of a window someone hooked after us must neither cut their hook out nor leave
// what they kept leading to us: when they call it, or put it back as they quit, the window
// must reach its own procedure. Our module may be gone by then.
TEST_F(WindowObjectTest, LettingGoLeavesALaterHookWorkingAndLeadsWhatItKeptToTheOriginal) {
    laterFound = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterHook)));
    probe->Unbind();
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&LaterHook))
        << "the later hook is still the window's procedure";
    laterCalls = 0;
    EXPECT_EQ(SendMessageW(window, WM_COMMAND, 1, 0), 77) << "our handler no longer takes the command";
    EXPECT_EQ(laterCalls, 1);
    EXPECT_EQ(CallWindowProcW(laterFound, window, WM_GETDLGCODE, 0, 0), 77)
        << "what the later hook kept leads to the window's own procedure";

    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(laterFound));
    originalSaw.clear();
    EXPECT_EQ(SendMessageW(window, WM_GETDLGCODE, 0, 0), 77);
    EXPECT_EQ(SendMessageW(window, kCommandMessage, 21, 0), 77);
    EXPECT_EQ(originalSaw, (std::vector<UINT>{WM_GETDLGCODE, kCommandMessage}));

    // The same when our object goes without unbinding, as the host window's object may.
    HWND other = MakeWindow();
    auto* dropped = new Probe(other);
    laterFound = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(other, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterHook)));
    dropped->Release();
    EXPECT_EQ(SendMessageW(other, WM_GETDLGCODE, 0, 0), 77);
    SetWindowLongPtrW(other, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(laterFound));
    EXPECT_EQ(SendMessageW(other, WM_COMMAND, 1, 0), 77);
    DestroyWindow(other);
}

TEST_F(WindowObjectTest, WindowWithoutAnObjectGetsOneFromTheSharedProcedure) {
    RemovePropW(window, WindowObject::kProperty);
    EXPECT_EQ(SendMessageW(window, kProbe, 0, 0), 1);
    SetPropW(window, WindowObject::kProperty, probe.get());
}

TEST(WindowRegistryTest, UnknownIdsHaveNoWindow) {
    EXPECT_EQ(GetWindow(5000), nullptr);
    RegisterWindow(5000, reinterpret_cast<HWND>(1));
    EXPECT_EQ(GetWindow(5000), nullptr);
    RegisterWindow(kFrameWindowId, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(GetWindow(kFrameWindowId), reinterpret_cast<HWND>(0x1234));
    RegisterWindow(kFrameWindowId, nullptr);
}

}  // namespace
