// Popup menus under automation, opened and driven as a user does. A right click (real button
// messages at a point of the tree, the list or its header) or the menu key makes the control
// ask for its context menu; the system's own TrackPopupMenu shows it, and "choose" walks it
// with the keyboard (Down until the item is highlighted, Right into a submenu, Enter), so the
// system itself highlights items, sends WM_MENUSELECT, WM_INITMENUPOPUP when a submenu opens,
// WM_MEASUREITEM and WM_DRAWITEM for owner-drawn items, and returns or posts the command.
// The host's own two menus ("menu host") are only listed, since both cannot be open at once;
// choosing from them highlights the item and sends what a real menu sends around it.
#include <windows.h>

#include <commctrl.h>

#include <mutex>

#include "Automation.h"
#include "AutomationCommon.h"
#include "AutomationMenuItems.h"
#include "AutomationTyping.h"
#include "HostApp.h"
#include "HostMenus.h"
#include "HostPlaylist.h"
#include "HostTasks.h"
#include "base/Text.h"
#include "logic/KeyNames.h"
#include "logic/ScriptLine.h"

namespace {

constexpr DWORD kMenuOpenWaitMs = 3000;
constexpr DWORD kMenuPollMs = 20;
constexpr wchar_t kPopupMenuClass[] = L"#32768";

// The menu on screen is the system's; only the host's listed menus are kept here.
struct MenuSession {
    std::mutex lock;
    std::vector<HMENU> listed;  // "menu host": listed, not on screen
    HWND listedOwner = nullptr;
};

MenuSession& Session() {
    static MenuSession session;
    return session;
}

// --- menus on screen ---------------------------------------------------------------------

BOOL CALLBACK CollectPopup(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && ClassNameOf(window) == kPopupMenuClass)
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The popup windows of the user-interface thread, one for each open level of a menu.
std::vector<HWND> OpenPopups() {
    std::vector<HWND> popups;
    EnumThreadWindows(Host().uiThreadId, CollectPopup, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

// On the user-interface thread, where the menu's modal loop answers the question.
HMENU MenuOfPopup(HWND popup) { return reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)); }

bool MenuIsShown(HMENU menu) {
    bool shown = false;
    RunOnUi([&] {
        for (HWND popup : OpenPopups())
            if (MenuOfPopup(popup) == menu) shown = true;
    });
    return shown;
}

// The top level: the shown menu that is no submenu of another shown menu.
HMENU TopShownMenu() {
    HMENU top = nullptr;
    RunOnUi([&] {
        std::vector<HMENU> menus;
        for (HWND popup : OpenPopups()) menus.push_back(MenuOfPopup(popup));
        for (HMENU candidate : menus) {
            bool inner = false;
            for (HMENU other : menus)
                for (int i = 0; other != candidate && i < GetMenuItemCount(other); ++i)
                    if (GetSubMenu(other, i) == candidate) inner = true;
            if (!inner) top = candidate;
        }
    });
    return top;
}

bool WaitUntil(bool (*condition)()) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= kMenuOpenWaitMs) return false;
        Sleep(kMenuPollMs);
    }
    return true;
}

bool AnyPopupOpen() { return !OpenPopups().empty(); }
bool NoPopupOpen() { return OpenPopups().empty(); }

// A key press and release for the menu's modal loop, which takes keys from the thread's queue.
void PressMenuKey(UINT key) {
    RunOnUi([&] {
        std::vector<HWND> popups = OpenPopups();
        if (popups.empty()) return;
        LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC) & 0xFF) << 16;
        PostMessageW(popups.front(), WM_KEYDOWN, key, 1 | scan);
        PostMessageW(popups.front(), WM_KEYUP, key, 1 | scan | (3u << 30));
    });
    SettleUi();
}

bool IsHighlighted(HMENU menu, int index) {
    bool lit = false;
    RunOnUi([&] { lit = (GetMenuState(menu, index, MF_BYPOSITION) & MF_HILITE) != 0; });
    return lit;
}

// Down moves through the items of the deepest open level, skipping separators and wrapping.
bool Highlight(HMENU menu, int index) {
    int count = 0;
    RunOnUi([&] { count = GetMenuItemCount(menu); });
    for (int step = 0; step <= count + 1; ++step) {
        if (IsHighlighted(menu, index)) return true;
        PressMenuKey(VK_DOWN);
    }
    return false;
}

struct Walk {
    std::wstring wanted;
    std::wstring outcome;  // empty when the item was chosen
};

bool ChooseIn(HMENU menu, Walk& walk);

// Opens the submenu at index as a user does, looks for the item in it, and closes it again
// when it is not there.
bool ChooseInSubmenu(HMENU menu, int index, Walk& walk) {
    if (!Highlight(menu, index)) return false;
    PressMenuKey(VK_RIGHT);
    HMENU submenu = nullptr;
    RunOnUi([&] { submenu = GetSubMenu(menu, index); });
    if (!submenu || !MenuIsShown(submenu)) return false;
    if (ChooseIn(submenu, walk)) return true;
    PressMenuKey(VK_LEFT);
    return false;
}

bool ChooseIn(HMENU menu, Walk& walk) {
    std::vector<MenuItemView> items;
    RunOnUi([&] {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) items.push_back(ReadMenuItem(menu, i));
    });
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (!MenuItemMatches(items[i], walk.wanted)) continue;
        if (items[i].submenu) walk.outcome = L"submenu: " + walk.wanted;
        else if (items[i].greyed) walk.outcome = L"greyed: " + walk.wanted;
        else if (!Highlight(menu, i)) walk.outcome = L"choose: the item cannot be highlighted";
        else PressMenuKey(VK_RETURN);
        return true;
    }
    // Submenus that hold the item now first, then those that may fill themselves on opening.
    std::vector<int> likely, others;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (!items[i].submenu || items[i].greyed) continue;
        MenuItemPlace place;
        bool holds = false;
        RunOnUi([&] { holds = FindMenuItem(items[i].submenu, walk.wanted, place); });
        (holds ? likely : others).push_back(i);
    }
    likely.insert(likely.end(), others.begin(), others.end());
    for (int index : likely)
        if (ChooseInSubmenu(menu, index, walk)) return true;
    return false;
}

// The keyboard walks the menu; a pointer left resting where the right click was may lie over
// the menu or a submenu about to open there, and the system would highlight what it points at.
void ParkPointerAwayFromMenus() {
    RunOnUi([] { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); });
}

void ChooseOnScreen(const std::wstring& wanted) {
    ParkPointerAwayFromMenus();
    HMENU top = TopShownMenu();
    Walk walk{wanted, L""};
    if (!top) walk.outcome = L"no menu";
    else if (!ChooseIn(top, walk)) walk.outcome = L"no item: " + wanted;
    if (!walk.outcome.empty()) return Say(walk.outcome);
    // The chosen command runs when the menu's loop returns; the next command must not find
    // the menu still open and cancel the choice.
    if (!WaitUntil(&NoPopupOpen)) Say(L"choose: the menu stayed open");
    SettleUi();
}

// Waits for the menu the last action opened and prints it.
void PrintOpenedMenu(const wchar_t* title) {
    SettleUi();
    if (!WaitUntil(&AnyPopupOpen)) return Say(L"no menu");
    HMENU top = TopShownMenu();
    std::vector<std::wstring> lines;
    if (title) lines.push_back(title);
    RunOnUi([&] { ListMenuLines(top, 0, lines); });
    for (const std::wstring& line : lines) Say(line);
}

// --- opening context menus as a user does -------------------------------------------------

// On the user-interface thread: the control and the point (client coordinates) a right click
// on the target goes to.
std::wstring AimRightClick(const ClickTarget& target, HWND& control, POINT& at) {
    HWND tree = FindViewControl(kTreeId), list = FindViewControl(kListId);
    if (target.control == L"tree") {
        if (!(control = tree)) return L"unsupported";
        if (target.detail.empty()) {
            if (!PointInEmptySpace(tree, true, at)) return L"right-click: no empty space in the tree";
        } else if (!PointOnTreeItem(tree, target.detail, at)) {
            return L"no item: " + target.detail;
        }
    } else if (target.control == L"list") {
        if (!(control = list)) return L"unsupported";
        if (target.index < 0) {
            if (!PointInEmptySpace(list, false, at)) return L"right-click: no empty space in the list";
        } else if (!PointOnListRow(list, target.index, at)) {
            return L"no row: " + target.detail;
        }
    } else {
        control = list ? reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)) : nullptr;
        if (!control) return L"unsupported";
        if (!PointOnHeaderColumn(control, target.index < 0 ? 0 : target.index, at))
            return L"no column: " + target.detail;
    }
    if (!PointIsOnControl(control, at)) return L"right-click: another window covers the point";
    return L"";
}

// The pointer goes to the point first, as a user's would: controls that ask GetMessagePos
// where the click was find it there.
void PostRightClick(HWND control, POINT at) {
    POINT screen = at;
    ClientToScreen(control, &screen);
    SetCursorPos(screen.x, screen.y);
    LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(control, WM_RBUTTONDOWN, MK_RBUTTON, where);
    PostMessageW(control, WM_RBUTTONUP, 0, where);
}

void RightClickAndPrint(const ClickTarget& target) {
    std::wstring outcome;
    RunOnUi([&] {
        HWND control = nullptr;
        POINT at = {};
        outcome = AimRightClick(target, control, at);
        if (outcome.empty()) PostRightClick(control, at);
    });
    if (!outcome.empty()) return Say(outcome);
    PrintOpenedMenu(nullptr);
}

void OnRightClick(const std::wstring& argument) {
    ClickTarget target;
    if (!ParseClickTarget(argument, target))
        return Say(L"right-click: expected tree, tree:PATH, list, list:ROW, header or header:COLUMN");
    RightClickAndPrint(target);
}

// The keyboard's way: the control gets the focus and the menu key (or Shift+F10), and the
// view answers at its selected item or row.
void MenuKeyAndPrint(int controlId, const std::wstring& keyName) {
    KeyChord chord;
    if (!ParseKeyChord(keyName.empty() ? L"Apps" : keyName, chord)) return Say(L"menu-key: unknown key " + keyName);
    bool exists = false;
    RunOnUi([&] {
        HWND control = FindViewControl(controlId);
        if ((exists = control != nullptr)) SetFocus(control);
    });
    if (!exists) return SayUnsupported();
    PressChordOnFocus(chord);
    // Windows turns the menu key and Shift+F10 into WM_CONTEXTMENU at (-1, -1) in
    // DefWindowProc; Wine does so for neither key on a tree view, nor for the menu key at all.
    // Where the key made no menu, the control gets what Windows would have sent it.
    if (NoPopupOpen()) {
        RunOnUi([&] {
            HWND control = FindViewControl(controlId);
            if (control) PostMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(-1, -1));
        });
    }
    PrintOpenedMenu(nullptr);
}

void OnMenuKey(const std::wstring& argument) {
    std::vector<std::wstring> words = SplitWords(argument);
    std::wstring control = words.empty() ? L"" : words[0];
    std::wstring key = words.size() > 1 ? words[1] : L"";
    if (control == L"tree") return MenuKeyAndPrint(kTreeId, key);
    if (control == L"list") return MenuKeyAndPrint(kListId, key);
    Say(L"menu-key: expected tree or list, then optionally Apps or Shift+F10");
}

// --- the host's own menus ------------------------------------------------------------------

void ShowHostMenu(HWND owner, HMENU menu, int position, const wchar_t* title, std::vector<std::wstring>& lines) {
    SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(position, FALSE));
    lines.push_back(title);
    ListMenuLines(menu, 0, lines);
}

void ListHostMenus() {
    std::vector<std::wstring> lines;
    RunOnUi([&] {
        MenuSession& session = Session();
        std::lock_guard<std::mutex> guard(session.lock);
        session.listedOwner = Host().mainWindow;
        session.listed = {MainMenu(), SecondMenu()};
        ShowHostMenu(session.listedOwner, MainMenu(), 0, L"[main]", lines);
        ShowHostMenu(session.listedOwner, SecondMenu(), 1, L"[second]", lines);
    });
    for (const std::wstring& line : lines) Say(line);
}

// The playlist editor's menu is its right-click menu: a right click into its entry list.
void OpenEditorMenu() {
    RunOnUi([] {
        HWND editor = Host().playlistEditor;
        HWND entries = GetWindow(editor, GW_CHILD);
        RECT r;
        GetClientRect(entries, &r);
        PostRightClick(entries, {r.right / 2, r.bottom / 2});
    });
    PrintOpenedMenu(L"[editor]");
}

// On the user-interface thread: what a real menu does around a choice, for a listed menu.
void ChooseListed(const MenuItemPlace& place, HMENU top, HWND owner) {
    HMENU level = top;
    for (int position : place.path) {
        HMENU submenu = GetSubMenu(level, position);
        SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(position, MF_POPUP | MF_HILITE), reinterpret_cast<LPARAM>(level));
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu), MAKELPARAM(position, FALSE));
        level = submenu;
    }
    MENUITEMINFOW state = {};
    state.cbSize = sizeof(state);
    state.fMask = MIIM_STATE;
    GetMenuItemInfoW(place.menu, place.index, TRUE, &state);
    UINT before = state.fState;
    state.fState |= MFS_HILITE;
    SetMenuItemInfoW(place.menu, place.index, TRUE, &state);
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(place.item.id, MF_HILITE), reinterpret_cast<LPARAM>(place.menu));
    state.fState = before;
    SetMenuItemInfoW(place.menu, place.index, TRUE, &state);
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_STYLE;
    GetMenuInfo(place.menu, &info);
    if (info.dwStyle & MNS_NOTIFYBYPOS)
        PostMessageW(owner, WM_MENUCOMMAND, place.index, reinterpret_cast<LPARAM>(place.menu));
    else
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(place.item.id, 0), 0);
}

// Answers false when no menu is listed.
bool ChooseFromListed(const std::wstring& wanted) {
    std::wstring outcome;
    bool listed = false;
    RunOnUi([&] {
        MenuSession& session = Session();
        std::vector<HMENU> menus;
        HWND owner;
        {
            std::lock_guard<std::mutex> guard(session.lock);
            menus = session.listed;
            owner = session.listedOwner;
        }
        if (!(listed = !menus.empty())) return;
        for (HMENU menu : menus) {
            MenuItemPlace place;
            if (!FindMenuItem(menu, wanted, place)) continue;
            if (place.item.submenu) outcome = L"submenu: " + wanted;
            else if (place.item.greyed) outcome = L"greyed: " + wanted;
            else ChooseListed(place, menu, owner);
            if (outcome.empty()) {
                std::lock_guard<std::mutex> guard(session.lock);
                session.listed.clear();
            }
            return;
        }
        outcome = L"no item: " + wanted;
    });
    if (!outcome.empty()) Say(outcome);
    if (listed) SettleUi();
    return listed;
}

// --- commands ------------------------------------------------------------------------------

void OnMenu(const std::wstring& argument) {
    if (argument == L"host") return ListHostMenus();
    if (argument == L"editor") return OpenEditorMenu();
    if (argument == L"tree") return MenuKeyAndPrint(kTreeId, L"");
    if (argument == L"list") return MenuKeyAndPrint(kListId, L"");
    if (argument == L"header") return RightClickAndPrint(ClickTarget{L"header", L"", 0});
    Say(L"menu: expected tree, list, header, host or editor");
}

void OnChoose(const std::wstring& argument) {
    if (ChooseFromListed(argument)) return;
    ChooseOnScreen(argument);
}

}  // namespace

void CancelOpenMenu() {
    {
        MenuSession& session = Session();
        std::lock_guard<std::mutex> guard(session.lock);
        session.listed.clear();
    }
    if (NoPopupOpen()) return;
    RunOnUi([] { EndMenu(); });
    // The next command may open another menu or read what closing this one did: wait until
    // its loop has ended and the caller of TrackPopupMenu has gone on.
    WaitUntil(&NoPopupOpen);
    SettleUi();
}

std::vector<HWND> OpenMenuWindows() { return OpenPopups(); }

bool MenuIsOpen() {
    {
        MenuSession& session = Session();
        std::lock_guard<std::mutex> guard(session.lock);
        if (!session.listed.empty()) return true;
    }
    return AnyPopupOpen();
}

void InstallAutomationHooks(HMODULE plugin) { InstallAddRootHooks(plugin); }

extern const CommandEntry kMenuCommands[] = {
    {L"menu", &OnMenu},
    {L"right-click", &OnRightClick},
    {L"menu-key", &OnMenuKey},
    {L"choose", &OnChoose},
    {nullptr, nullptr},
};
