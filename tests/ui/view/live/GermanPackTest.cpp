// The German pack built with the plugin, chosen through the view's language setting and used
// from the next start: menus, column headers, status line and the tree's top item in German,
// and the English text wherever the pack leaves a string out.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "base/TextObject.h"
#include "livehost/LivePlugin.h"
#include "ui/view/live/MenuDriver.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

std::wstring GermanPack() { return BuildFile(L"lang\\" CV_GERMAN_PACK_NAME); }

std::vector<std::wstring> Captions(const std::vector<SeenMenuItem>& items) {
    std::vector<std::wstring> captions;
    for (const SeenMenuItem& item : items) captions.push_back(item.separator ? L"---" : item.caption);
    return captions;
}

std::wstring ItemText(HWND tree, HTREEITEM item) {
    wchar_t text[260] = {};
    TVITEMW request = {};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    request.pszText = text;
    request.cchTextMax = 260;
    TreeView_GetItem(tree, &request);
    return text;
}

class GermanPackTest : public LivePluginTest {
protected:
    void StartWithThreeFiles() {
        for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"c.mp3"}) AddLibraryFile(name, {{L"title", name}});
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
    }

    // The user picks the pack and declines the offer to restart now; the choice is kept for
    // the next start.
    void ChooseGermanAndRestart() {
        {
            BoxAnswerer later(L"Information", IDNO);
            Command(kCmdSetLanguage, PassText(GermanPack()));
        }
        CloseAndQuit();
        BeginNextLife();
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
    }

    std::vector<std::wstring> HeaderCaptions() const {
        HWND header = ListView_GetHeader(List());
        std::vector<std::wstring> captions;
        for (int i = 0; i < Header_GetItemCount(header); ++i) {
            wchar_t text[128] = {};
            HDITEMW item = {};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = 128;
            Header_GetItem(header, i, &item);
            captions.push_back(text);
        }
        return captions;
    }

    void SelectFirstRow() {
        SetFocus(List());
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(List(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
};

TEST_F(GermanPackTest, ChosenPackIsStoredAndUsedOnlyFromTheNextStart) {
    StartWithThreeFiles();
    {
        BoxAnswerer later(L"Information", IDNO);
        Command(kCmdSetLanguage, PassText(GermanPack()));
    }
    // The running view keeps the module it started with.
    EXPECT_EQ(HeaderCaptions().at(1), L"Title");
    CloseAndQuit();
    wchar_t stored[300] = {};
    GetPrivateProfileStringW(L"General", L"Language", L"", stored, 300, SettingsPath().c_str());
    EXPECT_EQ(std::wstring(stored), GermanPack());

    BeginNextLife();
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    EXPECT_EQ(HeaderCaptions().at(1), L"Titel");
}

TEST_F(GermanPackTest, HeadersStatusAndTopItemAreGermanWithEnglishForTheLeftOutHeader) {
    StartWithThreeFiles();
    ChooseGermanAndRestart();
    ASSERT_FALSE(HasFatalFailure());
    const std::vector<std::wstring> expected = {
        L"#",        L"Titel",     L"Interpret", L"Album",     L"Genre",
        L"Kommentar", L"Titelnr.", L"Jahr",      L"L\u00e4nge", L"Bitrate",
        L"Playcount", L"Zuletzt ge\u00e4ndert", L"Dateigr\u00f6\u00dfe", L"Dateipfad", L"Dateiname"};
    std::vector<std::wstring> headers = HeaderCaptions();
    std::sort(headers.begin(), headers.end());
    std::vector<std::wstring> sortedExpected = expected;
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(headers, sortedExpected) << "the pack leaves out the play count's header";

    ASSERT_TRUE(PumpUntil([&] { return StatusText().rfind(L"3 Datei(en) von 3 gefundenen Datei(en) gelesen (", 0) == 0; },
                          20000))
        << testing::PrintToString(StatusText());
    EXPECT_EQ(ItemText(Tree(), ItemOf(L"")), L"Meine Bibliothek");
}

TEST_F(GermanPackTest, MenusAreGermanWithEnglishForTheLeftOutItem) {
    StartWithThreeFiles();
    ChooseGermanAndRestart();
    ASSERT_FALSE(HasFatalFailure());
    SelectFirstRow();
    {
        MenuDriver menu;
        SendMessageW(View(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), MAKELPARAM(-1, -1));
        ASSERT_TRUE(menu.Seen());
        EXPECT_EQ(Captions(menu.Items()),
                  (std::vector<std::wstring>{
                      L"Abspielen\tEnter", L"Einreihen\tShift+Enter", L"Einreihen und abspielen\tCtrl+Enter",
                      L"Nach dem aktuellen Titel einreihen\tAlt+Enter", L"---", L"Mehr davon finden", L"Lesezeichen",
                      L"Dateiinformationen anzeigen\tAlt+3", L"Zum Ordner wechseln\tCtrl+G",
                      L"Find file in Explorer\tCtrl+F", L"---", L"Alle ausw\u00e4hlen\tCtrl+A",
                      L"Auswahl aufheben\tCtrl+D", L"Auswahl umkehren"}));
    }
    // Empty tree space: the captions the view loads straight from the pack.
    RECT client;
    GetClientRect(Tree(), &client);
    POINT below = {10, client.bottom - 5};
    ClientToScreen(Tree(), &below);
    MenuDriver menu;
    SendMessageW(View(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Tree()), MAKELPARAM(below.x, below.y));
    ASSERT_TRUE(menu.Seen());
    EXPECT_EQ(Captions(menu.Items()), (std::vector<std::wstring>{L"Stamm einf\u00fcgen", L"Stamm entfernen"}));
    ASSERT_EQ(menu.Items().size(), 2u);
    EXPECT_EQ(Captions(menu.Items()[0].submenu),
              (std::vector<std::wstring>{L"Ordner", L"Wiedergabeliste", L"Intelligente Wiedergabeliste"}));
}

}  // namespace
