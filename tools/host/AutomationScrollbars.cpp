// Scrollbar commands: real mouse presses on the vertical bar of the view's list or tree (an
// arrow, or the track just above the down arrow, held as long as asked) and the pane's top
// row, so a script can see the bars scroll the pane as a user's hand would.
#include <windows.h>

#include <commctrl.h>

#include "AutomationCommon.h"
#include "HostTasks.h"
#include "logic/ScriptLine.h"

namespace {

// The view's bars are as wide as the skin's pieces, and so are their arrows.
constexpr int kBarSize = 14;

int PaneId(const std::wstring& name) { return name == L"tree" ? kTreeId : name == L"list" ? kListId : 0; }

// A screen point on the pane's vertical bar, which lies just right of the client area.
bool BarPoint(HWND pane, const std::wstring& part, POINT& at) {
    RECT client;
    GetClientRect(pane, &client);
    int y;
    if (part == L"up") y = client.top + kBarSize / 2;
    else if (part == L"down") y = client.bottom - kBarSize / 2;
    else if (part == L"track-down") y = client.bottom - kBarSize - 4;
    else return false;
    at = POINT{client.right + kBarSize / 2, y};
    ClientToScreen(pane, &at);
    return true;
}

void SendButton(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

// "bar-click list down [hold-ms]"
void OnBarClick(const std::wstring& argument) {
    std::vector<std::wstring> words = SplitWords(argument);
    int hold = 50;
    if (words.size() < 2 || !PaneId(words[0]) || (words.size() > 2 && !ParseInt(words[2], hold)))
        return Say(L"bar-click: expected list|tree up|down|track-down [hold-ms]");
    POINT at = {};
    bool found = false;
    RunOnUi([&] {
        HWND pane = FindViewControl(PaneId(words[0]));
        found = pane && IsWindowVisible(pane) && BarPoint(pane, words[1], at);
    });
    if (!found) return Say(L"bar-click: no such bar part");
    SetCursorPos(at.x, at.y);
    Sleep(50);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    Sleep(static_cast<DWORD>(hold));
    SendButton(MOUSEEVENTF_LEFTUP);
    Sleep(50);
    SettleUi();
}

int TreeTopRow(HWND tree) {
    HTREEITEM first = TreeView_GetFirstVisible(tree);
    int row = 0;
    for (HTREEITEM item = TreeView_GetRoot(tree); item && item != first; item = TreeView_GetNextVisible(tree, item))
        ++row;
    return row;
}

// "top-row list": the first row the pane shows.
void OnTopRow(const std::wstring& argument) {
    int id = PaneId(argument);
    if (!id) return Say(L"top-row: expected list or tree");
    int row = -1;
    RunOnUi([&] {
        if (HWND pane = FindViewControl(id)) row = id == kListId ? ListView_GetTopIndex(pane) : TreeTopRow(pane);
    });
    Say(L"top-row " + argument + L" " + std::to_wstring(row));
}

}  // namespace

extern const CommandEntry kScrollbarCommands[] = {
    {L"bar-click", &OnBarClick},
    {L"top-row", &OnTopRow},
    {nullptr, nullptr},
};
