// The smart playlist dialog through the real view: building a condition with the builder,
// the refusal of a nameless playlist, the new root listing exactly its files, and editing a
// stored smart playlist, which renames its tree item. A second thread drives the dialog, as a
// user would, while the view's thread runs it modally.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/CacheDatabase.h"
#include "db/roots/RootRows.h"
#include "livehost/LivePlugin.h"
#include "ui/dialogs/QueryDialog.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

const wchar_t kDialogTitle[] = L"Create New Smart Playlist";

// A dialog is found by its title as soon as it exists, but it is filled in only before it
// is first shown.
HWND WaitForBox(const wchar_t* title) {
    for (int i = 0; i < 1500; ++i) {
        if (HWND box = FindOwnBox(title); box && IsWindowVisible(box)) return box;
        Sleep(20);
    }
    return nullptr;
}

std::wstring TextOf(HWND dialog, int id) {
    wchar_t text[2048] = {};
    GetDlgItemTextW(dialog, id, text, 2048);
    return text;
}

bool Shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool Usable(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// What a user does with the builder: pick a field, an operator and type the value.
void Compose(HWND dialog, const wchar_t* field, int op, const wchar_t* value) {
    HWND list = GetDlgItem(dialog, QueryDialog::kFieldList);
    LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(field));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(QueryDialog::kFieldList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    SendMessageW(GetDlgItem(dialog, QueryDialog::kOperatorButtons[op]), BM_CLICK, 0, 0);
    SetDlgItemTextW(dialog, QueryDialog::kValueEdit, value);
}

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// OK may open a message box, which runs modally on the dialog's thread: post, never send.
void PostOk(HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(QueryDialog::kOkButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, QueryDialog::kOkButton)));
}

// Runs the steps on a thread of their own once the dialog is open; records what they saw.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND)> steps)
        : thread_([this, steps = std::move(steps)] {
              if (HWND dialog = WaitForBox(kDialogTitle)) steps(dialog);
              done_ = true;
          }) {}
    ~DialogDriver() { Join(); }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }
    bool Done() const { return done_; }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// The last state the view posted to the file list on this thread, seen as the list takes it.
thread_local int lastListState = -1;

LRESULT CALLBACK WatchListStates(int code, WPARAM wp, LPARAM lp) {
    const auto* msg = reinterpret_cast<const MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && msg->message == kCommandMessage && msg->wParam == kCmdSetListStatus)
        lastListState = static_cast<int>(msg->lParam);
    return CallNextHookEx(nullptr, code, wp, lp);
}

class ListStateWatch {
public:
    ListStateWatch() : hook_(SetWindowsHookExW(WH_GETMESSAGE, &WatchListStates, nullptr, GetCurrentThreadId())) {}
    ~ListStateWatch() { UnhookWindowsHookEx(hook_); }
    ListStateWatch(const ListStateWatch&) = delete;
    ListStateWatch& operator=(const ListStateWatch&) = delete;

private:
    HHOOK hook_;
};

class LiveQueryDialogTest : public LivePluginTest {
protected:
    // Two Beatles files, one before and one after 1990, and one of another artist.
    void AddSampleLibrary() {
        AddLibraryFile(L"help.mp3", {{L"title", L"Help"}, {L"artist", L"Beatles"}, {L"year", L"1985"}});
        AddLibraryFile(L"free.mp3", {{L"title", L"Free as a Bird"}, {L"artist", L"The Beatles"}, {L"year", L"1995"}});
        AddLibraryFile(L"sos.mp3", {{L"title", L"SOS"}, {L"artist", L"Abba"}, {L"year", L"1995"}});
        StoreFolderRoot(Library());
    }
    void WaitForTags() {
        ASSERT_TRUE(SelectAndWaitForListing(Library(L"")));
        ASSERT_TRUE(PumpUntil([this] { return CountInCache(L"SELECT COUNT(*) FROM Files WHERE tagged=1") == 3; }, 30000));
    }
    // The sample library and a smart playlist stored after its folder, started with every
    // file's tags read.
    void StartWithSmartPlaylist(const wchar_t* condition, const wchar_t* name) {
        AddSampleLibrary();
        {
            CacheDatabase database(CacheFolder());
            database.CreateSchema();
            InsertRootRow(database, 3, true, condition, std::wstring(name));
        }
        StartPlugin();
        WaitForTags();
    }
    std::wstring ItemText(HTREEITEM item) const {
        wchar_t text[256] = {};
        TVITEMW info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text;
        info.cchTextMax = 256;
        TreeView_GetItem(Tree(), &info);
        return text;
    }
};

TEST_F(LiveQueryDialogTest, BuilderMakesASmartPlaylistThatListsItsFiles) {
    AddSampleLibrary();
    StartPlugin();
    WaitForTags();

    std::wstring firstResult, firstQuery, joinedQuery, refusal;
    bool firstUsableWithoutOperator = true, joinShownAfterFirst = false, openAfterRefusal = false;
    bool firstShownAfterEmptying = false;
    DialogDriver driver([&](HWND dialog) {
        // A field and a value without an operator build nothing.
        HWND list = GetDlgItem(dialog, QueryDialog::kFieldList);
        SendMessageW(list, LB_SETCURSEL, 0, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(QueryDialog::kFieldList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        SetDlgItemTextW(dialog, QueryDialog::kValueEdit, L"x");
        firstUsableWithoutOperator = Usable(dialog, QueryDialog::kFirstButton);

        Compose(dialog, L"Artist", 6, L"Beatles");
        firstResult = TextOf(dialog, QueryDialog::kResultEdit);
        Click(dialog, QueryDialog::kFirstButton);
        firstQuery = TextOf(dialog, QueryDialog::kQueryEdit);
        joinShownAfterFirst = !Shown(dialog, QueryDialog::kFirstButton) && Shown(dialog, QueryDialog::kAndButton) &&
                              Shown(dialog, QueryDialog::kOrButton) && TextOf(dialog, QueryDialog::kValueEdit).empty();
        // Selecting the whole query and deleting it brings ">>" back in place of "AND" and "OR".
        HWND query = GetDlgItem(dialog, QueryDialog::kQueryEdit);
        SendMessageW(query, EM_SETSEL, 0, -1);
        SendMessageW(query, WM_CLEAR, 0, 0);
        firstShownAfterEmptying = Shown(dialog, QueryDialog::kFirstButton) && !Shown(dialog, QueryDialog::kAndButton);
        Compose(dialog, L"Artist", 6, L"Beatles");
        Click(dialog, QueryDialog::kFirstButton);
        Compose(dialog, L"Year", 2, L"1990");
        Click(dialog, QueryDialog::kAndButton);
        joinedQuery = TextOf(dialog, QueryDialog::kQueryEdit);

        PostOk(dialog);
        if (HWND box = WaitForBox(L"Error")) {
            refusal = TextOf(box, 0xFFFF);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
        }
        openAfterRefusal = IsWindow(dialog) != FALSE;
        SetDlgItemTextW(dialog, QueryDialog::kNameEdit, L"Beatles after 1990");
        PostOk(dialog);
    });
    int before = Listings();
    Command(kCmdInsertRoot, 2);
    driver.Join();

    EXPECT_FALSE(firstUsableWithoutOperator);
    EXPECT_EQ(firstResult, L"Artist LIKE '%Beatles%'");
    EXPECT_EQ(firstQuery, L"(Artist LIKE '%Beatles%')");
    EXPECT_TRUE(joinShownAfterFirst);
    EXPECT_TRUE(firstShownAfterEmptying);
    EXPECT_EQ(joinedQuery, L"(Artist LIKE '%Beatles%') AND (Year > 1990)");
    EXPECT_EQ(refusal, L"You must give the SQL-root a name");
    EXPECT_TRUE(openAfterRefusal);

    ASSERT_TRUE(WaitForListing(before));
    ASSERT_TRUE(PumpUntil([this] { return ItemOf(L"Beatles after 1990") != nullptr; }, 30000));
    EXPECT_EQ(CountInCache(L"SELECT COUNT(*) FROM Roots WHERE type=3 AND name='Beatles after 1990' AND "
                           L"path='(Artist LIKE ''%Beatles%'') AND (Year > 1990)'"),
              1);
    ASSERT_TRUE(SelectAndWaitForListing(L"Beatles after 1990"));
    EXPECT_EQ(ColumnTexts(1), (std::vector<std::wstring>{L"Free as a Bird"}));
}

TEST_F(LiveQueryDialogTest, EditingAStoredSmartPlaylistRenamesItAndChangesItsCondition) {
    StartWithSmartPlaylist(L"(Year > 1990)", L"Nineties");
    ASSERT_TRUE(SelectAndWaitForListing(L"Nineties"));
    EXPECT_EQ(ListCount(), 2);

    std::wstring shownName, shownQuery;
    bool joinShown = false;
    DialogDriver driver([&](HWND dialog) {
        shownName = TextOf(dialog, QueryDialog::kNameEdit);
        shownQuery = TextOf(dialog, QueryDialog::kQueryEdit);
        joinShown = !Shown(dialog, QueryDialog::kFirstButton) && Shown(dialog, QueryDialog::kAndButton);
        Compose(dialog, L"Artist", 0, L"Abba");
        Click(dialog, QueryDialog::kAndButton);
        SetDlgItemTextW(dialog, QueryDialog::kNameEdit, L"Abba after 1990");
        PostOk(dialog);
    });
    int before = Listings();
    Command(kCmdEditSqlRoot);
    driver.Join();
    EXPECT_EQ(shownName, L"Nineties");
    EXPECT_EQ(shownQuery, L"(Year > 1990)");
    EXPECT_TRUE(joinShown);

    HTREEITEM item = ItemOf(L"Abba after 1990");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(ItemText(item), L"Abba after 1990");
    EXPECT_EQ(CountInCache(L"SELECT COUNT(*) FROM Roots WHERE name='Abba after 1990' AND "
                           L"path='(Year > 1990) AND (Artist = ''Abba'')'"),
              1);
    ASSERT_TRUE(WaitForListing(before));
    EXPECT_EQ(ColumnTexts(1), (std::vector<std::wstring>{L"SOS"}));
}

// A condition typed by hand that tries to write lists nothing, says why, and leaves the
// cache as it was.
TEST_F(LiveQueryDialogTest, HostileConditionListsNothingAndKeepsTheCache) {
    StartWithSmartPlaylist(L"1); DELETE FROM Files; --", L"Hostile");
    ListStateWatch watch;
    lastListState = -1;
    ASSERT_TRUE(SelectAndWaitForListing(L"Hostile"));
    EXPECT_TRUE(PumpUntil([] { return lastListState == kListStatusInvalidQuery; }, 5000))
        << "the list does not say the condition was refused; last state " << lastListState;
    EXPECT_EQ(ListCount(), 0);
    EXPECT_TRUE(PumpUntil([this] { return CountInCache(L"SELECT COUNT(*) FROM Files") == 3; }, 5000));
}

}  // namespace
