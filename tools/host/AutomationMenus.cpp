// Popup menus under automation. The plugin's context menus are modal loops of the system that
// a script could only steer by counting arrow keys, which differ between Windows and Wine. So
// in automation mode the plugin's imports of TrackPopupMenu and TrackPopupMenuEx lead here:
// the menu gets the same notifications as a real one (WM_INITMENUPOPUP for it and for each
// submenu looked at, WM_MENUSELECT for the chosen item, WM_COMMAND or the returned id), and
// stays "open" in a message loop of its own until the script chooses an item or moves on.
// "menu host" shows the player's two menus, "menu editor" the playlist editor's.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <mutex>

#include "Automation.h"
#include "AutomationCommon.h"
#include "HostApp.h"
#include "HostImports.h"
#include "HostMenus.h"
#include "HostPlaylist.h"
#include "HostTasks.h"
#include "base/Text.h"
#include "base/Unique.h"
#include "logic/ScriptLine.h"

namespace {

constexpr DWORD kMenuOpenWaitMs = 3000;
constexpr size_t kOwnerDrawnCaptionLimit = 52;

struct OpenMenu {
    std::vector<HMENU> menus;  // several for "menu host"
    HWND owner = nullptr;
    bool hooked = false;       // a popup of the plugin waits in RunScriptedPopup
    UINT chosen = 0;
};

std::mutex lock;
OpenMenu current;
UniqueHandle openedEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr));
UniqueHandle closedEvent(CreateEventW(nullptr, TRUE, TRUE, nullptr));

// Owner-drawn items carry no text for the system; the plugin keeps its caption behind the
// item data, which is read only when it is readable memory holding a short text.
std::wstring OwnerDrawnCaption(ULONG_PTR data) {
    MEMORY_BASIC_INFORMATION info = {};
    if (!data || !VirtualQuery(reinterpret_cast<void*>(data), &info, sizeof(info))) return {};
    if (info.State != MEM_COMMIT || (info.Protect & (PAGE_NOACCESS | PAGE_GUARD))) return {};
    auto* text = reinterpret_cast<const wchar_t*>(data);
    size_t available = (reinterpret_cast<ULONG_PTR>(info.BaseAddress) + info.RegionSize - data) / sizeof(wchar_t);
    std::wstring caption;
    for (size_t i = 0; i < std::min(available, kOwnerDrawnCaptionLimit); ++i) {
        if (text[i] == 0) return caption;
        if (text[i] < 0x20 && text[i] != L'\t') return {};
        caption += text[i];
    }
    return {};
}

struct ItemInfo {
    UINT id;
    std::wstring caption;
    std::wstring states;
    HMENU submenu;
    bool separator;
    bool greyed;
};

ItemInfo ReadItem(HMENU menu, int index) {
    wchar_t text[512] = {};
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_DATA;
    mii.dwTypeData = text;
    mii.cch = 512;
    GetMenuItemInfoW(menu, index, TRUE, &mii);
    ItemInfo item{mii.wID, text, L"", mii.hSubMenu, (mii.fType & MFT_SEPARATOR) != 0, false};
    std::vector<std::wstring> states;
    if (mii.fState & MFS_CHECKED) states.push_back(L"checked");
    if (mii.fState & (MFS_GRAYED | MFS_DISABLED)) {
        states.push_back(L"greyed");
        item.greyed = true;
    }
    if (mii.fState & MFS_DEFAULT) states.push_back(L"default");
    if (mii.hSubMenu) states.push_back(L"submenu");
    if (mii.fType & MFT_OWNERDRAW) {
        states.push_back(L"owner-drawn");
        item.caption = OwnerDrawnCaption(mii.dwItemData);
    }
    if (item.separator) item.caption = L"---";
    for (size_t i = 0; i < states.size(); ++i) item.states += (i ? L"," : L"") + states[i];
    return item;
}

// On the user-interface thread: one line per item, submenus below their item, each opened
// for the owner first as the system does when the user points at it.
void ListMenu(HMENU menu, HWND owner, int depth, std::vector<std::wstring>& lines) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        ItemInfo item = ReadItem(menu, i);
        lines.push_back(FormatInt(depth) + L"\t" + FormatInt(static_cast<int>(item.id)) + L"\t" +
                        EscapeForLine(item.caption) + L"\t" + item.states);
        if (!item.submenu) continue;
        if (owner) SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(item.submenu), MAKELPARAM(i, FALSE));
        ListMenu(item.submenu, owner, depth + 1, lines);
    }
}

std::wstring Normalized(const std::wstring& caption) {
    std::wstring text = caption.substr(0, caption.find(L'\t'));
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size() && text[i + 1] != L'&') continue;
        out += text[i];
    }
    return ToLower(out);
}

bool Matches(const ItemInfo& item, const std::wstring& wanted) {
    if (item.separator) return false;
    if (!wanted.empty() && wanted[0] == L'#') return FormatInt(static_cast<int>(item.id)) == wanted.substr(1);
    return Normalized(item.caption) == ToLower(wanted) || EscapeForLine(item.caption) == wanted;
}

struct Found {
    HMENU menu = nullptr;
    int index = -1;
    ItemInfo item{};
    std::vector<std::pair<HMENU, int>> path;  // the submenus leading to it
};

bool FindItem(HMENU menu, const std::wstring& wanted, Found& found) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        ItemInfo item = ReadItem(menu, i);
        if (Matches(item, wanted)) {
            found.menu = menu;
            found.index = i;
            found.item = item;
            return true;
        }
        if (item.submenu) {
            found.path.emplace_back(menu, i);
            if (FindItem(item.submenu, wanted, found)) return true;
            found.path.pop_back();
        }
    }
    return false;
}

// The highlight messages of the item's way through the menu, then the command itself.
void SelectAndChoose(const Found& found, HWND owner, bool hooked) {
    for (const auto& step : found.path) {
        HMENU sub = GetSubMenu(step.first, step.second);
        SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(step.second, MF_POPUP | MF_HILITE),
                     reinterpret_cast<LPARAM>(step.first));
        (void)sub;
    }
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(found.item.id, MF_HILITE), reinterpret_cast<LPARAM>(found.menu));
    std::lock_guard<std::mutex> guard(lock);
    current.chosen = found.item.id;
    if (hooked) {
        // The popup's own loop returns the id or posts the command.
        SetEvent(closedEvent.get());
        return;
    }
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_STYLE;
    GetMenuInfo(found.menu, &info);
    if (info.dwStyle & MNS_NOTIFYBYPOS)
        PostMessageW(owner, WM_MENUCOMMAND, found.index, reinterpret_cast<LPARAM>(found.menu));
    else
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(found.item.id, 0), 0);
}

UINT RunScriptedPopup(HMENU menu, UINT flags, HWND owner) {
    bool notify = !(flags & TPM_NONOTIFY);
    if (notify) {
        SendMessageW(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessageW(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        current = OpenMenu();
        current.menus = {menu};
        current.owner = owner;
        current.hooked = true;
        ResetEvent(closedEvent.get());
    }
    SetEvent(openedEvent.get());
    bool quitSeen = false;
    int quitCode = 0;
    HANDLE closed = closedEvent.get();
    while (WaitForSingleObject(closed, 0) != WAIT_OBJECT_0) {
        MsgWaitForMultipleObjects(1, &closed, FALSE, INFINITE, QS_ALLINPUT);
        MSG msg;
        // Once closed, nothing more is dispatched here: a message for the next menu must not
        // open it inside this one.
        while (WaitForSingleObject(closed, 0) != WAIT_OBJECT_0 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quitSeen = true;
                quitCode = static_cast<int>(msg.wParam);
                SetEvent(closedEvent.get());
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    UINT chosen;
    {
        std::lock_guard<std::mutex> guard(lock);
        chosen = current.chosen;
        current = OpenMenu();
    }
    if (notify) {
        SendMessageW(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessageW(owner, WM_EXITMENULOOP, TRUE, 0);
    }
    if (quitSeen) PostQuitMessage(quitCode);
    return chosen;
}

BOOL FinishPopup(UINT chosen, UINT flags, HWND owner) {
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return chosen != 0;
}

BOOL WINAPI HookTrackPopupMenu(HMENU menu, UINT flags, int, int, int, HWND owner, const RECT*) {
    return FinishPopup(RunScriptedPopup(menu, flags, owner), flags, owner);
}

BOOL WINAPI HookTrackPopupMenuEx(HMENU menu, UINT flags, int, int, HWND owner, LPTPMPARAMS) {
    return FinishPopup(RunScriptedPopup(menu, flags, owner), flags, owner);
}

// On the user-interface thread: the point a right click on the view's control would give,
// or (-1, -1) for the menu key, which the view answers at the selected item or row.
bool PostContextMenu(const std::wstring& target) {
    HWND control = nullptr;
    POINT at = {-1, -1};
    if (target == L"tree") {
        control = FindViewControl(kTreeId);
    } else if (target == L"list") {
        control = FindViewControl(kListId);
    } else if (target == L"header") {
        HWND list = FindViewControl(kListId);
        control = list;
        HWND header = list ? reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)) : nullptr;
        RECT r;
        if (!header || !GetWindowRect(header, &r)) return false;
        at = {r.left + 10, (r.top + r.bottom) / 2};
    }
    if (!control) return false;
    PostMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(at.x, at.y));
    return true;
}

void ShowHostMenu(HWND owner, HMENU menu, int position, const wchar_t* title, std::vector<std::wstring>& lines) {
    SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(position, FALSE));
    lines.push_back(title);
    ListMenu(menu, owner, 0, lines);
}

void OnMenu(const std::wstring& argument) {
    std::vector<std::wstring> lines;
    if (argument == L"host" || argument == L"editor") {
        RunOnUi([&] {
            std::lock_guard<std::mutex> guard(lock);
            current = OpenMenu();
            if (argument == L"host") {
                current.owner = Host().mainWindow;
                current.menus = {MainMenu(), SecondMenu()};
            } else {
                current.owner = Host().playlistEditor;
                current.menus = {PlaylistEditorMenu()};
            }
        });
        RunOnUi([&] {
            HWND owner = current.owner;
            if (argument == L"host") {
                ShowHostMenu(owner, MainMenu(), 0, L"[main]", lines);
                ShowHostMenu(owner, SecondMenu(), 1, L"[second]", lines);
            } else {
                ShowHostMenu(owner, PlaylistEditorMenu(), 0, L"[editor]", lines);
            }
        });
        for (const std::wstring& line : lines) Say(line);
        return;
    }
    if (argument != L"tree" && argument != L"list" && argument != L"header") {
        Say(L"menu: expected tree, list, header, host or editor");
        return;
    }
    ResetEvent(openedEvent.get());
    bool posted = false;
    RunOnUi([&] { posted = PostContextMenu(argument); });
    if (!posted) {
        SayUnsupported();
        return;
    }
    if (WaitForSingleObject(openedEvent.get(), kMenuOpenWaitMs) != WAIT_OBJECT_0) {
        Say(L"no menu");
        return;
    }
    RunOnUi([&] {
        HMENU menu;
        HWND owner;
        {
            std::lock_guard<std::mutex> guard(lock);
            if (current.menus.empty()) return;
            menu = current.menus.front();
            owner = current.owner;
        }
        ListMenu(menu, owner, 0, lines);
    });
    for (const std::wstring& line : lines) Say(line);
}

void OnChoose(const std::wstring& argument) {
    std::wstring outcome;
    RunOnUi([&] {
        OpenMenu open;
        {
            std::lock_guard<std::mutex> guard(lock);
            open = current;
        }
        if (open.menus.empty()) {
            outcome = L"no menu";
            return;
        }
        Found found;
        bool any = false;
        for (HMENU menu : open.menus) {
            found = Found();
            if ((any = FindItem(menu, argument, found))) break;
        }
        if (!any) outcome = L"no item: " + argument;
        else if (found.item.submenu) outcome = L"submenu: " + argument;
        else if (found.item.greyed) outcome = L"greyed: " + argument;
        else SelectAndChoose(found, open.owner, open.hooked);
        if (outcome.empty() && !open.hooked) {
            std::lock_guard<std::mutex> guard(lock);
            current = OpenMenu();
        }
    });
    if (!outcome.empty()) Say(outcome);
    // The chosen command runs when the popup's loop returns; the next command must not find
    // the menu still open and cancel the choice.
    DWORD start = GetTickCount();
    while (outcome.empty() && MenuIsOpen() && GetTickCount() - start < kMenuOpenWaitMs) Sleep(10);
    SettleUi();
}

}  // namespace

void CancelOpenMenu() {
    {
        std::lock_guard<std::mutex> guard(lock);
        if (WaitForSingleObject(closedEvent.get(), 0) != WAIT_OBJECT_0) current.chosen = 0;
        if (!current.hooked) {
            current = OpenMenu();
            return;
        }
        SetEvent(closedEvent.get());
    }
    // The next command may open another menu: wait until this one's loop has ended.
    DWORD start = GetTickCount();
    while (MenuIsOpen() && GetTickCount() - start < kMenuOpenWaitMs) Sleep(10);
}

bool MenuIsOpen() {
    std::lock_guard<std::mutex> guard(lock);
    return !current.menus.empty();
}

void InstallAutomationHooks(HMODULE plugin) {
    PatchImport(plugin, "user32.dll", "TrackPopupMenu", reinterpret_cast<void*>(&HookTrackPopupMenu));
    PatchImport(plugin, "user32.dll", "TrackPopupMenuEx", reinterpret_cast<void*>(&HookTrackPopupMenuEx));
    InstallAddRootHooks(plugin);
}

extern const CommandEntry kMenuCommands[] = {
    {L"menu", &OnMenu},
    {L"choose", &OnChoose},
    {nullptr, nullptr},
};
