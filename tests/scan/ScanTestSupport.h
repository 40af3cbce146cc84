// What the scan tests share: a hidden window standing in for the main view that records the
// commands posted to it, a host window that answers tag requests, a library of real folders
// and files, and a cache database to look into.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "db/CacheDatabase.h"
#include "db/TreeNode.h"
#include "playlists/Playlist.h"
#include "scan/ChangeNotice.h"
#include "scan/MediaExtensions.h"
#include "support/TempFolder.h"

struct PostedCommand {
    WPARAM code = 0;
    std::wstring path;       // text, node path or notice path
    int action = 0;          // change notices
    LPARAM argument = 0;     // commands without an object
    Ref<TreeNode> node;      // 1006, 1007, 1050
    Ref<ChangeNotice> notice;  // 1045, 1046
};

// Registered as the main view for its lifetime. Objects arriving with commands are released
// as the view would release them.
class ViewRecorder {
public:
    ViewRecorder();
    ~ViewRecorder();
    ViewRecorder(const ViewRecorder&) = delete;
    ViewRecorder& operator=(const ViewRecorder&) = delete;

    // Delivers what was posted so far.
    void Pump();
    // Pumps until the condition holds or the time runs out; answers the condition.
    bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
    std::vector<PostedCommand> Of(WPARAM code);
    void Clear() { commands.clear(); }

    std::vector<PostedCommand> commands;
    std::vector<std::wstring> playlistQuestions;
    Ref<Playlist> playlistAnswer;  // what 1112 answers (one reference each time), or nothing

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wp, LPARAM lp);
    LRESULT OnCommand(WPARAM code, LPARAM argument);
    HWND window_ = nullptr;
};

// Registered as the host window: answers tag requests with a title made of the file name.
class TagHost {
public:
    TagHost();
    ~TagHost();
    TagHost(const TagHost&) = delete;
    TagHost& operator=(const TagHost&) = delete;

    int requests = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wp, LPARAM lp);
    HWND window_ = nullptr;
};

struct FileRow {
    long long fileId = 0;
    int folderId = 0;
    int fileExists = 0;
    std::optional<int> tagged;
    long long size = 0;
    long long changed = 0;
    std::wstring extension;
    std::optional<std::wstring> title;
    int playCount = 0;
};

class ScanFixtureBase {
protected:
    ScanFixtureBase();

    // The library folder, with its backslash.
    const std::wstring& Library() const { return library_; }
    // Creates the folders of a relative path below the library; answers it with its backslash.
    std::wstring MakeFolder(const std::wstring& relative);
    // Creates a file (and its folders) below the library; answers its full path.
    std::wstring MakeFile(const std::wstring& relative, const std::string& bytes = "data");

    long long Count(const std::wstring& sql);
    std::optional<FileRow> Row(const std::wstring& fullPath);
    std::vector<std::wstring> FolderPaths();
    void Exec(const std::wstring& sql);

    TempFolder temp;
    std::wstring library_;
    CacheDatabase database;
    Ref<MediaExtensions> extensions;
};

long long FileTimeOf(const std::wstring& path);
void SetFileTimeOf(const std::wstring& path, long long time);
