// The repair question box: a Yes/No/Cancel box with a help button, caught by a hook on this
// thread as its dialog is initialised, its buttons renamed and renumbered. The system sizes
// its buttons wide enough for "I feel lucky" (the live tests check the captions fit).
#include "ui/view/RepairQuestionBox.h"

#include <windows.h>

#include <array>

#include "base/Unique.h"

namespace {

struct UnhookFree {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
using UniqueHook = Unique<HHOOK, UnhookFree>;

// The renamed buttons carry ids of their meaning: the one labelled "Cancel" takes IDCANCEL, so
// that Escape and the close box (which the dialog manager turns into IDCANCEL) cancel, and
// "Yes" and "No" keep the ids a box's Yes and No have. Should the hook fail, the plain box's
// Yes, No and Cancel still answer what their captions say.
constexpr int kLuckyId = IDCONTINUE;
struct Relabel {
    int systemId;
    int newId;
    const wchar_t* caption;
};
constexpr std::array<Relabel, 4> kRelabels = {{
    {IDYES, kLuckyId, L"I feel lucky"},
    {IDNO, IDYES, L"Yes"},
    {IDCANCEL, IDNO, L"No"},
    {IDHELP, IDCANCEL, L"Cancel"},
}};
constexpr wchar_t kSavedProcProperty[] = L"CvRepairBoxProc";

bool IsAnswerId(int id) { return id == kLuckyId || id == IDYES || id == IDNO || id == IDCANCEL; }

// Every button ends the box with its own id; the system's box would leave it open on the
// help button, which now reads "Cancel".
LRESULT CALLBACK RelabelledBoxProc(HWND box, UINT message, WPARAM wp, LPARAM lp) {
    auto saved = reinterpret_cast<WNDPROC>(GetPropW(box, kSavedProcProperty));
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wp) == BN_CLICKED && IsAnswerId(LOWORD(wp))) {
                EndDialog(box, LOWORD(wp));
                return 0;
            }
            break;
        case WM_CLOSE:
            EndDialog(box, IDCANCEL);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
            RemovePropW(box, kSavedProcProperty);
            break;
    }
    return saved ? CallWindowProcW(saved, box, message, wp, lp) : DefWindowProcW(box, message, wp, lp);
}

bool IsDialogWindow(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpW(name, L"#32770") == 0;
}

// Only a box with exactly the four system buttons, and only once.
void RelabelBox(HWND box) {
    if (!IsDialogWindow(box) || GetPropW(box, kSavedProcProperty)) return;
    std::array<HWND, 4> buttons = {};
    for (size_t i = 0; i < kRelabels.size(); ++i)
        if (!(buttons[i] = GetDlgItem(box, kRelabels[i].systemId))) return;
    for (size_t i = 0; i < kRelabels.size(); ++i) {
        SetWindowTextW(buttons[i], kRelabels[i].caption);
        SetWindowLongPtrW(buttons[i], GWLP_ID, kRelabels[i].newId);
    }
    // The default button was chosen by its old id; the dialog manager must find it by the new.
    SendMessageW(box, DM_SETDEFID, IDYES, 0);
    SetPropW(box, kSavedProcProperty,
             reinterpret_cast<HANDLE>(GetWindowLongPtrW(box, GWLP_WNDPROC)));
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RelabelledBoxProc));
}

// After the box's own WM_INITDIALOG handling has made and placed its buttons.
LRESULT CALLBACK AfterWindowProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lp);
        if (call->message == WM_INITDIALOG) RelabelBox(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

RepairAnswer AnswerOf(int button) {
    switch (button) {
        case kLuckyId: return RepairAnswer::kYesToAll;
        case IDYES: return RepairAnswer::kYes;
        case IDNO: return RepairAnswer::kNo;
        default: return RepairAnswer::kCancel;
    }
}

}  // namespace

// The second button is the default: a stray Enter must not accept every proposal to come.
RepairAnswer AskRepairQuestion(const std::wstring& question) {
    UniqueHook hook(SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterWindowProc, nullptr, GetCurrentThreadId()));
    int button = MessageBoxW(nullptr, question.c_str(), L"Confirm",
                             MB_YESNOCANCEL | MB_HELP | MB_DEFBUTTON2 | MB_TOPMOST);
    return AnswerOf(button);
}
