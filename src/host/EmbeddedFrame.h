// The frame window the host makes for the plugin: it holds the view's dialog, remembers its
// place and visibility, and opens the plugin's preferences page.
#pragma once

#include <memory>

#include "base/Unique.h"
#include "host/HostApi.h"
#include "ui/framework/WindowObject.h"

class MainView;

class EmbeddedFrame : public WindowObject {
public:
    // Takes ownership of the embed record (global memory the host filled in). The host writes
    // the frame's rectangle into it for as long as the frame exists, so the record is freed
    // only after the frame window is gone: destruction destroys the frame first.
    EmbeddedFrame(HWND frame, HWND host, EmbedRecord* record);

    HWND Dialog() const { return dialog_; }
    MainView* View() const { return view_.get(); }
    bool VisibleFlag() const { return visible_; }

    LRESULT OnCommandMessage(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnHostMessage(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnClose(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnShowWindow(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSysKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnChar(HWND, UINT, WPARAM, LPARAM) override { return 0; }
    LRESULT OnActivate(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnDeactivate(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnDeviceChange(HWND, UINT, WPARAM, LPARAM) override;

protected:
    ~EmbeddedFrame() override;

private:
    void SavePlacement() const;
    void OpenPreferences() const;

    HWND frame_;
    HWND host_;
    bool visible_ = false;
    HWND dialog_ = nullptr;
    Ref<MainView> view_;
    UniqueGlobal record_;
    std::unique_ptr<PrefsPageRecord> prefsPage_;
};

// Builds the frame for the start-up command: asks the host for the frame window with the stored
// rectangle and returns the new frame object (one reference, for the frame slot).
EmbeddedFrame* CreateEmbeddedFrame(HWND host);
