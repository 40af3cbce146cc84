// What the scan tests share: a hidden window standing in for the main view that records the
// commands posted to it, a library of real folders and files, and a cache to look into.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "db/CacheDatabase.h"
#include "db/TreeNode.h"
#include "scan/ChangeNotice.h"
#include "scan/MediaExtensions.h"
#include "support/TempFolder.h"

struct PostedCommand {
    WPARAM code = 0;
    std::wstring path;          // text, node path or notice path
    int action = 0;             // change notices
    LPARAM argument = 0;        // commands without an object
    Ref<TreeNode> node;         // 1006, 1007, 1050
    Ref<ChangeNotice> notice;   // 1045, 1046
};

// Registered as the main view for its lifetime; releases what arrives as the view would.
class ViewRecorder {
public:
    ViewRecorder();
    ~ViewRecorder();
    ViewRecorder(const ViewRecorder&) = delete;
    ViewRecorder& operator=(const ViewRecorder&) = delete;

    void Pump();
    // Pumps until the condition holds or the time runs out; answers the condition.
    bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
    std::vector<PostedCommand> Of(WPARAM code);

    std::vector<PostedCommand> commands;
    std::vector<std::wstring> playlistQuestions;
    Ref<Playlist> playlistAnswer;  // what 1112 answers (one reference each time), or nothing

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wp, LPARAM lp);
    LRESULT OnCommand(WPARAM code, LPARAM argument);
    HWND window_ = nullptr;
};

HWND MakeMessageWindow(const wchar_t* className, WNDPROC proc, void* owner);

struct FileRow {
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
    // Creates the folder (and those above it) below the library; answers it with its backslash.
    std::wstring MakeFolder(const std::wstring& relative);
    std::wstring MakeFile(const std::wstring& relative, const std::string& bytes = "data");

    long long Count(const std::wstring& sql);
    void Exec(const std::wstring& sql);
    std::optional<FileRow> Row(const std::wstring& fullPath);
    // The file names stored under the folder (path with its backslash), as spelled, in order.
    std::vector<std::wstring> NamesIn(const std::wstring& folderPath);

    TempFolder temp;
    std::wstring library_;
    CacheDatabase database;
    Ref<MediaExtensions> extensions;
};

long long FileTimeOf(const std::wstring& path);
// Gives the file the other spelling of its name. Wine takes a rename in case only for a rename
// to itself, so the file goes through a name of its own on the way.
void RenameInCase(const std::wstring& from, const std::wstring& to);
