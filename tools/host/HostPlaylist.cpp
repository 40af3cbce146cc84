// The playlist requests and the playlist editor window: a list box of the entries with a
// context menu shaped like the player's, so that the plugin's additions to it can be seen.
#include "HostPlaylist.h"

#include <windowsx.h>

#include <string>

#include "HostApp.h"
#include "HostOutput.h"
#include "PlayerInterface.h"
#include "ReadableMemory.h"
#include "base/Path.h"
#include "base/Text.h"

namespace {

constexpr wchar_t kEditorClass[] = L"CvHostPlaylistEditor";
constexpr int kEntryListId = 100;

enum EditorCommand : UINT {
    kCmdPlayItem = standin::kEditorMenuFirstCommand,
    kCmdRemoveItem = 40185,
    kCmdCropItems = 40186,
    kCmdClearList = 40187,
    kCmdFileInfo = 40188,
    kCmdSortTitle = 40189,
    kCmdSortPath = 40190,
    kCmdReverse = 40191,
    kCmdRandomize = 40192,
    kCmdSaveList = 40193,
    kCmdLoadList = 40194,
};

PlaylistModel model;
HMENU editorMenu;
// The answer of request 214 stays valid until the next request, as the player's does.
std::wstring entryPathAnswer;

HWND EntryList() { return GetDlgItem(Host().playlistEditor, kEntryListId); }

std::wstring EntryText(int index, const PlaylistEntry& entry) {
    std::wstring title = entry.title.empty() ? FileNamePart(entry.path) : entry.title;
    std::wstring text = FormatInt(index + 1) + L". " + title;
    if (entry.lengthSeconds > 0) {
        wchar_t length[32];
        wsprintfW(length, L"  %d:%02d", entry.lengthSeconds / 60, entry.lengthSeconds % 60);
        text += length;
    }
    return text;
}

HMENU BuildEditorMenu() {
    HMENU menu = CreatePopupMenu();
    struct Item { UINT id; const wchar_t* text; } items[] = {
        {kCmdPlayItem, L"&Play item\tEnter"}, {kCmdRemoveItem, L"&Remove item(s)\tDel"},
        {kCmdCropItems, L"&Crop item(s)"}, {kCmdClearList, L"C&lear playlist"},
        {kCmdFileInfo, L"View file &info...\tAlt+3"}, {0, nullptr},
        {kCmdSortTitle, L"Sort by &title"}, {kCmdSortPath, L"Sort by &path"},
        {kCmdReverse, L"Re&verse list"}, {kCmdRandomize, L"R&andomize list"}, {0, nullptr},
        {kCmdSaveList, L"&Save playlist..."}, {kCmdLoadList, L"L&oad playlist..."},
    };
    for (const Item& item : items)
        AppendMenuW(menu, item.text ? MF_STRING : MF_SEPARATOR, item.id, item.text);
    return menu;
}

LRESULT OnNextSelected(LPARAM previous) {
    int count = static_cast<int>(SendMessageW(EntryList(), LB_GETCOUNT, 0, 0));
    for (int i = static_cast<int>(previous) + 1; i < count; ++i)
        if (SendMessageW(EntryList(), LB_GETSEL, i, 0) > 0) return i;
    return -1;
}

LRESULT OnInsertFile(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != standin::kEditorInsertFile || data->cbData < sizeof(standin::InsertFileBlock))
        return 0;
    auto* insert = static_cast<const standin::InsertFileBlock*>(data->lpData);
    PlaylistEntry entry;
    entry.path.assign(insert->path, wcsnlen(insert->path, 260));
    model.Insert(insert->index, entry);
    RefreshPlaylistEditor();
    return 1;
}

void OnEditorCommand(UINT id) {
    int selected = static_cast<int>(OnNextSelected(-1));
    if (id == kCmdPlayItem && selected >= 0) {
        model.SetPosition(selected);
        PostMessageW(Host().mainWindow, WM_COMMAND, standin::kPlayCommand, 0);
    } else if (id == kCmdClearList) {
        model.Clear();
        RefreshPlaylistEditor();
    }
}

void OnEditorContextMenu(HWND window, LPARAM lp) {
    POINT at = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (at.x == -1 && at.y == -1) {
        at = {0, 0};
        ClientToScreen(window, &at);
    }
    UINT id = TrackPopupMenu(editorMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    if (id) SendMessageW(window, WM_COMMAND, id, 0);
}

LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_CREATE:
            CreateWindowW(L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL |
                          LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0, window,
                          reinterpret_cast<HMENU>(kEntryListId), Host().instance, nullptr);
            return 0;
        case WM_SIZE:
            MoveWindow(EntryList(), 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
            return 0;
        case WM_COPYDATA:
            return OnInsertFile(reinterpret_cast<const COPYDATASTRUCT*>(lp));
        case standin::kRequestMessage:
            return wp == standin::kEditorNextSelected ? OnNextSelected(lp) : 0;
        case WM_CONTEXTMENU:
            OnEditorContextMenu(window, lp);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kEntryListId && HIWORD(wp) == LBN_DBLCLK) OnEditorCommand(kCmdPlayItem);
            else if (lp == 0) OnEditorCommand(LOWORD(wp));
            return 0;
        case WM_CLOSE:
            ShowWindow(window, SW_HIDE);
            return 0;
    }
    return DefWindowProcW(window, message, wp, lp);
}

}  // namespace

PlaylistModel& ThePlaylist() { return model; }

HWND CreatePlaylistEditor(HINSTANCE instance, HWND owner) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = EditorProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kEditorClass;
    RegisterClassW(&wc);
    editorMenu = BuildEditorMenu();
    return CreateWindowExW(WS_EX_TOOLWINDOW, kEditorClass, L"Playlist editor",
                           WS_OVERLAPPEDWINDOW, 60, 420, 420, 260, owner, nullptr, instance, nullptr);
}

void RefreshPlaylistEditor() {
    HWND list = EntryList();
    if (!list) return;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < model.Length(); ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(EntryText(i, *model.At(i)).c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

HMENU PlaylistEditorMenu() { return editorMenu; }

LRESULT OnClearPlaylist(WPARAM) {
    model.Clear();
    RefreshPlaylistEditor();
    return 0;
}

LRESULT OnPlaylistLength(WPARAM) { return model.Length(); }
LRESULT OnPlaylistPosition(WPARAM) { return model.Position(); }

LRESULT OnSetPlaylistPosition(WPARAM index) {
    model.SetPosition(static_cast<int>(index));
    return 0;
}

LRESULT OnPlaylistEntryPath(WPARAM index) {
    const PlaylistEntry* entry = model.At(static_cast<int>(index));
    if (!entry) return 0;
    entryPathAnswer = entry->path;
    return reinterpret_cast<LRESULT>(entryPathAnswer.c_str());
}

LRESULT OnEnqueueFile(WPARAM record) {
    auto* enqueue = reinterpret_cast<const standin::EnqueueRecord*>(record);
    if (!enqueue || !enqueue->path) return 0;
    // The player would read the third field as a text wherever it points.
    if (enqueue->extension && !IsReadableWideText(enqueue->extension)) {
        wchar_t field[16];
        swprintf(field, 16, L"0x%08X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(enqueue->extension)));
        ReportPluginFault(std::wstring(L"host: request 1100 holds ") + field +
                          L" where the player reads a text or null; the player would crash");
        return 0;
    }
    PlaylistEntry entry;
    entry.path = enqueue->path;
    if (enqueue->title) entry.title = enqueue->title;
    entry.lengthSeconds = enqueue->lengthSeconds;
    model.Append(entry);
    RefreshPlaylistEditor();
    return 1;
}

LRESULT OnGetShuffle(WPARAM) { return model.Shuffle() ? 1 : 0; }

LRESULT OnSetShuffle(WPARAM on) {
    model.SetShuffle(on != 0);
    return 0;
}

LRESULT OnGetWindow(WPARAM which) {
    return which == 1 ? reinterpret_cast<LRESULT>(Host().playlistEditor) : 0;
}
