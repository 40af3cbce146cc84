// The search box: its keys, its remembered text, and the "Find more" condition built from a
// row's field.
#pragma once

#include <string>

#include "settings/SettingsFile.h"
#include "ui/framework/WindowObject.h"
#include "ui/view/PaneKeys.h"

constexpr size_t kSearchTextLimit = 254;

class SearchBox : public WindowObject {
public:
    SearchBox(HWND edit, SettingsFile settings);

    // At most the first 254 characters.
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    // Disabled while the view is busy; the text stays.
    void SetBusy(bool busy);

    // The keyboard of the box (SearchBoxKeys.cpp).
    LRESULT OnKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSysKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnChar(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnLButtonDoubleClick(HWND, UINT, WPARAM, LPARAM) override;
    // Saves the text and stays bound until the control goes.
    LRESULT OnClose(HWND, UINT, WPARAM, LPARAM) override;

private:
    static const KeyBinding<SearchBox> kKeys[];
    static const KeyBinding<SearchBox> kAltKeys[];
    LRESULT MoveFocusOnTab(const KeyPress& press);
    LRESULT PassToList(const KeyPress& press);
    LRESULT EnterList(const KeyPress& press);
    LRESULT OpenPreferences(const KeyPress& press);
    LRESULT SelectAll(const KeyPress& press);

    SettingsFile settings_;
};

// The "Find more" search text for a field value: quotes doubled, at most 2047 characters of
// value, wrapped as a LIKE condition on the column. field: 0 artist, 1 title, 2 album, 3 genre.
std::wstring FindMoreText(int field, const std::wstring& value);
