// The frame window object: creation through the host, its handlers and its teardown.
#include "host/EmbeddedFrame.h"

#include <cstring>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "settings/PluginContext.h"
#include "settings/SettingsFile.h"
#include "settings/WindowSettings.h"
#include "StringIds.h"
#include "ui/dialogs/PrefsContainer.h"
#include "ui/view/MainView.h"

namespace {

constexpr int kFrameFlags = 12;
constexpr int kFrameGuidFlag = 8;
const char kPrefsPageName[] = "Crateview";

SettingsFile Settings() {
    PluginContext* context = PluginContext::Get();
    return SettingsFile(context ? context->GetPath(PathKind::kSettingsFile) : std::wstring());
}

}  // namespace

EmbeddedFrame* CreateEmbeddedFrame(HWND host) {
    auto* record = static_cast<EmbedRecord*>(GlobalAlloc(GPTR, sizeof(EmbedRecord)));
    if (!record) return nullptr;
    WindowSettings placement;
    placement.Load(Settings());
    record->rect = placement.frame;
    // The host reads the frame's identity while it makes the frame, and only then.
    record->flags |= kFrameFlags | kFrameGuidFlag;
    std::memcpy(reinterpret_cast<char*>(record) + kEmbedGuidOffset, &kFrameGuid, sizeof kFrameGuid);
    auto frame = reinterpret_cast<HWND>(SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(record),
                                                     kHostCreateFrame));
    return new EmbeddedFrame(frame, host, record);
}

EmbeddedFrame::EmbeddedFrame(HWND frame, HWND host, EmbedRecord* record)
    : WindowObject(frame), frame_(frame), host_(host), record_(record) {
    RegisterWindow(kFrameWindowId, frame);
    PluginContext* context = PluginContext::Get();
    HINSTANCE module = context ? context->Module() : nullptr;

    prefsPage_ = std::make_unique<PrefsPageRecord>();
    *prefsPage_ = {module, kPrefsContainerDialogId, &PrefsContainerProc, kPrefsPageName, 0, {0, 0}};
    SendMessageW(host_, kHostMessage, reinterpret_cast<WPARAM>(prefsPage_.get()), kHostRegisterPrefsPage);

    WindowSettings placement;
    placement.Load(Settings());
    visible_ = placement.visible;

    dialog_ = CreateDialogParamW(module, MAKEINTRESOURCEW(kViewDialogId), frame, &MainDialogProc, 0);
    if (dialog_) view_ = Ref<MainView>::Adopt(new MainView(dialog_, host_, *context));
    if (frame) SetWindowTextW(frame, GetString(kStrProductName));
}

EmbeddedFrame::~EmbeddedFrame() {
    // The host keeps the page's record, and its procedure in this module, until told otherwise.
    SendMessageW(host_, kHostMessage, reinterpret_cast<WPARAM>(prefsPage_.get()), kHostRemovePrefsPage);
    if (Window()) {
        SavePlacement();
        Unbind();
    }
    if (dialog_) DestroyWindow(dialog_);
    view_.Reset();
    // The host writes into the record until its frame is gone; freeing it first would let the
    // host write into freed memory. Should the frame outlive this (it belongs to another
    // thread), the small record is left allocated rather than freed under it.
    if (frame_ && IsWindow(frame_)) DestroyWindow(frame_);
    if (frame_ && IsWindow(frame_)) record_.Release();
}

// The rectangle is the frame's own: hosts make no promise to keep the record's copy current.
// A minimised or vanished frame has no place worth keeping, so the stored one stays.
void EmbeddedFrame::SavePlacement() const {
    SettingsFile settings = Settings();
    WindowSettings placement;
    placement.Load(settings);
    placement.visible = visible_;
    RECT shown;
    if (frame_ && IsWindow(frame_) && !IsIconic(frame_) && GetWindowRect(frame_, &shown)) placement.frame = shown;
    placement.Save(settings);
}

void EmbeddedFrame::OpenPreferences() const {
    PostMessageW(host_, kHostMessage, reinterpret_cast<WPARAM>(prefsPage_.get()), kHostOpenPrefs);
}

LRESULT EmbeddedFrame::OnCommandMessage(HWND window, UINT, WPARAM code, LPARAM) {
    switch (code) {
        case kCmdShowFrame:
            visible_ = true;
            ShowWindow(window, SW_SHOWNORMAL);
            return 1;
        case kCmdOpenPreferences: OpenPreferences(); return 1;
        case kCmdOpenPreferencesNow:
            SendMessageW(host_, kHostMessage, reinterpret_cast<WPARAM>(prefsPage_.get()), kHostOpenPrefs);
            OpenPreferences();
            return 1;
        default: return 1;
    }
}

LRESULT EmbeddedFrame::OnHostMessage(HWND window, UINT message, WPARAM, LPARAM) {
    if (message != kHideFrameMessage) return 1;
    visible_ = false;
    ShowWindow(window, SW_HIDE);
    return 0;
}

LRESULT EmbeddedFrame::OnClose(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    SavePlacement();
    Unbind();
    PostMessageW(window, message, wp, lp);
    return 0;
}

LRESULT EmbeddedFrame::OnShowWindow(HWND, UINT, WPARAM, LPARAM) {
    if (HWND view = GetWindow(kMainViewWindowId))
        PostMessageW(view, kCommandMessage, kCmdFocusControl, reinterpret_cast<LPARAM>(GetDlgItem(view, kSearchControl)));
    return 1;
}

LRESULT EmbeddedFrame::OnSysKeyDown(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    PostMessageW(GetParent(window), message, wp, lp);
    return 0;
}

LRESULT EmbeddedFrame::OnActivate(HWND, UINT, WPARAM, LPARAM) {
    if (HWND tree = dialog_ ? GetDlgItem(dialog_, kTreeControl) : nullptr) SetFocus(tree);
    return 0;
}

LRESULT EmbeddedFrame::OnDeactivate(HWND window, UINT, WPARAM, LPARAM) {
    ValidateRect(window, nullptr);
    return 1;
}

LRESULT EmbeddedFrame::OnDeviceChange(HWND, UINT message, WPARAM wp, LPARAM lp) {
    if (HWND view = GetWindow(kMainViewWindowId)) PostMessageW(view, message, wp, lp);
    return 1;
}
