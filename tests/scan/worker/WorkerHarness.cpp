// The stand-in windows of the worker tests.
#include "WorkerHarness.h"

#include <cstring>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/roots/Root.h"
#include "db/RowList.h"
#include "db/TreeNode.h"
#include "host/HostApi.h"
#include "scan/ChangeNotice.h"

namespace {

WorkerHarness* current = nullptr;

bool CarriesText(WPARAM code) {
    return code == kCmdStatusText || code == kCmdShowMessage || code == kCmdOfferTagReading ||
           code == kCmdFolderRemoved || code == kCmdPlaylistForPath;
}

bool CarriesNode(WPARAM code) {
    return code == kCmdRootLoaded || code == kCmdFolderRescanned || code == kCmdShowRoot ||
           code == kCmdFolderAdded || code == kCmdRootNotLoaded;
}

// Takes over the reference that came with the command, keeping what the tests look at.
void Receive(WPARAM code, LPARAM lp, PostedCommand& command) {
    if (!lp) return;
    if (CarriesText(code)) {
        Ref<TextObject> text = AdoptText(lp);
        command.text = text->text;
    } else if (CarriesNode(code)) {
        Ref<TreeNode> node = Ref<TreeNode>::Adopt(reinterpret_cast<TreeNode*>(lp));
        command.text = node->path;
    } else if (code == kCmdListingReady) {
        auto* result = reinterpret_cast<ListResult*>(lp);
        command.text = std::to_wstring(result->rows ? result->rows->rows.size() : 0);
        if (result->rows)
            for (const auto& row : result->rows->rows) command.listed.push_back(row->Path());
        delete result;
    } else if (code == kCmdRootAvailability) {
        Ref<Root> root = Ref<Root>::Adopt(reinterpret_cast<Root*>(lp));
        command.text = root->Path();
    } else if (code == kCmdFileChanged || code == kCmdFolderChanged) {
        Ref<ChangeNotice> notice = Ref<ChangeNotice>::Adopt(reinterpret_cast<ChangeNotice*>(lp));
        command.text = notice->path;
    }
}

HWND MakeWindow(const wchar_t* name, WNDPROC proc) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
    return CreateWindowW(name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace

WorkerHarness::WorkerHarness() {
    current = this;
    view_ = MakeWindow(L"CvWorkerView", &ViewProc);
    list_ = MakeWindow(L"CvWorkerList", &ListProc);
    host_ = MakeWindow(L"CvWorkerHost", &HostProc);
    RegisterWindow(kMainViewWindowId, view_);
    RegisterWindow(kListWindowId, list_);
    RegisterWindow(kHostWindowId, host_);
}

WorkerHarness::~WorkerHarness() {
    Pump(20);
    RegisterWindow(kMainViewWindowId, nullptr);
    RegisterWindow(kListWindowId, nullptr);
    RegisterWindow(kHostWindowId, nullptr);
    DestroyWindow(view_);
    DestroyWindow(list_);
    DestroyWindow(host_);
    current = nullptr;
}

LRESULT CALLBACK WorkerHarness::ViewProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message != kCommandMessage || !current) return DefWindowProcW(window, message, wp, lp);
    PostedCommand command{wp, lp, {}, {}};
    Receive(wp, lp, command);
    current->commands.push_back(command);
    return 0;  // no playlist for a path, nothing else answered
}

LRESULT CALLBACK WorkerHarness::ListProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kCommandMessage && current) {
        current->listStates.push_back(lp);
        return 0;
    }
    return DefWindowProcW(window, message, wp, lp);
}

// What a player of mp3 and flac files reports it can play.
LRESULT PlayableExtensions() {
    static const wchar_t kList[] = L"mp3\0flac\0";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof kList);
    memcpy(GlobalLock(block), kList, sizeof kList);
    GlobalUnlock(block);
    return reinterpret_cast<LRESULT>(block);
}

LRESULT CALLBACK WorkerHarness::HostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kHostMessage && lp == kHostPlayableExtensions) return PlayableExtensions();
    if (message != kCommandMessage || !current) return DefWindowProcW(window, message, wp, lp);
    ++current->tagRequests;
    if (current->onTagRequest) current->onTagRequest(current->tagRequests);
    if (current->hostDelayMs) Sleep(current->hostDelayMs);
    auto* record = reinterpret_cast<FileRecord*>(wp);
    auto found = current->tagsByName.find(std::wstring(record->FileName()));
    TagTexts tags;
    for (auto& tag : tags) tag = L"";
    if (found != current->tagsByName.end()) tags = found->second;
    record->SetTags(tags);
    record->length = 61000;
    record->tagged = true;
    return 1;
}

bool WorkerHarness::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return true;
}

void WorkerHarness::Pump(DWORD ms) {
    DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

std::vector<WPARAM> WorkerHarness::Codes() const {
    std::vector<WPARAM> codes;
    for (const PostedCommand& c : commands) codes.push_back(c.code);
    return codes;
}

bool WorkerHarness::Received(WPARAM code) const { return Count(code) > 0; }

int WorkerHarness::Count(WPARAM code) const {
    int n = 0;
    for (const PostedCommand& c : commands) n += c.code == code;
    return n;
}
