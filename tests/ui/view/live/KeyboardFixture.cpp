// The keyboard fixture: keys as the message loop delivers them, focus seen through a hook, and
// the stand-in editor's inserts.
#include "KeyboardFixture.h"

#include <commctrl.h>

#include <algorithm>

#include "db/TreeNode.h"
#include "host/HostApi.h"

namespace {

HHOOK focusHook = nullptr;
HWND lastFocused = nullptr;
WNDPROC editorProc = nullptr;
WNDPROC hostProc = nullptr;

LRESULT CALLBACK RecordFocus(int code, WPARAM wp, LPARAM lp) {
    auto* call = reinterpret_cast<CWPSTRUCT*>(lp);
    if (code == HC_ACTION && call->message == WM_SETFOCUS) lastFocused = call->hwnd;
    // The host's own window does search its menus: the keys were passed to it for that.
    if (code == HC_ACTION && call->message == WM_SYSCOMMAND && (call->wParam & 0xFFF0) == SC_KEYMENU &&
        call->hwnd != Fake().window)
        ++KeyboardTest::KeyMenuRequests();
    return CallNextHookEx(focusHook, code, wp, lp);
}

// The host's editor puts each file in its playlist at the index it is given.
LRESULT CALLBACK RecordingEditorProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_COPYDATA) {
        const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (data.dwData == kEditorInsertFileCopyData && data.cbData == sizeof(EditorInsertFile)) {
            const auto& file = *static_cast<const EditorInsertFile*>(data.lpData);
            KeyboardTest::Inserted().emplace_back(file.path, file.index);
            std::vector<std::wstring>& playlist = Fake().playlist;
            playlist.insert(playlist.begin() + std::min<size_t>(static_cast<size_t>(file.index), playlist.size()), file.path);
            return TRUE;
        }
    }
    return CallWindowProcW(editorProc, window, message, wp, lp);
}

LRESULT CALLBACK RecordingHostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_SYSKEYDOWN) KeyboardTest::HostAltKeys().push_back(wp);
    return CallWindowProcW(hostProc, window, message, wp, lp);
}

bool IsExtendedKey(UINT key) {
    switch (key) {
        case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_HOME: case VK_END:
        case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<std::pair<std::wstring, int>>& KeyboardTest::Inserted() {
    static std::vector<std::pair<std::wstring, int>> inserted;
    return inserted;
}

std::vector<WPARAM>& KeyboardTest::HostAltKeys() {
    static std::vector<WPARAM> keys;
    return keys;
}

int& KeyboardTest::KeyMenuRequests() {
    static int requests = 0;
    return requests;
}

void KeyboardTest::SetUp() {
    LivePluginTest::SetUp();
    Inserted().clear();
    HostAltKeys().clear();
    KeyMenuRequests() = 0;
    Fake().editor = CreateFakeFrame(L"editor", {0, 0, 200, 200});
    editorProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Fake().editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingEditorProc)));
    focusHook = SetWindowsHookExW(WH_CALLWNDPROC, &RecordFocus, nullptr, GetCurrentThreadId());
    CreateDirectoryW(folder.File(L"docs\\Crateview").c_str(), nullptr);
}

void KeyboardTest::TearDown() {
    LivePluginTest::TearDown();
    if (focusHook) UnhookWindowsHookEx(focusHook);
    focusHook = nullptr;
}

void KeyboardTest::WatchHostKeys() {
    hostProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingHostProc)));
}

void KeyboardTest::StartOverRoots(std::initializer_list<const wchar_t*> files) {
    std::vector<std::wstring> roots;
    for (const wchar_t* file : files) {
        AddLibraryFile(file);
        std::wstring root = std::wstring(file).substr(0, std::wstring(file).find(L'\\'));
        if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
    }
    for (const std::wstring& root : roots) StoreFolderRoot(Library(root));
    StartPlugin();
    ASSERT_EQ(TreeView_GetSelection(Tree()), ItemOf(L""));
}

void KeyboardTest::WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value) const {
    WritePrivateProfileStringW(section, key, value, SettingsPath().c_str());
}

void KeyboardTest::HoldModifiers(Modifiers held) const {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    auto hold = [&](bool down, std::initializer_list<int> codes) {
        for (int code : codes) keys[code] = down ? 0x80 : 0;
    };
    hold(held.ctrl, {VK_CONTROL, VK_LCONTROL});
    hold(held.shift, {VK_SHIFT, VK_LSHIFT});
    hold(held.alt, {VK_MENU, VK_LMENU});
    SetKeyboardState(keys);
}

void KeyboardTest::PostKey(HWND control, UINT key, Modifiers held, bool withRelease) {
    SetFocus(control);
    lastFocused = nullptr;
    HoldModifiers(held);
    // Alt alone makes system keys; with Ctrl (AltGr) they are plain ones.
    bool system = held.alt && !held.ctrl;
    LPARAM lp = 1 | static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC) & 0xFF) << 16;
    if (IsExtendedKey(key)) lp |= 1 << 24;
    if (held.alt) lp |= 1 << 29;
    PostMessageW(control, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, lp);
    if (withRelease) PostMessageW(control, system ? WM_SYSKEYUP : WM_KEYUP, key, lp | 0xC0000000);
}

void KeyboardTest::Press(HWND control, UINT key, Modifiers held) {
    PostKey(control, key, held, true);
    Pump();
    HoldModifiers({});
}

void KeyboardTest::PressOnly(HWND control, UINT key, Modifiers held) {
    PostKey(control, key, held, false);
    MSG msg;
    if (PeekMessageW(&msg, control, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    HoldModifiers({});
}

void KeyboardTest::PostKeyDown(HWND window, UINT key, LPARAM lp, Modifiers held) {
    HoldModifiers(held);
    PostMessageW(window, WM_KEYDOWN, key, lp);
    Pump();
    HoldModifiers({});
}

HWND KeyboardTest::Focused() const { return lastFocused; }

void KeyboardTest::SelectRows(std::initializer_list<int> rows) const {
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : rows) ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
    if (rows.size() > 0) {
        ListView_SetItemState(List(), *rows.begin(), LVIS_FOCUSED, LVIS_FOCUSED);
        ListView_SetSelectionMark(List(), *rows.begin());
    }
}

std::vector<int> KeyboardTest::SelectedRows() const {
    std::vector<int> rows;
    for (int row = ListView_GetNextItem(List(), -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(List(), row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

std::vector<std::wstring> KeyboardTest::RootOrder() const {
    std::vector<std::wstring> paths;
    HWND tree = Tree();
    for (HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree)); item; item = TreeView_GetNextSibling(tree, item)) {
        TVITEMW info = {};
        info.mask = TVIF_PARAM;
        info.hItem = item;
        TreeView_GetItem(tree, &info);
        auto* node = reinterpret_cast<TreeNode*>(info.lParam);
        paths.push_back(node ? node->path : L"");
    }
    return paths;
}
