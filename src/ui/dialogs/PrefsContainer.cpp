// The preferences container: a tab control whose selected tab's page is created fresh each
// time, so a page always shows the owners' current values rather than a copy of its own.
#include "ui/dialogs/PrefsContainer.h"

#include <commctrl.h>

#include <iterator>

#include "StringIds.h"
#include "base/Unique.h"
#include "settings/PluginContext.h"
#include "ui/dialogs/PrefsPages.h"

namespace {

struct TabPage {
    UINT captionId;
    int dialogId;
    DLGPROC proc;
};

const TabPage kTabPages[] = {
    {kStrPrefsTabGeneral, kGeneralPageDialogId, &GeneralPageProc},
    {kStrPrefsTabDisplaySearch, kDisplaySearchPageDialogId, &DisplaySearchPageProc},
    {kStrPrefsTabAppearance, kAppearancePageDialogId, &AppearancePageProc},
    {kStrPrefsTabAbout, kAboutPageDialogId, &AboutPageProc},
};

constexpr DWORD kThemedTabBackground = 6;  // enable the texture, and use the tab's own

// The themed background is a nicety: without the theme library the pages stay plain.
void ApplyThemedBackground(HWND tabs) {
    using EnableTexture = HRESULT(WINAPI*)(HWND, DWORD);
    UniqueModule theme(LoadLibraryW(L"uxtheme.dll"));
    if (!theme.get()) return;
    auto enable = reinterpret_cast<EnableTexture>(
        reinterpret_cast<void (*)()>(GetProcAddress(theme.get(), "EnableThemeDialogTexture")));
    if (enable) enable(tabs, kThemedTabBackground);
}

HWND Tabs(HWND container) { return GetDlgItem(container, kPrefsTabControlId); }

void ShowTabPage(HWND container, int index) {
    if (HWND shown = static_cast<HWND>(GetPropW(container, kShownPageProperty))) DestroyWindow(shown);
    RemovePropW(container, kShownPageProperty);
    if (index < 0 || index >= static_cast<int>(std::size(kTabPages))) return;
    const TabPage& tab = kTabPages[index];
    HWND tabs = Tabs(container);
    HINSTANCE module = PluginContext::Get() ? PluginContext::Get()->Module() : nullptr;
    HWND page = CreateDialogParamW(module, MAKEINTRESOURCEW(tab.dialogId), tabs, tab.proc, 0);
    ApplyThemedBackground(tabs);
    if (page) SetPropW(container, kShownPageProperty, page);
}

BOOL OnInitDialog(HWND container) {
    HWND tabs = Tabs(container);
    for (size_t i = 0; i < std::size(kTabPages); ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(GetString(kTabPages[i].captionId));
        TabCtrl_InsertItem(tabs, static_cast<int>(i), &item);
    }
    ShowTabPage(container, 0);
    return TRUE;
}

INT_PTR OnNotify(HWND container, const NMHDR* header) {
    if (header->idFrom == kPrefsTabControlId && header->code == static_cast<UINT>(TCN_SELCHANGE))
        ShowTabPage(container, TabCtrl_GetCurSel(header->hwndFrom));
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK PrefsContainerProc(HWND container, UINT message, WPARAM wp, LPARAM lp) {
    try {
        switch (message) {
            case WM_INITDIALOG: return OnInitDialog(container);
            case WM_NOTIFY: return OnNotify(container, reinterpret_cast<const NMHDR*>(lp));
            case WM_CHAR:
                if (wp == L'\t') MessageBeep(MB_OK);
                return TRUE;
            case WM_DESTROY:
                // The shown page is a grandchild and goes with the container.
                RemovePropW(container, kShownPageProperty);
                return FALSE;
        }
    } catch (...) {
    }
    return FALSE;
}
