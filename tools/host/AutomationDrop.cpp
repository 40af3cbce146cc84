// The drop command: files dragged onto the view's tree or list as from the shell, through the
// system's own DoDragDrop with a drop source of the host and the dropped-file list format.
// The drop source moves the pointer onto the target and lets go once the target has seen the
// files enter and pass over it, so the system finds the registered drop target under the
// pointer and calls Drop only when the target accepted; a refused drag ends in DragLeave.
// With --shift the drag is the file manager's Shift-drag: Shift is held, the source offers copy,
// move and link as the shell does, and like the shell it deletes its files when told "moved".
// The script then sees whether the files are still on disk.
// The drag-out command goes the other way: a press on a row or tree item, a move past the drag
// threshold, the pointer carried to the host's own drop target window, and the button let go.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <atomic>
#include <memory>
#include <vector>

#include "AutomationCommon.h"
#include "HostComObject.h"
#include "HostDropTarget.h"
#include "HostApp.h"
#include "HostTasks.h"
#include "base/Unique.h"
#include "logic/ScriptLine.h"

namespace {

constexpr DWORD kDropWaitMs = 10000;
constexpr DWORD kDropPollMs = 20;
// How long a drag must stay over the host's target before the button comes up.
constexpr DWORD kDropSettleMs = 300;
// The system asks the drop source on every timer tick of the drag (about 20 a second).
constexpr int kRoundsToReachTarget = 100;
constexpr int kRoundsOverTarget = 2;

class FileListData final : public SingleInterfaceObject<IDataObject, IID_IDataObject> {
public:
    explicit FileListData(const std::vector<std::wstring>& paths) : paths_(paths) {}

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = BuildDropFiles();
        medium->pUnkForRelease = nullptr;
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) &&
                       format->dwAspect == DVASPECT_CONTENT
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    HGLOBAL BuildDropFiles() const {
        size_t chars = 1;
        for (const std::wstring& path : paths_) chars += path.size() + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        if (!block) return nullptr;
        auto* header = static_cast<DROPFILES*>(GlobalLock(block));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        auto* text = reinterpret_cast<wchar_t*>(header + 1);
        for (const std::wstring& path : paths_) {
            memcpy(text, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
            text += path.size() + 1;
        }
        GlobalUnlock(block);
        return block;
    }

    std::vector<std::wstring> paths_;
};

// Moves the pointer to the target, waits there for the target's DragEnter and one DragOver,
// then drops; gives up when the pointer never arrives.
class ScriptedDropSource final : public SingleInterfaceObject<IDropSource, IID_IDropSource> {
public:
    explicit ScriptedDropSource(POINT target) : target_(target) {}

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override {
        keysSeen_ |= keys;
        if (escapePressed) return DRAGDROP_S_CANCEL;
        DWORD position = GetMessagePos();
        POINT now = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
        if (now.x != target_.x || now.y != target_.y) {
            if (++roundsAway_ > kRoundsToReachTarget) {
                lost_ = true;
                return DRAGDROP_S_CANCEL;
            }
            SetCursorPos(target_.x, target_.y);
            return S_OK;
        }
        return ++roundsOver_ > kRoundsOverTarget ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

    bool Lost() const { return lost_; }
    // The keys the system reported during the drag: the target was told the same.
    DWORD KeysSeen() const { return keysSeen_; }

private:
    POINT target_;
    DWORD keysSeen_ = 0;
    int roundsAway_ = 0;
    int roundsOver_ = 0;
    bool lost_ = false;
};

// The left button (and Shift, when asked) is down for the whole drag: the system's drag loop
// reads this thread's key state for what it tells the source and the target.
class HeldDragKeys {
public:
    explicit HeldDragKeys(bool shift) : shift_(shift) { Set(0x80); }
    ~HeldDragKeys() { Set(0); }
    HeldDragKeys(const HeldDragKeys&) = delete;
    HeldDragKeys& operator=(const HeldDragKeys&) = delete;

private:
    void Set(BYTE state) const {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_LBUTTON] = state;
        if (shift_) keys[VK_SHIFT] = keys[VK_LSHIFT] = state;
        SetKeyboardState(keys);
    }
    bool shift_;
};

struct DragJob {
    std::vector<std::wstring> files;
    bool shift = false;
    POINT start = {};
    POINT target = {};
    std::atomic<bool> done{false};
};

std::wstring EffectName(DWORD effect) {
    if (effect & DROPEFFECT_COPY) return L"copy";
    if (effect & DROPEFFECT_MOVE) return L"move";
    if (effect & DROPEFFECT_LINK) return L"link";
    return L"none";
}

// The shell's own part of a move it was told of: the originals go (the target has copies, it
// says). Without asking and not to the recycle bin, as the shell does for a moved file.
void DeleteMovedFiles(const std::vector<std::wstring>& files) {
    std::wstring list;
    for (const std::wstring& file : files) list += file + L'\0';
    list += L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&operation);
}

void SayShiftDragOutcome(const DragJob& job, DWORD keysSeen, DWORD effect) {
    Say(keysSeen & MK_SHIFT ? L"drop: shift held" : L"drop: shift never reached the drag");
    if (effect == DROPEFFECT_MOVE) DeleteMovedFiles(job.files);
    size_t kept = 0;
    for (const std::wstring& file : job.files) kept += GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    Say(L"drop: " + std::to_wstring(kept) + L" of " + std::to_wstring(job.files.size()) + L" files still on disk");
}

// On the user-interface thread, from its message loop: the whole drag, start to drop.
void RunDrag(DragJob& job) {
    Unique<FileListData*, ComRelease<FileListData>> data(new FileListData(job.files));
    Unique<ScriptedDropSource*, ComRelease<ScriptedDropSource>> source(new ScriptedDropSource(job.target));
    DWORD offered = job.shift ? DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK : DROPEFFECT_COPY | DROPEFFECT_MOVE;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result;
    {
        HeldDragKeys held(job.shift);
        SetCursorPos(job.start.x, job.start.y);
        result = DoDragDrop(data.get(), source.get(), offered, &effect);
    }
    DWORD answered = SUCCEEDED(result) && result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
    if (source.get()->Lost()) Say(L"drop: the pointer did not reach the target");
    else if (FAILED(result)) Say(L"drop: the drag failed");
    else Say(L"drop: " + EffectName(answered));
    if (job.shift && !source.get()->Lost() && SUCCEEDED(result))
        SayShiftDragOutcome(job, source.get()->KeysSeen(), answered);
    job.done.store(true);
}

// On the user-interface thread: where the drag starts (outside the view's frame, where no
// drop target of the plugin is) and the screen point it ends on.
std::wstring AimDrop(HWND control, bool tree, const std::wstring& itemPath, DragJob& job) {
    POINT at;
    if (tree && !itemPath.empty()) {
        if (!PointOnTreeItem(control, itemPath, at)) return L"no item: " + itemPath;
    } else if (!PointInEmptySpace(control, tree, at)) {
        return L"drop: no free space to drop on";
    }
    if (!PointIsOnControl(control, at)) return L"drop: another window covers the point";
    job.target = at;
    ClientToScreen(control, &job.target);
    RECT frame = {};
    GetWindowRect(GetAncestor(control, GA_ROOT), &frame);
    job.start = {frame.right + 20, frame.top + 20};
    return L"";
}

void OnDrop(const std::wstring& argument) {
    std::vector<std::wstring> words = SplitWords(argument);
    bool shift = !words.empty() && words[0] == L"--shift";
    if (shift) words.erase(words.begin());
    if (words.size() < 2) return Say(L"drop: expected [--shift] list, tree or tree:PATH and files");
    std::wstring where = words[0];
    bool tree = where == L"tree" || where.compare(0, 5, L"tree:") == 0;
    if (!tree && where != L"list") return Say(L"drop: expected list, tree or tree:PATH");
    std::wstring itemPath = where.size() > 5 && tree ? where.substr(5) : L"";
    auto job = std::make_shared<DragJob>();
    job->shift = shift;
    for (size_t i = 1; i < words.size(); ++i) job->files.push_back(NormalizeHostPath(words[i]));

    std::wstring outcome;
    RunOnUi([&] {
        HWND control = FindViewControl(tree ? kTreeId : kListId);
        if (!control) outcome = L"unsupported";
        else outcome = AimDrop(control, tree, itemPath, *job);
        if (outcome.empty()) PostToUi([job] { RunDrag(*job); });
    });
    if (!outcome.empty()) return Say(outcome);
    // The target's Drop may ask a question: the script goes on to answer it.
    DWORD start = GetTickCount();
    while (!job->done.load() && !UnansweredMessageBox()) {
        if (GetTickCount() - start >= kDropWaitMs) return Say(L"drop: the drag did not end");
        Sleep(kDropPollMs);
    }
    SettleUi();
}

// Where a drag-out starts: the view control, and the client point of its row or item.
struct DragOutStart {
    HWND control = nullptr;
    POINT at = {};
};

// On the user-interface thread: the point a user would press on, or what is in the way.
std::wstring AimDragOut(const std::wstring& where, DragOutStart& start) {
    bool tree = where.compare(0, 5, L"tree:") == 0;
    bool list = where.compare(0, 5, L"list:") == 0;
    if (!tree && !list) return L"drag-out: expected list:ROW or tree:PATH";
    start.control = FindViewControl(tree ? kTreeId : kListId);
    if (!start.control) return L"unsupported";
    std::wstring what = where.substr(5);
    int row = 0;
    if (tree && !PointOnTreeItem(start.control, what, start.at)) return L"no item: " + what;
    if (list && (!ParseInt(what, row) || !PointOnListRow(start.control, row, start.at))) return L"no row: " + what;
    if (!PointIsOnControl(start.control, start.at)) return L"drag-out: another window covers the point";
    return L"";
}

// On the user-interface thread: the pointer on the point a user presses on.
void PointAt(const DragOutStart& start) {
    POINT screen = start.at;
    ClientToScreen(start.control, &screen);
    SetCursorPos(screen.x, screen.y);
}

// On the user-interface thread: the button down on the point and one move past the drag
// threshold, posted as the user's input would come. The control answers with its begin-drag
// notice and the view's own drag loop takes over.
void PressAndPull(const DragOutStart& start) {
    int pull = GetSystemMetrics(SM_CXDRAG) + GetSystemMetrics(SM_CYDRAG) + 4;
    PostMessageW(TaskWindow(), kMsgHoldKeys, kHoldLeftButton, 0);
    PostMessageW(start.control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.at.x, start.at.y));
    PostMessageW(start.control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.at.x + pull, start.at.y + pull));
}

bool PointerIsAt(POINT target) {
    POINT now = {};
    return GetCursorPos(&now) && now.x == target.x && now.y == target.y;
}

// From the script thread, while the view's drag loop runs on the user-interface thread: the
// pointer is carried onto the target until the drag has stayed over it for a while. The display
// may report an earlier move late and carry the drag back out: the pointer is put back on the
// target on every round, and the button comes up only once the drag loop has looked at the
// target several times without leaving it.
bool CarryPointerTo(POINT target, const HostDropWatch& watch) {
    DWORD start = GetTickCount(), insideSince = 0;
    int oversWhenInside = 0;
    for (;;) {
        bool inside = watch.enters > watch.leaves && PointerIsAt(target);
        if (!inside) {
            insideSince = 0;
        } else if (!insideSince) {
            insideSince = GetTickCount();
            oversWhenInside = watch.overs;
        } else if (GetTickCount() - insideSince >= kDropSettleMs && watch.overs >= oversWhenInside + 2) {
            return true;
        }
        if (GetTickCount() - start >= kDropWaitMs) return false;
        SetCursorPos(target.x, target.y);
        Sleep(kDropPollMs);
    }
}

bool WaitForDrop(POINT target, const HostDropWatch& watch) {
    DWORD start = GetTickCount();
    while (!watch.dropped && !UnansweredMessageBox()) {
        if (GetTickCount() - start >= kDropWaitMs) return false;
        if (!PointerIsAt(target)) SetCursorPos(target.x, target.y);
        // The drag loop looks at the button again only when its thread wakes; with the pointer
        // at rest nothing else may wake it.
        PostMessageW(TaskWindow(), WM_NULL, 0, 0);
        Sleep(kDropPollMs);
    }
    return true;
}

void OnDragOut(const std::wstring& argument) {
    std::unique_ptr<HostDropWindow> target;
    DragOutStart start;
    std::wstring outcome;
    POINT aim = {};
    RunOnUi([&] {
        outcome = AimDragOut(argument, start);
        if (!outcome.empty()) return;
        target = std::make_unique<HostDropWindow>(Host().instance);
        if (!target->Ready()) {
            outcome = L"drag-out: the host's drop target could not be registered";
            return;
        }
        aim = target->ScreenCenter();
        PointAt(start);
    });
    if (outcome.empty()) {
        // The display's report of the pointer's move is handled before the press, so that it
        // cannot arrive in the middle of the drag and carry the pointer back.
        SettleUi();
        RunOnUi([&] { PressAndPull(start); });
        // The button comes up as the thread's key state says, which is what the drag loop asks
        // the drop source about; under Xvfb no real button is ever pressed. A drag that never
        // reached the target is cancelled with Escape, as a user would.
        bool reached = CarryPointerTo(aim, target->Watch());
        if (!reached) PostMessageW(TaskWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(TaskWindow(), kMsgReleaseKeys, 0, 0);
        if (!reached) outcome = L"drag-out: the drag never reached the host's window";
        else if (!WaitForDrop(aim, target->Watch())) {
            const HostDropWatch& seen = target->Watch();
            outcome = L"drag-out: nothing was dropped (entered " + std::to_wstring(seen.enters) + L", over " +
                      std::to_wstring(seen.overs) + L", left " + std::to_wstring(seen.leaves) + L")";
        }
    }
    SettleUi();
    RunOnUi([&] { target.reset(); });
    if (!outcome.empty()) Say(outcome);
}

}  // namespace

extern const CommandEntry kDropCommands[] = {
    {L"drop", &OnDrop},
    {L"drag-out", &OnDragOut},
    {nullptr, nullptr},
};
