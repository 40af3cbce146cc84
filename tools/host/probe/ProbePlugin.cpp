// A probe plugin for the host's own checks: a view with the plugin's control ids that writes
// what it observed (selection, typed text, keys with their modifiers, key notices, where a
// context menu was asked for and what was chosen in it, row clicks with the selection mark,
// message-box answers, the calls of a drag) into its status line, where "status" reads it.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "host/HostApi.h"
#include "host/PluginRecord.h"
#include "host/ServiceDispatch.h"

namespace {

int __cdecl Init();
void __cdecl Config() {}
void __cdecl Quit();

PluginRecord record = {kPluginRecordVersion, "Host probe", Init, Config, Quit, nullptr, nullptr};
HWND view;
WNDPROC hostProc;
WNDPROC listProc;
EmbedRecord* embed;
// F11 makes the probe quit as a careless plugin would: its hook left on the host window, its
// frame record freed while the frame lives, the application service kept. The host must
// report each of them.
bool carelessQuit;
PrefsPageRecord page;
std::wstring lastNotice;

void Status(const std::wstring& text) { SetDlgItemTextW(view, 1019, text.c_str()); }

std::wstring ItemTextAt(HWND tree, POINT screen) {
    TVHITTESTINFO hit = {};
    hit.pt = screen;
    ScreenToClient(tree, &hit.pt);
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    wchar_t text[64] = L"(none)";
    TVITEMW tvi = {};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = text;
    tvi.cchTextMax = 64;
    if (item && (hit.flags & TVHT_ONITEM)) SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
    else lstrcpyW(text, L"(none)");
    return text;
}

// The tree takes dropped files, the list refuses them; each logs the calls it received, so a
// Drop after a refused DragEnter shows.
class LoggingDropTarget final : public IDropTarget {
public:
    LoggingDropTarget(const wchar_t* name, DWORD answer) : name_(name), answer_(answer) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD keys, POINTL, DWORD* effect) override {
        log_ = (keys & MK_LBUTTON) ? L"enter" : L"enter(no button)";
        *effect = answer_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        if (log_.size() < 5 || log_.compare(log_.size() - 5, 5, L",over") != 0) log_ += L",over";
        *effect = answer_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        Status(name_ + L" " + log_ + L",leave");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL at, DWORD* effect) override {
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        if (FAILED(data->GetData(&format, &medium))) return E_FAIL;
        auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        wchar_t first[MAX_PATH] = {};
        DragQueryFileW(drop, 0, first, MAX_PATH);
        GlobalUnlock(medium.hGlobal);
        ReleaseStgMedium(&medium);
        std::wstring on = name_ == L"tree" ? ItemTextAt(GetDlgItem(view, 1001), {at.x, at.y}) : L"the list";
        Status(name_ + L" " + log_ + L",drop " + std::to_wstring(count) + L" on " + on + L": " + first);
        *effect = answer_;
        return S_OK;
    }

private:
    std::wstring name_;
    DWORD answer_;
    std::wstring log_;
};
LoggingDropTarget treeDropTarget(L"tree", DROPEFFECT_COPY);
LoggingDropTarget listDropTarget(L"list", DROPEFFECT_NONE);

std::wstring Modifiers() {
    std::wstring text;
    if (GetKeyState(VK_CONTROL) < 0) text += L"Ctrl+";
    if (GetKeyState(VK_SHIFT) < 0) text += L"Shift+";
    if (GetKeyState(VK_MENU) < 0) text += L"Alt+";
    return text;
}

LRESULT CALLBACK HostHook(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kHostMessage && lp == kHostQueuedMessage) {
        MSG* msg = reinterpret_cast<MSG*>(wp);
        lastNotice = L"notice " + std::to_wstring(msg->wParam);
        // The probe swallows F9 as the plugin swallows Alt+S.
        if (msg->wParam == VK_F9) msg->wParam = 0;
    } else if (message == kHostMessage && lp == kHostFileStarted) {
        Status(L"playing " + std::wstring(reinterpret_cast<const wchar_t*>(wp)));
    } else if (message == WM_DISPLAYCHANGE) {
        Status(L"skin changed");
    }
    return CallWindowProcW(hostProc, window, message, wp, lp);
}

// Answers all three kinds a tag callback may: a block, known-empty, and unknown (null).
wchar_t* __cdecl TitleTag(const wchar_t* key, void*) {
    if (lstrcmpiW(key, L"title") == 0) return kTitleTagEmpty;
    if (lstrcmpiW(key, L"artist") != 0) return nullptr;
    auto* answer = static_cast<wchar_t*>(GlobalAlloc(GPTR, 520));
    lstrcpynW(answer, L"Probe Artist", 260);
    return answer;
}

int freedAnswers;
void __cdecl TitleFree(wchar_t* value, void*) {
    ++freedAnswers;
    GlobalFree(value);
}

// The playlist requests in the order the plugin's enqueue commands use them.
void UsePlaylist() {
    HWND host = record.hostWindow;
    SendMessageW(host, kHostMessage, 0, kHostClearPlaylist);
    wchar_t title[260] = {};
    HostTitleRequest request = {L"C:\\music\\b.mp3", 1, nullptr, nullptr, title, 260, TitleTag, TitleFree};
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&request), kHostFormatTitle);
    HostEnqueueRecord first = {L"C:\\music\\a.mp3", nullptr, nullptr, 0};
    HostEnqueueRecord second = {L"C:\\music\\b.mp3", title, nullptr, 61};
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&first), kHostEnqueueFile);
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&second), kHostEnqueueFile);
    HWND editor = reinterpret_cast<HWND>(SendMessageW(host, kHostMessage, 1, kHostGetWindow));
    EditorInsertFile insert = {};
    lstrcpyW(insert.path, L"C:\\music\\inserted.mp3");
    insert.index = 1;
    COPYDATASTRUCT data = {kEditorInsertFileCopyData, sizeof(insert), &insert};
    SendMessageW(editor, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    LRESULT length = SendMessageW(host, kHostMessage, 0, kHostPlaylistLength);
    auto* path = reinterpret_cast<const wchar_t*>(SendMessageW(host, kHostMessage, 1, kHostPlaylistEntryPath));
    LRESULT selected = SendMessageW(editor, kHostMessage, kEditorNextSelected, -1);
    HGLOBAL extensions = reinterpret_cast<HGLOBAL>(SendMessageW(host, kHostMessage, 0, kHostPlayableExtensions));
    std::wstring first3 = extensions ? static_cast<const wchar_t*>(GlobalLock(extensions)) : L"";
    if (extensions) {
        GlobalUnlock(extensions);
        GlobalFree(extensions);
    }
    Status(L"title " + std::wstring(title) + L", freed " + std::to_wstring(freedAnswers) + L", length " +
           std::to_wstring(length) + L", entry 1 " + path + L", selected " + std::to_wstring(selected) +
           L", first extension " + first3);
}

std::wstring RowsAndMark(HWND list) {
    std::wstring rows;
    for (int row = -1; (row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) != -1;)
        rows += (rows.empty() ? L"" : L",") + std::to_wstring(row);
    return L"rows " + (rows.empty() ? L"none" : rows) + L" mark " +
           std::to_wstring(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
}

// What the careless probe does before it quits: an enqueue record of the older three-field
// layout, whose length the newest players take for a text's address, and a menu item of its
// own in the host's main menu that it never takes out again.
void ActCarelessly() {
    HWND host = record.hostWindow;
    struct ThreeFields {
        const wchar_t* path;
        const wchar_t* title;
        int lengthSeconds;
    } old = {L"C:\\music\\a.mp3", nullptr, 185};
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&old), kHostEnqueueFile);
    auto id = static_cast<UINT>(SendMessageW(host, kHostMessage, 0, kHostNewCommandId));
    auto menu = reinterpret_cast<HMENU>(SendMessageW(host, kHostMessage, 0, kHostGetMenu));
    AppendMenuW(menu, MF_STRING, id, L"Probe");
}

LRESULT CALLBACK ListHook(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_KEYDOWN && wp == VK_F7) {
        UsePlaylist();
    } else if (message == WM_KEYDOWN && wp == VK_F4) {
        Status(L"selection " + RowsAndMark(window));
    } else if (message == WM_KEYDOWN && wp == VK_F6) {
        HostFileInfoRecord info = {view, L"C:\\music\\a.mp3"};
        SendMessageW(record.hostWindow, kHostMessage, reinterpret_cast<WPARAM>(&info), kHostFileInfoDialog);
        Status(L"file info closed");
    } else if (message == WM_KEYDOWN && wp == VK_F11) {
        carelessQuit = true;
        ActCarelessly();
        Status(L"careless quit");
    } else if (message == WM_KEYDOWN && wp == VK_F8)
        PostMessageW(record.hostWindow, kHostMessage, reinterpret_cast<WPARAM>(&page), kHostOpenPrefs);
    else if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
        Status(L"key " + Modifiers() + std::to_wstring(wp) + L" after " + lastNotice);
    return CallWindowProcW(listProc, window, message, wp, lp);
}

// The context menu, as the plugin's are built: a default item, a greyed one, a submenu, an
// owner-drawn item, a question, and a "Send to" submenu filled only when it opens whose items
// share one command and are told apart by the item last highlighted.
enum ProbeMenuId : UINT {
    kMenuPlay = 10, kMenuGreyed = 11, kMenuDeep = 12, kMenuAsk = 13, kMenuDrawn = 14, kMenuSendTo = 15,
};
constexpr int kDrawnWidth = 120, kDrawnHeight = 22;
const wchar_t kDrawnCaption[] = L"Drawn";

struct OpenMenuLog {
    HMENU sendTo = nullptr;
    ULONG_PTR highlighted = 0;
    std::wstring opened;
    int drawn = 0;
};
OpenMenuLog menuLog;

void OnProbeInitMenuPopup(HMENU menu) {
    if (menu == menuLog.sendTo) {
        while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
        const wchar_t* targets[] = {L"Alpha", L"Beta"};
        for (int i = 0; i < 2; ++i) {
            MENUITEMINFOW item = {};
            item.cbSize = sizeof(item);
            item.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA;
            item.wID = kMenuSendTo;
            item.dwItemData = i + 1;
            item.dwTypeData = const_cast<wchar_t*>(targets[i]);
            InsertMenuItemW(menu, i, TRUE, &item);
        }
    }
    wchar_t caption[32] = {};
    if (menu == menuLog.sendTo) lstrcpyW(caption, L"Send to");
    else if (GetMenuItemID(menu, 0) == kMenuDeep) lstrcpyW(caption, L"More");
    else return;
    menuLog.opened += (menuLog.opened.empty() ? L"" : L"+") + std::wstring(caption);
}

void OnProbeMenuSelect(HMENU menu) {
    if (menu != menuLog.sendTo) return;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_STATE | MIIM_DATA;
        if (GetMenuItemInfoW(menu, i, TRUE, &item) && (item.fState & MFS_HILITE)) menuLog.highlighted = item.dwItemData;
    }
}

// Where the user asked for the menu: the key (-1, -1) at the selection, or the point.
std::wstring ContextOf(HWND source, LPARAM lp) {
    POINT at = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    HWND tree = GetDlgItem(view, 1001), list = GetDlgItem(view, 1002);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    bool key = at.x == -1 && at.y == -1;
    // A list may report its header's right click as its own: the point tells.
    RECT headerRect;
    if (!key && GetWindowRect(header, &headerRect) && PtInRect(&headerRect, at)) return L"header";
    if (source == tree) {
        if (!key) return L"tree " + ItemTextAt(tree, at);
        wchar_t text[64] = L"(none)";
        TVITEMW tvi = {};
        tvi.mask = TVIF_TEXT;
        tvi.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        tvi.pszText = text;
        tvi.cchTextMax = 64;
        if (tvi.hItem) SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
        return L"key tree " + std::wstring(text);
    }
    if (source == list) {
        if (key) return L"key list " + RowsAndMark(list);
        LVHITTESTINFO hit = {};
        hit.pt = at;
        ScreenToClient(list, &hit.pt);
        int row = static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        return L"list " + (row >= 0 ? L"row " + std::to_wstring(row) : std::wstring(L"empty")) + L", " +
               RowsAndMark(list);
    }
    return L"elsewhere";
}

void ShowMenu(HWND owner, const std::wstring& context) {
    HMENU more = CreatePopupMenu();
    AppendMenuW(more, MF_STRING, kMenuDeep, L"Deep");
    menuLog = OpenMenuLog();
    menuLog.sendTo = CreatePopupMenu();
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kMenuPlay, L"&Play\tEnter");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, kMenuGreyed, L"Greyed");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(menuLog.sendTo), L"Send to");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), L"More");
    AppendMenuW(menu, MF_OWNERDRAW, kMenuDrawn, reinterpret_cast<const wchar_t*>(kDrawnCaption));
    AppendMenuW(menu, MF_STRING, kMenuAsk, L"Ask");
    SetMenuDefaultItem(menu, kMenuPlay, FALSE);
    UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr);
    DestroyMenu(menu);
    OpenMenuLog log = menuLog;
    menuLog = OpenMenuLog();
    if (chosen == kMenuAsk) {
        int answer = MessageBoxW(nullptr, L"Really?\nSure?", L"Confirmation", MB_YESNO | MB_TOPMOST);
        Status(answer == IDYES ? L"answered yes" : L"answered no");
        return;
    }
    std::wstring text = L"menu " + std::to_wstring(chosen) + L" from " + context;
    if (chosen == kMenuSendTo) text += L", sent to " + std::to_wstring(log.highlighted);
    if (!log.opened.empty()) text += L", opened " + log.opened;
    if (log.drawn) text += L", drawn";
    Status(text);
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM) {
    if (message == BFFM_INITIALIZED) SendMessageW(browser, BFFM_ENABLEOK, 0, FALSE);
    if (message == BFFM_SELCHANGED) SendMessageW(browser, BFFM_ENABLEOK, 0, TRUE);
    return 0;
}

// The view's insert-root command: the folder browser or the open dialog, as the plugin's.
void InsertRoot(LPARAM kind) {
    wchar_t path[MAX_PATH] = {};
    if (kind == 0) {
        BROWSEINFOW info = {};
        info.hwndOwner = view;
        info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
        info.lpfn = BrowseCallback;
        LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
        if (chosen && SHGetPathFromIDListW(chosen, path)) Status(L"root " + std::wstring(path));
        else Status(L"root cancelled");
        CoTaskMemFree(chosen);
    } else {
        OPENFILENAMEW open = {};
        open.lStructSize = sizeof(open);
        open.hwndOwner = view;
        open.lpstrFilter = L"Playlists (*.m3u, *.m3u8)\0*.m3u;*.m3u8\0All files (*.*)\0*.*\0";
        open.lpstrFile = path;
        open.nMaxFile = MAX_PATH;
        open.Flags = OFN_EXPLORER | OFN_CREATEPROMPT;
        Status(GetOpenFileNameW(&open) ? L"playlist " + std::wstring(path) : L"playlist cancelled");
    }
}

INT_PTR CALLBACK PageProc(HWND dialog, UINT message, WPARAM wp, LPARAM) {
    if (message == WM_INITDIALOG) {
        for (const wchar_t* item : {L"One", L"Two", L"Three"})
            SendDlgItemMessageW(dialog, 1022, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wp) == 1040 && HIWORD(wp) == BN_CLICKED)
        Status(L"check " + std::to_wstring(IsDlgButtonChecked(dialog, 1040)));
    if (message == WM_COMMAND && LOWORD(wp) == 1022 && HIWORD(wp) == CBN_SELCHANGE) {
        wchar_t text[32] = {};
        GetDlgItemTextW(dialog, 1022, text, 32);
        Status(L"combo " + std::wstring(text));
    }
    return FALSE;
}

INT_PTR CALLBACK ViewProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_USER + 3:
            if (wp == 1004) InsertRoot(lp);
            return TRUE;
        case WM_CONTEXTMENU:
            ShowMenu(dialog, ContextOf(reinterpret_cast<HWND>(wp), lp));
            return TRUE;
        case WM_INITMENUPOPUP:
            OnProbeInitMenuPopup(reinterpret_cast<HMENU>(wp));
            return TRUE;
        case WM_MENUSELECT:
            OnProbeMenuSelect(reinterpret_cast<HMENU>(lp));
            return TRUE;
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            if (item->CtlType != ODT_MENU || item->itemID != kMenuDrawn) return FALSE;
            item->itemWidth = kDrawnWidth;
            item->itemHeight = kDrawnHeight;
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            if (item->CtlType != ODT_MENU || item->itemID != kMenuDrawn) return FALSE;
            ++menuLog.drawn;
            DrawTextW(item->hDC, kDrawnCaption, -1, &item->rcItem, DT_SINGLELINE | DT_VCENTER);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wp) == 1003 && HIWORD(wp) == EN_CHANGE) {
                wchar_t text[256] = {};
                GetDlgItemTextW(dialog, 1003, text, 256);
                Status(L"search " + std::wstring(text));
            }
            return TRUE;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lp);
            if (header->code == TVN_SELCHANGEDW) {
                auto* change = reinterpret_cast<NMTREEVIEWW*>(lp);
                wchar_t text[64] = {};
                TVITEMW tvi = {};
                tvi.mask = TVIF_TEXT;
                tvi.hItem = change->itemNew.hItem;
                tvi.pszText = text;
                tvi.cchTextMax = 64;
                SendMessageW(header->hwndFrom, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
                Status(L"selected " + std::wstring(text));
            } else if (header->code == NM_DBLCLK && header->idFrom == 1002) {
                Status(L"double-click " + std::to_wstring(reinterpret_cast<NMITEMACTIVATE*>(lp)->iItem));
            } else if (header->code == LVN_COLUMNCLICK) {
                Status(L"column " + std::to_wstring(reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem));
            }
            return TRUE;
        }
    }
    return FALSE;
}

HTREEITEM AddItem(HWND tree, HTREEITEM parent, const wchar_t* text) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FillView() {
    HWND tree = GetDlgItem(view, 1001);
    HTREEITEM top = AddItem(tree, TVI_ROOT, L"My Library");
    HTREEITEM rock = AddItem(tree, top, L"Rock");
    AddItem(tree, rock, L"Live");
    AddItem(tree, top, L"Jazz");
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top));
    HWND list = GetDlgItem(view, 1002);
    const wchar_t* columns[] = {L"Name", L"Folder"};
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 90;
        column.pszText = const_cast<wchar_t*>(columns[c]);
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    const wchar_t* rows[][2] = {{L"a.mp3", L"Rock"}, {L"b.mp3", L"Live"}, {L"c.mp3", L"Jazz"}};
    for (int r = 0; r < 3; ++r) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<wchar_t*>(rows[r][0]);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(rows[r][1]);
        SendMessageW(list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
    }
    listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListHook)));
    RegisterDragDrop(tree, &treeDropTarget);
    RegisterDragDrop(list, &listDropTarget);
}

int __cdecl Init() {
    HWND host = record.hostWindow;
    hostProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HostHook)));
    embed = static_cast<EmbedRecord*>(GlobalAlloc(GPTR, sizeof(EmbedRecord)));
    embed->rect = {50, 50, 650, 450};
    HWND frame = reinterpret_cast<HWND>(SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(embed), kHostCreateFrame));
    page = {record.instance, 109, PageProc, "Probe", 0, {0, 0}};
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&page), kHostRegisterPrefsPage);
    view = CreateDialogParamW(record.instance, MAKEINTRESOURCEW(101), frame, ViewProc, 0);
    FillView();
    RECT client;
    GetClientRect(frame, &client);
    MoveWindow(view, 0, 0, client.right, client.bottom, TRUE);
    ShowWindow(frame, SW_SHOWNOACTIVATE);
    return 0;
}

void __cdecl Quit() {
    RevokeDragDrop(GetDlgItem(view, 1001));
    RevokeDragDrop(GetDlgItem(view, 1002));
    SetWindowLongPtrW(GetDlgItem(view, 1002), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
    DestroyWindow(view);
    if (carelessQuit) {
        GlobalFree(embed);
        // Never deleted: the interface is not given back to its factory.
        new HostServiceInterface(SendMessageW(record.hostWindow, kHostMessage, 0, kHostServiceManager),
                                 kApplicationServiceGuid);
        return;
    }
    SetWindowLongPtrW(record.hostWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hostProc));
    SendMessageW(record.hostWindow, kHostMessage, reinterpret_cast<WPARAM>(&page), kHostRemovePrefsPage);
    // The frame is gone only once its window is: the host writes into the record until then.
    if (embed && IsWindow(embed->frame)) DestroyWindow(embed->frame);
    GlobalFree(embed);
}

}  // namespace

extern "C" __declspec(dllexport) PluginRecord* __cdecl winampGetGeneralPurposePlugin() { return &record; }
