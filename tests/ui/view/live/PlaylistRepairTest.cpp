// Repairing a playlist through the real view: the four-button question itself (captions,
// answers, keys), and "Repair playlist" chosen from the tree menu of a playlist whose files
// moved, answered by the buttons' new captions, through to the report and a save.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "base/Text.h"
#include "db/TreeNode.h"
#include "livehost/LivePlugin.h"
#include "ui/view/MenuCodes.h"
#include "ui/view/RepairQuestionBox.h"
#include "ui/view/ViewCommandCodes.h"
#include "ui/view/live/MenuDriver.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;

struct SeenBox {
    std::wstring title;
    std::wstring text;
    std::vector<std::wstring> captions;  // left to right
    bool captionsFit = true;             // every caption is narrower than its button
};

struct BoxSearch {
    HWND found = nullptr;
};

// A visible message box of this process, whatever its title.
BOOL CALLBACK MatchShownBox(HWND window, LPARAM lp) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process != GetCurrentProcessId() || wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window) ||
        !GetDlgItem(window, kMessageTextId))
        return TRUE;
    reinterpret_cast<BoxSearch*>(lp)->found = window;
    return FALSE;
}

std::vector<HWND> ButtonsLeftToRight(HWND box) {
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (wcscmp(className, L"Button") == 0 && IsWindowVisible(child)) buttons.push_back(child);
    }
    auto left = [](HWND window) {
        RECT rect;
        GetWindowRect(window, &rect);
        return rect.left;
    };
    std::sort(buttons.begin(), buttons.end(), [&](HWND a, HWND b) { return left(a) < left(b); });
    return buttons;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1100] = {};
    InternalGetWindowText(window, text, 1100);
    return text;
}

bool CaptionFits(HWND button) {
    HDC dc = GetDC(button);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)));
    std::wstring caption = TextOf(button);
    SIZE size = {};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(button, dc);
    RECT client;
    GetClientRect(button, &client);
    return size.cx < client.right;
}

// What a user does to a box: press the button with a caption, or a key.
struct BoxStep {
    std::wstring title;
    std::wstring caption;  // empty: the key, or without one the close box
    WPARAM key = 0;
};

// Answers the boxes this process shows, in order, from a thread of its own (the view shows
// them modally on the test's thread). A box whose title is not the next step's is recorded
// and closed, so that a wrong box fails the test instead of hanging it.
class BoxScript {
public:
    explicit BoxScript(std::vector<BoxStep> steps)
        : steps_(std::move(steps)), thread_([this] { Answer(); }) {}
    ~BoxScript() {
        if (thread_.joinable()) thread_.join();
    }
    bool Done() const { return done_; }
    std::vector<SeenBox> Join() {
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

private:
    void Answer() {
        size_t step = 0;
        DWORD start = GetTickCount();
        while (step < steps_.size() && GetTickCount() - start < 60000) {
            BoxSearch search;
            EnumWindows(&MatchShownBox, reinterpret_cast<LPARAM>(&search));
            if (!search.found) {
                Sleep(20);
                continue;
            }
            HWND box = search.found;
            SeenBox seen{TextOf(box), TextOf(GetDlgItem(box, kMessageTextId)), {}, true};
            std::vector<HWND> buttons = ButtonsLeftToRight(box);
            for (HWND button : buttons) {
                seen.captions.push_back(TextOf(button));
                seen.captionsFit = seen.captionsFit && CaptionFits(button);
            }
            seen_.push_back(seen);
            const BoxStep& next = steps_[step];
            if (seen.title != next.title) {
                PostMessageW(box, WM_CLOSE, 0, 0);
            } else {
                ++step;
                Press(box, buttons, next);
            }
            for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
        }
        done_ = true;
    }

    static void Press(HWND box, const std::vector<HWND>& buttons, const BoxStep& step) {
        if (step.key) {
            // The key goes where the box's thread has the focus, as typing would.
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            HWND focused = GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info) ? info.hwndFocus : nullptr;
            PostMessageW(focused ? focused : box, WM_KEYDOWN, step.key, 0);
            return;
        }
        if (step.caption.empty()) {
            PostMessageW(box, WM_CLOSE, 0, 0);
            return;
        }
        for (HWND button : buttons)
            if (TextOf(button) == step.caption)
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
    }

    std::vector<BoxStep> steps_;
    std::vector<SeenBox> seen_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// The question box on the test's own thread, answered by the script.
RepairAnswer AskAnswering(const BoxStep& step, SeenBox& seen) {
    BoxScript script({step});
    RepairAnswer answer = AskRepairQuestion(L"Crateview have the file 'a.mp3' at the path 'D:\\New\\'.\nUpdate?");
    std::vector<SeenBox> boxes = script.Join();
    if (!boxes.empty()) seen = boxes.front();
    return answer;
}

const std::vector<std::wstring> kRepairCaptions = {L"I feel lucky", L"Yes", L"No", L"Cancel"};

TEST(RepairQuestionBoxTest, EachRenamedButtonAnswersWhatItSays) {
    const struct {
        const wchar_t* caption;
        RepairAnswer answer;
    } kCases[] = {
        {L"I feel lucky", RepairAnswer::kYesToAll},
        {L"Yes", RepairAnswer::kYes},
        {L"No", RepairAnswer::kNo},
        {L"Cancel", RepairAnswer::kCancel},  // the system's help button, which would not close the box
    };
    for (const auto& pressed : kCases) {
        SeenBox seen;
        EXPECT_EQ(AskAnswering({L"Confirm", pressed.caption}, seen), pressed.answer) << WideToUtf8(pressed.caption);
        EXPECT_EQ(seen.title, L"Confirm");
        EXPECT_EQ(seen.captions, kRepairCaptions);
        EXPECT_TRUE(seen.captionsFit) << "a caption is cut off by its button";
        EXPECT_EQ(seen.text, L"Crateview have the file 'a.mp3' at the path 'D:\\New\\'.\nUpdate?");
    }
}

TEST(RepairQuestionBoxTest, EscapeAndTheCloseBoxCancelAndEnterSaysYesToOneOnly) {
    SeenBox seen;
    EXPECT_EQ(AskAnswering({L"Confirm", L"", VK_ESCAPE}, seen), RepairAnswer::kCancel);
    EXPECT_EQ(AskAnswering({L"Confirm", L"", VK_RETURN}, seen), RepairAnswer::kYes);
    EXPECT_EQ(AskAnswering({L"Confirm", L"", 0}, seen), RepairAnswer::kCancel);
}

class LivePlaylistRepairTest : public LivePluginTest {
protected:
    // Two files moved from Old to New, which a folder root has in the cache, and a playlist
    // root still naming their old places.
    void StartWithMovedFiles(const std::string& playlistText = "#EXTM3U\r\nOld\\a.mp3\r\nOld\\b.mp3\r\n") {
        AddLibraryFile(L"New\\a.mp3", {{L"title", L"Song A"}});
        AddLibraryFile(L"New\\b.mp3", {{L"title", L"Song B"}});
        WriteBytes(Playlist(), playlistText);
        StoreFolderRoot(Library(L"New"));
        StorePlaylistRoot(Playlist());
        StartPlugin();
        ASSERT_TRUE(PumpUntil([&] { return CountInCache(L"SELECT COUNT(*) FROM Files") == 2; }, 30000));
        ASSERT_TRUE(SelectAndWaitForListing(Playlist()));
    }

    std::wstring Playlist() const { return Library(L"mix.m3u"); }

    TreeNode* PlaylistNode() const {
        TVITEMW info = {};
        info.mask = TVIF_PARAM;
        info.hItem = ItemOf(Playlist());
        TreeView_GetItem(Tree(), &info);
        return reinterpret_cast<TreeNode*>(info.lParam);
    }

    std::vector<std::wstring> EntryPaths() const {
        std::vector<std::wstring> paths;
        for (const Ref<FileRecord>& entry : PlaylistNode()->playlist->CopyEntries()) paths.push_back(entry->Path());
        return paths;
    }

    // Right-clicks the selected playlist in the tree and chooses the item, as a user would.
    void ChooseFromPlaylistMenu(MenuDriver& menu) {
        RECT text = {};
        TreeView_GetItemRect(Tree(), ItemOf(Playlist()), &text, TRUE);
        POINT at = {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
        ClientToScreen(Tree(), &at);
        PostMessageW(View(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Tree()), MAKELPARAM(at.x, at.y));
        PumpUntil([&] { return menu.Closed(); }, 30000);
    }

    // Repair chosen from the menu with the boxes answered as given; answers the boxes seen.
    std::vector<SeenBox> Repair(std::vector<BoxStep> answers) {
        BoxScript script(std::move(answers));
        MenuDriver menu(kMenuRepairPlaylist);
        ChooseFromPlaylistMenu(menu);
        EXPECT_TRUE(menu.Chose());
        EXPECT_TRUE(PumpUntil([&] { return script.Done(); }, 90000));
        Pump();
        return script.Join();
    }

    bool SaveItemEnabled() {
        MenuDriver menu;
        ChooseFromPlaylistMenu(menu);
        const SeenMenuItem* save = FindSeenItem(menu.Items(), kMenuSavePlaylist);
        return save && !save->greyed;
    }
};

std::vector<std::wstring> TitlesOf(const std::vector<SeenBox>& boxes) {
    std::vector<std::wstring> titles;
    for (const SeenBox& box : boxes) titles.push_back(box.title);
    return titles;
}

TEST_F(LivePlaylistRepairTest, FeelingLuckyFindsBothMovedFilesWithOneQuestionAndASaveWritesThem) {
    StartWithMovedFiles();
    EXPECT_FALSE(SaveItemEnabled());
    int listings = Listings();
    std::vector<SeenBox> boxes = Repair({{L"Confirm", L"I feel lucky"}, {L"", L"OK"}});
    ASSERT_EQ(TitlesOf(boxes), (std::vector<std::wstring>{L"Confirm", L""}));
    EXPECT_EQ(boxes[0].captions, kRepairCaptions);
    EXPECT_EQ(boxes[0].text, L"Crateview have the file 'a.mp3' at the path '" + Library(L"New\\") +
                                 L"'.\nUpdate the playlist to this path?");
    EXPECT_EQ(boxes[1].text, L"2 filepath(s) updated.");
    EXPECT_EQ(EntryPaths(), (std::vector<std::wstring>{Library(L"New\\a.mp3"), Library(L"New\\b.mp3")}));
    EXPECT_TRUE(WaitForListing(listings)) << "the list is not shown again";
    EXPECT_TRUE(SaveItemEnabled());

    Command(kCmdSavePlaylist, kSaveWithoutAsking);
    std::string saved = ReadBytes(Playlist());
    EXPECT_NE(saved.find("New\\a.mp3\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("New\\b.mp3\r\n"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Old\\"), std::string::npos) << saved;
}

TEST_F(LivePlaylistRepairTest, AnsweringNoKeepsTheOldPathsAndSaysNothingWasUpdated) {
    StartWithMovedFiles();
    std::vector<SeenBox> boxes = Repair({{L"Confirm", L"No"}, {L"Confirm", L"No"}, {L"", L"OK"}});
    ASSERT_EQ(TitlesOf(boxes), (std::vector<std::wstring>{L"Confirm", L"Confirm", L""}));
    EXPECT_NE(boxes[1].text.find(L"'b.mp3'"), std::wstring::npos);
    EXPECT_EQ(boxes[2].text, L"No filepath(s) were updated.");
    EXPECT_EQ(EntryPaths(), (std::vector<std::wstring>{Library(L"Old\\a.mp3"), Library(L"Old\\b.mp3")}));
    EXPECT_FALSE(SaveItemEnabled());
}

TEST_F(LivePlaylistRepairTest, APlaylistWhoseFilesAreAllThereReportsNoBrokenPath) {
    StartWithMovedFiles("#EXTM3U\r\nNew\\a.mp3\r\n");
    std::vector<SeenBox> boxes = Repair({{L"", L"OK"}});
    ASSERT_EQ(TitlesOf(boxes), std::vector<std::wstring>{L""});
    EXPECT_EQ(boxes[0].text, L"No broken filepath(s)");
}

// The lookups run beside the view: while the first question is open the view still lists,
// and a Cancel there ends the run with the count so far.
TEST_F(LivePlaylistRepairTest, YesThenCancelKeepsTheFirstRepairAndReportsOne) {
    StartWithMovedFiles();
    std::vector<SeenBox> boxes = Repair({{L"Confirm", L"Yes"}, {L"Confirm", L"Cancel"}, {L"", L"OK"}});
    ASSERT_EQ(TitlesOf(boxes), (std::vector<std::wstring>{L"Confirm", L"Confirm", L""}));
    EXPECT_EQ(boxes[2].text, L"1 filepath(s) updated.");
    EXPECT_EQ(EntryPaths(), (std::vector<std::wstring>{Library(L"New\\a.mp3"), Library(L"Old\\b.mp3")}));
}

}  // namespace
