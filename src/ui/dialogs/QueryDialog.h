// The smart playlist dialog: one modal run that edits a name and a condition, with a simple
// builder for conditions. The rules it follows live in QueryBuilder; this is the window.
#pragma once

#include <windows.h>

#include <string>

class QueryDialog {
public:
    // The ids of the dialog and its controls, which automation and tests address too.
    enum ControlId : int {
        kDialogId = 136,
        kFieldList = 1089,
        kValueEdit = 1096,
        kFirstButton = 1101,
        kAndButton = 1029,
        kOrButton = 1030,
        kResultEdit = 1100,
        kQueryEdit = 1097,
        kNameEdit = 1071,
        kOkButton = 1099,
        kCancelButton = 1098,
    };
    // The radio button of each operator, by operator index.
    static const int kOperatorButtons[7];

    QueryDialog(std::wstring name, std::wstring query) : name_(std::move(name)), query_(std::move(query)) {}

    // Runs the dialog; true when the user accepted, with Name() and Query() holding the result.
    bool Run(HWND owner);

    const std::wstring& Name() const { return name_; }
    const std::wstring& Query() const { return query_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp);
    INT_PTR OnMessage(UINT message, WPARAM wp, LPARAM lp);
    void OnInit();
    void OnCommand(int notification, int id);
    void OnAccept();
    void SetCaptions();
    void FillFields();
    void RebuildResult();
    void UpdateEnabled();
    void ShowJoinButtons(bool joined);
    void SetQueryText(const std::wstring& text);
    void SetTextQuietly(int id, const std::wstring& text);
    std::wstring ControlText(int id) const;
    std::wstring SelectedField() const;

    HWND dialog_ = nullptr;
    int operator_ = -1;
    // Cleared while the dialog writes into its own edits, so that writing the result or
    // clearing the value does not rebuild the result in turn.
    bool trackValueEdits_ = true;
    std::wstring name_;
    std::wstring query_;
    std::wstring value_;
};
