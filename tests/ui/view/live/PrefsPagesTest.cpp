// The preference pages as the player's preferences window creates them, over the real view:
// every control starts from its option's current value, a change reaches the view at once,
// and the file types reach the settings file on Apply.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "base/Text.h"
#include "base/TextObject.h"
#include "bus/WindowRegistry.h"
#include "livehost/LivePlugin.h"
#include "ui/dialogs/PrefsContainer.h"
#include "ui/dialogs/PrefsPageControls.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

enum PageIndex { kGeneral = 0, kDisplaySearch = 1, kAppearance = 2, kAbout = 3 };

class LivePrefsPagesTest : public LivePluginTest {
protected:
    void TearDown() override {
        if (container) DestroyWindow(container);
        LivePluginTest::TearDown();
    }

    void StartOverFiles(std::initializer_list<const wchar_t*> files) {
        CreateDirectoryW(Library().c_str(), nullptr);
        for (const wchar_t* name : files) WriteBytes(Library(name), "x");
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
    }

    // The registered page's container, created the way the player creates it, showing a tab.
    HWND OpenPage(int tab) {
        if (!container) {
            const PrefsPageRecord* record = Fake().prefsPage;
            if (!record) return nullptr;
            container = CreateDialogParamW(record->instance, MAKEINTRESOURCEW(record->dialogId), Fake().window,
                                           record->dialogProc, 0);
        }
        HWND tabs = GetDlgItem(container, kPrefsTabControlId);
        if (TabCtrl_GetCurSel(tabs) != tab) {
            TabCtrl_SetCurSel(tabs, tab);
            NMHDR header = {tabs, static_cast<UINT_PTR>(kPrefsTabControlId), static_cast<UINT>(TCN_SELCHANGE)};
            SendMessageW(container, WM_NOTIFY, kPrefsTabControlId, reinterpret_cast<LPARAM>(&header));
        }
        return Shown();
    }

    HWND Shown() const { return static_cast<HWND>(GetPropW(container, kShownPageProperty)); }

    static bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

    // A click as the user makes it, then the posted set handled by the view.
    static void Click(HWND page, int id) {
        SendDlgItemMessageW(page, id, BM_CLICK, 0, 0);
        Pump();
    }

    static std::wstring Text(HWND page, int id) {
        wchar_t text[512] = {};
        GetDlgItemTextW(page, id, text, 512);
        return text;
    }

    static void MoveSlider(HWND page, int id, int position) {
        HWND slider = GetDlgItem(page, id);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
        Pump();
    }

    static void Choose(HWND page, int id, int item) {
        SendDlgItemMessageW(page, id, CB_SETCURSEL, item, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
        Pump();
    }

    static std::vector<std::wstring> ListItems(HWND page, int id) {
        std::vector<std::wstring> items;
        HWND list = GetDlgItem(page, id);
        int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[64] = {};
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }

    HWND container = nullptr;
};

struct CheckCase {
    int page;
    int control;
    WPARAM set;
    WPARAM get;
    bool inverted;  // the getter answers the opposite of what the setter was given
    enum Box { kNoBox, kAlways, kWhenChecked } box;  // the information box a click brings up
};

const CheckCase kChecks[] = {
    {kGeneral, 1040, kOptSetUnfoldRoots, kOptGetUnfoldRoots, false, CheckCase::kNoBox},
    {kGeneral, 1026, kOptSetForceShuffleOff, kOptGetForceShuffleOff, false, CheckCase::kNoBox},
    {kGeneral, 1027, kOptSetHideEmptyFiles, kOptGetShowEmptyFiles, true, CheckCase::kNoBox},
    {kGeneral, 1015, kOptSetReplaceUnderscore, kOptGetReplaceUnderscore, false, CheckCase::kAlways},
    {kGeneral, 1021, kOptSetAutosavePlaylists, kOptGetAutosavePlaylists, false, CheckCase::kNoBox},
    {kGeneral, 1105, kOptSetNoScanOnStartUp, kOptGetNoScanOnStartUp, false, CheckCase::kNoBox},
    {kGeneral, 1016, kOptSetTreePlaylists, kOptGetTreePlaylists, false, CheckCase::kWhenChecked},
    {kGeneral, 1046, kOptSetAutoRefresh, kOptGetAutoRefresh, false, CheckCase::kNoBox},
    {kDisplaySearch, 1016, kOptSetSearchFromTop, kOptGetSearchFromTop, false, CheckCase::kNoBox},
    {kDisplaySearch, 1018, kOptSetEmptyOnChange, kOptGetEmptyOnChange, false, CheckCase::kNoBox},
    {kDisplaySearch, 1019, kOptSetRememberSearch, kOptGetRememberSearch, false, CheckCase::kNoBox},
    {kDisplaySearch, 1020, kOptSetLimitSearch, kOptGetLimitSearch, false, CheckCase::kNoBox},
    {kDisplaySearch, 1023, kOptSetRememberLastFolder, kOptGetRememberLastFolder, false, CheckCase::kNoBox},
    {kDisplaySearch, 1104, kOptSetShowDelete, kOptGetShowDelete, false, CheckCase::kNoBox},
    {kDisplaySearch, 1105, kOptSetDisableTagReading, kOptGetDisableTagReading, false, CheckCase::kNoBox},
    {kDisplaySearch, 1021, kOptSetSkipLeadingThe, kOptGetSkipLeadingThe, false, CheckCase::kNoBox},
    {kDisplaySearch, 1083, kOptSetSkipLeadingSpaces, kOptGetSkipLeadingSpaces, false, CheckCase::kNoBox},
    {kDisplaySearch, 1015, kOptSetCompatibility, kOptGetCompatibility, false, CheckCase::kNoBox},
    {kDisplaySearch, 1064, kOptSetStripAccents, kOptGetStripAccents, false, CheckCase::kNoBox},
    {kAppearance, 1015, kOptSetUseCustomFont, kOptGetUseCustomFont, false, CheckCase::kNoBox},
};

// Each option is set one way, the page opened fresh, then the other way: a check that reads
// a fixed state or the wrong option fails one of the two rounds.
TEST_F(LivePrefsPagesTest, EveryCheckShowsItsOptionAndSetsIt) {
    StartOverFiles({L"a.mp3"});
    for (bool optionOn : {true, false}) {
        for (const CheckCase& check : kChecks) {
            Command(check.set, optionOn ? 1 : 0);
            HWND page = OpenPage(check.page);
            ASSERT_TRUE(page);
            bool shown = Checked(page, check.control);
            EXPECT_EQ(shown, optionOn) << "page " << check.page << " control " << check.control;
            // Searching everything and only one folder exclude each other: free the pair first.
            if (check.page == kDisplaySearch && (check.control == 1016 || check.control == 1020)) {
                Command(kOptSetSearchFromTop, 0);
                Command(kOptSetLimitSearch, 0);
                Command(check.set, optionOn ? 1 : 0);
                page = OpenPage(kAbout);
                page = OpenPage(check.page);
            }
            bool boxExpected = check.box == CheckCase::kAlways || (check.box == CheckCase::kWhenChecked && !optionOn);
            if (boxExpected) {
                BoxAnswerer answerer(L"Information", IDOK);
                Click(page, check.control);
                EXPECT_TRUE(PumpUntil([&answerer] { return answerer.Done(); }, 20000));
                EXPECT_EQ(answerer.Join().size(), 1u) << "control " << check.control;
            } else {
                Click(page, check.control);
            }
            bool after = (Command(check.get) != 0) != check.inverted;
            EXPECT_EQ(after, !optionOn) << "page " << check.page << " control " << check.control;
            // The page switches away so the next case reads its values again.
            OpenPage(check.page == kAbout ? kGeneral : kAbout);
        }
    }
}

TEST_F(LivePrefsPagesTest, SearchScopesExcludeEachOther) {
    StartOverFiles({L"a.mp3"});
    HWND page = OpenPage(kDisplaySearch);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 1020)));
    Click(page, 1016);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1020)));
    Click(page, 1016);
    Click(page, 1020);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1016)));
    // At creation too: a page opened over "only this folder" keeps "My Library" disabled.
    OpenPage(kAbout);
    page = OpenPage(kDisplaySearch);
    EXPECT_TRUE(Checked(page, 1020));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1016)));
}

// A file may hold both scopes (edited by hand, or left by an earlier version): each box must
// still be free to clear, after which the other scope locks it as usual.
TEST_F(LivePrefsPagesTest, BothScopesStoredCanEachBeCleared) {
    WritePrivateProfileStringW(L"General", L"Search from top", L"1", SettingsPath().c_str());
    WritePrivateProfileStringW(L"General", L"Limit search", L"1", SettingsPath().c_str());
    StartOverFiles({L"a.mp3"});
    HWND page = OpenPage(kDisplaySearch);
    ASSERT_TRUE(Checked(page, 1016) && Checked(page, 1020));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 1016)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 1020)));
    Click(page, 1020);
    EXPECT_FALSE(Checked(page, 1020));
    EXPECT_EQ(Command(kOptGetLimitSearch), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1020)));
    Click(page, 1016);
    EXPECT_FALSE(Checked(page, 1016));
    EXPECT_EQ(Command(kOptGetSearchFromTop), 0);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 1020)));
}

TEST_F(LivePrefsPagesTest, StripAccentsCheckChangesWhatASearchFinds) {
    StartOverFiles({L"Bj\u00f6rk.mp3", L"other.mp3"});
    int before = Listings();
    SetWindowTextW(Search(), L"bjork");
    ASSERT_TRUE(WaitForListing(before));
    ASSERT_EQ(ListCount(), 0);
    HWND page = OpenPage(kDisplaySearch);
    ASSERT_FALSE(Checked(page, 1064));
    Click(page, 1064);
    before = Listings();
    PostCommand(kCmdRefreshList, 0);
    ASSERT_TRUE(WaitForListing(before));
    EXPECT_EQ(ColumnTexts(1), std::vector<std::wstring>{L"Bj\u00f6rk.mp3"});
}

TEST_F(LivePrefsPagesTest, SlidersShowTheirValueAndSetTheOption) {
    StartOverFiles({L"a.mp3"});
    Command(kOptSetAutoRefreshWait, 30);
    Command(kOptSetStripeShade, 40);
    HWND general = OpenPage(kGeneral);
    EXPECT_EQ(SendDlgItemMessageW(general, 1045, TBM_GETPOS, 0, 0), 30);
    EXPECT_EQ(Text(general, 1048), L"Wait 30 second(s) before updating");
    MoveSlider(general, 1045, 0);
    EXPECT_EQ(Text(general, 1048), L"Immediately");
    EXPECT_EQ(Command(kOptGetAutoRefreshWait), 0);
    MoveSlider(general, 1045, 5);
    EXPECT_EQ(Text(general, 1048), L"Wait 5 second(s) before updating");
    EXPECT_EQ(Command(kOptGetAutoRefreshWait), 5);
    // Turning auto-refresh off greys the delay with it.
    Command(kOptSetAutoRefresh, 1);
    general = OpenPage(kAbout), general = OpenPage(kGeneral);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(general, 1045)));
    Click(general, 1046);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(general, 1045)));

    HWND appearance = OpenPage(kAppearance);
    EXPECT_EQ(SendDlgItemMessageW(appearance, 1043, TBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(Text(appearance, 1057), L"40%");
    MoveSlider(appearance, 1043, 150);
    EXPECT_EQ(Text(appearance, 1057), L"150%");
    EXPECT_EQ(Command(kOptGetStripeShade), 150);
}

TEST_F(LivePrefsPagesTest, DoubleClickChoicesKeepNoneForTheTree) {
    StartOverFiles({L"a.mp3"});
    HWND page = OpenPage(kGeneral);
    EXPECT_EQ(SendDlgItemMessageW(page, 1022, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendDlgItemMessageW(page, 1024, CB_GETCOUNT, 0, 0), 5);
    Choose(page, 1024, 4);
    EXPECT_EQ(SendMessageW(Tree(), kCommandMessage, kCmdGetDoubleClick, 0), 0);
    Choose(page, 1022, 2);
    EXPECT_EQ(SendMessageW(List(), kCommandMessage, kCmdGetDoubleClick, 0), 3012);
    OpenPage(kAbout);
    page = OpenPage(kGeneral);
    EXPECT_EQ(SendDlgItemMessageW(page, 1024, CB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(SendDlgItemMessageW(page, 1022, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(LivePrefsPagesTest, DuplicateRadiosFollowTheOption) {
    StartOverFiles({L"a.mp3"});
    Command(kOptSetBlockDuplicates, 1);
    HWND page = OpenPage(kGeneral);
    EXPECT_TRUE(Checked(page, 1061));
    EXPECT_FALSE(Checked(page, 1060));
    Click(page, 1060);
    EXPECT_EQ(Command(kOptGetBlockDuplicates), 0);
}

TEST_F(LivePrefsPagesTest, FileTypesComeFromTheHostAndApplyWritesThem) {
    Fake().playableExtensions = {L"MP3", L"flac", L"mp3"};
    StartOverFiles({L"a.mp3", L"b.flac"});
    WritePrivateProfileStringW(L"General", L"File types", L"mp3;", SettingsPath().c_str());
    HWND page = OpenPage(kGeneral);
    EXPECT_EQ(ListItems(page, 1007), (std::vector<std::wstring>{L"mp3", L"flac", L"m3u", L"m3u8"}));
    EXPECT_GT(SendDlgItemMessageW(page, 1007, LB_GETSEL, 0, 0), 0);
    EXPECT_EQ(SendDlgItemMessageW(page, 1007, LB_GETSEL, 1, 0), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1028)));

    Click(page, 1009);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 1028)));
    SendDlgItemMessageW(page, 1007, LB_SETSEL, TRUE, 1);
    int before = Listings();
    Click(page, 1028);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1028)));
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"File types"), L"flac;");
    PostCommand(kCmdRefreshList, 0);
    ASSERT_TRUE(WaitForListing(before));
    EXPECT_EQ(ColumnTexts(1), std::vector<std::wstring>{L"b.flac"});

    Click(page, 1009);
    Click(page, 1028);
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"File types"), L"");
}

TEST_F(LivePrefsPagesTest, SwitchingTabsDestroysThePreviousPage) {
    StartOverFiles({L"a.mp3"});
    HWND general = OpenPage(kGeneral);
    ASSERT_TRUE(IsWindow(general));
    HWND about = OpenPage(kAbout);
    EXPECT_FALSE(IsWindow(general));
    EXPECT_EQ(GetParent(about), GetDlgItem(container, kPrefsTabControlId));
    RECT place;
    GetWindowRect(about, &place);
    MapWindowPoints(nullptr, GetParent(about), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, 1);
    EXPECT_EQ(place.top, 22);
    EXPECT_EQ(Text(about, 1065).rfind(L"Powered by SQLite v3.", 0), 0u) << testing::PrintToString(Text(about, 1065));
    DestroyWindow(container);
    container = nullptr;
    EXPECT_FALSE(IsWindow(about));
}

TEST_F(LivePrefsPagesTest, LanguageListStartsWithEnglish) {
    StartOverFiles({L"a.mp3"});
    HWND page = OpenPage(kDisplaySearch);
    wchar_t first[64] = {};
    SendDlgItemMessageW(page, 1022, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"English <default>");
    EXPECT_EQ(SendDlgItemMessageW(page, 1022, CB_GETCURSEL, 0, 0), 0);
}

// Any module with string 1000 is a pack to the list; the plugin's own module is one at hand.
TEST_F(LivePrefsPagesTest, ChoosingAPackStoresItsPathAndEnglishStoresNone) {
    CreateDirectoryW(folder.File(L"docs\\Crateview").c_str(), nullptr);
    CreateDirectoryW(folder.File(L"docs\\Crateview\\lang").c_str(), nullptr);
    std::wstring pack = folder.File(L"docs\\Crateview\\lang\\Test.dll");
    ASSERT_TRUE(CopyFileW(BuildFile(L"gen_cv.dll").c_str(), pack.c_str(), FALSE));
    StartOverFiles({L"a.mp3"});
    HWND page = OpenPage(kDisplaySearch);
    ASSERT_EQ(SendDlgItemMessageW(page, 1022, CB_GETCOUNT, 0, 0), 2);
    {
        BoxAnswerer answerer(L"Information", IDNO);
        Choose(page, 1022, 1);
        ASSERT_TRUE(PumpUntil([&answerer] { return answerer.Done(); }, 20000));
        EXPECT_EQ(answerer.Join().size(), 1u);
    }
    EXPECT_EQ(Fake().restarts, 0);
    Ref<TextObject> stored = AdoptText(Command(kCmdGetLanguage));
    ASSERT_TRUE(stored);
    EXPECT_TRUE(EqualsNoCase(stored->text, pack)) << testing::PrintToString(stored->text);
    // A page opened later shows the stored pack chosen.
    OpenPage(kAbout);
    page = OpenPage(kDisplaySearch);
    EXPECT_EQ(SendDlgItemMessageW(page, 1022, CB_GETCURSEL, 0, 0), 1);
    {
        BoxAnswerer answerer(L"Information", IDYES);
        Choose(page, 1022, 0);
        ASSERT_TRUE(PumpUntil([&answerer] { return answerer.Done(); }, 20000));
    }
    EXPECT_TRUE(PumpUntil([] { return Fake().restarts == 1; }, 20000));
    stored = AdoptText(Command(kCmdGetLanguage));
    EXPECT_TRUE(!stored || stored->text.empty());
}

// The lists start from the view's font, and a choice reaches the view whole.
int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM families) {
    if (type & TRUETYPE_FONTTYPE) reinterpret_cast<std::vector<std::wstring>*>(families)->push_back(font->lfFaceName);
    return 1;
}

// Every TrueType family is offered, also one whose name begins another's ("DejaVu Sans" and
// "DejaVu Sans Mono"), and each only once.
TEST_F(LivePrefsPagesTest, FontListOffersEveryFamilyOnce) {
    StartOverFiles({L"a.mp3"});
    HWND names = GetDlgItem(OpenPage(kAppearance), 1052);
    std::vector<std::wstring> families;
    HDC screen = GetDC(nullptr);
    LOGFONTW all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(screen, &all, &CollectFamily, reinterpret_cast<LPARAM>(&families), 0);
    ReleaseDC(nullptr, screen);
    ASSERT_FALSE(families.empty());
    for (const std::wstring& family : families)
        EXPECT_NE(SendMessageW(names, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(family.c_str())), CB_ERR) << family;
    std::sort(families.begin(), families.end(), [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) < 0; });
    families.erase(std::unique(families.begin(), families.end(), [](const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }), families.end());
    EXPECT_EQ(SendMessageW(names, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(families.size()));

    // The system may list a longer name first; the shorter one still joins it.
    HWND sorted = CreateWindowW(L"COMBOBOX", L"", CBS_DROPDOWNLIST | CBS_SORT, 0, 0, 100, 100, Fake().window, nullptr,
                                nullptr, nullptr);
    for (const wchar_t* family : {L"DejaVu Sans Mono", L"DejaVu Sans", L"dejavu sans", L"DejaVu"})
        AddStringOnce(sorted, family);
    EXPECT_EQ(SendMessageW(sorted, CB_GETCOUNT, 0, 0), 3);
    EXPECT_NE(SendMessageW(sorted, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(L"DejaVu Sans")), CB_ERR);
    DestroyWindow(sorted);
}

TEST_F(LivePrefsPagesTest, FontListsShowAndSetTheViewsFont) {
    StartOverFiles({L"a.mp3"});
    Command(kOptSetUseCustomFont, 1);
    HWND page = OpenPage(kAppearance);
    HWND names = GetDlgItem(page, 1052);
    ASSERT_TRUE(IsWindowEnabled(names));
    ASSERT_GT(SendMessageW(names, CB_GETCOUNT, 0, 0), 0);
    wchar_t face[LF_FACESIZE] = {};
    SendMessageW(names, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(face));
    SendMessageW(names, CB_SETCURSEL, 0, 0);
    Choose(page, 1055, 5);  // 14 points
    Ref<TextObject> shown = AdoptText(Command(kCmdGetFont, 0));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->text, face);
    HDC screen = GetDC(nullptr);
    int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(Command(kCmdGetFont, 1), MulDiv(14, dotsPerInch, 72));
    OpenPage(kAbout);
    page = OpenPage(kAppearance);
    EXPECT_EQ(SendDlgItemMessageW(page, 1055, CB_GETCURSEL, 0, 0), 5);
    EXPECT_EQ(SendDlgItemMessageW(page, 1052, CB_GETCURSEL, 0, 0), 0);
    Click(page, 1015);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, 1052)));
}

}  // namespace
