// The smart playlist dialog's window: captions, the field list, the operator buttons, and
// the result, query and name edits, wired to the rules of QueryBuilder.
#include "ui/dialogs/QueryDialog.h"

#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/dialogs/QueryBuilder.h"

const int QueryDialog::kOperatorButtons[7] = {1090, 1093, 1091, 1092, 1094, 1095, 1102};

namespace {

struct Caption {
    int control;
    UINT text;
};
const Caption kCaptions[] = {
    {1108, kStrQueryBuilderGroup}, {1090, kStrQueryEquals},      {1093, kStrQueryIsNot},
    {1091, kStrQueryLargerThan},   {1092, kStrQuerySmallerThan}, {1094, kStrQueryBeginsWith},
    {1095, kStrQueryEndsWith},     {1102, kStrQueryContains},    {1112, kStrQueryCompareWith},
    {1109, kStrQueryResult},       {1110, kStrQueryCondition},   {1111, kStrQueryName},
    {QueryDialog::kOkButton, kStrQueryOk}, {QueryDialog::kCancelButton, kStrQueryCancel},
};

int OperatorOfButton(int id) {
    for (int i = 0; i < kQueryOperatorCount; ++i)
        if (QueryDialog::kOperatorButtons[i] == id) return i;
    return kNoQueryOperator;
}

}  // namespace

bool QueryDialog::Run(HWND owner) {
    PluginContext* context = PluginContext::Get();
    HINSTANCE module = context ? context->Module() : GetModuleHandleW(nullptr);
    INT_PTR answer = DialogBoxParamW(module, MAKEINTRESOURCEW(kDialogId), owner, &DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return answer == IDOK;
}

INT_PTR CALLBACK QueryDialog::DialogProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lp);
    auto* self = reinterpret_cast<QueryDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_INITDIALOG) self->dialog_ = dialog;
    try {
        return self->OnMessage(message, wp, lp);
    } catch (...) {
        // Nothing may leave a dialog procedure; a failure ends the dialog as cancelled.
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}

INT_PTR QueryDialog::OnMessage(UINT message, WPARAM wp, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: OnInit(); return TRUE;
        case WM_COMMAND: OnCommand(HIWORD(wp), LOWORD(wp)); return TRUE;
        case WM_CLOSE: EndDialog(dialog_, IDCANCEL); return TRUE;
        default: return FALSE;
    }
}

void QueryDialog::OnInit() {
    FillFields();
    SendDlgItemMessageW(dialog_, kValueEdit, EM_LIMITTEXT, kQueryValueLimit, 0);
    SendDlgItemMessageW(dialog_, kNameEdit, EM_LIMITTEXT, kQueryNameLimit, 0);
    SendDlgItemMessageW(dialog_, kQueryEdit, EM_LIMITTEXT, kQueryConditionLimit, 0);
    if (!name_.empty()) SetTextQuietly(kNameEdit, name_);
    if (!query_.empty()) {
        SetTextQuietly(kQueryEdit, query_);
        ShowJoinButtons(true);
    }
    SetCaptions();
    UpdateEnabled();
}

void QueryDialog::SetCaptions() {
    SetWindowTextW(dialog_, GetString(kStrQueryDialogTitle));
    for (const Caption& caption : kCaptions) SetDlgItemTextW(dialog_, caption.control, GetString(caption.text));
}

// The built-in names, whatever the language: they are what a condition is written in.
void QueryDialog::FillFields() {
    for (const QueryField& field : QueryFields())
        SendDlgItemMessageW(dialog_, kFieldList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(field.name));
}

void QueryDialog::OnCommand(int notification, int id) {
    if (id == kFieldList && notification == LBN_SELCHANGE) {
        RebuildResult();
    } else if (int op = OperatorOfButton(id); op != kNoQueryOperator && notification == BN_CLICKED) {
        operator_ = op;
        RebuildResult();
    } else if (id == kValueEdit && notification == EN_CHANGE) {
        if (!trackValueEdits_) return;
        value_ = ControlText(kValueEdit);
        RebuildResult();
    } else if (id == kQueryEdit && notification == EN_CHANGE) {
        if (trackValueEdits_ && ControlText(kQueryEdit).empty()) ShowJoinButtons(false);
        UpdateEnabled();
    } else if (id == kFirstButton) {
        SetQueryText(FirstQueryCondition(ControlText(kResultEdit)));
        SetTextQuietly(kResultEdit, L"");
        SetTextQuietly(kValueEdit, L"");
        value_.clear();
        ShowJoinButtons(true);
        UpdateEnabled();
    } else if (id == kAndButton) {
        SetQueryText(AndQueryCondition(ControlText(kQueryEdit), ControlText(kResultEdit)));
    } else if (id == kOrButton) {
        SetQueryText(OrQueryCondition(ControlText(kQueryEdit), ControlText(kResultEdit)));
    } else if (id == kOkButton || id == IDOK) {
        OnAccept();
    } else if (id == kCancelButton || id == IDCANCEL) {
        EndDialog(dialog_, IDCANCEL);
    }
}

// A refused OK leaves the dialog open with everything the user typed.
void QueryDialog::OnAccept() {
    std::wstring name = ControlText(kNameEdit);
    std::wstring query = ControlText(kQueryEdit);
    if (UINT problem = QueryAcceptProblem(name, query)) {
        MessageBoxW(dialog_, GetString(problem), L"Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
        return;
    }
    query_ = query;
    name_ = name;
    EndDialog(dialog_, IDOK);
}

void QueryDialog::RebuildResult() {
    SetTextQuietly(kResultEdit, BuildQueryCondition(SelectedField(), operator_, value_));
    UpdateEnabled();
}

void QueryDialog::UpdateEnabled() {
    QueryBuilderState state;
    state.hasQuery = !ControlText(kQueryEdit).empty();
    state.hasValue = !ControlText(kValueEdit).empty();
    state.hasField = !SelectedField().empty();
    state.hasOperator = operator_ != kNoQueryOperator;
    state.firstVisible = IsWindowVisible(GetDlgItem(dialog_, kFirstButton)) != FALSE;
    EnableWindow(GetDlgItem(dialog_, kFirstButton), QueryFirstEnabled(state));
    EnableWindow(GetDlgItem(dialog_, kAndButton), QueryJoinEnabled(state));
    EnableWindow(GetDlgItem(dialog_, kOrButton), QueryJoinEnabled(state));
}

void QueryDialog::ShowJoinButtons(bool joined) {
    ShowWindow(GetDlgItem(dialog_, kFirstButton), joined ? SW_HIDE : SW_SHOW);
    ShowWindow(GetDlgItem(dialog_, kAndButton), joined ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dialog_, kOrButton), joined ? SW_SHOW : SW_HIDE);
}

// The caret goes to the end, so typing continues the condition.
void QueryDialog::SetQueryText(const std::wstring& text) {
    SetTextQuietly(kQueryEdit, text);
    HWND edit = GetDlgItem(dialog_, kQueryEdit);
    auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    UpdateEnabled();
}

void QueryDialog::SetTextQuietly(int id, const std::wstring& text) {
    bool tracking = trackValueEdits_;
    trackValueEdits_ = false;
    SetDlgItemTextW(dialog_, id, text.c_str());
    trackValueEdits_ = tracking;
}

std::wstring QueryDialog::ControlText(int id) const {
    HWND control = GetDlgItem(dialog_, id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring QueryDialog::SelectedField() const {
    HWND list = GetDlgItem(dialog_, kFieldList);
    LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}
