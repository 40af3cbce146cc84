// The whole plugin driven from the keyboard: keys pressed on the focused pane as the thread's
// message loop delivers a user's keys (key-down and key-up posted to the control, modifiers held
// in the thread's keyboard state while they are handled), the windows that received the focus,
// and a stand-in playlist editor that records the files inserted into it.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "livehost/LivePlugin.h"

struct Modifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};
constexpr Modifiers kCtrl{true, false, false};
constexpr Modifiers kShift{false, true, false};
constexpr Modifiers kAlt{false, false, true};

class KeyboardTest : public LivePluginTest {
public:
    // (path, index) of each file inserted into the stand-in playlist editor, in order.
    static std::vector<std::pair<std::wstring, int>>& Inserted();
    // Alt keys (virtual key codes) the host's main window received as system keys.
    static std::vector<WPARAM>& HostAltKeys();
    // Requests for a plugin window's menu by keyboard (WM_SYSCOMMAND SC_KEYMENU): what a system
    // character left to the panes' default handling turns into.
    static int& KeyMenuRequests();

protected:
    void SetUp() override;
    void TearDown() override;

    // Each file of the library ("Root\\name.mp3") made, and each root its first folder names
    // stored in the order given, then the plugin started with "My Library" selected.
    void StartOverRoots(std::initializer_list<const wchar_t*> files);
    // Written before the plugin starts, as a user's earlier choice.
    void WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value) const;
    // Gives the control the focus and presses the key there; the messages that follow are
    // delivered (a box the key opens is answered by a BoxAnswerer made beforehand).
    void Press(HWND control, UINT key, Modifiers held = {});
    // The same, but only the key-down is delivered: whatever the key posts stays queued, so a
    // test sees the state the key itself left.
    void PressOnly(HWND control, UINT key, Modifiers held = {});
    // A key-down with this long parameter posted to a window without focusing it, as the
    // plugin's own menus post keys to the view, and delivered.
    void PostKeyDown(HWND window, UINT key, LPARAM lp, Modifiers held = {});
    // The window that last received the focus (WM_SETFOCUS), since the last Press.
    HWND Focused() const;

    void SelectRows(std::initializer_list<int> rows) const;
    std::vector<int> SelectedRows() const;
    // The paths of the roots under "My Library", in tree order.
    std::vector<std::wstring> RootOrder() const;

    // From now on, record the Alt keys reaching the host's main window.
    void WatchHostKeys();

private:
    void PostKey(HWND control, UINT key, Modifiers held, bool withRelease);
    void HoldModifiers(Modifiers held) const;
};
