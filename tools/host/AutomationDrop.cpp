// The drop command: files dropped on the view's tree or list as the shell drops them, through
// the drop target the plugin registered for that window, with the dropped-file list format.
// The target is taken from the window property under which OLE keeps it for the window's own
// process, so the plugin's DragEnter, DragOver and Drop run exactly as in a real drag.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "AutomationCommon.h"
#include "HostApp.h"
#include "HostTasks.h"
#include "logic/ScriptLine.h"

namespace {

constexpr wchar_t kDropTargetProperty[] = L"OleDropTargetInterface";

class FileListData final : public IDataObject {
public:
    explicit FileListData(const std::vector<std::wstring>& paths) : paths_(paths) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (!left) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = BuildDropFiles();
        medium->pUnkForRelease = nullptr;
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) &&
                       format->dwAspect == DVASPECT_CONTENT
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    HGLOBAL BuildDropFiles() const {
        size_t chars = 1;
        for (const std::wstring& path : paths_) chars += path.size() + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        if (!block) return nullptr;
        auto* header = static_cast<DROPFILES*>(GlobalLock(block));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        auto* text = reinterpret_cast<wchar_t*>(header + 1);
        for (const std::wstring& path : paths_) {
            memcpy(text, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
            text += path.size() + 1;
        }
        GlobalUnlock(block);
        return block;
    }

    std::vector<std::wstring> paths_;
    ULONG refs_ = 1;
};

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// TVM_GETITEMRECT takes the item in the rectangle it fills.
bool TreeItemRect(HWND tree, HTREEITEM item, BOOL textOnly, RECT& r) {
    memcpy(&r, &item, sizeof(item));
    return SendMessageW(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r)) != 0;
}

// A point in the window's client area: on the named tree item, or in empty space below the
// last item or row.
bool DropPoint(HWND window, bool tree, const std::wstring& itemPath, POINT& at) {
    RECT client;
    GetClientRect(window, &client);
    int bottom = 0;
    if (tree && !itemPath.empty()) {
        // Reuse the select command's matching by selecting nothing: walk for the text path.
        HTREEITEM item = FindTreeItemByPath(window, itemPath);
        if (!item) return false;
        SendMessageW(window, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        RECT r;
        if (!TreeItemRect(window, item, TRUE, r)) return false;
        at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        return true;
    }
    if (tree) {
        for (HTREEITEM item = NextItem(window, nullptr, TVGN_FIRSTVISIBLE); item; item = NextItem(window, item, TVGN_NEXTVISIBLE)) {
            RECT r;
            if (TreeItemRect(window, item, FALSE, r)) bottom = r.bottom;
        }
    } else {
        int count = static_cast<int>(SendMessageW(window, LVM_GETITEMCOUNT, 0, 0));
        RECT r = {};
        r.left = LVIR_BOUNDS;
        if (count > 0 && SendMessageW(window, LVM_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&r))) bottom = r.bottom;
        HWND header = reinterpret_cast<HWND>(SendMessageW(window, LVM_GETHEADER, 0, 0));
        RECT h = {};
        if (header && IsWindowVisible(header)) GetClientRect(header, &h);
        bottom = std::max<int>(bottom, h.bottom);
    }
    if (bottom + 4 >= client.bottom) return false;
    at = {client.left + 20, (bottom + client.bottom) / 2};
    return true;
}

std::wstring EffectName(DWORD effect) {
    if (effect & DROPEFFECT_COPY) return L"copy";
    if (effect & DROPEFFECT_MOVE) return L"move";
    if (effect & DROPEFFECT_LINK) return L"link";
    return L"none";
}

void OnDrop(const std::wstring& argument) {
    std::vector<std::wstring> words = SplitWords(argument);
    if (words.size() < 2) return Say(L"drop: expected list, tree or tree:PATH and files");
    std::wstring where = words[0];
    bool tree = where == L"tree" || where.compare(0, 5, L"tree:") == 0;
    if (!tree && where != L"list") return Say(L"drop: expected list, tree or tree:PATH");
    std::wstring itemPath = where.size() > 5 && tree ? where.substr(5) : L"";
    std::vector<std::wstring> files;
    for (size_t i = 1; i < words.size(); ++i) files.push_back(NormalizeHostPath(words[i]));

    std::wstring outcome;
    RunOnUi([&] {
        HWND window = FindViewControl(tree ? kTreeId : kListId);
        auto* target = window ? static_cast<IDropTarget*>(GetPropW(window, kDropTargetProperty)) : nullptr;
        if (!target) {
            outcome = L"unsupported";
            return;
        }
        POINT at;
        if (!DropPoint(window, tree, itemPath, at)) {
            outcome = itemPath.empty() ? L"drop: no free space to drop on" : L"no item: " + itemPath;
            return;
        }
        ClientToScreen(window, &at);
        POINTL screen = {at.x, at.y};
        auto* data = new FileListData(files);
        target->AddRef();
        DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        DWORD effect = allowed;
        if (SUCCEEDED(target->DragEnter(data, MK_LBUTTON, screen, &effect)) && effect != DROPEFFECT_NONE) {
            effect = allowed;
            target->DragOver(MK_LBUTTON, screen, &effect);
        }
        if (effect != DROPEFFECT_NONE) {
            effect = allowed;
            target->Drop(data, MK_LBUTTON, screen, &effect);
        } else {
            target->DragLeave();
        }
        outcome = L"drop: " + EffectName(effect);
        target->Release();
        data->Release();
    });
    Say(outcome);
    SettleUi();
}

}  // namespace

extern const CommandEntry kDropCommands[] = {
    {L"drop", &OnDrop},
    {nullptr, nullptr},
};
