// The plugin's start-up, frame, menu entry, toggles and shutdown against a stand-in host window
// in this process, with window and GDI object counts compared around the whole life.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <map>
#include <thread>

#include "base/GuiObjects.h"
#include "base/Path.h"
#include "base/TextObject.h"
#include "db/TreeNode.h"
#include "playlists/Playlist.h"
#include "support/HangGuard.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "host/HostApi.h"
#include "host/PluginRecord.h"
#include "livehost/LivePlugin.h"
#include "settings/PluginContext.h"
#include "support/BuildFiles.h"
#include "support/TempFolder.h"
#include "ui/dialogs/QueryDialogResult.h"

namespace {

class PluginLifecycleTest : public LivePluginTest {};

// A menu shaped like the host playlist editor's: the plugin adds "Send to" to this one only.
HMENU EditorMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kHostPlaylistMenuFirstItem, L"Play");
    for (UINT id = 1; id < 12; ++id) AppendMenuW(menu, MF_STRING, 50000 + id, L"Item");
    return menu;
}

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
    ASSERT_NE(Fake().embed, nullptr);
    EXPECT_EQ(Fake().embed->flags, 12);
    EXPECT_EQ(std::memcmp(reinterpret_cast<char*>(Fake().embed) + kEmbedGuidOffset, &kFrameGuid, 16), 0);
    EXPECT_EQ(Fake().embed->rect.left, 100);
    EXPECT_EQ(Fake().embed->rect.bottom, 200);
    ASSERT_NE(Fake().prefsPage, nullptr);
    EXPECT_EQ(Fake().prefsPage->dialogId, 109);
    EXPECT_STREQ(Fake().prefsPage->name, "Crateview");
    wchar_t title[32] = {};
    GetWindowTextW(frame, title, 32);
    EXPECT_STREQ(title, L"Crateview");
    HWND view = GetWindow(kMainViewWindowId);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(GetParent(view), frame);
    for (int id : {1001, 1002, 1003, 1004, 1014, 1019}) EXPECT_NE(GetDlgItem(view, id), nullptr) << id;
    EXPECT_FALSE(IsWindowVisible(frame)) << "hidden until asked, as it was last time";

    // The menu entry, then Alt+D through the host's queued-key notification.
    SendMessageW(host, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Fake().mainMenu), 0);
    UINT entry = GetMenuItemID(Fake().mainMenu, 1);  // before the last plain item after the anchor
    EXPECT_EQ(GetMenuItemCount(Fake().mainMenu), 3);
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
    EXPECT_GE(Fake().closes, 1);
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Visible"), L"1");
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Left"), L"30");
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Bottom"), L"340");
    record->quit();
    EXPECT_EQ(GetPropW(host, L"CV_20"), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(host, GWLP_WNDPROC), hostProc) << "the host's own procedure is back";
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"Sort"), L"1") << "every option is written at shutdown";
    EXPECT_FALSE(IsWindow(frame));
}

// What players of every version read: the frame's identity already in the record when the frame
// is asked for, request 533 (a question about a window) never given the record, the frame's
// place taken from the frame itself by a host that never writes the record, and the page
// removed at Quit while its record is still whole.
TEST_F(PluginLifecycleTest, RecordsAreWhatEveryPlayerVersionReads) {
    Fake().writesFrameRecord = false;
    ASSERT_EQ(record->init(), 0);
    Pump();
    HWND frame = GetWindow(kFrameWindowId);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(Fake().embedAtCreation.flags & 8);
    EXPECT_EQ(std::memcmp(reinterpret_cast<char*>(&Fake().embedAtCreation) + kEmbedGuidOffset, &kFrameGuid, 16), 0);
    for (WPARAM word : Fake().frameQueries) EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(word)));

    MoveWindow(frame, 30, 40, 500, 300, TRUE);
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Left"), L"30");
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Bottom"), L"340");
    record->quit();
    EXPECT_TRUE(Fake().prefsPageRemovedWhole);
    EXPECT_EQ(Fake().prefsPage, nullptr);
}

// The host's menus outlive the plugin: after Quit neither the entry in either menu nor the
// "Send to" item in the editor's menu is left, and the editor's menu holds no destroyed submenu.
TEST_F(PluginLifecycleTest, QuitTakesItsItemsOutOfTheHostsMenus) {
    Fake().editor = CreateFakeFrame(L"editor", RECT{0, 0, 100, 100});
    ASSERT_EQ(record->init(), 0);
    Pump();
    HMENU editorMenu = EditorMenu();
    SendMessageW(Fake().editor, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(editorMenu), 0);
    SendMessageW(host, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Fake().mainMenu), 0);
    SendMessageW(host, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Fake().secondMenu), 0);
    int mainItems = GetMenuItemCount(Fake().mainMenu), secondItems = GetMenuItemCount(Fake().secondMenu);
    ASSERT_EQ(mainItems, 3);
    ASSERT_EQ(secondItems, 2);
    ASSERT_EQ(GetMenuItemCount(editorMenu), 13);
    HMENU sendTo = GetSubMenu(editorMenu, 10);
    ASSERT_NE(sendTo, nullptr);

    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
    EXPECT_EQ(GetMenuItemCount(Fake().mainMenu), mainItems - 1);
    EXPECT_EQ(GetMenuItemCount(Fake().secondMenu), secondItems - 1);
    EXPECT_EQ(GetMenuItemCount(editorMenu), 12);
    EXPECT_FALSE(IsMenu(sendTo)) << "the submenu is destroyed once its item is gone";
    DestroyMenu(editorMenu);
}

// Alt+D reaches the player's window as a system key; the queued-key notice matches keys by
// their exact codes: F4 and Numpad 4 share their codes with 's' and 'd' but are neither S nor D,
// so Alt+F4 in the frame reaches the player and Alt+Numpad 4 toggles nothing.
TEST_F(PluginLifecycleTest, AltKeysAreMatchedByTheirOwnCodes) {
    ASSERT_EQ(record->init(), 0);
    Pump();
    HWND frame = GetWindow(kFrameWindowId);
    ASSERT_NE(frame, nullptr);
    constexpr LPARAM kAltHeld = 0x20000001;
    SendMessageW(host, WM_SYSKEYDOWN, 'D', kAltHeld);
    Pump();
    EXPECT_TRUE(IsWindowVisible(frame)) << "Alt+D on the player's window shows the frame";

    SetFocus(GetDlgItem(GetWindow(kMainViewWindowId), 1002));
    ASSERT_TRUE(IsChild(frame, GetFocus()));
    auto queued = [this, frame](WPARAM key) {
        MSG msg = {frame, WM_SYSKEYDOWN, key, kAltHeld, 0, {0, 0}};
        SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&msg), kHostQueuedMessage);
        Pump();
        return msg.wParam;
    };
    EXPECT_EQ(queued(VK_F4), static_cast<WPARAM>(VK_F4)) << "Alt+F4 goes on to the player";
    EXPECT_EQ(queued(VK_NUMPAD4), static_cast<WPARAM>(VK_NUMPAD4));
    EXPECT_TRUE(IsWindowVisible(frame)) << "Alt+Numpad 4 is not Alt+D";
    EXPECT_EQ(queued('S'), 0u) << "Alt+S in the frame is the plugin's";
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
}

// A host playlist editor whose selection is the one entry at kSelectedEntry.
// With answersSelection off it knows no such request and answers 0, as DefWindowProc does.
constexpr int kSelectedEntry = 70000;
bool answersSelection = true;
LRESULT CALLBACK SelectingEditorProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kHostMessage && wp == kEditorNextSelected && answersSelection)
        return lp < kSelectedEntry ? kSelectedEntry : -1;
    return DefWindowProcW(window, message, wp, lp);
}

// "Send to" carries the host's entry index whole: packed into 16 bits, entry 70,000 was entry
// 4,464. An editor that does not answer the selection request (0 every time) ends the loop.
TEST_F(PluginLifecycleTest, SendToAppendsTheChosenEntryWhateverItsIndex) {
    std::wstring list = folder.File(L"mix.m3u");
    StorePlaylistRoot(list);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &SelectingEditorProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CvSelectingEditor";
    RegisterClassW(&wc);
    Fake().editor = CreateWindowW(wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    for (int i = 0; i <= kSelectedEntry; ++i) Fake().playlist.push_back(L"C:\\Music\\" + std::to_wstring(i) + L".mp3");
    ASSERT_EQ(record->init(), 0);
    Pump();
    HMENU menu = EditorMenu();
    SendMessageW(Fake().editor, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    HMENU sendTo = GetSubMenu(menu, 10);
    ASSERT_NE(sendTo, nullptr);
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    item.fState = MFS_HILITE;
    SetMenuItemInfoW(sendTo, 0, TRUE, &item);
    SendMessageW(Fake().editor, WM_MENUSELECT, 0, reinterpret_cast<LPARAM>(sendTo));
    SendMessageW(Fake().editor, WM_COMMAND, 3035, 0);
    TreeNode* node = nullptr;
    if (HTREEITEM root = ItemOf(list)) {
        TVITEMW info = {};
        info.mask = TVIF_PARAM;
        info.hItem = root;
        TreeView_GetItem(Tree(), &info);
        node = reinterpret_cast<TreeNode*>(info.lParam);
    }
    ASSERT_TRUE(node && node->playlist);
    Playlist::Entries entries = node->playlist->CopyEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back()->Path(), L"C:\\Music\\70000.mp3");

    answersSelection = false;
    HangGuard guard("an editor that answers 0 to every selection request", 60000);
    SendMessageW(Fake().editor, WM_COMMAND, 3035, 0);
    answersSelection = true;
    EXPECT_EQ(node->playlist->EntryCount(), entries.size() + 1) << "entry 0, once";
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
    DestroyMenu(menu);
}

// A whole life in a fresh stand-in host: start, show, close, quit, and the host's windows gone.
void LiveOnce(HMODULE module, const std::wstring& documents) {
    PluginContext::CreateWithDocuments(reinterpret_cast<HINSTANCE>(module), documents);
    ResetFake();
    HWND host = CreateFakeHostWindow();
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
    DestroyFakeHost();
    Pump();
}

// The first life fills the system's own caches (cached device contexts, shared icons, colour
// brushes), and a busy machine can make the window manager keep one more cached device context
// in a later life. A real leak is left by every life, so a kind of object counts only when both
// the second and the third life leave it behind. Regions are left out: the window manager makes
// and drops update regions of its own as windows come and go, and the plugin makes none.
TEST_F(PluginLifecycleTest, LaterLivesLeaveNothingBehind) {
    TearDown();
    LiveOnce(context.module(), folder.File(L"docs"));
    GuiObjectCounts before = CountGuiObjects();
    std::vector<HGDIOBJ> afterFirst = LiveGdiObjects();
    LiveOnce(context.module(), folder.File(L"docs"));
    EXPECT_EQ(CountGuiObjects().user, before.user);
    std::vector<HGDIOBJ> afterSecond = LiveGdiObjects();
    std::map<DWORD, int> leftBySecond = NewGdiObjectTypes(afterFirst, afterSecond);
    LiveOnce(context.module(), folder.File(L"docs"));
    EXPECT_EQ(CountGuiObjects().user, before.user);
    for (auto [type, count] : NewGdiObjectTypes(afterSecond, LiveGdiObjects()))
        if (type != OBJ_REGION && leftBySecond.count(type))
            ADD_FAILURE() << count << " GDI object(s) of type " << type << " left behind by each life";
    SetUp();
}

// The host playlist editor's menu gets a "Send to" submenu; with no playlist root it offers one
// greyed item, and it is never added twice.
TEST_F(PluginLifecycleTest, PlaylistEditorMenuGetsSendTo) {
    Fake().editor = CreateFakeFrame(L"editor", RECT{0, 0, 100, 100});
    ASSERT_EQ(record->init(), 0);
    Pump();
    HMENU menu = EditorMenu();
    for (int opening = 0; opening < 2; ++opening)
        SendMessageW(Fake().editor, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
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
}

// Typing asks for one listing half a second after the last key, not one per key.
TEST_F(PluginLifecycleTest, FiveQuickKeysAskForOneListing) {
    StartPlugin();
    HWND search = Search();
    ASSERT_TRUE(IsWindowEnabled(search));
    PumpFor(700);  // a listing still on its way from start-up would be counted below
    int before = Listings();
    for (wchar_t key : std::wstring(L"river")) {
        SendMessageW(search, WM_CHAR, key, 1);
        PumpFor(60);
    }
    PumpFor(250);
    EXPECT_EQ(Listings(), before) << "nothing is asked while the user is still typing";
    // The worker answers half a second after the last key, later when the machine is busy;
    // a second listing, were one coming, would follow within the same half second.
    WaitForListing(before, 10000);
    PumpFor(700);
    EXPECT_EQ(Listings(), before + 1);
    wchar_t text[16] = {};
    GetWindowTextW(search, text, 16);
    EXPECT_STREQ(text, L"river");

    SendMessageW(search, WM_CHAR, VK_BACK, 1);
    WaitForListing(before + 1, 10000);
    PumpFor(700);
    EXPECT_EQ(Listings(), before + 2) << "one more key, one more listing";
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
    BoxAnswerer decline(L"Information", IDNO);
    SendMessageW(view, kCommandMessage, 1123, PassText(L"C:\\Packs\\cv_de.dll"));
    decline.Join();
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
    Fake().version = 0x5032;
    // The refusal is shown in a message box; close it as a user would.
    BoxAnswerer dismiss(L"Error", IDOK);
    EXPECT_EQ(record->init(), 0);
    EXPECT_EQ(dismiss.Join(), std::vector<std::wstring>{L"Crateview requires Winamp 5.33 or later."});
    Pump();
    EXPECT_EQ(Fake().embed, nullptr) << "no frame for an inert plugin";
    EXPECT_FALSE(PathExists(SettingsPath()));
    record->quit();
    EXPECT_EQ(GetPropW(host, L"CV_20"), nullptr);
}

}  // namespace
