// The plugin's start-up, frame, menu entry, toggles and shutdown against a stand-in host window
// in this process, with window and GDI object counts compared around the whole life.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <map>
#include <thread>

#include "base/Path.h"
#include "base/TextObject.h"
#include "host/HostApi.h"
#include "host/PluginRecord.h"
#include "settings/PluginContext.h"
#include "support/BuildFiles.h"
#include "base/GuiObjects.h"
#include "support/TempFolder.h"
#include "ui/dialogs/QueryDialogResult.h"
#include "ui/framework/Messages.h"
#include "ui/framework/WindowRegistry.h"

namespace {

struct FakeHost {
    HWND editor = nullptr;
    LRESULT version = 0x5036;
    UINT nextCommandId = 41000;
    HMENU mainMenu = nullptr;
    HMENU secondMenu = nullptr;
    std::vector<HWND> frames;
    EmbedRecord* embed = nullptr;
    PrefsPageRecord* prefsPage = nullptr;
    int closes = 0;
} fake;
std::wstring boxText;

LRESULT CALLBACK FakeFrameProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_WINDOWPOSCHANGED && fake.embed) GetWindowRect(window, &fake.embed->rect);
    return DefWindowProcW(window, message, wp, lp);
}

LRESULT Request(LPARAM id, WPARAM wp) {
    switch (id) {
        case kHostGetVersion: return fake.version;
        case kHostNewCommandId: return fake.nextCommandId++;
        case kHostGetMenu: return reinterpret_cast<LRESULT>(wp == 0 ? fake.mainMenu : fake.secondMenu);
        case kHostGetWindow: return reinterpret_cast<LRESULT>(wp == 1 ? fake.editor : nullptr);
        case kHostCreateFrame: {
            fake.embed = reinterpret_cast<EmbedRecord*>(wp);
            RECT r = fake.embed->rect;
            HWND frame = CreateWindowW(L"CvFakeFrame", L"", WS_OVERLAPPEDWINDOW, r.left, r.top, r.right - r.left,
                                       r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            fake.frames.push_back(frame);
            fake.embed->frame = frame;
            return reinterpret_cast<LRESULT>(frame);
        }
        case kHostRegisterPrefsPage: fake.prefsPage = reinterpret_cast<PrefsPageRecord*>(wp); return 1;
        default: return 0;
    }
}

LRESULT CALLBACK FakeHostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kHostMessage) return Request(lp, wp);
    if (message == WM_CLOSE) {
        ++fake.closes;
        return 0;  // the host decides itself when to go; the test ends it
    }
    return DefWindowProcW(window, message, wp, lp);
}

void RegisterClasses() {
    static bool done = [] {
        WNDCLASSW wc = {};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpfnWndProc = &FakeHostProc;
        wc.lpszClassName = L"CvFakeHost";
        RegisterClassW(&wc);
        wc.lpfnWndProc = &FakeFrameProc;
        wc.lpszClassName = L"CvFakeFrame";
        RegisterClassW(&wc);
        return true;
    }();
    (void)done;
}

struct BoxSearch {
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchOwnBox(HWND window, LPARAM lp) {
    auto& search = *reinterpret_cast<BoxSearch*>(lp);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {}, text[64] = {};
    GetClassNameW(window, className, 16);
    GetWindowTextW(window, text, 64);
    if (process != GetCurrentProcessId() || wcscmp(className, L"#32770") != 0 || wcscmp(text, search.title) != 0)
        return TRUE;
    search.found = window;
    return FALSE;
}

// A message box of this process with the given title. Other test programs may show boxes
// with the same title on the same desktop at the same time; those are not ours to answer.
HWND FindOwnBox(const wchar_t* title) {
    BoxSearch search{title, nullptr};
    EnumWindows(&MatchOwnBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Pump() {
    MSG msg;
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

std::wstring ReadIni(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[64] = {};
    GetPrivateProfileStringW(section, key, L"<none>", value, 64, file.c_str());
    return value;
}

class PluginLifecycleTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterClasses();
        fake = FakeHost();
        fake.mainMenu = CreatePopupMenu();
        AppendMenuW(fake.mainMenu, MF_STRING, kHostMenuAnchorCommand, L"Library");
        AppendMenuW(fake.mainMenu, MF_STRING, 40259, L"Exit");
        fake.secondMenu = CreatePopupMenu();
        AppendMenuW(fake.secondMenu, MF_STRING, 0, L"Zero");
        host = CreateWindowW(L"CvFakeHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
        record = ThePluginRecord();
        record->hostWindow = host;
        record->instance = reinterpret_cast<HINSTANCE>(context.module());
    }
    void TearDown() override {
        for (HWND frame : fake.frames)
            if (IsWindow(frame)) DestroyWindow(frame);
        DestroyWindow(host);
        DestroyMenu(fake.mainMenu);
        DestroyMenu(fake.secondMenu);
    }
    std::wstring SettingsPath() const { return folder.File(L"docs\\Crateview\\gen_cv.ini"); }

    TempFolder folder;
    // Made before Init, so the plugin's own creation of the context keeps these folders.
    ScopedPluginContext context{folder.File(L"docs")};
    HWND host = nullptr;
    PluginRecord* record = nullptr;
};

TEST_F(PluginLifecycleTest, RecordIsWhatTheHostExpects) {
    EXPECT_EQ(record->version, 0x10);
    EXPECT_STREQ(record->description, "Crateview 2.02");
    EXPECT_NE(record->init, nullptr);
    EXPECT_NE(record->config, nullptr);
    EXPECT_NE(record->quit, nullptr);
}

TEST_F(PluginLifecycleTest, StartsTogglesClosesAndLeavesNothingBehind) {
    auto hostProc = GetWindowLongPtrW(host, GWLP_WNDPROC);
    ASSERT_EQ(record->init(), 0);
    EXPECT_EQ(GetPropW(host, L"CV_20"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(record->init(), 1) << "a second copy refuses to start";
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"File types"), L"mp3;");
    record->config();  // before the frame exists: nothing happens

    Pump();  // delivers the start-up command
    HWND frame = GetWindow(kFrameWindowId);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(fake.embed, nullptr);
    EXPECT_EQ(fake.embed->flags, 12);
    EXPECT_EQ(std::memcmp(reinterpret_cast<char*>(fake.embed) + kEmbedGuidOffset, &kFrameGuid, 16), 0);
    EXPECT_EQ(fake.embed->rect.left, 100);
    EXPECT_EQ(fake.embed->rect.bottom, 200);
    ASSERT_NE(fake.prefsPage, nullptr);
    EXPECT_EQ(fake.prefsPage->dialogId, 109);
    EXPECT_STREQ(fake.prefsPage->name, "Crateview");
    wchar_t title[32] = {};
    GetWindowTextW(frame, title, 32);
    EXPECT_STREQ(title, L"Crateview");
    HWND view = GetWindow(kMainViewWindowId);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(GetParent(view), frame);
    for (int id : {1001, 1002, 1003, 1004, 1014, 1019}) EXPECT_NE(GetDlgItem(view, id), nullptr) << id;
    EXPECT_FALSE(IsWindowVisible(frame)) << "hidden until asked, as it was last time";

    // The menu entry, then Alt+D through the host's queued-key notification.
    SendMessageW(host, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(fake.mainMenu), 0);
    UINT entry = GetMenuItemID(fake.mainMenu, 1);  // before the last plain item after the anchor
    EXPECT_EQ(GetMenuItemCount(fake.mainMenu), 3);
    SendMessageW(host, WM_COMMAND, entry, 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(frame));
    MSG key = {frame, WM_SYSKEYDOWN, 'D', 0, 0, {0, 0}};
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&key), kHostQueuedMessage);
    Pump();
    EXPECT_FALSE(IsWindowVisible(frame));
    SendMessageW(host, WM_COMMAND, entry, 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(frame));
    MoveWindow(frame, 30, 40, 500, 300, TRUE);

    // The host closes: the view saves where it was, and the frame's second close goes to the host's frame.
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_GE(fake.closes, 1);
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Visible"), L"1");
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Left"), L"30");
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Bottom"), L"340");
    record->quit();
    EXPECT_EQ(GetPropW(host, L"CV_20"), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(host, GWLP_WNDPROC), hostProc) << "the host's own procedure is back";
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"Sort"), L"1") << "every option is written at shutdown";
    EXPECT_FALSE(IsWindow(frame));
}

// A whole life in a fresh stand-in host: start, show, close, quit, and the host's windows gone.
void LiveOnce(HMODULE module, const std::wstring& documents) {
    PluginContext::CreateWithDocuments(reinterpret_cast<HINSTANCE>(module), documents);
    fake = FakeHost();
    fake.mainMenu = CreatePopupMenu();
    fake.secondMenu = CreatePopupMenu();
    HWND host = CreateWindowW(L"CvFakeHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    PluginRecord* record = ThePluginRecord();
    record->hostWindow = host;
    record->instance = reinterpret_cast<HINSTANCE>(module);
    record->init();
    Pump();
    if (HWND frame = GetWindow(kFrameWindowId)) PostMessageW(frame, WM_USER + 3, 1034, 0);
    Pump();
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
    for (HWND frame : fake.frames)
        if (IsWindow(frame)) DestroyWindow(frame);
    DestroyWindow(host);
    DestroyMenu(fake.mainMenu);
    DestroyMenu(fake.secondMenu);
    Pump();
}

// The first life fills the system's own caches (cached device contexts, shared icons, colour
// brushes); a second one must give back everything it took. Regions are left out: the window
// manager makes and drops update regions of its own as windows come and go, and the plugin
// makes none.
TEST_F(PluginLifecycleTest, ASecondLifeLeavesNothingBehind) {
    TearDown();
    LiveOnce(context.module(), folder.File(L"docs"));
    GuiObjectCounts before = CountGuiObjects();
    std::vector<HGDIOBJ> live = LiveGdiObjects();
    LiveOnce(context.module(), folder.File(L"docs"));
    EXPECT_EQ(CountGuiObjects().user, before.user);
    for (auto [type, count] : NewGdiObjectTypes(live, LiveGdiObjects()))
        if (type != OBJ_REGION) ADD_FAILURE() << count << " GDI object(s) of type " << type << " left behind";
    SetUp();
}

// The host playlist editor's menu gets a "Send to" submenu; with no playlist root it offers one
// greyed item, and it is never added twice.
TEST_F(PluginLifecycleTest, PlaylistEditorMenuGetsSendTo) {
    fake.editor = CreateWindowW(L"CvFakeFrame", L"editor", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_EQ(record->init(), 0);
    Pump();
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kHostPlaylistMenuFirstItem, L"Play");
    for (UINT id = 1; id < 12; ++id) AppendMenuW(menu, MF_STRING, 50000 + id, L"Item");
    for (int opening = 0; opening < 2; ++opening)
        SendMessageW(fake.editor, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_EQ(GetMenuItemCount(menu), 13);
    wchar_t text[64] = {};
    GetMenuStringW(menu, 10, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Send to");
    HMENU sendTo = GetSubMenu(menu, 10);
    ASSERT_NE(sendTo, nullptr);
    ASSERT_EQ(GetMenuItemCount(sendTo), 1);
    GetMenuStringW(sendTo, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"n/a");
    EXPECT_TRUE(GetMenuState(sendTo, 0, MF_BYPOSITION) & MF_GRAYED);
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
    DestroyMenu(menu);
    DestroyWindow(fake.editor);
}

// Messages for the given time, as a user's session would have them.
void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) Pump();
}

// Messages until the condition holds or the time is up.
void PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < timeoutMs) Pump();
}

// Counts the listings that reach the view, then lets the view handle them as usual.
WNDPROC viewProc = nullptr;
int listingsShown = 0;
LRESULT CALLBACK CountingViewProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kCommandMessage && wp == 1002) ++listingsShown;
    return CallWindowProcW(viewProc, window, message, wp, lp);
}

// Typing asks for one listing half a second after the last key, not one per key.
TEST_F(PluginLifecycleTest, FiveQuickKeysAskForOneListing) {
    ASSERT_EQ(record->init(), 0);
    PumpFor(1500);  // start-up, the first load and the listing of "My Library"
    HWND view = GetWindow(kMainViewWindowId);
    ASSERT_NE(view, nullptr);
    HWND search = GetDlgItem(view, 1003);
    ASSERT_TRUE(IsWindowEnabled(search));
    viewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingViewProc)));
    listingsShown = 0;
    for (wchar_t key : std::wstring(L"river")) {
        SendMessageW(search, WM_CHAR, key, 1);
        PumpFor(60);
    }
    PumpFor(250);
    EXPECT_EQ(listingsShown, 0) << "nothing is asked while the user is still typing";
    // The worker answers half a second after the last key, later when the machine is busy;
    // a second listing, were one coming, would follow within the same half second.
    PumpUntil([] { return listingsShown > 0; }, 10000);
    PumpFor(700);
    EXPECT_EQ(listingsShown, 1);
    wchar_t text[16] = {};
    GetWindowTextW(search, text, 16);
    EXPECT_STREQ(text, L"river");

    SendMessageW(search, WM_CHAR, VK_BACK, 1);
    PumpUntil([] { return listingsShown > 1; }, 10000);
    PumpFor(700);
    EXPECT_EQ(listingsShown, 2) << "one more key, one more listing";
    SetWindowLongPtrW(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(viewProc));
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
}

// The preferences' font and language codes: what is set is answered back and written at shutdown.
TEST_F(PluginLifecycleTest, FontAndLanguageCodesAnswerWhatWasSet) {
    ASSERT_EQ(record->init(), 0);
    Pump();
    HWND view = GetWindow(kMainViewWindowId);
    ASSERT_NE(view, nullptr);
    auto* font = new LOGFONTW{};
    font->lfHeight = 21;
    font->lfCharSet = SYMBOL_CHARSET;
    wcscpy(font->lfFaceName, L"Courier New");
    SendMessageW(view, kCommandMessage, 1083, reinterpret_cast<LPARAM>(font));
    EXPECT_EQ(SendMessageW(view, kCommandMessage, 1086, 1), 21);
    Ref<TextObject> face = AdoptText(SendMessageW(view, kCommandMessage, 1086, 0));
    ASSERT_TRUE(face);
    EXPECT_EQ(face->text, L"Courier New");

    Ref<TextObject> none = AdoptText(SendMessageW(view, kCommandMessage, 1124, 0));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->text, L"") << "English until a pack is chosen";
    // Choosing a pack offers a restart; the user declines.
    std::thread closer([] {
        for (int i = 0; i < 1500; ++i) {  // up to 30 s: other tests may be loading the machine
            if (HWND box = FindOwnBox(L"Information")) {
                PostMessageW(box, WM_COMMAND, IDNO, 0);
                return;
            }
            Sleep(20);
        }
    });
    SendMessageW(view, kCommandMessage, 1123, PassText(L"C:\\Packs\\cv_de.dll"));
    closer.join();
    Ref<TextObject> pack = AdoptText(SendMessageW(view, kCommandMessage, 1124, 0));
    ASSERT_TRUE(pack);
    EXPECT_EQ(pack->text, L"C:\\Packs\\cv_de.dll");

    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"Font name"), L"Courier New");
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"Font size"), L"21");
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"Language"), L"C:\\Packs\\cv_de.dll");
}

std::vector<std::wstring> RootItemTexts(HWND tree) {
    std::vector<std::wstring> texts;
    HTREEITEM library = TreeView_GetRoot(tree);
    for (HTREEITEM item = TreeView_GetChild(tree, library); item; item = TreeView_GetNextSibling(tree, item)) {
        wchar_t text[128] = {};
        TVITEMW info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text;
        info.cchTextMax = 128;
        TreeView_GetItem(tree, &info);
        texts.push_back(text);
    }
    return texts;
}

// The query dialog's answer becomes a smart playlist root, unless it holds no condition.
TEST_F(PluginLifecycleTest, QueryDialogAnswerBecomesASmartPlaylistRoot) {
    ASSERT_EQ(record->init(), 0);
    PumpFor(1500);
    HWND view = GetWindow(kMainViewWindowId);
    ASSERT_NE(view, nullptr);
    HWND tree = GetDlgItem(view, 1001);
    PostMessageW(view, kCommandMessage, 1099, reinterpret_cast<LPARAM>(new QueryDialogResult(L"Nothing", L"")));
    PostMessageW(view, kCommandMessage, 1099,
                 reinterpret_cast<LPARAM>(new QueryDialogResult(L"Loud", L"genre LIKE '%rock%'")));
    PumpUntil([&] { return !RootItemTexts(tree).empty(); }, 10000);
    PumpFor(300);  // the empty answer, had it made a root, would have shown first
    EXPECT_EQ(RootItemTexts(tree), std::vector<std::wstring>{L"Loud"});
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
}

TEST_F(PluginLifecycleTest, OldHostLeavesThePluginInert) {
    fake.version = 0x5032;
    // The refusal is shown in a message box; close it as a user would.
    std::thread closer([] {
        for (int i = 0; i < 1500; ++i) {  // up to 30 s: other tests may be loading the machine
            if (HWND box = FindOwnBox(L"Error")) {
                wchar_t text[128] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 128);
                boxText = text;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    });
    EXPECT_EQ(record->init(), 0);
    closer.join();
    EXPECT_EQ(boxText, L"Crateview requires Winamp 5.33 or later.");
    Pump();
    EXPECT_EQ(fake.embed, nullptr) << "no frame for an inert plugin";
    EXPECT_FALSE(PathExists(SettingsPath()));
    record->quit();
    EXPECT_EQ(GetPropW(host, L"CV_20"), nullptr);
}

}  // namespace
