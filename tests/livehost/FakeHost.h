// A stand-in player inside the test's own process: a host main window that answers the
// requests the plugin makes (version, command ids, menus, frames, the preferences page,
// playable extensions, tags from a table, titles made of them, a playlist that plays), with
// switches to make the tag answers slow or hung and the file-information dialog let the plugin
// go on, plus the pumping and message-box helpers the in-process plugin tests share.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/HostApi.h"
#include "../../tools/host/FrameRecordWatch.h"

// The host's question whether a window is one of its frames; the plugin has no use for it.
constexpr LPARAM kIsFrameWindowRequest = 533;

struct FakeHost {
    HWND window = nullptr;
    HWND editor = nullptr;
    LRESULT version = 0x5036;
    UINT nextCommandId = 41000;
    HMENU mainMenu = nullptr;
    HMENU secondMenu = nullptr;
    std::vector<HWND> frames;
    EmbedRecord* embed = nullptr;
    // The record as it was when the frame was asked for: all the host reads of it then.
    EmbedRecord embedAtCreation = {};
    // Whether the host keeps the frame's rectangle in the record, as the player need not.
    bool writesFrameRecord = true;
    // The words of each request 533, which asks whether a window is one of the host's frames.
    std::vector<WPARAM> frameQueries;
    // As the player does, the frame's rectangle is written into its record while it lives;
    // a write the plugin's freeing of the record made impossible is counted instead.
    std::optional<standin::FrameRecordWatch> embedWatch;
    HWND embedFrame = nullptr;
    int writesIntoFreedRecord = 0;
    // The answer to the service manager request: none unless a test provides one.
    LRESULT serviceManager = 0;
    PrefsPageRecord* prefsPage = nullptr;
    // The page was removed (request 333) while its record was still whole.
    bool prefsPageRemovedWhole = false;
    int closes = 0;
    // What the host says it plays, and how often it was asked.
    std::vector<std::wstring> playableExtensions = {L"mp3", L"flac"};
    int extensionRequests = 0;

    // Tag answers by file name and key ("title", "artist", ...); missing keys answer nothing.
    std::map<std::wstring, std::map<std::wstring, std::wstring>> tags;
    // Each tag answer takes this long: a slow input plugin.
    DWORD tagDelayMs = 0;
    // A careless input plugin: every answer fills the whole buffer (its text repeated, or
    // cut) and writes no terminating NUL.
    bool unterminatedTags = false;
    // The frame request (505) answers no window.
    bool noFrame = false;
    int tagRequests = 0;
    // The same, counted by file name.
    std::map<std::wstring, int> tagRequestsByName;
    // One file the host reads slowly, as an input plugin that takes its time over a file: the
    // first key of each read (the title) is answered only after slowReadMs, or, with answerSlowReadWhen set, not before
    // that holds (a hang the test ends). Meanwhile the host's thread handles posted messages
    // only; requests sent to it wait, as they would behind the busy input plugin.
    std::wstring slowFile;
    DWORD slowReadMs = 0;
    std::function<bool()> answerSlowReadWhen;
    int slowReads = 0;
    // The file-information dialog (1293): the paths it was shown for, what it answers (0 lets
    // the plugin go on to the next file), and what the user does while it is open.
    std::vector<std::wstring> fileInfoShown;
    LRESULT fileInfoAnswer = 1;
    std::function<void(const std::wstring& path)> whileFileInfoShown;
    // The host's playlist and playback.
    std::vector<std::wstring> playlist;
    int position = 0;
    int playbackState = 0;
    int restarts = 0;
    // 0: the file-started notice comes inside the Play command; otherwise this long after it,
    // from the host's own message loop.
    DWORD startDelayMs = 0;
    UINT_PTR startTimer = 0;
    std::wstring playingPath;
    // The skin's colour bitmap: each request gets a new one from here (the plugin deletes the
    // one it held), or none when unset.
    std::function<HBITMAP()> skinBitmap;
    int skinRequests = 0;
};

// The one stand-in host of the test program; reset by each test.
FakeHost& Fake();
void ResetFake();

// Makes the host main window (and menus) of a fresh stand-in host, and ends it again.
HWND CreateFakeHostWindow();
void DestroyFakeHost();
// The playing entry ends and the next one starts by itself (the file-started notice follows);
// after the last entry playback stops.
void AdvanceFakePlayback();

// A plain window of the frame's class (the fake's frames and playlist editor use it).
HWND CreateFakeFrame(const wchar_t* title, const RECT& rect);

// Delivers this thread's messages for a few rounds.
void Pump();
void PumpFor(DWORD milliseconds);
// Answers whether the condition came true within the time.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// The same, but woken by each message as it arrives and checking the condition after each one,
// rather than pumping in rounds: for tests that step through many synchronous requests of
// the worker, or must act between one request and the next message.
bool PumpEachUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// A message box of this process with the given title. Other test programs may show boxes
// with the same title on the same desktop at the same time; those are not ours to answer.
HWND FindOwnBox(const wchar_t* title);
// Answers the next box of this process with the title by pressing the button, from a thread
// of its own (the plugin shows boxes modally on the test's thread); records the box's text.
class BoxAnswerer {
public:
    BoxAnswerer(const wchar_t* title, int button, int boxes = 1);
    // Answers one box, after running whileOpen on the answering thread while the box is shown.
    BoxAnswerer(const wchar_t* title, int button, std::function<void()> whileOpen);
    ~BoxAnswerer();
    // Waits for the thread; answers the texts of the boxes answered.
    std::vector<std::wstring> Join();
    // Whether the thread has answered its boxes or given up waiting for them. A test pumps
    // until then: the answer reads the box's text, which needs the box's thread to run.
    bool Done() const { return done_; }

private:
    std::vector<std::wstring> texts_;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

std::wstring ReadIni(const std::wstring& file, const wchar_t* section, const wchar_t* key);
