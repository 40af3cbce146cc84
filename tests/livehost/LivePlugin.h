// A test fixture that runs the whole plugin in the test's own process against the stand-in
// player of FakeHost.h: roots stored in the cache beforehand, start-up through the host's
// own messages, the view's controls at hand, and close and quit as the player does them.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "base/RefCounted.h"
#include "db/roots/Root.h"
#include "host/PluginRecord.h"
#include "livehost/FakeHost.h"
#include "support/BuildFiles.h"
#include "support/TempFolder.h"

class LivePluginTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores a folder root in the cache before start-up, so that start-up scans it without
    // asking anything. Answers its root id.
    long long StoreFolderRoot(const std::wstring& path);
    // Init, then messages until the view has taken in its first listing. The view's window is
    // watched from then on to count the listings it takes in.
    void StartPlugin();
    // The player's close request, then Quit.
    void CloseAndQuit();
    // A one-byte file of the library (its folders made as needed), and the tags the player
    // answers for its name.
    void AddLibraryFile(const std::wstring& relative, const std::map<std::wstring, std::wstring>& tags = {});
    // Stores a playlist root (a playlist file) in the cache before start-up. Answers its id.
    long long StorePlaylistRoot(const std::wstring& path);
    // The close request (when asked for) and Quit with no message handled between them, as a
    // player that shuts down at once does, under a guard that ends the program should they hang.
    // Answers how long the two took.
    DWORD CloseAndQuitAtOnce(bool withClose = true);
    // After Quit: a fresh stand-in player and plugin context over the same documents and cache,
    // as when the player loads the plugin again in the same process.
    void BeginNextLife();
    // The first number a statement on the cache answers.
    long long CountInCache(const wchar_t* sql) const;

    HWND View() const;
    HWND Tree() const;
    HWND List() const;
    HWND Search() const;
    int ListCount() const;
    // Sends a command to the view, as the plugin's own parts do.
    LRESULT Command(WPARAM code, LPARAM argument = 0) const;
    void PostCommand(WPARAM code, LPARAM argument = 0) const;
    // Selects the tree item with this path (a folder with its backslash), or "My Library" for
    // an empty path, and waits for its listing.
    bool SelectAndWaitForListing(const std::wstring& path);
    // The tree item whose node has this path (ignoring case), "My Library" for an empty path.
    HTREEITEM ItemOf(const std::wstring& path) const;
    // The root shown by the top-level item with this path, or null.
    Ref<Root> RootOf(const std::wstring& path) const;
    // Listings the view has taken in since start-up.
    int Listings() const;
    // Commands with this code (1000-1199) the view's thread has taken from its queue since
    // start-up; safe to read from another thread.
    static int CommandsReceived(WPARAM code);
    // Waits until more than shownBefore listings have been taken in.
    bool WaitForListing(int shownBefore, DWORD timeoutMs = 20000);
    // Row-tag notices (1041) the view has taken in since start-up.
    int RowNotices() const;
    // A click on a column header, as the list reports it to the view.
    void ClickHeader(int column) const;
    // The texts of one list column, row by row.
    std::vector<std::wstring> ColumnTexts(int column) const;
    std::wstring StatusText() const;

    std::wstring SettingsPath() const { return folder.File(L"docs\\Crateview\\gen_cv.ini"); }
    std::wstring CacheFolder() const { return folder.File(L"docs\\Crateview\\Cache"); }
    std::wstring Library(const std::wstring& relative = L"") const { return folder.File(L"Music\\" + relative); }

    TempFolder folder;
    // Made before Init, so the plugin's own creation of the context keeps these folders.
    ScopedPluginContext context{folder.File(L"docs")};
    HWND host = nullptr;
    PluginRecord* record = nullptr;
    bool started = false;
    bool quit = false;
};
