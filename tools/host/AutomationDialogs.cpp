// Dialog commands: print the dialog in front (a dialog of the plugin, the preferences window
// with the plugin's page, the file-information dialog), set a control's value and click a
// button, each the way the control's own user input would.
#include <windows.h>

#include <commctrl.h>

#include "AutomationCommon.h"
#include "HostApp.h"
#include "HostPrefs.h"
#include "HostTasks.h"
#include "base/Text.h"
#include "logic/ScriptLine.h"

namespace {

struct Candidates {
    std::vector<HWND> windows;
};

bool IsDialogLike(HWND window) {
    return IsWindowVisible(window) && !IsMessageBox(window) &&
           (ClassNameOf(window) == L"#32770" || window == PrefsWindow());
}

BOOL CALLBACK CollectDialogs(HWND window, LPARAM list) {
    if (IsDialogLike(window)) reinterpret_cast<Candidates*>(list)->windows.push_back(window);
    return TRUE;
}

// On the user-interface thread: the active dialog, else the topmost one of the thread.
HWND FrontDialog() {
    HWND active = GetActiveWindow();
    if (active && IsDialogLike(active)) return active;
    Candidates found;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialogs, reinterpret_cast<LPARAM>(&found));
    for (HWND window : found.windows)
        if (IsWindowEnabled(window)) return window;
    return found.windows.empty() ? nullptr : found.windows.front();
}

std::wstring ListItems(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    std::wstring items;
    int count = static_cast<int>(SendMessageW(control, countMessage, 0, 0));
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(SendMessageW(control, lengthMessage, i, 0));
        std::wstring text(std::max(length, 0) + 1, L'\0');
        SendMessageW(control, textMessage, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(wcslen(text.c_str()));
        items += (i ? L"|" : L"") + text;
    }
    return items;
}

std::wstring ControlState(HWND control) {
    std::wstring cls = ToLower(ClassNameOf(control));
    std::vector<std::wstring> states;
    if (!IsWindowEnabled(control)) states.push_back(L"disabled");
    if (!IsWindowVisible(control)) states.push_back(L"hidden");
    if (cls == L"button") {
        LRESULT check = SendMessageW(control, BM_GETCHECK, 0, 0);
        if (check == BST_CHECKED) states.push_back(L"checked");
        if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) states.push_back(L"default");
    } else if (cls == L"listbox") {
        states.push_back(L"items=" + ListItems(control, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT));
        std::wstring selected;
        int count = static_cast<int>(SendMessageW(control, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            if (SendMessageW(control, LB_GETSEL, i, 0) > 0) selected += (selected.empty() ? L"" : L",") + FormatInt(i);
        states.push_back(L"selected=" + selected);
    } else if (cls == L"combobox") {
        states.push_back(L"items=" + ListItems(control, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT));
        states.push_back(L"selected=" + FormatInt(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    } else if (cls == ToLower(TRACKBAR_CLASSW)) {
        states.push_back(L"position=" + FormatInt(SendMessageW(control, TBM_GETPOS, 0, 0)));
    } else if (cls == ToLower(WC_TABCONTROLW)) {
        states.push_back(L"tab=" + FormatInt(SendMessageW(control, TCM_GETCURSEL, 0, 0)));
    }
    std::wstring joined;
    for (size_t i = 0; i < states.size(); ++i) joined += (i ? L"," : L"") + states[i];
    return joined;
}

struct ControlList {
    std::vector<std::wstring> lines;
};

BOOL CALLBACK DescribeControl(HWND control, LPARAM list) {
    std::wstring text = ClassNameOf(control) == L"#32770" ? L"" : WindowTextOf(control);
    reinterpret_cast<ControlList*>(list)->lines.push_back(
        FormatInt(GetDlgCtrlID(control)) + L"\t" + ClassNameOf(control) + L"\t" + EscapeForLine(text) + L"\t" +
        ControlState(control));
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK FindControl(HWND control, LPARAM search) {
    auto* s = reinterpret_cast<ControlSearch*>(search);
    if (GetDlgCtrlID(control) != s->id) return TRUE;
    // A visible control wins over a hidden one with the same id (pages hidden behind a tab).
    if (!s->found || (IsWindowVisible(control) && !IsWindowVisible(s->found))) s->found = control;
    return TRUE;
}

// A modal dialog is shown only once its loop first finds the queue empty, which can be a while
// after the command that opened it was handled; so a dialog command waits for one to show.
constexpr DWORD kDialogShowWaitMs = 3000;

bool WaitForFrontDialog() {
    DWORD start = GetTickCount();
    for (;;) {
        HWND dialog = nullptr;
        RunOnUi([&] { dialog = FrontDialog(); });
        if (dialog) return true;
        if (GetTickCount() - start >= kDialogShowWaitMs) return false;
        Sleep(50);
    }
}

HWND FrontDialogControl(int id) {
    HWND dialog = FrontDialog();
    if (!dialog) return nullptr;
    ControlSearch search{id};
    EnumChildWindows(dialog, FindControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void OnDialog(const std::wstring&) {
    if (!WaitForFrontDialog()) return Say(L"no dialog");
    ControlList list;
    bool any = false;
    RunOnUi([&] {
        HWND dialog = FrontDialog();
        if (!(any = dialog != nullptr)) return;
        list.lines.push_back(L"dialog: " + EscapeForLine(WindowTextOf(dialog)));
        EnumChildWindows(dialog, DescribeControl, reinterpret_cast<LPARAM>(&list));
    });
    if (!any) return Say(L"no dialog");
    for (const std::wstring& line : list.lines) Say(line);
}

// Notifications go to the parent by post, as the plugin's handler may open a modal window.
void NotifyParent(HWND control, WORD code) {
    PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

std::wstring SetControl(HWND control, const std::wstring& text) {
    std::wstring cls = ToLower(ClassNameOf(control));
    int number = 0;
    if (cls == L"combobox") {
        if (SendMessageW(control, CB_SELECTSTRING, -1, reinterpret_cast<LPARAM>(text.c_str())) == CB_ERR)
            return L"no item: " + text;
        NotifyParent(control, CBN_SELCHANGE);
    } else if (cls == L"listbox") {
        bool multiple = (GetWindowLongW(control, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
        if (multiple) SendMessageW(control, LB_SETSEL, FALSE, -1);
        for (const std::wstring& part : SplitWords(text)) {
            int index = static_cast<int>(SendMessageW(control, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(part.c_str())));
            if (index == LB_ERR) return L"no item: " + part;
            if (multiple) SendMessageW(control, LB_SETSEL, TRUE, index);
            else SendMessageW(control, LB_SETCURSEL, index, 0);
        }
        NotifyParent(control, LBN_SELCHANGE);
    } else if (cls == ToLower(TRACKBAR_CLASSW)) {
        if (!ParseInt(text, number)) return L"expected a number";
        SendMessageW(control, TBM_SETPOS, TRUE, number);
        bool vertical = (GetWindowLongW(control, GWL_STYLE) & TBS_VERT) != 0;
        PostMessageW(GetParent(control), vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, number),
                     reinterpret_cast<LPARAM>(control));
    } else if (cls == ToLower(WC_TABCONTROLW)) {
        if (!ParseInt(text, number)) return L"expected a tab number";
        NMHDR changing = {control, static_cast<UINT_PTR>(GetDlgCtrlID(control)), static_cast<UINT>(TCN_SELCHANGING)};
        SendMessageW(GetParent(control), WM_NOTIFY, changing.idFrom, reinterpret_cast<LPARAM>(&changing));
        SendMessageW(control, TCM_SETCURSEL, number, 0);
        NMHDR changed = {control, changing.idFrom, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(GetParent(control), WM_NOTIFY, changed.idFrom, reinterpret_cast<LPARAM>(&changed));
    } else {
        // Edits report the change to their parent themselves.
        SetWindowTextW(control, text.c_str());
    }
    return {};
}

void OnDialogSet(const std::wstring& argument) {
    size_t space = argument.find(L' ');
    int id = 0;
    if (!ParseInt(argument.substr(0, space), id)) return Say(L"dialog-set: expected a control id");
    std::wstring text = space == std::wstring::npos ? L"" : argument.substr(space + 1);
    if (!WaitForFrontDialog()) return Say(L"no dialog");
    std::wstring outcome;
    RunOnUi([&] {
        HWND control = FrontDialogControl(id);
        outcome = control ? SetControl(control, text) : L"no control: " + FormatInt(id);
    });
    if (!outcome.empty()) Say(outcome);
    SettleUi();
}

void OnDialogClick(const std::wstring& argument) {
    int id = 0;
    if (!ParseInt(argument, id)) return Say(L"dialog-click: expected a control id");
    if (!WaitForFrontDialog()) return Say(L"no dialog");
    std::wstring outcome;
    RunOnUi([&] {
        HWND dialog = FrontDialog();
        HWND control = dialog ? FrontDialogControl(id) : nullptr;
        if (control && ToLower(ClassNameOf(control)) == L"button") {
            if (!IsWindowEnabled(control)) outcome = L"disabled: " + FormatInt(id);
            else PostMessageW(control, BM_CLICK, 0, 0);
        } else if (dialog && (id == IDOK || id == IDCANCEL)) {
            // The dialog's own OK and Cancel also answer Enter and Escape without a button.
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        } else {
            outcome = dialog ? L"no button: " + FormatInt(id) : L"no dialog";
        }
    });
    if (!outcome.empty()) Say(outcome);
    SettleUi();
}

}  // namespace

extern const CommandEntry kDialogCommands[] = {
    {L"dialog", &OnDialog},
    {L"dialog-set", &OnDialogSet},
    {L"dialog-click", &OnDialogClick},
    {nullptr, nullptr},
};
