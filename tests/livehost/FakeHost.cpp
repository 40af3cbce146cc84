// The in-process stand-in player of the plugin tests.
#include "livehost/FakeHost.h"

#include <algorithm>
#include <cstring>

namespace {

FakeHost fake;

LRESULT CALLBACK FakeFrameProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    bool writes = fake.writesFrameRecord && (message == WM_WINDOWPOSCHANGED || message == WM_DESTROY);
    if (writes && fake.embedWatch && fake.embedFrame == window) {
        if (fake.embedWatch->Held())
            GetWindowRect(window, &fake.embedWatch->record()->rect);
        else
            ++fake.writesIntoFreedRecord;
    }
    return DefWindowProcW(window, message, wp, lp);
}

// Each extension zero-terminated, then an empty one.
LRESULT PlayableExtensions() {
    ++fake.extensionRequests;
    std::wstring list;
    for (const std::wstring& extension : fake.playableExtensions) list += extension + L'\0';
    list += L'\0';
    size_t bytes = list.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(block), list.data(), bytes);
    GlobalUnlock(block);
    return reinterpret_cast<LRESULT>(block);
}

std::wstring NameOf(const wchar_t* path) {
    const wchar_t* slash = std::wcsrchr(path, L'\\');
    return slash ? slash + 1 : path;
}

// Long enough for any time-out of the plugin; only a guard against a test that never ends it.
constexpr DWORD kSlowReadGuardMs = 60000;

void HoldSlowRead() {
    ++fake.slowReads;
    if (!fake.answerSlowReadWhen) {
        Sleep(fake.slowReadMs);
        return;
    }
    DWORD start = GetTickCount();
    while (!fake.answerSlowReadWhen() && GetTickCount() - start < kSlowReadGuardMs) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_POSTMESSAGE, MWMO_INPUTAVAILABLE);
    }
}

LRESULT AnswerTag(const HostFileInfoRequest& request) {
    ++fake.tagRequests;
    ++fake.tagRequestsByName[NameOf(request.path)];
    // The plugin asks for the title first: that is where the host reads the file.
    bool readStarts = std::wstring(request.key) == L"title";
    if (readStarts && !fake.slowFile.empty() && NameOf(request.path) == fake.slowFile) HoldSlowRead();
    if (fake.tagDelayMs) Sleep(fake.tagDelayMs);
    auto file = fake.tags.find(NameOf(request.path));
    if (file == fake.tags.end()) return 0;
    auto value = file->second.find(request.key);
    if (value == file->second.end()) return 0;
    if (fake.unterminatedTags && !value->second.empty()) {
        for (int i = 0; i < request.bufferLength; ++i) request.buffer[i] = value->second[i % value->second.size()];
        return 1;
    }
    lstrcpynW(request.buffer, value->second.c_str(), request.bufferLength);
    return 1;
}

// The host's default title format: "artist - title" from the plugin's tag answers, or
// whichever of the two there is.
LRESULT FormatTitle(const HostTitleRequest& request) {
    std::wstring text;
    for (const wchar_t* key : {L"artist", L"title"}) {
        wchar_t* value = request.tagCallback(key, request.context);
        if (!value || value == kTitleTagEmpty) continue;
        text += (text.empty() ? L"" : L" - ") + std::wstring(value);
        request.freeCallback(value, request.context);
    }
    lstrcpynW(request.out, text.c_str(), request.outLength);
    return 1;
}

LRESULT ShowFileInfo(const HostFileInfoRecord& record) {
    std::wstring path = record.path ? record.path : L"";
    fake.fileInfoShown.push_back(path);
    if (fake.whileFileInfoShown) fake.whileFileInfoShown(path);
    return fake.fileInfoAnswer;
}

void NotifyFileStarted() {
    if (fake.position < 0 || static_cast<size_t>(fake.position) >= fake.playlist.size()) return;
    fake.playingPath = fake.playlist[static_cast<size_t>(fake.position)];
    SendMessageW(fake.window, kHostMessage, reinterpret_cast<WPARAM>(fake.playingPath.c_str()), kHostFileStarted);
}

void CALLBACK OnStartTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    fake.startTimer = 0;
    if (fake.playbackState == 1) NotifyFileStarted();
}

void StartPlaying() {
    fake.playbackState = 1;
    if (fake.startTimer) KillTimer(nullptr, fake.startTimer);
    fake.startTimer = 0;
    if (fake.startDelayMs == 0) NotifyFileStarted();
    else fake.startTimer = SetTimer(nullptr, 0, fake.startDelayMs, &OnStartTimer);
}

LRESULT CreateFrame(EmbedRecord* embed) {
    if (fake.noFrame) return 0;
    fake.embed = embed;
    fake.embedAtCreation = *embed;
    HWND frame = CreateFakeFrame(L"", embed->rect);
    fake.frames.push_back(frame);
    embed->frame = frame;
    fake.embedWatch.emplace(reinterpret_cast<standin::FrameRecord*>(embed));
    fake.embedFrame = frame;
    return reinterpret_cast<LRESULT>(frame);
}

// The record must still be the one registered, and still whole: the host reads it once more.
LRESULT RemovePrefsPage(PrefsPageRecord* page) {
    if (!page || page != fake.prefsPage) return 0;
    fake.prefsPageRemovedWhole = page->name && std::strcmp(page->name, "Crateview") == 0;
    fake.prefsPage = nullptr;
    return 1;
}

LRESULT Request(LPARAM id, WPARAM wp) {
    switch (id) {
        case kHostGetVersion: return fake.version;
        case kHostNewCommandId: return fake.nextCommandId++;
        case kHostGetMenu: return reinterpret_cast<LRESULT>(wp == 0 ? fake.mainMenu : fake.secondMenu);
        case kHostGetWindow: return reinterpret_cast<LRESULT>(wp == 1 ? fake.editor : nullptr);
        case kHostCreateFrame: return CreateFrame(reinterpret_cast<EmbedRecord*>(wp));
        case kHostRegisterPrefsPage: fake.prefsPage = reinterpret_cast<PrefsPageRecord*>(wp); return 1;
        case kHostRemovePrefsPage: return RemovePrefsPage(reinterpret_cast<PrefsPageRecord*>(wp));
        case kIsFrameWindowRequest: fake.frameQueries.push_back(wp); return 0;
        case kHostPlayableExtensions: return PlayableExtensions();
        case kHostServiceManager: return fake.serviceManager;
        case kHostExtendedFileInfo: return AnswerTag(*reinterpret_cast<HostFileInfoRequest*>(wp));
        case kHostFormatTitle: return FormatTitle(*reinterpret_cast<HostTitleRequest*>(wp));
        case kHostFileInfoDialog: return ShowFileInfo(*reinterpret_cast<HostFileInfoRecord*>(wp));
        case kHostClearPlaylist: fake.playlist.clear(); return 0;
        case kHostPlaylistLength: return static_cast<LRESULT>(fake.playlist.size());
        case kHostPlaylistPosition: return fake.position;
        case kHostSetPlaylistPosition: fake.position = static_cast<int>(wp); return 0;
        case kHostPlaybackState: return fake.playbackState;
        case kHostSkinColorBitmap:
            ++fake.skinRequests;
            return fake.skinBitmap ? reinterpret_cast<LRESULT>(fake.skinBitmap()) : 0;
        case kHostRestart: ++fake.restarts; return 0;
        case kHostPlaylistEntryPath:
            return wp < fake.playlist.size() ? reinterpret_cast<LRESULT>(fake.playlist[wp].c_str()) : 0;
        case kHostEnqueueFile:
            fake.playlist.push_back(reinterpret_cast<HostEnqueueRecord*>(wp)->path);
            return 0;
        default: return 0;
    }
}

LRESULT CALLBACK FakeHostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kHostMessage) return Request(lp, wp);
    if (message == WM_COMMAND && LOWORD(wp) == kHostPlayCommand) {
        StartPlaying();
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wp) == kHostStopCommand) {
        fake.playbackState = 0;
        return 0;
    }
    if (message == WM_CLOSE) {
        ++fake.closes;
        return 0;  // the host decides itself when to go; the test ends it
    }
    return DefWindowProcW(window, message, wp, lp);
}

void RegisterClasses() {
    static bool done = [] {
        WNDCLASSW wc = {};
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpfnWndProc = &FakeHostProc;
        wc.lpszClassName = L"CvFakeHost";
        RegisterClassW(&wc);
        wc.lpfnWndProc = &FakeFrameProc;
        wc.lpszClassName = L"CvFakeFrame";
        RegisterClassW(&wc);
        return true;
    }();
    (void)done;
}

struct BoxSearch {
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchOwnBox(HWND window, LPARAM lp) {
    auto& search = *reinterpret_cast<BoxSearch*>(lp);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {}, text[64] = {};
    GetClassNameW(window, className, 16);
    if (process != GetCurrentProcessId() || wcscmp(className, L"#32770") != 0) return TRUE;
    // Not GetWindowTextW: for a window of this process it sends a message to the window's
    // thread, and waits for as long as the test's thread is not pumping.
    InternalGetWindowText(window, text, 64);
    if (wcscmp(text, search.title) != 0) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

FakeHost& Fake() { return fake; }

void ResetFake() {
    if (fake.startTimer) KillTimer(nullptr, fake.startTimer);
    fake = FakeHost();
}

void AdvanceFakePlayback() {
    if (fake.playbackState != 1) return;
    if (static_cast<size_t>(fake.position + 1) >= fake.playlist.size()) {
        fake.playbackState = 0;
        return;
    }
    ++fake.position;
    NotifyFileStarted();
}

HWND CreateFakeFrame(const wchar_t* title, const RECT& r) {
    RegisterClasses();
    return CreateWindowW(L"CvFakeFrame", title, WS_OVERLAPPEDWINDOW, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND CreateFakeHostWindow() {
    RegisterClasses();
    fake.mainMenu = CreatePopupMenu();
    fake.secondMenu = CreatePopupMenu();
    fake.window = CreateWindowW(L"CvFakeHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    return fake.window;
}

void DestroyFakeHost() {
    for (HWND frame : fake.frames)
        if (IsWindow(frame)) DestroyWindow(frame);
    fake.frames.clear();
    if (fake.editor && IsWindow(fake.editor)) DestroyWindow(fake.editor);
    if (fake.window) DestroyWindow(fake.window);
    if (fake.mainMenu) DestroyMenu(fake.mainMenu);
    if (fake.secondMenu) DestroyMenu(fake.secondMenu);
    fake.editor = fake.window = nullptr;
    fake.mainMenu = fake.secondMenu = nullptr;
}

void Pump() {
    MSG msg;
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) Pump();
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Pump();
    }
    return true;
}

bool PumpEachUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return false;
        // Sent messages are handled inside PeekMessage; one posted message at most per check.
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        if (condition()) return true;
        MsgWaitForMultipleObjectsEx(0, nullptr, std::min<DWORD>(timeoutMs - waited, 50), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

HWND FindOwnBox(const wchar_t* title) {
    BoxSearch search{title, nullptr};
    EnumWindows(&MatchOwnBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

// Up to 30 s: other tests may be loading the machine.
HWND WaitForOwnBox(const wchar_t* title) {
    DWORD start = GetTickCount();
    HWND box = FindOwnBox(title);
    while (!box && GetTickCount() - start < 60000) {  // a guard against a box that never comes
        Sleep(20);
        box = FindOwnBox(title);
    }
    return box;
}

std::wstring PressButton(HWND box, int button) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    PostMessageW(box, WM_COMMAND, button, 0);
    // The same box must be gone before the next one is looked for.
    for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
    return text;
}

}  // namespace

BoxAnswerer::BoxAnswerer(const wchar_t* title, int button, int boxes)
    : thread_([this, title, button, boxes] {
          for (int answered = 0; answered < boxes; ++answered) {
              HWND box = WaitForOwnBox(title);
              if (!box) break;
              texts_.push_back(PressButton(box, button));
          }
          done_ = true;
      }) {}

BoxAnswerer::BoxAnswerer(const wchar_t* title, int button, std::function<void()> whileOpen)
    : thread_([this, title, button, whileOpen] {
          if (HWND box = WaitForOwnBox(title)) {
              if (whileOpen) whileOpen();
              texts_.push_back(PressButton(box, button));
          }
          done_ = true;
      }) {}

BoxAnswerer::~BoxAnswerer() {
    if (thread_.joinable()) thread_.join();
}

std::vector<std::wstring> BoxAnswerer::Join() {
    if (thread_.joinable()) thread_.join();
    return texts_;
}

std::wstring ReadIni(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(section, key, L"<none>", value, 256, file.c_str());
    return value;
}
