// The stand-in player's drop target window: it takes a dropped-file list, prints its paths and
// the effect it answered, and records enter, over and drop for the script to wait on.
#include "HostDropTarget.h"

#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "AutomationCommon.h"
#include "HostComObject.h"

namespace {

constexpr wchar_t kClassName[] = L"CvHostDropTarget";
constexpr int kWidth = 200;
constexpr int kHeight = 120;
constexpr int kScreenMargin = 20;

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// Shift asks for a move, as in the shell; otherwise a copy when the source allows one.
DWORD HostEffect(DWORD keyState, DWORD allowed) {
    if ((keyState & MK_SHIFT) && (allowed & DROPEFFECT_MOVE)) return DROPEFFECT_MOVE;
    if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    return allowed & DROPEFFECT_MOVE;
}

std::wstring EffectName(DWORD effect) {
    if (effect == DROPEFFECT_COPY) return L"copy";
    if (effect == DROPEFFECT_MOVE) return L"move";
    return L"none";
}

std::vector<std::wstring> ReceivedPaths(IDataObject* data) {
    std::vector<std::wstring> paths;
    FORMATETC format = FileListFormat();
    STGMEDIUM medium = {};
    if (!data || data->GetData(&format, &medium) != S_OK) return paths;
    auto drop = static_cast<HDROP>(medium.hGlobal);
    UINT count = medium.tymed == TYMED_HGLOBAL ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT i = 0; i < count; ++i) {
        wchar_t path[MAX_PATH * 4] = {};
        DragQueryFileW(drop, i, path, ARRAYSIZE(path));
        paths.push_back(path);
    }
    ReleaseStgMedium(&medium);
    return paths;
}

class HostFileTarget final : public SingleInterfaceObject<IDropTarget, IID_IDropTarget> {
public:
    explicit HostFileTarget(std::shared_ptr<HostDropWatch> watch) : watch_(std::move(watch)) {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
        FORMATETC format = FileListFormat();
        taking_ = data && data->QueryGetData(&format) == S_OK;
        ++watch_->enters;
        *effect = taking_ ? HostEffect(keys, *effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL, DWORD* effect) override {
        ++watch_->overs;
        *effect = taking_ ? HostEffect(keys, *effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        ++watch_->leaves;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL, DWORD* effect) override {
        *effect = taking_ ? HostEffect(keys, *effect) : DROPEFFECT_NONE;
        std::vector<std::wstring> paths = ReceivedPaths(data);
        std::wstring list;
        for (const std::wstring& path : paths) list += (list.empty() ? L"" : L"; ") + path;
        Say(L"host: drop received " + std::to_wstring(paths.size()) + L" files: " + list + L" effect " +
            EffectName(*effect));
        watch_->dropped = true;
        return S_OK;
    }

private:
    std::shared_ptr<HostDropWatch> watch_;
    bool taking_ = false;
};

void RegisterTargetClass(HINSTANCE instance) {
    WNDCLASSW type = {};
    if (GetClassInfoW(instance, kClassName, &type)) return;
    type.lpfnWndProc = DefWindowProcW;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    type.lpszClassName = kClassName;
    RegisterClassW(&type);
}

}  // namespace

HostDropWindow::HostDropWindow(HINSTANCE instance) : watch_(std::make_shared<HostDropWatch>()) {
    RegisterTargetClass(instance);
    int x = GetSystemMetrics(SM_CXSCREEN) - kWidth - kScreenMargin;
    int y = GetSystemMetrics(SM_CYSCREEN) - kHeight - kScreenMargin;
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, L"Host drop target",
                              WS_POPUP | WS_BORDER | WS_VISIBLE, x, y, kWidth, kHeight, nullptr, nullptr, instance,
                              nullptr);
    if (!window_) return;
    UpdateWindow(window_);
    auto* target = new HostFileTarget(watch_);
    registered_ = SUCCEEDED(RegisterDragDrop(window_, target));
    // OLE holds its own reference while the target is registered.
    target->Release();
}

HostDropWindow::~HostDropWindow() {
    if (!window_) return;
    if (registered_) RevokeDragDrop(window_);
    DestroyWindow(window_);
}

POINT HostDropWindow::ScreenCenter() const {
    RECT frame = {};
    GetWindowRect(window_, &frame);
    return {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
}
