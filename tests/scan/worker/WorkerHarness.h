// Stand-ins for the windows the worker talks to: a view that records every command posted or
// sent to it, a file list that records its state codes, and a host that answers tag requests
// from a table and can be made to hang. All live on the test's thread, which pumps them.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "db/FileRecord.h"

struct PostedCommand {
    WPARAM code;
    LPARAM argument;
    std::wstring text;  // the text of a text argument, when the code carries one
    std::vector<std::wstring> listed;  // 1002: the full paths of the rows, in the order listed
};

class WorkerHarness {
public:
    WorkerHarness();
    ~WorkerHarness();

    // Pumps messages until the predicate holds or the time is up; answers the predicate.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
    void Pump(DWORD ms);
    // Commands the view received, in order.
    std::vector<PostedCommand> Commands() const { return commands; }
    std::vector<WPARAM> Codes() const;
    bool Received(WPARAM code) const;
    int Count(WPARAM code) const;

    std::vector<PostedCommand> commands;
    std::vector<LPARAM> listStates;
    // Tags the host answers, by file name; a file not in the table gets empty answers.
    std::map<std::wstring, TagTexts> tagsByName;
    DWORD hostDelayMs = 0;
    int tagRequests = 0;
    // Called with the count of tag requests so far as the host answers each one.
    std::function<void(int)> onTagRequest;

private:
    static LRESULT CALLBACK ViewProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK HostProc(HWND, UINT, WPARAM, LPARAM);

    HWND view_ = nullptr;
    HWND list_ = nullptr;
    HWND host_ = nullptr;
};
