// A probe plugin for the host's own checks: a view with the plugin's control ids that writes
// what it observed (selection, typed text, keys with their modifiers, key notices, menu
// choices, message-box answers, drops) into its status line, where "status" reads it back.
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
// F4 makes the probe quit as a careless plugin would: its hook left on the host window, its
// frame record freed while the frame lives, the application service kept. The host must
// report each of them.
bool carelessQuit;
PrefsPageRecord page;
std::wstring lastNotice;

void Status(const std::wstring& text) { SetDlgItemTextW(view, 1019, text.c_str()); }

class TreeDropTarget final : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
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
        HWND tree = GetDlgItem(view, 1001);
        TVHITTESTINFO hit = {};
        hit.pt = {at.x, at.y};
        ScreenToClient(tree, &hit.pt);
        HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        wchar_t text[64] = L"(none)";
        TVITEMW tvi = {};
        tvi.mask = TVIF_TEXT;
        tvi.hItem = item;
        tvi.pszText = text;
        tvi.cchTextMax = 64;
        if (item) SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
        Status(L"drop " + std::to_wstring(count) + L" on " + text + L": " + first);
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
};
TreeDropTarget dropTarget;

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
    HostEnqueueRecord first = {L"C:\\music\\a.mp3", nullptr, 0};
    HostEnqueueRecord second = {L"C:\\music\\b.mp3", title, 61};
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

LRESULT CALLBACK ListHook(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_KEYDOWN && wp == VK_F7) {
        UsePlaylist();
    } else if (message == WM_KEYDOWN && wp == VK_F6) {
        HostFileInfoRecord info = {view, L"C:\\music\\a.mp3"};
        SendMessageW(record.hostWindow, kHostMessage, reinterpret_cast<WPARAM>(&info), kHostFileInfoDialog);
        Status(L"file info closed");
    } else if (message == WM_KEYDOWN && wp == VK_F4) {
        carelessQuit = true;
        Status(L"careless quit");
    } else if (message == WM_KEYDOWN && wp == VK_F8)
        PostMessageW(record.hostWindow, kHostMessage, reinterpret_cast<WPARAM>(&page), kHostOpenPrefs);
    else if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
        Status(L"key " + Modifiers() + std::to_wstring(wp) + L" after " + lastNotice);
    return CallWindowProcW(listProc, window, message, wp, lp);
}

void ShowMenu(HWND owner) {
    HMENU more = CreatePopupMenu();
    AppendMenuW(more, MF_STRING, 12, L"Deep");
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 10, L"&Play\tEnter");
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 11, L"Greyed");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), L"More");
    AppendMenuW(menu, MF_STRING, 13, L"Ask");
    SetMenuDefaultItem(menu, 10, FALSE);
    UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr);
    DestroyMenu(menu);
    if (chosen == 13) {
        int answer = MessageBoxW(nullptr, L"Really?\nSure?", L"Confirmation", MB_YESNO | MB_TOPMOST);
        Status(answer == IDYES ? L"answered yes" : L"answered no");
    } else {
        Status(L"menu " + std::to_wstring(chosen));
    }
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
            ShowMenu(dialog);
            return TRUE;
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
    RegisterDragDrop(tree, &dropTarget);
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
    // The frame is gone only once its window is: the host writes into the record until then.
    if (embed && IsWindow(embed->frame)) DestroyWindow(embed->frame);
    GlobalFree(embed);
}

}  // namespace

extern "C" __declspec(dllexport) PluginRecord* __cdecl winampGetGeneralPurposePlugin() { return &record; }
