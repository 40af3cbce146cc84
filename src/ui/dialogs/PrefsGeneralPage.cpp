// The General page: file types, what a double-click does in the list and the tree, duplicate
// handling, start-up and playlist options, and the auto-refresh delay.
#include <windows.h>
#include <commctrl.h>

#include <iterator>

#include "StringIds.h"
#include "base/TextObject.h"
#include "base/Text.h"
#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "bus/WindowRegistry.h"
#include "settings/PluginContext.h"
#include "ui/dialogs/PrefsFileTypes.h"
#include "ui/dialogs/PrefsPageControls.h"
#include "ui/dialogs/PrefsPages.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

enum GeneralControl : int {
    kFileTypesGroup = 1010,
    kDoubleClickGroup = 1017,
    kListChoiceLabel = 1023,
    kListChoice = 1022,
    kTreeChoiceLabel = 1025,
    kTreeChoice = 1024,
    kDuplicatesLabel = 1064,
    kAllowDuplicates = 1060,
    kBlockDuplicates = 1061,
    kMiscGroup = 1086,
    kReplaceUnderscore = 1015,
    kTreePlaylists = 1016,
    kAutoRefreshGroup = 1047,
    kAutoRefresh = 1046,
    kAutoRefreshSlider = 1045,
    kAutoRefreshLabel = 1048,
};

constexpr int kLongestWait = 120;
constexpr int kNoneChoice = 4;

const Caption kCaptions[] = {
    {kFileTypesGroup, kStrPrefsFileTypesGroup},
    {prefs_ids::kSelectAllTypes, kStrPrefsSelectAllTypes},
    {prefs_ids::kSelectNoTypes, kStrPrefsSelectNoTypes},
    {prefs_ids::kApplyTypes, kStrPrefsApplyTypes},
    {kDoubleClickGroup, kStrPrefsDoubleClickGroup},
    {kListChoiceLabel, kStrPrefsDoubleClickList},
    {kTreeChoiceLabel, kStrPrefsDoubleClickTree},
    {kDuplicatesLabel, kStrPrefsDuplicatesLabel},
    {kAllowDuplicates, kStrPrefsAllowDuplicates},
    {kBlockDuplicates, kStrPrefsBlockDuplicates},
    {kMiscGroup, kStrPrefsMiscGroup},
    {kAutoRefreshGroup, kStrPrefsAutoRefreshGroup},
};

const OptionCheck kChecks[] = {
    {1040, kStrPrefsUnfoldRoots, kOptGetUnfoldRoots, CheckWhen::kOne, kOptSetUnfoldRoots},
    {1026, kStrPrefsForceShuffleOff, kOptGetForceShuffleOff, CheckWhen::kNonZero, kOptSetForceShuffleOff},
    {1027, kStrPrefsHideEmptyFiles, kOptGetShowEmptyFiles, CheckWhen::kZero, kOptSetHideEmptyFiles},
    {kReplaceUnderscore, kStrPrefsReplaceUnderscore, kOptGetReplaceUnderscore, CheckWhen::kOne, kOptSetReplaceUnderscore},
    {1021, kStrPrefsAutosavePlaylists, kOptGetAutosavePlaylists, CheckWhen::kOne, kOptSetAutosavePlaylists},
    {1105, kStrPrefsNoScanOnStart, kOptGetNoScanOnStartUp, CheckWhen::kNonZero, kOptSetNoScanOnStartUp},
    {kTreePlaylists, kStrPrefsTreePlaylists, kOptGetTreePlaylists, CheckWhen::kOne, kOptSetTreePlaylists},
    {kAutoRefresh, kStrPrefsAutoRefresh, kOptGetAutoRefresh, CheckWhen::kOne, kOptSetAutoRefresh},
};

// The double-click commands, in list order; their captions are the menu's own strings.
const UINT kDoubleClickCommands[] = {kStrMenuPlay, kStrMenuEnqueueAndPlay, kStrMenuEnqueue, kStrMenuEnqueueAfterCurrent};

void FillChoices(HWND page, int listId, bool withNone) {
    HWND list = GetDlgItem(page, listId);
    for (UINT command : kDoubleClickCommands) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(GetString(command)));
    if (withNone) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(GetString(kStrPrefsDoubleClickNone)));
}

void InitDoubleClick(HWND page) {
    FillChoices(page, kListChoice, false);
    FillChoices(page, kTreeChoice, true);
    LRESULT listCommand = GetFromWindow(kListWindowId, kCmdGetDoubleClick);
    SendDlgItemMessageW(page, kListChoice, CB_SETCURSEL, listCommand - kStrMenuPlay, 0);
    LRESULT treeCommand = GetFromWindow(kTreeWindowId, kCmdGetDoubleClick);
    SendDlgItemMessageW(page, kTreeChoice, CB_SETCURSEL, treeCommand ? treeCommand - kStrMenuPlay : kNoneChoice, 0);
}

void OnDoubleClickChosen(HWND page, int listId) {
    int item = static_cast<int>(SendDlgItemMessageW(page, listId, CB_GETCURSEL, 0, 0));
    if (item < 0) return;
    if (listId == kListChoice) {
        SetOnWindow(kListWindowId, kCmdSetDoubleClick, kStrMenuPlay + item);
        return;
    }
    SetOnWindow(kTreeWindowId, kCmdSetDoubleClick, item == kNoneChoice ? 0 : kStrMenuPlay + item);
}

void ShowWait(HWND page, int seconds) {
    std::wstring text = seconds == 0 ? std::wstring(GetString(kStrPrefsAutoRefreshImmediately))
                                     : FormatWithInt(GetString(kStrPrefsAutoRefreshWait), seconds);
    SetDlgItemTextW(page, kAutoRefreshLabel, text.c_str());
}

void EnableWait(HWND page, bool enabled) {
    EnableControl(page, kAutoRefreshSlider, enabled);
    EnableControl(page, kAutoRefreshLabel, enabled);
}

void OnWaitMoved(HWND page) {
    int seconds = static_cast<int>(SendDlgItemMessageW(page, kAutoRefreshSlider, TBM_GETPOS, 0, 0));
    ShowWait(page, seconds);
    SetViewOption(kOptSetAutoRefreshWait, seconds);
}

void InitAutoRefresh(HWND page) {
    HWND slider = GetDlgItem(page, kAutoRefreshSlider);
    SendMessageW(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, kLongestWait));
    SendMessageW(slider, TBM_SETPOS, TRUE, GetViewOption(kOptGetAutoRefreshWait));
    EnableWait(page, GetViewOption(kOptGetAutoRefresh) != 0);
    OnWaitMoved(page);
}

BOOL OnInitDialog(HWND page) {
    PlaceInTab(page);
    SetCaptions(page, kCaptions, CountOf(kCaptions));
    InitChecks(page, kChecks, CountOf(kChecks));
    bool block = GetViewOption(kOptGetBlockDuplicates) != 0;
    CheckRadioButton(page, kAllowDuplicates, kBlockDuplicates, block ? kBlockDuplicates : kAllowDuplicates);
    InitDoubleClick(page);
    InitAutoRefresh(page);
    FillFileTypes(page);
    EnableControl(page, prefs_ids::kApplyTypes, false);
    return TRUE;
}

void SelectAllTypes(HWND page, bool selected) {
    SendDlgItemMessageW(page, prefs_ids::kTypeList, LB_SETSEL, selected, -1);
    EnableControl(page, prefs_ids::kApplyTypes, true);
}

void OnCheck(HWND page, int id) {
    if (!OnCheckClicked(page, id, kChecks, CountOf(kChecks))) return;
    if (id == kAutoRefresh) EnableWait(page, IsChecked(page, id));
    if (id == kReplaceUnderscore)
        MessageBoxW(nullptr, GetString(kStrMsgRefreshTreeToApply), L"Information", MB_OK | MB_TOPMOST | MB_ICONINFORMATION);
    if (id == kTreePlaylists && IsChecked(page, id)) {
        LRESULT text = PassText(GetString(kStrMsgRefreshToShow));
        HWND view = GetWindow(kMainViewWindowId);
        if (!view || !PostMessageW(view, kCommandMessage, kCmdShowInformation, text)) AdoptText(text);
    }
}

INT_PTR OnCommand(HWND page, int code, int id) {
    switch (id) {
        case prefs_ids::kSelectAllTypes: SelectAllTypes(page, true); return TRUE;
        case prefs_ids::kSelectNoTypes: SelectAllTypes(page, false); return TRUE;
        case prefs_ids::kApplyTypes: ApplyFileTypes(page); return TRUE;
        case prefs_ids::kTypeList:
            if (code == LBN_SELCHANGE) EnableControl(page, prefs_ids::kApplyTypes, true);
            return TRUE;
        case kListChoice:
        case kTreeChoice:
            if (code == CBN_SELCHANGE) OnDoubleClickChosen(page, id);
            return TRUE;
        case kAllowDuplicates:
        case kBlockDuplicates:
            if (code == BN_CLICKED) SetViewOption(kOptSetBlockDuplicates, IsChecked(page, kBlockDuplicates) ? 1 : 0);
            return TRUE;
    }
    if (code == BN_CLICKED) OnCheck(page, id);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK GeneralPageProc(HWND page, UINT message, WPARAM wp, LPARAM lp) {
    try {
        switch (message) {
            case WM_INITDIALOG: return OnInitDialog(page);
            case WM_COMMAND: return OnCommand(page, HIWORD(wp), LOWORD(wp));
            case WM_HSCROLL:
                if (reinterpret_cast<HWND>(lp) == GetDlgItem(page, kAutoRefreshSlider)) OnWaitMoved(page);
                return TRUE;
        }
    } catch (...) {
    }
    return FALSE;
}
