// The plugin's hook in the host's playlist editor: a "Send to" submenu in the editor's menu
// that appends the selected host playlist entries to one of the plugin's playlist roots.
#pragma once

#include "ui/framework/WindowObject.h"

class PlaylistEditorWindow : public WindowObject {
public:
    PlaylistEditorWindow(HWND editor, HWND host);

    LRESULT OnInitMenuPopup(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnCommand(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnMenuSelect(HWND, UINT, WPARAM, LPARAM) override;

protected:
    ~PlaylistEditorWindow() override;

private:
    // Takes the item out of the editor's menu, then destroys its submenu.
    void RemoveSendTo();

    UINT commandId_;
    HMENU editorMenu_ = nullptr;  // the host's menu the item was put into
    HMENU sendTo_ = nullptr;
    // Every "Send to" item shares one command id; the item last highlighted tells them apart.
    ULONG_PTR highlightedRootId_ = 0;
};

constexpr UINT kSendToItemCommand = 3035;
