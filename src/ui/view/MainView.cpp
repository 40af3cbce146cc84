// The view controller: construction, layout, colours and teardown.
#include "ui/view/MainView.h"

#include <commctrl.h>

#include "host/HostApi.h"
#include "settings/PluginContext.h"
#include "settings/WindowSettings.h"
#include "ui/framework/Messages.h"
#include "ui/framework/WindowRegistry.h"
#include "ui/view/CommandCodes.h"
#include "ui/view/PaneLayout.h"

MainView::MainView(HWND dialog, HWND host, PluginContext& context)
    : dialog_(dialog), host_(host), settings_(context.GetPath(PathKind::kSettingsFile)) {
    // Reached through the dialog's own procedure rather than by subclassing.
    SetPropW(dialog_, kProperty, static_cast<WindowObject*>(this));
    RegisterWindow(kMainViewWindowId, dialog_);
    ReadPlayingPath();
    accelerators_ = std::make_unique<HostAccelerators>(host_, context.ResourceModule(), dialog_);
    options_.Load(settings_);
    colors_.Read(host_);
    ApplyColors();
    Layout();

    WindowSettings window;
    window.Load(settings_);
    if (window.visible)
        if (HWND frame = GetWindow(kFrameWindowId)) PostMessageW(frame, kCommandMessage, kCmdShowFrame, 0);
    SetFocus(dialog_);
}

MainView::~MainView() {
    if (IsWindow(dialog_) && GetPropW(dialog_, kProperty) == static_cast<WindowObject*>(this))
        RemovePropW(dialog_, kProperty);
}

void MainView::OnLastRelease() {
    if (HWND frame = GetWindow(kFrameWindowId)) ShowWindow(frame, SW_HIDE);
    options_.Save(settings_);
    accelerators_.reset();
}

void MainView::ReadPlayingPath() {
    LRESULT position = SendMessageW(host_, kHostMessage, 0, kHostPlaylistPosition);
    auto path = reinterpret_cast<const wchar_t*>(
        SendMessageW(host_, kHostMessage, static_cast<WPARAM>(position), kHostPlaylistEntryPath));
    playingPath_ = path ? path : L"";
}

void MainView::ApplyColors() {
    COLORREF background = colors_.Get(SkinColors::kBackground);
    COLORREF text = colors_.Get(SkinColors::kText);
    if (HWND tree = GetDlgItem(dialog_, kTreeControl)) {
        TreeView_SetBkColor(tree, background);
        TreeView_SetTextColor(tree, text);
    }
    if (HWND list = GetDlgItem(dialog_, kListControl)) {
        ListView_SetBkColor(list, background);
        ListView_SetTextBkColor(list, background);
        ListView_SetTextColor(list, text);
    }
}

void MainView::Layout() {
    RECT client;
    GetClientRect(dialog_, &client);
    auto state = static_cast<PaneState>(options_.stuck);
    int divider = state == PaneState::kTreeHidden ? 0 : options_.divider;
    for (const ControlPlacement& place : ComputePaneLayout(client.right, client.bottom, divider, state)) {
        HWND control = GetDlgItem(dialog_, place.id);
        if (!control) continue;
        ShowWindow(control, place.visible ? SW_SHOW : SW_HIDE);
        if (place.visible)
            MoveWindow(control, place.rect.left, place.rect.top, place.rect.right - place.rect.left,
                       place.rect.bottom - place.rect.top, FALSE);
    }
    InvalidateRect(dialog_, nullptr, TRUE);
    UpdateWindow(dialog_);
}

LRESULT MainView::Answer(LRESULT value) {
    SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, value);
    return TRUE;
}

LRESULT MainView::OnSize(HWND, UINT, WPARAM, LPARAM) {
    Layout();
    return TRUE;
}

LRESULT MainView::OnDisplayChange(HWND, UINT, WPARAM, LPARAM) {
    colors_.Read(host_);
    ApplyColors();
    InvalidateRect(dialog_, nullptr, TRUE);
    return TRUE;
}
