// View commands: adding roots through the view's own dialogs, waiting until the view is idle,
// the tree selection, typing a search, the focus, and reading the tree, the list and the
// status line back.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <shlobj.h>

#include "AutomationCommon.h"
#include "AutomationTyping.h"
#include "HostApp.h"
#include "HostImports.h"
#include "HostTasks.h"
#include "PluginThreads.h"
#include "base/Text.h"
#include "base/Unique.h"
#include "logic/ScriptLine.h"

namespace {

constexpr UINT kCommandMessage = WM_USER + 3;  // the view's own command message
constexpr WPARAM kCmdInsertRoot = 1004;
constexpr LPARAM kInsertFolder = 0, kInsertPlaylist = 1;
constexpr DWORD kDialogWaitMs = 5000;
constexpr DWORD kIdleDefaultMs = 30000;
constexpr DWORD kViewSettleMs = 700;   // longer than the view's 500 ms search delay
constexpr DWORD kFrameSettleMs = 300;
constexpr int kFileNameCombo = 0x47C, kFileNameEdit = 0x480;

// --- dialogs the view opens to add roots -------------------------------------------------

struct DialogSearch {
    bool (*accept)(HWND);
    HWND found = nullptr;
};

BOOL CALLBACK HasTreeChild(HWND child, LPARAM found) {
    if (ClassNameOf(child) == WC_TREEVIEWW) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

bool IsFolderBrowser(HWND window) {
    bool tree = false;
    EnumChildWindows(window, HasTreeChild, reinterpret_cast<LPARAM>(&tree));
    return tree && GetDlgItem(window, IDOK);
}

bool IsOpenDialog(HWND window) {
    return GetDlgItem(window, kFileNameCombo) || GetDlgItem(window, kFileNameEdit);
}

BOOL CALLBACK FindDialogWindow(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<DialogSearch*>(search);
    if (IsWindowVisible(window) && ClassNameOf(window) == L"#32770" && s->accept(window)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialog(bool (*accept)(HWND)) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < kDialogWaitMs) {
        DialogSearch search{accept};
        EnumThreadWindows(Host().uiThreadId, FindDialogWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    }
    return nullptr;
}

// The folder browser starts at the desktop and is steered by BFFM_SETSELECTION, which under
// Wine cannot always walk down to a folder on a mapped drive. While "add-root" waits for the
// browser, the plugin's call is therefore given the wanted folder as the browser's root, so
// the real dialog opens with exactly that folder shown and selected, the plugin's own callback
// sees the selection and enables OK, and OK answers that folder.
using BrowseForFolder = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW);
BrowseForFolder realBrowseForFolder;
std::wstring pendingFolder;  // set by the script thread only while no browser is open

struct PidlFree {
    void operator()(PIDLIST_ABSOLUTE pidl) const { ILFree(pidl); }
};

// "answer-folder" arms an answer for a browser that a user path (a menu choice) opens later:
// the browser then presses its own OK once the plugin's callback has enabled it, as a user
// would click it, or Cancel if the plugin never does.
bool answerNextBrowser = false;
BFFCALLBACK pluginBrowseCallback = nullptr;
LPARAM pluginBrowseData = 0;
int okPolls = 0;
constexpr UINT_PTR kPressOkTimer = 0x4f4b;
constexpr int kOkPollLimit = 25;  // 5 s at 200 ms

void CALLBACK PressOkWhenEnabled(HWND browser, UINT, UINT_PTR timer, DWORD) {
    HWND ok = GetDlgItem(browser, IDOK);
    bool enabled = ok && IsWindowEnabled(ok);
    if (!enabled && ++okPolls < kOkPollLimit) return;
    KillTimer(browser, timer);
    if (!enabled) Say(L"answer-folder: the folder browser never accepted the folder");
    PostMessageW(browser, WM_COMMAND, enabled ? IDOK : IDCANCEL, 0);
}

int CALLBACK AnsweringBrowseCallback(HWND browser, UINT message, LPARAM lp, LPARAM) {
    int result = pluginBrowseCallback ? pluginBrowseCallback(browser, message, lp, pluginBrowseData) : 0;
    if (message == BFFM_INITIALIZED) {
        okPolls = 0;
        SetTimer(browser, kPressOkTimer, 200, &PressOkWhenEnabled);
    }
    return result;
}

PIDLIST_ABSOLUTE WINAPI HookBrowseForFolder(LPBROWSEINFOW info) {
    std::wstring wanted;
    std::swap(wanted, pendingFolder);
    bool answer = std::exchange(answerNextBrowser, false);
    Unique<PIDLIST_ABSOLUTE, PidlFree> root(wanted.empty() ? nullptr : ILCreateFromPathW(wanted.c_str()));
    if (!root || !info) return realBrowseForFolder(info);
    BROWSEINFOW steered = *info;
    steered.pidlRoot = root.get();
    if (answer) {
        pluginBrowseCallback = info->lpfn;
        pluginBrowseData = info->lParam;
        steered.lpfn = &AnsweringBrowseCallback;
    }
    PIDLIST_ABSOLUTE chosen = realBrowseForFolder(&steered);
    // Rooted at the wanted folder, Wine's browser sometimes settles on its first subfolder
    // before the selection message arrives; the folder the script named is the user's choice.
    if (chosen && !ILIsEqual(chosen, root.get()) && ILIsParent(root.get(), chosen, FALSE)) {
        ILFree(chosen);
        chosen = ILClone(root.get());
    }
    return chosen;
}

bool AskViewToAdd(LPARAM kind) {
    bool posted = false;
    RunOnUi([&] {
        HWND dialog = FindViewDialog();
        posted = dialog && PostMessageW(dialog, kCommandMessage, kCmdInsertRoot, kind);
    });
    return posted;
}

void OnAddRoot(const std::wstring& argument) {
    std::wstring path = NormalizeHostPath(argument);
    if (realBrowseForFolder) pendingFolder = path;
    if (!AskViewToAdd(kInsertFolder)) {
        pendingFolder.clear();
        return SayUnsupported();
    }
    HWND browser = WaitForDialog(&IsFolderBrowser);
    if (!browser) {
        pendingFolder.clear();
        return SayUnsupported();
    }
    bool accepted = false;
    RunOnUi([&] {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
        accepted = IsWindowEnabled(GetDlgItem(browser, IDOK)) != FALSE;
        PostMessageW(browser, WM_COMMAND, accepted ? IDOK : IDCANCEL, 0);
    });
    if (!accepted) Say(L"add-root: the folder browser does not accept " + path);
    SettleUi();
}

// The next folder browser, opened by whatever the following lines do, answers this folder.
void OnAnswerFolder(const std::wstring& argument) {
    if (!realBrowseForFolder) return SayUnsupported();
    pendingFolder = NormalizeHostPath(argument);
    answerNextBrowser = true;
}

void OnAddPlaylistRoot(const std::wstring& argument) {
    std::wstring path = NormalizeHostPath(argument);
    if (!AskViewToAdd(kInsertPlaylist)) return SayUnsupported();
    HWND dialog = WaitForDialog(&IsOpenDialog);
    if (!dialog) return SayUnsupported();
    RunOnUi([&] {
        HWND name = GetDlgItem(dialog, kFileNameEdit);
        // The file name box is a combo (an extended combo on newer systems) around an edit.
        for (HWND box = GetDlgItem(dialog, kFileNameCombo); box && ClassNameOf(box) != L"Edit";)
            name = box = FindWindowExW(box, nullptr, nullptr, nullptr);
        SetWindowTextW(name, path.c_str());
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    SettleUi();
}

// --- idle ------------------------------------------------------------------------------

struct IdleSnapshot {
    bool frame = false;
    bool view = false;
    bool enabled = false;
    bool quiet = false;
    int listCount = -1;
    int treeCount = -1;
    std::wstring status;
    ULONGLONG pluginTime = 0;

    bool SameAs(const IdleSnapshot& o) const {
        return frame == o.frame && view == o.view && listCount == o.listCount && treeCount == o.treeCount &&
               status == o.status && pluginTime == o.pluginTime;
    }
    bool Ready() const { return quiet && (view ? enabled : frame); }
};

IdleSnapshot TakeSnapshot() {
    IdleSnapshot s;
    s.frame = FindFrame() != nullptr;
    HWND dialog = FindViewDialog();
    s.view = dialog != nullptr;
    // Timers, posted commands and input waiting in the queue mean work is still on its way.
    s.quiet = HIWORD(GetQueueStatus(QS_POSTMESSAGE | QS_TIMER | QS_INPUT | QS_SENDMESSAGE)) == 0;
    // The worker may scan or read tags for a while before anything shows.
    s.pluginTime = PluginThreadsTime(Host().plugin);
    if (dialog) {
        s.enabled = true;
        for (int id : {kTreeId, kListId, kSearchId}) {
            HWND control = GetDlgItem(dialog, id);
            if (control && !IsWindowEnabled(control)) s.enabled = false;
        }
        HWND list = GetDlgItem(dialog, kListId), tree = GetDlgItem(dialog, kTreeId);
        if (list) s.listCount = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        if (tree) s.treeCount = static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0));
        s.status = WindowTextOf(GetDlgItem(dialog, kStatusId));
    }
    return s;
}

void OnWaitIdle(const std::wstring& argument) {
    int limit = kIdleDefaultMs;
    if (!argument.empty() && !ParseInt(argument, limit)) return Say(L"wait-idle: expected milliseconds");
    DWORD start = GetTickCount(), stableSince = 0;
    IdleSnapshot last;
    bool haveLast = false;
    while (GetTickCount() - start < static_cast<DWORD>(limit)) {
        // The view waits for the user; the next line may answer the box.
        if (UnansweredMessageBox()) return Say(L"box waiting");
        IdleSnapshot now;
        RunOnUi([&] { now = TakeSnapshot(); });
        bool steady = now.Ready() && PendingMessageBoxes() == 0 && haveLast && now.SameAs(last);
        if (!steady) stableSince = 0;
        else if (!stableSince) stableSince = GetTickCount();
        if (stableSince && GetTickCount() - stableSince >= (now.view ? kViewSettleMs : kFrameSettleMs))
            return Say(L"idle");
        last = now;
        haveLast = true;
        Sleep(50);
    }
    Say(L"timeout");
}

// --- tree --------------------------------------------------------------------------------

std::wstring ItemText(HWND tree, HTREEITEM item, int* image = nullptr, UINT* state = nullptr) {
    wchar_t text[1024] = {};
    TVITEMW tvi = {};
    tvi.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_STATE | TVIF_HANDLE;
    tvi.hItem = item;
    tvi.pszText = text;
    tvi.cchTextMax = 1024;
    tvi.stateMask = 0xFF;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
    if (image) *image = tvi.iImage;
    if (state) *state = tvi.state;
    return text;
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

std::wstring StateWords(UINT state) {
    std::wstring words;
    auto add = [&](UINT bit, const wchar_t* word) {
        if (state & bit) words += (words.empty() ? L"" : L",") + std::wstring(word);
    };
    add(TVIS_SELECTED, L"selected");
    add(TVIS_EXPANDED, L"expanded");
    add(TVIS_BOLD, L"bold");
    add(TVIS_CUT, L"cut");
    add(TVIS_DROPHILITED, L"drophilited");
    return words;
}

void ListTree(HWND tree, HTREEITEM item, int depth, std::vector<std::wstring>& lines) {
    for (; item; item = Next(tree, item, TVGN_NEXT)) {
        int image = 0;
        UINT state = 0;
        std::wstring text = ItemText(tree, item, &image, &state);
        lines.push_back(FormatInt(depth) + L"\t" + EscapeForLine(text) + L"\t" + FormatInt(image) + L"\t" +
                        StateWords(state));
        ListTree(tree, Next(tree, item, TVGN_CHILD), depth + 1, lines);
    }
}

// Tree items show names, not paths; a path is matched by its trailing components, starting
// at whichever component names a root, so both "C:\music\Rock\Live" and "Rock\Live" work.
bool SameName(const std::wstring& itemText, const std::wstring& component) {
    if (EqualsNoCase(itemText, component)) return true;
    size_t dot = component.rfind(L'.');
    if (dot != std::wstring::npos && EqualsNoCase(itemText, component.substr(0, dot))) return true;
    std::wstring spaced = component;
    for (wchar_t& c : spaced) if (c == L'_') c = L' ';
    return EqualsNoCase(itemText, spaced);
}

HTREEITEM Descend(HWND tree, HTREEITEM first, const std::vector<std::wstring>& parts, size_t at) {
    for (HTREEITEM item = first; item; item = Next(tree, item, TVGN_NEXT)) {
        if (!SameName(ItemText(tree, item), parts[at])) continue;
        if (at + 1 == parts.size()) return item;
        if (HTREEITEM found = Descend(tree, Next(tree, item, TVGN_CHILD), parts, at + 1)) return found;
    }
    return nullptr;
}

}  // namespace

void InstallAddRootHooks(HMODULE plugin) {
    realBrowseForFolder = reinterpret_cast<BrowseForFolder>(
        PatchImport(plugin, "shell32.dll", "SHBrowseForFolderW", reinterpret_cast<void*>(&HookBrowseForFolder)));
}

HTREEITEM FindTreeItemByPath(HWND tree, const std::wstring& path) {
    HTREEITEM top = Next(tree, nullptr, TVGN_ROOT);
    if (!top) return nullptr;
    if (EqualsNoCase(path, ItemText(tree, top))) return top;
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of(L"\\/", start);
        if (end == std::wstring::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    if (!parts.empty() && EqualsNoCase(parts[0], ItemText(tree, top))) parts.erase(parts.begin());
    HTREEITEM roots = Next(tree, top, TVGN_CHILD);
    for (size_t first = 0; first < parts.size(); ++first)
        if (HTREEITEM found = Descend(tree, roots, parts, first)) return found;
    return nullptr;
}

namespace {

void OnSelect(const std::wstring& argument) {
    std::wstring outcome;
    RunOnUi([&] {
        HWND tree = FindViewControl(kTreeId);
        if (!tree) {
            outcome = L"unsupported";
            return;
        }
        HTREEITEM item = FindTreeItemByPath(tree, argument);
        if (!item) {
            outcome = L"no item: " + argument;
            return;
        }
        SetFocus(tree);
        SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    });
    if (!outcome.empty()) Say(outcome);
    SettleUi();
}

void OnTree(const std::wstring&) {
    std::vector<std::wstring> lines;
    bool exists = false;
    RunOnUi([&] {
        HWND tree = FindViewControl(kTreeId);
        exists = tree != nullptr;
        if (tree) ListTree(tree, Next(tree, nullptr, TVGN_ROOT), 0, lines);
    });
    if (!exists) return SayUnsupported();
    for (const std::wstring& line : lines) Say(line);
}

// --- list, status, focus, search ---------------------------------------------------------

void OnList(const std::wstring&) {
    std::vector<std::wstring> lines;
    bool exists = false;
    RunOnUi([&] {
        HWND list = FindViewControl(kListId);
        if (!(exists = list != nullptr)) return;
        int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
        lines.push_back(FormatInt(count));
        std::vector<wchar_t> text(4192);
        for (int row = 0; row < count; ++row) {
            std::wstring line;
            for (int column = 0; column < std::max(columns, 1); ++column) {
                LVITEMW item = {};
                item.iSubItem = column;
                item.pszText = text.data();
                item.cchTextMax = static_cast<int>(text.size());
                text[0] = 0;
                SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
                line += (column ? L"\t" : L"") + EscapeForLine(text.data());
            }
            lines.push_back(line);
        }
    });
    if (!exists) return SayUnsupported();
    for (const std::wstring& line : lines) Say(line);
}

void OnStatus(const std::wstring&) {
    HWND status = ViewControlFromScript(kStatusId);
    if (!status) return SayUnsupported();
    std::wstring text;
    RunOnUi([&] { text = WindowTextOf(status); });
    Say(EscapeForLine(text));
}

// wait-status MS TEXT: until the status line holds TEXT, for work the worker does while the
// view itself looks idle (a long playlist read, say); prints the line, or "timeout".
void OnWaitStatus(const std::wstring& argument) {
    size_t blank = argument.find(L' ');
    int limit = 0;
    if (blank == std::wstring::npos || !ParseInt(argument.substr(0, blank), limit))
        return Say(L"wait-status: expected milliseconds and a text");
    std::wstring wanted = argument.substr(blank + 1);
    HWND status = ViewControlFromScript(kStatusId);
    if (!status) return SayUnsupported();
    DWORD start = GetTickCount();
    for (;;) {
        std::wstring text;
        RunOnUi([&] { text = WindowTextOf(status); });
        if (text.find(wanted) != std::wstring::npos) return Say(EscapeForLine(text));
        if (GetTickCount() - start >= static_cast<DWORD>(limit)) return Say(L"timeout");
        Sleep(100);
    }
}

void OnFocus(const std::wstring& argument) {
    if (argument != L"tree" && argument != L"list" && argument != L"search" && argument != L"clear")
        return Say(L"focus: expected tree, list, search or clear");
    bool done = false;
    RunOnUi([&] {
        HWND control = FindViewTarget(argument);
        if ((done = control != nullptr)) SetFocus(control);
    });
    if (!done) SayUnsupported();
    SettleUi();
}

void OnSearch(const std::wstring& argument) {
    bool exists = false;
    RunOnUi([&] {
        HWND box = FindViewControl(kSearchId);
        if (!(exists = box != nullptr)) return;
        SetFocus(box);
        // Replace what is there, as a user does by selecting it before typing.
        SendMessageW(box, EM_SETSEL, 0, -1);
    });
    if (!exists) return SayUnsupported();
    if (argument.empty()) TypeKeyOnFocus(VK_DELETE);
    else TypeTextOnFocus(argument);
    SettleUi();
}

// "CODE [ARGUMENT]": the code and its numeric argument.
bool ParseCommand(const std::wstring& argument, WPARAM& code, LPARAM& value) {
    wchar_t* end = nullptr;
    code = static_cast<WPARAM>(wcstoul(argument.c_str(), &end, 10));
    if (end == argument.c_str()) return false;
    value = static_cast<LPARAM>(wcstol(end, nullptr, 10));
    return true;
}

HWND ViewWindow() {
    HWND tree = FindViewControl(kTreeId);
    return tree ? GetParent(tree) : nullptr;
}

// Posted, as menus and keys do: a command that asks a question leaves its box to "answer".
void OnCommand(const std::wstring& argument) {
    WPARAM code = 0;
    LPARAM value = 0;
    if (!ParseCommand(argument, code, value)) return Say(L"command: expected a code and an optional number");
    bool exists = false;
    RunOnUi([&] {
        if (HWND view = ViewWindow()) exists = PostMessageW(view, WM_USER + 3, code, value) != 0;
    });
    if (!exists) SayUnsupported();
}

// Sent, as the preferences do with their get codes, and the answer printed.
void OnAsk(const std::wstring& argument) {
    WPARAM code = 0;
    LPARAM value = 0;
    if (!ParseCommand(argument, code, value)) return Say(L"ask: expected a code and an optional number");
    bool exists = false;
    LRESULT answer = 0;
    RunOnUi([&] {
        HWND view = ViewWindow();
        if ((exists = view != nullptr)) answer = SendMessageW(view, WM_USER + 3, code, value);
    });
    if (!exists) return SayUnsupported();
    Say(L"answer " + std::to_wstring(static_cast<long long>(answer)));
}

}  // namespace

extern const CommandEntry kViewCommands[] = {
    {L"command", &OnCommand},
    {L"ask", &OnAsk},
    {L"add-root", &OnAddRoot},
    {L"answer-folder", &OnAnswerFolder},
    {L"add-playlist-root", &OnAddPlaylistRoot},
    {L"wait-idle", &OnWaitIdle},
    {L"select", &OnSelect},
    {L"search", &OnSearch},
    {L"focus", &OnFocus},
    {L"list", &OnList},
    {L"tree", &OnTree},
    {L"status", &OnStatus},
    {L"wait-status", &OnWaitStatus},
    {nullptr, nullptr},
};
