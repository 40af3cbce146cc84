// The Display && Search page: search and sorting options, the advanced switches, and the
// choice of language pack, which takes effect after the player restarts.
#include <memory>
#include <string>
#include <vector>

#include "StringIds.h"
#include "base/TextObject.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "settings/PluginContext.h"
#include "ui/dialogs/PrefsPageControls.h"
#include "ui/dialogs/PrefsPages.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

enum DisplaySearchControl : int {
    kSearchGroup = 1049,
    kSearchFromTop = 1016,
    kLimitSearch = 1020,
    kAdvancedGroup = 1103,
    kSortingGroup = 1084,
    kInternationalGroup = 1085,
    kAccentsNote = 1063,
    kLanguageGroup = 1107,
    kLanguageList = 1022,
};

constexpr wchar_t kPackPathsProperty[] = L"CV_LANGUAGE";
constexpr wchar_t kEnglishDefault[] = L"English <default>";

const Caption kCaptions[] = {
    {kSearchGroup, kStrPrefsSearchGroup},     {kAdvancedGroup, kStrPrefsAdvancedGroup},
    {kSortingGroup, kStrPrefsSortingGroup},   {kInternationalGroup, kStrPrefsInternationalGroup},
    {kAccentsNote, kStrPrefsStripAccentsNote}, {kLanguageGroup, kStrPrefsLanguageGroup},
};

const OptionCheck kChecks[] = {
    {kSearchFromTop, kStrPrefsSearchFromTop, kOptGetSearchFromTop, CheckWhen::kOne, kOptSetSearchFromTop},
    {1018, kStrPrefsEmptyOnChange, kOptGetEmptyOnChange, CheckWhen::kNonZero, kOptSetEmptyOnChange},
    {1019, kStrPrefsRememberSearch, kOptGetRememberSearch, CheckWhen::kNonZero, kOptSetRememberSearch},
    {kLimitSearch, kStrPrefsLimitSearch, kOptGetLimitSearch, CheckWhen::kNonZero, kOptSetLimitSearch},
    {1023, kStrPrefsRememberFolder, kOptGetRememberLastFolder, CheckWhen::kNonZero, kOptSetRememberLastFolder},
    {1104, kStrPrefsShowDelete, kOptGetShowDelete, CheckWhen::kNonZero, kOptSetShowDelete},
    {1105, kStrPrefsDisableTagReading, kOptGetDisableTagReading, CheckWhen::kNonZero, kOptSetDisableTagReading},
    {1021, kStrPrefsSkipLeadingThe, kOptGetSkipLeadingThe, CheckWhen::kNonZero, kOptSetSkipLeadingThe},
    {1083, kStrPrefsSkipLeadingSpaces, kOptGetSkipLeadingSpaces, CheckWhen::kNonZero, kOptSetSkipLeadingSpaces},
    {1015, kStrPrefsCompabilityMode, kOptGetCompatibility, CheckWhen::kNonZero, kOptSetCompatibility},
    {1064, kStrPrefsStripAccents, kOptGetStripAccents, CheckWhen::kOne, kOptSetStripAccents},
};

using PackPaths = std::vector<std::wstring>;

PackPaths* StoredPaths(HWND page) { return static_cast<PackPaths*>(GetPropW(page, kPackPathsProperty)); }

// Searching everything and searching only the selected folder cannot both hold, so each is
// locked while the other is set. A box that is itself checked stays free: a file holding both
// would otherwise lock both, and neither could be cleared.
void ExcludeSearchScopes(HWND page) {
    bool fromTop = IsChecked(page, kSearchFromTop), limit = IsChecked(page, kLimitSearch);
    EnableControl(page, kLimitSearch, limit || !fromTop);
    EnableControl(page, kSearchFromTop, fromTop || !limit);
}

std::wstring CurrentPack() {
    Ref<TextObject> pack = AdoptText(GetViewOption(kCmdGetLanguage));
    return pack ? pack->text : std::wstring();
}

void FillLanguages(HWND page) {
    HWND list = GetDlgItem(page, kLanguageList);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kEnglishDefault));
    auto paths = std::make_unique<PackPaths>();
    std::wstring folder = PluginContext::Get() ? PluginContext::Get()->GetPath(PathKind::kLanguageFolder) : L"";
    std::wstring current = CurrentPack();
    int selected = 0;
    for (const LanguagePack& pack : ListLanguagePacks(folder)) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pack.name.c_str()));
        paths->push_back(pack.path);
        if (!current.empty() && pack.path == current) selected = static_cast<int>(paths->size());
    }
    SendMessageW(list, CB_SETCURSEL, selected, 0);
    if (SetPropW(page, kPackPathsProperty, paths.get())) paths.release();  // freed at WM_DESTROY
}

void OnLanguageChosen(HWND page) {
    int item = static_cast<int>(SendDlgItemMessageW(page, kLanguageList, CB_GETCURSEL, 0, 0));
    const PackPaths* paths = StoredPaths(page);
    if (item < 0 || !paths) return;
    LPARAM pack = item > 0 && item <= static_cast<int>(paths->size()) ? PassText((*paths)[item - 1]) : 0;
    HWND view = GetWindow(kMainViewWindowId);
    if (!view || !PostMessageW(view, kCommandMessage, kCmdSetLanguage, pack)) AdoptText(pack);
}

BOOL OnInitDialog(HWND page) {
    PlaceInTab(page);
    SetCaptions(page, kCaptions, CountOf(kCaptions));
    InitChecks(page, kChecks, CountOf(kChecks));
    ExcludeSearchScopes(page);
    FillLanguages(page);
    return TRUE;
}

INT_PTR OnCommand(HWND page, int code, int id) {
    if (id == kLanguageList) {
        if (code == CBN_SELCHANGE) OnLanguageChosen(page);
        return TRUE;
    }
    if (code == BN_CLICKED && OnCheckClicked(page, id, kChecks, CountOf(kChecks)) &&
        (id == kSearchFromTop || id == kLimitSearch))
        ExcludeSearchScopes(page);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK DisplaySearchPageProc(HWND page, UINT message, WPARAM wp, LPARAM) {
    try {
        switch (message) {
            case WM_INITDIALOG: return OnInitDialog(page);
            case WM_COMMAND: return OnCommand(page, HIWORD(wp), LOWORD(wp));
            case WM_DESTROY:
                delete StoredPaths(page);
                RemovePropW(page, kPackPathsProperty);
                return FALSE;
        }
    } catch (...) {
    }
    return FALSE;
}
