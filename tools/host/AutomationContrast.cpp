// Readability checks: "contrast TARGET..." finds, on the screen's own pixels over each named
// text of the view, its background (the commonest colour) and the text's colour (the commonest of the
// rest), and prints both with their contrast ratio, so a check sees what a user would read.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <vector>

#include "AutomationCommon.h"
#include "HostCapture.h"
#include "HostPlayback.h"
#include "HostTasks.h"
#include "base/Text.h"
#include "host/SkinColors.h"
#include "logic/PixelArea.h"
#include "logic/ScriptLine.h"

namespace {

// The list column whose header is measured: a plain caption, never the sort column's mark.
constexpr int kHeaderColumn = 2;
// Insets that keep edges, focus frames and the button's border pieces out of a measured area.
constexpr int kTreeItemInset = 1;
constexpr int kHeaderInset = 2;
constexpr int kButtonInset = 4;

struct TextColors {
    DWORD text = 0, background = 0;
    bool found = false;
};

TextColors FindTextColors(const std::vector<DWORD>& pixels) {
    std::map<DWORD, int> counts;
    for (DWORD p : pixels) ++counts[p & 0xFFFFFF];
    if (counts.size() < 2) return {};
    std::vector<std::pair<int, DWORD>> ranked;
    for (auto [colour, count] : counts) ranked.emplace_back(count, colour);
    std::sort(ranked.rbegin(), ranked.rend());
    return {ranked[1].second, ranked[0].second, true};
}

COLORREF AsColorRef(DWORD rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

std::wstring Hex(DWORD rgb) {
    return HexColor(static_cast<unsigned char>(rgb >> 16), static_cast<unsigned char>(rgb >> 8),
                    static_cast<unsigned char>(rgb));
}

RECT ScreenRect(HWND window, RECT client) {
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

RECT Inset(RECT r, int by) {
    InflateRect(&r, -by, -by);
    return r;
}

bool TreeItemArea(HWND tree, HTREEITEM item, RECT& area) {
    if (!item) return false;
    RECT r = {};
    if (!TreeView_GetItemRect(tree, item, &r, TRUE)) return false;
    // A long name runs on under the scrollbar; only what the pane shows of it is read.
    RECT client;
    GetClientRect(tree, &client);
    IntersectRect(&r, &r, &client);
    area = ScreenRect(tree, Inset(r, kTreeItemInset));
    return true;
}

bool ListRowArea(HWND list, int row, RECT& area) {
    RECT r = {};
    if (row < 0 || !ListView_GetItemRect(list, row, &r, LVIR_BOUNDS)) return false;
    RECT client;
    GetClientRect(list, &client);
    IntersectRect(&r, &r, &client);
    area = ScreenRect(list, r);
    return !IsRectEmpty(&area);
}

// The first row on the page that is neither selected nor focused: what the skin's rows look like.
int NormalRow(HWND list) {
    int first = ListView_GetTopIndex(list), last = first + ListView_GetCountPerPage(list);
    for (int row = first; row < last && row < ListView_GetItemCount(list); ++row)
        if (!ListView_GetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED)) return row;
    return -1;
}

// The row of the file the host told the plugin it plays, found by its path column.
int PlayingRow(HWND list) {
    constexpr int kPathColumn = 13;
    std::wstring playing = StartedPath();
    if (playing.empty()) return -1;
    std::vector<wchar_t> text(4192);
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        text[0] = 0;
        ListView_GetItemText(list, row, kPathColumn, text.data(), static_cast<int>(text.size()));
        if (lstrcmpiW(text.data(), playing.c_str()) == 0) return row;
    }
    return -1;
}

bool ControlArea(int id, int inset, RECT& area) {
    HWND control = FindViewControl(id);
    if (!control || !IsWindowVisible(control)) return false;
    RECT client;
    GetClientRect(control, &client);
    area = ScreenRect(control, Inset(client, inset));
    return true;
}

// The tree's drop highlight is shown on the item below the selection (or above it, on the last)
// for as long as the measure takes, as a drag over the tree shows it; so is a pressed button.
bool TreeDropArea(HWND tree, RECT& area) {
    HTREEITEM selected = TreeView_GetSelection(tree);
    HTREEITEM target = selected ? TreeView_GetNextVisible(tree, selected) : nullptr;
    if (!target && selected) target = TreeView_GetPrevVisible(tree, selected);
    if (!target) return false;
    TreeView_SelectDropTarget(tree, target);
    UpdateWindow(tree);
    return TreeItemArea(tree, target, area);
}

// On the user-interface thread: the screen area of the text a target names.
bool TargetArea(const std::wstring& target, RECT& area) {
    HWND tree = FindViewControl(kTreeId), list = FindViewControl(kListId);
    if (target == L"tree-selection") return tree && TreeItemArea(tree, TreeView_GetSelection(tree), area);
    if (target == L"tree-drop") return tree && TreeDropArea(tree, area);
    if (target == L"list-normal") return list && ListRowArea(list, NormalRow(list), area);
    if (target == L"list-selection") return list && ListRowArea(list, ListView_GetNextItem(list, -1, LVNI_SELECTED), area);
    if (target == L"list-playing") return list && ListRowArea(list, PlayingRow(list), area);
    if (target == L"list-focus") return list && ListRowArea(list, ListView_GetNextItem(list, -1, LVNI_FOCUSED), area);
    if (target == L"header") {
        HWND header = list ? ListView_GetHeader(list) : nullptr;
        RECT r = {};
        if (!header || !Header_GetItemRect(header, kHeaderColumn, &r)) return false;
        area = ScreenRect(header, Inset(r, kHeaderInset));
        return true;
    }
    if (target == L"status") return ControlArea(kStatusId, 0, area);
    if (target == L"label") return ControlArea(kSearchLabelId, 0, area);
    if (target == L"search") return ControlArea(kSearchId, 1, area);
    if (target == L"clear") return ControlArea(kClearId, kButtonInset, area);
    if (target == L"clear-pressed") {
        // Drawn pushed in, as while the user holds the mouse on it, without the click that
        // would follow and empty the search box.
        HWND button = FindViewControl(kClearId);
        if (!button) return false;
        SendMessageW(button, BM_SETSTATE, TRUE, 0);
        UpdateWindow(button);
        return ControlArea(kClearId, kButtonInset, area);
    }
    return false;
}

void SayContrast(const std::wstring& target, const RECT& area) {
    std::vector<DWORD> pixels;
    TextColors colors;
    if (!IsRectEmpty(&area) && ReadScreen(area, pixels)) colors = FindTextColors(pixels);
    if (IsRectEmpty(&area)) return Say(L"contrast " + target + L": nothing to measure");
    if (!colors.found) return Say(L"contrast " + target + L": no text");
    wchar_t ratio[16];
    swprintf(ratio, 16, L"%.2f", ContrastRatio(AsColorRef(colors.text), AsColorRef(colors.background)));
    Say(L"contrast " + target + L": text " + Hex(colors.text) + L" on " + Hex(colors.background) + L" ratio " + ratio);
}

// "contrast TARGET..." measures several texts shown at once, waiting for the screen only once.
void OnContrast(const std::wstring& argument) {
    std::vector<std::wstring> targets = SplitWords(argument);
    if (targets.empty()) return Say(L"contrast: expected one or more texts to measure");
    std::vector<RECT> areas(targets.size());
    RunOnUi([&] {
        if (HWND view = FindViewDialog())
            RedrawWindow(GetAncestor(view, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        for (size_t i = 0; i < targets.size(); ++i)
            if (!TargetArea(targets[i], areas[i])) areas[i] = RECT{};
    });
    SettleUi();
    Sleep(kDisplayCatchUpMs);
    for (size_t i = 0; i < targets.size(); ++i) SayContrast(targets[i], areas[i]);
    RunOnUi([] {
        if (HWND tree = FindViewControl(kTreeId)) TreeView_SelectDropTarget(tree, nullptr);
        if (HWND button = FindViewControl(kClearId)) SendMessageW(button, BM_SETSTATE, FALSE, 0);
    });
}

}  // namespace

extern const CommandEntry kContrastCommands[] = {
    {L"contrast", &OnContrast},
    {nullptr, nullptr},
};
