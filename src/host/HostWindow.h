// The plugin's hold on the host main window: the start-up command, tag requests answered on the
// host's thread, the plugin's entry in the host's menus with its Alt+D toggle, and the orderly
// close of the view when the host closes.
#pragma once

#include "host/PlaylistEditorWindow.h"
#include "ui/framework/WindowObject.h"

class EmbeddedFrame;

class HostWindow : public WindowObject {
public:
    explicit HostWindow(HWND host);

    UINT MenuCommandId() const { return menuCommandId_; }
    // Whether the host draws with its modern skin engine; asked once and forgotten on a skin change.
    bool ModernSkin();
    // Shows the frame when hidden and hides it when shown.
    static void ToggleFrame();
    // Takes the plugin's entry out of the host's menus, which outlive the plugin.
    void RemoveMenuEntries() const;
    // Stops the scans, lets go of the playlist editor, and closes the view so that it saves
    // what it remembers. Runs once, whether the host's close request or Quit comes first.
    void CloseView();

    LRESULT OnCommandMessage(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnInitMenuPopup(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnCommand(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSysKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnHostMessage(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnDisplayChange(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnClose(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnQueryEndSession(HWND, UINT, WPARAM, LPARAM) override;

protected:
    ~HostWindow() override;

private:
    void PostToggle() const;
    void OnQueuedKey(MSG& message) const;

    int modernSkin_ = -1;
    UINT menuCommandId_;
    Ref<PlaylistEditorWindow> editor_;
    bool closing_ = false;
};
