// Playing, enqueueing and inserting against an in-process stand-in for the host's main window and
// playlist editor, which keep a small playlist and log every request that changes something.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "bus/CommandCodes.h"
#include "host/HostApi.h"
#include "ui/view/PlaybackActions.h"

namespace {

struct Entry {
    Entry(std::wstring p, std::optional<std::wstring> t = std::nullopt, int s = 0) : path(p), title(t), seconds(s) {}
    std::wstring path;
    std::optional<std::wstring> title;
    int seconds;
};

struct FakeHost {
    std::vector<Entry> playlist;
    std::vector<std::wstring> log;
    int position = 0, state = 0, pathReads = 0, titleRequests = 0;
    bool shuffle = false;
    HWND editor = nullptr;

    LRESULT Request(LPARAM request, WPARAM wp) {
        switch (request) {
            case kHostClearPlaylist: playlist.clear(); log.push_back(L"clear"); return 1;
            case kHostPlaybackState: return state;
            case kHostPlaylistLength: return static_cast<LRESULT>(playlist.size());
            case kHostPlaylistPosition: return position;
            case kHostPlaylistEntryPath: ++pathReads; return reinterpret_cast<LRESULT>(playlist.at(wp).path.c_str());
            case kHostGetShuffle: return shuffle;
            case kHostGetWindow: return reinterpret_cast<LRESULT>(editor);
            case kHostSetShuffle: shuffle = wp != 0; log.push_back(L"shuffle " + std::to_wstring(wp)); return 1;
            case kHostSetPlaylistPosition:
                position = static_cast<int>(wp);
                log.push_back(L"position " + std::to_wstring(wp));
                return 1;
            case kHostEnqueueFile: {
                auto* record = reinterpret_cast<HostEnqueueRecord*>(wp);
                playlist.push_back({record->path, record->title ? std::optional<std::wstring>(record->title) : std::nullopt,
                                    record->lengthSeconds});
                log.push_back(L"enqueue " + playlist.back().path);
                return 1;
            }
            case kHostFormatTitle: {
                // Formats "artist - title" from the plugin's answers, handing each one back.
                auto* title = reinterpret_cast<HostTitleRequest*>(wp);
                ++titleRequests;
                std::wstring text;
                for (const wchar_t* key : {L"artist", L"title"}) {
                    wchar_t* value = title->tagCallback(key, title->context);
                    bool block = value && value != kTitleTagEmpty;
                    text += (text.empty() ? L"" : L" - ") + std::wstring(block ? value : L"");
                    if (block) title->freeCallback(value, title->context);
                }
                wcsncpy(title->out, text.c_str(), static_cast<size_t>(title->outLength));
                return 1;
            }
        }
        return 0;
    }
    void Insert(const COPYDATASTRUCT& data) {
        if (data.dwData != kEditorInsertFileCopyData || data.cbData != sizeof(EditorInsertFile)) return;
        const auto& file = *static_cast<const EditorInsertFile*>(data.lpData);
        playlist.insert(playlist.begin() + std::min<size_t>(static_cast<size_t>(file.index), playlist.size()), Entry(file.path));
        log.push_back(L"insert " + std::wstring(file.path) + L"@" + std::to_wstring(file.index));
    }
};

LRESULT CALLBACK FakeHostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto* host = reinterpret_cast<FakeHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host && message == kHostMessage) return host->Request(lp, wp);
    if (host && message == WM_COPYDATA) {
        host->Insert(*reinterpret_cast<COPYDATASTRUCT*>(lp));
        return TRUE;
    }
    if (host && message == WM_COMMAND) {
        host->log.push_back(LOWORD(wp) == kHostPlayCommand ? L"play" : LOWORD(wp) == kHostStopCommand ? L"stop" : L"?");
        return 0;
    }
    return DefWindowProcW(window, message, wp, lp);
}

HWND FakeWindow(FakeHost& host) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &FakeHostProc;
    wc.lpszClassName = L"CvFakePlaybackHost";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
    return window;
}

class TestActions : public PlaybackActions {
public:
    using PlaybackActions::PlaybackActions;
    std::vector<std::wstring> notices;
    int draw = 0;

protected:
    void ShowNotice(const wchar_t* text) override { notices.push_back(text); }
    int RandomDraw() override { return draw; }
};

Ref<FileRecord> Row(const std::wstring& path, int lengthMs = 200000, std::optional<std::wstring> title = std::nullopt) {
    Ref<FileRecord> row = Ref<FileRecord>::Make(path);
    row->SetTags({title, std::wstring(L"Artist")});
    row->length = lengthMs;
    return row;
}

class PlaybackTest : public testing::Test {
protected:
    void SetUp() override {
        window = FakeWindow(host);
        editorWindow = FakeWindow(host);
        host.editor = editorWindow;
        for (int i = 0; i < 10; ++i) host.playlist.emplace_back(L"C:\\old\\" + std::to_wstring(i) + L".mp3");
    }
    void TearDown() override {
        DestroyWindow(editorWindow);
        DestroyWindow(window);
    }
    TestActions Actions(PlaybackOptions options = {}, bool withEditor = true) {
        return TestActions(window, withEditor ? editorWindow : nullptr, options);
    }
    std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> paths;
        for (const Entry& entry : host.playlist) paths.push_back(entry.path);
        return paths;
    }
    FakeHost host;
    HWND window = nullptr, editorWindow = nullptr;
};

using Log = std::vector<std::wstring>;

TEST_F(PlaybackTest, PlayAndPlayWholeListReplaceThePlaylistAndStartAtItsFirstEntry) {
    for (bool wholeList : {false, true}) {
        host.position = 6;
        host.log.clear();
        TestActions actions = Actions();
        std::vector<Ref<FileRecord>> rows = {Row(L"C:\\a.mp3"), Row(L"C:\\b.mp3")};
        if (wholeList) actions.PlayWholeList(rows);
        else EXPECT_EQ(actions.Perform(rows, kMenuPlay), 0);
        EXPECT_EQ(host.log, (Log{L"clear", L"enqueue C:\\a.mp3", L"enqueue C:\\b.mp3", L"position 0", L"play"}));
    }
}

TEST_F(PlaybackTest, PlayWithShuffleOnStartsAtADrawnEntryInsideThePlaylist) {
    host.shuffle = true;
    TestActions actions = Actions();
    const std::pair<int, int> draws[] = {{0, 0}, {16384, 2}, {32767, 3}};
    for (auto [draw, entry] : draws) {
        actions.draw = draw;
        std::vector<Ref<FileRecord>> rows = {Row(L"C:\\a.mp3"), Row(L"C:\\b.mp3"), Row(L"C:\\c.mp3"), Row(L"C:\\d.mp3")};
        EXPECT_EQ(actions.Perform(rows, kMenuPlay), entry) << draw;
        EXPECT_EQ(host.position, entry);
    }
}

TEST_F(PlaybackTest, OnlyAPausedHostIsStoppedBeforePlaying) {
    for (int state : {0, 1, 3}) {
        host.state = state;
        host.log.clear();
        TestActions actions = Actions();
        EXPECT_EQ(actions.Perform({Row(L"C:\\a.mp3")}, kMenuEnqueueAndPlay), 10);
        Log tail = state == 3 ? Log{L"stop", L"position 10", L"play"} : Log{L"position 10", L"play"};
        EXPECT_EQ(Log(host.log.begin() + 1, host.log.end()), tail) << state;
        host.playlist.erase(host.playlist.begin() + 10, host.playlist.end());
    }
}

TEST_F(PlaybackTest, BlockedDuplicatesAreLeftOutAndAKnownFirstRowPlaysItsEntry) {
    TestActions actions = Actions({true, false});
    EXPECT_EQ(actions.Perform({Row(L"c:\\OLD\\7.MP3"), Row(L"C:\\old\\2.mp3")}, kMenuEnqueueAndPlay), 7);
    EXPECT_EQ(host.log, (Log{L"position 7", L"play"}));

    // The known paths are read once, before the first row: a new file chosen twice goes in twice.
    host.pathReads = 0;
    host.log.clear();
    EXPECT_EQ(actions.Perform({Row(L"C:\\new.mp3"), Row(L"C:\\old\\3.mp3"), Row(L"C:\\NEW.mp3")}, kMenuEnqueue), 10);
    EXPECT_EQ(host.log, (Log{L"enqueue C:\\new.mp3", L"enqueue C:\\NEW.mp3"}));
    EXPECT_EQ(host.pathReads, 10);

    TestActions allowing = Actions();
    EXPECT_EQ(allowing.Perform({Row(L"C:\\old\\3.mp3")}, kMenuEnqueue), 12);
    EXPECT_EQ(host.playlist.back().path, L"C:\\old\\3.mp3");
}

TEST_F(PlaybackTest, EnqueueAfterCurrentInsertsAfterThePlayingEntry) {
    host.position = 4;
    TestActions actions = Actions({false, true});
    EXPECT_EQ(actions.Perform({Row(L"C:\\x.mp3"), Row(L"C:\\y.mp3"), Row(L"C:\\z.mp3")}, kMenuEnqueueAfterCurrent), 7);
    EXPECT_EQ(host.log, (Log{L"insert C:\\x.mp3@5", L"insert C:\\y.mp3@6", L"insert C:\\z.mp3@7", L"shuffle 0"}));

    host.log.clear();
    host.shuffle = true;
    EXPECT_EQ(actions.Perform({}, kMenuEnqueueAfterCurrent), 0);
    EXPECT_EQ(host.log, (Log{L"shuffle 0"}));
    TestActions keepingShuffle = Actions({}, false);  // the editor is asked of the host
    keepingShuffle.Perform({Row(L"C:\\w.mp3")}, kMenuEnqueueAfterCurrent);
    EXPECT_EQ(host.log.back(), L"insert C:\\w.mp3@5");
}

TEST_F(PlaybackTest, InsertingAfterAKnownFirstRowGoesAfterItsEntry) {
    host.position = 4;
    TestActions actions = Actions({true, false});
    EXPECT_EQ(actions.Perform({Row(L"C:\\old\\1.mp3"), Row(L"C:\\x.mp3"), Row(L"C:\\y.mp3")}, kMenuEnqueueAfterCurrent), 3);
    EXPECT_EQ(host.log, (Log{L"insert C:\\x.mp3@2", L"insert C:\\y.mp3@3"}));
}

TEST_F(PlaybackTest, PathsTooLongForTheEditorAreNotInserted) {
    host.position = 4;
    TestActions actions = Actions();
    std::wstring longest = L"C:\\" + std::wstring(252, L'a') + L".mp3";  // 259 characters
    actions.Perform({Row(L"C:\\" + std::wstring(297, L'b')), Row(longest), Row(longest + L"x")}, kMenuEnqueueAfterCurrent);
    EXPECT_EQ(host.log, (Log{L"insert " + longest + L"@5"}));
}

TEST_F(PlaybackTest, EnqueuedTitlesAndLengths) {
    TestActions actions = Actions();
    actions.Perform({Row(L"C:\\untitled.mp3", 61500), Row(L"C:\\titled.mp3", 3000, L"Stored"), Row(L"C:\\unknown.mp3", 0),
                     Row(L"C:\\unread.mp3", -1, L"Stored")},
                    kMenuEnqueue);
    const Entry* added = &host.playlist[10];
    EXPECT_EQ(added[0].title.value_or(L"none"), L"Artist - ");
    EXPECT_EQ(added[0].seconds, 61);
    EXPECT_EQ(added[1].title.value_or(L"none"), L"Stored");
    EXPECT_EQ(added[1].seconds, 3);
    for (int i : {2, 3}) EXPECT_FALSE(added[i].title.has_value()) << i;
    for (int i : {2, 3}) EXPECT_EQ(added[i].seconds, 0) << i;
    EXPECT_EQ(host.titleRequests, 1);
}

TEST_F(PlaybackTest, EmptyRowsAndPlayAfterCurrentLeaveTheHostAlone) {
    TestActions actions = Actions({true, false});
    for (int action : {kMenuPlay, kMenuEnqueueAndPlay, kMenuEnqueue, kMenuPlayAfterCurrent}) {
        EXPECT_EQ(actions.Perform({}, action), 0) << action;
    }
    EXPECT_EQ(actions.Perform({Row(L"C:\\a.mp3")}, kMenuPlayAfterCurrent), 0);
    actions.PlayWholeList({});
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(actions.notices, (Log{L"Not implemented.", L"Not implemented."}));
}

}  // namespace
